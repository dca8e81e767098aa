#include <gtest/gtest.h>

#include <set>

#include "platform/Numbers.h"
#include "platform/Random.h"

namespace quorvex {
namespace {

TEST(Numbers, NearestRoundsHalvesToEven) {
  struct Case {
    double v, expected;
  } cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2}, {0.49, 0}, {0.51, 1},
               {-0.51, -1}, {7.0, 7}, {-0.25, 0}, {30.75, 31}, {1e12 + 0.5, 1e12}};
  for (const Case& c : cases) EXPECT_EQ(c.expected, nearest(c.v)) << c.v;
}

TEST(Numbers, IntGoesTowardMinusInfinity) {
  struct Case {
    double v, expected;
  } cases[] = {{-0.1, -1}, {0.9, 0}, {2.0, 2}, {-2.0, -2}, {-2.5, -3}, {31.99, 31}};
  for (const Case& c : cases) EXPECT_EQ(c.expected, Int(c.v)) << c.v;
}

TEST(Numbers, NearestIntPinsAbsurdValues) {
  EXPECT_EQ(2, nearestInt(2.5));
  EXPECT_EQ(1000000000, nearestInt(1e300));
  EXPECT_EQ(-1000000000, nearestInt(-1e300));
  EXPECT_EQ(0, nearestInt(std::nan("")));
}

TEST(Random, SeededSequencesRepeatAndStayInRange) {
  Random a, b;
  a.Seed(42);
  b.Seed(42);
  for (int i = 0; i < 10000; ++i) {
    const double v = a.Next();
    ASSERT_EQ(v, b.Next());
    ASSERT_GE(v, 0.0);
    ASSERT_LT(v, 1.0);
  }
}

TEST(Random, ScriptedValuesComeFirst) {
  Random r;
  r.Seed(1);
  r.scripted = {0.25, 0.75};
  EXPECT_EQ(0.25, r.Next());
  EXPECT_EQ(0.75, r.Next());
  EXPECT_LT(r.Next(), 1.0);
}

// Mixing the same tick count in twice must not restart the sequence: two critical hits in the
// same millisecond would otherwise always pick the same system.
TEST(Random, MixingInTheClockNeverRestartsTheSequence) {
  Random r;
  r.Seed(7);
  std::set<double> firsts;
  for (int i = 0; i < 20; ++i) {
    r.MixIn(1234);
    firsts.insert(r.Next());
  }
  EXPECT_EQ(20u, firsts.size());

  Random x, y;
  x.Seed(7);
  y.Seed(7);
  x.MixIn(99);
  y.MixIn(99);
  EXPECT_EQ(x.Next(), y.Next()) << "the same history replays the same numbers";
}

}  // namespace
}  // namespace quorvex
