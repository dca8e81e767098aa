#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/Joystick.h"

namespace quorvex {
namespace {

// Virtual joysticks stand in for real ones: listed, opened and polled the same way.
TEST(Joystick, VirtualDeviceIsListedPolledAndSurvivesUnplugging) {
  ASSERT_EQ(0, SDL_InitSubSystem(SDL_INIT_JOYSTICK)) << SDL_GetError();
  const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 12, 0);
  ASSERT_GE(index, 0) << SDL_GetError();
  const auto names = ListJoysticks();
  ASSERT_GE(names.size(), 1u);

  Joysticks sticks;
  ASSERT_TRUE(OpenJoystick(sticks, 0, index));
  EXPECT_EQ(0, sticks.restX[0]);
  SDL_Joystick* j = sticks.device[0];
  SDL_JoystickSetVirtualAxis(j, 0, -20000);
  SDL_JoystickSetVirtualAxis(j, 1, 12000);
  SDL_JoystickSetVirtualButton(j, 3, 1);
  const JoystickState& s = PollJoystick(sticks, 0);
  EXPECT_EQ(-20000, s.x);
  EXPECT_EQ(12000, s.y);
  EXPECT_NE(0, s.buttons[3]);
  EXPECT_EQ(0, s.buttons[2]);

  // Pulled out mid-battle: centred (its rest position) and released, never a crash.
  ASSERT_EQ(0, SDL_JoystickDetachVirtual(index));
  const JoystickState& gone = PollJoystick(sticks, 0);
  EXPECT_EQ(sticks.restX[0], gone.x);
  EXPECT_EQ(sticks.restY[0], gone.y);
  for (uint8_t b : gone.buttons) EXPECT_EQ(0, b);

  // A slot never opened reads the same way.
  EXPECT_EQ(0, PollJoystick(sticks, 1).buttons[0]);
  CloseJoysticks(sticks);
  SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

// The settings windows list joysticks without polling them: the joystick system (which also
// catches Ctrl+C for SDL) is left running only when it already was.
TEST(Joystick, ListingNamesLeavesTheJoystickSystemAsItWas) {
  ASSERT_EQ(0u, SDL_WasInit(SDL_INIT_JOYSTICK));
  JoystickNamesNow();
  EXPECT_EQ(0u, SDL_WasInit(SDL_INIT_JOYSTICK));

  ASSERT_EQ(0, SDL_InitSubSystem(SDL_INIT_JOYSTICK)) << SDL_GetError();
  const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 4, 0);
  ASSERT_GE(index, 0) << SDL_GetError();
  EXPECT_EQ(JoystickNamesNow().size(), ListJoysticks().size());
  EXPECT_GE(JoystickNamesNow().size(), 1u);
  EXPECT_NE(0u, SDL_WasInit(SDL_INIT_JOYSTICK));
  SDL_JoystickDetachVirtual(index);
  SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

}  // namespace
}  // namespace quorvex
