#include "tools/datagen/SynthInstruments.h"

#include <cmath>
#include <vector>

#include "tools/datagen/Synth.h"

namespace datagen {
namespace {

constexpr int kDrumRate = 44100;
constexpr int kTableSize = 4096;

double HarmonicLevel(Waveform wave, int k) {
  switch (wave) {
    case Waveform::Saw:
      return 1.0 / k;
    case Waveform::Square:
      return k % 2 == 1 ? 1.0 / k : 0.0;
    case Waveform::Pulse25:
      return std::fabs(std::sin(3.14159265358979 * k * 0.25)) / k;
    case Waveform::Triangle:
      return k % 2 == 1 ? 1.0 / (static_cast<double>(k) * k) : 0.0;
    case Waveform::Sine:
      return k == 1 ? 1.0 : 0.0;
    case Waveform::Organ: {
      switch (k) {
        case 1: return 1.0;
        case 2: return 0.55;
        case 3: return 0.35;
        case 4: return 0.2;
        case 6: return 0.12;
        case 8: return 0.08;
        default: return 0.0;
      }
    }
  }
  return 0.0;
}

// One cycle of a waveform with partials up to `limitHz`, each softened by a second-order low pass and started
// at a seeded phase.
std::vector<double> CycleTable(Waveform wave, int hz, double cutoff, double limitHz, Rng& rng) {
  static const std::vector<double> sine = [] {
    std::vector<double> t(kTableSize);
    for (int i = 0; i < kTableSize; ++i) t[i] = Sine(static_cast<double>(i) / kTableSize);
    return t;
  }();
  std::vector<double> table(kTableSize, 0.0);
  for (int k = 1; static_cast<double>(k) * hz <= limitHz; ++k) {
    const double x = k * hz / cutoff;
    const double level = HarmonicLevel(wave, k) / std::sqrt(1.0 + x * x * x * x);
    const int start = NextInt(rng, kTableSize);
    if (level < 1e-5) continue;
    for (int i = 0; i < kTableSize; ++i) table[i] += level * sine[static_cast<size_t>((start + k * i) % kTableSize)];
  }
  return table;
}

struct Voice {
  int hz;
  double level;
  std::vector<double> table;
};

std::vector<int16_t> Finish(Signal s, int rate, double fadeOutSeconds, double peak = 0.9) {
  RemoveDcOffset(s, rate);
  FadeEnds(s, rate, 0.0005, fadeOutSeconds);
  NormalizePeak(s, peak);
  return ToPcm16(s);
}

int C5SpeedFor(int rate, double baseHz) { return static_cast<int>(std::lround(rate * NoteFrequency(60) / baseHz)); }

ItSample DrumSample(const char* name, Signal s, double fadeOutSeconds) {
  ItSample out;
  out.name = name;
  out.data = Finish(std::move(s), kDrumRate, fadeOutSeconds);
  out.c5Speed = kDrumRate;  // drums are played at C-5, at their own rate
  return out;
}

size_t Frames(double seconds) { return static_cast<size_t>(seconds * kDrumRate); }
double TimeOf(size_t i) { return static_cast<double>(i) / kDrumRate; }

// Six detuned square waves through high filters: the metallic core of hats and cymbals.
struct Metal {
  Phase phase[6];
  double Next(double scale) {
    static constexpr double kRatios[6] = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};
    double sum = 0;
    for (int i = 0; i < 6; ++i) {
      const double dt = kRatios[i] * scale / kDrumRate;
      sum += Square(Advance(phase[i], dt), dt);
    }
    return sum / 6.0;
  }
};

}  // namespace

