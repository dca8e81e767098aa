// Tracker-module songs (.it, .xm, .mod, .s3m) rendered by libxmp and fed to the mixer's music hook.
// Every operation on a null song does nothing; without an audio device songs load but stay silent.
// The game thread may call every function while the audio thread renders a song.
#pragma once
#include <string>

namespace quorvex {

struct AudioDevice;
struct Song;

// A null pointer when the file is missing or not a module.
Song* LoadSong(AudioDevice& device, const std::string& path);
enum class SongEnd {
  Stop,  // plays once: the song ends at the end of its order list or where it jumps back
  Loop,  // starts again from there and never ends
};
// Plays from the start; a song already playing starts again.
void PlaySong(Song* song, SongEnd end = SongEnd::Stop);
void StopSong(Song* song);
// Master volume 0..255.
void SetSongVolume(Song* song, int volume);
// True once a played song has reached its end; a null song never ends.
bool SongFinished(Song* song);
void FreeSong(Song* song);

// Renders a module to its end without any audio device; false when it cannot be loaded or does not
// end within `maxSeconds`. `seconds` receives the length played.
bool RenderSongToEnd(const std::string& path, double maxSeconds, double* seconds);

}  // namespace quorvex
