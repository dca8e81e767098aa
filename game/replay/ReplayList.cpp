#include "game/replay/ReplayList.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <system_error>

#include "game/replay/Recorder.h"
#include "platform/Files.h"

namespace quorvex {

namespace fs = std::filesystem;

namespace {

// "20261208-101500" from a recorder's name, or from the time the file was last written.
std::string Stamp(const fs::path& file, const std::string& nameStamp) {
  const bool named = nameStamp.size() == 22 && nameStamp.rfind("battle-", 0) == 0 && nameStamp[15] == '-' &&
                     std::all_of(nameStamp.begin() + 7, nameStamp.end(), [](char c) { return c == '-' || (c >= '0' && c <= '9'); });
  if (named) return nameStamp.substr(7);
  std::error_code ec;
  const auto written = fs::last_write_time(file, ec);
  if (ec) return "00000000-000000";
  const std::time_t t = std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(written));
  std::tm local{};
  localtime_r(&t, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  return stamp;
}

// "2026-12-08 10:15:00"
std::string DateText(const std::string& s) {
  return s.substr(0, 4) + "-" + s.substr(4, 2) + "-" + s.substr(6, 2) + " " + s.substr(9, 2) + ":" + s.substr(11, 2) +
         ":" + s.substr(13, 2);
}

std::string ArmadaText(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
  return text.empty() ? "-" : text;
}

std::string OutcomeText(const ReplaySummary& s) {
  if (!s.finished) return "cut short";
  switch (s.winner) {
    case 0: return "left before the end";
    case 1: return "player 1 won";
    case 2: return s.training ? "computer won" : "player 2 won";
    case 3: return "tie";
    default: return "finished";  // recorded before the outcome was kept
  }
}

}  // namespace

std::string ReplayLengthText(int64_t frames, int frameInterval) {
  // A frame starts once more than frameInterval ms have passed.
  const int64_t seconds = std::max<int64_t>(frames, 0) * (std::max(frameInterval, 0) + 1) / 1000;
  char text[32];
  if (seconds >= 3600) {
    std::snprintf(text, sizeof text, "%lld:%02d:%02d", static_cast<long long>(seconds / 3600),
                  static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
  } else {
    std::snprintf(text, sizeof text, "%d:%02d", static_cast<int>(seconds / 60), static_cast<int>(seconds % 60));
  }
  return text;
}

ReplayListEntry DescribeReplay(const ReplaySummary& s) {
  ReplayListEntry e;
  e.player1 = ArmadaText(s.armadas[0]);
  e.player2 = (s.training ? "computer: " : "") + ArmadaText(s.armadas[1]);
  e.outcome = OutcomeText(s);
  e.length = ReplayLengthText(s.frames, s.frameInterval);
  return e;
}

std::vector<ReplayListEntry> ListReplays(const fs::path& folder) {
  struct Found {
    std::pair<std::string, int> order;
    ReplayListEntry entry;
  };
  std::vector<Found> found;
  for (const std::string& name : ListFilesWithExtension(folder, ".qvr")) {
    const fs::path file = folder / name;
    std::pair<std::string, int> order = ReplayNameOrder(name);
    order.first = Stamp(file, order.first);
    ReplaySummary summary;
    std::string problem;
    ReplayListEntry entry;
    if (ReadReplaySummary(file, &summary, &problem)) {
      entry = DescribeReplay(summary);
    } else {
      entry.problem = "The file " + problem;
    }
    entry.file = file;
    entry.date = DateText(order.first);
    found.push_back({order, entry});
  }
  std::stable_sort(found.begin(), found.end(), [](const Found& a, const Found& b) { return a.order > b.order; });
  std::vector<ReplayListEntry> entries;
  for (Found& f : found) entries.push_back(std::move(f.entry));
  return entries;
}

}  // namespace quorvex
