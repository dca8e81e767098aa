// The battle loop's pacing, driven by a clock moved by hand: frames start only when strictly more
// than the frame interval has passed, a stall gives one frame and no catch-up, F6's flag removes
// the pacing, and the loop sleeps instead of spinning on the clock.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "game/flow/BattleLoop.h"
#include "tests/core/CoreTesting.h"

namespace quorvex {
namespace {

// A hand-moved clock that records its sleeps and refuses to be read endlessly without time
// passing (a loop spinning on it would otherwise never end).
struct PacingClock : ManualClock {
  std::vector<int> sleeps;
  int readsSinceSleep = 0;
  int32_t Ticks() override {
    if (++readsSinceSleep > 1000) throw std::runtime_error("the loop spins on the clock");
    return now;
  }
  void Sleep(int ms) override {
    EXPECT_GT(ms, 0);
    sleeps.push_back(ms);
    readsSinceSleep = 0;
    now = static_cast<int32_t>(static_cast<uint32_t>(now) + static_cast<uint32_t>(ms));  // wraps like the tick count
  }
};

// A scripted duel: `frames` frames, with `script` run at each (numbered from 1) before the duel ends.
struct PacingCase {
  const char* name;
  int interval;
  int32_t lastTick;         // lastFrameTick when the duel starts
  int32_t start;            // the clock then
  int frames;
  std::function<void(GameWindow&, PacingClock&, int)> script;
  std::vector<int32_t> expectedTicks;
};
void PrintTo(const PacingCase& c, std::ostream* os) { *os << c.name; }

class PacingTest : public ::testing::TestWithParam<PacingCase> {};

TEST_P(PacingTest, FramesStartOnTheirTick) {
  const PacingCase& c = GetParam();
  PacingClock clock;
  clock.now = c.start;
  GameWindow w;
  w.headless = true;
  w.clock = &clock;
  w.options.frameInterval = static_cast<uint8_t>(c.interval);
  w.lastFrameTick = c.lastTick;

  std::vector<int32_t> ticks;
  std::vector<int32_t> lastTicks;
  w.eventScript = [&](GameWindow& g) {
    ticks.push_back(clock.now);
    lastTicks.push_back(g.lastFrameTick);
    const int frame = static_cast<int>(ticks.size());
    if (c.script) c.script(g, clock, frame);
    if (frame == c.frames) g.duelOver = true;
  };
  BattleLoop(w);

  EXPECT_EQ(ticks, c.expectedTicks);
  EXPECT_EQ(w.framesRun, c.frames);
  for (size_t i = 0; i < ticks.size(); ++i) EXPECT_EQ(lastTicks[i], c.expectedTicks[i]) << "frame " << i + 1;
}

void Stall(GameWindow&, PacingClock& clock, int frame) {
  if (frame == 2) clock.now += 500;  // the second frame took half a second
}

INSTANTIATE_TEST_SUITE_P(
    Pacing, PacingTest,
    ::testing::Values(
        PacingCase{"Default20ms", 20, 0, 0, 5, nullptr, {21, 42, 63, 84, 105}},
        PacingCase{"ZeroIntervalEveryMillisecond", 0, 0, 0, 4, nullptr, {1, 2, 3, 4}},
        PacingCase{"Interval100", 100, 0, 0, 3, nullptr, {101, 202, 303}},
        PacingCase{"Interval255", 255, 0, 0, 2, nullptr, {256, 512}},
        PacingCase{"LateStartRunsAtOnce", 20, 0, 1000, 3, nullptr, {1000, 1021, 1042}},
        PacingCase{"StallGivesOneFrameNoCatchUp", 20, 0, 0, 5, Stall, {21, 42, 542, 563, 584}},
        PacingCase{"TickCountWrapsAround", 20, 2147483640, 2147483640, 3, nullptr,
                   {-2147483635, -2147483614, -2147483593}},
        PacingCase{"ClockBehindTheLastFrameWaits", 20, 0, -10, 3, nullptr, {21, 42, 63}},
        PacingCase{"NoFrameLimitEveryPass", 20, 0, 0, 4,
                   [](GameWindow& g, PacingClock&, int frame) { g.noFrameLimit = frame < 3; },
                   {21, 21, 21, 42}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PacingSleepTest, WaitsBySleepingAndNeverSpins) {
  PacingClock clock;
  GameWindow w;
  w.headless = true;
  w.clock = &clock;
  w.options.frameInterval = 20;
  std::vector<size_t> sleepsAtFrame;
  std::vector<int32_t> ticks;
  w.eventScript = [&](GameWindow& g) {
    sleepsAtFrame.push_back(clock.sleeps.size());
    ticks.push_back(clock.now);
    if (ticks.size() == 6) g.duelOver = true;
  };
  BattleLoop(w);

  ASSERT_EQ(ticks.size(), 6u);
  // Between two frames: one long sleep up to 2 ms before the frame is due, then 1 ms steps.
  for (size_t f = 1; f < ticks.size(); ++f) {
    EXPECT_EQ(ticks[f] - ticks[f - 1], 21);
    std::vector<int> between(clock.sleeps.begin() + static_cast<long>(sleepsAtFrame[f - 1]),
                             clock.sleeps.begin() + static_cast<long>(sleepsAtFrame[f]));
    EXPECT_EQ(between, (std::vector<int>{19, 1, 1})) << "before frame " << f + 1;
  }
}

TEST(PacingSleepTest, NoFrameLimitNeverSleeps) {
  PacingClock clock;
  clock.now = 50;
  GameWindow w;
  w.headless = true;
  w.clock = &clock;
  w.noFrameLimit = true;
  int frames = 0;
  w.eventScript = [&](GameWindow& g) {
    clock.now += 1;  // each frame takes a millisecond
    if (++frames == 30) g.duelOver = true;
  };
  BattleLoop(w);
  EXPECT_EQ(frames, 30);
  EXPECT_TRUE(clock.sleeps.empty());
}

TEST(BattleLoopTest, DuelStartsWithHeadingsUpSparksClearedAndFreshStars) {
  ManualClock clock;
  GameWindow w;
  w.headless = true;
  w.clock = &clock;
  w.ship[0].heading = 7;
  w.ship[1].heading = 30;
  w.sparks.life.fill(5);
  w.screenRect = Rect{1, 2, 3, 4};
  std::array<double, 2> headingsSeen{};
  w.eventScript = [&](GameWindow& g) {
    headingsSeen = {g.ship[0].heading, g.ship[1].heading};
    g.duelOver = true;
  };
  BattleLoop(w);

  EXPECT_EQ(headingsSeen, (std::array<double, 2>{0, 0}));
  EXPECT_EQ(w.screenRect, (Rect{0, 0, 800, 600}));
  for (int i = 0; i <= 500; ++i) ASSERT_EQ(w.sparks.life[i], 0) << i;
  EXPECT_EQ(w.sparks.life[501], 5);  // the duel start clears slots 0..500 only
  float minDepth = 9, maxDepth = 0, minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
  for (int i = 0; i <= 1000; ++i) {
    minDepth = std::min(minDepth, w.stars.depth[i]);
    maxDepth = std::max(maxDepth, w.stars.depth[i]);
    minX = std::min(minX, w.stars.x[i]);
    maxX = std::max(maxX, w.stars.x[i]);
    minY = std::min(minY, w.stars.y[i]);
    maxY = std::max(maxY, w.stars.y[i]);
  }
  EXPECT_GE(minDepth, 1.0f);
  EXPECT_LT(maxDepth, 3.0f);
  EXPECT_GT(maxDepth - minDepth, 1.5f);  // spread over the range, not one value
  EXPECT_GE(minX, -1500.0f);
  EXPECT_LT(maxX, 1500.0f);
  EXPECT_LT(minX, -1000.0f);
  EXPECT_GT(maxX, 1000.0f);
  EXPECT_GE(minY, -1100.0f);
  EXPECT_LT(maxY, 1100.0f);
}

TEST(BattleLoopTest, StarsFollowTheSeed) {
  ManualClock clock;
  GameWindow a, b;
  for (GameWindow* w : {&a, &b}) {
    w->headless = true;
    w->clock = &clock;
    w->random.Seed(1234);
    w->eventScript = [](GameWindow& g) { g.duelOver = true; };
    BattleLoop(*w);
  }
  EXPECT_EQ(a.stars.x, b.stars.x);
  EXPECT_EQ(a.stars.depth, b.stars.depth);
}

TEST(BattleLoopTest, PauseWithoutAQuitGoesOnWithTheDuel) {
  ManualClock clock;
  GameWindow w;
  w.headless = true;
  w.clock = &clock;
  int frames = 0;
  bool pauseSeenCleared = false;
  w.eventScript = [&](GameWindow& g) {
    ++frames;
    if (frames == 2) g.pauseRequested = true;
    if (frames == 3) {  // the pause menu's first frame: "resume"
      pauseSeenCleared = !g.pauseRequested && g.menuActive;
      g.menuSelect = true;
    }
    if (frames == 4) g.duelOver = true;
  };
  BattleLoop(w);
  EXPECT_EQ(frames, 4);
  EXPECT_TRUE(pauseSeenCleared);
  EXPECT_FALSE(w.quitBattle);
}

}  // namespace
}  // namespace quorvex
