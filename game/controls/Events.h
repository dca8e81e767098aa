// Letting the game window process its pending events: once per frame in every loop.
#pragma once
#include "game/core/GameWindow.h"

namespace quorvex {

// Runs the event script (if any), collects the window's events and hands each queued key to the
// key handlers in arrival order. Closing the window unloads the game (throws GameExit).
void DoEvents(GameWindow& w);

// Joysticks plugged in or pulled out at any time: a pulled-out joystick leaves its players' controls
// at rest until it comes back; a player whose chosen joystick appears (also one missing at start-up,
// who flew from the keyboard meanwhile) flies with it from now on. Run by DoEvents.
void TakeUpJoysticks(GameWindow& w);

}  // namespace quorvex
