#include <map>
#include <stdexcept>
#include <string>
#include <system_error>

#include "platform/Files.h"
#include "shipdef/ShipFile.h"
#include "tools/datagen/Generators.h"
#include "tools/datagen/Roster.h"

namespace datagen {

namespace fs = std::filesystem;

namespace {

// The value of the folder's ship file `name` (line 6), as the editor reads it when it prices a
// ship that carries it; false when there is no such readable file.
bool FolderShipValue(const fs::path& dir, const std::string& name, float* value) {
  const fs::path path = quorvex::ResolveFileName(dir, name);
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return false;
  std::string bytes;
  if (!quorvex::ReadWholeFile(path, &bytes, nullptr)) return false;
  const std::vector<std::string> lines = quorvex::SplitLines(bytes);
  if (lines.size() < 6) return false;
  *value = static_cast<float>(quorvex::LenientNumber(lines[5]));
  return true;
}

}  // namespace

void GenerateShips(const fs::path& dir) {
  std::map<std::string, float> stockValues;
  for (RosterShip ship : StockRoster()) {
    float ejectValue = 0.0f;
    const bool hasEject = !ship.design.ejectShip.empty();
    if (hasEject) {
      // Priced with the escape ship in the folder, the way the editor would price it; the stock
      // value when that file cannot be read.
      if (!FolderShipValue(dir, ship.design.ejectShip, &ejectValue)) ejectValue = stockValues[ship.design.ejectShip];
    }
    const float value = quorvex::ShipValue(ship.design, hasEject, ejectValue);
    stockValues[ship.fileName] = value;
    ship.design.value = quorvex::ShipValueText(value);

    // A ship file is the user's once it exists (also under another case of its name): never replaced.
    std::error_code ec;
    if (fs::exists(quorvex::ResolveFileName(dir, ship.fileName), ec)) continue;
    std::string error;
    if (!quorvex::SaveShipFile(dir / ship.fileName, ship.design, &error)) throw std::runtime_error(error);
  }
}

}  // namespace datagen
