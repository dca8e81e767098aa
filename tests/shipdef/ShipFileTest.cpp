// Ship files: lenient numbers, the writer's exact bytes, the battle loader's conversions, the
// start-up scan and the ship value.
#include <gtest/gtest.h>

#include "tests/support/TempDir.h"

#include <unistd.h>

#include <cfloat>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "shipdef/ShipFile.h"

namespace fs = std::filesystem;
using namespace quorvex;

namespace {

// A fresh empty folder per test, removed afterwards.
using quorvex::testing::TempDir;

void WriteRaw(const fs::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary);
  out << bytes;
}

std::string Join(const std::vector<std::string>& lines) {
  std::string s;
  for (const auto& l : lines) s += l + "\r\n";
  return s;
}

// A sample design with every field set to something distinguishable.
ShipDefinition Sample() {
  ShipDefinition d;
  d.name = "Test Ship";
  d.picture = "test.bmp";
  d.sizeClass = 1;
  d.value = "123";
  d.laserReload = 30;
  d.shotPower = 29;
  d.energyRate = 5;
  d.hull = 20;
  d.shield = 45;
  d.speed = 11;
  d.mass = 15;
  d.turningRate = 5;
  d.laserCannons = 3;
  d.greenLaser = 1;
  d.ionCannon = 1;
  d.missileLauncher = 1;
  d.torpedoLauncher = 0;
  d.missiles = 12;
  d.torpedoes = 4;
  d.repairDroid = 1;
  d.electroGun = 0;
  d.markX = "7";
  d.markY = "-3";
  d.chaingun = true;
  d.chaingunAmmo = 40;
  d.targeting = 1;
  d.twinLaunchers = 0;
  d.ejectShip = "pod.shp";
  d.launcherReload = 60;
  return d;
}

// The lines of the sample as the writer must produce them.
std::vector<std::string> SampleLines() {
  return {"Ship definion 1.2", "=================", "Test Ship", "test.bmp", " 1 ", "123", " 30 ", " 29 ",
          " 5 ", " 20 ", " 45 ", " 11 ", " 15 ", " 5 ", " 3 ", " 1 ", " 1 ", " 1 ", " 0 ", " 12 ",
          " 4 ", " 1 ", ":-)", " 0 ", "7", "-3", " 40 ", " 1 ", " 0 ", "pod.shp", " 60 "};
}

}  // namespace

