// The bitmap font: every text of the game window is copied glyph by glyph from the font sheet.
#pragma once
#include <string>

#include "game/core/GameWindow.h"
#include "platform/Surface.h"

namespace quorvex {

constexpr int kFontGlyphs = 51;       // glyphs per set
constexpr int kFontMaxText = 100;     // characters drawn at most
constexpr int kLargeAdvance = 25;     // large glyphs are 26 wide, so neighbours overlap by one pixel
constexpr int kSmallAdvance = 13;

// The glyph of a character: a..z (w before v), blank, digits, punctuation; anything else is glyph 0.
int FontGlyphIndex(char c);

// The cell of glyph `glyph` in the font sheet for the chosen set (`highlighted` counts only when `small`).
Rect FontGlyphCell(int glyph, bool small, bool highlighted);

// Draws `text` on the back surface with its first character's top left at (x, y), one colour-keyed
// glyph per character. Texts are expected in lower case; only the first 100 characters are drawn.
void FontText(GameWindow& w, int x, int y, const std::string& text, bool small, bool highlighted);
// The same on any surface, with glyphs from `fontSheet`.
void FontTextOn(Surface& target, const Surface& fontSheet, int x, int y, const std::string& text, bool small,
                bool highlighted);

// A number as text, as the game prints counts: whole numbers without a decimal point, others with up
// to 15 significant digits.
std::string NumberText(double value);

}  // namespace quorvex
