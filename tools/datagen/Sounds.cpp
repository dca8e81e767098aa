#include <stdexcept>
#include <string>

#include "platform/Files.h"
#include "tools/datagen/Generators.h"
#include "tools/datagen/SoundEffects.h"
#include "tools/datagen/Wav.h"

namespace datagen {

void GenerateSounds(const std::filesystem::path& dir) {
  for (const SoundEffect& effect : MakeSoundEffects()) {
    const std::string bytes = EncodeWav16Mono(ToPcm16(effect.samples), kEffectRate);
    std::string error;
    if (!quorvex::WriteFileAtomically(dir / effect.file, bytes, &error)) throw std::runtime_error(error);
  }
}

}  // namespace datagen