TEST(LenientNumber, TakesTheLeadingNumberAndIgnoresTheRest) {
  struct Case {
    const char* text;
    double expected;
  } cases[] = {
      {" 5 ", 5},      {"5abc", 5},     {"abc", 0},       {"-1", -1},   {"1.5", 1.5},  {"True", 0},
      {"", 0},         {"+3", 3},       {"-.5", -0.5},    {"\t 7", 7},  {"1.2.3", 1.2}, {"5.", 5},
      {".", 0},        {"-", 0},        {"1e5", 1},       {"- 5", 0},   {"12 34", 12}, {"-0", 0},
      {"007", 7},      {"  -42 ", -42}, {"3,5", 3},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(LenientNumber(c.text), c.expected) << '"' << c.text << '"';
}

TEST(LenientNumber, HugeAndTinyNumbersStayFinite) {
  EXPECT_EQ(LenientNumber(std::string(400, '9')), DBL_MAX);
  EXPECT_EQ(LenientNumber("-" + std::string(400, '9')), -DBL_MAX);
  EXPECT_EQ(LenientNumber("0." + std::string(400, '0') + "1"), 0.0);
}

TEST(FormatFileNumber, BlankForTheSignAndOneAfter) {
  EXPECT_EQ(FormatFileNumber(5), " 5 ");
  EXPECT_EQ(FormatFileNumber(-1), "-1 ");
  EXPECT_EQ(FormatFileNumber(0), " 0 ");
  EXPECT_EQ(FormatFileNumber(-10000), "-10000 ");
  EXPECT_EQ(LenientNumber(FormatFileNumber(-37)), -37);
}

TEST(ShipVersion, FirstLineComparedExactly) {
  EXPECT_EQ(DetectShipVersion("Ship definion 1.2"), ShipVersion::V12);
  EXPECT_EQ(DetectShipVersion("Ship definion 1.1"), ShipVersion::V11);
  EXPECT_EQ(DetectShipVersion("Ship definion 1.0"), ShipVersion::V10);
  EXPECT_EQ(DetectShipVersion("Ship definion 1.2 "), ShipVersion::Unknown);
  EXPECT_EQ(DetectShipVersion("ship definion 1.2"), ShipVersion::Unknown);
  EXPECT_EQ(DetectShipVersion("Ship definition 1.2"), ShipVersion::Unknown);
  EXPECT_EQ(DetectShipVersion(""), ShipVersion::Unknown);
}

TEST(ShipWriter, WritesThirtyOneLinesByteForByte) {
  EXPECT_EQ(ShipFileText(Sample()), Join(SampleLines()));
}

TEST(ShipWriter, ValueRulesOfTheEditorControls) {
  struct Case {
    const char* what;
    std::function<void(ShipDefinition&)> change;
    int line;  // 1-based
    const char* expected;
  } cases[] = {
      {"Single", [](ShipDefinition& d) { d.laserCannons = 0; }, 15, " 0 "},
      {"Double", [](ShipDefinition& d) { d.laserCannons = 2; }, 15, " 2 "},
      {"Shotgun", [](ShipDefinition& d) { d.laserCannons = 4; }, 15, " 4 "},
      {"2x Single", [](ShipDefinition& d) { d.laserCannons = 1; }, 15, " 1 "},
      {"no laser option", [](ShipDefinition& d) { d.laserCannons = -1; }, 15, " 1 "},
      {"unknown laser option", [](ShipDefinition& d) { d.laserCannons = 9; }, 15, " 1 "},
      {"green ticked as 2", [](ShipDefinition& d) { d.greenLaser = 2; }, 16, " 1 "},
      {"torpedo launcher ticked", [](ShipDefinition& d) { d.torpedoLauncher = -1; }, 19, " 1 "},
      {"repair clear", [](ShipDefinition& d) { d.repairDroid = 0; }, 22, " 0 "},
      {"electro-beam", [](ShipDefinition& d) { d.electroGun = 5; }, 24, " 1 "},
      {"chaingun clear keeps bar", [](ShipDefinition& d) { d.chaingun = false; d.chaingunAmmo = 50; }, 27, " 0 "},
      {"chaingun ticked", [](ShipDefinition& d) { d.chaingunAmmo = 99; }, 27, " 99 "},
      {"twin launchers", [](ShipDefinition& d) { d.twinLaunchers = 1; }, 29, " 1 "},
      {"no eject ship", [](ShipDefinition& d) { d.ejectShip.clear(); }, 30, ""},
      {"size tiny", [](ShipDefinition& d) { d.sizeClass = -1; }, 5, "-1 "},
      {"marks as text", [](ShipDefinition& d) { d.markX = " 12.5"; }, 25, " 12.5"},
      {"value as text", [](ShipDefinition& d) { d.value = "-50"; }, 6, "-50"},
      {"delay 0", [](ShipDefinition& d) { d.launcherReload = 0; }, 31, " 0 "},
  };
  for (const auto& c : cases) {
    ShipDefinition d = Sample();
    c.change(d);
    std::vector<std::string> expected = SampleLines();
    expected[static_cast<size_t>(c.line - 1)] = c.expected;
    EXPECT_EQ(ShipFileText(d), Join(expected)) << c.what;
  }
}

TEST(ShipWriter, SaveWritesTheFileAndReportsFailures) {
  TempDir dir;
  std::string error;
  ASSERT_TRUE(SaveShipFile(dir.path() / "x.shp", Sample(), &error)) << error;
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(dir.path() / "x.shp", &bytes, &error));
  EXPECT_EQ(bytes, Join(SampleLines()));

  error.clear();
  EXPECT_FALSE(SaveShipFile(dir.path() / "no-such-folder" / "y.shp", Sample(), &error));
  EXPECT_NE(error.find("y.shp"), std::string::npos) << error;
}

