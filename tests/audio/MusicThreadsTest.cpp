// The game thread starts, stops, turns and asks a song while the audio thread renders it.
#include <gtest/gtest.h>

#include "platform/Music.h"
#include "platform/Sound.h"
#include "tests/audio/AudioTesting.h"

namespace quorvex {
namespace {

TEST(MusicThreads, EveryCallWorksWhileTheAudioThreadRendersTheSong) {
  AudioDevice device;
  if (!device.open()) GTEST_SKIP() << "no sound device";
  Song* song = LoadSong(device, (testing::ProgramDir() / "battle1.it").string());
  ASSERT_NE(song, nullptr);
  testing::MixMeter meter;
  ASSERT_TRUE(meter.installed());
  PlaySong(song, SongEnd::Loop);
  ASSERT_TRUE(meter.WaitForSeconds(1));

  const double before = meter.Seconds();
  for (int i = 0; i < 3000; ++i) {
    SetSongVolume(song, i % 256);
    EXPECT_FALSE(SongFinished(song));
    if (i % 100 == 0) PlaySong(song, SongEnd::Loop);
    if (i % 250 == 0) {
      StopSong(song);
      PlaySong(song, SongEnd::Loop);
    }
  }
  ASSERT_TRUE(meter.WaitForSeconds(before + 2));
  const std::vector<double> rms = meter.WindowRms();
  EXPECT_GT(rms.back(), 0.0) << "the song is heard after the calls";

  // Played once, it still ends; freeing it while it plays is safe.
  PlaySong(song, SongEnd::Stop);
  EXPECT_TRUE(testing::WaitFor([&] { return SongFinished(song); }, 30));
  PlaySong(song, SongEnd::Loop);
  FreeSong(song);
  EXPECT_TRUE(meter.WaitForSeconds(meter.Seconds() + 0.5)) << "the mixer goes on without the song";
  device.close();
}

}  // namespace
}  // namespace quorvex