ItSample MakeToneSample(const char* name, const ToneRecipe& r) {
  Rng rng = MakeRng(r.seed);
  const int f0 = static_cast<int>(std::lround(NoteFrequency(r.baseNote)));
  // Leave room to play an octave above the base note without partials folding back.
  const double limit = r.rate / 4.0;
  std::vector<Voice> voices;
  voices.push_back({f0, 1.0, CycleTable(r.wave, f0, r.cutoff, limit, rng)});
  if (r.detuneHz > 0) {
    voices.push_back({f0 - r.detuneHz, 0.7, CycleTable(r.wave, f0 - r.detuneHz, r.cutoff, limit, rng)});
    voices.push_back({f0 + r.detuneHz, 0.7, CycleTable(r.wave, f0 + r.detuneHz, r.cutoff, limit, rng)});
  }
  if (r.octaveUp > 0) {
    voices.push_back({2 * f0 + 1, r.octaveUp, CycleTable(r.wave, 2 * f0 + 1, r.cutoff, limit, rng)});
  }
  if (r.subOctave > 0 && f0 % 2 == 0) {
    voices.push_back({f0 / 2, r.subOctave, CycleTable(Waveform::Sine, f0 / 2, r.cutoff, limit, rng)});
  }
  Signal s(static_cast<size_t>(r.rate), 0.0);
  for (const Voice& v : voices) {
    for (size_t i = 0; i < s.size(); ++i) {
      // The phase is exact: (hz * i mod rate) / rate, so the last sample leads back into the first.
      const uint64_t cyclePos = (static_cast<uint64_t>(v.hz) * i) % static_cast<uint64_t>(r.rate);
      const double pos = static_cast<double>(cyclePos) * kTableSize / r.rate;
      const int i0 = static_cast<int>(pos);
      const double frac = pos - i0;
      const double a = v.table[i0 % kTableSize], b = v.table[(i0 + 1) % kTableSize];
      s[i] += v.level * (a + (b - a) * frac);
    }
  }
  NormalizePeak(s, 0.9);
  ItSample out;
  out.name = name;
  out.data = ToPcm16(s);
  out.c5Speed = C5SpeedFor(r.rate, f0);
  out.loopStart = 0;
  out.loopEnd = static_cast<int>(out.data.size());
  if (r.vibratoDepth > 0) {
    out.vibratoSpeed = 10;
    out.vibratoDepth = r.vibratoDepth;
    out.vibratoRate = 6;
  }
  return out;
}

ItSample MakePluckSample(const char* name, int baseNote, double seconds, bool bell, uint64_t seed) {
  Rng rng = MakeRng(seed);
  const int rate = 44100;
  const double f0 = NoteFrequency(baseNote);
  static constexpr double kBellRatios[] = {1.0, 2.0, 2.76, 4.07, 5.4, 8.93};
  static constexpr double kBellLevels[] = {1.0, 0.35, 0.5, 0.2, 0.25, 0.1};
  struct Partial {
    double hz, level, decay, phase;
  };
  std::vector<Partial> partials;
  if (bell) {
    for (int k = 0; k < 6; ++k) {
      partials.push_back({f0 * kBellRatios[k], kBellLevels[k], seconds / (1.5 + kBellRatios[k] * 0.8), NextUnit(rng)});
    }
  } else {
    for (int k = 1; f0 * k < rate / 4.0 && k <= 24; ++k) {
      partials.push_back({f0 * k, 1.0 / std::pow(k, 1.1), seconds / (2.0 + 0.9 * (k - 1)), NextUnit(rng)});
    }
  }
  Signal s(static_cast<size_t>(seconds * rate), 0.0);
  for (const Partial& p : partials) {
    // A decaying phasor: one complex multiplication a sample turns and shrinks it.
    const double w = kTwoPi * p.hz / rate, shrink = std::exp(-1.0 / (p.decay * rate));
    const double stepRe = shrink * std::cos(w), stepIm = shrink * std::sin(w);
    double re = std::cos(kTwoPi * p.phase), im = std::sin(kTwoPi * p.phase);
    for (double& v : s) {
      v += p.level * im;
      const double nextRe = re * stepRe - im * stepIm;
      im = re * stepIm + im * stepRe;
      re = nextRe;
    }
  }
  for (size_t i = 0; i < s.size(); ++i) s[i] *= Attack(static_cast<double>(i) / rate, 0.002);
  ItSample out;
  out.name = name;
  out.data = Finish(std::move(s), rate, 0.05);
  out.c5Speed = C5SpeedFor(rate, f0);
  return out;
}

