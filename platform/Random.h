// Uniform random numbers in [0, 1), injected so that a seeded battle replays exactly.
#pragma once
#include <cstdint>
#include <deque>

namespace quorvex {

struct Random {
  uint64_t state = 0x853c49e6748fea9bULL;
  std::deque<double> scripted;  // tests queue exact values here; they are used first

  double Next();
  // Starts a fresh sequence from `seed`.
  void Seed(uint64_t seed);
  // Stirs `value` (such as the tick count) into the sequence without restarting it: two mixes
  // with the same value still give different continuations.
  void MixIn(uint64_t value);
};

}  // namespace quorvex
