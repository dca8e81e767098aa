// The battle background: a dark starry picture with the moving stars' colours in row 5.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/datagen/PicturesTest.h"

using picturetest::LoadPicture;
using picturetest::Luminance;
using quorvex::Surface;

namespace {

TEST(PicturesBackground, CoversTheScreen) {
  const Surface s = LoadPicture("tausta.bmp");
  EXPECT_EQ(s.width(), 800);
  EXPECT_EQ(s.height(), 600);
}

TEST(PicturesBackground, StarColoursBrightenWithDepth) {
  // A star of depth d takes the colour at (nearest(d + 6), 5): deeper numbers are nearer stars
  // that stream faster, and they shine brighter.
  const Surface s = LoadPicture("tausta.bmp");
  double previous = 40;
  for (int x = 7; x <= 9; ++x) {
    SCOPED_TRACE(x);
    EXPECT_NE(s.pixel(x, 5), 0);
    EXPECT_GT(Luminance(s.pixel(x, 5)), previous + 25);
    previous = Luminance(s.pixel(x, 5));
  }
}

TEST(PicturesBackground, DarkEnoughForShipsShotsAndTextToStandOut) {
  const Surface s = LoadPicture("tausta.bmp");
  double sum = 0;
  int bright = 0, stars = 0;
  for (int y = 0; y < s.height(); ++y)
    for (int x = 0; x < s.width(); ++x) {
      const double l = Luminance(s.pixel(x, y));
      sum += l;
      if (l > 120) ++bright;
      // A star: a point clearly brighter than the four pixels around it.
      if (x > 0 && y > 0 && x + 1 < s.width() && y + 1 < s.height()) {
        const double around = std::max({Luminance(s.pixel(x - 1, y)), Luminance(s.pixel(x + 1, y)),
                                        Luminance(s.pixel(x, y - 1)), Luminance(s.pixel(x, y + 1))});
        if (l > around + 15) ++stars;
      }
    }
  EXPECT_LT(sum / (s.width() * s.height()), 35.0);
  EXPECT_LT(bright, s.width() * s.height() / 100);
  EXPECT_GT(stars, 500);
}

}  // namespace
