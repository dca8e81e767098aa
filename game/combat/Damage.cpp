#include "game/combat/Damage.h"

#include <array>
#include <cmath>
#include <string>

#include "game/audio/Initsound.h"
#include "game/audio/SoundEffects.h"
#include "game/combat/Missiles.h"
#include "game/core/GameError.h"
#include "game/core/InputTap.h"
#include "game/combat/ShipLoading.h"
#include "game/render/BattleTexts.h"
#include "game/render/Font.h"
#include "game/render/Graphics.h"
#include "game/render/Particles.h"
#include "platform/Numbers.h"

namespace quorvex {

namespace {

constexpr int kSystemShield = 1, kSystemElectrics = 3, kSystemLauncher = 5, kSystemRepair = 6,
              kSystemChaingun = 7, kSystemTargeting = 8;

// The names shown in the damaged-systems list, eight characters each.
constexpr std::array<const char*, 9> kSystemNames = {" ENGINE ", " SHIELD ", "POWERGEN", "ELECTRCS", "TURNING ",
                                                     "LAUNCHER", " REPAIR ", "CHAINGUN", "T-SYSTEM"};

// Draws of a system before a critical hit with too few systems switched on is dropped.
constexpr int kCriticalDraws = 11;

// The lists stand below the bars: player 1's at the right edge, player 2's at the left.
constexpr int kCritListX[2] = {691, 5};
constexpr int kCritListTop = 45, kCritLineHeight = 14;

// Stirs the tick count into the random sequence rather than restarting it: two critical hits in the
// same millisecond must not always pick the same system, and a replay on its own clock stays exact.
void MixInClock(GameWindow& w) {
  if (w.clock) w.random.MixIn(static_cast<uint32_t>(ClockInput(w)));
}

int ShipIndex(int player) {
  if (player != 1 && player != 2) throw GameError(kErrorSubscriptOutOfRange, "Subscript out of range");
  return player - 1;
}

void Damage(GameWindow& w, int target, double amount, bool escapeAllowed);

// The destroyed ship's escape ship takes its place in the fleet and in the duel, where the wreck
// exploded, flying off at a random speed and shaken by the escape.
void LaunchEscapeShip(GameWindow& w, int player, int listIndex) {
  const int p = player - 1, other = 1 - p;
  w.fleet[p][w.fleetSlot[p]] = listIndex;

  // Loading puts both ships back on their start positions; the duel goes on where it was.
  const std::array<double, 2> x = {w.ship[0].x, w.ship[1].x}, y = {w.ship[0].y, w.ship[1].y};
  const std::array<double, 2> heading = {w.ship[0].heading, w.ship[1].heading};
  const double otherVx = w.ship[other].vx, otherVy = w.ship[other].vy;

  LoadShip(w, player);
  // The ship loader reloads the pictures only between duels; in the first duel of a battle the
  // escape ship's picture is loaded here.
  if (w.duelsPlayed == 0) LoadShipPictures(w);
  LoadNewSound(w);  // the escape ship's laser may sound different

  for (int i = 0; i < 2; ++i) {
    w.ship[i].x = x[i];
    w.ship[i].y = y[i];
    w.ship[i].heading = heading[i];
  }
  w.ship[other].vx = otherVx;
  w.ship[other].vy = otherVy;

  MixInClock(w);
  ShipState& s = w.ship[p];
  s.vx = nearest(w.random.Next() * 12 - 6);
  s.vy = nearest(w.random.Next() * 12 - 6);
  // An escape ship that does not survive its own arrival launches no escape of its own.
  Damage(w, player, (s.shield + s.hull) * w.random.Next() / 2, false);
}

// The ship's hull is gone: it explodes, hurting the opponent if it was moving, and its escape ship,
// if it has one in the ship list, flies on in its place.
void Destroy(GameWindow& w, int player, bool escapeAllowed) {
  const int p = player - 1, other = 1 - p;
  ShipState& s = w.ship[p];
  PlaySound(w, SndBoom);

  // Out of the fight from this moment: an opponent destroyed by this explosion cannot destroy this
  // ship a second time with its own.
  s.alive = false;

  const double speed = std::sqrt(s.vx * s.vx + s.vy * s.vy) / 2;
  const double dx = s.x - w.ship[other].x, dy = s.y - w.ship[other].y;
  const double distance = std::sqrt(dx * dx + dy * dy);
  if (nearest(speed) != 0 && nearest(distance / speed) != 0) Damage(w, other + 1, 10 / (distance / speed), true);

  s.hull = 0;
  LuoBoom(w, s.x, s.y, 1);
  LuoCluster(w, s.x, s.y, 10, s.vx, s.vy);
  LuoSpark(w, s.x, s.y, 90);
  const double pieces = 6 + (s.radius - 20) / 10;
  for (int i = 0; i <= pieces && i <= 100; ++i) LuoHylsy(w, s.x, s.y);

  if (!escapeAllowed || s.ejectShipFile.empty()) return;
  // Without its escape ship in the ship list there is no escape: the ship stays destroyed.
  const int listIndex = FindEscapeShip(w, s.ejectShipFile);
  if (listIndex >= 0) LaunchEscapeShip(w, player, listIndex);
}

void Damage(GameWindow& w, int target, double amount, bool escapeAllowed) {
  ShipState& s = w.ship[ShipIndex(target)];
  if (!s.alive) return;
  if (s.shield > amount) {
    s.shield -= amount;
    return;
  }
  // Once the shield is down the hull takes the whole hit, not only what the shield let through.
  s.shield = 0;
  if (s.hull > amount) {
    s.hull -= amount;
    DoCritical(w, target);
    return;
  }
  Destroy(w, target, escapeAllowed);
}

}  // namespace

// File names in ship files come from systems that ignore case: the exact name first, then any case.
int FindEscapeShip(const GameWindow& w, const std::string& file) {
  for (int i = 0; i <= 254; ++i) {
    if (w.shipFiles[i] == file) return i;
  }
  const std::string wanted = LowerCase(file);
  for (int i = 0; i <= 254; ++i) {
    if (!w.shipFiles[i].empty() && LowerCase(w.shipFiles[i]) == wanted) return i;
  }
  return -1;
}

void DoDamage(GameWindow& w, int target, double amount) {
  const bool wasAlive = w.ship[ShipIndex(target)].alive;
  Damage(w, target, amount, true);
  // A gamepad flying the ship shakes with the hit, hard when the ship explodes: output only, like a sound.
  const int device = w.inputDevice[ShipIndex(target)];
  if ((device == 3 || device == 4) && wasAlive && amount > 0) {
    const bool exploded = !w.ship[ShipIndex(target)].alive;
    RumblePad(w.joysticks, device - 3, exploded ? 1.0 : 0.25 + amount / 40, exploded ? 600 : 150);
  }
}

void DoCritical(GameWindow& w, int target) {
  ShipState& s = w.ship[ShipIndex(target)];
  MixInClock(w);

  int k = -1;
  for (int draw = 0; draw < kCriticalDraws; ++draw) {
    const int candidate = static_cast<int>(nearest(w.random.Next() * 8));
    if (w.options.criticalsOn[candidate]) {
      k = candidate;
      break;
    }
  }
  if (k < 0) return;

  s.systems[k] += 45 + nearest(w.random.Next() * 10);
  s.critNames[k] = kSystemNames[k];
  // A system the ship is not fitted with cannot be damaged.
  const bool fitted = !(k == kSystemTargeting && !s.hasTargeting) && !(k == kSystemChaingun && !s.hasChaingun) &&
                      !(k == kSystemRepair && !s.selfRepair) &&
                      !(k == kSystemLauncher && !s.hasMissiles && !s.hasTorpedoes) &&
                      !(k == kSystemShield && s.shieldMax == 0);
  if (!fitted) s.systems[k] = 0;
  if (k == kSystemRepair && s.selfRepair) PlaySound(w, SndR2Hit);
}

void Crits(GameWindow& w) {
  for (int p = 0; p < 2; ++p) {
    ShipState& s = w.ship[p];
    int line = 0;
    for (int i = 0; i <= 10; ++i) {
      if (!(s.systems[i] > 0)) continue;
      FontText(w, kCritListX[p], kCritListTop + kCritLineHeight * line, LowerCase(s.critNames[i]), true, false);
      ++line;
    }
    // A damaged shield stays down and damaged electrics hold no energy.
    if (s.systems[kSystemShield] != 0) s.shield = 0;
    if (s.systems[kSystemElectrics] != 0) s.energy = 0;
  }
}

}  // namespace quorvex
