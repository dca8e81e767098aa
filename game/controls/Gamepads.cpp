#include "game/controls/Gamepads.h"

#include "platform/Keys.h"

namespace quorvex {

PadLayout PadLayoutFor(const GamepadConfig& config, int player) {
  PadLayout layout;
  layout.deadZone = config.deadZone;
  const auto& actions = config.actions[static_cast<size_t>(player)];
  for (size_t a = 0; a < actions.size(); ++a) layout.buttons[a] = actions[a];
  layout.buttons[pad_button::MenuUp] = PadBit(pad::DpadUp) | PadBit(pad::LeftStickUp);
  layout.buttons[pad_button::MenuDown] = PadBit(pad::DpadDown) | PadBit(pad::LeftStickDown);
  layout.buttons[pad_button::Confirm] = PadBit(pad::A);
  layout.buttons[pad_button::Start] = PadBit(pad::Start);
  return layout;
}

void AssignPadSlots(GameWindow& w, const GamepadConfig& config) {
  Joysticks& sticks = w.joysticks;
  w.pads = PadPlay{};
  for (int slot = 0; slot < 2; ++slot) {
    sticks.use[slot] = SlotUse::Spare;
    sticks.padWanted[slot].clear();
    sticks.rumble[slot] = false;
  }
  bool anyPad = false;
  for (size_t p = 0; p < 2; ++p) anyPad |= w.inputDevice[p] == 0 && config.player[p].kind != PadChoiceKind::Off;
  if (!anyPad) return;
  for (size_t p = 0; p < 2; ++p) {
    const int slot = DeviceSlot(w.inputDevice[p]);
    if (slot >= 0) sticks.use[slot] = SlotUse::Joystick;
  }
  for (int p = 0; p < 2; ++p) {
    const PadChoice& choice = config.player[static_cast<size_t>(p)];
    if (w.inputDevice[static_cast<size_t>(p)] != 0 || choice.kind == PadChoiceKind::Off) continue;
    int slot = p;
    if (sticks.use[slot] != SlotUse::Spare) slot = 1 - p;
    if (sticks.use[slot] != SlotUse::Spare) continue;
    sticks.use[slot] = SlotUse::Gamepad;
    sticks.padWanted[slot] = choice.kind == PadChoiceKind::Named ? choice.guid : "";
    sticks.layout[slot] = PadLayoutFor(config, p);
    sticks.rumble[slot] = config.rumble;
    w.pads.device[static_cast<size_t>(p)] = static_cast<uint8_t>(kPadDevice1 + slot);
  }
}

uint32_t PadMenuButtons(const JoystickState& state) {
  uint32_t bits = 0;
  for (int b = 0; b < pad_button::kMenuButtons; ++b) {
    if (state.buttons[static_cast<size_t>(pad_button::MenuUp + b)] != 0) bits |= 1u << b;
  }
  return bits;
}

std::vector<KeyEvent> PadMenuKeys(const GameWindow& w, uint32_t now, uint32_t held, std::array<int, 4>& sent) {
  std::vector<KeyEvent> keys;
  const bool shipDown = !w.ship[0].alive || !w.ship[1].alive;
  const bool enterWanted = w.menuActive || shipDown;
  for (int b = 0; b < pad_button::kMenuButtons; ++b) {
    const uint32_t bit = 1u << b;
    int& key = sent[static_cast<size_t>(b)];
    if ((now & bit) != 0 && (held & bit) == 0) {
      key = 0;
      switch (pad_button::MenuUp + b) {
        case pad_button::MenuUp: key = w.menuActive ? vk::Up : 0; break;
        case pad_button::MenuDown: key = w.menuActive ? vk::Down : 0; break;
        case pad_button::Confirm: key = enterWanted ? vk::Return : 0; break;
        default: key = enterWanted ? vk::Return : vk::Escape; break;
      }
      if (key != 0) keys.push_back(KeyEvent{true, key});
    } else if ((now & bit) == 0 && (held & bit) != 0 && key != 0) {
      keys.push_back(KeyEvent{false, key});
      key = 0;
    }
  }
  return keys;
}

void QueuePadMenuKeys(GameWindow& w) {
  for (size_t p = 0; p < 2; ++p) {
    if (!IsPadDevice(w.inputDevice[p])) continue;
    const int slot = DeviceSlot(w.inputDevice[p]);
    // Read without touching the state the game polled last: its polls see buttons go down against it.
    const JoystickState kept = w.joysticks.last[slot];
    const uint32_t now = PadMenuButtons(PollJoystick(w.joysticks, slot));
    w.joysticks.last[slot] = kept;
    for (const KeyEvent& k : PadMenuKeys(w, now, w.pads.menuHeld[static_cast<size_t>(slot)], w.pads.menuKeySent[static_cast<size_t>(slot)])) {
      w.events.keys.push_back(k);
    }
    w.pads.menuHeld[static_cast<size_t>(slot)] = now;
  }
}

}  // namespace quorvex
