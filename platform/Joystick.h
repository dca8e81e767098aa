// Up to two joysticks: x, y and 32 buttons. A joystick pulled out reads as centred and released.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Gamepad.h"

struct _SDL_Joystick;
struct _SDL_GameController;

namespace quorvex {

struct JoystickState {
  int x = 0, y = 0;
  std::array<uint8_t, 32> buttons{};  // non-zero = pressed
};

// What a slot is kept for: any device (as it comes), a player's joystick, or a player's gamepad.
enum class SlotUse : uint8_t { Spare, Joystick, Gamepad };

struct Joysticks {
  _SDL_Joystick* device[2] = {nullptr, nullptr};
  int32_t instance[2] = {-1, -1};
  int restX[2] = {0, 0}, restY[2] = {0, 0};  // the position read when opened: the centre
  JoystickState last[2];
  // Gamepads: a slot kept for one opens only a device SDL knows as a gamepad (the one with GUID
  // padWanted, or any when that is empty) and reads it through `layout`; its rest is the centre.
  SlotUse use[2] = {SlotUse::Spare, SlotUse::Spare};
  std::string padWanted[2];
  PadLayout layout[2];
  bool rumble[2] = {false, false};
  _SDL_GameController* pad[2] = {nullptr, nullptr};
};

// Starts the joystick subsystem (safe to call again) and lists the attached devices' product names.
std::vector<std::string> ListJoysticks();
// The same list for a program that does not poll joysticks: the subsystem is stopped again when
// this call started it, so it does not stay running (and SDL's Ctrl+C handling with it).
std::vector<std::string> JoystickNamesNow();
// Opens attached device `deviceIndex` as joystick slot 0 or 1, reads it once and keeps x and y as its
// rest position (a gamepad slot opens it as a gamepad, centred at 0). False when there is no such
// device.
bool OpenJoystick(Joysticks& sticks, int slot, int deviceIndex);
// Reads the slot's current state into last[slot] and returns it; a slot not open or a device no
// longer attached reads as the rest position with every button released.
const JoystickState& PollJoystick(Joysticks& sticks, int slot);
// Closes the devices; what the slots are kept for stays.
void CloseJoysticks(Joysticks& sticks);
// Joysticks plugged in or pulled out since the last call: a slot whose device was pulled out is
// closed (it reads as centred and released), and an empty slot takes the first attached device not
// open in the other slot that it may take: slots kept for a player's joystick first, then those
// kept for gamepads, then spare ones (slot 0 first in each). Does nothing while the joystick
// subsystem is not running. True when a slot changed.
bool RefreshJoysticks(Joysticks& sticks);

// Shakes the slot's gamepad, when it has rumble and its rumble is on: `strength` 0..1 for `ms`.
void RumblePad(Joysticks& sticks, int slot, double strength, int ms);

}  // namespace quorvex
