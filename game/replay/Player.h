// Playing a replay: the recorded battle state, keys, joysticks, clock readings and ship files stand
// in for the outside world, and the state hash is checked wherever the recording stored one.
#pragma once
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>

#include "game/core/InputTap.h"
#include "game/replay/ReplayFile.h"
#include "game/replay/ShipCopies.h"

namespace quorvex {

struct ReplayPlayer : InputTap {
  const Replay* replay = nullptr;
  ShipCopies ships;  // the recorded ship files, written out for the loader
  int64_t frame = 0;
  size_t clockRead = 0;  // readings already taken in the current frame
  JoystickState sticks[2];
  bool fastForward = false;  // F6 held in the replay window
  bool ended = false;        // the battle ended as recorded
  std::optional<int64_t> divergedAt;
  int stopSignal = 0;  // SIGINT or SIGTERM ended the playback
  std::ostream* report = nullptr;  // where "replay diverges at frame N" goes

  void BattleBegins(GameWindow&) override {}
  void BattleEnds(GameWindow& w) override;
  void Events(GameWindow& w) override;
  JoystickState Joystick(GameWindow& w, int slot) override;
  int32_t ClockReading(GameWindow& w, int32_t ticks) override;
  std::filesystem::path ShipFile(GameWindow& w, const std::string& name) override;
  // The recording says which joysticks came and went; the watching machine's own do nothing.
  bool TakesUpJoysticks() const override { return false; }

  void Diverges(int64_t at);
};

enum class ReplayMode { Window, Timedemo };

// What a finished playback tells.
struct PlaybackResult {
  int64_t frames = 0;
  double seconds = 0;
  uint64_t hash = 0;
  std::optional<int64_t> divergedAt;
  int stopSignal = 0;
};

// Plays replay `file` in a game window on the game's pictures and sounds (the player's own first,
// as in a battle) at its recorded pace
// (Window: Esc or closing the window ends it, F6 fast-forwards), or headless as fast as it can
// (Timedemo, which prints the frames, frames per second and the final state hash to `out`).
// Returns 0; 1 with a message naming the file on `err` when it cannot be played; 2 when the
// playback parted from the recording; 128 + the signal when SIGINT or SIGTERM ended it.
int PlayReplay(const std::filesystem::path& file, const GameFolders& folders, ReplayMode mode, std::ostream& out,
               std::ostream& err, PlaybackResult* result = nullptr);
// The same on a program folder that keeps the player's files too.
inline int PlayReplay(const std::filesystem::path& file, const std::filesystem::path& programDir, ReplayMode mode,
                      std::ostream& out, std::ostream& err, PlaybackResult* result = nullptr) {
  return PlayReplay(file, GameFolders{programDir, programDir}, mode, out, err, result);
}

}  // namespace quorvex
