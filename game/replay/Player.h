// Playing a replay: the recorded battle state, keys, joysticks, clock readings and ship files stand
// in for the outside world, and the state hash is checked wherever the recording stored one.
#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>

#include "game/core/InputTap.h"
#include "game/replay/ReplayFile.h"
#include "game/replay/ShipCopies.h"

namespace quorvex {

struct ReplayPlayer;
// The watcher at the replay window, as a test plays him: puts his keys into w.events.keys each time
// the playback looks for them (once a frame, and over and over while it is paused).
using ReplayWatcher = std::function<void(GameWindow&, const ReplayPlayer&)>;

// While F6 hurries a replay, one picture in this many is shown.
constexpr int kHurriedShowEvery = 8;

struct ReplayPlayer : InputTap {
  const Replay* replay = nullptr;
  ShipCopies ships;  // the recorded ship files, written out for the loader
  int64_t frame = 0;
  size_t clockRead = 0;  // readings already taken in the current frame
  JoystickState sticks[2];
  // The watcher's keys in the replay window: F6 held hurries, Space pauses and resumes, the right
  // arrow steps one frame while paused. None of them reaches the replayed battle.
  bool fastForward = false;
  bool paused = false;
  int steps = 0;  // frames the right arrow asked for while paused
  std::string caption;
  ReplayWatcher watcher;
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
  bool Hurrying() const { return fastForward && !paused; }
  // Takes the watcher's keys out of w.events (F11 and F12 stay for the window).
  void WatcherKeys(GameWindow& w);
  // Holds the frame while paused: the window stays alive and shows the picture until the watcher
  // resumes, steps or leaves.
  void WaitWhilePaused(GameWindow& w);
  void ShowState(GameWindow& w);  // the caption and how many pictures are shown
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
// as in a battle) at its recorded pace, with the menu song in its menus and a "replay" caption
// (Window: Esc or closing the window ends it, F6 held fast-forwards, Space pauses, the right arrow
// steps while paused; `watcher` stands in for the keyboard in tests), or headless as fast as it can
// (Timedemo, which prints the frames, frames per second and the final state hash to `out`).
// Returns 0; 1 with a message naming the file on `err` when it cannot be played; 2 when the
// playback parted from the recording; 128 + the signal when SIGINT or SIGTERM ended it.
int PlayReplay(const std::filesystem::path& file, const GameFolders& folders, ReplayMode mode, std::ostream& out,
               std::ostream& err, PlaybackResult* result = nullptr, const ReplayWatcher& watcher = {});
// The same on a program folder that keeps the player's files too.
inline int PlayReplay(const std::filesystem::path& file, const std::filesystem::path& programDir, ReplayMode mode,
                      std::ostream& out, std::ostream& err, PlaybackResult* result = nullptr,
                      const ReplayWatcher& watcher = {}) {
  return PlayReplay(file, GameFolders{programDir, programDir}, mode, out, err, result, watcher);
}

}  // namespace quorvex
