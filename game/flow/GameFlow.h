// The game flow between start-up and the end of the game: main menu, armada selection, ship
// selection, duels, "game over!", battle results and back to the main menu.
#pragma once
#include "game/core/GameWindow.h"

namespace quorvex {

// After a duel that ended with a destroyed ship. When a destroyed ship was the last of its armada the
// battle is over (true) and the armadas stay as they are, so the results can tell who lost. Otherwise
// each destroyed ship leaves its armada: its slot is emptied, the later ships move up one slot and
// that player's fleetSlot becomes 0.
bool UpdateFleets(GameWindow& w);

// Removes the ship in `player`'s (1 or 2) fleetSlot from his armada, closing the gap; fleetSlot = 0.
void RemoveLostShip(GameWindow& w, int player);

// "game over!" over the last battle frame until Enter, then the battle results.
void GameOver(GameWindow& w);

// From the main menu's choice to the end of the battle: armadas, ships, duels, and "game over!"
// with the results. Returns to go back to the main menu.
void PlayBattle(GameWindow& w);

// Menu after menu, battle after battle. Leaves only by GameExit (the main menu's "quit", closing
// the window) or a run-time error.
void GameFlow(GameWindow& w);

}  // namespace quorvex
