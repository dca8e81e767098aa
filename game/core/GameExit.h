// Unloading the game window from anywhere inside the game (closing the window, a file that stops the
// game, the main menu's "quit"): thrown, and caught by RunGame, which then shuts the game down.
#pragma once

namespace quorvex {

struct GameExit {};

}  // namespace quorvex
