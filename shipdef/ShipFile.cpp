#include "shipdef/ShipFile.h"

#include <algorithm>
#include <cctype>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <system_error>

#include "platform/DataFiles.h"
#include "platform/Files.h"
#include "platform/UserFolders.h"
#include "platform/Numbers.h"

namespace fs = std::filesystem;

namespace quorvex {

double LenientNumber(std::string_view line) {
  size_t i = 0;
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  bool negative = false;
  if (i < line.size() && (line[i] == '+' || line[i] == '-')) {
    negative = line[i] == '-';
    ++i;
  }
  const size_t start = i;
  bool point = false;
  bool digits = false;
  while (i < line.size()) {
    const char c = line[i];
    if (c >= '0' && c <= '9') {
      digits = true;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
    ++i;
  }
  if (!digits) return 0.0;
  double value = 0.0;
  const char* first = line.data() + start;
  const char* last = line.data() + i;
  const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::fixed);
  if (ec == std::errc::result_out_of_range) {
    // Thousands of digits: keep the number finite so later arithmetic stays defined. A value
    // below the smallest double is 0 for every purpose of the game.
    const char* firstNonZero = std::find_if(first, last, [](char c) { return c != '0' && c != '.'; });
    const char* pointAt = std::find(first, last, '.');
    value = (firstNonZero < pointAt) ? DBL_MAX : 0.0;
  } else if (ec != std::errc() || ptr != last) {
    value = 0.0;
  }
  return negative ? -value : value;
}

bool LenientTruth(std::string_view line) {
  size_t a = 0, b = line.size();
  while (a < b && (line[a] == ' ' || line[a] == '\t')) ++a;
  while (b > a && (line[b - 1] == ' ' || line[b - 1] == '\t')) --b;
  std::string word(line.substr(a, b - a));
  for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (word == "true") return true;
  if (word == "false") return false;
  return LenientNumber(line) != 0.0;
}

std::string FormatFileNumber(long long value) {
  std::string text(value < 0 ? "" : " ");  // the sign's place
  text += std::to_string(value);
  text += ' ';
  return text;
}

ShipVersion DetectShipVersion(const std::string& firstLine) {
  if (firstLine == kShipVersion12) return ShipVersion::V12;
  if (firstLine == kShipVersion11) return ShipVersion::V11;
  if (firstLine == kShipVersion10) return ShipVersion::V10;
  return ShipVersion::Unknown;
}

namespace {

int YesNo(int v) { return v != 0 ? 1 : 0; }

int LaserLine(int choice) {
  switch (choice) {
    case 0:
    case 2:
    case 3:
    case 4:
      return choice;
    default:
      return 1;
  }
}

}  // namespace

std::string ShipFileText(const ShipDefinition& def) {
  std::string out;
  auto text = [&](const std::string& s) { out += s; out += "\r\n"; };
  auto number = [&](long long v) { text(FormatFileNumber(v)); };
  text(kShipVersion12);                                  // 1
  text(kShipSeparator1);                                 // 2
  text(def.name);                                        // 3
  text(def.picture);                                     // 4
  number(def.sizeClass);                                 // 5
  text(def.value);                                       // 6
  number(def.laserReload);                               // 7
  number(def.shotPower);                                 // 8
  number(def.energyRate);                                // 9
  number(def.hull);                                      // 10
  number(def.shield);                                    // 11
  number(def.speed);                                     // 12
  number(def.mass);                                      // 13
  number(def.turningRate);                               // 14
  number(LaserLine(def.laserCannons));                   // 15
  number(YesNo(def.greenLaser));                         // 16
  number(YesNo(def.ionCannon));                          // 17
  number(YesNo(def.missileLauncher));                    // 18
  number(YesNo(def.torpedoLauncher));                    // 19
  number(def.missiles);                                  // 20
  number(def.torpedoes);                                 // 21
  number(YesNo(def.repairDroid));                        // 22
  text(kShipSeparator2);                                 // 23
  number(YesNo(def.electroGun));                         // 24
  text(def.markX);                                       // 25
  text(def.markY);                                       // 26
  number(def.chaingun ? def.chaingunAmmo : 0);           // 27
  number(YesNo(def.targeting));                          // 28
  number(YesNo(def.twinLaunchers));                      // 29
  text(def.ejectShip);                                   // 30
  number(def.launcherReload);                            // 31
  return out;
}

bool SaveShipFile(const fs::path& path, const ShipDefinition& def, std::string* error) {
  return WriteFileAtomically(path, ShipFileText(def), error);
}

float ShipValue(const ShipDefinition& def, bool hasEject, float ejectValue) {
  // Every step in single precision, the way the editor has always priced ships.
  auto f = [](int v) { return static_cast<float>(v); };
  const float sizePosition = f(def.sizeClass + 1);
  float total = (4.0f - sizePosition) * 30.0f + f(def.hull) * 2.25f + f(def.shield) * 2.75f +
                (101.0f - f(def.laserReload)) * 1.5f + f(def.shotPower) * 1.25f + f(def.energyRate) * 20.0f +
                f(def.speed) * 3.0f + (51.0f - f(def.mass)) * 3.0f + f(def.turningRate) * 5.0f;
  if (def.ionCannon != 0) total += 25.0f;
  if (def.missileLauncher != 0) total += 50.0f + f(def.missiles) * 15.0f;
  if (def.torpedoLauncher != 0) total += 50.0f + f(def.torpedoes) * 25.0f;
  if (def.repairDroid != 0) total += 50.0f;
  if (def.electroGun != 0) total += 75.0f;
  if (def.chaingun) total += 60.0f;
  total += f(def.chaingunAmmo) * 10.0f;
  const float steps = (total - 25.0f - 300.0f) / 17.0f;
  float value = static_cast<float>(nearest(steps)) * 5.0f;
  if (hasEject) {
    const float withEject = value + ejectValue * 0.95f;
    value = static_cast<float>(nearest(withEject));
  }
  return value;
}

namespace {

// Plain decimals, never an exponent: the lenient reader stops at an "e", so "1e-05" would read back
// as 1. The shortest digits that read back as the same number, padded with zeros as needed.
template <class T>
std::string PlainDecimal(T value) {
  if (!std::isfinite(value)) return "0";
  if (value == 0) return "0";  // also for minus zero
  char buf[400];  // the longest plain form of any double (smallest subnormal) fits
  const auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
  return ec == std::errc() ? std::string(buf, ptr) : "0";
}

}  // namespace

std::string ShipValueText(float value) { return PlainDecimal(value); }

std::string NumberLineText(double value) { return PlainDecimal(value); }

namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// Opens a file named in data: the exact name, or the folder's entry that matches without regard
// to case.
fs::path Resolve(const fs::path& path) {
  std::error_code ec;
  if (fs::exists(path, ec)) return path;
  return ResolveFileName(path.parent_path(), path.filename().string());
}

// The first lines a reader needs, never more: a huge file costs no more than that.
bool ReadLines(const fs::path& path, size_t count, std::vector<std::string>* lines) {
  return ReadTextLines(path, count, lines, nullptr);
}

// Rounds to a whole number and keeps it inside [lo, hi]; NaN counts as lo.
double Pinned(double v, double lo, double hi) {
  if (!(v == v)) return lo;
  return std::clamp(nearest(v), lo, hi);
}

}  // namespace

