// The one list of the battle state's fields. The state hash, the snapshot that lets a replay start
// a battle exactly where the recording started it, and the check of a start state that comes from
// someone else (a replay, a network host) all walk it, so they cannot disagree.
#pragma once
#include <limits>
#include <string>
#include <type_traits>

#include "game/core/GameWindow.h"
#include "platform/DataFiles.h"

namespace quorvex {

// Fields that only change what is seen or heard (or how fast): kept in a snapshot, left out of the hash.
constexpr bool kCosmetic = false;

// The values the game itself gives a field: every number (each element of an array, each side of
// a rectangle) inside [lo, hi], and never NaN or infinite; a text at most kMaxLineLength bytes
// (what the file readers keep of a line), for a file name a bare one (or none).
struct FieldRange {
  double lo = std::numeric_limits<double>::lowest();
  double hi = std::numeric_limits<double>::max();
  bool fileName = false;
};
constexpr FieldRange Range(double lo, double hi) { return FieldRange{lo, hi, false}; }
inline constexpr double kLowest = std::numeric_limits<double>::lowest();
inline constexpr FieldRange kAny{};  // any finite number, any text, either truth value
inline constexpr FieldRange kText{};
inline constexpr FieldRange kFileName{kLowest, std::numeric_limits<double>::max(), true};
inline constexpr FieldRange kCount = Range(0, std::numeric_limits<double>::max());
inline constexpr FieldRange kStickAxis = Range(-32768, 32767);
// Frame drawing rounds into this range (nearestInt).
inline constexpr FieldRange kScreenCoordinate = Range(-1e9, 1e9);

// Hands each field to the visitor with what it decides and its range. A visitor takes
// (name, field, decides) and, when it wants the range too, (name, field, decides, range).
template <class V>
struct FieldCall {
  V& v;
  template <class T>
  void operator()(const std::string& name, T& field, const FieldRange& range, bool decides = true) {
    if constexpr (std::is_invocable_v<V&, const std::string&, T&, bool, const FieldRange&>) {
      v(name, field, decides, range);
    } else {
      v(name, field, decides);
    }
  }
};

// Calls v(name, field, decides[, range]) for every field of a ship. S is ShipState or const ShipState.
template <class S, class V>
void VisitShipFields(S& s, const std::string& p, V& v) {
  FieldCall<V> f{v};
  f(p + "thrustHeld", s.thrustHeld, kAny);
  f(p + "turnLeftHeld", s.turnLeftHeld, kAny);
  f(p + "turnRightHeld", s.turnRightHeld, kAny);
  f(p + "fireHeld", s.fireHeld, kAny);
  f(p + "alive", s.alive, kAny);
  f(p + "x", s.x, kAny);
  f(p + "y", s.y, kAny);
  f(p + "vx", s.vx, kAny);
  f(p + "vy", s.vy, kAny);
  f(p + "heading", s.heading, Range(0, 31));  // wraps to 31 below 0 and to 0 above 31
  f(p + "laserCooldown", s.laserCooldown, kAny);
  f(p + "nextBarrel", s.nextBarrel, Range(-25, 25));
  f(p + "missileCooldown", s.missileCooldown, kAny);
  f(p + "weapon", s.weapon, Range(0, 5));
  f(p + "powerRedir", s.powerRedir, Range(0, 2));
  f(p + "energy", s.energy, kAny);
  f(p + "shield", s.shield, kAny);
  f(p + "shieldMax", s.shieldMax, kAny);
  f(p + "hull", s.hull, kAny);
  f(p + "hullMax", s.hullMax, kAny);
  f(p + "systems", s.systems, kAny);
  f(p + "critNames", s.critNames, kText);
  f(p + "spriteFile", s.spriteFile, kFileName);
  f(p + "radius", s.radius, kAny);
  f(p + "laserReload", s.laserReload, kAny);
  f(p + "shotEnergy", s.shotEnergy, kAny);
  f(p + "energyRate", s.energyRate, kAny);
  f(p + "maxSpeed", s.maxSpeed, kAny);
  f(p + "mass", s.mass, kAny);
  f(p + "turnRate", s.turnRate, kAny);
  f(p + "laserPattern", s.laserPattern, Range(-1e9, 1e9));
  f(p + "laserKind", s.laserKind, kAny);
  f(p + "hasIonCannon", s.hasIonCannon, kAny);
  f(p + "hasMissiles", s.hasMissiles, kAny);
  f(p + "hasTorpedoes", s.hasTorpedoes, kAny);
  f(p + "hasElectroGun", s.hasElectroGun, kAny);
  f(p + "hasChaingun", s.hasChaingun, kAny);
  f(p + "hasTargeting", s.hasTargeting, kAny);
  f(p + "twinLauncher", s.twinLauncher, kAny);
  f(p + "selfRepair", s.selfRepair, kAny);
  f(p + "missiles", s.missiles, kAny);
  f(p + "torpedoes", s.torpedoes, kAny);
  f(p + "chaingunAmmo", s.chaingunAmmo, kAny);
  f(p + "launcherReload", s.launcherReload, kAny);
  f(p + "ejectShipFile", s.ejectShipFile, kFileName);
  f(p + "shipRect", s.shipRect, kScreenCoordinate);
}

// Every field of the battle state that a battle starts from or that decides it. The battle stars
// are left out: every duel makes them anew before they are drawn, and nothing else reads them.
template <class W, class V>
void VisitBattleFields(W& w, V& v) {
  VisitShipFields(w.ship[0], "ship1.", v);
  VisitShipFields(w.ship[1], "ship2.", v);
  FieldCall<V> f{v};
  f("fleet1", w.fleet[0], Range(-1, kShipListSize - 1));
  f("fleet2", w.fleet[1], Range(-1, kShipListSize - 1));
  f("fleetSlot", w.fleetSlot, Range(0, 30));  // an armada holds at most 31 ships
  f("shotsFired", w.shotsFired, kCount);
  f("hitsScored", w.hitsScored, kCount);
  f("inputDevice", w.inputDevice, Range(0, 4));  // 3 and 4: a gamepad in slot 1 or 2
  f("controlTable1", w.controlTable[0], kAny);
  f("controlTable2", w.controlTable[1], kAny);
  f("selfDestructPresses", w.selfDestructPresses, kAny);
  f("menuPick", w.menuPick, kAny);
  f("joystick1.restX", w.joysticks.restX[0], kStickAxis), f("joystick1.restY", w.joysticks.restY[0], kStickAxis);
  f("joystick2.restX", w.joysticks.restX[1], kStickAxis), f("joystick2.restY", w.joysticks.restY[1], kStickAxis);
  // The states polled last: the next poll sees a button go down against them.
  f("joystick1.lastX", w.joysticks.last[0].x, kStickAxis), f("joystick1.lastY", w.joysticks.last[0].y, kStickAxis);
  f("joystick1.lastButtons", w.joysticks.last[0].buttons, kAny);
  f("joystick2.lastX", w.joysticks.last[1].x, kStickAxis), f("joystick2.lastY", w.joysticks.last[1].y, kStickAxis);
  f("joystick2.lastButtons", w.joysticks.last[1].buttons, kAny);

  f("shipFiles", w.shipFiles, kFileName);
  f("shipNames", w.shipNames, kText);
  f("shipValues", w.shipValues, kAny);
  f("lastShipIndex", w.lastShipIndex, Range(0, kShipListSize - 1));

  auto& shots = w.shots;
  f("shots.life", shots.life, Range(-1, 500)), f("shots.x", shots.x, kAny), f("shots.y", shots.y, kAny);
  f("shots.vx", shots.vx, kAny), f("shots.vy", shots.vy, kAny), f("shots.kind", shots.kind, kAny);
  auto& m = w.missilesPool;
  f("missiles.life", m.life, Range(0, 200)), f("missiles.x", m.x, kAny), f("missiles.y", m.y, kAny);
  f("missiles.vx", m.vx, kAny), f("missiles.vy", m.vy, kAny), f("missiles.kind", m.kind, Range(0, 2));
  auto& t = w.trail;
  f("trail.life", t.life, Range(0, 24)), f("trail.x", t.x, kAny), f("trail.y", t.y, kAny);
  f("trail.vx", t.vx, kAny), f("trail.vy", t.vy, kAny);
  auto& b = w.bullets;
  f("bullets.life", b.life, Range(-11, 60)), f("bullets.x", b.x, kAny), f("bullets.y", b.y, kAny);
  f("bullets.angle", b.angle, kAny);
  f("electroArcs", w.electroArcs, Range(0, 2));
  auto& fr = w.fragments;
  f("fragments.life", fr.life, Range(0, 120)), f("fragments.x", fr.x, kAny), f("fragments.y", fr.y, kAny);
  f("fragments.vx", fr.vx, kAny), f("fragments.vy", fr.vy, kAny);
  auto& e = w.explosions;
  f("explosions.state", e.state, Range(-6, 10)), f("explosions.x", e.x, kAny), f("explosions.y", e.y, kAny);
  f("explosions.cell", e.cell, Range(0, 408));  // cells of the explosion sheet
  auto& fs = w.flashes;
  f("flashes.life", fs.life, Range(-4, 30)), f("flashes.x", fs.x, kAny), f("flashes.y", fs.y, kAny);
  f("smoke.life", w.smoke.life, Range(-2, 30)), f("smoke.x", w.smoke.x, kAny), f("smoke.y", w.smoke.y, kAny);
  auto& fl = w.flames;
  f("flames.life", fl.life, Range(-2, 30)), f("flames.x", fl.x, kAny), f("flames.y", fl.y, kAny);
  f("flames.vx", fl.vx, kAny), f("flames.vy", fl.vy, kAny);
  auto& d = w.debris;
  f("debris.life", d.life, Range(0, 599)), f("debris.x", d.x, kAny), f("debris.y", d.y, kAny);
  f("debris.vx", d.vx, kAny), f("debris.vy", d.vy, kAny);
  auto& sp = w.sparks;
  f("sparks.life", sp.life, Range(0, 25.5)), f("sparks.x", sp.x, kAny), f("sparks.y", sp.y, kAny);
  f("sparks.angle", sp.angle, Range(0, 360)), f("sparks.speed", sp.speed, Range(0, 100));

  f("zoom", w.zoom, Range(kLowest, 50));  // 50 less the ships' distance / 40
  f("aiClose", w.aiClose, kAny);
  f("battleStartTick", w.battleStartTick, kAny, kCosmetic);
  f("noFrameLimit", w.noFrameLimit, kAny, kCosmetic);
  f("pauseRequested", w.pauseRequested, kAny);
  f("duelOver", w.duelOver, kAny);
  f("quitBattle", w.quitBattle, kAny);
  f("duelsPlayed", w.duelsPlayed, Range(0, 1e9));
  f("screenRect", w.screenRect, Range(0, 800));
  f("menuActive", w.menuActive, kAny);
  f("menuSelect", w.menuSelect, kAny);
  f("menuUp", w.menuUp, kAny);
  f("menuDown", w.menuDown, kAny);
  f("aimMarkers", w.aimMarkers, kAny, kCosmetic);
  f("trainingMode", w.trainingMode, kAny);

  auto& o = w.options;
  f("options.soundOn", o.soundOn, kAny, kCosmetic);
  f("options.starCount", o.starCount, kAny);
  f("options.sparksOn", o.sparksOn, kAny);
  f("options.backgroundZoom", o.backgroundZoom, kAny);
  f("options.engineTrails", o.engineTrails, kAny);
  f("options.musicOn", o.musicOn, kAny, kCosmetic);
  f("options.frameInterval", o.frameInterval, kAny, kCosmetic);
  f("options.effectRop", o.effectRop, kAny, kCosmetic);
  f("options.musicVolume", o.musicVolume, kAny, kCosmetic);
  f("options.soundVolume", o.soundVolume, kAny, kCosmetic);
  f("options.gravityOn", o.gravityOn, kAny);
  f("options.debrisOn", o.debrisOn, kAny);
  f("options.criticalsOn", o.criticalsOn, kAny);

  f("random", w.random.state, kAny);
}

}  // namespace quorvex
