#include "platform/Music.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <xmp.h>

#include <algorithm>
#include <atomic>
#include <vector>

#include "platform/Sound.h"

namespace quorvex {

struct Song {
  xmp_context ctx = nullptr;
  AudioDevice* device = nullptr;
  int rate = 44100;
  bool mono = false;
  std::atomic<bool> playing{false};
  std::atomic<bool> finished{false};
};

namespace {

// Runs on the audio thread: renders the module into the mixer's music stream until its end.
void feedMusic(void* user, Uint8* stream, int len) {
  Song* song = static_cast<Song*>(user);
  if (!song->playing.load()) {
    std::fill(stream, stream + len, 0);
    return;
  }
  // One pass through the order list: a jump back to an earlier order ends the song there.
  if (xmp_play_buffer(song->ctx, stream, len, 1) != 0) {
    std::fill(stream, stream + len, 0);
    song->playing.store(false);
    song->finished.store(true);
  }
}

void detach(Song* song) {
  if (!song->device || !song->device->available()) return;
  SDL_LockAudio();
  Mix_HookMusic(nullptr, nullptr);
  SDL_UnlockAudio();
}

}  // namespace

Song* LoadSong(AudioDevice& device, const std::string& path) {
  xmp_context ctx = xmp_create_context();
  if (!ctx) return nullptr;
  if (xmp_load_module(ctx, const_cast<char*>(path.c_str())) != 0) {
    xmp_free_context(ctx);
    return nullptr;
  }
  Song* song = new Song;
  song->ctx = ctx;
  song->device = &device;
  if (device.available()) {
    int freq = 44100, channels = 2;
    Uint16 format = AUDIO_S16SYS;
    if (Mix_QuerySpec(&freq, &format, &channels)) {
      song->rate = freq;
      song->mono = channels == 1;
    }
  }
  return song;
}

void PlaySong(Song* song) {
  if (!song) return;
  detach(song);
  xmp_end_player(song->ctx);
  const int flags = song->mono ? XMP_FORMAT_MONO : 0;
  if (xmp_start_player(song->ctx, song->rate, flags) != 0) {
    song->finished.store(true);
    return;
  }
  song->finished.store(false);
  song->playing.store(true);
  if (song->device && song->device->available()) Mix_HookMusic(feedMusic, song);
}

void StopSong(Song* song) {
  if (!song) return;
  detach(song);
  song->playing.store(false);
}

void SetSongVolume(Song* song, int volume) {
  if (!song) return;
  volume = std::clamp(volume, 0, 255);
  // The player's own scale is 0..200 with 100 as unchanged; the game's 255 is full volume.
  xmp_set_player(song->ctx, XMP_PLAYER_VOLUME, volume * 100 / 255);
}

bool SongFinished(Song* song) {
  if (!song) return false;  // an empty entry never ends, so the jukebox does not spin on it
  return song->finished.load();
}

void FreeSong(Song* song) {
  if (!song) return;
  StopSong(song);
  xmp_end_player(song->ctx);
  xmp_release_module(song->ctx);
  xmp_free_context(song->ctx);
  delete song;
}

bool RenderSongToEnd(const std::string& path, double maxSeconds, double* seconds) {
  xmp_context ctx = xmp_create_context();
  if (!ctx) return false;
  bool ended = false;
  double played = 0;
  if (xmp_load_module(ctx, const_cast<char*>(path.c_str())) == 0) {
    constexpr int kRate = 8000;
    if (xmp_start_player(ctx, kRate, XMP_FORMAT_MONO) == 0) {
      std::vector<char> buffer(4096);
      const double bytesPerSecond = kRate * 2.0;
      while (played < maxSeconds) {
        if (xmp_play_buffer(ctx, buffer.data(), static_cast<int>(buffer.size()), 1) != 0) {
          ended = true;
          break;
        }
        played += buffer.size() / bytesPerSecond;
      }
      xmp_end_player(ctx);
    }
    xmp_release_module(ctx);
  }
  xmp_free_context(ctx);
  if (seconds) *seconds = played;
  return ended;
}

}  // namespace quorvex
