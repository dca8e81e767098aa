// Tracker-module songs (.it, .xm, .mod, .s3m) rendered by libxmp and fed to the mixer's music hook.
// Every operation on a null song does nothing; without an audio device songs load but stay silent.
#pragma once
#include <string>

namespace quorvex {

struct AudioDevice;
struct Song;

// A null pointer when the file is missing or not a module.
Song* LoadSong(AudioDevice& device, const std::string& path);
// Plays once from the start to the end; a song that jumps back to its start ends there.
void PlaySong(Song* song);
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
