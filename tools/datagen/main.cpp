#include <cstdio>
#include <exception>
#include <filesystem>

#include "tools/datagen/Generators.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: datagen <program folder>\n");
    return 2;
  }
  const std::filesystem::path dir = argv[1];
  try {
    std::filesystem::create_directories(dir);
    datagen::GeneratePictures(dir);
    datagen::GenerateSounds(dir);
    datagen::GenerateMusic(dir);
    datagen::GenerateShips(dir);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "datagen: %s\n", e.what());
    return 1;
  }
  return 0;
}
