// Records every battle into the replay folder: from the main menu's choice to the results (or
// "quit"), rewritten atomically at least once a second so that a battle that crashes or is killed
// leaves a replay of every frame up to its last second.
#pragma once
#include <array>
#include <filesystem>
#include <string>
#include <utility>

#include "game/core/InputTap.h"
#include "game/replay/ReplayFile.h"

namespace quorvex {

// Replays kept in the folder; the oldest go first.
constexpr int kReplaysKept = 50;

struct ReplayRecorder : InputTap {
  std::filesystem::path folder;  // where replays go (made when the first battle begins)
  std::filesystem::path file;    // the replay now being recorded, or the last one
  Replay replay;
  bool recording = false;
  int64_t frame = 0;
  int32_t lastWrite = 0;
  JoystickState sampled[2];  // the joysticks as read when the window last processed its events
  std::array<uint8_t, 2> devices{};  // the players' input devices as recorded last
  std::array<int, 4> rests{};        // the joysticks' rest positions as recorded last (x, y of each slot)

  void BattleBegins(GameWindow& w) override;
  void BattleEnds(GameWindow& w) override;
  void Events(GameWindow& w) override;
  JoystickState Joystick(GameWindow& w, int slot) override;
  int32_t ClockReading(GameWindow& w, int32_t ticks) override;
  std::filesystem::path ShipFile(GameWindow& w, const std::string& name) override;

  // Takes back what was recorded after frame `frame`'s keys: its clock readings after the first
  // `clockReadings` and every later frame. A network duel that plays frames again records them again.
  void Rewind(int64_t frame, size_t clockReadings);
  // Writes the replay as it stands (a recording still running ends in "cut"). A failed write is
  // reported once on the error stream; the game goes on.
  void Write();
  std::string writeError;
};

// Runs the game (RunGame) with every battle recorded into `folder`; a battle that is still running
// when the game ends (closed window, run-time error) is written as cut.
void RunRecordedGame(GameWindow& w, const std::filesystem::path& folder);

// A fresh name in `folder` for a replay begun at `when` (seconds since the epoch, local time):
// "battle-YYYYMMDD-HHMMSS.qvr", with "-2", "-3" ... when taken. Names sort by time.
std::filesystem::path NewReplayPath(const std::filesystem::path& folder, int64_t when);

// Where a replay named "battle-YYYYMMDD-HHMMSS[-n].qvr" stands among the others: its stamp (the name
// without ".qvr" and the number) and its number (1 without one). Replays sort by it oldest first.
std::pair<std::string, int> ReplayNameOrder(const std::string& name);

// Deletes all but the newest `keep` replays (*.qvr, by name) in `folder`.
void KeepNewestReplays(const std::filesystem::path& folder, int keep);

}  // namespace quorvex
