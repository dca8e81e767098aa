#include "game/combat/Physics.h"

#include <cmath>

#include "game/audio/SoundEffects.h"
#include "game/combat/Damage.h"
#include "game/render/Particles.h"
#include "platform/Numbers.h"

namespace quorvex {

namespace {

constexpr int kSystemPowerGen = 2, kSystemElectrics = 3, kSystemRepair = 6;

// Pulls a position's velocity toward the arena centre, one axis at a time; exactly on the centre
// line there is no pull on that axis.
void PullTowardCentre(double x, double y, double* vx, double* vy) {
  if (x < kArenaCentreX) *vx += kGravityPull;
  if (x > kArenaCentreX) *vx -= kGravityPull;
  if (y < kArenaCentreY) *vy += kGravityPull;
  if (y > kArenaCentreY) *vy -= kGravityPull;
}

bool StrictlyInside(const Rect& r, double x, double y) {
  return x > r.left && x < r.right && y > r.top && y < r.bottom;
}

double Speed(const ShipState& s) { return std::sqrt(s.vx * s.vx + s.vy * s.vy); }

// 2. A ship with a quarter of its hull or less burns: now and then a flame leaves it.
void WreckFlames(GameWindow& w) {
  for (const ShipState& s : w.ship) {
    if (!s.alive || !(s.hull <= s.hullMax / 4)) continue;
    if (!(w.random.Next() < 0.2)) continue;
    for (int i = 1; i <= 100; ++i) {
      if (w.flames.life[i] > 0) continue;
      w.flames.life[i] = 30;
      w.flames.x[i] = s.x + w.random.Next() * 12 - 6;
      w.flames.y[i] = s.y + w.random.Next() * 12 - 6;
      w.flames.vx[i] = w.random.Next() * 4 - 2;
      w.flames.vy[i] = w.random.Next() * 4 - 2;
      break;
    }
  }
}

// A laser or ion shot landing on a living ship. What it does is decided by the weapon its shooter
// has selected now, not when it fired.
void ShotLands(GameWindow& w, int slot, int victim) {
  const ShipState& target = w.ship[victim];
  const int shooter = 1 - victim;
  const double x = w.shots.x[slot], y = w.shots.y[slot];
  if (w.shots.kind[slot] != 2) {
    if (target.shield > 0) {
      LuoFlashi(w, x, y);
      PlayPairedSound(w, SndHit1A, SndHit1B);
    } else {
      LuoBoom(w, x, y, 0);
      LuoHylsy(w, x, y);
      PlayPairedSound(w, SndHit2A, SndHit2B);
    }
  } else {
    PlayPairedSound(w, SndHit3A, SndHit3B);
  }

  const ShipState& attacker = w.ship[shooter];
  if (attacker.weapon == 0) {
    DoDamage(w, victim + 1, attacker.shotEnergy);
  } else if (attacker.weapon == 1) {
    if (w.random.Next() < attacker.shotEnergy / 10) DoCritical(w, victim + 1);
  }
  w.hitsScored[shooter] += 1;
}

// A shot that has hit bounces off in a random direction and can never hit again.
void DeflectShot(GameWindow& w, int slot) {
  w.shots.life[slot] = kDeflectedShotLife;
  w.shots.vx[slot] = 10 - nearest(w.random.Next() * 20);
  w.shots.vy[slot] = 10 - nearest(w.random.Next() * 20);
}

// 3. Laser and ion shots: age, gravitation, flight, hits.
void MoveShots(GameWindow& w) {
  for (int i = 1; i <= 100; ++i) {
    if (!(w.shots.life[i] > 0)) continue;
    w.shots.life[i] -= 1;
    if (w.options.gravityOn) PullTowardCentre(w.shots.x[i], w.shots.y[i], &w.shots.vx[i], &w.shots.vy[i]);
    w.shots.x[i] += w.shots.vx[i] * w.zoom / 50;
    w.shots.y[i] += w.shots.vy[i] * w.zoom / 50;

    // A fresh shot (80) is 79 after its first step: it cannot hit in the frame it was fired.
    if (!(w.shots.life[i] < kShotArmedLife)) continue;
    // Player 1 is tested first; a shot inside both ships hits both.
    for (int victim = 0; victim < 2; ++victim) {
      if (!StrictlyInside(w.ship[victim].shipRect, w.shots.x[i], w.shots.y[i])) continue;
      if (w.ship[victim].alive) ShotLands(w, i, victim);
      DeflectShot(w, i);
    }
  }
}

// The response when the rammer's centre is inside the rammed ship: the rammed ship takes half the
// rammer's velocity, the rammer bounces back at half speed, both take their speed as damage.
void Ram(GameWindow& w, int rammerIndex, int rammedIndex) {
  ShipState& rammer = w.ship[rammerIndex];
  ShipState& rammed = w.ship[rammedIndex];
  PlaySound(w, SndCollision);

  rammed.vx = rammer.vx / 2;
  rammed.vy = rammer.vy / 2;
  rammer.vx = -rammer.vx / 2;
  rammer.vy = -rammer.vy / 2;
  // A rammer too slow to get apart gets a small random kick, so two ships never stay stuck.
  if (Int(rammer.vx) == 0) rammer.vx = 1 - nearest(w.random.Next() * 2);
  if (Int(rammer.vy) == 0) rammer.vy = 1 - nearest(w.random.Next() * 2);
  rammer.x += rammer.vx;
  rammer.y += rammer.vy;

  const int rammerPlayer = rammerIndex + 1, rammedPlayer = rammedIndex + 1;
  DoDamage(w, rammerPlayer, Speed(rammer));
  DoDamage(w, rammedPlayer, Speed(rammed));
  // A ship destroyed by the crash hits the other with four times its speed.
  if (rammer.hull <= 0) DoDamage(w, rammedPlayer, 4 * Speed(rammer));
  if (rammed.hull <= 0) DoDamage(w, rammerPlayer, 4 * Speed(rammed));
}

// 4. Collisions: each ship whose centre lies inside the other's rectangle rams it.
void Collisions(GameWindow& w) {
  ShipState& s1 = w.ship[0];
  ShipState& s2 = w.ship[1];
  if (s1.alive && s2.alive && StrictlyInside(s2.shipRect, s1.x, s1.y)) Ram(w, 0, 1);
  if (s1.alive && s2.alive && StrictlyInside(s1.shipRect, s2.x, s2.y)) Ram(w, 1, 0);
}

// 5. Ships stop dead on the axis that touches the arena edge; they never wrap around.
void ArenaBounds(GameWindow& w) {
  for (ShipState& s : w.ship) {
    const double h = s.radius * w.zoom / 100;
    if (s.x < 20 + h) {
      s.x = 20 + h;
      s.vx = 0;
    }
    if (s.x > 780 - h) {
      s.x = 780 - h;
      s.vx = 0;
    }
    if (s.y < 20 + h) {
      s.y = 20 + h;
      s.vy = 0;
    }
    if (s.y > 580 - h) {
      s.y = 580 - h;
      s.vy = 0;
    }
  }
}

// 6. The generator feeds energy and shield by the redirection mode. A value is set back to its
// maximum only in the frame after it went past it.
void DistributePower(GameWindow& w) {
  for (ShipState& s : w.ship) {
    if (s.systems[kSystemPowerGen] > 0 || s.systems[kSystemElectrics] > 0) continue;
    const bool feedEnergy = s.powerRedir == 0 || s.powerRedir == 1;
    const bool feedShield = s.powerRedir == 0 || s.powerRedir == 2;
    if (feedEnergy) {
      if (s.energy < 100) {
        s.energy += s.powerRedir == 0 ? s.energyRate / 2 : s.energyRate;
      } else {
        s.energy = 100;
      }
    }
    if (feedShield) {
      if (s.shield < s.shieldMax) {
        s.shield += s.powerRedir == 0 ? s.energyRate / 4 : s.energyRate / 2;
      } else {
        s.shield = s.shieldMax;
      }
    }
  }
}

// 7. The launcher counts up toward the next launch.
void ReloadLaunchers(GameWindow& w) {
  for (ShipState& s : w.ship) {
    if (s.missileCooldown < 100) s.missileCooldown += 1;
  }
}

int DamagedSystems(const ShipState& s) {
  int count = 0;
  for (int i = 1; i <= 10; ++i) {
    if (s.systems[i] > 0) ++count;
  }
  return count;
}

// 8. A working repair system mends the hull of a self-repairing ship and every damaged system but
// the engine; with three or more damaged systems on both ships it works forty times as fast.
void Repair(GameWindow& w) {
  const bool bothBadlyHit = DamagedSystems(w.ship[0]) >= 3 && DamagedSystems(w.ship[1]) >= 3;
  for (ShipState& s : w.ship) {
    if (s.systems[kSystemRepair] > 0) continue;
    if (s.selfRepair && s.hull < s.hullMax) s.hull += 0.05;
    for (int i = 1; i <= 10; ++i) {
      if (s.systems[i] > 0) {
        s.systems[i] -= 0.025;
        if (bothBadlyHit) s.systems[i] -= 1;
      } else {
        s.systems[i] = 0;
      }
    }
  }
}

}  // namespace

void Fysiikat(GameWindow& w) {
  // 1. Gravitation: the same pull everywhere, on living and wrecked ships alike.
  if (w.options.gravityOn) {
    for (ShipState& s : w.ship) PullTowardCentre(s.x, s.y, &s.vx, &s.vy);
  }

  WreckFlames(w);
  MoveShots(w);
  Collisions(w);
  ArenaBounds(w);

  // Power, reload and repair run only while both ships fly.
  if (!w.ship[0].alive || !w.ship[1].alive) return;
  DistributePower(w);
  ReloadLaunchers(w);
  Repair(w);
}

}  // namespace quorvex
