#include "game/replay/BattleSnapshot.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <type_traits>

#include "game/replay/BattleFields.h"

namespace quorvex {

namespace {

// Walks the field table once and notes where each field lies relative to the window.
struct LayoutBuilder {
  const unsigned char* base;
  SnapshotLayout* out;

  size_t Offset(const void* field) const { return static_cast<size_t>(static_cast<const unsigned char*>(field) - base); }
  template <class T>
  void Add(const T& v) {
    if constexpr (std::is_same_v<T, std::string>) {
      out->texts.push_back(Offset(&v));
    } else if constexpr (std::is_trivially_copyable_v<T>) {
      out->plain.push_back({Offset(&v), sizeof v});
    } else {
      for (const auto& item : v) Add(item);
    }
  }
  // Whatever else a field's entry says (whether it decides the game, its valid range) does not matter here.
  template <class T, class... Rest>
  void operator()(const std::string&, const T& v, const Rest&...) {
    Add(v);
  }
};

}  // namespace

SnapshotLayout MakeSnapshotLayout() {
  const auto w = std::make_unique<GameWindow>();  // large: the pools are fixed arrays
  SnapshotLayout layout;
  LayoutBuilder builder{reinterpret_cast<const unsigned char*>(w.get()), &layout};
  VisitBattleFields(*static_cast<const GameWindow*>(w.get()), builder);
  std::sort(layout.plain.begin(), layout.plain.end(),
            [](const SnapshotLayout::Range& a, const SnapshotLayout::Range& b) { return a.offset < b.offset; });
  std::vector<SnapshotLayout::Range> joined;
  for (const SnapshotLayout::Range& r : layout.plain) {
    if (!joined.empty() && joined.back().offset + joined.back().size >= r.offset) {
      joined.back().size = std::max(joined.back().size, r.offset + r.size - joined.back().offset);
    } else {
      joined.push_back(r);
    }
  }
  layout.plain = std::move(joined);
  for (const SnapshotLayout::Range& r : layout.plain) layout.plainBytes += r.size;
  return layout;
}

void TakeSnapshot(const SnapshotLayout& layout, const GameWindow& w, BattleSnapshot& into) {
  const auto* base = reinterpret_cast<const unsigned char*>(&w);
  into.bytes.resize(layout.plainBytes);
  unsigned char* at = into.bytes.data();
  for (const SnapshotLayout::Range& r : layout.plain) {
    std::memcpy(at, base + r.offset, r.size);
    at += r.size;
  }
  into.texts.resize(layout.texts.size());
  for (size_t i = 0; i < layout.texts.size(); ++i) {
    into.texts[i].assign(*reinterpret_cast<const std::string*>(base + layout.texts[i]));
  }
}

void RestoreSnapshot(const SnapshotLayout& layout, const BattleSnapshot& from, GameWindow& w) {
  auto* base = reinterpret_cast<unsigned char*>(&w);
  if (from.bytes.size() != layout.plainBytes || from.texts.size() != layout.texts.size()) return;
  const unsigned char* at = from.bytes.data();
  for (const SnapshotLayout::Range& r : layout.plain) {
    std::memcpy(base + r.offset, at, r.size);
    at += r.size;
  }
  for (size_t i = 0; i < layout.texts.size(); ++i) {
    reinterpret_cast<std::string*>(base + layout.texts[i])->assign(from.texts[i]);
  }
}

}  // namespace quorvex
