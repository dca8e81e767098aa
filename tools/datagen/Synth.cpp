#include "tools/datagen/Synth.h"

#include <algorithm>
#include <cmath>

namespace datagen {

Rng MakeRng(uint64_t seed) { return Rng{seed * 0x9E3779B97F4A7C15ull + 0x2545F4914F6CDD1Dull}; }

uint64_t NextBits(Rng& rng) {
  uint64_t z = (rng.state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

double NextUnit(Rng& rng) { return static_cast<double>(NextBits(rng) >> 11) * (1.0 / 9007199254740992.0); }

double NextSigned(Rng& rng) { return NextUnit(rng) * 2.0 - 1.0; }

int NextInt(Rng& rng, int count) {
  if (count <= 0) return 0;
  return static_cast<int>(NextBits(rng) % static_cast<uint64_t>(count));
}

double NoteFrequency(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

namespace {

// Polynomial band-limited step: smooths the jump of a saw or square over one sample each side.
double PolyBlep(double t, double dt) {
  if (dt <= 0) return 0;
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1.0;
  }
  if (t > 1.0 - dt) {
    t = (t - 1.0) / dt;
    return t * t + t + t + 1.0;
  }
  return 0;
}

double Wrap(double phase) { return phase - std::floor(phase); }

}  // namespace

double Sine(double phase) { return std::sin(kTwoPi * phase); }

double Saw(double phase, double dt) {
  const double t = Wrap(phase);
  return 2.0 * t - 1.0 - PolyBlep(t, dt);
}

double Square(double phase, double dt, double duty) {
  const double t = Wrap(phase);
  double v = t < duty ? 1.0 : -1.0;
  v += PolyBlep(t, dt);
  v -= PolyBlep(Wrap(t - duty + 1.0), dt);
  return v;
}

double Triangle(double phase) {
  const double t = Wrap(phase);
  return t < 0.5 ? 4.0 * t - 1.0 : 3.0 - 4.0 * t;
}

double Advance(Phase& phase, double step) {
  const double before = phase.value;
  phase.value = Wrap(phase.value + step);
  return before;
}

void SetFilter(Biquad& f, FilterKind kind, double rate, double cutoff, double q) {
  cutoff = std::clamp(cutoff, 10.0, rate * 0.45);
  q = std::max(q, 0.05);
  const double w = kTwoPi * cutoff / rate;
  const double cw = std::cos(w), sw = std::sin(w);
  const double alpha = sw / (2.0 * q);
  const double a0 = 1.0 + alpha;
  double b0 = 0, b1 = 0, b2 = 0;
  switch (kind) {
    case FilterKind::LowPass:
      b0 = (1.0 - cw) / 2.0;
      b1 = 1.0 - cw;
      b2 = b0;
      break;
    case FilterKind::HighPass:
      b0 = (1.0 + cw) / 2.0;
      b1 = -(1.0 + cw);
      b2 = b0;
      break;
    case FilterKind::BandPass:  // constant 0 dB peak gain
      b0 = alpha;
      b1 = 0;
      b2 = -alpha;
      break;
  }
  f.b0 = b0 / a0;
  f.b1 = b1 / a0;
  f.b2 = b2 / a0;
  f.a1 = -2.0 * cw / a0;
  f.a2 = (1.0 - alpha) / a0;
}

double Filter(Biquad& f, double x) {
  const double y = f.b0 * x + f.b1 * f.x1 + f.b2 * f.x2 - f.a1 * f.y1 - f.a2 * f.y2;
  f.x2 = f.x1;
  f.x1 = x;
  f.y2 = f.y1;
  f.y1 = y;
  return y;
}

void SetOnePole(OnePole& f, double rate, double cutoff) { f.a = 1.0 - std::exp(-kTwoPi * cutoff / rate); }

double Filter(OnePole& f, double x) {
  f.y += f.a * (x - f.y);
  return f.y;
}

double ExpDecay(double t, double seconds) { return t <= 0 ? 1.0 : std::exp(-t / seconds); }

double Attack(double t, double seconds) {
  if (seconds <= 0) return 1.0;
  return std::clamp(t / seconds, 0.0, 1.0);
}

double Ramp(double t, double t0, double t1, double v0, double v1) {
  if (t <= t0) return v0;
  if (t >= t1) return v1;
  return v0 + (v1 - v0) * (t - t0) / (t1 - t0);
}

double PeakOf(const Signal& s) {
  double peak = 0;
  for (double v : s) peak = std::max(peak, std::fabs(v));
  return peak;
}

void RemoveDcOffset(Signal& s, double rate) {
  // Gentle high pass at 20 Hz: removes offsets left by asymmetric shapes without touching the sound.
  const double r = std::exp(-kTwoPi * 20.0 / rate);
  double prevX = 0, prevY = 0;
  for (double& v : s) {
    const double y = v - prevX + r * prevY;
    prevX = v;
    prevY = y;
    v = y;
  }
}

void FadeEnds(Signal& s, double rate, double fadeInSeconds, double fadeOutSeconds) {
  const size_t n = s.size();
  const size_t in = std::min(n, static_cast<size_t>(fadeInSeconds * rate));
  const size_t out = std::min(n, static_cast<size_t>(fadeOutSeconds * rate));
  for (size_t i = 0; i < in; ++i) s[i] *= static_cast<double>(i) / static_cast<double>(in);
  for (size_t i = 0; i < out; ++i) s[n - 1 - i] *= static_cast<double>(i) / static_cast<double>(out);
}

void NormalizePeak(Signal& s, double peak) {
  const double current = PeakOf(s);
  if (current <= 0) return;
  const double gain = peak / current;
  for (double& v : s) v *= gain;
}

void SoftClip(Signal& s, double drive) {
  for (double& v : s) v = std::tanh(v * drive);
}

std::vector<int16_t> ToPcm16(const Signal& s) {
  std::vector<int16_t> out(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    const double v = std::clamp(std::nearbyint(s[i] * 32767.0), -32767.0, 32767.0);
    out[i] = static_cast<int16_t>(v);
  }
  return out;
}

}  // namespace datagen
