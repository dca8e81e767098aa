// options.cfg, keys.cfg and device.cfg: the reading rules, the written form, and what happens to a
// missing or short file.
#include <gtest/gtest.h>

#include "tests/support/TempDir.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "game/config/ConfigFiles.h"
#include "platform/Files.h"

namespace fs = std::filesystem;
using namespace quorvex;

namespace {

using quorvex::testing::TempDir;

void WriteRaw(const fs::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary);
  out << bytes;
}

std::string Bytes(const fs::path& p) {
  std::string b;
  EXPECT_TRUE(ReadWholeFile(p, &b, nullptr)) << p;
  return b;
}

std::string Join(const std::vector<std::string>& lines) {
  std::string s;
  for (const auto& l : lines) s += l + "\r\n";
  return s;
}

// The file as a new installation gets it.
const std::vector<std::string> kDefaultOptionLines = {
    " 1 ", " 0 ", " 1 ", " 1 ", " 1 ", " 1 ", " 20 ", " 0 ", " 1 ", " 255 ", " 0 ",
    " 0 ", " 0 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 ", " 1 "};

}  // namespace

TEST(OptionsFile, ReadingRulesLineByLine) {
  struct Case {
    int line;
    const char* text;
    std::function<void(const Options&)> check;
  } cases[] = {
      {1, " 0 ", [](const Options& o) { EXPECT_FALSE(o.soundOn); }},
      {1, " 2 ", [](const Options& o) { EXPECT_TRUE(o.soundOn); }},
      {1, "-1", [](const Options& o) { EXPECT_TRUE(o.soundOn); }},
      {1, "off", [](const Options& o) { EXPECT_FALSE(o.soundOn); }},  // no number counts as 0
      {2, " 500 ", [](const Options& o) { EXPECT_DOUBLE_EQ(o.starCount, 500); }},
      {2, "12.75", [](const Options& o) { EXPECT_DOUBLE_EQ(o.starCount, 12.75); }},
      {3, " 0 ", [](const Options& o) { EXPECT_FALSE(o.sparksOn); }},
      {3, "0.5", [](const Options& o) { EXPECT_TRUE(o.sparksOn); }},
      {4, " 0 ", [](const Options& o) { EXPECT_FALSE(o.backgroundZoom); }},
      {5, " 0 ", [](const Options& o) { EXPECT_FALSE(o.engineTrails); }},
      {6, " 0 ", [](const Options& o) { EXPECT_FALSE(o.musicOn); }},
      {6, " 7 ", [](const Options& o) { EXPECT_TRUE(o.musicOn); }},
      {7, " 1 ", [](const Options& o) { EXPECT_EQ(o.frameInterval, 1); }},
      {7, " 100 ", [](const Options& o) { EXPECT_EQ(o.frameInterval, 100); }},
      {7, "20.5", [](const Options& o) { EXPECT_EQ(o.frameInterval, 20); }},
      {7, "21.5", [](const Options& o) { EXPECT_EQ(o.frameInterval, 22); }},
      {7, " 300 ", [](const Options& o) { EXPECT_EQ(o.frameInterval, 255); }},
      {7, "-5", [](const Options& o) { EXPECT_EQ(o.frameInterval, 0); }},
      {9, " 0 ", [](const Options& o) { EXPECT_EQ(o.effectRop, kRopSrcCopy); }},
      {9, " 1 ", [](const Options& o) { EXPECT_EQ(o.effectRop, kRopSrcPaint); }},
      {9, " 3 ", [](const Options& o) { EXPECT_EQ(o.effectRop, kRopSrcPaint); }},
      {10, " 128 ", [](const Options& o) { EXPECT_EQ(o.musicVolume, 128); }},
      {11, "-1000 ", [](const Options& o) { EXPECT_EQ(o.soundVolume, -1000); }},
      {11, "-10000", [](const Options& o) { EXPECT_EQ(o.soundVolume, -10000); }},
      {12, " 1 ", [](const Options& o) { EXPECT_TRUE(o.gravityOn); }},
      {12, " 2 ", [](const Options& o) { EXPECT_FALSE(o.gravityOn); }},
      {12, "1.0", [](const Options& o) { EXPECT_TRUE(o.gravityOn); }},
      {13, " 1 ", [](const Options& o) { EXPECT_TRUE(o.debrisOn); }},
      {13, "-1", [](const Options& o) { EXPECT_FALSE(o.debrisOn); }},
      {14, " 0 ", [](const Options& o) { EXPECT_FALSE(o.criticalsOn[0]); }},
      {14, " 2 ", [](const Options& o) { EXPECT_TRUE(o.criticalsOn[0]); }},
      {18, " 0 ", [](const Options& o) { EXPECT_FALSE(o.criticalsOn[4]); EXPECT_TRUE(o.criticalsOn[3]); }},
      {22, " 0 ", [](const Options& o) { EXPECT_FALSE(o.criticalsOn[8]); }},
      {22, "-1", [](const Options& o) { EXPECT_TRUE(o.criticalsOn[8]); }},
      {22, "False", [](const Options& o) { EXPECT_FALSE(o.criticalsOn[8]); }},
      {22, "True", [](const Options& o) { EXPECT_TRUE(o.criticalsOn[8]); }},
  };
  for (const auto& c : cases) {
    std::vector<std::string> lines = kDefaultOptionLines;
    lines[static_cast<size_t>(c.line - 1)] = c.text;
    SCOPED_TRACE("line " + std::to_string(c.line) + " = \"" + c.text + "\"");
    c.check(ParseOptions(lines));
  }
}

