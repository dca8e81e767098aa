// The game flow: armadas after a lost ship, "game over!", and whole scripted runs from the main menu
// through a battle and back to the main menu until "quit".
#include <gtest/gtest.h>

#include "game/flow/GameFlow.h"
#include "game/flow/Startup.h"
#include "game/screens/Screens.h"
#include "platform/Keys.h"
#include "tests/screens/ScreensTesting.h"
#include "tests/support/SurfaceTesting.h"

namespace quorvex {
namespace {

using testing::Down;
using testing::Enter;
using testing::KeyDown;
using testing::Up;

std::vector<int> Fleet(const GameWindow& w, int player) {
  std::vector<int> ships;
  for (int v : w.fleet[player - 1]) {
    if (v == -1) break;
    ships.push_back(v);
  }
  return ships;
}

void SetFleet(GameWindow& w, int player, const std::vector<int>& ships) {
  w.fleet[player - 1].fill(-1);
  for (size_t i = 0; i < ships.size(); ++i) w.fleet[player - 1][i] = ships[i];
}

// The armadas after a duel: who was destroyed, from which slot, and what is left.
struct FleetCase {
  const char* name;
  std::vector<int> fleet1, fleet2;
  std::array<int, 2> slot;
  std::array<bool, 2> alive;
  bool gameOver;
  std::vector<int> after1, after2;
  std::array<int, 2> slotAfter;
};
void PrintTo(const FleetCase& c, std::ostream* os) { *os << c.name; }

class FleetUpdateTest : public ::testing::TestWithParam<FleetCase> {};

TEST_P(FleetUpdateTest, LostShipsLeaveTheirArmadas) {
  const FleetCase& c = GetParam();
  GameWindow w;
  SetFleet(w, 1, c.fleet1);
  SetFleet(w, 2, c.fleet2);
  w.fleetSlot = c.slot;
  w.ship[0].alive = c.alive[0];
  w.ship[1].alive = c.alive[1];
  w.ship[0].hull = c.alive[0] ? 10 : 0;
  w.ship[1].hull = c.alive[1] ? 10 : 0;
  EXPECT_EQ(UpdateFleets(w), c.gameOver);
  EXPECT_EQ(Fleet(w, 1), c.after1);
  EXPECT_EQ(Fleet(w, 2), c.after2);
  EXPECT_EQ(w.fleetSlot, c.slotAfter);
  for (int p = 0; p < 2; ++p) {
    for (int k = 31; k < kFleetSlots; ++k) ASSERT_EQ(w.fleet[p][k], -1) << k;
  }
}

std::vector<int> Range(int n) {
  std::vector<int> v;
  for (int i = 0; i < n; ++i) v.push_back(i);
  return v;
}
std::vector<int> RangeWithout(int n, int gone) {
  std::vector<int> v = Range(n);
  v.erase(v.begin() + gone);
  return v;
}

INSTANTIATE_TEST_SUITE_P(
    Duels, FleetUpdateTest,
    ::testing::Values(
        FleetCase{"MiddleShipLost", {10, 11, 12}, {4}, {1, 0}, {false, true}, false, {10, 12}, {4}, {0, 0}},
        FleetCase{"BothLoseAShip", {10, 11}, {4, 5, 6}, {0, 2}, {false, false}, false, {11}, {4, 5}, {0, 0}},
        FleetCase{"FullArmadaLosesItsLast", Range(31), {4}, {30, 0}, {false, true}, false, Range(30), {4}, {0, 0}},
        FleetCase{"FullArmadaLosesItsFirst", Range(31), {4}, {0, 0}, {false, true}, false, RangeWithout(31, 0), {4},
                  {0, 0}},
        FleetCase{"PlayerOneLastShip", {10}, {4, 5}, {0, 1}, {false, true}, true, {10}, {4, 5}, {0, 1}},
        FleetCase{"PlayerTwoLastShip", {10, 11}, {4}, {1, 0}, {true, false}, true, {10, 11}, {4}, {1, 0}},
        FleetCase{"BothLastShips", {10}, {4}, {0, 0}, {false, false}, true, {10}, {4}, {0, 0}},
        // Player 1's loss is not written into his armada when player 2's was the last: the results
        // still see player 1 as the winner.
        FleetCase{"LastShipOfOneSideEndsTheBattleFirst", {10, 11}, {4}, {0, 0}, {false, false}, true, {10, 11}, {4},
                  {0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

// What a scripted run of the game saw, frame by frame.
struct Trace {
  int calls = 0;  // times the window processed its events
  std::string outcome;
};

// A run of the stock game from start-up: each step waits for a number of event calls, then sends keys
// or changes the battle.
struct Step {
  int atCall;
  std::function<void(GameWindow&)> act;
};

std::function<void(GameWindow&)> Keys(std::vector<KeyEvent> keys) {
  return [keys](GameWindow& g) {
    for (const KeyEvent& k : keys) g.events.keys.push_back(k);
  };
}

// Both ships go down at once (the escape ships of the stock ships would fly on after F5).
void DestroyBoth(GameWindow& g) {
  for (ShipState& s : g.ship) {
    s.hull = 0;
    s.alive = false;
  }
}

std::unique_ptr<GameWindow> RunScripted(ManualClock* clock, std::vector<Step> steps, Trace* trace) {
  auto w = std::make_unique<GameWindow>();
  w->headless = true;
  w->messages.headless = true;
  w->programDir = testing::ProgramDir();
  w->clock = clock;
  w->eventScript = [steps, trace](GameWindow& g) {
    g.options.soundOn = false;
    ++trace->calls;
    for (const Step& s : steps) {
      if (s.atCall == trace->calls) s.act(g);
    }
  };
  RunGame(*w);
  return w;
}

// menu "battle" -> armadas "done" -> ships "begin" -> duel, both ships destroyed -> Enter ends it ->
// "game over!" -> results -> main menu -> "quit".
TEST(ScriptedGameTest, BattleToResultsAndBackToTheMenu) {
  ManualClock clock;
  Trace trace;
  Surface gameOver, results, menuAgain;
  std::vector<Step> steps = {
      {2, Keys({Enter()})},         // main menu: battle
      {4, Keys({Enter()})},         // armada selection: done
      {6, Keys({Enter()})},         // ship selection: begin
      {9, DestroyBoth},             // duel frame 3
      {11, Keys({Enter()})},        // duel over
      {13, [&](GameWindow& g) { gameOver = g.back; g.events.keys.push_back(Enter()); }},
      {15, [&](GameWindow& g) { results = g.back; trace.outcome = OutcomeLine(g); g.events.keys.push_back(Enter()); }},
      {17, [&](GameWindow& g) { menuAgain = g.back; Keys({Up(), Enter()})(g); }},
  };
  auto w = RunScripted(&clock, steps, &trace);
  EXPECT_TRUE(w->messages.shown.empty()) << w->messages.shown[0].text;
  EXPECT_EQ(trace.calls, 17);
  EXPECT_EQ(w->framesRun, 5);  // battle frames: calls 7 to 11
  EXPECT_EQ(trace.outcome, "tie game!");
  EXPECT_FALSE(w->trainingMode);
  EXPECT_EQ(w->duelsPlayed, 0);
  ASSERT_EQ(results.width(), 800);
  testing::WritePng(gameOver, testing::TestOutputDir() / "flow-game-over.png");
  testing::WritePng(results, testing::TestOutputDir() / "flow-results.png");
  testing::WritePng(menuAgain, testing::TestOutputDir() / "flow-menu-again.png");
  EXPECT_GT(testing::CountLitPixels(gameOver, Rect{335, 327, 465, 339}), 30);
  EXPECT_GT(testing::CountLitPixels(results, Rect{304, 102, 496, 409}), 1000);
  EXPECT_GT(testing::CountLitPixels(menuAgain, Rect{125, 0, 672, 213}), 1000);
}

// The pause menu's "quit" goes straight back to the main menu: no results, armadas untouched.
TEST(ScriptedGameTest, PauseQuitReturnsToTheMenu) {
  ManualClock clock;
  Trace trace;
  std::vector<int> fleetAtMenu;
  bool trainingInDuel = false;
  std::vector<Step> steps = {
      {2, Keys({Down(), Enter()})},         // main menu: training
      {4, Keys({Enter()})},                 // armadas: done
      {6, Keys({Enter()})},                 // ships: begin
      {8, [&](GameWindow& g) { trainingInDuel = g.trainingMode; Keys({KeyDown(vk::Escape)})(g); }},  // pause
      {10, Keys({Up(), Enter()})},          // pause menu: quit
      {12, [&](GameWindow& g) { fleetAtMenu = Fleet(g, 2); Keys({Up(), Enter()})(g); }},
  };
  auto w = RunScripted(&clock, steps, &trace);
  EXPECT_TRUE(w->messages.shown.empty());
  EXPECT_EQ(trace.calls, 12);
  EXPECT_EQ(w->framesRun, 2);
  EXPECT_TRUE(trainingInDuel);
  EXPECT_FALSE(fleetAtMenu.empty());
  EXPECT_EQ(Fleet(*w, 2), fleetAtMenu);
}

// "cancel" on the armadas goes back to the main menu.
TEST(ScriptedGameTest, ArmadaCancelReturnsToTheMenu) {
  ManualClock clock;
  Trace trace;
  std::vector<Step> steps = {
      {2, Keys({Enter()})},           // main menu: battle
      {4, Keys({Down(), Enter()})},   // armadas: cancel
      {6, Keys({Up(), Enter()})},     // main menu again: quit
  };
  auto w = RunScripted(&clock, steps, &trace);
  EXPECT_TRUE(w->messages.shown.empty());
  EXPECT_EQ(trace.calls, 6);
  EXPECT_EQ(w->framesRun, 0);
}

}  // namespace
}  // namespace quorvex
