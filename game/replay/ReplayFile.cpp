#include "game/replay/ReplayFile.h"

#include <charconv>
#include <cstdio>
#include <sstream>

#include "game/replay/StateHash.h"
#include "platform/DataFiles.h"
#include "platform/Files.h"

namespace quorvex {

namespace {

std::string ButtonsText(const JoystickState& s) {
  uint32_t bits = 0;
  for (int b = 0; b < 32; ++b) {
    if (s.buttons[b]) bits |= 1u << b;
  }
  char buf[16];
  std::snprintf(buf, sizeof buf, "%08x", bits);
  return buf;
}

template <class T>
bool Number(const std::string& token, T* v, int base = 10) {
  const char* end = token.data() + token.size();
  const auto res = std::from_chars(token.data(), end, *v, base);
  return !token.empty() && res.ec == std::errc() && res.ptr == end;
}

// Walks the text line by line; ship contents are taken by their byte count.
struct Reader {
  const std::string& text;
  size_t pos = 0;
  int lineNumber = 0;
  std::string problem;
  int64_t countedFrame = -1;  // the frame whose records are counted, and how many it has
  int recordsInFrame = 0;
  size_t shipBytes = 0;

  bool AtEnd() const { return pos >= text.size(); }
  bool Line(std::string* line) {
    const size_t nl = text.find('\n', pos);
    ++lineNumber;
    if (nl == std::string::npos) {
      problem = "is cut short (line " + std::to_string(lineNumber) + " has no end)";
      return false;
    }
    if (nl - pos > kMaxReplayLineBytes) {
      return Fail("the line is longer than " + std::to_string(kMaxReplayLineBytes) + " bytes");
    }
    *line = text.substr(pos, nl - pos);
    pos = nl + 1;
    return true;
  }
  bool Fail(const std::string& what) {
    problem = "is damaged at line " + std::to_string(lineNumber) + ": " + what;
    return false;
  }
};

// An armada holds at most 32 ships; a longer list marks a damaged file.
constexpr size_t kMaxArmadaNames = 32;

bool ParseFrame(Reader& r, const std::string& token, int64_t last, int64_t* frame) {
  if (!Number(token, frame) || *frame < 0 || *frame > kMaxReplayFrames) {
    return r.Fail("frame number \"" + token + "\" is out of range");
  }
  if (*frame < last) return r.Fail("frame " + token + " comes after frame " + std::to_string(last));
  if (*frame - last > kHashInterval) {
    return r.Fail("frame " + token + " lies beyond the records (the one before is at frame " + std::to_string(last) +
                  ", and a recording has one every " + std::to_string(kHashInterval) + " frames)");
  }
  if (*frame != r.countedFrame) {
    r.countedFrame = *frame;
    r.recordsInFrame = 0;
  }
  if (++r.recordsInFrame > kMaxRecordsPerFrame) {
    return r.Fail("frame " + token + " has more than " + std::to_string(kMaxRecordsPerFrame) + " records");
  }
  return true;
}

bool ParseRecord(Reader& r, const std::string& line, Replay* out, int64_t* last, bool* ended) {
  std::istringstream in(line);
  std::string kind, a, b, c, d, e;
  in >> kind;
  if (kind == "state") {
    std::string name, values;
    if (line.size() <= 6 || !SplitSnapshotLine(line.substr(6), &name, &values)) return r.Fail("a state line without a name");
    out->state.push_back(line.substr(6));
    return true;
  }
  if (kind == "ship") {
    size_t size = 0;
    std::string name;
    if (!(in >> a >> b) || !DecodeText(a, &name) || name.empty() || !Number(b, &size)) {
      return r.Fail("a ship line without a name and a size");
    }
    if (size > kMaxShipFileBytes) return r.Fail("ship file " + name + " claims " + b + " bytes");
    if (out->shipFiles.size() >= kMaxReplayShips && !out->shipFiles.count(name)) {
      return r.Fail("more than " + std::to_string(kMaxReplayShips) + " ship files");
    }
    r.shipBytes += size;
    if (r.shipBytes > kMaxReplayShipBytes) {
      return r.Fail("the ship files hold more than " + std::to_string(kMaxReplayShipBytes) + " bytes");
    }
    if (r.text.size() - r.pos < size + 1) {
      r.problem = "is cut short (ship file " + name + " is incomplete)";
      return false;
    }
    if (r.text[r.pos + size] != '\n') return r.Fail("ship file " + name + " is not " + b + " bytes long");
    out->shipFiles[name] = r.text.substr(r.pos, size);
    for (size_t i = r.pos; i < r.pos + size; ++i) r.lineNumber += r.text[i] == '\n';
    r.pos += size + 1;
    ++r.lineNumber;
    return true;
  }
  if (kind == "end" || kind == "cut") {
    int64_t frames = 0;
    if (!(in >> a) || !ParseFrame(r, a, *last, &frames)) return r.problem.empty() ? r.Fail("an end without a frame count") : false;
    out->frameCount = frames;
    out->finished = kind == "end";
    if (out->finished && (!(in >> b) || !Number(b, &out->finalHash, 16) || b.size() != 16)) {
      return r.Fail("an end without its state hash");
    }
    *ended = true;
    return true;
  }
  if (kind == "armada") {
    int player = 0;
    if (!(in >> a) || !Number(a, &player) || player < 1 || player > 2) return r.Fail("an armada without its player");
    std::vector<std::string>& names = out->armadas[static_cast<size_t>(player - 1)];
    names.clear();
    for (std::string name; in >> b;) {
      if (!DecodeText(b, &name) || name.empty() || names.size() >= kMaxArmadaNames) return r.Fail("a bad armada");
      names.push_back(name);
    }
    return true;
  }
  if (kind == "winner") {
    if (!(in >> a) || !Number(a, &out->winner) || out->winner < 0 || out->winner > 3) return r.Fail("a bad winner");
    return true;
  }
  int64_t frame = 0;
  if (kind != "k" && kind != "j" && kind != "t" && kind != "h" && kind != "d" && kind != "r") return r.Fail("unknown record \"" + kind + "\"");
  if (!(in >> a)) return r.Fail("a record without a frame");
  if (!ParseFrame(r, a, *last, &frame)) return false;
  *last = frame;
  if (kind == "h") {
    uint64_t hash = 0;
    if (!(in >> b) || b.size() != 16 || !Number(b, &hash, 16)) return r.Fail("a bad state hash");
    out->hashes[frame] = hash;
    return true;
  }
  if (kind == "t") {
    int32_t ticks = 0;
    if (!(in >> b) || !Number(b, &ticks)) return r.Fail("a bad clock reading");
    out->frames[frame].clock.push_back(ticks);
    return true;
  }
  if (kind == "d") {
    int player = 0, device = 0;
    if (!(in >> b >> c) || !Number(b, &player) || player < 0 || player > 1 || !Number(c, &device) || device < 0 ||
        device > 4) {
      return r.Fail("a bad input device");
    }
    out->frames[frame].devices.emplace_back(player, device);
    return true;
  }
  if (kind == "r") {
    ReplayFrame::Rest rest;
    if (!(in >> b >> c >> d) || !Number(b, &rest.slot) || rest.slot < 0 || rest.slot > 1 || !Number(c, &rest.x) ||
        !Number(d, &rest.y) || rest.x < -32768 || rest.x > 32767 || rest.y < -32768 || rest.y > 32767) {
      return r.Fail("a bad joystick rest position");
    }
    out->frames[frame].rests.push_back(rest);
    return true;
  }
  if (kind == "j") {
    int slot = 0;
    JoystickState s;
    uint32_t bits = 0;
    if (!(in >> b >> c >> d >> e) || !Number(b, &slot) || slot < 0 || slot > 1 || !Number(c, &s.x) ||
        !Number(d, &s.y) || s.x < -32768 || s.x > 32767 || s.y < -32768 || s.y > 32767 || e.size() != 8 ||
        !Number(e, &bits, 16)) {
      return r.Fail("a bad joystick state");
    }
    for (int i = 0; i < 32; ++i) s.buttons[i] = (bits >> i) & 1 ? 0x80 : 0;
    out->frames[frame].sticks.emplace_back(slot, s);
    return true;
  }
  // A key record holds at least one key: the recorder writes none for a frame without keys.
  if (!(in >> b)) return r.Fail("a key record without keys");
  ReplayFrame& f = out->frames[frame];
  do {
    int code = 0;
    if (b.size() < 2 || (b[0] != 'd' && b[0] != 'u') || !Number(b.substr(1), &code) || code < 0 || code > 0xFFFF) {
      return r.Fail("a bad key event \"" + b + "\"");
    }
    if (f.keys.size() >= kMaxReplayKeysPerFrame) {
      return r.Fail("frame " + a + " has more than " + std::to_string(kMaxReplayKeysPerFrame) + " key events");
    }
    f.keys.push_back({b[0] == 'd', code});
  } while (in >> b);
  return true;
}

// The problem of a first line that is not this version's; empty when it is.
std::string HeaderProblem(std::string line) {
  const std::string version = kReplayVersionLine;
  const std::string family = version.substr(0, version.rfind(' ') + 1);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (line == version) return std::string();
  if (line.rfind(family, 0) == 0 && line.size() < 40) {
    return "was recorded by another version of the game (\"" + line + "\"; this one plays \"" + version + "\")";
  }
  return "is not a Quorvex replay";
}

// Counts the record lines (ship contents skipped by their size) before anything is kept, so a file
// of millions of records is refused for the cost of one look at its bytes.
bool TooManyRecords(const std::string& text, std::string* problem) {
  int64_t records = 0;
  for (size_t pos = 0; pos < text.size();) {
    size_t nl = text.find('\n', pos);
    if (nl == std::string::npos) nl = text.size();
    if (text.compare(pos, 5, "ship ") == 0) {
      // "ship <name> <size>": the contents follow; a line that does not say so is the parser's to report.
      const size_t space = text.rfind(' ', nl);
      size_t size = 0;
      const auto res = std::from_chars(text.data() + space + 1, text.data() + nl, size);
      if (space > pos + 4 && res.ec == std::errc() && size <= kMaxShipFileBytes) nl += size + 1;
    }
    if (++records > kMaxReplayRecords + 1) {  // the version line is not a record
      *problem = "is damaged: it holds more than " + std::to_string(kMaxReplayRecords) + " records";
      return true;
    }
    pos = nl + 1;
  }
  return false;
}

// The first line: this version's, another version's, or no replay's at all.
bool VersionLine(Reader& r, std::string* problem) {
  std::string line;
  if (r.text.empty()) {
    *problem = "is empty";
    return false;
  }
  if (!r.Line(&line)) {
    *problem = "is not a Quorvex replay";
    return false;
  }
  *problem = HeaderProblem(line);
  return problem->empty();
}

bool IsFrameRecord(const std::string& line) {
  const std::string kind = line.substr(0, line.find(' '));
  return kind == "k" || kind == "j" || kind == "t" || kind == "h" || kind == "d" || kind == "r";
}

}  // namespace

std::string ReplayText(const Replay& r) {
  std::string out = std::string(kReplayVersionLine) + "\n";
  for (size_t p = 0; p < r.armadas.size(); ++p) {
    if (r.armadas[p].empty()) continue;
    out += "armada " + std::to_string(p + 1);
    for (const std::string& name : r.armadas[p]) out += " " + EncodeText(name);
    out += "\n";
  }
  if (r.winner >= 0) out += "winner " + std::to_string(r.winner) + "\n";
  for (const std::string& line : r.state) out += "state " + line + "\n";
  for (const auto& [name, bytes] : r.shipFiles) {
    out += "ship " + EncodeText(name) + " " + std::to_string(bytes.size()) + "\n" + bytes + "\n";
  }
  auto hash = r.hashes.begin();
  auto flushHashes = [&](int64_t upTo) {
    for (; hash != r.hashes.end() && hash->first <= upTo; ++hash) {
      out += "h " + std::to_string(hash->first) + " " + HashText(hash->second) + "\n";
    }
  };
  for (const auto& [frame, f] : r.frames) {
    flushHashes(frame - 1);
    const std::string at = std::to_string(frame);
    for (const auto& [slot, s] : f.sticks) {
      out += "j " + at + " " + std::to_string(slot) + " " + std::to_string(s.x) + " " + std::to_string(s.y) + " " +
             ButtonsText(s) + "\n";
    }
    for (const auto& [player, device] : f.devices) {
      out += "d " + at + " " + std::to_string(player) + " " + std::to_string(device) + "\n";
    }
    for (const ReplayFrame::Rest& rest : f.rests) {
      out += "r " + at + " " + std::to_string(rest.slot) + " " + std::to_string(rest.x) + " " + std::to_string(rest.y) + "\n";
    }
    for (int32_t ticks : f.clock) out += "t " + at + " " + std::to_string(ticks) + "\n";
    if (!f.keys.empty()) {
      out += "k " + at;
      for (const KeyEvent& k : f.keys) out += (k.down ? " d" : " u") + std::to_string(k.code);
      out += "\n";
    }
    flushHashes(frame);
  }
  flushHashes(kMaxReplayFrames);
  if (r.finished) {
    out += "end " + std::to_string(r.frameCount) + " " + HashText(r.finalHash) + "\n";
  } else {
    out += "cut " + std::to_string(r.frameCount) + "\n";
  }
  return out;
}

bool ParseReplay(const std::string& bytes, Replay* out, std::string* problem) {
  *out = Replay{};
  Reader r{bytes, 0, 0, {}};
  std::string line;
  if (!VersionLine(r, problem)) return false;
  if (bytes.size() > kMaxReplayBytes) {
    *problem = "is too large: " + std::to_string(bytes.size()) + " bytes, more than the " +
               std::to_string(kMaxReplayBytes) + " a replay may have";
    return false;
  }
  if (TooManyRecords(bytes, problem)) return false;
  int64_t last = 0;
  bool ended = false;
  while (!r.AtEnd()) {
    if (ended) {
      ++r.lineNumber;
      r.Fail("more records after the end");
      *problem = r.problem;
      return false;
    }
    if (!r.Line(&line) || !ParseRecord(r, line, out, &last, &ended)) {
      *problem = r.problem;
      return false;
    }
  }
  if (!ended) {
    *problem = "is cut short (it has no end line)";
    return false;
  }
  if (out->frameCount < last) {
    *problem = "is damaged: it ends at frame " + std::to_string(out->frameCount) + " before its records do";
    return false;
  }
  return true;
}

bool LoadReplay(const std::filesystem::path& file, Replay* out, std::string* error) {
  std::string bytes, problem;
  // The first line and the size say whether the file can be a replay at all, before it is read.
  std::vector<std::string> head;
  if (!ReadTextLines(file, 1, &head, error)) return false;
  std::error_code ec;
  const uintmax_t size = std::filesystem::file_size(file, ec);
  if (!head.empty() && !ec && size > kMaxReplayBytes) {
    problem = HeaderProblem(head[0]);
    if (problem.empty()) {
      problem = "is too large: " + std::to_string(size) + " bytes, more than the " + std::to_string(kMaxReplayBytes) +
                " a replay may have";
    }
    *error = "Replay " + file.string() + " " + problem;
    return false;
  }
  if (!ReadFileBytes(file, kMaxReplayBytes, &bytes, error)) return false;
  if (ParseReplay(bytes, out, &problem)) return true;
  *error = "Replay " + file.string() + " " + problem;
  return false;
}

bool ReadReplaySummary(const std::filesystem::path& file, ReplaySummary* out, std::string* problem) {
  *out = ReplaySummary{};
  std::string bytes, error;
  // The list looks at every file of the folder: one too large to be a replay is not read.
  std::error_code ec;
  const uintmax_t size = std::filesystem::file_size(file, ec);
  if (!ec && size > kMaxReplayBytes) {
    *problem = "is too large: " + std::to_string(size) + " bytes, more than the " + std::to_string(kMaxReplayBytes) +
               " a replay may have";
    return false;
  }
  if (!ReadFileBytes(file, kMaxReplayBytes, &bytes, &error)) {
    *problem = "cannot be read (" + error + ")";
    return false;
  }
  Reader r{bytes, 0, 0, {}};
  if (!VersionLine(r, problem)) return false;
  // The head: everything before the first frame record.
  Replay head;
  int64_t last = 0;
  bool ended = false;
  std::string line;
  while (!r.AtEnd() && !ended) {
    const size_t at = r.pos;
    if (!r.Line(&line)) break;  // a cut-short file: the end line below says so
    if (IsFrameRecord(line)) {
      r.pos = at;
      break;
    }
    if (!ParseRecord(r, line, &head, &last, &ended)) {
      *problem = r.problem;
      return false;
    }
  }
  // The end: the last line of the file.
  const size_t lastStart = bytes.size() < 2 ? 0 : bytes.rfind('\n', bytes.size() - 2);
  Reader tail{bytes, lastStart == std::string::npos ? 0 : lastStart + 1, 0, {}};
  const std::string kind = bytes.substr(tail.pos, bytes.find(' ', tail.pos) - tail.pos);
  if (bytes.back() != '\n' || (kind != "end" && kind != "cut") || tail.pos < r.pos) {
    *problem = "is cut short (it has no end line)";
    return false;
  }
  ended = false;
  if (!tail.Line(&line)) {
    *problem = tail.problem;
    return false;
  }
  // The records between are not read here, so the end's frame is held only to its range; playing
  // the replay checks it against them.
  std::istringstream end(line);
  std::string endKind, endFrame;
  end >> endKind >> endFrame;
  if (Number(endFrame, &last) && (last < 0 || last > kMaxReplayFrames)) last = 0;
  if (!ParseRecord(tail, line, &head, &last, &ended)) {
    *problem = tail.problem;
    return false;
  }
  for (const std::string& state : head.state) {
    std::string name, values;
    if (!SplitSnapshotLine(state, &name, &values)) continue;
    if (name == "trainingMode") out->training = values == "1";
    if (name == "options.frameInterval") Number(values, &out->frameInterval);
  }
  out->armadas = head.armadas;
  out->winner = head.winner;
  out->frames = head.frameCount;
  out->finished = head.finished;
  return true;
}

}  // namespace quorvex
