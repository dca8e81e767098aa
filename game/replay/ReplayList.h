// The rows of the launcher's replay list: every replay of a folder, newest first, described from
// its own summary.
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "game/replay/ReplayFile.h"

namespace quorvex {

// One row of the list.
struct ReplayListEntry {
  std::filesystem::path file;
  std::string date;              // "2026-12-08 10:15:00"
  std::string player1, player2;  // the armadas
  std::string outcome;           // "player 1 won", "cut short", ...
  std::string length;            // "3:25"
  std::string problem;           // not empty: the replay is damaged and cannot be watched
};

// "3:25", or "1:02:03" from an hour on: how long a battle of `frames` frames takes at its pace.
std::string ReplayLengthText(int64_t frames, int frameInterval);

// One row from a replay's summary (the file's name and date are the caller's).
ReplayListEntry DescribeReplay(const ReplaySummary& summary);

// Every *.qvr of `folder`, newest first by the time in its name (the file's time for other names).
// A replay that cannot be read is listed with its problem.
std::vector<ReplayListEntry> ListReplays(const std::filesystem::path& folder);

}  // namespace quorvex
