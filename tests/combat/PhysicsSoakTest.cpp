// A long fight of physics, damage and frame drawing with every option on: ships thrown about at
// random, shots and critical hits raining, wrecks brought back. Nothing may crash or turn into NaN,
// and every ship stays inside the arena.
#include <gtest/gtest.h>

#include <cmath>

#include "game/combat/Damage.h"
#include "game/combat/Physics.h"
#include "game/render/FrameDrawing.h"
#include "platform/Numbers.h"
#include "tests/combat/PhysicsTesting.h"
#include "tests/render/RenderFixture.h"

namespace quorvex {
namespace {

bool Finite(const ShipState& s) {
  bool ok = std::isfinite(s.x) && std::isfinite(s.y) && std::isfinite(s.vx) && std::isfinite(s.vy) &&
            std::isfinite(s.shield) && std::isfinite(s.hull) && std::isfinite(s.energy) &&
            std::isfinite(s.missileCooldown);
  for (double level : s.systems) ok = ok && std::isfinite(level);
  return ok;
}

TEST(PhysicsSoak, LongFightStaysFiniteAndInsideTheArena) {
  physics_testing::Duel d;
  GameWindow& w = *d;
  testing::SetUpTestWindow(w);
  w.explosionSheet = Surface(500, 100);
  w.options.gravityOn = w.options.debrisOn = w.options.sparksOn = true;
  w.options.criticalsOn.fill(true);
  w.options.backgroundZoom = false;
  w.random.Seed(31337);
  for (ShipState& s : w.ship) {
    s.energyRate = 1.5;
    s.selfRepair = s.hasChaingun = s.hasTargeting = s.hasMissiles = true;
  }

  Random chaos;  // the test's own dice, apart from the game's
  chaos.Seed(4242);
  for (int frame = 0; frame < 1000; ++frame) {
    d.clock.now += 21;
    for (int p = 0; p < 2; ++p) {
      ShipState& s = w.ship[p];
      if (!s.alive && chaos.Next() < 0.05) {
        s.alive = true;
        s.hull = s.hullMax;
      }
      s.vx += chaos.Next() * 2 - 1;
      s.vy += chaos.Next() * 2 - 1;
      s.x += s.vx * w.zoom / 50;
      s.y += s.vy * w.zoom / 50;
      s.weapon = static_cast<int>(chaos.Next() * 6);
      s.powerRedir = static_cast<int>(chaos.Next() * 3);
      if (chaos.Next() < 0.3) {
        const int slot = 1 + static_cast<int>(chaos.Next() * 100);
        w.shots.life[slot] = 80;
        w.shots.x[slot] = s.x;
        w.shots.y[slot] = s.y;
        w.shots.vx[slot] = chaos.Next() * 50 - 25;
        w.shots.vy[slot] = chaos.Next() * 50 - 25;
        w.shots.kind[slot] = static_cast<int>(chaos.Next() * 3);
      }
      if (chaos.Next() < 0.02) DoCritical(w, p + 1);
      if (chaos.Next() < 0.01) DoDamage(w, p + 1, chaos.Next() * 200);
    }
    // Now and then the ships are thrown together.
    if (chaos.Next() < 0.05) {
      w.ship[1].x = w.ship[0].x + chaos.Next() * 20 - 10;
      w.ship[1].y = w.ship[0].y + chaos.Next() * 20 - 10;
    }

    Fysiikat(w);
    FramenPiirtely(w, nearestInt(w.ship[0].heading - 0.25), nearestInt(w.ship[1].heading - 0.25));

    for (const ShipState& s : w.ship) {
      ASSERT_TRUE(Finite(s)) << "frame " << frame;
      ASSERT_GE(s.x, 20) << "frame " << frame;
      ASSERT_LE(s.x, 780) << "frame " << frame;
      ASSERT_GE(s.y, 20) << "frame " << frame;
      ASSERT_LE(s.y, 580) << "frame " << frame;
      ASSERT_GE(s.hull, 0) << "frame " << frame;
    }
    ASSERT_TRUE(std::isfinite(w.zoom));
  }
  EXPECT_GT(w.hitsScored[0] + w.hitsScored[1], 25);
}

}  // namespace
}  // namespace quorvex