TEST(ShipReader, WriterOutputReadsBackWithTheBattleConversions) {
  TempDir dir;
  ASSERT_TRUE(SaveShipFile(dir.path() / "s.shp", Sample(), nullptr));
  ShipLoadout s;
  ASSERT_EQ(ReadShipForBattle(dir.path() / "s.shp", true, &s), ShipReadStatus::Ok);
  EXPECT_EQ(s.spriteFile, "test.bmp");
  EXPECT_DOUBLE_EQ(s.radius, 45);
  EXPECT_DOUBLE_EQ(s.laserReload, 30);
  EXPECT_DOUBLE_EQ(s.shotEnergy, 2.9);
  EXPECT_DOUBLE_EQ(s.energyRate, 0.05);
  EXPECT_DOUBLE_EQ(s.hull, 20);
  EXPECT_DOUBLE_EQ(s.shield, 45);
  EXPECT_DOUBLE_EQ(s.maxSpeed, 11);
  EXPECT_DOUBLE_EQ(s.mass, 15);
  EXPECT_DOUBLE_EQ(s.turnRate, 0.5);
  EXPECT_EQ(s.laserPattern, 4);
  EXPECT_DOUBLE_EQ(s.laserKind, 1);
  EXPECT_TRUE(s.hasIonCannon);
  EXPECT_TRUE(s.hasMissiles);
  EXPECT_FALSE(s.hasTorpedoes);
  EXPECT_DOUBLE_EQ(s.missiles, 12);
  EXPECT_DOUBLE_EQ(s.torpedoes, 4);
  EXPECT_TRUE(s.selfRepair);
  EXPECT_FALSE(s.hasElectroGun);
  EXPECT_TRUE(s.hasChaingun);
  EXPECT_DOUBLE_EQ(s.chaingunAmmo, 40);
  EXPECT_TRUE(s.hasTargeting);
  EXPECT_FALSE(s.twinLauncher);
  EXPECT_EQ(s.ejectShipFile, "pod.shp");
  EXPECT_EQ(s.launcherReload, 60);
}

