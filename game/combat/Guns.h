// The two guns whose shots live outside the shot pool: the electrogun's arcs and the chaingun's
// bullets. Ship control fires them; these procedures discharge, move, hit and draw them once per
// frame, while frame drawing composes the frame.
#pragma once
#include "game/core/GameWindow.h"

namespace quorvex {

// Electrogun arcs last one frame: each marked slot draws a jagged blue bolt from its shooter's
// centre to the opponent's, deals (2r + 1) / 1.5 damage and frees its slot.
void ElectroGun(GameWindow& w);

// Chaingun bullets fly 14 pixels a frame until their life runs out; once armed they hit either ship,
// deal up to 1 damage and glance off as a short yellow streak.
void ChainGun(GameWindow& w);

}  // namespace quorvex
