// Escape ships: a destroyed ship carrying one is replaced on the spot, in the fleet and in the duel,
// by its escape ship, which flies off damaged; without it in the ship list there is no escape.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "game/combat/Damage.h"
#include "game/combat/ShipLoading.h"
#include "tests/combat/PhysicsTesting.h"

namespace quorvex {
namespace {

using physics_testing::Design;
using physics_testing::Duel;
using physics_testing::TempFolder;
using physics_testing::WriteDesign;

int ListIndex(const GameWindow& w, const std::string& file) {
  for (int i = 0; i <= w.lastShipIndex; ++i) {
    if (w.shipFiles[static_cast<size_t>(i)] == file) return i;
  }
  return -1;
}

// Player 1 flies `file` in fleet slot 2 of [foe, foe, file]; player 2 flies foe.shp, a heavily
// shielded ship. The ships are then put in the middle of a fight.
struct EscapeDuel {
  TempFolder folder;
  Duel d;

  explicit EscapeDuel(const std::string& file) {
    const auto& dir = folder.path();
    WriteDesign(dir, "big.shp", Design("big", 60, 30, 2, "pod.shp"));
    WriteDesign(dir, "pod.shp", Design("pod", 10, 20, -1, ""));
    WriteDesign(dir, "shout.shp", Design("shout", 60, 30, 2, "POD.SHP"));
    WriteDesign(dir, "lost.shp", Design("lost", 60, 30, 2, "nowhere.shp"));
    WriteDesign(dir, "plain.shp", Design("plain", 60, 30, 2, ""));
    WriteDesign(dir, "zero.shp", Design("zero", 0, 0, 0, "zero.shp"));
    WriteDesign(dir, "foe.shp", Design("foe", 100, 500, 1, ""));
    GameWindow& w = *d;
    w.programDir = dir;
    ScanShipFiles(w);
    const int foe = ListIndex(w, "foe.shp");
    w.fleet[0][0] = w.fleet[0][1] = foe;
    w.fleet[0][2] = ListIndex(w, file);
    w.fleetSlot[0] = 2;
    w.fleet[1][0] = foe;
    LoadShip(w, 1);
    LoadShip(w, 2);

    ShipState& s1 = w.ship[0];
    ShipState& s2 = w.ship[1];
    s1.x = 300, s1.y = 200, s1.vx = 3, s1.vy = -2, s1.heading = 5;
    s2.x = 600, s2.y = 400, s2.vx = 1, s2.vy = 1, s2.heading = 7;
    s2.systems[4] = 20;
    physics_testing::PlaceRects(w);
  }
};

TEST(DamageEscape, EscapeShipTakesOverWhereTheShipExploded) {
  struct Case {
    const char* file;
    bool escapes;
  };
  const Case cases[] = {
      {"big.shp", true},
      {"shout.shp", true},   // the escape ship named in other capitals than its file
      {"lost.shp", false},   // its escape ship is not in the ship list
      {"plain.shp", false},  // no escape ship
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    EscapeDuel e(c.file);
    GameWindow& w = *e.d;
    const int destroyedEntry = w.fleet[0][2];
    // The escape: velocity (nearest(0.9 * 12 - 6), nearest(0.1 * 12 - 6)), then a hit of
    // (shield + hull) * 0.5 / 2 = 7.5 on the pod's shield of 20. The wreck's ten cluster fragments
    // draw three numbers each before that.
    for (int i = 0; i < 30; ++i) e.d.script({0.5});
    e.d.script({0.9, 0.1, 0.5});
    DoDamage(w, 1, 9999);

    const ShipState& s1 = w.ship[0];
    const ShipState& s2 = w.ship[1];
    EXPECT_EQ(e.d.played("Boom.wav"), 1);
    // The opponent keeps its place, heading and velocity through the load; the wreck's explosion
    // reached it: half speed sqrt(13) / 2 over 360.6 pixels.
    EXPECT_EQ(s2.x, 600);
    EXPECT_EQ(s2.y, 400);
    EXPECT_EQ(s2.heading, 7);
    EXPECT_EQ(s2.vx, 1);
    EXPECT_EQ(s2.vy, 1);
    const double s = std::sqrt(13.0) / 2, dist = std::hypot(300.0, 200.0);
    EXPECT_NEAR(s2.shield, 500 - 10 / (dist / s), 1e-9);
    EXPECT_EQ(s1.x, 300);
    EXPECT_EQ(s1.y, 200);
    EXPECT_EQ(s1.heading, 5);
    if (c.escapes) {
      EXPECT_TRUE(s1.alive);
      EXPECT_EQ(w.fleet[0][2], ListIndex(w, "pod.shp"));
      EXPECT_EQ(w.fleetSlot[0], 2);
      EXPECT_EQ(s1.radius, 20);
      EXPECT_EQ(s1.hullMax, 10);
      EXPECT_EQ(s1.shieldMax, 20);
      EXPECT_EQ(s1.hull, 10);
      EXPECT_DOUBLE_EQ(s1.shield, 12.5);
      EXPECT_EQ(s1.energy, 100);
      EXPECT_EQ(s1.vx, 5);
      EXPECT_EQ(s1.vy, -5);
      EXPECT_EQ(s2.systems[4], 0);  // the load clears both ships' critical damage
      EXPECT_FALSE(w.shipPicture[0].empty());
      EXPECT_TRUE(w.random.scripted.empty());
    } else {
      EXPECT_FALSE(s1.alive);
      EXPECT_EQ(s1.hull, 0);
      EXPECT_EQ(w.fleet[0][2], destroyedEntry);
      EXPECT_EQ(s1.vx, 3);
      EXPECT_EQ(s2.systems[4], 20);
    }
  }
}

TEST(DamageEscape, EscapeShipArrivesMovingAndDamaged) {
  int moving = 0, damaged = 0;
  for (uint64_t seed = 1; seed <= 12; ++seed) {
    EscapeDuel e("big.shp");
    GameWindow& w = *e.d;
    w.random.Seed(seed);
    e.d.clock.now = static_cast<int32_t>(1000 * seed);
    DoDamage(w, 1, 9999);
    const ShipState& s = w.ship[0];
    ASSERT_TRUE(s.alive);
    EXPECT_EQ(s.vx, std::round(s.vx));
    EXPECT_EQ(s.vy, std::round(s.vy));
    EXPECT_LE(std::abs(s.vx), 6);
    EXPECT_LE(std::abs(s.vy), 6);
    // Up to half of shield plus hull is lost on arrival, from the shield first.
    const double strength = s.shield + s.hull;
    EXPECT_GE(strength, 15);
    EXPECT_LE(strength, 30);
    moving += s.vx != 0 || s.vy != 0;
    damaged += strength < 30;
  }
  EXPECT_GT(moving, 6);
  EXPECT_GT(damaged, 6);
}

TEST(DamageEscape, EscapeShipDestroyedOnArrivalStaysDestroyed) {
  // A ship without hull or shield that escapes into itself: it cannot survive its arrival, and it
  // launches no further escape ship.
  EscapeDuel e("zero.shp");
  GameWindow& w = *e.d;
  DoDamage(w, 1, 1);
  EXPECT_FALSE(w.ship[0].alive);
  EXPECT_EQ(w.fleet[0][2], ListIndex(w, "zero.shp"));
  EXPECT_EQ(e.d.played("Boom.wav"), 2);
  EXPECT_EQ(w.ship[0].x, 300);
}

TEST(DamageEscape, EscapeShipOfAShipDestroyedByTheOpponentsExplosion) {
  // Player 2 explodes next to player 1, whose bare hull cannot take the blast: player 1's escape
  // ship comes out where player 1 was, and player 2's wreck keeps its place.
  EscapeDuel e("big.shp");
  GameWindow& w = *e.d;
  ShipState& s1 = w.ship[0];
  ShipState& s2 = w.ship[1];
  s1.shield = 0;
  s1.hull = 1;
  s2.x = 310;
  s2.y = 200;
  s2.vx = 20;
  s2.vy = 0;
  DoDamage(w, 2, 99999);
  EXPECT_FALSE(s2.alive);
  EXPECT_EQ(s2.x, 310);
  EXPECT_TRUE(s1.alive);
  EXPECT_EQ(s1.hullMax, 10);
  EXPECT_EQ(s1.x, 300);
  EXPECT_EQ(e.d.played("Boom.wav"), 2);
}

}  // namespace
}  // namespace quorvex
