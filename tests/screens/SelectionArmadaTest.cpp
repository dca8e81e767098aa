// The armada selection screen driven by key events on the stock ships: building armadas with each
// player's keys, leaving with "done" or "cancel", the computer's armada in training, and the picture.
#include <gtest/gtest.h>

#include <cmath>

#include "game/audio/SoundEffects.h"
#include "game/screens/Selection.h"
#include "platform/Keys.h"
#include "platform/Numbers.h"
#include "tests/screens/SelectionTesting.h"
#include "tests/support/SurfaceTesting.h"

namespace quorvex {
namespace {

using namespace selection_testing;

// One key a frame: 'f' fire, 'r' remove, '>' next ship, '<' previous ship.
std::vector<std::vector<int>> PlayerTaps(int player, const std::string& keys) {
  std::vector<std::vector<int>> taps;
  for (char k : keys) {
    const int code = k == 'f' ? FireKey(player) : k == 'r' ? RemoveKey(player) : k == '>' ? NextKey(player)
                                                                                          : PreviousKey(player);
    taps.push_back({code});
  }
  taps.push_back({vk::Return});
  return taps;
}

struct BuildCase {
  const char* name;
  std::vector<int> before;
  std::string keys;
  std::vector<int> after;
};

// The stock list has 12 ships, 0 to 11.
const std::vector<BuildCase> kBuildCases = {
    {"fire appends the ship under the cursor", {0}, ">f", {0, 1}},
    {"a ship may appear several times", {}, "fff>f", {0, 0, 0, 1}},
    {"remove takes the last ship off", {4, 5, 6}, "r", {4, 5}},
    {"remove on an empty armada does nothing", {}, "rrf", {0}},
    {"previous at ship 0 wraps to the last ship, next there wraps to ship 0", {}, "<f>f", {11, 0}},
    {"previous steps back one ship", {}, "<<f>>>f", {10, 1}},
    {"the 32nd ship is refused", {}, std::string(32, 'f'), std::vector<int>(31, 0)},
    {"a full armada takes a ship again after a removal", std::vector<int>(31, 2), "f>rf", [] {
       std::vector<int> v(30, 2);
       v.push_back(1);
       return v;
     }()},
};

TEST(ArmadaSelection, EachPlayerBuildsHisArmadaWithHisKeys) {
  for (int player = 1; player <= 2; ++player) {
    for (const BuildCase& c : kBuildCases) {
      SCOPED_TRACE(std::string(c.name) + ", player " + std::to_string(player));
      ManualClock clock;
      GameWindow w;
      OpenWindow(w, clock);
      SetArmada(w, player, c.before);
      SetArmada(w, 3 - player, {3});
      w.menuPick = {true, true};  // pressed on an earlier screen: forgotten when this one opens
      ASSERT_NO_THROW(RunScreen(w, ArmadaSelection, PlayerTaps(player, c.keys)));
      EXPECT_EQ(c.after, Armada(w, player));
      EXPECT_EQ(std::vector<int>{3}, Armada(w, 3 - player));
      EXPECT_EQ(-1, w.fleet[player - 1][kMaxArmada]);
      EXPECT_FALSE(w.quitBattle);
    }
  }
}

// A key held over several frames moves the cursor one step: the wrap from ship 0 to the last ship
// spends the key as every other step does.
TEST(ArmadaSelection, HeldPreviousKeyWrapsToTheLastShipOnce) {
  for (int held : {1, 3, 6}) {
    SCOPED_TRACE(held);
    ManualClock clock;
    GameWindow w;
    OpenWindow(w, clock);
    SetArmada(w, 1, {});
    std::vector<std::vector<int>> taps(held + 2);
    taps.push_back({FireKey(1)});
    taps.push_back({vk::Return});
    ASSERT_NO_THROW(RunScreen(w, ArmadaSelection, taps, [&](GameWindow& g, int f) {
      if (f == 1) g.events.keys.push_back({true, PreviousKey(1)});
      if (f == 1 + held) g.events.keys.push_back({false, PreviousKey(1)});
    }));
    EXPECT_EQ(std::vector<int>{w.lastShipIndex}, Armada(w, 1));
  }
}

struct LeaveCase {
  const char* name;
  std::vector<int> armada1;
  std::vector<std::vector<int>> taps;
  int frames;  // frames drawn before the screen closes
  bool back;   // quitBattle afterwards
  std::vector<int> armada1After;
};

const std::vector<LeaveCase> kLeaveCases = {
    {"done", {2}, {{vk::Return}}, 2, false, {2}},
    {"cancel keeps the armadas", {2, 3}, {{vk::Down}, {vk::Return}}, 3, true, {2, 3}},
    {"up from done wraps to cancel", {2}, {{vk::Up}, {vk::Return}}, 3, true, {2}},
    {"down from cancel wraps to done", {2}, {{vk::Down}, {vk::Down}, {vk::Return}}, 4, false, {2}},
    {"done with an empty armada is ignored until it has a ship", {}, {{vk::Return}, {}, {}, {'S'}, {vk::Return}}, 6,
     false, {0}},
    {"cancel with an empty armada", {}, {{vk::Down}, {vk::Return}}, 3, true, {}},
};

TEST(ArmadaSelection, LeavesWithDoneOrCancel) {
  for (bool soundOn : {true, false}) {
    for (const LeaveCase& c : kLeaveCases) {
      SCOPED_TRACE(std::string(c.name) + (soundOn ? ", sound on" : ", sound off"));
      ManualClock clock;
      GameWindow w;
      OpenWindow(w, clock);
      w.options.soundOn = soundOn;
      w.sounds[SndSelect] = SoundBuffer{.name = "Select2.wav", .loaded = true};
      SetArmada(w, 1, c.armada1);
      w.quitBattle = !c.back;  // whatever the flag held before, the choice decides it
      w.pauseRequested = w.duelOver = true;
      int frames = 0;
      ASSERT_NO_THROW(frames = RunScreen(w, ArmadaSelection, c.taps));
      EXPECT_EQ(c.frames, frames);
      EXPECT_EQ(c.back, w.quitBattle);
      EXPECT_EQ(c.armada1After, Armada(w, 1));
      EXPECT_FALSE(w.menuActive);
      EXPECT_FALSE(w.menuSelect);
      EXPECT_FALSE(w.pauseRequested || w.duelOver);
      EXPECT_EQ(soundOn ? std::vector<std::string>{"Select2.wav"} : std::vector<std::string>{}, w.audio.played);
    }
  }
}

// In training the computer builds player 2's armada in list order from where it stands: ships go on
// while it is worth less than player 1's, and the last one comes off while it is worth more than
// 100 points above.
struct ComputerCase {
  const char* name;
  std::vector<std::string> armada1;
  std::vector<std::string> armada2Before, armada2After;
};

const std::vector<ComputerCase> kComputerCases = {
    // 145 + 145 + 589 = 879 reaches 821 and stays within 100 above it.
    {"adds until it reaches the player's value", {"leviathan.shp"}, {"arrow.shp"},
     {"arrow.shp", "arrow.shp", "bastion.shp"}},
    {"matches exactly", {"arrow.shp", "arrow.shp"}, {"arrow.shp"}, {"arrow.shp", "arrow.shp"}},
    // 75 against 1323: three ships come off, then the first of the list goes on (145).
    {"drops ships while far above", {"pod.shp"}, {"bastion.shp", "bastion.shp", "arrow.shp"}, {"arrow.shp"}},
    {"keeps an armada within 100 above", {"hornet.shp"}, {"falcon.shp"}, {"falcon.shp"}},
};

TEST(ArmadaSelection, ComputerBuildsPlayerTwosArmadaInTraining) {
  for (const ComputerCase& c : kComputerCases) {
    SCOPED_TRACE(c.name);
    ManualClock clock;
    GameWindow w;
    OpenWindow(w, clock);
    w.trainingMode = true;
    auto indices = [&](const std::vector<std::string>& files) {
      std::vector<int> v;
      for (const std::string& f : files) v.push_back(ShipIndex(w, f));
      return v;
    };
    SetArmada(w, 1, indices(c.armada1));
    SetArmada(w, 2, indices(c.armada2Before));
    // Player 2's own keys do nothing while the computer plays him; "cancel" leaves even when the
    // computer has emptied its armada.
    std::vector<std::vector<int>> taps(10, std::vector<int>{FireKey(2), NextKey(2)});
    taps.push_back({vk::Down});
    taps.push_back({vk::Return});
    ASSERT_NO_THROW(RunScreen(w, ArmadaSelection, taps));
    EXPECT_EQ(indices(c.armada2After), Armada(w, 2));
    EXPECT_EQ(indices(c.armada1), Armada(w, 1));
  }
}

// Frame by frame the computer adds the next ship of the list or drops its last one, by the two values
// of that frame: against a raven (180) it overshoots with most ships of the list before one fits.
TEST(ArmadaSelection, ComputerFollowsTheValuesFrameByFrame) {
  ManualClock clock;
  GameWindow w;
  OpenWindow(w, clock);
  w.trainingMode = true;
  SetArmada(w, 1, {ShipIndex(w, "raven.shp")});
  SetArmada(w, 2, {});
  std::vector<std::vector<int>> seen;
  std::vector<std::vector<int>> taps(40);
  taps.push_back({vk::Return});
  ASSERT_NO_THROW(RunScreen(w, ArmadaSelection, taps, [&](GameWindow& g, int) { seen.push_back(Armada(g, 2)); }));

  const double player = FleetValue(w, 1);
  int nextShip = 0;  // the computer's cursor walks the list one ship per addition
  int adds = 0, drops = 0;
  std::vector<int> before;  // the computer's armada when the screen opened
  for (const std::vector<int>& after : seen) {
    GameWindow values;
    values.shipValues = w.shipValues;
    SetArmada(values, 2, before);
    const double computer = FleetValue(values, 2);
    std::vector<int> expected = before;
    if (computer < player) {
      expected.push_back(nextShip);
      nextShip = nextShip < w.lastShipIndex ? nextShip + 1 : 0;
      ++adds;
    } else if (computer > player + 100 && !expected.empty()) {
      expected.pop_back();
      ++drops;
    }
    ASSERT_EQ(expected, after) << "computer at " << computer << " against " << player;
    before = after;
  }
  EXPECT_GT(adds, 5);
  EXPECT_GT(drops, 5);
}

// The screen as the players see it: the cursor lines with values, the fleet values, both armadas
// (player 2's right-aligned at x = 700) and the two choices.
TEST(ArmadaSelection, ShowsCursorsFleetValuesAndArmadas) {
  ManualClock clock;
  GameWindow w;
  OpenWindow(w, clock);
  SetArmada(w, 1, {ShipIndex(w, "falcon.shp"), ShipIndex(w, "raven.shp")});
  SetArmada(w, 2, {ShipIndex(w, "arrow.shp")});
  const int shown = 4;
  std::vector<std::vector<int>> taps = {{NextKey(1)}, {PreviousKey(2)}, {}, {}, {vk::Return}};
  Surface frame;
  ASSERT_NO_THROW(RunScreen(w, ArmadaSelection, taps, [&](GameWindow& g, int f) {
    if (f == shown) frame = g.back;
  }));
  testing::WritePng(frame, testing::TestOutputDir() / "armada-selection.png");
  GameWindow view;
  view.fontSheet = w.fontSheet;
  view.back = frame;
  auto right = [](const std::string& text) { return 700 - 13 * static_cast<int>(text.size()); };
  EXPECT_TRUE(TextShown(view, 192, 15, "armada selection", false, false));
  EXPECT_TRUE(TextShown(view, 100, 87, "fleet value 486", true, true));
  EXPECT_TRUE(TextShown(view, 100, 100, "bastion cruiser (589)", true, true));
  EXPECT_TRUE(TextShown(view, 100, 120, "falcon gunship", true, true));
  EXPECT_TRUE(TextShown(view, 100, 133, "raven raider", true, true));
  EXPECT_TRUE(TextShown(view, right("fleet value 145"), 87, "fleet value 145", true, true));
  EXPECT_TRUE(TextShown(view, right("warden escort (374)"), 100, "warden escort (374)", true, true));
  EXPECT_TRUE(TextShown(view, right("arrow scout"), 120, "arrow scout", true, true));
  // "done" is chosen and shakes by 3 cos(phase); the phase of frame f is f mod 6.
  EXPECT_TRUE(TextShown(view, 348 + nearestInt(3 * std::cos(shown % 6)), 522, "done", false, false));
  EXPECT_TRUE(TextShown(view, 322, 550, "cancel", false, false));
}

}  // namespace
}  // namespace quorvex
