#include "game/core/BattleState.h"

namespace quorvex {

namespace {

void ResetShip(GameWindow& w, int index) {
  w.electroArcs.fill(0);
  for (ShipState& s : w.ship) s.systems.fill(0);

  ShipState& s = w.ship[index];
  s.weapon = 0;
  s.energy = 100;
  s.powerRedir = 0;
  s.alive = true;
  s.shieldMax = s.shield;
  s.hullMax = s.hull;
  s.nextBarrel = 1;
  s.laserCooldown = 0;
  s.missileCooldown = 0;

  for (int p = 0; p < 2; ++p) {
    w.ship[p].x = kStartX[p];
    w.ship[p].y = kStartY;
    w.ship[p].vx = 0;
    w.ship[p].vy = 0;
  }
}

}  // namespace

void ResetValues(GameWindow& w) { ResetShip(w, 0); }
void ResetValues2(GameWindow& w) { ResetShip(w, 1); }

}  // namespace quorvex
