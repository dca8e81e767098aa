// Ship control: turning and its wrap, thrust with its trail and speed limit, the position step, the
// laser charge and the firing of every weapon into its pool, through Ohjailu and ControlShip.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "game/combat/ShipControl.h"

namespace quorvex {
namespace {

constexpr double kDeg = 3.14 / 180;

const char* const kSlotNames[kSoundSlots] = {"Laser1.wav", "Laser2.wav", "Hit1.wav",   "Hit1.wav",  "Collision.wav",
                                             "Hit2.wav",   "Hit2.wav",   "Select2.wav", "Ion.wav",   "Hit3.wav",
                                             "Hit3.wav",   "Boom.wav",   "Launch.wav",  "R2HIT.wav", "Boom2.wav",
                                             "blop.wav",   "chain.wav",  "hit4.wav"};

// Two ships facing up the screen, player 1 at (100, 240) and player 2 at (700, 240), radius 50 and
// zoom 50 so that barrel offsets come out in whole pixels; sounds recorded, randomness seeded.
std::unique_ptr<GameWindow> Window() {
  auto w = std::make_unique<GameWindow>();
  w->headless = true;
  w->messages.headless = true;
  w->random.Seed(99);
  w->trainingMode = false;  // both ships flown from the keys, not by the computer pilot
  w->zoom = 50;
  for (int i = 0; i < kSoundSlots; ++i) {
    w->sounds[i].name = kSlotNames[i];
    w->sounds[i].loaded = true;
  }
  for (int p = 0; p < 2; ++p) {
    ShipState& s = w->ship[p];
    s.x = p == 0 ? 100 : 700;
    s.y = 240;
    s.radius = 50;
    s.shield = s.shieldMax = 20;
    s.hull = s.hullMax = 60;
    s.turnRate = 1;
    s.mass = 2;
    s.maxSpeed = 5;
    s.laserReload = 5;
    s.laserCooldown = 5;
    s.shotEnergy = 10;
    s.energy = 100;
    s.laserPattern = 1;
  }
  return w;
}

int Count(const std::vector<std::string>& played, const std::string& name) {
  int n = 0;
  for (const std::string& p : played) n += p == name;
  return n;
}

template <size_t N>
std::vector<int> Live(const std::array<double, N>& life) {
  std::vector<int> slots;
  for (size_t i = 0; i < N; ++i) {
    if (life[i] > 0) slots.push_back(static_cast<int>(i));
  }
  return slots;
}

// The signed angle (radians) from a heading's direction to a velocity.
double AngleFromHeading(double heading, double vx, double vy) {
  const double a = HeadingRadians(heading);
  return std::atan2(std::cos(a) * vy - std::sin(a) * vx, std::cos(a) * vx + std::sin(a) * vy);
}

// --- Turning -----------------------------------------------------------------------------------

struct TurnCase {
  const char* name;
  double heading, turnRate;
  bool right, left;
  double turningDamage;
  double expected;
};

void PrintTo(const TurnCase& c, std::ostream* os) { *os << c.name; }

class TurnTest : public ::testing::TestWithParam<TurnCase> {};

TEST_P(TurnTest, HeadingAfterOneFrame) {
  const TurnCase& c = GetParam();
  auto w = Window();
  ShipState& s = w->ship[0];
  s.heading = c.heading;
  s.turnRate = c.turnRate;
  s.turnRightHeld = c.right;
  s.turnLeftHeld = c.left;
  s.systems[4] = c.turningDamage;
  Ohjailu(*w);
  EXPECT_NEAR(s.heading, c.expected, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Turning, TurnTest,
    ::testing::Values(TurnCase{"Right", 3, 1.5, true, false, 0, 4.5},
                      TurnCase{"Left", 3, 1.5, false, true, 0, 1.5},
                      TurnCase{"BothCancel", 7, 2, true, true, 0, 7},
                      TurnCase{"Neither", 7, 2, false, false, 0, 7},
                      TurnCase{"PastTheTopBecomesZero", 30.4, 1, true, false, 0, 0},
                      TurnCase{"ExactlyThirtyOneStays", 30, 1, true, false, 0, 31},
                      TurnCase{"BelowZeroBecomesThirtyOne", 0.9, 1, false, true, 0, 31},
                      TurnCase{"ZeroStays", 1, 1, false, true, 0, 0},
                      TurnCase{"DamagedTurnsATenth", 4, 2, true, false, 30, 4.2},
                      TurnCase{"DamagedLeftTurnsATenth", 4, 2, false, true, 0.05, 3.8},
                      TurnCase{"RepairedTurnsFully", 4, 2, true, false, -0.05, 6}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Thrust, speed limit, position -------------------------------------------------------------

struct ThrustCase {
  const char* name;
  double heading, mass, engineDamage;
  bool thrust;
  double vx0, vy0, maxSpeed, zoom;
  double vx, vy;  // after the frame
};

void PrintTo(const ThrustCase& c, std::ostream* os) { *os << c.name; }

class ThrustTest : public ::testing::TestWithParam<ThrustCase> {};

TEST_P(ThrustTest, VelocityAndPositionAfterOneFrame) {
  const ThrustCase& c = GetParam();
  auto w = Window();
  ShipState& s = w->ship[0];
  s.heading = c.heading;
  s.mass = c.mass;
  s.systems[0] = c.engineDamage;
  s.thrustHeld = c.thrust;
  s.vx = c.vx0;
  s.vy = c.vy0;
  s.maxSpeed = c.maxSpeed;
  w->zoom = c.zoom;
  Ohjailu(*w);
  // Headings are turned into angles with pi taken as 3.14: a few thousandths off the exact axis.
  EXPECT_NEAR(s.vx, c.vx, 5e-3);
  EXPECT_NEAR(s.vy, c.vy, 5e-3);
  // The step is scaled by the zoom: full at 50, half at 25.
  EXPECT_NEAR(s.x, 100 + s.vx * c.zoom / 50, 1e-9);
  EXPECT_NEAR(s.y, 240 + s.vy * c.zoom / 50, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Thrust, ThrustTest,
    ::testing::Values(ThrustCase{"Up", 0, 2, 0, true, 0, 0, 5, 50, 0, -0.5},
                      ThrustCase{"Right", 8, 4, 0, true, 0, 0, 5, 50, 0.25, 0},
                      ThrustCase{"Down", 16, 1, 0, true, 1, 2, 5, 50, 1, 3},
                      ThrustCase{"DamagedEngineATenth", 0, 2, 30, true, 0, 0, 5, 50, 0, -0.05},
                      ThrustCase{"ClampedOnItsAxis", 8, 1, 0, true, 4.5, 0, 5, 50, 5, 0},
                      ThrustCase{"ClampedNegative", 0, 1, 0, true, 0, -4.8, 5, 50, 0, -5},
                      ThrustCase{"OtherAxisClampedToo", 0, 1, 0, true, -8, 0, 5, 50, -5, -1},
                      ThrustCase{"CoastingAboveMaxKeepsSpeed", 0, 1, 0, false, 8, -7, 5, 50, 8, -7},
                      ThrustCase{"HalfStepAtZoom25", 0, 1, 0, false, 4, 2, 5, 25, 4, 2}),
    [](const auto& info) { return std::string(info.param.name); });

struct TrailCase {
  const char* name;
  bool trails;
  double engineDamage;
  std::vector<double> randoms;  // dot life and spread (trails on), then (damaged engine) flicker
                                // (only with a dot) and smoke draws
  int dotLife;                  // life of trail slot 1 afterwards
  bool smoke;
  size_t drawn;                 // random numbers taken: later numbers of the battle depend on it
};

void PrintTo(const TrailCase& c, std::ostream* os) { *os << c.name; }

class TrailTest : public ::testing::TestWithParam<TrailCase> {};

TEST_P(TrailTest, DotBehindTheShipAndTheDamagedEngine) {
  const TrailCase& c = GetParam();
  auto w = Window();
  w->options.engineTrails = c.trails;
  ShipState& s = w->ship[0];
  s.thrustHeld = true;
  s.systems[0] = c.engineDamage;
  w->random.scripted.assign(c.randoms.begin(), c.randoms.end());
  w->random.scripted.push_back(0.123);  // the first number the rest of the battle gets
  Ohjailu(*w);
  EXPECT_EQ(w->trail.life[1], c.dotLife);
  EXPECT_EQ(w->smoke.life[1] > 0, c.smoke);
  EXPECT_EQ(c.randoms.size() + 1 - w->random.scripted.size(), c.drawn);
  // The emission point lies behind the ship (facing up: below it), 65 * radius/100 * zoom/100 away.
  const double ex = c.smoke ? w->smoke.x[1] : w->trail.x[1];
  const double ey = c.smoke ? w->smoke.y[1] : w->trail.y[1];
  if (c.dotLife > 0 || c.smoke) {
    EXPECT_NEAR(std::hypot(ex - 100, ey - 240), 16.25, 1e-9);
    EXPECT_GT(ey, 240);
    EXPECT_GT(ex, 100);  // the spread takes it off the rear axis, to one side
  }
  if (c.dotLife > 0) {
    EXPECT_GT(w->trail.vy[1], 0);  // flying backwards
    EXPECT_NEAR(std::hypot(w->trail.vx[1], w->trail.vy[1]), 3, 0.05);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Thrust, TrailTest,
    ::testing::Values(TrailCase{"Dot", true, 0, {0.5, 0.5}, 13, false, 2},
                      TrailCase{"LongestDot", true, 0, {0.999, 0.0}, 24, false, 2},
                      TrailCase{"TrailsOffDrawNothing", false, 0, {}, 0, false, 0},
                      TrailCase{"DamagedFlickersAndSmokes", true, 30, {0.5, 0.5, 0.29, 0.29}, 0, true, 4},
                      TrailCase{"DamagedNeitherThisFrame", true, 30, {0.5, 0.5, 0.3, 0.3}, 13, false, 4},
                      TrailCase{"DamagedSmokesWithoutTrails", false, 30, {0.1}, 0, true, 1},
                      TrailCase{"DamagedNoSmokeWithoutTrails", false, 30, {0.3}, 0, false, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ShipControlTest, FullTrailReusesSlotZero) {
  auto w = Window();
  for (int i = 1; i <= 100; ++i) w->trail.life[i] = 5;
  w->ship[0].thrustHeld = true;
  Ohjailu(*w);
  EXPECT_GT(w->trail.life[0], 0);
}

TEST(ShipControlTest, LaserChargeCountsUpToTheReloadAndStays) {
  auto w = Window();
  ShipState& s = w->ship[0];
  s.laserCooldown = 0;
  s.laserReload = 3;
  std::vector<double> seen;
  for (int i = 0; i < 5; ++i) {
    Ohjailu(*w);
    seen.push_back(s.laserCooldown);
  }
  EXPECT_EQ(seen, (std::vector<double>{1, 2, 3, 3, 3}));
}

TEST(ShipControlTest, DestroyedShipIsSkipped) {
  auto w = Window();
  ShipState& s = w->ship[1];
  s.alive = false;
  s.vx = 3;
  s.laserCooldown = 0;
  s.turnRightHeld = s.thrustHeld = s.fireHeld = true;
  Ohjailu(*w);
  EXPECT_EQ(s.x, 700);
  EXPECT_EQ(s.heading, 0);
  EXPECT_EQ(s.laserCooldown, 0);
  EXPECT_TRUE(Live(w->trail.life).empty());
}

// --- Lasers ------------------------------------------------------------------------------------

struct LaserShot {
  double side;   // barrel offset: x for a ship facing up
  double ahead;  // pixels ahead of the firing point (one step for the shot moved ahead)
};

struct LaserCase {
  const char* name;
  int pattern;
  double energy;
  double nextBarrel;
  std::vector<double> randoms;
  std::vector<LaserShot> shots;  // in slot order
  double energyAfter;
  double fired;
  double cooldownAfter;
};

void PrintTo(const LaserCase& c, std::ostream* os) { *os << c.name; }

class LaserTest : public ::testing::TestWithParam<LaserCase> {};

TEST_P(LaserTest, PatternShotsEnergyAndCount) {
  const LaserCase& c = GetParam();
  auto w = Window();
  ShipState& s = w->ship[0];
  s.laserPattern = c.pattern;
  s.energy = c.energy;
  s.nextBarrel = c.nextBarrel;
  s.laserKind = 1;
  s.fireHeld = true;
  w->random.scripted.assign(c.randoms.begin(), c.randoms.end());
  Ohjailu(*w);

  const std::vector<int> live = Live(w->shots.life);
  ASSERT_EQ(live.size(), c.shots.size());
  for (size_t k = 0; k < live.size(); ++k) {
    const int i = live[k];
    EXPECT_EQ(i, static_cast<int>(k) + 1);
    EXPECT_EQ(w->shots.life[i], 80);
    EXPECT_EQ(w->shots.kind[i], 1);
    EXPECT_NEAR(w->shots.vx[i], 0, 0.1);
    EXPECT_NEAR(w->shots.vy[i], -25, 1e-3);
    // Fired from 12.5 pixels behind the centre (25 * radius/100), offset sideways by the barrel.
    EXPECT_NEAR(w->shots.x[i], 100 + c.shots[k].side, 0.1) << k;
    EXPECT_NEAR(w->shots.y[i], 252.5 - c.shots[k].ahead, 0.1) << k;
  }
  EXPECT_DOUBLE_EQ(s.energy, c.energyAfter);
  EXPECT_EQ(w->shotsFired[0], c.fired);
  EXPECT_EQ(s.laserCooldown, c.cooldownAfter);
  EXPECT_EQ(Count(w->audio.played, "Laser1.wav"), c.shots.empty() ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    Lasers, LaserTest,
    ::testing::Values(
        LaserCase{"Single", 1, 100, 1, {}, {{0, 0}}, 90, 1, 0},
        LaserCase{"SingleLastEnergy", 1, 10, 1, {}, {{0, 0}}, 0, 1, 0},
        LaserCase{"NotEnoughEnergy", 1, 9.99, 1, {}, {}, 9.99, 0, 5},
        LaserCase{"AlternatingFromStart", 2, 100, 1, {}, {{20, 0}}, 90, 1, 0},
        LaserCase{"AlternatingBack", 2, 100, 20, {}, {{-20, 0}}, 90, 1, 0},
        LaserCase{"PairFirstStepAhead", 3, 100, 1, {}, {{10, 25}, {-10, 0}}, 80, 2, 0},
        LaserCase{"PairWithEnergyForOne", 3, 15, 1, {}, {}, 5, 1, 5},
        LaserCase{"PairWithEnergyForTwo", 3, 20, 1, {}, {{10, 25}, {-10, 0}}, 0, 2, 0},
        LaserCase{"ThreeBarrelsStart", 4, 100, 1, {}, {{-25, 0}}, 90, 1, 0},
        LaserCase{"ThreeBarrelsMiddle", 4, 100, -25, {}, {{0, 0}}, 90, 1, 0},
        LaserCase{"ThreeBarrelsRight", 4, 100, 0, {}, {{25, 0}}, 90, 1, 0},
        // Extra shots: offset r*10 - 5, one step ahead plus r*3 on each axis (0.5 -> 0 and 1.5).
        LaserCase{"BurstFull",
                  5,
                  100,
                  1,
                  std::vector<double>(12, 0.5),
                  {{1.5, 23.5}, {1.5, 23.5}, {1.5, 23.5}, {1.5, 23.5}, {1, 0}},
                  50,
                  5,
                  0},
        LaserCase{"BurstShortOfEnergy", 5, 35, 1, {0.0, 0.0, 0.0, 1 - 1e-12, 0.0, 0.0},
                  {{-5, 25}, {5, 25}, {1, 0}}, 5, 3, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LaserSequenceTest, BarrelsCycleShotAfterShot) {
  struct Cycle {
    int pattern;
    std::vector<double> sides;
  };
  const Cycle cycles[] = {{2, {20, -20, 20, -20}}, {4, {-25, 0, 25, -25}}, {1, {0, 0, 0}}};
  for (const Cycle& c : cycles) {
    auto w = Window();
    ShipState& s = w->ship[0];
    s.laserPattern = c.pattern;
    s.fireHeld = true;
    std::vector<double> sides;
    for (size_t k = 0; k < c.sides.size(); ++k) {
      s.laserCooldown = s.laserReload;
      Ohjailu(*w);
      const int slot = static_cast<int>(k) + 1;
      sides.push_back(std::round(w->shots.x[slot] - 100));
    }
    EXPECT_EQ(sides, c.sides) << "pattern " << c.pattern;
  }
}

TEST(LaserSequenceTest, HeldFireShootsOncePerReload) {
  auto w = Window();
  ShipState& s = w->ship[0];
  s.laserReload = 3;
  s.laserCooldown = 0;
  s.fireHeld = true;
  std::vector<double> fired;
  for (int i = 0; i < 7; ++i) {
    Ohjailu(*w);
    fired.push_back(w->shotsFired[0]);
  }
  EXPECT_EQ(fired, (std::vector<double>{0, 0, 1, 1, 1, 2, 2}));
}

TEST(LaserSequenceTest, PlayerTwoUsesItsOwnSound) {
  auto w = Window();
  w->ship[1].fireHeld = true;
  Ohjailu(*w);
  EXPECT_EQ(w->audio.played, (std::vector<std::string>{"Laser2.wav"}));
  EXPECT_EQ(w->shotsFired[1], 1);
  EXPECT_EQ(w->shotsFired[0], 0);
}

TEST(LaserSequenceTest, FullShotPoolDropsTheShot) {
  auto w = Window();
  for (int i = 1; i <= 100; ++i) w->shots.life[i] = 40;
  w->ship[0].fireHeld = true;
  Ohjailu(*w);
  EXPECT_EQ(w->shots.life[0], 0);
  EXPECT_EQ(w->ship[0].energy, 90);
}

struct AimCase {
  const char* name;
  bool targeting;
  double targetingDamage;
  double ox, oy;          // opponent
  double dirX, dirY;      // expected direction of flight
};

void PrintTo(const AimCase& c, std::ostream* os) { *os << c.name; }

class TargetingTest : public ::testing::TestWithParam<AimCase> {};

TEST_P(TargetingTest, ShotFliesAtTheOpponentOrAlongTheHeading) {
  const AimCase& c = GetParam();
  auto w = Window();
  ShipState& s = w->ship[0];
  s.hasTargeting = c.targeting;
  s.systems[8] = c.targetingDamage;
  s.fireHeld = true;
  w->ship[1].x = c.ox;
  w->ship[1].y = c.oy;
  Ohjailu(*w);
  const double len = std::hypot(c.dirX, c.dirY);
  EXPECT_NEAR(w->shots.vx[1], 25 * c.dirX / len, 0.1);
  EXPECT_NEAR(w->shots.vy[1], 25 * c.dirY / len, 0.1);
  EXPECT_TRUE(std::isfinite(w->shots.x[1]) && std::isfinite(w->shots.y[1]));
}

INSTANTIATE_TEST_SUITE_P(
    Lasers, TargetingTest,
    ::testing::Values(AimCase{"LowerRight", true, 0, 400, 540, 1, 1},
                      AimCase{"UpperLeft", true, 0, 40, 120, -1, -2},
                      AimCase{"Right", true, 0, 700, 240, 1, 0},
                      AimCase{"StraightBelow", true, 0, 100, 500, 0, 1},
                      AimCase{"StraightAbove", true, 0, 100, 20, 0, -1},
                      AimCase{"SamePlace", true, 0, 100, 240, 0, 1},
                      AimCase{"SystemDamaged", true, 12, 400, 540, 0, -1},
                      AimCase{"NotFitted", false, 0, 400, 540, 0, -1}),
    [](const auto& info) { return std::string(info.param.name); });

// The targeting system lays the barrels out from the angle to the opponent within a quarter turn,
// as it stands; only the signs of the velocity turn toward the opponent. So the start positions of
// an opponent on the left equal those of one on the right.
struct TargetedShot {
  double x, y, vx, vy;
};
struct TargetedCase {
  const char* name;
  int pattern;
  double nextBarrel;
  double ox, oy;
  std::vector<TargetedShot> shots;  // slot order
};
void PrintTo(const TargetedCase& c, std::ostream* os) { *os << c.name; }

class TargetedStartTest : public ::testing::TestWithParam<TargetedCase> {};

TEST_P(TargetedStartTest, BarrelsFromTheUnturnedAngle) {
  const TargetedCase& c = GetParam();
  auto w = Window();
  ShipState& s = w->ship[0];
  s.hasTargeting = true;
  s.laserPattern = c.pattern;
  s.nextBarrel = c.nextBarrel;
  s.energy = 100;
  s.fireHeld = true;
  w->ship[1].x = c.ox;
  w->ship[1].y = c.oy;
  Ohjailu(*w);
  const std::vector<int> live = Live(w->shots.life);
  ASSERT_EQ(live.size(), c.shots.size());
  for (size_t k = 0; k < live.size(); ++k) {
    const int i = live[k];
    EXPECT_NEAR(w->shots.x[i], c.shots[k].x, 0.01) << k;
    EXPECT_NEAR(w->shots.y[i], c.shots[k].y, 0.01) << k;
    EXPECT_NEAR(w->shots.vx[i], c.shots[k].vx, 0.01) << k;
    EXPECT_NEAR(w->shots.vy[i], c.shots[k].vy, 0.01) << k;
  }
}

// Ship 1 at (100, 240), radius 50, zoom 50: 12.5 pixels back along the angle, b pixels beside it.
INSTANTIATE_TEST_SUITE_P(
    Lasers, TargetedStartTest,
    ::testing::Values(
        TargetedCase{"RightSingle", 1, 0, 700, 240, {{87.5, 240, 25, 0}}},
        TargetedCase{"LeftSingle", 1, 0, -500, 240, {{87.5, 240, -25, 0}}},
        TargetedCase{"AboveSingle", 1, 0, 100, 40, {{99.99, 227.5, 0.02, -25}}},
        TargetedCase{"BelowSingle", 1, 0, 100, 500, {{99.99, 227.5, 0.02, 25}}},
        TargetedCase{"UpperLeftSingle", 1, 0, 40, 120, {{94.41, 228.82, -11.18, -22.36}}},
        TargetedCase{"RightAlternating", 2, 0, 700, 240, {{87.52, 260, 25, 0}}},
        TargetedCase{"LeftAlternating", 2, 0, -500, 240, {{87.52, 260, -25, 0}}},
        TargetedCase{"LowerRightAlternatingBack", 2, 20, 400, 540, {{105.29, 217.01, 17.68, 17.68}}},
        TargetedCase{"UpperLeftThreeBarrels", 4, 0, 40, 120, {{72.06, 240.02, -11.18, -22.36}}},
        // The first of the pair is moved one step along its (turned) flight at once.
        TargetedCase{"LeftPair", 3, 0, -500, 240, {{62.51, 250, -25, 0}, {87.49, 230, -25, 0}}}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Ion cannon --------------------------------------------------------------------------------

struct IonCase {
  const char* name;
  double reload, cooldown, energy;
  bool fires;
};

void PrintTo(const IonCase& c, std::ostream* os) { *os << c.name; }

class IonTest : public ::testing::TestWithParam<IonCase> {};

TEST_P(IonTest, ReadyAtHalfTheReloadForTwiceTheEnergy) {
  const IonCase& c = GetParam();
  auto w = Window();
  ShipState& s = w->ship[0];
  s.weapon = 1;
  s.hasTargeting = true;  // never aims the ion cannon
  s.laserReload = c.reload;
  s.laserCooldown = c.cooldown;
  s.energy = c.energy;
  s.fireHeld = true;
  Ohjailu(*w);
  const double charged = std::min(c.cooldown + 1, c.reload);
  if (!c.fires) {
    EXPECT_TRUE(Live(w->shots.life).empty());
    EXPECT_EQ(s.energy, c.energy);
    EXPECT_EQ(s.laserCooldown, charged);
    EXPECT_TRUE(w->audio.played.empty());
    return;
  }
  EXPECT_EQ(Live(w->shots.life), (std::vector<int>{1}));
  EXPECT_EQ(w->shots.kind[1], 2);
  EXPECT_EQ(w->shots.life[1], 80);
  EXPECT_NEAR(w->shots.vx[1], 0, 0.05);
  EXPECT_NEAR(w->shots.vy[1], -15, 1e-3);
  EXPECT_NEAR(w->shots.x[1], 100.5, 0.05);  // radius/100 * zoom/50 to the side
  EXPECT_NEAR(w->shots.y[1], 227, 0.05);    // 26 * radius/100 ahead
  EXPECT_DOUBLE_EQ(s.energy, c.energy - 20);
  EXPECT_EQ(s.laserCooldown, 0);
  EXPECT_EQ(w->shotsFired[0], 1);
  EXPECT_EQ(w->audio.played, (std::vector<std::string>{"Ion.wav"}));
}

INSTANTIATE_TEST_SUITE_P(IonCannon, IonTest,
                         ::testing::Values(IonCase{"HalfReload", 10, 4, 100, true},
                                           IonCase{"BelowHalfReload", 10, 3, 100, false},
                                           IonCase{"OddReloadHalf", 9, 3.5, 100, true},
                                           IonCase{"ExactlyDoubleCost", 10, 10, 20, true},
                                           IonCase{"JustBelowDoubleCost", 10, 10, 19.99, false},
                                           IonCase{"EnoughForALaserOnly", 10, 10, 15, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Missiles and torpedoes --------------------------------------------------------------------

struct LaunchCase {
  const char* name;
  int player;
  bool torpedoes, twin;
  double left, cooldown, launcherDamage;
  std::vector<double> angles;  // degrees from the heading, in slot order; empty: nothing launched
  double leftAfter;
};

void PrintTo(const LaunchCase& c, std::ostream* os) { *os << c.name; }

class LaunchTest : public ::testing::TestWithParam<LaunchCase> {};

TEST_P(LaunchTest, LaunchedIntoTheMissilePool) {
  const LaunchCase& c = GetParam();
  auto w = Window();
  ShipState& s = w->ship[static_cast<size_t>(c.player)];
  s.weapon = c.torpedoes ? 3 : 2;
  s.twinLauncher = c.twin;
  (c.torpedoes ? s.torpedoes : s.missiles) = c.left;
  s.launcherReload = 55;
  s.missileCooldown = c.cooldown;
  s.systems[5] = c.launcherDamage;
  s.heading = 6;
  s.fireHeld = true;
  Ohjailu(*w);

  const std::vector<int> live = Live(w->missilesPool.life);
  ASSERT_EQ(live.size(), c.angles.size());
  const double speed = c.torpedoes ? 7 : 9;
  const double kind = c.torpedoes ? c.player + 1 : 0;
  for (size_t k = 0; k < live.size(); ++k) {
    const int i = live[k];
    EXPECT_EQ(i, static_cast<int>(k) + 1);
    EXPECT_EQ(w->missilesPool.life[i], 200);
    EXPECT_EQ(w->missilesPool.kind[i], kind);
    EXPECT_NEAR(std::hypot(w->missilesPool.vx[i], w->missilesPool.vy[i]), speed, 1e-9);
    EXPECT_NEAR(AngleFromHeading(s.heading, w->missilesPool.vx[i], w->missilesPool.vy[i]), c.angles[k] * kDeg, 1e-9);
    // Launched from beside the centre: radius/100 * zoom/50 to the side.
    EXPECT_NEAR(std::hypot(w->missilesPool.x[i] - s.x, w->missilesPool.y[i] - s.y), 0.5, 1e-9);
  }
  EXPECT_EQ(c.torpedoes ? s.torpedoes : s.missiles, c.leftAfter);
  EXPECT_EQ(w->shotsFired[static_cast<size_t>(c.player)], static_cast<double>(c.angles.size()));
  EXPECT_EQ(s.missileCooldown, c.angles.empty() ? c.cooldown : 0);
  EXPECT_EQ(Count(w->audio.played, "Launch.wav"), c.angles.empty() ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    Launcher, LaunchTest,
    ::testing::Values(LaunchCase{"Missile", 0, false, false, 5, 55, 0, {0}, 4},
                      LaunchCase{"TwinPair", 0, false, true, 5, 60, 0, {-2, 2}, 3},
                      LaunchCase{"TwinWithOneLeft", 0, false, true, 1, 55, 0, {-2}, 0},
                      LaunchCase{"NoneLeft", 0, false, false, 0, 55, 0, {}, 0},
                      LaunchCase{"Reloading", 0, false, false, 5, 54, 0, {}, 5},
                      LaunchCase{"LauncherDamaged", 0, false, true, 5, 55, 20, {}, 5},
                      LaunchCase{"TorpedoOfPlayerOne", 0, true, false, 3, 55, 0, {0}, 2},
                      LaunchCase{"TorpedoOfPlayerTwo", 1, true, false, 3, 55, 0, {0}, 2},
                      LaunchCase{"TwinTorpedoes", 1, true, true, 3, 55, 0, {-5, 5}, 1},
                      LaunchCase{"TwinTorpedoWithOneLeft", 0, true, true, 1, 55, 0, {-5}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Electrogun --------------------------------------------------------------------------------

struct ElectroCase {
  const char* name;
  int player;
  double distance, energy;
  bool opponentAlive;
  int busyArcs;
  bool fires;
  int arcSlot;  // slot marked, 0 for none
};

void PrintTo(const ElectroCase& c, std::ostream* os) { *os << c.name; }

class ElectroTest : public ::testing::TestWithParam<ElectroCase> {};

TEST_P(ElectroTest, ArcWithinRange) {
  const ElectroCase& c = GetParam();
  auto w = Window();
  ShipState& s = w->ship[static_cast<size_t>(c.player)];
  ShipState& o = w->ship[static_cast<size_t>(1 - c.player)];
  s.x = 300;
  s.y = 300;
  o.x = 300 + c.distance * 0.6;
  o.y = 300 - c.distance * 0.8;
  o.alive = c.opponentAlive;
  s.weapon = 4;
  s.energy = c.energy;
  s.fireHeld = true;
  for (int i = 1; i <= c.busyArcs; ++i) w->electroArcs[static_cast<size_t>(i)] = 2 - c.player;
  Ohjailu(*w);
  EXPECT_DOUBLE_EQ(s.energy, c.fires ? c.energy - 5 : c.energy);
  EXPECT_EQ(Count(w->audio.played, "Hit3.wav"), c.fires ? 1 : 0);
  EXPECT_EQ(w->electroArcs[0], 0);
  for (int i = 1; i <= 5; ++i) {
    const int expected = i == c.arcSlot ? c.player + 1 : (i <= c.busyArcs ? 2 - c.player : 0);
    EXPECT_EQ(w->electroArcs[static_cast<size_t>(i)], expected) << i;
  }
  EXPECT_EQ(w->shotsFired[static_cast<size_t>(c.player)], 0);
}

INSTANTIATE_TEST_SUITE_P(ElectroGun, ElectroTest,
                         ::testing::Values(ElectroCase{"InRange", 0, 149.9, 50, true, 0, true, 1},
                                           ElectroCase{"AtRange", 0, 150, 50, true, 0, false, 0},
                                           ElectroCase{"BeyondRange", 0, 151, 50, true, 0, false, 0},
                                           ElectroCase{"OpponentDestroyed", 0, 50, 50, false, 0, false, 0},
                                           ElectroCase{"JustEnoughEnergy", 0, 50, 5, true, 0, true, 1},
                                           ElectroCase{"TooLittleEnergy", 0, 50, 4.99, true, 0, false, 0},
                                           ElectroCase{"PlayerTwoNextFreeSlot", 1, 80, 50, true, 2, true, 3},
                                           ElectroCase{"AllSlotsBusy", 0, 80, 50, true, 5, true, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Chaingun ----------------------------------------------------------------------------------

struct ChainCase {
  const char* name;
  double ammo, damage;
  std::vector<double> randoms;  // life, angle
  bool fires;
  int life;
  double angle;  // radians from the heading
};

void PrintTo(const ChainCase& c, std::ostream* os) { *os << c.name; }

class ChaingunTest : public ::testing::TestWithParam<ChainCase> {};

TEST_P(ChaingunTest, BulletFromTheCentre) {
  const ChainCase& c = GetParam();
  auto w = Window();
  ShipState& s = w->ship[0];
  s.weapon = 5;
  s.chaingunAmmo = c.ammo;
  s.systems[7] = c.damage;
  s.fireHeld = true;
  s.heading = 4;
  w->bullets.life[1] = -2;  // a ricochet still showing keeps its slot
  w->random.scripted.assign(c.randoms.begin(), c.randoms.end());
  Ohjailu(*w);
  EXPECT_NEAR(s.chaingunAmmo, c.fires ? c.ammo - 0.1 : c.ammo, 1e-12);
  EXPECT_EQ(w->bullets.life[1], -2);
  if (!c.fires) {
    EXPECT_EQ(w->bullets.life[2], 0);
    EXPECT_TRUE(w->audio.played.empty());
    return;
  }
  EXPECT_EQ(w->bullets.life[2], c.life);
  EXPECT_EQ(w->bullets.x[2], 100);
  EXPECT_EQ(w->bullets.y[2], 240);
  EXPECT_NEAR(w->bullets.angle[2] - HeadingRadians(4), c.angle, 1e-12);
  EXPECT_EQ(w->shotsFired[0], 1);
  EXPECT_EQ(w->audio.played, (std::vector<std::string>{"chain.wav"}));
}

INSTANTIATE_TEST_SUITE_P(Chaingun, ChaingunTest,
                         ::testing::Values(ChainCase{"Fires", 5, 0, {0.0, 0.5}, true, 50, 0},
                                           ChainCase{"LastRoundGoesBelowZero", 0.05, 0, {0.999, 0.0}, true, 60, -0.1},
                                           ChainCase{"HalfRoundsToEvenDown", 5, 0, {0.25, 0.75}, true, 52, 0.05},
                                           ChainCase{"HalfRoundsToEvenUp", 5, 0, {0.75, 0.25}, true, 58, -0.05},
                                           ChainCase{"Empty", 0, 0, {}, false, 0, 0},
                                           ChainCase{"Damaged", 5, 3, {}, false, 0, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ChaingunHeldTest, TenFramesUseOneUnit) {
  auto w = Window();
  ShipState& s = w->ship[0];
  s.weapon = 5;
  s.chaingunAmmo = 3;
  s.fireHeld = true;
  for (int i = 0; i < 10; ++i) Ohjailu(*w);
  EXPECT_NEAR(s.chaingunAmmo, 2, 1e-9);
  EXPECT_EQ(Live(w->bullets.life).size(), 10u);
  EXPECT_EQ(w->shotsFired[0], 10);
}

TEST(WeaponTest, NothingFiresWithoutTheFireControl) {
  for (int weapon = 0; weapon <= 5; ++weapon) {
    auto w = Window();
    ShipState& s = w->ship[0];
    s.weapon = weapon;
    s.missiles = s.torpedoes = 5;
    s.chaingunAmmo = 5;
    s.missileCooldown = 100;
    w->ship[1].x = 150;
    Ohjailu(*w);
    EXPECT_EQ(w->shotsFired[0], 0) << weapon;
    EXPECT_EQ(s.energy, 100) << weapon;
    EXPECT_TRUE(w->audio.played.empty()) << weapon;
  }
}

}  // namespace
}  // namespace quorvex
