// One duel: the frame loop paced by the millisecond tick count.
#pragma once
#include <cstdint>

#include "game/core/GameWindow.h"

namespace quorvex {

// Milliseconds from `earlier` to `later` on the wrapping 32-bit tick count.
int32_t TicksBetween(int32_t earlier, int32_t later);

// Waiting for the next frame sleeps in one piece until this many milliseconds remain, then in
// steps of 1 ms, so the frame starts on its tick without spinning on the clock.
constexpr int kFineWaitMs = 2;

// Runs one duel: both headings 0, sparks cleared, battle stars refilled, then a frame each time
// strictly more than frameInterval ms have passed since the last one began (every pass while
// noFrameLimit is set). Returns when the duel is over or the pause menu's "quit" was chosen.
void BattleLoop(GameWindow& w);

}  // namespace quorvex
