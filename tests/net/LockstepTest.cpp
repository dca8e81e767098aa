// The lockstep queue and the hash check without sockets: keys play `delay` frames after they were
// taken, in player order on both machines; frames out of order or too far ahead are refused; a
// hash that differs is found at its frame.
#include <gtest/gtest.h>

#include "game/net/Lockstep.h"

namespace quorvex {
namespace {

std::vector<KeyEvent> Key(int code) { return {{true, code}}; }

TEST(Lockstep, TwoQueuesPlayTheSameKeysInTheSameFrames) {
  LockstepQueue host(3), guest(3);
  std::vector<std::vector<KeyEvent>> hostPlayed, guestPlayed;
  for (int f = 1; f <= 20; ++f) {
    const int64_t h = host.AddLocal(Key(100 + f));
    const int64_t g = guest.AddLocal(Key(200 + f));
    EXPECT_EQ(h, f + 3);
    ASSERT_TRUE(guest.AddRemote(h, Key(100 + f)));
    ASSERT_TRUE(host.AddRemote(g, Key(200 + f)));
    ASSERT_TRUE(host.Ready() && guest.Ready()) << f;
    hostPlayed.push_back(host.Take(true));
    guestPlayed.push_back(guest.Take(false));
  }
  EXPECT_EQ(hostPlayed.size(), guestPlayed.size());
  for (size_t i = 0; i < hostPlayed.size(); ++i) {
    const int f = static_cast<int>(i) + 1;
    ASSERT_EQ(hostPlayed[i].size(), guestPlayed[i].size()) << f;
    if (f <= 3) {
      EXPECT_TRUE(hostPlayed[i].empty()) << "nothing plays before the delay";
      continue;
    }
    ASSERT_EQ(hostPlayed[i].size(), 2u);
    EXPECT_EQ(hostPlayed[i][0].code, 100 + f - 3) << "player 1 first";
    EXPECT_EQ(hostPlayed[i][1].code, 200 + f - 3);
    EXPECT_EQ(guestPlayed[i][0].code, hostPlayed[i][0].code);
    EXPECT_EQ(guestPlayed[i][1].code, hostPlayed[i][1].code);
  }
}

TEST(Lockstep, WaitsForTheOtherMachineAndRefusesStrayFrames) {
  LockstepQueue q(2);
  for (int f = 1; f <= 2; ++f) {
    q.AddLocal({});
    ASSERT_TRUE(q.Ready()) << "the first `delay` frames need nobody";
    q.Take(true);
  }
  q.AddLocal({});
  EXPECT_FALSE(q.Ready()) << "frame 3 waits for the other machine";
  struct Case {
    int64_t frame;
    bool accepted;
    const char* what;
  };
  const Case cases[] = {
      {2, false, "a frame before the first one sent"},
      {4, false, "a frame skipped"},
      {3, true, "the next frame"},
      {3, false, "the same frame again"},
      {4, true, "the next one"},
      {5, true, "still within reach"},
      {6, true, "ahead"},
      {7, true, "ahead"},
      {8, true, "as far ahead as the other machine can be"},
      {9, false, "further than the other machine can be"},
      {-1, false, "a negative frame"},
  };
  for (const Case& c : cases) EXPECT_EQ(q.AddRemote(c.frame, Key('X')), c.accepted) << c.what;
  EXPECT_TRUE(q.Ready());
  EXPECT_EQ(q.Take(true).size(), 1u);
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
