// The key setup window recording both players' keys, an abandoned setup, and the Qt key table
// against the game window's SDL table.
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <set>

#include "SettingsTesting.h"
#include "game/launcher/InputWindows.h"
#include "game/launcher/QtKeys.h"
#include "platform/Keys.h"
#include "tests/support/TempDir.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;
using testing::Child;
using testing::FileBytes;
using testing::NumberLines;
using testing::WriteBytes;

struct Press {
  Qt::Key key;
  Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

QWidget* OpenSetup(const fs::path& file) {
  testing::SettingsApp();
  return OpenKeySetupWindow(nullptr, file);
}

const std::string kOldKeys = NumberLines({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14});

// Keys Qt would otherwise use for itself (Tab, Enter, Space, Esc), a key given twice, a shifted
// digit, keypad keys with Num Lock on and off, and a held key's repeats.
TEST(KeySetup, FourteenKeysAreRecordedInOrderThenWritten) {
  quorvex::testing::TempDir dir;
  const fs::path file = dir.path() / "keys.cfg";
  WriteBytes(file, kOldKeys);
  QPointer<QWidget> setup = OpenSetup(file);
  EXPECT_EQ(setup->windowTitle(), "Key setup");
  auto* label1 = Child<QLabel>(setup, "Label1");
  auto* label2 = Child<QLabel>(setup, "Label2");
  auto* ok = Child<QPushButton>(setup, "Command1");

  const Press presses[14] = {
      {Qt::Key_W}, {Qt::Key_Tab}, {Qt::Key_Return}, {Qt::Key_Space}, {Qt::Key_Escape}, {Qt::Key_W},
      {Qt::Key_Exclam, Qt::ShiftModifier}, {Qt::Key_8, Qt::KeypadModifier}, {Qt::Key_Left, Qt::KeypadModifier},
      {Qt::Key_Left}, {Qt::Key_Control, Qt::ControlModifier}, {Qt::Key_Shift, Qt::ShiftModifier},
      {Qt::Key_F7}, {Qt::Key_Semicolon},
  };
  const std::vector<int> codes = {'W', 9, 13, 32, 27, 'W', '1', 104, 100, 37, 17, 16, 118, 186};
  for (int i = 0; i < 14; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(label1->text(), i < 7 ? "Press key for PL1:" : "Press key for PL2:");
    EXPECT_EQ(label2->text(), kKeyActions[static_cast<size_t>(i % 7)]);
    EXPECT_FALSE(ok->isEnabled());
    EXPECT_EQ(FileBytes(file), kOldKeys) << "nothing is written before the last key";
    // The key as the window system delivers it (a modifier held since an earlier prompt shows in
    // `modifiers`), then its repeats while held, which answer no further prompt.
    QKeyEvent press(QEvent::KeyPress, presses[i].key, presses[i].modifiers);
    QApplication::sendEvent(setup, &press);
    QKeyEvent repeat(QEvent::KeyPress, presses[i].key, presses[i].modifiers, QString(), true);
    QApplication::sendEvent(setup, &repeat);
    QKeyEvent release(QEvent::KeyRelease, presses[i].key, presses[i].modifiers);
    QApplication::sendEvent(setup, &release);
    ASSERT_TRUE(setup) << "no key closes the window";
  }
  EXPECT_EQ(FileBytes(file), NumberLines(codes));
  EXPECT_TRUE(label2->text().isEmpty());
  EXPECT_TRUE(ok->isEnabled());
  QTest::keyClick(setup, Qt::Key_B);
  EXPECT_EQ(FileBytes(file), NumberLines(codes)) << "keys after the last one are not recorded";
  ok->click();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(setup);
}

TEST(KeySetup, AbandonedSetupLeavesTheFileAsItWas) {
  quorvex::testing::TempDir dir;
  const struct {
    const char* name;
    bool fileThere;
    bool byCancel;
  } cases[] = {{"closed", true, false}, {"cancelled", true, true}, {"closed without a file", false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path file = dir.path() / "keys.cfg";
    fs::remove(file);
    if (c.fileThere) WriteBytes(file, kOldKeys);
    QPointer<QWidget> setup = OpenSetup(file);
    for (Qt::Key key : {Qt::Key_A, Qt::Key_B, Qt::Key_C, Qt::Key_D, Qt::Key_E, Qt::Key_F, Qt::Key_G, Qt::Key_H}) {
      QTest::keyClick(setup, key);
    }
    if (c.byCancel) {
      Child<QPushButton>(setup, "Command2")->click();
    } else {
      setup->close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(setup);
    EXPECT_EQ(FileBytes(file), c.fileThere ? kOldKeys : "<missing>");
  }
}

// Both tables give the same code for every key both know, and together they cover the keys the
// game names.
TEST(KeyTables, QtAndSdlGiveTheSameCodeForEveryKeyTheyShare) {
  struct Pair {
    SDL_Keycode sdl;
    int qt;
    bool keypad;
  };
  std::vector<Pair> pairs = {
      {SDLK_BACKSPACE, Qt::Key_Backspace, false}, {SDLK_TAB, Qt::Key_Tab, false}, {SDLK_RETURN, Qt::Key_Return, false},
      {SDLK_KP_ENTER, Qt::Key_Enter, true}, {SDLK_LSHIFT, Qt::Key_Shift, false}, {SDLK_LCTRL, Qt::Key_Control, false},
      {SDLK_LALT, Qt::Key_Alt, false}, {SDLK_RALT, Qt::Key_AltGr, false}, {SDLK_PAUSE, Qt::Key_Pause, false},
      {SDLK_CAPSLOCK, Qt::Key_CapsLock, false}, {SDLK_ESCAPE, Qt::Key_Escape, false}, {SDLK_SPACE, Qt::Key_Space, false},
      {SDLK_PAGEUP, Qt::Key_PageUp, false}, {SDLK_PAGEDOWN, Qt::Key_PageDown, false}, {SDLK_END, Qt::Key_End, false},
      {SDLK_HOME, Qt::Key_Home, false}, {SDLK_LEFT, Qt::Key_Left, false}, {SDLK_UP, Qt::Key_Up, false},
      {SDLK_RIGHT, Qt::Key_Right, false}, {SDLK_DOWN, Qt::Key_Down, false}, {SDLK_INSERT, Qt::Key_Insert, false},
      {SDLK_DELETE, Qt::Key_Delete, false}, {SDLK_NUMLOCKCLEAR, Qt::Key_NumLock, false},
      {SDLK_SCROLLLOCK, Qt::Key_ScrollLock, false}, {SDLK_KP_MULTIPLY, Qt::Key_Asterisk, true},
      {SDLK_KP_PLUS, Qt::Key_Plus, true}, {SDLK_KP_MINUS, Qt::Key_Minus, true}, {SDLK_KP_PERIOD, Qt::Key_Period, true},
      {SDLK_KP_PERIOD, Qt::Key_Delete, true}, {SDLK_KP_DIVIDE, Qt::Key_Slash, true},
  };
  // US punctuation, plain and with Shift held.
  const SDL_Keycode kPunctuation[] = {SDLK_SEMICOLON, SDLK_EQUALS, SDLK_COMMA, SDLK_MINUS, SDLK_PERIOD, SDLK_SLASH,
                                      SDLK_BACKQUOTE, SDLK_LEFTBRACKET, SDLK_BACKSLASH, SDLK_RIGHTBRACKET, SDLK_QUOTE};
  const int kPlain[] = {Qt::Key_Semicolon, Qt::Key_Equal, Qt::Key_Comma, Qt::Key_Minus, Qt::Key_Period, Qt::Key_Slash,
                        Qt::Key_QuoteLeft, Qt::Key_BracketLeft, Qt::Key_Backslash, Qt::Key_BracketRight, Qt::Key_Apostrophe};
  const int kShifted[] = {Qt::Key_Colon, Qt::Key_Plus, Qt::Key_Less, Qt::Key_Underscore, Qt::Key_Greater, Qt::Key_Question,
                          Qt::Key_AsciiTilde, Qt::Key_BraceLeft, Qt::Key_Bar, Qt::Key_BraceRight, Qt::Key_QuoteDbl};
  for (size_t i = 0; i < std::size(kPunctuation); ++i) {
    pairs.push_back({kPunctuation[i], kPlain[i], false});
    pairs.push_back({kPunctuation[i], kShifted[i], false});
  }
  const int kShiftedDigits[10] = {Qt::Key_ParenRight, Qt::Key_Exclam, Qt::Key_At, Qt::Key_NumberSign, Qt::Key_Dollar,
                                  Qt::Key_Percent, Qt::Key_AsciiCircum, Qt::Key_Ampersand, Qt::Key_Asterisk, Qt::Key_ParenLeft};
  for (int i = 0; i < 10; ++i) pairs.push_back({SDLK_0 + i, kShiftedDigits[i], false});
  for (int i = 0; i < 26; ++i) pairs.push_back({SDLK_a + i, Qt::Key_A + i, false});
  for (int i = 0; i < 10; ++i) pairs.push_back({SDLK_0 + i, Qt::Key_0 + i, false});
  for (int i = 0; i < 12; ++i) pairs.push_back({SDLK_F1 + i, Qt::Key_F1 + i, false});
  // The keypad digits, with Num Lock on and off (Qt then names the key printed under the digit).
  const SDL_Keycode kKeypad[10] = {SDLK_KP_0, SDLK_KP_1, SDLK_KP_2, SDLK_KP_3, SDLK_KP_4,
                                   SDLK_KP_5, SDLK_KP_6, SDLK_KP_7, SDLK_KP_8, SDLK_KP_9};
  const int kNumLockOff[10] = {Qt::Key_Insert, Qt::Key_End,   Qt::Key_Down, Qt::Key_PageDown, Qt::Key_Left,
                               Qt::Key_Clear,  Qt::Key_Right, Qt::Key_Home, Qt::Key_Up,       Qt::Key_PageUp};
  for (int i = 0; i < 10; ++i) {
    pairs.push_back({kKeypad[i], Qt::Key_0 + i, true});
    pairs.push_back({kKeypad[i], kNumLockOff[i], true});
  }

  std::set<int> covered;
  for (const Pair& p : pairs) {
    const int code = VirtualKeyFromSdl(p.sdl);
    EXPECT_NE(code, 0) << SDL_GetKeyName(p.sdl);
    EXPECT_EQ(VirtualKeyFromQt(p.qt, p.keypad), code) << SDL_GetKeyName(p.sdl) << (p.keypad ? " (keypad)" : "");
    covered.insert(code);
  }
  for (const KeyName& k : KnownKeys()) EXPECT_TRUE(covered.count(k.code)) << k.name;
  // Keys neither table knows record nothing.
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Adiaeresis, false), 0);
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Meta, false), 0);
}

}  // namespace
}  // namespace quorvex
