#include "game/core/GameFlow.h"

#include "game/audio/Initsound.h"
#include "game/audio/Jukebox.h"
#include "game/core/BattleLoop.h"
#include "game/core/ShipLoading.h"

namespace quorvex {

void ChooseDuelShips(GameWindow& w) {
  if (w.lastShipIndex < 1) return;
  w.fleet[1][w.fleetSlot[1]] = 1;
  LoadShip(w, 2);
}

void GameFlow(GameWindow& w) {
  // Two players on one keyboard: without a main menu to choose training, nobody would fly player 2.
  w.trainingMode = false;
  for (ShipState& s : w.ship) s.alive = true;
  StartBattleMusic(w);
  for (;;) {
    w.menuActive = false;
    BattleLoop(w);
    w.menuSelect = false;
    if (!w.duelOver) continue;  // left through the pause menu: straight into the next duel

    ++w.duelsPlayed;
    if (!w.ship[0].alive) LoadShip(w, 1);
    if (!w.ship[1].alive) LoadShip(w, 2);
    LoadNewSound(w);
    w.duelOver = false;
    w.menuSelect = false;
  }
}

}  // namespace quorvex
