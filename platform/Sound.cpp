#include "platform/Sound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "platform/DataFiles.h"

namespace quorvex {

bool AudioDevice::open() {
  if (opened) return true;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  Mix_AllocateChannels(64);
  opened = true;
  return true;
}

void AudioDevice::close() {
  if (!opened) return;
  Mix_HookMusic(nullptr, nullptr);
  Mix_HaltChannel(-1);
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  opened = false;
  channelsUsed = 0;
}

namespace {

// Largest wave file taken: minutes of CD-quality sound, far more than any effect needs.
constexpr size_t kMaxWaveBytes = size_t{64} << 20;

SDL_RWops* MemoryFile(const std::string& bytes) { return SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())); }

// The record of plays keeps the first ones only, in storage reserved once, so a long game neither
// grows it nor allocates for it (the names are short file names).
void RecordPlay(AudioDevice& device, const std::string& name) {
  if (device.played.size() >= kPlayRecordLimit) return;
  if (device.played.capacity() < kPlayRecordLimit) device.played.reserve(kPlayRecordLimit);
  device.played.push_back(name);
}

}  // namespace

bool LoadSoundBuffer(AudioDevice& device, const std::string& path, SoundBuffer* out, std::string* error) {
  // Read once, from a regular file only; decoded from memory, so a damaged sound is reported even
  // without a sound card.
  std::string bytes, readError;
  if (!ReadFileBytes(path, kMaxWaveBytes, &bytes, &readError)) {
    if (error) *error = "Cannot load sound " + path + ": " + readError;
    return false;
  }
  SDL_AudioSpec spec{};
  Uint8* data = nullptr;
  Uint32 length = 0;
  if (!SDL_LoadWAV_RW(MemoryFile(bytes), 1, &spec, &data, &length)) {
    if (error) *error = "Cannot load sound " + path + ": " + SDL_GetError();
    return false;
  }
  SoundBuffer b;
  b.name = std::filesystem::path(path).filename().string();
  b.sampleRate = spec.freq;
  b.bitsPerSample = SDL_AUDIO_BITSIZE(spec.format);
  b.channels = spec.channels;
  const double bytesPerSecond = double(spec.freq) * spec.channels * (b.bitsPerSample / 8);
  b.seconds = bytesPerSecond > 0 ? length / bytesPerSecond : 0;
  SDL_FreeWAV(data);
  if (device.available()) {
    b.chunk = Mix_LoadWAV_RW(MemoryFile(bytes), 1);
    if (!b.chunk) {
      if (error) *error = "Cannot load sound " + path + ": " + Mix_GetError();
      return false;
    }
    b.channel = device.channelsUsed < 64 ? device.channelsUsed++ : -1;
  }
  b.loaded = true;
  FreeSoundBuffer(*out);
  *out = b;
  return true;
}

int MixerVolumeFromHundredthsDb(int hundredthsDb) {
  hundredthsDb = std::clamp(hundredthsDb, -10000, 0);
  if (hundredthsDb <= -10000) return 0;
  const double amplitude = std::pow(10.0, hundredthsDb / 2000.0);
  return static_cast<int>(std::lround(amplitude * MIX_MAX_VOLUME));
}

void PlaySound(AudioDevice& device, SoundBuffer& buffer) {
  if (!buffer.loaded) return;
  if (!buffer.chunk || !device.available()) {
    RecordPlay(device, buffer.name);
    return;
  }
  if (IsSoundPlaying(buffer)) return;  // a sound still playing is not restarted
  RecordPlay(device, buffer.name);
  const int channel = Mix_PlayChannel(buffer.channel, buffer.chunk, 0);
  if (channel >= 0) {
    buffer.channel = channel;
    Mix_Volume(channel, MixerVolumeFromHundredthsDb(buffer.volume));
  }
}

bool IsSoundPlaying(const SoundBuffer& buffer) {
  if (!buffer.chunk || buffer.channel < 0) return false;
  return Mix_Playing(buffer.channel) != 0 && Mix_GetChunk(buffer.channel) == buffer.chunk;
}

void SetSoundVolume(SoundBuffer& buffer, int hundredthsDb) {
  buffer.volume = std::clamp(hundredthsDb, -10000, 0);
  if (buffer.chunk && buffer.channel >= 0) Mix_Volume(buffer.channel, MixerVolumeFromHundredthsDb(buffer.volume));
}

void FreeSoundBuffer(SoundBuffer& buffer) {
  if (buffer.chunk) {
    if (IsSoundPlaying(buffer)) Mix_HaltChannel(buffer.channel);
    Mix_FreeChunk(buffer.chunk);
  }
  buffer = SoundBuffer{};
}

}  // namespace quorvex
