// Shared set-up of the editor tests: one QApplication for the test program, a private folder
// of ship files per test, and helpers that write files the way other installations left them.
#pragma once
#include <QApplication>
#include <QDir>
#include <QImage>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "editor/EditorWindow.h"
#include "platform/Files.h"

namespace quorvex::editor::testing {

inline QApplication& TestApp() {
  static int argc = 1;
  static char name[] = "test_editor";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    const std::string runtime = (std::filesystem::temp_directory_path() / "qv-editor-xdg").string();
    std::filesystem::create_directories(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all, std::filesystem::perm_options::replace);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 0);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return new QApplication(argc, argv);
  }();
  return *app;
}

// A fresh empty folder named after the running test.
inline std::filesystem::path TestFolder() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(info->test_suite_name()) + "_" + info->name();
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  const auto dir = std::filesystem::temp_directory_path() / "qv-editor-tests" / name;
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

inline void WriteText(const std::filesystem::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

inline std::string ReadText(const std::filesystem::path& path) {
  std::string bytes, error;
  EXPECT_TRUE(ReadWholeFile(path, &bytes, &error)) << error;
  return bytes;
}

inline std::string JoinCrLf(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& l : lines) out += l + "\r\n";
  return out;
}

// A ship sheet of 8 x 4 cells, each filled with a colour of its own.
inline QImage CellSheet(int seed) {
  QImage sheet(400, 200, QImage::Format_RGB32);
  for (int k = 0; k < 32; ++k) {
    const QColor c(k * 7 + seed, 255 - k * 5, (seed * 31) % 256);
    for (int y = 0; y < 50; ++y) {
      for (int x = 0; x < 50; ++x) sheet.setPixel((k % 8) * 50 + x, (k / 8) * 50 + y, c.rgb());
    }
  }
  return sheet;
}

inline QRgb CellColour(const QImage& sheet, int k) { return sheet.pixel((k % 8) * 50 + 10, (k / 8) * 50 + 10); }

inline std::unique_ptr<EditorWindow> OpenTestEditor(const std::filesystem::path& folder, uint64_t seed = 7) {
  TestApp();
  return OpenEditor(folder, seed, true);
}

}  // namespace quorvex::editor::testing
