// Helpers shared by the picture tests: loading the generated pictures the way the game does and
// looking at regions of them.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Surface.h"
#include "tests/support/SurfaceTesting.h"

namespace picturetest {

// Loads a picture of the program folder through the game's own loader.
inline quorvex::Surface LoadPicture(const std::string& name) {
  quorvex::Surface s;
  std::string error;
  const std::string path = (quorvex::testing::ProgramDir() / name).string();
  EXPECT_TRUE(quorvex::LoadBitmap(path, &s, &error)) << error;
  return s;
}

// Brightness of a 16-bit pixel, 0..255.
inline double Luminance(uint16_t pixel) {
  int r, g, b;
  quorvex::SplitRgb565(pixel, &r, &g, &b);
  return 0.299 * r + 0.587 * g + 0.114 * b;
}

// Lit pixels on the outermost ring of a rectangle: a picture that reaches its cell's edge is cut
// off when the cell is copied, or shows in its neighbour's cell.
inline int LitOnBorder(const quorvex::Surface& s, const quorvex::Rect& r) {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) {
      const bool edge = x == r.left || y == r.top || x == r.right - 1 || y == r.bottom - 1;
      if (edge && s.pixel(x, y) != 0) ++n;
    }
  return n;
}

// Sum of the brightness of the pixels of a rectangle.
inline double TotalLight(const quorvex::Surface& s, const quorvex::Rect& r) {
  double sum = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) sum += Luminance(s.pixel(x, y));
  return sum;
}

// The lit pixels of a rectangle as a mask, row by row.
inline std::vector<bool> LitMask(const quorvex::Surface& s, const quorvex::Rect& r) {
  std::vector<bool> m;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) m.push_back(s.pixel(x, y) != 0);
  return m;
}

}  // namespace picturetest
