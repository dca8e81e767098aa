// Helpers of the screen tests: a headless window on the stock program folder and key scripts that
// hand the window one batch of key events each time it processes its events.
#pragma once
#include <memory>
#include <vector>

#include "game/core/GameWindow.h"
#include "platform/Display.h"

namespace quorvex::testing {

// Key-up of Enter, Up and Down: what the menus react to.
KeyEvent Enter();
KeyEvent Up();
KeyEvent Down();
KeyEvent KeyDown(int code);

// The stock game after start-up without a display: ships, options and pictures loaded, sound off.
std::unique_ptr<GameWindow> StockWindow(ManualClock* clock);

// From now on, the n-th time the window processes its events (counting from 1) it receives
// batches[n - 1]; later calls receive nothing. `calls` counts the calls when given.
void ScriptKeys(GameWindow& w, std::vector<std::vector<KeyEvent>> batches, int* calls = nullptr);

}  // namespace quorvex::testing
