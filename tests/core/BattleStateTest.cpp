// Resetting a ship: the reset ship starts afresh, the other one is only moved home and repaired.
#include <gtest/gtest.h>

#include "game/core/BattleState.h"

namespace quorvex {
namespace {

// Both ships mid-battle: moved, damaged, firing.
void Battered(GameWindow& w) {
  for (int p = 0; p < 2; ++p) {
    ShipState& s = w.ship[p];
    s.x = 333 + p;
    s.y = 77 + p;
    s.vx = 2.5;
    s.vy = -1.5;
    s.weapon = 3;
    s.energy = 12;
    s.powerRedir = 2;
    s.alive = false;
    s.shield = 11 + p;
    s.shieldMax = 50;
    s.hull = 21 + p;
    s.hullMax = 90;
    s.nextBarrel = -1;
    s.laserCooldown = 4;
    s.missileCooldown = 60;
    s.systems.fill(3);
    s.heading = 17;
  }
  w.electroArcs = {1, 2, 1, 2, 1, 2};
}

struct ResetCase {
  const char* name;
  void (*reset)(GameWindow&);
  int resetShip;  // index of the ship reset afresh
};
void PrintTo(const ResetCase& c, std::ostream* os) { *os << c.name; }

class ResetTest : public ::testing::TestWithParam<ResetCase> {};

TEST_P(ResetTest, ResetShipStartsAfreshOtherKeepsItsFight) {
  const ResetCase& c = GetParam();
  GameWindow w;
  Battered(w);
  c.reset(w);

  const ShipState& r = w.ship[c.resetShip];
  EXPECT_EQ(r.weapon, 0);
  EXPECT_EQ(r.energy, 100);
  EXPECT_EQ(r.powerRedir, 0);
  EXPECT_TRUE(r.alive);
  EXPECT_EQ(r.shieldMax, r.shield);
  EXPECT_EQ(r.hullMax, r.hull);
  EXPECT_EQ(r.shield, 11 + c.resetShip);  // the current values are kept, the maxima follow them
  EXPECT_EQ(r.hull, 21 + c.resetShip);
  EXPECT_EQ(r.nextBarrel, 1);
  EXPECT_EQ(r.laserCooldown, 0);
  EXPECT_EQ(r.missileCooldown, 0);

  const ShipState& o = w.ship[1 - c.resetShip];
  EXPECT_EQ(o.hull, 21 + (1 - c.resetShip));
  EXPECT_EQ(o.hullMax, 90);
  EXPECT_EQ(o.shield, 11 + (1 - c.resetShip));
  EXPECT_EQ(o.energy, 12);
  EXPECT_EQ(o.weapon, 3);
  EXPECT_EQ(o.powerRedir, 2);
  EXPECT_FALSE(o.alive);
  EXPECT_EQ(o.missileCooldown, 60);

  // Both ships: home, at rest, repaired, arcs gone; headings are the duel's business.
  EXPECT_EQ(w.ship[0].x, 100);
  EXPECT_EQ(w.ship[0].y, 240);
  EXPECT_EQ(w.ship[1].x, 700);
  EXPECT_EQ(w.ship[1].y, 240);
  for (const ShipState& s : w.ship) {
    EXPECT_EQ(s.vx, 0);
    EXPECT_EQ(s.vy, 0);
    for (double level : s.systems) EXPECT_EQ(level, 0);
    EXPECT_EQ(s.heading, 17);
  }
  for (int arc : w.electroArcs) EXPECT_EQ(arc, 0);
}

INSTANTIATE_TEST_SUITE_P(Players, ResetTest,
                         ::testing::Values(ResetCase{"Player1", ResetValues, 0}, ResetCase{"Player2", ResetValues2, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quorvex
