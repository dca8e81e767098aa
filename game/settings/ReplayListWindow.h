// The launcher's "Recorded battles" window: the replays newest first, each with its date, both
// armadas, how the battle ended and its length; one is chosen to be watched. What a replay holds is
// read by the game, which hands the window its rows.
#pragma once
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace quorvex {

struct ReplayListEntry {
  std::filesystem::path file;
  std::string date;              // "2026-12-08 10:15:00"
  std::string player1, player2;  // the armadas
  std::string outcome;           // "player 1 won", "cut short", ...
  std::string length;            // "3:25"
  std::string problem;           // not empty: the replay is damaged and cannot be watched
};

// Opens the window (objectName "ReplayList") owned by `owner`, listing `entries` in their order.
// "Watch" (objectName "Watch") or a double click calls `watch` with the chosen replay.
QWidget* OpenReplayListWindow(QWidget* owner, const std::vector<ReplayListEntry>& entries,
                              const std::function<void(const std::filesystem::path&)>& watch);

}  // namespace quorvex
