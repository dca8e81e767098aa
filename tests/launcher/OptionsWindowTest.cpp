// The options window, driven from the launcher the way a player uses it: what "OK" writes, what a
// second opening shows after "OK" or "Cancel", the reversed "Framerate" bar and its "Default", and
// a missing or short file.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

#include <system_error>

#include "SettingsTesting.h"
#include "game/launcher/Launcher.h"
#include "game/launcher/OptionsWindow.h"
#include "tests/support/TempDir.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;
using testing::Child;
using testing::FileBytes;
using testing::NumberLines;
using testing::WriteBytes;

// A launcher on a folder of its own; the working folder goes back afterwards.
class OptionsWindowTest : public ::testing::Test {
 protected:
  OptionsWindowTest() : saved_(fs::current_path()) {
    testing::SettingsApp();
    launcher_ = OpenLauncher(dir_.path(), nullptr);
  }
  ~OptionsWindowTest() override {
    launcher_.reset();
    std::error_code ec;
    fs::current_path(saved_, ec);
  }
  QWidget* GameOptions() {
    Child<QPushButton>(launcher_->form3.get(), "Command3")->click();
    return launcher_->form6;
  }
  fs::path File() const { return dir_.path() / "options.cfg"; }

  quorvex::testing::TempDir dir_;
  fs::path saved_;
  std::unique_ptr<Launcher> launcher_;
};

// Every control moved away from the file's value.
void ChangeEveryControl(QWidget* w) {
  for (const char* box : {"Check1", "Check2", "Check3", "Check4", "Check5", "Check6", "Check7", "Check8"}) {
    Child<QCheckBox>(w, box)->toggle();
  }
  for (int i = 0; i < 9; ++i) Child<QCheckBox>(w, QString("crit_%1").arg(i))->toggle();
  Child<QScrollBar>(w, "HScroll1")->setValue(300);
  Child<QScrollBar>(w, "HScroll2")->setValue(-7);  // the bar holds the delay negated
  Child<QScrollBar>(w, "HScroll3")->setValue(128);
  Child<QScrollBar>(w, "HScroll4")->setValue(-2500);
}

const std::string kFile = NumberLines({1, 50, 1, 1, 1, 1, 20, 0, 1, 255, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1});
// kFile after ChangeEveryControl: line 8 stays 0.
const std::string kChanged =
    NumberLines({0, 300, 0, 0, 0, 0, 7, 0, 0, 128, -2500, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0});

TEST_F(OptionsWindowTest, OkWritesEveryLineAndTheNextOpeningShowsTheConfirmedValues) {
  WriteBytes(File(), kFile);
  QPointer<QWidget> form6 = GameOptions();
  ASSERT_TRUE(form6);
  EXPECT_EQ(form6->windowTitle(), "Quorvex - Options");
  EXPECT_EQ(Child<QScrollBar>(form6, "HScroll1")->value(), 50);
  ChangeEveryControl(form6);
  Child<QPushButton>(form6, "Command1")->click();
  EXPECT_EQ(FileBytes(File()), kChanged);
  ASSERT_TRUE(form6) << "OK hides the window; it stays loaded";
  EXPECT_FALSE(form6->isVisible());

  // Another program changes the file: the kept window still shows what was confirmed.
  WriteBytes(File(), kFile);
  EXPECT_EQ(GameOptions(), form6.data());
  EXPECT_TRUE(form6->isVisible());
  EXPECT_EQ(Child<QScrollBar>(form6, "HScroll1")->value(), 300);
  EXPECT_FALSE(Child<QCheckBox>(form6, "Check1")->isChecked());
  Child<QPushButton>(form6, "Command1")->click();
  EXPECT_EQ(FileBytes(File()), kChanged);
}

