#include "tools/datagen/MusicCompose.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>
#include <stdexcept>

#include "tools/datagen/Synth.h"

namespace datagen {
namespace {

constexpr int kRowsPerBar = 16;
constexpr int kBars = 4;
constexpr int kSectionRows = kRowsPerBar * kBars;
// The outro holds the final chord, releases it and ends as its tails fade out: a song ends on its
// last note, so the jukebox's next song follows without a gap.
constexpr int kBattleOutroRows = 26;
constexpr int kCalmOutroRows = 48;
constexpr int kItMinRows = 32;

enum Channel { kKick, kSnare, kHat, kPerc, kBass, kPad0, kPad1, kPad2, kLead, kArp, kEcho, kChannelCount };
enum Instrument {
  kInsKick = 1, kInsSnare, kInsHat, kInsOpenHat, kInsCrash, kInsTom, kInsBass, kInsPad, kInsLead, kInsArp, kInsShaker
};

using Chords = std::array<int, kBars>;
using Voicing = std::array<int, 3>;

int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// Note number of a scale degree counted from the key root (7 = the root an octave up).
int NoteOf(const SongPlan& plan, int degree) {
  const int octave = FloorDiv(degree, 7);
  return plan.root + 12 * octave + plan.scale[static_cast<size_t>(degree - 7 * octave)];
}

bool IsChordTone(int degree, int chord) {
  const int d = ((degree - chord) % 7 + 7) % 7;
  return d == 0 || d == 2 || d == 4;
}

void Put(ItPattern& p, int row, int ch, int note, int ins, int vol) {
  if (row < 0 || row >= p.rows) return;
  ItCell& c = CellAt(p, row, ch);
  c.note = note;
  c.instrument = ins;
  c.volume = std::clamp(vol, 0, 64);
}

void Off(ItPattern& p, int row, int ch) {
  if (row < 0 || row >= p.rows) return;
  ItCell& c = CellAt(p, row, ch);
  if (c.note >= 0) return;  // a new note already ends the old one
  c.note = kItNoteOff;
}

// ---- Drums -------------------------------------------------------------------------------------

struct DrumBar {
  const char* kick;
  const char* snare;
  const char* hat;
};

// Two bars per style: the second answers the first. 'X' accent, 'x' normal, 'g' ghost, 'o' open hat.
std::array<DrumBar, 2> Groove(DrumStyle style) {
  switch (style) {
    case DrumStyle::Rock:
      return {{{"X.....x.X.......", "....X.......X...", "x.x.x.x.x.x.x.x."},
               {"X.....x.X..x.x..", "....X.......X..g", "x.x.x.x.x.x.x.o."}}};
    case DrumStyle::FourFloor:
      return {{{"X...X...X...X...", "....X.......X...", "g.X.g.X.g.X.g.X."},
               {"X...X...X...X...", "....X.......X.g.", "g.X.g.X.g.X.g.o."}}};
    case DrumStyle::Breakbeat:
      return {{{"X.........X.x...", "....X..g.g..X..g", "xgxgxgxgxgxgxgxg"},
               {"X.x.......X.....", "....X..g....X.g.", "xgxgxgxgxgxgxgog"}}};
    case DrumStyle::TwoStep:
      return {{{"X.........XX....", "....X.......X..g", "xgxgxgxgxgxgxgxg"},
               {"X.........X.....", "....X..g....X...", "xgxgxgxgxgxgxgog"}}};
    case DrumStyle::Gentle:
      return {{{"x...............", "................", "..x...x...x...x."},
               {"x.......g.......", "................", "..x...x...x..xx."}}};
  }
  return Groove(DrumStyle::Rock);
}

int DrumVolume(char c) {
  switch (c) {
    case 'X': return 60;
    case 'x': return 46;
    case 'g': return 22;
    case 'o': return 40;
    default: return 0;
  }
}

struct DrumParts {
  bool kick = true, snare = true, hats = true;
};

void WriteGrooveBar(ItPattern& p, const SongPlan& plan, int bar, const DrumParts& parts, int hatScale) {
  const DrumBar g = Groove(plan.drums)[static_cast<size_t>(bar % 2)];
  const int base = bar * kRowsPerBar;
  const bool gentle = plan.drums == DrumStyle::Gentle;
  for (int r = 0; r < kRowsPerBar; ++r) {
    if (parts.kick && g.kick[r] != '.') Put(p, base + r, kKick, 60, kInsKick, DrumVolume(g.kick[r]) * (gentle ? 3 : 4) / 4);
    if (parts.snare && g.snare[r] != '.') Put(p, base + r, kSnare, 60, kInsSnare, DrumVolume(g.snare[r]));
    if (parts.hats && g.hat[r] != '.') {
      const char h = g.hat[r];
      const int ins = gentle ? kInsShaker : (h == 'o' ? kInsOpenHat : kInsHat);
      Put(p, base + r, kHat, 60, ins, DrumVolume(h) * hatScale / 4);
    }
  }
}

// Last bar of a section: a snare run or a tumble down the toms into the next section.
void WriteFill(ItPattern& p, int bar, bool toms) {
  const int base = bar * kRowsPerBar;
  for (int r = 0; r < kRowsPerBar; ++r) {
    ItCell& s = CellAt(p, base + r, kSnare);
    if (r >= 8) s = ItCell{};
  }
  if (toms) {
    const int notes[] = {67, 64, 60, 55, 52, 48};
    for (int i = 0; i < 6; ++i) Put(p, base + 8 + i + (i > 2 ? i - 2 : 0), kPerc, notes[i], kInsTom, 44 + i * 3);
    Put(p, base + 12, kSnare, 60, kInsSnare, 50);
    Put(p, base + 14, kSnare, 60, kInsSnare, 58);
  } else {
    for (int r = 8; r < kRowsPerBar; ++r) {
      if (r < 12 && r % 2 == 1) continue;
      Put(p, base + r, kSnare, 60, kInsSnare, 28 + (r - 8) * 4);
    }
  }
}

void WriteBuildDrums(ItPattern& p) {
  for (int bar = 0; bar < kBars; ++bar) {
    const int step = bar == 0 ? 4 : (bar == 1 ? 2 : 1);
    for (int r = 0; r < kRowsPerBar; ++r) {
      const int row = bar * kRowsPerBar + r;
      if (r % 4 == 0) Put(p, row, kKick, 60, kInsKick, 52);
      if (r % step == 0) Put(p, row, kSnare, 60, kInsSnare, 18 + row * 40 / kSectionRows);
      if (r % 2 == 0) Put(p, row, kHat, 60, kInsHat, 26);
    }
  }
}

// ---- Harmony -----------------------------------------------------------------------------------

// The three pad notes for a chord: the voicing nearest the previous one, inside the pad's range.
Voicing VoiceChord(const SongPlan& plan, int chord, const Voicing& previous) {
  const std::array<int, 3> degrees = plan.calm ? std::array<int, 3>{chord + 2, chord + 4, chord + 6}
                                               : std::array<int, 3>{chord, chord + 2, chord + 4};
  const int low = plan.root - 3, high = plan.root + 17;
  Voicing best{};
  int bestCost = 1 << 30;
  for (int shiftA = -1; shiftA <= 2; ++shiftA) {
    for (int shiftB = -1; shiftB <= 2; ++shiftB) {
      for (int shiftC = -1; shiftC <= 2; ++shiftC) {
        Voicing v = {NoteOf(plan, degrees[0] + 7 * shiftA), NoteOf(plan, degrees[1] + 7 * shiftB),
                     NoteOf(plan, degrees[2] + 7 * shiftC)};
        std::sort(v.begin(), v.end());
        if (v[0] < low || v[2] > high || v[1] - v[0] < 2 || v[2] - v[1] < 2 || v[2] - v[0] > 12) continue;
        int cost = 0;
        for (int i = 0; i < 3; ++i) cost += std::abs(v[i] - previous[i]);
        if (cost < bestCost) {
          bestCost = cost;
          best = v;
        }
      }
    }
  }
  if (bestCost == (1 << 30)) best = {NoteOf(plan, degrees[0]), NoteOf(plan, degrees[1]), NoteOf(plan, degrees[2])};
  return best;
}

std::array<Voicing, kBars> VoiceChords(const SongPlan& plan, const Chords& chords) {
  std::array<Voicing, kBars> out{};
  Voicing previous = {plan.root + 3, plan.root + 7, plan.root + 10};
  for (int bar = 0; bar < kBars; ++bar) {
    out[static_cast<size_t>(bar)] = VoiceChord(plan, chords[static_cast<size_t>(bar)], previous);
    previous = out[static_cast<size_t>(bar)];
  }
  return out;
}

void WritePads(ItPattern& p, const std::array<Voicing, kBars>& voicings, const Chords& chords, int volume, int fromBar) {
  for (int bar = fromBar; bar < kBars; ++bar) {
    const bool same = bar > fromBar && chords[static_cast<size_t>(bar)] == chords[static_cast<size_t>(bar - 1)];
    if (same) continue;
    for (int v = 0; v < 3; ++v) Put(p, bar * kRowsPerBar, kPad0 + v, voicings[static_cast<size_t>(bar)][static_cast<size_t>(v)], kInsPad, volume);
  }
}

// ---- Bass --------------------------------------------------------------------------------------

// One bar of bass: 'R' root, 'r' soft root, 'O' octave, 'F' fifth, '.' release, '-' hold.
const char* BassBar(BassStyle style, int bar) {
  switch (style) {
    case BassStyle::Drive: return bar % 2 == 0 ? "R-rRO-rRR-rRO-rR" : "R-rRO-rRR-rRF-O-";
    case BassStyle::Gallop: return bar % 2 == 0 ? "R-rrR-rrR-rrO-rr" : "R-rrR-rrF-rrO-rr";
    case BassStyle::Syncopated: return bar % 2 == 0 ? "R--R--R-O-.RF-R-" : "R--R--O-.-R-F-O-";
    case BassStyle::Offbeat: return bar % 2 == 0 ? "..R.r.O...R.r.F." : "..R.r.O...R.O.F.";
    case BassStyle::Long: return bar % 2 == 0 ? "R---------------" : "R-------F-------";
  }
  return "R---------------";
}

int BassRoot(const SongPlan& plan, int chord) {
  int note = NoteOf(plan, chord) - 24;
  while (note > plan.root - 15) note -= 12;  // keep the bass between an octave and two below the key
  while (note < plan.root - 26) note += 12;
  return note;
}

void WriteBass(ItPattern& p, const SongPlan& plan, const Chords& chords, int fromBar, bool pedal) {
  for (int bar = fromBar; bar < kBars; ++bar) {
    const int chord = pedal ? 0 : chords[static_cast<size_t>(bar)];
    const int root = BassRoot(plan, chord);
    const int fifth = BassRoot(plan, chord) + (NoteOf(plan, chord + 4) - NoteOf(plan, chord));
    const char* pattern = pedal ? "R-r-R-r-R-r-O-r-" : BassBar(plan.bass, bar);
    for (int r = 0; r < kRowsPerBar; ++r) {
      const int row = bar * kRowsPerBar + r;
      switch (pattern[r]) {
        case 'R': Put(p, row, kBass, root, kInsBass, 58); break;
        case 'r': Put(p, row, kBass, root, kInsBass, 40); break;
        case 'O': Put(p, row, kBass, root + 12, kInsBass, 50); break;
        case 'F': Put(p, row, kBass, fifth, kInsBass, 50); break;
        case '.': Off(p, row, kBass); break;
        default: break;
      }
    }
  }
}

// ---- Arpeggio ----------------------------------------------------------------------------------

void WriteArp(ItPattern& p, const SongPlan& plan, const std::array<Voicing, kBars>& voicings, int fromBar, int volume) {
  static constexpr int kUp[] = {0, 1, 2, 3};
  static constexpr int kUpDown[] = {0, 1, 2, 3, 2, 1};
  static constexpr int kBroken[] = {0, 2, 1, 3, 2, 0, 3, 1};
  static constexpr int kBell[] = {3, 2, 1, 2, 0, 1, 2, 1};
  const int* seq = kUp;
  int length = 4, every = 1;
  switch (plan.arp) {
    case ArpStyle::Up: seq = kUp; length = 4; break;
    case ArpStyle::UpDown: seq = kUpDown; length = 6; break;
    case ArpStyle::Broken: seq = kBroken; length = 8; break;
    case ArpStyle::Bell: seq = kBell; length = 8; every = 2; break;
  }
  int step = 0;
  for (int bar = fromBar; bar < kBars; ++bar) {
    const Voicing& v = voicings[static_cast<size_t>(bar)];
    const int lift = plan.calm ? 12 : 0;  // bells sparkle an octave above the pads
    const int notes[4] = {v[0] + lift, v[1] + lift, v[2] + lift, v[0] + 12 + lift};
    for (int r = 0; r < kRowsPerBar; r += every) {
      const int accent = r % 4 == 0 ? 8 : 0;
      Put(p, bar * kRowsPerBar + r, kArp, notes[seq[step % length]], kInsArp, volume + accent);
      ++step;
    }
  }
}

// ---- Melody ------------------------------------------------------------------------------------

struct MelodyNote {
  int row;
  int length;   // rows until the next note or the release
  int degree;
  bool restAfter;
};

// Two-bar rhythms: 'x' note, '-' hold, '.' silence.
const char* const kBusyRhythms[] = {
    "x--x--x-x---x-x-x--x--x-x-------", "x-.xx-.xx-x-x---x-.xx-.xx---x---",
    "x---x-x-x---x---x-x-x-x-x-------", "x-x-x---x-x-x---x-x-x-x-x-----..",
};
const char* const kCalmRhythms[] = {
    "x-------x---x---x---------------", "x-----x-x-------x-------x-------",
    "x---------x-----x---x---x-------",
};
const char* const kBusyCadences[] = {"x---x---x-------", "x-x-x---x-------", "x--x--x-x-------"};
const char* const kCalmCadences[] = {"x---------------", "x-------x-------"};

std::vector<MelodyNote> ParseRhythm(const char* text, int offset) {
  std::vector<MelodyNote> out;
  const int n = static_cast<int>(std::char_traits<char>::length(text));
  for (int i = 0; i < n; ++i) {
    if (text[i] != 'x') continue;
    int j = i + 1;
    while (j < n && text[j] == '-') ++j;
    out.push_back({offset + i, j - i, 0, j < n && text[j] == '.'});
  }
  return out;
}

int NearestChordTone(int target, int chord) {
  for (int d = 0; d < 4; ++d) {
    if (IsChordTone(target - d, chord)) return target - d;
    if (IsChordTone(target + d, chord)) return target + d;
  }
  return target;
}

// A four-bar phrase: a two-bar motif, the motif again as a sequence over bar 2's chord, and a
// cadence in bar 3 that comes to rest on a chord tone. The same motif seed with another answer
// seed gives a variation that keeps the motif.
std::vector<MelodyNote> MakeMelody(const SongPlan& plan, const Chords& chords, uint64_t motifSeed, uint64_t answerSeed,
                                   int lift, bool ornament) {
  Rng rng = MakeRng(motifSeed);
  const bool calm = plan.calm;
  const int low = 7 + lift, high = 16 + lift;
  const char* rhythm = calm ? kCalmRhythms[NextInt(rng, 3)] : kBusyRhythms[NextInt(rng, 4)];
  std::vector<MelodyNote> motif = ParseRhythm(rhythm, 0);
  int degree = NearestChordTone(chords[0] + 7 + 2 * NextInt(rng, 2) + lift, chords[0]);
  int direction = NextUnit(rng) < 0.5 ? 1 : -1;
  int previous = degree;
  for (MelodyNote& n : motif) {
    const int chord = chords[static_cast<size_t>(n.row / kRowsPerBar)];
    if (&n != &motif.front()) {
      if (n.row % 8 == 0 || n.length >= 4) {
        // Strong beats and long notes land on a chord tone, reached by a leap of up to a fourth.
        degree = NearestChordTone(degree + direction * (1 + NextInt(rng, 3)), chord);
        if (degree == previous) degree = NearestChordTone(degree + 2 * direction, chord);
      } else {
        const double pick = NextUnit(rng);
        degree += pick < 0.1 ? 0 : direction * (pick < 0.8 ? 1 : 2);  // mostly passing steps
      }
      if (NextUnit(rng) < 0.3) direction = -direction;
    }
    if (degree > high) { degree = high - 1; direction = -1; }
    if (degree < low) { degree = low + 1; direction = 1; }
    n.degree = degree;
    previous = degree;
  }
  std::vector<MelodyNote> out = motif;
  // Bar 2: bar 0 again, moved by the distance between the two chords.
  const int shift = chords[2] - chords[0];
  for (const MelodyNote& n : motif) {
    if (n.row >= kRowsPerBar) continue;
    MelodyNote m = n;
    m.row += 2 * kRowsPerBar;
    m.degree = n.degree + shift;
    while (m.degree > high + 2) m.degree -= 7;
    while (m.degree < low - 2) m.degree += 7;
    out.push_back(m);
  }
  // Bar 3: the cadence, drawn from the answer seed.
  Rng answer = MakeRng(answerSeed);
  const char* cadence = calm ? kCalmCadences[NextInt(answer, 2)] : kBusyCadences[NextInt(answer, 3)];
  std::vector<MelodyNote> close = ParseRhythm(cadence, 3 * kRowsPerBar);
  degree = out.back().degree;
  const int home = NearestChordTone(chords[3] + 7 + (calm ? 0 : 2 * NextInt(answer, 2)) + lift, chords[3]);
  for (size_t i = 0; i < close.size(); ++i) {
    const int left = static_cast<int>(close.size() - i);  // notes still to come, this one included
    if (left == 1) {
      degree = home;
    } else {
      // Close in on the home note, with a step past it now and then.
      const int gap = home - degree;
      const int step = std::abs(gap) >= left ? (gap > 0 ? 1 : -1) * (1 + NextInt(answer, 2)) : (NextUnit(answer) < 0.5 ? -1 : 1);
      degree += step;
    }
    degree = std::clamp(degree, low - 2, high + 2);
    close[i].degree = degree;
    out.push_back(close[i]);
  }
  // Let the last note of the phrase ring to the end of the pattern.
  out.back().restAfter = false;
  out.back().length = kSectionRows - out.back().row;
  if (!ornament) return out;
  // The variation decorates the held notes of the motif: each splits, its second half a neighbour note.
  std::vector<MelodyNote> decorated;
  for (size_t i = 0; i < out.size(); ++i) {
    MelodyNote n = out[i];
    if (i + 1 < out.size() && n.length >= 4 && n.row < 3 * kRowsPerBar) {
      const int half = n.length / 2;
      MelodyNote second = n;
      second.row += half;
      second.length = n.length - half;
      second.degree += NextUnit(answer) < 0.5 ? 1 : -1;
      n.length = half;
      n.restAfter = false;
      decorated.push_back(n);
      decorated.push_back(second);
    } else {
      decorated.push_back(n);
    }
  }
  return decorated;
}

void WriteMelody(ItPattern& p, const SongPlan& plan, const std::vector<MelodyNote>& melody, int echoRows, int volume) {
  for (const MelodyNote& n : melody) {
    const int note = NoteOf(plan, n.degree);
    const int vol = volume + (n.row % 8 == 0 ? 6 : 0);
    Put(p, n.row, kLead, note, kInsLead, vol);
    if (n.restAfter) Off(p, n.row + n.length, kLead);
    Put(p, n.row + echoRows, kEcho, note, kInsLead, vol * 2 / 5);
    if (n.restAfter) Off(p, n.row + n.length + echoRows, kEcho);
  }
}

// ---- Sections ----------------------------------------------------------------------------------

struct Seeds {
  uint64_t motifA, answerA, answerA2, motifB, answerB, answerB2;
};

ItPattern MakeSection(const SongPlan& plan, Section section, const Seeds& seeds) {
  const bool calm = plan.calm;
  Chords chordsA{}, chordsB{}, chordsBreak{};
  std::copy_n(plan.chordsA.begin(), kBars, chordsA.begin());
  std::copy_n(plan.chordsB.begin(), kBars, chordsB.begin());
  std::copy_n(plan.chordsBreak.begin(), kBars, chordsBreak.begin());
  const int echo = calm ? 6 : 3;
  const int padVolume = calm ? 40 : 30;
  const int arpVolume = calm ? 26 : 18;
  const int leadVolume = calm ? 40 : 44;
  const int outroRows = calm ? kCalmOutroRows : kBattleOutroRows;
  ItPattern p = MakePattern(section != Section::Outro ? kSectionRows : std::max(kItMinRows, outroRows));

  auto groove = [&](const DrumParts& parts, int fromBar, int hatScale, bool fill, bool toms) {
    for (int bar = fromBar; bar < kBars; ++bar) WriteGrooveBar(p, plan, bar, parts, hatScale);
    if (fill && !calm) WriteFill(p, kBars - 1, toms);
  };
  auto crash = [&]() {
    if (!calm) Put(p, 0, kPerc, 60, kInsCrash, 44);
  };

  switch (section) {
    case Section::Intro: {
      const auto voicings = VoiceChords(plan, chordsA);
      if (calm) {
        WritePads(p, voicings, chordsA, padVolume - 6, 0);
        WriteArp(p, plan, voicings, 2, arpVolume - 6);
        WriteBass(p, plan, chordsA, 2, false);
      } else {
        groove({true, false, true}, 0, 4, false, false);
        groove({true, true, true}, 2, 4, true, false);
        WriteBass(p, plan, chordsA, 0, false);
        WritePads(p, voicings, chordsA, padVolume - 8, 2);
      }
      break;
    }
    case Section::A:
    case Section::A2: {
      const auto voicings = VoiceChords(plan, chordsA);
      const bool second = section == Section::A2;
      if (calm) {
        if (second) groove({true, false, true}, 0, 3, false, false);
      } else {
        groove({true, true, true}, 0, 4, true, second);
        crash();
      }
      WriteBass(p, plan, chordsA, 0, false);
      WritePads(p, voicings, chordsA, padVolume, 0);
      if (second || calm) WriteArp(p, plan, voicings, 0, arpVolume);
      WriteMelody(p, plan, MakeMelody(plan, chordsA, seeds.motifA, second ? seeds.answerA2 : seeds.answerA, 0, second),
                  echo, leadVolume);
      break;
    }
    case Section::B:
    case Section::B2: {
      const auto voicings = VoiceChords(plan, chordsB);
      const bool second = section == Section::B2;
      if (calm) {
        groove({true, false, true}, 0, 4, false, false);
      } else {
        groove({true, true, true}, 0, 5, true, !second);
        crash();
      }
      WriteBass(p, plan, chordsB, 0, false);
      WritePads(p, voicings, chordsB, padVolume + 4, 0);
      WriteArp(p, plan, voicings, 0, arpVolume + 2);
      WriteMelody(p, plan, MakeMelody(plan, chordsB, seeds.motifB, second ? seeds.answerB2 : seeds.answerB, 2, second),
                  echo, leadVolume + 2);
      break;
    }
    case Section::Break: {
      const auto voicings = VoiceChords(plan, chordsBreak);
      if (!calm) groove({false, false, true}, 0, 2, false, false);
      crash();
      WritePads(p, voicings, chordsBreak, padVolume + 8, 0);
      WriteArp(p, plan, voicings, 0, arpVolume + 6);
      for (int bar = 0; bar < kBars; ++bar) {
        Put(p, bar * kRowsPerBar, kBass, BassRoot(plan, chordsBreak[static_cast<size_t>(bar)]), kInsBass, 50);
      }
      break;
    }
    case Section::Build: {
      const auto voicings = VoiceChords(plan, chordsA);
      if (!calm) WriteBuildDrums(p);
      WriteBass(p, plan, chordsA, 0, true);
      WritePads(p, voicings, chordsA, padVolume, 0);
      WriteArp(p, plan, voicings, 0, arpVolume + 4);
      break;
    }
    case Section::Outro: {
      // One last tonic chord, held, then released; the song ends when the tails have faded.
      const Voicing tonic = VoiceChord(plan, 0, {plan.root + 3, plan.root + 7, plan.root + 10});
      if (!calm) {
        Put(p, 0, kKick, 60, kInsKick, 64);
        Put(p, 0, kSnare, 60, kInsSnare, 50);
      }
      Put(p, 0, kPerc, 60, calm ? kInsShaker : kInsCrash, calm ? 20 : 50);
      Put(p, 0, kBass, BassRoot(plan, 0), kInsBass, 58);
      for (int v = 0; v < 3; ++v) Put(p, 0, kPad0 + v, tonic[static_cast<size_t>(v)], kInsPad, padVolume + 6);
      Put(p, 0, kLead, NoteOf(plan, 7), kInsLead, leadVolume);
      Put(p, echo, kEcho, NoteOf(plan, 7), kInsLead, leadVolume * 2 / 5);
      if (calm) {
        for (int i = 0; i < 4; ++i) Put(p, 4 + 6 * i, kArp, tonic[static_cast<size_t>((3 - i) % 3)] + 12 * (i < 3 ? 1 : 0), kInsArp, arpVolume - 2 * i);
      }
      const int release = calm ? 24 : 20;
      for (int ch = kKick; ch < kChannelCount; ++ch) {
        if (ch == kPerc || ch == kKick || ch == kSnare) continue;
        Off(p, release, ch);
      }
      // A pattern has at least 32 rows: a shorter outro breaks off after its last row, which ends
      // the song since the order list ends there.
      if (outroRows < p.rows) {
        ItCell& end = CellAt(p, outroRows - 1, kHat);
        end.effect = ItEffect('C');
        end.param = 0;
      }
      break;
    }
  }
  return p;
}

// ---- Instruments -------------------------------------------------------------------------------

ItEnvelope Swell(int attack, int decayTo, int decayTicks, int release) {
  ItEnvelope e;
  e.nodes = {{0, 0}, {attack, 64}, {attack + decayTicks, decayTo}, {attack + decayTicks + release, 0}};
  e.sustainNode = 2;
  return e;
}

ItInstrument Voice(const char* name, int sample, NewNoteAction nna, int fadeOut, ItEnvelope env, int volume = 128) {
  ItInstrument ins;
  ins.name = name;
  ins.sample = sample;
  ins.newNoteAction = nna;
  ins.fadeOut = fadeOut;
  ins.volumeEnvelope = std::move(env);
  ins.globalVolume = volume;
  return ins;
}

void AddInstruments(ItModule& m, const SongPlan& plan) {
  const uint64_t s = plan.seed * 100;
  m.samples = {
      MakeKickSample(plan.kickPunch),
      MakeSnareSample(plan.snareSnap, s + 1),
      MakeHatSample(0.12, s + 2),
      MakeHatSample(0.6, s + 3),
      MakeCrashSample(s + 4),
      MakeTomSample(),
      MakeToneSample("Bass", plan.bassTone),
      MakeToneSample("Pad", plan.padTone),
      MakeToneSample("Lead", plan.leadTone),
      plan.calm ? MakePluckSample("Bell", 81, 2.5, true, s + 5) : MakePluckSample("Pluck", 69, 1.2, false, s + 5),
      MakeShakerSample(s + 6),
  };
  const bool calm = plan.calm;
  m.instruments = {
      Voice("Kick", kInsKick, NewNoteAction::Cut, 0, {}),
      Voice("Snare", kInsSnare, NewNoteAction::Cut, 0, {}),
      Voice("Closed hat", kInsHat, NewNoteAction::Cut, 0, {}),
      Voice("Open hat", kInsOpenHat, NewNoteAction::Cut, 0, {}),
      Voice("Crash", kInsCrash, NewNoteAction::Continue, 0, {}, 100),
      Voice("Tom", kInsTom, NewNoteAction::Cut, 0, {}),
      Voice("Bass", kInsBass, NewNoteAction::Cut, 32, calm ? Swell(6, 52, 30, 20) : Swell(1, 50, 6, 4)),
      Voice("Pad", kInsPad, NewNoteAction::NoteOff, 4, calm ? Swell(48, 56, 40, 70) : Swell(14, 48, 24, 36), 90),
      Voice("Lead", kInsLead, NewNoteAction::NoteOff, 16, calm ? Swell(10, 52, 30, 30) : Swell(2, 50, 14, 10), 110),
      Voice("Arpeggio", kInsArp, NewNoteAction::NoteFade, calm ? 6 : 24, {}, calm ? 100 : 90),
      Voice("Shaker", kInsShaker, NewNoteAction::Cut, 0, {}),
  };
}

void Check(bool ok, const std::string& what) {
  if (!ok) throw std::invalid_argument("song plan: " + what);
}

}  // namespace

ItModule ComposeSong(const SongPlan& plan) {
  Check(plan.scale.size() == 7, plan.title + " needs seven scale degrees");
  Check(plan.chordsA.size() == kBars && plan.chordsB.size() == kBars && plan.chordsBreak.size() == kBars,
        plan.title + " needs four chords per progression");
  Check(!plan.form.empty() && plan.form.back() == Section::Outro, plan.title + " must end with its outro");

  ItModule m;
  m.name = plan.title;
  m.speed = 6;
  m.tempo = plan.tempo;
  // The songs play 19 dB below full scale: the loud effects stand clearly above them, and eight of
  // those started together over the loudest bar still leave the mix below full scale.
  m.globalVolume = 14;
  m.mixVolume = 48;
  //                kick snare hat perc bass pad0 pad1 pad2 lead arp echo
  m.channelPan = {32, 30, 40, 26, 32, 18, 32, 46, 30, 44, 14};
  m.channelVolume = {52, 56, 50, 40, plan.calm ? 38 : 50, 38, 38, 38, 56, 40, 44};
  AddInstruments(m, plan);

  Rng rng = MakeRng(plan.seed);
  Seeds seeds{NextBits(rng), NextBits(rng), NextBits(rng), NextBits(rng), NextBits(rng), NextBits(rng)};
  std::map<Section, int> patternOf;
  for (Section s : plan.form) {
    auto it = patternOf.find(s);
    if (it == patternOf.end()) {
      it = patternOf.emplace(s, static_cast<int>(m.patterns.size())).first;
      m.patterns.push_back(MakeSection(plan, s, seeds));
    }
    m.orders.push_back(it->second);
  }
  return m;
}

}  // namespace datagen
