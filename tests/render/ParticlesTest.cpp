#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "game/render/Particles.h"
#include "tests/render/ParticlesTesting.h"

namespace quorvex {
namespace {

using testing::CellDrawnAt;
using testing::ClearBack;

struct ParticleTest : ::testing::Test {
  GameWindow w;
  void SetUp() override { testing::SetUpParticleWindow(w); }
};

Rect SmallCell(int s) { return Rect{21 * s, 0, 21 * s + 21, 21}; }
Rect BigCell(int k) { return Rect{51 * k, 22, 51 * k + 51, 73}; }
Rect FlashCell(int k) { return Rect{243 + 18 * k, 0, 261 + 18 * k, 18}; }
Rect SmokeCell(int k) { return Rect{330 + 13 * k, 40, 343 + 13 * k, 53}; }
Rect FlameCell(int k) { return Rect{21 * k, 0, 21 * k + 21, 21}; }

// One animation: how it is made, the per-frame procedure, the picture of each frame it lives, the
// cell of a picture, where frame f (from 0) is drawn, and whether its slot is still taken.
struct Animation {
  std::string name;
  std::function<void(GameWindow&)> make;
  std::function<void(GameWindow&)> step;
  std::vector<int> pictures;
  std::function<Rect(int)> cell;
  std::function<Rect(int)> dest;
  std::function<bool(const GameWindow&)> taken;
};

std::vector<Animation> Animations() {
  return {
      {"flash at (100, 100)", [](GameWindow& w) { LuoFlashi(w, 100, 100); }, Flashit, {2, 2, 1, 1, 1, 0, 0, -1},
       FlashCell, [](int) { return Rect{91, 91, 109, 109}; },
       [](const GameWindow& w) { return w.flashes.life[1] > 0; }},
      {"smoke at (200, 150)", [](GameWindow& w) { LuoSavu(w, 200, 150); }, Savutus,
       {2, 2, 2, 2, 2, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0}, SmokeCell, [](int) { return Rect{194, 144, 207, 157}; },
       [](const GameWindow& w) { return w.smoke.life[1] > 0; }},
      // Up and left of the point it was made at: (280, 180) to (301, 201) for (300, 200).
      {"small explosion at (300, 200)", [](GameWindow& w) { LuoBoom(w, 300, 200, 0); }, Poksista,
       {10, 9, 8, 7, 6, 5, 4, 3, 2, 1}, SmallCell, [](int) { return Rect{280, 180, 301, 201}; },
       [](const GameWindow& w) { return w.explosions.state[1] != 0; }},
      {"big explosion at (400, 300)", [](GameWindow& w) { LuoBoom(w, 400, 300, 1); }, Poksista,
       {0, 0, 0, 1, 1, 1, 2, 2, 2, 2, 2, 3, 3, 3, 4, 4, 4, 4, 4, 5, 5, 5, 6, 6}, BigCell,
       [](int) { return Rect{375, 275, 426, 326}; }, [](const GameWindow& w) { return w.explosions.state[1] != 0; }},
      // Flames come from the physics; they drift by their velocity before each picture.
      {"flame at (300, 400) drifting (2, -1)",
       [](GameWindow& w) {
         w.flames.life[1] = 30, w.flames.x[1] = 300, w.flames.y[1] = 400, w.flames.vx[1] = 2, w.flames.vy[1] = -1;
       },
       Liekit, {2, 2, 2, 2, 2, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0}, FlameCell,
       [](int f) {
         const int x = 300 + 2 * (f + 1), y = 400 - (f + 1);
         return Rect{x - 10, y - 10, x + 11, y + 11};
       },
       [](const GameWindow& w) { return w.flames.life[1] != 0; }},
  };
}

TEST_F(ParticleTest, EachAnimationShowsItsCellsForItsLifetimeThenFreesItsSlot) {
  for (const Animation& a : Animations()) {
    SetUp();
    a.make(w);
    for (size_t f = 0; f < a.pictures.size(); ++f) {
      ASSERT_TRUE(a.taken(w)) << a.name << " ended before frame " << f;
      ClearBack(w);
      a.step(w);
      EXPECT_TRUE(CellDrawnAt(w, a.dest(static_cast<int>(f)), a.cell(a.pictures[f])))
          << a.name << ", frame " << f << ", picture " << a.pictures[f];
    }
    EXPECT_FALSE(a.taken(w)) << a.name << " lives longer than " << a.pictures.size() << " frames";
    ClearBack(w);
    a.step(w);
    EXPECT_EQ(0, testing::CountLitPixels(w.back, Rect{0, 0, 800, 600})) << a.name << " drawn after its end";
  }
}

TEST_F(ParticleTest, FirstFlashFrameUsesTheCellAtX279) {
  LuoFlashi(w, 100, 100);
  Flashit(w);
  EXPECT_TRUE(CellDrawnAt(w, Rect{91, 91, 109, 109}, Rect{279, 0, 297, 18}));
  EXPECT_DOUBLE_EQ(26, w.flashes.life[1]);
}

TEST_F(ParticleTest, CreatorsFillTheirFirstFreeSlot) {
  struct Case {
    std::string name;
    std::function<void(GameWindow&)> make;
    std::function<void(GameWindow&, int)> free;
    std::function<bool(const GameWindow&, int)> taken;
    int first, last, size;  // slots created into, and the pool's size
  } cases[] = {
      {"flash", [](GameWindow& w) { LuoFlashi(w, 50, 60); }, [](GameWindow& w, int i) { w.flashes.life[i] = -2; },
       [](const GameWindow& w, int i) { return w.flashes.life[i] > 0; }, 1, 60, 61},
      {"smoke", [](GameWindow& w) { LuoSavu(w, 50, 60); }, [](GameWindow& w, int i) { w.smoke.life[i] = 0; },
       [](const GameWindow& w, int i) { return w.smoke.life[i] > 0; }, 1, 60, 61},
      {"small explosion", [](GameWindow& w) { LuoBoom(w, 50, 60, 0); },
       [](GameWindow& w, int i) { w.explosions.state[i] = 0; },
       [](const GameWindow& w, int i) { return w.explosions.state[i] != 0; }, 1, 60, 62},
      {"big explosion", [](GameWindow& w) { LuoBoom(w, 50, 60, 1); },
       [](GameWindow& w, int i) { w.explosions.state[i] = 0; },
       [](const GameWindow& w, int i) { return w.explosions.state[i] != 0; }, 1, 60, 62},
      {"spark", [](GameWindow& w) { LuoSpark(w, 50, 60, 1); }, [](GameWindow& w, int i) { w.sparks.life[i] = 0; },
       [](const GameWindow& w, int i) { return w.sparks.life[i] != 0; }, 1, 500, 502},
      {"debris", [](GameWindow& w) { LuoHylsy(w, 50, 60); }, [](GameWindow& w, int i) { w.debris.life[i] = 0; },
       [](const GameWindow& w, int i) { return w.debris.life[i] >= 1; }, 1, 100, 102},
  };
  for (const Case& c : cases) {
    SetUp();
    w.options.debrisOn = true;
    for (int n = c.first; n <= c.last; ++n) {
      c.make(w);
      ASSERT_TRUE(c.taken(w, n)) << c.name << " number " << n << " not in slot " << n;
    }
    // A full pool drops the next one without touching any slot, and slot 0 stays empty.
    const FlashPool flashes = w.flashes;
    const SmokePool smoke = w.smoke;
    const ExplosionPool explosions = w.explosions;
    const SparkPool sparks = w.sparks;
    const DebrisPool debris = w.debris;
    c.make(w);
    for (int i = 0; i < c.size; ++i) EXPECT_EQ(i >= c.first && i <= c.last, c.taken(w, i)) << c.name << " slot " << i;
    EXPECT_EQ(0, std::memcmp(&flashes, &w.flashes, sizeof flashes)) << c.name;
    EXPECT_EQ(0, std::memcmp(&smoke, &w.smoke, sizeof smoke)) << c.name;
    EXPECT_EQ(0, std::memcmp(&explosions, &w.explosions, sizeof explosions)) << c.name;
    EXPECT_EQ(0, std::memcmp(&sparks, &w.sparks, sizeof sparks)) << c.name;
    EXPECT_EQ(0, std::memcmp(&debris, &w.debris, sizeof debris)) << c.name;
    // Freed slots are taken again, lowest first.
    c.free(w, 37);
    c.free(w, 12);
    c.make(w);
    EXPECT_TRUE(c.taken(w, 12)) << c.name;
    EXPECT_FALSE(c.taken(w, 37)) << c.name;
  }
}

TEST_F(ParticleTest, CreatorsSetTheirStartValues) {
  w.options.debrisOn = true;
  // Random numbers in the order the creators draw them.
  w.random.scripted = {0.5, 0.25, 0.75};
  LuoHylsy(w, 10.5, 20.25);
  EXPECT_EQ(475, w.debris.life[1]);
  EXPECT_DOUBLE_EQ(10.5, w.debris.x[1]);
  EXPECT_DOUBLE_EQ(20.25, w.debris.y[1]);
  EXPECT_DOUBLE_EQ(-0.5, w.debris.vx[1]);
  EXPECT_DOUBLE_EQ(0.5, w.debris.vy[1]);

  w.random.scripted = {0.999, 0, 0.999};
  LuoHylsy(w, 0, 0);
  EXPECT_EQ(599, w.debris.life[2]);
  EXPECT_DOUBLE_EQ(-1, w.debris.vx[2]);

  // Angle nearest(r * 360) with halves to even, speed n + 10 r.
  w.random.scripted = {0.5, 0.5, 0.00125, 0.999, 0.99875, 0};
  LuoSpark(w, 30, 40, 3);
  const double angles[] = {180, 0, 360}, speeds[] = {8, 12.99, 3};
  for (int i = 1; i <= 3; ++i) {
    EXPECT_DOUBLE_EQ(25.5, w.sparks.life[i]) << i;
    EXPECT_DOUBLE_EQ(30, w.sparks.x[i]) << i;
    EXPECT_DOUBLE_EQ(40, w.sparks.y[i]) << i;
    EXPECT_DOUBLE_EQ(angles[i - 1], w.sparks.angle[i]) << i;
    EXPECT_NEAR(speeds[i - 1], w.sparks.speed[i], 1e-9) << i;
  }
  EXPECT_EQ(0, w.sparks.life[4]);

  LuoBoom(w, 100.5, 200, 0);
  LuoBoom(w, 100.5, 200, 1);
  EXPECT_DOUBLE_EQ(10, w.explosions.state[1]);
  EXPECT_DOUBLE_EQ(90.5, w.explosions.x[1]);
  EXPECT_DOUBLE_EQ(190, w.explosions.y[1]);
  EXPECT_DOUBLE_EQ(-6, w.explosions.state[2]);
  EXPECT_DOUBLE_EQ(75.5, w.explosions.x[2]);
  EXPECT_DOUBLE_EQ(175, w.explosions.y[2]);
}

TEST_F(ParticleTest, ExplosionSizesOtherThanSmallAndBigMakeNothing) {
  for (int size : {-1, 2, 3, 100}) {
    LuoBoom(w, 300, 300, size);
    for (int i = 0; i <= 61; ++i) EXPECT_EQ(0, w.explosions.state[i]) << "size " << size << " slot " << i;
  }
}

TEST_F(ParticleTest, EffectPicturesAreOredOrCopiedByTheOption) {
  struct Kind {
    std::string name;
    std::function<void(GameWindow&)> make, step;
    Rect dst, cell;
  } kinds[] = {
      {"flash", [](GameWindow& w) { LuoFlashi(w, 100, 100); }, Flashit, {91, 91, 109, 109}, FlashCell(2)},
      {"smoke", [](GameWindow& w) { LuoSavu(w, 100, 100); }, Savutus, {94, 94, 107, 107}, SmokeCell(2)},
      {"small explosion", [](GameWindow& w) { LuoBoom(w, 100, 100, 0); }, Poksista, {80, 80, 101, 101},
       SmallCell(10)},
      {"big explosion", [](GameWindow& w) { LuoBoom(w, 100, 100, 1); }, Poksista, {75, 75, 126, 126}, BigCell(0)},
      {"flame",
       [](GameWindow& w) { w.flames.life[1] = 30, w.flames.x[1] = 100, w.flames.y[1] = 100; },
       Liekit, {90, 90, 111, 111}, FlameCell(2)},
  };
  struct Rop {
    uint32_t value;
    bool ored;
  } rops[] = {{0xEE0086, true}, {0xCC0020, false}};
  for (const Kind& k : kinds) {
    for (const Rop& r : rops) {
      SetUp();
      w.options.effectRop = r.value;
      // A frame of coloured pixels the picture lands on.
      for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 200; ++x) w.back.setPixel(x, y, testing::PositionCode(x, y, 5));
      }
      const Surface frame = w.back;
      k.make(w);
      k.step(w);
      int transparent = 0;
      for (int y = 0; y < k.dst.height(); ++y) {
        for (int x = 0; x < k.dst.width(); ++x) {
          const uint16_t under = frame.pixel(k.dst.left + x, k.dst.top + y);
          const uint16_t picture = w.explosionSheet.pixel(k.cell.left + x, k.cell.top + y);
          const uint16_t want = picture == 0 ? under : r.ored ? static_cast<uint16_t>(under | picture) : picture;
          transparent += picture == 0;
          ASSERT_EQ(want, w.back.pixel(k.dst.left + x, k.dst.top + y))
              << k.name << (r.ored ? " ORed" : " copied") << " at " << k.dst.left + x << "," << k.dst.top + y;
        }
      }
      EXPECT_GT(transparent, 0) << k.name;
    }
  }
}

TEST_F(ParticleTest, PicturesPartlyOffTheScreenAreNotDrawnButLiveOn) {
  LuoFlashi(w, 5, 300);
  LuoBoom(w, 795, 300, 1);
  LuoSavu(w, 400, 596);
  Flashit(w);
  Poksista(w);
  Savutus(w);
  EXPECT_EQ(0, testing::CountLitPixels(w.back, Rect{0, 0, 800, 600}));
  EXPECT_DOUBLE_EQ(26, w.flashes.life[1]);
  EXPECT_DOUBLE_EQ(-5.75, w.explosions.state[1]);
  EXPECT_DOUBLE_EQ(28, w.smoke.life[1]);
}

}  // namespace
}  // namespace quorvex
