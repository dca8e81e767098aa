#include "tools/datagen/SoundEffects.h"

#include <algorithm>
#include <cmath>

namespace datagen {
namespace {

constexpr double kRate = kEffectRate;

size_t Frames(double seconds) { return static_cast<size_t>(seconds * kRate); }

double TimeOf(size_t i) { return static_cast<double>(i) / kRate; }

// Exponential glide from f0 to f1 over `seconds`, then held at f1.
double Glide(double t, double seconds, double f0, double f1) {
  const double x = std::clamp(t / seconds, 0.0, 1.0);
  return f0 * std::pow(f1 / f0, x);
}

// Player 1's standard (red) laser: a bright square "pew" diving two octaves, with a sub-octave body.
Signal Laser1() {
  Signal s(Frames(0.26));
  Phase p, sub;
  Biquad lp;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = TimeOf(i);
    const double f = Glide(t, 0.22, 1700.0, 260.0);
    const double dt = f / kRate;
    const double a = Advance(p, dt);
    const double b = Advance(sub, dt * 0.5);
    SetFilter(lp, FilterKind::LowPass, kRate, Glide(t, 0.2, 6000.0, 900.0), 2.0);
    const double tone = 0.6 * Square(a, dt, 0.35) + 0.4 * Saw(b, dt * 0.5);
    s[i] = Filter(lp, tone) * Attack(t, 0.004) * ExpDecay(t, 0.09);
  }
  return s;
}

// The green laser: a thin, buzzing FM "zip" that pulses as it falls, clearly unlike the red one.
Signal Laser2() {
  Signal s(Frames(0.24));
  Phase carrier, mod, trem;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = TimeOf(i);
    const double f = Glide(t, 0.2, 3200.0, 1100.0);
    const double m = Sine(Advance(mod, f * 2.01 / kRate));
    const double index = 2.5 * ExpDecay(t, 0.08) + 0.6;
    const double c = Sine(Advance(carrier, f / kRate) + index * m / kTwoPi);
    const double pulse = 0.55 + 0.45 * Sine(Advance(trem, 42.0 / kRate));
    s[i] = c * pulse * Attack(t, 0.002) * ExpDecay(t, 0.075);
  }
  return s;
}

// Laser on a raised shield: a short bright burst, then a ringing, shimmering metallic "tzing".
Signal Hit1() {
  Signal s(Frames(0.34));
  Rng rng = MakeRng(101);
  Biquad bp;
  SetFilter(bp, FilterKind::BandPass, kRate, 3200.0, 1.5);
  Phase r1, r2, r3, shimmer;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = TimeOf(i);
    const double burst = Filter(bp, NextSigned(rng)) * ExpDecay(t, 0.012) * 1.8;
    const double ring = Sine(Advance(r1, 1250.0 / kRate)) * Sine(Advance(r2, 1730.0 / kRate)) +
                        0.5 * Sine(Advance(r3, 2890.0 / kRate));
    const double shim = 0.7 + 0.3 * Sine(Advance(shimmer, 28.0 / kRate));
    s[i] = burst + 0.45 * ring * shim * ExpDecay(t, 0.09) * Attack(t, 0.003);
  }
  return s;
}

// Laser through to the hull: a crunchy little blast with a dull thump underneath.
Signal Hit2() {
  Signal s(Frames(0.42));
  Rng rng = MakeRng(202);
  Biquad lp;
  Phase thump;
  OnePole grit;
  SetOnePole(grit, kRate, 900.0);
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = TimeOf(i);
    SetFilter(lp, FilterKind::LowPass, kRate, Glide(t, 0.15, 4200.0, 600.0), 0.9);
    const double crackle = NextUnit(rng) < 0.02 * ExpDecay(t, 0.12) ? NextSigned(rng) * 2.0 : 0.0;
    const double noise = Filter(lp, NextSigned(rng) + crackle) * ExpDecay(t, 0.085);
    const double body = Filter(grit, NextSigned(rng)) * 2.5 * ExpDecay(t, 0.16);
    const double low = Sine(Advance(thump, Glide(t, 0.12, 140.0, 55.0) / kRate)) * ExpDecay(t, 0.09);
    s[i] = noise + 0.6 * body + 0.8 * low;
  }
  SoftClip(s, 1.6);
  return s;
}

