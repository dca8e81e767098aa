// The help overlay: F1 opens and closes it on any screen, Esc closes it without pausing, and its
// lines say what the screen expects with both players' controls as the settings have them.
#include <gtest/gtest.h>

#include "game/controls/Controls.h"
#include "game/controls/Events.h"
#include "game/controls/Gamepads.h"
#include "game/controls/Help.h"
#include "game/render/Font.h"
#include "platform/Keys.h"
#include "tests/core/CoreTesting.h"

namespace quorvex {
namespace {

bool Has(const std::vector<std::string>& lines, const std::string& text) {
  for (const std::string& line : lines) {
    if (line.find(text) != std::string::npos) return true;
  }
  return false;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string all;
  for (const std::string& line : lines) all += line + "\n";
  return all;
}

TEST(Help, LinesFollowTheScreenAndTheControlsInForce) {
  const struct {
    const char* name;
    ScreenId screen;
    bool training;
    std::array<uint8_t, 2> devices;
    std::vector<std::string> expected;
  } cases[] = {
      {"armada, own keys", ScreenId::Armada, false, {0, 0},
       {"player 1 left column, player 2 right", "player 1 (keyboard): thrust i, left j", "fire space",
        "player 2 (keyboard): thrust up"}},
      {"duel in training", ScreenId::Duel, true, {0, 0},
       {"esc pauses", "player 2: the computer pilot", "(self destruct: backspace twice)"}},
      {"joystick player", ScreenId::Ships, false, {1, 0}, {"select your ship", "player 1 (joystick 1): left -x axis",
                                                           "fire button 1"}},
      {"gamepad player", ScreenId::Pause, false, {kPadDevice1, 0},
       {"game paused", "(pad: d-pad)", "player 1 (gamepad): left d-pad left or left stick left", "fire b,",
        "self destruct back with fire held"}},
      {"game over", ScreenId::GameOver, false, {0, 0}, {"enter (pad: a) shows the results"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    GameWindow w;
    w.help.screen = c.screen;
    w.trainingMode = c.training;
    w.inputDevice = c.devices;
    w.controlTable[0] = c.devices[0] == 1 ? std::array<double, 7>{0, 1, 2, 4, 5, 6, 7}
                                          : std::array<double, 7>{'I', 'J', 'L', ' ', 'U', 'O', '8'};
    w.controlTable[1] = {vk::Up, vk::Left, vk::Right, vk::Control, vk::Shift, vk::Delete, vk::Back};
    GamepadConfig pads = DefaultGamepadConfig();
    pads.actions[0][stick_entry::Fire] = PadBit(pad::B);
    w.joysticks.layout[0] = PadLayoutFor(pads, 0);
    const std::vector<std::string> lines = HelpLines(w);
    for (const std::string& text : c.expected) EXPECT_TRUE(Has(lines, text)) << text << " in\n" << Joined(lines);
    for (const std::string& line : lines) {
      EXPECT_LE(line.size(), 58u) << line;
      for (char ch : line) EXPECT_FALSE(ch >= 'A' && ch <= 'Z') << "the font has lower case only: " << line;
    }
  }
}

TEST(Help, F1OpensEscClosesWithoutPausing) {
  ManualClock clock;
  auto w = testing::HeadlessWindow(".", &clock);
  const struct {
    int key;
    bool shown, paused;
  } steps[] = {{vk::F1, true, false}, {vk::Escape, false, false}, {vk::F1, true, false},
               {vk::F1, false, false}, {vk::Escape, false, true}};
  for (const auto& s : steps) {
    w->events.keys.push_back(KeyEvent{true, s.key});
    w->events.keys.push_back(KeyEvent{false, s.key});
    DoEvents(*w);
    EXPECT_EQ(w->help.shown, s.shown) << s.key;
    EXPECT_EQ(w->help.drawn, s.shown);
    EXPECT_EQ(w->pauseRequested, s.paused) << s.key;
  }
}

// The panel is a framed, filled picture whose lines are drawn in the font; none of it is black,
// which would let the game through where the panel should hide it.
TEST(Help, PanelIsFilledAndFramed) {
  GameWindow w;
  w.fontSheet = Surface(kSmallAdvance * kFontGlyphs, 80);
  const Surface panel = HelpPanel(w);
  const Rect area = HelpPanelArea(w);
  EXPECT_EQ(panel.width(), area.width());
  EXPECT_EQ(panel.height(), area.height());
  EXPECT_GE(area.left, 0);
  EXPECT_LE(area.right, kScreenWidth);
  EXPECT_LE(area.bottom, kScreenHeight);
  EXPECT_NE(panel.pixel(0, 0), panel.pixel(area.width() / 2, area.height() - 4));
  EXPECT_NE(panel.pixel(area.width() / 2, area.height() - 4), 0);
}

}  // namespace
}  // namespace quorvex
