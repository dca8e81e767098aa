// The font sheet the game's text drawing copies glyphs from, and the title and results pictures
// the menu and results screens copy from the same sheet.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/datagen/PicturesTest.h"

using picturetest::LitMask;
using picturetest::LitOnBorder;
using picturetest::LoadPicture;
using quorvex::Rect;
using quorvex::Surface;
using quorvex::testing::CountLitPixels;

namespace {

constexpr int kGlyphs = 51;
constexpr int kBlank = 26;
const Rect kTitle{0, 145, 547, 358};
const Rect kResults{574, 148, 766, 455};

// Where the text drawing takes glyph i of each set: letters and the blank in the first row,
// the others in the second row.
struct GlyphSet {
  const char* name;
  int cellWidth;
  int firstTop, firstBottom, secondTop, secondBottom;
};
const GlyphSet kSets[] = {
    {"large", 26, 0, 26, 26, 52},
    {"small", 13, 53, 66, 66, 79},
    {"highlighted", 13, 79, 91, 92, 103},
};

Rect Cell(const GlyphSet& set, int i) {
  if (i < 27) return {set.cellWidth * i, set.firstTop, set.cellWidth * (i + 1), set.firstBottom};
  return {set.cellWidth * (i - 27), set.secondTop, set.cellWidth * (i - 26), set.secondBottom};
}

class PicturesFont : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { sheet_ = new Surface(LoadPicture("font.bmp")); }
  static void TearDownTestSuite() {
    delete sheet_;
    sheet_ = nullptr;
  }
  static Surface* sheet_;
};
Surface* PicturesFont::sheet_ = nullptr;

TEST_F(PicturesFont, SheetHoldsTheGlyphsAndBothPictures) {
  EXPECT_GE(sheet_->width(), 766);
  EXPECT_GE(sheet_->height(), 455);
}

TEST_F(PicturesFont, EveryGlyphIsDrawnInsideItsCellAndTheBlankIsEmpty) {
  for (const GlyphSet& set : kSets)
    for (int i = 0; i < kGlyphs; ++i) {
      SCOPED_TRACE(std::string(set.name) + " glyph " + std::to_string(i));
      const Rect cell = Cell(set, i);
      if (i == kBlank) {
        EXPECT_EQ(CountLitPixels(*sheet_, cell), 0);
        continue;
      }
      EXPECT_GE(CountLitPixels(*sheet_, cell), 4);
      EXPECT_EQ(LitOnBorder(*sheet_, cell), 0);
    }
}

TEST_F(PicturesFont, GlyphsOfASetAreAllDifferent) {
  // A glyph drawn twice, or a cell left with another's glyph, shows as two equal cells.
  for (const GlyphSet& set : kSets)
    for (int i = 0; i < kGlyphs; ++i)
      for (int j = i + 1; j < kGlyphs; ++j) {
        if (i == kBlank || j == kBlank) continue;
        const Rect a = Cell(set, i), b = Cell(set, j);
        const Rect common{0, 0, a.width(), std::min(a.height(), b.height())};
        EXPECT_NE(LitMask(*sheet_, {a.left, a.top, a.left + common.right, a.top + common.bottom}),
                  LitMask(*sheet_, {b.left, b.top, b.left + common.right, b.top + common.bottom}))
            << set.name << " glyphs " << i << " and " << j;
      }
}

TEST_F(PicturesFont, HighlightedGlyphsHaveThePlainShapesInAWarmerColour) {
  // Menus mark the chosen entry with the highlighted set: the text must not move or change, only
  // its colour, and the colour must stand out from the plain set's.
  const GlyphSet& plain = kSets[1];
  const GlyphSet& highlighted = kSets[2];
  for (int i = 0; i < kGlyphs; ++i) {
    if (i == kBlank) continue;
    SCOPED_TRACE("glyph " + std::to_string(i));
    const Rect p = Cell(plain, i), h = Cell(highlighted, i);
    const int rows = std::min(p.height(), h.height());
    EXPECT_EQ(LitMask(*sheet_, {p.left, p.top, p.right, p.top + rows}), LitMask(*sheet_, {h.left, h.top, h.right, h.top + rows}));
    double warmthPlain = 0, warmthHighlighted = 0;
    int lit = 0;
    for (int y = 0; y < rows; ++y)
      for (int x = 0; x < p.width(); ++x) {
        if (sheet_->pixel(p.left + x, p.top + y) == 0) continue;
        int r, g, b;
        quorvex::SplitRgb565(sheet_->pixel(p.left + x, p.top + y), &r, &g, &b);
        warmthPlain += r - b;
        quorvex::SplitRgb565(sheet_->pixel(h.left + x, h.top + y), &r, &g, &b);
        warmthHighlighted += r - b;
        ++lit;
      }
    ASSERT_GT(lit, 0);
    EXPECT_GT(warmthHighlighted / lit, warmthPlain / lit + 80);
  }
}

TEST_F(PicturesFont, TitleAndResultsPicturesFillTheirRectangles) {
  struct Picture {
    const char* name;
    Rect rect;
    double minFilled;
  };
  for (const Picture& p : {Picture{"title", kTitle, 0.15}, Picture{"results", kResults, 0.35}}) {
    SCOPED_TRACE(p.name);
    const int area = p.rect.width() * p.rect.height();
    EXPECT_GT(CountLitPixels(*sheet_, p.rect), int(area * p.minFilled));
    // The picture spreads over its rectangle rather than sitting in one corner of it.
    int left = p.rect.right, right = p.rect.left, top = p.rect.bottom, bottom = p.rect.top;
    for (int y = p.rect.top; y < p.rect.bottom; ++y)
      for (int x = p.rect.left; x < p.rect.right; ++x)
        if (sheet_->pixel(x, y) != 0) {
          left = std::min(left, x), right = std::max(right, x);
          top = std::min(top, y), bottom = std::max(bottom, y);
        }
    EXPECT_GT(right - left, p.rect.width() * 8 / 10);
    EXPECT_GT(bottom - top, p.rect.height() * 6 / 10);
  }
}

// The results trophy stands for either winner: its plate is plain gold, shaded from left to right
// only, with nothing engraved on it.
TEST_F(PicturesFont, TheTrophysPlateCarriesNoNumber) {
  const Rect plate{kResults.left + 96 - 22, kResults.top + 231, kResults.left + 96 + 22, kResults.top + 255};
  int engraved = 0;
  for (int x = plate.left; x < plate.right; ++x) {
    ASSERT_NE(sheet_->pixel(x, plate.top), 0) << "the plate is lit";
    for (int y = plate.top; y < plate.bottom; ++y) engraved += sheet_->pixel(x, y) != sheet_->pixel(x, plate.top);
  }
  EXPECT_EQ(engraved, 0);
}

TEST_F(PicturesFont, NothingIsDrawnOutsideTheGlyphCellsAndThePictures) {
  auto inside = [](const Rect& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; };
  int stray = 0;
  for (int y = 0; y < sheet_->height(); ++y)
    for (int x = 0; x < sheet_->width(); ++x) {
      if (sheet_->pixel(x, y) == 0) continue;
      bool known = inside(kTitle, x, y) || inside(kResults, x, y);
      for (const GlyphSet& set : kSets)
        for (int i = 0; i < kGlyphs && !known; ++i) known = inside(Cell(set, i), x, y);
      if (!known) ++stray;
    }
  EXPECT_EQ(stray, 0);
}

}  // namespace
