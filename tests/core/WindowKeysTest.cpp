// The window's own keys in any screen: F11 switches full screen and remembers it in display.cfg,
// F12 saves the back surface as the next numbered PNG. Neither reaches the players' controls.
#include <gtest/gtest.h>

#include <fstream>

#include "game/controls/Events.h"
#include "game/config/ConfigFiles.h"
#include "platform/Files.h"
#include "platform/Keys.h"
#include "tests/core/CoreTesting.h"
#include "tests/support/SurfaceTesting.h"

namespace fs = std::filesystem;

namespace quorvex {
namespace {

void Press(GameWindow& w, int code, bool repeat = false) {
  w.events.keys.push_back({true, code, repeat});
  w.events.keys.push_back({false, code, false});
  DoEvents(w);
}

std::unique_ptr<GameWindow> WindowWithOwnFolder(const testing::TempFolder& tmp) {
  auto w = testing::HeadlessWindow(tmp.path() / "data", nullptr);
  w->userDir = tmp.path() / "user";
  w->back = Surface(800, 600);
  w->sounds[SndSelect].name = "Select2.wav";
  w->sounds[SndSelect].loaded = true;
  return w;
}

TEST(WindowKeysTest, FullScreenKeyFlipsAndRemembersTheChoice) {
  testing::TempFolder tmp;
  auto w = WindowWithOwnFolder(tmp);
  fs::create_directories(w->userDir);
  const fs::path file = w->userDir / kDisplayFile;
  testing::WriteText(w->userDir, kDisplayFile, DisplayFileText({true, false}));
  w->display.fullScreen = true;
  w->selfDestructPresses = {1, 1};

  struct Step {
    int code;
    bool repeat;
    bool fullScreen;
  };
  for (const Step& s : {Step{vk::F11, false, false}, Step{vk::F11, true, false}, Step{vk::F11, false, true}}) {
    Press(*w, s.code, s.repeat);
    EXPECT_EQ(s.fullScreen, w->display.fullScreen);
    const DisplayConfig saved = ReadDisplayFile(file);
    EXPECT_EQ(s.fullScreen, saved.fullScreen);
    EXPECT_FALSE(saved.smooth) << "the scaling choice is kept";
  }
  EXPECT_EQ((std::array<uint8_t, 2>{1, 1}), w->selfDestructPresses) << "the players never saw F11";
  EXPECT_FALSE(fs::exists(w->programDir / kDisplayFile));
}

TEST(WindowKeysTest, ScreenshotsAreNumberedPicturesOfTheFrame) {
  testing::TempFolder tmp;
  auto w = WindowWithOwnFolder(tmp);
  const fs::path shots = w->userDir / "screenshots";
  w->back.BltColorFill(Rect{100, 50, 300, 120}, Rgb565(255, 128, 0));
  w->back.setPixel(799, 599, Rgb565(0, 255, 255));

  Press(*w, vk::F12);
  Surface saved;
  ASSERT_TRUE(testing::ReadPng(shots / "quorvex0001.png", &saved));
  EXPECT_TRUE(testing::SurfacesEqual(w->back, saved, "screenshot"));
  EXPECT_EQ(1, std::count(w->audio.played.begin(), w->audio.played.end(), "Select2.wav"));

  // Numbers go on from the highest one there; other names in the folder do not count.
  for (const char* name : {"quorvex0007.png", "quorvexABCD.png", "quorvex12.png", "other0042.png"}) {
    std::ofstream(shots / name) << "x";
  }
  Press(*w, vk::F12, true);  // a key repeat takes no picture
  EXPECT_FALSE(fs::exists(shots / "quorvex0008.png"));
  Press(*w, vk::F12);
  EXPECT_TRUE(fs::exists(shots / "quorvex0008.png"));
  EXPECT_EQ(2, std::count(w->audio.played.begin(), w->audio.played.end(), "Select2.wav"));

  // The last number taken: no picture, no sound, and nothing overwritten.
  std::ofstream(shots / "quorvex9999.png") << "kept";
  Press(*w, vk::F12);
  std::string kept;
  ASSERT_TRUE(ReadWholeFile(shots / "quorvex9999.png", &kept, nullptr));
  EXPECT_EQ("kept", kept);
  EXPECT_EQ(2, std::count(w->audio.played.begin(), w->audio.played.end(), "Select2.wav"));
}

}  // namespace
}  // namespace quorvex
