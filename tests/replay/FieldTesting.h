// Battle-state fields by name, for tests that set one field of a start to a value of their choice.
#pragma once
#include <limits>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "game/replay/BattleFields.h"
#include "game/replay/StateHash.h"

namespace quorvex::testing {

// Every field of the table whose range is narrower than "any finite number".
struct RangedField {
  std::string name;
  FieldRange range;
  bool LowBound() const { return range.lo != kLowest; }
  bool HighBound() const { return range.hi != std::numeric_limits<double>::max(); }
};

struct RangeLister {
  std::vector<RangedField> fields;
  template <class T>
  void operator()(const std::string& name, const T&, bool, const FieldRange& r) {
    RangedField f{name, r};
    if (f.LowBound() || f.HighBound()) fields.push_back(f);
  }
};

inline std::vector<RangedField> RangedFields() {
  auto w = std::make_unique<GameWindow>();
  RangeLister lister;
  VisitBattleFields(*w, lister);
  return lister.fields;
}

// Sets one element of field `name` (element `index` of an array, by default the second, as slot 0
// is the unused one of the pools; the left side of a rectangle) to `value`. A visitor of the
// three-argument shape, as the hash and the snapshot are.
struct FieldSetter {
  std::string name;
  double value;
  size_t index = 1;
  template <class T>
  void Set(T& v) {
    if constexpr (std::is_same_v<T, Rect>) {
      v.left = static_cast<int>(value);
    } else if constexpr (std::is_arithmetic_v<T>) {
      v = static_cast<T>(value);
    } else if constexpr (!std::is_same_v<T, std::string>) {
      Set(v[index < v.size() ? index : 0]);
    }
  }
  template <class T>
  void operator()(const std::string& n, T& v, bool = true) {
    if (n == name) Set(v);
  }
};

// Snapshot lines `state` with one field changed.
inline std::vector<std::string> StateWith(const std::vector<std::string>& state, const std::string& name,
                                          double value, size_t index = 1) {
  auto w = std::make_unique<GameWindow>();
  std::string error;
  if (!ApplySnapshotLines(state, *w, &error)) return {};
  FieldSetter set{name, value, index};
  VisitBattleFields(*w, set);
  return SnapshotLines(*w);
}

}  // namespace quorvex::testing
