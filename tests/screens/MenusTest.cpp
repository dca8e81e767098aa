// The main menu, the pause menu and the battle results, driven by key events as a player would.
#include <gtest/gtest.h>

#include <cmath>

#include "game/core/GameExit.h"
#include "game/render/Font.h"
#include "game/screens/MenuLoop.h"
#include "game/screens/Screens.h"
#include "tests/screens/ScreensTesting.h"
#include "tests/support/SurfaceTesting.h"

namespace quorvex {
namespace {

using testing::Down;
using testing::Enter;
using testing::StockWindow;
using testing::Up;

using Batches = std::vector<std::vector<KeyEvent>>;

// A menu choice made with a sequence of key batches, one per frame.
struct MenuCase {
  const char* name;
  Batches keys;
  int chosen;  // 0, 1 or 2: the entry confirmed
};
void PrintTo(const MenuCase& c, std::ostream* os) { *os << c.name; }

const std::vector<MenuCase> kMenuCases = {
    {"FirstEntryAtOnce", {{Enter()}}, 0},
    {"DownOnce", {{Down()}, {Enter()}}, 1},
    {"UpFromFirstWrapsToLast", {{Up()}, {Enter()}}, 2},
    {"DownFromLastWrapsToFirst", {{Down()}, {Down()}, {Down()}, {Enter()}}, 0},
    {"UpAndDownInOneFrame", {{Up(), Down()}, {Enter()}}, 0},
    {"DownTwiceThenUp", {{Down()}, {Down()}, {Up()}, {Enter()}}, 1},
};

class MainMenuTest : public ::testing::TestWithParam<MenuCase> {};

TEST_P(MainMenuTest, ChoiceSetsTrainingOrQuits) {
  ManualClock clock;
  auto w = StockWindow(&clock);
  w->duelsPlayed = 4;
  w->ship[0].alive = false;
  w->pauseRequested = true;
  w->trainingMode = true;
  testing::ScriptKeys(*w, GetParam().keys);
  bool quit = false;
  try {
    MainMenu(*w);
  } catch (const GameExit&) {
    quit = true;
  }
  EXPECT_EQ(quit, GetParam().chosen == 2);
  EXPECT_EQ(w->trainingMode, GetParam().chosen == 1);
  EXPECT_EQ(w->duelsPlayed, 0);
  EXPECT_TRUE(w->ship[0].alive);
  EXPECT_FALSE(w->pauseRequested);
  EXPECT_FALSE(w->menuActive);
  EXPECT_FALSE(w->menuSelect);
}

INSTANTIATE_TEST_SUITE_P(Keys, MainMenuTest, ::testing::ValuesIn(kMenuCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MainMenuTest, TrainingThenBattleClearsTraining) {
  ManualClock clock;
  auto w = StockWindow(&clock);
  testing::ScriptKeys(*w, {{Down()}, {Enter()}});
  MainMenu(*w);
  EXPECT_TRUE(w->trainingMode);
  testing::ScriptKeys(*w, {{Enter()}});
  MainMenu(*w);
  EXPECT_FALSE(w->trainingMode);
}

// The menu shows its title, entries and credit line over the background and the stars.
TEST(MainMenuTest, FrameShowsTitleEntriesAndStars) {
  ManualClock clock;
  auto w = StockWindow(&clock);
  Surface shot;
  int calls = 0;
  testing::ScriptKeys(*w, {{}, {}, {Enter()}}, &calls);
  auto script = w->eventScript;
  w->eventScript = [&](GameWindow& g) {
    script(g);
    if (calls == 2) shot = g.back;
  };
  MainMenu(*w);
  ASSERT_EQ(shot.width(), 800);
  testing::WritePng(shot, testing::TestOutputDir() / "main-menu.png");
  EXPECT_GT(testing::CountLitPixels(shot, Rect{125, 0, 672, 213}), 1000);  // title picture
  EXPECT_GT(testing::CountLitPixels(shot, Rect{290, 574, 290 + 13 * 19, 587}), 20);  // credit line
  EXPECT_LE(std::string(kCreditLine).size(), 21u);
}

class PauseMenuTest : public ::testing::TestWithParam<MenuCase> {};

TEST_P(PauseMenuTest, ChoiceResumesDestroysOrQuits) {
  ManualClock clock;
  auto w = StockWindow(&clock);
  w->ship[0].x = 321;
  w->ship[1].hull = 17;
  w->quitBattle = true;  // left over from an earlier screen
  const ShipState before1 = w->ship[0], before2 = w->ship[1];
  testing::ScriptKeys(*w, GetParam().keys);
  PauseMenu(*w);
  const int chosen = GetParam().chosen;
  EXPECT_EQ(w->quitBattle, chosen == 2);
  EXPECT_EQ(w->ship[0].alive, chosen != 1);
  EXPECT_EQ(w->ship[1].alive, chosen != 1);
  if (chosen != 1) {  // nothing of the battle changes
    EXPECT_EQ(w->ship[0].x, before1.x);
    EXPECT_EQ(w->ship[0].hull, before1.hull);
    EXPECT_EQ(w->ship[1].hull, before2.hull);
    EXPECT_EQ(w->ship[1].energy, before2.energy);
  }
  EXPECT_FALSE(w->menuActive);
  EXPECT_FALSE(w->menuSelect);
}

INSTANTIATE_TEST_SUITE_P(Keys, PauseMenuTest, ::testing::ValuesIn(kMenuCases),
                         [](const auto& info) { return std::string(info.param.name); });

// With no key held the pause menu still draws a frame every 21 ms and its stars move on.
TEST(PauseMenuTest, RedrawsOnItsOwnAtTheFramePace) {
  ManualClock clock;
  auto w = StockWindow(&clock);
  constexpr int kFrames = 12;
  std::vector<int32_t> frameTimes;
  std::vector<Surface> shots;
  w->eventScript = [&](GameWindow& g) {
    frameTimes.push_back(clock.now);
    shots.push_back(g.back);
    if (static_cast<int>(frameTimes.size()) == kFrames) g.events.keys.push_back(Enter());
  };
  PauseMenu(*w);
  ASSERT_EQ(frameTimes.size(), static_cast<size_t>(kFrames));
  for (size_t i = 1; i < frameTimes.size(); ++i) EXPECT_EQ(frameTimes[i] - frameTimes[i - 1], 21) << i;
  testing::WritePng(shots[1], testing::TestOutputDir() / "pause-menu.png");
  // Stars drift: two consecutive frames differ outside the texts.
  const Rect sky{0, 340, 800, 600};
  int changed = 0;
  for (int y = sky.top; y < sky.bottom; ++y) {
    for (int x = sky.left; x < sky.right; ++x) changed += shots[4].pixel(x, y) != shots[5].pixel(x, y);
  }
  EXPECT_GT(changed, 10);
}

// The menu starfield: 100 stars within the screen, speeds 1 to 9, faster stars brighter.
TEST(MenuStarsTest, StarsLieOnScreenAndWrapAtTheRightEdge) {
  GameWindow w;
  w.random.Seed(5);
  w.back = Surface(800, 600);
  MenuStars s = MakeMenuStars(w);
  for (int i = 0; i < kMenuStars; ++i) {
    EXPECT_GE(s.x[i], 0);
    EXPECT_LT(s.x[i], 800);
    EXPECT_LT(s.y[i], 600);
    EXPECT_GE(s.speed[i], 1);
    EXPECT_LT(s.speed[i], 9);
    EXPECT_EQ(s.grey[i], std::min(static_cast<int>(std::nearbyint(30 * s.speed[i] + 25)), 255));
  }
  s.x[0] = 799;
  s.y[0] = 300;
  s.speed[0] = 2;
  s.grey[0] = 200;
  const double second = s.x[1];
  MoveAndDrawMenuStars(w, s, 1);
  EXPECT_EQ(s.x[0], 0);
  EXPECT_EQ(s.x[1], second);  // stars beyond the count stay put
  EXPECT_EQ(w.back.pixel(0, 300), Rgb565(200, 200, 200));
}

TEST(MenuStarsTest, ShakeFollowsTheCosineOfThePhase) {
  const int expected[6] = {3, 2, -1, -3, -2, 1};
  for (int phase = 0; phase < 6; ++phase) EXPECT_EQ(ShakeOffset(phase), expected[phase]) << phase;
}

// How a battle ended, as the results screen sees the armadas and hulls.
struct ResultCase {
  const char* name;
  std::vector<int> fleet1, fleet2;
  double hull1, hull2;
  int outcome;
  std::string outcomeLine, shipsLine;
};
void PrintTo(const ResultCase& c, std::ostream* os) { *os << c.name; }

class ResultsTest : public ::testing::TestWithParam<ResultCase> {};

void SetFleet(GameWindow& w, int player, const std::vector<int>& ships) {
  w.fleet[player - 1].fill(-1);
  for (size_t i = 0; i < ships.size(); ++i) w.fleet[player - 1][i] = ships[i];
}

TEST_P(ResultsTest, OutcomeAndShipsLeft) {
  const ResultCase& c = GetParam();
  GameWindow w;
  SetFleet(w, 1, c.fleet1);
  SetFleet(w, 2, c.fleet2);
  w.ship[0].hull = c.hull1;
  w.ship[1].hull = c.hull2;
  EXPECT_EQ(BattleOutcome(w), c.outcome);
  EXPECT_EQ(OutcomeLine(w), c.outcomeLine);
  EXPECT_EQ(ShipsLeftLine(w), c.shipsLine);
}

INSTANTIATE_TEST_SUITE_P(
    Battles, ResultsTest,
    ::testing::Values(
        ResultCase{"BothLastShipsDestroyed", {3}, {5}, 0, -20, 3, "tie game!", "all ships were destroyed"},
        ResultCase{"PlayerTwoWinsDamaged", {3}, {5, 6, 7}, -1, 12, 2, "player 2 won!", "player 2 still had 3 ship(s)"},
        ResultCase{"PlayerOneWinsWithHisLastShip", {4}, {5}, 50, 0, 1, "player 1 won!", "player 1 still had 1 ship(s)"},
        // The winner's ship went down in the same duel: it does not count among his ships left.
        ResultCase{"WinnerAlsoLostAShip", {1, 2}, {5}, 0, 0, 1, "player 1 won!", "player 1 still had 1 ship(s)"},
        ResultCase{"LastShipStillFlying", {1}, {5}, 10, 20, 0, "", "all ships were destroyed"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ResultsTest, BattleTimeInHoursMinutesSeconds) {
  EXPECT_EQ(BattleTimeText(3600 + 2 * 60 + 5), "battle time: 1h 2min 5sec ");
  EXPECT_EQ(BattleTimeText(59), "battle time: 0h 0min 59sec ");
  EXPECT_EQ(BattleTimeText(-3), "battle time: 0h 0min 0sec ");
}

// The screen itself: "ok" confirms it; the picture, the outcome and the time are on the frame.
TEST(ResultsTest, ScreenShowsTheResultsUntilOk) {
  ManualClock clock;
  auto w = StockWindow(&clock);
  SetFleet(*w, 1, {0});
  SetFleet(*w, 2, {0, 1});
  w->ship[0].hull = 0;
  clock.now = 5000000;
  w->battleStartTick = clock.now - 3725000;  // the clock says 1 h 2 min 5 s have passed
  w->menuSelect = true;  // the Enter that ended "game over!" does not count here
  Surface shot;
  int calls = 0;
  testing::ScriptKeys(*w, {{}, {}, {Enter()}}, &calls);
  auto script = w->eventScript;
  w->eventScript = [&](GameWindow& g) {
    script(g);
    if (calls == 2) shot = g.back;
  };
  BattleResults(*w);
  EXPECT_EQ(calls, 3);
  ASSERT_EQ(shot.width(), 800);
  testing::WritePng(shot, testing::TestOutputDir() / "battle-results.png");
  EXPECT_GT(testing::CountLitPixels(shot, Rect{304, 102, 496, 409}), 1000);  // the picture
  // The time line as the font draws it alone, on the same background.
  GameWindow alone;
  alone.fontSheet = w->fontSheet;
  alone.back = Surface(800, 600);
  // (the seconds may have ticked on while the screen opened; hours and minutes cannot have)
  const std::string time = BattleTimeText(3725);
  FontText(alone, 400 - static_cast<int>(6 * time.size()), 490, "battle time: 1h 2min ", true, false);
  int glyphPixels = 0, matching = 0;
  for (int y = 490; y < 503; ++y) {
    for (int x = 0; x < 800; ++x) {
      if (alone.back.pixel(x, y) == 0) continue;
      ++glyphPixels;
      matching += shot.pixel(x, y) == alone.back.pixel(x, y);
    }
  }
  EXPECT_GT(glyphPixels, 50);
  EXPECT_EQ(matching, glyphPixels);
  EXPECT_FALSE(w->menuSelect);
}

}  // namespace
}  // namespace quorvex
