// Instrument samples for the music modules: drums made of noise and swept sines, and tonal
// voices (bass, pad, lead, pluck, bell) built additively.
//
// Sustained voices are one seamless loop of exactly one second: every partial has a whole number
// of hertz, so each completes whole cycles in the loop and the loop point never clicks. Their
// loudness over time comes from the instrument's volume envelope, not from the sample.
#pragma once
#include <cstdint>

#include "tools/datagen/ModuleIt.h"

namespace datagen {

enum class Waveform { Saw, Square, Pulse25, Triangle, Sine, Organ };

struct ToneRecipe {
  Waveform wave = Waveform::Saw;
  int baseNote = 57;        // an A (33, 45, 57, 69, 81): its frequency is a whole number of hertz
  int rate = 44100;         // sample rate; the loop is `rate` samples long
  double cutoff = 3000;     // spectral low pass in Hz (gentle, second order)
  int detuneHz = 0;         // > 0: two extra copies at +- detuneHz beside the centre voice
  double subOctave = 0;     // level of a sine one octave below
  double octaveUp = 0;      // level of a second layer an octave above (+1 Hz, for a slow shimmer)
  int vibratoDepth = 0;     // automatic vibrato in the player (0 = none)
  uint64_t seed = 1;        // starting phases of the partials
};

ItSample MakeToneSample(const char* name, const ToneRecipe& recipe);

// Plucked string or mallet: one-shot, upper partials dying first. `bell` makes the partials
// inharmonic and the decay longer.
ItSample MakePluckSample(const char* name, int baseNote, double seconds, bool bell, uint64_t seed);

ItSample MakeKickSample(double punch);         // punch 0..1: harder click and deeper sweep
ItSample MakeSnareSample(double snap, uint64_t seed);  // snap 0..1: more noise against tone
ItSample MakeHatSample(double seconds, uint64_t seed);  // closed (short) or open (long) hat
ItSample MakeCrashSample(uint64_t seed);
ItSample MakeTomSample();
ItSample MakeShakerSample(uint64_t seed);

}  // namespace datagen
