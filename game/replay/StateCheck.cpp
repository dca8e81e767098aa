#include "game/replay/StateCheck.h"

#include <charconv>
#include <cmath>
#include <memory>
#include <type_traits>

#include "game/replay/BattleFields.h"
#include "game/replay/StateHash.h"
#include "platform/DataFiles.h"
#include "shipdef/ShipFile.h"

namespace quorvex {

namespace {

// An armada holds at most this many ships; the fleet slots after them stay empty (-1).
constexpr int kArmadaShips = 31;

// Whole numbers as whole numbers ("100000", not "1e+05"), others in their shortest exact form.
std::string NumberText(double v) {
  if (v == std::floor(v) && std::fabs(v) < 1e15) return std::to_string(static_cast<long long>(v));
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, res.ptr);
}

// What is wrong with a value for its range, in words; empty when nothing is.
std::string NumberProblem(double v, const FieldRange& r) {
  if (!std::isfinite(v)) return "is " + NumberText(v) + ", not a finite number";
  if (v < r.lo || v > r.hi) return "is " + NumberText(v) + ", outside " + NumberText(r.lo) + " to " + NumberText(r.hi);
  return std::string();
}
template <class T>
std::string ValueProblem(const T& v, const FieldRange& r) {
  if constexpr (std::is_same_v<T, bool>) {
    return std::string();
  } else if constexpr (std::is_same_v<T, std::string>) {
    if (v.size() > kMaxLineLength) return "is a text of " + std::to_string(v.size()) + " bytes";
    if (r.fileName && !v.empty() && !IsBareFileName(v)) return "names the file \"" + v + "\" outside the game's folder";
    return std::string();
  } else if constexpr (std::is_same_v<T, Rect>) {
    for (int side : {v.left, v.top, v.right, v.bottom}) {
      std::string problem = NumberProblem(side, r);
      if (!problem.empty()) return problem;
    }
    return std::string();
  } else {
    return NumberProblem(static_cast<double>(v), r);
  }
}

// Walks the field table; the first field (or array element) out of its range is the problem.
struct RangeChecker {
  std::string problem;

  template <class T>
  void operator()(const std::string& name, const T& v, bool, const FieldRange& r) {
    if (!problem.empty()) return;
    if constexpr (requires { v.size(); } && !std::is_same_v<T, std::string>) {
      for (size_t i = 0; i < v.size() && problem.empty(); ++i) {
        const std::string why = ValueProblem(v[i], r);
        if (!why.empty()) problem = "the battle state field " + name + "[" + std::to_string(i) + "] " + why;
      }
    } else {
      const std::string why = ValueProblem(v, r);
      if (!why.empty()) problem = "the battle state field " + name + " " + why;
    }
  }
};

// The fields whose range depends on another: an armada's ships come from the ship list, and an
// armada is never longer than it may be.
bool CheckArmadas(const GameWindow& w, std::string* problem) {
  for (size_t p = 0; p < w.fleet.size(); ++p) {
    const std::string name = "fleet" + std::to_string(p + 1);
    for (size_t k = 0; k < w.fleet[p].size(); ++k) {
      const int index = w.fleet[p][k];
      const std::string field = "the battle state field " + name + "[" + std::to_string(k) + "] ";
      if (index > w.lastShipIndex) {
        *problem = field + "is " + std::to_string(index) + ", past the last ship of the list (" +
                   std::to_string(w.lastShipIndex) + ")";
        return false;
      }
      if (k >= kArmadaShips && index != -1) {
        *problem = field + "is " + std::to_string(index) + ": an armada holds at most " +
                   std::to_string(kArmadaShips) + " ships";
        return false;
      }
    }
  }
  return true;
}

}  // namespace

bool CheckBattleState(const GameWindow& w, std::string* problem) {
  RangeChecker checker;
  VisitBattleFields(w, checker);
  if (!checker.problem.empty()) {
    *problem = checker.problem;
    return false;
  }
  return CheckArmadas(w, problem);
}

bool CheckStartState(const std::vector<std::string>& lines, std::string* problem) {
  auto scratch = std::make_unique<GameWindow>();  // large: the pools are fixed arrays
  scratch->headless = true;
  scratch->messages.headless = true;
  return ApplySnapshotLines(lines, *scratch, problem) && CheckBattleState(*scratch, problem);
}

bool CheckShipCopies(const ShipCopies& ships, std::string* problem) {
  for (const auto& [name, own] : ships.names) {
    if (!IsBareFileName(name) || name.size() > kMaxLineLength) {
      *problem = "it carries a ship file named \"" + name + "\", which is no file of the game's folder";
      return false;
    }
    ShipLoadout ship;
    const ShipReadStatus status = ReadShipForBattle(ships.folder / own, true, &ship);
    if (status == ShipReadStatus::NotValid) {
      *problem = "the ship file " + name + " is not a ship file of this version (\"" + kShipVersion12 + "\")";
      return false;
    }
    if (status == ShipReadStatus::TooShort) {
      *problem = "the ship file " + name + " has fewer than " + std::to_string(kShipFileLines) + " lines";
      return false;
    }
    if (status != ShipReadStatus::Ok) {
      *problem = "the ship file " + name + " cannot be read back from " + (ships.folder / own).string();
      return false;
    }
  }
  return true;
}

bool CheckStart(const Replay& start, const ShipCopies& ships, std::string* problem) {
  return CheckStartState(start.state, problem) && CheckShipCopies(ships, problem);
}

}  // namespace quorvex
