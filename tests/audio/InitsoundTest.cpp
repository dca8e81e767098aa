// Loading the effects and songs at start-up, the laser sounds of new ships, and paired hit sounds.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <memory>

#include "game/audio/Initsound.h"
#include "game/audio/Jukebox.h"
#include "game/audio/SoundEffects.h"
#include "platform/Music.h"
#include "tests/audio/AudioTesting.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;

std::unique_ptr<GameWindow> WindowOn(const fs::path& dir) {
  auto w = std::make_unique<GameWindow>();
  w->headless = true;
  w->programDir = dir;
  w->options.soundVolume = -1200;
  return w;
}

int LoadedSongs(const GameWindow& w) {
  int n = 0;
  for (Song* s : w.songs) n += s != nullptr;
  return n;
}

std::string FileOf(const SoundBuffer& b) { return fs::path(b.name).filename().string(); }

struct SwitchCase {
  const char* name;
  bool soundOn, musicOn;
  bool effects;
  int songCount;
};

void PrintTo(const SwitchCase& c, std::ostream* os) { *os << c.name; }

class SwitchTest : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(SwitchTest, WhatStartUpLoads) {
  const SwitchCase& c = GetParam();
  testing::AudioFolder dir;
  dir.CopyStockEffects();
  for (const char* m : {"menu.it", "a.mod", "b.mod"}) dir.WriteTinyModule(m);
  dir.WritePlaylist({"a.mod", "b.mod"});
  auto w = WindowOn(dir.path);
  w->options.soundOn = c.soundOn;
  w->options.musicOn = c.musicOn;
  w->ship[1].laserKind = 1;

  if (w->options.soundOn) Initsound(*w);  // as start-up does
  StartBattleMusic(*w);
  w->random.scripted = {0.9, 0.9};
  for (int i = 0; i < 50; ++i) MusicStep(*w);  // the jukebox runs whatever the switches say

  EXPECT_EQ(w->audio.available(), c.soundOn);
  EXPECT_EQ(w->songCount, c.songCount);
  EXPECT_EQ(LoadedSongs(*w), c.songCount);
  if (c.songCount == 0) {
    EXPECT_EQ(w->currentSong, 0);
    EXPECT_EQ(w->random.scripted.size(), 2u) << "no song was chosen";
  }
  if (c.effects) {
    const std::vector<std::string> want = {"Laser1.wav", "Laser2.wav", "Hit1.wav",  "Hit1.wav",  "Collision.wav",
                                           "Hit2.wav",   "Hit2.wav",   "Select2.wav", "Ion.wav", "Hit3.wav",
                                           "Hit3.wav",   "Boom.wav",   "Launch.wav", "R2HIT.wav", "Boom2.wav",
                                           "blop.wav",   "chain.wav",  "hit4.wav"};
    for (int s = 0; s < kSoundSlots; ++s) {
      EXPECT_EQ(FileOf(w->sounds[s]), want[s]) << "slot " << s;
      EXPECT_EQ(w->sounds[s].volume, -1200) << "slot " << s;
    }
  } else {
    for (const SoundBuffer& b : w->sounds) EXPECT_FALSE(b.loaded) << b.name;
  }
  FreeSongs(*w);
  for (SoundBuffer& b : w->sounds) FreeSoundBuffer(b);
  w->audio.close();
}

