#include "platform/Random.h"

namespace quorvex {
namespace {

uint64_t splitmix(uint64_t& s) {
  uint64_t z = (s += 0x9e3779b97f4a7c15ULL);
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
  return z ^ (z >> 31);
}

}  // namespace

double Random::Next() {
  if (!scripted.empty()) {
    const double v = scripted.front();
    scripted.pop_front();
    return v;
  }
  return static_cast<double>(splitmix(state) >> 11) * (1.0 / 9007199254740992.0);
}

void Random::Seed(uint64_t seed) {
  state = seed;
  scripted.clear();
}

void Random::MixIn(uint64_t value) {
  uint64_t s = state ^ (value * 0x2545f4914f6cdd1dULL);
  state = splitmix(s);
}

}  // namespace quorvex
