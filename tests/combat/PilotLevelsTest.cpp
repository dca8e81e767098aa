// The three computer pilot levels in set situations, through AI_Kontrollit as the battle calls it:
// a target moving across, a missile or torpedo coming in, low energy, a wrecked engine, the
// gravitation well, far tougher and far weaker opponents, a charge, an opponent close by, and a
// ship about to be lost with an escape ship to come.
#include <gtest/gtest.h>

#include "game/combat/ComputerPilot.h"
#include "game/combat/ShipLoading.h"
#include "tests/combat/PhysicsTesting.h"

namespace quorvex {
namespace {

using physics_testing::Duel;

enum Situation {
  Across, AcrossLeadAimed, MissileIn, LowEnergy, LowEnergyWithMissiles, WreckedEngine, IntactEngine, Gravity,
  QuickTurner, Hopeless, Rammable, TorpedoAtSlowShip, TorpedoAtFastShip, Charge, CloseBy
};

// Player 2 (the pilot) at (200, 300) with lasers only, 300 pixels west of player 1 and pointing at
// him (heading 8), turning 0.4 a frame (too slow for the hard pilot to circle), laser charged, both
// ships equally tough; then the situation's changes.
struct Scene : Duel {
  Scene(PilotLevel level, Situation s) {
    GameWindow& g = **this;
    g.trainingMode = true;
    g.pilotLevel = level;
    ShipState& me = ship(2);
    ShipState& foe = ship(1);
    me.x = 200, me.y = 300, me.heading = 8, me.turnRate = 0.4;
    me.laserReload = me.laserCooldown = 20;
    me.shield = me.shieldMax = 40;
    foe.x = 500, foe.y = 300;
    switch (s) {
      case Across: foe.vy = -6; break;  // flying up the screen
      case AcrossLeadAimed: foe.vy = -6, me.heading = 6.76; break;
      case MissileIn: {
        // From the west, straight at the pilot, which points south-east.
        me.heading = 12;
        MissilePool& m = g.missilesPool;
        m.life[1] = 150, m.kind[1] = 0, m.x[1] = 100, m.y[1] = 300, m.vx[1] = 9, m.vy[1] = 0;
        break;
      }
      case LowEnergy: me.energy = 1; break;
      case LowEnergyWithMissiles:
        me.energy = 1, me.hasMissiles = true, me.missiles = 4, me.missileCooldown = 100;
        foe.x = 600;
        break;
      case WreckedEngine: me.systems[0] = 50, foe.x = 600; break;
      case IntactEngine: foe.x = 600; break;
      case Gravity:
        // Near the centre with the opponent far off.
        g.options.gravityOn = true;
        me.x = 420, me.y = 300, me.heading = 4;
        foe.x = 780, foe.y = 560;
        break;
      case QuickTurner: me.turnRate = 0.8; break;
      case Hopeless: me.maxSpeed = 8, foe.hull = 400; break;
      case Rammable: foe.hull = 20, foe.shield = 0, me.turnRate = 0.8; break;  // a quick turner, which would circle
      case TorpedoAtSlowShip:
      case TorpedoAtFastShip: {
        // Player 1's torpedo from the north, to pass just east of the pilot, which points south-east.
        me.maxSpeed = s == TorpedoAtFastShip ? 9 : 6;
        me.heading = 12;
        MissilePool& m = g.missilesPool;
        m.life[1] = 150, m.kind[1] = 1, m.x[1] = 205, m.y[1] = 150, m.vx[1] = 0, m.vy[1] = 7;
        break;
      }
      case Charge: foe.x = 350, foe.hull = 200, foe.vx = -8; break;  // a tougher ship rushing in from the east
      case CloseBy: foe.x = 320, me.heading = 12; break;
    }
  }
};

struct Expect {
  PilotLevel level;
  Situation situation;
  std::initializer_list<double> randoms;  // the numbers the level draws, in order
  bool turnLeft, turnRight, thrust, fire;
  int weapon, power;
};

constexpr PilotLevel E = PilotLevel::Easy, N = PilotLevel::Normal, H = PilotLevel::Hard;

TEST(PilotLevels, ChoicesInSetSituations) {
  const Expect cases[] = {
      // A target moving across: the game's pilot fires at where it is (and wobbles about the
      // bearing by its turning rule); hard turns to lead it and holds its fire until it does;
      // easy has not looked yet and lets this trigger frame pass; it thrusts on half the frames and
      // moves all power to its guns.
      {N, Across, {0.5}, false, true, true, true, 0, 0},
      {H, Across, {}, true, false, true, false, 0, 0},
      {H, AcrossLeadAimed, {}, false, false, true, true, 0, 0},
      {E, Across, {0.5, 0.3, 0.5}, false, false, true, false, 0, 1},
      {E, Across, {0.01, 0.5, 0.6, 0.01}, false, true, false, true, 0, 1},
      // A missile coming in from the west: hard turns south across its path and thrusts away; the
      // others steer for the opponent as ever.
      {N, MissileIn, {0.5}, true, false, true, true, 0, 0},
      {H, MissileIn, {}, false, true, true, false, 0, 0},
      // Low energy with full shields: hard moves power to the weapons, the game's pilot keeps it
      // balanced; with missiles aboard every level takes them (easy lets its trigger frame pass).
      {N, LowEnergy, {0.5}, false, true, true, true, 0, 0},
      {H, LowEnergy, {}, false, false, true, true, 0, 1},
      {N, LowEnergyWithMissiles, {0.5}, false, true, true, true, 2, 0},
      {E, LowEnergyWithMissiles, {0.9, 0.3, 0.02}, false, false, true, false, 2, 1},  // launches 1 in 100
      {H, LowEnergyWithMissiles, {}, false, false, true, true, 2, 0},
      // A wrecked engine: hard stands and fights (no thrust, a tenth of it is no use), with an
      // intact one it closes in; the game's pilot thrusts either way.
      {N, WreckedEngine, {0.5}, false, true, true, true, 0, 0},
      {H, WreckedEngine, {}, false, false, false, true, 0, 0},
      {H, IntactEngine, {}, false, false, true, true, 0, 0},
      // The gravitation well: hard turns to leave the centre while the opponent is far (thrusting
      // once it points out), the game's pilot steers for the opponent and fires.
      {H, Gravity, {}, false, true, false, false, 0, 0},
      {N, Gravity, {0.5}, false, true, true, true, 0, 0},
      // A ship that turns quickly circles: it first turns to fly across the line of fire, and holds
      // its fire while its nose is off the target.
      {H, QuickTurner, {}, false, true, false, false, 0, 0},
      // Against a far tougher ship hard keeps away (turning off toward the open south-west); against
      // a far weaker one it rams, firing as it comes.
      {H, Hopeless, {}, false, true, false, false, 0, 0},
      {H, Rammable, {}, false, false, true, true, 0, 0},
      // A torpedo coming in: a ship fast enough turns to outrun it (west, away from where it
      // passes); a slow one turns back onto its opponent and fights on.
      {H, TorpedoAtFastShip, {}, false, true, false, false, 0, 0},
      {H, TorpedoAtSlowShip, {}, true, false, false, false, 0, 0},
      // A tougher ship charging in: hard turns north, across its path, with a last shot at it while
      // its nose is still on it.
      {H, Charge, {}, true, false, false, true, 0, 0},
      // Easy turns tail when its opponent comes close (it looks, this once).
      {E, CloseBy, {0.01, 0.5, 0.3}, false, true, true, false, 0, 1},
  };
  int row = 0;
  for (const Expect& c : cases) {
    SCOPED_TRACE(row++);
    Scene s(c.level, c.situation);
    s.script(c.randoms);
    AI_Kontrollit(*s);
    const ShipState& me = s.ship(2);
    EXPECT_EQ(me.turnLeftHeld, c.turnLeft);
    EXPECT_EQ(me.turnRightHeld, c.turnRight);
    EXPECT_EQ(me.thrustHeld, c.thrust);
    EXPECT_EQ(me.fireHeld, c.fire);
    EXPECT_EQ(me.weapon, c.weapon);
    EXPECT_EQ(me.powerRedir, c.power);
    EXPECT_TRUE(s->random.scripted.empty()) << "the level draws exactly the numbers listed";
  }
}

// A hard pilot about to lose its ship close to the opponent and moving blows it up, and flies the
// escape ship on at once; without an escape ship in the list, or far away, it fights on.
TEST(PilotLevels, HardUsesItsEscapeShip) {
  using namespace physics_testing;
  struct Case {
    const char* eject;
    double foeX;
    bool blowsUp;
  };
  for (const Case& c : {Case{"pod.shp", 300, true}, Case{"nowhere.shp", 300, false}, Case{"pod.shp", 600, false}}) {
    SCOPED_TRACE(std::string(c.eject) + " " + std::to_string(c.foeX));
    TempFolder folder;
    WriteDesign(folder.path(), "big.shp", Design("big", 60, 30, 2, c.eject));
    WriteDesign(folder.path(), "pod.shp", Design("pod", 10, 20, -1, ""));
    Duel d;
    GameWindow& w = *d;
    w.programDir = folder.path();
    w.trainingMode = true;
    w.pilotLevel = PilotLevel::Hard;
    ScanShipFiles(w);
    w.fleet[0][0] = 1;  // pod.shp
    w.fleet[1][0] = 0;  // big.shp, first in name order
    LoadShip(w, 1);
    LoadShip(w, 2);
    ShipState& me = w.ship[1];
    me.x = 220, me.y = 300, me.vx = 4, me.vy = 4;
    me.shield = 0, me.hull = 3;
    w.ship[0].x = c.foeX, w.ship[0].y = 300;
    AI_Kontrollit(w);
    EXPECT_EQ(me.alive, true);
    EXPECT_EQ(me.hull < 3 || me.hull > 3, c.blowsUp) << "the escape ship flies with a hull of its own";
    EXPECT_EQ(w.fleet[1][0] != 0, c.blowsUp);
  }
}

}  // namespace
}  // namespace quorvex
