// Gamepads through SDL's game controller interface, with SDL's virtual joysticks made gamepads:
// flying with no settings, the dead zone, a remapped action, two pads, a pad plugged in mid-battle,
// the menu buttons, self destruct as a combination, and gamepad.cfg.
#include <SDL.h>
#include <gtest/gtest.h>

#include "game/combat/Damage.h"
#include "game/controls/Controls.h"
#include "game/controls/Events.h"
#include "game/controls/Gamepads.h"
#include "game/flow/Startup.h"
#include "platform/Keys.h"
#include "tests/core/CoreTesting.h"
#include "tests/support/VirtualPad.h"

namespace quorvex {
namespace {

struct VirtualPad {
  SDL_Joystick* stick = nullptr;  // the test's own handle, to press its buttons
  explicit VirtualPad(const char* name = "Virtual Pad", int (*rumble)(void*, Uint16, Uint16) = nullptr,
                      void* userdata = nullptr)
      : stick(testing::PlugVirtualPad(name, rumble, userdata)) {}
  ~VirtualPad() { testing::UnplugVirtualPad(stick); }
  void Button(int b, bool down) { SDL_JoystickSetVirtualButton(stick, b, down ? 1 : 0); }
  void Axis(int a, int v) { SDL_JoystickSetVirtualAxis(stick, a, static_cast<Sint16>(v)); }
  // Everything let go; a virtual trigger's raw axis rests at its bottom.
  void Release() {
    for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b) Button(b, false);
    for (int a = 0; a < SDL_CONTROLLER_AXIS_MAX; ++a) {
      Axis(a, a >= SDL_CONTROLLER_AXIS_TRIGGERLEFT ? -32768 : 0);
    }
  }
};

class GamepadTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(0, SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER)) << SDL_GetError(); }
  void TearDown() override {
    if (w_) ShutdownGame(*w_);
    w_.reset();
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  }
  // A game whose players fly from the keyboard by device.cfg, with the gamepad settings `config`.
  GameWindow& Start(const GamepadConfig& config = DefaultGamepadConfig()) {
    w_ = testing::HeadlessWindow(".", &clock_);
    w_->trainingMode = false;
    w_->controlTable[0] = {'W', 'A', 'D', ' ', 'Q', 'E', '1'};
    w_->controlTable[1] = {vk::Up, vk::Left, vk::Right, vk::Control, vk::Shift, vk::Delete, vk::Back};
    w_->ship[0].hull = w_->ship[1].hull = 100;
    AssignPadSlots(*w_, config);
    SetupDirectX(*w_);
    return *w_;
  }
  void Frame() {
    DoEvents(*w_);
    PollControls(*w_);
  }
  ManualClock clock_;
  std::unique_ptr<GameWindow> w_;
};

struct Held {
  bool left, right, thrust, fire;
  bool operator==(const Held&) const = default;
};
Held HeldOf(const ShipState& s) { return {s.turnLeftHeld, s.turnRightHeld, s.thrustHeld, s.fireHeld}; }
void PrintTo(const Held& h, std::ostream* os) {
  *os << "left " << h.left << " right " << h.right << " thrust " << h.thrust << " fire " << h.fire;
}

