// The random playlist song, the battle and menu songs, and the jukebox that follows a finished song.
#include <gtest/gtest.h>

#include "game/audio/Initsound.h"
#include "game/audio/Jukebox.h"
#include "game/audio/SoundEffects.h"
#include "platform/Music.h"
#include "tests/audio/AudioTesting.h"

namespace quorvex {
namespace {

TEST(RandomSongTest, PicksAPlaylistEntry) {
  const struct {
    int songCount;
    double r;
    int entry;
  } cases[] = {
      {21, 0.0, 1},   {21, 0.999, 20},  {21, 0.5, 11},   // 9.5 rounds to 10
      {6, 0.375, 3},  {6, 0.625, 3},                     // 1.5 and 2.5 both round to 2
      {3, 0.25, 1},   {3, 0.5, 1},      {3, 0.75, 2},    // 0.5 rounds to 0
      {2, 0.0, 1},    {2, 0.999, 1},                     // a single song always replays
  };
  for (const auto& c : cases) {
    GameWindow w;
    w.songCount = c.songCount;
    w.musicRandom.scripted = {c.r};
    EXPECT_EQ(RandomSong(w), c.entry) << c.songCount << " songs, r = " << c.r;
    EXPECT_TRUE(w.musicRandom.scripted.empty());
  }
  for (int count : {0, 1}) {  // no playlist song: an empty entry, nothing plays
    GameWindow w;
    w.songCount = count;
    w.musicRandom.scripted = {0.9};
    EXPECT_EQ(RandomSong(w), 1) << count;
  }
}

// No effect files here: every slot stays silent and the game goes on.
TEST(PlaylistTest, AtMostTwentySongsAfterTheHeader) {
  testing::AudioFolder dir;
  for (const char* m : {"menu.it", "a.mod"}) dir.WriteTinyModule(m);
  const struct {
    int entries;
    bool playlist;
    int songCount;
  } cases[] = {{0, false, 1}, {0, true, 1}, {1, true, 2}, {20, true, 21}, {25, true, 21}};
  for (const auto& c : cases) {
    std::filesystem::remove(dir.path / "playlist.txt");
    if (c.playlist) dir.WritePlaylist(std::vector<std::string>(static_cast<size_t>(c.entries), "A.MOD"));
    GameWindow w;
    w.programDir = dir.path;
    Initsound(w);
    EXPECT_EQ(w.songCount, c.songCount) << c.entries << " entries";
    for (const SoundBuffer& b : w.sounds) EXPECT_FALSE(b.loaded);
    PlayPairedSound(w, SndHit1A, SndHit1B);
    EXPECT_TRUE(w.audio.played.empty());
    for (int i = 0; i < kSongEntries; ++i) EXPECT_EQ(w.songs[i] != nullptr, i < c.songCount) << "entry " << i;
    FreeSongs(w);
    w.audio.close();
  }
}

// Songs a (entry 1), a missing module (entry 2) and b (entry 3), each a fraction of a second long.
class JukeboxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* m : {"menu.it", "a.mod", "b.mod"}) dir.WriteTinyModule(m);
    dir.WritePlaylist({"a.mod", "missing.mod", "b.mod"});
    w.programDir = dir.path;
    w.options.musicVolume = 200;
    Initsound(w);
    if (!w.audio.available()) GTEST_SKIP() << "no sound device";
    ASSERT_EQ(w.songCount, 4);
  }
  void TearDown() override {
    FreeSongs(w);
    w.audio.close();
  }
  bool Ends(int entry) {
    return testing::WaitFor([&] { return SongFinished(w.songs[entry]); });
  }
  testing::AudioFolder dir;
  GameWindow w;
};

TEST_F(JukeboxTest, AFinishedSongIsFollowedByARandomOne) {
  w.musicRandom.scripted = {0.0};  // battle starts with a
  StartBattleMusic(w);
  ASSERT_EQ(w.currentSong, 1);
  ASSERT_TRUE(Ends(1));

  const struct {
    double r;
    int next;
  } steps[] = {{0.9, 3}, {0.0, 1}, {0.1, 1}};  // b, then a, then a again
  for (const auto& s : steps) {
    w.musicRandom.scripted = {s.r};
    const uint64_t battleRandom = w.random.state;
    MusicStep(w);
    EXPECT_EQ(w.currentSong, s.next);
    EXPECT_TRUE(w.musicRandom.scripted.empty());
    // When a song ends depends on the sound card: the battle's own random numbers stay untouched.
    EXPECT_EQ(w.random.state, battleRandom);
    ASSERT_TRUE(Ends(s.next)) << "entry " << s.next << " was started";
  }

  // The missing module: nothing plays and the entry never ends.
  w.musicRandom.scripted = {0.5};
  MusicStep(w);
  ASSERT_EQ(w.currentSong, 2);
  w.musicRandom.scripted = {0.9};
  for (int i = 0; i < 20; ++i) MusicStep(w);
  EXPECT_EQ(w.currentSong, 2);
  EXPECT_EQ(w.musicRandom.scripted.size(), 1u);
}

TEST_F(JukeboxTest, MenuSongReplacesTheBattleSong) {
  w.musicRandom.scripted = {0.9};
  StartBattleMusic(w);
  ASSERT_EQ(w.currentSong, 3);
  testing::MixMeter meter;
  StartMenuMusic(w);
  // The menu song lasts one tick, and starts again at its end for as long as the menus show.
  ASSERT_TRUE(meter.WaitForSeconds(2));
  EXPECT_FALSE(SongFinished(w.songs[0]));

  w.options.musicOn = false;  // music off: neither start touches the songs
  w.musicRandom.scripted = {0.0};
  StartBattleMusic(w);
  EXPECT_EQ(w.currentSong, 3);
  EXPECT_EQ(w.musicRandom.scripted.size(), 1u);
}

}  // namespace
}  // namespace quorvex
