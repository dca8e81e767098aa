// Player controls: keys and joysticks into control flags, the one-shot actions, the game's own keys
// and the menu flags, driven through the same handlers the window's events reach.
#include <SDL.h>
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "game/controls/Controls.h"
#include "game/controls/Events.h"
#include "platform/Keys.h"

namespace quorvex {
namespace {

// Keyboard tables: thrust, turn left, turn right, fire, weapon, power, self destruct.
constexpr std::array<double, 7> kKeys1 = {'W', 'A', 'D', 'S', 'Q', 'E', 'X'};
constexpr std::array<double, 7> kKeys2 = {'I', 'J', 'L', 'K', 'U', 'O', 'P'};

const char* const kSlotNames[kSoundSlots] = {"Laser1.wav", "Laser1.wav", "Hit1.wav",   "Hit1.wav",  "Collision.wav",
                                             "Hit2.wav",   "Hit2.wav",   "Select2.wav", "Ion.wav",   "Hit3.wav",
                                             "Hit3.wav",   "Boom.wav",   "Launch.wav",  "R2HIT.wav", "Boom2.wav",
                                             "blop.wav",   "chain.wav",  "hit4.wav"};

// A headless window with two fitted, flying ships and silent sound slots that record what plays.
std::unique_ptr<GameWindow> Window() {
  auto w = std::make_unique<GameWindow>();
  w->headless = true;
  w->messages.headless = true;
  w->random.Seed(7);
  w->controlTable = {kKeys1, kKeys2};
  w->trainingMode = false;
  for (int i = 0; i < kSoundSlots; ++i) {
    w->sounds[i].name = kSlotNames[i];
    w->sounds[i].loaded = true;
  }
  for (int p = 0; p < 2; ++p) {
    ShipState& s = w->ship[p];
    s.x = p == 0 ? 100 : 700;
    s.y = 240;
    s.shield = s.shieldMax = 10;
    s.hull = s.hullMax = 50;
    s.radius = 30;
    s.hasIonCannon = s.hasMissiles = s.hasTorpedoes = s.hasElectroGun = s.hasChaingun = true;
  }
  return w;
}

// Queues events the way the window delivers them and lets the window process them, over as many
// frames as they take (a key released in the frame that pressed it is released in the next).
struct Key {
  bool down;
  int code;
  bool repeat = false;
};
void Deliver(GameWindow& w, const std::vector<Key>& keys) {
  for (const Key& k : keys) w.events.keys.push_back(KeyEvent{k.down, k.code, k.repeat});
  do {
    DoEvents(w);
  } while (!w.events.keys.empty());
}
std::vector<Key> Downs(const std::string& codes) {
  std::vector<Key> keys;
  for (char c : codes) keys.push_back({true, c});
  return keys;
}

int Count(const std::vector<std::string>& played, const std::string& name) {
  int n = 0;
  for (const std::string& p : played) n += p == name;
  return n;
}

// --- Held controls -----------------------------------------------------------------------------

struct HeldCase {
  const char* name;
  int player;
  bool training;
  int key;
  bool ShipState::*flag;
  bool reacts;
};

void PrintTo(const HeldCase& c, std::ostream* os) { *os << c.name; }

class HeldKeyTest : public ::testing::TestWithParam<HeldCase> {};

TEST_P(HeldKeyTest, KeyDownSetsAndKeyUpClears) {
  const HeldCase& c = GetParam();
  auto w = Window();
  w->trainingMode = c.training;
  ShipState& s = w->ship[c.player];
  Deliver(*w, {{true, c.key}});
  EXPECT_EQ(s.*c.flag, c.reacts);
  // Key repeat only sets the flag again.
  Deliver(*w, {{true, c.key}});
  EXPECT_EQ(s.*c.flag, c.reacts);
  // Key-up releases whoever set the flag: here the computer pilot in training mode.
  s.*c.flag = true;
  Deliver(*w, {{false, c.key}});
  EXPECT_FALSE(s.*c.flag);
}

INSTANTIATE_TEST_SUITE_P(
    Controls, HeldKeyTest,
    ::testing::Values(HeldCase{"P1Thrust", 0, false, 'W', &ShipState::thrustHeld, true},
                      HeldCase{"P1Left", 0, false, 'A', &ShipState::turnLeftHeld, true},
                      HeldCase{"P1Right", 0, false, 'D', &ShipState::turnRightHeld, true},
                      HeldCase{"P1Fire", 0, false, 'S', &ShipState::fireHeld, true},
                      HeldCase{"P1FireInTraining", 0, true, 'S', &ShipState::fireHeld, true},
                      HeldCase{"P2Thrust", 1, false, 'I', &ShipState::thrustHeld, true},
                      HeldCase{"P2Right", 1, false, 'L', &ShipState::turnRightHeld, true},
                      HeldCase{"P2ThrustInTraining", 1, true, 'I', &ShipState::thrustHeld, false},
                      HeldCase{"P2LeftInTraining", 1, true, 'J', &ShipState::turnLeftHeld, false},
                      HeldCase{"P2FireInTraining", 1, true, 'K', &ShipState::fireHeld, false}),
    [](const auto& info) { return std::string(info.param.name); });

// A key pressed and released between two frames is held for one frame; its release, and whatever
// came after it, waits for the next frame. Flags after each frame: player 1's fire, player 2's fire.
TEST(ControlsTest, ATapBetweenTwoFramesIsHeldForOneFrame) {
  const struct {
    const char* name;
    std::vector<std::vector<Key>> frames;
    std::vector<std::string> held;
  } cases[] = {
      {"tap", {{{true, 'S'}, {false, 'S'}}, {}}, {"10", "00"}},
      {"two taps", {{{true, 'S'}, {false, 'S'}, {true, 'S'}, {false, 'S'}}, {}, {}}, {"10", "10", "00"}},
      {"held over frames", {{{true, 'S'}}, {}, {{false, 'S'}}}, {"10", "10", "00"}},
      {"released, then pressed again", {{{true, 'S'}}, {{false, 'S'}, {true, 'S'}}, {}}, {"10", "10", "10"}},
      {"key repeats are no press", {{{true, 'S'}}, {{true, 'S', true}, {false, 'S'}}}, {"10", "00"}},
      {"the other player's key waits behind the release", {{{true, 'S'}, {false, 'S'}, {true, 'K'}}, {}},
       {"10", "01"}},
  };
  for (const auto& c : cases) {
    auto w = Window();
    std::vector<std::string> held;
    for (const std::vector<Key>& frame : c.frames) {
      for (const Key& k : frame) w->events.keys.push_back(KeyEvent{k.down, k.code, k.repeat});
      DoEvents(*w);
      held.push_back(std::string(w->ship[0].fireHeld ? "1" : "0") + (w->ship[1].fireHeld ? "1" : "0"));
    }
    EXPECT_EQ(held, c.held) << c.name;
  }
}

TEST(ControlsTest, BothTurnKeysHeldSetBothFlags) {
  auto w = Window();
  Deliver(*w, Downs("AD"));
  EXPECT_TRUE(w->ship[0].turnLeftHeld);
  EXPECT_TRUE(w->ship[0].turnRightHeld);
  Deliver(*w, {{false, 'A'}});
  EXPECT_FALSE(w->ship[0].turnLeftHeld);
  EXPECT_TRUE(w->ship[0].turnRightHeld);
}

TEST(ControlsTest, JoystickPlayersKeysDoNothingButKeyUpStillReleases) {
  auto w = Window();
  w->inputDevice[0] = 1;
  Deliver(*w, Downs("WS"));
  EXPECT_FALSE(w->ship[0].thrustHeld);
  EXPECT_FALSE(w->ship[0].fireHeld);
  w->ship[0].fireHeld = true;
  Deliver(*w, {{false, 'S'}});
  EXPECT_FALSE(w->ship[0].fireHeld);
}

// --- Keys consumed by player 1 -----------------------------------------------------------------

struct SharedKeyCase {
  const char* name;
  int p1Entry, p2Entry;  // entries given the same key 'Z'
  std::vector<Key> keys;
  std::function<void(const GameWindow&)> check;
};

void PrintTo(const SharedKeyCase& c, std::ostream* os) { *os << c.name; }

class SharedKeyTest : public ::testing::TestWithParam<SharedKeyCase> {};

TEST_P(SharedKeyTest, PlayerTwoSeesOnlyKeysPlayerOneLeft) {
  const SharedKeyCase& c = GetParam();
  auto w = Window();
  w->controlTable[0][static_cast<size_t>(c.p1Entry)] = 'Z';
  w->controlTable[1][static_cast<size_t>(c.p2Entry)] = 'Z';
  Deliver(*w, c.keys);
  c.check(*w);
}

INSTANTIATE_TEST_SUITE_P(
    Controls, SharedKeyTest,
    ::testing::Values(
        SharedKeyCase{"Power", key_entry::Power, key_entry::Power, {{true, 'Z'}},
                      [](const GameWindow& w) {
                        EXPECT_EQ(w.ship[0].powerRedir, 1);
                        EXPECT_EQ(w.ship[1].powerRedir, 0);
                      }},
        SharedKeyCase{"Weapon", key_entry::Weapon, key_entry::Weapon, {{true, 'Z'}},
                      [](const GameWindow& w) {
                        EXPECT_EQ(w.ship[0].weapon, 1);
                        EXPECT_EQ(w.ship[1].weapon, 0);
                      }},
        SharedKeyCase{"SelfDestruct", key_entry::SelfDestruct, key_entry::SelfDestruct, {{true, 'Z'}, {true, 'Z'}},
                      [](const GameWindow& w) {
                        EXPECT_FALSE(w.ship[0].alive);
                        EXPECT_TRUE(w.ship[1].alive);
                        EXPECT_EQ(w.ship[1].hull, 50);
                      }},
        SharedKeyCase{"PowerAgainstFire", key_entry::Power, key_entry::Fire, {{true, 'Z'}},
                      [](const GameWindow& w) {
                        EXPECT_EQ(w.ship[0].powerRedir, 1);
                        EXPECT_FALSE(w.ship[1].fireHeld);
                      }},
        SharedKeyCase{"FireIsNotConsumed", key_entry::Fire, key_entry::Fire, {{true, 'Z'}},
                      [](const GameWindow& w) {
                        EXPECT_TRUE(w.ship[0].fireHeld);
                        EXPECT_TRUE(w.ship[1].fireHeld);
                      }},
        SharedKeyCase{"FireBeforeWeaponOfTheSameKey", key_entry::Fire, key_entry::Weapon, {{true, 'Z'}},
                      [](const GameWindow& w) {
                        EXPECT_TRUE(w.ship[0].fireHeld);
                        EXPECT_EQ(w.ship[1].weapon, 1);
                      }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ControlsTest, F4IsConsumedBeforeThePlayers) {
  auto w = Window();
  w->controlTable[0][key_entry::Power] = vk::F4;
  Deliver(*w, {{true, vk::F4}});
  EXPECT_TRUE(w->aimMarkers);
  EXPECT_EQ(w->ship[0].powerRedir, 0);
  Deliver(*w, {{true, vk::F4}});
  EXPECT_FALSE(w->aimMarkers);
}

// A table entry left at 0 never matches a consumed key: F4 does not destroy the ship.
TEST(ControlsTest, ConsumedKeyMatchesNoEmptyEntry) {
  auto w = Window();
  w->controlTable[0][key_entry::SelfDestruct] = 0;
  Deliver(*w, {{true, vk::F4}, {true, vk::F4}, {true, vk::F4}});
  EXPECT_TRUE(w->ship[0].alive);
  EXPECT_EQ(w->selfDestructPresses[0], 0);
}

// --- Self destruct -----------------------------------------------------------------------------

struct SelfDestructCase {
  const char* name;
  bool training;
  int joystickPlayer;  // -1: both on the keyboard
  std::vector<Key> keys;
  bool p1Alive, p2Alive;
};

void PrintTo(const SelfDestructCase& c, std::ostream* os) { *os << c.name; }

class SelfDestructTest : public ::testing::TestWithParam<SelfDestructCase> {};

TEST_P(SelfDestructTest, TwoKeyDownsInARow) {
  const SelfDestructCase& c = GetParam();
  auto w = Window();
  w->trainingMode = c.training;
  if (c.joystickPlayer >= 0) w->inputDevice[static_cast<size_t>(c.joystickPlayer)] = 1;
  Deliver(*w, c.keys);
  EXPECT_EQ(w->ship[0].alive, c.p1Alive);
  EXPECT_EQ(w->ship[1].alive, c.p2Alive);
  if (!c.p1Alive) {
    EXPECT_EQ(w->ship[0].hull, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Controls, SelfDestructTest,
    ::testing::Values(SelfDestructCase{"OnePress", false, -1, {{true, 'X'}, {false, 'X'}}, true, true},
                      SelfDestructCase{"DoublePress", false, -1, {{true, 'X'}, {false, 'X'}, {true, 'X'}}, false, true},
                      SelfDestructCase{"AutoRepeat", false, -1, Downs("XXX"), false, true},
                      SelfDestructCase{"OtherKeyBetween", false, -1, Downs("XAX"), true, true},
                      SelfDestructCase{"OtherPlayersKeyBetween", false, -1, Downs("XPX"), true, true},
                      SelfDestructCase{"ConsumedKeyBetween", false, -1, {{true, 'X'}, {true, vk::F4}, {true, 'X'}},
                                       true, true},
                      SelfDestructCase{"PlayerTwoInTraining", true, -1, Downs("PP"), true, false},
                      SelfDestructCase{"JoystickPlayersKeyboardKey", false, 0, Downs("XX"), true, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ControlsTest, HeldSelfDestructKeyNeverOverflowsItsCount) {
  auto w = Window();
  for (int i = 0; i < 300; ++i) Deliver(*w, {{true, 'X'}});
  EXPECT_EQ(w->selfDestructPresses[0], 255);
  EXPECT_FALSE(w->ship[0].alive);
}

// --- Change weapon, power, menu pick -----------------------------------------------------------

struct WeaponCase {
  const char* name;
  bool ion, missiles, torpedoes, electro, chaingun;
  std::vector<int> sequence;  // weapon after each press
};

void PrintTo(const WeaponCase& c, std::ostream* os) { *os << c.name; }

class ChangeWeaponTest : public ::testing::TestWithParam<WeaponCase> {};

TEST_P(ChangeWeaponTest, SkipsWeaponsNotFitted) {
  const WeaponCase& c = GetParam();
  auto w = Window();
  ShipState& s = w->ship[0];
  s.hasIonCannon = c.ion;
  s.hasMissiles = c.missiles;
  s.hasTorpedoes = c.torpedoes;
  s.hasElectroGun = c.electro;
  s.hasChaingun = c.chaingun;
  std::vector<int> seen;
  for (size_t i = 0; i < c.sequence.size(); ++i) {
    Deliver(*w, {{true, 'Q'}, {false, 'Q'}});
    seen.push_back(s.weapon);
  }
  EXPECT_EQ(seen, c.sequence);
  EXPECT_EQ(Count(w->audio.played, "Select2.wav"), static_cast<int>(c.sequence.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Controls, ChangeWeaponTest,
    ::testing::Values(WeaponCase{"LasersOnly", false, false, false, false, false, {0, 0, 0}},
                      WeaponCase{"LasersAndChaingun", false, false, false, false, true, {5, 0, 5, 0}},
                      WeaponCase{"Everything", true, true, true, true, true, {1, 2, 3, 4, 5, 0, 1}},
                      WeaponCase{"MissilesAndElectrogun", false, true, false, true, false, {2, 4, 0, 2}},
                      WeaponCase{"IonAndTorpedoes", true, false, true, false, false, {1, 3, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ControlsTest, PowerRedirectionCyclesWithASoundEachPress) {
  auto w = Window();
  std::vector<int> modes;
  for (int i = 0; i < 4; ++i) {
    Deliver(*w, {{true, 'E'}});
    modes.push_back(w->ship[0].powerRedir);
  }
  EXPECT_EQ(modes, (std::vector<int>{1, 2, 0, 1}));
  EXPECT_EQ(Count(w->audio.played, "Select2.wav"), 4);
}

TEST(ControlsTest, NoSoundWithSoundOff) {
  auto w = Window();
  w->options.soundOn = false;
  Deliver(*w, {{true, 'E'}, {true, 'Q'}});
  EXPECT_EQ(w->ship[0].powerRedir, 1);
  EXPECT_TRUE(w->audio.played.empty());
}

struct MenuPickCase {
  const char* name;
  bool training;
  int key;
  int player;
  bool pick;
};

void PrintTo(const MenuPickCase& c, std::ostream* os) { *os << c.name; }

class MenuPickTest : public ::testing::TestWithParam<MenuPickCase> {};

TEST_P(MenuPickTest, WeaponKeyPicksOnAMenu) {
  const MenuPickCase& c = GetParam();
  auto w = Window();
  w->menuActive = true;
  w->trainingMode = c.training;
  Deliver(*w, {{true, c.key}});
  EXPECT_EQ(w->menuPick[static_cast<size_t>(c.player)], c.pick);
  EXPECT_EQ(w->ship[static_cast<size_t>(c.player)].weapon, 0);
  EXPECT_EQ(Count(w->audio.played, "Select2.wav"), 0);
}

INSTANTIATE_TEST_SUITE_P(Controls, MenuPickTest,
                         ::testing::Values(MenuPickCase{"PlayerOne", false, 'Q', 0, true},
                                           MenuPickCase{"PlayerTwo", false, 'U', 1, true},
                                           MenuPickCase{"PlayerTwoInTraining", true, 'U', 1, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- The game's keys ---------------------------------------------------------------------------

struct GameKeyCase {
  const char* name;
  bool menuActive;
  bool p2Alive;
  std::vector<Key> keys;
  std::function<void(const GameWindow&)> check;
};

void PrintTo(const GameKeyCase& c, std::ostream* os) { *os << c.name; }

class GameKeyTest : public ::testing::TestWithParam<GameKeyCase> {};

TEST_P(GameKeyTest, SetsTheFlagsTheFlowReads) {
  const GameKeyCase& c = GetParam();
  auto w = Window();
  w->menuActive = c.menuActive;
  w->ship[1].alive = c.p2Alive;
  for (const Key& k : c.keys) {
    if (k.down) OnKeyDown(*w, k.code);
    else OnKeyUp(*w, k.code);
  }
  c.check(*w);
}

INSTANTIATE_TEST_SUITE_P(
    Controls, GameKeyTest,
    ::testing::Values(
        GameKeyCase{"EscPauses", false, true, {{true, vk::Escape}},
                    [](const GameWindow& w) { EXPECT_TRUE(w.pauseRequested); }},
        GameKeyCase{"EscUpDoesNothing", false, true, {{false, vk::Escape}},
                    [](const GameWindow& w) { EXPECT_FALSE(w.pauseRequested); }},
        GameKeyCase{"F6HeldRemovesPacing", false, true, {{true, vk::F6}, {true, vk::F6}},
                    [](const GameWindow& w) { EXPECT_TRUE(w.noFrameLimit); }},
        GameKeyCase{"F6ReleasedRestoresPacing", false, true, {{true, vk::F6}, {false, vk::F6}},
                    [](const GameWindow& w) { EXPECT_FALSE(w.noFrameLimit); }},
        GameKeyCase{"F5DestroysBoth", false, true, {{true, vk::F5}},
                    [](const GameWindow& w) {
                      EXPECT_FALSE(w.ship[0].alive);
                      EXPECT_FALSE(w.ship[1].alive);
                    }},
        GameKeyCase{"EnterWithBothAliveOnlySelects", false, true, {{true, vk::Return}, {false, vk::Return}},
                    [](const GameWindow& w) {
                      EXPECT_TRUE(w.menuSelect);
                      EXPECT_FALSE(w.duelOver);
                    }},
        GameKeyCase{"EnterDownAfterADestructionDoesNothing", false, false, {{true, vk::Return}},
                    [](const GameWindow& w) {
                      EXPECT_FALSE(w.menuSelect);
                      EXPECT_FALSE(w.duelOver);
                    }},
        GameKeyCase{"EnterUpAfterADestructionEndsTheDuel", false, false, {{false, vk::Return}},
                    [](const GameWindow& w) {
                      EXPECT_TRUE(w.menuSelect);
                      EXPECT_TRUE(w.duelOver);
                    }},
        GameKeyCase{"EnterOnAMenuOnlySelects", true, false, {{false, vk::Return}},
                    [](const GameWindow& w) {
                      EXPECT_TRUE(w.menuSelect);
                      EXPECT_FALSE(w.duelOver);
                    }},
        GameKeyCase{"UpOnAMenu", true, true, {{false, vk::Up}},
                    [](const GameWindow& w) {
                      EXPECT_TRUE(w.menuUp);
                      EXPECT_FALSE(w.menuDown);
                      EXPECT_EQ(Count(w.audio.played, "blop.wav"), 1);
                    }},
        GameKeyCase{"DownOnAMenu", true, true, {{true, vk::Down}, {false, vk::Down}},
                    [](const GameWindow& w) {
                      EXPECT_TRUE(w.menuDown);
                      EXPECT_FALSE(w.menuUp);
                      EXPECT_EQ(Count(w.audio.played, "blop.wav"), 1);
                    }},
        GameKeyCase{"UpInBattle", false, true, {{false, vk::Up}, {false, vk::Down}},
                    [](const GameWindow& w) {
                      EXPECT_FALSE(w.menuUp);
                      EXPECT_FALSE(w.menuDown);
                      EXPECT_TRUE(w.audio.played.empty());
                    }}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Joysticks ---------------------------------------------------------------------------------

// Joystick tables: turn left, turn right, thrust, fire, power, eject, weapon.
constexpr std::array<double, 7> kStick = {stick_code::MinusX, stick_code::PlusX, stick_code::MinusY, 4, 5, 6, 7};
constexpr int kFire = 0, kPower = 1, kEject = 2, kWeapon = 3;  // buttons

// A virtual joystick opened as joystick 1 and flown by player `player`.
class JoystickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(0, SDL_InitSubSystem(SDL_INIT_JOYSTICK)) << SDL_GetError();
    index_ = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 8, 0);
    ASSERT_GE(index_, 0) << SDL_GetError();
    w_ = Window();
    ASSERT_TRUE(OpenJoystick(w_->joysticks, 0, index_));
    stick_ = w_->joysticks.device[0];
  }
  void TearDown() override {
    if (w_) CloseJoysticks(w_->joysticks);
    if (index_ >= 0 && attached_) SDL_JoystickDetachVirtual(index_);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  }
  void Fly(int player) {
    w_->inputDevice[static_cast<size_t>(player)] = 1;
    w_->controlTable[static_cast<size_t>(player)] = kStick;
  }
  void Button(int b, bool down) { SDL_JoystickSetVirtualButton(stick_, b, down ? 1 : 0); }
  void Axes(int x, int y) {
    SDL_JoystickSetVirtualAxis(stick_, 0, static_cast<int16_t>(x));
    SDL_JoystickSetVirtualAxis(stick_, 1, static_cast<int16_t>(y));
  }
  void PullOut() {
    ASSERT_EQ(0, SDL_JoystickDetachVirtual(index_));
    attached_ = false;
  }

  std::unique_ptr<GameWindow> w_;
  SDL_Joystick* stick_ = nullptr;
  int index_ = -1;
  bool attached_ = true;
};

struct StickFlagCase {
  int x, y;
  bool left, right, thrust;
};

TEST_F(JoystickTest, AxesAgainstTheRestPositionSetTheFlags) {
  Fly(0);
  const StickFlagCase cases[] = {
      {0, 0, false, false, false},      {-1, 0, true, false, false},     {1, 0, false, true, false},
      {0, -1, false, false, true},      {0, 30000, false, false, false}, {-20000, -20000, true, false, true},
      {20000, -5, false, true, true},
  };
  for (const StickFlagCase& c : cases) {
    Axes(c.x, c.y);
    PollControls(*w_);
    const ShipState& s = w_->ship[0];
    EXPECT_EQ(s.turnLeftHeld, c.left) << c.x << "," << c.y;
    EXPECT_EQ(s.turnRightHeld, c.right) << c.x << "," << c.y;
    EXPECT_EQ(s.thrustHeld, c.thrust) << c.x << "," << c.y;
  }
  EXPECT_FALSE(w_->ship[1].thrustHeld);  // player 2 is on the keyboard
}

TEST_F(JoystickTest, ControlCodesOnTheLastStateRead) {
  Axes(-300, 400);
  Button(5, true);
  PollJoystick(w_->joysticks, 0);
  EXPECT_TRUE(JoystickControlDown(*w_, 1, stick_code::MinusX));
  EXPECT_FALSE(JoystickControlDown(*w_, 1, stick_code::PlusX));
  EXPECT_FALSE(JoystickControlDown(*w_, 1, stick_code::MinusY));
  EXPECT_TRUE(JoystickControlDown(*w_, 1, stick_code::PlusY));
  EXPECT_TRUE(JoystickControlDown(*w_, 1, stick_code::FirstButton + 5));
  EXPECT_FALSE(JoystickControlDown(*w_, 1, stick_code::FirstButton + 4));
  // Codes and joysticks that name nothing.
  EXPECT_FALSE(JoystickControlDown(*w_, 1, 36));
  EXPECT_FALSE(JoystickControlDown(*w_, 1, -1));
  EXPECT_FALSE(JoystickControlDown(*w_, 3, stick_code::MinusX));
  EXPECT_FALSE(JoystickControlDown(*w_, 2, stick_code::MinusX));
}

// Each step: buttons fire and eject as they are during that poll.
struct EjectCase {
  const char* name;
  std::vector<std::pair<bool, bool>> polls;  // (fire, eject)
  bool destroyed;
};

TEST_F(JoystickTest, EjectOnlyWhenItGoesDownWithFireHeld) {
  const EjectCase cases[] = {
      {"EjectAlone", {{false, true}, {false, false}}, false},
      {"FireHeldThenEject", {{true, false}, {true, true}}, true},
      {"EjectHeldThenFire", {{false, true}, {true, true}}, false},
      {"BothTogether", {{true, true}}, true},
      {"FireAlone", {{true, false}, {true, false}}, false},
  };
  for (const EjectCase& c : cases) {
    Fly(0);
    ShipState& s = w_->ship[0];
    s.alive = true;
    s.shield = 10;
    s.hull = 50;
    for (const auto& [fire, eject] : c.polls) {
      Button(kFire, fire);
      Button(kEject, eject);
      PollControls(*w_);
    }
    EXPECT_EQ(!s.alive, c.destroyed) << c.name;
    Button(kFire, false);
    Button(kEject, false);
    PollControls(*w_);
  }
}

TEST_F(JoystickTest, PowerAndWeaponButtonsActOncePerPress) {
  Fly(0);
  const bool power[] = {true, true, true, false, true};
  const int modes[] = {1, 1, 1, 1, 2};
  for (int i = 0; i < 5; ++i) {
    Button(kPower, power[i]);
    Button(kWeapon, power[i]);
    PollControls(*w_);
    EXPECT_EQ(w_->ship[0].powerRedir, modes[i]) << i;
    EXPECT_EQ(w_->ship[0].weapon, modes[i]) << i;
  }
  EXPECT_EQ(Count(w_->audio.played, "Select2.wav"), 4);
}

TEST_F(JoystickTest, WeaponButtonPicksOnAMenu) {
  Fly(0);
  w_->menuActive = true;
  Button(kWeapon, true);
  PollControls(*w_);
  EXPECT_TRUE(w_->menuPick[0]);
  EXPECT_EQ(w_->ship[0].weapon, 0);
}

TEST_F(JoystickTest, PlayerTwosJoystickOverridesTrainingMode) {
  Fly(1);
  w_->trainingMode = true;
  w_->ship[1].fireHeld = false;
  Button(kFire, true);
  Axes(-100, 0);
  PollControls(*w_);
  EXPECT_TRUE(w_->ship[1].fireHeld);
  EXPECT_TRUE(w_->ship[1].turnLeftHeld);
  EXPECT_FALSE(w_->ship[0].fireHeld);
}

TEST_F(JoystickTest, PulledOutMidBattleReadsCentredAndReleased) {
  Fly(0);
  Axes(-20000, -20000);
  Button(kFire, true);
  PollControls(*w_);
  ASSERT_TRUE(w_->ship[0].fireHeld);
  ASSERT_TRUE(w_->ship[0].thrustHeld);
  PullOut();
  for (int i = 0; i < 3; ++i) PollControls(*w_);
  const ShipState& s = w_->ship[0];
  EXPECT_FALSE(s.fireHeld);
  EXPECT_FALSE(s.thrustHeld);
  EXPECT_FALSE(s.turnLeftHeld);
  EXPECT_FALSE(s.turnRightHeld);
  EXPECT_TRUE(s.alive);
}

}  // namespace
}  // namespace quorvex
