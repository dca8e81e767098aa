#include "game/config/ConfigFiles.h"

#include <algorithm>
#include <cmath>
#include <system_error>

#include "platform/DataFiles.h"
#include "platform/Files.h"
#include "platform/Numbers.h"
#include "shipdef/ShipFile.h"

namespace fs = std::filesystem;

namespace quorvex {

namespace {

// The numeric value of line `lineNo` (1-based), or nothing when the file is shorter.
struct Lines {
  const std::vector<std::string>& text;
  bool has(int lineNo) const { return lineNo >= 1 && static_cast<size_t>(lineNo) <= text.size(); }
  double number(int lineNo) const { return LenientNumber(text[static_cast<size_t>(lineNo - 1)]); }
  bool truth(int lineNo) const { return LenientTruth(text[static_cast<size_t>(lineNo - 1)]); }
};

// Rounded to a whole number (halves to even) and held inside [lo, hi]: a value that does not fit
// its field takes the nearer end instead of wrapping.
double Fit(double v, double lo, double hi) {
  if (!(v == v)) return lo;
  return std::clamp(nearest(v), lo, hi);
}

long long Whole(double v) { return static_cast<long long>(Fit(v, -9e18, 9e18)); }

std::string Line(long long v) { return FormatFileNumber(v) + "\r\n"; }

}  // namespace

Options ParseOptions(const std::vector<std::string>& text) {
  const Lines l{text};
  Options o;
  if (l.has(1) && l.number(1) == 0) o.soundOn = false;
  if (l.has(2)) o.starCount = l.number(2);
  if (l.has(3) && l.number(3) == 0) o.sparksOn = false;
  if (l.has(4) && l.number(4) == 0) o.backgroundZoom = false;
  if (l.has(5) && l.number(5) == 0) o.engineTrails = false;
  if (l.has(6) && l.number(6) == 0) o.musicOn = false;
  if (l.has(7)) o.frameInterval = static_cast<uint8_t>(Fit(l.number(7), 0, 255));
  // Line 8 once switched something that is now always on: read past it.
  if (l.has(9) && l.number(9) == 0) o.effectRop = kRopSrcCopy;
  if (l.has(10)) o.musicVolume = static_cast<int>(Fit(l.number(10), -2147483647.0, 2147483647.0));
  if (l.has(11)) o.soundVolume = static_cast<int>(Fit(l.number(11), -2147483647.0, 2147483647.0));
  if (l.has(12)) o.gravityOn = l.number(12) == 1;
  if (l.has(13)) o.debrisOn = l.number(13) == 1;
  for (int i = 0; i < 9; ++i) {
    if (l.has(14 + i)) o.criticalsOn[static_cast<size_t>(i)] = l.truth(14 + i);
  }
  return o;
}

KeyTable ParseKeys(const std::vector<std::string>& text) {
  const Lines l{text};
  KeyTable k;
  for (int i = 0; i < 7; ++i) {
    if (l.has(1 + i)) k.player1[static_cast<size_t>(i)] = l.number(1 + i);
    if (l.has(8 + i)) k.player2[static_cast<size_t>(i)] = static_cast<int16_t>(Fit(l.number(8 + i), -32768, 32767));
  }
  return k;
}

DeviceConfig ParseDevice(const std::vector<std::string>& text) {
  const Lines l{text};
  DeviceConfig d;
  // Kept as a byte; a device number the game does not know (3 and up) falls back to the keyboard
  // rather than leaving the player without controls.
  auto device = [&](int lineNo) {
    const int v = static_cast<int>(Fit(l.number(lineNo), 0, 255));
    return v <= 2 ? v : 0;
  };
  if (l.has(1)) d.player1 = device(1);
  if (l.has(2)) d.player2 = device(2);
  return d;
}

std::string OptionsFileText(const Options& o) {
  std::string s;
  s += Line(o.soundOn ? 1 : 0);
  s += Line(Whole(o.starCount));
  s += Line(o.sparksOn ? 1 : 0);
  s += Line(o.backgroundZoom ? 1 : 0);
  s += Line(o.engineTrails ? 1 : 0);
  s += Line(o.musicOn ? 1 : 0);
  s += Line(o.frameInterval);
  s += Line(0);
  s += Line(o.effectRop == kRopSrcCopy ? 0 : 1);
  s += Line(o.musicVolume);
  s += Line(o.soundVolume);
  s += Line(o.gravityOn ? 1 : 0);
  s += Line(o.debrisOn ? 1 : 0);
  for (bool on : o.criticalsOn) s += Line(on ? 1 : 0);
  return s;
}

std::string KeysFileText(const KeyTable& k) {
  std::string s;
  for (double v : k.player1) s += Line(Whole(v));
  for (int16_t v : k.player2) s += Line(v);
  return s;
}

std::string DeviceFileText(const DeviceConfig& d) { return Line(d.player1) + Line(d.player2); }

DisplayConfig ParseDisplay(const std::vector<std::string>& text) {
  const Lines l{text};
  DisplayConfig d;
  if (l.has(1)) d.fullScreen = l.truth(1);
  if (l.has(2)) d.smooth = l.truth(2);
  return d;
}

std::string DisplayFileText(const DisplayConfig& d) { return Line(d.fullScreen ? 1 : 0) + Line(d.smooth ? 1 : 0); }

int ParsePilot(const std::vector<std::string>& text) {
  const Lines l{text};
  if (!l.has(1)) return kPilotNormal;
  const double v = l.number(1);
  return v == kPilotEasy || v == kPilotHard ? static_cast<int>(v) : kPilotNormal;
}

std::string PilotFileText(int level) { return Line(level == kPilotEasy || level == kPilotHard ? level : kPilotNormal); }

namespace {

// The file's own name when it differs from `path` in case only.
fs::path Resolve(const fs::path& path) {
  std::error_code ec;
  if (fs::exists(path, ec)) return path;
  return ResolveFileName(path.parent_path(), path.filename().string());
}

template <class T, class Parse, class Text>
ConfigLoad Load(const fs::path& requested, size_t lineCount, Parse parse, Text text, T* out, std::string* message) {
  const fs::path path = Resolve(requested);
  std::string error;
  std::error_code ec;
  if (!fs::exists(path, ec)) {
    *out = parse(std::vector<std::string>());
    if (!WriteFileAtomically(path, text(*out), &error)) {
      if (message) *message = error;
      return ConfigLoad::Failed;
    }
    return ConfigLoad::Created;
  }
  // Only the lines the file format has are read, however long the file is.
  std::vector<std::string> lines;
  if (!fs::is_regular_file(path, ec) || !ReadTextLines(path, lineCount, &lines, &error)) {
    *out = parse(std::vector<std::string>());
    if (message) *message = "Cannot read " + path.string() + "; the default settings are used";
    return ConfigLoad::Failed;
  }
  *out = parse(lines);
  if (lines.size() >= lineCount) return ConfigLoad::Read;

  // Keep what the user wrote and add the missing lines as a new file would hold them.
  const std::vector<std::string> defaults = SplitLines(text(T{}));
  std::string completed;
  for (const std::string& line : lines) completed += line + "\r\n";
  for (size_t i = lines.size(); i < lineCount && i < defaults.size(); ++i) completed += defaults[i] + "\r\n";
  if (!WriteFileAtomically(path, completed, &error)) {
    if (message) *message = error;
    return ConfigLoad::Failed;
  }
  return ConfigLoad::Completed;
}

}  // namespace

ConfigLoad LoadOptionsFile(const fs::path& path, Options* out, std::string* message) {
  return Load(path, kOptionsLines, ParseOptions, OptionsFileText, out, message);
}

ConfigLoad LoadKeysFile(const fs::path& path, KeyTable* out, std::string* message) {
  return Load(path, kKeysLines, ParseKeys, KeysFileText, out, message);
}

ConfigLoad LoadDeviceFile(const fs::path& path, DeviceConfig* out, std::string* message) {
  return Load(path, kDeviceLines, ParseDevice, DeviceFileText, out, message);
}

namespace {

// The lines the file format has, never more (as start-up reads them).
std::vector<std::string> LinesOf(const fs::path& path, size_t lineCount) {
  std::vector<std::string> lines;
  if (!ReadTextLines(Resolve(path), lineCount, &lines, nullptr)) return {};
  return lines;
}

}  // namespace

Options ReadOptionsFile(const fs::path& path) { return ParseOptions(LinesOf(path, kOptionsLines)); }
KeyTable ReadKeysFile(const fs::path& path) { return ParseKeys(LinesOf(path, kKeysLines)); }
DeviceConfig ReadDeviceFile(const fs::path& path) { return ParseDevice(LinesOf(path, kDeviceLines)); }
DisplayConfig ReadDisplayFile(const fs::path& path) { return ParseDisplay(LinesOf(path, kDisplayLines)); }
int ReadPilotFile(const fs::path& path) { return ParsePilot(LinesOf(path, kPilotLines)); }

bool SaveOptionsFile(const fs::path& path, const Options& options, std::string* error) {
  return WriteFileAtomically(Resolve(path), OptionsFileText(options), error);
}

bool SaveKeysFile(const fs::path& path, const KeyTable& keys, std::string* error) {
  return WriteFileAtomically(Resolve(path), KeysFileText(keys), error);
}

bool SaveDeviceFile(const fs::path& path, const DeviceConfig& device, std::string* error) {
  return WriteFileAtomically(Resolve(path), DeviceFileText(device), error);
}

bool SaveDisplayFile(const fs::path& path, const DisplayConfig& display, std::string* error) {
  return WriteFileAtomically(Resolve(path), DisplayFileText(display), error);
}

bool SavePilotFile(const fs::path& path, int level, std::string* error) {
  return WriteFileAtomically(Resolve(path), PilotFileText(level), error);
}

}  // namespace quorvex
