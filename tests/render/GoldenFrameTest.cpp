#include <gtest/gtest.h>

#include <filesystem>

#include "game/combat/ShipLoading.h"
#include "game/render/FrameDrawing.h"
#include "game/render/Graphics.h"
#include "platform/Numbers.h"
#include "tests/support/SurfaceTesting.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;

// A battle frame with the stock pictures and two stock ships, kept as a picture a person has looked at.
TEST(GoldenFrame, TwoStockShipsMidBattle) {
  const fs::path golden = fs::path(QV_SOURCE_DIR) / "tests/render/golden/battle-frame.png";
  const fs::path dir = testing::ProgramDir();
  const char* ships[] = {"falcon.shp", "raven.shp"};
  for (const char* needed : {"tausta.bmp", "boom.bmp", "font.bmp", ships[0], ships[1]}) {
    if (!fs::exists(dir / needed)) {
      // Until the stock data exists there is nothing to compare; once a golden picture is kept, it must.
      if (fs::exists(golden)) FAIL() << "stock file missing: " << dir / needed;
      GTEST_SKIP() << "stock file missing: " << dir / needed;
    }
  }

  GameWindow w;
  w.programDir = dir;
  w.back = Surface(800, 600);
  for (int p = 0; p < 2; ++p) {
    ShipLoadout loadout;
    ASSERT_EQ(ShipReadStatus::Ok, ReadShipForBattle(dir / ships[p], true, &loadout)) << ships[p];
    ApplyShipLoadout(w.ship[p], loadout);
  }
  LoadGraphics(w);

  ShipState& p1 = w.ship[0];
  ShipState& p2 = w.ship[1];
  p1.x = 260, p1.y = 330, p1.heading = 5;
  p2.x = 540, p2.y = 250, p2.heading = 21;
  p1.shieldMax = p1.shield, p1.hullMax = p1.hull;
  p2.shieldMax = p2.shield, p2.hullMax = p2.hull;
  p1.shield *= 0.6, p1.hull *= 0.9, p1.energy = 75, p1.weapon = 2, p1.missiles = 7, p1.powerRedir = 1;
  p2.shield *= 0.2, p2.hull *= 0.45, p2.energy = 30, p2.weapon = 5, p2.chaingunAmmo = 42.5, p2.powerRedir = 2;
  w.aimMarkers = true;
  w.options.backgroundZoom = true;
  w.options.starCount = 300;
  Random random;
  random.Seed(2024);
  for (int i = 0; i <= 1000; ++i) {
    w.stars.depth[i] = static_cast<float>(random.Next() * 2 + 1);
    w.stars.x[i] = static_cast<float>(random.Next() * 3000 - 1500);
    w.stars.y[i] = static_cast<float>(random.Next() * 2200 - 1100);
  }
  // An engine trail behind player 1, shots of each kind and one hit still shown (life 485 and more).
  for (int i = 1; i <= 12; ++i) {
    w.trail.life[i] = 1 + i * 0.25;
    w.trail.x[i] = 230 - 4 * i, w.trail.y[i] = 355 + 3 * i;
  }
  const double shots[][5] = {{80, 300, 300, 20, -12}, {70, 420, 280, 18, -10}, {60, 470, 260, -15, 6},
                             {490, 528, 262, 0, 0}};
  const double kinds[] = {0, 1, 2, 0};
  for (int i = 0; i < 4; ++i) {
    w.shots.life[i + 1] = shots[i][0], w.shots.x[i + 1] = shots[i][1], w.shots.y[i + 1] = shots[i][2];
    w.shots.vx[i + 1] = shots[i][3], w.shots.vy[i + 1] = shots[i][4], w.shots.kind[i + 1] = kinds[i];
  }
  // The first frame sets the zoom the second one's background and stars use.
  FramenPiirtely(w, nearestInt(p1.heading - 0.25), nearestInt(p2.heading - 0.25));
  FramenPiirtely(w, nearestInt(p1.heading - 0.25), nearestInt(p2.heading - 0.25));
  EXPECT_TRUE(testing::MatchesGolden(w.back, golden, "battle-frame"));
}

}  // namespace
}  // namespace quorvex
