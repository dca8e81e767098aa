// The game's life from start-up to shutdown, headless: duels until the game is left, files that
// stop the game in an orderly way, run-time errors reaching the error report, and players whose
// joystick is not attached falling back to the keyboard.
#include <SDL.h>
#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>

#include "game/core/GameError.h"
#include "game/flow/Startup.h"
#include "platform/Keys.h"
#include "tests/core/CoreTesting.h"

namespace quorvex {
namespace {

using testing::HeadlessWindow;
using testing::SampleShip;
using testing::ShipTextWith;
using testing::TempFolder;
using testing::WriteShip;
using testing::WriteText;

void TwoShips(const std::filesystem::path& dir) {
  WriteShip(dir, "alpha.shp", SampleShip("Alpha", "alpha.bmp"));
  auto beta = SampleShip("Beta", "beta.bmp");
  beta.hull = 120;
  WriteShip(dir, "beta.shp", beta);
  testing::WriteGamePictures(dir, {"alpha.bmp", "beta.bmp"});
}

// Confirms every menu screen with Enter: "battle" in the main menu, "done" with the armadas as they
// are, "begin" with the first ship of each armada.
void ThroughMenus(GameWindow& g) {
  if (g.menuActive) g.events.keys.push_back({false, vk::Return});
}

// The game after it ended: everything released.
void ExpectShutDown(const GameWindow& w) {
  EXPECT_TRUE(w.back.empty());
  EXPECT_FALSE(w.display.open);
  EXPECT_EQ(w.joysticks.device[0], nullptr);
}

// How the game is left during a duel, from the third frame on, called each time the window
// processes its events.
struct LeaveCase {
  const char* name;
  std::function<void(GameWindow&)> leave;
};
void PrintTo(const LeaveCase& c, std::ostream* os) { *os << c.name; }

class LeaveGameTest : public ::testing::TestWithParam<LeaveCase> {};

TEST_P(LeaveGameTest, DuelsRunUntilTheGameIsLeft) {
  TempFolder dir;
  TwoShips(dir.path());
  ManualClock clock;
  auto w = HeadlessWindow(dir.path(), &clock);
  bool backSurfaceDuringDuel = false;
  std::array<std::string, 2> flying;
  w->eventScript = [&](GameWindow& g) {
    backSurfaceDuringDuel = g.back.width() == 800 && g.back.height() == 600;
    flying = {g.ship[0].spriteFile, g.ship[1].spriteFile};
    if (g.framesRun < 3) {
      ThroughMenus(g);
    } else {
      GetParam().leave(g);
    }
  };
  RunGame(*w);

  EXPECT_EQ(w->framesRun, 3);
  EXPECT_TRUE(w->messages.shown.empty());
  EXPECT_TRUE(backSurfaceDuringDuel);
  // Both armadas start with the first ship of the list.
  EXPECT_EQ(flying, (std::array<std::string, 2>{"alpha.bmp", "alpha.bmp"}));
  EXPECT_EQ(w->fleet[0][0], 0);
  EXPECT_EQ(w->fleet[1][0], 0);
  ExpectShutDown(*w);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, LeaveGameTest,
    ::testing::Values(LeaveCase{"EscapeThenQuitTwice",
                                [](GameWindow& g) {
                                  if (!g.menuActive) {
                                    g.events.keys.push_back({true, vk::Escape});  // pause
                                  } else {
                                    // "quit" in the pause menu, then "quit" in the main menu
                                    g.events.keys.push_back({false, vk::Up});
                                    g.events.keys.push_back({false, vk::Return});
                                  }
                                }},
                      LeaveCase{"WindowClosed", [](GameWindow& g) { g.events.closeRequested = true; }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GameFlowTest, OtherKeysDoNotEndTheGame) {
  TempFolder dir;
  TwoShips(dir.path());
  ManualClock clock;
  auto w = HeadlessWindow(dir.path(), &clock);
  w->eventScript = [](GameWindow& g) {
    if (g.framesRun == 0) ThroughMenus(g);
    if (g.framesRun == 1) g.events.keys.push_back({true, vk::Return});
    if (g.framesRun == 2) g.events.keys.push_back({false, vk::Escape});
    if (g.framesRun == 3) g.events.keys.push_back({true, 'A'});
    if (g.framesRun == 5) g.events.closeRequested = true;
  };
  RunGame(*w);
  EXPECT_EQ(w->framesRun, 5);
  EXPECT_TRUE(w->events.keys.empty());
}

// In a battle (not training) both ships answer their players' keys.
TEST(GameFlowTest, PlayerTwoFliesFromTheKeyboard) {
  TempFolder dir;
  TwoShips(dir.path());
  ManualClock clock;
  auto w = HeadlessWindow(dir.path(), &clock);
  double headingBefore = -1, headingAfter = -1;
  w->eventScript = [&](GameWindow& g) {
    if (g.framesRun == 0) ThroughMenus(g);
    if (g.framesRun == 1) {
      headingBefore = g.ship[1].heading;
      g.events.keys.push_back({true, static_cast<int>(g.controlTable[1][2])});  // turn right
    }
    if (g.framesRun == 3) {
      headingAfter = g.ship[1].heading;
      g.events.closeRequested = true;
    }
  };
  RunGame(*w);
  EXPECT_FALSE(w->trainingMode);
  EXPECT_GT(headingAfter, headingBefore);
}

TEST(GameFlowTest, OneShipFliesForBothPlayers) {
  TempFolder dir;
  WriteShip(dir.path(), "solo.shp", SampleShip("Solo", "solo.bmp"));
  testing::WriteGamePictures(dir.path(), {"solo.bmp"});
  ManualClock clock;
  auto w = HeadlessWindow(dir.path(), &clock);
  std::array<std::string, 2> flying;
  w->eventScript = [&](GameWindow& g) {
    ThroughMenus(g);
    if (g.framesRun == 0) return;
    flying = {g.ship[0].spriteFile, g.ship[1].spriteFile};
    g.events.closeRequested = true;
  };
  RunGame(*w);
  EXPECT_EQ(flying, (std::array<std::string, 2>{"solo.bmp", "solo.bmp"}));
}

// Player 2's armada holds alpha and beta; alpha goes down, beta flies the next duel.
TEST(GameFlowTest, AFinishedDuelLoadsTheNextShip) {
  TempFolder dir;
  TwoShips(dir.path());
  ManualClock clock;
  auto w = HeadlessWindow(dir.path(), &clock);
  double hullInSecondDuel = -1;
  bool aliveInSecondDuel = false;
  w->eventScript = [&](GameWindow& g) {
    if (g.framesRun == 0) g.fleet[1][1] = 1;
    ThroughMenus(g);
    if (g.framesRun == 2 && !g.menuActive) {
      g.ship[1].hull = 0;
      g.ship[1].alive = false;
      g.ship[0].hull = 33;  // the survivor keeps its damage
      g.duelOver = true;
    }
    if (g.framesRun == 3) {
      hullInSecondDuel = g.ship[1].hull;
      aliveInSecondDuel = g.ship[1].alive;
      EXPECT_EQ(g.ship[0].hull, 33);
      EXPECT_EQ(g.duelsPlayed, 1);
      EXPECT_FALSE(g.duelOver);
      g.events.closeRequested = true;
    }
  };
  RunGame(*w);
  EXPECT_EQ(hullInSecondDuel, 120);
  EXPECT_TRUE(aliveInSecondDuel);
}

// A folder the game cannot start from: its message, then an orderly end before any frame.
struct BadStartCase {
  const char* name;
  std::function<void(const std::filesystem::path&)> make;
  std::string message;  // "<folder>" stands for the folder's path
};
void PrintTo(const BadStartCase& c, std::ostream* os) { *os << c.name; }

class BadStartTest : public ::testing::TestWithParam<BadStartCase> {};

TEST_P(BadStartTest, MessageThenOrderlyEnd) {
  const BadStartCase& c = GetParam();
  TempFolder dir;
  c.make(dir.path());
  ManualClock clock;
  auto w = HeadlessWindow(dir.path(), &clock);
  RunGame(*w);

  std::string expected = c.message;
  const size_t at = expected.find("<folder>");
  if (at != std::string::npos) expected.replace(at, 8, dir.path().string());
  ASSERT_EQ(w->messages.shown.size(), 1u);
  EXPECT_EQ(w->messages.shown[0].title, "ERROR!");
  EXPECT_EQ(w->messages.shown[0].text, expected);
  EXPECT_EQ(w->framesRun, 0);
  ExpectShutDown(*w);
}

const ShipDefinition kShip = SampleShip("Ship", "ship.bmp");

INSTANTIATE_TEST_SUITE_P(
    Folders, BadStartTest,
    ::testing::Values(
        BadStartCase{"Version11FirstShip",
                     [](const auto& d) {
                       WriteText(d, "a.shp", ShipTextWith(kShip, kShipVersion11, 29));
                       WriteShip(d, "b.shp", kShip);
                     },
                     "Not a valid ship definion: a.shp"},
        BadStartCase{"ShortFirstShip",
                     [](const auto& d) { WriteText(d, "a.shp", ShipTextWith(kShip, kShipVersion12, 30)); },
                     "The ship file is incomplete (fewer than 31 lines): a.shp"},
        BadStartCase{"NoShipFiles", [](const auto& d) { WriteText(d, "readme.txt", "x"); },
                     "No ship definitions (*.shp) found in the folder: <folder>"}),
    [](const auto& info) { return std::string(info.param.name); });

// A run-time error raised during a duel and the report it gives.
struct ErrorCase {
  const char* name;
  std::function<void()> raise;
  std::string report;
};
void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.name; }

class ErrorReportTest : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ErrorReportTest, EveryRunTimeErrorReachesTheReport) {
  TempFolder dir;
  TwoShips(dir.path());
  ManualClock clock;
  auto w = HeadlessWindow(dir.path(), &clock);
  w->eventScript = [](GameWindow& g) {
    ThroughMenus(g);
    if (g.framesRun == 2) GetParam().raise();
  };
  RunGame(*w);