ShipReadStatus ReadShipForBattle(const fs::path& path, bool checkVersion, ShipLoadout* out) {
  std::vector<std::string> lines;
  if (!ReadLines(Resolve(path), kShipFileLines, &lines)) return ShipReadStatus::Missing;
  if (checkVersion) {
    const std::string first = lines.empty() ? std::string() : lines[0];
    if (first != kShipVersion12) return ShipReadStatus::NotValid;
  }
  if (static_cast<int>(lines.size()) < kShipFileLines) return ShipReadStatus::TooShort;

  auto num = [&](int lineNo) { return LenientNumber(lines[static_cast<size_t>(lineNo - 1)]); };
  ShipLoadout s;
  s.spriteFile = lines[3];
  const double size = num(5);
  s.radius = size == -1.0 ? 20.0 : size * 15.0 + 30.0;
  s.laserReload = num(7);
  s.shotEnergy = num(8) / 10.0;
  s.energyRate = num(9) / 100.0;
  s.hull = num(10);
  s.shield = num(11);
  s.maxSpeed = num(12);
  s.mass = num(13);
  s.turnRate = num(14) / 10.0;
  s.laserPattern = static_cast<int>(Pinned(num(15) + 1.0, -1e9, 1e9));
  s.laserKind = num(16);
  s.hasIonCannon = num(17) == 1.0;
  s.hasMissiles = num(18) == 1.0;
  s.hasTorpedoes = num(19) == 1.0;
  s.missiles = num(20);
  s.torpedoes = num(21);
  s.selfRepair = num(22) == 1.0;
  s.hasElectroGun = num(24) != 0.0;
  const double ammo = num(27);
  s.hasChaingun = ammo > 0.0;
  s.chaingunAmmo = ammo > 0.0 ? ammo : 0.0;
  s.hasTargeting = LenientTruth(lines[27]);
  s.twinLauncher = num(29) == 1.0;
  s.ejectShipFile = lines[29];
  s.launcherReload = static_cast<uint8_t>(Pinned(num(31), 0.0, 255.0));
  *out = std::move(s);
  return ShipReadStatus::Ok;
}

