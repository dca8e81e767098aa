// The game's songs: the calm menu theme and the battle songs of the jukebox, and the playlist.
#pragma once
#include <string>
#include <vector>

#include "tools/datagen/MusicCompose.h"

namespace datagen {

struct SongFile {
  std::string file;  // "menu.it" first, then the battle songs in playlist order
  SongPlan plan;
};

std::vector<SongFile> GameSongs();

// playlist.txt: four header lines, then one battle module file name per line.
std::string PlaylistText();

}  // namespace datagen
