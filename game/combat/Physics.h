// The world update of each battle frame that no key drives: gravitation, flames from wrecked hulls,
// the laser and ion shots and their hits, ramming, the arena edges, power, launcher reload and repair.
#pragma once
#include "game/core/GameWindow.h"

namespace quorvex {

// Frames a laser or ion shot lives; it can hit only once it is below kShotArmedLife, so a shot
// fired point-blank hits from the frame after it was fired.
constexpr double kShotLife = 80;
constexpr double kShotArmedLife = 79;
// A shot that has hit flies on with this life: far above any fresh shot, so it never hits again.
constexpr double kDeflectedShotLife = 500;

// The pull of the gravitation field per frame and axis, toward the arena centre.
constexpr double kGravityPull = 0.05;
constexpr double kArenaCentreX = 400, kArenaCentreY = 300;

// Runs one frame of physics, in this order: gravitation, flames, shots and their hits, collisions
// between the ships, arena bounds, power distribution, launcher reload, repair.
void Fysiikat(GameWindow& w);

}  // namespace quorvex
