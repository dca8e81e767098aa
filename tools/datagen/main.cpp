#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "tools/datagen/Generators.h"
#include "tools/datagen/Icons.h"

int main(int argc, char** argv) {
  // The icons are for installing: made only when asked, into a hicolor theme folder.
  if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "--icons")) {
    std::fprintf(stderr, "usage: datagen <program folder> [--icons <hicolor icon folder>]\n");
    return 2;
  }
  const std::filesystem::path dir = argv[1];
  try {
    std::filesystem::create_directories(dir);
    datagen::GeneratePictures(dir);
    datagen::GenerateSounds(dir);
    datagen::GenerateMusic(dir);
    datagen::GenerateShips(dir);
    if (argc == 4) datagen::GenerateIcons(argv[3]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "datagen: %s\n", e.what());
    return 1;
  }
  return 0;
}
