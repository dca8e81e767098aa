// Missile and torpedo pictures, LuoCluster's fragments, their flight and pops in Poksista, and a battle
// frame with all of them drawn from the stock pictures.
#include <gtest/gtest.h>

#include <filesystem>

#include "game/combat/Damage.h"
#include "game/combat/Missiles.h"
#include "game/core/ShipLoading.h"
#include "shipdef/ShipFile.h"
#include "game/render/FrameDrawing.h"
#include "game/render/Graphics.h"
#include "game/render/Particles.h"
#include "tests/combat/PhysicsTesting.h"
#include "tests/render/ParticlesTesting.h"

namespace quorvex {
namespace {

using physics_testing::Duel;

TEST(MissilesDrawing, PictureTwoStepsBehindAndExhaustLineToTheNose) {
  struct Case {
    const char* name;
    double kind, vx;
    Rect cell, dst;
    int noseX, tailX;  // the line runs from the nose (noseX, 200) back to, not onto, (tailX, 200)
    uint16_t color;
  };
  const Case cases[] = {
      {"missile", 0, 9, {375, 2, 396, 23}, {280, 189, 301, 210}, 309, 291, Rgb565(255, 175, 0)},
      {"torpedo", 1, 7, {350, 2, 371, 23}, {282, 189, 303, 210}, 307, 293, Rgb565(175, 0, 255)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Duel d;
    d->back = Surface(800, 600);
    d->explosionSheet = testing::TestExplosionSheet();
    d.ship(2).y = 200;  // straight ahead of the torpedo, so it does not turn
    MissilePool& p = d->missilesPool;
    p.kind[1] = c.kind, p.life[1] = 100, p.x[1] = 300.4, p.y[1] = 200, p.vx[1] = c.vx, p.vy[1] = 0;
    MissileMoves(*d);
    int outside = 0;
    for (int y = 0; y < 600; ++y) {
      for (int x = 0; x < 800; ++x) {
        const uint16_t got = d->back.pixel(x, y);
        const bool inPicture = x >= c.dst.left && x < c.dst.right && y >= c.dst.top && y < c.dst.bottom;
        const bool onLine = y == 200 && x > c.tailX && x <= c.noseX;
        if (onLine) {
          ASSERT_EQ(got, c.color) << x;
        } else if (inPicture) {
          ASSERT_EQ(got, d->explosionSheet.pixel(c.cell.left + x - c.dst.left, c.cell.top + y - c.dst.top)) << x << "," << y;
        } else {
          outside += got != 0;
        }
      }
    }
    EXPECT_EQ(outside, 0);
  }
}

TEST(MissilesDrawing, LuoClusterFillsFreeSlotsUpToTen) {
  struct Case {
    const char* name;
    std::vector<int> busy;
    int count;
    std::vector<int> filled;
  };
  const Case cases[] = {
      {"an exploding ship's ten", {}, 10, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
      {"busy slots skipped, none past 10", {0, 2}, 10, {1, 3, 4, 5, 6, 7, 8, 9, 10}},
      {"a few", {1}, 3, {0, 2, 3}},
      {"none asked, none made", {}, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Duel d;
    for (int i : c.busy) d->fragments.life[i] = 500;
    d.script({0.5, 0, 0.999});  // the first fragment's life, vx and vy
    LuoCluster(*d, 300, 200, c.count, 10, -5);
    std::vector<int> filled;
    for (int i = 0; i <= 100; ++i) {
      if (d->fragments.life[i] > 0 && d->fragments.life[i] != 500) filled.push_back(i);
    }
    EXPECT_EQ(filled, c.filled);
    EXPECT_EQ(d->explosions.state[1], -6);  // the big explosion comes whatever the count
    if (filled.empty()) continue;
    const int i = filled[0];
    EXPECT_EQ(d->fragments.life[i], 83);  // 45 + nearest(37.5)
    EXPECT_EQ(d->fragments.x[i], 300);
    EXPECT_DOUBLE_EQ(d->fragments.vx[i], 1);
    EXPECT_NEAR(d->fragments.vy[i], -0.002, 1e-12);
    for (int k : filled) {
      EXPECT_TRUE(d->fragments.life[k] >= 45 && d->fragments.life[k] <= 120);
    }
  }
}

TEST(MissilesDrawing, FragmentsFlyAtTwiceTheirVelocityAndSometimesPop) {
  struct Case {
    int slot;
    double zoom, r;
    double x, y;
    bool pops;
  };
  const Case cases[] = {{0, 50, 0.049, 106, 96, true}, {60, 25, 0.05, 103, 98, false}, {61, 50, 0, 100, 100, false}};
  for (const Case& c : cases) {
    Duel d;
    d->back = Surface(800, 600);
    d->zoom = c.zoom;
    FragmentPool& f = d->fragments;
    f.life[c.slot] = 10, f.x[c.slot] = 100, f.y[c.slot] = 100, f.vx[c.slot] = 3, f.vy[c.slot] = -2;
    d.script({c.r});
    Poksista(*d);
    EXPECT_EQ(f.x[c.slot], c.x);
    EXPECT_EQ(f.y[c.slot], c.y);
    EXPECT_EQ(f.life[c.slot], c.slot <= 60 ? 9 : 10);  // slots past 60 are never flown
    EXPECT_EQ(d->explosions.state[1] == 9, c.pops);  // the pop has already shown its first picture
    if (c.pops) {
      EXPECT_EQ(d->explosions.x[1], c.x - 10);
    }
  }
}

TEST(MissilesDrawing, DestroyedShipScattersFragmentsWithItsDrift) {
  Duel d;
  d.ship(2).vx = 20, d.ship(2).vy = 0;
  DoDamage(*d, 2, 9999);
  int fragments = 0;
  for (int i = 0; i <= 10; ++i) {
    if (d->fragments.life[i] <= 0) continue;
    ++fragments;
    EXPECT_EQ(d->fragments.x[i], 600);
    EXPECT_TRUE(d->fragments.vx[i] >= 3 && d->fragments.vx[i] < 5);  // 20 / 5 plus up to 1 either way
  }
  EXPECT_EQ(fragments, 10);
}

// A battle frame with the stock pictures: a missile, a torpedo and a fresh cluster burst. The picture
// is kept for a person to look at; the check is that the projectiles' lines made it to the frame.
TEST(MissilesDrawing, StockPicturesInABattleFrame) {
  namespace fs = std::filesystem;
  const fs::path dir = testing::ProgramDir();
  for (const char* needed : {"tausta.bmp", "boom.bmp", "font.bmp", "falcon.shp", "raven.shp"}) {
    if (!fs::exists(dir / needed)) GTEST_SKIP() << "stock file missing: " << dir / needed;
  }
  Duel d;
  GameWindow& w = *d;
  w.programDir = dir;
  w.back = Surface(800, 600);
  const char* ships[] = {"falcon.shp", "raven.shp"};
  for (int p = 0; p < 2; ++p) {
    ShipLoadout loadout;
    ASSERT_EQ(ShipReadStatus::Ok, ReadShipForBattle(dir / ships[p], true, &loadout));
    ApplyShipLoadout(w.ship[p], loadout);
  }
  LoadGraphics(w);
  w.ship[0].x = 200, w.ship[0].y = 300, w.ship[1].x = 600, w.ship[1].y = 300;
  w.ship[0].heading = 8, w.ship[1].heading = 24;
  MissilePool& p = w.missilesPool;
  p.kind[1] = 0, p.life[1] = 180, p.x[1] = 300, p.y[1] = 250, p.vx[1] = 9, p.vy[1] = 0;
  p.kind[2] = 2, p.life[2] = 700, p.x[2] = 450, p.y[2] = 380, p.vx[2] = -5, p.vy[2] = -3;
  LuoCluster(w, 400, 150, 10, 15, 5);
  for (int frame = 0; frame < 6; ++frame) FramenPiirtely(w, 8, 24);
  EXPECT_TRUE(testing::WritePng(w.back, testing::TestOutputDir() / "missiles-frame.png"));
  int orange = 0, purple = 0;
  for (uint16_t px : w.back.pixels()) {
    orange += px == Rgb565(255, 175, 0);
    purple += px == Rgb565(175, 0, 255);
  }
  EXPECT_GE(orange, 10);
  EXPECT_GE(purple, 5);
}

}  // namespace
}  // namespace quorvex
