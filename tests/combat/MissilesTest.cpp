// Missiles and torpedoes (flight, homing, arming, hits, bursts, pictures) and the cluster fragments.
#include <gtest/gtest.h>

#include "game/combat/Missiles.h"
#include "game/combat/ShipLoading.h"
#include "game/render/FrameDrawing.h"
#include "game/render/Graphics.h"
#include "game/render/Particles.h"
#include "shipdef/ShipFile.h"
#include "tests/combat/PhysicsTesting.h"
#include "tests/render/ParticlesTesting.h"

namespace quorvex {
namespace {

using physics_testing::Duel;

void Put(GameWindow& w, int i, double kind, double life, double x, double y, double vx, double vy) {
  MissilePool& p = w.missilesPool;
  p.kind[i] = kind, p.life[i] = life, p.x[i] = x, p.y[i] = y, p.vx[i] = vx, p.vy[i] = vy;
}

template <typename Array>
int Live(const Array& life) {
  int n = 0;
  for (auto l : life) n += l > 0;
  return n;
}

TEST(Missiles, FlightSteeringAndGravity) {
  struct Case { double kind, vx, vy, zoom; bool gravity; double x, y, wantVx, wantVy; };
  const Case cases[] = {  // one update from (400, 100); ships at (200, 300) and (600, 300)
      {0, 9, -2, 25, false, 409, 98, 9, -2},           // a missile flies straight, unscaled
      {0, 9, 0, 50, true, 409, 100.05, 9, 0.05},       // and curves toward the centre
      {1, 4, 0, 25, false, 402, 100, 4.3, 0.3},        // player 1's torpedo: scaled, chases player 2
      {2, 0, 0, 50, false, 400, 100, -0.3, 0.3},       // player 2's chases player 1
      {1, 7.2, -7, 50, false, 407.2, 93, 7.2, -6.7}};  // no faster than top speed
  for (const Case& c : cases) {
    Duel d;
    d->zoom = c.zoom, d->options.gravityOn = c.gravity;
    Put(*d, 1, c.kind, 100, 400, 100, c.vx, c.vy);
    MissileMoves(*d);
    const MissilePool& p = d->missilesPool;
    EXPECT_NEAR(p.x[1], c.x, 1e-9);
    EXPECT_NEAR(p.y[1], c.y, 1e-9);
    EXPECT_NEAR(p.vx[1], c.wantVx, 1e-9);
    EXPECT_NEAR(p.vy[1], c.wantVy, 1e-9);
  }
}

TEST(Missiles, HitsOnceArmedEvenOnTheLauncher) {
  struct Case { double kind, vx; int victim; double shield; int update, sparks, debris; double shieldAfter, hull; };
  const Case cases[] = {  // launched (life 200) from the victim's centre
      {0, 0.5, 2, 40, 7, 45, 0, 23, 100},  // a missile on shields, from its seventh update
      {0, -0.5, 1, 10, 7, 45, 3, 0, 83},   // on its own launcher, through a weak shield: debris
      {1, 0, 2, 0, 34, 32, 3, 0, 90}};     // a torpedo from its 34th update
  for (const Case& c : cases) {
    Duel d;
    d->options.sparksOn = d->options.debrisOn = true;
    ShipState& v = d.ship(c.victim);
    v.shield = c.shield;
    Put(*d, 1, c.kind, 200, v.x, v.y, c.vx, 0);
    int update = 0;
    while (d->missilesPool.life[1] > 0 && update < 100) ++update, MissileMoves(*d);
    EXPECT_EQ(update, c.update);
    EXPECT_DOUBLE_EQ(v.shield, c.shieldAfter);
    EXPECT_DOUBLE_EQ(v.hull, c.hull);
    EXPECT_EQ(Live(d->sparks.life), c.sparks);
    EXPECT_EQ(Live(d->debris.life), c.debris);
    EXPECT_EQ(v.vx, c.vx);  // shoved by the projectile's velocity
    EXPECT_EQ(d->hitsScored[2 - c.victim], 1);
    EXPECT_EQ(d->explosions.state[1], -6);
    EXPECT_EQ(d->explosions.state[2], 0);  // one burst only
    EXPECT_EQ(d.played("Boom2.wav"), 1);
  }
}

TEST(Missiles, WrecksAreNotHitAndFlightEndsInOneBurst) {
  for (const auto& [kind, updates] : {std::pair{0.0, 199}, std::pair{1.0, 796}}) {
    Duel d;
    d.ship(2).alive = false;
    d.ship(1).x = 600, d.ship(1).alive = false;  // the torpedo chases a wreck lying on the other
    physics_testing::PlaceRects(*d);
    Put(*d, 1, kind, 200, 600, 300, 0, 0);
    int update = 0;
    while (d->missilesPool.life[1] > 0 && update < 1000) ++update, MissileMoves(*d);
    EXPECT_EQ(update, updates);
    EXPECT_EQ(d->explosions.state[1], -6);
    EXPECT_EQ(d->explosions.state[2], 0);
    EXPECT_EQ(d->explosions.x[1], 600 - 25);
    EXPECT_EQ(d->hitsScored[0] + d->hitsScored[1], 0);
  }
}

TEST(Missiles, PictureTwoStepsBehindAndExhaustLineToTheNose) {
  struct Case { double kind, vx; Rect cell, dst; int nose, tail; uint16_t color; };
  const Case cases[] = {  // from (300.4, 200); the line stops short of (tail, 200)
      {0, 9, {375, 2, 396, 23}, {280, 189, 301, 210}, 309, 291, Rgb565(255, 175, 0)},
      {1, 7, {350, 2, 371, 23}, {282, 189, 303, 210}, 307, 293, Rgb565(175, 0, 255)}};
  for (const Case& c : cases) {
    Duel d;
    d->back = Surface(800, 600);
    d->explosionSheet = testing::TestExplosionSheet();
    d.ship(2).y = 200;  // dead ahead of the torpedo, which therefore does not turn
    Put(*d, 1, c.kind, 100, 300.4, 200, c.vx, 0);
    MissileMoves(*d);
    for (int y = 0; y < 600; ++y) {
      for (int x = 0; x < 800; ++x) {
        uint16_t want = 0;
        if (x >= c.dst.left && x < c.dst.right && y >= c.dst.top && y < c.dst.bottom)
          want = d->explosionSheet.pixel(c.cell.left + x - c.dst.left, c.cell.top + y - c.dst.top);
        if (y == 200 && x > c.tail && x <= c.nose) want = c.color;
        ASSERT_EQ(d->back.pixel(x, y), want) << x << ", " << y;
      }
    }
  }
}

TEST(Missiles, LuoClusterFillsFreeSlotsUpToTen) {
  struct Case { std::vector<int> busy; int count; std::vector<int> filled; };
  const Case cases[] = {{{}, 10, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
                        {{0, 2}, 10, {1, 3, 4, 5, 6, 7, 8, 9, 10}},
                        {{1}, 3, {0, 2, 3}},
                        {{}, 0, {}}};
  for (const Case& c : cases) {
    Duel d;
    for (int i : c.busy) d->fragments.life[i] = 500;
    d.script({0.5, 0, 0.999});  // the first fragment's life, vx and vy
    LuoCluster(*d, 300, 200, c.count, 10, -5);
    std::vector<int> filled;
    for (int i = 0; i <= 100; ++i) {
      if (d->fragments.life[i] > 0 && d->fragments.life[i] != 500) filled.push_back(i);
    }
    EXPECT_EQ(filled, c.filled);
    EXPECT_EQ(d->explosions.state[1], -6);
    if (filled.empty()) continue;
    const FragmentPool& f = d->fragments;
    EXPECT_EQ(f.life[filled[0]], 83);  // 45 + nearest(37.5)
    EXPECT_EQ(f.x[filled[0]], 300);
    EXPECT_DOUBLE_EQ(f.vx[filled[0]], 1);
    EXPECT_NEAR(f.vy[filled[0]], -0.002, 1e-12);
  }
}

TEST(Missiles, FragmentsFlyAtTwiceTheirVelocityAndSometimesPop) {
  struct Case { int slot; double zoom, r, x, y; bool pops; };
  const Case cases[] = {{0, 50, 0.049, 106, 96, true}, {60, 25, 0.05, 103, 98, false}, {61, 50, 0, 100, 100, false}};
  for (const Case& c : cases) {
    Duel d;
    d->back = Surface(800, 600);
    d->zoom = c.zoom;
    FragmentPool& f = d->fragments;
    f.life[c.slot] = 10, f.x[c.slot] = f.y[c.slot] = 100, f.vx[c.slot] = 3, f.vy[c.slot] = -2;
    d.script({c.r});
    Poksista(*d);
    EXPECT_EQ(f.x[c.slot], c.x);
    EXPECT_EQ(f.y[c.slot], c.y);
    EXPECT_EQ(d->explosions.state[1] == 9 && d->explosions.x[1] == c.x - 10, c.pops);  // shown once already
  }
}

// The stock pictures with a missile, a torpedo and a cluster burst, kept for a person to look at.
TEST(Missiles, StockPicturesInABattleFrame) {
  const std::filesystem::path dir = testing::ProgramDir();
  for (const char* needed : {"tausta.bmp", "boom.bmp", "font.bmp", "falcon.shp", "raven.shp"}) {
    if (!std::filesystem::exists(dir / needed)) GTEST_SKIP() << "stock file missing: " << dir / needed;
  }
  Duel d;
  d->programDir = dir;
  d->back = Surface(800, 600);
  for (int p = 0; p < 2; ++p) {
    ShipLoadout loadout;
    ASSERT_EQ(ShipReadStatus::Ok, ReadShipForBattle(dir / (p ? "raven.shp" : "falcon.shp"), true, &loadout));
    ApplyShipLoadout(d->ship[p], loadout);
  }
  LoadGraphics(*d);
  d.ship(1).x = 200, d.ship(2).x = 600, d.ship(1).y = d.ship(2).y = 300;
  Put(*d, 1, 0, 180, 300, 250, 9, 0);
  Put(*d, 2, 2, 700, 450, 380, -5, -3);
  LuoCluster(*d, 400, 150, 10, 15, 5);
  for (int frame = 0; frame < 6; ++frame) FramenPiirtely(*d, 8, 24);
  EXPECT_TRUE(testing::WritePng(d->back, testing::TestOutputDir() / "missiles-frame.png"));
  int orange = 0, purple = 0;
  for (uint16_t px : d->back.pixels()) orange += px == Rgb565(255, 175, 0), purple += px == Rgb565(175, 0, 255);
  EXPECT_GE(orange, 10);
  EXPECT_GE(purple, 5);
}

}  // namespace
}  // namespace quorvex
