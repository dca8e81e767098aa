// Replays that cannot be played give a message naming the file and the problem, never a crash; a
// playback that parts from its recording says at which frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>

#include "game/replay/Player.h"
#include "platform/Files.h"
#include "tests/replay/ReplayTesting.h"
#include "tests/support/SurfaceTesting.h"
#include "tests/support/TempDir.h"

namespace quorvex {
namespace {

std::string Committed() {
  std::string text, error;
  EXPECT_TRUE(ReadWholeFile(testing::CommittedReplay(), &text, &error)) << error;
  return text;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// Puts `line` in place of the line that starts with `start`.
std::string ReplaceLine(const std::string& text, const std::string& start, const std::string& line) {
  const size_t at = text.find("\n" + start);
  EXPECT_NE(at, std::string::npos) << start;
  if (at == std::string::npos) return text;
  return text.substr(0, at + 1) + line + text.substr(text.find('\n', at + 1));
}

std::string WithoutLine(const std::string& text, const std::string& start) {
  const size_t at = text.find("\n" + start);
  EXPECT_NE(at, std::string::npos) << start;
  return text.substr(0, at + 1) + text.substr(text.find('\n', at + 1) + 1);
}

struct DamageCase {
  const char* name;
  std::function<std::string(const std::string&)> damage;
  const char* message;
};
void PrintTo(const DamageCase& c, std::ostream* os) { *os << c.name; }

class DamagedReplay : public ::testing::TestWithParam<DamageCase> {};

// The line where `damaged` first differs from `original`, counting from 1.
std::string FirstChangedLine(const std::string& original, const std::string& damaged) {
  size_t at = 0;
  while (at < original.size() && at < damaged.size() && original[at] == damaged[at]) ++at;
  return std::to_string(std::count(original.begin(), original.begin() + static_cast<long>(at), '\n') + 1);
}

// "{line}" in a message stands for the line the damage begins at.
TEST_P(DamagedReplay, GivesItsMessageAndPlaysNothing) {
  testing::TempDir dir;
  const auto file = dir.path() / "damaged.qvr";
  const std::string original = Committed();
  const std::string damaged = GetParam().damage(original);
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(file, damaged, &error)) << error;
  std::string message = GetParam().message;
  if (message.find("{line}") != std::string::npos) {
    message.replace(message.find("{line}"), 6, FirstChangedLine(original, damaged));
  }
  std::ostringstream out, err;
  EXPECT_EQ(1, PlayReplay(file, testing::ProgramDir(), ReplayMode::Timedemo, out, err));
  EXPECT_EQ("", out.str());
  EXPECT_EQ(err.str(), "Replay " + file.string() + " " + message + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedReplay,
    ::testing::Values(
        DamageCase{"Empty", [](const std::string&) { return std::string(); }, "is empty"},
        DamageCase{"Garbage", [](const std::string&) { return std::string("\x7f" "ELF\x02\x01\x01\n\0\0", 10); },
                   "is not a Quorvex replay"},
        DamageCase{"ShipFile", [](const std::string&) { return std::string("Ship definion 1.2\r\n"); },
                   "is not a Quorvex replay"},
        DamageCase{"OtherVersion", [](const std::string& t) { return Replace(t, "Quorvex replay 1", "Quorvex replay 2"); },
                   "was recorded by another version of the game (\"Quorvex replay 2\"; this one plays \"Quorvex "
                   "replay 1\")"},
        DamageCase{"CutInALine", [](const std::string& t) { return t.substr(0, t.size() - 5); },
                   "is cut short (line {line} has no end)"},
        DamageCase{"CutAtALine", [](const std::string& t) { return WithoutLine(t, "end "); },
                   "is cut short (it has no end line)"},
        DamageCase{"CutInAShipFile", [](const std::string& t) { return t.substr(0, t.find("Escape Pod")); },
                   "is cut short (ship file pod.shp is incomplete)"},
        DamageCase{"HugeFrame", [](const std::string& t) { return Replace(t, "k 3 d81", "k 99999999999999999999 d81"); },
                   "is damaged at line {line}: frame number \"99999999999999999999\" is out of range"},
        DamageCase{"HugeShipFile", [](const std::string& t) { return ReplaceLine(t, "ship sleviathan.shp ", "ship sleviathan.shp 4000000000"); },
                   "is damaged at line {line}: ship file leviathan.shp claims 4000000000 bytes"},
        DamageCase{"HugeRun", [](const std::string& t) { return Replace(t, "ship1.systems 0*11", "ship1.systems 0*4000000000"); },
                   "is damaged: the battle state field ship1.systems does not have 11 values"},
        DamageCase{"MissingField", [](const std::string& t) { return WithoutLine(t, "state random "); },
                   "is damaged: the battle state has no field random"},
        DamageCase{"BadValue", [](const std::string& t) { return Replace(t, "state ship1.x 100", "state ship1.x 1o0"); },
                   "is damaged: the battle state field ship1.x has a value that does not fit"},
        DamageCase{"FramesOutOfOrder", [](const std::string& t) { return Replace(t, "k 4 u81", "k 2 u81"); },
                   "is damaged at line {line}: frame 2 comes after frame 3"},
        DamageCase{"UnknownRecord", [](const std::string& t) { return Replace(t, "k 4 u81", "x 4 u81"); },
                   "is damaged at line {line}: unknown record \"x\""},
        DamageCase{"BadKey", [](const std::string& t) { return Replace(t, "k 4 u81", "k 4 u-81"); },
                   "is damaged at line {line}: a bad key event \"u-81\""},
        DamageCase{"KeyRecordWithoutKeys", [](const std::string& t) { return Replace(t, "k 4 u81", "k 4"); },
                   "is damaged at line {line}: a key record without keys"},
        DamageCase{"BadDevice", [](const std::string& t) { return Replace(t, "k 4 u81", "d 4 1 5"); },
                   "is damaged at line {line}: a bad input device"},
        DamageCase{"BadRestPosition", [](const std::string& t) { return Replace(t, "k 4 u81", "r 4 0 40000 0"); },
                   "is damaged at line {line}: a bad joystick rest position"},
        DamageCase{"AfterTheEnd", [](const std::string& t) { return t + "k 999 d32\n"; },
                   "is damaged at line {line}: more records after the end"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DamagedReplay, MissingFileIsNamed) {
  std::ostringstream out, err;
  EXPECT_EQ(1, PlayReplay("/nonexistent/battle.qvr", testing::ProgramDir(), ReplayMode::Timedemo, out, err));
  EXPECT_NE(err.str().find("/nonexistent/battle.qvr"), std::string::npos) << err.str();
}

// A stored hash that the playback does not reach, or a key the recording never had: the playback
// reports the first check point where it parts and exits with 2.
TEST(DamagedReplay, PlaybackThatPartsFromTheRecordingNamesTheFrame) {
  struct Case {
    std::string from, to;
    const char* report;
  };
  const std::string text = Committed();
  const std::string h100 = text.substr(text.find("\nh 100 ") + 1, 22);
  // F5 in the first frame of the armada selection destroys both ships.
  for (const Case& c : {Case{h100, "h 100 0123456789abcdef", "replay diverges at frame 100\n"},
                        Case{"\nk ", "\nk 1 d116\nk ", "replay diverges at frame 50\n"}}) {
    testing::TempDir dir;
    const auto file = dir.path() / "other.qvr";
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(file, Replace(text, c.from, c.to), &error)) << error;
    std::ostringstream out, err;
    EXPECT_EQ(2, PlayReplay(file, testing::ProgramDir(), ReplayMode::Timedemo, out, err)) << c.to;
    EXPECT_EQ(err.str().substr(0, err.str().find('\n') + 1), c.report) << c.to;
    EXPECT_NE(out.str().find("state hash: "), std::string::npos) << out.str();
  }
}

}  // namespace
}  // namespace quorvex
