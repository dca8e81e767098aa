// The controls window and the joysticks window it opens: the device options and their enabling
// rules, device.cfg, the list positions read from and written to keys.cfg, and a keyboard
// player's lines kept.
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "SettingsTesting.h"
#include "game/launcher/InputWindows.h"
#include "tests/support/TempDir.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;
using testing::AttachedJoysticks;
using testing::Child;
using testing::FileBytes;
using testing::NumberLines;
using testing::WriteBytes;

class InputWindowsTest : public ::testing::Test {
 protected:
  InputWindowsTest() { testing::SettingsApp(); }
  QWidget* OpenControls(const std::string& device) {
    if (!device.empty()) WriteBytes(DeviceFile(), device);
    return OpenControlsWindow(nullptr, DeviceFile(), KeysFile());
  }
  fs::path DeviceFile() const { return dir_.path() / "device.cfg"; }
  fs::path KeysFile() const { return dir_.path() / "keys.cfg"; }

  quorvex::testing::TempDir dir_;
};

void Click(QWidget* window, const char* name) { Child<QRadioButton>(window, name)->click(); }
bool JoysticksEnabled(QWidget* form2) { return Child<QPushButton>(form2, "Command2")->isEnabled(); }
void Unload(QWidget* window) {
  window->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// "Joysticks..." is enabled exactly while a player has a joystick chosen.
TEST_F(InputWindowsTest, JoysticksButtonFollowsTheChosenDevices) {
  AttachedJoysticks sticks({"Pad A", "Pad B"});
  const struct {
    const char* device;
    bool enabledAtOpening;
    std::vector<std::pair<const char*, bool>> clicks;  // option, "Joysticks..." enabled afterwards
  } cases[] = {
      {" 0 \r\n 0 \r\n", false, {{"Option1", false}, {"Option2", true}, {"Option6", true}, {"Option1", false}}},
      {" 1 \r\n 0 \r\n", true, {{"Option1", false}, {"Option4", true}, {"Option3", true}, {"Option6", true}}},
      {" 0 \r\n 2 \r\n", true, {{"Option6", false}, {"Option5", true}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.device);
    QWidget* form2 = OpenControls(c.device);
    EXPECT_EQ(JoysticksEnabled(form2), c.enabledAtOpening);
    for (const auto& [option, enabled] : c.clicks) {
      Click(form2, option);
      EXPECT_EQ(JoysticksEnabled(form2), enabled) << option;
    }
    Unload(form2);
  }
}

TEST_F(InputWindowsTest, JoystickOptionsTakeTheProductNamesOrAreDisabled) {
  const struct {
    std::vector<std::string> attached;
    const char* joystick1;
    const char* joystick2;
  } cases[] = {{{}, nullptr, nullptr}, {{"Gravis Pad"}, "Gravis Pad", nullptr}, {{"Pad A", "Pad B"}, "Pad A", "Pad B"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.attached.size());
    AttachedJoysticks sticks(c.attached);
    QWidget* form2 = OpenControls(" 0 \r\n 0 \r\n");
    EXPECT_EQ(form2->windowTitle(), "Controls");
    for (const char* name : {"Option2", "Option5"}) {
      EXPECT_EQ(Child<QRadioButton>(form2, name)->isEnabled(), c.joystick1 != nullptr) << name;
      EXPECT_EQ(Child<QRadioButton>(form2, name)->text(), c.joystick1 ? c.joystick1 : "Joystick 1") << name;
    }
    for (const char* name : {"Option3", "Option4"}) {
      EXPECT_EQ(Child<QRadioButton>(form2, name)->isEnabled(), c.joystick2 != nullptr) << name;
      EXPECT_EQ(Child<QRadioButton>(form2, name)->text(), c.joystick2 ? c.joystick2 : "Joystick 2") << name;
    }
    Unload(form2);
  }
}

// A joystick plugged in or pulled out while the window is open shows up in it without reopening.
TEST_F(InputWindowsTest, JoystickOptionsFollowPluggingWhileOpen) {
  QWidget* form2 = OpenControls(" 1 \r\n 0 \r\n");
  EXPECT_FALSE(Child<QRadioButton>(form2, "Option2")->isEnabled());
  {
    AttachedJoysticks sticks({"Late Pad"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return Child<QRadioButton>(form2, "Option2")->text() == "Late Pad"; }, 5000));
    EXPECT_TRUE(Child<QRadioButton>(form2, "Option5")->isEnabled());
    EXPECT_TRUE(Child<QRadioButton>(form2, "Option2")->isChecked());
    EXPECT_FALSE(Child<QRadioButton>(form2, "Option3")->isEnabled());
  }
  EXPECT_TRUE(QTest::qWaitFor([&] { return Child<QRadioButton>(form2, "Option2")->text() == "Joystick 1"; }, 5000));
  EXPECT_FALSE(Child<QRadioButton>(form2, "Option5")->isEnabled());
  EXPECT_TRUE(Child<QRadioButton>(form2, "Option2")->isChecked()) << "the choice stays for OK";
  Unload(form2);
}

// OK writes both lines, also for a chosen joystick that is no longer attached; opening a missing
// file chooses the keyboard and writes nothing.
TEST_F(InputWindowsTest, OkWritesDeviceCfg) {
  const struct {
    const char* name;
    std::string device;
    const char* clicks[2];
    std::string written;
  } cases[] = {
      {"joystick gone", " 2 \r\n 1 \r\n", {nullptr, nullptr}, NumberLines({2, 1})},
      {"chosen", " 0 \r\n 0 \r\n", {"Option2", "Option4"}, NumberLines({1, 2})},
      {"missing file", "", {nullptr, nullptr}, NumberLines({0, 0})},
      {"unknown device", " 7 \r\n", {"Option5", nullptr}, NumberLines({0, 1})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    AttachedJoysticks sticks(c.clicks[0] ? std::vector<std::string>{"Pad A", "Pad B"} : std::vector<std::string>{});
    fs::remove(DeviceFile());
    QPointer<QWidget> form2 = OpenControls(c.device);
    EXPECT_EQ(FileBytes(DeviceFile()), c.device.empty() ? "<missing>" : c.device);
    for (const char* option : c.clicks) {
      if (option) Click(form2, option);
    }
    Child<QPushButton>(form2, "Command5")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(form2) << "OK closes the window";
    EXPECT_EQ(FileBytes(DeviceFile()), c.written);
  }
}

QWidget* OpenJoysticks(QWidget* form2) {
  Child<QPushButton>(form2, "Command2")->click();
  return form2->findChild<QWidget*>("Form4");
}

QComboBox* Row(QWidget* form4, int index) { return Child<QComboBox>(form4, QString("Combo1_%1").arg(index)); }

// Each row shows the entry the battle uses for its label; a value above the list is "Button 15",
// a negative one no choice.
TEST_F(InputWindowsTest, JoysticksWindowShowsTheListPositionsOfKeysCfg) {
  AttachedJoysticks sticks({"Pad A", "Pad B"});
  // Player 1: entries 0..6; player 2 a keyboard player's key codes and odd values.
  WriteBytes(KeysFile(), " 0 \r\n 3 \r\n 2.6 \r\n 4 \r\n 5 \r\n 6 \r\n 18 \r\n"
                         " 87 \r\n 19 \r\n -1 \r\n 17 \r\n 32 \r\n 0 \r\n 1 \r\n");
  QWidget* form2 = OpenControls(" 2 \r\n 1 \r\n");
  QWidget* form4 = OpenJoysticks(form2);
  ASSERT_NE(form4, nullptr);
  EXPECT_EQ(form4->windowTitle(), "Joysticks");
  EXPECT_EQ(Child<QGroupBox>(form4, "Frame1")->title(), "Player 1 - Pad B");
  EXPECT_EQ(Child<QGroupBox>(form4, "Frame2")->title(), "Player 2 - Pad A");
  // Rows: Left, Right, Thurst, Fire, Weapon (entry 6), Power (entry 4), Eject (entry 5).
  const int player1[7] = {0, 3, 3, 4, 18, 5, 6};
  const int player2[7] = {18, 18, -1, 17, 1, 18, 0};
  for (int row = 0; row < 7; ++row) {
    EXPECT_EQ(Row(form4, row)->currentIndex(), player1[row]) << kJoystickRows[static_cast<size_t>(row)];
    EXPECT_EQ(Row(form4, 7 + row)->currentIndex(), player2[row]) << kJoystickRows[static_cast<size_t>(row)];
  }
  EXPECT_EQ(Row(form4, 4)->currentText(), "Button 15");
  EXPECT_EQ(Row(form4, 9)->currentText(), "");
  EXPECT_EQ(Row(form4, 0)->count(), 19);
  EXPECT_EQ(Row(form4, 0)->itemText(4), "Button 1");
  Unload(form2);
}

// OK rewrites the lines of a joystick player from the rows and keeps a keyboard player's lines,
// reading them again at OK so keys recorded meanwhile survive.
TEST_F(InputWindowsTest, JoysticksOkWritesJoystickPlayersAndKeepsKeyboardPlayers) {
  AttachedJoysticks sticks({"Pad A"});
  const std::string keys = NumberLines({87, 65, 68, 32, 81, 69, 49, 38, 37, 39, 17, 16, 46, 8});
  const struct {
    const char* name;
    const char* device;
    const char* clickAfterOpening;  // a device chosen in Form2 while Form4 is open
    std::string written;
  } cases[] = {
      // Both players' rows are set to Left none, Right 2, ..., Eject 7; the lines hold them by the
      // entry the battle reads for the row's action: Power (6) in line 5, Eject (7) in line 6,
      // Weapon (5) in line 7. A row without a choice is written as -1.
      {"player 1 on a joystick", " 1 \r\n 0 \r\n", nullptr, NumberLines({-1, 2, 3, 4, 6, 7, 5, 38, 37, 39, 17, 16, 46, 8})},
      {"player 2 on a joystick", " 0 \r\n 1 \r\n", nullptr, NumberLines({87, 65, 68, 32, 81, 69, 49, -1, 2, 3, 4, 6, 7, 5})},
      {"both on the keyboard at OK", " 1 \r\n 0 \r\n", "Option1", keys},
      {"a joystick no longer attached", " 2 \r\n 0 \r\n", nullptr, NumberLines({-1, 2, 3, 4, 6, 7, 5, 38, 37, 39, 17, 16, 46, 8})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteBytes(KeysFile(), NumberLines({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    QWidget* form2 = OpenControls(c.device);
    QPointer<QWidget> form4 = OpenJoysticks(form2);
    ASSERT_TRUE(form4);
    if (c.clickAfterOpening) Click(form2, c.clickAfterOpening);
    for (int row = 0; row < 14; ++row) Row(form4, row)->setCurrentIndex(row % 7 == 0 ? -1 : row % 7 + 1);
    WriteBytes(KeysFile(), keys);  // the key setup ran after Form4 opened
    Child<QPushButton>(form4, "Command1")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(form4);
    EXPECT_EQ(FileBytes(KeysFile()), c.written);
    Unload(form2);
  }
}

}  // namespace
}  // namespace quorvex
