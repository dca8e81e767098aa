#include "game/audio/Jukebox.h"

#include "game/audio/Initsound.h"
#include "platform/Music.h"
#include "platform/Numbers.h"

namespace quorvex {

namespace {

// The song of an entry; entries outside the table hold none.
Song* SongAt(const GameWindow& w, int entry) {
  if (entry < 0 || entry >= kSongEntries) return nullptr;
  return w.songs[static_cast<size_t>(entry)];
}

void PlayEntry(GameWindow& w, int entry, SongEnd end) {
  Song* song = SongAt(w, entry);
  SetSongVolume(song, w.options.musicVolume);
  PlaySong(song, end);
}

}  // namespace

int RandomSong(GameWindow& w) {
  if (w.songCount < 2) return 1;
  return static_cast<int>(nearest(w.musicRandom.Next() * (w.songCount - 2))) + 1;
}

void StartMenuMusic(GameWindow& w) {
  if (!MusicOn(w)) return;
  // The battle song stops first: the mixer plays one song at a time.
  if (w.currentSong > 0) StopSong(SongAt(w, w.currentSong));
  // The menu song starts again at its end: the menus are never silent, however long the players stay.
  PlayEntry(w, 0, SongEnd::Loop);
}

void StartBattleMusic(GameWindow& w) {
  if (!MusicOn(w)) return;
  StopSong(SongAt(w, 0));
  w.currentSong = RandomSong(w);
  PlayEntry(w, w.currentSong, SongEnd::Stop);
}

void MusicStep(GameWindow& w) {
  Song* song = SongAt(w, w.currentSong);
  if (!SongFinished(song)) return;
  StopSong(song);
  w.currentSong = RandomSong(w);
  PlayEntry(w, w.currentSong, SongEnd::Stop);
}

void FreeSongs(GameWindow& w) {
  for (Song*& song : w.songs) {
    FreeSong(song);
    song = nullptr;
  }
  w.songCount = 0;
}

}  // namespace quorvex
