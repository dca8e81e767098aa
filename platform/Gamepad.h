// Gamepads through SDL's game controller interface: every pad in SDL's mapping database (and in the
// player's own mappings) has the same named controls. A gamepad slot reads as a joystick state whose
// buttons are the game's actions, so the game, its replays and its network battles treat a pad's
// play as they treat a joystick's.
#pragma once
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace quorvex {

// A pad's controls: SDL's buttons in SDL's order, then each stick direction and each trigger.
namespace pad {
enum Control : int {
  A, B, X, Y, Back, Guide, Start, LeftStickPress, RightStickPress, LeftShoulder, RightShoulder,
  DpadUp, DpadDown, DpadLeft, DpadRight, Misc1, Paddle1, Paddle2, Paddle3, Paddle4, Touchpad,
  LeftStickLeft, LeftStickRight, LeftStickUp, LeftStickDown,
  RightStickLeft, RightStickRight, RightStickUp, RightStickDown,
  LeftTrigger, RightTrigger, kControls
};
}  // namespace pad

using PadControls = uint64_t;  // one bit per pad control
constexpr PadControls PadBit(int control) { return PadControls{1} << control; }

// The name a control is shown and stored by ("A", "D-pad left", "right trigger"), and back; -1 for
// a name that is none.
const char* PadControlName(int control);
int PadControlFromName(const std::string& name);

// How far a stick must leave the centre before it counts (of 32767), by default, and the trigger
// travel that counts as pressed.
constexpr int kDefaultDeadZone = 8000;
constexpr int kTriggerPressed = 12000;

// Which controls press each button of the joystick state a pad slot reads as.
struct PadLayout {
  std::array<PadControls, 32> buttons{};
  int deadZone = kDefaultDeadZone;
};

// The controls of a pad's raw readings that are active: buttons down, stick directions beyond the
// dead zone, triggers pressed.
PadControls ActivePadControls(const std::array<bool, 21>& buttons, const std::array<int, 6>& axes, int deadZone);

// Starts SDL's game controller support (SDL reads SDL_GAMECONTROLLERCONFIG then) and adds the
// mappings of `mappingFile` (the community's gamecontrollerdb.txt format) when it exists. Safe to
// call again. The number of mappings the file added, or -1 when it could not be read.
int StartGamepads(const std::filesystem::path& mappingFile);

// An attached gamepad: its device index, SDL's identifier of its model (the GUID text) and its name.
struct PadInfo {
  int deviceIndex = 0;
  std::string guid, name;
};
// The attached devices SDL knows as gamepads, in device order (none while SDL's game controller
// support is not started).
std::vector<PadInfo> ListGamepads();
// The same for a program that does not play with them: support is started with `mappingFile` and
// stopped again when this call started it.
std::vector<PadInfo> GamepadsNow(const std::filesystem::path& mappingFile);

}  // namespace quorvex