INSTANTIATE_TEST_SUITE_P(Switches, SwitchTest,
                         ::testing::Values(SwitchCase{"SoundOffMusicOn", false, true, false, 0},
                                           SwitchCase{"AllOff", false, false, false, 0},
                                           SwitchCase{"SoundOnly", true, false, true, 0},
                                           SwitchCase{"SoundAndMusic", true, true, true, 3}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LaserSoundTest, AnyOtherLaserKindThanZeroSoundsLikeLaser2) {
  testing::AudioFolder dir;
  dir.CopyStockEffects();
  auto w = WindowOn(dir.path);
  w->options.musicOn = false;
  Initsound(*w);
  const struct {
    double kind1, kind2;
    const char *file1, *file2;
  } cases[] = {{2, 0, "Laser2.wav", "Laser1.wav"},
               {0, 1, "Laser1.wav", "Laser2.wav"},
               {-1, 0.5, "Laser2.wav", "Laser2.wav"},
               {0, 0, "Laser1.wav", "Laser1.wav"}};
  for (const auto& c : cases) {
    w->ship[0].laserKind = c.kind1;
    w->ship[1].laserKind = c.kind2;
    LoadNewSound(*w);
    EXPECT_EQ(FileOf(w->sounds[SndLaserP1]), c.file1) << c.kind1;
    EXPECT_EQ(FileOf(w->sounds[SndLaserP2]), c.file2) << c.kind2;
    EXPECT_EQ(w->sounds[SndLaserP1].volume, -1200) << "a reloaded laser keeps the effect volume";
  }
  // Reloads between duels reuse the lasers' mixer channels.
  EXPECT_EQ(w->audio.channelsUsed, w->audio.available() ? kSoundSlots : 0);

  w->options.soundOn = false;
  w->ship[0].laserKind = 1;
  LoadNewSound(*w);
  EXPECT_EQ(FileOf(w->sounds[SndLaserP1]), "Laser1.wav") << "with sound off nothing is reloaded";
  for (SoundBuffer& b : w->sounds) FreeSoundBuffer(b);
  w->audio.close();
}

TEST(PairedSoundTest, SecondCopySoundsWhileTheFirstPlays) {
  // Real-time pace, so a sound is still playing at the next call.
  const char* before = getenv("SDL_DISKAUDIODELAY");
  const std::string saved = before ? before : "";
  setenv("SDL_DISKAUDIODELAY", "23", 1);
  testing::AudioFolder dir;
  dir.CopyStockEffects();
  auto w = WindowOn(dir.path);
  w->options.musicOn = false;
  Initsound(*w);
  if (before) setenv("SDL_DISKAUDIODELAY", saved.c_str(), 1);
  if (!w->audio.available()) GTEST_SKIP() << "no sound device";
  SoundBuffer &a = w->sounds[SndHit1A], &b = w->sounds[SndHit1B];

  const struct {
    bool aPlaying, bPlaying;
    size_t played;
  } steps[] = {{true, false, 1}, {true, true, 2}, {true, true, 2}};
  for (const auto& s : steps) {
    PlayPairedSound(*w, SndHit1A, SndHit1B);
    EXPECT_EQ(IsSoundPlaying(a), s.aPlaying);
    EXPECT_EQ(IsSoundPlaying(b), s.bPlaying);
    EXPECT_EQ(w->audio.played.size(), s.played) << "a copy still playing is not restarted";
  }
  ASSERT_TRUE(testing::WaitFor([&] { return !IsSoundPlaying(a) && !IsSoundPlaying(b); }));
  PlayPairedSound(*w, SndHit1A, SndHit1B);
  EXPECT_TRUE(IsSoundPlaying(a));
  EXPECT_FALSE(IsSoundPlaying(b));

  w->options.soundOn = false;
  PlayPairedSound(*w, SndHit1A, SndHit1B);
  EXPECT_EQ(w->audio.played.size(), 3u);
  for (SoundBuffer& s : w->sounds) FreeSoundBuffer(s);
  w->audio.close();
}

// Playlist entries are bare names of regular files in the program folder: anything else is refused
// or skipped at once (a named pipe would block start-up for ever) and its entry stays empty.
TEST(PlaylistTest, SongsOnlyFromRegularFilesOfTheFolder) {
  testing::AudioFolder dir;
  for (const char* m : {"menu.it", "a.mod"}) dir.WriteTinyModule(m);
  ASSERT_EQ(0, ::mkfifo((dir.path / "pipe.mod").c_str(), 0644));
  std::filesystem::create_directory(dir.path / "folder.mod");
  const std::vector<std::string> refused = {"/etc/passwd", "../../etc/passwd", "/dev/zero", "music/a.mod", "..\\a.mod"};
  std::vector<std::string> songs = {"a.mod", "pipe.mod", "folder.mod", ""};
  songs.insert(songs.end(), refused.begin(), refused.end());
  songs.push_back("A.MOD");
  dir.WritePlaylist(songs);
  GameWindow w;
  w.programDir = dir.path;
  w.messages.headless = true;
  Initsound(w);
  EXPECT_EQ(w.songCount, 11);
  for (int i = 0; i < w.songCount; ++i) EXPECT_EQ(w.songs[i] != nullptr, i == 0 || i == 1 || i == 10) << "entry " << i;
  ASSERT_EQ(w.messages.shown.size(), refused.size());
  for (size_t k = 0; k < refused.size(); ++k) {
    EXPECT_EQ(w.messages.shown[k].text, "playlist.txt: refused file name \"" + refused[k] +
                                            "\" (only a bare file name in the program folder is allowed)");
  }
  FreeSongs(w);
  w.audio.close();

  // A playlist of endless lines costs no more than its header and twenty songs.
  std::string big = "h\r\nh\r\nh\r\nh\r\n";
  for (int i = 0; i < 200000; ++i) big += "a.mod\r\n";
  dir.Write("playlist.txt", big);
  GameWindow many;
  many.programDir = dir.path;
  Initsound(many);
  EXPECT_EQ(many.songCount, kSongEntries);
  FreeSongs(many);
  many.audio.close();
}

}  // namespace
}  // namespace quorvex
