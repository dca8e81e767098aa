// Up to two joysticks: x, y and 32 buttons. A joystick pulled out reads as centred and released.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct _SDL_Joystick;

namespace quorvex {

struct JoystickState {
  int x = 0, y = 0;
  std::array<uint8_t, 32> buttons{};  // non-zero = pressed
};

struct Joysticks {
  _SDL_Joystick* device[2] = {nullptr, nullptr};
  int32_t instance[2] = {-1, -1};
  int restX[2] = {0, 0}, restY[2] = {0, 0};  // the position read when opened: the centre
  JoystickState last[2];
};

// Starts the joystick subsystem (safe to call again) and lists the attached devices' product names.
std::vector<std::string> ListJoysticks();
// The same list for a program that does not poll joysticks: the subsystem is stopped again when
// this call started it, so it does not stay running (and SDL's Ctrl+C handling with it).
std::vector<std::string> JoystickNamesNow();
// Opens attached device `deviceIndex` as joystick slot 0 or 1, reads it once and keeps x and y as its
// rest position. False when there is no such device.
bool OpenJoystick(Joysticks& sticks, int slot, int deviceIndex);
// Reads the slot's current state into last[slot] and returns it; a slot not open or a device no
// longer attached reads as the rest position with every button released.
const JoystickState& PollJoystick(Joysticks& sticks, int slot);
void CloseJoysticks(Joysticks& sticks);
// Joysticks plugged in or pulled out since the last call: a slot whose device was pulled out is
// closed (it reads as centred and released), and an empty slot takes the first attached device not
// open in the other slot (slot 0 first). Does nothing while the joystick subsystem is not running.
// True when a slot changed.
bool RefreshJoysticks(Joysticks& sticks);

}  // namespace quorvex
