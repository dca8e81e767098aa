// A long duel keeps its memory flat: once the first frames have set up what the battle reuses, no
// frame allocates and the memory in use does not grow, whatever is fired, drawn or played.
// This program counts every allocation made through operator new, so it has a program of its own.
#include <gtest/gtest.h>

#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>

#include "game/flow/BattleLoop.h"
#include "game/controls/Controls.h"
#include "game/combat/ShipLoading.h"
#include "game/flow/Startup.h"
#include "game/render/Graphics.h"
#include "tests/support/SurfaceTesting.h"

namespace {

std::atomic<long long> allocations{0};
std::atomic<long long> bytesInUse{0};
// Allocations of the test's own key script (the world outside the game) are not the game's.
std::atomic<bool> scriptRunning{false};

void* Allocate(std::size_t size) {
  void* p = std::malloc(size == 0 ? 1 : size);
  if (!p) throw std::bad_alloc();
  if (!scriptRunning.load(std::memory_order_relaxed)) allocations.fetch_add(1, std::memory_order_relaxed);
  bytesInUse.fetch_add(static_cast<long long>(malloc_usable_size(p)), std::memory_order_relaxed);
  return p;
}

void Release(void* p) noexcept {
  if (!p) return;
  bytesInUse.fetch_sub(static_cast<long long>(malloc_usable_size(p)), std::memory_order_relaxed);
  std::free(p);
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }

namespace quorvex {
namespace {

struct Sample {
  long long allocations, bytes;
};
Sample Now() { return {allocations.load(), bytesInUse.load()}; }

// Two stock ships that cannot be destroyed fight with every weapon, the fire keys held, aim markers,
// sparks, debris and gravity on, sounds recorded as the game records them.
TEST(BattleMemory, StaysFlatOverALongDuel) {
  constexpr int64_t kSettled = 300, kLast = 2000;
  ManualClock clock;
  GameWindow w;
  w.headless = w.messages.headless = true;
  w.programDir = testing::ProgramDir();
  w.clock = &clock;
  InitGame(w);  // the stock ship list and the players' keys
  w.trainingMode = false;
  w.aimMarkers = true;
  w.options.soundOn = true;
  w.options.gravityOn = w.options.debrisOn = w.options.sparksOn = true;
  w.options.criticalsOn.fill(true);
  const char* const flying[2] = {"hornet.shp", "leviathan.shp"};  // chaingun, lasers, launchers, electrogun
  for (int p = 0; p < 2; ++p) {
    const auto found = std::find(w.shipFiles.begin(), w.shipFiles.end(), flying[p]);
    ASSERT_NE(found, w.shipFiles.end()) << flying[p];
    w.fleet[p][0] = static_cast<int>(found - w.shipFiles.begin());
    LoadShip(w, p + 1);
  }
  w.back = Surface(kScreenWidth, kScreenHeight);
  LoadGraphics(w);
  // Every sound slot plays as a loaded buffer does without a sound card: each play is recorded.
  for (int i = 0; i < kSoundSlots; ++i) {
    w.sounds[i].name = "Sound" + std::to_string(i) + ".wav";
    w.sounds[i].loaded = true;
  }

  uint64_t state = 5;
  auto roll = [&state] {  // the script's own generator, apart from the game's
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<int>((state >> 33) % 1000);
  };
  Sample settled{}, last{};
  w.eventScript = [&](GameWindow& g) {
    if (g.framesRun == kSettled) settled = Now();
    if (g.framesRun == kLast) {
      last = Now();
      g.duelOver = true;
    }
    scriptRunning = true;
    for (ShipState& s : g.ship) {
      s.hull = s.hullMax = 1e9;  // a duel as long as the test
      // Plenty to fire, within what the weapon texts show in the ways ship files hold them.
      s.chaingunAmmo = 9999;
      s.missiles = s.torpedoes = 999;
    }
    for (const auto& keys : g.controlTable) {
      g.events.keys.push_back({true, static_cast<int>(keys[key_entry::Fire])});  // held
      for (int e : {key_entry::Thrust, key_entry::TurnLeft, key_entry::TurnRight, key_entry::Weapon, key_entry::Power}) {
        const int r = roll();
        if (r < 60) g.events.keys.push_back({r % 2 == 0 || e >= key_entry::Weapon, static_cast<int>(keys[e])});
      }
    }
    scriptRunning = false;
  };
  BattleLoop(w);

  ASSERT_EQ(w.framesRun, kLast);
  // More sounds played than the record of plays holds: it filled up during the duel and stopped.
  EXPECT_EQ(w.audio.played.size(), kPlayRecordLimit);
  EXPECT_EQ(last.allocations - settled.allocations, 0) << "allocations over " << kLast - kSettled << " frames";
  EXPECT_EQ(last.bytes, settled.bytes) << "bytes in use grew";
}

}  // namespace
}  // namespace quorvex
