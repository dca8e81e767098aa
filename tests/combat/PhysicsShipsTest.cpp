// Ships in Fysiikat: gravitation, wreck flames, ramming, the arena edges, power distribution,
// launcher reload and repair.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "game/combat/Physics.h"
#include "tests/combat/PhysicsTesting.h"

namespace quorvex {
namespace {

using physics_testing::Duel;
using physics_testing::PlaceRects;

TEST(PhysicsShips, GravitationPullsEachAxisTowardTheCentre) {
  struct Case {
    double x, y;
    bool alive;
    double vx, vy;
  };
  const Case cases[] = {
      {400, 300, true, 0, 0},         {399, 300, true, 0.05, 0},     {401, 300, true, -0.05, 0},
      {400, 299, true, 0, 0.05},      {400, 301, true, 0, -0.05},    {100, 550, true, 0.05, -0.05},
      {700, 100, false, -0.05, 0.05},  // a wreck falls as well
  };
  for (const Case& c : cases) {
    Duel d;
    d->options.gravityOn = true;
    d.ship(1).x = c.x;
    d.ship(1).y = c.y;
    d.ship(1).alive = c.alive;
    d.ship(2).x = 750;
    d.ship(2).y = 60;
    PlaceRects(*d);
    Fysiikat(*d);
    EXPECT_NEAR(d.ship(1).vx, c.vx, 1e-12) << c.x << ", " << c.y;
    EXPECT_NEAR(d.ship(1).vy, c.vy, 1e-12) << c.x << ", " << c.y;
  }

  Duel off;
  off.ship(1).x = 100;
  Fysiikat(*off);
  EXPECT_EQ(off.ship(1).vx, 0);
}

TEST(PhysicsShips, BadlyHitShipsBurn) {
  struct Case {
    const char* name;
    double hull;
    bool alive, poolFull;
    double roll;
    bool flame;
  };
  const Case cases[] = {
      {"a quarter of the hull", 25, true, false, 0.1, true},
      {"a little more than a quarter", 25.5, true, false, 0.1, false},
      {"roll at the chance", 10, true, false, 0.2, false},
      {"a wreck", 10, false, false, 0.1, false},
      {"no free flame", 10, true, true, 0.1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Duel d;
    d.ship(1).hull = c.hull;
    d.ship(1).alive = c.alive;
    if (c.poolFull) {
      for (int i = 1; i <= 100; ++i) d->flames.life[i] = 5;
    }
    d.script({c.roll, 0.5, 0.25, 0.75, 0.0});
    Fysiikat(*d);
    EXPECT_EQ(d->flames.life[1] == 30, c.flame);
    if (c.flame) {
      EXPECT_DOUBLE_EQ(d->flames.x[1], 200);
      EXPECT_DOUBLE_EQ(d->flames.y[1], 297);
      EXPECT_DOUBLE_EQ(d->flames.vx[1], 1);
      EXPECT_DOUBLE_EQ(d->flames.vy[1], -2);
    }
    EXPECT_EQ(d->flames.life[0], 0);
    EXPECT_EQ(d->flames.life[101], 0);
  }
}

// Player 1 (radius 20, rectangle 10 each side) with its centre inside player 2's rectangle (radius 60,
// 30 each side) and not the other way round: only player 1 rams.
Duel Ramming(double vx, double vy) {
  Duel d;
  d.ship(1).radius = 20;
  d.ship(2).radius = 60;
  d.ship(1).x = 400;
  d.ship(2).x = 420;
  d.ship(1).y = d.ship(2).y = 300;
  d.ship(1).vx = vx;
  d.ship(1).vy = vy;
  d.ship(2).vx = -7;  // discarded by the crash
  d.ship(2).vy = 3;
  PlaceRects(*d);
  return d;
}

TEST(PhysicsShips, RammerBouncesBackAndSlowRammersGetRandomKicks) {
  struct Case {
    const char* name;
    double vx, vy;
    double r1, r2;  // kicks, used only where the rebound has a whole part of 0
    double rammerVx, rammerVy, rammedVx, rammedVy;
  };
  const Case cases[] = {
      {"at rest, kicked right and up", 0, 0, 0.2, 0.8, 1, -1, 0, 0},
      {"at rest, kicked nowhere and down", 0, 0, 0.5, 0.25, 0, 1, 0, 0},
      {"fast: no kicks", 6, -4, -1, -1, -3, 2, 3, -2},
      {"slow forward: rebound below zero keeps", 1.5, 0.8, -1, -1, -0.75, -0.4, 0.75, 0.4},
      {"slow backward: rebound in [0, 1) kicked", -1.5, 0, 0.9, 0.1, -1, 1, -0.75, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Duel d = Ramming(c.vx, c.vy);
    if (c.r1 >= 0) d.script({c.r1, c.r2});
    Fysiikat(*d);
    EXPECT_DOUBLE_EQ(d.ship(1).vx, c.rammerVx);
    EXPECT_DOUBLE_EQ(d.ship(1).vy, c.rammerVy);
    EXPECT_DOUBLE_EQ(d.ship(2).vx, c.rammedVx);
    EXPECT_DOUBLE_EQ(d.ship(2).vy, c.rammedVy);
    // The rammer takes one unscaled step apart; the rammed ship does not move here.
    EXPECT_DOUBLE_EQ(d.ship(1).x, 400 + c.rammerVx);
    EXPECT_DOUBLE_EQ(d.ship(1).y, 300 + c.rammerVy);
    EXPECT_DOUBLE_EQ(d.ship(2).x, 420);
    // Each takes its own speed after the crash as damage.
    EXPECT_DOUBLE_EQ(d.ship(1).shield, 40 - std::hypot(c.rammerVx, c.rammerVy));
    EXPECT_DOUBLE_EQ(d.ship(2).shield, 40 - std::hypot(c.rammedVx, c.rammedVy));
    EXPECT_EQ(d.played("Collision.wav"), 1);
  }
}

TEST(PhysicsShips, ShipsRestingTogetherBothRamEveryFrame) {
  Duel d;
  d.ship(1).x = 400;
  d.ship(2).x = 410;
  d.ship(1).y = d.ship(2).y = 300;
  PlaceRects(*d);
  // Player 1 rams first and is kicked (1, 0); then player 2's centre, still inside player 1's
  // rectangle of this frame, rams back: the half velocity it passes on is (0, 0).
  d.script({0.0, 0.5, 0.9, 0.25});
  Fysiikat(*d);
  EXPECT_EQ(d.played("Collision.wav"), 2);
  EXPECT_DOUBLE_EQ(d.ship(1).vx, 0);  // player 2's rebound passed on: 0 / 2
  EXPECT_DOUBLE_EQ(d.ship(2).vx, -1);
  EXPECT_DOUBLE_EQ(d.ship(2).vy, 1);
  EXPECT_DOUBLE_EQ(d.ship(1).x, 401);
  EXPECT_DOUBLE_EQ(d.ship(2).x, 409);
  EXPECT_LT(d.ship(1).shield, 40);
  EXPECT_LT(d.ship(2).shield, 40);
}

TEST(PhysicsShips, ShipDestroyedByACrashHitsTheOtherWithFourTimesItsSpeed) {
  struct Case {
    const char* name;
    double rammerHull, rammedHull;
    int wreck, survivor;
  };
  // The rammer comes in at 1.6 and rebounds at 0.8; the rammed ship leaves at 0.8. Speeds below 1
  // leave no area damage when a ship explodes.
  const Case cases[] = {
      {"the rammer breaks", 0.5, 100, 1, 2},
      {"the rammed ship breaks", 100, 0.5, 2, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Duel d = Ramming(1.6, 0);
    d.ship(1).shield = d.ship(2).shield = 0;
    d.ship(1).hull = c.rammerHull;
    d.ship(2).hull = c.rammedHull;
    d.script({0.5});  // the rammer's vertical rebound of 0 gets a kick of 0
    Fysiikat(*d);
    EXPECT_FALSE(d.ship(c.wreck).alive);
    EXPECT_EQ(d.ship(c.wreck).hull, 0);
    EXPECT_TRUE(d.ship(c.survivor).alive);
    EXPECT_NEAR(d.ship(c.survivor).hull, 100 - 0.8 - 4 * 0.8, 1e-9);
  }
}

TEST(PhysicsShips, NoRammingWithAWreck) {
  Duel d = Ramming(5, 0);
  d.ship(2).alive = false;
  Fysiikat(*d);
  EXPECT_EQ(d.played("Collision.wav"), 0);
  EXPECT_DOUBLE_EQ(d.ship(1).vx, 5);
}

TEST(PhysicsShips, ArenaEdgesStopShipsDead) {
  struct Case {
    double radius, zoom, x, y, vx, vy;
    bool alive;
    double wantX, wantY, wantVx, wantVy;
  };
  const Case cases[] = {
      {30, 50, 5, 300, -3, 1, true, 35, 300, 0, 1},
      {30, 50, 795, 300, 3, 1, true, 765, 300, 0, 1},
      {30, 50, 400, 2, 1, -3, true, 400, 35, 1, 0},
      {30, 50, 400, 599, 1, 3, true, 400, 565, 1, 0},
      {30, 50, 5, 5, -1, -1, true, 35, 35, 0, 0},
      {40, 25, 5, 300, -3, 0, true, 30, 300, 0, 0},
      {60, 50, 400, 300, -3, 2, true, 400, 300, -3, 2},
      {30, 50, 35, 565, -3, 3, true, 35, 565, -3, 3},  // on the edge itself: still moving
      {30, 50, 795, 590, 2, 2, false, 765, 565, 0, 0},  // a wreck is kept inside as well
  };
  for (const Case& c : cases) {
    Duel d;
    d->zoom = c.zoom;
    ShipState& s = d.ship(1);
    s.radius = c.radius;
    s.x = c.x;
    s.y = c.y;
    s.vx = c.vx;
    s.vy = c.vy;
    s.alive = c.alive;
    d.ship(2).x = c.x < 400 ? 700 : 100;
    PlaceRects(*d);
    Fysiikat(*d);
    EXPECT_DOUBLE_EQ(s.x, c.wantX) << c.x << ", " << c.y;
    EXPECT_DOUBLE_EQ(s.y, c.wantY) << c.x << ", " << c.y;
    EXPECT_DOUBLE_EQ(s.vx, c.wantVx) << c.x << ", " << c.y;
    EXPECT_DOUBLE_EQ(s.vy, c.wantVy) << c.x << ", " << c.y;
  }
}

TEST(PhysicsShips, PowerFlowsByModeAndIsCappedOneFrameLate) {
  struct Case {
    const char* name;
    int mode;
    double energy, shield;
    int damagedSystem;  // -1 none
    bool opponentAlive;
    double energy1, shield1, energy2, shield2;  // after one and after two frames
  };
  // Generator output 4 per frame, shield maximum 40.
  const Case cases[] = {
      {"balanced", 0, 50, 20, -1, true, 52, 21, 54, 22},
      {"weapons", 1, 50, 20, -1, true, 54, 20, 58, 20},
      {"shields", 2, 50, 20, -1, true, 50, 22, 50, 24},
      {"weapons near full", 1, 99, 20, -1, true, 103, 20, 100, 20},
      {"shields near full", 2, 50, 39, -1, true, 50, 41, 50, 40},
      {"balanced, both full", 0, 100, 40, -1, true, 100, 40, 100, 40},
      {"balanced, energy above full", 0, 101, 41, -1, true, 100, 40, 100, 40},
      {"power generator damaged", 0, 50, 20, 2, true, 50, 20, 50, 20},
      {"electrics damaged", 1, 50, 20, 3, true, 50, 20, 50, 20},
      {"opponent destroyed", 0, 50, 20, -1, false, 50, 20, 50, 20},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Duel d;
    ShipState& s = d.ship(1);
    s.energyRate = 4;
    s.powerRedir = c.mode;
    s.energy = c.energy;
    s.shield = c.shield;
    if (c.damagedSystem >= 0) s.systems[static_cast<size_t>(c.damagedSystem)] = 50;
    d.ship(2).alive = c.opponentAlive;
    Fysiikat(*d);
    EXPECT_DOUBLE_EQ(s.energy, c.energy1);
    EXPECT_DOUBLE_EQ(s.shield, c.shield1);
    Fysiikat(*d);
    EXPECT_DOUBLE_EQ(s.energy, c.energy2);
    EXPECT_DOUBLE_EQ(s.shield, c.shield2);
  }
}

TEST(PhysicsShips, LauncherCountsUpToAHundredWhileBothFly) {
  struct Case {
    double cooldown;
    bool opponentAlive;
    double want;
  };
  const Case cases[] = {{0, true, 1}, {99, true, 100}, {100, true, 100}, {150, true, 150}, {10, false, 10}};
  for (const Case& c : cases) {
    Duel d;
    d.ship(1).missileCooldown = c.cooldown;
    d.ship(2).missileCooldown = c.cooldown;
    d.ship(2).alive = c.opponentAlive;
    Fysiikat(*d);
    EXPECT_DOUBLE_EQ(d.ship(1).missileCooldown, c.want) << c.cooldown;
  }
}

TEST(PhysicsShips, RepairMendsSystemsAndSelfRepairingHulls) {
  using Levels = std::array<double, 11>;
  struct Case {
    const char* name;
    Levels before1, before2;
    bool selfRepair;
    double hull;
    bool opponentAlive;
    Levels after1;
    double hullAfter;
  };
  const Case cases[] = {
      {"one damaged system", {0, 0, 0, 0, 10}, {}, false, 50, true, {0, 0, 0, 0, 9.975}, 50},
      {"three on each ship", {0, 10, 0, 0, 10, 0, 0, 10}, {0, 0, 10, 0, 0, 10, 0, 0, 10}, false, 50, true,
       {0, 8.975, 0, 0, 8.975, 0, 0, 8.975}, 50},
      {"three on one ship only", {0, 10, 0, 0, 10, 0, 0, 10}, {0, 0, 10, 0, 0, 10}, false, 50, true,
       {0, 9.975, 0, 0, 9.975, 0, 0, 9.975}, 50},
      {"the engine is neither mended nor counted", {10, 0, 0, 0, 10, 0, 0, 10}, {0, 0, 10, 0, 0, 10, 0, 0, 10},
       false, 50, true, {10, 0, 0, 0, 9.975, 0, 0, 9.975}, 50},
      {"repair system damaged", {0, 0, 0, 0, 10, 0, 10}, {}, true, 50, true, {0, 0, 0, 0, 10, 0, 10}, 50},
      {"levels below zero are cleared", {-0.5, -0.3, 0, 0, 0.01}, {}, false, 50, true,
       {-0.5, 0, 0, 0, 0.01 - 0.025}, 50},
      {"self repair mends the hull", {}, {}, true, 50, true, {}, 50.05},
      {"self repair may pass the maximum", {}, {}, true, 99.98, true, {}, 100.03},
      {"no self repair", {}, {}, false, 50, true, {}, 50},
      {"no repair while the opponent is a wreck", {0, 0, 0, 0, 10}, {}, true, 50, false, {0, 0, 0, 0, 10}, 50},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Duel d;
    d.ship(1).systems = c.before1;
    d.ship(2).systems = c.before2;
    d.ship(1).selfRepair = c.selfRepair;
    d.ship(1).hull = c.hull;
    d.ship(2).alive = c.opponentAlive;
    Fysiikat(*d);
    for (size_t i = 0; i < 11; ++i) EXPECT_NEAR(d.ship(1).systems[i], c.after1[i], 1e-12) << "system " << i;
    EXPECT_NEAR(d.ship(1).hull, c.hullAfter, 1e-12);
  }
}

}  // namespace
}  // namespace quorvex
