// Shared set-up of the settings window tests: one QApplication for the program, the windows'
// controls found by their designer names, files written and read byte for byte, and virtual
// joysticks with product names.
#pragma once
#include <QApplication>
#include <QPointer>
#include <QWidget>

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/Files.h"

namespace quorvex::testing {

inline QApplication& SettingsApp() {
  static int argc = 1;
  static char name[] = "test_settings";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return new QApplication(argc, argv);
  }();
  return *app;
}

template <typename T>
T* Child(const QWidget* window, const QString& name) {
  T* child = window ? window->findChild<T*>(name) : nullptr;
  EXPECT_NE(child, nullptr) << name.toStdString();
  return child;
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

// The file's bytes, or "<missing>".
inline std::string FileBytes(const std::filesystem::path& path) {
  std::string bytes;
  return ReadWholeFile(path, &bytes, nullptr) ? bytes : "<missing>";
}

// Lines in the written form: " n " for each number, CR LF after each.
inline std::string NumberLines(const std::vector<int>& values) {
  std::string out;
  for (int v : values) out += (v < 0 ? std::to_string(v) : " " + std::to_string(v)) + " \r\n";
  return out;
}

// Virtual joysticks attached for the life of the object, named as a product would be.
class AttachedJoysticks {
 public:
  explicit AttachedJoysticks(const std::vector<std::string>& names) : names_(names) {
    EXPECT_EQ(0, SDL_InitSubSystem(SDL_INIT_JOYSTICK)) << SDL_GetError();
    for (const std::string& name : names_) {
      SDL_VirtualJoystickDesc desc{};
      desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
      desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
      desc.naxes = 2;
      desc.nbuttons = 16;
      desc.name = name.c_str();
      const int index = SDL_JoystickAttachVirtualEx(&desc);
      EXPECT_GE(index, 0) << SDL_GetError();
      indexes_.push_back(index);
    }
  }
  ~AttachedJoysticks() {
    for (auto it = indexes_.rbegin(); it != indexes_.rend(); ++it) SDL_JoystickDetachVirtual(*it);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  }
  AttachedJoysticks(const AttachedJoysticks&) = delete;
  AttachedJoysticks& operator=(const AttachedJoysticks&) = delete;

 private:
  std::vector<std::string> names_;
  std::vector<int> indexes_;
};

}  // namespace quorvex::testing
