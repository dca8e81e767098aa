// One full battle frame: zoomed background, 1000 stars, both ships, trail dots, shots and the bars.
#include <benchmark/benchmark.h>

#include <cmath>

#include "game/core/GameWindow.h"
#include "game/render/FrameDrawing.h"

namespace quorvex {
namespace {

Surface NoisyPicture(int w, int h, uint32_t seed) {
  Surface s(w, h);
  uint32_t v = seed;
  for (auto& p : s.pixels()) {
    v = v * 1103515245u + 12345u;
    p = static_cast<uint16_t>(v >> 16);
  }
  return s;
}

// Ship pictures with a black surround in every frame, as the colour key expects.
Surface ShipPicture(uint32_t seed) {
  Surface s = NoisyPicture(400, 200, seed);
  for (int y = 0; y < 200; ++y) {
    for (int x = 0; x < 400; ++x) {
      const int dx = x % 50 - 25, dy = y % 50 - 25;
      if (dx * dx + dy * dy > 20 * 20) s.setPixel(x, y, 0);
    }
  }
  return s;
}

void SetUpBattle(GameWindow& w) {
  w.back = Surface(800, 600);
  w.background = NoisyPicture(800, 600, 1);
  w.shipPicture[0] = ShipPicture(2);
  w.shipPicture[1] = ShipPicture(3);
  w.fontSheet = NoisyPicture(702, 104, 4);
  w.explosionSheet = NoisyPicture(500, 80, 5);
  w.options.backgroundZoom = true;
  w.options.starCount = 1000;
  w.random.Seed(7);
  for (int i = 0; i <= 1000; ++i) {
    w.stars.depth[i] = static_cast<float>(w.random.Next() * 2 + 1);
    w.stars.x[i] = static_cast<float>(w.random.Next() * 3000 - 1500);
    w.stars.y[i] = static_cast<float>(w.random.Next() * 2200 - 1100);
  }
  for (int p = 0; p < 2; ++p) {
    ShipState& s = w.ship[p];
    s.alive = true;
    s.radius = 45;
    s.shield = 60, s.shieldMax = 100;
    s.hull = 80, s.hullMax = 100;
    s.energy = 70;
    s.weapon = 2;
    s.missiles = 12;
  }
}

void BM_BattleFrame(benchmark::State& state) {
  GameWindow w;
  SetUpBattle(w);
  const bool busy = state.range(0) != 0;
  int frame = 0;
  for (auto _ : state) {
    // The ships circle each other, so the zoom and the ship sizes change every frame.
    const double a = frame * 0.05;
    w.ship[0].x = 400 + 250 * std::cos(a), w.ship[0].y = 300 + 200 * std::sin(a);
    w.ship[1].x = 400 - 150 * std::cos(a), w.ship[1].y = 300 - 120 * std::sin(a);
    w.ship[0].heading = frame % 32, w.ship[1].heading = (frame * 3) % 32;
    if (busy) {
      // Every trail dot and every shot slot in use.
      for (int i = 1; i <= 100; ++i) {
        w.trail.life[i] = 3, w.trail.x[i] = 100 + 6 * i, w.trail.y[i] = 400, w.trail.vx[i] = 1, w.trail.vy[i] = 1;
        w.shots.life[i] = i % 2 ? 80 : 450, w.shots.kind[i] = i % 3;
        w.shots.x[i] = 50 + 7 * i, w.shots.y[i] = 500, w.shots.vx[i] = 20, w.shots.vy[i] = -5;
      }
    }
    FramenPiirtely(w, static_cast<int>(w.ship[0].heading), static_cast<int>(w.ship[1].heading));
    benchmark::DoNotOptimize(w.back.pixels().data());
    ++frame;
  }
  state.SetLabel(busy ? "full pools" : "empty pools");
}
BENCHMARK(BM_BattleFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quorvex