namespace {

// A whole number of a line, kept inside the range of an int.
int WholeNumber(const std::string& line) { return static_cast<int>(Pinned(LenientNumber(line), -2147483647.0, 2147483647.0)); }

// The number of a line written back as text: "12", "-3", "2.5", "0.00001".
std::string NumberText(const std::string& line) { return NumberLineText(LenientNumber(line)); }

}  // namespace

ShipReadStatus ReadShipDefinition(const fs::path& path, ShipDefinition* out) {
  std::vector<std::string> lines;
  if (!ReadLines(Resolve(path), kShipFileLines, &lines)) return ShipReadStatus::Missing;
  if (lines.empty() || lines[0] != kShipVersion12) return ShipReadStatus::NotValid;
  if (static_cast<int>(lines.size()) < kShipFileLines) return ShipReadStatus::TooShort;
  auto whole = [&](int lineNo) { return WholeNumber(lines[static_cast<size_t>(lineNo - 1)]); };
  ShipDefinition d;
  d.name = lines[2];
  d.picture = lines[3];
  d.sizeClass = whole(5);
  d.value = NumberText(lines[5]);
  d.laserReload = whole(7);
  d.shotPower = whole(8);
  d.energyRate = whole(9);
  d.hull = whole(10);
  d.shield = whole(11);
  d.speed = whole(12);
  d.mass = whole(13);
  d.turningRate = whole(14);
  const int cannons = whole(15);
  d.laserCannons = (cannons == 0 || cannons == 1 || cannons == 3 || cannons == 4) ? cannons : 2;
  d.greenLaser = whole(16);
  d.ionCannon = whole(17);
  d.missileLauncher = whole(18);
  d.torpedoLauncher = whole(19);
  d.missiles = whole(20);
  d.torpedoes = whole(21);
  d.repairDroid = whole(22);
  d.electroGun = whole(24);
  d.markX = NumberText(lines[24]);
  d.markY = NumberText(lines[25]);
  const double ammo = LenientNumber(lines[26]);
  d.chaingun = ammo > 0.0;
  d.chaingunAmmo = ammo > 0.0 ? whole(27) : 0;
  d.targeting = LenientTruth(lines[27]) ? 1 : 0;
  d.twinLaunchers = whole(29);
  d.ejectShip = lines[29];
  d.launcherReload = whole(31);
  *out = std::move(d);
  return ShipReadStatus::Ok;
}

std::string ShipReadMessage(ShipReadStatus status, const std::string& fileName) {
  switch (status) {
    case ShipReadStatus::Ok:
      return std::string();
    case ShipReadStatus::Missing:
      return "Cannot open the ship file: " + fileName;
    case ShipReadStatus::NotValid:
      return "Not a valid ship definion: " + fileName;
    case ShipReadStatus::TooShort:
      return "The ship file is incomplete (fewer than 31 lines): " + fileName;
  }
  return std::string();
}

ShipList ScanShipFiles(const fs::path& dir) { return ScanShipFiles(GameFolders{dir, dir}); }

ShipList ScanShipFiles(const GameFolders& folders) {
  ShipList list;
  for (const std::string& name : ListGameFiles(folders, ".shp")) {
    if (static_cast<int>(list.files.size()) >= kMaxShipFiles) {
      ++list.ignored;
      continue;
    }
    std::vector<std::string> lines;
    if (!ReadLines(FindGameFile(folders, name), kShipListLines, &lines) || lines.size() < kShipListLines) {
      list.unreadable.push_back(name);
      continue;
    }
    list.files.push_back(name);
    list.names.push_back(Lower(lines[2]));
    list.values.push_back(LenientNumber(lines[5]));
  }
  list.lastShipIndex = list.files.empty() ? 0 : static_cast<int>(list.files.size()) - 1;
  return list;
}

}  // namespace quorvex
