#include "game/combat/ComputerPilot.h"

#include <cmath>

#include "game/audio/SoundEffects.h"
#include "platform/Numbers.h"

namespace quorvex {
namespace {

// The game's geometry takes pi as 3.14 everywhere.
constexpr double kPi = 3.14;
constexpr double kHeadingDegrees = 11.25;  // one 32nd of a turn

// On-board systems the pilot looks at.
constexpr int kShieldSystem = 1, kPowerGen = 2, kElectrics = 3, kLauncher = 5, kChaingunSystem = 7;

constexpr double kCloseRange = 200;  // closer than this the pilot breaks away and holds its fire
constexpr double kFireRange = 450;   // lasers, ion cannon, missiles and chaingun fire from here in
constexpr double kThrustChance = 0.75;

constexpr int kLasers = 0, kIonCannon = 1, kMissiles = 2, kTorpedoes = 3, kElectroGun = 4, kChaingun = 5;
constexpr int kBalanced = 0, kToWeapons = 1, kToShields = 2;

bool Intact(const ShipState& s, int system) { return s.systems[static_cast<size_t>(system)] <= 0; }

// The heading (in 32nds, not brought into 0..32) the pilot steers for. Far off it is the bearing
// turned half round, which the turning rule below settles opposite to, that is onto the opponent;
// close in it is a quarter turn either side, so the ship swings across and away.
double WantedHeading(const GameWindow& w, const ShipState& me, const ShipState& foe) {
  double b = 0;
  if (me.x != foe.x) b = std::atan((me.y - foe.y) / (me.x - foe.x));
  if (me.x > foe.x) b += kPi;
  const double degrees = b * 180 / kPi;
  if (w.aiClose < 1) return (degrees + 270) / kHeadingDegrees;
  if (me.x < foe.x || me.y < foe.y) return (degrees + 90) / kHeadingDegrees;
  return (degrees - 90) / kHeadingDegrees;
}

void Steer(ShipState& s, double wanted) {
  if (Int(wanted) == Int(s.heading)) {
    s.turnLeftHeld = false;
    s.turnRightHeld = false;
    return;
  }
  const double e = std::fabs(nearest(s.heading) - nearest(wanted));
  if (e <= 1) return;  // nearly there: keep turning the way it was
  s.turnLeftHeld = e < 16;
  s.turnRightHeld = !s.turnLeftHeld;
}

void StepPower(GameWindow& w, ShipState& s) {
  s.powerRedir += 1;
  if (s.powerRedir > 2) s.powerRedir = 0;
  PlaySound(w, SndSelect);
}

// One step per frame toward shields when the shield is low or a weapon that needs no energy is
// selected, toward weapons when it is merely half gone, otherwise back to balanced (the last only
// with a working generator and electrics).
void RedirectPower(GameWindow& w, ShipState& s) {
  const bool shieldWorks = Intact(s, kShieldSystem) && s.shieldMax > 0;
  const bool ammoWeapon = s.weapon == kMissiles || s.weapon == kTorpedoes || s.weapon == kChaingun;
  if (shieldWorks && (s.shield < s.shieldMax / 3 || ammoWeapon)) {
    if (s.powerRedir != kToShields) StepPower(w, s);
  } else if (shieldWorks && s.shield < s.shieldMax / 2) {
    if (s.powerRedir != kToWeapons) StepPower(w, s);
  } else if (s.powerRedir != kBalanced && Intact(s, kElectrics) && Intact(s, kPowerGen)) {
    StepPower(w, s);
  }
}

// Later rules win: ammunition weapons over guns, torpedoes over everything while any are left.
void ChooseWeapon(ShipState& s, const ShipState& foe) {
  const bool power = Intact(s, kPowerGen) && Intact(s, kElectrics);
  const bool launcher = Intact(s, kLauncher);
  if (power) s.weapon = kLasers;
  if (s.hasIonCannon && power && foe.shield > 0) s.weapon = kIonCannon;
  if (s.laserPattern == 4 && power) s.weapon = kLasers;
  if (s.laserReload < 16 && power) s.weapon = kLasers;
  if (s.laserPattern == 5 && power) s.weapon = kLasers;
  if (s.hasMissiles && s.missiles > 0 && launcher) s.weapon = kMissiles;
  if (s.hasChaingun && Intact(s, kChaingunSystem) && s.chaingunAmmo > 0) s.weapon = kChaingun;
  if (s.hasElectroGun && power) s.weapon = kElectroGun;
  if (s.hasTorpedoes && s.torpedoes > 0 && launcher) s.weapon = kTorpedoes;
}

}  // namespace

void AI_Kontrollit(GameWindow& w) {
  if (!w.trainingMode || !w.ship[0].alive || !w.ship[1].alive) return;
  const ShipState& foe = w.ship[0];
  ShipState& me = w.ship[1];

  const double dx = me.x - foe.x, dy = me.y - foe.y;
  const double d = std::sqrt(dx * dx + dy * dy);

  Steer(me, WantedHeading(w, me, foe));
  me.thrustHeld = w.random.Next() < kThrustChance;
  w.aiClose = 0;
  RedirectPower(w, me);
  ChooseWeapon(me, foe);
  if (d < kCloseRange) w.aiClose = 1;

  // Close in, the fire control stays as it was.
  if (w.aiClose < 1) {
    me.fireHeld = me.weapon == kElectroGun || me.weapon == kTorpedoes || d <= kFireRange;
    if (me.weapon == kTorpedoes) me.thrustHeld = false;
  }
}

}  // namespace quorvex
