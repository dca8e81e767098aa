// Sound effects of battle events and screens.
#pragma once
#include "game/core/GameWindow.h"

namespace quorvex {

// Plays a slot once when sound is on; a slot still playing is not restarted.
void PlaySound(GameWindow& w, SoundSlot slot);
// For the sounds with two copies: the second copy sounds when the first is still playing, so a
// quick second hit is not lost.
void PlayPairedSound(GameWindow& w, SoundSlot first, SoundSlot second);

}  // namespace quorvex
