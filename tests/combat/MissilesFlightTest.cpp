// Missiles and torpedoes in MissileMoves: straight flight, homing by owner, arming, hits and bursts.
#include <gtest/gtest.h>

#include "game/combat/Missiles.h"
#include "tests/combat/PhysicsTesting.h"

namespace quorvex {
namespace {

using physics_testing::Duel;

void PutProjectile(GameWindow& w, double kind, double life, double x, double y, double vx, double vy) {
  MissilePool& p = w.missilesPool;
  p.kind[1] = kind, p.life[1] = life, p.x[1] = x, p.y[1] = y, p.vx[1] = vx, p.vy[1] = vy;
}

int Count(const ExplosionPool& e, bool big) {
  int n = 0;
  for (double s : e.state) n += big ? s < 0 : s > 0;
  return n;
}

TEST(Missiles, FlightSteeringAndGravity) {
  // Ships at (200, 300) and (600, 300); one update from (400, 100).
  struct Case {
    const char* name;
    double kind, vx, vy, zoom;
    bool gravity;
    double x, y, wantVx, wantVy, life;
  };
  const Case cases[] = {
      {"missile flies straight, unscaled", 0, 9, -2, 25, false, 409, 98, 9, -2, 99},
      {"missile curves toward the centre", 0, 9, 0, 50, true, 409, 100.05, 9, 0.05, 99},
      {"player 1's torpedo, scaled, chases player 2", 1, 4, 0, 25, false, 402, 100, 4.3, 0.3, 99.75},
      {"player 2's torpedo chases player 1", 2, 0, 0, 50, false, 400, 100, -0.3, 0.3, 99.75},
      {"a torpedo at top speed turns no faster", 1, 7.2, -7, 50, false, 407.2, 93, 7.2, -6.7, 99.75},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Duel d;
    d->zoom = c.zoom;
    d->options.gravityOn = c.gravity;
    PutProjectile(*d, c.kind, 100, 400, 100, c.vx, c.vy);
    MissileMoves(*d);
    const MissilePool& p = d->missilesPool;
    EXPECT_NEAR(p.x[1], c.x, 1e-9);
    EXPECT_NEAR(p.y[1], c.y, 1e-9);
    EXPECT_NEAR(p.vx[1], c.wantVx, 1e-9);
    EXPECT_NEAR(p.vy[1], c.wantVy, 1e-9);
    EXPECT_EQ(p.life[1], c.life);
  }
}

TEST(Missiles, ArmingDelayProtectsTheLauncherOnlyForAWhile) {
  struct Case {
    const char* name;
    double kind;
    int player, hitUpdate, sparks;
    double damage;
  };
  // On its own launcher the torpedo's target lies wrecked on the same spot, so it does not steer away.
  const Case cases[] = {
      {"missile on player 2", 0, 2, 7, 45, kMissileDamage},
      {"missile on its own launcher", 0, 1, 7, 45, kMissileDamage},
      {"torpedo on player 2", 1, 2, 34, 32, kTorpedoDamage},
      {"torpedo on its own launcher", 1, 1, 34, 32, kTorpedoDamage},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Duel d;
    d->options.sparksOn = true;
    const ShipState& victim = d.ship(c.player);
    if (c.player == 1) {
      d.ship(2).x = victim.x, d.ship(2).alive = false;
      physics_testing::PlaceRects(*d);
    }
    PutProjectile(*d, c.kind, 200, victim.x, victim.y, 0, 0);
    int update = 0;
    while (d->missilesPool.life[1] > 0 && update < 100) {
      ++update;
      MissileMoves(*d);
    }
    EXPECT_EQ(update, c.hitUpdate);
    EXPECT_DOUBLE_EQ(victim.shield, 40 - c.damage);
    EXPECT_EQ(d->hitsScored[2 - c.player], 1);
    EXPECT_EQ(d->hitsScored[c.player - 1], 0);
    int sparks = 0;
    for (double life : d->sparks.life) sparks += life > 0;
    EXPECT_EQ(sparks, c.sparks);
    EXPECT_EQ(Count(d->explosions, true), 1);
    EXPECT_EQ(d.played("Boom2.wav"), 1);
  }
}

TEST(Missiles, HitShovesTheVictimAndThrowsDebrisOnlyWithShieldsDown) {
  struct Case {
    const char* name;
    double kind, shield, shieldAfter, hullAfter;
    int debris;
    bool p2Alive;
  };
  const Case cases[] = {
      {"missile on shields", 0, 40, 23, 100, 0, true},
      {"missile through a weak shield", 0, 10, 0, 83, 3, true},
      {"torpedo on no shield", 2, 0, 0, 90, 3, true},
      {"a wreck is not hit", 0, 40, 40, 100, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Duel d;
    d->options.debrisOn = true;
    ShipState& p2 = d.ship(2);
    p2.shield = c.shield, p2.vx = 1, p2.vy = 1, p2.alive = c.p2Alive;
    PutProjectile(*d, c.kind, 150, 600, 300, 9, -3);
    MissileMoves(*d);
    EXPECT_DOUBLE_EQ(p2.shield, c.shieldAfter);
    EXPECT_DOUBLE_EQ(p2.hull, c.hullAfter);
    int debris = 0;
    for (int16_t life : d->debris.life) debris += life > 0;
    EXPECT_EQ(debris, c.debris);
    const bool hit = c.p2Alive;
    EXPECT_EQ(p2.vx, hit ? 10 : 1);
    EXPECT_EQ(p2.vy, hit ? -2 : 1);
    EXPECT_EQ(d->missilesPool.life[1] > 0, !hit);
  }
}

TEST(Missiles, BurstOnceAtTheEndOfFlight) {
  struct Case {
    double kind, life;
    int updatesToBurst;
  };
  const Case cases[] = {{0, 200, 199}, {0, 2, 1}, {1, 200, 796}, {2, 1.5, 2}};
  for (const Case& c : cases) {
    Duel d;
    d.ship(1).alive = d.ship(2).alive = false;  // a torpedo chasing them for 796 frames would land
    PutProjectile(*d, c.kind, c.life, 400, 100, 0, 0);
    int update = 0;
    while (d->missilesPool.life[1] > 0 && update < 1000) {
      ++update;
      MissileMoves(*d);
    }
    EXPECT_EQ(update, c.updatesToBurst);
    EXPECT_EQ(d->missilesPool.life[1], 0);
    EXPECT_EQ(Count(d->explosions, true), 1);
    EXPECT_EQ(d->explosions.x[1], d->missilesPool.x[1] - 25);  // where it was, not a step on
    EXPECT_EQ(d.played("Boom2.wav"), 0);
  }
}

}  // namespace
}  // namespace quorvex
