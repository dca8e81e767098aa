// Composition of one battle frame into the back surface.
#pragma once
#include "game/core/GameWindow.h"
#include "platform/Surface.h"

namespace quorvex {

// The stars drawn at most: the star table holds entries 1..1000.
constexpr int kMaxStars = 1000;

// The background's source rectangle at zoom `zoom`: the whole 800 x 600 picture at 25, its middle
// (50, 50, 750, 550) at 50.
Rect BackgroundSourceRect(double zoom);

// The camera zoom for the two ships' distance: 50 when they touch, 25 at the screen diagonal.
double ZoomForShips(const ShipState& s1, const ShipState& s2);

// A ship's on-screen rectangle at the given zoom: its radius scaled by zoom / 100 to each side.
Rect ShipScreenRect(const ShipState& s, double zoom);

// Draws one battle frame: background, stars, projectiles, ships, effects and the bars, marks and
// texts at the top. Also works out `zoom` and each ship's `shipRect`, ages the engine trail dots and
// the shots that have hit, and lets critical-system damage decay. frame1 and frame2 are the ship
// picture frames of player 1 and player 2.
void FramenPiirtely(GameWindow& w, int frame1, int frame2);

}  // namespace quorvex
