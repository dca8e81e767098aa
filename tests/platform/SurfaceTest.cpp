#include <gtest/gtest.h>

#include "platform/Surface.h"
#include "tests/support/SurfaceTesting.h"

namespace quorvex {
namespace {

using testing::Legend;
using testing::RegionMatches;

constexpr uint16_t R = 0xF800, G = 0x07E0, B = 0x001F, W = 0xFFFF;

// A 3 x 2 source: red, black, green / blue, white, black.
Surface smallSource() {
  Surface s(3, 2);
  s.setPixel(0, 0, R);
  s.setPixel(2, 0, G);
  s.setPixel(0, 1, B);
  s.setPixel(1, 1, W);
  return s;
}

Surface filled(int w, int h, uint16_t v) {
  Surface s(w, h);
  s.BltColorFill({0, 0, w, h}, v);
  return s;
}

const std::vector<Legend> kLegend = {{'.', 0}, {'r', R}, {'g', G}, {'b', B}, {'w', W}, {'y', 0x1234}};

TEST(Surface, CopiesKeyedAndUnkeyed) {
  struct Case {
    bool keyed;
    std::vector<std::string> expected;
  } cases[] = {
      {false, {"yyyyy", "yr.gy", "ybw.y", "yyyyy"}},
      {true, {"yyyyy", "yrygy", "ybwyy", "yyyyy"}},
  };
  for (const Case& c : cases) {
    Surface dst = filled(5, 4, 0x1234);
    EXPECT_EQ(kBlitOk, dst.BltFast(1, 1, smallSource(), {0, 0, 3, 2}, c.keyed));
    EXPECT_TRUE(RegionMatches(dst, 0, 0, c.expected, kLegend, c.keyed ? "keyed-copy" : "plain-copy"));
  }
}

TEST(Surface, PaintOrsSixteenBitValuesAndSkipsKey) {
  Surface src(3, 1);
  src.setPixel(0, 0, 0x8001);
  src.setPixel(1, 0, 0);  // keyed: destination kept
  src.setPixel(2, 0, 0x0F0F);
  Surface dst(3, 1);
  dst.setPixel(0, 0, 0x0102);
  dst.setPixel(1, 0, 0x4444);
  dst.setPixel(2, 0, 0xF0F0);
  EXPECT_EQ(kBlitOk, dst.BltFx({0, 0, 3, 1}, src, {0, 0, 3, 1}, true, RasterOp::SrcPaint));
  EXPECT_EQ(0x8103, dst.pixel(0, 0));
  EXPECT_EQ(0x4444, dst.pixel(1, 0));
  EXPECT_EQ(0xFFFF, dst.pixel(2, 0));

  Surface copy(3, 1);
  copy.setPixel(0, 0, 0x0102);
  copy.BltFx({0, 0, 3, 1}, src, {0, 0, 3, 1}, false, RasterOp::SrcCopy);
  EXPECT_EQ(0x8001, copy.pixel(0, 0));
  EXPECT_EQ(0x0000, copy.pixel(1, 0));
}

TEST(Surface, StretchMapsRectanglesNearestNeighbour) {
  // Doubling: every source pixel becomes a 2 x 2 block.
  Surface up(6, 4);
  EXPECT_EQ(kBlitOk, up.Blt({0, 0, 6, 4}, smallSource(), {0, 0, 3, 2}, false));
  EXPECT_TRUE(RegionMatches(up, 0, 0, {"rr..gg", "rr..gg", "bbww..", "bbww.."}, kLegend, "stretch-up"));

  // Halving a 4 x 2 source keeps columns 0 and 2 of row 0.
  Surface src(4, 2);
  src.setPixel(0, 0, R);
  src.setPixel(1, 0, G);
  src.setPixel(2, 0, B);
  src.setPixel(3, 0, W);
  Surface down(2, 1);
  EXPECT_EQ(kBlitOk, down.Blt({0, 0, 2, 1}, src, {0, 0, 4, 2}, false));
  EXPECT_TRUE(RegionMatches(down, 0, 0, {"rb"}, kLegend, "stretch-down"));

  // A source rectangle that does not start at the origin.
  Surface part(2, 1);
  EXPECT_EQ(kBlitOk, part.Blt({0, 0, 2, 1}, src, {2, 0, 4, 1}, false));
  EXPECT_TRUE(RegionMatches(part, 0, 0, {"bw"}, kLegend, "stretch-part"));
}

TEST(Surface, BlitNotWhollyInsideDrawsNothing) {
  struct Case {
    const char* name;
    Rect dst;
    Rect src;
  } cases[] = {
      {"left edge", {-1, 0, 2, 2}, {0, 0, 3, 2}},
      {"right edge", {3, 0, 6, 2}, {0, 0, 3, 2}},
      {"bottom edge", {0, 3, 3, 5}, {0, 0, 3, 2}},
      {"source outside", {0, 0, 3, 2}, {1, 0, 4, 2}},
      {"empty", {2, 2, 2, 2}, {0, 0, 3, 2}},
      {"inverted", {3, 3, 0, 0}, {0, 0, 3, 2}},
  };
  for (const Case& c : cases) {
    Surface dst = filled(5, 4, 0x1234);
    EXPECT_NE(kBlitOk, dst.Blt(c.dst, smallSource(), c.src, false)) << c.name;
    for (uint16_t p : dst.pixels()) ASSERT_EQ(0x1234, p) << c.name;
  }
  Surface dst = filled(5, 4, 0x1234);
  EXPECT_NE(kBlitOk, dst.BltFast(3, 3, smallSource(), {0, 0, 3, 2}, false));
  EXPECT_NE(kBlitOk, dst.BltColorFill({4, 0, 6, 1}, 0));
  for (uint16_t p : dst.pixels()) ASSERT_EQ(0x1234, p);
}

TEST(Surface, LinesExcludeTheirEndPoint) {
  struct Case {
    const char* name;
    int x1, y1, x2, y2;
    std::vector<std::string> expected;
  } cases[] = {
      {"one pixel", 1, 1, 2, 2, {".....", ".w...", ".....", "....."}},
      {"zero length", 1, 1, 1, 1, {".....", ".....", ".....", "....."}},
      {"horizontal", 0, 0, 4, 0, {"wwww.", ".....", ".....", "....."}},
      {"leftwards", 4, 2, 0, 2, {".....", ".....", ".wwww", "....."}},
      {"vertical", 2, 0, 2, 3, {"..w..", "..w..", "..w..", "....."}},
      {"diagonal", 0, 0, 3, 3, {"w....", ".w...", "..w..", "....."}},
  };
  for (const Case& c : cases) {
    Surface s(5, 4);
    s.SetForeColor(255, 255, 255);
    s.DrawLine(c.x1, c.y1, c.x2, c.y2);
    EXPECT_TRUE(RegionMatches(s, 0, 0, c.expected, kLegend, std::string("line-") + c.name)) << c.name;
  }
}

TEST(Surface, LinesAreClipped) {
  Surface s(5, 4);
  s.SetForeColor(255, 0, 0);
  s.DrawLine(-3, 1, 8, 1);                    // across the whole surface
  s.DrawLine(2, -2000000000, 2, 2000000000);  // absurdly long, still only the visible part
  s.DrawLine(-10, -10, -5, -5);               // wholly outside
  EXPECT_TRUE(RegionMatches(s, 0, 0, {"..r..", "rrrrr", "..r..", "..r.."}, kLegend, "line-clip"));
}

TEST(Surface, BoxesOutlineAndFill) {
  // Solid: outline in the fore colour, inside in the fill colour; right and bottom edge excluded.
  Surface s(7, 6);
  s.SetForeColor(255, 0, 0);
  s.SetFillColor(0, 255, 0);
  s.SetFillSolid(true);
  s.DrawBox(1, 1, 6, 5);
  EXPECT_TRUE(RegionMatches(s, 0, 0, {".......", ".rrrrr.", ".rgggr.", ".rgggr.", ".rrrrr.", "......."}, kLegend,
                            "box-solid"));
  // Transparent: the outline only; corners given in either order.
  Surface t(7, 6);
  t.SetForeColor(0, 0, 255);
  t.DrawBox(6, 5, 1, 1);
  EXPECT_TRUE(RegionMatches(t, 0, 0, {".......", ".bbbbb.", ".b...b.", ".b...b.", ".bbbbb.", "......."}, kLegend,
                            "box-hollow"));
  // Clipped at the surface edge, and an empty box draws nothing.
  Surface c(4, 3);
  c.SetForeColor(255, 255, 255);
  c.SetFillColor(0, 255, 0);
  c.SetFillSolid(true);
  c.DrawBox(2, -1, 9, 9);
  c.DrawBox(0, 0, 0, 3);
  EXPECT_TRUE(RegionMatches(c, 0, 0, {"..wg", "..wg", "..wg"}, kLegend, "box-clip"));
}

TEST(Surface, CirclesOutlineAndFill) {
  Surface s(7, 7);
  s.SetForeColor(255, 255, 255);
  s.DrawCircle(3, 3, 2);
  EXPECT_TRUE(RegionMatches(s, 0, 0,
                            {".......", "..www..", ".w...w.", ".w...w.", ".w...w.", "..www..", "......."}, kLegend,
                            "circle-hollow"));
  Surface f(7, 7);
  f.SetForeColor(255, 255, 255);
  f.SetFillColor(255, 0, 0);
  f.SetFillSolid(true);
  f.DrawCircle(3, 3, 2);
  EXPECT_TRUE(RegionMatches(f, 0, 0,
                            {".......", "..www..", ".wrrrw.", ".wrrrw.", ".wrrrw.", "..www..", "......."}, kLegend,
                            "circle-solid"));
  Surface clipped(3, 3);
  clipped.SetForeColor(255, 255, 255);
  clipped.DrawCircle(0, 0, 2);
  EXPECT_TRUE(RegionMatches(clipped, 0, 0, {"..w", "..w", "ww."}, kLegend, "circle-clip"));
}

TEST(Surface, ColourComponentsAreClamped) {
  struct Case {
    int r, g, b;
    uint16_t expected;
  } cases[] = {
      {255, 255, 255, 0xFFFF}, {300, 0, 0, 0xF800}, {0, 1000, 0, 0x07E0}, {0, 0, 256, 0x001F},
      {-5, 0, 0, 0x0000},      {8, 4, 8, 0x0821},   {255, 225, 0, 0xFF00},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, Rgb565(c.r, c.g, c.b)) << c.r << "," << c.g << "," << c.b;
    Surface s(1, 1);
    s.SetForeColor(c.r, c.g, c.b);
    s.DrawLine(0, 0, 1, 1);
    EXPECT_EQ(c.expected, s.pixel(0, 0));
  }
}

}  // namespace
}  // namespace quorvex