TEST(ShipReader, EveryConversionOfTheLoader) {
  struct Case {
    int line;
    const char* text;
    std::function<void(const ShipLoadout&)> check;
  } cases[] = {
      {5, "-1 ", [](const ShipLoadout& s) { EXPECT_DOUBLE_EQ(s.radius, 20); }},
      {5, " 0 ", [](const ShipLoadout& s) { EXPECT_DOUBLE_EQ(s.radius, 30); }},
      {5, " 2 ", [](const ShipLoadout& s) { EXPECT_DOUBLE_EQ(s.radius, 60); }},
      {5, " 3 ", [](const ShipLoadout& s) { EXPECT_DOUBLE_EQ(s.radius, 75); }},
      {5, "-2", [](const ShipLoadout& s) { EXPECT_DOUBLE_EQ(s.radius, 0); }},
      {7, " 100 ", [](const ShipLoadout& s) { EXPECT_DOUBLE_EQ(s.laserReload, 100); }},
      {8, " 7 ", [](const ShipLoadout& s) { EXPECT_DOUBLE_EQ(s.shotEnergy, 0.7); }},
      {9, " 25 ", [](const ShipLoadout& s) { EXPECT_DOUBLE_EQ(s.energyRate, 0.25); }},
      {10, " 150 ", [](const ShipLoadout& s) { EXPECT_DOUBLE_EQ(s.hull, 150); }},
      {11, " 0 ", [](const ShipLoadout& s) { EXPECT_DOUBLE_EQ(s.shield, 0); }},
      {12, "2.5", [](const ShipLoadout& s) { EXPECT_DOUBLE_EQ(s.maxSpeed, 2.5); }},
      {13, " 50 ", [](const ShipLoadout& s) { EXPECT_DOUBLE_EQ(s.mass, 50); }},
      {14, " 10 ", [](const ShipLoadout& s) { EXPECT_DOUBLE_EQ(s.turnRate, 1.0); }},
      {15, " 0 ", [](const ShipLoadout& s) { EXPECT_EQ(s.laserPattern, 1); }},
      {15, " 4 ", [](const ShipLoadout& s) { EXPECT_EQ(s.laserPattern, 5); }},
      {15, "1.5", [](const ShipLoadout& s) { EXPECT_EQ(s.laserPattern, 2); }},  // 2.5 to the even 2
      {16, " 0 ", [](const ShipLoadout& s) { EXPECT_DOUBLE_EQ(s.laserKind, 0); }},
      {16, " 3 ", [](const ShipLoadout& s) { EXPECT_DOUBLE_EQ(s.laserKind, 3); }},
      {17, " 0 ", [](const ShipLoadout& s) { EXPECT_FALSE(s.hasIonCannon); }},
      {17, " 2 ", [](const ShipLoadout& s) { EXPECT_FALSE(s.hasIonCannon); }},
      {18, " 0 ", [](const ShipLoadout& s) { EXPECT_FALSE(s.hasMissiles); }},
      {18, "1.0", [](const ShipLoadout& s) { EXPECT_TRUE(s.hasMissiles); }},
      {19, " 1 ", [](const ShipLoadout& s) { EXPECT_TRUE(s.hasTorpedoes); }},
      {19, "-1", [](const ShipLoadout& s) { EXPECT_FALSE(s.hasTorpedoes); }},
      {20, " 50 ", [](const ShipLoadout& s) { EXPECT_DOUBLE_EQ(s.missiles, 50); }},
      {21, " 20 ", [](const ShipLoadout& s) { EXPECT_DOUBLE_EQ(s.torpedoes, 20); }},
      {22, " 0 ", [](const ShipLoadout& s) { EXPECT_FALSE(s.selfRepair); }},
      {22, " 2 ", [](const ShipLoadout& s) { EXPECT_FALSE(s.selfRepair); }},
      {24, " 1 ", [](const ShipLoadout& s) { EXPECT_TRUE(s.hasElectroGun); }},
      {24, "-3", [](const ShipLoadout& s) { EXPECT_TRUE(s.hasElectroGun); }},
      {24, "no", [](const ShipLoadout& s) { EXPECT_FALSE(s.hasElectroGun); }},
      {27, " 0 ", [](const ShipLoadout& s) { EXPECT_FALSE(s.hasChaingun); EXPECT_DOUBLE_EQ(s.chaingunAmmo, 0); }},
      {27, "-5", [](const ShipLoadout& s) { EXPECT_FALSE(s.hasChaingun); EXPECT_DOUBLE_EQ(s.chaingunAmmo, 0); }},
      {27, " 99 ", [](const ShipLoadout& s) { EXPECT_TRUE(s.hasChaingun); EXPECT_DOUBLE_EQ(s.chaingunAmmo, 99); }},
      {27, "0.5", [](const ShipLoadout& s) { EXPECT_TRUE(s.hasChaingun); EXPECT_DOUBLE_EQ(s.chaingunAmmo, 0.5); }},
      {28, " 1 ", [](const ShipLoadout& s) { EXPECT_TRUE(s.hasTargeting); }},
      {28, " 2 ", [](const ShipLoadout& s) { EXPECT_TRUE(s.hasTargeting); }},
      {28, " 0 ", [](const ShipLoadout& s) { EXPECT_FALSE(s.hasTargeting); }},
      {28, "True", [](const ShipLoadout& s) { EXPECT_TRUE(s.hasTargeting); }},
      {28, "False", [](const ShipLoadout& s) { EXPECT_FALSE(s.hasTargeting); }},
      {28, " true ", [](const ShipLoadout& s) { EXPECT_TRUE(s.hasTargeting); }},
      {28, "", [](const ShipLoadout& s) { EXPECT_FALSE(s.hasTargeting); }},
      {29, " 1 ", [](const ShipLoadout& s) { EXPECT_TRUE(s.twinLauncher); }},
      {29, " 2 ", [](const ShipLoadout& s) { EXPECT_FALSE(s.twinLauncher); }},
      {30, "", [](const ShipLoadout& s) { EXPECT_EQ(s.ejectShipFile, ""); }},
      {30, "Shuttle.SHP", [](const ShipLoadout& s) { EXPECT_EQ(s.ejectShipFile, "Shuttle.SHP"); }},
      {4, "Odd Name.BMP", [](const ShipLoadout& s) { EXPECT_EQ(s.spriteFile, "Odd Name.BMP"); }},
      {31, " 100 ", [](const ShipLoadout& s) { EXPECT_EQ(s.launcherReload, 100); }},
      {31, "12.5", [](const ShipLoadout& s) { EXPECT_EQ(s.launcherReload, 12); }},
      {31, "13.5", [](const ShipLoadout& s) { EXPECT_EQ(s.launcherReload, 14); }},
      {31, " 255 ", [](const ShipLoadout& s) { EXPECT_EQ(s.launcherReload, 255); }},
      {31, " 300 ", [](const ShipLoadout& s) { EXPECT_EQ(s.launcherReload, 255); }},
      {31, "-4", [](const ShipLoadout& s) { EXPECT_EQ(s.launcherReload, 0); }},
  };
  TempDir dir;
  for (const auto& c : cases) {
    std::vector<std::string> lines = SampleLines();
    lines[static_cast<size_t>(c.line - 1)] = c.text;
    WriteRaw(dir.path() / "c.shp", Join(lines));
    ShipLoadout s;
    SCOPED_TRACE("line " + std::to_string(c.line) + " = \"" + c.text + "\"");
    ASSERT_EQ(ReadShipForBattle(dir.path() / "c.shp", true, &s), ShipReadStatus::Ok);
    c.check(s);
  }
}

