// The replay folder keeps the newest 50 replays; a battle the game leaves in the middle (closed,
// crashed or killed) still leaves a replay that plays up to its last second.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "game/replay/Player.h"
#include "game/replay/Recorder.h"
#include "platform/Files.h"
#include "platform/Keys.h"
#include "tests/replay/ReplayTesting.h"
#include "tests/support/TempDir.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;

void Touch(const fs::path& file) {
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(file, "x", &error)) << error;
}

TEST(ReplayFolder, KeepsTheNewestFifty) {
  struct Case {
    const char* name;
    int old;  // replays already there, one a minute
    std::vector<std::string> extra;
    std::vector<std::string> gone, kept;
  };
  const std::vector<Case> cases = {
      {"under the limit", 49, {}, {}, {"battle-20260101-100000.qvr"}},
      {"at the limit", 50, {}, {}, {"battle-20260101-100000.qvr"}},
      {"three too many", 53, {"notes.txt"}, {"battle-20260101-100000.qvr", "battle-20260101-100200.qvr"},
       {"battle-20260101-100300.qvr", "notes.txt"}},
      // Two battles in the same second: "-2" is the later one, "-10" later still.
      {"same second", 48, {"battle-20260101-100000-2.qvr", "battle-20260101-100000-10.qvr", "battle-20260101-100100-3.qvr"},
       {"battle-20260101-100000.qvr"}, {"battle-20260101-100000-2.qvr", "battle-20260101-100000-10.qvr"}},
  };
  for (const Case& c : cases) {
    testing::TempDir dir;
    for (int i = 0; i < c.old; ++i) {
      char name[64];
      std::snprintf(name, sizeof name, "battle-20260101-10%02d00.qvr", i);
      Touch(dir.path() / name);
    }
    for (const std::string& name : c.extra) Touch(dir.path() / name);
    KeepNewestReplays(dir.path(), kReplaysKept);
    const size_t replays = c.old + std::count_if(c.extra.begin(), c.extra.end(), [](const std::string& n) { return n.ends_with(".qvr"); });
    EXPECT_EQ(ListFilesWithExtension(dir.path(), ".qvr").size(), std::min<size_t>(50, replays)) << c.name;
    for (const std::string& name : c.gone) EXPECT_FALSE(fs::exists(dir.path() / name)) << c.name << ": " << name;
    for (const std::string& name : c.kept) EXPECT_TRUE(fs::exists(dir.path() / name)) << c.name << ": " << name;
  }
}

