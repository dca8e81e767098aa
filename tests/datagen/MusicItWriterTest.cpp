// The Impulse Tracker writer, the instrument samples and the composer, checked against an
// independent reading of the format (the tracker's own unpacking rules, and libxmp).
#include <gtest/gtest.h>

#include <xmp.h>

#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/datagen/ModuleIt.h"
#include "tools/datagen/MusicCompose.h"
#include "tools/datagen/MusicSongs.h"
#include "tools/datagen/Synth.h"
#include "tools/datagen/SynthInstruments.h"

using namespace datagen;

namespace {

// Unpacks pattern rows the way Impulse Tracker's documentation describes: a channel byte, a mask
// (or the channel's previous mask), the values present, and flags reusing the channel's last values.
ItPattern Unpack(const std::string& data, int rows) {
  ItPattern p = MakePattern(rows);
  int lastMask[64] = {}, lastNote[64] = {}, lastIns[64] = {}, lastVol[64] = {}, lastFx[64] = {}, lastParam[64] = {};
  size_t pos = 0;
  auto next = [&]() -> int {
    if (pos >= data.size()) throw std::runtime_error("pattern data ends early");
    return static_cast<unsigned char>(data[pos++]);
  };
  for (int row = 0; row < rows;) {
    const int channelByte = next();
    if (channelByte == 0) {
      ++row;
      continue;
    }
    const int ch = (channelByte - 1) & 63;
    const int mask = (channelByte & 128) ? next() : lastMask[ch];
    lastMask[ch] = mask;
    ItCell& c = CellAt(p, row, ch);
    if (mask & 1) c.note = lastNote[ch] = next();
    if (mask & 2) c.instrument = lastIns[ch] = next();
    if (mask & 4) c.volume = lastVol[ch] = next();
    if (mask & 8) {
      c.effect = lastFx[ch] = next();
      c.param = lastParam[ch] = next();
    }
    if (mask & 16) c.note = lastNote[ch];
    if (mask & 32) c.instrument = lastIns[ch];
    if (mask & 64) c.volume = lastVol[ch];
    if (mask & 128) {
      c.effect = lastFx[ch];
      c.param = lastParam[ch];
    }
  }
  if (pos != data.size()) throw std::runtime_error("bytes left after the last row");
  return p;
}

bool SameCell(const ItCell& a, const ItCell& b) {
  return a.note == b.note && a.instrument == b.instrument && a.volume == b.volume && a.effect == b.effect &&
         (a.effect == 0 || a.param == b.param);
}

// Patterns with few distinct values, so that repeats (and the packer's shortcuts) are common.
ItPattern RandomPattern(uint64_t seed, int rows, int channels) {
  Rng rng = MakeRng(seed);
  ItPattern p = MakePattern(rows);
  for (int row = 0; row < rows; ++row) {
    for (int ch = 0; ch < channels; ++ch) {
      if (NextUnit(rng) < 0.4) continue;
      ItCell& c = CellAt(p, row, ch);
      if (NextUnit(rng) < 0.7) c.note = NextUnit(rng) < 0.1 ? kItNoteOff : 48 + NextInt(rng, 3);
      if (NextUnit(rng) < 0.6) c.instrument = 1 + NextInt(rng, 2);
      if (NextUnit(rng) < 0.5) c.volume = 32 * NextInt(rng, 3);
      if (NextUnit(rng) < 0.3) {
        c.effect = ItEffect('D') + NextInt(rng, 2);
        c.param = 16 * NextInt(rng, 2);
      }
    }
  }
  return p;
}

// A small two-pattern song: a looped, enveloped tone and a one-shot drum.
ItModule SmallModule() {
  ItModule m;
  m.name = "Test song";
  m.speed = 6;
  m.tempo = 125;
  m.channelPan = {32, 32, 32};
  ToneRecipe tone;
  tone.wave = Waveform::Sine;
  tone.baseNote = 57;
  tone.rate = 22050;
  m.samples = {MakeToneSample("Tone", tone), MakeKickSample(0.5)};
  ItInstrument lead;
  lead.name = "Lead";
  lead.sample = 1;
  lead.newNoteAction = NewNoteAction::NoteOff;
  lead.volumeEnvelope.nodes = {{0, 0}, {4, 64}, {10, 48}, {20, 0}};
  lead.volumeEnvelope.sustainNode = 2;
  ItInstrument drum;
  drum.name = "Drum";
  drum.sample = 2;
  m.instruments = {lead, drum};
  for (int i = 0; i < 2; ++i) {
    ItPattern p = MakePattern(32);
    for (int row = 0; row < 32; row += 4) {
      CellAt(p, row, 0) = ItCell{60 + i, 1, 30 + row, 0, 0};
      CellAt(p, row, 2) = ItCell{60, 2, -1, 0, 0};
    }
    CellAt(p, 30, 0).note = kItNoteOff;
    m.patterns.push_back(p);
  }
  m.orders = {0, 1, 0};
  return m;
}

struct LoadedModule {
  xmp_context ctx = xmp_create_context();
  bool ok = false;
  explicit LoadedModule(const std::string& bytes) {
    ok = xmp_load_module_from_memory(ctx, bytes.data(), static_cast<long>(bytes.size())) == 0;
  }
  ~LoadedModule() {
    if (ok) xmp_release_module(ctx);
    xmp_free_context(ctx);
  }
  const xmp_module* mod() {
    xmp_module_info info;
    xmp_get_module_info(ctx, &info);
    return info.mod;
  }
};

}  // namespace