TEST(ShipReader, VersionLengthAndMissingFiles) {
  TempDir dir;
  std::vector<std::string> v11 = SampleLines();
  v11[0] = kShipVersion11;
  v11.resize(29);
  WriteRaw(dir.path() / "old.shp", Join(v11));

  std::vector<std::string> wrongFirst = SampleLines();
  wrongFirst[0] = "Ship definion 1.2 ";
  WriteRaw(dir.path() / "blank.shp", Join(wrongFirst));

  std::vector<std::string> short12 = SampleLines();
  short12.resize(30);
  WriteRaw(dir.path() / "short.shp", Join(short12));

  std::vector<std::string> lfOnly = SampleLines();
  std::string lf;
  for (const auto& l : lfOnly) lf += l + "\n";
  WriteRaw(dir.path() / "unix.shp", lf);
  WriteRaw(dir.path() / "empty.shp", "");

  struct Case {
    const char* file;
    bool check;
    ShipReadStatus expected;
  } cases[] = {
      {"old.shp", true, ShipReadStatus::NotValid},   {"old.shp", false, ShipReadStatus::TooShort},
      {"blank.shp", true, ShipReadStatus::NotValid}, {"blank.shp", false, ShipReadStatus::Ok},
      {"short.shp", true, ShipReadStatus::TooShort}, {"unix.shp", true, ShipReadStatus::Ok},
      {"empty.shp", true, ShipReadStatus::NotValid}, {"empty.shp", false, ShipReadStatus::TooShort},
      {"none.shp", true, ShipReadStatus::Missing},   {"UNIX.SHP", true, ShipReadStatus::Ok},
  };
  for (const auto& c : cases) {
    ShipLoadout s;
    EXPECT_EQ(ReadShipForBattle(dir.path() / c.file, c.check, &s), c.expected) << c.file << " " << c.check;
  }
  fs::create_directory(dir.path() / "folder.shp");
  ShipLoadout s;
  EXPECT_EQ(ReadShipForBattle(dir.path() / "folder.shp", true, &s), ShipReadStatus::Missing);

  EXPECT_EQ(ShipReadMessage(ShipReadStatus::NotValid, "old.shp"), "Not a valid ship definion: old.shp");
  EXPECT_NE(ShipReadMessage(ShipReadStatus::TooShort, "short.shp").find("short.shp"), std::string::npos);
  EXPECT_NE(ShipReadMessage(ShipReadStatus::Missing, "none.shp").find("none.shp"), std::string::npos);
}

TEST(ShipScan, ListsShipFilesInNameOrderWithLowerCaseNames) {
  TempDir dir;
  auto ship = [&](const std::string& file, const std::string& name, const std::string& value) {
    std::vector<std::string> lines = SampleLines();
    lines[2] = name;
    lines[5] = value;
    WriteRaw(dir.path() / file, Join(lines));
  };
  ship("beta.shp", "Beta CRUISER", "150");
  ship("Alpha.SHP", "ALPHA", "-50");
  ship("gamma.Shp", "Gamma Ray", " 12abc");
  ship("delta.txt", "Not A Ship", "1");
  ship("epsilon.shpx", "Not A Ship", "1");
  WriteRaw(dir.path() / "short.shp", Join({"Ship definion 1.2", "=", "Short", "s.bmp", " 0 "}));
  WriteRaw(dir.path() / "six.shp", Join({"Ship definion 1.0", "=", "Six Lines", "s.bmp", " 0 ", "77"}));
  fs::create_directory(dir.path() / "dir.shp");

  const ShipList list = ScanShipFiles(dir.path());
  EXPECT_EQ(list.files, (std::vector<std::string>{"Alpha.SHP", "beta.shp", "gamma.Shp", "six.shp"}));
  EXPECT_EQ(list.names, (std::vector<std::string>{"alpha", "beta cruiser", "gamma ray", "six lines"}));
  EXPECT_EQ(list.values, (std::vector<double>{-50, 150, 12, 77}));
  EXPECT_EQ(list.lastShipIndex, 3);
  EXPECT_EQ(list.unreadable, (std::vector<std::string>{"short.shp"}));
  EXPECT_EQ(list.ignored, 0);
}