TEST_F(OptionsWindowTest, CancelWritesNothingAndTheNextOpeningReadsTheFileAgain) {
  WriteBytes(File(), kFile);
  QPointer<QWidget> form6 = GameOptions();
  ChangeEveryControl(form6);
  Child<QPushButton>(form6, "Command3")->click();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(form6) << "Cancel unloads the window";
  EXPECT_EQ(FileBytes(File()), kFile);

  WriteBytes(File(), kChanged);
  form6 = GameOptions();
  EXPECT_EQ(Child<QScrollBar>(form6, "HScroll1")->value(), 300);
  EXPECT_EQ(Child<QScrollBar>(form6, "HScroll4")->value(), -2500);
  EXPECT_TRUE(Child<QCheckBox>(form6, "Check6")->isChecked());
  EXPECT_FALSE(Child<QCheckBox>(form6, "crit_8")->isChecked());
}

// The bar is reversed: pushed to its right end it gives the shortest delay.
TEST_F(OptionsWindowTest, FramerateEndsWriteOneAndHundredAndDefaultChangesOnlyTheFrameRate) {
  WriteBytes(File(), kFile);
  QWidget* form6 = GameOptions();
  auto* rate = Child<QScrollBar>(form6, "HScroll2");
  // The arrow buttons at either end of the bar, clicked until the bar stops.
  const struct {
    bool rightEnd;
    int written;
    const char* shown;
  } ends[] = {{true, 1, "1 ms (500 frames per second)"}, {false, 100, "100 ms (10 frames per second)"}};
  for (const auto& end : ends) {
    const QPoint arrow(end.rightEnd ? rate->width() - 3 : 2, rate->height() / 2);
    for (int i = 0; i < 120; ++i) QTest::mouseClick(rate, Qt::LeftButton, Qt::NoModifier, arrow);
    EXPECT_EQ(Child<QLabel>(form6, "HScroll2Value")->text().toStdString(), end.shown);
    Child<QPushButton>(form6, "Command1")->click();
    EXPECT_EQ(SplitLines(FileBytes(File()))[6], " " + std::to_string(end.written) + " ");
    GameOptions();
  }

  ChangeEveryControl(form6);
  Child<QPushButton>(form6, "Command2")->click();
  EXPECT_EQ(Child<QLabel>(form6, "HScroll2Value")->text().toStdString(), "20 ms (48 frames per second)");
  Child<QPushButton>(form6, "Command1")->click();
  std::string expected = kChanged;
  expected.replace(expected.find(" 7 \r\n"), 5, " 20 \r\n");
  EXPECT_EQ(FileBytes(File()), expected);
}

