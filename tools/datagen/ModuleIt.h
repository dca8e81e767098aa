// Impulse Tracker (.it) module writer: song header and order list, instruments with volume
// envelopes, 16-bit samples and packed patterns, in the layout of Impulse Tracker 2.14.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace datagen {

inline constexpr int kItNoteOff = 255;
inline constexpr int kItNoteCut = 254;
inline constexpr int kItOrderEnd = 255;
inline constexpr int kItMaxChannels = 64;

// Effect letters as stored in a pattern: A = 1 ... Z = 26.
constexpr int ItEffect(char letter) { return letter - 'A' + 1; }

struct ItCell {
  int note = -1;       // -1 none, 0..119 (60 = C-5, middle C), kItNoteCut, kItNoteOff
  int instrument = 0;  // 0 none, 1..99
  int volume = -1;     // -1 none, 0..64 volume
  int effect = 0;      // 0 none, ItEffect('A')..
  int param = 0;       // 0..255
};

struct ItPattern {
  int rows = 64;  // 32..200
  std::vector<ItCell> cells;  // rows * kItMaxChannels, row-major
};

ItPattern MakePattern(int rows);
ItCell& CellAt(ItPattern& p, int row, int channel);
const ItCell& CellAt(const ItPattern& p, int row, int channel);

struct ItEnvelopeNode {
  int tick;   // 0..9999, rising
  int value;  // 0..64
};

struct ItEnvelope {
  std::vector<ItEnvelopeNode> nodes;  // empty: envelope off; at most 25
  int sustainNode = -1;               // held there until note off; -1 none
};

struct ItSample {
  std::string name;
  std::vector<int16_t> data;
  int c5Speed = 44100;  // playback rate of note C-5
  int loopStart = 0;
  int loopEnd = 0;      // > loopStart: forward loop over [loopStart, loopEnd)
  int volume = 64;      // default volume 0..64
  int vibratoSpeed = 0, vibratoDepth = 0, vibratoRate = 0;  // automatic sample vibrato (sine)
};

enum class NewNoteAction { Cut = 0, Continue = 1, NoteOff = 2, NoteFade = 3 };

struct ItInstrument {
  std::string name;
  int sample = 1;  // 1-based sample used for every note
  NewNoteAction newNoteAction = NewNoteAction::Cut;
  int fadeOut = 0;  // 0..128 (per tick, of 1024) once the note fades
  int globalVolume = 128;  // 0..128
  ItEnvelope volumeEnvelope;
};

struct ItModule {
  std::string name;
  int speed = 6;           // ticks per row
  int tempo = 125;         // beats per minute at four rows a beat and speed 6
  int globalVolume = 128;  // 0..128
  int mixVolume = 48;      // 0..128
  int rowsPerBeat = 4, rowsPerMeasure = 16;
  std::vector<int> channelPan;     // 0..64 for each channel used; the others are disabled
  std::vector<int> channelVolume;  // 0..64, same length as channelPan (missing = 64)
  std::vector<int> orders;         // pattern numbers; the end marker is added by the writer
  std::vector<ItInstrument> instruments;
  std::vector<ItSample> samples;
  std::vector<ItPattern> patterns;
};

// The bytes of the .it file. Throws std::invalid_argument naming the fault when the module breaks
// the format's limits (counts, ranges, order entries naming missing patterns).
std::string WriteItModule(const ItModule& module);

// The packed form of one pattern's rows (without the 8-byte pattern header), as Impulse Tracker
// stores it: per-channel masks, repeated masks and values omitted.
std::string PackItPattern(const ItPattern& pattern, int channelCount);

}  // namespace datagen
