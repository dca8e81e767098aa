// Sound effects of battle events and screens.
#pragma once
#include "game/core/GameWindow.h"

namespace quorvex {

// Plays a slot once when sound is on; a slot still playing is not restarted.
void PlaySound(GameWindow& w, SoundSlot slot);
// Whether `slot` is to start now: always, but in a frame played again, where each sound the frame
// started the first time is started no second time (a sound new to the frame still starts).
bool SoundStartsNow(FrameSounds& sounds, SoundSlot slot);
// A network duel's frame `frame` begins, for the first time or `again`.
void SoundFrameBegins(FrameSounds& sounds, int64_t frame, bool again);
// For the sounds with two copies: the second copy sounds when the first is still playing, so a
// quick second hit is not lost.
void PlayPairedSound(GameWindow& w, SoundSlot first, SoundSlot second);

}  // namespace quorvex
