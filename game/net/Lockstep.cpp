#include "game/net/Lockstep.h"

#include <algorithm>

namespace quorvex {

int64_t LockstepQueue::AddLocal(std::vector<KeyEvent> keys) {
  const int64_t at = std::max(lastLocal + 1, played + 1 + (guessing ? duelDelay : delay));
  while (lastLocal + 1 < at) local[++lastLocal];
  lastLocal = at;
  local[at] = std::move(keys);
  return at;
}

int LockstepQueue::AddRemote(int64_t ack, int64_t first, std::vector<std::vector<KeyEvent>> frames) {
  // A packet of no frames (only an acknowledgement) brings none, wherever it says they start.
  const int64_t last = frames.empty() ? nextRemote - 1 : first + static_cast<int64_t>(frames.size()) - 1;
  // The other machine sends from the first frame it has not seen acknowledged, never past one we
  // lack. It plays no further than `window` frames past the keys it holds of ours (`ack`), and no
  // further than the keys we sent, and sends its keys for `delay` frames after the one it plays.
  const int64_t lead = static_cast<int64_t>(delay) + window;
  if (ack < delay || ack > lastLocal) return -1;
  if (!frames.empty() && (first <= delay || first > nextRemote || last > ack + lead + 1 ||
                          last > played + 2 + 2 * lead)) {
    return -1;
  }
  int added = 0;
  for (int64_t f = nextRemote; f <= last; ++f, ++added) remote[f] = std::move(frames[static_cast<size_t>(f - first)]);
  nextRemote = std::max(nextRemote, last + 1);
  acked = std::max(acked, ack);
  Forget();
  return added;
}

bool LockstepQueue::Ready() const {
  const int64_t next = played + 1;
  if (next <= delay) return true;
  if (!local.count(next)) return false;
  return remote.count(next) || (guessing && next - (nextRemote - 1) <= window);
}

std::vector<KeyEvent> LockstepQueue::Take(bool localIsPlayer1) {
  const int64_t next = ++played;
  std::vector<KeyEvent> mine, theirs;
  if (auto f = local.find(next); f != local.end()) mine = f->second;
  if (auto f = remote.find(next); f != remote.end()) {
    theirs = f->second;
  } else if (next > delay) {
    if (guessedFrom == 0) guessedFrom = next;
    lastGuessed = next;
  }
  Forget();
  std::vector<KeyEvent> keys = localIsPlayer1 ? mine : theirs;
  const std::vector<KeyEvent>& second = localIsPlayer1 ? theirs : mine;
  keys.insert(keys.end(), second.begin(), second.end());
  return keys;
}

int64_t LockstepQueue::WrongGuess() {
  if (guessedFrom == 0) return 0;
  const int64_t known = std::min(lastGuessed, nextRemote - 1);
  for (int64_t f = guessedFrom; f <= known; ++f) {
    // The guess was that nothing changes: any key of his that frame makes it wrong.
    if (auto r = remote.find(f); r != remote.end() && !r->second.empty()) {
      guessedFrom = f;
      return f;
    }
  }
  guessedFrom = known >= lastGuessed ? 0 : std::max(guessedFrom, known + 1);
  Forget();
  return 0;
}

void LockstepQueue::Rewind(int64_t frame) {
  played = frame;
  guessedFrom = lastGuessed = 0;
}

Packet LockstepQueue::InputPacket() const {
  Packet p;
  p.kind = PacketKind::Input;
  p.ack = nextRemote - 1;
  p.frame = acked + 1;
  p.lag = static_cast<int>(std::clamp<int64_t>(played - (nextRemote - 1), -kMaxLag, kMaxLag));
  size_t bytes = 11;
  for (auto f = local.upper_bound(acked); f != local.end() && p.frames.size() < kMaxFramesPerPacket; ++f) {
    bytes += 1 + 2 * f->second.size();
    if (bytes > kMaxInputBytes) break;
    p.frames.push_back(f->second);
  }
  return p;
}

void LockstepQueue::Forget() {
  const int64_t settled = Settled();
  const int64_t done = std::min(acked, settled);
  while (!local.empty() && local.begin()->first <= done) local.erase(local.begin());
  while (!remote.empty() && remote.begin()->first <= settled) remote.erase(remote.begin());
}

void HashCheck::AddLocal(int64_t frame, uint64_t hash) {
  local[frame] = hash;
  Compare(frame);
}

bool HashCheck::AddRemote(int64_t frame, uint64_t hash, int64_t played, int64_t ahead) {
  if (frame % interval != 0 || frame <= lastRemote || frame > played + ahead) return false;
  lastRemote = frame;
  remote[frame] = hash;
  Compare(frame);
  return true;
}

void HashCheck::Compare(int64_t frame) {
  const auto l = local.find(frame);
  const auto r = remote.find(frame);
  if (l == local.end() || r == remote.end()) return;
  if (l->second != r->second && !differsAt) differsAt = frame;
  local.erase(l);
  remote.erase(r);
}

}  // namespace quorvex
