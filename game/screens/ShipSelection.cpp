// The ship selection screen: before each duel the players pick which ship of their armada flies.
#include <algorithm>
#include <cctype>
#include <string>

#include "game/audio/Initsound.h"
#include "game/audio/SoundEffects.h"
#include "game/combat/ShipLoading.h"
#include "game/core/InputTap.h"
#include "game/render/Font.h"
#include "game/render/Graphics.h"
#include "game/screens/MenuLoop.h"
#include "game/screens/Selection.h"
#include "platform/Numbers.h"

namespace quorvex {
namespace {

constexpr std::array<int, 2> kNameLineY = {240, 285};
constexpr std::array<int, 2> kCountLineY = {268, 313};

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The name of the ship in a slot of a player's armada; nothing for an empty slot.
std::string SlotShipName(const GameWindow& w, int p, int slot) {
  if (slot < 0 || slot >= kFleetSlots) return "";
  const int index = w.fleet[p][slot];
  if (index < 0 || index >= kShipListSize) return "";
  return Lower(w.shipNames[index]);
}

// A player's two lines: the ship under the cursor and how many ships the armada has left. Fire held by
// a choosing player throws the cursor onto a random slot, frame after frame while it stays held.
void DrawPlayer(GameWindow& w, int p, bool mayChoose, int& cursor) {
  FontText(w, 50, kNameLineY[p], "player " + std::to_string(p + 1) + ":" + SlotShipName(w, p, cursor), false, false);
  const int count = ArmadaCount(w, p + 1);
  if (mayChoose && w.ship[p].fireHeld) cursor = std::max(0, nearestInt((count - 1) * w.random.Next()));
  FontText(w, 275, kCountLineY[p], count > 1 ? NumberText(count) + " ships left" : "last ship!", true, true);
}

// Turning steps the cursor through the armada with wrap-around; each turn flag is spent by its step.
void HandleShipKeys(GameWindow& w, int p, int& cursor) {
  ShipState& s = w.ship[p];
  const auto& fleet = w.fleet[p];
  const int count = ArmadaCount(w, p + 1);
  if (s.turnRightHeld) {
    cursor = cursor + 1 < kFleetSlots && fleet[cursor + 1] != -1 ? cursor + 1 : 0;
    s.turnRightHeld = false;
  }
  if (s.turnLeftHeld) {
    // The wrap to the last ship spends the flag too: otherwise the next frame would step on from the
    // last ship and the press would land one ship short of it.
    cursor = cursor > 0 ? cursor - 1 : std::max(0, count - 1);
    s.turnLeftHeld = false;
  }
}

}  // namespace

void ShipSelection(GameWindow& w) {
  const bool firstSelection = w.duelsPlayed < 1;
  // A player chooses at the first selection of a battle, later only when his ship was destroyed.
  auto mayChoose = [&](int p) { return firstSelection || !w.ship[p].alive; };

  w.pauseRequested = false;
  w.duelOver = false;
  w.menuActive = true;
  MenuStars stars = MakeMenuStars(w);
  // A player who keeps his ship sees it and keeps its slot; choosing players start at the first ship.
  std::array<int, 2> cursor{};
  for (int p = 0; p < 2; ++p) cursor[p] = mayChoose(p) ? 0 : std::clamp(w.fleetSlot[p], 0, kFleetSlots - 1);
  int selection = 0;  // 0 "begin", 1 "back" or "quit"
  int phase = 0;

  MenuScreen screen;
  screen.id = ScreenId::Ships;
  screen.draw = [&] {
    phase = (phase + 1) % 6;
    FontText(w, 192, 15, "select your ship", false, false);
    DrawPlayer(w, 0, mayChoose(0), cursor[0]);
    DrawPlayer(w, 1, mayChoose(1), cursor[1]);
    FontText(w, 335 + (selection == 0 ? ShakeOffset(phase) : 0), 522, "begin", false, false);
    FontText(w, 348 + (selection == 1 ? ShakeOffset(phase) : 0), 550, firstSelection ? "back" : "quit", false, false);
  };
  screen.afterEvents = [&] {
    if (w.menuUp) selection = selection > 0 ? selection - 1 : 1;
    if (w.menuDown) selection = selection < 1 ? selection + 1 : 0;
    w.menuUp = false;
    w.menuDown = false;
    for (int p = 0; p < 2; ++p) {
      if (mayChoose(p)) HandleShipKeys(w, p, cursor[p]);
    }
  };
  screen.done = [&] { return w.menuSelect; };
  MenuLoop(w, stars, screen);

  // The arena is swept of the last duel's shots, explosions and missiles.
  for (int i = 1; i <= 100; ++i) w.shots.life[i] = 0;
  for (int i = 1; i <= 60; ++i) w.explosions.state[i] = 0;
  for (int i = 1; i <= 50; ++i) w.missilesPool.life[i] = 0;
  for (ShipState& s : w.ship) s.energy = 100;
  w.fleetSlot = cursor;
  w.menuSelect = false;
  w.menuActive = false;
  PlaySound(w, SndSelect);
  if (firstSelection) w.battleStartTick = ClockInput(w);

  // "back" and "quit" leave the chosen ships loaded too.
  if (mayChoose(0)) LoadShip(w, 1);
  if (mayChoose(1)) LoadShip(w, 2);
  LoadShipPictures(w);
  LoadNewSound(w);

  w.pauseRequested = false;
  w.duelOver = false;
  w.quitBattle = selection == 1;
}

}  // namespace quorvex
