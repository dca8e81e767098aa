// The three configuration files beside the program: options.cfg, keys.cfg and device.cfg.
// Plain text, one value per line, CR LF; numbers written " n " and read leniently.
#pragma once
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace quorvex {

inline constexpr const char* kOptionsFile = "options.cfg";
inline constexpr const char* kKeysFile = "keys.cfg";
inline constexpr const char* kDeviceFile = "device.cfg";
inline constexpr int kOptionsLines = 22;
inline constexpr int kKeysLines = 14;
inline constexpr int kDeviceLines = 2;
// display.cfg: how the game window is shown. A file of its own, so options.cfg keeps the 22 lines
// other installations read.
inline constexpr const char* kDisplayFile = "display.cfg";
inline constexpr int kDisplayLines = 2;

// Raster operations of the effect blits (options.cfg line 9).
inline constexpr uint32_t kRopSrcPaint = 0xEE0086;  // source ORed onto the destination
inline constexpr uint32_t kRopSrcCopy = 0xCC0020;   // plain copy

// options.cfg. The member values are what a missing line gives and what a new file holds.
struct Options {
  bool soundOn = true;                 // line 1: exactly 0 turns it off
  double starCount = 0;                // line 2: moving stars
  bool sparksOn = true;                // line 3: "Explosion clusters", exactly 0 turns them off
  bool backgroundZoom = true;          // line 4: exactly 0 turns it off
  bool engineTrails = true;            // line 5: exactly 0 turns them off
  bool musicOn = true;                 // line 6: exactly 0 turns it off
  uint8_t frameInterval = 20;          // line 7: "Framerate", ms between frames, rounded into a byte
                                       // line 8: reserved, read and ignored, written as 0
  uint32_t effectRop = kRopSrcPaint;   // line 9: exactly 0 selects kRopSrcCopy
  int musicVolume = 255;               // line 10: 0..255, 255 loudest
  int soundVolume = 0;                 // line 11: hundredths of a decibel, -10000..0, 0 loudest
  bool gravityOn = false;              // line 12: exactly 1 turns it on
  bool debrisOn = false;               // line 13: "Explosion junk", exactly 1 turns it on
  // Lines 14..22: critical hits of engine, shield, power generator, electrics, turning, missile
  // launcher, repair system, chaingun, targeting system; any value other than 0 is on.
  std::array<bool, 9> criticalsOn{true, true, true, true, true, true, true, true, true};
};

// keys.cfg: seven entries per player, in the order thrust, turn left, turn right, fire, change
// weapon, change power redirection, self destruct (Windows virtual-key codes for a keyboard
// player; joystick control numbers 0..18 for a joystick player). Player 1's entries are kept as
// numbers, player 2's as 16-bit integers.
// The member values are the first-run layout: two players on one keyboard without a shared key
// and without the game's own keys (Enter, Esc, F4, F5, F6; Down is left free for the menus).
//   player 1: W thrust, A left, D right, Space fire, Q weapon, E power, 1 self destruct
//   player 2: Up thrust, Left, Right, Ctrl fire, Shift weapon, Delete power, Backspace self destruct
struct KeyTable {
  std::array<double, 7> player1{'W', 'A', 'D', 0x20, 'Q', 'E', '1'};
  std::array<int16_t, 7> player2{0x26, 0x25, 0x27, 0x11, 0x10, 0x2E, 0x08};
};

// device.cfg: 0 keyboard, 1 joystick 1, 2 joystick 2.
struct DeviceConfig {
  int player1 = 0;
  int player2 = 0;
};

// The values of the lines present; lines beyond the end keep the member defaults.
Options ParseOptions(const std::vector<std::string>& lines);
KeyTable ParseKeys(const std::vector<std::string>& lines);
DeviceConfig ParseDevice(const std::vector<std::string>& lines);

// Every line of each file, in order, each ended by CR LF.
std::string OptionsFileText(const Options& options);
std::string KeysFileText(const KeyTable& keys);
std::string DeviceFileText(const DeviceConfig& device);

// What loading a file did.
enum class ConfigLoad {
  Read,       // every line was there
  Completed,  // the file was short: its lines were kept and the missing ones added with defaults
  Created,    // there was no file: a new one was written with the defaults
  Failed,     // it could not be read or written back (message names the file); defaults fill the gaps
};

// Reads a file for start-up or a settings window. A missing or short file is written back complete
// (atomically). `path` may differ from the file's name in case only.
ConfigLoad LoadOptionsFile(const std::filesystem::path& path, Options* out, std::string* message);
ConfigLoad LoadKeysFile(const std::filesystem::path& path, KeyTable* out, std::string* message);
ConfigLoad LoadDeviceFile(const std::filesystem::path& path, DeviceConfig* out, std::string* message);

// Reads a file for a settings window without writing anything: the lines present, with the
// defaults above for a missing file or missing lines.
Options ReadOptionsFile(const std::filesystem::path& path);
KeyTable ReadKeysFile(const std::filesystem::path& path);
DeviceConfig ReadDeviceFile(const std::filesystem::path& path);

// display.cfg, 2 lines: line 1 full screen (1) or a window (0); line 2 smooth scaling (1) or sharp
// whole-number scaling (0). A missing file or line keeps the member value.
struct DisplayConfig {
  bool fullScreen = true;
  bool smooth = true;
};
DisplayConfig ParseDisplay(const std::vector<std::string>& lines);
std::string DisplayFileText(const DisplayConfig& display);
// Never writes: the file appears when the player first changes a choice.
DisplayConfig ReadDisplayFile(const std::filesystem::path& path);
bool SaveDisplayFile(const std::filesystem::path& path, const DisplayConfig& display, std::string* error);

// pilot.cfg, 1 line: the computer pilot's level in training, 0 easy, 1 normal (the game's own
// pilot), 2 hard. A file of its own, so options.cfg keeps its 22 lines. A missing file or a value
// that is not one of the three gives normal. Never written at start-up: it appears when the player
// first chooses a level.
inline constexpr const char* kPilotFile = "pilot.cfg";
inline constexpr int kPilotLines = 1;
inline constexpr int kPilotEasy = 0, kPilotNormal = 1, kPilotHard = 2;
int ParsePilot(const std::vector<std::string>& lines);
std::string PilotFileText(int level);
int ReadPilotFile(const std::filesystem::path& path);
bool SavePilotFile(const std::filesystem::path& path, int level, std::string* error);

// Rewrite a whole file atomically. False with a message naming the file when it cannot be written.
bool SaveOptionsFile(const std::filesystem::path& path, const Options& options, std::string* error);
bool SaveKeysFile(const std::filesystem::path& path, const KeyTable& keys, std::string* error);
bool SaveDeviceFile(const std::filesystem::path& path, const DeviceConfig& device, std::string* error);

}  // namespace quorvex
