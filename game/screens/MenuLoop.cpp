#include "game/screens/MenuLoop.h"

#include <algorithm>
#include <cmath>

#include "game/controls/Controls.h"
#include "game/controls/Events.h"
#include "game/core/Pacing.h"
#include "platform/Display.h"
#include "platform/Numbers.h"

namespace quorvex {

MenuStars MakeMenuStars(GameWindow& w) {
  MenuStars s;
  for (int i = 0; i < kMenuStars; ++i) {
    s.x[i] = w.random.Next() * 800;
    s.y[i] = w.random.Next() * 600;
    s.speed[i] = w.random.Next() * 8 + 1;
    s.grey[i] = static_cast<int>(std::min(nearest(30 * s.speed[i] + 25), 255.0));
  }
  return s;
}

void MoveAndDrawMenuStars(GameWindow& w, MenuStars& stars, int count) {
  for (int i = 0; i < std::min(count, kMenuStars); ++i) {
    stars.x[i] += stars.speed[i];
    if (stars.x[i] > 800) stars.x[i] = 0;
    w.back.SetForeColor(stars.grey[i], stars.grey[i], stars.grey[i]);
    const int x = nearestInt(stars.x[i]);
    const int y = nearestInt(stars.y[i]);
    w.back.DrawLine(x, y, x - 1, y);
  }
}

int ShakeOffset(int phase) { return nearestInt(3 * std::cos(phase)); }

void MenuLoop(GameWindow& w, MenuStars& stars, const MenuScreen& screen) {
  w.help.screen = screen.id;
  do {
    PollControls(w);
    const int32_t elapsed = TicksBetween(w.lastFrameTick, w.clock->Ticks());
    if (elapsed > w.options.frameInterval) {
      w.lastFrameTick = w.clock->Ticks();
      w.back.BltFast(0, 0, w.background, Rect{0, 0, kScreenWidth, kScreenHeight}, false);
      MoveAndDrawMenuStars(w, stars, screen.starsDrawn);
      if (screen.draw) screen.draw();
      PresentSurface(w.display, w.back);
      DoEvents(w);
      if (screen.afterEvents) screen.afterEvents();
    } else {
      // Nothing to do until the next frame is due.
      const int remaining = w.options.frameInterval + 1 - elapsed;
      w.clock->Sleep(remaining > kFineWaitMs ? remaining - kFineWaitMs : 1);
    }
  } while (!screen.done());
}

}  // namespace quorvex