ItSample MakeKickSample(double punch) {
  Signal s(Frames(0.45));
  Phase p;
  OnePole clickFilter;
  SetOnePole(clickFilter, kDrumRate, 3000.0);
  Rng rng = MakeRng(11);
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = TimeOf(i);
    const double f = 44.0 + (100.0 + 90.0 * punch) * ExpDecay(t, 0.03);
    const double body = Sine(Advance(p, f / kDrumRate)) * (t < 0.02 ? 1.0 : ExpDecay(t - 0.02, 0.22));
    const double click = Filter(clickFilter, NextSigned(rng)) * ExpDecay(t, 0.003) * (1.0 + 2.0 * punch);
    s[i] = body + click;
  }
  SoftClip(s, 1.0 + punch);
  return DrumSample("Kick", std::move(s), 0.03);
}

ItSample MakeSnareSample(double snap, uint64_t seed) {
  Signal s(Frames(0.36));
  Rng rng = MakeRng(seed);
  Phase a, b;
  Biquad hp, bp;
  SetFilter(hp, FilterKind::HighPass, kDrumRate, 1500.0, 0.7);
  SetFilter(bp, FilterKind::BandPass, kDrumRate, 5000.0, 0.8);
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = TimeOf(i);
    const double tone = (Sine(Advance(a, Ramp(t, 0, 0.03, 230.0, 185.0) / kDrumRate)) +
                         0.5 * Sine(Advance(b, 330.0 / kDrumRate))) * ExpDecay(t, 0.06);
    const double n = NextSigned(rng);
    const double noise = (Filter(hp, n) * ExpDecay(t, 0.12) + Filter(bp, n) * ExpDecay(t, 0.06)) * (0.8 + snap);
    s[i] = (1.0 - 0.4 * snap) * tone + noise;
  }
  SoftClip(s, 1.3);
  return DrumSample("Snare", std::move(s), 0.04);
}

ItSample MakeHatSample(double seconds, uint64_t seed) {
  Signal s(Frames(seconds));
  Rng rng = MakeRng(seed);
  Metal metal;
  Biquad hp1, hp2;
  SetFilter(hp1, FilterKind::HighPass, kDrumRate, 7000.0, 0.7);
  SetFilter(hp2, FilterKind::HighPass, kDrumRate, 7000.0, 0.7);
  const double decay = seconds < 0.2 ? 0.03 : seconds * 0.35;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = TimeOf(i);
    const double raw = 0.7 * metal.Next(8.0) + 0.5 * NextSigned(rng);
    s[i] = Filter(hp2, Filter(hp1, raw)) * ExpDecay(t, decay) * Attack(t, 0.0008);
  }
  return DrumSample(seconds < 0.2 ? "Closed hat" : "Open hat", std::move(s), seconds * 0.2);
}

ItSample MakeCrashSample(uint64_t seed) {
  Signal s(Frames(2.0));
  Rng rng = MakeRng(seed);
  Metal metal;
  Biquad hp, lp;
  SetFilter(hp, FilterKind::HighPass, kDrumRate, 3500.0, 0.7);
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = TimeOf(i);
    SetFilter(lp, FilterKind::LowPass, kDrumRate, 4000.0 + 8000.0 * ExpDecay(t, 0.8), 0.7);  // darkens as it dies
    const double raw = 0.45 * metal.Next(11.0) + NextSigned(rng);
    s[i] = Filter(lp, Filter(hp, raw)) * ExpDecay(t, 0.55) * Attack(t, 0.001);
  }
  return DrumSample("Crash", std::move(s), 0.4);
}

ItSample MakeTomSample() {
  Signal s(Frames(0.5));
  Phase p;
  Rng rng = MakeRng(23);
  OnePole lp;
  SetOnePole(lp, kDrumRate, 1200.0);
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = TimeOf(i);
    const double f = 95.0 + 60.0 * ExpDecay(t, 0.06);
    s[i] = Sine(Advance(p, f / kDrumRate)) * ExpDecay(t, 0.2) + Filter(lp, NextSigned(rng)) * ExpDecay(t, 0.02);
  }
  return DrumSample("Tom", std::move(s), 0.05);
}

ItSample MakeShakerSample(uint64_t seed) {
  Signal s(Frames(0.16));
  Rng rng = MakeRng(seed);
  Biquad bp;
  SetFilter(bp, FilterKind::BandPass, kDrumRate, 6500.0, 1.2);
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = TimeOf(i);
    s[i] = Filter(bp, NextSigned(rng)) * Attack(t, 0.012) * ExpDecay(t, 0.045);
  }
  return DrumSample("Shaker", std::move(s), 0.03);
}

}  // namespace datagen