// Ion hits and the electrogun's discharge: a crackling, buzzing electric arc.
Signal Hit3() {
  Signal s(Frames(0.46));
  Rng rng = MakeRng(303);
  Phase buzz;
  Biquad bp, hp;
  SetFilter(bp, FilterKind::BandPass, kRate, 1400.0, 0.8);
  SetFilter(hp, FilterKind::HighPass, kRate, 2500.0, 0.7);
  double spark = 0;
  double flicker = 1;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = TimeOf(i);
    if (i % 220 == 0) flicker = 0.35 + 0.65 * NextUnit(rng);  // the arc flickers every 10 ms
    if (NextUnit(rng) < 0.006) spark = 1.0;
    spark *= 0.985;
    const double dt = 98.0 / kRate;
    const double arc = Filter(bp, Square(Advance(buzz, dt), dt) + 0.5 * NextSigned(rng));
    const double crack = Filter(hp, NextSigned(rng)) * spark * 1.6;
    s[i] = (arc * flicker + crack) * Attack(t, 0.003) * ExpDecay(t, 0.16);
  }
  SoftClip(s, 2.0);
  return s;
}

// A chaingun bullet striking: a sharp tick and a short ricochet whine.
Signal Hit4() {
  Signal s(Frames(0.2));
  Rng rng = MakeRng(404);
  Phase whine, vib;
  Biquad hp;
  SetFilter(hp, FilterKind::HighPass, kRate, 3000.0, 0.7);
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = TimeOf(i);
    const double tick = Filter(hp, NextSigned(rng)) * ExpDecay(t, 0.004) * 1.5;
    const double f = Glide(t, 0.16, 3100.0, 1500.0) * (1.0 + 0.02 * Sine(Advance(vib, 60.0 / kRate)));
    const double ping = Sine(Advance(whine, f / kRate)) * Ramp(t, 0.0, 0.01, 0.0, 1.0) * ExpDecay(t, 0.05);
    s[i] = tick + 0.55 * ping;
  }
  return s;
}

// Hull against hull: a heavy thud and the clang of inharmonic metal partials, with a brief scrape.
Signal Collision() {
  Signal s(Frames(0.7));
  Rng rng = MakeRng(505);
  const double freqs[] = {183.0, 441.0, 687.0, 1013.0, 1388.0, 2011.0};
  const double decays[] = {0.28, 0.2, 0.15, 0.11, 0.08, 0.05};
  const double levels[] = {0.5, 0.45, 0.35, 0.3, 0.2, 0.12};
  Phase partial[6];
  Phase thud;
  Biquad scrape;
  SetFilter(scrape, FilterKind::BandPass, kRate, 1800.0, 1.2);
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = TimeOf(i);
    double clang = 0;
    for (int k = 0; k < 6; ++k) clang += levels[k] * Sine(Advance(partial[k], freqs[k] / kRate)) * ExpDecay(t, decays[k]);
    const double low = Sine(Advance(thud, Glide(t, 0.12, 95.0, 45.0) / kRate)) * ExpDecay(t, 0.12);
    const double noise = Filter(scrape, NextSigned(rng)) * ExpDecay(t, 0.05) * 1.2;
    s[i] = (0.6 * clang + 1.1 * low + noise) * Attack(t, 0.002);
  }
  SoftClip(s, 1.3);
  return s;
}

// Menu choice and power-mode change: a crisp two-note rising chime (the notes overlap, no click).
Signal Select2() {
  Signal s(Frames(0.15));
  Phase low, high;
  auto chime = [](double ph) { return Sine(ph) + 0.25 * Sine(3.0 * ph) + 0.1 * Sine(2.0 * ph); };
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = TimeOf(i);
    const double first = chime(Advance(low, 880.0 / kRate)) * Attack(t, 0.003) * ExpDecay(t, 0.025);
    const double u = t - 0.05;
    const double second = u < 0 ? 0.0 : chime(Advance(high, 1318.5 / kRate)) * Attack(u, 0.003) * ExpDecay(u, 0.04);
    s[i] = first + second;
  }
  return s;
}

// Moving through a menu: a soft, round "blop" that drops in pitch like a bubble.
Signal Blop() {
  Signal s(Frames(0.09));
  Phase p;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = TimeOf(i);
    const double ph = Advance(p, Glide(t, 0.06, 820.0, 330.0) / kRate);
    s[i] = (Sine(ph) + 0.15 * Sine(2.0 * ph)) * Attack(t, 0.004) * ExpDecay(t, 0.03);
  }
  return s;
}

