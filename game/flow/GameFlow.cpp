#include "game/flow/GameFlow.h"

#include "game/audio/Jukebox.h"
#include "game/audio/SoundEffects.h"
#include "game/flow/BattleLoop.h"
#include "game/controls/Events.h"
#include "game/core/InputTap.h"
#include "game/combat/ShipLoading.h"
#include "game/render/Font.h"
#include "game/screens/Screens.h"
#include "game/screens/Selection.h"

namespace quorvex {

namespace {

// Armada slots that can hold a ship; the slot after them is always empty.
constexpr int kArmadaSlots = 31;

int ShipsInFleet(const GameWindow& w, int player) {
  const auto& fleet = w.fleet[player - 1];
  int n = 0;
  while (n < kFleetSlots && fleet[n] != -1) ++n;
  return n;
}

bool LastShipLost(const GameWindow& w, int player) {
  return !w.ship[player - 1].alive && ShipsInFleet(w, player) <= 1;
}

}  // namespace

void PlayBattle(GameWindow& w) {
  for (;;) {
    ArmadaSelection(w);
    if (w.quitBattle) return;
    for (ShipState& s : w.ship) s.alive = true;
    ShipSelection(w);
    if (!w.quitBattle) break;  // "back" goes to the armadas again
  }
  for (ShipState& s : w.ship) s.alive = true;
  StartBattleMusic(w);

  for (;;) {
    w.menuActive = false;
    BattleLoop(w);
    w.menuSelect = false;
    if (!w.duelOver) return;  // the pause menu's "quit"

    w.back.SetForeColor(255, 255, 255);
    if (UpdateFleets(w)) {
      GameOver(w);
      return;
    }
    ++w.duelsPlayed;
    ShipSelection(w);
    if (w.quitBattle) return;
    if (!w.ship[0].alive) LoadShip(w, 1);
    if (!w.ship[1].alive) LoadShip(w, 2);
    w.duelOver = false;
    w.menuSelect = false;
  }
}

void RemoveLostShip(GameWindow& w, int player) {
  auto& fleet = w.fleet[player - 1];
  int& slot = w.fleetSlot[player - 1];
  fleet[slot] = -1;
  for (int k = slot; k < kArmadaSlots; ++k) fleet[k] = fleet[k + 1];
  slot = 0;
}

bool UpdateFleets(GameWindow& w) {
  if (LastShipLost(w, 1) || LastShipLost(w, 2)) return true;
  for (int player = 1; player <= 2; ++player) {
    if (!w.ship[player - 1].alive) RemoveLostShip(w, player);
  }
  return false;
}

void GameOver(GameWindow& w) {
  w.help.screen = ScreenId::GameOver;
  while (!w.menuSelect) {
    const int32_t elapsed = TicksBetween(w.lastFrameTick, w.clock->Ticks());
    if (elapsed > w.options.frameInterval) {
      w.lastFrameTick = w.clock->Ticks();
      FontText(w, 335, 327, "game over!", true, true);
      PresentSurface(w.display, w.back);
      DoEvents(w);
    } else {
      w.clock->Sleep(1);
    }
  }
  PlaySound(w, SndSelect);
  w.menuSelect = false;
  BattleResults(w);
}

void GameFlow(GameWindow& w) {
  for (;;) {
    StartMenuMusic(w);
    MainMenu(w);
    if (w.inputTap) w.inputTap->BattleBegins(w);
    PlayBattle(w);
    if (w.inputTap) w.inputTap->BattleEnds(w);
  }
}

}  // namespace quorvex
