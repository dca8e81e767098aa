// The electrogun and the chaingun fired in whole battle frames with the stock ships and pictures:
// ship control fires, frame drawing discharges, moves, hits and draws. Pictures of the last frame
// are kept in the test output.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "game/combat/ShipControl.h"
#include "game/combat/ShipLoading.h"
#include "game/render/FrameDrawing.h"
#include "game/render/Graphics.h"
#include "tests/combat/PhysicsTesting.h"
#include "tests/support/SurfaceTesting.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;

TEST(GunsInBattle, HeldTriggerAtRange) {
  struct Case {
    const char* name;
    int weapon;
    double distance;
    int frames;
    bool hurts;
  };
  const Case cases[] = {
      {"electrogun", 4, 120, 10, true},
      {"electrogun out of range", 4, 160, 10, false},
      {"chaingun", 5, 120, 30, true},
  };
  const fs::path dir = testing::ProgramDir();
  for (const char* needed : {"tausta.bmp", "boom.bmp", "font.bmp", "falcon.shp", "raven.shp"}) {
    if (!fs::exists(dir / needed)) GTEST_SKIP() << "stock file missing: " << dir / needed;
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    physics_testing::Duel d;
    GameWindow& w = *d;
    w.programDir = dir;
    w.back = Surface(800, 600);
    const char* ships[] = {"falcon.shp", "raven.shp"};
    for (int p = 0; p < 2; ++p) {
      ShipLoadout loadout;
      ASSERT_EQ(ShipReadStatus::Ok, ReadShipForBattle(dir / ships[p], true, &loadout));
      ApplyShipLoadout(w.ship[p], loadout);
      w.ship[p].shieldMax = w.ship[p].shield;
      w.ship[p].hullMax = w.ship[p].hull;
    }
    LoadGraphics(w);
    ShipState& gunner = w.ship[0];
    ShipState& target = w.ship[1];
    gunner.x = 50, gunner.y = 300, gunner.heading = 8;  // facing right
    target.x = 50 + c.distance, target.y = 300, target.heading = 24;
    gunner.weapon = c.weapon, gunner.chaingunAmmo = 10, gunner.energy = 100, gunner.fireHeld = true;
    const double strength = target.shield + target.hull;

    for (int frame = 0; frame < c.frames; ++frame) {
      FramenPiirtely(w, 8, 24);
      Ohjailu(w);
    }
    FramenPiirtely(w, 8, 24);
    EXPECT_TRUE(testing::WritePng(w.back, testing::TestOutputDir() / ("guns-" + std::string(c.name) + ".png")));

    const double lost = strength - target.shield - target.hull;
    if (c.weapon == 4) {
      EXPECT_EQ(gunner.energy, c.hurts ? 100 - 5 * c.frames : 100);
      EXPECT_EQ(d.played("Hit3.wav"), c.hurts ? c.frames : 0);
      // Each frame's arc deals from 2/3 up to 2.
      EXPECT_GE(lost, c.hurts ? c.frames * 2.0 / 3 : 0);
      EXPECT_LE(lost, c.hurts ? c.frames * 2.0 : 0);
    } else {
      EXPECT_NEAR(gunner.chaingunAmmo, 10 - 0.1 * c.frames, 1e-9);
      EXPECT_EQ(w.shotsFired[0], c.frames);
      EXPECT_EQ(d.played("hit4.wav") > 0, c.hurts);
      EXPECT_EQ(lost > 0, c.hurts);
      EXPECT_LT(lost, c.frames);  // less than 1 a bullet
    }
    EXPECT_EQ(gunner.shield, gunner.shieldMax);
  }
}

}  // namespace
}  // namespace quorvex
