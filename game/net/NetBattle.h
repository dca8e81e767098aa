// A battle between two machines: both run the whole game from the armada selection to the
// results, and each frame both players' keys enter both games in the same order, `delay` frames
// after they were pressed. The host flies player 1 and sends its options, its ship files and the
// random seed; the guest flies player 2. Every 50 frames the two state hashes are compared.
#pragma once
#include <array>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "game/core/InputTap.h"
#include "game/net/Lockstep.h"
#include "game/net/NetKeys.h"
#include "game/net/NetLink.h"
#include "game/replay/Recorder.h"
#include "game/replay/ShipCopies.h"

namespace quorvex {

// Frames between a key press and the frame it plays in, when it is not chosen from the measured
// round trip: 4 frames of 21 ms hide a one-way trip of about 80 ms.
constexpr int kDefaultInputDelay = 4;
// A machine waiting for the other's keys sends its own again this often: the other may be waiting too.
constexpr int kNetResendMs = 15;
// Seconds of silence after which the other machine counts as gone.
constexpr int kNetSilenceMs = 5000;
// A wait for the other machine longer than this is shown in the game window.
constexpr int kNetWaitShownMs = 500;
// Until the battle's first keys arrive the other machine may still be opening its window.
constexpr int kNetStartMs = 20000;

// Ends a network battle: the message for the player ("the two games differ at frame N", ...).
struct NetStop {
  std::string message;
};

struct NetTap : InputTap {
  NetLink* link = nullptr;
  bool host = true;  // the host flies player 1
  LockstepQueue queue;
  HashCheck check;
  int silenceMs = kNetSilenceMs;
  int64_t heardAt = 0;              // when the other machine's last new frame came
  std::string byeSaid;              // the other machine left: what to tell once its keys run out
  std::array<double, 7> ownKeys{};  // this machine's player's keys, from its own keys.cfg
  int ownStick = 0;                    // 1 or 2: he also flies with that joystick (his device.cfg)
  std::array<double, 7> stickTable{};  // and its controls, from his keys.cfg
  std::array<bool, 7> stickDown{};     // the joystick's controls as read last frame
  // His joysticks, apart from the game's: the game's are part of the battle's state, the same on
  // both machines, and no joystick plugged into one machine may change them.
  Joysticks sticks;
  std::deque<KeyEvent> heldBack;       // keys pressed while this machine waited: the next frame's
  std::string caption;                 // the game window's network line
  ReplayRecorder recorder;
  ShipCopies ships;  // the ship files the host sent: both machines load their ships from these

  void BattleBegins(GameWindow& w) override { recorder.BattleBegins(w); }
  void BattleEnds(GameWindow& w) override { recorder.BattleEnds(w); }
  void Events(GameWindow& w) override;
  JoystickState Joystick(GameWindow&, int) override { return JoystickState{}; }
  int32_t ClockReading(GameWindow& w, int32_t ticks) override;
  std::filesystem::path ShipFile(GameWindow& w, const std::string& name) override;
  bool TakesUpJoysticks() const override { return false; }
};

struct NetGameSetup {
  std::filesystem::path replayFolder;  // both machines record the battle here
  int delay = 0;  // the host's input delay; 0: chosen from the round trip it measures
  int silenceMs = kNetSilenceMs;
  int waitForGuestMs = 5 * 60 * 1000;
  std::function<bool()> cancelled;  // the host stops waiting for a guest, the guest for the host, when this says so
  std::function<void(uint16_t)> listening;  // the host listens on this port (port 0 picks a free one)
  std::function<void()> begins;             // the other machine is there: the game window opens next
};

// The input delay that hides a measured round trip of `roundTripMs` at `frameMs` per frame.
int InputDelayFor(int roundTripMs, int frameMs);

// Hosts a battle on UDP `port` with `w` (w.clock and w.programDir set): waits for a guest, plays
// the battle and returns when it ends. Returns the message to show when it ended otherwise than
// by the game (empty when it ended well).
std::string HostNetGame(GameWindow& w, uint16_t port, const NetGameSetup& setup);
// Joins the battle hosted at `address`:`port`.
std::string JoinNetGame(GameWindow& w, const std::string& address, uint16_t port, const NetGameSetup& setup);

}  // namespace quorvex
