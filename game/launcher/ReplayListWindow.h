// The launcher's "Recorded battles" window: the replays newest first, each with its date, both
// armadas, how the battle ended and its length; one is chosen to be watched. What a replay holds is
// read by the game, which hands the window its rows.
#pragma once
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "game/replay/ReplayList.h"

class QWidget;

namespace quorvex {

// Opens the window (objectName "ReplayList") owned by `owner`, listing `entries` in their order.
// "Watch" (objectName "Watch") or a double click calls `watch` with the chosen replay.
QWidget* OpenReplayListWindow(QWidget* owner, const std::vector<ReplayListEntry>& entries,
                              const std::function<void(const std::filesystem::path&)>& watch);

}  // namespace quorvex
