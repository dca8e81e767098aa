#include "game/combat/Guns.h"

#include <cmath>

#include "game/audio/SoundEffects.h"
#include "game/combat/Damage.h"
#include "game/render/Particles.h"
#include "platform/Numbers.h"

namespace quorvex {
namespace {

constexpr int kArcSlots = 5;
constexpr int kArcSegments = 10;
constexpr double kArcJitter = 20;  // each bend of an arc wanders up to 10 pixels either way

constexpr int kBulletSlots = 500;
constexpr double kBulletSpeed = 14;
constexpr double kBulletArmedBelow = 48;  // a bullet clears its own ship before it can hit anything
constexpr double kRicochetSpeed = 5;
constexpr double kRicochetTail = 5;       // the streak is one frame's travel long

bool StrictlyInside(const Rect& r, double x, double y) {
  return x > r.left && x < r.right && y > r.top && y < r.bottom;
}

// One arc: a bolt of ten segments whose inner bends wander around the straight line.
void DischargeArc(GameWindow& w, int shooter, int target) {
  const ShipState& from = w.ship[static_cast<size_t>(shooter)];
  const ShipState& to = w.ship[static_cast<size_t>(target)];
  w.back.SetForeColor(0, 75, 255);
  int px = nearestInt(from.x), py = nearestInt(from.y);
  for (int k = 1; k < kArcSegments; ++k) {
    const double t = static_cast<double>(k) / kArcSegments;
    const double bx = from.x + (to.x - from.x) * t + nearest(w.random.Next() * kArcJitter) - kArcJitter / 2;
    const double by = from.y + (to.y - from.y) * t + nearest(w.random.Next() * kArcJitter) - kArcJitter / 2;
    const int nx = nearestInt(bx), ny = nearestInt(by);
    w.back.DrawLine(px, py, nx, ny);
    px = nx;
    py = ny;
  }
  w.back.DrawLine(px, py, nearestInt(to.x), nearestInt(to.y));
  DoDamage(w, target + 1, (2 * w.random.Next() + 1) / 1.5);
}

// A bullet striking player `victim` (index 0 or 1) glances off as a ricochet.
void BulletHits(GameWindow& w, int slot, int victim) {
  BulletPool& b = w.bullets;
  DoDamage(w, victim + 1, w.random.Next());
  if (w.ship[static_cast<size_t>(victim)].shield > 0) LuoFlashi(w, b.x[slot], b.y[slot]);
  b.angle[slot] += 2 * w.random.Next() - 1;
  b.life[slot] = -1;
  PlaySound(w, SndHit4);
}

}  // namespace

void ElectroGun(GameWindow& w) {
  for (int i = 1; i <= kArcSlots; ++i) {
    int& arc = w.electroArcs[static_cast<size_t>(i)];
    if (arc == 1) DischargeArc(w, 0, 1);
    if (arc == 2) DischargeArc(w, 1, 0);
    arc = 0;  // an arc lasts one frame
  }
}

void ChainGun(GameWindow& w) {
  BulletPool& b = w.bullets;
  for (int i = 1; i <= kBulletSlots; ++i) {
    double& life = b.life[static_cast<size_t>(i)];
    if (life > 0) {
      life -= 1;
      b.x[i] += kBulletSpeed * std::cos(b.angle[i]);
      b.y[i] += kBulletSpeed * std::sin(b.angle[i]);
      // Player 2 is tested first. A bullet glances off the first ship it strikes, so it hits
      // at most once even where the two ships overlap.
      if (life < kBulletArmedBelow) {
        for (int victim : {1, 0}) {
          const ShipState& s = w.ship[static_cast<size_t>(victim)];
          if (s.alive && StrictlyInside(s.shipRect, b.x[i], b.y[i])) {
            BulletHits(w, i, victim);
            break;
          }
        }
      }
    }
    if (life < 0) {
      // A ricochet: a short yellow streak that fades out after a few frames.
      life -= 1;
      const double c = std::cos(b.angle[i]), s = std::sin(b.angle[i]);
      b.x[i] += kRicochetSpeed * c;
      b.y[i] += kRicochetSpeed * s;
      w.back.SetForeColor(255, 255, 0);
      w.back.DrawLine(nearestInt(b.x[i]), nearestInt(b.y[i]), nearestInt(b.x[i] - kRicochetTail * c),
                      nearestInt(b.y[i] - kRicochetTail * s));
      if (life < -w.random.Next() * 10) life = 0;
    }
  }
}

}  // namespace quorvex
