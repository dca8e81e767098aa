#include "tools/datagen/Generators.h"

namespace datagen {

void GeneratePictures(const std::filesystem::path&) {}

}  // namespace datagen
