#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <vector>
#include <string>

#include "game/render/FrameDrawing.h"
#include "game/render/Graphics.h"
#include "game/render/Particles.h"
#include "tests/render/ParticlesTesting.h"

namespace quorvex {
namespace {

using testing::ClearBack;
using testing::CountLitPixels;

constexpr Rect kScreen{0, 0, 800, 600};

struct SparkTest : ::testing::Test {
  GameWindow w;
  void SetUp() override { testing::SetUpParticleWindow(w); }
  // Frames until spark `i` is free again.
  int FramesToLive(int i) {
    int frames = 0;
    while (w.sparks.life[i] != 0 && frames < 1000) {
      Kipinat(w);
      ++frames;
    }
    return frames;
  }
};

TEST_F(SparkTest, SparksOfBiggerBurstsFlyFasterAndLiveLonger) {
  struct Case {
    int n;
    double speedRandom;
    double speed;
    int frames;
  } cases[] = {
      {45, 0, 45, 20},           // 1.3 life a frame
      {45, 0.999, 54.99, 24},    // 1.1 a frame
      {32, 0, 32, 17},           // 1.56 a frame
      {90, 0.5, 95, 85},         // 0.3 a frame
  };
  for (const Case& c : cases) {
    SetUp();
    // Each spark draws its angle, then its speed.
    for (int i = 0; i < c.n; ++i) w.random.scripted.insert(w.random.scripted.end(), {0.25, c.speedRandom});
    LuoSpark(w, 400, 300, c.n);
    EXPECT_NEAR(c.speed, w.sparks.speed[1], 1e-9);
    EXPECT_DOUBLE_EQ(90, w.sparks.angle[1]);
    EXPECT_EQ(c.frames, FramesToLive(1)) << "speed " << c.speed;
  }
}

TEST_F(SparkTest, ABurstOf45LivesTwentyToTwentyFourFrames) {
  LuoSpark(w, 400, 300, 45);
  EXPECT_EQ(0, w.sparks.life[0]);
  EXPECT_EQ(0, w.sparks.life[46]);
  for (int i = 1; i <= 45; ++i) {
    EXPECT_GE(w.sparks.speed[i], 45) << i;
    EXPECT_LT(w.sparks.speed[i], 55) << i;
    EXPECT_EQ(std::floor(w.sparks.angle[i]), w.sparks.angle[i]) << i;
    EXPECT_GE(w.sparks.angle[i], 0) << i;
    EXPECT_LE(w.sparks.angle[i], 360) << i;
  }
  int frames = 0, shortest = 1000;
  for (; frames < 30; ++frames) {
    Kipinat(w);
    for (int i = 1; i <= 45; ++i) {
      if (w.sparks.life[i] == 0 && shortest == 1000) shortest = frames + 1;
    }
  }
  for (int i = 1; i <= 45; ++i) EXPECT_EQ(0, w.sparks.life[i]) << i;
  EXPECT_GE(shortest, 20);
}

TEST_F(SparkTest, ASparkDrawsAStreakFromWhereItWasFadingToBlack) {
  struct Case {
    std::string name;
    double angle, speed, life;
    double x, y;        // after the frame
    double lifeAfter;
    int red, green;     // its colour this frame
    int lit;            // pixels of the streak
  } cases[] = {
      {"new, angle 0", 0, 50, 25.5, 105, 100, 24.3, 243, 194, 5},
      {"new, angle 3 radians", 3, 50, 25.5, 95.0500375, 100.7056, 24.3, 243, 194, 5},
      {"bright, red held at 255", 0, 80, 30, 108, 100, 29.4, 255, 235, 8},
      {"burnt out", 0, 50, 1, 105, 100, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SetUp();
    w.sparks.life[3] = c.life, w.sparks.angle[3] = c.angle, w.sparks.speed[3] = c.speed;
    w.sparks.x[3] = 100, w.sparks.y[3] = 100;
    Kipinat(w);
    EXPECT_NEAR(c.x, w.sparks.x[3], 1e-4) << c.name;
    EXPECT_NEAR(c.y, w.sparks.y[3], 1e-4) << c.name;
    EXPECT_NEAR(c.lifeAfter, w.sparks.life[3], 1e-9) << c.name;
    EXPECT_EQ(c.lit, CountLitPixels(w.back, kScreen)) << c.name;
    if (c.lit > 0) {
      EXPECT_EQ(Rgb565(c.red, c.green, 0), w.back.pixel(100, 100)) << c.name;
      EXPECT_EQ(0, w.back.pixel(static_cast<int>(std::lround(c.x)), static_cast<int>(std::lround(c.y)))) << c.name;
    }
  }
}

TEST_F(SparkTest, WithSparksOffNothingIsMadeMovedOrDrawn) {
  LuoSpark(w, 400, 300, 3);
  const SparkPool before = w.sparks;
  w.options.sparksOn = false;
  LuoSpark(w, 200, 200, 10);
  for (int frame = 0; frame < 5; ++frame) Kipinat(w);
  for (int i = 0; i <= 501; ++i) {
    EXPECT_EQ(before.life[i], w.sparks.life[i]) << i;
    EXPECT_EQ(before.x[i], w.sparks.x[i]) << i;
  }
  EXPECT_EQ(0, CountLitPixels(w.back, kScreen));
  // Switched on again they fly on from where they stopped.
  w.options.sparksOn = true;
  Kipinat(w);
  EXPECT_LT(w.sparks.life[1], before.life[1]);
  EXPECT_GT(CountLitPixels(w.back, kScreen), 0);
}

struct DebrisTest : ::testing::Test {
  GameWindow w;
  void SetUp() override {
    testing::SetUpParticleWindow(w);
    w.options.debrisOn = true;
  }
  void Put(int i, int16_t life, double x, double y, double vx, double vy) {
    w.debris.life[i] = life, w.debris.x[i] = x, w.debris.y[i] = y, w.debris.vx[i] = vx, w.debris.vy[i] = vy;
  }
};

TEST_F(DebrisTest, NoDebrisWithTheOptionOff) {
  w.options.debrisOn = false;
  LuoHylsy(w, 100, 100);
  for (int i = 0; i <= 101; ++i) EXPECT_EQ(0, w.debris.life[i]) << i;
}

TEST_F(DebrisTest, GravitationPullsDebrisTowardsTheMiddle) {
  struct Case {
    bool gravity;
    double x, y;
    double vx, vy;  // after one frame, from rest
  } cases[] = {
      {true, 399, 301, 0.05, -0.05}, {true, 401, 299, -0.05, 0.05}, {true, 400, 300, 0, 0},
      {false, 399, 301, 0, 0},
  };
  for (const Case& c : cases) {
    SetUp();
    w.options.gravityOn = c.gravity;
    Put(1, 400, c.x, c.y, 0, 0);
    Hylsytys(w);
    EXPECT_EQ(399, w.debris.life[1]);
    EXPECT_DOUBLE_EQ(c.vx, w.debris.vx[1]) << c.x << "," << c.y;
    EXPECT_DOUBLE_EQ(c.vy, w.debris.vy[1]) << c.x << "," << c.y;
    EXPECT_DOUBLE_EQ(c.x + c.vx, w.debris.x[1]);
    EXPECT_DOUBLE_EQ(c.y + c.vy, w.debris.y[1]);
  }
}

TEST_F(DebrisTest, LateDebrisStrikesShipsItLiesOn) {
  struct Case {
    std::string name;
    int16_t life;
    int player;       // the ship the piece lies near
    double dx, dy;    // its offset from that ship after its move
    bool alive;
    bool hits;
  } cases[] = {
      {"fresh piece", 191, 1, 0, 0, true, false},
      {"last 189 frames", 190, 1, 0, 0, true, true},
      {"player 2", 100, 2, 0, 0, true, true},
      {"just inside", 100, 1, 9.9, -9.9, true, true},
      {"10 away", 100, 1, 10, 0, true, false},
      {"10 away vertically", 100, 2, 0, -10, true, false},
      {"wreck", 100, 1, 0, 0, false, false},
  };
  for (const Case& c : cases) {
    SetUp();
    ShipState& s = w.ship[c.player - 1];
    s.alive = c.alive;
    Put(5, c.life, s.x + c.dx, s.y + c.dy, 0, 0);
    Hylsytys(w);
    EXPECT_EQ(c.hits ? 100 - 0.123 : 100, s.shield) << c.name;
    EXPECT_EQ(100, w.ship[2 - c.player].shield) << c.name;
    // The strike shows as a small explosion made at the piece.
    EXPECT_EQ(c.hits ? 10 : 0, w.explosions.state[1]) << c.name;
    if (c.hits) {
      EXPECT_DOUBLE_EQ(s.x + c.dx - 10, w.explosions.x[1]) << c.name;
      EXPECT_DOUBLE_EQ(s.y + c.dy - 10, w.explosions.y[1]) << c.name;
    }
  }
}

TEST_F(DebrisTest, AStrikeThrowsThePieceWithTheShipsVelocityAndARandomKick) {
  struct Case {
    double pieceV, shipV, r;
    double after;
  } cases[] = {
      {0, 0, 0.5, 0},       // kick 8r - 4
      {0.5, 1, 0.75, 3.5},  // piece + ship + kick
      {0, 3, 0.9, 5},       // held at 5
      {-1, -2, 0, -5},      // held at -5
  };
  for (const Case& c : cases) {
    SetUp();
    ShipState& s = w.ship[0];
    s.vx = s.vy = c.shipV;
    Put(1, 100, s.x - c.pieceV, s.y - c.pieceV, c.pieceV, c.pieceV);
    w.random.scripted = {c.r, c.r};
    Hylsytys(w);
    EXPECT_DOUBLE_EQ(c.after, w.debris.vx[1]) << c.pieceV << " " << c.shipV << " " << c.r;
    EXPECT_DOUBLE_EQ(c.after, w.debris.vy[1]) << c.pieceV << " " << c.shipV << " " << c.r;
  }
}

TEST_F(DebrisTest, APieceOnAShipCannotHurtItUntilItsLifeDropsBelow190) {
  ShipState& s = w.ship[0];
  w.random.scripted = {0.2, 0.5, 0.5};  // life 400, standing still
  LuoHylsy(w, s.x, s.y);
  ASSERT_EQ(400, w.debris.life[1]);
  int frames = 0;
  while (s.shield == 100 && frames < 1000) {
    Hylsytys(w);
    ++frames;
  }
  EXPECT_EQ(211, frames);
  EXPECT_EQ(189, w.debris.life[1]);
}

TEST_F(DebrisTest, DebrisIsAGreySpinningStick) {
  Put(1, 101, 300, 200, 0, 0);  // life 100 after the step: angle 50 radians
  Hylsytys(w);
  const double a = 50;
  const int x1 = static_cast<int>(std::lround(300 - 2 * std::cos(a))), y1 = static_cast<int>(std::lround(200 - 2 * std::sin(a)));
  EXPECT_EQ(Rgb565(165, 165, 165), w.back.pixel(x1, y1));
  const int lit = CountLitPixels(w.back, kScreen);
  EXPECT_GE(lit, 2);
  EXPECT_LE(lit, 4);
  EXPECT_EQ(lit, CountLitPixels(w.back, Rect{297, 197, 304, 204}));
}

// The effects in a whole battle frame.
struct FrameEffectsTest : ::testing::Test {
  GameWindow w;
  void SetUp() override {
    testing::SetUpParticleWindow(w);
    w.options.effectRop = static_cast<uint32_t>(RasterOp::SrcPaint);
    for (ShipState& s : w.ship) s.x = 300, s.y = 300;  // zoom 50: ships 30 pixels wide
  }
};

TEST_F(FrameEffectsTest, FlashesGlowOverTheShips) {
  LuoFlashi(w, 300, 300);
  FramenPiirtely(w, 0, 0);
  // Player 2's ship lies on top; the flash's first picture is ORed onto it.
  const uint16_t ship = testing::ShipFrameColor(1, 0);
  EXPECT_EQ(static_cast<uint16_t>(ship | w.explosionSheet.pixel(279 + 9, 9)), w.back.pixel(300, 300));
  EXPECT_EQ(static_cast<uint16_t>(ship | w.explosionSheet.pixel(279 + 3, 2)), w.back.pixel(294, 293));
}

TEST_F(FrameEffectsTest, EveryEffectAdvancesOncePerFrame) {
  LuoBoom(w, 100, 500, 0);
  LuoBoom(w, 200, 500, 1);
  LuoFlashi(w, 300, 500);
  LuoSavu(w, 400, 500);
  LuoSpark(w, 500, 500, 5);
  w.flames.life[1] = 30;
  w.options.debrisOn = true;
  LuoHylsy(w, 600, 500);
  const int16_t debrisLife = w.debris.life[1];
  FramenPiirtely(w, 0, 0);
  EXPECT_DOUBLE_EQ(9, w.explosions.state[1]);
  EXPECT_DOUBLE_EQ(-5.75, w.explosions.state[2]);
  EXPECT_DOUBLE_EQ(26, w.flashes.life[1]);
  EXPECT_DOUBLE_EQ(28, w.smoke.life[1]);
  EXPECT_LT(w.sparks.life[1], 25.5);
  EXPECT_DOUBLE_EQ(28, w.flames.life[1]);
  EXPECT_EQ(debrisLife - 1, w.debris.life[1]);
}

TEST_F(FrameEffectsTest, DebrisRestsWhileTheDebrisOptionIsOff) {
  w.debris.life[1] = 300, w.debris.x[1] = 600, w.debris.y[1] = 500, w.debris.vx[1] = 1;
  w.options.debrisOn = false;
  FramenPiirtely(w, 0, 0);
  EXPECT_EQ(300, w.debris.life[1]);
  EXPECT_DOUBLE_EQ(600, w.debris.x[1]);
  w.options.debrisOn = true;
  FramenPiirtely(w, 0, 0);
  EXPECT_EQ(299, w.debris.life[1]);
  EXPECT_DOUBLE_EQ(601, w.debris.x[1]);
}

// The generated explosion sheet has a picture in every cell the effects show. The effects are also
// drawn frame by frame over the generated background into effects.png for a person to look at.
TEST(GeneratedExplosionSheet, EveryCellHoldsAPicture) {
  GameWindow w;
  w.programDir = testing::ProgramDir();
  if (!std::filesystem::exists(w.programDir / "boom.bmp")) GTEST_SKIP() << "no generated boom.bmp";
  LoadPicture(w, "boom.bmp", &w.explosionSheet);
  struct Cell {
    std::string name;
    Rect rect;
  };
  std::vector<Cell> cells;
  for (int s = 1; s <= 10; ++s) cells.push_back({"small " + std::to_string(s), {21 * s, 0, 21 * s + 21, 21}});
  for (int k = 0; k <= 6; ++k) cells.push_back({"big " + std::to_string(k), {51 * k, 22, 51 * k + 51, 73}});
  for (int k = -1; k <= 2; ++k) cells.push_back({"flash " + std::to_string(k), {243 + 18 * k, 0, 261 + 18 * k, 18}});
  for (int k = 0; k <= 2; ++k) cells.push_back({"smoke " + std::to_string(k), {330 + 13 * k, 40, 343 + 13 * k, 53}});
  cells.push_back({"flame 0", {0, 0, 21, 21}});
  for (const Cell& c : cells) EXPECT_GT(CountLitPixels(w.explosionSheet, c.rect), 0) << c.name;

  // Rows: small explosion, big explosion, flash, smoke, flame, sparks; columns: every second frame.
  Surface picture(800, 480);
  if (std::filesystem::exists(w.programDir / "tausta.bmp")) {
    Surface background;
    LoadPicture(w, "tausta.bmp", &background);
    picture.Blt(Rect{0, 0, 800, 480}, background, Rect{0, 0, 800, 480}, false);
  }
  w.random.Seed(7);
  for (int row = 0; row < 6; ++row) {
    for (int col = 0; col < 13; ++col) {
      w.back = Surface(80, 80);
      const Rect under{col * 60, row * 80, col * 60 + 80, row * 80 + 80};
      w.explosions = {}, w.flashes = {}, w.smoke = {}, w.flames = {}, w.sparks = {};
      if (row == 0) LuoBoom(w, 40, 40, 0);
      if (row == 1) LuoBoom(w, 40, 40, 1);
      if (row == 2) LuoFlashi(w, 40, 40);
      if (row == 3) LuoSavu(w, 40, 40);
      if (row == 4) w.flames.life[1] = 30, w.flames.x[1] = 40, w.flames.y[1] = 40, w.flames.vx[1] = 0.5;
      if (row == 5) LuoSpark(w, 40, 40, 45);
      for (int f = 0; f <= 2 * col; ++f) {
        w.back.Blt(Rect{0, 0, 80, 80}, picture, under, false);
        Poksista(w), Flashit(w), Savutus(w), Kipinat(w), Liekit(w);
      }
      picture.Blt(Rect{col * 60 + 10, row * 80, col * 60 + 70, row * 80 + 80}, w.back, Rect{10, 0, 70, 80}, false);
    }
  }
  EXPECT_TRUE(testing::WritePng(picture, testing::TestOutputDir() / "effects.png"));
}

}  // namespace
}  // namespace quorvex
