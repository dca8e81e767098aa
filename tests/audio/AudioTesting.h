// Helpers of the sound tests: a private program folder with the stock effects and tiny modules.
#pragma once
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/Files.h"
#include "tests/support/SurfaceTesting.h"

namespace quorvex::testing {

// The tests play through the disk sound driver, writing nowhere at full speed, unless the caller
// chose a driver.
inline const bool kDiskSoundDriver = [] {
  setenv("SDL_AUDIODRIVER", "disk", 0);
  setenv("SDL_DISKAUDIOFILE", "/dev/null", 0);
  setenv("SDL_DISKAUDIODELAY", "0", 0);
  return true;
}();

struct AudioFolder {
  std::filesystem::path path = std::filesystem::temp_directory_path() /
                               ("quorvex-audio-" + std::to_string(getpid()) + "-" + std::to_string(Count()++));
  AudioFolder() { std::filesystem::create_directories(path); }
  ~AudioFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
  static int& Count() {
    static int n = 0;
    return n;
  }
  void CopyStockEffects() const {
    for (const auto& e : std::filesystem::directory_iterator(ProgramDir()))
      if (e.path().extension() == ".wav") std::filesystem::copy_file(e.path(), path / e.path().filename());
  }
  void Write(const std::string& name, const std::string& bytes) const {
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(path / name, bytes, &error)) << error;
  }
  // A Protracker module with empty samples whose one row sets speed 1 and breaks the pattern, so
  // it ends after one tick.
  void WriteTinyModule(const std::string& name) const {
    std::string b(1084 + 1024, '\0');
    for (int s = 0; s < 31; ++s) b[20 + s * 30 + 29] = 1;  // repeat length of one word
    b[950] = 1;                                             // one order
    b[951] = 127;
    b.replace(1080, 4, "M.K.");
    b[1086] = 0x0F, b[1087] = 0x01, b[1090] = 0x0D;
    Write(name, b);
  }
  // Four header lines (naming modules, which must not be loaded), then one line per song.
  void WritePlaylist(const std::vector<std::string>& songs) const {
    std::string text = "Test music\r\nmenu.it\r\nheader.mod\r\n----\r\n";
    for (const std::string& song : songs) text += song + "\r\n";
    Write("playlist.txt", text);
  }
};

// Waits up to `seconds` for `done`; the disk sound driver plays far faster than real time.
inline bool WaitFor(const std::function<bool()>& done, double seconds = 5) {
  for (int i = 0; i < seconds * 100 && !done(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return done();
}

// What the mixer hands to the sound device (16-bit or float samples, 1.0 is full scale), measured on
// the audio thread after each mix while the meter is installed.
class MixMeter {
 public:
  explicit MixMeter(double windowSeconds = 1.0) {
    int rate = 0, channels = 0;
    Uint16 format = 0;
    if (Mix_QuerySpec(&rate, &format, &channels) && (format == AUDIO_S16SYS || format == AUDIO_F32SYS)) {
      isFloat_ = format == AUDIO_F32SYS;
      samplesPerSecond_ = rate * channels;
      samplesPerWindow_ = std::max<int64_t>(1, static_cast<int64_t>(samplesPerSecond_ * windowSeconds));
      Mix_SetPostMix(&MixMeter::Measure, this);
    }
  }
  ~MixMeter() { Mix_SetPostMix(nullptr, nullptr); }
  bool installed() const { return samplesPerSecond_ > 0; }
  double Seconds() {
    std::lock_guard<std::mutex> hold(lock_);
    return static_cast<double>(samples_) / samplesPerSecond_;
  }
  // Peak (in 16-bit steps) and count of samples at the limits of the 16-bit range.
  int Peak() {
    std::lock_guard<std::mutex> hold(lock_);
    return peak_;
  }
  int64_t FullScale() {
    std::lock_guard<std::mutex> hold(lock_);
    return fullScale_;
  }
  // Root mean square of each whole window played so far (1.0 is full scale).
  std::vector<double> WindowRms() {
    std::lock_guard<std::mutex> hold(lock_);
    return windowRms_;
  }
  bool WaitForSeconds(double seconds, double timeout = 30) {
    return WaitFor([&] { return Seconds() >= seconds; }, timeout);
  }
  // The mixer's device, for holding its lock across several calls: the one device playing.
  static SDL_AudioDeviceID PlayingDevice() {
    for (SDL_AudioDeviceID id = 2; id < 64; ++id) {
      if (SDL_GetAudioDeviceStatus(id) == SDL_AUDIO_PLAYING) return id;
    }
    return 0;
  }

 private:
  static void Measure(void* self, Uint8* stream, int len) {
    auto& m = *static_cast<MixMeter*>(self);
    std::lock_guard<std::mutex> hold(m.lock_);
    const int count = len / (m.isFloat_ ? 4 : 2);
    for (int i = 0; i < count; ++i) {
      const double v = m.isFloat_ ? reinterpret_cast<const float*>(stream)[i] : reinterpret_cast<const int16_t*>(stream)[i] / 32768.0;
      m.peak_ = std::max(m.peak_, static_cast<int>(std::lround(std::fabs(v) * 32768)));
      m.fullScale_ += v >= 32767 / 32768.0 || v <= -1.0;
      m.squares_ += v * v;
      if (++m.samples_ % m.samplesPerWindow_ == 0) {
        m.windowRms_.push_back(std::sqrt(m.squares_ / static_cast<double>(m.samplesPerWindow_)));
        m.squares_ = 0;
      }
    }
  }
  std::mutex lock_;
  bool isFloat_ = false;
  int samplesPerSecond_ = 0;
  int64_t samplesPerWindow_ = 1;
  int64_t samples_ = 0;
  int peak_ = 0;
  int64_t fullScale_ = 0;
  double squares_ = 0;
  std::vector<double> windowRms_;
};

}  // namespace quorvex::testing
