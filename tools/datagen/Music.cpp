#include "tools/datagen/Generators.h"

namespace datagen {

void GenerateMusic(const std::filesystem::path&) {}

}  // namespace datagen
