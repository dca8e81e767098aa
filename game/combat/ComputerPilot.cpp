#include "game/combat/ComputerPilot.h"

#include <cmath>

#include "game/audio/SoundEffects.h"
#include "game/combat/PilotLevels.h"
#include "platform/Numbers.h"

namespace quorvex {
namespace pilot {

// The heading (in 32nds, not brought into 0..32) the pilot steers for. Far off it is the bearing
// turned half round, which the turning rule below settles opposite to, that is onto the opponent;
// close in it is a quarter turn either side, so the ship swings across and away.
double WantedHeading(double close, const ShipState& me, const ShipState& foe) {
  double b = 0;
  if (me.x != foe.x) b = std::atan((me.y - foe.y) / (me.x - foe.x));
  if (me.x > foe.x) b += kPi;
  const double degrees = b * 180 / kPi;
  if (close < 1) return (degrees + 270) / kHeadingDegrees;
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

namespace {

// The game's own pilot.
void FlyNormal(GameWindow& w, int player, double& close) {
  const ShipState& foe = w.ship[1 - player];
  ShipState& me = w.ship[player];

  const double dx = me.x - foe.x, dy = me.y - foe.y;
  const double d = std::sqrt(dx * dx + dy * dy);

  Steer(me, WantedHeading(close, me, foe));
  me.thrustHeld = w.random.Next() < kThrustChance;
  close = 0;
  RedirectPower(w, me);
  ChooseWeapon(me, foe);
  if (d < kCloseRange) close = 1;

  // Close in, the fire control stays as it was.
  if (close < 1) {
    me.fireHeld = me.weapon == kElectroGun || me.weapon == kTorpedoes || d <= kFireRange;
    if (me.weapon == kTorpedoes) me.thrustHeld = false;
  }
}

}  // namespace
}  // namespace pilot

void FlyComputerPilot(GameWindow& w, int player, PilotLevel level, double& close) {
  if (player != 1 && player != 2) return;
  if (!w.ship[0].alive || !w.ship[1].alive) return;
  switch (level) {
    case PilotLevel::Easy: pilot::FlyEasy(w, player - 1, close); break;
    case PilotLevel::Hard: pilot::FlyHard(w, player - 1, close); break;
    default: pilot::FlyNormal(w, player - 1, close); break;
  }
}

void AI_Kontrollit(GameWindow& w) {
  if (!w.trainingMode) return;
  FlyComputerPilot(w, 2, w.pilotLevel, w.aiClose);
}

const char* PilotLevelName(PilotLevel level) {
  switch (level) {
    case PilotLevel::Easy: return "easy";
    case PilotLevel::Hard: return "hard";
    default: return "normal";
  }
}

bool ParsePilotLevel(const std::string& name, PilotLevel* level) {
  for (PilotLevel l : {PilotLevel::Easy, PilotLevel::Normal, PilotLevel::Hard}) {
    if (name == PilotLevelName(l)) {
      *level = l;
      return true;
    }
  }
  return false;
}

}  // namespace quorvex
