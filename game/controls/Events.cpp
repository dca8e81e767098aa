#include "game/controls/Events.h"

#include <cstddef>
#include <optional>

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

size_t KeysForOneFrame(const std::deque<KeyEvent>& keys) {
  // Far more keys than hands press between two frames are taken whole, so the queue never grows.
  constexpr size_t kMostKeysWaiting = 32;
  if (keys.size() > kMostKeysWaiting) return keys.size();
  for (size_t i = 0; i < keys.size(); ++i) {
    if (keys[i].down) continue;
    for (size_t j = 0; j < i; ++j) {
      if (keys[j].down && !keys[j].repeat && keys[j].code == keys[i].code) return i;
    }
  }
  return keys.size();
}

void PlayFrameKeys(GameWindow& w) {
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
}

void DoEvents(GameWindow& w) {
  if (w.eventScript) w.eventScript(w);
  const bool ownJoysticks = !w.inputTap || w.inputTap->TakesUpJoysticks();
  if (ownJoysticks) TakeUpJoysticks(w);
  if (w.display.open) CollectWindowEvents(w.events);
  if (w.events.closeRequested) throw GameExit{};
  if (ownJoysticks) QueuePadMenuKeys(w);
  HelpKeys(w);
  // The keys after this frame's share stay out of sight (a recording notes the keys the game takes)
  // and wait at the head of the queue for the next frame. Set aside only when there are some, so a
  // frame allocates nothing.
  std::optional<std::deque<KeyEvent>> later;
  const auto taken = static_cast<std::ptrdiff_t>(KeysForOneFrame(w.events.keys));
  if (taken < static_cast<std::ptrdiff_t>(w.events.keys.size())) {
    later.emplace(w.events.keys.begin() + taken, w.events.keys.end());
    w.events.keys.erase(w.events.keys.begin() + taken, w.events.keys.end());
  }
  if (w.inputTap) w.inputTap->Events(w);  // replays: record the keys, or replace them
  PlayFrameKeys(w);
  if (later) w.events.keys = std::move(*later);
  ShowHelpOverlay(w);
}

}  // namespace quorvex
