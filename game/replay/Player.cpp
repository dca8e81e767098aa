#include "game/replay/Player.h"

#include <chrono>
#include <memory>
#include <ostream>

#include "game/audio/Initsound.h"
#include "game/audio/Jukebox.h"
#include "game/controls/WindowKeys.h"
#include "game/core/GameExit.h"
#include "game/flow/GameFlow.h"
#include "game/flow/Startup.h"
#include "game/render/Caption.h"
#include "game/render/Graphics.h"
#include "game/replay/StateCheck.h"
#include "game/replay/StateHash.h"
#include "game/replay/StopSignals.h"
#include "platform/Keys.h"
#include "platform/MessageBox.h"

namespace quorvex {

namespace {

// How long a paused replay sleeps between looks at the window.
constexpr int kPausedWaitMs = 15;

// The replay window's clock: real time, except that while F6 hurries the playback waiting costs no
// time, so the frames follow each other as fast as they can be run.
struct PlaybackClock : Clock {
  SdlClock real;
  const ReplayPlayer* player = nullptr;
  int32_t skipped = 0;
  int32_t Ticks() override { return static_cast<int32_t>(static_cast<uint32_t>(real.Ticks()) + static_cast<uint32_t>(skipped)); }
  void Sleep(int ms) override {
    if (player->Hurrying()) {
      skipped += ms > 0 ? ms : 0;
    } else {
      real.Sleep(ms);
    }
  }
};

}  // namespace

void ReplayPlayer::Diverges(int64_t at) {
  if (divergedAt) return;
  divergedAt = at;
  if (report) *report << "replay diverges at frame " << at << "\n";
}

void ReplayPlayer::BattleEnds(GameWindow& w) {
  ended = true;
  if (frame < replay->frameCount) {
    Diverges(frame);
  } else if (replay->finished && StateHash(w) != replay->finalHash) {
    Diverges(frame);
  }
}

void ReplayPlayer::WatcherKeys(GameWindow& w) {
  // SIGINT and SIGTERM end the playback at once, paused or not.
  stopSignal = TakeStopSignal();
  if (stopSignal != 0) throw GameExit{};
  if (watcher) watcher(w, *this);
  for (const KeyEvent& key : w.events.keys) {
    if (key.code == vk::Escape && key.down) throw GameExit{};
    if (key.code == vk::F6) fastForward = key.down;
    if (!key.down) continue;
    if (key.code == vk::Space && !key.repeat) {
      paused = !paused;
      steps = 0;
    }
    if (key.code == vk::Right && paused) ++steps;  // held, it steps on with the key repeat
  }
  std::erase_if(w.events.keys, [](const KeyEvent& key) { return !IsWindowKey(key.code); });
  ShowState(w);
}

void ReplayPlayer::ShowState(GameWindow& w) {
  const std::string now = paused ? "replay - paused" : Hurrying() ? "replay >>" : "replay";
  if (now != caption) {
    caption = now;
    ShowWindowCaption(w, caption);
  }
  w.display.showEvery = Hurrying() ? kHurriedShowEvery : 1;
}

void ReplayPlayer::WaitWhilePaused(GameWindow& w) {
  while (paused && steps == 0) {
    // The window's own keys act at once: full screen, a screenshot of the held picture.
    for (const KeyEvent& key : w.events.keys) {
      if (key.down && !key.repeat) OnWindowKey(w, key.code);
    }
    w.events.keys.clear();
    PresentSurface(w.display, w.back);  // after F11, or a window uncovered
    w.clock->Sleep(kPausedWaitMs);
    if (w.display.open) CollectWindowEvents(w.events);
    if (w.events.closeRequested) throw GameExit{};
    WatcherKeys(w);
  }
  if (steps > 0) --steps;
}

void ReplayPlayer::Events(GameWindow& w) {
  // Keys pressed in the replay window steer the playback; none of them reaches the game. F11 and
  // F12 still act on the window.
  WatcherKeys(w);
  WaitWhilePaused(w);

  ++frame;
  clockRead = 0;
  if (frame > replay->frameCount) {
    // The recording stops here; a battle that should have ended by now has parted from it.
    if (replay->finished) Diverges(frame);
    frame = replay->frameCount;  // the frames played: this one is not
    throw GameExit{};
  }
  // The recording noted a device change after it had happened this frame: play it before the check.
  const auto f = replay->frames.find(frame);
  if (f != replay->frames.end()) {
    for (const auto& [player, device] : f->second.devices) w.inputDevice[player] = static_cast<uint8_t>(device);
    for (const ReplayFrame::Rest& rest : f->second.rests) {
      w.joysticks.restX[rest.slot] = rest.x;
      w.joysticks.restY[rest.slot] = rest.y;
    }
  }
  const auto hash = replay->hashes.find(frame);
  if (hash != replay->hashes.end() && hash->second != StateHash(w)) Diverges(frame);

  if (f == replay->frames.end()) return;
  for (const auto& [slot, state] : f->second.sticks) sticks[slot] = state;
  for (const KeyEvent& key : f->second.keys) {
    // Older recordings hold the recording player's window keys: his screenshots are not the watcher's.
    if (!IsWindowKey(key.code)) w.events.keys.push_back(key);
  }
}

JoystickState ReplayPlayer::Joystick(GameWindow&, int slot) { return sticks[slot]; }

int32_t ReplayPlayer::ClockReading(GameWindow&, int32_t ticks) {
  const auto f = replay->frames.find(frame);
  if (f != replay->frames.end() && clockRead < f->second.clock.size()) return f->second.clock[clockRead++];
  Diverges(frame);
  return ticks;
}

std::filesystem::path ReplayPlayer::ShipFile(GameWindow&, const std::string& name) { return ships.Path(name); }

int PlayReplay(const std::filesystem::path& file, const GameFolders& folders, ReplayMode mode, std::ostream& out,
               std::ostream& err, PlaybackResult* result, const ReplayWatcher& watcher) {
  const bool timedemo = mode == ReplayMode::Timedemo;
  const HeldStopSignals held;
  // A replay that cannot be played is said on the error stream, and in a box when it was to be watched.
  auto cannotPlay = [&](const std::string& message) {
    if (timedemo) {
      err << message << "\n";
    } else {
      MessageBoxes box;
      box.Show("ERROR!", message);
    }
    return 1;
  };
  Replay replay;
  std::string error;
  if (!LoadReplay(file, &replay, &error)) return cannotPlay(error);
  auto w = std::make_unique<GameWindow>();  // large: the pools are fixed arrays
  w->programDir = folders.data;
  if (folders.Separate()) w->userDir = folders.user;
  w->headless = timedemo;
  w->messages.headless = timedemo;
  ReplayPlayer player;
  player.replay = &replay;
  player.report = &err;
  ManualClock manual;
  player.watcher = watcher;
  PlaybackClock paced;
  paced.player = &player;
  w->clock = timedemo ? static_cast<Clock*>(&manual) : &paced;

  if (!player.ships.Write(replay.shipFiles, "replay", &error)) {
    return cannotPlay("Replay " + file.string() + " cannot be played: " + error);
  }
  // Everything the replay says about the battle is checked before anything uses it.
  if (!CheckStart(replay, player.ships, &error)) return cannotPlay("Replay " + file.string() + " is damaged: " + error);
  for (const auto& [slot, state] : replay.frames[0].sticks) player.sticks[slot] = state;
  w->inputTap = &player;

  int status = 0;
  bool shutDown = false;
  auto start = std::chrono::steady_clock::now();
  try {
    SetupDirectX(*w);
    if (!ApplySnapshotLines(replay.state, *w, &error)) {
      status = cannotPlay("Replay " + file.string() + " is damaged: " + error);
    } else {
      if (!timedemo && w->options.soundOn) Initsound(*w);
      LoadGraphics(*w);
      if (!timedemo) {
        // As in the game: the menu song through the armadas and the ships, until the battle's own.
        StartMenuMusic(*w);
        player.ShowState(*w);
      }
      start = std::chrono::steady_clock::now();  // the frames alone, not the window and picture set-up
      PlayBattle(*w);
      player.BattleEnds(*w);
    }
  } catch (const GameExit&) {
    // Esc, the closed window, or the end of a recording that was cut.
  } catch (...) {
    const GameError e = ErrorFromException(std::current_exception());
    err << "Replay " << file.string() << " stopped: " << e.Text() << "\n";
    status = 1;
    if (!timedemo) {
      ErrorReport(*w, e);
      shutDown = true;
    }
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const uint64_t hash = StateHash(*w);
  if (!shutDown) ShutdownGame(*w);

  if (player.stopSignal != 0) status = 128 + player.stopSignal;
  if (timedemo && status == 0) {
    out << "frames: " << player.frame << "\n";
    out << "frames per second: " << (seconds > 0 ? static_cast<double>(player.frame) / seconds : 0.0) << "\n";
    out << "state hash: " << HashText(hash) << "\n";
  }
  if (result) *result = PlaybackResult{player.frame, seconds, hash, player.divergedAt, player.stopSignal};
  if (status == 0 && player.divergedAt) status = 2;
  return status;
}

}  // namespace quorvex
