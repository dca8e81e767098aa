// The game's sound effects, each synthesised from oscillators, noise, envelopes and filters.
#pragma once
#include <string>
#include <vector>

#include "tools/datagen/Synth.h"

namespace datagen {

inline constexpr int kEffectRate = 22050;

struct SoundEffect {
  std::string file;  // name the game loads it by
  Signal samples;    // finished: faded at both ends, peak below full scale
};

// All effects the game loads, in a fixed order, rendered at kEffectRate.
std::vector<SoundEffect> MakeSoundEffects();

}  // namespace datagen
