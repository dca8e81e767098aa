#include "platform/Sound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "platform/DataFiles.h"

namespace quorvex {

namespace {

// The output stage: the whole mix is brought up by kOutputGainDb and a peak limiter keeps it under
// kCeiling. The mixer mixes float samples, so nothing clips before this stage however many sounds
// meet; the limiter reacts at once to a peak above the ceiling (nothing ever passes it) and lets go
// over kReleaseSeconds, so a burst of explosions ducks the mix briefly instead of cracking.
constexpr double kOutputGainDb = 14.0;
constexpr double kCeiling = 0.88;  // -1.1 dBFS
constexpr double kReleaseSeconds = 0.15;

struct Limiter {
  float gain = 1;     // applied on top of the output gain, 1 when nothing is limited
  float release = 0;  // per-frame step back towards 1
  int channels = 2;
};

void LimitOutput(int, void* stream, int len, void* user) {
  Limiter& l = *static_cast<Limiter*>(user);
  auto* s = static_cast<float*>(stream);
  const float makeUp = static_cast<float>(std::pow(10.0, kOutputGainDb / 20));
  const int frames = len / static_cast<int>(sizeof(float)) / l.channels;
  for (int f = 0; f < frames; ++f) {
    float* frame = s + f * l.channels;
    float peak = 0;
    for (int c = 0; c < l.channels; ++c) peak = std::max(peak, std::fabs(frame[c] * makeUp));
    l.gain = std::min(1.0f, l.gain + (1.0f - l.gain) * l.release);
    if (peak * l.gain > kCeiling) l.gain = static_cast<float>(kCeiling) / peak;
    for (int c = 0; c < l.channels; ++c) frame[c] *= makeUp * l.gain;
  }
}

void FreeLimiter(int, void* user) { delete static_cast<Limiter*>(user); }

}  // namespace

bool AudioDevice::open() {
  if (opened) return true;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  if (Mix_OpenAudio(44100, AUDIO_F32SYS, 2, 1024) != 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  Mix_AllocateChannels(64);
  int rate = 44100, channels = 2;
  Uint16 format = 0;
  if (Mix_QuerySpec(&rate, &format, &channels) && format == AUDIO_F32SYS && channels > 0) {
    // The mixer owns the limiter from here and frees it when the device closes.
    auto* limiter = new Limiter;
    limiter->channels = channels;
    limiter->release = static_cast<float>(1 - std::exp(-1 / (kReleaseSeconds * rate)));
    if (!Mix_RegisterEffect(MIX_CHANNEL_POST, LimitOutput, FreeLimiter, limiter)) delete limiter;
  }
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
