// Letting the game window process its pending events: once per frame in every loop.
#pragma once
#include <cstddef>
#include <deque>

#include "game/core/GameWindow.h"
#include "platform/Display.h"

namespace quorvex {

// Runs the event script (if any), collects the window's events and hands the queued keys of one
// frame (KeysForOneFrame) to the key handlers in arrival order; the rest wait for the next frame.
// Closing the window unloads the game (throws GameExit).
void DoEvents(GameWindow& w);

// Hands the keys in w.events to the key handlers, in order: the part of DoEvents a network duel
// plays again when it corrects a frame.
void PlayFrameKeys(GameWindow& w);

// How many of the waiting keys one frame takes: all of them, up to the release of a key pressed
// among them. That release waits for the next frame (with what follows it), so a key pressed and
// released between two frames counts as held for one frame instead of being lost. A flood of more
// than 32 waiting keys is taken whole.
size_t KeysForOneFrame(const std::deque<KeyEvent>& keys);

// Joysticks plugged in or pulled out at any time: a pulled-out joystick leaves its players' controls
// at rest until it comes back; a player whose chosen joystick appears (also one missing at start-up,
// who flew from the keyboard meanwhile) flies with it from now on. Run by DoEvents.
void TakeUpJoysticks(GameWindow& w);

}  // namespace quorvex
