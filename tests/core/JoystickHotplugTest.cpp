// Joysticks plugged in and pulled out while the game runs, with SDL's virtual joysticks.
#include <SDL.h>
#include <gtest/gtest.h>

#include "game/controls/Controls.h"
#include "game/controls/Events.h"
#include "game/flow/Startup.h"
#include "tests/core/CoreTesting.h"

namespace quorvex {
namespace {

struct Held {
  bool left, right, thrust, fire;
  bool operator==(const Held&) const = default;
};
Held HeldOf(const ShipState& s) { return {s.turnLeftHeld, s.turnRightHeld, s.thrustHeld, s.fireHeld}; }
void PrintTo(const Held& h, std::ostream* os) {
  *os << "left " << h.left << " right " << h.right << " thrust " << h.thrust << " fire " << h.fire;
}

// One frame of a screen: the window processes its events, then the controls are polled.
void Frame(GameWindow& w) {
  DoEvents(w);
  PollControls(w);
}

SDL_Joystick* Plug() {
  const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 8, 0);
  EXPECT_GE(index, 0) << SDL_GetError();
  SDL_Joystick* j = SDL_JoystickOpen(index);  // the test's own handle, to move its sticks
  EXPECT_NE(nullptr, j);
  return j;
}

void Unplug(SDL_Joystick* j) {
  const SDL_JoystickID id = SDL_JoystickInstanceID(j);
  for (int i = 0; i < SDL_NumJoysticks(); ++i) {
    if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
  }
  SDL_JoystickClose(j);
}

TEST(JoystickHotplugTest, PluggedInLaterPulledOutAndBackAgain) {
  ASSERT_EQ(0, SDL_InitSubSystem(SDL_INIT_JOYSTICK)) << SDL_GetError();
  ManualClock clock;
  auto w = testing::HeadlessWindow(".", &clock);
  w->trainingMode = false;
  w->inputDevice = {1, 2};  // device.cfg: both on joysticks, none attached yet
  const std::array<double, 7> table{0, 1, 3, 4, 5, 6, 7};  // -X left, +X right, +Y thrust, button 1 fire
  w->controlTable = {table, table};
  SetupDirectX(*w);
  EXPECT_EQ((std::array<uint8_t, 2>{0, 0}), w->inputDevice);  // the keyboard until they come

  SDL_Joystick* first = Plug();
  Frame(*w);
  EXPECT_EQ((std::array<uint8_t, 2>{1, 0}), w->inputDevice);
  SDL_JoystickSetVirtualAxis(first, 0, -30000);
  SDL_JoystickSetVirtualButton(first, 0, 1);
  Frame(*w);
  EXPECT_EQ((Held{true, false, false, true}), HeldOf(w->ship[0]));

  SDL_Joystick* second = Plug();
  Frame(*w);  // opened centred: that is its rest position
  SDL_JoystickSetVirtualAxis(second, 1, 25000);
  Frame(*w);
  EXPECT_EQ((std::array<uint8_t, 2>{1, 2}), w->inputDevice);
  EXPECT_EQ((Held{false, false, true, false}), HeldOf(w->ship[1]));

  // Pulled out with the stick to the left and fire down: player 1's ship is left at rest.
  Unplug(first);
  Frame(*w);
  EXPECT_EQ(nullptr, w->joysticks.device[0]);
  EXPECT_EQ((std::array<uint8_t, 2>{1, 2}), w->inputDevice);
  EXPECT_EQ((Held{false, false, false, false}), HeldOf(w->ship[0]));
  EXPECT_EQ((Held{false, false, true, false}), HeldOf(w->ship[1]));

  // Plugged in again: player 1 flies with it once more.
  SDL_Joystick* again = Plug();
  Frame(*w);
  SDL_JoystickSetVirtualAxis(again, 0, 30000);
  Frame(*w);
  EXPECT_EQ((Held{false, true, false, false}), HeldOf(w->ship[0]));

  ShutdownGame(*w);
  Unplug(again);
  Unplug(second);
  SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

}  // namespace
}  // namespace quorvex
