// Helpers of the sound tests: a private program folder with the stock effects and tiny modules.
#pragma once
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "game/core/GameWindow.h"

namespace quorvex::testing {

class AudioFolder {
 public:
  AudioFolder();
  ~AudioFolder();
  AudioFolder(const AudioFolder&) = delete;
  AudioFolder& operator=(const AudioFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }
  // Copies every stock wave file from the program folder.
  void CopyStockEffects() const;
  // A four-channel module that ends after its first row, a fraction of a second of music.
  void WriteTinyModule(const std::string& name) const;
  // playlist.txt: four header lines, then one line per song.
  void WritePlaylist(const std::vector<std::string>& songs) const;

 private:
  std::filesystem::path path_;
};

// Waits up to five seconds for `done`; the disk sound driver plays far faster than real time.
inline bool WaitFor(const std::function<bool()>& done) {
  for (int i = 0; i < 500; ++i) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return done();
}

}  // namespace quorvex::testing
