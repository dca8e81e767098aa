#include "tests/core/CoreTesting.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <fstream>

#include "platform/Files.h"

namespace fs = std::filesystem;

namespace quorvex::testing {

TempFolder::TempFolder() {
  static std::atomic<int> counter{0};
  path_ = fs::temp_directory_path() /
          ("quorvex-core-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
  fs::remove_all(path_);
  fs::create_directories(path_);
}

TempFolder::~TempFolder() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

ShipDefinition SampleShip(const std::string& name, const std::string& picture) {
  ShipDefinition d;
  d.name = name;
  d.picture = picture;
  d.sizeClass = 1;
  d.value = "150";
  d.laserReload = 7;
  d.shotPower = 25;
  d.energyRate = 12;
  d.hull = 80;
  d.shield = 40;
  d.speed = 6;
  d.mass = 9;
  d.turningRate = 5;
  d.laserCannons = 2;
  d.greenLaser = 1;
  d.ionCannon = 1;
  d.missileLauncher = 1;
  d.torpedoLauncher = 0;
  d.missiles = 12;
  d.torpedoes = 3;
  d.repairDroid = 0;
  d.electroGun = 1;
  d.chaingun = true;
  d.chaingunAmmo = 44;
  d.targeting = 1;
  d.twinLaunchers = 0;
  d.ejectShip = "";
  d.launcherReload = 55;
  return d;
}

void WriteShip(const fs::path& dir, const std::string& name, const ShipDefinition& def) {
  std::string error;
  ASSERT_TRUE(SaveShipFile(dir / name, def, &error)) << error;
}

void WriteText(const fs::path& dir, const std::string& name, const std::string& text) {
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(dir / name, text, &error)) << error;
}

std::string ShipTextWith(const ShipDefinition& def, const std::string& versionLine, int lines) {
  const std::vector<std::string> all = SplitLines(ShipFileText(def));
  std::string text = versionLine + "\r\n";
  for (int i = 1; i < lines && i < static_cast<int>(all.size()); ++i) text += all[static_cast<size_t>(i)] + "\r\n";
  return text;
}

void WriteBitmap(const fs::path& path, int width, int height, int r, int g, int b) {
  const int rowBytes = (width * 3 + 3) / 4 * 4;
  const int size = 54 + rowBytes * height;
  std::string bytes(static_cast<size_t>(size), '\0');
  auto put32 = [&](int at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[static_cast<size_t>(at + i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(2, static_cast<uint32_t>(size));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(width));
  put32(22, static_cast<uint32_t>(height));
  bytes[26] = 1;
  bytes[28] = 24;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const size_t at = 54 + static_cast<size_t>(y) * static_cast<size_t>(rowBytes) + static_cast<size_t>(x) * 3;
      bytes[at] = static_cast<char>(b);
      bytes[at + 1] = static_cast<char>(g);
      bytes[at + 2] = static_cast<char>(r);
    }
  }
  std::ofstream out(path, std::ios::binary);
  out << bytes;
  ASSERT_TRUE(out.good()) << path;
}

void WriteGamePictures(const fs::path& dir, const std::vector<std::string>& shipPictures) {
  WriteBitmap(dir / "tausta.bmp", 800, 600, 0, 0, 40);
  WriteBitmap(dir / "boom.bmp", 500, 100, 200, 100, 0);
  WriteBitmap(dir / "font.bmp", 766, 455, 255, 255, 255);
  for (const std::string& name : shipPictures) WriteBitmap(dir / name, 400, 200, 0, 200, 0);
}

std::unique_ptr<GameWindow> HeadlessWindow(const fs::path& programDir, Clock* clock) {
  auto w = std::make_unique<GameWindow>();
  w->headless = true;
  w->messages.headless = true;
  w->programDir = programDir;
  w->clock = clock;
  return w;
}

}  // namespace quorvex::testing
