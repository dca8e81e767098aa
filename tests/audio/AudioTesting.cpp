#include "tests/audio/AudioTesting.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>

#include "platform/Files.h"
#include "tests/support/SurfaceTesting.h"

namespace fs = std::filesystem;

namespace quorvex::testing {

AudioFolder::AudioFolder() {
  static std::atomic<int> counter{0};
  path_ = fs::temp_directory_path() / ("quorvex-audio-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
  fs::remove_all(path_);
  fs::create_directories(path_);
}

AudioFolder::~AudioFolder() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

void AudioFolder::CopyStockEffects() const {
  for (const fs::directory_entry& e : fs::directory_iterator(ProgramDir())) {
    if (e.path().extension() == ".wav") fs::copy_file(e.path(), path_ / e.path().filename());
  }
}

void AudioFolder::WriteTinyModule(const std::string& name) const {
  // Protracker layout: title, 31 empty samples, order list of one pattern, "M.K.", one pattern.
  std::string bytes(1084 + 1024, '\0');
  for (int s = 0; s < 31; ++s) bytes[20 + s * 30 + 29] = 1;  // repeat length of one word
  bytes[950] = 1;                                              // one order
  bytes[951] = 127;
  bytes.replace(1080, 4, "M.K.");
  // Row 0: speed 1 on channel 1, a pattern break on channel 2, so the song ends after one tick.
  bytes[1084 + 2] = 0x0F;
  bytes[1084 + 3] = 0x01;
  bytes[1084 + 4 + 2] = 0x0D;
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(path_ / name, bytes, &error)) << error;
}

void AudioFolder::WritePlaylist(const std::vector<std::string>& songs) const {
  std::string text = "Test music\r\nmenu.it\r\nheader.mod\r\n----\r\n";
  for (const std::string& song : songs) text += song + "\r\n";
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(path_ / "playlist.txt", text, &error)) << error;
}

}  // namespace quorvex::testing
