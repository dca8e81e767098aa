// The bookkeeping of a lockstep battle, without sockets: which keys play in which frame, and
// whether the two machines' state hashes agree. Both machines play frame f only when they hold both
// players' keys for f; a player's keys taken in frame f play in frame f + delay, so the other
// machine has `delay` frames to receive them before it has to wait.
#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "platform/Display.h"

namespace quorvex {

struct LockstepQueue {
  int delay = 4;
  int64_t played = 0;            // the last frame played
  int64_t nextRemote = 0;        // the frame the other machine's next input packet must be for
  std::map<int64_t, std::vector<KeyEvent>> local, remote;  // by the frame they play in

  explicit LockstepQueue(int inputDelay = 4) : delay(inputDelay), nextRemote(inputDelay + 1) {}

  // The local keys taken while frame `played` + 1 is about to be played; returns the frame they play in.
  int64_t AddLocal(std::vector<KeyEvent> keys);
  // The other machine's keys for `frame`. Each frame comes once and in order, and never further
  // ahead than the other machine can be; anything else is refused (false) and changes nothing.
  bool AddRemote(int64_t frame, std::vector<KeyEvent> keys);
  // Both players' keys for the next frame are here (the first `delay` frames have none).
  bool Ready() const;
  // Plays the next frame: player 1's keys, then player 2's. Only when Ready().
  std::vector<KeyEvent> Take(bool localIsPlayer1);
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