// A missing or short file shows the game's own defaults for what is missing, and opening the
// window writes nothing. Values outside a bar's range take its nearer end.
TEST_F(OptionsWindowTest, MissingShortOrOddFilesOpenWithTheGamesDefaults) {
  const struct {
    const char* name;
    const char* text;  // nullptr: no file
    int stars, rate, music, sound;
    bool soundOn, gravity, junk, lastCritical;
  } cases[] = {
      {"missing", nullptr, 0, 20, 255, 0, true, false, false, true},
      {"short", " 0 \r\n 40 \r\n", 40, 20, 255, 0, false, false, false, true},
      {"out of range", " 2 \r\n 5000 \r\n 1 \r\n 1 \r\n 1 \r\n 1 \r\n 300 \r\n 9 \r\n 1 \r\n -4 \r\n 7 \r\n 2 \r\n 1 \r\n",
       1000, 100, 0, 0, true, false, true, true},
      {"halves", " 1 \r\n 2.5 \r\n 1 \r\n 1 \r\n 1 \r\n 1 \r\n 0 \r\n 0 \r\n 1 \r\n 99.5 \r\n -10001 \r\n 1 \r\n 0 \r\n"
                 " 1 \r\n 1 \r\n 1 \r\n 1 \r\n 1 \r\n 1 \r\n 1 \r\n 1 \r\n 0 \r\n",
       2, 1, 100, -10000, true, true, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(File());
    if (c.text) WriteBytes(File(), c.text);
    const std::string before = FileBytes(File());
    QPointer<QWidget> form6 = GameOptions();
    EXPECT_EQ(Child<QScrollBar>(form6, "HScroll1")->value(), c.stars);
    EXPECT_EQ(-Child<QScrollBar>(form6, "HScroll2")->value(), c.rate);
    EXPECT_EQ(Child<QScrollBar>(form6, "HScroll3")->value(), c.music);
    EXPECT_EQ(Child<QScrollBar>(form6, "HScroll4")->value(), c.sound);
    EXPECT_EQ(Child<QCheckBox>(form6, "Check1")->isChecked(), c.soundOn);
    EXPECT_EQ(Child<QCheckBox>(form6, "Check6")->isChecked(), c.gravity);
    EXPECT_EQ(Child<QCheckBox>(form6, "Check8")->isChecked(), c.junk);
    EXPECT_EQ(Child<QCheckBox>(form6, "crit_8")->isChecked(), c.lastCritical);
    EXPECT_EQ(FileBytes(File()), before);
    Child<QPushButton>(form6, "Command3")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

// The display choices live in display.cfg beside options.cfg; options.cfg keeps its 22 lines.
TEST_F(OptionsWindowTest, DisplayChoicesHaveAFileOfTheirOwn) {
  const fs::path display = dir_.path() / "display.cfg";
  struct Case {
    const char* file;  // nullptr: no display.cfg yet
    bool fullScreen, smooth;
  };
  for (const Case& c : {Case{nullptr, true, true}, Case{" 0 \r\n 0 \r\n", false, false},
                        Case{" 1 \r\n", true, true}}) {
    SCOPED_TRACE(c.file ? c.file : "missing");
    fs::remove(display);
    if (c.file) WriteBytes(display, c.file);
    QPointer<QWidget> form6 = GameOptions();
    EXPECT_EQ(Child<QCheckBox>(form6, "CheckFullScreen")->isChecked(), c.fullScreen);
    EXPECT_EQ(Child<QRadioButton>(form6, "OptionSmooth")->isChecked(), c.smooth);
    EXPECT_EQ(Child<QRadioButton>(form6, "OptionSharp")->isChecked(), !c.smooth);
    Child<QCheckBox>(form6, "CheckFullScreen")->toggle();
    Child<QRadioButton>(form6, c.smooth ? "OptionSharp" : "OptionSmooth")->click();
    Child<QPushButton>(form6, "Command1")->click();
    EXPECT_EQ(FileBytes(display), NumberLines({!c.fullScreen, !c.smooth}));
    const std::string options = FileBytes(File());
    EXPECT_EQ(22, std::count(options.begin(), options.end(), '\n'));
    form6->close();
    delete form6.data();
  }
}

// The training pilot's level: pilot.cfg, read leniently as every setting (text reads as 0; a number
// other than 0 or 2 is normal), written by
// "OK" only, and options.cfg keeps its 22 lines.
TEST_F(OptionsWindowTest, PilotLevelHasAFileOfItsOwn) {
  const fs::path pilot = dir_.path() / "pilot.cfg";
  struct Case {
    const char* file;  // nullptr: no pilot.cfg yet
    const char* shown;
    int chosen;
  };
  for (const Case& c : {Case{nullptr, "normal", 2}, Case{" 2 \r\n", "hard", 0}, Case{" 0 \r\n", "easy", 1},
                        Case{" 7 \r\n", "normal", 0}, Case{"x\r\n", "easy", 2}}) {
    SCOPED_TRACE(c.file ? c.file : "missing");
    fs::remove(pilot);
    if (c.file) WriteBytes(pilot, c.file);
    QPointer<QWidget> form6 = GameOptions();
    auto* combo = Child<QComboBox>(form6, "ComboPilot");
    EXPECT_EQ(combo->currentText().toStdString(), c.shown);
    combo->setCurrentIndex(c.chosen);
    Child<QPushButton>(form6, "Command3")->click();  // "Cancel" writes nothing
    EXPECT_EQ(fs::exists(pilot), c.file != nullptr);
    form6 = GameOptions();
    Child<QComboBox>(form6, "ComboPilot")->setCurrentIndex(c.chosen);
    Child<QPushButton>(form6, "Command1")->click();
    EXPECT_EQ(FileBytes(pilot), NumberLines({c.chosen}));
    const std::string options = FileBytes(File());
    EXPECT_EQ(22, std::count(options.begin(), options.end(), '\n'));
    form6->close();
    delete form6.data();
  }
}

}  // namespace
}  // namespace quorvex
