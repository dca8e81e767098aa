#include "game/controls/Events.h"

#include "game/controls/Controls.h"
#include "game/controls/Gamepads.h"
#include "game/controls/Help.h"
#include "game/controls/WindowKeys.h"
#include "game/core/GameExit.h"
#include "game/core/InputTap.h"

namespace quorvex {

void TakeUpJoysticks(GameWindow& w) {
  RefreshJoysticks(w.joysticks);
  for (size_t p = 0; p < w.inputDevice.size(); ++p) {
    const uint8_t chosen = w.chosenDevice[p];
    if (chosen == 1 || chosen == 2) {
      if (w.joysticks.device[chosen - 1] != nullptr) w.inputDevice[p] = chosen;
    }
    const uint8_t pad = w.pads.device[p];
    if (chosen == 0 && IsPadDevice(pad) && w.joysticks.device[DeviceSlot(pad)] != nullptr) w.inputDevice[p] = pad;
  }
}

void DoEvents(GameWindow& w) {
  if (w.eventScript) w.eventScript(w);
  const bool ownJoysticks = !w.inputTap || w.inputTap->TakesUpJoysticks();
  if (ownJoysticks) TakeUpJoysticks(w);
  if (w.display.open) CollectWindowEvents(w.events);
  if (w.events.closeRequested) throw GameExit{};
  if (ownJoysticks) QueuePadMenuKeys(w);
  HelpKeys(w);
  if (w.inputTap) w.inputTap->Events(w);  // replays: record the keys, or replace them

  while (!w.events.keys.empty()) {
    const KeyEvent key = w.events.keys.front();
    w.events.keys.pop_front();
    if (IsWindowKey(key.code)) {
      if (key.down && !key.repeat) OnWindowKey(w, key.code);
    } else if (key.down) {
      OnKeyDown(w, key.code);
    } else {
      OnKeyUp(w, key.code);
    }
  }
  ShowHelpOverlay(w);
}

}  // namespace quorvex
