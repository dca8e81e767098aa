// The generated music: the menu song and the battle songs of playlist.txt load through the game's
// module player, play to a real end (the jukebox waits for it) within one to three minutes, and are
// the same bytes every run.
#include <gtest/gtest.h>

#include <unistd.h>
#include <xmp.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "platform/Music.h"
#include "platform/Sound.h"
#include "tools/datagen/Generators.h"

namespace fs = std::filesystem;

namespace {

const fs::path kProgramDir = QV_PROGRAM_DIR;

// The playlist as the game reads it: four header lines skipped, then one module per line.
std::vector<std::string> PlaylistSongs(const fs::path& dir) {
  std::string text, error;
  EXPECT_TRUE(quorvex::ReadWholeFile(dir / "playlist.txt", &text, &error)) << error;
  const std::vector<std::string> lines = quorvex::SplitLines(text);
  EXPECT_GE(lines.size(), 5u);
  std::vector<std::string> songs;
  for (size_t i = 4; i < lines.size(); ++i) songs.push_back(lines[i]);
  return songs;
}

std::vector<fs::path> AllSongs() {
  std::vector<fs::path> out = {kProgramDir / "menu.it"};
  for (const std::string& name : PlaylistSongs(kProgramDir)) out.push_back(quorvex::ResolveFileName(kProgramDir, name));
  return out;
}

class TempDir {
 public:
  explicit TempDir(const std::string& tag) {
    path_ = fs::temp_directory_path() / ("qv-music-" + tag + "-" + std::to_string(::getpid()));
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

std::string Bytes(const fs::path& p) {
  std::string b;
  EXPECT_TRUE(quorvex::ReadWholeFile(p, &b, nullptr)) << p;
  return b;
}

// libxmp's number for a position jump (the tracker's B command), which could send a song back.
constexpr int kXmpPositionJump = 0x0b;

}  // namespace

TEST(Music, PlaylistNamesAtLeastFourDistinctBattleSongsAfterItsHeader) {
  const std::vector<std::string> songs = PlaylistSongs(kProgramDir);
  EXPECT_GE(songs.size(), 4u);
  EXPECT_LE(songs.size(), 20u) << "the game plays at most 20";
  std::set<std::string> distinct;
  for (const std::string& name : songs) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(name.empty());
    EXPECT_NE(name, "menu.it") << "the menu song is not a battle song";
    EXPECT_TRUE(fs::is_regular_file(quorvex::ResolveFileName(kProgramDir, name)));
    distinct.insert(name);
  }
  EXPECT_EQ(distinct.size(), songs.size());
}

TEST(Music, EverySongLoadsInTheGamePlayerAndEndsWithinOneToThreeMinutes) {
  quorvex::AudioDevice device;  // not opened: songs load and stay silent
  for (const fs::path& path : AllSongs()) {
    SCOPED_TRACE(path.filename().string());
    quorvex::Song* song = quorvex::LoadSong(device, path.string());
    EXPECT_NE(song, nullptr);
    quorvex::FreeSong(song);
    double seconds = 0;
    EXPECT_TRUE(quorvex::RenderSongToEnd(path.string(), 200.0, &seconds)) << "the song never ends";
    EXPECT_GE(seconds, 60.0);
    EXPECT_LE(seconds, 180.0);
  }
}

// The songs as the game's player renders them: 44100 Hz, stereo, full volume, once to the end.
std::vector<int16_t> RenderedSong(const fs::path& path) {
  std::vector<int16_t> samples;
  xmp_context ctx = xmp_create_context();
  if (xmp_load_module(ctx, path.string().c_str()) == 0) {
    if (xmp_start_player(ctx, 44100, 0) == 0) {
      std::vector<int16_t> buffer(4096);
      while (xmp_play_buffer(ctx, buffer.data(), static_cast<int>(buffer.size() * 2), 1) == 0)
        samples.insert(samples.end(), buffer.begin(), buffer.end());
      xmp_end_player(ctx);
    }
    xmp_release_module(ctx);
  }
  xmp_free_context(ctx);
  return samples;
}

// No song ends in a stretch of silence (the jukebox's next song would follow a gap), nor is its
// last note cut off while it still sounds.
TEST(Music, EverySongEndsOnItsLastNote) {
  for (const fs::path& path : AllSongs()) {
    SCOPED_TRACE(path.filename().string());
    const std::vector<int16_t> s = RenderedSong(path);
    ASSERT_GT(s.size(), 44100u * 2 * 10);
    int peak = 0;
    for (int16_t v : s) peak = std::max(peak, std::abs(static_cast<int>(v)));
    size_t lastSound = 0;  // the last sample louder than 60 dB below the song's peak
    for (size_t i = 0; i < s.size(); ++i) {
      if (std::abs(static_cast<int>(s[i])) * 1000 > peak) lastSound = i;
    }
    EXPECT_LT((s.size() - lastSound) / (44100.0 * 2), 0.25) << "seconds of silence at the end";
    int tail = 0;  // the last 20 ms
    for (size_t i = s.size() - 882 * 2; i < s.size(); ++i) tail = std::max(tail, std::abs(static_cast<int>(s[i])));
    EXPECT_LT(tail * 100, peak) << "the last note is cut off";
  }
}

TEST(Music, SongsAreImpulseTrackerModulesWhoseOrderListRunsOutInsteadOfJumpingBack) {
  for (const fs::path& path : AllSongs()) {
    SCOPED_TRACE(path.filename().string());
    const std::string bytes = Bytes(path);
    ASSERT_GT(bytes.size(), 0xC0u);
    EXPECT_EQ(bytes.substr(0, 4), "IMPM");
    const int orderCount = static_cast<unsigned char>(bytes[0x20]) | static_cast<unsigned char>(bytes[0x21]) << 8;
    ASSERT_GT(orderCount, 1);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0xC0 + orderCount - 1]), 255) << "the order list ends with the end mark";

    xmp_context ctx = xmp_create_context();
    ASSERT_EQ(xmp_load_module(ctx, path.string().c_str()), 0);
    xmp_module_info info;
    xmp_get_module_info(ctx, &info);
    const xmp_module* m = info.mod;
    EXPECT_GE(m->len, 6) << "a song has sections";
    EXPECT_GE(m->ins, 4) << "drums, bass, pad and lead at least";
    std::set<int> patternsPlayed;
    for (int i = 0; i < m->len; ++i) {
      if (m->xxo[i] < m->pat) patternsPlayed.insert(m->xxo[i]);
    }
    EXPECT_GE(patternsPlayed.size(), 5u) << "sections vary";
    for (int p = 0; p < m->pat; ++p) {
      for (int ch = 0; ch < m->chn; ++ch) {
        const xmp_track* track = m->xxt[m->xxp[p]->index[ch]];
        for (int row = 0; row < track->rows; ++row) {
          EXPECT_NE(track->event[row].fxt, kXmpPositionJump);
          EXPECT_NE(track->event[row].f2t, kXmpPositionJump);
        }
      }
    }
    xmp_release_module(ctx);
    xmp_free_context(ctx);
  }
}