TEST(ShipScan, EmptyFolderAndTheLimitOf256) {
  TempDir dir;
  const ShipList empty = ScanShipFiles(dir.path());
  EXPECT_TRUE(empty.files.empty());
  EXPECT_EQ(empty.lastShipIndex, 0);
  const ShipList missing = ScanShipFiles(dir.path() / "absent");
  EXPECT_TRUE(missing.files.empty());

  const std::string bytes = Join(SampleLines());
  for (int i = 0; i < 260; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "s%03d.shp", i);
    WriteRaw(dir.path() / name, bytes);
  }
  WriteRaw(dir.path() / "a-short.shp", "Ship definion 1.2\r\n");
  const ShipList list = ScanShipFiles(dir.path());
  ASSERT_EQ(list.files.size(), 256u);
  EXPECT_EQ(list.files.front(), "s000.shp");
  EXPECT_EQ(list.files.back(), "s255.shp");
  EXPECT_EQ(list.lastShipIndex, 255);
  EXPECT_EQ(list.ignored, 4);
  EXPECT_EQ(list.unreadable, (std::vector<std::string>{"a-short.shp"}));
}

namespace {

// The weakest design: what the editor's "New" leaves.
ShipDefinition Weakest() {
  ShipDefinition d;
  d.sizeClass = -1;
  d.laserReload = 100;
  d.shotPower = 1;
  d.energyRate = 1;
  d.hull = 1;
  d.shield = 0;
  d.speed = 1;
  d.mass = 50;
  d.turningRate = 1;
  return d;
}

// The design values of the editor's bars on a small ship, nothing ticked.
ShipDefinition DesignSmall() {
  ShipDefinition d;
  d.sizeClass = 0;
  d.hull = 20;
  d.shield = 45;
  d.laserReload = 30;
  d.shotPower = 29;
  d.energyRate = 5;
  d.speed = 11;
  d.mass = 15;
  d.turningRate = 5;
  return d;
}

}  // namespace

