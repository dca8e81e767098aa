// The composer behind the game's music: turns a song plan (key, chords, grooves, form) into an
// Impulse Tracker module with synthesised instruments, a melody with motif and answer, pads,
// bass, arpeggios, drums with fills, and a written ending after which the order list stops.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/datagen/ModuleIt.h"
#include "tools/datagen/SynthInstruments.h"

namespace datagen {

// Each section is one pattern of four bars (sixteen rows a bar); the outro is shorter.
enum class Section { Intro, A, A2, B, B2, Break, Build, Outro };
enum class DrumStyle { Rock, FourFloor, Breakbeat, TwoStep, Gentle };
enum class BassStyle { Drive, Gallop, Syncopated, Offbeat, Long };
enum class ArpStyle { Up, UpDown, Broken, Bell };

struct SongPlan {
  std::string title;
  uint64_t seed = 1;
  int tempo = 140;          // beats per minute (four rows a beat)
  int root = 57;            // key note (57 = A below middle C's A, 220 Hz)
  std::vector<int> scale;   // semitones of the seven degrees above the root
  std::vector<int> chordsA, chordsB, chordsBreak;  // scale degree of each bar's chord, four bars each
  DrumStyle drums = DrumStyle::Rock;
  BassStyle bass = BassStyle::Drive;
  ArpStyle arp = ArpStyle::Up;
  bool calm = false;        // slow swells, seventh chords, soft percussion, bell arpeggios
  ToneRecipe bassTone, padTone, leadTone;
  double kickPunch = 0.6, snareSnap = 0.5;
  std::vector<Section> form;  // order of the sections; ends with Section::Outro
};

// Throws std::invalid_argument when the plan is incomplete (scale, chords or form malformed).
ItModule ComposeSong(const SongPlan& plan);

}  // namespace datagen
