// The stock ships: what the build put into the program folder, and how the generator treats a
// folder that already holds the user's ships.
#include <gtest/gtest.h>

#include "tests/support/TempDir.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "game/render/Font.h"
#include "platform/Files.h"
#include "shipdef/ShipFile.h"
#include "tools/datagen/Generators.h"
#include "tools/datagen/Roster.h"

namespace fs = std::filesystem;
using namespace quorvex;

namespace {

using quorvex::testing::TempDir;

std::string Bytes(const fs::path& p) {
  std::string b;
  EXPECT_TRUE(ReadWholeFile(p, &b, nullptr)) << p;
  return b;
}

void WriteRaw(const fs::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary);
  out << bytes;
}

double ValueLine(const fs::path& p) {
  const std::vector<std::string> lines = SplitLines(Bytes(p));
  return lines.size() >= 6 ? LenientNumber(lines[5]) : -99999;
}

// Line 6 of every stock ship in `dir` is its price, escape ship included, with the escape ship
// priced from the folder's own file.
void ExpectPricedAndLinked(const fs::path& dir) {
  const ShipList list = ScanShipFiles(dir);
  for (const datagen::RosterShip& stock : datagen::StockRoster()) {
    SCOPED_TRACE(stock.fileName);
    const fs::path path = dir / stock.fileName;
    ASSERT_TRUE(fs::exists(path));
    ShipLoadout loadout;
    ASSERT_EQ(ReadShipForBattle(path, true, &loadout), ShipReadStatus::Ok);
    ShipDefinition def;
    ASSERT_EQ(ReadShipDefinition(path, &def), ShipReadStatus::Ok);
    float ejectValue = 0;
    if (!loadout.ejectShipFile.empty()) {
      const auto it = std::find(list.files.begin(), list.files.end(), loadout.ejectShipFile);
      ASSERT_NE(it, list.files.end()) << "escape ship " << loadout.ejectShipFile << " is not in the ship list";
      ejectValue = static_cast<float>(list.values[static_cast<size_t>(it - list.files.begin())]);
    }
    EXPECT_EQ(ValueLine(path), ShipValue(def, !loadout.ejectShipFile.empty(), ejectValue));
  }
}

}  // namespace

TEST(StockShips, EveryStockShipInTheProgramFolderLoadsAndIsPriced) {
  ExpectPricedAndLinked(QV_PROGRAM_DIR);
}