TEST(Music, TheMenuSongIsCalmerThanEveryBattleSong) {
  auto tempoOf = [](const fs::path& path) {
    xmp_context ctx = xmp_create_context();
    int bpm = -1;
    if (xmp_load_module(ctx, path.string().c_str()) == 0) {
      xmp_module_info info;
      xmp_get_module_info(ctx, &info);
      bpm = info.mod->bpm;
      xmp_release_module(ctx);
    }
    xmp_free_context(ctx);
    return bpm;
  };
  const int menu = tempoOf(kProgramDir / "menu.it");
  EXPECT_GT(menu, 0);
  EXPECT_LT(menu, 100);
  for (const std::string& name : PlaylistSongs(kProgramDir)) {
    EXPECT_GE(tempoOf(quorvex::ResolveFileName(kProgramDir, name)), 120) << name;
  }
}

TEST(Music, GeneratorWritesTheSameBytesEveryRun) {
  TempDir first("first"), second("second");
  datagen::GenerateMusic(first.path());
  datagen::GenerateMusic(second.path());
  std::vector<std::string> names = {"playlist.txt", "menu.it"};
  for (const std::string& song : PlaylistSongs(first.path())) names.push_back(song);
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    const std::string bytes = Bytes(first.path() / name);
    EXPECT_FALSE(bytes.empty());
    EXPECT_EQ(bytes, Bytes(second.path() / name));
    EXPECT_EQ(bytes, Bytes(kProgramDir / name)) << "the program folder holds another version";
  }
}
