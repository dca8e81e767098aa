#include "tools/datagen/MusicSongs.h"

namespace datagen {
namespace {

const std::vector<int> kAeolian = {0, 2, 3, 5, 7, 8, 10};
const std::vector<int> kDorian = {0, 2, 3, 5, 7, 9, 10};
const std::vector<int> kHarmonicMinor = {0, 2, 3, 5, 7, 8, 11};
const std::vector<int> kPhrygian = {0, 1, 3, 5, 7, 8, 10};

ToneRecipe Tone(Waveform wave, int baseNote, int rate, double cutoff, int detuneHz, double sub, double octaveUp,
                int vibrato, uint64_t seed) {
  ToneRecipe r;
  r.wave = wave;
  r.baseNote = baseNote;
  r.rate = rate;
  r.cutoff = cutoff;
  r.detuneHz = detuneHz;
  r.subOctave = sub;
  r.octaveUp = octaveUp;
  r.vibratoDepth = vibrato;
  r.seed = seed;
  return r;
}

using S = Section;

// The main menu: slow D minor seventh chords swelling in and out, bells and a soft flute line.
SongPlan MenuTheme() {
  SongPlan p;
  p.title = "Quorvex - Drifting Nebula";
  p.seed = 1;
  p.tempo = 72;
  p.root = 50;
  p.scale = kAeolian;
  p.chordsA = {0, 5, 2, 6};
  p.chordsB = {3, 5, 0, 4};
  p.chordsBreak = {5, 3, 0, 0};
  p.drums = DrumStyle::Gentle;
  p.bass = BassStyle::Long;
  p.arp = ArpStyle::Bell;
  p.calm = true;
  p.bassTone = Tone(Waveform::Triangle, 45, 22050, 500, 0, 0.8, 0, 0, 11);
  p.padTone = Tone(Waveform::Saw, 57, 44100, 900, 1, 0, 0.35, 0, 12);
  p.leadTone = Tone(Waveform::Triangle, 69, 44100, 2500, 0, 0, 0.15, 8, 13);
  p.kickPunch = 0.1;
  p.form = {S::Intro, S::A, S::A2, S::B, S::B2, S::Break, S::A2, S::Outro};
  return p;
}

// Battle 1: straight rock drive in A minor.
SongPlan RedAlert() {
  SongPlan p;
  p.title = "Red Alert";
  p.seed = 2;
  p.tempo = 150;
  p.root = 57;
  p.scale = kAeolian;
  p.chordsA = {0, 5, 2, 6};
  p.chordsB = {3, 5, 6, 0};
  p.chordsBreak = {5, 3, 6, 4};
  p.drums = DrumStyle::Rock;
  p.bass = BassStyle::Drive;
  p.arp = ArpStyle::Up;
  p.bassTone = Tone(Waveform::Saw, 45, 22050, 900, 0, 0.5, 0, 0, 21);
  p.padTone = Tone(Waveform::Saw, 57, 44100, 1800, 1, 0, 0.3, 0, 22);
  p.leadTone = Tone(Waveform::Square, 69, 44100, 3500, 2, 0, 0, 4, 23);
  p.kickPunch = 0.7;
  p.snareSnap = 0.6;
  p.form = {S::Intro, S::A, S::A2, S::B, S::B2, S::Break, S::Build, S::A, S::A2, S::B, S::B2, S::A2, S::Outro};
  return p;
}

// Battle 2: four-on-the-floor pulse in E harmonic minor with an offbeat bass.
SongPlan IonStorm() {
  SongPlan p;
  p.title = "Ion Storm";
  p.seed = 3;
  p.tempo = 132;
  p.root = 52;
  p.scale = kHarmonicMinor;
  p.chordsA = {0, 3, 5, 4};
  p.chordsB = {5, 2, 3, 4};
  p.chordsBreak = {0, 5, 3, 4};
  p.drums = DrumStyle::FourFloor;
  p.bass = BassStyle::Offbeat;
  p.arp = ArpStyle::Broken;
  p.bassTone = Tone(Waveform::Square, 45, 22050, 700, 0, 0.6, 0, 0, 31);
  p.padTone = Tone(Waveform::Saw, 57, 44100, 1500, 2, 0, 0.25, 0, 32);
  p.leadTone = Tone(Waveform::Saw, 69, 44100, 3000, 2, 0, 0, 3, 33);
  p.kickPunch = 0.8;
  p.snareSnap = 0.4;
  p.form = {S::Intro, S::A, S::A2, S::B, S::B2, S::Break, S::Build, S::A, S::B, S::B2, S::A2, S::Outro};
  return p;
}

// Battle 3: broken beats and a dark phrygian riff in G.
SongPlan HullBreach() {
  SongPlan p;
  p.title = "Hull Breach";
  p.seed = 4;
  p.tempo = 140;
  p.root = 55;
  p.scale = kPhrygian;
  p.chordsA = {0, 1, 0, 6};
  p.chordsB = {5, 3, 6, 1};
  p.chordsBreak = {0, 5, 1, 0};
  p.drums = DrumStyle::Breakbeat;
  p.bass = BassStyle::Syncopated;
  p.arp = ArpStyle::UpDown;
  p.bassTone = Tone(Waveform::Saw, 45, 22050, 600, 1, 0.4, 0, 0, 41);
  p.padTone = Tone(Waveform::Square, 57, 44100, 1400, 1, 0, 0.3, 0, 42);
  p.leadTone = Tone(Waveform::Pulse25, 69, 44100, 4000, 1, 0, 0, 4, 43);
  p.kickPunch = 0.5;
  p.snareSnap = 0.7;
  p.form = {S::Intro, S::A, S::A2, S::Break, S::B, S::B2, S::Build, S::A2, S::B, S::B2, S::A, S::Outro};
  return p;
}

// Battle 4: a fast two-step chase in F dorian with a galloping bass.
SongPlan LastStand() {
  SongPlan p;
  p.title = "Last Stand";
  p.seed = 5;
  p.tempo = 168;
  p.root = 53;
  p.scale = kDorian;
  p.chordsA = {0, 3, 0, 6};
  p.chordsB = {2, 6, 3, 0};
  p.chordsBreak = {0, 2, 6, 3};
  p.drums = DrumStyle::TwoStep;
  p.bass = BassStyle::Gallop;
  p.arp = ArpStyle::Up;
  p.bassTone = Tone(Waveform::Pulse25, 45, 22050, 1000, 0, 0.4, 0, 0, 51);
  p.padTone = Tone(Waveform::Saw, 57, 44100, 2000, 1, 0, 0.3, 0, 52);
  p.leadTone = Tone(Waveform::Square, 69, 44100, 2500, 1, 0, 0.3, 5, 53);
  p.kickPunch = 0.9;
  p.snareSnap = 0.5;
  p.form = {S::Intro, S::A, S::A2, S::B, S::B2, S::Break, S::Build, S::A, S::A2,
            S::B, S::B2, S::Break, S::A2, S::B2, S::Outro};
  return p;
}

}  // namespace

std::vector<SongFile> GameSongs() {
  return {
      {"menu.it", MenuTheme()},
      {"battle1.it", RedAlert()},
      {"battle2.it", IonStorm()},
      {"battle3.it", HullBreach()},
      {"battle4.it", LastStand()},
  };
}

std::string PlaylistText() {
  std::string text =
      "Quorvex battle music\r\n"
      "The first four lines are skipped by the game.\r\n"
      "Each further line names one module in this folder; up to 20 are played.\r\n"
      "----\r\n";
  for (const SongFile& song : GameSongs()) {
    if (song.file != "menu.it") text += song.file + "\r\n";
  }
  return text;
}

}  // namespace datagen
