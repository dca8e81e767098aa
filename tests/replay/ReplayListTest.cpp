// The launcher's replay list: what a recording says of its battle (both armadas, the winner, the
// length), newest first, with damaged replays shown as such.
#include <gtest/gtest.h>

#include <chrono>

#include "game/replay/ReplayList.h"
#include "platform/Files.h"
#include "tests/replay/ReplayTesting.h"
#include "tests/support/TempDir.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& file) {
  std::string text, error;
  EXPECT_TRUE(ReadWholeFile(file, &text, &error)) << error;
  return text;
}

void Write(const fs::path& file, const std::string& text) {
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(file, text, &error)) << error;
}

TEST(ReplayList, ARecordedBattleDescribesItself) {
  testing::TempDir dir;
  testing::MakeProgramFolder(dir.path() / "game");
  const fs::path file = testing::RecordScriptedBattle(dir.path() / "game", dir.path() / "replays");
  Replay full;
  std::string problem;
  ASSERT_TRUE(LoadReplay(file, &full, &problem)) << problem;
  ReplaySummary s;
  ASSERT_TRUE(ReadReplaySummary(file, &s, &problem)) << problem;
  EXPECT_EQ(s.frames, full.frameCount);
  EXPECT_TRUE(s.finished && s.training);
  ASSERT_EQ(s.armadas[0].size(), 1u);
  EXPECT_EQ(s.armadas[0][0].rfind("leviathan ", 0), 0u) << s.armadas[0][0];
  EXPECT_FALSE(s.armadas[1].empty()) << "the computer's armada";
  EXPECT_EQ(s.winner, 2) << "player 1 blew up his last ship";
  const ReplayListEntry row = DescribeReplay(s);
  EXPECT_EQ(row.player1, s.armadas[0][0]);
  EXPECT_EQ(row.player2.rfind("computer: ", 0), 0u) << row.player2;
  EXPECT_EQ(row.outcome, "computer won");
  EXPECT_EQ(row.length, ReplayLengthText(full.frameCount, 20));
  EXPECT_TRUE(row.problem.empty());
}

TEST(ReplayList, NewestFirstWithDamagedOnesShownAsSuch) {
  testing::TempDir dir;
  const std::string committed = Read(testing::CommittedReplay());  // recorded before the summary lines
  const std::string end = committed.substr(committed.rfind("end "));
  const std::string summed = "Quorvex replay 1\narmada 1 sarrow%20interceptor shornet%20fighter\narmada 2 sbeetle%20hauler\n"
                             "winner 1\n" + committed.substr(committed.find('\n') + 1);
  const struct {
    const char* name;
    std::string text;
    const char* date, *player1, *outcome;
    const char* problem;  // empty: it can be watched
  } rows[] = {
      // Listed in this order: newest first.
      {"mine.qvr", summed, "2026-12-10", "arrow interceptor, hornet fighter", "player 1 won", ""},
      {"battle-20261209-080000.qvr", committed.substr(0, committed.size() / 2), "2026-12-09 08:00:00", "", "",
       "The file is cut short"},
      {"battle-20261208-101500-2.qvr", summed.substr(0, summed.rfind("end ")) + "cut 400\n", "2026-12-08 10:15:00",
       "arrow interceptor, hornet fighter", "cut short", ""},
      {"battle-20261208-101500.qvr", summed, "2026-12-08 10:15:00", "arrow interceptor, hornet fighter", "player 1 won", ""},
      {"battle-20261207-090000.qvr", committed, "2026-12-07 09:00:00", "-", "finished", ""},
      {"battle-20261206-000000.qvr", "Quorvex replay 7\n" + end, "2026-12-06 00:00:00", "", "",
       "The file was recorded by another version"},
      {"battle-20261205-000000.qvr", "Quorvex replay 1\narmada 3 x\n" + end, "2026-12-05 00:00:00", "", "",
       "The file is damaged at line 2"},
      {"battle-20261204-000000.qvr", "", "2026-12-04 00:00:00", "", "", "The file is empty"},
  };
  for (const auto& r : rows) Write(dir.path() / r.name, r.text);
  Write(dir.path() / "notes.txt", "not a replay");
  // A name without the recorder's stamp is dated by its file: noon of 10 December 2026 (UTC).
  const auto noon = std::chrono::sys_seconds{std::chrono::seconds{1'796'904'000}};
  fs::last_write_time(dir.path() / "mine.qvr", std::chrono::file_clock::from_sys(noon));

  const std::vector<ReplayListEntry> list = ListReplays(dir.path());
  ASSERT_EQ(list.size(), std::size(rows));
  for (size_t i = 0; i < list.size(); ++i) {
    const auto& want = rows[i];
    const ReplayListEntry& got = list[i];
    SCOPED_TRACE(want.name);
    EXPECT_EQ(got.file, dir.path() / want.name);
    EXPECT_EQ(got.date.rfind(want.date, 0), 0u) << got.date;
    EXPECT_EQ(got.problem.rfind(want.problem, 0), 0u) << got.problem;
    EXPECT_EQ(got.problem.empty(), !*want.problem) << got.problem;
    if (*want.problem) continue;
    EXPECT_EQ(got.player1, want.player1);
    EXPECT_EQ(got.outcome, want.outcome);
    EXPECT_EQ(got.length, ReplayLengthText(got.outcome == std::string("cut short") ? 400 : 487, 20));
  }
}

}  // namespace
}  // namespace quorvex
