// The game's pixel font: 51 glyphs of 8 x 9 pixels in the order of the font sheet
// (letters "a" to "z" with "w" before "v", a blank, then "1" to "9", "0" and the signs).
// Letters are drawn as capitals; the game writes all its texts in lower case.
#pragma once

namespace datagen {

inline constexpr int kGlyphCount = 51;
inline constexpr int kGlyphWidth = 8;
inline constexpr int kGlyphHeight = 9;

// Each glyph is nine rows of eight characters, '#' for a lit pixel.
extern const char* const kGlyphRows[kGlyphCount][kGlyphHeight];

// The glyph index of a character, as the game's text drawing looks it up (unknown characters give 0).
int GlyphIndex(char c);

}  // namespace datagen
