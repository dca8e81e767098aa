// The ship selection screen driven by key events on the stock ships: choosing at the first selection
// and between duels, the random pick, what leaving loads and clears, and the picture.
#include <gtest/gtest.h>

#include <cmath>
#include <ctime>

#include "game/audio/Initsound.h"
#include "game/combat/ShipLoading.h"
#include "game/render/Graphics.h"
#include "game/screens/Selection.h"
#include "platform/Keys.h"
#include "platform/Numbers.h"
#include "tests/screens/SelectionTesting.h"
#include "tests/support/SurfaceTesting.h"

namespace quorvex {
namespace {

using namespace selection_testing;

std::vector<int> Ships(const GameWindow& w, const std::vector<std::string>& files) {
  std::vector<int> v;
  for (const std::string& f : files) v.push_back(ShipIndex(w, f));
  return v;
}

// What a player flies once the ship in `slot` of his armada is loaded by the game's own loading.
ShipState Expected(const GameWindow& w, int player, int slot) {
  GameWindow ref;
  ref.headless = true;
  ref.programDir = w.programDir;
  ref.shipFiles = w.shipFiles;
  ref.fleet = w.fleet;
  ref.fleetSlot[player - 1] = slot;
  LoadShip(ref, player);
  return ref.ship[player - 1];
}

struct ChoiceCase {
  const char* name;
  std::vector<std::string> armada1, armada2;
  std::vector<std::vector<int>> taps;  // Enter is tapped after them
  std::array<int, 2> slots;
};

const std::vector<ChoiceCase> kFirstChoiceCases = {
    {"both take the first ship", {"arrow.shp", "raven.shp"}, {"warden.shp"}, {}, {0, 0}},
    {"next ship", {"arrow.shp", "raven.shp", "pod.shp"}, {"warden.shp", "falcon.shp"}, {{'D', 'L'}}, {1, 1}},
    {"previous from the first ship wraps to the last",
     {"arrow.shp", "raven.shp", "pod.shp"},
     {"warden.shp", "falcon.shp"},
     {{'A'}, {'J'}},
     {2, 1}},
    {"next past the last ship wraps to the first",
     {"arrow.shp", "raven.shp", "pod.shp"},
     {"warden.shp", "falcon.shp"},
     {{'D', 'L'}, {'D', 'L'}, {'D'}},
     {0, 0}},
    {"next then previous", {"arrow.shp", "raven.shp", "pod.shp"}, {"warden.shp"}, {{'D'}, {'D'}, {'A'}}, {1, 0}},
    {"a one-ship armada stays put", {"lancer.shp"}, {"hornet.shp"}, {{'D', 'J'}, {'A', 'L'}}, {0, 0}},
};

// At the first selection of a battle both players choose; leaving loads both chosen ships.
TEST(ShipSelection, FirstSelectionLoadsBothChosenShips) {
  for (const ChoiceCase& c : kFirstChoiceCases) {
    SCOPED_TRACE(c.name);
    ManualClock clock;
    GameWindow w;
    OpenWindow(w, clock);
    SetArmada(w, 1, Ships(w, c.armada1));
    SetArmada(w, 2, Ships(w, c.armada2));
    w.fleetSlot = {5, 7};  // left over from an earlier battle
    w.quitBattle = true;
    auto taps = c.taps;
    taps.push_back({vk::Return});
    ASSERT_NO_THROW(RunScreen(w, ShipSelection, taps));
    EXPECT_EQ(c.slots, w.fleetSlot);
    for (int p = 1; p <= 2; ++p) {
      const ShipState want = Expected(w, p, c.slots[p - 1]);
      EXPECT_EQ(want.spriteFile, w.ship[p - 1].spriteFile) << "player " << p;
      EXPECT_EQ(want.hull, w.ship[p - 1].hull) << "player " << p;
    }
    EXPECT_FALSE(w.quitBattle);
    EXPECT_FALSE(w.menuActive);
    EXPECT_FALSE(w.menuSelect);
  }
}

// A key held over several frames moves one step: the wrap from the first ship to the last spends
// the key as every other step does.
TEST(ShipSelection, HeldPreviousKeyWrapsToTheLastShipOnce) {
  for (int held : {1, 3, 6}) {
    SCOPED_TRACE(held);
    ManualClock clock;
    GameWindow w;
    OpenWindow(w, clock);
    SetArmada(w, 1, Ships(w, {"arrow.shp", "raven.shp", "pod.shp", "falcon.shp"}));
    std::vector<std::vector<int>> taps(held + 2);
    taps.push_back({vk::Return});
    ASSERT_NO_THROW(RunScreen(w, ShipSelection, taps, [&](GameWindow& g, int f) {
      if (f == 1) g.events.keys.push_back({true, 'A'});
      if (f == 1 + held) g.events.keys.push_back({false, 'A'});
    }));
    EXPECT_EQ(3, w.fleetSlot[0]);
  }
}

// Fire held by a choosing player throws the cursor onto slot nearest((count - 1) r) on every frame
// it stays held (halves to even).
struct RandomCase {
  int count;
  std::vector<double> randoms;  // one per frame the key is held
  int slot;
};

const std::vector<RandomCase> kRandomCases = {
    {4, {0.9}, 3}, {4, {0.9, 0.5}, 2}, {4, {0.1, 0.2, 0.9}, 3}, {3, {0.25}, 0}, {3, {0.75}, 2}, {1, {0.99}, 0},
};

TEST(ShipSelection, FireHeldPicksARandomShipEachFrame) {
  for (const RandomCase& c : kRandomCases) {
    SCOPED_TRACE(::testing::Message() << c.count << " ships, " << c.randoms.size() << " frames held");
    ManualClock clock;
    GameWindow w;
    OpenWindow(w, clock);
    SetArmada(w, 1, std::vector<int>(c.count, 2));
    const int held = static_cast<int>(c.randoms.size());
    std::vector<std::vector<int>> taps(held + 2);
    taps.push_back({vk::Return});
    ASSERT_NO_THROW(RunScreen(w, ShipSelection, taps, [&](GameWindow& g, int f) {
      if (f == 1) {
        g.events.keys.push_back({true, 'S'});
        for (double r : c.randoms) g.random.scripted.push_back(r);
      }
      if (f == 1 + held) g.events.keys.push_back({false, 'S'});
    }));
    EXPECT_EQ(c.slot, w.fleetSlot[0]);
    EXPECT_TRUE(w.random.scripted.empty()) << "one random slot per frame held";
  }
}

// Between duels only a player whose ship was destroyed chooses; the survivor keeps his ship, its slot
// and everything it has been through, and his keys do nothing.
TEST(ShipSelection, BetweenDuelsOnlyTheLoserChooses) {
  for (bool quit : {false, true}) {
    SCOPED_TRACE(quit ? "quit" : "begin");
    ManualClock clock;
    GameWindow w;
    OpenWindow(w, clock);
    SetArmada(w, 1, Ships(w, {"arrow.shp", "raven.shp", "falcon.shp"}));
    SetArmada(w, 2, Ships(w, {"warden.shp", "hornet.shp"}));
    w.fleetSlot = {2, 0};
    LoadShip(w, 1);
    w.ship[0].hull = 1.5;
    w.ship[0].missiles = 1;
    w.ship[1].alive = false;
    w.duelsPlayed = 1;
    w.battleStartTick = 12345;
    std::vector<std::vector<int>> taps = {{'D', 'L'}, {'S'}, {'A'}};
    if (quit) taps.push_back({vk::Down});
    taps.push_back({vk::Return});
    Surface frame;
    const int last = static_cast<int>(taps.size()) + 1;
    ASSERT_NO_THROW(RunScreen(w, ShipSelection, taps, [&](GameWindow& g, int f) {
      if (f == last) frame = g.back;
    }));
    EXPECT_EQ((std::array<int, 2>{2, 1}), w.fleetSlot);
    EXPECT_EQ(1.5, w.ship[0].hull);
    EXPECT_EQ(1, w.ship[0].missiles);
    EXPECT_EQ(Expected(w, 2, 1).spriteFile, w.ship[1].spriteFile);
    EXPECT_TRUE(w.ship[1].alive);
    EXPECT_EQ(quit, w.quitBattle);
    EXPECT_EQ(12345, w.battleStartTick) << "the battle began before the first duel";
    EXPECT_EQ(1, w.duelsPlayed);

    GameWindow view;
    view.fontSheet = w.fontSheet;
    view.back = frame;
    EXPECT_TRUE(TextShown(view, 50, 240, "player 1:falcon gunship", false, false));
    EXPECT_TRUE(TextShown(view, 50, 285, "player 2:hornet fighter", false, false));
    EXPECT_TRUE(TextShown(view, 348 + (quit ? nearestInt(3 * std::cos(last % 6)) : 0), 550, "quit", false, false));
  }
}

// Leaving sweeps the arena, refills both energies, loads the chosen ships' pictures and laser sounds
// and, at the first selection, records when the battle began; "back" leaves the ships loaded as well.
TEST(ShipSelection, LeavingPreparesTheNextDuel) {
  for (bool back : {false, true}) {
    SCOPED_TRACE(back ? "back" : "begin");
    ManualClock clock;
    GameWindow w;
    OpenWindow(w, clock);
    w.options.musicOn = false;
    Initsound(w);
    struct SoundsFreed {
      GameWindow& w;
      ~SoundsFreed() {
        for (SoundBuffer& b : w.sounds) FreeSoundBuffer(b);
        w.audio.close();
      }
    } freed{w};
    // Both start in arrows, whose lasers sound different from the hornet's and the falcon's.
    ASSERT_TRUE(w.sounds[SndLaserP1].name.ends_with("Laser2.wav")) << w.sounds[SndLaserP1].name;
    ASSERT_TRUE(w.sounds[SndLaserP2].name.ends_with("Laser2.wav")) << w.sounds[SndLaserP2].name;
    SetArmada(w, 1, Ships(w, {"arrow.shp", "hornet.shp"}));
    SetArmada(w, 2, Ships(w, {"beetle.shp", "falcon.shp"}));
    w.shots.life[1] = w.shots.life[100] = 3;
    w.explosions.state[1] = w.explosions.state[60] = 2;
    w.missilesPool.life[1] = w.missilesPool.life[50] = 4;
    w.ship[0].energy = 10;
    w.ship[1].energy = 0;
    w.audio.played.clear();
    std::vector<std::vector<int>> taps = {{'D', 'L'}};
    if (back) taps.push_back({vk::Up});
    taps.push_back({vk::Return});
    const int32_t before = clock.now;
    ASSERT_NO_THROW(RunScreen(w, ShipSelection, taps));
    const int32_t after = clock.now;

    EXPECT_EQ(back, w.quitBattle);
    for (int i = 1; i <= 100; ++i) EXPECT_EQ(0, w.shots.life[i]) << "shot " << i;
    for (int i = 1; i <= 60; ++i) EXPECT_EQ(0, w.explosions.state[i]) << "explosion " << i;
    for (int i = 1; i <= 50; ++i) EXPECT_EQ(0, w.missilesPool.life[i]) << "missile " << i;
    EXPECT_EQ(100, w.ship[0].energy);
    EXPECT_EQ(100, w.ship[1].energy);
    EXPECT_GE(w.battleStartTick, before) << "the battle time runs on the game's clock";
    EXPECT_LE(w.battleStartTick, after);
    EXPECT_EQ("hornet.bmp", w.ship[0].spriteFile);
    EXPECT_EQ("falcon.bmp", w.ship[1].spriteFile);
    for (int p = 0; p < 2; ++p) {
      Surface picture;
      LoadPicture(w, w.ship[p].spriteFile, &picture);
      EXPECT_TRUE(testing::SurfacesEqual(picture, w.shipPicture[p], "ship-selection-picture"));
    }
    EXPECT_TRUE(w.sounds[SndLaserP1].name.ends_with("Laser1.wav"));
    EXPECT_TRUE(w.sounds[SndLaserP2].name.ends_with("Laser1.wav"));
    ASSERT_FALSE(w.audio.played.empty());
    EXPECT_TRUE(w.audio.played.back().ends_with("Select2.wav"));
  }
}

struct CountCase {
  int ships;
  const char* text;
};

TEST(ShipSelection, ShowsHowManyShipsAreLeft) {
  const std::vector<CountCase> cases = {{1, "last ship!"}, {2, "2 ships left"}, {31, "31 ships left"}};
  for (const CountCase& c : cases) {
    SCOPED_TRACE(c.text);
    ManualClock clock;
    GameWindow w;
    OpenWindow(w, clock);
    SetArmada(w, 1, std::vector<int>(c.ships, ShipIndex(w, "mantis.shp")));
    SetArmada(w, 2, std::vector<int>(32 - c.ships, ShipIndex(w, "beetle.shp")));
    Surface frame;
    ASSERT_NO_THROW(RunScreen(w, ShipSelection, {{}, {vk::Return}}, [&](GameWindow& g, int f) {
      if (f == 2) frame = g.back;
    }));
    GameWindow view;
    view.fontSheet = w.fontSheet;
    view.back = frame;
    EXPECT_TRUE(TextShown(view, 275, 268, c.text, true, true));
    const std::string other = 32 - c.ships > 1 ? std::to_string(32 - c.ships) + " ships left" : "last ship!";
    EXPECT_TRUE(TextShown(view, 275, 313, other, true, true));
    EXPECT_TRUE(TextShown(view, 50, 240, "player 1:mantis striker", false, false));
    EXPECT_TRUE(TextShown(view, 50, 285, "player 2:beetle hauler", false, false));
    EXPECT_TRUE(TextShown(view, 192, 15, "select your ship", false, false));
    EXPECT_TRUE(TextShown(view, 335 + nearestInt(3 * std::cos(2)), 522, "begin", false, false));
    EXPECT_TRUE(TextShown(view, 348, 550, "back", false, false));
    if (c.ships == 2) testing::WritePng(frame, testing::TestOutputDir() / "ship-selection.png");
  }
}

}  // namespace
}  // namespace quorvex
