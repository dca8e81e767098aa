// The lockstep queue and the hash check without sockets: keys play `delay` frames after they were
// taken, in player order on both machines, through lost, repeated and reordered packets; frames
// out of reach and acknowledgements of frames never sent are refused; a hash that differs is found
// at its frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "game/net/Lockstep.h"

namespace quorvex {
namespace {

std::vector<KeyEvent> Key(int code) { return {{true, code}}; }

// Two machines' queues joined by a channel that loses, repeats and reorders packets: both play
// the same keys in the same frames, and neither holds more than a few frames of keys. In a duel
// (a window) they play on guesses; every guess here is wrong (a key each frame), and the frames
// played again after each correction end as the keys really were.
TEST(Lockstep, TwoQueuesPlayTheSameKeysWhateverTheChannelDoes) {
  struct Case {
    const char* what;
    double loss, repeat, reorder;
    int window;
  };
  const Case cases[] = {
      {"a perfect channel", 0, 0, 0, 0},
      {"a third lost", 0.33, 0, 0, 0},
      {"a quarter repeated", 0, 0.25, 0, 0},
      {"a quarter reordered", 0, 0, 0.25, 0},
      {"all at once", 0.2, 0.25, 0.25, 0},
      {"guessing, a perfect channel", 0, 0, 0, 6},
      {"guessing, all at once", 0.2, 0.25, 0.25, 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::mt19937 gen(5);
    std::uniform_real_distribution<double> r(0, 1);
    const int delay = 3;
    LockstepQueue queues[2] = {LockstepQueue(delay, c.window, 1), LockstepQueue(delay, c.window, 1)};
    for (LockstepQueue& q : queues) q.guessing = c.window > 0;
    std::vector<Packet> inFlight[2];  // towards queue 0, towards queue 1
    std::vector<std::vector<KeyEvent>> played[2];
    size_t mostHeld = 0;
    int corrections = 0;
    for (int step = 0; step < 4000 && (queues[0].Settled() < 300 || queues[1].Settled() < 300); ++step) {
      for (int m = 0; m < 2; ++m) {
        LockstepQueue& q = queues[m];
        if (q.TakesLocal()) q.AddLocal(Key(100 * (m + 1) + static_cast<int>(q.played % 50)));
        // Each machine sends every step, as a running or waiting game does.
        const Packet p = q.InputPacket();
        if (r(gen) >= c.loss) inFlight[1 - m].push_back(p);
        if (r(gen) < c.repeat) inFlight[1 - m].push_back(p);
        if (inFlight[1 - m].size() > 1 && r(gen) < c.reorder) std::swap(inFlight[1 - m].front(), inFlight[1 - m].back());
        if (q.Ready() && played[m].size() < 300) played[m].push_back(q.Take(m == 0));
        mostHeld = std::max({mostHeld, q.local.size(), q.remote.size()});
      }
      for (int m = 0; m < 2; ++m) {
        // Packets arrive one step later (reordered ones later still).
        std::vector<Packet> arriving;
        arriving.swap(inFlight[m]);
        for (Packet& p : arriving) ASSERT_GE(queues[m].AddRemote(p.ack, p.frame, std::move(p.frames)), 0);
        // A wrong guess: back to the frame before it, and the frames since played again.
        if (const int64_t wrong = queues[m].WrongGuess()) {
          ++corrections;
          const size_t upTo = played[m].size();
          queues[m].Rewind(wrong - 1);
          played[m].resize(static_cast<size_t>(wrong - 1));
          while (played[m].size() < upTo) played[m].push_back(queues[m].Take(m == 0));
        }
      }
    }
    ASSERT_GE(played[0].size(), 300u);
    ASSERT_GE(played[1].size(), 300u);
    if (c.window == 0) EXPECT_EQ(corrections, 0);
    if (c.window > 0 && c.loss > 0) EXPECT_GT(corrections, 0) << "lost keys came late and corrected a guess";
    for (size_t i = 0; i < 300; ++i) {
      ASSERT_EQ(played[0][i].size(), played[1][i].size()) << i;
      for (size_t k = 0; k < played[0][i].size(); ++k) EXPECT_EQ(played[0][i][k].code, played[1][i][k].code) << i;
      if (i >= delay) {
        ASSERT_EQ(played[0][i].size(), 2u) << "both players' keys from frame delay + 1 on";
        EXPECT_EQ(played[0][i][0].code / 100, 1) << "player 1 first";
      }
    }
    EXPECT_LE(mostHeld, 2u * (delay + c.window) + 2) << "keys held stay within the input delay's reach";
  }
}

TEST(Lockstep, WaitsForTheOtherMachineAndRefusesStrayFrames) {
  LockstepQueue q(2);
  for (int f = 1; f <= 2; ++f) {
    q.AddLocal({});
    ASSERT_TRUE(q.Ready()) << "the first `delay` frames need nobody";
    q.Take(true);
  }
  q.AddLocal({});  // frame 5
  EXPECT_FALSE(q.Ready()) << "frame 3 waits for the other machine";
  auto frames = [](int n) { return std::vector<std::vector<KeyEvent>>(static_cast<size_t>(n), Key('X')); };
  struct Case {
    int64_t ack, first;
    int count, added;
    const char* what;
  };
  const Case cases[] = {
      {2, 2, 1, -1, "a frame before the first one a machine sends"},
      {2, 4, 1, -1, "a frame skipped"},
      {6, 3, 1, -1, "an acknowledgement of a frame never sent"},
      {1, 3, 1, -1, "an acknowledgement before the first frame"},
      {2, 3, 4, -1, "further ahead than its acknowledgement lets the other machine be"},
      {2, 3, 1, 1, "the next frame"},
      {2, 3, 1, 0, "the same frame again: nothing new"},
      {3, 3, 3, 2, "old and new frames: the new ones are taken"},
      {5, 6, 2, 2, "ahead"},
      {5, 8, 1, 1, "as far ahead as the other machine can be"},
      {5, 9, 1, -1, "further than the other machine can be"},
      {5, 6, 0, 0, "no frames, only an acknowledgement"},
      {4, 6, 0, 0, "an older acknowledgement that came late"},
  };
  for (const Case& c : cases) EXPECT_EQ(q.AddRemote(c.ack, c.first, frames(c.count)), c.added) << c.what;
  EXPECT_EQ(q.nextRemote, 9);
  EXPECT_EQ(q.acked, 5) << "the latest acknowledgement is kept";
  EXPECT_TRUE(q.Ready());
  EXPECT_EQ(q.Take(true).size(), 1u);
  ASSERT_EQ(q.local.size(), 2u) << "keys played and acknowledged are let go";
  EXPECT_EQ(q.local.begin()->first, 4) << "those still to play are kept";
  EXPECT_EQ(q.InputPacket().frames.size(), 0u);
  EXPECT_EQ(q.InputPacket().ack, 8);
}

// Whatever a hostile machine sends (absurd frame numbers and acknowledgements, long runs of frames
// ahead), what this machine holds stays within the input delay's reach.
TEST(Lockstep, HostilePacketsMakeNothingGrow) {
  for (const int window : {0, kMaxRollbackWindow}) {
  SCOPED_TRACE(window);
  LockstepQueue q(4, window, 1);
  q.guessing = window > 0;
  std::mt19937 gen(3);
  for (int n = 0; n < 10000; ++n) {
    if (q.TakesLocal()) q.AddLocal(Key('W'));
    const int64_t ack = n % 3 == 0 ? static_cast<int64_t>(gen()) : q.played + static_cast<int64_t>(gen() % 12);
    const int64_t first = n % 5 == 0 ? static_cast<int64_t>(gen() % 0x7fffffff) : q.nextRemote - 2 + gen() % 4;
    const int count = static_cast<int>(gen() % (kMaxFramesPerPacket + 1));
    q.AddRemote(ack, first, std::vector<std::vector<KeyEvent>>(static_cast<size_t>(count), Key('I')));
    if (q.Ready()) q.Take(true);
    if (const int64_t wrong = q.WrongGuess()) q.Rewind(wrong - 1);
    const int64_t reach = q.delay + window;
    ASSERT_LE(q.local.size() + q.remote.size(), static_cast<size_t>(4 * reach + 4)) << n;
    ASSERT_LE(q.nextRemote, q.played + 3 + 2 * reach) << n;
  }
  EXPECT_GT(q.played, 100) << "honest-looking packets among them kept the game going";
  }
}

// The input packet carries every frame not acknowledged, oldest first, and no more than one
// datagram holds: a long burst of keys goes in the packets after.
TEST(Lockstep, AnInputPacketCarriesWhatIsNotAcknowledged) {
  LockstepQueue q(4);
  for (int f = 0; f < 3; ++f) {
    q.AddLocal(std::vector<KeyEvent>(kMaxKeysPerFrame, KeyEvent{true, 'W'}));
    q.Take(true);
  }
  q.AddLocal({});
  const Packet p = q.InputPacket();
  EXPECT_EQ(p.frame, 5);
  EXPECT_EQ(p.ack, 4);
  ASSERT_EQ(p.frames.size(), 4u);
  EXPECT_EQ(p.frames[0].size(), kMaxKeysPerFrame);
  EXPECT_TRUE(p.frames[3].empty());
  EXPECT_LE(EncodePacket(p).size(), kMaxInputBytes);
  for (int f = 0; f < 20; ++f) q.local[9 + f] = std::vector<KeyEvent>(kMaxKeysPerFrame, KeyEvent{true, 'W'});
  q.lastLocal = 28;
  const Packet full = q.InputPacket();
  EXPECT_LT(full.frames.size(), 24u) << "cut to one datagram";
  EXPECT_LE(EncodePacket(full).size(), kMaxInputBytes);
}

TEST(Lockstep, HashCheckFindsTheFirstFrameThatDiffers) {
  HashCheck check;
  check.AddLocal(50, 1);
  EXPECT_TRUE(check.AddRemote(50, 1, 50, 8));
  EXPECT_FALSE(check.differsAt);
  struct Case {
    int64_t frame;
    bool accepted;
    const char* what;
  };
  const Case cases[] = {
      {50, false, "the same check again"},
      {75, false, "not a check frame"},
      {150, false, "too far ahead"},
      {0, false, "frame 0"},
  };
  for (const Case& c : cases) EXPECT_EQ(check.AddRemote(c.frame, 9, 100, 8), c.accepted) << c.what;
  EXPECT_TRUE(check.AddRemote(100, 2, 95, 8)) << "the other machine's hash may come first";
  EXPECT_FALSE(check.differsAt);
  check.AddLocal(100, 3);
  EXPECT_EQ(check.differsAt, 100);
  check.AddLocal(150, 4);
  EXPECT_TRUE(check.AddRemote(150, 5, 150, 8));
  EXPECT_EQ(check.differsAt, 100) << "the first difference is kept";
}

}  // namespace
}  // namespace quorvex
