// The ship list of the program folder and the loading of a player's ship into the battle.
#pragma once
#include "game/core/GameWindow.h"
#include "shipdef/ShipFile.h"

namespace quorvex {

// Fills the ship list from the *.shp files of the program folder (at most 256, in name order) and
// empties both armadas.
void ScanShipFiles(GameWindow& w);

// Copies a ship file's battle figures into a player's ship.
void ApplyShipLoadout(ShipState& ship, const ShipLoadout& loadout);

// Loads the ship in the flying fleet slot of `player` (1 or 2) from its file (an empty slot first
// gets ship-list entry 0), then resets that player's battle values. A file that is not a version
// 1.2 ship, is missing or incomplete, or an empty ship list, is reported in an "ERROR!" box and the
// game ends (GameExit).
void LoadShip(GameWindow& w, int player);

}  // namespace quorvex
