// The one list of the battle state's fields. The state hash, and the snapshot that lets a replay
// start a battle exactly where the recording started it, both walk it, so they cannot disagree.
#pragma once
#include <string>

#include "game/core/GameWindow.h"

namespace quorvex {

// Fields that only change what is seen or heard (or how fast): kept in a snapshot, left out of the hash.
constexpr bool kCosmetic = false;

// Calls v(name, field, decides) for every field of a ship. W is GameWindow or const GameWindow.
template <class S, class V>
void VisitShipFields(S& s, const std::string& p, V& v) {
  v(p + "thrustHeld", s.thrustHeld);
  v(p + "turnLeftHeld", s.turnLeftHeld);
  v(p + "turnRightHeld", s.turnRightHeld);
  v(p + "fireHeld", s.fireHeld);
  v(p + "alive", s.alive);
  v(p + "x", s.x);
  v(p + "y", s.y);
  v(p + "vx", s.vx);
  v(p + "vy", s.vy);
  v(p + "heading", s.heading);
  v(p + "laserCooldown", s.laserCooldown);
  v(p + "nextBarrel", s.nextBarrel);
  v(p + "missileCooldown", s.missileCooldown);
  v(p + "weapon", s.weapon);
  v(p + "powerRedir", s.powerRedir);
  v(p + "energy", s.energy);
  v(p + "shield", s.shield);
  v(p + "shieldMax", s.shieldMax);
  v(p + "hull", s.hull);
  v(p + "hullMax", s.hullMax);
  v(p + "systems", s.systems);
  v(p + "critNames", s.critNames);
  v(p + "spriteFile", s.spriteFile);
  v(p + "radius", s.radius);
  v(p + "laserReload", s.laserReload);
  v(p + "shotEnergy", s.shotEnergy);
  v(p + "energyRate", s.energyRate);
  v(p + "maxSpeed", s.maxSpeed);
  v(p + "mass", s.mass);
  v(p + "turnRate", s.turnRate);
  v(p + "laserPattern", s.laserPattern);
  v(p + "laserKind", s.laserKind);
  v(p + "hasIonCannon", s.hasIonCannon);
  v(p + "hasMissiles", s.hasMissiles);
  v(p + "hasTorpedoes", s.hasTorpedoes);
  v(p + "hasElectroGun", s.hasElectroGun);
  v(p + "hasChaingun", s.hasChaingun);
  v(p + "hasTargeting", s.hasTargeting);
  v(p + "twinLauncher", s.twinLauncher);
  v(p + "selfRepair", s.selfRepair);
  v(p + "missiles", s.missiles);
  v(p + "torpedoes", s.torpedoes);
  v(p + "chaingunAmmo", s.chaingunAmmo);
  v(p + "launcherReload", s.launcherReload);
  v(p + "ejectShipFile", s.ejectShipFile);
  v(p + "shipRect", s.shipRect);
}

// Every field of the battle state that a battle starts from or that decides it. The battle stars
// are left out: every duel makes them anew before they are drawn, and nothing else reads them.
template <class W, class V>
void VisitBattleFields(W& w, V& v) {
  VisitShipFields(w.ship[0], "ship1.", v);
  VisitShipFields(w.ship[1], "ship2.", v);
  v("fleet1", w.fleet[0]);
  v("fleet2", w.fleet[1]);
  v("fleetSlot", w.fleetSlot);
  v("shotsFired", w.shotsFired);
  v("hitsScored", w.hitsScored);
  v("inputDevice", w.inputDevice);
  v("controlTable1", w.controlTable[0]);
  v("controlTable2", w.controlTable[1]);
  v("selfDestructPresses", w.selfDestructPresses);
  v("menuPick", w.menuPick);
  v("joystick1.restX", w.joysticks.restX[0]), v("joystick1.restY", w.joysticks.restY[0]);
  v("joystick2.restX", w.joysticks.restX[1]), v("joystick2.restY", w.joysticks.restY[1]);
  // The states polled last: the next poll sees a button go down against them.
  v("joystick1.lastX", w.joysticks.last[0].x), v("joystick1.lastY", w.joysticks.last[0].y);
  v("joystick1.lastButtons", w.joysticks.last[0].buttons);
  v("joystick2.lastX", w.joysticks.last[1].x), v("joystick2.lastY", w.joysticks.last[1].y);
  v("joystick2.lastButtons", w.joysticks.last[1].buttons);

  v("shipFiles", w.shipFiles);
  v("shipNames", w.shipNames);
  v("shipValues", w.shipValues);
  v("lastShipIndex", w.lastShipIndex);

  auto& shots = w.shots;
  v("shots.life", shots.life), v("shots.x", shots.x), v("shots.y", shots.y);
  v("shots.vx", shots.vx), v("shots.vy", shots.vy), v("shots.kind", shots.kind);
  auto& m = w.missilesPool;
  v("missiles.life", m.life), v("missiles.x", m.x), v("missiles.y", m.y);
  v("missiles.vx", m.vx), v("missiles.vy", m.vy), v("missiles.kind", m.kind);
  auto& t = w.trail;
  v("trail.life", t.life), v("trail.x", t.x), v("trail.y", t.y), v("trail.vx", t.vx), v("trail.vy", t.vy);
  auto& b = w.bullets;
  v("bullets.life", b.life), v("bullets.x", b.x), v("bullets.y", b.y), v("bullets.angle", b.angle);
  v("electroArcs", w.electroArcs);
  auto& f = w.fragments;
  v("fragments.life", f.life), v("fragments.x", f.x), v("fragments.y", f.y);
  v("fragments.vx", f.vx), v("fragments.vy", f.vy);
  auto& e = w.explosions;
  v("explosions.state", e.state), v("explosions.x", e.x), v("explosions.y", e.y), v("explosions.cell", e.cell);
  v("flashes.life", w.flashes.life), v("flashes.x", w.flashes.x), v("flashes.y", w.flashes.y);
  v("smoke.life", w.smoke.life), v("smoke.x", w.smoke.x), v("smoke.y", w.smoke.y);
  auto& fl = w.flames;
  v("flames.life", fl.life), v("flames.x", fl.x), v("flames.y", fl.y), v("flames.vx", fl.vx), v("flames.vy", fl.vy);
  auto& d = w.debris;
  v("debris.life", d.life), v("debris.x", d.x), v("debris.y", d.y), v("debris.vx", d.vx), v("debris.vy", d.vy);
  auto& sp = w.sparks;
  v("sparks.life", sp.life), v("sparks.x", sp.x), v("sparks.y", sp.y);
  v("sparks.angle", sp.angle), v("sparks.speed", sp.speed);

  v("zoom", w.zoom);
  v("aiClose", w.aiClose);
  v("battleStartTick", w.battleStartTick, kCosmetic);
  v("noFrameLimit", w.noFrameLimit, kCosmetic);
  v("pauseRequested", w.pauseRequested);
  v("duelOver", w.duelOver);
  v("quitBattle", w.quitBattle);
  v("duelsPlayed", w.duelsPlayed);
  v("screenRect", w.screenRect);
  v("menuActive", w.menuActive);
  v("menuSelect", w.menuSelect);
  v("menuUp", w.menuUp);
  v("menuDown", w.menuDown);
  v("aimMarkers", w.aimMarkers, kCosmetic);
  v("trainingMode", w.trainingMode);

  auto& o = w.options;
  v("options.soundOn", o.soundOn, kCosmetic);
  v("options.starCount", o.starCount);
  v("options.sparksOn", o.sparksOn);
  v("options.backgroundZoom", o.backgroundZoom);
  v("options.engineTrails", o.engineTrails);
  v("options.musicOn", o.musicOn, kCosmetic);
  v("options.frameInterval", o.frameInterval, kCosmetic);
  v("options.effectRop", o.effectRop, kCosmetic);
  v("options.musicVolume", o.musicVolume, kCosmetic);
  v("options.soundVolume", o.soundVolume, kCosmetic);
  v("options.gravityOn", o.gravityOn);
  v("options.debrisOn", o.debrisOn);
  v("options.criticalsOn", o.criticalsOn);

  v("random", w.random.state);
}

}  // namespace quorvex
