// Sound effect buffers: one buffer per wave file, played once and never restarted while playing.
// Without an audio device everything stays silent and the game goes on; plays are still recorded.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

struct Mix_Chunk;

namespace quorvex {

inline constexpr size_t kPlayRecordLimit = 1024;

// The mixer device. open() fails quietly (available() false) when there is no sound card.
struct AudioDevice {
  bool open();
  void close();
  bool available() const { return opened; }
  bool opened = false;
  int channelsUsed = 0;             // each buffer gets a mixer channel of its own
  // File names of the buffers started, in order (for tests and replays): the first
  // kPlayRecordLimit plays only, so the record never grows with play time.
  std::vector<std::string> played;
};

struct SoundBuffer {
  std::string name;          // file name it was made from, without its folder
  Mix_Chunk* chunk = nullptr;  // null without an audio device
  int channel = -1;          // mixer channel this buffer plays on, -1 before its first play
  int volume = 0;            // hundredths of a decibel, -10000..0
  double seconds = 0;        // length of the sound
  int sampleRate = 0;
  int bitsPerSample = 0;
  int channels = 0;
  bool loaded = false;
};

// Reads a WAV file into a buffer. Returns false and fills `error` naming the file when it cannot.
bool LoadSoundBuffer(AudioDevice& device, const std::string& path, SoundBuffer* out, std::string* error);
// Plays once from the current state: a buffer still playing is not restarted.
void PlaySound(AudioDevice& device, SoundBuffer& buffer);
bool IsSoundPlaying(const SoundBuffer& buffer);
// Volume in hundredths of a decibel, -10000 (silent) to 0 (full).
void SetSoundVolume(SoundBuffer& buffer, int hundredthsDb);
// The mixer's 0..128 scale for a volume in hundredths of a decibel.
int MixerVolumeFromHundredthsDb(int hundredthsDb);
void FreeSoundBuffer(SoundBuffer& buffer);

}  // namespace quorvex
