// The state hash sees what decides a battle and nothing else; the snapshot gives a battle back
// exactly, texts and odd numbers included.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "game/replay/CommandLine.h"
#include "game/replay/StateHash.h"

namespace quorvex {
namespace {

struct Change {
  const char* name;
  std::function<void(GameWindow&)> apply;
  bool decides;
};
void PrintTo(const Change& c, std::ostream* os) { *os << c.name; }

class StateHashChange : public ::testing::TestWithParam<Change> {};

TEST_P(StateHashChange, ChangesTheHashOnlyWhenItDecides) {
  auto before = std::make_unique<GameWindow>();
  auto after = std::make_unique<GameWindow>();
  GetParam().apply(*after);
  EXPECT_EQ(StateHash(*before) != StateHash(*after), GetParam().decides);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, StateHashChange,
    ::testing::Values(
        Change{"ShipPosition", [](GameWindow& w) { w.ship[1].x = 1e-9; }, true},
        Change{"CriticalDamage", [](GameWindow& w) { w.ship[0].systems[8] = 1; }, true},
        Change{"LastPoolSlot", [](GameWindow& w) { w.sparks.speed[501] = 2; }, true},
        Change{"DebrisLife", [](GameWindow& w) { w.debris.life[101] = -1; }, true},
        Change{"ExplosionCell", [](GameWindow& w) { w.explosions.cell[3].right = 1; }, true},
        Change{"Armada", [](GameWindow& w) { w.fleet[1][30] = 4; }, true},
        Change{"ShipName", [](GameWindow& w) { w.shipNames[255] = "x"; }, true},
        Change{"Random", [](GameWindow& w) { w.random.Next(); }, true},
        Change{"Gravity", [](GameWindow& w) { w.options.gravityOn = true; }, true},
        Change{"HeldKey", [](GameWindow& w) { w.ship[1].fireHeld = true; }, true},
        Change{"Stars", [](GameWindow& w) { w.stars.x[5] = 3; }, false},
        Change{"Sound", [](GameWindow& w) { w.options.soundOn = false; w.options.soundVolume = -300; }, false},
        Change{"Music", [](GameWindow& w) { w.currentSong = 3; w.musicRandom.Next(); }, false},
        Change{"Pacing", [](GameWindow& w) { w.lastFrameTick = 99; w.noFrameLimit = true; w.framesRun = 7; }, false},
        Change{"AimMarkers", [](GameWindow& w) { w.aimMarkers = true; }, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Snapshot, GivesTheBattleBackExactly) {
  auto w = std::make_unique<GameWindow>();
  w->ship[0].x = -0.0;
  w->ship[0].vy = 0.1 + 0.2;
  w->ship[1].heading = std::numeric_limits<double>::denorm_min();
  w->ship[1].critNames[2] = "shield 50% * down";
  w->shipNames[7] = "";
  w->shipNames[8] = std::string("tab\there\r\n\xff", 12);
  w->debris.life[4] = -32768;
  w->stars.depth[3] = 2.5f;  // not part of a battle's start
  w->inputDevice = {2, 255};
  w->fleet[0].fill(3);
  w->random.Seed(0xFFFFFFFFFFFFFFFFULL);

  const std::vector<std::string> lines = SnapshotLines(*w);
  SnapshotFields fields;
  for (const std::string& line : lines) {
    std::string name, values;
    ASSERT_TRUE(SplitSnapshotLine(line, &name, &values)) << line;
    fields[name] = values;
  }
  auto back = std::make_unique<GameWindow>();
  std::string error;
  ASSERT_TRUE(ApplySnapshot(fields, *back, &error)) << error;
  EXPECT_EQ(StateHash(*w), StateHash(*back));
  EXPECT_EQ(SnapshotLines(*back), lines);
  EXPECT_TRUE(std::signbit(back->ship[0].x));
  EXPECT_EQ(back->shipNames[8], w->shipNames[8]);
  EXPECT_EQ(back->ship[1].critNames[2], "shield 50% * down");
  EXPECT_EQ(fields["fleet1"], "3*101") << "runs of equal values are written once";
}

TEST(CommandLine, ReadsTheReplayAndNetworkOptions) {
  struct Case {
    std::vector<std::string> args;
    CommandLine::Mode mode;
    const char* file;
    const char* error;
    const char* address = "";
    uint16_t port = kDefaultNetPort;
  };
  for (const Case& c : std::vector<Case>{
           {{}, CommandLine::Play, "", ""},
           {{"--replay", "b.qvr"}, CommandLine::Replay, "/start/b.qvr", ""},
           {{"--timedemo", "/x/b.qvr"}, CommandLine::Timedemo, "/x/b.qvr", ""},
           {{"--timedemo"}, CommandLine::Play, "", "--timedemo needs a replay file"},
           {{"--replay", "a", "--timedemo", "b"}, CommandLine::Replay, "/start/a",
            "only one of --replay, --timedemo, --host and --join may be given"},
           {{"--host", "27961"}, CommandLine::Host, "", "", "", 27961},
           {{"--host", "0"}, CommandLine::Host, "", "--host needs a port from 1 to 65535, not 0"},
           {{"--host", "65536"}, CommandLine::Host, "", "--host needs a port from 1 to 65535, not 65536"},
           {{"--host", "12x"}, CommandLine::Host, "", "--host needs a port from 1 to 65535, not 12x"},
           {{"--host"}, CommandLine::Play, "", "--host needs a port"},
           {{"--join", "192.168.1.20:5000"}, CommandLine::Join, "", "", "192.168.1.20", 5000},
           {{"--join", "example.org"}, CommandLine::Join, "", "", "example.org", kDefaultNetPort},
           {{"--join", ":5000"}, CommandLine::Join, "", "--join needs ADDRESS:PORT, not :5000"},
           {{"--join", "host:"}, CommandLine::Join, "", "--join needs ADDRESS:PORT, not host:", "host"},
           {{"--host", "5000", "--join", "a:1"}, CommandLine::Host, "",
            "only one of --replay, --timedemo, --host and --join may be given", "", 5000},
           {{"-x"}, CommandLine::Play, "", "unknown option -x"},
           {{"--help"}, CommandLine::Help, "", ""},
           {{"--version"}, CommandLine::Version, "", ""},
           {{"--replay", "a", "--help", "-x"}, CommandLine::Help, "", ""}}) {
    const CommandLine got = ParseCommandLine(c.args, "/start");
    EXPECT_EQ(got.mode, c.mode) << c.error;
    EXPECT_EQ(got.file, c.file) << c.error;
    EXPECT_EQ(got.error, c.error);
    EXPECT_EQ(got.address, c.address) << c.error;
    EXPECT_EQ(got.port, c.port) << c.error;
  }
}

}  // namespace
}  // namespace quorvex
