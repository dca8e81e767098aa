// The bookkeeping of a lockstep battle, without sockets: which keys play in which frame, which of
// them the other machine still lacks, and whether the two machines' state hashes agree. Both
// machines play frame f only when they hold both players' keys for f; a player's keys taken in
// frame f play in frame f + delay, so the other machine has `delay` frames to receive them before
// it has to wait. Keys travel unreliably: every input packet carries all the sender's frames the
// receiver has not acknowledged, so a lost packet costs nothing and a late or repeated one adds
// nothing new.
#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "game/net/Packets.h"
#include "platform/Display.h"

namespace quorvex {

struct LockstepQueue {
  int delay = 4;
  int64_t played = 0;      // the last frame played
  int64_t nextRemote = 0;  // the first frame of the other machine's keys not held yet
  int64_t lastLocal = 0;   // the last frame of this machine's keys taken
  int64_t acked = 0;       // the other machine holds this machine's keys up to this frame
  // By the frame they play in. This machine's keys stay until played and acknowledged, the other's
  // until played: both at most about 2 x delay frames, whatever the other machine sends.
  std::map<int64_t, std::vector<KeyEvent>> local, remote;

  explicit LockstepQueue(int inputDelay = 4)
      : delay(inputDelay), nextRemote(inputDelay + 1), lastLocal(inputDelay), acked(inputDelay) {}

  // The local keys taken while frame `played` + 1 is about to be played; returns the frame they play in.
  int64_t AddLocal(std::vector<KeyEvent> keys);
  // An input packet of the other machine: its acknowledgement `ack` and its keys from frame `first`
  // on. Returns how many frames were new, or -1 when the packet is refused whole (and nothing
  // changes): it acknowledges frames never sent, leaves a gap, or runs further ahead than the other
  // machine can be.
  int AddRemote(int64_t ack, int64_t first, std::vector<std::vector<KeyEvent>> frames);
  // Both players' keys for the next frame are here (the first `delay` frames have none).
  bool Ready() const;
  // Plays the next frame: player 1's keys, then player 2's. Only when Ready().
  std::vector<KeyEvent> Take(bool localIsPlayer1);
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
