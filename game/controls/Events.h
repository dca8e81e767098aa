// Letting the game window process its pending events: once per frame in every loop.
#pragma once
#include "game/core/GameWindow.h"

namespace quorvex {

// Runs the event script (if any), collects the window's events and hands each queued key to the
// key handlers in arrival order. Closing the window unloads the game (throws GameExit).
void DoEvents(GameWindow& w);

}  // namespace quorvex