TEST(ItWriter, PackedPatternsUnpackByTheTrackersRules) {
  for (uint64_t seed = 1; seed <= 20; ++seed) {
    SCOPED_TRACE(seed);
    const int channels = 1 + static_cast<int>(seed % 11);
    const int rows = 32 + static_cast<int>(seed * 7 % 100);
    const ItPattern original = RandomPattern(seed, rows, channels);
    const ItPattern back = Unpack(PackItPattern(original, channels), rows);
    for (int row = 0; row < rows; ++row) {
      for (int ch = 0; ch < channels; ++ch) {
        ASSERT_TRUE(SameCell(CellAt(original, row, ch), CellAt(back, row, ch))) << "row " << row << " channel " << ch;
      }
    }
  }
}

TEST(ItWriter, RepeatedNotesPackShorterThanNewOnes) {
  ItPattern same = MakePattern(64), changing = MakePattern(64);
  for (int row = 0; row < 64; ++row) {
    CellAt(same, row, 0) = ItCell{60, 1, 50, 0, 0};
    CellAt(changing, row, 0) = ItCell{row, 1 + row % 2, row, 0, 0};
  }
  // Once the mask repeats too, a repeated cell costs its channel byte only; a fresh one also its
  // three values. Each row ends with a zero.
  EXPECT_EQ(PackItPattern(same, 1).size(), 64u * 2 + 5);
  EXPECT_EQ(PackItPattern(changing, 1).size(), 64u * 5 + 1);
}

TEST(ItWriter, LibxmpReadsTheSongAsWritten) {
  const ItModule m = SmallModule();
  LoadedModule loaded(WriteItModule(m));
  ASSERT_TRUE(loaded.ok);
  const xmp_module* mod = loaded.mod();
  EXPECT_STREQ(mod->name, "Test song");
  // libxmp keeps the end mark as the last order.
  ASSERT_EQ(mod->len, 4);
  EXPECT_EQ(std::vector<int>(mod->xxo, mod->xxo + 4), (std::vector<int>{0, 1, 0, 255}));
  EXPECT_EQ(mod->pat, 2);
  EXPECT_EQ(mod->ins, 2);
  EXPECT_EQ(mod->smp, 2);
  EXPECT_EQ(mod->spd, 6);
  EXPECT_EQ(mod->bpm, 125);
  for (int p = 0; p < 2; ++p) {
    for (int ch = 0; ch < 3; ++ch) {
      const xmp_track* track = mod->xxt[mod->xxp[p]->index[ch]];
      for (int row = 0; row < 32; ++row) {
        const ItCell& c = CellAt(m.patterns[p], row, ch);
        const xmp_event& e = track->event[row];
        if (c.note == kItNoteOff) {
          EXPECT_EQ(e.note, XMP_KEY_OFF);
        } else {
          EXPECT_EQ(e.note, c.note < 0 ? 0 : c.note + 1) << "pattern " << p << " row " << row;
        }
        EXPECT_EQ(e.ins, c.instrument);
        EXPECT_EQ(e.vol, c.volume < 0 ? 0 : c.volume + 1);
      }
    }
  }
  const xmp_sample& tone = mod->xxs[0];
  EXPECT_EQ(tone.len, static_cast<int>(m.samples[0].data.size()));
  EXPECT_TRUE(tone.flg & XMP_SAMPLE_16BIT);
  EXPECT_TRUE(tone.flg & XMP_SAMPLE_LOOP);
  EXPECT_EQ(tone.lpe, m.samples[0].loopEnd);
  EXPECT_FALSE(mod->xxs[1].flg & XMP_SAMPLE_LOOP);
  const xmp_envelope& env = mod->xxi[0].aei;
  EXPECT_TRUE(env.flg & XMP_ENVELOPE_ON);
  EXPECT_TRUE(env.flg & (XMP_ENVELOPE_SUS | XMP_ENVELOPE_SLOOP));
  EXPECT_EQ(env.npt, 4);
  EXPECT_FALSE(mod->xxi[1].aei.flg & XMP_ENVELOPE_ON);
}

