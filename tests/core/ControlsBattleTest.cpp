// Keys in a running battle loop: queued by frame number as the window would deliver them, they fly
// and fire player 1's ship, F5 destroys both ships and releasing Enter then ends the duel.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

#include "game/flow/BattleLoop.h"
#include "game/controls/Controls.h"
#include "platform/Keys.h"

namespace quorvex {
namespace {

struct Frame {
  double y, heading, fired;
};

TEST(ControlsBattleTest, ScriptedKeysFlyFireAndEndTheDuel) {
  ManualClock clock;
  GameWindow w;
  w.headless = true;
  w.clock = &clock;
  w.random.Seed(5);
  w.back = Surface(800, 600);
  w.trainingMode = false;
  w.controlTable = {std::array<double, 7>{'W', 'A', 'D', 'S', 'Q', 'E', 'X'},
                    std::array<double, 7>{'I', 'J', 'L', 'K', 'U', 'O', 'P'}};
  for (int p = 0; p < 2; ++p) {
    ShipState& s = w.ship[p];
    s.x = p == 0 ? 100 : 700;
    s.y = 300;
    s.radius = 30;
    s.hull = s.hullMax = 100;
    s.shield = s.shieldMax = 50;
    s.turnRate = 0.5;
    s.mass = 2;
    s.maxSpeed = 3;
    s.laserReload = 4;
    s.shotEnergy = 5;
    s.energyRate = 1;
    s.laserCooldown = 4;  // charged
  }

  // Frame number -> key events delivered in that frame.
  const std::map<int64_t, std::vector<KeyEvent>> script = {
      {2, {{true, 'W'}, {true, 'D'}, {true, 'S'}}},
      {8, {{true, 'W'}}},  // key repeat changes nothing
      {12, {{false, 'W'}, {false, 'D'}, {false, 'S'}}},
      {14, {{false, vk::Return}}},  // both alive: only the select flag
      {16, {{true, vk::F5}}},
      {18, {{true, vk::Return}, {false, vk::Return}}},
  };
  std::map<int64_t, Frame> seen;
  w.eventScript = [&](GameWindow& g) {
    seen[g.framesRun] = {g.ship[0].y, g.ship[0].heading, g.shotsFired[0]};
    if (g.framesRun == 15) {
      EXPECT_TRUE(g.menuSelect);
      EXPECT_FALSE(g.duelOver);
    }
    auto it = script.find(g.framesRun);
    if (it != script.end()) {
      for (const KeyEvent& k : it->second) g.events.keys.push_back(k);
    }
    ASSERT_LT(g.framesRun, 40) << "the duel never ended";
  };

  BattleLoop(w);

  EXPECT_TRUE(w.duelOver);
  EXPECT_EQ(w.framesRun, 19);  // Enter tapped in frame 18 is released, and ends the duel, in the next
  // The keys of frame 2 act from that frame's ship control on: turning right, thrusting, firing.
  EXPECT_EQ(seen[2].heading, 0);
  EXPECT_DOUBLE_EQ(seen[3].heading, 0.5);
  EXPECT_DOUBLE_EQ(seen[12].heading, 5);
  EXPECT_DOUBLE_EQ(seen[16].heading, 5);  // released at frame 12
  EXPECT_LT(seen[12].y, seen[3].y);        // pushed up the screen (and turning right)
  EXPECT_EQ(seen[3].fired, 1);             // the laser was charged
  EXPECT_EQ(seen[12].fired, 3);            // then one shot per reload of 4 frames
  EXPECT_EQ(seen[16].fired, 3);
  EXPECT_FALSE(w.ship[0].alive);
  EXPECT_FALSE(w.ship[1].alive);
  EXPECT_FALSE(w.ship[0].thrustHeld || w.ship[0].turnRightHeld || w.ship[0].fireHeld);
}

// Random keys for both players, every weapon fitted, gravity on: ship fields stay numbers and every
// projectile stays inside its pool's range.
TEST(ControlsBattleTest, RandomKeysForThousandsOfFrames) {
  ManualClock clock;
  GameWindow w;
  w.headless = true;
  w.clock = &clock;
  w.random.Seed(11);
  w.back = Surface(800, 600);
  w.trainingMode = false;
  w.options.gravityOn = true;
  w.options.debrisOn = true;
  w.options.criticalsOn.fill(true);
  const std::array<double, 7> keys1 = {'W', 'A', 'D', 'S', 'Q', 'E', 'X'};
  const std::array<double, 7> keys2 = {'I', 'J', 'L', 'K', 'U', 'O', 'P'};
  w.controlTable = {keys1, keys2};
  auto fit = [&] {
    for (int p = 0; p < 2; ++p) {
      ShipState& s = w.ship[p];
      s = ShipState{};
      s.x = p == 0 ? 100 : 700;
      s.y = 240;
      s.radius = p == 0 ? 20 : 60;
      s.hull = s.hullMax = 150;
      s.shield = s.shieldMax = 100;
      s.turnRate = 0.7;
      s.mass = 1.5;
      s.maxSpeed = 6;
      s.laserReload = 3;
      s.shotEnergy = 4;
      s.energyRate = 2;
      s.laserPattern = 1 + (p * 2 + static_cast<int>(w.framesRun / 500)) % 5;
      s.hasIonCannon = s.hasMissiles = s.hasTorpedoes = s.hasElectroGun = s.hasChaingun = true;
      s.hasTargeting = s.twinLauncher = s.selfRepair = true;
      s.missiles = s.torpedoes = 30;
      s.chaingunAmmo = 40;
    }
  };
  fit();
  uint64_t state = 77;
  auto next = [&state] {  // the script's own generator, apart from the game's
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<int>((state >> 33) % 1000);
  };
  w.eventScript = [&](GameWindow& g) {
    for (int p = 0; p < 2; ++p) {
      const auto& table = p == 0 ? keys1 : keys2;
      for (int e = 0; e < 7; ++e) {
        const int roll = next();
        const int code = static_cast<int>(table[static_cast<size_t>(e)]);
        if (e == key_entry::SelfDestruct) {
          if (roll < 2) g.events.keys.insert(g.events.keys.end(), {{true, code}, {true, code}});  // rarely
        } else if (roll < 60) {
          g.events.keys.push_back({roll % 2 == 0 || e >= 4, code});
        }
      }
    }
    if (!g.ship[0].alive || !g.ship[1].alive) g.events.keys.push_back({false, vk::Return});
  };

  int duels = 0;
  while (w.framesRun < 5000) {
    BattleLoop(w);
    ++duels;
    for (const ShipState& s : w.ship) {
      for (double v : {s.x, s.y, s.vx, s.vy, s.heading, s.energy, s.shield, s.hull, s.laserCooldown, s.nextBarrel}) {
        ASSERT_TRUE(std::isfinite(v)) << "frame " << w.framesRun;
      }
      EXPECT_GE(s.heading, 0);
      EXPECT_LE(s.heading, 31);
      EXPECT_GE(s.weapon, 0);
      EXPECT_LE(s.weapon, 5);
      EXPECT_GE(s.powerRedir, 0);
      EXPECT_LE(s.powerRedir, 2);
    }
    for (int arc : w.electroArcs) EXPECT_TRUE(arc >= 0 && arc <= 2);
    w.duelOver = false;
    fit();
  }
  EXPECT_GT(duels, 1);
  EXPECT_GT(w.shotsFired[0], 0);
  EXPECT_GT(w.shotsFired[1], 0);
}

}  // namespace
}  // namespace quorvex
