// The controls window's gamepad choice and the gamepads window, with an SDL virtual joystick that
// SDL takes for a gamepad: the pad is listed, chosen, and an action changed by pressing its button.
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include <SDL.h>

#include "SettingsTesting.h"
#include "game/config/GamepadFile.h"
#include "game/launcher/InputWindows.h"
#include "tests/support/TempDir.h"
#include "tests/support/VirtualPad.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;
using testing::Child;
using testing::WriteBytes;

class GamepadWindowsTest : public ::testing::Test {
 protected:
  GamepadWindowsTest() { testing::SettingsApp(); }
  void SetUp() override {
    ASSERT_EQ(0, SDL_InitSubSystem(SDL_INIT_JOYSTICK)) << SDL_GetError();
    pad_ = testing::PlugVirtualPad();
    ASSERT_NE(pad_, nullptr);
    char guid[64] = {};
    SDL_JoystickGetGUIDString(SDL_JoystickGetGUID(pad_), guid, sizeof guid);
    guid_ = guid;
  }
  void TearDown() override {
    testing::UnplugVirtualPad(pad_);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  }
  fs::path File(const char* name) const { return dir_.path() / name; }
  QWidget* OpenControls() { return OpenControlsWindow(nullptr, File("device.cfg"), File("keys.cfg")); }

  testing::TempDir dir_;
  SDL_Joystick* pad_ = nullptr;
  std::string guid_;
};

void Close(QWidget* window) {
  window->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// With no gamepad settings a keyboard player is on "Gamepad" (any); the attached pad is listed by
// name; OK writes each player's choice into gamepad.cfg and device.cfg keeps 0 for both.
TEST_F(GamepadWindowsTest, ControlsWindowListsAndChoosesThePad) {
  const struct {
    const char* name;
    const char* clickP2;  // player 2's option clicked, if any
    bool chooseListedPad;  // player 1 picks the pad by name rather than any
    std::string player1, player2;
  } cases[] = {
      {"untouched", nullptr, false, "player 1: any", "player 2: any"},
      {"named pad, keyboard only", "Option6", true, "player 1: " + guid_ + " Virtual Pad", "player 2: off"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(File("gamepad.cfg"));
    QWidget* form2 = OpenControls();
    EXPECT_TRUE(Child<QRadioButton>(form2, "OptionPad1")->isChecked());
    EXPECT_TRUE(Child<QRadioButton>(form2, "OptionPad2")->isChecked());
    auto* list = Child<QComboBox>(form2, "ComboPad1");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->itemText(0), "Any gamepad");
    EXPECT_EQ(list->itemText(1), "Virtual Pad");
    if (c.chooseListedPad) list->setCurrentIndex(1);
    if (c.clickP2) Child<QRadioButton>(form2, c.clickP2)->click();
    Child<QPushButton>(form2, "Command5")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const std::string written = testing::FileBytes(File("gamepad.cfg"));
    EXPECT_NE(written.find(c.player1 + "\n"), std::string::npos) << written;
    EXPECT_NE(written.find(c.player2 + "\n"), std::string::npos) << written;
    EXPECT_EQ(testing::FileBytes(File("device.cfg")), " 0 \r\n 0 \r\n");
  }
  // Opened again, the named pad is still the choice, also once it is pulled out.
  QWidget* form2 = OpenControls();
  EXPECT_EQ(Child<QComboBox>(form2, "ComboPad1")->currentText(), "Virtual Pad");
  EXPECT_TRUE(Child<QRadioButton>(form2, "Option6")->isChecked());
  Close(form2);
}

// An action is changed by clicking it and pressing the pad's button; OK writes the layout, the
// dead zone and rumble, and keeps the players' choices.
TEST_F(GamepadWindowsTest, GamepadsWindowTakesThePressedButton) {
  WriteBytes(File("gamepad.cfg"), "player 2: off\n");
  QWidget* form2 = OpenControls();
  Child<QPushButton>(form2, "CommandPad")->click();
  QWidget* window = form2->findChild<QWidget*>("FormPad");
  ASSERT_NE(window, nullptr);
  auto* fire = Child<QPushButton>(window, "PadAction1_3");
  EXPECT_EQ(fire->text(), "X or right shoulder");
  fire->click();
  EXPECT_EQ(fire->text(), "Press a button...");
  SDL_JoystickSetVirtualButton(pad_, SDL_CONTROLLER_BUTTON_B, 1);
  EXPECT_TRUE(QTest::qWaitFor([&] { return fire->text() == "B"; }, 3000));
  SDL_JoystickSetVirtualButton(pad_, SDL_CONTROLLER_BUTTON_B, 0);
  // A stick pushed only a little is no choice; pushed far, it is.
  auto* left = Child<QPushButton>(window, "PadAction2_0");
  left->click();
  SDL_JoystickSetVirtualAxis(pad_, SDL_CONTROLLER_AXIS_RIGHTX, -9000);
  QTest::qWait(200);
  EXPECT_EQ(left->text(), "Press a button...");
  SDL_JoystickSetVirtualAxis(pad_, SDL_CONTROLLER_AXIS_RIGHTX, -30000);
  EXPECT_TRUE(QTest::qWaitFor([&] { return left->text() == "right stick left"; }, 3000));
  Child<QSpinBox>(window, "PadDeadZone")->setValue(10000);
  Child<QPushButton>(window, "PadOK")->click();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

  const GamepadConfig written = ReadGamepadFile(File("gamepad.cfg"));
  EXPECT_EQ(written.actions[0][3], PadBit(pad::B));
  EXPECT_EQ(written.actions[1][0], PadBit(pad::RightStickLeft));
  EXPECT_EQ(written.actions[0][2], DefaultGamepadConfig().actions[0][2]) << "other actions kept";
  EXPECT_EQ(written.deadZone, 10000);
  EXPECT_EQ(written.player[1].kind, PadChoiceKind::Off) << "the choices stay";
  Close(form2);
}

}  // namespace
}  // namespace quorvex
