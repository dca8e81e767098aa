// Explosions: a small one plays ten 21 x 21 pictures of the explosion sheet's top row, a big one
// seven 51 x 51 pictures of the row below over 24 frames.
#include <algorithm>
#include <cmath>

#include "game/render/Particles.h"
#include "platform/Numbers.h"

namespace quorvex {

namespace {

constexpr int kFirstExplosion = 1, kLastExplosion = 60;
constexpr int kLastFragment = 60;
constexpr double kFragmentPopChance = 0.05;

// Small explosion picture s (10, the first, down to 1) and big explosion picture k (0 to 6).
Rect SmallCell(int s) { return Rect{21 * s, 0, 21 * s + 21, 21}; }
Rect BigCell(int k) { return Rect{51 * k, 22, 51 * k + 51, 73}; }

}  // namespace

RasterOp EffectRasterOp(const GameOptions& options) {
  return options.effectRop == static_cast<uint32_t>(RasterOp::SrcCopy) ? RasterOp::SrcCopy : RasterOp::SrcPaint;
}

void LuoBoom(GameWindow& w, double x, double y, int size) {
  ExplosionPool& e = w.explosions;
  if (size != 0 && size != 1) return;
  for (int i = kFirstExplosion; i <= kLastExplosion; ++i) {
    if (e.state[i] != 0) continue;
    // A small explosion counts down from 10, a big one up from -6; x, y is the picture's top left.
    const double half = size == 0 ? 10 : 25;
    e.state[i] = size == 0 ? 10 : -6;
    e.x[i] = x - half;
    e.y[i] = y - half;
    return;
  }
}

void Poksista(GameWindow& w) {
  // Cluster fragments (LuoCluster's) fly on at twice their velocity and now and then pop in a small
  // explosion, before the explosions advance.
  FragmentPool& f = w.fragments;
  for (int i = 0; i <= kLastFragment; ++i) {
    if (!(f.life[i] > 0)) continue;
    f.life[i] -= 1;
    f.x[i] += 2 * f.vx[i] * w.zoom / 50;
    f.y[i] += 2 * f.vy[i] * w.zoom / 50;
    if (w.random.Next() < kFragmentPopChance) LuoBoom(w, f.x[i], f.y[i], 0);
  }

  ExplosionPool& e = w.explosions;
  const RasterOp rop = EffectRasterOp(w.options);
  for (int i = 0; i <= kLastExplosion; ++i) {
    if (e.state[i] > 0) {
      // The stored top left is moved up and left once more, so a small burst sits a little up and
      // to the left of the point it was made at: (xe - 20, ye - 20) to (xe + 1, ye + 1).
      // Pinned to the sheet, whatever a state from outside held (the start checks keep it there).
      e.cell[i] = SmallCell(static_cast<int>(std::min(e.state[i], 10.0)));
      const Rect dst{nearestInt(e.x[i] - 10), nearestInt(e.y[i] - 10), nearestInt(e.x[i] + 11),
                     nearestInt(e.y[i] + 11)};
      w.back.BltFx(dst, w.explosionSheet, e.cell[i], true, rop);
      e.state[i] -= 1;
    } else if (e.state[i] < 0) {
      // Quarter steps rounded halves-to-even give pictures 0,0,0,1,1,1,2,2,2,2,2,3,... over 24 frames.
      e.cell[i] = BigCell(std::max(nearestInt(e.state[i]), -6) + 6);
      const Rect dst{nearestInt(e.x[i]), nearestInt(e.y[i]), nearestInt(e.x[i] + 51), nearestInt(e.y[i] + 51)};
      w.back.BltFx(dst, w.explosionSheet, e.cell[i], true, rop);
      e.state[i] += 0.25;
    }
  }
}

}  // namespace quorvex
