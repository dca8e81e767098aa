#include "game/controls/Help.h"

#include <algorithm>
#include <cctype>

#include "game/controls/Controls.h"
#include "game/controls/Gamepads.h"
#include "game/render/Font.h"
#include "platform/Keys.h"

namespace quorvex {

namespace {

constexpr int kPanelLineHeight = 17;
constexpr int kPanelMargin = 12;
constexpr size_t kPanelColumns = 58;  // small glyphs across the panel
constexpr uint16_t kPanelFill = 0x0865;    // a dark blue: black would let the game through
constexpr uint16_t kPanelBorder = 0x5AFF;  // a light blue frame

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string KeyText(double code) { return Lower(KeyNameOf(static_cast<int>(code))); }

// A joystick control code as the joysticks window names it.
std::string StickCodeText(double code) {
  constexpr const char* kAxes[4] = {"-x axis", "+x axis", "-y axis", "+y axis"};
  const int c = static_cast<int>(code);
  if (c >= 0 && c < stick_code::FirstButton) return kAxes[c];
  if (c >= stick_code::FirstButton && c < stick_code::FirstButton + 32) return "button " + std::to_string(c - 3);
  return "none";
}

// Lines of at most kPanelColumns characters from parts joined by ", ".
void AddWrapped(std::vector<std::string>& lines, const std::string& head, const std::vector<std::string>& parts) {
  std::string line = head;
  for (size_t i = 0; i < parts.size(); ++i) {
    const std::string part = parts[i] + (i + 1 < parts.size() ? "," : "");
    if (line.size() + 1 + part.size() > kPanelColumns && line.size() > 2) {
      lines.push_back(line);
      line = "  " + part;
    } else {
      line += (line.empty() ? "" : " ") + part;
    }
  }
  lines.push_back(line);
}

void PlayerLines(const GameWindow& w, int p, std::vector<std::string>& lines) {
  const std::string who = "player " + std::to_string(p + 1);
  const auto& table = w.controlTable[static_cast<size_t>(p)];
  const int device = w.inputDevice[static_cast<size_t>(p)];
  if (p == 1 && w.trainingMode && (device == 0 || IsPadDevice(device))) {
    lines.push_back(who + ": the computer pilot");
    lines.push_back("  (self destruct: " + KeyText(table[key_entry::SelfDestruct]) + " twice)");
    return;
  }
  if (IsPadDevice(device)) {
    const PadLayout& layout = w.joysticks.layout[DeviceSlot(device)];
    auto pad = [&](int entry) { return Lower(PadControlsText(layout.buttons[static_cast<size_t>(entry)])); };
    using namespace stick_entry;
    AddWrapped(lines, who + " (gamepad):",
               {"left " + pad(TurnLeft), "right " + pad(TurnRight), "thrust " + pad(Thrust), "fire " + pad(Fire),
                "weapon " + pad(Weapon), "power " + pad(Power), "self destruct " + pad(Eject) + " with fire held",
                "start pauses"});
    return;
  }
  if (device == 1 || device == 2) {
    using namespace stick_entry;
    AddWrapped(lines, who + " (joystick " + std::to_string(device) + "):",
               {"left " + StickCodeText(table[TurnLeft]), "right " + StickCodeText(table[TurnRight]),
                "thrust " + StickCodeText(table[Thrust]), "fire " + StickCodeText(table[Fire]),
                "weapon " + StickCodeText(table[Weapon]), "power " + StickCodeText(table[Power]),
                "self destruct " + StickCodeText(table[Eject]) + " with fire held"});
    return;
  }
  using namespace key_entry;
  const bool padWaits = IsPadDevice(w.pads.device[static_cast<size_t>(p)]);
  AddWrapped(lines, who + (padWaits ? " (keyboard until a gamepad comes):" : " (keyboard):"),
             {"thrust " + KeyText(table[Thrust]), "left " + KeyText(table[TurnLeft]), "right " + KeyText(table[TurnRight]),
              "fire " + KeyText(table[Fire]), "weapon " + KeyText(table[Weapon]), "power " + KeyText(table[Power]),
              "self destruct " + KeyText(table[SelfDestruct]) + " twice"});
}

bool AnyPad(const GameWindow& w) { return IsPadDevice(w.inputDevice[0]) || IsPadDevice(w.inputDevice[1]); }

}  // namespace

std::vector<std::string> HelpLines(const GameWindow& w) {
  std::vector<std::string> lines;
  const std::string choose = AnyPad(w) ? "up/down (pad: d-pad) choose, enter (pad: a) confirms"
                                       : "up/down choose, enter confirms";
  switch (w.help.screen) {
    case ScreenId::MainMenu:
      lines = {"main menu: battle, training against the computer, quit", choose};
      break;
    case ScreenId::Armada:
      lines = {"armada selection: player 1 left column, player 2 right",
               "fire adds the ship shown, weapon takes the last one off",
               "left and right move through the ships",
               "up/down: done or cancel, enter confirms (both need ships)"};
      break;
    case ScreenId::Ships:
      lines = {"select your ship: player 1 top, player 2 below",
               "left and right move through your armada, fire picks one",
               "up/down: begin, back or quit, enter confirms"};
      break;
    case ScreenId::Duel:
      lines = {"duel: esc pauses, enter ends it once a ship is destroyed",
               "f4 aim markers, f5 destroys both ships, f6 held: no limit"};
      break;
    case ScreenId::Pause:
      lines = {"game paused: resume, massacre (both ships) or quit", choose};
      break;
    case ScreenId::GameOver:
      lines = {"game over: enter (pad: a) shows the results"};
      break;
    case ScreenId::Results:
      lines = {"battle results: enter (pad: a) goes back to the main menu"};
      break;
  }
  lines.push_back("");
  PlayerLines(w, 0, lines);
  PlayerLines(w, 1, lines);
  lines.push_back("");
  lines.push_back("f11 full screen, f12 screenshot, f1 or esc: close help");
  return lines;
}

Rect HelpPanelArea(const GameWindow& w) {
  const int height = static_cast<int>(HelpLines(w).size()) * kPanelLineHeight + 2 * kPanelMargin;
  const int width = static_cast<int>(kPanelColumns) * kSmallAdvance + 2 * kPanelMargin;
  const int left = (kScreenWidth - width) / 2;
  const int top = std::max(0, (kScreenHeight - height) / 2);
  return Rect{left, top, left + width, top + height};
}

Surface HelpPanel(const GameWindow& w) {
  const std::vector<std::string> lines = HelpLines(w);
  const Rect area = HelpPanelArea(w);
  Surface panel(area.width(), area.height());
  panel.BltColorFill(Rect{0, 0, area.width(), area.height()}, kPanelBorder);
  panel.BltColorFill(Rect{2, 2, area.width() - 2, area.height() - 2}, kPanelFill);
  for (size_t i = 0; i < lines.size(); ++i) {
    FontTextOn(panel, w.fontSheet, kPanelMargin, kPanelMargin + static_cast<int>(i) * kPanelLineHeight, lines[i], true,
               i == 0);
  }
  return panel;
}

void HelpKeys(GameWindow& w) {
  if (!w.help.shown) return;
  for (KeyEvent& key : w.events.keys) {
    if (key.code == vk::Escape) key.code = vk::F1;
  }
}

void ShowHelpOverlay(GameWindow& w) {
  HelpOverlay& h = w.help;
  if (h.shown && (!h.drawn || h.drawnFor != h.screen)) {
    if (w.display.open) {
      const Rect area = HelpPanelArea(w);
      SetDisplayOverlay(w.display, HelpPanel(w), area.left, area.top);
    }
    h.drawn = true;
    h.drawnFor = h.screen;
  } else if (!h.shown && h.drawn) {
    if (w.display.open) SetDisplayOverlay(w.display, Surface(), 0, 0);
    h.drawn = false;
  }
}

}  // namespace quorvex
