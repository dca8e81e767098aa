// Player controls: key events and joystick states turned into each ship's control flags, the
// one-shot actions (change weapon, power redirection, self destruct) and the game's own keys
// (pause, menu navigation, ending a duel, F4, F5, F6).
#pragma once
#include "game/core/GameWindow.h"
#include "platform/Joystick.h"

namespace quorvex {

// Entries of a player's control table. A keyboard player and a joystick player use them for
// different actions.
namespace key_entry {
constexpr int Thrust = 0, TurnLeft = 1, TurnRight = 2, Fire = 3, Weapon = 4, Power = 5, SelfDestruct = 6;
}  // namespace key_entry
namespace stick_entry {
constexpr int TurnLeft = 0, TurnRight = 1, Thrust = 2, Fire = 3, Power = 4, Eject = 5, Weapon = 6;
}  // namespace stick_entry

// Joystick control codes: the four half-axes, then buttons from code 4 on (code 4 = button 0).
namespace stick_code {
constexpr int MinusX = 0, PlusX = 1, MinusY = 2, PlusY = 3, FirstButton = 4;
}  // namespace stick_code

// Damage that self destruct deals: enough for any ship.
constexpr double kSelfDestructDamage = 9999;

// The window's key-down event (virtual-key code). A key one step consumes reaches no later step.
void OnKeyDown(GameWindow& w, int keyCode);
// The window's key-up event.
void OnKeyUp(GameWindow& w, int keyCode);

// Reads the joysticks of the players that fly with one: sets their control flags and runs the
// power, eject and weapon buttons when they go down.
void PollControls(GameWindow& w);

// Whether control `code` is active on joystick `joystick` (1 or 2) in the state read last. Any
// difference from the rest position counts; a code naming no control is never active.
bool JoystickControlDown(const GameWindow& w, int joystick, int code);
// The same test on a given state and rest position.
bool JoystickControlDown(const JoystickState& state, int restX, int restY, int code);

// The next fitted weapon after the selected one; lasers are always fitted.
void ChangeWeapon(ShipState& s);

}  // namespace quorvex
