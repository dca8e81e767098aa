// The game window's life: start-up, the game flow, the error report and the shutdown.
#pragma once
#include "game/core/GameError.h"
#include "game/core/GameWindow.h"

namespace quorvex {

// Runs the whole game: start-up, then the game flow until the game is left. Every run-time error
// inside it ends in the error report; every way out (closing the window, a file that stops the
// game) ends in ShutdownGame. Needs w.clock and w.programDir.
void RunGame(GameWindow& w);

// Defaults, the configuration files, the ship list and one ship per player.
void InitGame(GameWindow& w);

// The display (none when headless), the 800 x 600 back surface and the joysticks; a player whose
// joystick is not attached falls back to the keyboard.
void SetupDirectX(GameWindow& w);

// Releases songs, sound buffers, the audio device, every surface, the joysticks and the window.
void ShutdownGame(GameWindow& w);

// Hides the window, shows "Error #<number>. <description>" titled "ERROR!", then shuts down.
void ErrorReport(GameWindow& w, const GameError& error);

// The run-time error a caught exception stands for.
GameError ErrorFromException(std::exception_ptr caught);

}  // namespace quorvex