TEST(OptionsFile, LineEightChangesNothing) {
  const std::string reference = OptionsFileText(ParseOptions(kDefaultOptionLines));
  for (const char* text : {" 0 ", " 1 ", "-7", "anything at all", "", "True"}) {
    std::vector<std::string> lines = kDefaultOptionLines;
    lines[7] = text;
    EXPECT_EQ(OptionsFileText(ParseOptions(lines)), reference) << text;
  }
}

TEST(OptionsFile, WrittenFormAndRoundTrip) {
  EXPECT_EQ(OptionsFileText(Options{}), Join(kDefaultOptionLines));

  Options o;
  o.soundOn = false;
  o.starCount = 750;
  o.sparksOn = false;
  o.backgroundZoom = false;
  o.engineTrails = true;
  o.musicOn = false;
  o.frameInterval = 7;
  o.effectRop = kRopSrcCopy;
  o.musicVolume = 99;
  o.soundVolume = -2500;
  o.gravityOn = true;
  o.debrisOn = true;
  o.criticalsOn = {true, false, true, false, true, false, true, false, false};
  EXPECT_EQ(OptionsFileText(o), Join({" 0 ", " 750 ", " 0 ", " 0 ", " 1 ", " 0 ", " 7 ", " 0 ", " 0 ", " 99 ",
                                      "-2500 ", " 1 ", " 1 ", " 1 ", " 0 ", " 1 ", " 0 ", " 1 ", " 0 ", " 1 ",
                                      " 0 ", " 0 "}));

  TempDir dir;
  const fs::path file = dir.path() / kOptionsFile;
  std::string error;
  ASSERT_TRUE(SaveOptionsFile(file, o, &error)) << error;
  Options back;
  EXPECT_EQ(LoadOptionsFile(file, &back, &error), ConfigLoad::Read);
  EXPECT_EQ(OptionsFileText(back), OptionsFileText(o));
  EXPECT_EQ(back.effectRop, kRopSrcCopy);
  EXPECT_EQ(back.criticalsOn, o.criticalsOn);
}

TEST(OptionsFile, MissingFileIsCreatedWithDefaults) {
  TempDir dir;
  const fs::path file = dir.path() / kOptionsFile;
  Options o;
  o.soundOn = false;  // must be replaced by the defaults
  std::string message;
  EXPECT_EQ(LoadOptionsFile(file, &o, &message), ConfigLoad::Created);
  EXPECT_TRUE(o.soundOn);
  EXPECT_TRUE(o.musicOn);
  EXPECT_EQ(o.frameInterval, 20);
  EXPECT_EQ(o.musicVolume, 255);
  EXPECT_EQ(o.soundVolume, 0);
  EXPECT_FALSE(o.gravityOn);
  for (bool on : o.criticalsOn) EXPECT_TRUE(on);
  EXPECT_EQ(Bytes(file), Join(kDefaultOptionLines));
}

