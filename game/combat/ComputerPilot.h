// The computer pilot: in training mode it flies player 2's ship by setting its control flags,
// choosing its weapon and power redirection as a player at the keys would. It flies at one of three
// levels: "normal" is the game's own pilot, "hard" aims ahead of its target and picks weapons and
// power for the moment, "easy" reacts late, aims roughly and holds its fire more often.
#pragma once
#include <string>

#include "game/core/GameWindow.h"

namespace quorvex {

// Once per frame, before the control polling. Acts only in training mode with both ships alive, at
// `w.pilotLevel`. At "normal": steers player 2 toward (or, at close range, across and away from)
// player 1, thrusts most frames, moves power toward shields when its shield runs low, picks the
// weapon and fires from 200 to 450 pixels (at any range of 200 or more with torpedoes or the
// electrogun). Remembers in `aiClose` whether the ships ended the frame closer than 200 pixels.
void AI_Kontrollit(GameWindow& w);

// One frame of a computer pilot at `level` flying `player`'s ship (1 or 2) against the other ship,
// only while both ships are alive. `close` is its memory of the last frame (what `aiClose` is to
// player 2's pilot in training). Every random number comes from the game's generator.
void FlyComputerPilot(GameWindow& w, int player, PilotLevel level, double& close);

// "easy", "normal", "hard".
const char* PilotLevelName(PilotLevel level);
// The level a name stands for (as PilotLevelName writes it); false for anything else.
bool ParsePilotLevel(const std::string& name, PilotLevel* level);

}  // namespace quorvex