TEST(ShipValue, PricesOfTheEditor) {
  struct Case {
    const char* what;
    ShipDefinition def;
    bool eject;
    float ejectValue;
    float expected;
  };
  auto with = [](ShipDefinition d, const std::function<void(ShipDefinition&)>& f) {
    f(d);
    return d;
  };
  const Case cases[] = {
      // total 156: nearest(-9.94) * 5
      {"weakest", Weakest(), false, 0, -50},
      // total 667.5: nearest(20.147) * 5
      {"design small", DesignSmall(), false, 0, 100},
      {"missiles without launcher", with(DesignSmall(), [](auto& d) { d.missiles = 50; }), false, 0, 100},
      {"torpedoes without launcher", with(DesignSmall(), [](auto& d) { d.torpedoes = 20; }), false, 0, 100},
      // 667.5 + 50 + 10 * 15 = 867.5: nearest(31.91) * 5
      {"missile launcher", with(DesignSmall(), [](auto& d) { d.missileLauncher = 1; d.missiles = 10; }), false, 0, 160},
      // 667.5 + 50 + 4 * 25 = 817.5: nearest(28.97) * 5
      {"torpedo launcher", with(DesignSmall(), [](auto& d) { d.torpedoLauncher = 1; d.torpedoes = 4; }), false, 0, 145},
      // chaingun ammunition is priced whether or not the chaingun is ticked: 667.5 + 300
      {"ammunition only", with(DesignSmall(), [](auto& d) { d.chaingunAmmo = 30; }), false, 0, 190},
      {"chaingun ticked", with(DesignSmall(), [](auto& d) { d.chaingun = true; d.chaingunAmmo = 30; }), false, 0, 205},
      // 667.5 + 25 + 50 + 75 = 817.5
      {"ion, repair, electro", with(DesignSmall(), [](auto& d) { d.ionCannon = 1; d.repairDroid = 1; d.electroGun = 1; }), false, 0, 145},
      // not priced
      {"unpriced extras", with(DesignSmall(), [](auto& d) {
         d.laserCannons = 4; d.greenLaser = 1; d.targeting = 1; d.twinLaunchers = 1; d.launcherReload = 0; }), false, 0, 100},
      // large: 667.5 - 60 = 607.5: nearest(16.62) * 5
      {"large", with(DesignSmall(), [](auto& d) { d.sizeClass = 2; }), false, 0, 85},
      {"eject 100 adds 95", DesignSmall(), true, 100, 195},
      {"eject unticked", DesignSmall(), false, 100, 100},
      // 100 + 28.5 = 128.5 goes to the even 128
      {"eject half to even", DesignSmall(), true, 30, 128},
      // 100 + 29.45 = 129.45
      {"eject rounding", DesignSmall(), true, 31, 129},
      // 100 - 47.5 = 52.5 goes to 52
      {"negative eject", DesignSmall(), true, -50, 52},
      // 306 + 27.5 = 333.5: (333.5 - 325) / 17 = 0.5 goes to 0
      {"half to even 0.5", with(Weakest(), [](auto& d) { d.electroGun = 1; d.ionCannon = 1; d.repairDroid = 1; d.shield = 10; }), false, 0, 0},
      // 333.5 + 17 = 350.5: 1.5 goes to 2
      {"half to even 1.5", with(Weakest(), [](auto& d) {
         d.electroGun = 1; d.ionCannon = 1; d.repairDroid = 1; d.shield = 10; d.speed = 5; d.turningRate = 2; }), false, 0, 10},
      // 306 + 4.5 + 6 = 316.5: -0.5 goes to 0
      {"half to even -0.5", with(Weakest(), [](auto& d) {
         d.electroGun = 1; d.ionCannon = 1; d.repairDroid = 1; d.hull = 3; d.speed = 3; }), false, 0, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(ShipValue(c.def, c.eject, c.ejectValue), c.expected) << c.what;
}

TEST(ShipValue, TextOfTheValueLine) {
  EXPECT_EQ(ShipValueText(-50.0f), "-50");
  EXPECT_EQ(ShipValueText(100.0f), "100");
  EXPECT_EQ(ShipValueText(-0.0f), "0");
  EXPECT_EQ(ShipValueText(ShipValue(Weakest(), false, 0)), "-50");
  EXPECT_EQ(LenientNumber(ShipValueText(2.5f)), 2.5);
}

// Numbers written back from a file never take exponent form, which the lenient reader would stop
// in ("1e-05" reads as 1), and read back as exactly the number they came from.
TEST(NumberLineText, PlainDecimalsThatReadBackExactly) {
  struct Case {
    double value;
    const char* text;  // when the exact text matters
  } cases[] = {
      {0.00001, "0.00001"}, {3333333333333333333.0, nullptr}, {-2.5, "-2.5"}, {100, "100"}, {-0.0, "0"},
      {0.1, "0.1"},         {1e20, "100000000000000000000"},   {1e-300, nullptr}, {5e-324, nullptr},
      {DBL_MAX, nullptr},   {-123456.789, "-123456.789"},
  };
  for (const Case& c : cases) {
    const std::string text = NumberLineText(c.value);
    EXPECT_EQ(text.find_first_of("eE"), std::string::npos) << text;
    EXPECT_EQ(LenientNumber(text), c.value) << text;
    if (c.text) {
      EXPECT_EQ(text, c.text);
    }
  }
  EXPECT_EQ(ShipValueText(1e-5f).find('e'), std::string::npos);
  EXPECT_EQ(LenientNumber(ShipValueText(3.3333333e18f)), static_cast<double>(3.3333333e18f));
}

// Loading a file the way the editor does and writing it again changes none of its numbers.
TEST(ShipDefinitionReader, LoadAndSaveKeepEveryNumber) {
  TempDir dir;
  std::vector<std::string> lines = SampleLines();
  lines[5] = "0.00001";
  lines[24] = "03333333333333333333";
  lines[25] = "-0.000000000123456789";
  WriteRaw(dir.path() / "m.shp", Join(lines));
  ShipDefinition d;
  ASSERT_EQ(ReadShipDefinition(dir.path() / "m.shp", &d), ShipReadStatus::Ok);
  ASSERT_TRUE(SaveShipFile(dir.path() / "m.shp", d, nullptr));
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(dir.path() / "m.shp", &bytes, nullptr));
  const std::vector<std::string> saved = SplitLines(bytes);
  ASSERT_EQ(saved.size(), lines.size());
  for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(LenientNumber(saved[i]), LenientNumber(lines[i])) << "line " << i + 1;
  EXPECT_EQ(saved[5], "0.00001");
}

TEST(ShipDefinitionReader, ReadsBackWhatTheWriterWrote) {
  TempDir dir;
  const ShipDefinition in = Sample();
  ASSERT_TRUE(SaveShipFile(dir.path() / "r.shp", in, nullptr));
  ShipDefinition out;
  ASSERT_EQ(ReadShipDefinition(dir.path() / "r.shp", &out), ShipReadStatus::Ok);
  EXPECT_EQ(ShipFileText(out), ShipFileText(in));
  EXPECT_EQ(ShipValue(out, true, 75), ShipValue(in, true, 75));
}

TEST(ShipDefinitionReader, EditorRulesForOddLines) {
  const std::string huge(400, '9');
  struct Case {
    int line;
    std::string text;
    std::function<void(const ShipDefinition&)> check;
  } cases[] = {
      {15, " 2 ", [](const ShipDefinition& d) { EXPECT_EQ(d.laserCannons, 2); }},
      {15, " 7 ", [](const ShipDefinition& d) { EXPECT_EQ(d.laserCannons, 2); }},
      {15, " 1 ", [](const ShipDefinition& d) { EXPECT_EQ(d.laserCannons, 1); }},
      {15, "-1", [](const ShipDefinition& d) { EXPECT_EQ(d.laserCannons, 2); }},
      {27, " 0 ", [](const ShipDefinition& d) { EXPECT_FALSE(d.chaingun); EXPECT_EQ(d.chaingunAmmo, 0); }},
      {27, "-4", [](const ShipDefinition& d) { EXPECT_FALSE(d.chaingun); EXPECT_EQ(d.chaingunAmmo, 0); }},
      {27, " 33 ", [](const ShipDefinition& d) { EXPECT_TRUE(d.chaingun); EXPECT_EQ(d.chaingunAmmo, 33); }},
      {10, "20.5", [](const ShipDefinition& d) { EXPECT_EQ(d.hull, 20); }},
      {10, "21.5", [](const ShipDefinition& d) { EXPECT_EQ(d.hull, 22); }},
      {10, huge, [](const ShipDefinition& d) { EXPECT_EQ(d.hull, 2147483647); }},
      {6, " 120 ", [](const ShipDefinition& d) { EXPECT_EQ(d.value, "120"); }},
      {6, "-7.5x", [](const ShipDefinition& d) { EXPECT_EQ(d.value, "-7.5"); }},
      {25, "abc", [](const ShipDefinition& d) { EXPECT_EQ(d.markX, "0"); }},
      {28, "True", [](const ShipDefinition& d) { EXPECT_EQ(d.targeting, 1); }},
      {30, "", [](const ShipDefinition& d) { EXPECT_EQ(d.ejectShip, ""); }},
  };
  TempDir dir;
  for (const auto& c : cases) {
    std::vector<std::string> lines = SampleLines();
    lines[static_cast<size_t>(c.line - 1)] = c.text;
    WriteRaw(dir.path() / "e.shp", Join(lines));
    ShipDefinition d;
    SCOPED_TRACE("line " + std::to_string(c.line) + " = \"" + c.text.substr(0, 20) + "\"");
    ASSERT_EQ(ReadShipDefinition(dir.path() / "e.shp", &d), ShipReadStatus::Ok);
    c.check(d);
  }
  std::vector<std::string> old = SampleLines();
  old[0] = kShipVersion10;
  WriteRaw(dir.path() / "old.shp", Join(old));
  ShipDefinition d;
  EXPECT_EQ(ReadShipDefinition(dir.path() / "old.shp", &d), ShipReadStatus::NotValid);
  EXPECT_EQ(ReadShipDefinition(dir.path() / "gone.shp", &d), ShipReadStatus::Missing);
}
