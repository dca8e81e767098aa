// Damage to a ship: hits on shield and hull, critical hits on its systems, the list of damaged
// systems on screen, destruction and the escape ship.
#pragma once
#include <string>

#include "game/core/GameWindow.h"

namespace quorvex {

// Deals `amount` of damage to player `target` (1 or 2): the shield takes it first, the rest goes to
// the hull; a ship whose hull runs out is destroyed.
void DoDamage(GameWindow& w, int target, double amount);

// A critical hit on player `target` (1 or 2): one of its switched-on, fitted systems is damaged.
void DoCritical(GameWindow& w, int target);

// The ship-list entry of an escape ship's file, -1 when the list has none.
int FindEscapeShip(const GameWindow& w, const std::string& file);

// Draws both players' lists of damaged systems.
void Crits(GameWindow& w);

}  // namespace quorvex
