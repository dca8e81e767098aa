// The two screens between the main menu and a duel: the players put their armadas together, then pick
// the ship of their armada that flies next.
#pragma once
#include "game/core/GameWindow.h"

namespace quorvex {

// Most ships an armada holds (fleet slots 0..30); the later slots always stay empty.
constexpr int kMaxArmada = 31;

// Ships in `player`'s (1 or 2) armada: the slots before the first empty one.
int ArmadaCount(const GameWindow& w, int player);
// The sum of the values of the ships in `player`'s armada (0 for an empty one).
double FleetValue(const GameWindow& w, int player);

// Both players build their armadas side by side; in training the computer builds player 2's, adding
// ships in list order until its fleet value reaches player 1's. "done" needs a ship in each armada;
// "cancel" leaves quitBattle set so the flow goes back to the main menu. The armadas keep their ships.
void ArmadaSelection(GameWindow& w);

// The players pick the ship of their armada that flies next: both at the first selection of a battle,
// later only a player whose ship was destroyed. Leaving clears the shots, explosions and missiles,
// refills both energies, loads the chosen ships with their pictures and laser sounds, and on the first
// selection records the battle start time. The second entry ("back" at the first selection, "quit"
// later) leaves quitBattle set.
void ShipSelection(GameWindow& w);

}  // namespace quorvex
