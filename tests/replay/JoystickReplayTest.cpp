// A battle flown with a joystick replays the same: the game reads the joystick once a frame, and
// the replay gives it back the states of those frames.
#include <SDL.h>
#include <gtest/gtest.h>

#include <sstream>

#include "game/replay/Player.h"
#include "game/config/ConfigFiles.h"
#include "platform/Keys.h"
#include "tests/replay/ReplayTesting.h"
#include "tests/support/TempDir.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;

// Between two frames the power button goes down and up again while the menus poll the joystick.
struct JostlingClock : ManualClock {
  SDL_Joystick* stick = nullptr;
  int sleeps = 0;
  void Sleep(int ms) override {
    ManualClock::Sleep(ms);
    if (stick != nullptr) SDL_JoystickSetVirtualButton(stick, 1, ++sleeps % 4 == 1);
  }
};

TEST(JoystickReplay, StickAndButtonsReplayFrameForFrame) {
  testing::TempDir dir;
  const fs::path game = dir.path() / "game";
  testing::MakeProgramFolder(game);
  KeyTable keys;
  keys.player1 = {0, 1, 2, 4, 5, 6, 7};  // -X left, +X right, -Y thrust, buttons 1 to 4: fire, power, eject, weapon
  std::string error;
  ASSERT_TRUE(SaveKeysFile(game / "keys.cfg", keys, &error)) << error;
  ASSERT_TRUE(SaveDeviceFile(game / "device.cfg", DeviceConfig{1, 0}, &error)) << error;

  ASSERT_EQ(0, SDL_InitSubSystem(SDL_INIT_JOYSTICK)) << SDL_GetError();
  const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 12, 0);
  ASSERT_GE(index, 0) << SDL_GetError();

  JostlingClock clock;
  bool thrust = false;
  std::set<int> power;
  const fs::path file = testing::RecordScriptedBattle(game, dir.path() / "replays", nullptr, [&](GameWindow& w, int f) {
    SDL_Joystick* j = w.joysticks.device[0];
    ASSERT_NE(j, nullptr);
    clock.stick = w.menuActive ? j : nullptr;
    SDL_JoystickSetVirtualAxis(j, 0, f % 40 < 10 ? 20000 : f % 40 < 14 ? -9000 : 0);
    SDL_JoystickSetVirtualAxis(j, 1, f % 30 < 18 ? -30000 : 0);
    SDL_JoystickSetVirtualButton(j, 0, f % 7 < 3);   // fire
    if (!w.menuActive) SDL_JoystickSetVirtualButton(j, 1, f % 45 == 0);  // power, one frame
    SDL_JoystickSetVirtualButton(j, 3, !w.menuActive && f % 25 < 2);  // weapon (the arrow has only lasers)
    if (!w.menuActive) {
      thrust |= w.ship[0].thrustHeld;
      power.insert(w.ship[0].powerRedir);
    }
    // The armada selection stays open until frame 100 while the clock jostles the power button.
    if (f > 4 && f < 100) std::erase_if(w.events.keys, [](const KeyEvent& k) { return k.code == vk::Return; });
    if (f == 100 || f == 103) w.events.keys.push_back({false, vk::Return});
    if (f == 260) w.events.closeRequested = true;
  }, &clock);
  SDL_JoystickDetachVirtual(index);
  SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  EXPECT_TRUE(thrust);
  EXPECT_EQ(power.size(), 3u) << "the power button went round";

  Replay recorded;
  ASSERT_TRUE(LoadReplay(file, &recorded, &error)) << error;
  size_t changes = 0;
  for (const auto& [frame, f] : recorded.frames) changes += frame > 0 ? f.sticks.size() : 0;
  EXPECT_GT(changes, 50u);

  std::ostringstream out, err;
  PlaybackResult result;
  EXPECT_EQ(0, PlayReplay(file, game, ReplayMode::Timedemo, out, err, &result)) << err.str();
  EXPECT_FALSE(result.divergedAt.has_value()) << err.str();
  EXPECT_EQ(result.frames, recorded.frameCount);  // every recorded frame, and no more
}

// A joystick plugged in halfway through takes over from the keyboard: the replay plays the switch
// in the same frame, whatever is plugged in when it is watched.
TEST(JoystickReplay, AJoystickPluggedInMidBattleReplays) {
  testing::TempDir dir;
  const fs::path game = dir.path() / "game";
  testing::MakeProgramFolder(game);
  KeyTable keys;
  keys.player1 = {0, 1, 2, 4, 5, 6, 7};
  std::string error;
  ASSERT_TRUE(SaveKeysFile(game / "keys.cfg", keys, &error)) << error;
  ASSERT_TRUE(SaveDeviceFile(game / "device.cfg", DeviceConfig{1, 0}, &error)) << error;
  ASSERT_EQ(0, SDL_InitSubSystem(SDL_INIT_JOYSTICK)) << SDL_GetError();

  int index = -1, tookOver = -1;
  SDL_Joystick* held = nullptr;
  const fs::path file = testing::RecordScriptedBattle(game, dir.path() / "replays", nullptr, [&](GameWindow& w, int f) {
    if (f == 130) {
      index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 12, 0);
      // A real stick rests a little off the middle; the game takes where it rests as its centre.
      held = SDL_JoystickOpen(index);
      SDL_JoystickSetVirtualAxis(held, 0, 300);
      SDL_JoystickSetVirtualAxis(held, 1, -200);
    }
    if (tookOver < 0 && w.inputDevice[0] == 1) tookOver = f;
    if (SDL_Joystick* j = w.joysticks.device[0]) SDL_JoystickSetVirtualAxis(j, 1, f % 30 < 18 ? -30000 : 0);
    if (f == 260) w.events.closeRequested = true;
  });
  if (held != nullptr) SDL_JoystickClose(held);
  if (index >= 0) SDL_JoystickDetachVirtual(index);
  SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  ASSERT_GE(index, 0);
  EXPECT_GT(tookOver, 130) << "the joystick took over once it was plugged in";

  std::ostringstream out, err;
  PlaybackResult result;
  EXPECT_EQ(0, PlayReplay(file, game, ReplayMode::Timedemo, out, err, &result)) << err.str();
  EXPECT_FALSE(result.divergedAt.has_value()) << err.str();
}

}  // namespace
}  // namespace quorvex
