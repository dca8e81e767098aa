// Helpers of the physics and damage tests: a headless window with two ships in the open, their hit
// rectangles as frame drawing leaves them, recorded sounds, and ship files in a private folder.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "game/core/GameWindow.h"
#include "platform/Numbers.h"
#include "shipdef/ShipFile.h"

namespace quorvex::physics_testing {

inline const char* const kSoundNames[kSoundSlots] = {
    "Laser1.wav", "Laser2.wav", "Hit1.wav",  "Hit1.wav",  "Collision.wav", "Hit2.wav",  "Hit2.wav",
    "Select2.wav", "Ion.wav",   "Hit3.wav",  "Hit3.wav",  "Boom.wav",      "Launch.wav", "R2HIT.wav",
    "Boom2.wav",   "blop.wav",  "chain.wav", "hit4.wav"};

// The hit rectangle frame drawing computes for a ship at the window's zoom.
inline void PlaceRect(const GameWindow& w, ShipState& s) {
  const double h = s.radius * w.zoom / 100;
  s.shipRect = Rect{nearestInt(s.x - h), nearestInt(s.y - h), nearestInt(s.x + h), nearestInt(s.y + h)};
}

inline void PlaceRects(GameWindow& w) {
  for (ShipState& s : w.ship) PlaceRect(w, s);
}

// Two living ships far apart at zoom 50 (radius 30: rectangles 30 pixels wide), shields 40 of 40,
// hulls 100 of 100, energy 50, no generator output; every critical-hit switch off; sounds recorded but silent;
// randomness seeded; the clock moved by hand.
struct Duel {
  ManualClock clock;
  std::unique_ptr<GameWindow> w = std::make_unique<GameWindow>();

  Duel() {
    GameWindow& g = *w;
    g.headless = true;
    g.messages.headless = true;
    g.clock = &clock;
    g.random.Seed(2024);
    g.zoom = 50;
    g.options.sparksOn = false;
    g.options.debrisOn = false;
    g.options.criticalsOn.fill(false);
    for (int i = 0; i < kSoundSlots; ++i) {
      g.sounds[i].name = kSoundNames[i];
      g.sounds[i].loaded = true;
    }
    for (int p = 0; p < 2; ++p) {
      ShipState& s = g.ship[p];
      s.x = p == 0 ? 200 : 600;
      s.y = 300;
      s.radius = 30;
      s.shield = s.shieldMax = 40;
      s.hull = s.hullMax = 100;
      s.energy = 50;
      s.energyRate = 0;  // no generator unless a test wants one, so shields stay where hits leave them
      s.shotEnergy = 5;
    }
    PlaceRects(g);
  }

  GameWindow& operator*() { return *w; }
  GameWindow* operator->() { return w.get(); }
  ShipState& ship(int player) { return w->ship[static_cast<size_t>(player - 1)]; }

  // How many times the sound of `file` was started.
  int played(const std::string& file) const {
    return static_cast<int>(std::count(w->audio.played.begin(), w->audio.played.end(), file));
  }

  // Queues exact random numbers, used before the seeded sequence.
  void script(std::initializer_list<double> values) {
    for (double v : values) w->random.scripted.push_back(v);
  }
};

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempFolder {
 public:
  TempFolder() {
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("quorvex-physics-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// A small ship design: the figures that matter here are hull, shield, size and escape ship.
inline ShipDefinition Design(const std::string& name, int hull, int shield, int sizeClass, const std::string& eject) {
  ShipDefinition d;
  d.name = name;
  d.picture = name + ".bmp";
  d.sizeClass = sizeClass;
  d.value = "100";
  d.laserReload = 5;
  d.shotPower = 5;
  d.energyRate = 10;
  d.hull = hull;
  d.shield = shield;
  d.speed = 5;
  d.mass = 3;
  d.turningRate = 5;
  d.laserCannons = 0;
  d.ejectShip = eject;
  d.launcherReload = 100;
  return d;
}

// Writes the ship file and a tiny picture for it.
inline void WriteDesign(const std::filesystem::path& dir, const std::string& file, const ShipDefinition& d) {
  std::string error;
  ASSERT_TRUE(SaveShipFile(dir / file, d, &error)) << error;
  // A 2 x 2 24-bit bitmap: 54 header bytes and two rows of 8 bytes (6 pixel bytes, 2 padding).
  std::string bmp(54 + 16, '\0');
  auto put32 = [&](size_t at, uint32_t v) {
    for (size_t i = 0; i < 4; ++i) bmp[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  bmp[0] = 'B';
  bmp[1] = 'M';
  put32(2, static_cast<uint32_t>(bmp.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, 2);
  put32(22, 2);
  bmp[26] = 1;
  bmp[28] = 24;
  for (size_t i = 54; i < bmp.size(); ++i) bmp[i] = static_cast<char>(0x80);
  std::ofstream out(dir / d.picture, std::ios::binary);
  out << bmp;
  ASSERT_TRUE(out.good());
}

}  // namespace quorvex::physics_testing
