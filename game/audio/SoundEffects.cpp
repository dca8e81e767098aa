#include "game/audio/SoundEffects.h"

namespace quorvex {

void SoundFrameBegins(FrameSounds& sounds, int64_t frame, bool again) {
  sounds.frame = frame;
  sounds.again = again;
  if (frame <= 0) return;
  FrameSounds::Started& s = sounds.ring[static_cast<size_t>(frame) % sounds.ring.size()];
  if (s.frame != frame) s = FrameSounds::Started{frame};
  s.matched = 0;
}

bool SoundStartsNow(FrameSounds& sounds, SoundSlot slot) {
  if (sounds.frame <= 0) return true;
  FrameSounds::Started& s = sounds.ring[static_cast<size_t>(sounds.frame) % sounds.ring.size()];
  if (s.frame != sounds.frame) s = FrameSounds::Started{sounds.frame};
  if (sounds.again) {
    for (uint8_t i = 0; i < s.count; ++i) {
      const uint16_t bit = static_cast<uint16_t>(1u << i);
      if (s.kinds[i] == slot && !(s.matched & bit)) {
        s.matched |= bit;
        return false;
      }
    }
  }
  if (s.count < s.kinds.size()) {
    if (sounds.again) s.matched |= static_cast<uint16_t>(1u << s.count);
    s.kinds[s.count++] = static_cast<uint8_t>(slot);
  }
  return true;
}

void PlaySound(GameWindow& w, SoundSlot slot) {
  if (!w.options.soundOn || !SoundStartsNow(w.frameSounds, slot)) return;
  PlaySound(w.audio, w.sounds[slot]);
}

void PlayPairedSound(GameWindow& w, SoundSlot first, SoundSlot second) {
  if (!w.options.soundOn) return;
  PlaySound(w, IsSoundPlaying(w.sounds[first]) ? second : first);
}

}  // namespace quorvex
