// DoDamage on shield and hull, destruction with its explosion and area damage, DoCritical's choice
// of system, and the damaged-systems lists drawn by Crits.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "game/combat/Damage.h"
#include "game/render/Font.h"
#include "tests/combat/PhysicsTesting.h"
#include "tests/render/RenderFixture.h"
#include "tests/support/SurfaceTesting.h"

namespace quorvex {
namespace {

using physics_testing::Duel;

double SystemsTotal(const ShipState& s) {
  double total = 0;
  for (double level : s.systems) total += level;
  return total;
}

// A ship with every system fitted, so every critical hit that is rolled lands.
void FitEverything(ShipState& s) {
  s.hasTargeting = s.hasChaingun = s.selfRepair = s.hasMissiles = s.hasTorpedoes = true;
}

TEST(DamageHits, ShieldFirstThenTheWholeHitOnTheHull) {
  struct Case {
    const char* name;
    double shield, hull, amount;
    bool alive;
    double wantShield, wantHull;
    bool wantAlive, critical;
  };
  const Case cases[] = {
      {"the shield holds", 40, 100, 5, true, 35, 100, true, false},
      {"a hit equal to the shield", 5, 100, 5, true, 0, 95, true, true},
      {"a hit a little above the shield", 3, 100, 5, true, 0, 95, true, true},
      {"no shield", 0, 100, 5, true, 0, 95, true, true},
      {"a hit just below the hull", 0, 5.5, 5, true, 0, 0.5, true, true},
      {"a hit equal to the hull", 0, 5, 5, true, 0, 0, false, false},
      {"self destruct", 40, 100, 9999, true, 0, 0, false, false},
      {"a wreck takes nothing", 40, 100, 5, false, 40, 100, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Duel d;
    d->options.criticalsOn.fill(true);
    ShipState& s = d.ship(2);
    FitEverything(s);
    s.shield = c.shield;
    s.hull = c.hull;
    s.alive = c.alive;
    DoDamage(*d, 2, c.amount);
    EXPECT_DOUBLE_EQ(s.shield, c.wantShield);
    EXPECT_DOUBLE_EQ(s.hull, c.wantHull);
    EXPECT_EQ(s.alive, c.wantAlive);
    EXPECT_EQ(SystemsTotal(s) > 0, c.critical);
    EXPECT_EQ(d.played("Boom.wav"), c.alive && !c.wantAlive ? 1 : 0);
    // The other ship is never touched by a hit on a ship at rest.
    EXPECT_DOUBLE_EQ(d.ship(1).shield, 40);
    EXPECT_DOUBLE_EQ(d.ship(1).hull, 100);
  }
}

TEST(DamageHits, ExplosionThrowsDebrisBySizeAndNinetySparks) {
  struct Case {
    double radius;
    int pieces;
  };
  const Case cases[] = {{20, 7}, {30, 8}, {45, 9}, {60, 11}};
  for (const Case& c : cases) {
    Duel d;
    d->options.debrisOn = true;
    d->options.sparksOn = true;
    ShipState& s = d.ship(1);
    s.radius = c.radius;
    DoDamage(*d, 1, 9999);
    int debris = 0, sparks = 0, big = 0;
    for (int16_t life : d->debris.life) debris += life >= 1;
    for (double life : d->sparks.life) sparks += life != 0;
    for (double state : d->explosions.state) big += state == -6;
    EXPECT_EQ(debris, c.pieces) << "radius " << c.radius;
    EXPECT_EQ(sparks, 90);
    EXPECT_EQ(big, 2);  // the wreck's own and the burst of its cluster fragments
    EXPECT_EQ(d->explosions.x[1], 200 - 25);  // centred on the ship
    EXPECT_EQ(d->explosions.y[1], 300 - 25);
    EXPECT_EQ(d->debris.x[1], 200);
  }
}

TEST(DamageHits, ExplosionOfAMovingShipHurtsTheOpponentByDistance) {
  struct Case {
    const char* name;
    double vx, opponentX;
    double loss;
  };
  // The wreck at x 200; the opponent on the same line.
  const Case cases[] = {
      {"standing still", 0, 300, 0},
      {"half speed rounds to 0", 0.9, 300, 0},
      {"half speed rounds to 1", 1.2, 300, 10 / (100 / 0.6)},
      {"fast, 100 away", 8, 300, 10 / (100.0 / 4)},
      {"fast, 6 away", 8, 206, 10 / 1.5},
      {"fast, 2 away: distance over speed rounds to 0", 8, 202, 0},
      {"fast, same place", 8, 200, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Duel d;
    d.ship(1).vx = c.vx;
    d.ship(2).x = c.opponentX;
    DoDamage(*d, 1, 9999);
    EXPECT_FALSE(d.ship(1).alive);
    EXPECT_NEAR(d.ship(2).shield, 40 - c.loss, 1e-9);
  }
}

TEST(DamageHits, TwoShipsDestroyedByEachOthersExplosionsExplodeOnceEach) {
  Duel d;
  for (int p = 1; p <= 2; ++p) {
    d.ship(p).shield = 0;
    d.ship(p).hull = 5;
    d.ship(p).vx = 20;
  }
  d.ship(2).x = d.ship(1).x + 10;
  // Each explosion deals 10 / (10 / 10) = 10 to the other ship, more than its hull.
  DoDamage(*d, 1, 9999);
  EXPECT_FALSE(d.ship(1).alive);
  EXPECT_FALSE(d.ship(2).alive);
  EXPECT_EQ(d.ship(1).hull, 0);
  EXPECT_EQ(d.ship(2).hull, 0);
  EXPECT_EQ(d.played("Boom.wav"), 2);
  int big = 0;
  for (double state : d->explosions.state) big += state == -6;
  EXPECT_EQ(big, 4);  // each wreck's own and its cluster burst
}

TEST(DamageCriticals, OnlyFittedSystemsAreDamaged) {
  struct Case {
    const char* name;
    int k;
    void (*strip)(ShipState&);
    bool damaged;
  };
  const auto none = [](ShipState&) {};
  const Case cases[] = {
      {"engine", 0, none, true},
      {"shield", 1, none, true},
      {"shield on a ship without one", 1, [](ShipState& s) { s.shieldMax = 0; }, false},
      {"power generator", 2, none, true},
      {"electrics", 3, none, true},
      {"turning", 4, none, true},
      {"launcher with missiles only", 5, [](ShipState& s) { s.hasTorpedoes = false; }, true},
      {"launcher with torpedoes only", 5, [](ShipState& s) { s.hasMissiles = false; }, true},
      {"launcher without either", 5, [](ShipState& s) { s.hasMissiles = s.hasTorpedoes = false; }, false},
      {"repair", 6, none, true},
      {"repair without self repair", 6, [](ShipState& s) { s.selfRepair = false; }, false},
      {"chaingun", 7, none, true},
      {"chaingun without one", 7, [](ShipState& s) { s.hasChaingun = false; }, false},
      {"targeting", 8, none, true},
      {"targeting without one", 8, [](ShipState& s) { s.hasTargeting = false; }, false},
  };
  const char* const names[] = {" ENGINE ", " SHIELD ", "POWERGEN", "ELECTRCS", "TURNING ",
                               "LAUNCHER", " REPAIR ", "CHAINGUN", "T-SYSTEM"};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Duel d;
    d->options.criticalsOn.fill(true);
    ShipState& s = d.ship(1);
    FitEverything(s);
    c.strip(s);
    // The draw lands on k; the level is 45 + nearest(0.5 * 10).
    d.script({c.k / 8.0, 0.5});
    DoCritical(*d, 1);
    for (int i = 0; i <= 10; ++i) {
      EXPECT_EQ(s.systems[static_cast<size_t>(i)], i == c.k && c.damaged ? 50 : 0) << "system " << i;
    }
    EXPECT_EQ(s.critNames[static_cast<size_t>(c.k)], names[c.k]);
    EXPECT_EQ(d.played("R2HIT.wav"), c.k == 6 && c.damaged ? 1 : 0);
    EXPECT_TRUE(d->random.scripted.empty());
  }
}

TEST(DamageCriticals, OnlySwitchedOnSystemsAreChosenWithinElevenDraws) {
  struct Case {
    int misses;  // draws landing on switched-off systems before one lands on ELECTRCS
    bool damaged;
  };
  const Case cases[] = {{0, true}, {5, true}, {10, true}, {11, false}};
  for (const Case& c : cases) {
    Duel d;
    d->options.criticalsOn[3] = true;
    ShipState& s = d.ship(2);
    for (int i = 0; i < c.misses; ++i) d.script({i % 2 ? 0.0 : 0.99});  // engine, targeting: both off
    d.script({3 / 8.0, 0.0, 0.123});
    DoCritical(*d, 2);
    EXPECT_EQ(s.systems[3], c.damaged ? 45 : 0) << c.misses << " misses";
    // Eleven draws at most: a dropped hit leaves the rest of the queue alone.
    EXPECT_EQ(d->random.scripted.size(), c.damaged ? 1u : 3u) << c.misses << " misses";
    EXPECT_EQ(SystemsTotal(s), s.systems[3]);
  }
}

TEST(DamageCriticals, WithOnlyTheChaingunSwitchedOnEveryHitLandsThere) {
  for (bool fitted : {true, false}) {
    Duel d;
    d->options.criticalsOn[7] = true;
    ShipState& s = d.ship(1);
    FitEverything(s);
    s.hasChaingun = fitted;
    double previous = 0;
    int landed = 0;
    for (int hit = 0; hit < 60; ++hit) {
      d.clock.now += 3;
      DoCritical(*d, 1);
      const double rise = s.systems[7] - previous;
      if (rise > 0) {
        ++landed;
        EXPECT_GE(rise, 45);
        EXPECT_LE(rise, 55);
      }
      previous = s.systems[7];
      EXPECT_EQ(SystemsTotal(s), s.systems[7]);
    }
    if (fitted) {
      EXPECT_GT(landed, 20);  // each of eleven draws finds the chaingun with probability 1/8
    } else {
      EXPECT_EQ(landed, 0);
    }
  }
}

// Critical hits in the same millisecond do not restart the random sequence, and the same seed and
// clock give the same hits again.
TEST(DamageCriticals, HitsInTheSameMillisecondChooseDifferentSystems) {
  auto systemsHit = [](uint64_t seed) {
    Duel d;
    d->random.Seed(seed);
    d->options.criticalsOn.fill(true);
    d.clock.now = 5000;
    std::vector<int> chosen;
    for (int hit = 0; hit < 24; ++hit) {
      ShipState& s = d.ship(1);
      FitEverything(s);
      s.systems.fill(0);
      DoCritical(*d, 1);
      for (int i = 0; i <= 8; ++i) {
        if (s.systems[static_cast<size_t>(i)] > 0) chosen.push_back(i);
      }
    }
    return chosen;
  };
  const std::vector<int> first = systemsHit(77);
  ASSERT_EQ(first.size(), 24u);
  EXPECT_GT(std::set<int>(first.begin(), first.end()).size(), 3u);
  EXPECT_EQ(systemsHit(77), first);
  EXPECT_NE(systemsHit(78), first);
}

TEST(DamageCrits, ListsTheDamagedSystemsOfEachPlayerOnItsSide) {
  Duel d;
  GameWindow& w = *d;
  w.back = Surface(800, 600);
  w.fontSheet = testing::TestFontSheet();
  d.ship(1).systems[4] = 12;
  d.ship(1).critNames[4] = "TURNING ";
  d.ship(1).systems[7] = 0.05;
  d.ship(1).critNames[7] = "CHAINGUN";
  d.ship(1).critNames[2] = "POWERGEN";  // named once, since repaired: not listed
  d.ship(2).systems[0] = 30;
  d.ship(2).critNames[0] = " ENGINE ";
  Crits(w);

  GameWindow expected;
  expected.back = Surface(800, 600);
  expected.fontSheet = w.fontSheet;
  FontText(expected, 691, 45, "turning ", true, false);
  FontText(expected, 691, 59, "chaingun", true, false);
  FontText(expected, 5, 45, " engine ", true, false);
  EXPECT_TRUE(testing::SurfacesEqual(expected.back, w.back, "crits-lists"));
  EXPECT_GT(testing::CountLitPixels(w.back, Rect{691, 59, 795, 72}), 0);
}

TEST(DamageCrits, DamagedShieldAndElectricsHoldTheirValuesAtZero) {
  struct Case {
    double shieldLevel, electricsLevel;
    double shield, energy;
  };
  const Case cases[] = {{0, 0, 40, 50}, {10, 0, 0, 50}, {0, 10, 40, 0}, {10, 10, 0, 0}, {-0.05, 0, 0, 50}};
  for (const Case& c : cases) {
    Duel d;
    d->back = Surface(800, 600);
    d.ship(2).systems[1] = c.shieldLevel;
    d.ship(2).systems[3] = c.electricsLevel;
    Crits(*d);
    EXPECT_DOUBLE_EQ(d.ship(2).shield, c.shield);
    EXPECT_DOUBLE_EQ(d.ship(2).energy, c.energy);
    EXPECT_DOUBLE_EQ(d.ship(1).shield, 40);
    EXPECT_DOUBLE_EQ(d.ship(1).energy, 50);
  }
}

}  // namespace
}  // namespace quorvex
