// The stock ships the game comes with: one design per file, escape ships first so the ships that
// carry them can be priced with their value.
#pragma once
#include <string>
#include <vector>

#include "shipdef/ShipFile.h"

namespace datagen {

struct RosterShip {
  std::string fileName;            // bare, lower-case .shp name
  quorvex::ShipDefinition design;  // every line but the value; `design.ejectShip` names an escape ship
};

// The stock designs in writing order: every escape ship comes before the ships that carry it.
std::vector<RosterShip> StockRoster();

}  // namespace datagen
