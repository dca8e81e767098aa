#include "game/core/Events.h"

#include "game/core/Controls.h"
#include "game/core/GameExit.h"
#include "platform/Keys.h"

namespace quorvex {

void DoEvents(GameWindow& w) {
  if (w.eventScript) w.eventScript(w);
  if (w.display.open) CollectWindowEvents(w.events);
  if (w.events.closeRequested) throw GameExit{};

  while (!w.events.keys.empty()) {
    const KeyEvent key = w.events.keys.front();
    w.events.keys.pop_front();
    if (key.down) {
      OnKeyDown(w, key.code);
      // Until the pause menu exists, Esc (which requests the pause) leaves the game.
      if (key.code == vk::Escape) throw GameExit{};
    } else {
      OnKeyUp(w, key.code);
    }
  }
}

}  // namespace quorvex
