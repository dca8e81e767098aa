// The generated sound effects: every file the game loads is there, loads through the game's own
// loader, is clean (no clipping, no clicks at either end), short enough to play again and again,
// and sounds like its event: falling lasers that differ, a long low blast, a rattling chaingun.
#include <gtest/gtest.h>

#include <SDL.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "platform/Sound.h"
#include "tools/datagen/Generators.h"

namespace fs = std::filesystem;

namespace {

struct EffectRule {
  const char* file;
  double minSeconds, maxSeconds;
};

// Every sound the game loads, with the length its event allows: interface blips and gun sounds
// are over before the next shot, blasts may linger.
const EffectRule kEffects[] = {
    {"Laser1.wav", 0.1, 0.5},   {"Laser2.wav", 0.1, 0.5},  {"Hit1.wav", 0.1, 0.6},   {"Collision.wav", 0.2, 1.0},
    {"Hit2.wav", 0.1, 0.8},     {"Select2.wav", 0.05, 0.3}, {"Ion.wav", 0.2, 1.0},   {"Hit3.wav", 0.1, 0.8},
    {"Boom.wav", 1.2, 3.0},     {"Launch.wav", 0.3, 1.2},  {"R2HIT.wav", 0.2, 1.0},  {"Boom2.wav", 0.5, 2.0},
    {"blop.wav", 0.03, 0.2},    {"chain.wav", 0.08, 0.3},  {"hit4.wav", 0.05, 0.4},
};

struct Pcm {
  int rate = 0;
  std::vector<int16_t> samples;
  double seconds() const { return rate > 0 ? static_cast<double>(samples.size()) / rate : 0; }
};

// Decoded by SDL, independently of the generator's writer.
Pcm Decode(const fs::path& path) {
  Pcm pcm;
  SDL_AudioSpec spec{};
  Uint8* data = nullptr;
  Uint32 length = 0;
  if (!SDL_LoadWAV(path.string().c_str(), &spec, &data, &length)) {
    ADD_FAILURE() << "cannot decode " << path << ": " << SDL_GetError();
    return pcm;
  }
  if (spec.format == AUDIO_S16LSB && spec.channels == 1) {
    pcm.rate = spec.freq;
    pcm.samples.resize(length / 2);
    std::copy_n(data, pcm.samples.size() * 2, reinterpret_cast<Uint8*>(pcm.samples.data()));
  } else {
    ADD_FAILURE() << path << " is not 16-bit mono";
  }
  SDL_FreeWAV(data);
  return pcm;
}

Pcm Effect(const char* file) { return Decode(fs::path(QV_PROGRAM_DIR) / file); }

// Zero crossings a second between two fractions of the sound: a rough measure of its pitch.
double CrossingRate(const Pcm& p, double from, double to) {
  const size_t a = static_cast<size_t>(from * p.samples.size()), b = static_cast<size_t>(to * p.samples.size());
  int crossings = 0;
  for (size_t i = a + 1; i < b; ++i) crossings += (p.samples[i - 1] < 0) != (p.samples[i] < 0);
  return crossings / ((b - a) / static_cast<double>(p.rate));
}

// Share of the energy below about 250 Hz.
double LowShare(const Pcm& p) {
  const double a = 1.0 - std::exp(-2.0 * M_PI * 250.0 / p.rate);
  double y = 0, low = 0, all = 0;
  for (int16_t v : p.samples) {
    y += a * (v - y);
    low += y * y;
    all += static_cast<double>(v) * v;
  }
  return all > 0 ? low / all : 0;
}

// Separate loud bursts: rises of the 5 ms loudness above half its maximum.
int Bursts(const Pcm& p) {
  const size_t window = static_cast<size_t>(p.rate * 0.005);
  std::vector<double> loudness;
  for (size_t i = 0; i + window <= p.samples.size(); i += window) {
    double e = 0;
    for (size_t j = i; j < i + window; ++j) e += static_cast<double>(p.samples[j]) * p.samples[j];
    loudness.push_back(std::sqrt(e / window));
  }
  if (loudness.empty()) return 0;
  const double top = *std::max_element(loudness.begin(), loudness.end());
  int bursts = 0;
  bool above = false;
  for (double e : loudness) {
    if (!above && e > 0.5 * top) {
      ++bursts;
      above = true;
    } else if (above && e < 0.25 * top) {
      above = false;
    }
  }
  return bursts;
}

class TempDir {
 public:
  explicit TempDir(const std::string& tag) {
    path_ = fs::temp_directory_path() / ("qv-sounds-" + tag + "-" + std::to_string(::getpid()));
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

}  // namespace

TEST(SoundEffects, EveryEffectLoadsThroughTheGameLoaderAsShortSixteenBitMono) {
  quorvex::AudioDevice device;  // never opened: the loader still decodes and measures the file
  for (const EffectRule& rule : kEffects) {
    SCOPED_TRACE(rule.file);
    quorvex::SoundBuffer buffer;
    std::string error;
    ASSERT_TRUE(quorvex::LoadSoundBuffer(device, (fs::path(QV_PROGRAM_DIR) / rule.file).string(), &buffer, &error))
        << error;
    EXPECT_EQ(buffer.bitsPerSample, 16);
    EXPECT_EQ(buffer.channels, 1);
    EXPECT_TRUE(buffer.sampleRate == 22050 || buffer.sampleRate == 44100) << buffer.sampleRate;
    EXPECT_GE(buffer.seconds, rule.minSeconds);
    EXPECT_LE(buffer.seconds, rule.maxSeconds);
    quorvex::FreeSoundBuffer(buffer);
  }
}

TEST(SoundEffects, NoEffectClipsOrClicksAndNoneIsSilent) {
  for (const EffectRule& rule : kEffects) {
    SCOPED_TRACE(rule.file);
    const Pcm p = Effect(rule.file);
    ASSERT_FALSE(p.samples.empty());
    int peak = 0;
    for (int16_t v : p.samples) peak = std::max(peak, std::abs(static_cast<int>(v)));
    EXPECT_LT(peak, 32767 * 0.98) << "too close to full scale";
    EXPECT_GT(peak, 32767 * 0.05) << "too quiet";  // the loudest are mixed 14 dB below full scale
    // Faded ends: no jump from or to silence when the sound starts and stops.
    EXPECT_LT(std::abs(p.samples.front()), 330);
    EXPECT_LT(std::abs(p.samples.back()), 330);
  }
}

TEST(SoundEffects, TheTwoLasersFallInPitchAndSoundDifferent) {
  const Pcm red = Effect("Laser1.wav"), green = Effect("Laser2.wav");
  for (const Pcm* laser : {&red, &green}) {
    EXPECT_GT(CrossingRate(*laser, 0, 0.25), 2.0 * CrossingRate(*laser, 0.75, 1.0)) << "a laser shot dives in pitch";
  }
  // The green laser is the thin, high one.
  EXPECT_GT(CrossingRate(green, 0, 1), 2.0 * CrossingRate(red, 0, 1));
}

TEST(SoundEffects, BlastsAreLowAndTheShipExplosionIsTheLongest) {
  const Pcm boom = Effect("Boom.wav"), boom2 = Effect("Boom2.wav"), hull = Effect("Hit2.wav");
  EXPECT_GT(LowShare(boom), 0.8) << "a ship explosion rumbles";
  EXPECT_LT(CrossingRate(boom, 0.5, 1.0), 600.0);
  EXPECT_GT(LowShare(boom2), 0.6);
  EXPECT_GT(boom.seconds(), boom2.seconds());
  EXPECT_GT(boom2.seconds(), hull.seconds());
}

TEST(SoundEffects, ShieldHitsRingBrightlyWhereHullHitsThud) {
  EXPECT_LT(LowShare(Effect("Hit1.wav")), 0.2);
  EXPECT_GT(LowShare(Effect("Hit2.wav")), 0.4);
  EXPECT_GT(LowShare(Effect("Collision.wav")), 0.5);
}

TEST(SoundEffects, ChaingunRattlesInSeveralShots) {
  // The chaingun sound is started every frame the trigger is held but never restarted while it
  // plays, so one short file of several shots makes a continuous rattle.
  const Pcm chain = Effect("chain.wav");
  EXPECT_GE(Bursts(chain), 3);
  EXPECT_LT(chain.seconds(), 0.3);
}

TEST(SoundEffects, GeneratorWritesTheSameBytesEveryRun) {
  TempDir first("first"), second("second");
  datagen::GenerateSounds(first.path());
  datagen::GenerateSounds(second.path());
  for (const EffectRule& rule : kEffects) {
    SCOPED_TRACE(rule.file);
    const std::string bytes = Bytes(first.path() / rule.file);
    EXPECT_FALSE(bytes.empty());
    EXPECT_EQ(bytes, Bytes(second.path() / rule.file));
    EXPECT_EQ(bytes, Bytes(fs::path(QV_PROGRAM_DIR) / rule.file)) << "the program folder holds another version";
  }
  // Only the finished files are left: no temporary files of the atomic writes.
  size_t files = 0;
  for (const auto& entry : fs::directory_iterator(first.path())) files += entry.is_regular_file();
  EXPECT_EQ(files, std::size(kEffects));
}

TEST(SoundEffects, AFolderThatCannotBeWrittenIsReportedByFileName) {
  TempDir dir("blocked");
  const fs::path notAFolder = dir.path() / "file";
  std::ofstream(notAFolder) << "x";
  try {
    datagen::GenerateSounds(notAFolder);
    FAIL() << "writing into a file as if it were a folder succeeded";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("Laser1.wav"), std::string::npos) << e.what();
  }
}