TEST(OptionsFile, ShortFileKeepsItsLinesAndIsCompleted) {
  TempDir dir;
  const fs::path file = dir.path() / kOptionsFile;
  // Sound off, 300 stars, sparks on, and a last line without its line end.
  WriteRaw(file, "0\r\n300\n 2 ");
  Options o;
  EXPECT_EQ(LoadOptionsFile(file, &o, nullptr), ConfigLoad::Completed);
  EXPECT_FALSE(o.soundOn);
  EXPECT_DOUBLE_EQ(o.starCount, 300);
  EXPECT_TRUE(o.sparksOn);
  EXPECT_EQ(o.frameInterval, 20);
  EXPECT_EQ(o.musicVolume, 255);
  for (bool on : o.criticalsOn) EXPECT_TRUE(on);

  std::vector<std::string> expected = kDefaultOptionLines;
  expected[0] = "0";
  expected[1] = "300";
  expected[2] = " 2 ";
  EXPECT_EQ(Bytes(file), Join(expected));

  Options again;
  EXPECT_EQ(LoadOptionsFile(file, &again, nullptr), ConfigLoad::Read);
  EXPECT_EQ(OptionsFileText(again), OptionsFileText(o));
}

TEST(OptionsFile, NameDifferingInCaseIsTheSameFile) {
  TempDir dir;
  WriteRaw(dir.path() / "Options.CFG", Join({" 0 "}));
  Options o;
  EXPECT_EQ(LoadOptionsFile(dir.path() / kOptionsFile, &o, nullptr), ConfigLoad::Completed);
  EXPECT_FALSE(o.soundOn);
  EXPECT_FALSE(fs::exists(dir.path() / kOptionsFile));
  EXPECT_EQ(SplitLines(Bytes(dir.path() / "Options.CFG")).size(), static_cast<size_t>(kOptionsLines));
}

TEST(ConfigFiles, UnreadableOrUnwritableFilesGiveDefaultsAndAMessage) {
  TempDir dir;
  fs::create_directory(dir.path() / kOptionsFile);  // a folder where the file should be
  Options o;
  o.soundOn = false;
  std::string message;
  EXPECT_EQ(LoadOptionsFile(dir.path() / kOptionsFile, &o, &message), ConfigLoad::Failed);
  EXPECT_TRUE(o.soundOn);
  EXPECT_NE(message.find(kOptionsFile), std::string::npos) << message;

  KeyTable k;
  message.clear();
  EXPECT_EQ(LoadKeysFile(dir.path() / "no-folder" / kKeysFile, &k, &message), ConfigLoad::Failed);
  EXPECT_EQ(KeysFileText(k), KeysFileText(KeyTable{}));
  EXPECT_NE(message.find(kKeysFile), std::string::npos) << message;

  DeviceConfig d;
  message.clear();
  EXPECT_FALSE(SaveDeviceFile(dir.path() / "no-folder" / kDeviceFile, d, &message));
  EXPECT_NE(message.find(kDeviceFile), std::string::npos) << message;
}

TEST(KeysFile, PlayerOneNumbersPlayerTwoSixteenBitIntegers) {
  struct Case {
    int line;
    const char* text;
    std::function<void(const KeyTable&)> check;
  } cases[] = {
      {1, " 38 ", [](const KeyTable& k) { EXPECT_DOUBLE_EQ(k.player1[0], 38); }},
      {4, "17.5", [](const KeyTable& k) { EXPECT_DOUBLE_EQ(k.player1[3], 17.5); }},
      {7, "-3", [](const KeyTable& k) { EXPECT_DOUBLE_EQ(k.player1[6], -3); }},
      {8, " 90 ", [](const KeyTable& k) { EXPECT_EQ(k.player2[0], 90); }},
      {11, "17.5", [](const KeyTable& k) { EXPECT_EQ(k.player2[3], 18); }},
      {12, "16.5", [](const KeyTable& k) { EXPECT_EQ(k.player2[4], 16); }},
      {14, "40000", [](const KeyTable& k) { EXPECT_EQ(k.player2[6], 32767); }},
      {14, "-40000", [](const KeyTable& k) { EXPECT_EQ(k.player2[6], -32768); }},
      {13, "key", [](const KeyTable& k) { EXPECT_EQ(k.player2[5], 0); }},
  };
  const std::vector<std::string> base = SplitLines(KeysFileText(KeyTable{}));
  ASSERT_EQ(base.size(), static_cast<size_t>(kKeysLines));
  for (const auto& c : cases) {
    std::vector<std::string> lines = base;
    lines[static_cast<size_t>(c.line - 1)] = c.text;
    SCOPED_TRACE("line " + std::to_string(c.line) + " = \"" + c.text + "\"");
    c.check(ParseKeys(lines));
  }
}