TEST(ReplayFolder, NewNamesSortAfterTakenOnes) {
  testing::TempDir dir;
  const fs::path first = NewReplayPath(dir.path(), 1'800'000'000);
  Touch(first);
  const fs::path second = NewReplayPath(dir.path(), 1'800'000'000);
  EXPECT_NE(first, second);
  EXPECT_EQ(second.filename().string(), first.stem().string() + "-2.qvr");
}

// The window is closed in the middle of the duel. While the battle ran, the replay on disk was never
// more than a second behind and always readable; afterwards it plays to its last frame as recorded.
TEST(ReplayRecording, BattleLeftInTheMiddleStillReplays) {
  testing::TempDir dir;
  testing::MakeProgramFolder(dir.path() / "game");
  fs::create_directories(dir.path() / "replays");
  for (int i = 0; i < kReplaysKept; ++i) Touch(dir.path() / "replays" / ("battle-2000010" + std::to_string(i % 10) + "-0000" + std::to_string(i / 10) + "0.qvr"));
  int checked = 0;
  const fs::path file = testing::RecordScriptedBattle(
      dir.path() / "game", dir.path() / "replays", nullptr, [&](GameWindow& w, int frame) {
        if (frame == 300) w.events.closeRequested = true;
        if (frame % 37 != 0) return;
        // Frames come every 21 ms of the game's clock: a second is at most 48 frames.
        const auto names = ListFilesWithExtension(dir.path() / "replays", ".qvr");
        Replay now;
        std::string error;
        ASSERT_TRUE(LoadReplay(dir.path() / "replays" / names.back(), &now, &error)) << error;
        EXPECT_FALSE(now.finished);
        EXPECT_GE(now.frameCount, frame - 4 - 48) << "frame " << frame;
        ++checked;
      });
  EXPECT_EQ(checked, 8);
  EXPECT_EQ(ListFilesWithExtension(dir.path() / "replays", ".qvr").size(), 50u) << "the oldest replay went";

  Replay cut;
  std::string error;
  ASSERT_TRUE(LoadReplay(file, &cut, &error)) << error;
  EXPECT_FALSE(cut.finished);
  EXPECT_EQ(cut.frameCount, 300 - 5) << "every frame of the battle up to the closed window";
  std::ostringstream out, err;
  PlaybackResult result;
  EXPECT_EQ(0, PlayReplay(file, dir.path() / "game", ReplayMode::Timedemo, out, err, &result)) << err.str();
  EXPECT_FALSE(result.divergedAt.has_value()) << err.str();
  EXPECT_EQ(result.frames, cut.frameCount) << "the playback stops where the recording does";
}

// F11 and F12 act on the recording player's window and files; they are no part of the battle, and
// watching a replay must not take screenshots or switch the watcher's full screen.
TEST(ReplayRecording, WindowKeysStayWithTheWindow) {
  testing::TempDir dir;
  const fs::path game = dir.path() / "game";
  testing::MakeProgramFolder(game);
  const fs::path file = testing::RecordScriptedBattle(game, dir.path() / "replays", nullptr, [](GameWindow& w, int frame) {
    if (frame == 20 || frame == 30) w.events.keys.push_back({true, frame == 20 ? vk::F12 : vk::F11});
    if (frame == 21 || frame == 31) w.events.keys.push_back({false, frame == 21 ? vk::F12 : vk::F11});
    if (frame == 120) w.events.closeRequested = true;
  });
  EXPECT_EQ(ListFilesWithExtension(game / "screenshots", ".png").size(), 1u) << "the player's own screenshot";
  std::string text, error;
  ASSERT_TRUE(ReadWholeFile(file, &text, &error)) << error;
  EXPECT_EQ(text.find(" d" + std::to_string(vk::F12)), std::string::npos) << "not recorded";
  EXPECT_EQ(text.find(" d" + std::to_string(vk::F11)), std::string::npos) << "not recorded";

  // A replay that holds them (as older ones do) plays without acting on them.
  const size_t keys = text.find("\nk ");
  ASSERT_NE(keys, std::string::npos);
  const std::string held = " d" + std::to_string(vk::F12) + " u" + std::to_string(vk::F12) + " d" +
                           std::to_string(vk::F11) + " u" + std::to_string(vk::F11);
  text.insert(text.find('\n', keys + 1), held);
  ASSERT_TRUE(WriteFileAtomically(file, text, &error)) << error;
  fs::remove_all(game / "screenshots");
  fs::remove(game / "display.cfg");
  std::ostringstream out, err;
  PlaybackResult result;
  EXPECT_EQ(0, PlayReplay(file, game, ReplayMode::Timedemo, out, err, &result)) << err.str();
  EXPECT_FALSE(fs::exists(game / "screenshots"));
  EXPECT_FALSE(fs::exists(game / "display.cfg"));
}

// Taps shorter than a frame: the recording holds each press in one frame and its release in the
// next, and the replay plays to the same state.
TEST(ReplayRecording, TapsBetweenTwoFramesAreRecordedAsPlayed) {
  testing::TempDir dir;
  const fs::path game = dir.path() / "game";
  testing::MakeProgramFolder(game);
  const fs::path file = testing::RecordScriptedBattle(game, dir.path() / "replays", nullptr, [](GameWindow& w, int frame) {
    if (frame % 40 == 0 && frame >= 120 && frame <= 280) w.events.keys.insert(w.events.keys.end(), {{true, 'A'}, {false, 'A'}});
  });
  Replay recorded;
  std::string error;
  ASSERT_TRUE(LoadReplay(file, &recorded, &error)) << error;
  std::vector<std::pair<int64_t, bool>> taps;  // frame, and press or release of 'A'
  for (const auto& [frame, f] : recorded.frames) {
    for (const KeyEvent& k : f.keys) {
      if (k.code == 'A') taps.emplace_back(frame, k.down);
    }
  }
  ASSERT_EQ(taps.size(), 10u);
  for (size_t i = 0; i < taps.size(); i += 2) {
    EXPECT_TRUE(taps[i].second && taps[i + 1] == std::make_pair(taps[i].first + 1, false)) << "tap " << i / 2;
  }
  std::ostringstream out, err;
  PlaybackResult result;
  EXPECT_EQ(0, PlayReplay(file, game, ReplayMode::Timedemo, out, err, &result)) << err.str();
  EXPECT_EQ(result.hash, recorded.finalHash);
}

// An installed game keeps the player's own ships and their pictures in his folder: a replay of a
// battle with one plays from there too.
TEST(ReplayRecording, AnInstalledGameReplaysWithThePlayersOwnPictures) {
  testing::TempDir dir;
  const GameFolders folders{dir.path() / "data", dir.path() / "user"};
  testing::MakeProgramFolder(folders.data);
  fs::create_directories(folders.user);
  fs::rename(folders.data / "leviathan.bmp", folders.user / "leviathan.bmp");
  std::ostringstream out, err;
  PlaybackResult result;
  EXPECT_EQ(0, PlayReplay(testing::CommittedReplay(), folders, ReplayMode::Timedemo, out, err, &result)) << err.str();
  EXPECT_FALSE(result.divergedAt.has_value()) << err.str();
}

}  // namespace
}  // namespace quorvex
