// Ship definition files (.shp): plain text, one value per line, the meaning given by the line number.
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

struct GameFolders;

inline constexpr const char* kShipVersion10 = "Ship definion 1.0";
inline constexpr const char* kShipVersion11 = "Ship definion 1.1";
inline constexpr const char* kShipVersion12 = "Ship definion 1.2";
inline constexpr int kShipFileLines = 31;
inline constexpr int kMaxShipFiles = 256;
inline constexpr size_t kShipListLines = 6;  // the start-up scan reads up to the ship value

// The numeric value of a line: blanks skipped, the longest leading number (sign, digits, decimal
// point) taken, the rest ignored; a line that does not begin with a number counts as 0.
// Shared by the ship file and configuration file readers.
double LenientNumber(std::string_view line);
// A line as a truth value: the words "True" and "False" (any case, blanks around them allowed),
// otherwise true exactly when LenientNumber is not 0.
bool LenientTruth(std::string_view line);

// The number form of every file the game writes: a blank in front of a non-negative value (the
// place of the sign) and one blank after it: " 5 ", "-1 ".
std::string FormatFileNumber(long long value);

enum class ShipVersion { Unknown, V10, V11, V12 };
// Compares the first line exactly (case matters, no trimming).
ShipVersion DetectShipVersion(const std::string& firstLine);

// One ship design as the editor holds it and the writer writes it (lines 3 to 31).
struct ShipDefinition {
  std::string name = "Unnamed";        // line 3
  std::string picture = "trekkie.bmp"; // line 4
  int sizeClass = 0;                   // line 5: -1 Tiny, 0 Small, 1 Medium, 2 Large
  std::string value = "0";             // line 6, the ship value as text
  int laserReload = 1;                 // line 7
  int shotPower = 1;                   // line 8 (x10)
  int energyRate = 1;                  // line 9 (x100)
  int hull = 1;                        // line 10
  int shield = 0;                      // line 11
  int speed = 1;                       // line 12
  int mass = 1;                        // line 13
  int turningRate = 1;                 // line 14 (x10)
  int laserCannons = 0;                // line 15: 0..4; any other value (no option chosen) is written as 1
  int greenLaser = 0;                  // line 16; this and the other yes/no fields are written 1 when not 0
  int ionCannon = 0;                   // line 17
  int missileLauncher = 0;             // line 18
  int torpedoLauncher = 0;             // line 19
  int missiles = 0;                    // line 20
  int torpedoes = 0;                   // line 21
  int repairDroid = 0;                 // line 22
  int electroGun = 0;                  // line 24
  std::string markX = "0";             // line 25
  std::string markY = "0";             // line 26
  bool chaingun = false;               // "Chaingun" ticked; line 27 is 0 when it is not
  int chaingunAmmo = 0;                // the ammunition bar: line 27 when the chaingun is ticked, priced always
  int targeting = 0;                   // line 28
  int twinLaunchers = 0;               // line 29
  std::string ejectShip{};             // line 30, empty = none
  int launcherReload = 0;              // line 31
};

// The separator lines of the format.
inline constexpr const char* kShipSeparator1 = "=================";
inline constexpr const char* kShipSeparator2 = ":-)";

// The 31 lines of a version 1.2 file, each ended by CR LF.
std::string ShipFileText(const ShipDefinition& def);
// Writes the file atomically. False with a message naming the file when it cannot be written.
bool SaveShipFile(const std::filesystem::path& path, const ShipDefinition& def, std::string* error);

// The ship value the editor computes (single precision). `ejectValue` is the value of the
// escape ship, used when `hasEject` is true.
float ShipValue(const ShipDefinition& def, bool hasEject, float ejectValue);
// A ship value as line 6 holds it: a whole number without decimals ("100", "-50").
std::string ShipValueText(float value);
// A number written back as a line of text: plain decimals that read back as exactly the same
// number, never in exponent form ("12", "-3", "2.5", "0.00001").
std::string NumberLineText(double value);

// A ship file's fields as the battle uses them, after the game's conversions.
struct ShipLoadout {
  std::string spriteFile;
  double radius = 30;
  double laserReload = 1, shotEnergy = 0.1, energyRate = 0.01;
  double hull = 1, shield = 0, maxSpeed = 1, mass = 1, turnRate = 0.1;
  int laserPattern = 1;
  double laserKind = 0;
  bool hasIonCannon = false, hasMissiles = false, hasTorpedoes = false;
  double missiles = 0, torpedoes = 0;
  bool selfRepair = false, hasElectroGun = false, hasChaingun = false;
  double chaingunAmmo = 0;
  bool hasTargeting = false, twinLauncher = false;
  std::string ejectShipFile;
  uint8_t launcherReload = 100;
};

enum class ShipReadStatus { Ok, Missing, NotValid, TooShort };

// Reads a ship file for battle. With `checkVersion`, a first line other than version 1.2 gives
// NotValid. A missing file gives Missing, one with fewer than 31 lines TooShort.
// A file name that is not found exactly is looked up without regard to case in its folder.
// Line 31 outside 0..255 is pinned to the nearer end of the byte.
ShipReadStatus ReadShipForBattle(const std::filesystem::path& path, bool checkVersion, ShipLoadout* out);
// Reads a version 1.2 file back into a design the way the editor loads it: numbers rounded to
// whole numbers, line 15 values other than 0, 1, 3 and 4 taken as "Double" (2), line 27 above 0
// ticks the chaingun, line 30 as it stands; lines 6, 25 and 26 as their numbers written as text.
// Missing, NotValid (any other first line) or TooShort as for the battle loader.
ShipReadStatus ReadShipDefinition(const std::filesystem::path& path, ShipDefinition* out);

// The message for a failed read, naming the file: "Not a valid ship definion: " + name for NotValid.
std::string ShipReadMessage(ShipReadStatus status, const std::string& fileName);

// The ship list built at start-up.
struct ShipList {
  std::vector<std::string> files;  // bare names in listing order (at most 256)
  std::vector<std::string> names;  // line 3, lower-cased
  std::vector<double> values;      // line 6
  int lastShipIndex = 0;           // files.size() - 1, 0 when empty
  std::vector<std::string> unreadable;  // files that have fewer than 6 lines or cannot be opened
  int ignored = 0;                 // .shp files beyond the first 256
};
// Lists the *.shp files of `dir` (case-insensitive extension, name order) and reads lines 3 and 6.
// Files that cannot be read or have fewer than 6 lines are left out of the list (named in
// `unreadable`); the first 256 readable files are kept and the rest counted in `ignored`.
ShipList ScanShipFiles(const std::filesystem::path& dir);
// The same over the stock ships and the player's own: an own ship shadows a stock one of the same name.
ShipList ScanShipFiles(const GameFolders& folders);

}  // namespace quorvex
