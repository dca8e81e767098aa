#include "tools/datagen/Generators.h"

namespace datagen {

void GenerateSounds(const std::filesystem::path&) {}

}  // namespace datagen
