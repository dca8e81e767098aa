// The mix as the players hear it, through the real mixer with the generated files of the program
// folder at the game's default volumes: the menu song never runs out, and the loudest moment of a
// battle (eight loud effects at once over the music) stays below full scale with the effects
// clearly above the music.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "game/audio/Initsound.h"
#include "game/audio/Jukebox.h"
#include "game/audio/SoundEffects.h"
#include "platform/Music.h"
#include "tests/audio/AudioTesting.h"

namespace quorvex {
namespace {

// The eight loudest effect slots. Both copies of a hit sound when two hits land in one frame.
constexpr SoundSlot kLoudSlots[] = {SndBoom, SndBoom2, SndCollision, SndIon, SndLaunch, SndHit2A, SndHit2B, SndHit3A};

double Db(double amplitude) { return 20 * std::log10(std::max(amplitude, 1e-9)); }

class MixTest : public ::testing::Test {
 protected:
  void SetUp() override {
    w.headless = true;
    w.programDir = testing::ProgramDir();
    Initsound(w);
    if (!w.audio.available()) GTEST_SKIP() << "no sound device";
    ASSERT_GE(w.songCount, 5);
    for (int entry = 0; entry < w.songCount; ++entry) ASSERT_NE(w.songs[entry], nullptr) << "entry " << entry;
  }
  void TearDown() override {
    FreeSongs(w);
    w.audio.close();
  }
  bool AnyLoudSlotPlaying() {
    return std::any_of(std::begin(kLoudSlots), std::end(kLoudSlots),
                       [&](SoundSlot s) { return IsSoundPlaying(w.sounds[s]); });
  }
  // Plays a song once to its end at the game's music volume, running `during` until it ends.
  void PlayToTheEnd(int entry, const std::function<void()>& during) {
    Song* song = w.songs[entry];
    SetSongVolume(song, w.options.musicVolume);
    PlaySong(song);
    while (!SongFinished(song)) during();
  }
  GameWindow w;
};

TEST_F(MixTest, TheMenuSongKeepsPlayingAfterItsEnd) {
  double length = 0;
  ASSERT_TRUE(RenderSongToEnd((w.programDir / "menu.it").string(), 300, &length));
  testing::MixMeter meter;
  ASSERT_TRUE(meter.installed());
  StartMenuMusic(w);
  ASSERT_TRUE(meter.WaitForSeconds(length + 8, 60));
  EXPECT_FALSE(SongFinished(w.songs[0]));
  const std::vector<double> rms = meter.WindowRms();
  const size_t after = static_cast<size_t>(length) + 2;
  ASSERT_GT(rms.size(), after + 4);
  EXPECT_GT(Db(*std::max_element(rms.begin() + static_cast<long>(after), rms.end())), -60)
      << "the menu is silent after the song's first " << length << " s";

  // The next battle stops it and its song plays once.
  w.random.scripted = {0.0};
  StartBattleMusic(w);
  EXPECT_TRUE(testing::WaitFor([&] { return SongFinished(w.songs[w.currentSong]); }, 30));
}

TEST_F(MixTest, EightLoudEffectsOverEverySongStayBelowFullScale) {
  testing::MixMeter meter;
  ASSERT_TRUE(meter.installed());
  const SDL_AudioDeviceID device = testing::MixMeter::PlayingDevice();
  ASSERT_NE(device, 0u);
  int bursts = 0;
  for (int entry = 0; entry < w.songCount; ++entry) {
    PlayToTheEnd(entry, [&] {
      // All eight start in the same mix, as when they are played in one frame.
      SDL_LockAudioDevice(device);
      for (SoundSlot slot : kLoudSlots) PlaySound(w, slot);
      SDL_UnlockAudioDevice(device);
      ASSERT_TRUE(testing::WaitFor([&] { return !AnyLoudSlotPlaying(); }, 10));
      ++bursts;
    });
  }
  EXPECT_GE(bursts, 100) << "the effects covered every song";
  EXPECT_EQ(meter.FullScale(), 0) << "samples at full scale";
  EXPECT_LT(Db(meter.Peak() / 32768.0), -1.0) << "headroom";
}

TEST_F(MixTest, TheLoudEffectsStandClearlyAboveTheMusic) {
  testing::MixMeter meter(0.1);  // loudness over 100 ms
  ASSERT_TRUE(meter.installed());
  auto loudestSince = [&](size_t from) {
    const std::vector<double> rms = meter.WindowRms();
    return from < rms.size() ? Db(*std::max_element(rms.begin() + static_cast<long>(from), rms.end())) : -200.0;
  };
  double music = -200;
  for (int entry = 0; entry < w.songCount; ++entry) {
    const size_t from = meter.WindowRms().size();
    PlayToTheEnd(entry, [] { std::this_thread::sleep_for(std::chrono::milliseconds(5)); });
    music = std::max(music, loudestSince(from));
  }
  EXPECT_LT(music, -20.0);
  for (SoundSlot slot : kLoudSlots) {
    SCOPED_TRACE(w.sounds[slot].name);
    const size_t from = meter.WindowRms().size();
    PlaySound(w, slot);
    ASSERT_TRUE(testing::WaitFor([&] { return !IsSoundPlaying(w.sounds[slot]); }));
    ASSERT_TRUE(meter.WaitForSeconds(meter.Seconds() + 0.2));
    EXPECT_GE(loudestSince(from), music + 6) << "loudest music " << music << " dB";
  }
}

}  // namespace
}  // namespace quorvex
