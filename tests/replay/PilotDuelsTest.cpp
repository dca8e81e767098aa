// Computer pilot levels beyond the duel itself: the level in a replay's snapshot (a battle against
// the game's own pilot records no level, so older replays keep their hashes), the headless
// tournament giving the same table for one seed, and its command line.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "game/flow/Tournament.h"
#include "game/replay/CommandLine.h"
#include "game/replay/StateHash.h"
#include "tests/replay/ReplayTesting.h"
#include "tests/support/TempDir.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;

// The snapshot a replay starts from: the level is written (and hashed) only when it is not the
// game's own pilot, a snapshot without it (every replay recorded before there were levels) flies the
// game's own pilot whatever the player has chosen since, and a level the game does not have is refused.
TEST(PilotDuels, TheLevelTravelsInTheSnapshotOnlyWhenItIsNotTheGamesOwn) {
  struct Case {
    PilotLevel recorded;
    const char* line;  // the snapshot line, "" for none
  };
  for (const Case& c : {Case{PilotLevel::Normal, ""}, Case{PilotLevel::Hard, "pilotLevel 2"},
                        Case{PilotLevel::Easy, "pilotLevel 0"}}) {
    SCOPED_TRACE(c.line);
    auto recorded = std::make_unique<GameWindow>();
    recorded->pilotLevel = c.recorded;
    const std::vector<std::string> lines = SnapshotLines(*recorded);
    const auto found = std::find_if(lines.begin(), lines.end(),
                                    [](const std::string& l) { return l.rfind("pilotLevel", 0) == 0; });
    EXPECT_EQ(found == lines.end() ? std::string() : *found, c.line);

    auto played = std::make_unique<GameWindow>();
    played->pilotLevel = c.recorded == PilotLevel::Hard ? PilotLevel::Easy : PilotLevel::Hard;  // the player's choice now
    std::string error;
    ASSERT_TRUE(ApplySnapshotLines(lines, *played, &error)) << error;
    EXPECT_EQ(played->pilotLevel, c.recorded);
    EXPECT_EQ(StateHash(*played), StateHash(*recorded));
    auto normal = std::make_unique<GameWindow>();
    EXPECT_EQ(StateHash(*recorded) == StateHash(*normal), c.recorded == PilotLevel::Normal);
  }
  std::vector<std::string> lines = SnapshotLines(*std::make_unique<GameWindow>());
  lines.push_back("pilotLevel 7");
  auto w = std::make_unique<GameWindow>();
  std::string error;
  EXPECT_FALSE(ApplySnapshotLines(lines, *w, &error));
  EXPECT_EQ(error, "the battle state field pilotLevel has a value that does not fit");
}

TEST(PilotDuels, TheTournamentGivesTheSameTableForOneSeed) {
  testing::TempDir dir;
  testing::MakeProgramFolder(dir.path());
  const GameFolders folders{dir.path(), dir.path()};
  TournamentRequest request;
  request.duels = 4;
  request.ships = {"arrow.shp", "hornet.shp"};
  request.seed = 7;
  TournamentTable first, second;
  std::string error;
  ASSERT_TRUE(RunTournament(folders, request, &first, &error)) << error;
  ASSERT_TRUE(RunTournament(folders, request, &second, &error)) << error;
  EXPECT_EQ(TournamentText(first), TournamentText(second));
  ASSERT_EQ(first.pairings.size(), 3u);
  for (const PairingScore& s : first.pairings) {
    EXPECT_EQ(s.duels, 4);
    EXPECT_EQ(s.wins + s.losses + s.ties, 4);
    EXPECT_GT(s.frames, 4 * 10) << "every duel is flown";
  }
  EXPECT_NE(TournamentText(first).find("hard - normal"), std::string::npos) << TournamentText(first);

  request.ships = {"arrow.shp", "nowhere.shp"};
  EXPECT_FALSE(RunTournament(folders, request, &first, &error));
  EXPECT_EQ(error, "no ship file nowhere.shp among the game's ships");
}

TEST(PilotDuels, CommandLine) {
  struct Case {
    std::vector<std::string> args;
    CommandLine::Mode mode;
    int duels;
    std::vector<std::string> ships;
    uint64_t seed;
    const char* error;
  };
  const char* alone = "--ai-duels, --ships and --seed go with no other option";
  for (const Case& c : std::vector<Case>{
           {{"--ai-duels", "20"}, CommandLine::AiDuels, 20, {}, 1, ""},
           {{"--seed", "99", "--ai-duels", "3", "--ships", "a.shp,b.shp"}, CommandLine::AiDuels, 3, {"a.shp", "b.shp"}, 99, ""},
           {{"--ai-duels", "0"}, CommandLine::AiDuels, 0, {}, 1, "--ai-duels needs a count from 1, not 0"},
           {{"--ai-duels", "-4"}, CommandLine::AiDuels, 0, {}, 1, "--ai-duels needs a count from 1, not -4"},
           {{"--ai-duels"}, CommandLine::Play, 0, {}, 1, "--ai-duels needs a value"},
           {{"--ai-duels", "2", "--ships", "a.shp"}, CommandLine::AiDuels, 2, {}, 1,
            "--ships needs two ship files as A,B, not a.shp"},
           {{"--ai-duels", "2", "--seed", "x"}, CommandLine::AiDuels, 2, {}, 1, "--seed needs a whole number, not x"},
           {{"--ships", "a,b"}, CommandLine::Play, 0, {"a", "b"}, 1, "--ships and --seed go with --ai-duels"},
           {{"--ai-duels", "2", "--replay", "x.qvr"}, CommandLine::AiDuels, 2, {}, 1, alone},
           {{"--host", "5000", "--ai-duels", "2"}, CommandLine::Host, 0, {}, 1, alone}}) {
    const CommandLine got = ParseCommandLine(c.args, "/start");
    EXPECT_EQ(got.error, c.error);
    EXPECT_EQ(got.mode, c.mode) << c.error;
    EXPECT_EQ(got.aiDuels, c.duels) << c.error;
    EXPECT_EQ(got.aiShips, c.ships) << c.error;
    EXPECT_EQ(got.aiSeed, c.seed) << c.error;
  }
}

}  // namespace
}  // namespace quorvex
