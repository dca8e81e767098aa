#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "tools/datagen/Generators.h"
#include "tools/datagen/MusicSongs.h"

namespace datagen {

void GenerateMusic(const std::filesystem::path& dir) {
  auto write = [&](const std::string& name, const std::string& bytes) {
    std::string error;
    if (!quorvex::WriteFileAtomically(dir / name, bytes, &error)) throw std::runtime_error(error);
  };
  for (const SongFile& song : GameSongs()) write(song.file, WriteItModule(ComposeSong(song.plan)));
  write("playlist.txt", PlaylistText());
}

}  // namespace datagen
