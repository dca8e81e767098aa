// The explosion sheet: every cell the effects and the missiles copy from holds a picture that stays
// inside its cell, shared cells leave each other room, and the animations grow and fade.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/datagen/PicturesTest.h"

using picturetest::LitOnBorder;
using picturetest::LoadPicture;
using picturetest::TotalLight;
using quorvex::Rect;
using quorvex::Surface;
using quorvex::testing::CountLitPixels;

namespace {

Rect SmallExplosion(int state) { return {21 * state, 0, 21 * state + 21, 21}; }  // also flame picture `state`
Rect BigExplosion(int k) { return {51 * k, 22, 51 * k + 51, 73}; }
Rect Flash(int k) { return {243 + 18 * k, 0, 261 + 18 * k, 18}; }
Rect Smoke(int k) { return {330 + 13 * k, 40, 343 + 13 * k, 53}; }
const Rect kTorpedo{350, 2, 371, 23};
const Rect kMissile{375, 2, 396, 23};

struct Cell {
  std::string name;
  Rect rect;
};

std::vector<Cell> AllCells() {
  std::vector<Cell> cells;
  for (int s = 0; s <= 10; ++s) cells.push_back({"small explosion / flame " + std::to_string(s), SmallExplosion(s)});
  for (int k = 0; k <= 6; ++k) cells.push_back({"big explosion " + std::to_string(k), BigExplosion(k)});
  for (int k = -1; k <= 2; ++k) cells.push_back({"flash " + std::to_string(k), Flash(k)});
  for (int k = 0; k <= 2; ++k) cells.push_back({"smoke " + std::to_string(k), Smoke(k)});
  cells.push_back({"torpedo", kTorpedo});
  cells.push_back({"missile", kMissile});
  return cells;
}

class PicturesBoom : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { sheet_ = new Surface(LoadPicture("boom.bmp")); }
  static void TearDownTestSuite() {
    delete sheet_;
    sheet_ = nullptr;
  }
  static Surface* sheet_;
};
Surface* PicturesBoom::sheet_ = nullptr;

TEST_F(PicturesBoom, SheetCoversEveryCell) {
  EXPECT_GE(sheet_->width(), 396);
  EXPECT_GE(sheet_->height(), 73);
}

TEST_F(PicturesBoom, EveryCellHoldsAPictureThatStaysInsideIt) {
  for (const Cell& cell : AllCells()) {
    SCOPED_TRACE(cell.name);
    EXPECT_GE(CountLitPixels(*sheet_, cell.rect), 5);
    EXPECT_EQ(LitOnBorder(*sheet_, cell.rect), 0);
  }
}

TEST_F(PicturesBoom, OverlappingCellsLeaveEachOtherRoom) {
  // The first small explosion picture and the last flash picture share columns 225 to 230; each
  // shows the other's part of the sheet, so nothing may be drawn there.
  struct Shared {
    const char* name;
    Rect rect;
  };
  for (const Shared& s : {Shared{"small explosion 10 / flash -1", {225, 0, 231, 18}},
                          Shared{"torpedo / big explosion 6", {350, 22, 357, 23}}}) {
    SCOPED_TRACE(s.name);
    EXPECT_EQ(CountLitPixels(*sheet_, s.rect), 0);
  }
}

// An animation as the effects play it: its cells in the order they are shown.
struct Animation {
  const char* name;
  std::vector<Rect> frames;
  bool grows;  // explosions swell before they fade; flashes only shrink
};

TEST_F(PicturesBoom, AnimationsSwellAndFade) {
  std::vector<Animation> animations;
  Animation small{"small explosion", {}, true};
  for (int s = 10; s >= 1; --s) small.frames.push_back(SmallExplosion(s));
  Animation big{"big explosion", {}, true};
  for (int k = 0; k <= 6; ++k) big.frames.push_back(BigExplosion(k));
  Animation flash{"flash", {}, false};
  for (int k = 2; k >= -1; --k) flash.frames.push_back(Flash(k));
  Animation flame{"flame", {SmallExplosion(2), SmallExplosion(1), SmallExplosion(0)}, false};
  animations = {small, big, flash, flame};

  for (const Animation& a : animations) {
    SCOPED_TRACE(a.name);
    std::vector<int> sizes;
    std::vector<double> light;
    for (const Rect& r : a.frames) {
      sizes.push_back(CountLitPixels(*sheet_, r));
      light.push_back(TotalLight(*sheet_, r));
    }
    const size_t peak = size_t(std::max_element(light.begin(), light.end()) - light.begin());
    if (a.grows) {
      EXPECT_LT(sizes.front(), *std::max_element(sizes.begin(), sizes.end()) / 2) << "starts small";
      EXPECT_GT(peak, 0u) << "brightens after its first picture";
    }
    EXPECT_LT(light.back(), light[peak] * 0.6) << "fades at the end";
    // Bright on black: the brightest picture has a near-white hot core.
    double hottest = 0;
    const Rect& r = a.frames[peak];
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) hottest = std::max(hottest, picturetest::Luminance(sheet_->pixel(x, y)));
    EXPECT_GT(hottest, a.name == std::string("flame") ? 120.0 : 200.0);
  }
}

TEST_F(PicturesBoom, SmokePuffsGreyAndFadeAsTheyAge) {
  // A puff shows picture 2, then 1, then 0: each older picture is fainter, and smoke is grey.
  double previous = 1e9;
  for (int k = 2; k >= 0; --k) {
    SCOPED_TRACE("smoke " + std::to_string(k));
    const Rect r = Smoke(k);
    const double mean = TotalLight(*sheet_, r) / std::max(1, CountLitPixels(*sheet_, r));
    EXPECT_LT(mean, previous);
    previous = mean;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) {
        int red, green, blue;
        quorvex::SplitRgb565(sheet_->pixel(x, y), &red, &green, &blue);
        EXPECT_LT(std::max({red, green, blue}) - std::min({red, green, blue}), 60) << x << "," << y;
      }
  }
}

}  // namespace
