// The two roundings the game's arithmetic is built on.
#pragma once
#include <cmath>

namespace quorvex {

// Rounds to the nearest whole number, halves to the even neighbour (0.5 -> 0, 1.5 -> 2, -0.5 -> 0).
inline double nearest(double v) {
  double r = std::floor(v);
  const double frac = v - r;
  if (frac > 0.5 || (frac == 0.5 && std::fmod(r, 2.0) != 0.0)) r += 1.0;
  return r;
}

// The whole part toward minus infinity (Int(-0.1) = -1).
inline double Int(double v) { return std::floor(v); }

// nearest() as a drawing coordinate; values far outside any surface are pinned so they stay clipped.
inline int nearestInt(double v) {
  if (!(v == v)) return 0;
  const double r = nearest(v);
  if (r > 1e9) return 1000000000;
  if (r < -1e9) return -1000000000;
  return static_cast<int>(r);
}

}  // namespace quorvex
