#include "game/replay/Recorder.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <system_error>

#include "game/controls/WindowKeys.h"
#include "game/flow/Startup.h"
#include "game/screens/Screens.h"
#include "game/replay/StateHash.h"
#include "platform/Files.h"

namespace quorvex {

namespace {

constexpr int32_t kWriteEveryMs = 1000;

std::array<int, 4> RestPositions(const Joysticks& s) { return {s.restX[0], s.restY[0], s.restX[1], s.restY[1]}; }

// The ship names of both armadas, in their order.
std::array<std::vector<std::string>, 2> ArmadaNames(const GameWindow& w) {
  std::array<std::vector<std::string>, 2> names;
  for (size_t p = 0; p < 2; ++p) {
    for (int index : w.fleet[p]) {
      if (index < 0 || index >= kShipListSize) break;
      names[p].push_back(w.shipNames[static_cast<size_t>(index)]);
    }
  }
  return names;
}

bool SameState(const JoystickState& a, const JoystickState& b) {
  return a.x == b.x && a.y == b.y && a.buttons == b.buttons;
}

// Reads a joystick the way the game would, without touching the state it polled last (the game's
// own poll compares against that to see buttons go down).
JoystickState Sample(GameWindow& w, int slot) {
  const JoystickState kept = w.joysticks.last[slot];
  const JoystickState now = PollJoystick(w.joysticks, slot);
  w.joysticks.last[slot] = kept;
  return now;
}

}  // namespace

void ReplayRecorder::BattleBegins(GameWindow& w) {
  replay = Replay{};
  replay.state = SnapshotLines(w);
  devices = w.inputDevice;
  rests = RestPositions(w.joysticks);
  frame = 0;
  recording = true;
  for (int slot = 0; slot < 2; ++slot) {
    sampled[slot] = Sample(w, slot);
    replay.frames[0].sticks.emplace_back(slot, sampled[slot]);
  }
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  file = NewReplayPath(folder, static_cast<int64_t>(std::time(nullptr)));
  lastWrite = w.clock ? w.clock->Ticks() : 0;
  Write();
  KeepNewestReplays(folder, kReplaysKept);
}

void ReplayRecorder::BattleEnds(GameWindow& w) {
  if (!recording) return;
  replay.frameCount = frame;
  replay.finished = true;
  replay.finalHash = StateHash(w);
  // Left from a menu or the pause menu ("quit", "cancel"), or the results' outcome.
  replay.winner = w.quitBattle ? 0 : BattleOutcome(w);
  Write();
  recording = false;
}

void ReplayRecorder::Events(GameWindow& w) {
  if (!recording) return;
  ++frame;
  replay.frameCount = frame;
  // A joystick plugged in takes over from the keyboard outside the game's own rules.
  for (int p = 0; p < 2; ++p) {
    if (w.inputDevice[p] != devices[p]) replay.frames[frame].devices.emplace_back(p, w.inputDevice[p]);
  }
  devices = w.inputDevice;
  // A joystick plugged in is centred where its stick rests now, which the game keeps.
  const std::array<int, 4> rested = RestPositions(w.joysticks);
  for (int slot = 0; slot < 2; ++slot) {
    const size_t i = 2 * static_cast<size_t>(slot);
    if (rested[i] != rests[i] || rested[i + 1] != rests[i + 1]) replay.frames[frame].rests.push_back({slot, rested[i], rested[i + 1]});
  }
  rests = rested;
  if (frame % kHashInterval == 0) replay.hashes[frame] = StateHash(w);
  // The armadas as they go into the first duel (the menus keep menuActive set), for the replay list.
  if (replay.armadas[0].empty() && !w.menuActive) replay.armadas = ArmadaNames(w);
  for (int slot = 0; slot < 2; ++slot) {
    const JoystickState now = Sample(w, slot);
    if (!SameState(now, sampled[slot])) replay.frames[frame].sticks.emplace_back(slot, now);
    sampled[slot] = now;
  }
  // F11 and F12 act on this window and this player's files: no part of the battle.
  for (const KeyEvent& key : w.events.keys) {
    if (!IsWindowKey(key.code)) replay.frames[frame].keys.push_back(key);
  }
  const int32_t now = w.clock ? w.clock->Ticks() : 0;
  if (static_cast<uint32_t>(now - lastWrite) >= static_cast<uint32_t>(kWriteEveryMs)) {
    lastWrite = now;
    Write();
  }
}

void ReplayRecorder::Rewind(int64_t to, size_t clockReadings) {
  if (!recording || to > frame) return;
  replay.frames.erase(replay.frames.upper_bound(to), replay.frames.end());
  replay.hashes.erase(replay.hashes.upper_bound(to), replay.hashes.end());
  if (auto f = replay.frames.find(to); f != replay.frames.end() && f->second.clock.size() > clockReadings) {
    f->second.clock.resize(clockReadings);
  }
  frame = to;
  replay.frameCount = to;
}

JoystickState ReplayRecorder::Joystick(GameWindow& w, int slot) {
  // While a battle is recorded the game sees the joysticks as read once per frame, so the same
  // frames replay the same presses however many times a loop polls between frames.
  return recording ? sampled[slot] : PollJoystick(w.joysticks, slot);
}

int32_t ReplayRecorder::ClockReading(GameWindow&, int32_t ticks) {
  if (recording) replay.frames[frame].clock.push_back(ticks);
  return ticks;
}

std::filesystem::path ReplayRecorder::ShipFile(GameWindow& w, const std::string& name) {
  const std::filesystem::path path = FindGameFile(Folders(w), name);
  if (recording && !replay.shipFiles.count(name)) {
    std::string bytes, error;
    // A file that cannot be read is not stored: the game reports it and ends, as the replay will.
    if (ReadWholeFile(path, &bytes, &error)) replay.shipFiles[name] = bytes;
  }
  return path;
}

void ReplayRecorder::Write() {
  if (file.empty()) return;
  std::string error;
  if (!WriteFileAtomically(file, ReplayText(replay), &error) && writeError.empty()) {
    writeError = error;
    std::fprintf(stderr, "The battle is not recorded: %s\n", error.c_str());
  }
}

void RunRecordedGame(GameWindow& w, const std::filesystem::path& folder) {
  ReplayRecorder recorder;
  recorder.folder = folder;
  InputTap* before = w.inputTap;
  w.inputTap = &recorder;
  RunGame(w);
  if (recorder.recording) recorder.Write();
  w.inputTap = before;
}

std::filesystem::path NewReplayPath(const std::filesystem::path& folder, int64_t when) {
  const std::time_t t = static_cast<std::time_t>(when);
  std::tm local{};
  localtime_r(&t, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  const std::string base = std::string("battle-") + stamp;
  std::error_code ec;
  std::filesystem::path path = folder / (base + ".qvr");
  for (int n = 2; std::filesystem::exists(path, ec); ++n) path = folder / (base + "-" + std::to_string(n) + ".qvr");
  return path;
}

std::pair<std::string, int> ReplayNameOrder(const std::string& name) {
  // "battle-20261208-101500-2" sorts after "battle-20261208-101500": compare by the stamp, then the number.
  const std::string stem = name.substr(0, name.size() - std::min<size_t>(name.size(), 4));
  const size_t dash = stem.rfind('-');
  const bool numbered = dash != std::string::npos && dash > 15 && stem.size() - dash < 6 && dash + 1 < stem.size() &&
                        std::all_of(stem.begin() + static_cast<long>(dash) + 1, stem.end(),
                                    [](char c) { return c >= '0' && c <= '9'; });
  return std::make_pair(numbered ? stem.substr(0, dash) : stem, numbered ? std::stoi(stem.substr(dash + 1)) : 1);
}

void KeepNewestReplays(const std::filesystem::path& folder, int keep) {
  std::vector<std::string> names = ListFilesWithExtension(folder, ".qvr");
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return ReplayNameOrder(a) < ReplayNameOrder(b); });
  for (size_t i = 0; i + static_cast<size_t>(keep) < names.size(); ++i) {
    std::error_code ec;
    std::filesystem::remove(folder / names[i], ec);
  }
}

}  // namespace quorvex
