#include "game/combat/PilotLevels.h"

#include <algorithm>
#include <cmath>

#include "game/combat/Damage.h"
#include "game/combat/ShipControl.h"
#include "game/controls/Controls.h"
#include "platform/Numbers.h"

namespace quorvex::pilot {
namespace {

// "easy" flies as a beginner does: it looks where its opponent is on about one frame in twenty and
// then turns roughly that way, thrusts on half the frames, pulls the trigger on one frame in twenty
// of those the game's pilot would (one in a hundred for missiles and torpedoes), and only while it
// roughly points at its opponent. It puts all power into its guns, so its shields never recover,
// and turns tail when the opponent comes close.
constexpr double kEasyLook = 0.05;
constexpr double kEasyAimSpread = 4;  // heading units either side of the game's pilot's heading
constexpr double kEasyTrigger = 0.05;
constexpr double kEasyLaunch = 0.01;
constexpr double kEasyThrust = 0.5;
constexpr double kEasyShyRange = 150;

// Projectile speeds per frame. Lasers, ion shots and ships move by their speed times zoom / 50,
// missiles and chaingun bullets by their speed alone.
constexpr double kLaserSpeed = 25, kIonSpeed = 15, kMissileSpeed = 9, kBulletSpeed = 14;
constexpr double kShotLife = 80, kMissileLife = 200;
constexpr double kElectroRange = 150, kElectroCost = 5;
constexpr double kBulletSpread = 0.1;  // radians either side of the heading

double Distance(const ShipState& a, const ShipState& b) { return std::hypot(a.x - b.x, a.y - b.y); }

// The heading (0..32) of a direction in radians.
double HeadingOf(double angle) {
  const double h = std::fmod((angle * 180 / kPi - 270) / kHeadingDegrees, 32);
  return h < 0 ? h + 32 : h;
}
// How far to turn from one heading to another, the short way: positive clockwise (heading up).
double HeadingGap(double from, double to) {
  double g = std::fmod(to - from, 32);
  if (g > 16) g -= 32;
  if (g < -16) g += 32;
  return g;
}
double HeadingUnits(double radians) { return radians * 180 / kPi / kHeadingDegrees; }

// The first time t > 0 at which a projectile leaving the origin at `speed` meets a point at (px, py)
// moving by (vx, vy) per frame; -1 when it never does.
double InterceptTime(double px, double py, double vx, double vy, double speed) {
  const double a = vx * vx + vy * vy - speed * speed;
  const double b = 2 * (px * vx + py * vy);
  const double c = px * px + py * py;
  if (std::fabs(a) < 1e-9) return b < 0 ? -c / b : -1;
  const double disc = b * b - 4 * a * c;
  if (disc < 0) return -1;
  const double root = std::sqrt(disc);
  const double t1 = (-b - root) / (2 * a), t2 = (-b + root) / (2 * a);
  if (t1 > 0 && (t1 < t2 || t2 <= 0)) return t1;
  return t2 > 0 ? t2 : -1;
}

// Where the hard pilot points to hit with its selected weapon, and how long the shot takes there.
struct Sight {
  double heading = 0;
  double time = -1;  // -1: the shot cannot catch the target
};

Sight Lead(const GameWindow& w, const ShipState& me, const ShipState& foe) {
  const double k = w.zoom / 50;
  double speed = 0;
  switch (me.weapon) {
    case kLasers: speed = kLaserSpeed * k; break;
    case kIonCannon: speed = kIonSpeed * k; break;
    case kMissiles: speed = kMissileSpeed; break;
    case kChaingun: speed = kBulletSpeed; break;
    default: break;  // torpedoes steer themselves, the electrogun's arc needs no aim
  }
  const double px = foe.x - me.x, py = foe.y - me.y;
  Sight s;
  s.heading = HeadingOf(std::atan2(py, px));
  if (speed <= 0) return s;
  s.time = InterceptTime(px, py, foe.vx * k, foe.vy * k, speed);
  if (s.time > 0) s.heading = HeadingOf(std::atan2(py + foe.vy * k * s.time, px + foe.vx * k * s.time));
  return s;
}

// Turns toward `wanted` the short way, and holds still once a turn would carry past it.
void TurnToward(ShipState& s, double wanted) {
  const double step = Intact(s, kTurning) ? s.turnRate : s.turnRate / 10;
  const double gap = HeadingGap(s.heading, wanted);
  s.turnRightHeld = gap > step / 2;
  s.turnLeftHeld = gap < -step / 2;
}

// Turns toward `wanted` and thrusts once the nose is within `within` heading units of it.
void HeadFor(ShipState& s, double wanted, double within) {
  TurnToward(s, wanted);
  s.thrustHeld = std::fabs(HeadingGap(s.heading, wanted)) < within;
}

bool PowerWorks(const ShipState& s) { return Intact(s, kPowerGen) && Intact(s, kElectrics); }
bool LauncherReady(const ShipState& s) { return Intact(s, kLauncher) && s.missileCooldown >= s.launcherReload; }
double VolleyCost(const ShipState& s) { return s.laserPattern == 3 ? 2 * s.shotEnergy : s.shotEnergy; }

// Lasers and ion shots do their harm by the weapon selected when they land: while its last shot may
// still be flying the hard pilot keeps the gun it fired.
bool GunShotsFlying(const GameWindow& w, const ShipState& me, double d) {
  if (me.weapon != kLasers && me.weapon != kIonCannon) return false;
  const double speed = (me.weapon == kLasers ? kLaserSpeed : kIonSpeed) * w.zoom / 50;
  const double flight = std::min(kShotLife, d / std::max(speed, 1.0) + 2);
  return me.laserCooldown < std::min(me.laserReload, flight);
}

// The weapon for this range and target: a torpedo or missile whenever the launcher is ready, the
// electrogun close in, the chaingun at short range, the ion cannon against a shield and lasers
// otherwise; ammunition when the energy has run out.
int HardWeapon(const GameWindow& w, const ShipState& me, const ShipState& foe, double d) {
  if (GunShotsFlying(w, me, d)) return me.weapon;
  const bool power = PowerWorks(me);
  const bool chaingun = me.hasChaingun && Intact(me, kChaingunSystem) && me.chaingunAmmo > 0;
  const bool missiles = me.hasMissiles && me.missiles > 0 && Intact(me, kLauncher);
  if (me.hasTorpedoes && me.torpedoes > 0 && LauncherReady(me) && d > 120) return kTorpedoes;
  if (missiles && LauncherReady(me) && d > 60 && d < 450) return kMissiles;
  if (me.hasElectroGun && power && d < kElectroRange - 15 && me.energy >= kElectroCost) return kElectroGun;
  if (chaingun && d < 260) return kChaingun;
  if (power && me.energy >= VolleyCost(me)) {
    // The ion cannon against a shield: its hits break systems however strong the shield is.
    if (me.hasIonCannon && foe.shield > 0 && me.energy >= 2 * me.shotEnergy) return kIonCannon;
    return kLasers;
  }
  if (chaingun) return kChaingun;
  if (missiles) return kMissiles;
  return kLasers;
}

// The shields are fed while the guns keep energy for a few volleys (or the weapon needs none), the
// guns when their energy runs short, both otherwise; one step a frame, none while the generator
// gives nothing.
constexpr double kGunReserve = 25;
void HardPower(GameWindow& w, ShipState& s) {
  if (!PowerWorks(s)) return;
  const bool shieldWorks = Intact(s, kShieldSystem) && s.shieldMax > 0;
  const bool ammoWeapon = s.weapon == kMissiles || s.weapon == kTorpedoes || s.weapon == kChaingun;
  int wanted = kBalanced;
  if (shieldWorks && s.shield < s.shieldMax && (ammoWeapon || s.energy >= kGunReserve)) wanted = kToShields;
  else if (s.energy < kGunReserve && !ammoWeapon) wanted = kToWeapons;
  if (s.powerRedir != wanted) StepPower(w, s);
}

double Toughness(const ShipState& s) { return std::max(s.hull, 0.0) + std::max(s.shield, 0.0); }

// Something at (rx, ry) from the ship, moving by (ux, uy) a frame against it: the heading across its
// path, away from where it passes (either way when dead on), when it passes within `size` inside
// `frames`; -1 otherwise.
double HeadingOutOfTheWay(double rx, double ry, double ux, double uy, double size, double frames) {
  const double uu = ux * ux + uy * uy;
  if (uu < 1e-6) return -1;
  const double t = -(rx * ux + ry * uy) / uu;
  if (t <= 0 || t > frames) return -1;
  const double mx = rx + ux * t, my = ry + uy * t;  // where it passes, from the ship
  if (std::hypot(mx, my) > size) return -1;
  double ax = -uy, ay = ux;
  if (ax * mx + ay * my > 0) ax = -ax, ay = -ay;
  return HeadingOf(std::atan2(ay, ax));
}

// A missile, a torpedo or a tougher ship's charge that will pass through the ship soon: the heading
// that takes the ship out of its way, or -1. A torpedo homes on its target, so only a ship fast
// enough to outrun its turn tries; the others fight on.
constexpr double kOutrunsTorpedoes = 7;
double DodgeHeading(const GameWindow& w, int me) {
  const ShipState& s = w.ship[me];
  const ShipState& foe = w.ship[1 - me];
  const double k = w.zoom / 50;
  const double size = s.radius * w.zoom / 100 + 12;
  const double ownTorpedo = me == 0 ? 1 : 2;  // a torpedo of this ship homes on the other one
  const MissilePool& m = w.missilesPool;
  for (int i = 1; i <= 50; ++i) {
    if (!(m.life[i] > 0) || m.kind[i] == ownTorpedo) continue;
    const bool torpedo = m.kind[i] != 0;
    if (torpedo && !(s.maxSpeed > kOutrunsTorpedoes)) continue;
    const double step = torpedo ? k : 1;
    const double h = HeadingOutOfTheWay(m.x[i] - s.x, m.y[i] - s.y, m.vx[i] * step - s.vx * k,
                                        m.vy[i] * step - s.vy * k, size + (torpedo ? 30 : 0), 50);
    if (h >= 0) return h;
  }
  if (Toughness(foe) > Toughness(s)) {
    const double reach = (s.radius + foe.radius) * w.zoom / 100;
    return HeadingOutOfTheWay(foe.x - s.x, foe.y - s.y, (foe.vx - s.vx) * k, (foe.vy - s.vy) * k, reach, 25);
  }
  return -1;
}

// With an escape ship to come, a ship about to be lost blows itself up beside its opponent at speed,
// so the explosion hurts the opponent and the escape ship takes over at once.
bool ReadyToEject(const GameWindow& w, const ShipState& me, double d) {
  if (me.ejectShipFile.empty() || me.shield > 0 || me.hull > me.hullMax / 10) return false;
  const double speed = std::hypot(me.vx, me.vy) / 2;
  if (nearest(speed) == 0 || d > 120) return false;
  return FindEscapeShip(w, me.ejectShipFile) >= 0;
}

// The range the hard pilot keeps for its weapon.
double PreferredRange(int weapon) {
  switch (weapon) {
    case kElectroGun: return 90;
    case kChaingun: return 130;
    case kTorpedoes: return 300;
    case kMissiles: return 180;
    default: return 150;
  }
}

bool WantsToFire(const GameWindow& w, const ShipState& me, const ShipState& foe, double d, const Sight& sight) {
  const double gap = std::fabs(HeadingGap(HeadingAfterTurn(me), sight.heading));
  // Aimed when the shot passes within most of the target's half width.
  const double half = foe.radius * w.zoom / 100 * 0.8;
  double tolerance = HeadingUnits(std::atan2(half, std::max(d, 1.0)));
  switch (me.weapon) {
    case kElectroGun: return d < kElectroRange;
    case kTorpedoes: return d > 100 && gap < 8;
    case kChaingun: tolerance += HeadingUnits(kBulletSpread) / 2; return sight.time > 0 && sight.time < 50 && gap < tolerance;
    case kMissiles: return sight.time > 6 && sight.time < kMissileLife / 2 && gap < tolerance;
    case kLasers:
      // Lasers laid by the targeting system fly at the target wherever the ship points.
      if (me.hasTargeting && Intact(me, kTargeting)) return d < 400;
      return sight.time > 0 && sight.time < kShotLife - 10 && d < 600 && gap < tolerance;
    default: return sight.time > 0 && sight.time < kShotLife - 10 && d < 500 && gap < tolerance;
  }
}

// Flies for the velocity (vx, vy): turns to push away the difference and thrusts once pointing that
// way. False when the velocity is within `slack` of it, leaving the nose free to aim.
bool FlyFor(ShipState& me, double vx, double vy, double slack) {
  const double ex = vx - me.vx, ey = vy - me.vy;
  if (std::hypot(ex, ey) < slack) return false;
  HeadFor(me, HeadingOf(std::atan2(ey, ex)), 3);
  return true;
}

// A push back toward the arena from within 100 pixels of an edge, where a ship stops dead.
void EdgePush(const ShipState& me, double* px, double* py) {
  *px = me.x < 120 ? 1 : me.x > 680 ? -1 : 0;
  *py = me.y < 120 ? 1 : me.y > 480 ? -1 : 0;
}

// The direction, of sixteen, whose straight flight for a second at top speed ends furthest from
// where the opponent is heading (it turns and thrusts only now and then) and not far from the
// middle: the edges stop a ship dead and the corners trap it.
constexpr double kFleeAhead = 50;   // frames
constexpr double kFleeMiddle = 0.6;  // distance from the middle weighed against distance from the opponent
double FleeAngle(const GameWindow& w, const ShipState& me, const ShipState& foe) {
  const double k = w.zoom / 50;
  const double fx = foe.x + foe.vx * k * kFleeAhead / 2, fy = foe.y + foe.vy * k * kFleeAhead / 2;
  double best = 0, bestScore = -1e9;
  for (int i = 0; i < 16; ++i) {
    const double a = i * 2 * kPi / 16;
    const double px = std::clamp(me.x + std::cos(a) * me.maxSpeed * k * kFleeAhead, 60.0, 740.0);
    const double py = std::clamp(me.y + std::sin(a) * me.maxSpeed * k * kFleeAhead, 60.0, 540.0);
    const double score = std::hypot(px - fx, py - fy) - kFleeMiddle * std::hypot(px - 400, py - 300);
    if (score > bestScore) bestScore = score, best = a;
  }
  return best;
}

constexpr double kHopeless = 2.5;       // an opponent this many times tougher is kept away from
constexpr double kRammable = 2.0 / 3;   // an opponent this much weaker is rammed
constexpr double kQuickTurn = 0.45;     // slower-turning ships point and close rather than circle

void HardManoeuvre(GameWindow& w, int p, double d, const Sight& sight) {
  ShipState& me = w.ship[p];
  const ShipState& foe = w.ship[1 - p];
  me.thrustHeld = false;
  // A wrecked engine gives a tenth of the thrust: the ship stands and fights.
  if (!Intact(me, kEngine)) {
    TurnToward(me, sight.heading);
    return;
  }
  const double dodge = DodgeHeading(w, p);
  if (dodge >= 0) {
    HeadFor(me, dodge, 6);
    return;
  }
  const double cx = me.x - 400, cy = me.y - 300;
  if (w.options.gravityOn && std::hypot(cx, cy) < 140 && d > 260) {
    // Out of the gravitation well while the opponent is far: the pull is strongest to turn round in.
    HeadFor(me, HeadingOf(std::atan2(cy, cx)), 3);
    return;
  }

  const double top = me.maxSpeed;
  const double lx = (foe.x - me.x) / std::max(d, 1.0), ly = (foe.y - me.y) / std::max(d, 1.0);
  const double mine = Toughness(me), theirs = Toughness(foe);

  if (theirs > kHopeless * mine) {
    // Hopeless in a straight fight: it keeps away at top speed and shoots when it can, so the
    // opponent has to catch it first.
    const double a = FleeAngle(w, me, foe);
    if (!FlyFor(me, std::cos(a) * top, std::sin(a) * top, top * 0.2)) TurnToward(me, sight.heading);
    return;
  }
  if (theirs < kRammable * mine) {
    // Much tougher: a collision hurts both alike, so it rams.
    HeadFor(me, sight.heading, 4);
    return;
  }
  const double range = PreferredRange(me.weapon);
  if (me.turnRate < kQuickTurn || me.weapon == kTorpedoes || me.weapon == kElectroGun) {
    // Point and close: too slow a turn to circle, or a weapon that needs no aim.
    const double k = w.zoom / 50;
    const double closing = ((me.vx - foe.vx) * lx + (me.vy - foe.vy) * ly) * k;
    TurnToward(me, sight.heading);
    const bool facing = std::fabs(HeadingGap(me.heading, sight.heading)) < 3;
    me.thrustHeld = facing && d > range && closing < std::max(1.0, top * 0.5 * k);
    return;
  }
  // Circle at the weapon's range: across the line of fire, the way it already drifts, so the
  // opponent's shots pass behind it, and the nose on the target whenever the drift allows.
  const double across = (me.vx - foe.vx) * -ly + (me.vy - foe.vy) * lx;
  const double side = across < 0 ? -1 : 1;
  const double radial = std::clamp((d - range) / 100, -1.0, 1.0);
  double ex = 0, ey = 0;
  EdgePush(me, &ex, &ey);
  const double vx = (side * -ly * 0.6 + lx * radial * 0.7 + ex * 0.6) * top;
  const double vy = (side * lx * 0.6 + ly * radial * 0.7 + ey * 0.6) * top;
  if (!FlyFor(me, vx, vy, top * 0.35)) TurnToward(me, sight.heading);
}

}  // namespace

void FlyEasy(GameWindow& w, int p, double& close) {
  const ShipState& foe = w.ship[1 - p];
  ShipState& me = w.ship[p];
  const double d = Distance(me, foe);

  // It takes in where its opponent is only now and then; meanwhile it turns on as it last decided.
  if (w.random.Next() < kEasyLook) {
    const double spread = (w.random.Next() * 2 - 1) * kEasyAimSpread;
    if (d < kEasyShyRange) {
      TurnToward(me, HeadingOf(std::atan2(me.y - foe.y, me.x - foe.x)) + spread);
    } else {
      Steer(me, WantedHeading(close, me, foe) + spread);
    }
  }
  me.thrustHeld = w.random.Next() < kEasyThrust;
  close = 0;
  if (PowerWorks(me) && me.powerRedir != kToWeapons) StepPower(w, me);
  ChooseWeapon(me, foe);
  if (d < kCloseRange) close = 1;
  if (close < 1) {
    // It pulls the trigger only when it roughly points at its opponent, and not every time then.
    const double bearing = HeadingOf(std::atan2(foe.y - me.y, foe.x - me.x));
    const bool pointing = std::fabs(HeadingGap(me.heading, bearing)) < kEasyAimSpread;
    const bool launcher = me.weapon == kMissiles || me.weapon == kTorpedoes;
    const bool wants = me.weapon == kElectroGun || me.weapon == kTorpedoes || d <= kFireRange;
    me.fireHeld = wants && pointing && w.random.Next() < (launcher ? kEasyLaunch : kEasyTrigger);
    if (me.weapon == kTorpedoes) me.thrustHeld = false;
  }
}

void FlyHard(GameWindow& w, int p, double& close) {
  const ShipState& foe = w.ship[1 - p];
  ShipState& me = w.ship[p];
  const double d = Distance(me, foe);
  close = d < kCloseRange ? 1 : 0;

  if (ReadyToEject(w, me, d)) {
    DoDamage(w, p + 1, kSelfDestructDamage);
    return;
  }

  me.weapon = HardWeapon(w, me, foe, d);
  HardPower(w, me);
  const Sight sight = Lead(w, me, foe);
  HardManoeuvre(w, p, d, sight);
  me.fireHeld = WantsToFire(w, me, foe, d, sight);
}

}  // namespace quorvex::pilot