TEST(StockShips, RosterCoversEverySizeAndWeapon) {
  std::set<double> radii;
  std::set<int> patterns;
  std::set<double> laserKinds;
  std::set<std::string> names, pictures;
  int ion = 0, missiles = 0, torpedoes = 0, twin = 0, electro = 0, chaingun = 0, targeting = 0, repair = 0, eject = 0;
  const auto roster = datagen::StockRoster();
  EXPECT_GE(roster.size(), 12u);
  for (const datagen::RosterShip& stock : roster) {
    SCOPED_TRACE(stock.fileName);
    ShipLoadout s;
    ASSERT_EQ(ReadShipForBattle(fs::path(QV_PROGRAM_DIR) / stock.fileName, true, &s), ShipReadStatus::Ok);
    radii.insert(s.radius);
    patterns.insert(s.laserPattern);
    laserKinds.insert(s.laserKind);
    ion += s.hasIonCannon;
    missiles += s.hasMissiles && s.missiles > 0;
    torpedoes += s.hasTorpedoes && s.torpedoes > 0;
    twin += s.twinLauncher && (s.hasMissiles || s.hasTorpedoes);
    electro += s.hasElectroGun;
    chaingun += s.hasChaingun && s.chaingunAmmo > 0;
    targeting += s.hasTargeting;
    repair += s.selfRepair;
    eject += !s.ejectShipFile.empty();
    EXPECT_TRUE(pictures.insert(s.spriteFile).second) << "picture used twice";
    EXPECT_TRUE(names.insert(stock.design.name).second) << "name used twice";
    std::string lower = stock.fileName;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(stock.fileName, lower);
  }
  EXPECT_EQ(radii, (std::set<double>{20, 30, 45, 60}));
  EXPECT_EQ(patterns, (std::set<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(laserKinds, (std::set<double>{0, 1}));
  for (int count : {ion, missiles, torpedoes, twin, electro, chaingun, targeting, repair}) EXPECT_GT(count, 0);
  EXPECT_GE(eject, 2);
}

TEST(StockShips, UserFilesAreNeverOverwritten) {
  TempDir dir;
  const std::string userArrow = "my own arrow\r\n";
  WriteRaw(dir.path() / "arrow.shp", userArrow);
  // The user's copy under another case of the name also counts.
  WriteRaw(dir.path() / "Hornet.SHP", "my own hornet\r\n");
  // A cheaper or dearer escape pod changes the price of the ships that carry it.
  ShipDefinition pod;
  pod.name = "Gold Pod";
  pod.value = "1000";
  ASSERT_TRUE(SaveShipFile(dir.path() / "pod.shp", pod, nullptr));
  const std::string userPod = Bytes(dir.path() / "pod.shp");

  datagen::GenerateShips(dir.path());
  EXPECT_EQ(Bytes(dir.path() / "arrow.shp"), userArrow);
  EXPECT_EQ(Bytes(dir.path() / "Hornet.SHP"), "my own hornet\r\n");
  EXPECT_FALSE(fs::exists(dir.path() / "hornet.shp"));
  EXPECT_EQ(Bytes(dir.path() / "pod.shp"), userPod);
  for (const auto& stock : datagen::StockRoster()) {
    if (stock.design.ejectShip == "pod.shp") {
      EXPECT_EQ(ValueLine(dir.path() / stock.fileName), ShipValue(stock.design, true, 1000)) << stock.fileName;
    }
  }

  // A second run changes nothing.
  std::vector<std::string> before;
  for (const auto& stock : datagen::StockRoster()) before.push_back(Bytes(ResolveFileName(dir.path(), stock.fileName)));
  datagen::GenerateShips(dir.path());
  size_t i = 0;
  for (const auto& stock : datagen::StockRoster()) {
    EXPECT_EQ(Bytes(ResolveFileName(dir.path(), stock.fileName)), before[i++]) << stock.fileName;
  }
}

TEST(StockShips, FreshFolderGetsTheSameShipsAsTheProgramFolder) {
  TempDir dir;
  datagen::GenerateShips(dir.path());
  ExpectPricedAndLinked(dir.path());
  EXPECT_EQ(ScanShipFiles(dir.path()).files.size(), datagen::StockRoster().size());
}

TEST(StockShips, UnwritableFolderIsReportedWithTheFileName) {
  TempDir dir;
  try {
    datagen::GenerateShips(dir.path() / "missing-folder");
    FAIL() << "no error for a folder that does not exist";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find(".shp"), std::string::npos) << e.what();
  }
}

// Every stock name fits every screen that shows it, in the game's font. On the armada selection the
// two players' cursor lines, "name (value)" in the small font, start at x = 100 (player 1) and end at
// x = 700 (player 2): for every pair of ships a blank's width stays between them. On the ship
// selection "player 1:" and the name in the large font start at x = 50 and end 50 pixels inside the
// right edge. Only characters the font has.
TEST(StockShips, NamesFitEveryScreenInTheGamesFont) {
  TempDir dir;
  datagen::GenerateShips(dir.path());
  const ShipList list = ScanShipFiles(dir.path());
  ASSERT_EQ(list.names.size(), datagen::StockRoster().size());
  auto cursorLine = [&](size_t i) {
    EXPECT_EQ(list.values[i], std::floor(list.values[i])) << list.names[i];
    return list.names[i] + " (" + std::to_string(static_cast<long>(list.values[i])) + ")";
  };
  constexpr int kLargeGlyphWidth = 26;
  const std::string fontCharacters = "abcdefghijklmnopqrstuvwxyz0123456789 -:.,/+?()><'!\"";
  for (size_t a = 0; a < list.names.size(); ++a) {
    SCOPED_TRACE(list.names[a]);
    EXPECT_EQ(list.names[a].find_first_not_of(fontCharacters), std::string::npos) << "not in the font";
    for (size_t b = 0; b < list.names.size(); ++b) {
      const int leftEnd = 100 + kSmallAdvance * static_cast<int>(cursorLine(a).size());
      const int rightStart = 700 - kSmallAdvance * static_cast<int>(cursorLine(b).size());
      EXPECT_LE(leftEnd + kSmallAdvance, rightStart) << cursorLine(a) << " beside " << cursorLine(b);
    }
    const std::string selection = "player 1:" + list.names[a];
    EXPECT_LE(50 + kLargeAdvance * static_cast<int>(selection.size() - 1) + kLargeGlyphWidth, 800 - 50) << selection;
  }
}
