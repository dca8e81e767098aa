#include "game/render/Font.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quorvex {

int FontGlyphIndex(char c) {
  if (c >= 'a' && c <= 'u') return c - 'a';
  if (c >= '1' && c <= '9') return 27 + (c - '1');
  switch (c) {
    case 'w': return 21;
    case 'v': return 22;
    case 'x': return 23;
    case 'y': return 24;
    case 'z': return 25;
    case ' ': return 26;
    case '0': return 36;
    case '-': return 37;
    case ':': return 38;
    case '.': return 39;
    case ',': return 40;
    case '/': return 41;
    case '+': return 42;
    case '?': return 43;
    case '(': return 44;
    case ')': return 45;
    case '>': return 46;
    case '<': return 47;
    case '\'': return 48;
    case '!': return 49;
    case '"': return 50;
    default: return 0;
  }
}

Rect FontGlyphCell(int glyph, bool small, bool highlighted) {
  // Letters and the blank sit in the first row of each set, the other glyphs in the second.
  const bool firstRow = glyph < 27;
  const int column = firstRow ? glyph : glyph - 27;
  if (!small) {
    const int top = firstRow ? 0 : 26;
    return Rect{26 * column, top, 26 * column + 26, top + 26};
  }
  if (!highlighted) {
    const int top = firstRow ? 53 : 66;
    return Rect{13 * column, top, 13 * column + 13, top + 13};
  }
  // The highlighted set's rows are a pixel shorter than the plain small set's.
  return firstRow ? Rect{13 * column, 79, 13 * column + 13, 91} : Rect{13 * column, 92, 13 * column + 13, 103};
}

void FontText(GameWindow& w, int x, int y, const std::string& text, bool small, bool highlighted) {
  FontTextOn(w.back, w.fontSheet, x, y, text, small, highlighted);
}

void FontTextOn(Surface& target, const Surface& fontSheet, int x, int y, const std::string& text, bool small,
                bool highlighted) {
  // Ship names come from files as free text, so an overlong text is cut rather than refused.
  const size_t length = std::min(text.size(), static_cast<size_t>(kFontMaxText));
  const int advance = small ? kSmallAdvance : kLargeAdvance;
  for (size_t p = 0; p < length; ++p) {
    const Rect cell = FontGlyphCell(FontGlyphIndex(text[p]), small, highlighted);
    target.BltFast(x + static_cast<int>(p) * advance, y, fontSheet, cell, true);
  }
}

std::string NumberText(double value) {
  if (std::isfinite(value) && value == std::floor(value) && std::fabs(value) < 1e15) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.0f", value == 0 ? 0.0 : value);
    return buf;
  }
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.15g", value);
  return buf;
}

}  // namespace quorvex
