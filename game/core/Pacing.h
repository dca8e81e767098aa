// The frame pacing every loop of the game window shares: the battle, the menus and "game over!".
#pragma once
#include <cstdint>

namespace quorvex {

// Milliseconds from `earlier` to `later` on the wrapping 32-bit tick count.
inline int32_t TicksBetween(int32_t earlier, int32_t later) {
  return static_cast<int32_t>(static_cast<uint32_t>(later) - static_cast<uint32_t>(earlier));
}

// Waiting for the next frame sleeps in one piece until this many milliseconds remain, then in
// steps of 1 ms, so the frame starts on its tick without spinning on the clock.
constexpr int kFineWaitMs = 2;

}  // namespace quorvex
