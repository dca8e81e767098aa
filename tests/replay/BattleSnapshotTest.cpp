// Battle snapshots: taken in the middle of duels, ten frames played on from them and thrown away,
// the battle put back and played on: it ends exactly as the same battle played straight through, and playing the
// same frames again from a snapshot gives the same state. Snapshots reuse their storage.
#include <gtest/gtest.h>

#include <memory>

#include "game/combat/Physics.h"
#include "game/combat/ShipControl.h"
#include "game/replay/BattleSnapshot.h"
#include "game/replay/ReplayFile.h"
#include "game/replay/StateHash.h"
#include "tests/replay/ReplayTesting.h"
#include "tests/support/TempDir.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;

uint64_t PlayFrames(GameWindow& w, int frames) {
  for (int i = 0; i < frames; ++i) {
    Fysiikat(w);
    Ohjailu(w);
  }
  return StateHash(w);
}

TEST(BattleSnapshot, PlayingOnAndPuttingBackLeavesTheBattleAsItWas) {
  testing::TempDir dir;
  testing::MakeProgramFolder(dir.path() / "game");
  SnapshotRing<9> ring;
  int tried = 0, moved = 0;
  const unsigned char* storage = nullptr;
  const fs::path file = testing::RecordScriptedBattle(
      dir.path() / "game", dir.path() / "replays", nullptr, [&](GameWindow& w, int frame) {
        if (w.menuActive || frame % 7 != 0) return;
        const uint64_t before = StateHash(w);
        ring.Save(w, frame);
        const uint64_t after = PlayFrames(w, 10);
        moved += after != before;
        ASSERT_TRUE(ring.Restore(frame, w));
        ASSERT_EQ(HashText(StateHash(w)), HashText(before)) << "frame " << frame << ": put back as it was";
        ASSERT_EQ(HashText(PlayFrames(w, 10)), HashText(after)) << "frame " << frame << ": the same frames again";
        ASSERT_TRUE(ring.Restore(frame, w));
        ++tried;
        const BattleSnapshot& slot = ring.copies[static_cast<size_t>(frame) % 9];
        if (frame % 9 == 0) {  // the same slot again: its storage is kept
          if (storage != nullptr) {
            EXPECT_EQ(slot.bytes.data(), storage);
          }
          storage = slot.bytes.data();
        }
      });
  const fs::path plain = testing::RecordScriptedBattle(dir.path() / "game", dir.path() / "plain");
  Replay recorded, committed;
  std::string error;
  ASSERT_TRUE(LoadReplay(file, &recorded, &error)) << error;
  ASSERT_TRUE(LoadReplay(plain, &committed, &error)) << error;
  EXPECT_GT(tried, 20);
  EXPECT_GT(moved, tried / 2) << "the frames played on did change the battle";
  EXPECT_EQ(HashText(recorded.finalHash), HashText(committed.finalHash));
  EXPECT_EQ(recorded.hashes, committed.hashes);
  auto w = std::make_unique<GameWindow>();
  EXPECT_FALSE(ring.Restore(3, *w)) << "a frame the ring never held";
}

}  // namespace
}  // namespace quorvex
