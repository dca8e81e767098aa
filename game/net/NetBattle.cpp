#include "game/net/NetBattle.h"

#include <SDL.h>

#include <algorithm>
#include <system_error>

#include "game/audio/Initsound.h"
#include "game/audio/SoundEffects.h"
#include "game/controls/Events.h"
#include "game/controls/Gamepads.h"
#include "game/controls/WindowKeys.h"
#include "game/core/GameExit.h"
#include "game/flow/BattleLoop.h"
#include "game/flow/GameFlow.h"
#include "game/flow/Startup.h"
#include "game/render/Caption.h"
#include "game/render/Graphics.h"
#include "game/replay/StateCheck.h"
#include "game/replay/StateHash.h"
#include "platform/DataFiles.h"
#include "platform/Files.h"
#include "shipdef/ShipFile.h"

namespace quorvex {

namespace {

constexpr const char* kBoxTitle = "Network game";
// Key events of the window taken into one frame: far more than a hand makes in 21 ms, and few
// enough that what they turn into fits in one input packet.
constexpr size_t kKeysTakenPerFrame = 8;

Packet Bye(ByeReason reason, int64_t frame = 0) {
  Packet p;
  p.kind = PacketKind::Bye;
  p.reason = reason;
  p.frame = frame;
  return p;
}

// The caption tells how the duels feel: the input delay, and the frames played on a guess.
std::string DelayCaption(const LockstepQueue& q) {
  const int delay = q.window > 0 ? q.duelDelay : q.delay;
  std::string text = "net delay " + std::to_string(delay) + (delay == 1 ? " frame" : " frames");
  if (q.window > 0) text += ", rollback " + std::to_string(q.window);
  return text;
}

std::string DiffersText(int64_t frame) { return "the two games differ at frame " + std::to_string(frame); }

// What a goodbye from the other machine tells this one.
std::string ByeText(const Packet& p) {
  switch (p.reason) {
    case ByeReason::Full:
      return "The game is full: another player has joined it";
    case ByeReason::Version:
      return "The two games are different versions";
    case ByeReason::Differs:
      return DiffersText(p.frame);
    case ByeReason::Leaving:
      break;
  }
  return "The other player left the game";
}

// The host's game names files the guest opens: the ships' pictures. Only pictures of the guest's
// own folder may be named, so the host cannot make the guest read any other file. A picture the
// guest does not have is said now, not when the ship comes into a duel and the battle would stop.
bool PicturesInOwnFolder(const GameWindow& w, const NetTap& tap, std::string* problem) {
  for (const auto& [name, own] : tap.ships.names) {
    ShipLoadout ship;
    if (ReadShipForBattle(tap.ships.folder / own, false, &ship) != ShipReadStatus::Ok) continue;
    if (!IsBareFileName(ship.spriteFile)) {
      *problem = "The ship file " + name + " names the picture " + ship.spriteFile + " outside the game's folder";
      return false;
    }
    std::error_code ec;
    if (!std::filesystem::exists(FindGameFile(Folders(w), ship.spriteFile), ec)) {
      *problem = "The ship file " + name + " uses the picture " + ship.spriteFile +
                 ", which this game does not have: copy it into the game's folder";
      return false;
    }
  }
  for (const ShipState& s : w.ship) {
    if (!IsBareFileName(s.spriteFile)) {
      *problem = "The host's game names the picture " + s.spriteFile + " outside the game's folder";
      return false;
    }
  }
  return true;
}

// This machine's player's own keys and joystick, read from his settings before the battle's key
// tables replace them.
void TakeOwnControls(NetTap& tap, const GameWindow& w, int player) {
  const size_t p = player == 1 ? 0 : 1;
  tap.ownKeys = OwnNetKeys(w, player);
  tap.ownStick = w.inputDevice[p] == 1 || w.inputDevice[p] == 2 ? w.inputDevice[p] : 0;
  tap.stickTable = w.controlTable[p];
  // His gamepad travels as a joystick does: its buttons are the actions of the pad table.
  const uint8_t pad = w.pads.device[p];
  if (tap.ownStick == 0 && IsPadDevice(pad)) {
    const int slot = DeviceSlot(pad);
    tap.ownStick = pad;
    tap.stickTable = kPadStickTable;
    tap.sticks.use[slot] = SlotUse::Gamepad;
    tap.sticks.padWanted[slot] = w.joysticks.padWanted[slot];
    tap.sticks.layout[slot] = w.joysticks.layout[slot];
  }
}

// Plays the battle on a prepared state and says goodbye; the message when it ended badly.
std::string PlayNetBattle(GameWindow& w, NetLink& link, NetTap& tap, const Replay& start, const Packet& go,
                          const NetGameSetup& setup) {
  std::string message;
  // The guest has written and checked the host's ship files before its window opened.
  if (tap.ships.folder.empty() && !tap.ships.Write(start.shipFiles, tap.host ? "net-host" : "net-guest", &message)) {
    return message;
  }
  if (!tap.host && !PicturesInOwnFolder(w, tap, &message)) {
    message = "The host sent a game that cannot be played: " + message;
    const Packet bye = Bye(ByeReason::Leaving);
    CloseLink(link, &bye);
    return message;
  }
  tap.link = &link;
  if (w.display.window != nullptr) {
    const std::string title = tap.host ? "Quorvex - network game, hosting" : "Quorvex - network game, joined";
    SDL_SetWindowTitle(w.display.window, title.c_str());
  }
  // The input delay is part of how the game feels: the game says it, also in full screen.
  tap.queue = LockstepQueue(go.delay, go.window, go.duelDelay);
  tap.caption = DelayCaption(tap.queue);
  ShowWindowCaption(w, tap.caption);
  tap.silenceMs = setup.silenceMs;
  tap.recorder.folder = setup.replayFolder;
  InputTap* before = w.inputTap;
  w.inputTap = &tap;
  Packet bye = Bye(ByeReason::Leaving);
  try {
    tap.BattleBegins(w);
    tap.recorder.replay.shipFiles = start.shipFiles;
    PlayBattle(w);
    tap.BattleEnds(w);
  } catch (const NetStop& stop) {
    message = stop.message;
    if (tap.check.differsAt) bye = Bye(ByeReason::Differs, *tap.check.differsAt);
  } catch (const GameExit&) {
    // The window was closed: the other player is told so.
  } catch (...) {
    message = ErrorFromException(std::current_exception()).Text();
  }
  // Kept as cut, for the report, with only the frames played on the right keys: the other machine
  // cannot have played further than those.
  const int64_t settled = tap.queue.Settled();
  if (settled < tap.queue.played) {
    tap.recorder.Rewind(settled, tap.clockAt[static_cast<size_t>(settled + 1) % kRollbackSlots]);
  }
  if (tap.recorder.recording) tap.recorder.Write();
  if (setup.stats) {
    *setup.stats = tap.stats;
    setup.stats->delay = tap.queue.delay;
    setup.stats->duelDelay = tap.queue.duelDelay;
    setup.stats->window = tap.queue.window;
  }
  CloseJoysticks(tap.sticks);
  w.inputTap = before;
  // The keys the other machine may still lack to play as far as this one did go before the goodbye.
  if (!link.gone) SendPacket(link, tap.queue.InputPacket(), true);
  CloseLink(link, &bye);
  return message;
}

// The start-up of a game window for a network battle; false with the message when it fails.
// `settingsRead` runs between reading the player's settings and opening the window.
bool StartWindow(GameWindow& w, bool init, std::string* message, const std::function<void()>& settingsRead = {}) {
  try {
    if (init) InitGame(w);
    if (settingsRead) settingsRead();
    SetupDirectX(w);
    if (w.options.soundOn) Initsound(w);
    LoadGraphics(w);
  } catch (const GameExit&) {
    *message = "The game window was closed";
    return false;
  } catch (...) {
    *message = ErrorFromException(std::current_exception()).Text();
    return false;
  }
  return true;
}

// Ends a network game: the window goes, and a message (if any) is shown.
std::string Finish(GameWindow& w, const std::string& message) {
  ShutdownGame(w);
  if (!message.empty()) w.messages.Show(kBoxTitle, message);
  return message;
}

// Waits for the next packet from the other machine until `end` (after `silenceMs` of silence) or
// until `cancelled` says so (then false with an empty message).
bool NextPacket(NetLink& link, int64_t end, int silenceMs, Packet* p, std::string* message,
                const std::function<bool()>& cancelled) {
  while (NetNowMs() < end) {
    if (cancelled && cancelled()) {
      message->clear();
      return false;
    }
    switch (Receive(link, 50, p)) {
      case NetEvent::Received:
        return true;
      case NetEvent::Gone:
        *message = "The connection to the other player was lost";
        return false;
      default:
        break;
    }
  }
  *message = "The other player has not answered for " + std::to_string(silenceMs / 1000) + " seconds";
  return false;
}

// The longest round trip of a few pings to the guest, sent 20 ms apart; `waitMs` when none came
// back in that time.
int MeasureRoundTrip(NetLink& link, int waitMs) {
  constexpr int kPings = 8;
  std::array<int64_t, kPings> sentAt{};
  int sent = 0, answered = 0;
  int64_t longest = 0;
  const int64_t began = NetNowMs();
  while (answered < kPings && NetNowMs() - began < waitMs) {
    if (sent < kPings && NetNowMs() - began >= 20 * sent) {
      Packet ping;
      ping.kind = PacketKind::Ping;
      ping.number = sent;
      sentAt[static_cast<size_t>(sent++)] = NetNowMs();
      SendPacket(link, ping);
    }
    Packet p;
    const NetEvent e = Receive(link, 5, &p);
    if (e == NetEvent::Gone) break;
    if (e != NetEvent::Received || p.kind != PacketKind::Pong || p.number >= sent) continue;
    int64_t& at = sentAt[static_cast<size_t>(p.number)];
    if (at == 0) continue;
    longest = std::max(longest, NetNowMs() - at);
    at = 0;
    ++answered;
  }
  return answered > 0 ? static_cast<int>(longest) : waitMs;
}

// One packet of the other machine during the battle. Only a new frame of the other player's own
// keys counts as hearing from him: anything else is refused and the silence goes on.
void TakePacket(NetTap& tap, Packet& p) {
  switch (p.kind) {
    case PacketKind::Input: {
      const int player = tap.host ? 2 : 1;
      const bool own = std::all_of(p.frames.begin(), p.frames.end(),
                                   [player](const std::vector<KeyEvent>& keys) { return OnlyKeysOf(player, keys); });
      const int added = own ? tap.queue.AddRemote(p.ack, p.frame, std::move(p.frames)) : -1;
      if (added < 0) ++tap.link->refused;
      if (added >= 0) tap.theirLag = p.lag;
      if (added > 0) tap.heardAt = NetNowMs();
      return;
    }
    case PacketKind::Hash:
      if (!tap.check.AddRemote(p.frame, p.hash, tap.queue.played,
                               2 * static_cast<int64_t>(tap.queue.delay + tap.queue.window) + 2)) {
        ++tap.link->refused;
      }
      return;
    case PacketKind::Bye:
      // The frames it sent before leaving still play: it may have ended the battle a frame ahead.
      if (tap.byeSaid.empty()) tap.byeSaid = ByeText(p);
      return;
    default:
      ++tap.link->refused;
  }
}

// Takes every packet that has come in (a flood no more than a frame's worth at a time).
void TakeWaitingPackets(NetTap& tap) {
  Packet p;
  for (int n = 0; n < 256; ++n) {
    // Once the other machine is gone, the frames it sent still play; the wait after them says so.
    if (Receive(*tap.link, 0, &p) != NetEvent::Received) return;
    TakePacket(tap, p);
  }
}

void SendHash(NetTap& tap, int64_t frame, uint64_t hash) {
  Packet p;
  p.kind = PacketKind::Hash;
  p.frame = frame;
  p.hash = hash;
  tap.check.AddLocal(frame, hash);
  SendPacket(*tap.link, p);
}

// Waits until `ready` says so, taking the other machine's packets and sending ours again. The
// window stays alive meanwhile: it can be closed, and after a moment it says what it waits for.
void WaitForOther(NetTap& tap, GameWindow& w, const std::function<bool()>& ready) {
  const int64_t began = NetNowMs();
  int64_t sent = began;
  bool saidWaiting = false;
  LockstepQueue& queue = tap.queue;
  const int limit = queue.nextRemote == queue.delay + 1 ? std::max(tap.silenceMs, kNetStartMs) : tap.silenceMs;
  while (!ready() || tap.check.differsAt) {
    if (tap.check.differsAt) throw NetStop{DiffersText(*tap.check.differsAt)};
    if (!tap.byeSaid.empty()) throw NetStop{tap.byeSaid};
    if (tap.link->gone) throw NetStop{"The connection to the other player was lost"};
    if (NetNowMs() - std::max(tap.heardAt, began) > limit) {
      throw NetStop{"The other player has not answered for " + std::to_string(limit / 1000) + " seconds"};
    }
    if (w.display.open) {
      CollectWindowEvents(w.events);
      if (w.events.closeRequested) throw GameExit{};
      // A key held through a long wait would pile up its repeats to trail behind the game; its
      // press and its release are what the game needs.
      std::erase_if(w.events.keys, [](const KeyEvent& k) { return k.repeat; });
      if (!saidWaiting && NetNowMs() - began > kNetWaitShownMs) {
        saidWaiting = true;
        ShowWindowCaption(w, "waiting for the other player...");
        PresentSurface(w.display, w.back);
      }
    }
    // The other machine may be waiting for ours too: they go again until it has them.
    if (NetNowMs() - sent >= kNetResendMs) {
      SendPacket(*tap.link, queue.InputPacket());
      sent = NetNowMs();
    }
    Packet p;
    if (Receive(*tap.link, 2, &p) == NetEvent::Received) TakePacket(tap, p);
  }
  tap.stats.longestWaitMs = std::max(tap.stats.longestWaitMs, NetNowMs() - began);
  if (saidWaiting) ShowWindowCaption(w, tap.caption);
  tap.heldBack.insert(tap.heldBack.end(), w.events.keys.begin(), w.events.keys.end());  // pressed while waiting
  w.events.keys.clear();
}

// In a duel, a machine that runs ahead of the other (it plays further past the other's keys than
// the other plays past its own) holds back for a frame now and then until they meet, so that
// neither plays far on guesses while the other waits.
void KeepPace(NetTap& tap, GameWindow& w) {
  const LockstepQueue& q = tap.queue;
  const int64_t mine = q.played - (q.nextRemote - 1);
  if (!q.guessing || mine - tap.theirLag < 3 || q.played - tap.slowedAt < 25) return;
  tap.slowedAt = q.played;
  ++tap.stats.slowed;
  const int64_t until = NetNowMs() + w.options.frameInterval + 1;
  Packet p;
  while (NetNowMs() < until && !tap.link->gone) {
    if (Receive(*tap.link, 1, &p) == NetEvent::Received) TakePacket(tap, p);
  }
}

}  // namespace

int DuelDelayFor(int roundTripMs, int frameMs) {
  // A frame of delay hides a one-way trip of up to a frame; longer trips are for the rollback,
  // but a second frame saves many rollbacks and is still hardly felt.
  return roundTripMs / 2 < std::max(frameMs, 1) ? 1 : 2;
}

int RollbackWindowFor(int roundTripMs, int frameMs) {
  // The other's keys of a frame come one way trip after they were pressed, `delay` frames before
  // the frame: the window covers the rest, with two frames to spare for jitter and phase.
  const int oneWayFrames = (roundTripMs / 2 + frameMs - 1) / std::max(frameMs, 1);
  return std::clamp(oneWayFrames - DuelDelayFor(roundTripMs, frameMs) + 3, 2, kMaxRollbackWindow);
}

int InputDelayFor(int roundTripMs, int frameMs) {
  // Keys must cross in `delay` frames whichever machine runs ahead of the other, with a frame to
  // spare for a lost packet and one for the other machine's phase.
  const int oneWayFrames = (roundTripMs / 2 + frameMs - 1) / std::max(frameMs, 1);
  return std::clamp(oneWayFrames + 2, kMinInputDelay, kMaxInputDelay);
}

void NetTap::Events(GameWindow& w) {
  // A frame carries a few keys; more (piled up during a long wait) go in the frames after, so that
  // none is lost: a lost release would leave a control held. As in every battle, a key released
  // before the frame took its press is released one frame later.
  heldBack.insert(heldBack.end(), w.events.keys.begin(), w.events.keys.end());
  w.events.keys.clear();
  std::vector<KeyEvent> windowKeys;
  // At a duel's start the frames the menus' longer delay reached hold keys already, and so do the
  // frames played past the other player's pause: new keys wait for the first frame without.
  if (queue.TakesLocal()) {
    std::vector<KeyEvent> pressed;
    const size_t share = std::min(kKeysTakenPerFrame, KeysForOneFrame(heldBack));
    while (pressed.size() < share) {
      pressed.push_back(heldBack.front());
      heldBack.pop_front();
    }
    // F11 and F12 belong to this machine's window: they neither travel nor enter the replay.
    std::erase_if(pressed, [&](const KeyEvent& k) {
      if (IsWindowKey(k.code)) windowKeys.push_back(k);
      return IsWindowKey(k.code);
    });
    const int player = host ? 0 : 1;
    std::vector<KeyEvent> mine = NetKeys(pressed, ownKeys, w.controlTable[player]);
    if (ownStick != 0) {
      // The joystick travels as the keys that do the same, so the other machine needs nothing of it.
      const int slot = DeviceSlot(ownStick);
      RefreshJoysticks(sticks);  // plugged in or pulled out at any time
      const JoystickState state = PollJoystick(sticks, slot);
      const std::array<bool, 7> now = StickControls(state, sticks.restX[slot], sticks.restY[slot], stickTable);
      // A gamepad steps a menu once per press, as it does in a game of one machine.
      for (const KeyEvent& k : StickKeys(stickDown, now, w.controlTable[player], w.menuActive && !IsPadDevice(ownStick))) {
        if (mine.size() < kMaxKeysPerFrame) mine.push_back(k);
      }
      stickDown = now;
      if (IsPadDevice(ownStick)) {
        // The pad's menu buttons go as the game's keys they stand for.
        const uint32_t menu = PadMenuButtons(state);
        for (const KeyEvent& k : PadMenuKeys(w, menu, w.pads.menuHeld[slot], w.pads.menuKeySent[slot])) {
          if (mine.size() < kMaxKeysPerFrame) mine.push_back(k);
        }
        w.pads.menuHeld[slot] = menu;
      }
    }
    queue.AddLocal(std::move(mine));
  }
  // Whatever came in since the last frame, then this frame's keys out at once.
  TakeWaitingPackets(*this);
  SendPacket(*link, queue.InputPacket());
  KeepPace(*this, w);
  // Out of a duel, and in a duel further than the window past the other's keys: wait for them
  // rather than guess.
  WaitForOther(*this, w, [this] { return queue.Ready(); });
  ++stats.frames;
  FrameKeys(w);
  w.events.keys.insert(w.events.keys.end(), windowKeys.begin(), windowKeys.end());
}

void NetTap::FrameKeys(GameWindow& w) {
  // The hash of a frame's state goes to the other machine only once the frames before it are
  // known to have been played on the right keys.
  const int64_t frame = queue.played + 1;
  if (frame % kHashInterval == 0) {
    const uint64_t hash = StateHash(w);
    if (queue.Settled() == queue.played) {
      SendHash(*this, frame, hash);
    } else {
      unsureHashes[frame] = hash;
    }
  }
  const std::vector<KeyEvent> keys = queue.Take(host);
  w.events.keys.assign(keys.begin(), keys.end());
  recorder.Events(w);
}

void NetTap::SaveFrameStart(GameWindow& w) {
  const int64_t next = queue.played + 1;
  ring->Save(w, next);
  const auto f = recorder.replay.frames.find(recorder.frame);
  clockAt[static_cast<size_t>(next) % kRollbackSlots] = f == recorder.replay.frames.end() ? 0 : f->second.clock.size();
  SoundFrameBegins(w.frameSounds, next, false);
}

void NetTap::SendSettledHashes() {
  while (!unsureHashes.empty() && unsureHashes.begin()->first - 1 <= queue.Settled()) {
    SendHash(*this, unsureHashes.begin()->first, unsureHashes.begin()->second);
    unsureHashes.erase(unsureHashes.begin());
  }
}

void NetTap::PlayAgain(GameWindow& w, int64_t from) {
  const int64_t to = queue.played;
  if (!ring->Restore(from, w)) throw NetStop{"The game lost its copy of frame " + std::to_string(from)};
  recorder.Rewind(from - 1, clockAt[static_cast<size_t>(from) % kRollbackSlots]);
  queue.Rewind(from - 1);
  unsureHashes.erase(unsureHashes.lower_bound(from), unsureHashes.end());
  ++stats.rollbacks;
  stats.framesAgain += to - from + 1;
  stats.longestRollback = std::max(stats.longestRollback, static_cast<int>(to - from + 1));
  for (int64_t f = from; f <= to; ++f) {
    SoundFrameBegins(w.frameSounds, f, true);
    // Only the last frame's picture is drawn: it is the one shown next.
    DuelFrameAgain(w, f == to, [this](GameWindow& g) { FrameKeys(g); });
    if (f == to) break;
    // The other player paused or ended the duel in a frame this machine had played on.
    if (w.pauseRequested || w.duelOver) break;
    SaveFrameStart(w);
  }
}

void NetTap::DuelFramesBegin(GameWindow& w) {
  if (queue.window <= 0) return;
  if (!ring) ring = std::make_unique<SnapshotRing<kRollbackSlots>>();
  queue.guessing = true;
  SaveFrameStart(w);
}

void NetTap::DuelFrameEnds(GameWindow& w) {
  if (!queue.guessing) return;
  TakeWaitingPackets(*this);
  if (const int64_t wrong = queue.WrongGuess()) PlayAgain(w, wrong);
  SendSettledHashes();
  SaveFrameStart(w);
}

void NetTap::LeavingDuel(GameWindow& w) {
  if (!queue.guessing) return;
  // A pause or the duel's end is acted on only for a frame played on the right keys: the other
  // player's keys may end the duel earlier, or not at all.
  while (queue.Settled() < queue.played) {
    WaitForOther(*this, w, [this] { return queue.nextRemote - 1 >= queue.played; });
    if (const int64_t wrong = queue.WrongGuess()) PlayAgain(w, wrong);
  }
  SendSettledHashes();
  if (w.pauseRequested || w.duelOver) {
    queue.guessing = false;
    SoundFrameBegins(w.frameSounds, 0, false);
  } else {
    SaveFrameStart(w);
  }
}

int32_t NetTap::ClockReading(GameWindow& w, int32_t) {
  // Both games must read the same time: the frames played at the game's pace.
  const int64_t ticks = queue.played * (static_cast<int64_t>(w.options.frameInterval) + 1);
  return recorder.ClockReading(w, static_cast<int32_t>(ticks & 0x7fffffff));
}

std::filesystem::path NetTap::ShipFile(GameWindow&, const std::string& name) { return ships.Path(name); }

std::string HostNetGame(GameWindow& w, uint16_t port, const NetGameSetup& setup) {
  w.messages.headless = w.headless;
  std::string message;
  NetLink link;
  if (!ListenOn(link, port, &message)) return Finish(w, message);
  if (setup.listening) setup.listening(ListeningPort(link));

  // Wait for a guest and its hello.
  Packet hello;
  const int64_t end = NetNowMs() + setup.waitForGuestMs;
  while (link.peer == nullptr) {
    if (NetNowMs() > end) return Finish(w, "No other player joined");
    if (setup.cancelled && setup.cancelled()) return Finish(w, "");
    Receive(link, 50, &hello);
  }
  if (hello.version != kNetProtocolVersion) {
    const Packet bye = Bye(ByeReason::Version);
    CloseLink(link, &bye);
    return Finish(w, "The other player's game is a different version");
  }
  // The window opens once there is someone to play: waiting for him needs no window.
  if (setup.begins) setup.begins();
  NetTap tap;
  tap.host = true;
  if (!StartWindow(w, true, &message, [&] { TakeOwnControls(tap, w, 1); })) {
    const Packet bye = Bye(ByeReason::Leaving);
    CloseLink(link, &bye);
    return Finish(w, message);
  }
  w.controlTable[0] = NetKeyTable(1);
  w.controlTable[1] = NetKeyTable(2);
  w.inputDevice = {0, 0};
  w.trainingMode = false;
  w.duelsPlayed = 0;
  for (ShipState& s : w.ship) s.alive = true;
  w.menuActive = w.menuSelect = w.menuUp = w.menuDown = false;
  w.pauseRequested = w.duelOver = w.quitBattle = false;

  Replay start;
  start.state = SnapshotLines(w);
  for (int i = 0; i <= w.lastShipIndex && i < static_cast<int>(w.shipFiles.size()); ++i) {
    const std::string& name = w.shipFiles[static_cast<size_t>(i)];
    std::string bytes, error;
    if (!name.empty() && ReadWholeFile(ShipFileInput(w, name), &bytes, &error)) start.shipFiles[name] = bytes;
  }
  Packet go;
  go.kind = PacketKind::Start;
  const int frameMs = w.options.frameInterval + 1;
  const int roundTrip = setup.delay == 0 || setup.duelDelay == 0 || setup.window < 0 ? MeasureRoundTrip(link, 2000) : 0;
  go.delay = setup.delay > 0 ? setup.delay : InputDelayFor(roundTrip, frameMs);
  go.duelDelay = std::min(go.delay, setup.duelDelay > 0 ? setup.duelDelay : DuelDelayFor(roundTrip, frameMs));
  go.window = std::min(setup.window >= 0 ? setup.window : RollbackWindowFor(roundTrip, frameMs), kMaxRollbackWindow);
  go.text = ReplayText(start);
  SendPacket(link, go);
  return Finish(w, PlayNetBattle(w, link, tap, start, go, setup));
}

std::string JoinNetGame(GameWindow& w, const std::string& address, uint16_t port, const NetGameSetup& setup) {
  w.messages.headless = w.headless;
  NetLink link;
  std::string message;
  // A player who gave up waiting has nothing to be told.
  if (!ConnectTo(link, address, port, setup.silenceMs, &message, setup.cancelled)) {
    if (!message.empty()) w.messages.Show(kBoxTitle, message);
    return message;
  }
  Packet hello;
  SendPacket(link, hello);
  // The host measures the round trip before it starts the game: its pings are answered. Its first
  // keys may overtake the start on the way: they come again with its next packets.
  const int startMs = std::max(setup.silenceMs, kNetStartMs);
  const int64_t end = NetNowMs() + startMs;
  Packet p;
  do {
    if (p.kind == PacketKind::Ping) {
      p.kind = PacketKind::Pong;
      SendPacket(link, p);
    }
    if (!NextPacket(link, end, startMs, &p, &message, setup.cancelled)) {
      if (!message.empty()) w.messages.Show(kBoxTitle, message);
      const Packet bye = Bye(ByeReason::Leaving);
      CloseLink(link, &bye);
      return message;
    }
  } while (p.kind == PacketKind::Ping || p.kind == PacketKind::Input);
  if (p.kind != PacketKind::Start) {
    message = p.kind == PacketKind::Bye ? ByeText(p) : "The host sent something else than a game";
    w.messages.Show(kBoxTitle, message);
    return message;
  }
  // Everything the host's game says is checked before a window opens; a game that fails is
  // refused, and the host hears that this player left.
  Replay start;
  NetTap tap;
  tap.host = false;
  if (!ParseReplay(p.text, &start, &message) || !tap.ships.Write(start.shipFiles, "net-guest", &message) ||
      !CheckStart(start, tap.ships, &message)) {
    message = "The host sent a game that cannot be read: " + message;
    w.messages.Show(kBoxTitle, message);
    const Packet bye = Bye(ByeReason::Leaving);
    CloseLink(link, &bye);
    return message;
  }

  // This machine's own settings first: its keys, its sound; then the host's game over them.
  if (setup.begins) setup.begins();
  try {
    InitGame(w);
  } catch (...) {
    const GameError e = ErrorFromException(std::current_exception());
    w.messages.Show(kBoxTitle, e.Text());
    return e.description;
  }
  TakeOwnControls(tap, w, 2);
  const GameOptions own = w.options;
  if (!StartWindow(w, false, &message)) return Finish(w, message);
  if (!ApplySnapshotLines(start.state, w, &message)) return Finish(w, "The host sent a game that cannot be read: " + message);
  w.options.soundOn = own.soundOn;
  w.options.musicOn = own.musicOn;
  w.options.soundVolume = own.soundVolume;
  w.options.musicVolume = own.musicVolume;
  return Finish(w, PlayNetBattle(w, link, tap, start, p, setup));
}

}  // namespace quorvex
