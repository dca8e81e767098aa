// Gamepad players: which joystick slot holds each player's pad, the pad's buttons as the game's
// joystick controls, and the pad's menu buttons as the game's own keys.
#pragma once
#include <array>
#include <vector>

#include "game/core/GameWindow.h"
#include "game/config/GamepadFile.h"

namespace quorvex {

// The input devices of a gamepad player: the pad in joystick slot 1 or 2.
constexpr uint8_t kPadDevice1 = 3, kPadDevice2 = 4;
inline bool IsPadDevice(int device) { return device == kPadDevice1 || device == kPadDevice2; }
// The joystick slot (0 or 1) an input device reads, -1 for the keyboard.
inline int DeviceSlot(int device) {
  if (device == 1 || device == 2) return device - 1;
  if (IsPadDevice(device)) return device - kPadDevice1;
  return -1;
}

// A pad slot's joystick state: buttons 0..6 are the actions of a joystick player's control table
// (this table), 7 and 8 the menus' up and down, 9 confirm, 10 Start.
inline constexpr std::array<double, 7> kPadStickTable = {4, 5, 6, 7, 8, 9, 10};
namespace pad_button {
constexpr int MenuUp = 7, MenuDown = 8, Confirm = 9, Start = 10, kMenuButtons = 4;
}  // namespace pad_button

// The joystick buttons of player `player`'s (0 or 1) pad: his actions, then the fixed menu buttons
// (D-pad or left stick up and down, A, Start).
PadLayout PadLayoutFor(const GamepadConfig& config, int player);

// Keeps a joystick slot for the pad of each player who flies from the keyboard by device.cfg and has
// not switched gamepads off: his own slot when no joystick player needs it, else the other one. The
// slots of joystick players are kept for their joysticks then. Without gamepads nothing changes.
void AssignPadSlots(GameWindow& w, const GamepadConfig& config);

// The game's keys a pad's menu buttons send going from the state `held` to `now` (bit per menu
// button): up and down while a menu is shown; confirm (A) is Enter on a menu or once a ship is
// destroyed; Start is Enter there and Esc (pause) in a duel. A key that went down goes up with
// its button, whatever the screen is then.
std::vector<KeyEvent> PadMenuKeys(const GameWindow& w, uint32_t now, uint32_t held, std::array<int, 4>& sent);
// The menu buttons down in a pad slot's state.
uint32_t PadMenuButtons(const JoystickState& state);

// Reads the pads of the players who fly with one and queues the keys their menu buttons send.
void QueuePadMenuKeys(GameWindow& w);

}  // namespace quorvex
