// Ship control: each frame both players' held controls turn, push and move their ships and fire
// the selected weapon into its pool.
#pragma once
#include "game/core/GameWindow.h"

namespace quorvex {

// The direction of a heading (32nds of a turn, 0 up the screen, clockwise) in radians.
double HeadingRadians(double heading);
// The heading after this frame's turn by the held turn keys: the one the frame's shots leave along.
double HeadingAfterTurn(const ShipState& s);

// Once per frame: the computer pilot and the control polling set the control flags, then player
// 1's ship and then player 2's is turned, pushed, moved and fires. A destroyed ship is skipped.
void Ohjailu(GameWindow& w);

// One player's ship (0 or 1) for one frame, the other ship being the opponent.
void ControlShip(GameWindow& w, int player);

}  // namespace quorvex
