// Start-up reading the three configuration files into the game window.
#include <gtest/gtest.h>

#include "game/flow/Startup.h"
#include "game/config/ConfigFiles.h"
#include "tests/core/CoreTesting.h"

namespace quorvex {
namespace {

using testing::HeadlessWindow;
using testing::SampleShip;
using testing::TempFolder;
using testing::WriteShip;
using testing::WriteText;

TEST(InitGameTest, MissingConfigurationFilesAreCreatedAndTheirDefaultsUsed) {
  TempFolder dir;
  WriteShip(dir.path(), "a.shp", SampleShip("A", "a.bmp"));
  // Left by a write killed midway (no process has so high a number): gone at the next start.
  WriteText(dir.path(), "a.shp.tmp-999999999", "half");
  auto w = HeadlessWindow(dir.path(), nullptr);
  InitGame(*w);
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "a.shp.tmp-999999999"));

  for (const char* name : {kOptionsFile, kKeysFile, kDeviceFile}) {
    EXPECT_TRUE(std::filesystem::exists(dir.path() / name)) << name;
  }
  const Options defaults;
  const KeyTable keys;
  EXPECT_EQ(w->options.frameInterval, 20);
  EXPECT_TRUE(w->options.soundOn);
  EXPECT_TRUE(w->options.musicOn);
  EXPECT_EQ(w->options.musicVolume, defaults.musicVolume);
  EXPECT_EQ(w->options.criticalsOn, defaults.criticalsOn);
  EXPECT_EQ(w->inputDevice, (std::array<uint8_t, 2>{0, 0}));
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(w->controlTable[0][i], keys.player1[i]);
    EXPECT_EQ(w->controlTable[1][i], keys.player2[i]);
  }
  EXPECT_TRUE(w->messages.shown.empty());
}

TEST(InitGameTest, EveryOptionReachesTheGameWindow) {
  TempFolder dir;
  WriteShip(dir.path(), "a.shp", SampleShip("A", "a.bmp"));
  Options o;
  o.soundOn = false;
  o.starCount = 321;
  o.sparksOn = false;
  o.backgroundZoom = false;
  o.engineTrails = false;
  o.musicOn = false;
  o.frameInterval = 35;
  o.effectRop = kRopSrcCopy;
  o.musicVolume = 77;
  o.soundVolume = -1234;
  o.gravityOn = true;
  o.debrisOn = true;
  o.criticalsOn = {true, false, true, false, true, false, true, false, false};
  WriteText(dir.path(), kOptionsFile, OptionsFileText(o));
  KeyTable keys;
  keys.player1 = {'I', 'J', 'L', 'K', 'U', 'O', 'P'};
  keys.player2 = {0x68, 0x64, 0x66, 0x60, 0x67, 0x69, 0x6B};
  WriteText(dir.path(), kKeysFile, KeysFileText(keys));
  WriteText(dir.path(), kDeviceFile, DeviceFileText(DeviceConfig{2, 1}));

  auto w = HeadlessWindow(dir.path(), nullptr);
  InitGame(*w);
  const GameOptions& g = w->options;
  EXPECT_FALSE(g.soundOn);
  EXPECT_EQ(g.starCount, 321);
  EXPECT_FALSE(g.sparksOn);
  EXPECT_FALSE(g.backgroundZoom);
  EXPECT_FALSE(g.engineTrails);
  EXPECT_FALSE(g.musicOn);
  EXPECT_EQ(g.frameInterval, 35);
  EXPECT_EQ(g.effectRop, 0xCC0020u);
  EXPECT_EQ(g.musicVolume, 77);
  EXPECT_EQ(g.soundVolume, -1234);
  EXPECT_TRUE(g.gravityOn);
  EXPECT_TRUE(g.debrisOn);
  EXPECT_EQ(g.criticalsOn, o.criticalsOn);
  EXPECT_EQ(w->inputDevice, (std::array<uint8_t, 2>{2, 1}));  // until the joysticks are looked for
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(w->controlTable[0][i], keys.player1[i]);
    EXPECT_EQ(w->controlTable[1][i], keys.player2[i]);
  }
  // The start-up values that no file changes.
  EXPECT_TRUE(w->trainingMode);
  EXPECT_FALSE(w->aimMarkers);
  EXPECT_FALSE(w->noFrameLimit);
  EXPECT_EQ(w->duelsPlayed, 0);
  EXPECT_EQ(w->fleet[0][0], 0);
  EXPECT_EQ(w->fleet[1][0], 0);
  EXPECT_EQ(w->fleet[0][1], -1);
}

TEST(InitGameTest, TheFrameDelayOfTheOptionsPacesTheDuel) {
  TempFolder dir;
  WriteShip(dir.path(), "a.shp", SampleShip("A", "a.bmp"));
  testing::WriteGamePictures(dir.path(), {"a.bmp"});
  Options o;
  o.frameInterval = 35;
  WriteText(dir.path(), kOptionsFile, OptionsFileText(o));
  ManualClock clock;
  auto w = HeadlessWindow(dir.path(), &clock);
  std::vector<int32_t> ticks;
  w->eventScript = [&](GameWindow& g) {
    ticks.push_back(clock.now);
    if (ticks.size() == 3) g.events.closeRequested = true;
  };
  RunGame(*w);
  EXPECT_EQ(ticks, (std::vector<int32_t>{36, 72, 108}));
}

}  // namespace
}  // namespace quorvex
