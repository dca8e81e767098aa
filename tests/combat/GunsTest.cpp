// Electrogun arcs and chaingun bullets as ElectroGun and ChainGun run them each frame: arc damage and
// the jagged bolt, bullet flight, arming, hits, ricochet streaks and their fading.
#include <gtest/gtest.h>

#include <cmath>

#include "game/combat/Guns.h"
#include "tests/combat/PhysicsTesting.h"
#include "tests/support/SurfaceTesting.h"

namespace quorvex {
namespace {

using physics_testing::Duel;

const uint16_t kArcBlue = Rgb565(0, 75, 255), kStreakYellow = Rgb565(255, 255, 0);

int CountColour(const Surface& s, uint16_t colour) {
  int n = 0;
  for (uint16_t p : s.pixels()) n += p == colour;
  return n;
}

TEST(ElectroGun, ArcDamagesOnceAndDrawsAJaggedBolt) {
  struct Case {
    const char* name;
    int arc;         // slot value: the shooter's number
    double targetX;  // player 1 stays at (200, 300); player 2 stands here on y 300
    double jitter;   // the random number of every bend
    int bend;        // how far each bend moves on x and y
    double damageR, damage;
  };
  const Case cases[] = {
      {"player 1's arc, straight", 1, 300, 0.5, 0, 0.0, 2.0 / 3},
      {"player 2's arc bends up-left", 2, 300, 0.025, -10, 0.5, 4.0 / 3},  // nearest(0.5) = 0
      {"bend of +10 from a half rounded to even", 1, 300, 0.975, 10, 0.75, 5.0 / 3},
      {"bend of -8 from a half rounded to even", 1, 300, 0.075, -8, 0.25, 1.0},
      {"target flew out of range since the shot", 1, 700, 0.5, 0, 0.0, 2.0 / 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Duel d;
    d->back = Surface(800, 600);
    d.ship(2).x = c.targetX;
    d->electroArcs[3] = c.arc;
    for (int i = 0; i < 18; ++i) d.script({c.jitter});
    d.script({c.damageR});
    ElectroGun(*d);

    const ShipState& from = d.ship(c.arc);
    const ShipState& to = d.ship(3 - c.arc);
    EXPECT_NEAR(to.shield, 40 - c.damage, 1e-12);
    EXPECT_EQ(d->electroArcs[3], 0);
    for (int k = 1; k <= 9; ++k) {
      const int x = nearestInt(from.x + (to.x - from.x) * k / 10) + c.bend, y = 300 + c.bend;
      EXPECT_EQ(d->back.pixel(x, y), kArcBlue) << "bend " << k;
    }
    EXPECT_EQ(d->back.pixel(nearestInt(from.x), 300), kArcBlue);
    const int arcPixels = CountColour(d->back, kArcBlue);

    ElectroGun(*d);  // the slot is free: no second discharge
    EXPECT_NEAR(to.shield, 40 - c.damage, 1e-12);
    EXPECT_EQ(CountColour(d->back, kArcBlue), arcPixels);
  }
}

TEST(ChainGun, BulletFliesArmsAndGlancesOff) {
  // Player 1's rectangle is (185, 285)-(215, 315), player 2's (585, 285)-(615, 315).
  struct Case {
    const char* name;
    double life, x;  // the bullet starts at (x, 300), flying right
    bool p2Alive;
    double p1X;     // player 1's x (600 lays it over player 2)
    double shield;  // of both ships
    int victim;     // 0: no hit
  };
  const Case cases[] = {
      {"flies 14 pixels a frame", 55, 300, true, 200, 40, 0},
      {"not armed at life 48", 49, 572, true, 200, 40, 0},
      {"armed below 48", 48, 572, true, 200, 40, 2},
      {"strikes its own shooter", 20, 172, true, 200, 40, 1},
      {"passes through a wreck", 20, 572, false, 200, 40, 0},
      {"player 2 first where the ships overlap", 20, 572, true, 600, 40, 2},
      {"unshielded hull takes it, no flash", 20, 572, true, 200, 0, 2},
      {"last frame of life frees the slot", 1, 300, true, 200, 40, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Duel d;
    d->back = Surface(800, 600);
    d.ship(1).x = c.p1X;
    d.ship(2).alive = c.p2Alive;
    for (int p = 1; p <= 2; ++p) d.ship(p).shield = c.shield;
    physics_testing::PlaceRects(*d);
    BulletPool& b = d->bullets;
    b.life[7] = c.life, b.x[7] = c.x, b.y[7] = 300, b.angle[7] = 0;
    const double x1 = c.x + 14;
    if (c.shield > 0) d.script({0.5, 0.25, 0.9});  // damage, turn, the streak stays
    ChainGun(*d);

    if (c.victim == 0) {
      EXPECT_EQ(b.life[7], c.life - 1);
      EXPECT_EQ(b.x[7], x1);
      EXPECT_TRUE(d->audio.played.empty());
      EXPECT_EQ(d.ship(1).shield + d.ship(2).shield, 2 * c.shield);
      continue;
    }
    const ShipState& hit = d.ship(c.victim);
    EXPECT_EQ(d.ship(3 - c.victim).shield, c.shield);
    EXPECT_EQ(d.played("hit4.wav"), 1);
    if (c.shield > 0) {
      EXPECT_EQ(hit.shield, c.shield - 0.5);
      EXPECT_EQ(d->flashes.life[1], 30);
      EXPECT_EQ(d->flashes.x[1], x1);
      EXPECT_EQ(b.angle[7], -0.5);
      // Turned into a streak at once: life -1, then its first ricochet step of 5 pixels.
      EXPECT_EQ(b.life[7], -2);
      EXPECT_NEAR(b.x[7], x1 + 5 * std::cos(-0.5), 1e-9);
      EXPECT_NEAR(b.y[7], 300 + 5 * std::sin(-0.5), 1e-9);
      EXPECT_GT(CountColour(d->back, kStreakYellow), 0);
    } else {
      EXPECT_TRUE(hit.hull > 99 && hit.hull <= 100);
      EXPECT_EQ(d->flashes.life[1], 0);
      EXPECT_LE(b.life[7], 0);  // a streak, or already gone
    }
  }
}

TEST(ChainGun, RicochetStreakFadesAfterAFewFrames) {
  struct Case {
    double r;  // the fading draw of every frame
    int frames;
  };
  const Case cases[] = {{0.0, 1}, {0.3, 3}, {0.35, 3}, {0.999, 9}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.r);
    Duel d;
    d->back = Surface(800, 600);
    BulletPool& b = d->bullets;
    b.life[300] = -1, b.x[300] = 400, b.y[300] = 100, b.angle[300] = 0;
    int frames = 0;
    while (b.life[300] != 0 && frames < 20) {
      d.script({c.r});
      ChainGun(*d);
      ++frames;
    }
    EXPECT_EQ(frames, c.frames);
    EXPECT_EQ(b.x[300], 400 + 5 * frames);
    // Each frame a 5-pixel yellow streak behind the ricochet; together they make one unbroken trail.
    EXPECT_EQ(testing::CountLitPixels(d->back, Rect{0, 0, 800, 600}), 5 * frames);
    EXPECT_EQ(CountColour(d->back, kStreakYellow), 5 * frames);
    EXPECT_EQ(d->back.pixel(400 + 5 * frames, 100), kStreakYellow);
  }
}

}  // namespace
}  // namespace quorvex
