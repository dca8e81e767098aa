// The keys of the game window itself, in every screen: F1 the help overlay, F11 (and Alt+Enter)
// between full screen and a window, F12 a screenshot. They never reach the players' controls.
#pragma once
#include "game/core/GameWindow.h"

namespace quorvex {

// True for a key the window keeps for itself.
bool IsWindowKey(int keyCode);
// Acts on a window key's first press (key repeats are ignored).
void OnWindowKey(GameWindow& w, int keyCode);

// Switches between full screen and a window and remembers the choice in display.cfg.
void ToggleFullScreen(GameWindow& w);
// Saves the back surface as the next numbered PNG of the player's screenshots folder and plays the
// select sound. The path written, or empty (a message on the error stream) when it failed.
std::filesystem::path TakeScreenshot(GameWindow& w);

}  // namespace quorvex