  ASSERT_EQ(w->messages.shown.size(), 1u);
  EXPECT_EQ(w->messages.shown[0].title, "ERROR!");
  EXPECT_EQ(w->messages.shown[0].text, GetParam().report);
  EXPECT_EQ(w->framesRun, 2);
  ExpectShutDown(*w);
}

INSTANTIATE_TEST_SUITE_P(
    Errors, ErrorReportTest,
    ::testing::Values(
        ErrorCase{"GameError", [] { throw GameError(kErrorFileNotFound, "File not found: boom.bmp"); },
                  "Error #53. File not found: boom.bmp"},
        ErrorCase{"NegativeNumber", [] { throw GameError(kErrorAutomation, "Automation error"); },
                  "Error #-2147467259. Automation error"},
        ErrorCase{"SubscriptOutOfRange", [] { throw std::out_of_range("array::at"); },
                  "Error #9. Subscript out of range"},
        ErrorCase{"OutOfMemory", [] { throw std::bad_alloc(); }, "Error #7. Out of memory"},
        ErrorCase{"AnyOtherException", [] { throw std::runtime_error("the hull went sideways"); },
                  "Error #51. the hull went sideways"},
        ErrorCase{"NotAnExceptionAtAll", [] { throw 42; }, "Error #51. Internal error"}),
    [](const auto& info) { return std::string(info.param.name); });

// Input devices chosen against joysticks attached.
struct FallbackCase {
  const char* name;
  int attached;
  std::array<uint8_t, 2> chosen;
  std::array<uint8_t, 2> expected;
};
void PrintTo(const FallbackCase& c, std::ostream* os) { *os << c.name; }

class JoystickFallbackTest : public ::testing::TestWithParam<FallbackCase> {
 protected:
  void SetUp() override { ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError(); }
  void TearDown() override {
    while (SDL_NumJoysticks() > 0) SDL_JoystickDetachVirtual(0);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  }
};

TEST_P(JoystickFallbackTest, MissingJoystickFallsBackToTheKeyboard) {
  const FallbackCase& c = GetParam();
  for (int i = 0; i < c.attached; ++i) {
    ASSERT_GE(SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 8, 0), 0) << SDL_GetError();
  }
  ManualClock clock;
  auto w = HeadlessWindow(".", &clock);
  w->inputDevice = c.chosen;
  SetupDirectX(*w);
  EXPECT_EQ(w->inputDevice, c.expected);
  EXPECT_EQ(w->joysticks.device[0] != nullptr, c.attached >= 1);
  EXPECT_EQ(w->joysticks.device[1] != nullptr, c.attached >= 2);
  EXPECT_EQ(w->back.width(), 800);
  EXPECT_EQ(w->back.height(), 600);
  EXPECT_FALSE(w->display.open);
  ShutdownGame(*w);
}

INSTANTIATE_TEST_SUITE_P(
    Devices, JoystickFallbackTest,
    ::testing::Values(FallbackCase{"NoneAttachedBothKeyboard", 0, {1, 2}, {0, 0}},
                      FallbackCase{"OneAttachedSecondFallsBack", 1, {2, 1}, {0, 1}},
                      FallbackCase{"OneAttachedBothOnFirst", 1, {1, 1}, {1, 1}},
                      FallbackCase{"TwoAttachedKept", 2, {2, 1}, {2, 1}},
                      FallbackCase{"KeyboardStaysKeyboard", 2, {0, 0}, {0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quorvex
