// A battle flown with a gamepad and no gamepad settings: the pad drives the menus and flies, and
// the recording plays back to the same state whatever is plugged into the watching machine.
#include <SDL.h>
#include <gtest/gtest.h>

#include <sstream>

#include "game/replay/Player.h"
#include "game/replay/Recorder.h"
#include "game/replay/ReplayFile.h"
#include "platform/Files.h"
#include "platform/Keys.h"
#include "tests/replay/ReplayTesting.h"
#include "tests/support/TempDir.h"
#include "tests/support/VirtualPad.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;

// What the pad battle went through.
struct Seen {
  bool training = false, armada = false, thrust = false, paused = false, resumed = false;
  double shots = 0;
  int tookOver = -1;
};

class GamepadReplay : public ::testing::TestWithParam<int> {};

// The parameter: the frame the pad is plugged in (0: before the game starts). Until then the
// menus get their keys from the keyboard.
TEST_P(GamepadReplay, PadBattleDrivesTheMenusFliesAndReplays) {
  const int pluggedAt = GetParam();
  testing::TempDir dir;
  const fs::path game = dir.path() / "game";
  testing::MakeProgramFolder(game);
  ASSERT_EQ(0, SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER)) << SDL_GetError();
  SDL_Joystick* pad = pluggedAt == 0 ? testing::PlugVirtualPad() : nullptr;

  Seen seen;
  ManualClock clock;
  auto w = std::make_unique<GameWindow>();
  w->headless = true;
  w->programDir = game;
  w->clock = &clock;
  int frame = 0;
  w->eventScript = [&](GameWindow& g) {
    ++frame;
    const int f = frame;
    if (f == pluggedAt) pad = testing::PlugVirtualPad();
    // A press of one frame: the pad's button, or the key it stands for while there is no pad.
    auto press = [&](int at, int button, int key) {
      if (f != at && f != at + 1) return;
      if (pad) {
        SDL_JoystickSetVirtualButton(pad, button, f == at);
      } else {
        g.events.keys.push_back(KeyEvent{f == at, key});
      }
    };
    press(5, SDL_CONTROLLER_BUTTON_DPAD_DOWN, vk::Down);  // "training"
    press(10, SDL_CONTROLLER_BUTTON_A, vk::Return);
    press(20, SDL_CONTROLLER_BUTTON_X, ' ');            // a ship for the armada
    press(40, SDL_CONTROLLER_BUTTON_A, vk::Return);     // "done"
    press(50, SDL_CONTROLLER_BUTTON_A, vk::Return);     // "begin"
    if (pad && f > 60 && f < 200) {
      SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, f % 40 < 25 ? 30000 : -32768);
      SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, f % 50 < 10 ? -25000 : f % 50 < 14 ? 4000 : 0);
      SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_X, f % 6 < 3);
      SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_Y, f % 60 == 0);
    }
    press(210, SDL_CONTROLLER_BUTTON_START, vk::Escape);  // pause
    press(220, SDL_CONTROLLER_BUTTON_START, vk::Return);  // "resume"
    seen.training |= g.trainingMode && g.menuActive && f > 12 && f < 40;
    seen.armada |= g.fleet[0][0] >= 0 && f < 60;
    seen.thrust |= g.ship[0].thrustHeld && !g.menuActive;
    seen.paused |= g.help.screen == ScreenId::Pause;
    seen.resumed |= seen.paused && g.help.screen == ScreenId::Duel;
    seen.shots = g.shotsFired[0];
    if (seen.tookOver < 0 && g.inputDevice[0] == 3) seen.tookOver = f;
    if (f == 260) g.events.closeRequested = true;
  };
  const fs::path replays = dir.path() / "replays";
  RunRecordedGame(*w, replays);
  w.reset();
  testing::UnplugVirtualPad(pad);
  SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);

  EXPECT_TRUE(seen.training) << "the pad chose training";
  EXPECT_TRUE(seen.armada) << "the pad's fire added a ship";
  EXPECT_TRUE(seen.thrust);
  EXPECT_GT(seen.shots, 0);
  EXPECT_TRUE(seen.paused) << "Start paused the duel";
  EXPECT_TRUE(seen.resumed) << "Start resumed it";
  EXPECT_EQ(seen.tookOver, pluggedAt == 0 ? 1 : pluggedAt + 1) << "the pad flies from the frame it is there";

  const std::vector<std::string> names = ListFilesWithExtension(replays, ".qvr");
  ASSERT_FALSE(names.empty());
  // Watched with no pad attached: the recording holds everything the pad did.
  std::ostringstream out, err;
  PlaybackResult result;
  EXPECT_EQ(0, PlayReplay(replays / names.back(), game, ReplayMode::Timedemo, out, err, &result)) << err.str();
  EXPECT_FALSE(result.divergedAt.has_value()) << err.str();
  EXPECT_GT(result.frames, 200);
  // The pad is in the recording as a joystick is: its states, and the frame it took over.
  Replay recorded;
  std::string error;
  ASSERT_TRUE(LoadReplay(replays / names.back(), &recorded, &error)) << error;
  size_t changes = 0, takeOvers = 0;
  for (const auto& [at, f] : recorded.frames) {
    changes += at > 0 ? f.sticks.size() : 0;
    for (const auto& [player, device] : f.devices) takeOvers += player == 0 && device == 3;
  }
  EXPECT_GT(changes, 20u);
  EXPECT_EQ(takeOvers, pluggedAt == 0 ? 0u : 1u);
}

INSTANTIATE_TEST_SUITE_P(Plugged, GamepadReplay, ::testing::Values(0, 120),
                         [](const auto& info) { return info.param == 0 ? "FromTheStart" : "MidBattle"; });

}  // namespace
}  // namespace quorvex
