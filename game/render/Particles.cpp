// Flashes, smoke, sparks, flames and new debris: created into the first free slot of their pools (slot 0
// is never used; a full pool drops the new particle) and aged, moved and drawn once per frame.
#include <algorithm>
#include <cmath>

#include "game/render/Particles.h"
#include "platform/Numbers.h"

namespace quorvex {

namespace {

constexpr int kLastFlash = 60, kLastSmoke = 60, kLastSpark = 500, kLastFlame = 100, kLastDebris = 100;

// Flash picture k (-1 to 2), smoke picture k (0 to 2) and flame picture k (0 to 2) of the sheet.
Rect FlashCell(int k) { return Rect{243 + 18 * k, 0, 261 + 18 * k, 18}; }
Rect SmokeCell(int k) { return Rect{330 + 13 * k, 40, 343 + 13 * k, 53}; }
Rect FlameCell(int k) { return Rect{21 * k, 0, 21 * k + 21, 21}; }

// Blits a cell of the explosion sheet, keyed, over the rectangle of the given real corners.
void EffectBlit(GameWindow& w, double left, double top, double right, double bottom, const Rect& cell) {
  const Rect dst{nearestInt(left), nearestInt(top), nearestInt(right), nearestInt(bottom)};
  w.back.BltFx(dst, w.explosionSheet, cell, true, EffectRasterOp(w.options));
}

void Line(Surface& s, double x1, double y1, double x2, double y2) {
  s.DrawLine(nearestInt(x1), nearestInt(y1), nearestInt(x2), nearestInt(y2));
}

// Picture number floor(life / 10) of a particle's fading life (-1 to 2 for the lives the game
// gives; pinned to the sheet whatever a state from outside held).
int Picture(double life) { return static_cast<int>(std::clamp(std::floor(life / 10), -1.0, 3.0)); }

}  // namespace

void LuoFlashi(GameWindow& w, double x, double y) {
  FlashPool& f = w.flashes;
  for (int i = 1; i <= kLastFlash; ++i) {
    if (f.life[i] > 0) continue;
    f.life[i] = 30;
    f.x[i] = x;
    f.y[i] = y;
    return;
  }
}

void LuoSavu(GameWindow& w, double x, double y) {
  SmokePool& s = w.smoke;
  for (int i = 1; i <= kLastSmoke; ++i) {
    if (s.life[i] > 0) continue;
    s.life[i] = 30;
    s.x[i] = x;
    s.y[i] = y;
    return;
  }
}

void LuoSpark(GameWindow& w, double x, double y, int n) {
  if (!w.options.sparksOn) return;
  SparkPool& s = w.sparks;
  int next = 1;  // slots before it are taken, so each spark's search can start there
  for (int made = 0; made < n; ++made) {
    while (next <= kLastSpark && s.life[next] != 0) ++next;
    if (next > kLastSpark) return;
    s.life[next] = 25.5;
    s.x[next] = x;
    s.y[next] = y;
    s.angle[next] = nearest(w.random.Next() * 360);
    // A bigger burst flies faster.
    s.speed[next] = n + w.random.Next() * 10;
  }
}

void LuoHylsy(GameWindow& w, double x, double y) {
  if (!w.options.debrisOn) return;
  DebrisPool& d = w.debris;
  for (int i = 1; i <= kLastDebris; ++i) {
    if (d.life[i] >= 1) continue;
    d.life[i] = static_cast<int16_t>(std::floor(w.random.Next() * 250) + 350);
    d.x[i] = x;
    d.y[i] = y;
    d.vx[i] = 2 * w.random.Next() - 1;
    d.vy[i] = 2 * w.random.Next() - 1;
    return;
  }
}

void Flashit(GameWindow& w) {
  FlashPool& f = w.flashes;
  for (int i = 1; i <= kLastFlash; ++i) {
    if (!(f.life[i] > 0)) continue;
    f.life[i] -= 4;
    EffectBlit(w, f.x[i] - 9, f.y[i] - 9, f.x[i] + 9, f.y[i] + 9, FlashCell(Picture(f.life[i])));
  }
}

void Savutus(GameWindow& w) {
  SmokePool& s = w.smoke;
  for (int i = 1; i <= kLastSmoke; ++i) {
    if (!(s.life[i] > 0)) continue;
    s.life[i] -= 2;
    EffectBlit(w, s.x[i] - 6, s.y[i] - 6, s.x[i] + 7, s.y[i] + 7, SmokeCell(Picture(s.life[i])));
  }
}

void Kipinat(GameWindow& w) {
  if (!w.options.sparksOn) return;
  SparkPool& s = w.sparks;
  for (int i = 1; i <= kLastSpark; ++i) {
    if (!(s.life[i] > 0)) continue;
    // Faster sparks burn longer.
    s.life[i] -= (110 - s.speed[i]) / 50;
    if (s.life[i] < 0) s.life[i] = 0;
    const double oldX = s.x[i], oldY = s.y[i];
    // The angle, a whole number up to 360, goes to cosine and sine as it is.
    s.x[i] += std::cos(s.angle[i]) * s.speed[i] / 10;
    s.y[i] += std::sin(s.angle[i]) * s.speed[i] / 10;
    // A streak fading from yellow through orange and red to black; sparks are not zoomed.
    const double life = s.life[i];
    w.back.SetForeColor(nearestInt(std::min(255.0, nearest(10 * life))), nearestInt(10 * life / 1.25), 0);
    Line(w.back, oldX, oldY, s.x[i], s.y[i]);
  }
}

void Liekit(GameWindow& w) {
  FlamePool& f = w.flames;
  for (int i = 1; i <= kLastFlame; ++i) {
    if (!(f.life[i] > 0)) continue;
    f.life[i] -= 2;
    f.x[i] += f.vx[i];
    f.y[i] += f.vy[i];
    EffectBlit(w, f.x[i] - 10, f.y[i] - 10, f.x[i] + 11, f.y[i] + 11, FlameCell(Picture(f.life[i])));
  }
}

}  // namespace quorvex
