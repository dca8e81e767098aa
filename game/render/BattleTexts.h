// The texts of a battle frame: each player's selected weapon and the outcome of the duel.
#pragma once
#include <string>

#include "game/core/GameWindow.h"

namespace quorvex {

// Player 1's weapon text stands at the right, player 2's at the left, both below the bars.
constexpr int kWeaponTextX1 = 651, kWeaponTextX2 = 5, kWeaponTextY = 28;
constexpr int kOutcomeTextX = 250, kOutcomeTextY = 295;

// Draws both weapon texts (small set) and, once a ship is destroyed, who won the duel (large set).
void WeaponTexts(GameWindow& w);

// Lower-cases the ASCII letters of `text`.
std::string LowerCase(std::string text);

}  // namespace quorvex
