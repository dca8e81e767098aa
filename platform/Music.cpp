#include "platform/Music.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <xmp.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <mutex>
#include <vector>

#include "platform/Sound.h"

namespace quorvex {

// The audio thread renders a playing song while the game thread starts, stops, turns and asks it.
// Every use of the player context, the volume and the three flags happens under `lock`: the mixer's music
// hook takes it around its rendering, and every function below takes it around its player calls.
// The mixer's own lock is never taken while `lock` is held (the hook runs under the mixer's lock and
// then takes `lock`), so the two cannot wait on each other.
struct Song {
  xmp_context ctx = nullptr;
  AudioDevice* device = nullptr;
  int rate = 44100;
  bool mono = false;
  bool floatMix = false;  // the mixer mixes float samples (otherwise 16-bit ones)
  std::mutex lock;
  int volume = 255;       // the game's 0..255, applied as an amplitude while rendering
  int16_t rendered[2048];  // the player's 16-bit output, turned into the mixer's samples
  bool playing = false;
  bool finished = false;
  bool looping = false;
};

namespace {

using Hold = std::lock_guard<std::mutex>;

// The player renders modules quietly (every channel has room to sound at once): music is brought up
// by this much before it meets the effects, where it sits about 20 dB under full scale. The output
// limiter of the mixer keeps the loudest moments clean.
constexpr double kMusicGainDb = 5.5;

// Renders `len` bytes of the mixer's samples; false at the end of a song played once.
bool render(Song* song, Uint8* stream, int len) {
  const int bytesPerSample = song->floatMix ? 4 : 2;
  const double gain = std::pow(10.0, kMusicGainDb / 20) * song->volume / 255.0 / 32768.0;
  const int total = len / bytesPerSample;
  for (int done = 0; done < total;) {
    const int count = std::min<int>(total - done, static_cast<int>(std::size(song->rendered)));
    if (xmp_play_buffer(song->ctx, song->rendered, count * 2, song->looping ? 0 : 1) != 0) return false;
    for (int i = 0; i < count; ++i) {
      const double v = song->rendered[i] * gain;
      if (song->floatMix) {
        reinterpret_cast<float*>(stream)[done + i] = static_cast<float>(v);
      } else {
        reinterpret_cast<int16_t*>(stream)[done + i] = static_cast<int16_t>(std::clamp(v * 32768, -32768.0, 32767.0));
      }
    }
    done += count;
  }
  return true;
}

// Runs on the audio thread: renders the module into the mixer's music stream. A song played once
// ends at the end of its order list or where it jumps back; a looping song starts again there.
void feedMusic(void* user, Uint8* stream, int len) {
  Song* song = static_cast<Song*>(user);
  Hold hold(song->lock);
  if (!song->playing) {
    std::fill(stream, stream + len, 0);
    return;
  }
  if (!render(song, stream, len)) {
    std::fill(stream, stream + len, 0);
    song->playing = false;
    song->finished = true;
  }
}

bool hooked(const Song* song) { return song->device && song->device->available(); }

// Takes the song off the mixer's music hook (when it is the one hooked); once this returns the audio
// thread no longer renders it.
void detach(Song* song) {
  if (hooked(song) && Mix_GetMusicHookData() == song) Mix_HookMusic(nullptr, nullptr);
}

}  // namespace

Song* LoadSong(AudioDevice& device, const std::string& path) {
  // The new context is this thread's alone until the song is played.
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
      song->floatMix = format == AUDIO_F32SYS;
    }
  }
  return song;
}

void PlaySong(Song* song, SongEnd end) {
  if (!song) return;
  detach(song);
  {
    Hold hold(song->lock);
    xmp_end_player(song->ctx);
    const int flags = song->mono ? XMP_FORMAT_MONO : 0;
    song->looping = end == SongEnd::Loop;
    if (xmp_start_player(song->ctx, song->rate, flags) != 0) {
      song->playing = false;
      song->finished = true;
      return;
    }
    song->finished = false;
    song->playing = true;
  }
  if (hooked(song)) Mix_HookMusic(feedMusic, song);
}

void StopSong(Song* song) {
  if (!song) return;
  detach(song);
  Hold hold(song->lock);
  song->playing = false;
}

void SetSongVolume(Song* song, int volume) {
  if (!song) return;
  volume = std::clamp(volume, 0, 255);
  Hold hold(song->lock);
  // Kept by the song and applied to what the player renders: starting the player resets the
  // player's own volume, so a volume set before the song starts would be lost there.
  song->volume = volume;
}

bool SongFinished(Song* song) {
  if (!song) return false;  // an empty entry never ends, so the jukebox does not spin on it
  Hold hold(song->lock);
  return song->finished;
}

void FreeSong(Song* song) {
  if (!song) return;
  StopSong(song);
  {
    Hold hold(song->lock);
    xmp_end_player(song->ctx);
    xmp_release_module(song->ctx);
    xmp_free_context(song->ctx);
  }
  delete song;
}

bool RenderSongToEnd(const std::string& path, double maxSeconds, double* seconds) {
  // A context of its own, never seen by the audio thread.
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
