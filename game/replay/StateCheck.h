// The check of a battle state that comes from someone else: a replay's start or a network host's.
// Its numbers become indexes, counts and loop bounds, so every field must hold a value the game
// itself can give it before anything uses the state.
#pragma once
#include <string>
#include <vector>

#include "game/core/GameWindow.h"
#include "game/replay/ReplayFile.h"
#include "game/replay/ShipCopies.h"

namespace quorvex {

// True when every field lies inside its range of the field table and the armadas hold ships of
// the ship list; otherwise false with the field and its value in `problem`
// ("the battle state field lastShipIndex is -1, outside 0 to 255").
bool CheckBattleState(const GameWindow& w, std::string* problem);

// The same for snapshot lines, read into a scratch state first (no window, nothing loaded).
bool CheckStartState(const std::vector<std::string>& lines, std::string* problem);

// The ship files that came with a start, as written out: each one under a bare file name and a
// ship the battle loader takes (a current ship file of 31 lines).
bool CheckShipCopies(const ShipCopies& ships, std::string* problem);

// A replay's or a network start's state and ship files.
bool CheckStart(const Replay& start, const ShipCopies& ships, std::string* problem);

}  // namespace quorvex
