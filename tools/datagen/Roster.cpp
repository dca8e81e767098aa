#include "tools/datagen/Roster.h"

namespace datagen {

using quorvex::ShipDefinition;

// Size classes of line 5.
constexpr int kTiny = -1, kSmall = 0, kMedium = 1, kLarge = 2;
// Laser cannon layouts of line 15.
constexpr int kSingle = 0, kTwoSingle = 1, kDouble = 2, kThreeSingle = 3, kShotgun = 4;

// Balance: small ships are hard to hit, quick and cheap but fragile and lightly armed; large ships
// carry heavy hulls, shields and launchers but turn slowly and fill the sights. Prices follow the
// editor's formula, so a fleet of cheap ships can face one expensive ship on equal points.
std::vector<RosterShip> StockRoster() {
  std::vector<RosterShip> r;

  // Escape ships first.
  r.push_back({"pod.shp", ShipDefinition{
      .name = "Escape Pod", .picture = "pod.bmp", .sizeClass = kTiny,
      .laserReload = 35, .shotPower = 6, .energyRate = 6, .hull = 8, .shield = 0,
      .speed = 9, .mass = 4, .turningRate = 9, .laserCannons = kSingle,
      .launcherReload = 100}});
  r.push_back({"shuttle.shp", ShipDefinition{
      .name = "Escape Shuttle", .picture = "shuttle.bmp", .sizeClass = kSmall,
      .laserReload = 25, .shotPower = 8, .energyRate = 8, .hull = 22, .shield = 15,
      .speed = 7, .mass = 8, .turningRate = 6, .laserCannons = kTwoSingle,
      .missileLauncher = 1, .missiles = 4,
      .launcherReload = 80}});

  // Light ships: fast and agile, little to hit and little to hit with.
  r.push_back({"arrow.shp", ShipDefinition{
      .name = "Arrow Scout", .picture = "arrow.bmp", .sizeClass = kTiny,
      .laserReload = 9, .shotPower = 12, .energyRate = 10, .hull = 24, .shield = 20,
      .speed = 13, .mass = 3, .turningRate = 9, .laserCannons = kSingle, .greenLaser = 1,
      .launcherReload = 100}});
  r.push_back({"hornet.shp", ShipDefinition{
      .name = "Hornet Fighter", .picture = "hornet.bmp", .sizeClass = kTiny,
      .laserReload = 14, .shotPower = 14, .energyRate = 9, .hull = 30, .shield = 24,
      .speed = 12, .mass = 5, .turningRate = 8, .laserCannons = kTwoSingle,
      .chaingun = true, .chaingunAmmo = 40,
      .launcherReload = 100}});

  // Mid-weight ships, each built around one idea.
  r.push_back({"mantis.shp", ShipDefinition{
      .name = "Mantis Striker", .picture = "mantis.bmp", .sizeClass = kSmall,
      .laserReload = 18, .shotPower = 20, .energyRate = 16, .hull = 45, .shield = 40,
      .speed = 10, .mass = 9, .turningRate = 7, .laserCannons = kDouble, .greenLaser = 1,
      .electroGun = 1,
      .launcherReload = 100}});
  r.push_back({"falcon.shp", ShipDefinition{
      .name = "Falcon Gunship", .picture = "falcon.bmp", .sizeClass = kSmall,
      .laserReload = 16, .shotPower = 16, .energyRate = 12, .hull = 50, .shield = 45,
      .speed = 10, .mass = 10, .turningRate = 7, .laserCannons = kThreeSingle,
      .missileLauncher = 1, .missiles = 12,
      .targeting = 1, .twinLaunchers = 1, .ejectShip = "pod.shp", .launcherReload = 60}});
  r.push_back({"raven.shp", ShipDefinition{
      .name = "Raven Raider", .picture = "raven.bmp", .sizeClass = kSmall,
      .laserReload = 12, .shotPower = 18, .energyRate = 14, .hull = 40, .shield = 35,
      .speed = 11, .mass = 8, .turningRate = 8, .laserCannons = kShotgun, .greenLaser = 1,
      .ionCannon = 1,
      .targeting = 1, .launcherReload = 100}});
  r.push_back({"warden.shp", ShipDefinition{
      .name = "Warden Escort", .picture = "warden.bmp", .sizeClass = kMedium,
      .laserReload = 22, .shotPower = 22, .energyRate = 18, .hull = 70, .shield = 90,
      .speed = 8, .mass = 16, .turningRate = 5, .laserCannons = kSingle, .greenLaser = 1,
      .ionCannon = 1, .repairDroid = 1,
      .ejectShip = "shuttle.shp", .launcherReload = 100}});
  r.push_back({"lancer.shp", ShipDefinition{
      .name = "Lancer Bomber", .picture = "lancer.bmp", .sizeClass = kMedium,
      .laserReload = 20, .shotPower = 20, .energyRate = 13, .hull = 65, .shield = 55,
      .speed = 9, .mass = 14, .turningRate = 5, .laserCannons = kTwoSingle,
      .torpedoLauncher = 1, .torpedoes = 8,
      .twinLaunchers = 1, .launcherReload = 70}});
  r.push_back({"beetle.shp", ShipDefinition{
      .name = "Beetle Hauler", .picture = "beetle.bmp", .sizeClass = kMedium,
      .laserReload = 30, .shotPower = 25, .energyRate = 10, .hull = 110, .shield = 20,
      .speed = 6, .mass = 24, .turningRate = 4, .laserCannons = kShotgun,
      .chaingun = true, .chaingunAmmo = 30,
      .launcherReload = 100}});

  // Capital ships: slow, heavily armed, and they carry an escape ship.
  r.push_back({"bastion.shp", ShipDefinition{
      .name = "Bastion Cruiser", .picture = "bastion.bmp", .sizeClass = kLarge,
      .laserReload = 25, .shotPower = 30, .energyRate = 20, .hull = 140, .shield = 120,
      .speed = 6, .mass = 28, .turningRate = 3, .laserCannons = kThreeSingle, .greenLaser = 1,
      .missileLauncher = 1, .torpedoLauncher = 1, .missiles = 20, .torpedoes = 6, .repairDroid = 1,
      .ejectShip = "shuttle.shp", .launcherReload = 50}});
  r.push_back({"leviathan.shp", ShipDefinition{
      .name = "Leviathan Titan", .picture = "leviathan.bmp", .sizeClass = kLarge,
      .laserReload = 20, .shotPower = 40, .energyRate = 25, .hull = 150, .shield = 150,
      .speed = 5, .mass = 35, .turningRate = 3, .laserCannons = kDouble,
      .ionCannon = 1, .missileLauncher = 1, .torpedoLauncher = 1, .missiles = 16, .torpedoes = 8,
      .repairDroid = 1, .electroGun = 1, .chaingun = true, .chaingunAmmo = 60,
      .targeting = 1, .twinLaunchers = 1, .ejectShip = "pod.shp", .launcherReload = 40}});
  return r;
}

}  // namespace datagen
