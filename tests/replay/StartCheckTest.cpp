// A replay is a file from someone else: every battle-state field it sets must lie where the game
// itself can put it, and no count in it may make the game hold or run more than a real battle.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>

#include "game/replay/Player.h"
#include "game/replay/StateCheck.h"
#include "game/replay/StateHash.h"
#include "platform/Files.h"
#include "tests/replay/FieldTesting.h"
#include "tests/replay/ReplayTesting.h"
#include "tests/support/SurfaceTesting.h"
#include "tests/support/TempDir.h"

namespace quorvex {
namespace {

Replay CommittedStart() {
  Replay r;
  std::string error;
  EXPECT_TRUE(LoadReplay(testing::CommittedReplay(), &r, &error)) << error;
  return r;
}

std::vector<std::string> StartWith(const Replay& start, const std::string& name, double value, size_t index = 1) {
  return testing::StateWith(start.state, name, value, index);
}

// Each end of each range is taken; one past either end is refused with the field named.
TEST(StartCheck, EveryFieldAtEachEndOfItsRangeAndOnePast) {
  const Replay start = CommittedStart();
  const std::vector<testing::RangedField> fields = testing::RangedFields();
  ASSERT_GT(fields.size(), 40u);
  for (const testing::RangedField& f : fields) {
    struct End {
      bool bounded;
      double inside, outside;
    };
    for (const End& end : {End{f.LowBound(), f.range.lo, f.range.lo - 1}, End{f.HighBound(), f.range.hi, f.range.hi + 1}}) {
      if (!end.bounded) continue;
      std::string problem;
      // The fleets also answer to the ship list: the last ship of the list is the top of their range.
      const bool fleet = f.name.rfind("fleet", 0) == 0 && f.name != "fleetSlot" && end.inside > 0;
      const double inside = fleet ? 11 : end.inside;
      EXPECT_TRUE(CheckStartState(StartWith(start, f.name, inside), &problem)) << f.name << " " << inside << ": " << problem;
      EXPECT_FALSE(CheckStartState(StartWith(start, f.name, end.outside), &problem)) << f.name << " " << end.outside;
      EXPECT_NE(problem.find("the battle state field " + f.name), std::string::npos) << problem;
    }
  }
}

// Named cases, each with the message a player reads: bad indexes, lives and counts from the
// reported damaged replays, and numbers that are no numbers.
TEST(StartCheck, DamagedStatesAreRefusedWithFieldAndValue) {
  struct Case {
    const char* field;
    double value;
    const char* message;
    size_t index = 1;
  };
  const Case cases[] = {
      {"lastShipIndex", -1, "the battle state field lastShipIndex is -1, outside 0 to 255"},
      {"lastShipIndex", -100000, "the battle state field lastShipIndex is -100000, outside 0 to 255"},
      {"lastShipIndex", 100000, "the battle state field lastShipIndex is 100000, outside 0 to 255"},
      {"explosions.state", 2147483647, "the battle state field explosions.state[1] is 2147483647, outside -6 to 10"},
      {"flames.life", 2147483647, "the battle state field flames.life[1] is 2147483647, outside -2 to 30"},
      {"fleet1", 12, "the battle state field fleet1[1] is 12, past the last ship of the list (11)"},
      {"fleetSlot", 31, "the battle state field fleetSlot[1] is 31, outside 0 to 30"},
      {"fleet2", 3, "the battle state field fleet2[31] is 3: an armada holds at most 31 ships", 31},
      {"ship2.heading", 32, "the battle state field ship2.heading is 32, outside 0 to 31"},
      {"ship1.weapon", 6, "the battle state field ship1.weapon is 6, outside 0 to 5"},
      {"inputDevice", 5, "the battle state field inputDevice[1] is 5, outside 0 to 4"},
      {"electroArcs", -1, "the battle state field electroArcs[1] is -1, outside 0 to 2"},
      {"debris.life", 600, "the battle state field debris.life[1] is 600, outside 0 to 599"},
      {"ship1.x", NAN, "the battle state field ship1.x is nan, not a finite number"},
      {"missiles.vy", -INFINITY, "the battle state field missiles.vy[1] is -inf, not a finite number"},
  };
  const Replay start = CommittedStart();
  for (const Case& c : cases) {
    std::string problem;
    EXPECT_FALSE(CheckStartState(StartWith(start, c.field, c.value, c.index), &problem)) << c.field;
    EXPECT_EQ(problem, c.message);
  }
}

// The whole way a player meets it: --timedemo names the file, the field and the value and ends
// with 1 before anything runs.
TEST(StartCheck, PlaybackOfADamagedStateEndsWithItsMessage) {
  std::string text, error;
  ASSERT_TRUE(ReadWholeFile(testing::CommittedReplay(), &text, &error)) << error;
  struct Case {
    const char* from;
    const char* to;
    const char* message;
  };
  const Case cases[] = {
      {"state lastShipIndex 11\n", "state lastShipIndex -1\n", "the battle state field lastShipIndex is -1, outside 0 to 255"},
      {"state ship1.spriteFile s", "state ship1.spriteFile s/etc/", "the battle state field ship1.spriteFile names the file"},
      {"Ship definion 1.2", "Ship definion 1.1", "the ship file "},
  };
  for (const Case& c : cases) {
    testing::TempDir dir;
    std::string damaged = text;
    damaged.replace(damaged.find(c.from), std::string(c.from).size(), c.to);
    ASSERT_TRUE(WriteFileAtomically(dir.path() / "bad.qvr", damaged, &error)) << error;
    std::ostringstream out, err;
    EXPECT_EQ(1, PlayReplay(dir.path() / "bad.qvr", testing::ProgramDir(), ReplayMode::Timedemo, out, err));
    EXPECT_EQ(err.str().rfind("Replay " + (dir.path() / "bad.qvr").string() + " is damaged: " + c.message, 0), 0u)
        << err.str();
    EXPECT_EQ(out.str(), "");
  }
}

// Replays that say more than any battle makes: refused from their counts, before the records
// are kept.
TEST(StartCheck, HugeCountsAreRefusedWithTheirMessage) {
  std::string committed, error;
  ASSERT_TRUE(ReadWholeFile(testing::CommittedReplay(), &committed, &error)) << error;
  const std::string head = committed.substr(0, committed.find("\nk 3 ") + 1);
  auto lines = [](int64_t n, const std::function<std::string(int64_t)>& line) {
    std::string s;
    for (int64_t i = 0; i < n; ++i) s += line(i);
    return s;
  };
  struct Case {
    const char* name;
    std::string text;
    std::string problem;
  };
  const Case cases[] = {
      {"TwoMillionRecords", head + lines(2'000'000, [](int64_t i) { return "k " + std::to_string(3 + i / 40) + " d65\n"; }) + "cut 50000\n",
       "is damaged: it holds more than 1000000 records"},
      {"CutFarBeyondTheRecords", head + "cut 1000000\n",
       "is damaged at line 300: frame 1000000 lies beyond the records (the one before is at frame 0, and a recording "
       "has one every 50 frames)"},
      {"CutAtABillion", head + "cut 1000000000\n", "is damaged at line 300: frame number \"1000000000\" is out of range"},
      {"RecordsInOneFrame", head + lines(65, [](int64_t) { return std::string("t 3 1\n"); }) + "cut 3\n",
       "is damaged at line 364: frame 3 has more than 64 records"},
      {"KeysInOneFrame", head + "k 3" + lines(257, [](int64_t) { return std::string(" d65"); }) + "\ncut 3\n",
       "is damaged at line 300: frame 3 has more than 256 key events"},
      {"LongLine", head + "k 3 d65" + std::string(2 << 20, ' ') + "\ncut 3\n",
       "is damaged at line 300: the line is longer than 1048576 bytes"},
  };
  for (const Case& c : cases) {
    Replay r;
    std::string problem;
    EXPECT_FALSE(ParseReplay(c.text, &r, &problem)) << c.name;
    EXPECT_EQ(problem, c.problem) << c.name;
    EXPECT_TRUE(r.frames.empty() || std::string(c.name) != "TwoMillionRecords");
  }
}

// A file larger than any replay is refused from its first line and its size: it is never read.
TEST(StartCheck, AnOversizedFileIsRefusedFromItsSize) {
  testing::TempDir dir;
  struct Case {
    const char* first;
    std::string message;
  };
  for (const Case& c : {Case{"Quorvex replay 1\n", "is too large: 1073741824 bytes, more than the 33554432 a replay may have"},
                        Case{"\x7f" "ELF\n", "is not a Quorvex replay"}}) {
    const auto file = dir.path() / "big.qvr";
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(file, c.first, &error)) << error;
    std::filesystem::resize_file(file, 1u << 30);  // sparse: no gigabyte is written
    Replay r;
    EXPECT_FALSE(LoadReplay(file, &r, &error));
    EXPECT_EQ(error, "Replay " + file.string() + " " + c.message);
  }
}

}  // namespace
}  // namespace quorvex
