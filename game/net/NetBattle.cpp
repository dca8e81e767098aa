#include "game/net/NetBattle.h"

#include <SDL.h>
#include <enet/enet.h>

#include <algorithm>
#include <system_error>

#include "game/audio/Initsound.h"
#include "game/controls/WindowKeys.h"
#include "game/core/GameExit.h"
#include "game/flow/GameFlow.h"
#include "game/flow/Startup.h"
#include "game/render/Font.h"
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

std::string DelayCaption(int delay) {
  return "net delay " + std::to_string(delay) + (delay == 1 ? " frame" : " frames");
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
}

// The network line in the bottom left corner of the game window, over whatever the game draws there.
void ShowNetCaption(GameWindow& w, const std::string& text) {
  if (!w.display.open) return;
  Surface caption(static_cast<int>(text.size()) * kSmallAdvance, 13);
  FontTextOn(caption, w.fontSheet, 0, 0, text, true, false);
  SetDisplayCaption(w.display, caption, 6, kScreenHeight - 19);
}

// Plays the battle on a prepared state and says goodbye; the message when it ended badly.
std::string PlayNetBattle(GameWindow& w, NetLink& link, NetTap& tap, const Replay& start, const NetGameSetup& setup) {
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
  tap.caption = DelayCaption(setup.delay);
  ShowNetCaption(w, tap.caption);
  tap.queue = LockstepQueue(setup.delay);
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
  if (tap.recorder.recording) tap.recorder.Write();  // kept as cut, for the report
  CloseJoysticks(tap.sticks);
  w.inputTap = before;
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

// Waits for the next packet from the other machine, at most `silenceMs` or until `cancelled`
// says so (then false with an empty message).
bool NextPacket(NetLink& link, int silenceMs, Packet* p, std::string* message, const std::function<bool()>& cancelled) {
  const int64_t end = NetNowMs() + silenceMs;
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

}  // namespace

void NetTap::Events(GameWindow& w) {
  // A frame carries a few keys; more (piled up during a long wait) go in the frames after, so that
  // none is lost: a lost release would leave a control held.
  heldBack.insert(heldBack.end(), w.events.keys.begin(), w.events.keys.end());
  w.events.keys.clear();
  std::vector<KeyEvent> pressed;
  while (!heldBack.empty() && pressed.size() < kKeysTakenPerFrame) {
    pressed.push_back(heldBack.front());
    heldBack.pop_front();
  }
  // F11 and F12 belong to this machine's window: they neither travel nor enter the replay.
  std::vector<KeyEvent> windowKeys;
  std::erase_if(pressed, [&](const KeyEvent& k) {
    if (IsWindowKey(k.code)) windowKeys.push_back(k);
    return IsWindowKey(k.code);
  });
  const int player = host ? 0 : 1;
  std::vector<KeyEvent> mine = NetKeys(pressed, ownKeys, w.controlTable[player]);
  if (ownStick != 0) {
    // The joystick travels as the keys that do the same, so the other machine needs nothing of it.
    const int slot = ownStick - 1;
    RefreshJoysticks(sticks);  // plugged in or pulled out at any time
    const JoystickState& state = PollJoystick(sticks, slot);
    const std::array<bool, 7> now = StickControls(state, sticks.restX[slot], sticks.restY[slot], stickTable);
    for (const KeyEvent& k : StickKeys(stickDown, now, w.controlTable[player], w.menuActive)) {
      if (mine.size() < kMaxKeysPerFrame) mine.push_back(k);
    }
    stickDown = now;
  }

  const int64_t frame = queue.played + 1;
  if (frame % kHashInterval == 0) {
    Packet hash;
    hash.kind = PacketKind::Hash;
    hash.frame = frame;
    hash.hash = StateHash(w);
    check.AddLocal(frame, hash.hash);
    SendPacket(*link, hash);
  }
  Packet input;
  input.kind = PacketKind::Input;
  input.keys = mine;
  input.frame = queue.AddLocal(std::move(mine));
  SendPacket(*link, input);

  // Lockstep: wait for the other player's keys of this frame rather than guess them. The window
  // stays alive meanwhile: it can be closed, and after a moment it says what it waits for.
  const int64_t began = NetNowMs();
  int64_t heard = began;
  bool saidWaiting = false;
  const int limit = queue.nextRemote == queue.delay + 1 ? std::max(silenceMs, kNetStartMs) : silenceMs;
  while (!queue.Ready() || check.differsAt) {
    if (check.differsAt) throw NetStop{DiffersText(*check.differsAt)};
    if (NetNowMs() - heard > limit) {
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
        ShowNetCaption(w, "waiting for the other player...");
        PresentSurface(w.display, w.back);
      }
    }
    Packet p;
    const NetEvent e = Receive(*link, 10, &p);
    if (e == NetEvent::Gone) throw NetStop{"The connection to the other player was lost"};
    if (e != NetEvent::Received) continue;
    heard = NetNowMs();
    if (p.kind == PacketKind::Input) {
      if (!queue.AddRemote(p.frame, std::move(p.keys))) ++link->refused;
    } else if (p.kind == PacketKind::Hash) {
      if (!check.AddRemote(p.frame, p.hash, queue.played, 2 * static_cast<int64_t>(queue.delay) + 2)) ++link->refused;
    } else if (p.kind == PacketKind::Bye) {
      throw NetStop{ByeText(p)};
    } else {
      ++link->refused;
    }
  }
  if (saidWaiting) ShowNetCaption(w, caption);
  heldBack.insert(heldBack.end(), w.events.keys.begin(), w.events.keys.end());  // pressed while waiting
  const std::vector<KeyEvent> keys = queue.Take(host);
  w.events.keys.assign(keys.begin(), keys.end());
  recorder.Events(w);
  w.events.keys.insert(w.events.keys.end(), windowKeys.begin(), windowKeys.end());
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
  bool greeted = false;
  const int64_t end = NetNowMs() + setup.waitForGuestMs;
  int64_t connectedAt = 0;
  while (!greeted) {
    if (NetNowMs() > end) return Finish(w, "No other player joined");
    if (setup.cancelled && setup.cancelled()) return Finish(w, "");
    const NetEvent e = Receive(link, 50, &hello);
    if (e == NetEvent::Connected) connectedAt = NetNowMs();
    if (e == NetEvent::Received) greeted = hello.kind == PacketKind::Hello;
    if (e == NetEvent::Gone) link.gone = false;  // that guest gave up; wait for another
    if (!greeted && link.peer != nullptr && NetNowMs() - connectedAt > setup.silenceMs) {
      // Connected but silent: not a game; make room for one.
      enet_peer_reset(link.peer);
      link.peer = nullptr;
    }
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
  go.delay = setup.delay;
  go.text = ReplayText(start);
  SendPacket(link, go);
  return Finish(w, PlayNetBattle(w, link, tap, start, setup));
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
  Packet p;
  if (!NextPacket(link, std::max(setup.silenceMs, kNetStartMs), &p, &message, setup.cancelled)) {
    if (!message.empty()) w.messages.Show(kBoxTitle, message);
    const Packet bye = Bye(ByeReason::Leaving);
    CloseLink(link, &bye);
    return message;
  }
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
  return Finish(w, PlayNetBattle(w, link, tap, start, setup));
}

}  // namespace quorvex