TEST(ItWriter, TheSongEndsWhenTheOrderListRunsOut) {
  LoadedModule loaded(WriteItModule(SmallModule()));
  ASSERT_TRUE(loaded.ok);
  ASSERT_EQ(xmp_start_player(loaded.ctx, 8000, XMP_FORMAT_MONO), 0);
  std::vector<char> buffer(1600);  // a tenth of a second
  double seconds = 0;
  while (xmp_play_buffer(loaded.ctx, buffer.data(), static_cast<int>(buffer.size()), 1) == 0 && seconds < 60) {
    seconds += 0.1;
  }
  xmp_end_player(loaded.ctx);
  // Three patterns of 32 rows, six ticks of 2.5 / 125 seconds a row.
  EXPECT_NEAR(seconds, 3 * 32 * 6 * 2.5 / 125, 0.15);
}

TEST(ItWriter, ModulesBreakingTheFormatAreRefused) {
  struct Case {
    const char* fault;
    void (*spoil)(ItModule&);
  };
  const Case cases[] = {
      {"order names a missing pattern", [](ItModule& m) { m.orders.push_back(7); }},
      {"no orders", [](ItModule& m) { m.orders.clear(); }},
      {"too few rows", [](ItModule& m) { m.patterns[0] = MakePattern(16); }},
      {"note in a disabled channel", [](ItModule& m) { CellAt(m.patterns[0], 0, 5).note = 60; }},
      {"note out of range", [](ItModule& m) { CellAt(m.patterns[0], 1, 0).note = 130; }},
      {"missing instrument", [](ItModule& m) { CellAt(m.patterns[0], 1, 0).instrument = 9; }},
      {"instrument without its sample", [](ItModule& m) { m.instruments[0].sample = 3; }},
      {"envelope ticks going back", [](ItModule& m) { m.instruments[0].volumeEnvelope.nodes[2].tick = 1; }},
      {"loop outside the sample", [](ItModule& m) { m.samples[0].loopEnd += 10; }},
      {"a hundred instruments", [](ItModule& m) { m.instruments.resize(100, m.instruments[1]); }},
  };
  EXPECT_NO_THROW(WriteItModule(SmallModule()));
  for (const Case& c : cases) {
    ItModule m = SmallModule();
    c.spoil(m);
    EXPECT_THROW(WriteItModule(m), std::invalid_argument) << c.fault;
  }
}

TEST(Instruments, SustainedTonesLoopWithoutAClickAndPlayInTune) {
  for (int baseNote : {45, 57, 69}) {
    for (Waveform wave : {Waveform::Sine, Waveform::Saw, Waveform::Square}) {
      SCOPED_TRACE(baseNote);
      ToneRecipe r;
      r.wave = wave;
      r.baseNote = baseNote;
      r.detuneHz = wave == Waveform::Saw ? 1 : 0;
      const ItSample s = MakeToneSample("Tone", r);
      ASSERT_EQ(s.loopStart, 0);
      ASSERT_EQ(s.loopEnd, static_cast<int>(s.data.size()));
      int largestStep = 0;
      for (size_t i = 1; i < s.data.size(); ++i) largestStep = std::max(largestStep, std::abs(s.data[i] - s.data[i - 1]));
      EXPECT_LE(std::abs(s.data.front() - s.data.back()), largestStep) << "the loop point jumps";
      if (wave != Waveform::Sine) continue;
      // A sine crosses zero twice a cycle: the loop holds one second, so this counts its hertz.
      int crossings = 0;
      for (size_t i = 1; i < s.data.size(); ++i) crossings += (s.data[i - 1] < 0) != (s.data[i] < 0);
      const double sampleHz = crossings / 2.0;
      const double heard = sampleHz * s.c5Speed * std::pow(2.0, (baseNote - 60) / 12.0) / r.rate;
      EXPECT_NEAR(heard / NoteFrequency(baseNote), 1.0, 0.003);
    }
  }
}

TEST(Composer, SongsFollowTheirFormAndRepeatedSectionsShareAPattern) {
  for (const SongFile& song : GameSongs()) {
    SCOPED_TRACE(song.file);
    const ItModule m = ComposeSong(song.plan);
    ASSERT_EQ(m.orders.size(), song.plan.form.size());
    for (size_t i = 0; i < m.orders.size(); ++i) {
      for (size_t j = 0; j < i; ++j) {
        EXPECT_EQ(song.plan.form[i] == song.plan.form[j], m.orders[i] == m.orders[j]);
      }
    }
    // The last pattern is the ending: every voice is silent before its final row.
    const ItPattern& outro = m.patterns[static_cast<size_t>(m.orders.back())];
    for (int ch = 0; ch < kItMaxChannels; ++ch) {
      for (int row = outro.rows - 8; row < outro.rows; ++row) EXPECT_LT(CellAt(outro, row, ch).note, 0);
    }
  }
}

TEST(Composer, MalformedPlansAreRefused) {
  const SongPlan good = GameSongs().front().plan;
  SongPlan noOutro = good, shortScale = good, fewChords = good;
  noOutro.form.pop_back();
  shortScale.scale.pop_back();
  fewChords.chordsB = {0, 1};
  EXPECT_NO_THROW(ComposeSong(good));
  for (const SongPlan* bad : {&noOutro, &shortScale, &fewChords}) EXPECT_THROW(ComposeSong(*bad), std::invalid_argument);
}
