#include "game/combat/ShipControl.h"

#include <cmath>

#include "game/audio/SoundEffects.h"
#include "game/combat/ComputerPilot.h"
#include "game/controls/Controls.h"
#include "game/render/Particles.h"
#include "platform/Numbers.h"

namespace quorvex {
namespace {

// The game's geometry takes pi as 3.14 everywhere.
constexpr double kPi = 3.14;
constexpr double kDegree = kPi / 180;

// On-board systems that ship control looks at.
constexpr int kEngine = 0, kTurning = 4, kLauncher = 5, kChaingunSystem = 7, kTargeting = 8;

constexpr double kLaserSpeed = 25, kIonSpeed = 15, kMissileSpeed = 9, kTorpedoSpeed = 7;
constexpr double kShotLife = 80, kMissileLife = 200;
constexpr double kIonKind = 2;
constexpr double kElectroRange = 150, kElectroCost = 5;
constexpr double kChaingunRound = 0.1;  // ammunition per bullet
constexpr int kLastShot = 100, kLastMissile = 50, kLastTrail = 100, kLastFiredBullet = 100, kLastArc = 5;

// The first free slot 1..last of a pool (life 0 or below), 0 when every slot is busy.
template <size_t N>
int FirstFree(const std::array<double, N>& life, int last) {
  for (int i = 1; i <= last; ++i) {
    if (life[static_cast<size_t>(i)] <= 0) return i;
  }
  return 0;
}

// A direction of fire: where shots fly (vc, vs), and the angle the barrels are laid out from, back
// along (c, s) and to the side along (pc, ps).
struct Aim {
  double vc, vs, c, s, pc, ps;
};

Aim AimFrom(double angle, double vc, double vs) {
  return Aim{vc, vs, std::cos(angle), std::sin(angle), std::cos(angle + 90 * kDegree), std::sin(angle + 90 * kDegree)};
}

Aim AimAlong(double angle) { return AimFrom(angle, std::cos(angle), std::sin(angle)); }

// The targeting system: the angle to the opponent within a quarter turn, from which the barrels are
// laid out as it stands; only the signs of the shots' velocity turn toward the opponent's present
// position. Straight above or below the ship, where the arctangent has no value, the aim is
// straight up or down the screen.
Aim AimAt(const ShipState& s, const ShipState& target) {
  const double dx = target.x - s.x;
  const double dy = target.y - s.y;
  const double angle = dx == 0 ? kPi / 2 : std::atan(std::fabs(dy) / std::fabs(dx));
  const double vc = dx < 0 ? -std::cos(angle) : std::cos(angle);
  const double vs = dy < 0 ? -std::sin(angle) : std::sin(angle);
  return AimFrom(angle, vc, vs);
}

// Makes one laser shot with barrel offset b; returns its slot, 0 when the pool is full.
int MakeLaserShot(GameWindow& w, const ShipState& s, const Aim& aim, double b) {
  ShotPool& p = w.shots;
  const int i = FirstFree(p.life, kLastShot);
  if (i == 0) return 0;
  const double side = b * (s.radius / 50) * (w.zoom / 50);
  const double back = kLaserSpeed * (s.radius / 100);
  p.life[i] = kShotLife;
  p.kind[i] = s.laserKind;
  p.vx[i] = kLaserSpeed * aim.vc;
  p.vy[i] = kLaserSpeed * aim.vs;
  p.x[i] = s.x + side * aim.pc - back * aim.c;
  p.y[i] = s.y + side * aim.ps - back * aim.s;
  return i;
}

void FireLasers(GameWindow& w, int player, double a) {
  ShipState& s = w.ship[player];
  const ShipState& opponent = w.ship[1 - player];
  // Ready once the charge has reached the reload time (a reload that is not a whole number would
  // otherwise never be met exactly).
  if (!(s.laserCooldown >= s.laserReload && s.energy >= s.shotEnergy)) return;
  s.energy -= s.shotEnergy;
  w.shotsFired[player] += 1;
  if (s.laserPattern == 3) {
    // Twin cannons need a second payment; without it nothing fires and the first stays spent.
    if (s.energy < s.shotEnergy) return;
    s.energy -= s.shotEnergy;
  }
  PlaySound(w, player == 0 ? SndLaserP1 : SndLaserP2);

  const Aim aim = s.hasTargeting && s.systems[kTargeting] <= 0 ? AimAt(s, opponent) : AimAlong(a);
  ShotPool& p = w.shots;
  switch (s.laserPattern) {
    case 2:  // alternating left and right
      s.nextBarrel = s.nextBarrel == 20 ? -20 : 20;
      MakeLaserShot(w, s, aim, s.nextBarrel);
      break;
    case 3: {  // a pair, the first one step ahead
      const int first = MakeLaserShot(w, s, aim, 10);
      if (first != 0) {
        p.x[first] += p.vx[first];
        p.y[first] += p.vy[first];
      }
      s.nextBarrel = -10;
      MakeLaserShot(w, s, aim, -10);
      w.shotsFired[player] += 1;
      break;
    }
    case 4:  // three barrels in turn: -25, 0, 25
      s.nextBarrel += 25;
      if (s.nextBarrel > 25) s.nextBarrel = -25;
      MakeLaserShot(w, s, aim, s.nextBarrel);
      break;
    case 5:  // a scattered burst of up to four extra shots, then the common one
      for (int k = 0; k < 4 && s.energy >= s.shotEnergy; ++k) {
        s.energy -= s.shotEnergy;
        w.shotsFired[player] += 1;
        const double b = w.random.Next() * 10 - 5;
        const int i = MakeLaserShot(w, s, aim, b);
        if (i != 0) {
          p.x[i] += p.vx[i] + w.random.Next() * 3;
          p.y[i] += p.vy[i] + w.random.Next() * 3;
        }
      }
      MakeLaserShot(w, s, aim, s.nextBarrel);
      break;
    default:  // one centred cannon (pattern 1; also any pattern a ship file should not hold)
      MakeLaserShot(w, s, aim, 0);
      break;
  }
  s.laserCooldown = 0;
}

void FireIonCannon(GameWindow& w, int player, double a) {
  ShipState& s = w.ship[player];
  if (!(s.laserCooldown >= s.laserReload / 2 && s.energy >= 2 * s.shotEnergy)) return;
  s.energy -= 2 * s.shotEnergy;
  PlaySound(w, SndIon);
  w.shotsFired[player] += 1;
  ShotPool& p = w.shots;
  const int i = FirstFree(p.life, kLastShot);
  if (i != 0) {
    const double side = (s.radius / 100) * (w.zoom / 50);
    const double ahead = 26 * (s.radius / 100);
    p.life[i] = kShotLife;
    p.kind[i] = kIonKind;
    p.x[i] = s.x + side * std::cos(a + 90 * kDegree) + ahead * std::cos(a);
    p.y[i] = s.y + side * std::sin(a + 90 * kDegree) + ahead * std::sin(a);
    p.vx[i] = kIonSpeed * std::cos(a);
    p.vy[i] = kIonSpeed * std::sin(a);
  }
  s.laserCooldown = 0;
}

// One missile or torpedo into the missile pool.
void Launch(GameWindow& w, int player, double angle, double kind, double speed) {
  const ShipState& s = w.ship[player];
  w.shotsFired[player] += 1;
  MissilePool& p = w.missilesPool;
  const int i = FirstFree(p.life, kLastMissile);
  if (i == 0) return;
  const double side = (s.radius / 100) * (w.zoom / 50);
  p.life[i] = kMissileLife;
  p.kind[i] = kind;
  p.x[i] = s.x + side * std::cos(angle + 90 * kDegree);
  p.y[i] = s.y + side * std::sin(angle + 90 * kDegree);
  p.vx[i] = speed * std::cos(angle);
  p.vy[i] = speed * std::sin(angle);
}

// Missiles (kind 0) or torpedoes (the player's kind); a twin launcher fires a splayed pair while
// there are two left.
void FireLauncher(GameWindow& w, int player, double a, bool torpedoes) {
  ShipState& s = w.ship[player];
  double& left = torpedoes ? s.torpedoes : s.missiles;
  if (!(s.missileCooldown >= s.launcherReload && left > 0 && s.systems[kLauncher] <= 0)) return;
  const double kind = torpedoes ? player + 1 : 0;
  const double speed = torpedoes ? kTorpedoSpeed : kMissileSpeed;
  const double splay = (torpedoes ? 5 : 2) * kDegree;
  left -= 1;
  s.missileCooldown = 0;
  PlaySound(w, SndLaunch);
  if (!s.twinLauncher) {
    Launch(w, player, a, kind, speed);
    return;
  }
  Launch(w, player, a - splay, kind, speed);
  if (left > 0) {
    left -= 1;
    Launch(w, player, a + splay, kind, speed);
  }
}

void FireElectroGun(GameWindow& w, int player) {
  ShipState& s = w.ship[player];
  const ShipState& opponent = w.ship[1 - player];
  if (!opponent.alive) return;
  const double dx = opponent.x - s.x;
  const double dy = opponent.y - s.y;
  if (!(std::sqrt(dx * dx + dy * dy) < kElectroRange)) return;
  if (s.energy < kElectroCost) return;
  s.energy -= kElectroCost;
  PlayPairedSound(w, SndHit3A, SndHit3B);
  for (int i = 1; i <= kLastArc; ++i) {
    if (w.electroArcs[static_cast<size_t>(i)] == 0) {
      w.electroArcs[static_cast<size_t>(i)] = player + 1;
      break;
    }
  }
}

void FireChaingun(GameWindow& w, int player, double a) {
  ShipState& s = w.ship[player];
  if (!(s.chaingunAmmo > 0 && s.systems[kChaingunSystem] <= 0)) return;
  s.chaingunAmmo -= kChaingunRound;
  PlaySound(w, SndChain);
  w.shotsFired[player] += 1;
  BulletPool& p = w.bullets;
  for (int i = 1; i <= kLastFiredBullet; ++i) {
    if (p.life[static_cast<size_t>(i)] != 0) continue;  // below 0: a ricochet still showing
    p.life[i] = 50 + nearest(w.random.Next() * 10);
    p.x[i] = s.x;
    p.y[i] = s.y;
    p.angle[i] = a + (2 * w.random.Next() - 1) / 10;
    break;
  }
}

// The thrust of one frame: an engine trail dot, the push, and the per-axis speed limit.
void Thrust(GameWindow& w, ShipState& s, double a) {
  TrailPool& trail = w.trail;
  const double reach = (s.radius / 100) * (w.zoom / 100) * 65;
  // Trail dots leave slightly off the rear axis, 8 to 16 degrees. Without trails no dot is made and
  // no random number is taken; the engine then smokes from the middle of that spread.
  const bool trails = w.options.engineTrails;
  const int life = trails ? static_cast<int>(Int(w.random.Next() * 24)) + 1 : 0;
  const double spread = trails ? w.random.Next() * 8 - 16 : -12;
  const double e = a + kPi + spread * kDegree;
  const double ex = s.x + reach * std::cos(e);
  const double ey = s.y + reach * std::sin(e);
  int dot = -1;
  if (trails) {
    dot = FirstFree(trail.life, kLastTrail);  // slot 0 when every dot is in use
    trail.life[dot] = life;
    trail.x[dot] = ex;
    trail.y[dot] = ey;
    trail.vx[dot] = (std::fabs(s.vx) + 3) * std::cos(e);
    trail.vy[dot] = (std::fabs(s.vy) + 3) * std::sin(e);
  }

  double push = s.mass;
  if (s.systems[kEngine] != 0) {
    // A damaged engine sputters: its trail flickers and it smokes.
    if (dot >= 0 && w.random.Next() < 0.3) trail.life[dot] = 0;
    if (w.random.Next() < 0.3) LuoSavu(w, ex, ey);
    push = s.mass * 10;
  }
  s.vx += std::cos(a) / push;
  s.vy += std::sin(a) / push;

  // Only thrust is limited: speed from a collision or gravitation lasts until the ship thrusts.
  if (s.vx > s.maxSpeed) s.vx = s.maxSpeed;
  if (s.vx < -s.maxSpeed) s.vx = -s.maxSpeed;
  if (s.vy > s.maxSpeed) s.vy = s.maxSpeed;
  if (s.vy < -s.maxSpeed) s.vy = -s.maxSpeed;
}

}  // namespace

double HeadingRadians(double heading) { return (heading * 360 / 32 + 270) * kDegree; }

double HeadingAfterTurn(const ShipState& s) {
  // Both keys held cancel out. The wrap sets the heading rather than adding a turn.
  const double turn = s.systems[kTurning] <= 0 ? s.turnRate : s.turnRate / 10;
  double h = s.heading;
  if (s.turnRightHeld) h += turn;
  if (s.turnLeftHeld) h -= turn;
  if (h < 0) h = 31;
  if (h > 31) h = 0;
  return h;
}

void ControlShip(GameWindow& w, int player) {
  ShipState& s = w.ship[player];
  s.heading = HeadingAfterTurn(s);

  const double a = HeadingRadians(s.heading);
  if (s.thrustHeld) Thrust(w, s, a);

  s.x += s.vx * w.zoom / 50;
  s.y += s.vy * w.zoom / 50;

  if (s.laserCooldown < s.laserReload) s.laserCooldown += 1;

  if (!s.fireHeld) return;
  switch (s.weapon) {
    case 0: FireLasers(w, player, a); break;
    case 1: FireIonCannon(w, player, a); break;
    case 2: FireLauncher(w, player, a, false); break;
    case 3: FireLauncher(w, player, a, true); break;
    case 4: FireElectroGun(w, player); break;
    case 5: FireChaingun(w, player, a); break;
    default: break;
  }
}

void Ohjailu(GameWindow& w) {
  AI_Kontrollit(w);  // the computer pilot sets player 2's flags before the polling
  PollControls(w);
  for (int p = 0; p < 2; ++p) {
    if (w.ship[p].alive) ControlShip(w, p);
  }
}

}  // namespace quorvex