// The first-run layout with no settings: stick and D-pad turn, trigger and A thrust, X and the
// right shoulder fire; the stick counts only beyond the dead zone.
TEST_F(GamepadTest, DefaultLayoutAndDeadZone) {
  VirtualPad pad;
  GameWindow& w = Start();
  EXPECT_EQ(w.inputDevice[0], kPadDevice1) << "a pad with no settings flies player 1";
  EXPECT_EQ(w.inputDevice[1], 0) << "player 2 keeps the keyboard";
  const struct {
    const char* name;
    std::vector<std::pair<int, int>> buttons, axes;
    Held held;
  } cases[] = {
      {"at rest", {}, {}, {false, false, false, false}},
      {"stick inside the dead zone", {}, {{SDL_CONTROLLER_AXIS_LEFTX, 7000}}, {false, false, false, false}},
      {"stick past the dead zone", {}, {{SDL_CONTROLLER_AXIS_LEFTX, 9000}}, {false, true, false, false}},
      {"stick left", {}, {{SDL_CONTROLLER_AXIS_LEFTX, -20000}}, {true, false, false, false}},
      {"d-pad left", {{SDL_CONTROLLER_BUTTON_DPAD_LEFT, 1}}, {}, {true, false, false, false}},
      {"right trigger a little", {}, {{SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -20000}}, {false, false, false, false}},
      {"right trigger half way", {}, {{SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 0}}, {false, false, true, false}},
      {"A thrusts, X fires", {{SDL_CONTROLLER_BUTTON_A, 1}, {SDL_CONTROLLER_BUTTON_X, 1}}, {}, {false, false, true, true}},
      {"right shoulder fires", {{SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, 1}}, {}, {false, false, false, true}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    pad.Release();
    for (auto [b, v] : c.buttons) pad.Button(b, v != 0);
    for (auto [a, v] : c.axes) pad.Axis(a, v);
    Frame();
    EXPECT_EQ(HeldOf(w.ship[0]), c.held);
    EXPECT_EQ(HeldOf(w.ship[1]), (Held{false, false, false, false})) << "the other ship is not the pad's";
  }
}

// On a menu a press steps once however long it is held (and however often a frame polls); in a
// duel the button is held.
TEST_F(GamepadTest, AMenuStepsOncePerPress) {
  VirtualPad pad;
  pad.Release();
  GameWindow& w = Start();
  for (const bool menu : {true, false}) {
    w.menuActive = menu;
    int steps = 0;
    for (int f = 0; f < 6; ++f) {
      pad.Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, f < 4);
      Frame();
      Frame();
      steps += w.ship[0].turnRightHeld ? 1 : 0;
      w.ship[0].turnRightHeld = false;  // the screen spends it
    }
    EXPECT_EQ(steps, menu ? 1 : 4) << (menu ? "menu" : "duel");
  }
}

// One-shot actions: weapon and power go round once per press; self destruct needs Back while fire
// is held, in that order; a remapped action answers its new button only.
TEST_F(GamepadTest, ActionsSelfDestructAndARemappedAction) {
  VirtualPad pad;
  GamepadConfig config = DefaultGamepadConfig();
  config.actions[0][stick_entry::Fire] = PadBit(pad::B);
  config.deadZone = 15000;
  GameWindow& w = Start(config);
  w.ship[0].hasChaingun = true;

  const struct {
    const char* name;
    std::vector<int> down;  // buttons held this frame
    int weapon, power;
    bool fire, alive;
  } steps[] = {
      {"X no longer fires", {SDL_CONTROLLER_BUTTON_X}, 0, 0, false, true},
      {"B fires", {SDL_CONTROLLER_BUTTON_B}, 0, 0, true, true},
      {"Y changes weapon", {SDL_CONTROLLER_BUTTON_Y}, 5, 0, false, true},
      {"held, no second change", {SDL_CONTROLLER_BUTTON_Y}, 5, 0, false, true},
      {"left shoulder: power", {SDL_CONTROLLER_BUTTON_LEFTSHOULDER}, 5, 1, false, true},
      {"back alone does nothing", {SDL_CONTROLLER_BUTTON_BACK}, 5, 1, false, true},
      {"back held, then fire: nothing", {SDL_CONTROLLER_BUTTON_BACK, SDL_CONTROLLER_BUTTON_B}, 5, 1, true, true},
      {"released", {}, 5, 1, false, true},
      {"fire held", {SDL_CONTROLLER_BUTTON_B}, 5, 1, true, true},
      {"then back: self destruct", {SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_BACK}, 5, 1, true, false},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.name);
    pad.Release();
    for (int b : s.down) pad.Button(b, true);
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, 12000);  // inside this player's wider dead zone
    Frame();
    EXPECT_EQ(w.ship[0].weapon, s.weapon);
    EXPECT_EQ(w.ship[0].powerRedir, s.power);
    EXPECT_EQ(w.ship[0].fireHeld, s.fire);
    EXPECT_FALSE(w.ship[0].turnRightHeld);
    EXPECT_EQ(w.ship[0].alive, s.alive);
  }
}

