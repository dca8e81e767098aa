// Helpers of the sound tests: a private program folder with the stock effects and tiny modules.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <functional>
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

// Waits up to five seconds for `done`; the disk sound driver plays far faster than real time.
inline bool WaitFor(const std::function<bool()>& done) {
  for (int i = 0; i < 500 && !done(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return done();
}

}  // namespace quorvex::testing
