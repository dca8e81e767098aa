// A copy of the battle state that can be put back: every field of the battle's field table, the
// same the state hash covers. Where the fields lie is worked out once from the table; after that a
// snapshot is a copy of those bytes and texts into storage it keeps, so taking one every frame
// allocates nothing once the texts have found their room. A ring of them keeps the last frames.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "game/core/GameWindow.h"

namespace quorvex {

// Where the battle fields lie inside a GameWindow: the same for every window.
struct SnapshotLayout {
  struct Range {
    size_t offset = 0, size = 0;
  };
  std::vector<Range> plain;   // fields copied as bytes, neighbours joined
  std::vector<size_t> texts;  // std::string fields
  size_t plainBytes = 0;
};

SnapshotLayout MakeSnapshotLayout();

struct BattleSnapshot {
  std::vector<unsigned char> bytes;
  std::vector<std::string> texts;
};

void TakeSnapshot(const SnapshotLayout& layout, const GameWindow& w, BattleSnapshot& into);
// Puts back a snapshot taken with TakeSnapshot.
void RestoreSnapshot(const SnapshotLayout& layout, const BattleSnapshot& from, GameWindow& w);

// The snapshots of the last `kSlots` frames, by frame number.
template <size_t kSlots>
struct SnapshotRing {
  SnapshotLayout layout = MakeSnapshotLayout();
  std::array<BattleSnapshot, kSlots> copies;
  std::array<int64_t, kSlots> frames{};  // 0: empty

  void Save(const GameWindow& w, int64_t frame) {
    const size_t i = static_cast<size_t>(frame) % kSlots;
    TakeSnapshot(layout, w, copies[i]);
    frames[i] = frame;
  }
  // Puts frame `frame` back; false when the ring no longer (or never) held it.
  bool Restore(int64_t frame, GameWindow& w) const {
    const size_t i = static_cast<size_t>(frame) % kSlots;
    if (frame <= 0 || frames[i] != frame) return false;
    RestoreSnapshot(layout, copies[i], w);
    return true;
  }
};

}  // namespace quorvex
