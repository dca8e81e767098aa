#include "game/core/Events.h"

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
    // Key handlers: the player controls' OnKeyDown(w, code) and OnKeyUp(w, code) run here.
    // Until the pause menu exists, Esc leaves the game.
    if (key.down && key.code == vk::Escape) throw GameExit{};
  }
}

}  // namespace quorvex
