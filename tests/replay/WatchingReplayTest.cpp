// Watching a replay in its window (SDL's dummy video driver): Space holds it on a frame, the right
// arrow steps one frame at a time, F6 held hurries it and shows only some of its pictures, Esc
// leaves; the caption says which. None of it changes the battle that is played.
#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "game/replay/Player.h"
#include "game/replay/StateHash.h"
#include "platform/Keys.h"
#include "tests/replay/ReplayTesting.h"
#include "tests/support/SurfaceTesting.h"

namespace quorvex {
namespace {

struct Press {
  int64_t frame;  // played when the watcher is looked at with this many frames played
  std::vector<KeyEvent> keys;
};

KeyEvent Dn(int code) { return {true, code}; }
KeyEvent Up(int code) { return {false, code}; }

TEST(WatchingReplay, PausesStepsAndHurriesWithItsCaption) {
  Replay stored;
  std::string error;
  ASSERT_TRUE(LoadReplay(testing::CommittedReplay(), &stored, &error)) << error;
  const struct Case {
    const char* name;
    std::vector<Press> script;  // one press a look, in order
    std::set<int64_t> pausedOn;
    std::set<std::string> captions;
    int64_t frames;       // played until the end or Esc
    bool fewerPictures;   // hurried: at most a quarter of the frames shown
  } cases[] = {
      {"at its pace", {{30, {Dn(vk::Escape)}}}, {}, {"replay"}, 30, false},
      {"hurried, paused and stepped",
       {{0, {Dn(vk::F6)}},
        {100, {Dn(vk::Space), Up(vk::Space)}},
        {100, {}},
        {100, {Dn(vk::Right), Up(vk::Right)}},
        {101, {}},
        {101, {Dn(vk::Right), Up(vk::Right)}},
        {102, {Dn(vk::Space), Up(vk::Space)}}},
       {100, 101, 102},
       {"replay", "replay >>", "replay - paused"},
       stored.frameCount,
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    size_t next = 0;
    std::set<int64_t> pausedOn;
    std::set<std::string> captions;
    int64_t pictures = 0;
    auto watcher = [&](GameWindow& w, const ReplayPlayer& p) {
      if (!p.caption.empty()) captions.insert(p.caption);
      if (p.paused) pausedOn.insert(p.frame);
      pictures = w.display.pictures;
      if (next < c.script.size() && c.script[next].frame == p.frame) {
        for (const KeyEvent& k : c.script[next++].keys) w.events.keys.push_back(k);
      }
      ASSERT_LT(pausedOn.size(), 10u) << "held paused";
    };
    std::ostringstream out, err;
    PlaybackResult result;
    EXPECT_EQ(0, PlayReplay(testing::CommittedReplay(), testing::ProgramDir(), ReplayMode::Window, out, err, &result,
                            watcher))
        << err.str();
    EXPECT_EQ(next, c.script.size()) << "every press was made";
    EXPECT_FALSE(result.divergedAt.has_value()) << err.str();
    EXPECT_EQ(result.frames, c.frames);
    if (c.frames == stored.frameCount) {
      EXPECT_EQ(HashText(result.hash), HashText(stored.finalHash));
    }
    EXPECT_EQ(pausedOn, c.pausedOn);
    EXPECT_EQ(captions, c.captions);
    if (c.fewerPictures) {
      EXPECT_LT(pictures, result.frames / 4);
    } else {
      EXPECT_GE(pictures, result.frames - 1) << "every frame shown";
    }
  }
}

}  // namespace
}  // namespace quorvex
