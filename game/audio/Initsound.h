// Loading the sound effects and the songs once at start-up, and the laser sounds of new ships.
#pragma once
#include <string>

#include "game/core/GameWindow.h"

namespace quorvex {

// Songs the game holds: entry 0 is the menu song, entries 1..20 the playlist.
constexpr int kSongEntries = 21;

// The wave file of a ship's laser: "Laser1.wav", or "Laser2.wav" for any other laser kind than 0.
std::string LaserSoundFile(const ShipState& ship);

// Runs once at start-up when sound is on: opens the sound device, loads every effect slot at the
// effect volume and, when music is on, the menu song and up to 20 songs named by playlist.txt.
// Anything missing (device, wave file, playlist, module) leaves that part silent; the game goes on.
void Initsound(GameWindow& w);

// When sound is on, reloads both laser slots for the ships now flying, at the effect volume.
void LoadNewSound(GameWindow& w);

}  // namespace quorvex
