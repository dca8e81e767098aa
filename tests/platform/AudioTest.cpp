#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <vector>

#include "platform/Music.h"
#include "platform/Sound.h"
#include "tests/support/SurfaceTesting.h"

namespace quorvex {
namespace {

// A mono 16-bit WAV of a quiet tone.
std::string writeTone(const std::string& name, double seconds) {
  const int rate = 22050;
  const int samples = static_cast<int>(rate * seconds);
  std::string b;
  auto u16 = [&](int v) { b += char(v & 255); b += char((v >> 8) & 255); };
  auto u32 = [&](int v) { u16(v & 0xFFFF); u16((v >> 16) & 0xFFFF); };
  b += "RIFF"; u32(36 + samples * 2); b += "WAVEfmt "; u32(16); u16(1); u16(1); u32(rate); u32(rate * 2); u16(2);
  u16(16); b += "data"; u32(samples * 2);
  for (int i = 0; i < samples; ++i) u16(static_cast<int>(8000 * std::sin(i * 0.1)) & 0xFFFF);
  const auto path = testing::TestOutputDir() / name;
  std::ofstream(path, std::ios::binary) << b;
  return path.string();
}

TEST(Sound, VolumeInHundredthsOfADecibel) {
  struct Case {
    int db, mixer;
  } cases[] = {{0, 128}, {-600, 64}, {-2000, 13}, {-10000, 0}, {-20000, 0}, {500, 128}};
  for (const Case& c : cases) EXPECT_EQ(c.mixer, MixerVolumeFromHundredthsDb(c.db)) << c.db;
}

TEST(Sound, BuffersLoadWithoutADeviceAndReportDamagedFiles) {
  AudioDevice silent;  // never opened: no sound card
  SoundBuffer b;
  std::string error;
  ASSERT_TRUE(LoadSoundBuffer(silent, writeTone("tone.wav", 0.5), &b, &error)) << error;
  EXPECT_EQ(16, b.bitsPerSample);
  EXPECT_NEAR(0.5, b.seconds, 0.01);
  PlaySound(silent, b);  // silent, but recorded
  EXPECT_FALSE(IsSoundPlaying(b));
  EXPECT_EQ(1u, silent.played.size());

  const auto bad = testing::TestOutputDir() / "bad.wav";
  std::ofstream(bad, std::ios::binary) << "RIFF....WAVEjunk";
  SoundBuffer untouched;
  EXPECT_FALSE(LoadSoundBuffer(silent, bad.string(), &untouched, &error));
  EXPECT_NE(std::string::npos, error.find("bad.wav")) << error;
  EXPECT_FALSE(untouched.loaded);
  PlaySound(silent, untouched);  // an unloaded buffer does nothing
  EXPECT_EQ(1u, silent.played.size());
}

// With a (fast, file-backed) device: a buffer still playing is not restarted.
TEST(Sound, APlayingBufferIsNotRestarted) {
  AudioDevice device;
  if (!device.open()) GTEST_SKIP() << "no audio driver";
  SoundBuffer b;
  std::string error;
  ASSERT_TRUE(LoadSoundBuffer(device, writeTone("long.wav", 5.0), &b, &error)) << error;
  SetSoundVolume(b, -600);
  PlaySound(device, b);
  EXPECT_TRUE(IsSoundPlaying(b));
  PlaySound(device, b);
  EXPECT_EQ(1u, device.played.size()) << "the second play found it still playing";
  FreeSoundBuffer(b);
  device.close();
}

TEST(Music, NullSongsDoNothing) {
  AudioDevice device;
  EXPECT_EQ(nullptr, LoadSong(device, (testing::TestOutputDir() / "missing.it").string()));
  const auto notModule = testing::TestOutputDir() / "not-a-module.it";
  std::ofstream(notModule, std::ios::binary) << "IMPM but not really";
  EXPECT_EQ(nullptr, LoadSong(device, notModule.string()));
  PlaySong(nullptr);
  StopSong(nullptr);
  SetSongVolume(nullptr, 255);
  EXPECT_FALSE(SongFinished(nullptr));
  FreeSong(nullptr);
  double seconds = -1;
  EXPECT_FALSE(RenderSongToEnd(notModule.string(), 10, &seconds));
}

}  // namespace
}  // namespace quorvex
