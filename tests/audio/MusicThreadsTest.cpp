// The game thread starts, stops, turns and asks a song while the audio thread renders it.
#include <gtest/gtest.h>

#include <algorithm>

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

  for (int i = 0; i < 3000; ++i) {
    SetSongVolume(song, i % 256);
    EXPECT_FALSE(SongFinished(song));
    if (i % 100 == 0) PlaySong(song, SongEnd::Loop);
    if (i % 250 == 0) {
      StopSong(song);
      PlaySong(song, SongEnd::Loop);
    }
  }
  // The disk driver renders faster than real time, so whole seconds may pass while a restart has the
  // song off the hook: listen after the calls.
  const double calmed = meter.Seconds();
  ASSERT_TRUE(meter.WaitForSeconds(calmed + 3));
  const std::vector<double> rms = meter.WindowRms();
  const auto after = rms.begin() + static_cast<long>(calmed) + 1;
  ASSERT_LT(after, rms.end());
  EXPECT_GT(*std::max_element(after, rms.end()), 0.0) << "the song is heard after the calls";

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
