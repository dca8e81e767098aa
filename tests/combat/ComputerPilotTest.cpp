// The computer pilot: steering, thrust, power redirection, weapon choice and firing of player 2 in
// training mode, through AI_Kontrollit itself, and a duel with the stock ships in which it scores.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "game/combat/ComputerPilot.h"
#include "game/flow/BattleLoop.h"
#include "game/combat/ShipLoading.h"
#include "game/render/Graphics.h"
#include "tests/combat/PhysicsTesting.h"
#include "tests/support/SurfaceTesting.h"

namespace quorvex {
namespace {

using physics_testing::Duel;

constexpr int kShieldSystem = 1, kPowerGen = 2, kElectrics = 3, kLauncher = 5, kChaingunSystem = 7;

// A duel in training mode: player 1 (the foe) and player 2 (the pilot) at the given positions.
struct Pilot : Duel {
  Pilot(double x2, double y2, double x1 = 200, double y1 = 300) {
    w->trainingMode = true;
    ship(1).x = x1, ship(1).y = y1;
    ship(2).x = x2, ship(2).y = y2;
    ship(2).laserReload = 20;
  }
  ShipState& me() { return ship(2); }
  // One frame of the pilot with a thrust roll of `thrustRoll`.
  void frame(double thrustRoll = 0.5) {
    script({thrustRoll});
    AI_Kontrollit(**this);
  }
};

TEST(ComputerPilot, LeavesEverythingAloneOutsideTrainingOrWithAWreck) {
  enum { TrainingOff, FoeDestroyed, PilotDestroyed };
  for (int c : {TrainingOff, FoeDestroyed, PilotDestroyed}) {
    SCOPED_TRACE(c);
    Pilot p(600, 300);  // 400 apart: a live pilot would fire lasers
    p->trainingMode = c != TrainingOff;
    if (c == FoeDestroyed) p.ship(1).alive = false;
    if (c == PilotDestroyed) p.ship(2).alive = false;
    p->aiClose = 1;
    p.me().turnLeftHeld = p.me().turnRightHeld = true;
    p.me().thrustHeld = false;
    p.me().fireHeld = false;
    p.me().weapon = 3;
    p.me().shield = 0;  // a live pilot would redirect power
    p.frame(0.1);
    EXPECT_TRUE(p.me().turnLeftHeld && p.me().turnRightHeld);
    EXPECT_FALSE(p.me().thrustHeld || p.me().fireHeld);
    EXPECT_EQ(3, p.me().weapon);
    EXPECT_EQ(0, p.me().powerRedir);
    EXPECT_EQ(1, p->aiClose);
    EXPECT_EQ(1u, p->random.scripted.size()) << "no random number drawn";
  }
}

// Far off the pilot settles facing the foe; close in it swings a quarter turn across; a wanted
// heading within one step keeps the turn it had, and one in the same whole step stops turning.
TEST(ComputerPilot, Steering) {
  struct Case {
    const char* name;
    double x2, y2, x1, y1, aiClose, heading;
    bool leftBefore, rightBefore, left, right;
  };
  const Case cases[] = {
      // Foe straight left: wanted 40 (= 8 turned round); the ship comes to rest about 24, facing it.
      {"far, foe left, heading 0", 600, 300, 200, 300, 0, 0, false, false, false, true},
      {"far, foe left, heading 24.2", 600, 300, 200, 300, 0, 24.2, true, false, false, true},
      {"far, foe left, heading 25", 600, 300, 200, 300, 0, 25, false, true, true, false},
      // Foe straight right: wanted 24.
      {"far, foe right, same whole step", 200, 300, 600, 300, 0, 24.7, true, true, false, false},
      {"far, foe right, one step off keeps left", 200, 300, 600, 300, 0, 23.4, true, false, true, false},
      {"far, foe right, one step off keeps right", 200, 300, 600, 300, 0, 23.4, false, true, false, true},
      // Same x: the bearing counts as 0, wanted 24.
      {"far, foe straight above", 400, 500, 400, 300, 0, 0, false, false, false, true},
      // Close, pilot left of the foe: wanted 8.
      {"close, pilot left", 200, 300, 300, 300, 1, 0, false, true, true, false},
      // Close, pilot right of and below the foe: bearing 225 degrees, wanted 12.
      {"close, pilot right and below, heading 30", 300, 400, 200, 300, 1, 30, false, false, false, true},
      {"close, pilot right and below, heading 20", 300, 400, 200, 300, 1, 20, false, false, true, false},
      // Close, pilot right of and above the foe: bearing 135 degrees, wanted 20.
      {"close, pilot right and above, heading 0", 300, 200, 200, 300, 1, 0, false, false, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Pilot p(c.x2, c.y2, c.x1, c.y1);
    p->aiClose = c.aiClose;
    p.me().heading = c.heading;
    p.me().turnLeftHeld = c.leftBefore;
    p.me().turnRightHeld = c.rightBefore;
    p.frame();
    EXPECT_EQ(c.left, p.me().turnLeftHeld);
    EXPECT_EQ(c.right, p.me().turnRightHeld);
  }
}

// Thrust on three frames in four; firing from 200 to 450 pixels, torpedoes and the electrogun at any
// range of 200 or more (torpedoes without thrust); closer than 200 the fire control is left as it was.
TEST(ComputerPilot, ThrustFiringAndCloseMemory) {
  struct Case {
    const char* name;
    double distance, roll;
    bool torpedoes, electroGun, fireBefore;
    bool fire, thrust;
    double aiClose;
  };
  const Case cases[] = {
      {"lasers at 300", 300, 0.5, false, false, false, true, true, 0},
      {"lasers at 450", 450, 0.5, false, false, false, true, true, 0},
      {"lasers at 500", 500, 0.5, false, false, true, false, true, 0},
      {"roll 0.75 does not thrust", 300, 0.75, false, false, false, true, false, 0},
      {"torpedoes at 500", 500, 0.1, true, false, false, true, false, 0},
      {"electrogun at 500", 500, 0.1, false, true, false, true, true, 0},
      {"exactly 200 fires", 200, 0.1, false, false, false, true, true, 0},
      {"closer than 200 keeps fire on", 199.9, 0.1, false, false, true, true, true, 1},
      {"closer than 200 keeps fire off", 150, 0.1, false, false, false, false, true, 1},
      {"torpedoes close keep thrust", 150, 0.1, true, false, false, false, true, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Pilot p(200 + c.distance, 300);
    p.me().hasTorpedoes = c.torpedoes;
    p.me().torpedoes = c.torpedoes ? 4 : 0;
    p.me().hasElectroGun = c.electroGun;
    p.me().fireHeld = c.fireBefore;
    p.frame(c.roll);
    EXPECT_EQ(c.fire, p.me().fireHeld);
    EXPECT_EQ(c.thrust, p.me().thrustHeld);
    EXPECT_EQ(c.aiClose, p->aiClose);
    EXPECT_EQ(c.torpedoes ? 3 : c.electroGun ? 4 : 0, p.me().weapon);
  }
}

// One step of the power mode per frame at most, toward shields when the shield is under a third or
// the weapon last chosen needs no energy, toward weapons under a half, otherwise back to balanced.
TEST(ComputerPilot, PowerRedirection) {
  struct Case {
    const char* name;
    double shield, shieldMax;
    int weaponBefore, modeBefore;
    int damagedSystem;  // -1 none
    int mode;
  };
  const Case cases[] = {
      {"low shield, balanced", 10, 40, 0, 0, -1, 1},
      {"low shield, weapons", 10, 40, 0, 1, -1, 2},
      {"full shield, missiles", 40, 40, 2, 0, -1, 1},
      {"full shield, chaingun", 40, 40, 5, 0, -1, 1},
      {"full shield, electrogun", 40, 40, 4, 1, -1, 2},
      {"half shield, balanced", 15, 40, 0, 0, -1, 1},
      {"half shield, shields wraps round", 15, 40, 0, 2, -1, 0},
      {"full shield, shields", 40, 40, 0, 2, -1, 0},
      {"full shield, weapons goes on to shields", 40, 40, 1, 1, -1, 2},
      {"full shield, generator broken", 40, 40, 0, 2, kPowerGen, 2},
      {"full shield, electrics broken", 40, 40, 0, 1, kElectrics, 1},
      {"shield system broken", 0, 40, 0, 1, kShieldSystem, 2},
      {"no shield at all, missiles", 0, 0, 2, 0, -1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Pilot p(600, 300);
    p.me().shield = c.shield;
    p.me().shieldMax = c.shieldMax;
    p.me().weapon = c.weaponBefore;
    p.me().powerRedir = c.modeBefore;
    if (c.damagedSystem >= 0) p.me().systems[c.damagedSystem] = 50;
    p.frame();
    EXPECT_EQ(c.mode, p.me().powerRedir);
    EXPECT_EQ(c.mode != c.modeBefore ? 1 : 0, p.played("Select2.wav"));
  }
}

TEST(ComputerPilot, LowShieldStepsTowardShieldsOncePerFrame) {
  Pilot p(600, 300);
  p.me().shield = 5;
  const int modes[] = {1, 2, 2, 2};
  for (int f = 0; f < 4; ++f) {
    p.frame();
    EXPECT_EQ(modes[f], p.me().powerRedir) << "frame " << f;
  }
  EXPECT_EQ(2, p.played("Select2.wav"));
  p->options.soundOn = false;
  p.me().shield = 40;
  p.frame();
  EXPECT_EQ(0, p.me().powerRedir);
  EXPECT_EQ(2, p.played("Select2.wav"));
}

// Later rules win over earlier ones; with no rule holding the weapon stays.
TEST(ComputerPilot, WeaponChoice) {
  struct Case {
    const char* name;
    bool ion, missiles, torpedoes, electro, chaingun;
    double missileCount, torpedoCount, ammo;
    int pattern;
    double reload, foeShield;
    int damagedSystem;  // -1 none
    int weaponBefore, weapon;
  };
  const Case cases[] = {
      {"lasers only", false, false, false, false, false, 0, 0, 0, 1, 20, 40, -1, 3, 0},
      {"ion cannon against a shield", true, false, false, false, false, 0, 0, 0, 1, 20, 40, -1, 0, 1},
      {"ion cannon, foe without shield", true, false, false, false, false, 0, 0, 0, 1, 20, 0, -1, 1, 0},
      {"ion cannon, pattern 4 lasers", true, false, false, false, false, 0, 0, 0, 4, 20, 40, -1, 0, 0},
      {"ion cannon, quick lasers", true, false, false, false, false, 0, 0, 0, 1, 15, 40, -1, 0, 0},
      {"ion cannon, reload 16", true, false, false, false, false, 0, 0, 0, 1, 16, 40, -1, 0, 1},
      {"missiles", true, true, false, false, false, 3, 0, 0, 1, 20, 40, -1, 0, 2},
      {"missiles used up", false, true, false, false, false, 0, 0, 0, 1, 20, 40, -1, 2, 0},
      {"missiles, launcher broken", false, true, false, false, false, 3, 0, 0, 1, 20, 40, kLauncher, 2, 0},
      {"chaingun over missiles", false, true, false, false, true, 3, 0, 10, 1, 20, 40, -1, 0, 5},
      {"chaingun broken", false, true, false, false, true, 3, 0, 10, 1, 20, 40, kChaingunSystem, 0, 2},
      {"electrogun over chaingun", false, false, false, true, true, 0, 0, 10, 1, 20, 40, -1, 0, 4},
      {"torpedoes over all", true, true, true, true, true, 3, 2, 10, 1, 20, 40, -1, 0, 3},
      {"torpedoes used up", false, true, true, false, false, 3, 0, 0, 1, 20, 40, -1, 3, 2},
      {"generator broken: no rule, keeps", true, false, false, true, false, 0, 0, 0, 1, 20, 40, kPowerGen, 3, 3},
      {"electrics broken: chaingun only", true, false, false, true, true, 0, 0, 10, 1, 20, 40, kElectrics, 0, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Pilot p(600, 300);
    ShipState& s = p.me();
    s.hasIonCannon = c.ion, s.hasMissiles = c.missiles, s.hasTorpedoes = c.torpedoes;
    s.hasElectroGun = c.electro, s.hasChaingun = c.chaingun;
    s.missiles = c.missileCount, s.torpedoes = c.torpedoCount, s.chaingunAmmo = c.ammo;
    s.laserPattern = c.pattern;
    s.laserReload = c.reload;
    p.ship(1).shield = c.foeShield;
    if (c.damagedSystem >= 0) s.systems[c.damagedSystem] = 50;
    s.weapon = c.weaponBefore;
    p.frame();
    EXPECT_EQ(c.weapon, s.weapon);
  }
}

// Whole battle frames with the stock ships: the pilot turns onto a player 1 who never touches
// the keys, closes in, fires, swings away when close and comes round again, and scores hits.
TEST(ComputerPilot, FightsAStandingShipAndScores) {
  ManualClock clock;
  GameWindow w;
  w.headless = true;
  w.messages.headless = true;
  w.programDir = testing::ProgramDir();
  w.clock = &clock;
  w.random.Seed(2026);
  w.trainingMode = true;
  w.options.criticalsOn.fill(true);
  w.controlTable = {std::array<double, 7>{'W', 'A', 'D', 'S', 'Q', 'E', 'X'},
                    std::array<double, 7>{'I', 'J', 'L', 'K', 'U', 'O', 'P'}};
  ScanShipFiles(w);
  const auto index = [&w](const char* file) {
    return static_cast<int>(std::find(w.shipFiles.begin(), w.shipFiles.end(), file) - w.shipFiles.begin());
  };
  w.fleet[0][0] = index("bastion.shp");
  w.fleet[1][0] = index("arrow.shp");
  ASSERT_LE(w.fleet[0][0], w.lastShipIndex);
  ASSERT_LE(w.fleet[1][0], w.lastShipIndex);
  LoadShip(w, 1);
  LoadShip(w, 2);
  w.back = Surface(800, 600);
  LoadGraphics(w);
  const double foeStart = w.ship[0].shield + w.ship[0].hull;

  double nearestApproach = 1e9;
  bool wasClose = false, brokeAway = false;
  w.eventScript = [&](GameWindow& g) {
    const double d = std::hypot(g.ship[1].x - g.ship[0].x, g.ship[1].y - g.ship[0].y);
    nearestApproach = std::min(nearestApproach, d);
    if (g.aiClose == 1) wasClose = true;
    if (wasClose && g.aiClose == 0) brokeAway = true;
    EXPECT_TRUE(std::isfinite(g.ship[1].x) && std::isfinite(g.ship[1].y));
    EXPECT_FALSE(g.ship[0].thrustHeld || g.ship[0].fireHeld || g.ship[0].turnLeftHeld || g.ship[0].turnRightHeld);
    if (g.framesRun >= 600 || !g.ship[0].alive) g.duelOver = true;
  };
  BattleLoop(w);

  EXPECT_GT(w.shotsFired[1], 0);
  EXPECT_GT(w.hitsScored[1], 0);
  EXPECT_LT(w.ship[0].shield + w.ship[0].hull, foeStart);
  EXPECT_LT(nearestApproach, 200);
  EXPECT_TRUE(brokeAway) << "the pilot never swung away after closing in";
  EXPECT_EQ(0, w.shotsFired[0]);
}

}  // namespace
}  // namespace quorvex
