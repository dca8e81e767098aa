// The data generator makes every picture, sound, module and stock ship the programs load.
// Each family of files has its own generator; main() runs them all into the program folder.
#pragma once
#include <filesystem>

namespace datagen {

// Stock data: rewritten on every run, same bytes every time.
void GeneratePictures(const std::filesystem::path& dir);
void GenerateSounds(const std::filesystem::path& dir);
void GenerateMusic(const std::filesystem::path& dir);

// The user's files: stock ships are written only where no file of that name exists yet.
void GenerateShips(const std::filesystem::path& dir);

}  // namespace datagen