// The ion cannon: a deep resonant "vwoom" from a saw swept through a closing filter, with a falling whine.
Signal Ion() {
  Signal s(Frames(0.5));
  Phase saw, whine;
  Biquad lp;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = TimeOf(i);
    const double dt = Glide(t, 0.4, 130.0, 70.0) / kRate;
    SetFilter(lp, FilterKind::LowPass, kRate, Glide(t, 0.35, 3800.0, 250.0), 6.0);
    const double body = Filter(lp, Saw(Advance(saw, dt), dt));
    const double w = Sine(Advance(whine, Glide(t, 0.3, 900.0, 240.0) / kRate)) * ExpDecay(t, 0.1);
    s[i] = (0.7 * body + 0.35 * w) * Attack(t, 0.006) * ExpDecay(t, 0.17);
  }
  SoftClip(s, 1.5);
  return s;
}

// Noise-based explosion shared by the two blasts: crack, sub thump, rumbling body and flying debris.
struct BlastShape {
  double seconds, thumpFrom, thumpTo, thumpDecay, rumbleCutoff, rumbleDecay, crackleSeconds, brightFrom;
  uint64_t seed;
};

Signal Blast(const BlastShape& b) {
  Signal s(Frames(b.seconds));
  Rng rng = MakeRng(b.seed);
  Phase thump;
  OnePole rumble1, rumble2, wobble;
  SetOnePole(rumble1, kRate, b.rumbleCutoff);
  SetOnePole(rumble2, kRate, b.rumbleCutoff);
  SetOnePole(wobble, kRate, 6.0);
  Biquad bright, debris;
  SetFilter(debris, FilterKind::BandPass, kRate, 1100.0, 0.9);
  double spark = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = TimeOf(i);
    SetFilter(bright, FilterKind::LowPass, kRate, Glide(t, 0.3, b.brightFrom, 300.0), 0.8);
    const double crack = Filter(bright, NextSigned(rng)) * ExpDecay(t, 0.05) * 1.4;
    const double sub = Sine(Advance(thump, Glide(t, 0.45, b.thumpFrom, b.thumpTo) / kRate)) * ExpDecay(t, b.thumpDecay);
    // Rumble: twice-smoothed noise whose loudness wanders slowly, so it rolls rather than hisses.
    const double roll = 0.6 + 3.0 * std::fabs(Filter(wobble, NextSigned(rng)));
    const double rumble = Filter(rumble2, Filter(rumble1, NextSigned(rng))) * 9.0 * roll;
    if (t < b.crackleSeconds && NextUnit(rng) < 0.004 * (1.0 - t / b.crackleSeconds)) spark = 0.6 + 0.4 * NextUnit(rng);
    spark *= 0.992;
    const double bits = Filter(debris, NextSigned(rng)) * spark;
    s[i] = (crack + 1.2 * sub + rumble * ExpDecay(t, b.rumbleDecay) + 0.7 * bits) * Attack(t, 0.002);
  }
  SoftClip(s, 1.4);
  return s;
}

// A ship blowing up: a long, deep, rolling rumble.
Signal Boom() { return Blast({2.3, 75.0, 26.0, 0.5, 160.0, 0.65, 1.3, 4500.0, 606}); }

// A missile or torpedo striking: a punchier, brighter and shorter blast.
Signal Boom2() { return Blast({1.1, 120.0, 38.0, 0.22, 260.0, 0.25, 0.5, 7000.0, 707}); }

// A missile leaving its rack: an ignition thunk, then a rocket whoosh that rises as it speeds away.
Signal Launch() {
  Signal s(Frames(0.8));
  Rng rng = MakeRng(808);
  Biquad sweep;
  OnePole roar;
  SetOnePole(roar, kRate, 500.0);
  Phase thunk;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = TimeOf(i);
    SetFilter(sweep, FilterKind::BandPass, kRate, Glide(t, 0.6, 300.0, 3000.0), 4.0);
    const double hiss = Filter(sweep, NextSigned(rng)) * 4.0;
    const double body = Filter(roar, NextSigned(rng)) * 1.5;
    const double env = Attack(t, 0.04) * (t < 0.25 ? 1.0 : ExpDecay(t - 0.25, 0.2));
    const double kick = Sine(Advance(thunk, Glide(t, 0.06, 160.0, 60.0) / kRate)) * ExpDecay(t, 0.05);
    s[i] = (hiss + body) * env + 0.9 * kick;
  }
  return s;
}

