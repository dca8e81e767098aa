#include "game/controls/WindowKeys.h"

#include <cstdio>

#include "game/audio/SoundEffects.h"
#include "game/config/ConfigFiles.h"
#include "platform/Keys.h"
#include "platform/Png.h"

namespace quorvex {

bool IsWindowKey(int keyCode) { return keyCode == vk::F1 || keyCode == vk::F11 || keyCode == vk::F12; }

void OnWindowKey(GameWindow& w, int keyCode) {
  if (keyCode == vk::F1) w.help.shown = !w.help.shown;
  if (keyCode == vk::F11) ToggleFullScreen(w);
  if (keyCode == vk::F12) TakeScreenshot(w);
}

void ToggleFullScreen(GameWindow& w) {
  SetFullScreen(w.display, !w.display.fullScreen);
  const std::filesystem::path file = PlayerFilePath(Folders(w), kDisplayFile);
  DisplayConfig config = ReadDisplayFile(file);
  config.fullScreen = w.display.fullScreen;
  std::string error;
  if (!SaveDisplayFile(file, config, &error)) std::fprintf(stderr, "%s\n", error.c_str());
}

std::filesystem::path TakeScreenshot(GameWindow& w) {
  std::string error;
  const std::filesystem::path shot = SaveScreenshot(w.back, PlayerFolder(Folders(w), PlayerFiles::Screenshots), &error);
  if (shot.empty()) {
    std::fprintf(stderr, "%s\n", error.c_str());
  } else {
    PlaySound(w, SndSelect);
  }
  return shot;
}

}  // namespace quorvex
