// Missiles and torpedoes in flight, and the burning fragments an exploding ship scatters.
#pragma once
#include "game/core/GameWindow.h"

namespace quorvex {

// Damage of one projectile hit.
constexpr double kMissileDamage = 17, kTorpedoDamage = 10;

// Moves, steers, lands and draws every missile and torpedo of the missile pool once per frame.
// Missiles fly straight; a torpedo (kind 1 of player 1, kind 2 of player 2) homes on the opponent.
void MissileMoves(GameWindow& w);

// A big explosion at (x, y) and up to `count` burning fragments in the free cluster slots 0..10,
// drifting on with a fifth of the velocity (vx, vy) the exploding thing had. Poksista flies them on
// and lets them pop.
void LuoCluster(GameWindow& w, double x, double y, int count, double vx, double vy);

}  // namespace quorvex
