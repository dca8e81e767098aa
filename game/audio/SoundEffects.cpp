#include "game/audio/SoundEffects.h"

namespace quorvex {

void PlaySound(GameWindow& w, SoundSlot slot) {
  if (!w.options.soundOn) return;
  PlaySound(w.audio, w.sounds[slot]);
}

void PlayPairedSound(GameWindow& w, SoundSlot first, SoundSlot second) {
  if (!w.options.soundOn) return;
  PlaySound(w, IsSoundPlaying(w.sounds[first]) ? second : first);
}

}  // namespace quorvex
