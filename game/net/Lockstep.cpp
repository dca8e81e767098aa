#include "game/net/Lockstep.h"

namespace quorvex {

int64_t LockstepQueue::AddLocal(std::vector<KeyEvent> keys) {
  const int64_t frame = played + 1 + delay;
  local[frame] = std::move(keys);
  return frame;
}

bool LockstepQueue::AddRemote(int64_t frame, std::vector<KeyEvent> keys) {
  // The other machine plays no further than the keys we sent (frame played + 1 + delay at most),
  // and sends its keys for `delay` frames after the one it is about to play.
  if (frame != nextRemote || frame > played + 2 + 2 * static_cast<int64_t>(delay)) return false;
  remote[frame] = std::move(keys);
  ++nextRemote;
  return true;
}

bool LockstepQueue::Ready() const {
  const int64_t next = played + 1;
  if (next <= delay) return true;
  return local.count(next) && remote.count(next);
}

std::vector<KeyEvent> LockstepQueue::Take(bool localIsPlayer1) {
  const int64_t next = ++played;
  std::vector<KeyEvent> mine, theirs;
  if (auto f = local.find(next); f != local.end()) {
    mine = std::move(f->second);
    local.erase(f);
  }
  if (auto f = remote.find(next); f != remote.end()) {
    theirs = std::move(f->second);
    remote.erase(f);
  }
  std::vector<KeyEvent> keys = localIsPlayer1 ? mine : theirs;
  const std::vector<KeyEvent>& second = localIsPlayer1 ? theirs : mine;
  keys.insert(keys.end(), second.begin(), second.end());
  return keys;
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
