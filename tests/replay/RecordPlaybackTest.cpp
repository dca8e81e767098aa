// Whole battles recorded and played back: the same state hash at every check point and at the end,
// the committed replay still playing to its stored hash, and a battle cut short by a closed window.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <sstream>

#include "game/replay/Player.h"
#include "game/replay/StateHash.h"
#include "platform/Files.h"
#include "tests/replay/ReplayTesting.h"
#include "tests/support/SurfaceTesting.h"
#include "tests/support/TempDir.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;
using testing::Coverage;

Replay Load(const fs::path& file) {
  Replay r;
  std::string error;
  EXPECT_TRUE(LoadReplay(file, &r, &error)) << error;
  return r;
}

void ExpectCovers(const Coverage& c) {
  EXPECT_EQ(c.weaponsFired, (std::set<int>{0, 1, 2, 3, 4, 5})) << "every weapon fired";
  EXPECT_TRUE(c.missiles && c.bullets && c.ionOrLaser)
      << "shots " << c.ionOrLaser << ", missiles " << c.missiles << ", bullets " << c.bullets;
  EXPECT_TRUE(c.critical) << "a critical hit";
  EXPECT_TRUE(c.escaped) << "the escape pod";
  EXPECT_TRUE(c.computerPilot && c.gravity);
}

TEST(RecordPlayback, ScriptedBattleKeepsItsHashAtEveryCheckPoint) {
  testing::TempDir dir;
  testing::MakeProgramFolder(dir.path() / "game");
  Coverage coverage;
  const fs::path file = testing::RecordScriptedBattle(dir.path() / "game", dir.path() / "replays", &coverage);
  ExpectCovers(coverage);
  const Replay recorded = Load(file);
  ASSERT_TRUE(recorded.finished);
  EXPECT_EQ(recorded.hashes.size(), static_cast<size_t>(recorded.frameCount / kHashInterval));
  EXPECT_EQ(recorded.shipFiles.count("leviathan.shp") + recorded.shipFiles.count("pod.shp"), 2u);

  // The ship files change after the recording: the replay plays the ships it recorded.
  fs::remove(dir.path() / "game" / "pod.shp");
  fs::remove(dir.path() / "game" / "leviathan.shp");
  std::ostringstream out, err;
  PlaybackResult result;
  EXPECT_EQ(0, PlayReplay(file, dir.path() / "game", ReplayMode::Timedemo, out, err, &result)) << err.str();
  EXPECT_FALSE(result.divergedAt.has_value()) << err.str();
  EXPECT_EQ(result.frames, recorded.frameCount);
  EXPECT_EQ(result.hash, recorded.finalHash);
  EXPECT_NE(out.str().find("state hash: " + HashText(recorded.finalHash)), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("frames per second: "), std::string::npos) << out.str();
}

// The committed replay is a battle with every weapon, critical hits, escape ships, gravitation and
// the computer pilot. A change to the game's rules makes it part from its stored hash; after such a
// deliberate change, re-record it with
//   QV_RERECORD_REPLAY=1 build/test/tests/test_replay --gtest_filter=RecordPlayback.CommittedReplay*
TEST(RecordPlayback, CommittedReplayPlaysToItsStoredHash) {
  if (std::getenv("QV_RERECORD_REPLAY") != nullptr) {
    testing::TempDir dir;
    testing::MakeProgramFolder(dir.path() / "game");
    Coverage coverage;
    const fs::path file = testing::RecordScriptedBattle(dir.path() / "game", dir.path() / "replays", &coverage);
    ExpectCovers(coverage);
    ASSERT_FALSE(HasFailure()) << "the scripted battle no longer shows everything; adjust its script";
    fs::create_directories(testing::CommittedReplay().parent_path());
    fs::copy_file(file, testing::CommittedReplay(), fs::copy_options::overwrite_existing);
  }
  const Replay stored = Load(testing::CommittedReplay());
  ASSERT_TRUE(stored.finished);
  std::ostringstream out, err;
  PlaybackResult result;
  EXPECT_EQ(0, PlayReplay(testing::CommittedReplay(), testing::ProgramDir(), ReplayMode::Timedemo, out, err, &result))
      << err.str();
  EXPECT_FALSE(result.divergedAt.has_value()) << err.str();
  EXPECT_EQ(HashText(result.hash), HashText(stored.finalHash));
}

// A recording cut short (the game was killed) plays every frame it holds and no more, and the
// timedemo's clock runs over the frames alone: the window and pictures are set up before it starts.
TEST(RecordPlayback, TimedemoOfACutRecordingCountsItsFramesOnly) {
  const Replay stored = Load(testing::CommittedReplay());
  for (const int64_t cut : {int64_t{1}, int64_t{75}, stored.frameCount - 1}) {
    SCOPED_TRACE(cut);
    Replay replay = stored;
    replay.finished = false;
    replay.frameCount = cut;
    std::erase_if(replay.frames, [&](const auto& f) { return f.first > cut; });
    std::erase_if(replay.hashes, [&](const auto& h) { return h.first > cut; });
    testing::TempDir dir;
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(dir.path() / "cut.qvr", ReplayText(replay), &error)) << error;
    std::ostringstream out, err;
    PlaybackResult result;
    const auto began = std::chrono::steady_clock::now();
    EXPECT_EQ(0, PlayReplay(dir.path() / "cut.qvr", testing::ProgramDir(), ReplayMode::Timedemo, out, err, &result))
        << err.str();
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    EXPECT_EQ(result.frames, cut);
    EXPECT_NE(out.str().find("frames: " + std::to_string(cut) + "\n"), std::string::npos) << out.str();
    // One frame against the set-up of the window and every picture: counted with the set-up, it
    // would take nearly all of the wall time; alone it takes about a quarter on an idle machine, so
    // half leaves room for a busy one.
    if (cut == 1) {
      EXPECT_LT(result.seconds * 2, wall) << result.seconds << " s of " << wall << " s";
    }
  }
}

}  // namespace
}  // namespace quorvex
