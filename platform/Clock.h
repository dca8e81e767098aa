// The millisecond tick count the game paces itself by, injected so tests and replays control time.
#pragma once
#include <cstdint>

namespace quorvex {

struct Clock {
  virtual ~Clock() = default;
  virtual int32_t Ticks() = 0;        // milliseconds, wrapping as a 32-bit signed count
  virtual void Sleep(int ms) = 0;     // gives the core away while waiting for the next frame
};

struct SdlClock : Clock {
  int32_t Ticks() override;
  void Sleep(int ms) override;
};

// A clock moved by hand: Sleep advances it, so paced loops run instantly in tests.
struct ManualClock : Clock {
  int32_t now = 0;
  int32_t Ticks() override { return now; }
  void Sleep(int ms) override { now += ms > 0 ? ms : 0; }
};

}  // namespace quorvex