// Two pads fly two players; a pad named in the settings takes only that model; off means the
// keyboard whatever is plugged in.
TEST_F(GamepadTest, TwoPadsTwoPlayersAndTheChoices) {
  VirtualPad first("First Pad"), second("Second Pad");
  first.Release();
  second.Release();
  {
    GameWindow& w = Start();
    EXPECT_EQ(w.inputDevice, (std::array<uint8_t, 2>{kPadDevice1, kPadDevice2}));
    first.Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 30000);
    second.Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    Frame();
    EXPECT_EQ(HeldOf(w.ship[0]), (Held{false, false, true, false}));
    EXPECT_EQ(HeldOf(w.ship[1]), (Held{false, true, false, false}));
    // In training the computer pilot keeps player 2's ship: his pad does not take it over.
    w.trainingMode = true;
    second.Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false);
    Frame();
    EXPECT_TRUE(w.ship[1].turnRightHeld) << "the pilot's flag stays";
    ShutdownGame(w);
  }
  first.Release();
  second.Release();
  char guid[64] = {};
  SDL_JoystickGetGUIDString(SDL_JoystickGetGUID(second.stick), guid, sizeof guid);
  GamepadConfig config = DefaultGamepadConfig();
  config.player[0] = PadChoice{PadChoiceKind::Named, guid, "Second Pad"};
  config.player[1] = PadChoice{PadChoiceKind::Off, "", ""};
  GameWindow& w = Start(config);
  EXPECT_EQ(w.inputDevice, (std::array<uint8_t, 2>{kPadDevice1, 0}));
  second.Button(SDL_CONTROLLER_BUTTON_A, true);
  first.Button(SDL_CONTROLLER_BUTTON_X, true);
  Frame();
  EXPECT_EQ(HeldOf(w.ship[0]), (Held{false, false, true, false})) << "player 1 flies the second pad";
  OnKeyDown(w, vk::Up);
  EXPECT_TRUE(w.ship[1].thrustHeld) << "player 2 keeps his keys";
}

// A pad with rumble shakes on its own ship's hits, harder for bigger ones and hardest when the ship
// explodes; rumble off in the settings keeps it still.
TEST_F(GamepadTest, RumbleFollowsTheDamageUnlessOff) {
  std::vector<int> shakes;
  auto record = [](void* userdata, Uint16 low, Uint16) {
    static_cast<std::vector<int>*>(userdata)->push_back(low);
    return 0;
  };
  VirtualPad pad("Rumble Pad", record, &shakes);
  pad.Release();
  for (const bool on : {true, false}) {
    shakes.clear();
    GamepadConfig config = DefaultGamepadConfig();
    config.rumble = on;
    GameWindow& w = Start(config);
    w.ship[0].hull = 100;
    DoDamage(w, 2, 30);  // the other ship's hit
    DoDamage(w, 1, 4);
    DoDamage(w, 1, 20);
    DoDamage(w, 1, 500);
    if (!on) {
      EXPECT_TRUE(shakes.empty());
      continue;
    }
    ASSERT_EQ(shakes.size(), 3u);
    EXPECT_LT(shakes[0], shakes[1]);
    EXPECT_LT(shakes[1], shakes[2]);
    EXPECT_EQ(shakes[2], 0xFFFF);
    ShutdownGame(w);
  }
}

// A pad plugged in mid-battle takes over from the keyboard; pulled out, the ship rests.
TEST_F(GamepadTest, PluggedInMidBattleAndPulledOut) {
  GameWindow& w = Start();
  EXPECT_EQ(w.inputDevice[0], 0);
  OnKeyDown(w, 'W');
  EXPECT_TRUE(w.ship[0].thrustHeld) << "the keyboard until a pad comes";
  OnKeyUp(w, 'W');
  auto pad = std::make_unique<VirtualPad>();
  pad->Release();
  pad->Button(SDL_CONTROLLER_BUTTON_X, true);
  Frame();
  EXPECT_EQ(w.inputDevice[0], kPadDevice1);
  Frame();
  EXPECT_EQ(HeldOf(w.ship[0]), (Held{false, false, false, true}));
  pad.reset();
  Frame();
  EXPECT_EQ(w.inputDevice[0], kPadDevice1);
  EXPECT_EQ(HeldOf(w.ship[0]), (Held{false, false, false, false}));
}

