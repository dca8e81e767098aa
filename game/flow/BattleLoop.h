// One duel: the frame loop paced by the millisecond tick count.
#pragma once
#include <functional>

#include "game/core/GameWindow.h"
#include "game/core/Pacing.h"

namespace quorvex {

// Runs one duel: both headings 0, sparks cleared, battle stars refilled, then a frame each time
// strictly more than frameInterval ms have passed since the last one began (every pass while
// noFrameLimit is set). Returns when the duel is over or the pause menu's "quit" was chosen.
void BattleLoop(GameWindow& w);

// A duel frame played again by a network battle that corrects a wrong guess, from the frame's
// start: the world moves, the frame is worked out (its picture drawn only when `drawn`),
// `takeKeys` puts the frame's keys into w.events, the key handlers take them and the pilots fly.
void DuelFrameAgain(GameWindow& w, bool drawn, const std::function<void(GameWindow&)>& takeKeys);

}  // namespace quorvex
