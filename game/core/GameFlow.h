// The game flow between start-up and the end of the game.
#pragma once
#include "game/core/GameWindow.h"

namespace quorvex {

// Until the front-end screens exist the game goes straight into duels between the players' first
// ships: player 1 flies the first ship of the list, player 2 the second one when there is one.
void ChooseDuelShips(GameWindow& w);

// Duel after duel; a destroyed ship is loaded again for the next duel. Leaves only by GameExit
// (closing the window, Esc) or a run-time error.
void GameFlow(GameWindow& w);

}  // namespace quorvex
