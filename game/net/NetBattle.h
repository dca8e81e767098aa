// A battle between two machines: both run the whole game from the armada selection to the
// results, and each frame both players' keys enter both games in the same order, `delay` frames
// after they were pressed. In a duel the delay is a frame or two, and a machine that lacks the
// other player's keys for a frame plays on with a guess (he changed nothing) and, when his keys
// say otherwise, puts the battle back to that frame and plays the frames again before the next
// picture (rollback). The host flies player 1 and sends its options, its ship files and the
// random seed; the guest flies player 2. Every 50 frames the two state hashes are compared, on the
// frames as they really were.
#pragma once
#include <array>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "game/core/InputTap.h"
#include "game/net/Lockstep.h"
#include "game/net/NetKeys.h"
#include "game/net/NetLink.h"
#include "game/replay/BattleSnapshot.h"
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

// Snapshots kept of a duel's frames: more than the longest rollback window.
constexpr size_t kRollbackSlots = 32;

// What a network battle did to keep both games at pace, for the tools that measure it.
struct NetStats {
  int64_t frames = 0;           // frames played
  int64_t rollbacks = 0;        // times frames were played again
  int64_t framesAgain = 0;      // frames played again in all
  int longestRollback = 0;      // the most frames played again at once
  int64_t slowed = 0;           // frames this machine held back to let the other catch up
  int64_t longestWaitMs = 0;    // the longest wait for the other machine's keys
  int delay = 0, duelDelay = 0, window = 0;
};

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
  // Rollback: the battle at the start of each recent duel frame, the recording's clock readings of
  // the frame before at that moment, and state hashes of frames played on a guess, sent once sure.
  std::unique_ptr<SnapshotRing<kRollbackSlots>> ring;
  std::array<size_t, kRollbackSlots> clockAt{};
  std::map<int64_t, uint64_t> unsureHashes;
  int theirLag = 0;         // how far the other machine last said it plays past our keys
  int64_t slowedAt = 0;     // the frame this machine last held back at
  NetStats stats;
  ReplayRecorder recorder;
  ShipCopies ships;  // the ship files the host sent: both machines load their ships from these

  void BattleBegins(GameWindow& w) override { recorder.BattleBegins(w); }
  void BattleEnds(GameWindow& w) override { recorder.BattleEnds(w); }
  void Events(GameWindow& w) override;
  void DuelFramesBegin(GameWindow& w) override;
  void DuelFrameEnds(GameWindow& w) override;
  void LeavingDuel(GameWindow& w) override;
  JoystickState Joystick(GameWindow&, int) override { return JoystickState{}; }
  int32_t ClockReading(GameWindow& w, int32_t ticks) override;
  std::filesystem::path ShipFile(GameWindow& w, const std::string& name) override;
  bool TakesUpJoysticks() const override { return false; }

  // The keys of the next frame into w.events, recorded, with the state hash of a check frame.
  void FrameKeys(GameWindow& w);
  // Keeps the battle as it is at the start of the next frame, for a rollback.
  void SaveFrameStart(GameWindow& w);
  void SendSettledHashes();
  // Puts the battle back to the start of frame `from` and plays it and the frames after it again
  // up to the frame played last, or up to a frame that leaves the duel.
  void PlayAgain(GameWindow& w, int64_t from);
};

struct NetGameSetup {
  std::filesystem::path replayFolder;  // both machines record the battle here
  int delay = 0;  // the host's input delay; 0: chosen from the round trip it measures
  int duelDelay = 0;  // the host's input delay in duels; 0: chosen from the round trip
  int window = -1;    // frames a duel may be played on a guess; -1: chosen from the round trip
  NetStats* stats = nullptr;  // filled in when the battle ends
  int silenceMs = kNetSilenceMs;
  int waitForGuestMs = 5 * 60 * 1000;
  std::function<bool()> cancelled;  // the host stops waiting for a guest, the guest for the host, when this says so
  std::function<void(uint16_t)> listening;  // the host listens on this port (port 0 picks a free one)
  std::function<void()> begins;             // the other machine is there: the game window opens next
};

// The input delay that hides a measured round trip of `roundTripMs` at `frameMs` per frame.
int InputDelayFor(int roundTripMs, int frameMs);
// In a duel: the input delay (1 or 2 frames, so that a player's own ship answers at once) and the
// frames it may play on a guess, enough for the other player's keys to arrive over that round trip.
int DuelDelayFor(int roundTripMs, int frameMs);
int RollbackWindowFor(int roundTripMs, int frameMs);

// Hosts a battle on UDP `port` with `w` (w.clock and w.programDir set): waits for a guest, plays
// the battle and returns when it ends. Returns the message to show when it ended otherwise than
// by the game (empty when it ended well).
std::string HostNetGame(GameWindow& w, uint16_t port, const NetGameSetup& setup);
// Joins the battle hosted at `address`:`port`.
std::string JoinNetGame(GameWindow& w, const std::string& address, uint16_t port, const NetGameSetup& setup);

}  // namespace quorvex
