// One duel: the frame loop paced by the millisecond tick count.
#pragma once
#include "game/core/GameWindow.h"
#include "game/core/Pacing.h"

namespace quorvex {

// Runs one duel: both headings 0, sparks cleared, battle stars refilled, then a frame each time
// strictly more than frameInterval ms have passed since the last one began (every pass while
// noFrameLimit is set). Returns when the duel is over or the pause menu's "quit" was chosen.
void BattleLoop(GameWindow& w);

}  // namespace quorvex