// The pad's menu buttons are the game's keys: up and down on menus, A and Start confirm on menus
// and once a ship is destroyed, Start pauses a duel; a key goes up with its button.
TEST(GamepadMenuKeys, ButtonsBecomeTheGameKeys) {
  using namespace pad_button;
  const uint32_t up = 1u << (MenuUp - MenuUp), down = 1u << (MenuDown - MenuUp), confirm = 1u << (Confirm - MenuUp),
                 start = 1u << (Start - MenuUp);
  const struct {
    const char* name;
    bool menu, shipDown;
    uint32_t now;
    std::vector<int> keys;  // codes of the key-downs sent
  } cases[] = {
      {"menu up", true, false, up, {vk::Up}},
      {"menu down", true, false, down, {vk::Down}},
      {"menu confirm", true, false, confirm, {vk::Return}},
      {"menu start", true, false, start, {vk::Return}},
      {"duel: up is no key", false, false, up, {}},
      {"duel: A is thrust only", false, false, confirm, {}},
      {"duel: start pauses", false, false, start, {vk::Escape}},
      {"ship destroyed: A ends the duel", false, true, confirm, {vk::Return}},
      {"ship destroyed: start too", false, true, start, {vk::Return}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    GameWindow w;
    w.menuActive = c.menu;
    w.ship[1].alive = !c.shipDown;
    std::array<int, 4> sent{};
    std::vector<int> downs;
    for (const KeyEvent& k : PadMenuKeys(w, c.now, 0, sent)) {
      EXPECT_TRUE(k.down);
      downs.push_back(k.code);
    }
    EXPECT_EQ(downs, c.keys);
    // Released on another screen: the key that went down goes up, nothing else.
    w.menuActive = !c.menu;
    const std::vector<KeyEvent> release = PadMenuKeys(w, 0, c.now, sent);
    ASSERT_EQ(release.size(), c.keys.size());
    if (!release.empty()) {
      EXPECT_EQ(release[0].code, c.keys[0]);
      EXPECT_FALSE(release[0].down);
    }
  }
}

TEST(GamepadFile, ReadsWritesAndSurvivesDamage) {
  GamepadConfig config = DefaultGamepadConfig();
  config.player[0] = PadChoice{PadChoiceKind::Named, "03000000de280000ff11000001000000", "Steam Virtual Gamepad"};
  config.player[1].kind = PadChoiceKind::Off;
  config.actions[1][stick_entry::Eject] = PadBit(pad::Guide) | PadBit(pad::LeftTrigger);
  config.deadZone = 12345;
  config.rumble = false;
  const GamepadConfig back = ParseGamepadFile(GamepadFileText(config));
  EXPECT_EQ(back.player[0].kind, PadChoiceKind::Named);
  EXPECT_EQ(back.player[0].guid, config.player[0].guid);
  EXPECT_EQ(back.player[0].name, "Steam Virtual Gamepad");
  EXPECT_EQ(back.player[1].kind, PadChoiceKind::Off);
  EXPECT_EQ(back.actions, config.actions);
  EXPECT_EQ(back.deadZone, 12345);
  EXPECT_FALSE(back.rumble);

  const struct {
    const char* text;
    int deadZone;
  } damaged[] = {{"", kDefaultDeadZone},
                 {"dead zone: lots\nplayer 1 fire: nonsense, A\n", kDefaultDeadZone},
                 {"dead zone: 999999\n\x01\xff:::\n", 32000}};
  for (const auto& d : damaged) {
    const GamepadConfig c = ParseGamepadFile(d.text);
    EXPECT_EQ(c.deadZone, d.deadZone);
    EXPECT_EQ(c.player[0].kind, PadChoiceKind::Any);
  }
  EXPECT_EQ(ParseGamepadFile("player 1 fire: nonsense, A\n").actions[0][stick_entry::Fire], PadBit(pad::A));
}

}  // namespace
}  // namespace quorvex
