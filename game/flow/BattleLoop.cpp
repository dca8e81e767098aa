#include "game/flow/BattleLoop.h"

#include <algorithm>
#include <utility>

#include "game/audio/Jukebox.h"
#include "game/combat/ComputerPilot.h"
#include "game/combat/Physics.h"
#include "game/combat/ShipControl.h"
#include "game/controls/Events.h"
#include "game/core/InputTap.h"
#include "game/render/Caption.h"
#include "game/render/FrameDrawing.h"
#include "game/screens/Screens.h"
#include "platform/Numbers.h"

namespace quorvex {

namespace {

void StartDuel(GameWindow& w) {
  for (ShipState& s : w.ship) s.heading = 0;
  w.screenRect = Rect{0, 0, kScreenWidth, kScreenHeight};
  for (int i = 0; i <= 500; ++i) w.sparks.life[i] = 0;
  for (int i = 0; i <= 1000; ++i) {
    w.stars.depth[i] = static_cast<float>(w.random.Next() * 2 + 1);
    w.stars.x[i] = static_cast<float>(w.random.Next() * 3000 - 1500);
    w.stars.y[i] = static_cast<float>(w.random.Next() * 2200 - 1100);
  }
}

// Gives the core away until the next frame is due: the frame starts once more than frameInterval
// ms have passed, that is `remaining` ms from now.
void WaitForFrame(GameWindow& w, int32_t elapsed) {
  const int interval = w.options.frameInterval;
  const int remaining = std::min(interval + 1 - elapsed, interval + 1);
  w.clock->Sleep(remaining > kFineWaitMs ? remaining - kFineWaitMs : 1);
}

// In training, which computer pilot flies player 2: a caption in the bottom left corner over the
// picture while the duel lasts, so the battle's own drawing stays as it is.
struct PilotCaption {
  GameWindow& w;
  const bool shown = w.trainingMode;
  explicit PilotCaption(GameWindow& window) : w(window) {
    if (shown) ShowWindowCaption(w, std::string("computer pilot: ") + PilotLevelName(w.pilotLevel));
  }
  ~PilotCaption() {
    if (shown) ShowWindowCaption(w, "");
  }
};

}  // namespace

void BattleLoop(GameWindow& w) {
  StartDuel(w);
  const PilotCaption caption(w);
  w.help.screen = ScreenId::Duel;
  if (w.inputTap) w.inputTap->DuelFramesBegin(w);
  for (;;) {
    const int32_t elapsed = TicksBetween(w.lastFrameTick, w.clock->Ticks());
    if (elapsed > w.options.frameInterval || w.noFrameLimit) {
      w.lastFrameTick = w.clock->Ticks();
      ++w.framesRun;
      // What is shown is the frame drawn during the previous pass.
      PresentSurface(w.display, w.back);
      Fysiikat(w);
      FramenPiirtely(w, nearestInt(w.ship[0].heading - 0.25), nearestInt(w.ship[1].heading - 0.25));
      DoEvents(w);
      Ohjailu(w);  // computer pilot, joystick polling, both players' controls
      MusicStep(w);  // a finished song is followed by the next one
      if (w.inputTap) w.inputTap->DuelFrameEnds(w);
    } else {
      WaitForFrame(w, elapsed);
    }

    if (!w.pauseRequested && !w.duelOver) continue;
    if (w.inputTap) {
      w.inputTap->LeavingDuel(w);
      if (!w.pauseRequested && !w.duelOver) continue;
    }
    if (w.pauseRequested) {
      w.pauseRequested = false;
      w.quitBattle = false;
      PauseMenu(w);  // its "quit" leaves quitBattle set
      if (w.quitBattle) return;
      w.pauseRequested = false;
      w.help.screen = ScreenId::Duel;
      if (w.inputTap) w.inputTap->DuelFramesBegin(w);
      continue;
    }
    return;  // the duel is over
  }
}

void DuelFrameAgain(GameWindow& w, bool drawn, const std::function<void(GameWindow&)>& takeKeys) {
  // Frames before the last are worked out without their pictures: only the last is shown.
  struct Hidden {
    GameWindow& w;
    const bool hide;
    Surface back;
    Hidden(GameWindow& window, bool h) : w(window), hide(h) {
      if (hide) std::swap(w.back, back);
    }
    ~Hidden() {
      if (hide) std::swap(w.back, back);
    }
  };
  {
    const Hidden hidden(w, !drawn);
    Fysiikat(w);
    FramenPiirtely(w, nearestInt(w.ship[0].heading - 0.25), nearestInt(w.ship[1].heading - 0.25));
  }
  takeKeys(w);
  PlayFrameKeys(w);
  Ohjailu(w);
}

}  // namespace quorvex
