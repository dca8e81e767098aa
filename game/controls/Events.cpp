#include "game/controls/Events.h"

#include "game/controls/Controls.h"
#include "game/core/GameExit.h"
#include "game/core/InputTap.h"

namespace quorvex {

void DoEvents(GameWindow& w) {
  if (w.eventScript) w.eventScript(w);
  if (w.display.open) CollectWindowEvents(w.events);
  if (w.events.closeRequested) throw GameExit{};
  if (w.inputTap) w.inputTap->Events(w);  // replays: record the keys, or replace them

  while (!w.events.keys.empty()) {
    const KeyEvent key = w.events.keys.front();
    w.events.keys.pop_front();
    if (key.down) {
      OnKeyDown(w, key.code);
    } else {
      OnKeyUp(w, key.code);
    }
  }
}

}  // namespace quorvex
