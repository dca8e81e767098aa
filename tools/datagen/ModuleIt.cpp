#include "tools/datagen/ModuleIt.h"

#include <algorithm>
#include <stdexcept>

namespace datagen {
namespace {

constexpr int kTrackerVersion = 0x0214;
constexpr int kHeaderSize = 0xC0;
constexpr int kInstrumentSize = 554;
constexpr int kSampleHeaderSize = 80;
constexpr int kEnvelopeSize = 82;
constexpr int kMaxEnvelopeNodes = 25;

void PutU8(std::string& out, int v) { out.push_back(static_cast<char>(v & 0xFF)); }
void PutU16(std::string& out, int v) {
  PutU8(out, v);
  PutU8(out, v >> 8);
}
void PutU32(std::string& out, uint32_t v) {
  PutU16(out, static_cast<int>(v & 0xFFFF));
  PutU16(out, static_cast<int>(v >> 16));
}
// A fixed-size text field, NUL padded; one byte is always left for the terminating NUL.
void PutText(std::string& out, const std::string& text, size_t size) {
  const std::string cut = text.substr(0, size - 1);
  out += cut;
  out.append(size - cut.size(), '\0');
}

void Require(bool ok, const std::string& what) {
  if (!ok) throw std::invalid_argument("Impulse Tracker module: " + what);
}

int ChannelCount(const ItModule& m) { return static_cast<int>(m.channelPan.size()); }

void Validate(const ItModule& m) {
  const int channels = ChannelCount(m);
  Require(channels >= 1 && channels <= kItMaxChannels, "needs 1 to 64 channels");
  Require(m.channelVolume.size() <= m.channelPan.size(), "more channel volumes than channels");
  Require(!m.orders.empty() && m.orders.size() <= 255, "needs 1 to 255 orders");
  Require(m.instruments.size() <= 99 && m.samples.size() <= 99, "at most 99 instruments and 99 samples");
  Require(!m.patterns.empty() && m.patterns.size() <= 200, "needs 1 to 200 patterns");
  Require(m.speed >= 1 && m.speed <= 255 && m.tempo >= 32 && m.tempo <= 255, "speed or tempo out of range");
  Require(m.globalVolume >= 0 && m.globalVolume <= 128 && m.mixVolume >= 0 && m.mixVolume <= 128,
          "global or mix volume out of range");
  for (int pan : m.channelPan) Require(pan >= 0 && pan <= 64, "channel pan out of range");
  for (int vol : m.channelVolume) Require(vol >= 0 && vol <= 64, "channel volume out of range");
  for (int order : m.orders) {
    Require(order >= 0 && order < static_cast<int>(m.patterns.size()), "order names a missing pattern");
  }
  for (const ItInstrument& ins : m.instruments) {
    Require(ins.sample >= 1 && ins.sample <= static_cast<int>(m.samples.size()), "instrument " + ins.name + " names a missing sample");
    Require(ins.fadeOut >= 0 && ins.fadeOut <= 128 && ins.globalVolume >= 0 && ins.globalVolume <= 128,
            "instrument " + ins.name + " has a fade or volume out of range");
    const auto& nodes = ins.volumeEnvelope.nodes;
    Require(nodes.size() <= kMaxEnvelopeNodes, "envelope of " + ins.name + " has too many nodes");
    for (size_t i = 0; i < nodes.size(); ++i) {
      Require(nodes[i].value >= 0 && nodes[i].value <= 64 && nodes[i].tick >= 0 && nodes[i].tick <= 9999,
              "envelope of " + ins.name + " out of range");
      Require(i == 0 || nodes[i].tick > nodes[i - 1].tick, "envelope ticks of " + ins.name + " must rise");
    }
    Require(ins.volumeEnvelope.sustainNode < static_cast<int>(nodes.size()), "sustain node of " + ins.name + " missing");
  }
  for (const ItSample& s : m.samples) {
    const int length = static_cast<int>(s.data.size());
    Require(s.loopEnd <= s.loopStart || (s.loopStart >= 0 && s.loopEnd <= length), "loop of sample " + s.name + " outside it");
    Require(s.c5Speed > 0 && s.c5Speed <= 9999999 && s.volume >= 0 && s.volume <= 64, "sample " + s.name + " rate or volume out of range");
  }
  const int instrumentCount = static_cast<int>(m.instruments.size());
  for (const ItPattern& p : m.patterns) {
    Require(p.rows >= 32 && p.rows <= 200, "patterns need 32 to 200 rows");
    Require(p.cells.size() == static_cast<size_t>(p.rows) * kItMaxChannels, "pattern cells do not match its rows");
    for (int row = 0; row < p.rows; ++row) {
      for (int ch = 0; ch < kItMaxChannels; ++ch) {
        const ItCell& c = CellAt(p, row, ch);
        const bool empty = c.note < 0 && c.instrument == 0 && c.volume < 0 && c.effect == 0;
        Require(empty || ch < channels, "a note lies in a disabled channel");
        Require(c.note < 0 || c.note <= 119 || c.note == kItNoteCut || c.note == kItNoteOff, "note out of range");
        Require(c.instrument >= 0 && c.instrument <= instrumentCount, "a note names a missing instrument");
        Require(c.volume <= 64 && c.effect >= 0 && c.effect <= 26 && c.param >= 0 && c.param <= 255,
                "volume or effect out of range");
      }
    }
  }
}

void PutEnvelope(std::string& out, const ItEnvelope& env) {
  const size_t start = out.size();
  const int count = static_cast<int>(env.nodes.size());
  int flags = count > 0 ? 1 : 0;
  if (count > 0 && env.sustainNode >= 0) flags |= 4;
  PutU8(out, flags);
  PutU8(out, count);
  PutU8(out, 0);  // loop start
  PutU8(out, 0);  // loop end
  PutU8(out, std::max(env.sustainNode, 0));
  PutU8(out, std::max(env.sustainNode, 0));
  for (int i = 0; i < kMaxEnvelopeNodes; ++i) {
    const ItEnvelopeNode node = i < count ? env.nodes[i] : ItEnvelopeNode{0, 0};
    PutU8(out, node.value);
    PutU16(out, node.tick);
  }
  out.resize(start + kEnvelopeSize, '\0');
}

std::string InstrumentBytes(const ItInstrument& ins) {
  std::string out;
  out += "IMPI";
  PutText(out, "", 12);  // DOS file name
  PutU8(out, 0);
  PutU8(out, static_cast<int>(ins.newNoteAction));
  PutU8(out, 0);  // duplicate check off
  PutU8(out, 0);
  PutU16(out, ins.fadeOut);
  PutU8(out, 0);    // pitch-pan separation
  PutU8(out, 60);   // pitch-pan centre C-5
  PutU8(out, ins.globalVolume);
  PutU8(out, 128 | 32);  // default pan not used
  PutU8(out, 0);    // random volume
  PutU8(out, 0);    // random pan
  PutU16(out, kTrackerVersion);
  PutU8(out, 1);    // samples used
  PutU8(out, 0);
  PutText(out, ins.name, 26);
  PutU8(out, 0);    // filter cutoff (off)
  PutU8(out, 0);    // filter resonance (off)
  PutU8(out, 0);    // MIDI channel
  PutU8(out, 255);  // MIDI program: none
  PutU16(out, 0xFFFF);  // MIDI bank: none
  for (int note = 0; note < 120; ++note) {
    PutU8(out, note);
    PutU8(out, ins.sample);
  }
  PutEnvelope(out, ins.volumeEnvelope);
  PutEnvelope(out, ItEnvelope{});  // panning
  PutEnvelope(out, ItEnvelope{});  // pitch
  out.resize(kInstrumentSize, '\0');
  return out;
}

std::string SampleHeaderBytes(const ItSample& s, uint32_t dataOffset) {
  const bool loop = s.loopEnd > s.loopStart;
  std::string out;
  out += "IMPS";
  PutText(out, "", 12);
  PutU8(out, 0);
  PutU8(out, 64);  // global volume
  PutU8(out, 1 | 2 | (loop ? 16 : 0));  // has data, 16-bit, loop
  PutU8(out, s.volume);
  PutText(out, s.name, 26);
  PutU8(out, 1);   // signed samples
  PutU8(out, 32);  // default pan, not used
  PutU32(out, static_cast<uint32_t>(s.data.size()));
  PutU32(out, static_cast<uint32_t>(loop ? s.loopStart : 0));
  PutU32(out, static_cast<uint32_t>(loop ? s.loopEnd : 0));
  PutU32(out, static_cast<uint32_t>(s.c5Speed));
  PutU32(out, 0);  // sustain loop
  PutU32(out, 0);
  PutU32(out, dataOffset);
  PutU8(out, s.vibratoSpeed);
  PutU8(out, s.vibratoDepth);
  PutU8(out, s.vibratoRate);
  PutU8(out, 0);  // sine
  return out;
}

}  // namespace

ItPattern MakePattern(int rows) {
  ItPattern p;
  p.rows = rows;
  p.cells.assign(static_cast<size_t>(std::max(rows, 0)) * kItMaxChannels, ItCell{});
  return p;
}

ItCell& CellAt(ItPattern& p, int row, int channel) {
  return p.cells.at(static_cast<size_t>(row) * kItMaxChannels + static_cast<size_t>(channel));
}

const ItCell& CellAt(const ItPattern& p, int row, int channel) {
  return p.cells.at(static_cast<size_t>(row) * kItMaxChannels + static_cast<size_t>(channel));
}

std::string PackItPattern(const ItPattern& pattern, int channelCount) {
  // What the reader remembers per channel within one pattern: the last mask and the last values
  // that were stored explicitly. A repeat of either is written as a flag instead of the bytes.
  struct Memory {
    int mask = -1, note = -1, instrument = -1, volume = -1, effect = -1, param = -1;
  };
  std::vector<Memory> memory(static_cast<size_t>(channelCount));
  std::string out;
  for (int row = 0; row < pattern.rows; ++row) {
    for (int ch = 0; ch < channelCount; ++ch) {
      const ItCell& c = CellAt(pattern, row, ch);
      Memory& m = memory[static_cast<size_t>(ch)];
      int mask = 0;
      std::string values;
      if (c.note >= 0) {
        if (c.note == m.note) {
          mask |= 16;
        } else {
          mask |= 1;
          PutU8(values, c.note);
          m.note = c.note;
        }
      }
      if (c.instrument > 0) {
        if (c.instrument == m.instrument) {
          mask |= 32;
        } else {
          mask |= 2;
          PutU8(values, c.instrument);
          m.instrument = c.instrument;
        }
      }
      if (c.volume >= 0) {
        if (c.volume == m.volume) {
          mask |= 64;
        } else {
          mask |= 4;
          PutU8(values, c.volume);
          m.volume = c.volume;
        }
      }
      if (c.effect > 0) {
        if (c.effect == m.effect && c.param == m.param) {
          mask |= 128;
        } else {
          mask |= 8;
          PutU8(values, c.effect);
          PutU8(values, c.param);
          m.effect = c.effect;
          m.param = c.param;
        }
      }
      if (mask == 0) continue;
      if (mask == m.mask) {
        PutU8(out, ch + 1);
      } else {
        PutU8(out, (ch + 1) | 128);
        PutU8(out, mask);
        m.mask = mask;
      }
      out += values;
    }
    PutU8(out, 0);  // end of row
  }
  return out;
}

std::string WriteItModule(const ItModule& m) {
  Validate(m);
  const int channels = ChannelCount(m);
  std::vector<int> orders = m.orders;
  orders.push_back(kItOrderEnd);

  const int insCount = static_cast<int>(m.instruments.size());
  const int smpCount = static_cast<int>(m.samples.size());
  const int patCount = static_cast<int>(m.patterns.size());

  std::vector<std::string> packed;
  for (const ItPattern& p : m.patterns) {
    std::string data = PackItPattern(p, channels);
    Require(data.size() + 8 < 65536, "a pattern packs to 64 KB or more");
    std::string block;
    PutU16(block, static_cast<int>(data.size()));
    PutU16(block, p.rows);
    PutU32(block, 0);
    packed.push_back(block + data);
  }

  // Layout: header, order list, offset tables, instruments, sample headers, patterns, sample data.
  uint32_t offset = static_cast<uint32_t>(kHeaderSize + orders.size() + 4 * (insCount + smpCount + patCount));
  std::vector<uint32_t> insOffsets, smpOffsets, patOffsets, dataOffsets;
  for (int i = 0; i < insCount; ++i, offset += kInstrumentSize) insOffsets.push_back(offset);
  for (int i = 0; i < smpCount; ++i, offset += kSampleHeaderSize) smpOffsets.push_back(offset);
  for (const std::string& p : packed) {
    patOffsets.push_back(offset);
    offset += static_cast<uint32_t>(p.size());
  }
  for (const ItSample& s : m.samples) {
    dataOffsets.push_back(offset);
    offset += static_cast<uint32_t>(s.data.size() * 2);
  }

  std::string out;
  out.reserve(offset);
  out += "IMPM";
  PutText(out, m.name, 26);
  PutU8(out, m.rowsPerBeat);
  PutU8(out, m.rowsPerMeasure);
  PutU16(out, static_cast<int>(orders.size()));
  PutU16(out, insCount);
  PutU16(out, smpCount);
  PutU16(out, patCount);
  PutU16(out, kTrackerVersion);
  PutU16(out, kTrackerVersion);
  PutU16(out, 1 | 4 | 8);  // stereo, instruments, linear slides
  PutU16(out, 0);          // no message
  PutU8(out, m.globalVolume);
  PutU8(out, m.mixVolume);
  PutU8(out, m.speed);
  PutU8(out, m.tempo);
  PutU8(out, 128);  // full stereo separation
  PutU8(out, 0);    // pitch wheel depth
  PutU16(out, 0);   // message length
  PutU32(out, 0);   // message offset
  PutU32(out, 0);
  for (int ch = 0; ch < kItMaxChannels; ++ch) PutU8(out, ch < channels ? m.channelPan[ch] : 128 | 32);
  for (int ch = 0; ch < kItMaxChannels; ++ch) {
    PutU8(out, ch < static_cast<int>(m.channelVolume.size()) ? m.channelVolume[ch] : 64);
  }
  for (int order : orders) PutU8(out, order);
  for (uint32_t o : insOffsets) PutU32(out, o);
  for (uint32_t o : smpOffsets) PutU32(out, o);
  for (uint32_t o : patOffsets) PutU32(out, o);
  for (const ItInstrument& ins : m.instruments) out += InstrumentBytes(ins);
  for (int i = 0; i < smpCount; ++i) out += SampleHeaderBytes(m.samples[i], dataOffsets[i]);
  for (const std::string& p : packed) out += p;
  for (const ItSample& s : m.samples) {
    for (int16_t v : s.data) PutU16(out, static_cast<uint16_t>(v));
  }
  return out;
}

}  // namespace datagen
