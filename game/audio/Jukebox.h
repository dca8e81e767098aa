// The songs: the menu song, a random playlist song for each battle, the jukebox that follows a
// finished song with another, and freeing them when the game ends.
#pragma once
#include "game/core/GameWindow.h"

namespace quorvex {

inline bool MusicOn(const GameWindow& w) { return w.options.soundOn && w.options.musicOn; }

// A playlist entry, 1..songCount - 1, drawn uniformly (halves rounded to the even neighbour).
// With no playlist song it gives entry 1, which holds no song, so nothing plays.
int RandomSong(GameWindow& w);

// When music is on: stops a battle song still playing and plays the menu song, over and over until
// a battle starts.
void StartMenuMusic(GameWindow& w);

// When music is on: stops the menu song and plays a random playlist song.
void StartBattleMusic(GameWindow& w);

// Once per battle frame, whatever the switches say: a song that has ended is followed by a random
// one (maybe itself). An empty entry never ends, so without music nothing happens.
void MusicStep(GameWindow& w);

// Stops and frees every song; the song count drops to 0.
void FreeSongs(GameWindow& w);

}  // namespace quorvex
