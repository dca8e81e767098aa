// The main menu, the pause menu and the battle results.
#pragma once
#include <cstdint>
#include <string>

#include "game/core/GameWindow.h"

namespace quorvex {

// The credit line under the title (at most 21 characters fit).
inline constexpr const char* kCreditLine = "quorvex makers 2026";

// The first screen: "battle", "training" or "quit" over the title picture. Leaves trainingMode set
// for "training" and cleared for "battle"; "quit" unloads the game (throws GameExit). On entry the
// duel count starts again, both ships count as alive and a battle song still playing stops.
void MainMenu(GameWindow& w);

// Stops the battle: "resume" goes on as before, "massacre" destroys both ships, "quit" leaves
// quitBattle set so the battle loop ends the battle.
void PauseMenu(GameWindow& w);

// Who won and how: 0 nobody has lost yet, 1 player 1 won, 2 player 2 won, 3 both lost (tie).
int BattleOutcome(const GameWindow& w);

// A player (1 or 2) has lost when his destroyed ship was the last of his armada.
bool PlayerLost(const GameWindow& w, int player);

// "battle time: <h>h <m>min <s>sec " for a battle of `seconds` seconds.
std::string BattleTimeText(int64_t seconds);

// The two text lines under the results picture for the outcome: the winner (or "tie game!") and how
// many ships the winner still had (or "all ships were destroyed").
std::string OutcomeLine(const GameWindow& w);
std::string ShipsLeftLine(const GameWindow& w);

// The results after "game over!": the winner, his ships left and the battle time, until "ok".
void BattleResults(GameWindow& w);

}  // namespace quorvex
