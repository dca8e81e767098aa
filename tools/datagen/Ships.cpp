#include "tools/datagen/Generators.h"

namespace datagen {

void GenerateShips(const std::filesystem::path&) {}

}  // namespace datagen
