// Putting the ships back on their start positions when a ship is (re)loaded.
#pragma once
#include "game/core/GameWindow.h"

namespace quorvex {

// Start positions of the two ships.
constexpr double kStartX[2] = {100, 700};
constexpr double kStartY = 240;

// Resets player 1's ship for a new start and puts both ships on their start positions, at rest,
// with every electro arc and all critical damage of both ships cleared.
void ResetValues(GameWindow& w);
// The same for player 2's ship.
void ResetValues2(GameWindow& w);

}  // namespace quorvex
