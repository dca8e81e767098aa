// The armada selection screen: player 1 builds his armada in the left column, player 2 (or the computer
// in training) in the right one, each with their own ship controls.
#include <string>

#include "game/audio/SoundEffects.h"
#include "game/render/Font.h"
#include "game/screens/MenuLoop.h"
#include "game/screens/Selection.h"

namespace quorvex {
namespace {

// Where the player texts stand: player 1's start at x = 100, player 2's end at x = 700.
constexpr int kLeftColumnX = 100;
constexpr int kRightColumnEnd = 700;
constexpr int kFleetValueY = 87;
constexpr int kCursorLineY = 100;
constexpr int kArmadaTopY = 120;
constexpr int kArmadaLineHeight = 13;
// The computer in training drops its last ship while its fleet is worth this much more than the player's.
constexpr double kComputerMargin = 100;

// A number as the fleet value line prints it: a blank in front unless it is negative.
std::string SignedNumberText(double value) {
  std::string text(value < 0 ? "" : " ");
  text += NumberText(value);
  return text;
}

// One line of a player's column in the small highlighted font.
void ColumnText(GameWindow& w, int p, int y, const std::string& text) {
  const int x = p == 0 ? kLeftColumnX : kRightColumnEnd - kSmallAdvance * static_cast<int>(text.size());
  FontText(w, x, y, text, true, true);
}

// The ship-list entry under a player's cursor with its value, and the fleet value above it.
void DrawCursorLine(GameWindow& w, int p, int cursor) {
  if (cursor >= 0 && cursor < kShipListSize) {
    ColumnText(w, p, kCursorLineY, w.shipNames[cursor] + " (" + NumberText(w.shipValues[cursor]) + ")");
  }
  ColumnText(w, p, kFleetValueY, "fleet value" + SignedNumberText(FleetValue(w, p + 1)));
}

// The player's fire appends the ship under the cursor, remove takes the last ship off, the turns move
// the cursor through the ship list with wrap-around. Each flag is spent by its action.
void HandleArmadaKeys(GameWindow& w, int p, int& cursor) {
  ShipState& s = w.ship[p];
  auto& fleet = w.fleet[p];
  if (s.fireHeld) {
    const int count = ArmadaCount(w, p + 1);
    if (count < kMaxArmada) fleet[count] = cursor;
    s.fireHeld = false;
  }
  if (w.menuPick[p]) {
    const int count = ArmadaCount(w, p + 1);
    if (count > 0) fleet[count - 1] = -1;
    w.menuPick[p] = false;
  }
  if (s.turnRightHeld) {
    cursor = cursor < w.lastShipIndex ? cursor + 1 : 0;
    s.turnRightHeld = false;
  }
  if (s.turnLeftHeld) {
    // The wrap to the end of the list spends the flag too: otherwise the next frame would step on
    // from the last ship and the press would land one ship short of it.
    cursor = cursor > 0 ? cursor - 1 : w.lastShipIndex;
    s.turnLeftHeld = false;
  }
}

void DrawArmada(GameWindow& w, int p) {
  const int count = ArmadaCount(w, p + 1);
  for (int k = 0; k < count; ++k) {
    const int index = w.fleet[p][k];
    if (index >= 0 && index < kShipListSize) ColumnText(w, p, kArmadaTopY + kArmadaLineHeight * k, w.shipNames[index]);
  }
}

// The computer's player 2 in training: it appends ships in list order while its fleet is worth less than
// the player's and drops its last ship while it is worth more than 100 points above.
void ComputerArmadaKeys(GameWindow& w, double playerValue, double computerValue) {
  ShipState& s = w.ship[1];
  s.fireHeld = false;
  s.turnRightHeld = false;
  s.turnLeftHeld = false;
  w.menuPick[1] = false;
  if (computerValue < playerValue) {
    s.turnRightHeld = true;
    s.fireHeld = true;
  }
  if (computerValue > playerValue + kComputerMargin) w.menuPick[1] = true;
}

}  // namespace

int ArmadaCount(const GameWindow& w, int player) {
  const auto& fleet = w.fleet[player - 1];
  int count = 0;
  while (count < kFleetSlots && fleet[count] != -1) ++count;
  return count;
}

double FleetValue(const GameWindow& w, int player) {
  const auto& fleet = w.fleet[player - 1];
  double sum = 0;
  for (int k = 0; k < ArmadaCount(w, player); ++k) {
    if (fleet[k] >= 0 && fleet[k] < kShipListSize) sum += w.shipValues[fleet[k]];
  }
  return sum;
}

void ArmadaSelection(GameWindow& w) {
  w.pauseRequested = false;
  w.duelOver = false;
  w.menuActive = true;
  MenuStars stars = MakeMenuStars(w);
  w.menuSelect = false;
  // A change-weapon press made on another screen (the main menu, the pause menu) takes no ship off.
  w.menuPick = {false, false};
  std::array<int, 2> cursor{0, 0};
  int selection = 0;  // 0 "done", 1 "cancel"
  int phase = 0;

  MenuScreen screen;
  screen.id = ScreenId::Armada;
  screen.draw = [&] {
    // A select that was not enough to leave (an empty armada) is forgotten once the next frame begins.
    w.menuSelect = false;
    phase = (phase + 1) % 6;
    FontText(w, 192, 15, "armada selection", false, false);

    const double value1 = FleetValue(w, 1);
    DrawCursorLine(w, 0, cursor[0]);
    HandleArmadaKeys(w, 0, cursor[0]);
    DrawArmada(w, 0);

    const double value2 = FleetValue(w, 2);
    DrawCursorLine(w, 1, cursor[1]);
    if (w.trainingMode) ComputerArmadaKeys(w, value1, value2);
    HandleArmadaKeys(w, 1, cursor[1]);
    DrawArmada(w, 1);

    FontText(w, 348 + (selection == 0 ? ShakeOffset(phase) : 0), 522, "done", false, false);
    FontText(w, 322 + (selection == 1 ? ShakeOffset(phase) : 0), 550, "cancel", false, false);
  };
  screen.afterEvents = [&] {
    if (w.menuUp) selection = selection > 0 ? selection - 1 : 1;
    if (w.menuDown) selection = selection < 1 ? selection + 1 : 0;
    w.menuUp = false;
    w.menuDown = false;
  };
  screen.done = [&] {
    if (!w.menuSelect) return false;
    return selection == 1 || (ArmadaCount(w, 1) > 0 && ArmadaCount(w, 2) > 0);
  };
  MenuLoop(w, stars, screen);

  w.menuActive = false;
  PlaySound(w, SndSelect);
  w.menuSelect = false;
  w.quitBattle = selection == 1;
}

}  // namespace quorvex
