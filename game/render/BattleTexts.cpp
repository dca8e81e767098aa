#include "game/render/BattleTexts.h"

#include "game/render/Font.h"
#include "platform/Numbers.h"

namespace quorvex {

namespace {

// The weapon text of a ship; `text` keeps what it held when the weapon number is none of the six.
void WeaponText(const ShipState& s, std::string& text) {
  switch (s.weapon) {
    case 0: text = "LASER CNNS"; break;
    case 1: text = "ION CANNON"; break;
    case 2: text = "MISSILES " + NumberText(s.missiles); break;
    case 3: text = "TORPEDOS " + NumberText(s.torpedoes); break;
    case 4: text = "ELECTROGUN"; break;
    case 5: text = "CHAINGUN " + NumberText(nearest(s.chaingunAmmo)); break;
    default: break;
  }
}

}  // namespace

std::string LowerCase(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

void WeaponTexts(GameWindow& w) {
  // One text serves both players in turn, as an unknown weapon number leaves it unchanged.
  std::string text;
  WeaponText(w.ship[0], text);
  FontText(w, kWeaponTextX1, kWeaponTextY, LowerCase(text), true, false);
  WeaponText(w.ship[1], text);
  FontText(w, kWeaponTextX2, kWeaponTextY, LowerCase(text), true, false);

  const bool alive1 = w.ship[0].alive, alive2 = w.ship[1].alive;
  if (!alive1 && !alive2) {
    FontText(w, kOutcomeTextX, kOutcomeTextY, " tie game! ", false, false);
    return;
  }
  if (!alive2) FontText(w, kOutcomeTextX, kOutcomeTextY, "player 1 won!", false, false);
  if (!alive1) FontText(w, kOutcomeTextX, kOutcomeTextY, "player 2 won!", false, false);
}

}  // namespace quorvex
