// The computer pilot: in training mode it flies player 2's ship by setting its control flags,
// choosing its weapon and power redirection as a player at the keys would.
#pragma once
#include "game/core/GameWindow.h"

namespace quorvex {

// Once per frame, before the control polling. Acts only in training mode with both ships alive:
// steers player 2 toward (or, at close range, across and away from) player 1, thrusts most frames,
// moves power toward shields when its shield runs low, picks the weapon and fires from 200 to 450
// pixels (at any range of 200 or more with torpedoes or the electrogun). Remembers in `aiClose`
// whether the ships ended the frame closer than 200 pixels.
void AI_Kontrollit(GameWindow& w);

}  // namespace quorvex
