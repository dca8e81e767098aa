// The bookkeeping of a lockstep battle, without sockets: which keys play in which frame, which of
// them the other machine still lacks, and whether the two machines' state hashes agree. Both
// machines play frame f only when they hold both players' keys for f; a player's keys taken in
// frame f play in frame f + delay, so the other machine has `delay` frames to receive them before
// it has to wait. Keys travel unreliably: every input packet carries all the sender's frames the
// receiver has not acknowledged, so a lost packet costs nothing and a late or repeated one adds
// nothing new.
#pragma once
#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "game/net/Packets.h"
#include "platform/Display.h"

namespace quorvex {

struct LockstepQueue {
  int delay = 4;       // frames between a key and the frame it plays in, in the menus
  int duelDelay = 4;   // the same in a duel, which may play on a guess: no longer than `delay`
  int window = 0;      // frames a duel may play past the last frame of the other's keys held
  bool guessing = false;   // the frames played now are a duel's: they may be played on a guess
  int64_t played = 0;      // the last frame played
  int64_t nextRemote = 0;  // the first frame of the other machine's keys not held yet
  int64_t lastLocal = 0;   // the last frame of this machine's keys taken
  int64_t acked = 0;       // the other machine holds this machine's keys up to this frame
  int64_t guessedFrom = 0;  // the first frame played on a guess of the other's keys (0: none)
  int64_t lastGuessed = 0;  // the last one (the frames after it were played on his real keys)
  // By the frame they play in. This machine's keys stay until played for sure and acknowledged,
  // the other's until played for sure: both at most about 2 x (delay + window) frames, whatever
  // the other machine sends.
  std::map<int64_t, std::vector<KeyEvent>> local, remote;

  explicit LockstepQueue(int inputDelay = 4, int guessWindow = 0, int inDuelDelay = 0)
      : delay(inputDelay),
        duelDelay(inDuelDelay > 0 ? std::min(inDuelDelay, inputDelay) : inputDelay),
        window(guessWindow),
        nextRemote(inputDelay + 1),
        lastLocal(inputDelay),
        acked(inputDelay) {}

  // Whether this frame takes new keys of this machine's player: not while frames further on than
  // the delay hold keys already (at a duel's start, after the menus' longer delay); they wait.
  bool TakesLocal() const { return lastLocal < played + 1 + (guessing ? duelDelay : delay); }
  // The local keys taken while frame `played` + 1 is about to be played; returns the frame they
  // play in. Frames a longer delay passes over get no keys.
  int64_t AddLocal(std::vector<KeyEvent> keys);
  // An input packet of the other machine: its acknowledgement `ack` and its keys from frame `first`
  // on. Returns how many frames were new, or -1 when the packet is refused whole (and nothing
  // changes): it acknowledges frames never sent, leaves a gap, or runs further ahead than the other
  // machine can be.
  int AddRemote(int64_t ack, int64_t first, std::vector<std::vector<KeyEvent>> frames);
  // The next frame can be played: both players' keys are here (the first `delay` frames have
  // none), or, in a duel, this machine's are and the other's are at most `window` frames behind.
  bool Ready() const;
  // Plays the next frame: player 1's keys, then player 2's. Only when Ready(). The other player's
  // keys not here yet are guessed: no change, he holds what he held.
  std::vector<KeyEvent> Take(bool localIsPlayer1);
  // The last frame played on keys known to be right.
  int64_t Settled() const { return guessedFrom > 0 ? guessedFrom - 1 : played; }
  // Checks the guesses against the other's keys that came since: the first frame whose guess was
  // wrong (the frames before it are settled), or 0 when every guess that can be checked was right.
  int64_t WrongGuess();
  // Frames after `frame` are to be played again (Take goes on from frame + 1).
  void Rewind(int64_t frame);
  // The input packet to send now: this machine's keys the other has not acknowledged (as many of
  // the oldest as fit), and the acknowledgement of the other's.
  Packet InputPacket() const;

 private:
  void Forget();
};

// The state hashes of both machines at the check frames; the first frame where they differ.
struct HashCheck {
  int64_t interval = 50;
  int64_t lastRemote = 0;
  std::map<int64_t, uint64_t> local, remote;
  std::optional<int64_t> differsAt;

  void AddLocal(int64_t frame, uint64_t hash);
  // The other machine's hash for `frame`: refused (false) unless a check frame after the last one
  // received and no more than `ahead` frames past `played`.
  bool AddRemote(int64_t frame, uint64_t hash, int64_t played, int64_t ahead);

 private:
  void Compare(int64_t frame);
};

}  // namespace quorvex
