#include "game/combat/PilotLevels.h"

#include <algorithm>
#include <cmath>

#include "game/combat/Damage.h"
#include "game/controls/Controls.h"
#include "platform/Numbers.h"

namespace quorvex::pilot {
namespace {

// "easy": it looks where its opponent is on about one frame in twenty and then turns roughly that
// way, and pulls the trigger on one frame in twenty of those the game's pilot would, and only while
// it roughly points at its opponent.
constexpr double kEasyLook = 0.05;
constexpr double kEasyAimSpread = 4;  // heading units either side of the game's pilot's heading
constexpr double kEasyTrigger = 0.05;

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
    // The ion cannon against a shield, unless the lasers fire fast or in bursts (as the game's pilot).
    const bool quickLasers = me.laserPattern == 4 || me.laserPattern == 5 || me.laserReload < 16;
    if (me.hasIonCannon && foe.shield > 0 && !quickLasers && me.energy >= 2 * me.shotEnergy) return kIonCannon;
    return kLasers;
  }
  if (chaingun) return kChaingun;
  if (missiles) return kMissiles;
  return kLasers;
}

// Shields when they are low or a weapon needs no energy, weapons when the energy runs short,
// balanced otherwise; one step a frame, and none while the generator gives nothing.
void HardPower(GameWindow& w, ShipState& s) {
  if (!PowerWorks(s)) return;
  const bool shieldWorks = Intact(s, kShieldSystem) && s.shieldMax > 0;
  const bool ammoWeapon = s.weapon == kMissiles || s.weapon == kTorpedoes || s.weapon == kChaingun;
  int wanted = kBalanced;
  if (shieldWorks && s.shield < s.shieldMax / 3) wanted = kToShields;
  else if (s.energy < 30 && !ammoWeapon) wanted = kToWeapons;
  else if (shieldWorks && ammoWeapon && s.shield < s.shieldMax) wanted = kToShields;
  if (s.powerRedir != wanted) StepPower(w, s);
}

// A missile or torpedo that will pass through the ship within a second: the heading that takes the
// ship out of its way (across its path, to the side it would miss on), or -1.
double DodgeHeading(const GameWindow& w, int me) {
  const ShipState& s = w.ship[me];
  const double k = w.zoom / 50;
  const double size = s.radius * w.zoom / 100 + 12;
  const double ownTorpedo = me == 0 ? 1 : 2;  // a torpedo of this ship homes on the other one
  for (int i = 1; i <= 50; ++i) {
    const MissilePool& m = w.missilesPool;
    if (!(m.life[i] > 0) || m.kind[i] == ownTorpedo) continue;
    const bool torpedo = m.kind[i] != 0;
    const double step = torpedo ? k : 1;
    const double rx = m.x[i] - s.x, ry = m.y[i] - s.y;
    const double ux = m.vx[i] * step - s.vx * k, uy = m.vy[i] * step - s.vy * k;
    const double uu = ux * ux + uy * uy;
    if (uu < 1e-6) continue;
    const double t = -(rx * ux + ry * uy) / uu;
    if (t <= 0 || t > 50) continue;
    const double mx = rx + ux * t, my = ry + uy * t;  // where it passes, from the ship
    if (std::hypot(mx, my) > size + (torpedo ? 30 : 0)) continue;
    // Across its path, away from where it passes (either way when dead on).
    double ax = -uy, ay = ux;
    if (ax * mx + ay * my > 0) ax = -ax, ay = -ay;
    return HeadingOf(std::atan2(ay, ax));
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
  const double gap = std::fabs(HeadingGap(me.heading, sight.heading));
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

}  // namespace

void FlyEasy(GameWindow& w, int p, double& close) {
  const ShipState& foe = w.ship[1 - p];
  ShipState& me = w.ship[p];
  const double d = Distance(me, foe);

  // It takes in where its opponent is only now and then; meanwhile it turns on as it last decided.
  if (w.random.Next() < kEasyLook) {
    Steer(me, WantedHeading(close, me, foe) + (w.random.Next() * 2 - 1) * kEasyAimSpread);
  }
  me.thrustHeld = w.random.Next() < kThrustChance;
  close = 0;
  RedirectPower(w, me);
  ChooseWeapon(me, foe);
  if (d < kCloseRange) close = 1;
  if (close < 1) {
    // It pulls the trigger only when it roughly points at its opponent, and not every time then.
    const double bearing = HeadingOf(std::atan2(foe.y - me.y, foe.x - me.x));
    const bool pointing = std::fabs(HeadingGap(me.heading, bearing)) < kEasyAimSpread;
    const bool wants = me.weapon == kElectroGun || me.weapon == kTorpedoes || d <= kFireRange;
    me.fireHeld = wants && pointing && w.random.Next() < kEasyTrigger;
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
  me.fireHeld = WantsToFire(w, me, foe, d, sight);

  const bool engine = Intact(me, kEngine);
  const double dodge = DodgeHeading(w, p);
  if (dodge >= 0) {
    // Out of the way first; a wrecked engine cannot carry it out of the way, so it fights on.
    if (engine) {
      TurnToward(me, dodge);
      me.thrustHeld = std::fabs(HeadingGap(me.heading, dodge)) < 6;
      return;
    }
  }

  const double cx = me.x - 400, cy = me.y - 300;
  if (w.options.gravityOn && engine && std::hypot(cx, cy) < 140 && d > 260) {
    // Out of the gravitation well while the opponent is far: the pull is strongest to turn round in.
    const double out = HeadingOf(std::atan2(cy, cx));
    TurnToward(me, out);
    me.thrustHeld = std::fabs(HeadingGap(me.heading, out)) < 3;
    return;
  }

  TurnToward(me, sight.heading);
  // Closing speed along the line between the ships, in pixels per frame.
  const double k = w.zoom / 50;
  const double lx = (foe.x - me.x) / std::max(d, 1.0), ly = (foe.y - me.y) / std::max(d, 1.0);
  const double closing = ((me.vx - foe.vx) * lx + (me.vy - foe.vy) * ly) * k;
  const double range = PreferredRange(me.weapon);
  const bool facing = std::fabs(HeadingGap(me.heading, sight.heading)) < 3;
  // A wrecked engine gives a tenth of the thrust: the ship stands and fights.
  me.thrustHeld = engine && facing && d > range && closing < std::max(1.0, me.maxSpeed * 0.5 * k);
}

}  // namespace quorvex::pilot
