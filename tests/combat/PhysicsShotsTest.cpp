// Laser and ion shots in Fysiikat: arming, flight, hits on shield and hull, deflection, and the
// shooter's selected weapon deciding what a landed shot does.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "game/combat/Physics.h"
#include "tests/combat/PhysicsTesting.h"

namespace quorvex {
namespace {

using physics_testing::Duel;

void PutShot(GameWindow& w, int slot, double x, double y, double vx, double vy, double life, double kind) {
  w.shots.life[slot] = life;
  w.shots.x[slot] = x;
  w.shots.y[slot] = y;
  w.shots.vx[slot] = vx;
  w.shots.vy[slot] = vy;
  w.shots.kind[slot] = kind;
}

struct ArmingCase {
  const char* name;
  double x, vx, life;
  int hitFrame;  // frame (1, 2, ...) in which player 2 is hit; 0 = never within five frames
};

TEST(PhysicsShots, ShotHitsOnlyFromTheFrameAfterItWasFired) {
  // Player 2's rectangle is (585, 285, 615, 315).
  const ArmingCase cases[] = {
      {"fired point-blank, standing inside", 600, 0, 80, 2},
      {"one frame old, standing inside", 600, 0, 79, 1},
      {"through the ship within its first frame", 580, 25, 80, 0},
      {"inside at its second frame", 560, 25, 80, 2},
  };
  for (const ArmingCase& c : cases) {
    SCOPED_TRACE(c.name);
    Duel d;
    PutShot(*d, 1, c.x, 300, c.vx, 0, c.life, 0);
    int hitFrame = 0;
    for (int frame = 1; frame <= 5 && hitFrame == 0; ++frame) {
      Fysiikat(*d);
      if (d->hitsScored[0] > 0) hitFrame = frame;
    }
    EXPECT_EQ(hitFrame, c.hitFrame);
    if (c.hitFrame > 0) {
      EXPECT_DOUBLE_EQ(d.ship(2).shield, 35);  // the shooter's shot energy
      EXPECT_EQ(d.played("Hit1.wav"), 1);
    }
  }
}

TEST(PhysicsShots, HitShotIsDeflectedAndNeverHitsAgain) {
  struct Case {
    double r1, r2, vx, vy;
  };
  const Case cases[] = {{0.0, 0.975, 10, -10}, {0.525, 0.475, 0, 0}, {0.3, 0.8, 4, -6}};
  for (const Case& c : cases) {
    Duel d;
    PutShot(*d, 1, 600, 300, 0, 0, 40, 0);
    d.script({c.r1, c.r2});
    Fysiikat(*d);
    EXPECT_EQ(d->shots.life[1], kDeflectedShotLife);
    EXPECT_EQ(d->shots.vx[1], c.vx);
    EXPECT_EQ(d->shots.vy[1], c.vy);

    // Even put back onto the ship frame after frame, it never lands again.
    for (int frame = 0; frame < 100 && d->shots.life[1] > 0; ++frame) {
      d->shots.x[1] = 600;
      d->shots.y[1] = 300;
      Fysiikat(*d);
    }
    EXPECT_EQ(d->hitsScored[0], 1);
    EXPECT_DOUBLE_EQ(d.ship(2).shield, 35);
    EXPECT_EQ(d->shots.life[1], kDeflectedShotLife - 100);
  }
}

TEST(PhysicsShots, ShootersSelectedWeaponDecidesWhatALandedShotDoes) {
  struct Case {
    const char* name;
    int weapon;
    double critRoll;  // first random number, used only by the ion cannon's critical chance
    double shield;
    bool critical;
  };
  // Shot energy 5: an ion hit has a critical chance of 0.5.
  const Case cases[] = {
      {"lasers deal their shot energy", 0, -1, 35, false},
      {"ion cannon below the chance", 1, 0.4, 40, true},
      {"ion cannon at the chance", 1, 0.5, 40, false},
      {"missiles", 2, -1, 40, false},
      {"torpedoes", 3, -1, 40, false},
      {"electrogun", 4, -1, 40, false},
      {"chaingun", 5, -1, 40, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Duel d;
    d->options.criticalsOn.fill(true);
    d.ship(2).hasTargeting = d.ship(2).hasChaingun = d.ship(2).selfRepair = d.ship(2).hasMissiles = true;
    d.ship(1).weapon = c.weapon;
    PutShot(*d, 1, 600, 300, 0, 0, 50, 0);  // a laser shot fired before the switch
    // The ion roll, then the critical hit on TURNING (k = nearest(0.5 * 8) = 4) of 45 + nearest(3).
    if (c.critRoll >= 0) d.script({c.critRoll, 0.5, 0.3});
    Fysiikat(*d);
    EXPECT_DOUBLE_EQ(d.ship(2).shield, c.shield);
    EXPECT_DOUBLE_EQ(d.ship(2).hull, 100);
    double damaged = 0;
    for (double level : d.ship(2).systems) damaged += level;
    EXPECT_DOUBLE_EQ(damaged, c.critical ? 48 - 0.025 : 0);  // repaired once in the same frame
    EXPECT_EQ(d->hitsScored[0], 1);
    EXPECT_EQ(d->hitsScored[1], 0);
  }
}

TEST(PhysicsShots, HitEffectsFollowShieldAndShotKind) {
  struct Case {
    const char* name;
    double kind, shield;
    const char* sound;
    bool flash, explosion, debris;
    double hull;
  };
  const Case cases[] = {
      {"red laser on a shield", 0, 40, "Hit1.wav", true, false, false, 100},
      {"green laser on a shield", 1, 40, "Hit1.wav", true, false, false, 100},
      {"laser on a bare hull", 0, 0, "Hit2.wav", false, true, true, 95},
      {"ion shot on a shield", 2, 40, "Hit3.wav", false, false, false, 100},
      {"ion shot on a bare hull", 2, 0, "Hit3.wav", false, false, false, 95},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Duel d;
    d->options.debrisOn = true;
    d.ship(2).shield = c.shield;
    PutShot(*d, 1, 603, 296, 0, 0, 50, c.kind);
    Fysiikat(*d);
    EXPECT_EQ(d.played(c.sound), 1);
    EXPECT_EQ(static_cast<int>(d->audio.played.size()), 1);
    EXPECT_EQ(d->flashes.life[1] == 30, c.flash);
    if (c.flash) {
      EXPECT_EQ(d->flashes.x[1], 603);
      EXPECT_EQ(d->flashes.y[1], 296);
    }
    EXPECT_EQ(d->explosions.state[1] == 10, c.explosion);  // a small explosion
    EXPECT_EQ(d->debris.life[1] >= 350, c.debris);
    EXPECT_DOUBLE_EQ(d.ship(2).hull, c.hull);
  }
}

TEST(PhysicsShots, ShotInsideBothShipsHitsBoth) {
  Duel d;
  d.ship(1).radius = d.ship(2).radius = 60;
  d.ship(1).x = 400;
  d.ship(2).x = 440;  // rectangles (370..430) and (410..470) overlap, neither centre inside the other
  physics_testing::PlaceRects(*d);
  PutShot(*d, 1, 420, 300, 0, 0, 50, 0);
  Fysiikat(*d);
  EXPECT_DOUBLE_EQ(d.ship(1).shield, 35);
  EXPECT_DOUBLE_EQ(d.ship(2).shield, 35);
  EXPECT_EQ(d->hitsScored[0], 1);
  EXPECT_EQ(d->hitsScored[1], 1);
  EXPECT_EQ(d.played("Collision.wav"), 0);
}

TEST(PhysicsShots, WreckDeflectsShotsWithoutBeingHit) {
  Duel d;
  d.ship(2).alive = false;
  PutShot(*d, 1, 600, 300, 0, 0, 50, 0);
  Fysiikat(*d);
  EXPECT_EQ(d->shots.life[1], kDeflectedShotLife);
  EXPECT_EQ(d->hitsScored[0], 0);
  EXPECT_DOUBLE_EQ(d.ship(2).shield, 40);
  EXPECT_TRUE(d->audio.played.empty());
}

TEST(PhysicsShots, FlightIsScaledByZoomAndBentByGravity) {
  struct Case {
    bool gravity;
    double zoom, x, y, vx, vy;
    double wantX, wantY, wantVx, wantVy;
  };
  const Case cases[] = {
      {false, 50, 100, 100, 10, -4, 110, 96, 10, -4},
      {false, 25, 100, 100, 10, -4, 105, 98, 10, -4},
      {true, 50, 100, 100, 0, 0, 100.05, 100.05, 0.05, 0.05},
      {true, 50, 700, 500, 0, 0, 699.95, 499.95, -0.05, -0.05},
      {true, 50, 400, 300, 2, 0, 402, 300, 2, 0},
  };
  for (const Case& c : cases) {
    Duel d;
    d->options.gravityOn = c.gravity;
    d->zoom = c.zoom;
    PutShot(*d, 7, c.x, c.y, c.vx, c.vy, 80, 0);
    Fysiikat(*d);
    EXPECT_EQ(d->shots.life[7], 79);
    EXPECT_NEAR(d->shots.x[7], c.wantX, 1e-9);
    EXPECT_NEAR(d->shots.y[7], c.wantY, 1e-9);
    EXPECT_NEAR(d->shots.vx[7], c.wantVx, 1e-9);
    EXPECT_NEAR(d->shots.vy[7], c.wantVy, 1e-9);
  }
}

TEST(PhysicsShots, SpentShotsStayFree) {
  Duel d;
  PutShot(*d, 3, 600, 300, 0, 0, 1, 0);  // its last frame: it still moves and may hit
  PutShot(*d, 4, 600, 300, 0, 0, 0, 0);  // free: nothing happens
  Fysiikat(*d);
  EXPECT_EQ(d->shots.life[4], 0);
  EXPECT_EQ(d->hitsScored[0], 1);
  EXPECT_EQ(d->shots.life[3], kDeflectedShotLife);
}

}  // namespace
}  // namespace quorvex
