#include <string>

#include "game/audio/SoundEffects.h"
#include "game/core/InputTap.h"
#include "game/core/Pacing.h"
#include "game/render/Font.h"
#include "game/screens/MenuLoop.h"
#include "game/screens/Screens.h"
#include "platform/Numbers.h"

namespace quorvex {

namespace {

// The results picture in the font sheet.
constexpr Rect kResultsPicture{574, 148, 766, 455};

int ShipsInArmada(const GameWindow& w, int player) {
  const auto& fleet = w.fleet[player - 1];
  int n = 0;
  while (n < kFleetSlots && fleet[n] != -1) ++n;
  return n;
}

// Centred on x = 400 for the small font as the results lay it out (12 pixels a character).
int CentredX(const std::string& text) { return nearestInt(400 - 12.0 * static_cast<double>(text.size()) / 2); }

}  // namespace

bool PlayerLost(const GameWindow& w, int player) {
  return w.fleet[player - 1][1] == -1 && w.ship[player - 1].hull <= 0;
}

int BattleOutcome(const GameWindow& w) {
  const bool lost1 = PlayerLost(w, 1);
  const bool lost2 = PlayerLost(w, 2);
  if (lost1 && lost2) return 3;
  if (lost1) return 2;
  if (lost2) return 1;
  return 0;
}

std::string OutcomeLine(const GameWindow& w) {
  switch (BattleOutcome(w)) {
    case 1: return "player 1 won!";
    case 2: return "player 2 won!";
    case 3: return "tie game!";
    default: return "";
  }
}

std::string ShipsLeftLine(const GameWindow& w) {
  const int winner = BattleOutcome(w);
  if (winner != 1 && winner != 2) return "all ships were destroyed";
  // When the winner's own ship went down in the last duel too, it is no longer among his ships.
  int left = ShipsInArmada(w, winner);
  if (w.ship[winner - 1].hull <= 0) --left;
  return "player " + std::to_string(winner) + " still had " + std::to_string(left) + " ship(s)";
}

std::string BattleTimeText(int64_t seconds) {
  if (seconds < 0) seconds = 0;
  return "battle time: " + std::to_string(seconds / 3600) + "h " + std::to_string(seconds % 3600 / 60) + "min " +
         std::to_string(seconds % 60) + "sec ";
}

void BattleResults(GameWindow& w) {
  w.pauseRequested = false;
  w.duelOver = false;
  MenuStars stars = MakeMenuStars(w);
  w.menuSelect = false;
  w.quitBattle = false;
  const std::string timeLine = BattleTimeText(TicksBetween(w.battleStartTick, ClockInput(w)) / 1000);
  const std::string outcome = OutcomeLine(w);
  const std::string shipsLeft = ShipsLeftLine(w);
  const int outcomeX = BattleOutcome(w) == 3 ? 345 : 323;
  int phase = 0;

  MenuScreen screen;
  screen.id = ScreenId::Results;
  screen.starsDrawn = 90;
  screen.draw = [&] {
    phase = (phase + 1) % 6;
    FontText(w, 231, 15, "battle results", false, false);
    w.back.BltFast(304, 102, w.fontSheet, kResultsPicture, true);
    FontText(w, outcomeX, 450, outcome, true, true);
    FontText(w, CentredX(shipsLeft), 475, shipsLeft, true, false);
    FontText(w, CentredX(timeLine), 490, timeLine, true, false);
    FontText(w, 374 + ShakeOffset(phase), 564, "ok", false, false);
  };
  screen.afterEvents = [&] {
    if (w.menuSelect) PlaySound(w, SndSelect);
  };
  screen.done = [&] { return w.menuSelect; };
  MenuLoop(w, stars, screen);

  w.menuActive = false;
  w.menuSelect = false;
  w.quitBattle = false;
}

}  // namespace quorvex
