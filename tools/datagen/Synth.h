// Small sound-synthesis toolkit for the data generator: a seeded noise source, oscillators,
// envelopes, filters and the final touches (fades, peak normalising, 16-bit conversion).
// Everything is plain arithmetic on doubles, so the same seed gives the same samples every run.
#pragma once
#include <cstdint>
#include <vector>

namespace datagen {

using Signal = std::vector<double>;

inline constexpr double kTwoPi = 6.283185307179586;

// Seeded random numbers (splitmix64): the only source of randomness in the generated sounds.
struct Rng {
  uint64_t state = 0;
};
Rng MakeRng(uint64_t seed);
uint64_t NextBits(Rng& rng);
double NextUnit(Rng& rng);    // uniform in [0, 1)
double NextSigned(Rng& rng);  // uniform in [-1, 1)
int NextInt(Rng& rng, int count);  // uniform in 0..count-1 (0 when count <= 0)

// Frequency in Hz of a note numbered like MIDI and Impulse Tracker (60 = middle C, 69 = A 440 Hz).
double NoteFrequency(double note);

// Band-limited oscillators; phase in cycles, dt the phase step per sample (frequency / rate).
double Sine(double phase);
double Saw(double phase, double dt);
double Square(double phase, double dt, double duty = 0.5);
double Triangle(double phase);

// Phase accumulator that wraps into [0, 1).
struct Phase {
  double value = 0;
};
double Advance(Phase& phase, double step);  // returns the phase before the step

// Second-order filter (RBJ biquad), coefficients recomputable per sample for sweeps.
struct Biquad {
  double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
  double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
};
enum class FilterKind { LowPass, HighPass, BandPass };
void SetFilter(Biquad& f, FilterKind kind, double rate, double cutoff, double q);
double Filter(Biquad& f, double x);

// One-pole smoothing low pass (for rumble and brown noise).
struct OnePole {
  double a = 0, y = 0;
};
void SetOnePole(OnePole& f, double rate, double cutoff);
double Filter(OnePole& f, double x);

// Envelope pieces, t in seconds.
double ExpDecay(double t, double seconds);                 // 1 at t = 0, e^-1 after `seconds`
double Attack(double t, double seconds);                   // linear rise 0..1, then 1
double Ramp(double t, double t0, double t1, double v0, double v1);  // linear, clamped outside

// Final touches.
double PeakOf(const Signal& s);
void RemoveDcOffset(Signal& s, double rate);
void FadeEnds(Signal& s, double rate, double fadeInSeconds, double fadeOutSeconds);
void NormalizePeak(Signal& s, double peak);  // scales so the largest magnitude equals `peak`
void SoftClip(Signal& s, double drive);      // tanh saturation: magnitudes stay below 1
std::vector<int16_t> ToPcm16(const Signal& s);  // clamps into -32767..32767, rounding to nearest

}  // namespace datagen