TEST(KeysFile, DefaultLayoutSharesNoKeyAndLeavesTheGameKeysFree) {
  const KeyTable k;
  std::set<int> used;
  for (double v : k.player1) EXPECT_TRUE(used.insert(static_cast<int>(v)).second) << v;
  for (int16_t v : k.player2) EXPECT_TRUE(used.insert(v).second) << v;
  // Enter, Esc, F4, F5, F6 belong to the game; Down moves through the menus.
  for (int reserved : {13, 27, 115, 116, 117, 40}) EXPECT_EQ(used.count(reserved), 0u) << reserved;
  for (int code : used) EXPECT_GT(code, 0);
}

TEST(KeysFile, MissingShortAndRoundTrip) {
  TempDir dir;
  const fs::path file = dir.path() / kKeysFile;
  KeyTable k;
  k.player1[0] = 0;
  EXPECT_EQ(LoadKeysFile(file, &k, nullptr), ConfigLoad::Created);
  EXPECT_EQ(Bytes(file), KeysFileText(KeyTable{}));
  EXPECT_EQ(KeysFileText(k), KeysFileText(KeyTable{}));

  // Player 1 remapped to a joystick's list positions; player 2's lines missing.
  WriteRaw(file, Join({" 0 ", " 1 ", " 2 ", " 4 ", " 5 ", " 6 ", " 7 "}));
  EXPECT_EQ(LoadKeysFile(file, &k, nullptr), ConfigLoad::Completed);
  EXPECT_DOUBLE_EQ(k.player1[3], 4);
  EXPECT_EQ(k.player2, KeyTable{}.player2);
  const std::vector<std::string> lines = SplitLines(Bytes(file));
  ASSERT_EQ(lines.size(), static_cast<size_t>(kKeysLines));
  EXPECT_EQ(lines[3], " 4 ");
  EXPECT_EQ(lines[7], " 38 ");

  KeyTable custom;
  custom.player1 = {1, 2, 3, 4, 5, 6, 7};
  custom.player2 = {-1, 300, 90, 91, 92, 93, 94};
  std::string error;
  ASSERT_TRUE(SaveKeysFile(file, custom, &error)) << error;
  EXPECT_EQ(Bytes(file), Join({" 1 ", " 2 ", " 3 ", " 4 ", " 5 ", " 6 ", " 7 ", "-1 ", " 300 ", " 90 ", " 91 ",
                               " 92 ", " 93 ", " 94 "}));
  KeyTable back;
  EXPECT_EQ(LoadKeysFile(file, &back, nullptr), ConfigLoad::Read);
  EXPECT_EQ(back.player1, custom.player1);
  EXPECT_EQ(back.player2, custom.player2);
}

TEST(DeviceFile, ReadingWritingAndDefaults) {
  struct Case {
    std::vector<std::string> lines;
    int player1, player2;
  } cases[] = {
      {{" 0 ", " 0 "}, 0, 0}, {{" 1 ", " 2 "}, 1, 2}, {{" 2 ", " 1 "}, 2, 1}, {{"1.5", "0.5"}, 2, 0},
      {{" 3 ", "-1"}, 0, 0},  {{"300", "x"}, 0, 0},   {{" 1 "}, 1, 0},        {{}, 0, 0},
  };
  for (const auto& c : cases) {
    const DeviceConfig d = ParseDevice(c.lines);
    EXPECT_EQ(d.player1, c.player1);
    EXPECT_EQ(d.player2, c.player2);
  }

  TempDir dir;
  const fs::path file = dir.path() / kDeviceFile;
  DeviceConfig d{2, 2};
  EXPECT_EQ(LoadDeviceFile(file, &d, nullptr), ConfigLoad::Created);
  EXPECT_EQ(d.player1, 0);
  EXPECT_EQ(d.player2, 0);
  EXPECT_EQ(Bytes(file), " 0 \r\n 0 \r\n");

  WriteRaw(file, " 1 \r\n");
  EXPECT_EQ(LoadDeviceFile(file, &d, nullptr), ConfigLoad::Completed);
  EXPECT_EQ(d.player1, 1);
  EXPECT_EQ(Bytes(file), " 1 \r\n 0 \r\n");

  ASSERT_TRUE(SaveDeviceFile(file, DeviceConfig{2, 1}, nullptr));
  EXPECT_EQ(Bytes(file), " 2 \r\n 1 \r\n");
  EXPECT_EQ(LoadDeviceFile(file, &d, nullptr), ConfigLoad::Read);
  EXPECT_EQ(d.player1, 2);
  EXPECT_EQ(d.player2, 1);
}
