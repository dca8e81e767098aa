// A replay file: what a battle starts from and, frame by frame, everything that entered it from
// outside. Text, one record a line:
//   Quorvex replay 1                       the version line
//   armada <player> <name> ...             the ship names of an armada as it went into the first duel
//   winner <n>                             how the battle ended: 0 left before the results, 1 or 2
//                                          won, 3 a tie (the armadas and the winner are for the list
//                                          of replays; the playback needs neither)
//   state <name> <values>                  one field of the battle state the recording started from
//   ship <name> <size>                     a ship file the battle loaded, its <size> bytes on the
//   <bytes>                                following line(s), then a line break
//   j <frame> <slot> <x> <y> <buttons>     a joystick's new state (buttons: 8 hex digits, bit n = button n)
//   d <frame> <player> <device>            a player's input device changed (a joystick was plugged in)
//   r <frame> <slot> <x> <y>               a joystick was opened in <slot>: where its stick rests
//   t <frame> <ticks>                      a clock reading the game kept or mixed into its random numbers
//   k <frame> d<code> u<code> ...          key downs and ups, in order
//   h <frame> <hash>                       the state hash when the window processed its events that frame
//   end <frames> <hash>                    the battle ended after <frames> frames with this state hash
//   cut <frames>                           the recording stopped (the game was closed, crashed or killed)
// A frame is one pass through the window's events in any loop (menus, battle, pause, results).
#pragma once
#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/Display.h"
#include "platform/Joystick.h"

namespace quorvex {

inline constexpr const char* kReplayVersionLine = "Quorvex replay 1";
// The state hash is stored every this many frames.
constexpr int64_t kHashInterval = 50;
// Bounds that no real recording reaches: a replay comes from someone else, and whatever it says
// must not make the game hold or run more than a real battle does. A file beyond one is refused.
constexpr size_t kMaxReplayBytes = 32u << 20;
constexpr size_t kMaxReplayLineBytes = 1u << 20;       // a record line (ship contents go by their size)
constexpr int64_t kMaxReplayRecords = 1'000'000;       // lines besides the ship contents
constexpr int kMaxRecordsPerFrame = 64;
constexpr size_t kMaxReplayKeysPerFrame = 256;
constexpr size_t kMaxShipFileBytes = 1 << 20;
constexpr size_t kMaxReplayShipBytes = 8u << 20;       // all ship files together
constexpr size_t kMaxReplayShips = 2 * 256;            // the ship list and escape ships
// The recording stores the state hash at every kHashInterval-th frame, so no record (nor the end)
// lies further than that from the one before it, and no frame number beyond this.
constexpr int64_t kMaxReplayFrames = kMaxReplayRecords * kHashInterval;

struct ReplayFrame {
  std::vector<KeyEvent> keys;
  std::vector<std::pair<int, JoystickState>> sticks;  // slot and state
  std::vector<int32_t> clock;                         // readings in the order the game took them
  std::vector<std::pair<int, int>> devices;           // player (0, 1) and his new device (0..2)
  struct Rest {
    int slot = 0, x = 0, y = 0;
  };
  std::vector<Rest> rests;  // joysticks opened this frame: their rest positions
};

struct Replay {
  std::vector<std::string> state;                 // snapshot lines
  std::map<std::string, std::string> shipFiles;   // ship file name and its whole contents
  std::map<int64_t, ReplayFrame> frames;          // only frames where something entered
  std::map<int64_t, uint64_t> hashes;
  int64_t frameCount = 0;
  bool finished = false;   // the battle ran to its end; otherwise the recording was cut
  uint64_t finalHash = 0;  // when finished
  std::array<std::vector<std::string>, 2> armadas;  // empty until the first duel began
  int winner = -1;                                 // -1 not written (cut, or an older recording)
};

// What the list of replays shows of one, read from the head and the end of the file.
struct ReplaySummary {
  std::array<std::vector<std::string>, 2> armadas;
  bool training = false;  // player 2 was the computer pilot
  int winner = -1;
  int frameInterval = 20;  // the pace the battle was played (and is watched) at
  int64_t frames = 0;
  bool finished = false;
};

// Reads the summary without going through the frames: the version line, the lines before the
// first frame record and the end line. False with the problem (as ParseReplay words it) for a file
// that is not a replay, is of another version, is damaged there or cut short.
bool ReadReplaySummary(const std::filesystem::path& file, ReplaySummary* out, std::string* problem);

std::string ReplayText(const Replay& replay);

// Reads replay text. False with the problem in `problem` for another version, a damaged or a
// truncated file.
bool ParseReplay(const std::string& bytes, Replay* out, std::string* problem);

// Reads and parses a replay file; the error names the file and the problem. A file larger than
// kMaxReplayBytes is refused from its first line and its size, before it is read.
bool LoadReplay(const std::filesystem::path& file, Replay* out, std::string* error);

}  // namespace quorvex
