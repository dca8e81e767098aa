#include <string>

#include "game/audio/SoundEffects.h"
#include "game/core/GameExit.h"
#include "game/render/Font.h"
#include "game/screens/MenuLoop.h"
#include "game/screens/Screens.h"

namespace quorvex {

namespace {

// The title picture in the font sheet.
constexpr Rect kTitlePicture{0, 145, 547, 358};

struct MenuEntry {
  const char* text;
  int x, y;  // x = 400 - 13 * length, centred in the large font
};
constexpr MenuEntry kMainEntries[] = {{"battle", 322, 256}, {"training", 296, 284}, {"quit", 348, 312}};

}  // namespace

void MainMenu(GameWindow& w) {
  w.duelsPlayed = 0;
  for (ShipState& s : w.ship) s.alive = true;
  w.menuActive = true;
  w.pauseRequested = false;
  w.duelOver = false;
  MenuStars stars = MakeMenuStars(w);
  int selection = 0;
  int phase = 0;

  MenuScreen screen;
  screen.draw = [&] {
    w.back.BltFast(125, 0, w.fontSheet, kTitlePicture, true);
    phase = (phase + 1) % 6;
    for (int i = 0; i < 3; ++i) {
      const MenuEntry& e = kMainEntries[i];
      FontText(w, e.x + (i == selection ? ShakeOffset(phase) : 0), e.y, e.text, false, false);
    }
    FontText(w, 290, 574, kCreditLine, true, false);
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
  w.trainingMode = selection == 1;
  w.menuSelect = false;
  if (selection == 2) throw GameExit{};
}

}  // namespace quorvex
