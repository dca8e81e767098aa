#include "game/combat/ShipLoading.h"

#include <string>

#include "game/core/BattleState.h"
#include "game/core/GameError.h"
#include "game/core/GameExit.h"
#include "game/core/InputTap.h"
#include "game/render/Graphics.h"
#include "platform/DataFiles.h"

namespace quorvex {

namespace {

// The player is told once, at start-up, which ship files the list goes on without.
std::string LeftOutShipsMessage(const ShipList& list) {
  if (list.unreadable.empty() && list.ignored == 0) return std::string();
  std::string text;
  if (!list.unreadable.empty()) {
    // Named one by one, but a folder full of broken files does not make an endless message.
    constexpr size_t kNamed = 10;
    text = "Left out of the ship list (cannot be read or fewer than 6 lines): ";
    for (size_t i = 0; i < list.unreadable.size() && i < kNamed; ++i) text += (i ? ", " : "") + list.unreadable[i];
    if (list.unreadable.size() > kNamed) text += " and " + std::to_string(list.unreadable.size() - kNamed) + " more";
  }
  if (list.ignored > 0) {
    if (!text.empty()) text += "\n";
    text += std::to_string(list.ignored) + " ship files beyond the first " + std::to_string(kMaxShipFiles) +
            " were left out of the ship list";
  }
  return text;
}

}  // namespace

void ScanShipFiles(GameWindow& w) {
  w.shipFiles.fill(std::string());
  w.shipNames.fill(std::string());
  w.shipValues.fill(0);

  const ShipList list = ScanShipFiles(Folders(w));
  for (size_t i = 0; i < list.files.size() && i < w.shipFiles.size(); ++i) {
    w.shipFiles[i] = list.files[i];
    w.shipNames[i] = list.names[i];
    w.shipValues[i] = list.values[i];
  }
  w.lastShipIndex = list.lastShipIndex;
  const std::string leftOut = LeftOutShipsMessage(list);
  if (!leftOut.empty()) w.messages.Show("ERROR!", leftOut);

  for (auto& fleet : w.fleet) fleet.fill(-1);
}

void ApplyShipLoadout(ShipState& s, const ShipLoadout& l) {
  s.spriteFile = l.spriteFile;
  s.radius = l.radius;
  s.laserReload = l.laserReload;
  s.shotEnergy = l.shotEnergy;
  s.energyRate = l.energyRate;
  s.hull = l.hull;
  s.shield = l.shield;
  s.maxSpeed = l.maxSpeed;
  s.mass = l.mass;
  s.turnRate = l.turnRate;
  s.laserPattern = l.laserPattern;
  s.laserKind = l.laserKind;
  s.hasIonCannon = l.hasIonCannon;
  s.hasMissiles = l.hasMissiles;
  s.hasTorpedoes = l.hasTorpedoes;
  s.missiles = l.missiles;
  s.torpedoes = l.torpedoes;
  s.selfRepair = l.selfRepair;
  s.hasElectroGun = l.hasElectroGun;
  s.hasChaingun = l.hasChaingun;
  s.chaingunAmmo = l.chaingunAmmo;
  s.hasTargeting = l.hasTargeting;
  s.twinLauncher = l.twinLauncher;
  s.ejectShipFile = l.ejectShipFile;
  s.launcherReload = l.launcherReload;
}

void LoadShip(GameWindow& w, int player) {
  if (player != 1 && player != 2) throw GameError(kErrorSubscriptOutOfRange, "Subscript out of range");
  const int p = player - 1;
  const int slot = w.fleetSlot[p];
  if (slot < 0 || slot >= kFleetSlots) throw GameError(kErrorSubscriptOutOfRange, "Subscript out of range");
  if (w.fleet[p][slot] == -1) w.fleet[p][slot] = 0;
  const int index = w.fleet[p][slot];
  if (index < 0 || index >= kShipListSize) throw GameError(kErrorSubscriptOutOfRange, "Subscript out of range");

  const std::string& file = w.shipFiles[index];
  if (file.empty()) {
    // With no ship file at all the list holds one empty entry: nothing can fly.
    w.messages.Show("ERROR!", "No ship definitions (*.shp) found in the folder: " + w.programDir.string());
    throw GameExit{};
  }

  // Both players' files must be current ships: a file of an older version would be read line by
  // line into the wrong fields.
  ShipLoadout loadout;
  const ShipReadStatus status = ReadShipForBattle(ShipFileInput(w, file), true, &loadout);
  if (status != ShipReadStatus::Ok) {
    w.messages.Show("ERROR!", ShipReadMessage(status, file));
    throw GameExit{};
  }
  // The picture and the escape ship must be files of the program folder, whatever the file says.
  const bool pictureRefused = !IsBareFileName(loadout.spriteFile);
  if (pictureRefused || (!loadout.ejectShipFile.empty() && !IsBareFileName(loadout.ejectShipFile))) {
    w.messages.Show("ERROR!", RefusedNameMessage(file, pictureRefused ? loadout.spriteFile : loadout.ejectShipFile));
    throw GameExit{};
  }
  ApplyShipLoadout(w.ship[p], loadout);

  // Both ships' pictures are reloaded once a battle has begun (the first choice gets them from the
  // graphics loading at start-up, before which no picture surface exists).
  if (w.duelsPlayed > 0) LoadShipPictures(w);
  if (player == 1) {
    ResetValues(w);
  } else {
    ResetValues2(w);
  }
}

}  // namespace quorvex
