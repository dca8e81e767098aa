// Debris: grey sticks thrown by hits on the hull and by exploding ships (LuoHylsy). They drift (pulled
// to the middle when the gravitation field is on) and, late in their lives, strike ships they lie on.
// Kept apart from the other particles because only debris deals damage.
#include <algorithm>
#include <cmath>

#include "game/combat/Damage.h"
#include "game/render/Particles.h"
#include "platform/Numbers.h"

namespace quorvex {

namespace {

constexpr int kLastDebris = 100;

void Line(Surface& s, double x1, double y1, double x2, double y2) {
  s.DrawLine(nearestInt(x1), nearestInt(y1), nearestInt(x2), nearestInt(y2));
}

}  // namespace

void Hylsytys(GameWindow& w) {
  DebrisPool& d = w.debris;
  for (int i = 1; i <= kLastDebris; ++i) {
    if (!(d.life[i] > 0)) continue;
    d.life[i] = static_cast<int16_t>(d.life[i] - 1);
    if (w.options.gravityOn) {
      // The gravitation field pulls towards the middle of the arena, one axis at a time.
      if (d.x[i] < 400) d.vx[i] += 0.05;
      if (d.y[i] < 300) d.vy[i] += 0.05;
      if (d.x[i] > 400) d.vx[i] -= 0.05;
      if (d.y[i] > 300) d.vy[i] -= 0.05;
    }
    d.x[i] += d.vx[i];
    d.y[i] += d.vy[i];
    // A piece can hurt only in the last 189 frames of its life, so the ship that threw it gets away.
    if (d.life[i] < 190) {
      for (int p = 1; p <= 2; ++p) {
        const ShipState& s = w.ship[p - 1];
        if (!s.alive || !(std::abs(s.x - d.x[i]) < 10) || !(std::abs(s.y - d.y[i]) < 10)) continue;
        d.vx[i] = std::clamp(d.vx[i] + s.vx + 8 * w.random.Next() - 4, -5.0, 5.0);
        d.vy[i] = std::clamp(d.vy[i] + s.vy + 8 * w.random.Next() - 4, -5.0, 5.0);
        DoDamage(w, p, 0.123);
        LuoBoom(w, d.x[i], d.y[i], 0);
      }
    }
    // A grey 4-pixel stick spinning half a radian per frame.
    const double a = d.life[i] / 2.0;
    w.back.SetForeColor(165, 165, 165);
    Line(w.back, d.x[i] - 2 * std::cos(a), d.y[i] - 2 * std::sin(a), d.x[i] + 2 * std::cos(a),
         d.y[i] + 2 * std::sin(a));
  }
}

}  // namespace quorvex
