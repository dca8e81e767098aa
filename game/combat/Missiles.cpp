#include "game/combat/Missiles.h"

#include "game/audio/SoundEffects.h"
#include "game/combat/Damage.h"
#include "game/render/Particles.h"
#include "platform/Numbers.h"

namespace quorvex {

namespace {

constexpr int kLastMissile = 50;
constexpr int kLastClusterMade = 10;

// A projectile is armed once its life has fallen below these: after six updates for a missile, 33
// for a torpedo, so it cannot land on the ship that has just launched it.
constexpr double kMissileArmed = 195, kTorpedoArmed = 192;
constexpr double kTorpedoAging = 0.25;  // a torpedo flies four times as long as a missile
constexpr double kTorpedoTopSpeed = 7, kTorpedoSteer = 0.3;
constexpr double kSmokeChance = 0.3;
constexpr double kGravity = 0.05;

// The projectiles' pictures on the explosion sheet.
constexpr Rect kMissileCell{375, 2, 396, 23}, kTorpedoCell{350, 2, 371, 23};

bool Inside(const Rect& r, double x, double y) { return x > r.left && x < r.right && y > r.top && y < r.bottom; }

// The pull of the gravitation field toward the arena's centre, a fixed step on each axis.
void Pull(double x, double y, double& vx, double& vy) {
  if (x < 400) vx += kGravity;
  if (x > 400) vx -= kGravity;
  if (y < 300) vy += kGravity;
  if (y > 300) vy -= kGravity;
}

// Projectile i lands on player `victim` (0 or 1): a big explosion, sparks, the damage, debris when
// the shield is down, and the ship shoved by the projectile's whole velocity. The projectile is gone.
void Land(GameWindow& w, int i, int victim, int sparks, double damage) {
  MissilePool& p = w.missilesPool;
  LuoBoom(w, p.x[i], p.y[i], 1);
  LuoSpark(w, p.x[i], p.y[i], sparks);
  DoDamage(w, victim + 1, damage);
  ShipState& s = w.ship[victim];
  if (s.shield <= 0) {
    for (int k = 0; k < 3; ++k) LuoHylsy(w, p.x[i], p.y[i]);
  }
  s.vx += p.vx[i];
  s.vy += p.vy[i];
  PlaySound(w, SndBoom2);
  p.life[i] = 0;
  w.hitsScored[1 - victim] += 1;
}

// Player 2 is tried first, then player 1; a projectile lands once and is gone. True on a hit.
bool TryHits(GameWindow& w, int i, int sparks, double damage) {
  const MissilePool& p = w.missilesPool;
  for (int victim : {1, 0}) {
    const ShipState& s = w.ship[victim];
    if (s.alive && Inside(s.shipRect, p.x[i], p.y[i])) {
      Land(w, i, victim, sparks, damage);
      return true;
    }
  }
  return false;
}

// Ages projectile i; at the end of its flight it bursts and its slot is free. True while it flies.
bool Age(GameWindow& w, int i, double step) {
  MissilePool& p = w.missilesPool;
  p.life[i] -= step;
  if (p.life[i] > 1) return true;
  LuoBoom(w, p.x[i], p.y[i], 1);
  p.life[i] = 0;
  return false;
}

// A torpedo turns on each axis toward its target until it flies at top speed that way.
void Steer(MissilePool& p, int i, const ShipState& target) {
  if (target.x < p.x[i] && p.vx[i] > -kTorpedoTopSpeed) p.vx[i] -= kTorpedoSteer;
  if (target.x > p.x[i] && p.vx[i] < kTorpedoTopSpeed) p.vx[i] += kTorpedoSteer;
  if (target.y < p.y[i] && p.vy[i] > -kTorpedoTopSpeed) p.vy[i] -= kTorpedoSteer;
  if (target.y > p.y[i] && p.vy[i] < kTorpedoTopSpeed) p.vy[i] += kTorpedoSteer;
}

// The projectile's picture two velocity steps behind it, and its exhaust line up to the nose.
void Draw(GameWindow& w, int i) {
  const MissilePool& p = w.missilesPool;
  const bool missile = p.kind[i] == 0;
  const double px = p.x[i] - 2 * p.vx[i], py = p.y[i] - 2 * p.vy[i];
  const Rect dst{nearestInt(px - 11), nearestInt(py - 11), nearestInt(px + 10), nearestInt(py + 10)};
  w.back.Blt(dst, w.explosionSheet, missile ? kMissileCell : kTorpedoCell, true);
  if (missile) w.back.SetForeColor(255, 175, 0);
  else w.back.SetForeColor(175, 0, 255);
  w.back.DrawLine(nearestInt(p.x[i]), nearestInt(p.y[i]), nearestInt(px), nearestInt(py));
}

}  // namespace

void MissileMoves(GameWindow& w) {
  MissilePool& p = w.missilesPool;
  for (int i = 1; i <= kLastMissile; ++i) {
    if (!(p.life[i] > 0)) continue;
    if (w.random.Next() < kSmokeChance) LuoSavu(w, p.x[i], p.y[i]);
    if (w.options.gravityOn) Pull(p.x[i], p.y[i], p.vx[i], p.vy[i]);

    if (p.kind[i] == 0) {
      if (p.life[i] < kMissileArmed && TryHits(w, i, 45, kMissileDamage)) continue;
      if (!Age(w, i, 1)) continue;
      // Missiles fly at their own pace whatever the zoom.
      p.x[i] += p.vx[i];
      p.y[i] += p.vy[i];
    } else {
      if (p.life[i] < kTorpedoArmed && TryHits(w, i, 32, kTorpedoDamage)) continue;
      if (!Age(w, i, kTorpedoAging)) continue;
      p.x[i] += p.vx[i] * w.zoom / 50;
      p.y[i] += p.vy[i] * w.zoom / 50;
      // Player 1's torpedoes (kind 1) chase player 2, player 2's chase player 1.
      Steer(p, i, w.ship[p.kind[i] == 1 ? 1 : 0]);
    }
    Draw(w, i);
  }
}

void LuoCluster(GameWindow& w, double x, double y, int count, double vx, double vy) {
  LuoBoom(w, x, y, 1);
  FragmentPool& f = w.fragments;
  for (int i = 0; i <= kLastClusterMade && count > 0; ++i) {
    if (f.life[i] > 0) continue;
    f.life[i] = 45 + nearest(w.random.Next() * 75);
    f.x[i] = x;
    f.y[i] = y;
    f.vx[i] = vx / 5 + 2 * w.random.Next() - 1;
    f.vy[i] = vy / 5 + 2 * w.random.Next() - 1;
    count -= 1;
  }
}

}  // namespace quorvex
