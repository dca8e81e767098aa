// RIFF WAVE files as the game's sound loader reads them: 16-bit signed PCM, one channel.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace datagen {

// The bytes of a complete WAV file holding `samples` at `sampleRate` Hz.
std::string EncodeWav16Mono(const std::vector<int16_t>& samples, int sampleRate);

}  // namespace datagen
