// Loading ships into the battle: the ship list, the figures reaching each ship, and the files that
// stop the game with a message naming them.
#include <gtest/gtest.h>

#include <functional>

#include "game/core/GameExit.h"
#include "game/combat/ShipLoading.h"
#include "game/render/Graphics.h"
#include "platform/DataFiles.h"
#include "platform/Files.h"
#include "tests/core/CoreTesting.h"
#include "tests/support/SurfaceTesting.h"

namespace quorvex {
namespace {

using testing::HeadlessWindow;
using testing::SampleShip;
using testing::ShipTextWith;
using testing::TempFolder;
using testing::WriteShip;
using testing::WriteText;

TEST(ScanShipFilesTest, FillsTheListInNameOrderAndEmptiesBothArmadas) {
  TempFolder dir;
  WriteShip(dir.path(), "Zeta.shp", SampleShip("ZETA Fighter", "z.bmp"));
  auto alpha = SampleShip("Alpha Wing", "a.bmp");
  alpha.value = "275";
  WriteShip(dir.path(), "alpha.SHP", alpha);
  WriteText(dir.path(), "notes.txt", "not a ship");

  auto w = HeadlessWindow(dir.path(), nullptr);
  w->shipFiles[5] = "stale.shp";
  w->shipNames[5] = "stale";
  w->shipValues[5] = 9;
  w->fleet[0][3] = 4;
  w->fleet[1][100] = 2;
  ScanShipFiles(*w);

  EXPECT_EQ(w->lastShipIndex, 1);
  EXPECT_EQ(w->shipFiles[0], "alpha.SHP");
  EXPECT_EQ(w->shipNames[0], "alpha wing");
  EXPECT_EQ(w->shipValues[0], 275);
  EXPECT_EQ(w->shipFiles[1], "Zeta.shp");
  EXPECT_EQ(w->shipNames[1], "zeta fighter");
  EXPECT_EQ(w->shipValues[1], 150);
  EXPECT_EQ(w->shipFiles[5], "");
  EXPECT_EQ(w->shipNames[5], "");
  EXPECT_EQ(w->shipValues[5], 0);
  for (const auto& fleet : w->fleet) {
    for (int slot : fleet) EXPECT_EQ(slot, -1);
  }
  EXPECT_TRUE(w->messages.shown.empty());
}

// Files the list cannot hold are named to the player once, and the game goes on without them.
TEST(ScanShipFilesTest, LeftOutFilesAreNamedInOneMessage) {
  TempFolder dir;
  WriteShip(dir.path(), "good.shp", SampleShip("Good", "g.bmp"));
  WriteText(dir.path(), "short.shp", "Ship definion 1.2\r\n=================\r\nShort\r\n");
  WriteText(dir.path(), "empty.shp", "");
  std::filesystem::create_directory(dir.path() / "folder.shp");  // not a file: not listed at all
  auto w = HeadlessWindow(dir.path(), nullptr);
  ScanShipFiles(*w);
  EXPECT_EQ(w->lastShipIndex, 0);
  EXPECT_EQ(w->shipFiles[0], "good.shp");
  ASSERT_EQ(w->messages.shown.size(), 1u);
  EXPECT_EQ(w->messages.shown[0].title, "ERROR!");
  EXPECT_EQ(w->messages.shown[0].text,
            "Left out of the ship list (cannot be read or fewer than 6 lines): empty.shp, short.shp");
}

// Ship files from other installations are 8-bit text, file names included: the list, the ship,
// its picture and its escape ship keep their bytes.
TEST(ScanShipFilesTest, EightBitNamesReachTheShipUnchanged) {
  TempFolder dir;
  auto ship = SampleShip("K\xC4mpfer Zwei", "k\xE4mpfer.bmp");
  ship.ejectShip = "fl\xFCgel.shp";
  WriteShip(dir.path(), "K\xE4mpfer.shp", ship);
  WriteShip(dir.path(), "fl\xFCgel.shp", SampleShip("Fl\xFCgel", "k\xE4mpfer.bmp"));
  std::filesystem::copy_file(testing::ProgramDir() / "pod.bmp", dir.path() / "k\xE4mpfer.bmp");

  auto w = HeadlessWindow(dir.path(), nullptr);
  ScanShipFiles(*w);
  ASSERT_EQ(w->lastShipIndex, 1);
  const int k = w->shipFiles[0] == "K\xE4mpfer.shp" ? 0 : 1;
  EXPECT_EQ(w->shipFiles[k], "K\xE4mpfer.shp");
  EXPECT_EQ(w->shipNames[k], "k\xC4mpfer zwei");  // only A to Z are lowered
  w->fleet[0][0] = k;
  LoadShip(*w, 1);
  EXPECT_EQ(w->ship[0].spriteFile, "k\xE4mpfer.bmp");
  EXPECT_EQ(w->ship[0].ejectShipFile, "fl\xFCgel.shp");
  Surface picture;
  LoadPicture(*w, w->ship[0].spriteFile, &picture);
  EXPECT_EQ(picture.width(), 400);
  EXPECT_TRUE(w->messages.shown.empty());
}

// One ship file (made from the sample by `edit`, or as raw text by `text`) loaded for a player,
// and what must then hold for that player's ship.
struct LoadCase {
  const char* name;
  int player;
  std::function<void(ShipDefinition&)> edit;
  std::function<std::string(const ShipDefinition&)> text;  // replaces the written file when set
  std::function<void(const ShipState&)> check;
};
void PrintTo(const LoadCase& c, std::ostream* os) { *os << c.name; }

// The text of a ship file with line `lineNo` (1-based) replaced.
std::string WithLine(const ShipDefinition& def, int lineNo, const std::string& line) {
  std::vector<std::string> lines = SplitLines(ShipFileText(def));
  lines[static_cast<size_t>(lineNo - 1)] = line;
  std::string text;
  for (const std::string& l : lines) text += l + "\r\n";
  return text;
}

class LoadShipTest : public ::testing::TestWithParam<LoadCase> {};

TEST_P(LoadShipTest, FiguresReachTheShip) {
  const LoadCase& c = GetParam();
  TempFolder dir;
  ShipDefinition def = SampleShip("Test", "pic.bmp");
  if (c.edit) c.edit(def);
  if (c.text) {
    WriteText(dir.path(), "a.shp", c.text(def));
  } else {
    WriteShip(dir.path(), "a.shp", def);
  }
  auto w = HeadlessWindow(dir.path(), nullptr);
  ScanShipFiles(*w);
  w->ship[c.player - 1].x = 5;
  LoadShip(*w, c.player);

  const ShipState& s = w->ship[c.player - 1];
  EXPECT_EQ(w->fleet[c.player - 1][0], 0);
  EXPECT_EQ(s.x, c.player == 1 ? 100 : 700);  // the load resets the ship
  EXPECT_EQ(s.hullMax, s.hull);
  EXPECT_EQ(s.shieldMax, s.shield);
  EXPECT_EQ(s.energy, 100);
  c.check(s);
  EXPECT_TRUE(w->messages.shown.empty());
}

void ExpectSample(const ShipState& s) {
  EXPECT_EQ(s.spriteFile, "pic.bmp");
  EXPECT_EQ(s.radius, 45);
  EXPECT_EQ(s.laserReload, 7);
  EXPECT_DOUBLE_EQ(s.shotEnergy, 2.5);
  EXPECT_DOUBLE_EQ(s.energyRate, 0.12);
  EXPECT_EQ(s.hull, 80);
  EXPECT_EQ(s.shield, 40);
  EXPECT_EQ(s.maxSpeed, 6);
  EXPECT_EQ(s.mass, 9);
  EXPECT_DOUBLE_EQ(s.turnRate, 0.5);
  EXPECT_EQ(s.laserPattern, 3);
  EXPECT_EQ(s.laserKind, 1);
  EXPECT_TRUE(s.hasIonCannon);
  EXPECT_TRUE(s.hasMissiles);
  EXPECT_FALSE(s.hasTorpedoes);
  EXPECT_EQ(s.missiles, 12);
  EXPECT_EQ(s.torpedoes, 3);
  EXPECT_FALSE(s.selfRepair);
  EXPECT_TRUE(s.hasElectroGun);
  EXPECT_TRUE(s.hasChaingun);
  EXPECT_EQ(s.chaingunAmmo, 44);
  EXPECT_TRUE(s.hasTargeting);
  EXPECT_FALSE(s.twinLauncher);
  EXPECT_EQ(s.ejectShipFile, "");
  EXPECT_EQ(s.launcherReload, 55);
}

INSTANTIATE_TEST_SUITE_P(
    Conversions, LoadShipTest,
    ::testing::Values(
        LoadCase{"SamplePlayer1", 1, nullptr, nullptr, ExpectSample},
        LoadCase{"SamplePlayer2", 2, nullptr, nullptr, ExpectSample},
        LoadCase{"TinyIsTwenty", 1, [](ShipDefinition& d) { d.sizeClass = -1; }, nullptr,
                 [](const ShipState& s) { EXPECT_EQ(s.radius, 20); }},
        LoadCase{"LargeIsSixty", 2, [](ShipDefinition& d) { d.sizeClass = 2; }, nullptr,
                 [](const ShipState& s) { EXPECT_EQ(s.radius, 60); }},
        LoadCase{"NoShieldGivesZeroMaximum", 1, [](ShipDefinition& d) { d.shield = 0; }, nullptr,
                 [](const ShipState& s) { EXPECT_EQ(s.shieldMax, 0); }},
        LoadCase{"ChaingunNotTickedHasNoAmmunition", 2, [](ShipDefinition& d) { d.chaingun = false; }, nullptr,
                 [](const ShipState& s) {
                   EXPECT_FALSE(s.hasChaingun);
                   EXPECT_EQ(s.chaingunAmmo, 0);
                 }},
        LoadCase{"EscapeShipAndEverythingFitted", 1,
                 [](ShipDefinition& d) {
                   d.ejectShip = "pod.shp";
                   d.torpedoLauncher = 1;
                   d.repairDroid = 1;
                   d.twinLaunchers = 1;
                   d.laserCannons = 4;
                   d.greenLaser = 0;
                 },
                 nullptr,
                 [](const ShipState& s) {
                   EXPECT_EQ(s.ejectShipFile, "pod.shp");
                   EXPECT_TRUE(s.hasTorpedoes);
                   EXPECT_TRUE(s.selfRepair);
                   EXPECT_TRUE(s.twinLauncher);
                   EXPECT_EQ(s.laserPattern, 5);
                   EXPECT_EQ(s.laserKind, 0);
                 }},
        LoadCase{"TargetingWrittenAsFalse", 1, nullptr,
                 [](const ShipDefinition& d) { return WithLine(d, 28, "False"); },
                 [](const ShipState& s) { EXPECT_FALSE(s.hasTargeting); }},
        LoadCase{"TwinLauncherTwoIsNotOne", 2, nullptr, [](const ShipDefinition& d) { return WithLine(d, 29, " 2 "); },
                 [](const ShipState& s) { EXPECT_FALSE(s.twinLauncher); }},
        LoadCase{"LauncherReloadBeyondAByteIsPinned", 1, nullptr,
                 [](const ShipDefinition& d) { return WithLine(d, 31, " 300 "); },
                 [](const ShipState& s) { EXPECT_EQ(s.launcherReload, 255); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LoadShipFleetTest, LoadsTheShipOfTheFlyingSlot) {
  TempFolder dir;
  WriteShip(dir.path(), "a.shp", SampleShip("A", "a.bmp"));
  WriteShip(dir.path(), "b.shp", SampleShip("B", "b.bmp"));
  WriteShip(dir.path(), "c.shp", SampleShip("C", "c.bmp"));
  auto w = HeadlessWindow(dir.path(), nullptr);
  ScanShipFiles(*w);
  w->fleet[1] .fill(-1);
  w->fleet[1][0] = 0;
  w->fleet[1][1] = 2;
  w->fleetSlot[1] = 1;
  LoadShip(*w, 2);
  EXPECT_EQ(w->ship[1].spriteFile, "c.bmp");

  w->fleetSlot[0] = 4;  // an empty slot gets the first ship of the list
  LoadShip(*w, 1);
  EXPECT_EQ(w->fleet[0][4], 0);
  EXPECT_EQ(w->ship[0].spriteFile, "a.bmp");
}

// A folder whose ship for `player` cannot fly: the game shows `message` and ends.
struct BadShipCase {
  const char* name;
  int player;
  std::function<void(const std::filesystem::path&)> make;
  std::string message;       // "<folder>" stands for the folder's path
  std::string scanMessage{};  // what the start-up scan said before, if anything
};
void PrintTo(const BadShipCase& c, std::ostream* os) { *os << c.name; }

class BadShipTest : public ::testing::TestWithParam<BadShipCase> {};

TEST_P(BadShipTest, MessageNamesTheFileAndTheGameEnds) {
  const BadShipCase& c = GetParam();
  TempFolder dir;
  c.make(dir.path());
  auto w = HeadlessWindow(dir.path(), nullptr);
  ScanShipFiles(*w);
  if (c.player == 2 && w->lastShipIndex >= 1) w->fleet[1][0] = 1;  // player 2 flies the second file
  if (std::string(c.name) == "MissingFile") w->shipFiles[0] = "gone.shp";
  w->duelsPlayed = 1;  // between duels the pictures come with the ship

  EXPECT_THROW(LoadShip(*w, c.player), GameExit);
  std::string expected = c.message;
  const size_t at = expected.find("<folder>");
  if (at != std::string::npos) expected.replace(at, 8, dir.path().string());
  const size_t scan = c.scanMessage.empty() ? 0 : 1;
  ASSERT_EQ(w->messages.shown.size(), scan + 1);
  if (scan) {
    EXPECT_EQ(w->messages.shown[0].text, c.scanMessage);
  }
  EXPECT_EQ(w->messages.shown[scan].title, "ERROR!");
  EXPECT_EQ(w->messages.shown[scan].text, expected);
}

// A ship whose picture or escape ship lies outside the program folder is refused before anything
// is opened, also between duels when the pictures are loaded with the ship.
BadShipCase RefusedName(const char* name, const std::string& picture, const std::string& eject) {
  ShipDefinition def = SampleShip("Bad", picture);
  def.ejectShip = eject;
  const std::string bad = IsBareFileName(picture) ? eject : picture;
  return BadShipCase{name, 1, [def](const std::filesystem::path& d) { WriteShip(d, "bad.shp", def); },
                     "bad.shp: refused file name \"" + bad + "\" (only a bare file name in the program folder is allowed)"};
}

const ShipDefinition kGood = SampleShip("Good", "g.bmp");

INSTANTIATE_TEST_SUITE_P(
    Files, BadShipTest,
    ::testing::Values(
        BadShipCase{"Version11ForPlayer1", 1,
                    [](const auto& d) { WriteText(d, "old.shp", ShipTextWith(kGood, kShipVersion11, 29)); },
                    "Not a valid ship definion: old.shp"},
        BadShipCase{"Version10ForPlayer2", 2,
                    [](const auto& d) {
                      WriteShip(d, "a.shp", kGood);
                      WriteText(d, "b.shp", ShipTextWith(kGood, kShipVersion10, 27));
                    },
                    "Not a valid ship definion: b.shp"},
        BadShipCase{"VersionLineWithTrailingBlank", 1,
                    [](const auto& d) { WriteText(d, "a.shp", ShipTextWith(kGood, "Ship definion 1.2 ", 31)); },
                    "Not a valid ship definion: a.shp"},
        BadShipCase{"NotAShipAtAll", 1,
                    [](const auto& d) { WriteText(d, "junk.shp", "hello\r\nworld\r\n\r\n\r\n\r\n\r\n"); },
                    "Not a valid ship definion: junk.shp"},
        BadShipCase{"ShortFile", 1,
                    [](const auto& d) { WriteText(d, "short.shp", ShipTextWith(kGood, kShipVersion12, 20)); },
                    "The ship file is incomplete (fewer than 31 lines): short.shp"},
        BadShipCase{"MissingFile", 1, [](const auto& d) { WriteShip(d, "a.shp", kGood); },
                    "Cannot open the ship file: gone.shp"},
        BadShipCase{"EmptyFolder", 1, [](const auto&) {},
                    "No ship definitions (*.shp) found in the folder: <folder>"},
        BadShipCase{"OnlyUnreadableFiles", 2, [](const auto& d) { WriteText(d, "tiny.shp", "Ship definion 1.2\r\n"); },
                    "No ship definitions (*.shp) found in the folder: <folder>",
                    "Left out of the ship list (cannot be read or fewer than 6 lines): tiny.shp"},
        RefusedName("PictureAbsolute", "/etc/passwd", ""), RefusedName("PictureUpwards", "../../etc/passwd", ""),
        RefusedName("PictureDevice", "/dev/stdin", ""), RefusedName("PictureInAFolder", "pics/g.bmp", "pod.shp"),
        RefusedName("EjectAbsolute", "g.bmp", "/dev/zero"), RefusedName("EjectUpwards", "g.bmp", "../pod.shp"),
        RefusedName("EjectParent", "g.bmp", ".."), RefusedName("EjectBackslash", "g.bmp", "..\\pod.shp")),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quorvex
