// The font sheet: three glyph sets in the cells the text drawing copies from, the title picture
// of the main menu and the picture of the results screen.
#include <algorithm>

#include "tools/datagen/PictureFontGlyphs.h"
#include "tools/datagen/PictureMakers.h"

namespace datagen {

namespace {

constexpr int kSheetWidth = 768;
constexpr int kSheetHeight = 456;

Mask GlyphMask(int index) {
  Mask m(kGlyphWidth, kGlyphHeight);
  for (int y = 0; y < kGlyphHeight; ++y)
    for (int x = 0; x < kGlyphWidth; ++x) m.Set(x, y, kGlyphRows[index][y][x] == '#');
  return m;
}

// Large glyphs: the pixel glyph doubled with rounded diagonals, a chrome-blue gradient from a white
// top to a deep blue foot, a lit upper edge, a shaded lower edge and a dark outline.
Image LargeGlyph(int index) {
  Image cell(26, 26);
  const Mask m = Scale2x(GlyphMask(index));
  const int ox = 5, oy = 4;  // the outline takes one more pixel on each side
  const std::vector<RampStop> fill = {
      {0.0, {255, 255, 255}}, {0.35, {170, 225, 255}}, {0.55, {90, 160, 250}}, {1.0, {40, 80, 210}}};
  for (int y = -1; y <= m.height; ++y)
    for (int x = -1; x <= m.width; ++x) {
      if (m.Get(x, y)) {
        Colour c = Ramp(fill, double(y) / (m.height - 1));
        if (!m.Get(x, y - 1)) c = Mix(c, {255, 255, 255}, 0.45);
        if (!m.Get(x, y + 1)) c = c * 0.72;
        if (!m.Get(x - 1, y)) c = Mix(c, {255, 255, 255}, 0.15);
        cell.Set(ox + x, oy + y, ToRgb(c));
        continue;
      }
      bool edge = false;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) edge = edge || m.Get(x + dx, y + dy);
      if (edge) cell.Set(ox + x, oy + y, ToRgb({14, 24, 78}));
    }
  return cell;
}

Image SmallGlyph(int index, bool highlighted, int cellHeight) {
  Image cell(13, cellHeight);
  const Mask m = GlyphMask(index);
  const std::vector<RampStop> plain = {{0.0, {236, 242, 255}}, {1.0, {150, 165, 200}}};
  const std::vector<RampStop> warm = {{0.0, {255, 255, 190}}, {0.45, {255, 214, 80}}, {1.0, {255, 130, 20}}};
  for (int y = 0; y < m.height; ++y)
    for (int x = 0; x < m.width; ++x)
      if (m.Get(x, y)) cell.Set(2 + x, 1 + y, ToRgb(Ramp(highlighted ? warm : plain, double(y) / (m.height - 1))));
  return cell;
}

}  // namespace

Image MakeGlyphCell(GlyphSet set, int index) {
  switch (set) {
    case GlyphSet::Large: return LargeGlyph(index);
    case GlyphSet::Small: return SmallGlyph(index, false, 13);
    case GlyphSet::Highlighted: return SmallGlyph(index, true, 12);
  }
  return {};
}

Image MakeFontSheet() {
  Image sheet(kSheetWidth, kSheetHeight);
  for (int i = 0; i < kGlyphCount; ++i) {
    const bool letterRow = i < 27;
    const int col = letterRow ? i : i - 27;
    BlitKeyed(sheet, 26 * col, letterRow ? 0 : 26, MakeGlyphCell(GlyphSet::Large, i));
    BlitKeyed(sheet, 13 * col, letterRow ? 53 : 66, MakeGlyphCell(GlyphSet::Small, i));
    BlitKeyed(sheet, 13 * col, letterRow ? 79 : 92, MakeGlyphCell(GlyphSet::Highlighted, i));
  }
  BlitKeyed(sheet, 0, 145, MakeTitlePicture());
  BlitKeyed(sheet, 574, 148, MakeResultsPicture());
  return sheet;
}

}  // namespace datagen