// The self-repair system hit: a distressed little robot squeal, a run of gliding chirps.
Signal R2Hit() {
  Signal s(Frames(0.56));
  Rng rng = MakeRng(909);
  const int kChirps = 7;
  double start = 0;
  double from = 1800;
  Phase p, warble;
  size_t i = 0;
  for (int c = 0; c < kChirps && i < s.size(); ++c) {
    const double length = 0.045 + 0.03 * NextUnit(rng);
    const double to = 700.0 + 2600.0 * NextUnit(rng);
    const double gap = 0.008 + 0.01 * NextUnit(rng);
    for (; i < s.size() && TimeOf(i) < start + length; ++i) {
      const double local = TimeOf(i) - start;
      const double f = Glide(local, length, from, to) * (1.0 + 0.04 * Sine(Advance(warble, 35.0 / kRate)));
      const double dt = f / kRate;
      const double env = Attack(local, 0.004) * Ramp(local, length - 0.008, length, 1.0, 0.0);
      const double ph = Advance(p, dt);
      s[i] = (0.8 * Sine(ph) + 0.25 * Sine(2.0 * ph) + 0.1 * Sine(3.0 * ph)) * env;
    }
    for (; i < s.size() && TimeOf(i) < start + length + gap; ++i) s[i] = 0;
    start += length + gap;
    from = to;
  }
  return s;
}

// The chaingun firing: a tight rattle of four shots. The game restarts it once it has ended, so
// holding the trigger gives a continuous rattle.
Signal Chain() {
  Signal s(Frames(0.19));
  Rng rng = MakeRng(1010);
  Biquad bp;
  SetFilter(bp, FilterKind::BandPass, kRate, 1600.0, 1.1);
  Phase punch;
  const double spacing = 0.046;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = TimeOf(i);
    const int shot = std::min(3, static_cast<int>(t / spacing));
    const double local = t - shot * spacing;
    const double level = shot % 2 == 0 ? 1.0 : 0.85;
    const double crack = Filter(bp, NextSigned(rng)) * ExpDecay(local, 0.011) * 2.0;
    const double low = Sine(Advance(punch, Glide(local, 0.02, 180.0, 80.0) / kRate)) * ExpDecay(local, 0.014);
    s[i] = (crack + 0.8 * low) * level * Attack(local, 0.0008);
  }
  SoftClip(s, 1.8);
  return s;
}

// Every effect is mixed 14 dB below its recipe's loudness, so that eight loud effects started in
// the same frame over the music stay below full scale.
constexpr double kMixHeadroom = 0.2;

struct Recipe {
  const char* file;
  Signal (*make)();
  double peak;  // final loudness: quieter for interface sounds, fuller for blasts
};

const Recipe kRecipes[] = {
    {"Laser1.wav", Laser1, 0.70},     {"Laser2.wav", Laser2, 0.66},     {"Hit1.wav", Hit1, 0.72},
    {"Collision.wav", Collision, 0.85}, {"Hit2.wav", Hit2, 0.78},       {"Select2.wav", Select2, 0.55},
    {"Ion.wav", Ion, 0.80},           {"Hit3.wav", Hit3, 0.72},         {"Boom.wav", Boom, 0.93},
    {"Launch.wav", Launch, 0.78},     {"R2HIT.wav", R2Hit, 0.45},       {"Boom2.wav", Boom2, 0.90},
    {"blop.wav", Blop, 0.50},         {"chain.wav", Chain, 0.70},       {"hit4.wav", Hit4, 0.58},
};

}  // namespace

std::vector<SoundEffect> MakeSoundEffects() {
  std::vector<SoundEffect> out;
  for (const Recipe& r : kRecipes) {
    Signal s = r.make();
    RemoveDcOffset(s, kRate);
    FadeEnds(s, kRate, 0.0015, 0.012);
    NormalizePeak(s, r.peak * kMixHeadroom);
    out.push_back({r.file, std::move(s)});
  }
  return out;
}

}  // namespace datagen
