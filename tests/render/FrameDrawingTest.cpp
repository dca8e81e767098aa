#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/render/FrameDrawing.h"
#include "game/render/Graphics.h"
#include "tests/render/RenderFixture.h"
#include "tests/support/SurfaceTesting.h"

namespace quorvex {
namespace {

using testing::Legend;
using testing::RegionMatches;

struct FrameTest : ::testing::Test {
  GameWindow w;
  void SetUp() override { testing::SetUpTestWindow(w); }
  // Both ships together far from the middle, so the zoom is 50 and the ships stay out of the way.
  void ShipsTogetherAt(double x, double y) {
    for (ShipState& s : w.ship) s.x = x, s.y = y;
  }
  uint16_t Bg(int x, int y) const { return w.background.pixel(x, y); }
};

TEST(ShipFrames, FrameRectangles) {
  struct Case {
    int frame;
    Rect rect;
  } cases[] = {{0, {0, 0, 50, 50}},       {7, {350, 0, 400, 50}},     {8, {0, 50, 50, 100}},
               {23, {350, 100, 400, 150}}, {24, {0, 150, 50, 200}},   {31, {350, 150, 400, 200}}};
  for (const Case& c : cases) EXPECT_EQ(c.rect, ShipFrameRect(c.frame)) << c.frame;
}

TEST_F(FrameTest, ZoomFollowsTheShipsDistanceAndTheBackgroundTheZoomBefore) {
  struct Case {
    double x1, y1, x2, y2;
    double zoom;
    Rect source;
    // Back pixels and the background pixels they must show on the next frame.
    std::vector<std::array<int, 4>> pixels;
  } cases[] = {
      {300, 300, 300, 300, 50, {50, 50, 750, 550}, {{0, 599, 50, 549}, {200, 150, 225, 175}, {799, 599, 749, 549}}},
      {100, 0, 700, 800, 25, {0, 0, 800, 600}, {{0, 599, 0, 599}, {200, 150, 200, 150}, {799, 599, 799, 599}}},
      {100, 240, 500, 240, 40, {30, 30, 770, 570}, {{0, 599, 30, 569}, {400, 300, 400, 300}}},
  };
  for (const Case& c : cases) {
    SetUp();
    w.ship[0].x = c.x1, w.ship[0].y = c.y1, w.ship[1].x = c.x2, w.ship[1].y = c.y2;
    w.zoom = 50;
    w.options.backgroundZoom = true;
    FramenPiirtely(w, 0, 0);
    EXPECT_DOUBLE_EQ(c.zoom, w.zoom);
    EXPECT_EQ(c.source, BackgroundSourceRect(w.zoom));
    // This frame's background still used the zoom before (50): its top-left pixel is (50, 50).
    EXPECT_EQ(Bg(50, 50 + 590 * 500 / 600), w.back.pixel(0, 590));
    FramenPiirtely(w, 0, 0);
    for (const auto& p : c.pixels) {
      EXPECT_EQ(Bg(p[2], p[3]), w.back.pixel(p[0], p[1])) << "zoom " << c.zoom << " at " << p[0] << "," << p[1];
    }
  }
}

TEST_F(FrameTest, BackgroundWithoutZoomingIsCopiedWhole) {
  ShipsTogetherAt(300, 300);
  w.zoom = 50;
  w.options.backgroundZoom = false;
  FramenPiirtely(w, 0, 0);
  for (auto [x, y] : {std::pair{0, 599}, {200, 150}, {799, 599}, {400, 500}}) {
    EXPECT_EQ(Bg(x, y), w.back.pixel(x, y)) << x << "," << y;
  }
}

TEST_F(FrameTest, ShipRectanglesRoundHalvesToEven) {
  struct Case {
    double x, y, radius;
    Rect rect;  // both ships at the same point: zoom 50, half size radius / 2
  } cases[] = {
      {100, 240, 30, {85, 225, 115, 255}},
      {100.5, 240.5, 30, {86, 226, 116, 256}},    // 85.5 -> 86, 115.5 -> 116
      {101.5, 241.5, 30, {86, 226, 116, 256}},    // 86.5 -> 86, 116.5 -> 116
      {100, 240, 45, {78, 218, 122, 262}},        // 77.5 -> 78, 122.5 -> 122
      {300, 300, 60, {270, 270, 330, 330}},
  };
  for (const Case& c : cases) {
    SetUp();
    ShipsTogetherAt(c.x, c.y);
    for (ShipState& s : w.ship) s.radius = c.radius;
    FramenPiirtely(w, 0, 0);
    EXPECT_EQ(c.rect, w.ship[0].shipRect) << c.x << " radius " << c.radius;
    EXPECT_EQ(c.rect, w.ship[1].shipRect);
  }
  // Apart, each ship shrinks with the zoom: 600 apart gives zoom 35, radius 30 -> 10.5 each side.
  SetUp();
  FramenPiirtely(w, 0, 0);
  EXPECT_DOUBLE_EQ(35, w.zoom);
  EXPECT_EQ((Rect{90, 230, 110, 250}), w.ship[0].shipRect);   // 89.5 -> 90, 110.5 -> 110
  EXPECT_EQ((Rect{690, 230, 710, 250}), w.ship[1].shipRect);
}

TEST_F(FrameTest, ShipsAreDrawnInTheirRectanglesWithTheirFrames) {
  // Player 1 at (200, 300), player 2 at (600, 300): 400 apart, zoom 40, radius 30 -> 12 each side.
  w.ship[0].x = 200, w.ship[0].y = 300;
  w.ship[1].x = 600, w.ship[1].y = 300;
  w.options.backgroundZoom = false;
  FramenPiirtely(w, 7, 24);
  EXPECT_EQ((Rect{188, 288, 212, 312}), w.ship[0].shipRect);
  // 24 pixels show 50: the frame's colour in the middle, its black border keyed out at the edge.
  EXPECT_EQ(testing::ShipFrameColor(0, 7), w.back.pixel(200, 300));
  EXPECT_EQ(testing::ShipFrameColor(1, 24), w.back.pixel(600, 300));
  EXPECT_EQ(Bg(188, 288), w.back.pixel(188, 288));
  EXPECT_EQ(testing::ShipFrameColor(0, 7), w.back.pixel(211, 311));

  // A destroyed ship is not drawn.
  w.ship[1].alive = false;
  FramenPiirtely(w, 7, 24);
  EXPECT_EQ(Bg(600, 300), w.back.pixel(600, 300));
  EXPECT_EQ(testing::ShipFrameColor(0, 7), w.back.pixel(200, 300));
  // Nor is a ship whose rectangle reaches over the edge of the screen.
  w.ship[0].x = 5;
  FramenPiirtely(w, 7, 24);
  EXPECT_EQ(Bg(10, 300), w.back.pixel(10, 300));
}

TEST_F(FrameTest, StarsTakePositionAndColourFromDepth) {
  ShipsTogetherAt(700, 550);
  w.zoom = 50;  // the stars use the zoom of the frame before
  w.options.starCount = 4;
  struct Star {
    float depth, x, y;
    int px, py;  // where it shows: 400 + d * x * 50 / 200, 300 + d * y * 50 / 200
    uint16_t color;
  } stars[] = {
      {1.0f, 100, -60, 425, 285, testing::kStarColor7},
      {2.5f, -80, 40, 350, 325, testing::kStarColor8},   // 8.5 -> 8, and 9.5 -> 10 on the right
      {3.0f, 200, 200, 550, 450, testing::kStarColor9},
      {1.4f, 5, 3, 402, 301, testing::kStarColor7},      // 401.75 -> 402, 301.05 -> 301
  };
  for (int i = 0; i < 4; ++i) {
    w.stars.depth[i + 1] = stars[i].depth, w.stars.x[i + 1] = stars[i].x, w.stars.y[i + 1] = stars[i].y;
  }
  // Star 0 is never drawn, nor stars beyond the count.
  w.stars.depth[0] = 1, w.stars.x[0] = 200, w.stars.y[0] = 0;
  w.stars.depth[5] = 1, w.stars.x[5] = 0, w.stars.y[5] = 200;
  w.options.backgroundZoom = false;
  FramenPiirtely(w, 0, 0);
  for (const Star& s : stars) {
    EXPECT_EQ(s.color, w.back.pixel(s.px, s.py)) << s.depth;
    // A depth ending in exactly .5 rounds its two source edges apart: that star is two pixels wide.
    const uint16_t right = s.depth == 2.5f ? testing::kStarColor9 : Bg(s.px + 1, s.py);
    EXPECT_EQ(right, w.back.pixel(s.px + 1, s.py)) << s.depth;
    EXPECT_EQ(Bg(s.px + 2, s.py), w.back.pixel(s.px + 2, s.py)) << s.depth;
  }
  EXPECT_EQ(Bg(450, 300), w.back.pixel(450, 300));
  EXPECT_EQ(Bg(400, 350), w.back.pixel(400, 350));

  // At zoom 25 the same stars sit half as far from the middle.
  w.zoom = 25;
  FramenPiirtely(w, 0, 0);
  EXPECT_EQ(testing::kStarColor9, w.back.pixel(475, 375));
}

TEST_F(FrameTest, StarCountsOutsideTheTableAndStarsOffScreen) {
  ShipsTogetherAt(700, 550);
  w.options.backgroundZoom = false;
  for (int i = 0; i <= 1000; ++i) w.stars.depth[i] = 3, w.stars.x[i] = 1500, w.stars.y[i] = 1100;
  w.stars.x[1000] = 0, w.stars.y[1000] = 0;
  w.options.starCount = 5000;  // only the 1000 stars of the table exist
  FramenPiirtely(w, 0, 0);
  EXPECT_EQ(testing::kStarColor9, w.back.pixel(400, 300));
  w.options.starCount = 0;
  FramenPiirtely(w, 0, 0);
  EXPECT_EQ(Bg(400, 300), w.back.pixel(400, 300));
}

TEST_F(FrameTest, TrailDotsFadeToBlack) {
  ShipsTogetherAt(700, 550);  // zoom 50: trail dots move by half their velocity
  w.options.backgroundZoom = false;
  struct Dot {
    double life, x, y, vx, vy;
    int px, py;
    uint16_t color;  // red life * 100, green life * 50 after the life is counted down
  } dots[] = {
      {10, 100, 100, 4, 2, 102, 101, Rgb565(255, 255, 0)},
      {3, 200, 100, 0, 0, 200, 100, Rgb565(200, 100, 0)},
      {2, 300, 100, -3, 0, 298, 100, Rgb565(100, 50, 0)},   // 298.5 -> 298
      {1.5, 400, 100, 0, 0, 400, 100, Rgb565(50, 25, 0)},
      {1, 500, 100, 0, 0, 500, 100, 0},                     // its last frame: black
  };
  for (int i = 0; i < 5; ++i) {
    const Dot& d = dots[i];
    w.trail.life[i * 20] = d.life, w.trail.x[i * 20] = d.x, w.trail.y[i * 20] = d.y;
    w.trail.vx[i * 20] = d.vx, w.trail.vy[i * 20] = d.vy;
  }
  FramenPiirtely(w, 0, 0);
  for (int i = 0; i < 5; ++i) {
    const Dot& d = dots[i];
    EXPECT_EQ(d.color, w.back.pixel(d.px, d.py)) << "life " << d.life;
    // The dot's line runs to (x + 1, y + 1), each end rounded on its own: from 298.5 it runs from 298
    // to 300 and sets two pixels.
    const uint16_t next = d.px == 298 ? d.color : Bg(d.px + 1, d.py + 1);
    EXPECT_EQ(next, w.back.pixel(d.px + 1, d.py + 1)) << "life " << d.life;
    EXPECT_EQ(Bg(d.px + 1, d.py), w.back.pixel(d.px + 1, d.py)) << "life " << d.life;
    EXPECT_DOUBLE_EQ(d.life - 1, w.trail.life[i * 20]);
  }
  // A dead dot stays where it is and is not drawn again.
  FramenPiirtely(w, 0, 0);
  EXPECT_EQ(0, w.trail.life[80]);
  EXPECT_EQ(Bg(500, 100), w.back.pixel(500, 100));
}

TEST_F(FrameTest, ShotsDrawStreaksAndHitPixels) {
  ShipsTogetherAt(700, 550);  // zoom 50: a streak is half a frame's velocity long
  w.options.backgroundZoom = false;
  constexpr uint16_t kRed = 0xF800, kGreen = 0x07E0, kBlue = 0x001F;
  const uint16_t kYellow = Rgb565(255, 225, 0), kCyan = Rgb565(0, 255, 255);
  struct Shot {
    double life, kind;
    double lifeAfter;
    uint16_t color;  // 0: nothing drawn
    int length;      // pixels of the streak, the shot's own pixel first
  } shots[] = {
      {80, 0, 80, kRed, 10},     {80, 1, 80, kGreen, 10},   {199, 2, 199, kBlue, 10},
      {450, 0, 0, kYellow, 1},   {450, 1, 0, kYellow, 1},   {450, 2, 0, kCyan, 1},
      {490, 2, 490, kCyan, 1},   {485, 0, 485, kYellow, 1}, {200, 0, 200, 0, 0},
      {300, 1, 300, 0, 0},       {400, 2, 400, 0, 0},
  };
  const int n = static_cast<int>(std::size(shots));
  for (int i = 0; i < n; ++i) {
    w.shots.life[i] = shots[i].life, w.shots.kind[i] = shots[i].kind;
    w.shots.x[i] = 100, w.shots.y[i] = 50 + 30 * i, w.shots.vx[i] = 20, w.shots.vy[i] = 0;
  }
  FramenPiirtely(w, 0, 0);
  for (int i = 0; i < n; ++i) {
    const Shot& s = shots[i];
    const int y = 50 + 30 * i;
    for (int x = 85; x <= 105; ++x) {
      const bool lit = s.color != 0 && x <= 100 && x > 100 - s.length;
      EXPECT_EQ(lit ? s.color : Bg(x, y), w.back.pixel(x, y)) << "shot " << i << " at x " << x;
    }
    EXPECT_EQ(s.lifeAfter, w.shots.life[i]) << "shot " << i;
  }
  // A hit pixel set to 0 is not drawn again.
  FramenPiirtely(w, 0, 0);
  EXPECT_EQ(Bg(100, 50 + 30 * 3), w.back.pixel(100, 50 + 30 * 3));
}

TEST_F(FrameTest, AimMarkersRingFiftyPixelsAheadOfLiveShips) {
  ShipsTogetherAt(400, 150);
  w.ship[0].heading = 0;  // nose up: ring around (400, 100)
  w.ship[1].heading = 8;  // nose right: ring around (450, 150)
  w.options.backgroundZoom = false;
  w.back.BltColorFill({0, 0, 800, 600}, 0);
  w.background = Surface(800, 600);  // black, so that only the rings show
  w.aimMarkers = true;
  const std::vector<Legend> legend = {{'.', 0}, {'w', 0xFFFF}};
  const std::vector<std::string> ring = {".www.", "w...w", "w...w", "w...w", ".www."};
  FramenPiirtely(w, 0, 8);
  EXPECT_TRUE(RegionMatches(w.back, 398, 98, ring, legend, "aim-marker-1"));
  EXPECT_TRUE(RegionMatches(w.back, 448, 148, ring, legend, "aim-marker-2"));

  // No ring for a destroyed ship, nor with the markers switched off.
  w.ship[1].alive = false;
  FramenPiirtely(w, 0, 8);
  EXPECT_EQ(0, testing::CountLitPixels(w.back, {440, 140, 460, 160}));
  EXPECT_TRUE(RegionMatches(w.back, 398, 98, ring, legend, "aim-marker-1-alone"));
  w.aimMarkers = false;
  FramenPiirtely(w, 0, 8);
  EXPECT_EQ(0, testing::CountLitPixels(w.back, {390, 90, 410, 110}));
}

// The bars at the top, drawn over a black background.
struct BarTest : FrameTest {
  void SetUp() override {
    FrameTest::SetUp();
    ShipsTogetherAt(400, 500);
    w.background = Surface(800, 600);
    w.options.backgroundZoom = false;
  }
  const uint16_t b = Rgb565(0, 0, 220), r = Rgb565(220, 0, 0), g = Rgb565(0, 220, 0);
};

TEST_F(BarTest, BarsOutlinesAndPowerMarks) {
  ShipState& p1 = w.ship[0];
  ShipState& p2 = w.ship[1];
  p2.shield = 50, p2.shieldMax = 100;   // box to x 55, fill blue 50 + 205 * 50 / 101 = 151.5 -> 151
  p2.hull = 30, p2.hullMax = 60;        // box to x 55, fill red 50 + 205 * 30 / 61 = 150.8 -> 151
  p2.energy = 40;                       // box to x 45, fill green 50 + 205 * 40 / 100 = 132
  p2.powerRedir = 1;                    // white square beside the hull bar
  p1.shield = 0, p1.shieldMax = 0;      // outline only
  p1.hull = 60, p1.hullMax = 60;        // full: x 795 down to 695, red 50 + 205 * 60 / 61 = 251.6 -> 252
  p1.energy = 100;                      // full, green 255
  p1.powerRedir = 2;                    // beside the shield bar
  w.aimMarkers = true;                  // the boxes are filled all the same
  FramenPiirtely(w, 0, 0);

  const std::vector<Legend> legend = {{'.', 0},
                                      {'b', b},
                                      {'r', r},
                                      {'g', g},
                                      {'w', 0xFFFF},
                                      {'B', Rgb565(0, 0, 151)},
                                      {'R', Rgb565(151, 0, 0)},
                                      {'G', Rgb565(0, 132, 0)},
                                      {'S', Rgb565(252, 0, 0)},
                                      {'E', Rgb565(0, 255, 0)}};
  // Player 2 at the left: the left end, the ends of the filled boxes, the outline's end and the mark.
  EXPECT_TRUE(RegionMatches(w.back, 4, 4,
                            {"....", ".bbb", ".bBB", ".bBB", ".bBB", ".bBB", ".bbb", ".rrr", ".rRR", ".rRR", ".rRR",
                             ".rRR", ".rrr", ".ggg", ".gGG", ".gGG", ".gGG", ".gGG", ".ggg", "...."},
                            legend, "bars-p2-left"));
  EXPECT_TRUE(RegionMatches(w.back, 42, 4,
                            {"...............", "bbbbbbbbbbbbbbb", "BBBBBBBBBBBBb..", "BBBBBBBBBBBBb..",
                             "BBBBBBBBBBBBb..", "BBBBBBBBBBBBb..", "bbbbbbbbbbbbbbb", "rrrrrrrrrrrrrrr",
                             "RRRRRRRRRRRRr..", "RRRRRRRRRRRRr..", "RRRRRRRRRRRRr..", "RRRRRRRRRRRRr..",
                             "rrrrrrrrrrrrrrr", "ggggggggggggggg", "GGg............", "GGg............",
                             "GGg............", "GGg............", "ggggggggggggggg", "..............."},
                            legend, "bars-p2-fill-ends"));
  EXPECT_TRUE(RegionMatches(w.back, 102, 4,
                            {"............", "bbbb........", "...b........", "...b........", "...b........",
                             "...b........", "bbbb........", "rrrr.wwwww..", "...r.wwwww..", "...r.wwwww..",
                             "...r.wwwww..", "...r.wwwww..", "rrrr........", "gggg........", "...g........",
                             "...g........", "...g........", "...g........", "gggg........", "............"},
                            legend, "bars-p2-right"));
  // Player 1 at the right, growing leftwards.
  EXPECT_TRUE(RegionMatches(w.back, 686, 4,
                            {"............", "..wwwww..bbb", "..wwwww..b..", "..wwwww..b..", "..wwwww..b..",
                             "..wwwww..b..", ".........bbb", ".........rrr", ".........rSS", ".........rSS",
                             ".........rSS", ".........rSS", ".........rrr", ".........ggg", ".........gEE",
                             ".........gEE", ".........gEE", ".........gEE", ".........ggg", "............"},
                            legend, "bars-p1-left"));
  EXPECT_TRUE(RegionMatches(w.back, 793, 4,
                            {"....", "bbb.", "..b.", "..b.", "..b.", "..b.", "bbb.", "rrr.", "Srr.", "Srr.", "Srr.",
                             "Srr.", "rrr.", "ggg.", "Egg.", "Egg.", "Egg.", "Egg.", "ggg.", "...."},
                            legend, "bars-p1-right"));
}

TEST_F(BarTest, EmptyMaximaDrawOutlinesOnly) {
  // A ship without shield or hull (maxima 0) shows the outlines and no boxes, and nothing divides by 0.
  for (ShipState& s : w.ship) s.shield = s.shieldMax = s.hull = s.hullMax = 0;
  FramenPiirtely(w, 0, 0);
  for (int x : {6, 50, 103, 697, 750, 793}) {
    for (int y = 6; y <= 9; ++y) EXPECT_EQ(0, w.back.pixel(x, y)) << x << "," << y;
    for (int y = 12; y <= 15; ++y) EXPECT_EQ(0, w.back.pixel(x, y)) << x << "," << y;
    EXPECT_EQ(b, w.back.pixel(x, 5));
    EXPECT_EQ(r, w.back.pixel(x, 11));
    EXPECT_EQ(r, w.back.pixel(x, 16));
  }
}

TEST_F(BarTest, FillColoursBrightenWithTheValue) {
  struct Case {
    double value, max;
    int channel;  // shield and hull: 50 + 205 * value / (max + 1), at most 255
  } cases[] = {{5, 100, 60}, {25, 50, 150}, {100, 100, 253}, {300, 300, 254}, {150, 100, 255}};
  for (const Case& c : cases) {
    SetUp();
    w.ship[1].shield = c.value, w.ship[1].shieldMax = c.max;
    w.ship[1].hull = c.value, w.ship[1].hullMax = c.max;
    FramenPiirtely(w, 0, 0);
    EXPECT_EQ(Rgb565(0, 0, c.channel), w.back.pixel(6, 7)) << c.value;
    EXPECT_EQ(Rgb565(c.channel, 0, 0), w.back.pixel(6, 13)) << c.value;
  }
  struct EnergyCase {
    double energy;
    int green;  // 50 + 205 * energy / 100
  } energies[] = {{5, 60}, {25, 101}, {50, 152}, {100, 255}};  // 152.5 -> 152
  for (const EnergyCase& c : energies) {
    SetUp();
    w.ship[1].energy = c.energy;
    FramenPiirtely(w, 0, 0);
    EXPECT_EQ(Rgb565(0, c.green, 0), w.back.pixel(6, 19)) << c.energy;
  }
}

TEST_F(BarTest, PowerMarkStandsBesideItsBar) {
  for (int p = 0; p <= 2; ++p) {
    SetUp();
    w.ship[0].powerRedir = w.ship[1].powerRedir = p;
    FramenPiirtely(w, 0, 0);
    const int top = 17 - 6 * p;
    for (int x : {107, 688}) {
      EXPECT_EQ(25, testing::CountLitPixels(w.back, {x, top, x + 5, top + 5})) << p;
      EXPECT_EQ(0xFFFF, w.back.pixel(x + 2, top + 2));
      EXPECT_EQ(25, testing::CountLitPixels(w.back, {x - 1, 0, x + 6, 28})) << "nothing else beside the bars";
    }
  }
}

TEST_F(FrameTest, CriticalLevelsDecayEveryFrame) {
  struct Case {
    double before, after;
  } cases[] = {{1.0, 0.9}, {0.05, 0.05 - 0.1}, {0, 0}, {-0.05, 0}, {50, 49.9}};
  for (const Case& c : cases) {
    SetUp();
    for (ShipState& s : w.ship) s.systems.fill(c.before);
    FramenPiirtely(w, 0, 0);
    for (const ShipState& s : w.ship) {
      for (double level : s.systems) EXPECT_DOUBLE_EQ(c.after, level) << c.before;
    }
  }
}

TEST_F(FrameTest, FramePacingStartsWithTheFirstFrame) {
  ManualClock clock;
  clock.now = 12345;
  w.clock = &clock;
  w.lastFrameTick = 0;
  FramenPiirtely(w, 0, 0);
  EXPECT_EQ(12345, w.lastFrameTick);
  clock.now = 20000;
  FramenPiirtely(w, 0, 0);
  EXPECT_EQ(12345, w.lastFrameTick);
}

}  // namespace
}  // namespace quorvex
