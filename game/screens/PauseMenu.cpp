#include "game/audio/SoundEffects.h"
#include "game/combat/Damage.h"
#include "game/render/Font.h"
#include "game/screens/MenuLoop.h"
#include "game/screens/Screens.h"

namespace quorvex {

namespace {

// Enough damage to destroy any ship at once.
constexpr double kMassacreDamage = 999999;

struct MenuEntry {
  const char* text;
  int x, y;
};
constexpr MenuEntry kPauseEntries[] = {{"resume", 322, 256}, {"massacre", 296, 284}, {"quit", 348, 312}};

}  // namespace

void PauseMenu(GameWindow& w) {
  w.menuActive = true;
  w.pauseRequested = false;
  w.duelOver = false;
  MenuStars stars = MakeMenuStars(w);
  int selection = 0;
  int phase = 0;
  w.menuSelect = false;
  w.quitBattle = false;

  MenuScreen screen;
  screen.id = ScreenId::Pause;
  screen.starsDrawn = 90;
  screen.draw = [&] {
    phase = (phase + 1) % 6;
    FontText(w, 257, 15, "game paused", false, false);
    for (int i = 0; i < 3; ++i) {
      const MenuEntry& e = kPauseEntries[i];
      FontText(w, e.x + (i == selection ? ShakeOffset(phase) : 0), e.y, e.text, false, false);
    }
  };
  screen.afterEvents = [&] {
    if (w.menuSelect) PlaySound(w, SndSelect);
    if (w.menuUp && --selection < 0) selection = 2;
    if (w.menuDown && ++selection > 2) selection = 0;
    w.menuUp = false;
    w.menuDown = false;
  };
  screen.done = [&] { return w.menuSelect; };
  MenuLoop(w, stars, screen);

  w.menuActive = false;
  w.menuSelect = false;
  w.quitBattle = false;
  if (selection == 1) {
    DoDamage(w, 1, kMassacreDamage);
    DoDamage(w, 2, kMassacreDamage);
  } else if (selection == 2) {
    w.quitBattle = true;
  }
}

}  // namespace quorvex
