// The mix as the players hear it, through the real mixer with the generated files of the program
// folder at the game's default volumes: the menu song never runs out, and the loudest moment of a
// battle (eight loud effects at once over the music) stays below full scale with the effects
// clearly above the music.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
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

// The root mean square of windows [from, to) of equal length.
double MeanRms(const std::vector<double>& rms, size_t from, size_t to) {
  double squares = 0;
  for (size_t i = from; i < to && i < rms.size(); ++i) squares += rms[i] * rms[i];
  return to > from ? std::sqrt(squares / static_cast<double>(to - from)) : 0;
}

class MixTest : public ::testing::Test {
 protected:
  void SetUp() override {
    w.headless = true;
    w.programDir = testing::ProgramDir();
    w.options.musicVolume = 255;  // the volumes of a fresh options.cfg
    w.options.soundVolume = 0;
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
  // Runs `start` between two mixes (the disk driver mixes far faster than real time, so the time
  // the game thread takes would otherwise show as silence); the meter's first window after it.
  size_t StartInStep(testing::MixMeter& meter, const std::function<void()>& start) {
    const SDL_AudioDeviceID device = testing::MixMeter::PlayingDevice();
    SDL_LockAudioDevice(device);
    const size_t from = meter.WindowRms().size() + 1;  // the window under way holds some of the past
    start();
    SDL_UnlockAudioDevice(device);
    return from;
  }
  // Plays a song once to its end at the game's music volume, running `during` until it ends; the
  // meter's first window of the song.
  size_t PlayToTheEnd(testing::MixMeter& meter, int entry, const std::function<void()>& during) {
    Song* song = w.songs[entry];
    const size_t from = StartInStep(meter, [&] {
      SetSongVolume(song, w.options.musicVolume);
      PlaySong(song);
    });
    while (!SongFinished(song)) during();
    return from;
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

// The same battle song from its start, started the way a battle starts it, at several music volumes:
// its level follows the volume as an amplitude (64 of 255 is 12 dB down).
TEST_F(MixTest, TheMusicVolumeSetsTheMusicLevel) {
  const struct {
    int volume;
    double db;  // against volume 255
  } cases[] = {{255, 0.0}, {128, -6.0}, {64, -12.0}, {0, -120.0}};
  testing::MixMeter meter(0.5);
  ASSERT_TRUE(meter.installed());
  double full = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.volume);
    w.options.musicVolume = c.volume;
    w.musicRandom.scripted = {0.0};
    const size_t from = StartInStep(meter, [&] { StartBattleMusic(w); });
    ASSERT_EQ(w.currentSong, 1);
    ASSERT_TRUE(meter.WaitForSeconds(meter.Seconds() + 8.5));
    StopSong(w.songs[1]);
    const double rms = MeanRms(meter.WindowRms(), from, from + 16);
    if (c.volume == 255) full = rms;
    std::printf("music volume %3d: %.1f dBFS RMS\n", c.volume, Db(rms));
    if (c.volume > 0) {
      EXPECT_NEAR(Db(rms) - Db(full), c.db, 0.5);
    } else {
      EXPECT_LT(Db(rms), -90);
    }
  }
}

TEST_F(MixTest, EightLoudEffectsOverEverySongStayBelowFullScale) {
  testing::MixMeter meter;
  ASSERT_TRUE(meter.installed());
  const SDL_AudioDeviceID device = testing::MixMeter::PlayingDevice();
  ASSERT_NE(device, 0u);
  for (int entry = 0; entry < w.songCount; ++entry) {
    // How many bursts fit a song depends on how far the disk driver runs ahead between them.
    int bursts = 0;
    PlayToTheEnd(meter, entry, [&] {
      // All eight start in the same mix, as when they are played in one frame.
      SDL_LockAudioDevice(device);
      for (SoundSlot slot : kLoudSlots) PlaySound(w, slot);
      SDL_UnlockAudioDevice(device);
      ASSERT_TRUE(testing::WaitFor([&] { return !AnyLoudSlotPlaying(); }, 10));
      ++bursts;
    });
    EXPECT_GE(bursts, 5) << "the effects covered song " << entry;
  }
  std::printf("peak of eight loud effects over every song: %.2f dBFS\n", Db(meter.Peak() / 32768.0));
  EXPECT_EQ(meter.FullScale(), 0) << "samples at full scale";
  EXPECT_LT(Db(meter.Peak() / 32768.0), -1.0) << "headroom";
}

// Every song averages about 20 dB under full scale; each loud effect's loudest 100 ms stands at
// least 5 dB above that, and the loudest effect 6 dB above the loudest 100 ms of any song.
TEST_F(MixTest, TheMusicSitsNearMinus20AndTheLoudEffectsStandClearlyAboveIt) {
  testing::MixMeter meter(0.1);  // loudness over 100 ms
  ASSERT_TRUE(meter.installed());
  auto loudestSince = [&](size_t from) {
    const std::vector<double> rms = meter.WindowRms();
    return from < rms.size() ? Db(*std::max_element(rms.begin() + static_cast<long>(from), rms.end())) : -200.0;
  };
  double music = -200, musicAverage = -200, effects = -200;
  for (int entry = 0; entry < w.songCount; ++entry) {
    SCOPED_TRACE(entry);
    const size_t from =
        PlayToTheEnd(meter, entry, [] { std::this_thread::sleep_for(std::chrono::milliseconds(5)); });
    // Until the song's last sound: the mixer goes on in silence until the game sees the end.
    std::vector<double> rms = meter.WindowRms();
    while (rms.size() > from && rms.back() == 0) rms.pop_back();
    const double average = Db(MeanRms(rms, from, rms.size()));
    const double opening = Db(MeanRms(rms, from, from + 60));
    const double loudest = loudestSince(from);
    std::printf("song %d: %.1f dBFS RMS, first 6 s %.1f, loudest 100 ms %.1f\n", entry, average, opening, loudest);
    EXPECT_NEAR(average, -20.0, 3.0);
    music = std::max(music, loudest);
    musicAverage = std::max(musicAverage, average);
  }
  for (SoundSlot slot : kLoudSlots) {
    SCOPED_TRACE(w.sounds[slot].name);
    const size_t from = meter.WindowRms().size();
    PlaySound(w, slot);
    ASSERT_TRUE(testing::WaitFor([&] { return !IsSoundPlaying(w.sounds[slot]); }));
    ASSERT_TRUE(meter.WaitForSeconds(meter.Seconds() + 0.2));
    const double loudest = loudestSince(from);
    std::printf("%s: loudest 100 ms %.1f dBFS\n", w.sounds[slot].name.c_str(), loudest);
    EXPECT_GE(loudest, musicAverage + 5) << "music " << musicAverage << " dBFS RMS";
    effects = std::max(effects, loudest);
  }
  EXPECT_GE(effects, music + 6) << "loudest 100 ms of music " << music << " dBFS";
}

}  // namespace
}  // namespace quorvex
