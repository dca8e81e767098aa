// A rollback in a network duel at its heaviest: every pool full, the battle put back the longest
// window a duel may guess over and those frames played again as the network duel plays them (the
// world, the frame worked out without its picture but for the last, the keys, the controls), a
// snapshot kept of each.
#include <benchmark/benchmark.h>

#include <memory>

#include "game/core/GameWindow.h"
#include "game/flow/BattleLoop.h"
#include "game/net/Packets.h"
#include "game/replay/BattleSnapshot.h"

namespace quorvex {
namespace {

constexpr int kRollbackFrames = kMaxRollbackWindow;

template <class Pool>
void Fill(Pool& pool, Random& r) {
  for (size_t i = 1; i < pool.life.size(); ++i) {
    pool.life[i] = 40;
    pool.x[i] = r.Next() * 800;
    pool.y[i] = r.Next() * 600;
  }
}

void SetUpFullDuel(GameWindow& w) {
  w.random.Seed(11);
  w.options.gravityOn = w.options.debrisOn = true;
  w.options.criticalsOn.fill(true);
  w.options.soundOn = false;
  for (int p = 0; p < 2; ++p) {
    ShipState& s = w.ship[p];
    s.alive = true;
    s.x = 250 + 300 * p, s.y = 300;
    s.radius = 45, s.mass = 10, s.maxSpeed = 8, s.turnRate = 1;
    s.shield = s.shieldMax = 100, s.hull = s.hullMax = 100, s.energy = 70, s.energyRate = 1;
    s.thrustHeld = s.fireHeld = true;
    s.missiles = 12;
  }
  Fill(w.shots, w.random), Fill(w.missilesPool, w.random), Fill(w.trail, w.random), Fill(w.bullets, w.random);
  Fill(w.fragments, w.random), Fill(w.flashes, w.random), Fill(w.smoke, w.random), Fill(w.flames, w.random);
  Fill(w.sparks, w.random);
  for (size_t i = 1; i < w.debris.life.size(); ++i) w.debris.life[i] = 40, w.debris.x[i] = 400, w.debris.y[i] = 300;
}

void BM_RollbackWindow(benchmark::State& state) {
  auto w = std::make_unique<GameWindow>();  // large: the pools are fixed arrays
  SetUpFullDuel(*w);
  w->back = Surface(kScreenWidth, kScreenHeight);
  auto ring = std::make_unique<SnapshotRing<kRollbackFrames + 1>>();
  ring->Save(*w, 1);
  const auto noKeys = [](GameWindow& g) { g.events.keys.clear(); };
  for (auto _ : state) {
    ring->Restore(1, *w);
    for (int f = 2; f <= kRollbackFrames + 1; ++f) {
      DuelFrameAgain(*w, f == kRollbackFrames + 1, noKeys);
      ring->Save(*w, f);
    }
    benchmark::DoNotOptimize(w->ship[0].x);
  }
  state.SetLabel("full pools, " + std::to_string(kRollbackFrames) + " frames");
}
BENCHMARK(BM_RollbackWindow)->Unit(benchmark::kMicrosecond);

void BM_SnapshotOnly(benchmark::State& state) {
  auto w = std::make_unique<GameWindow>();
  SetUpFullDuel(*w);
  const SnapshotLayout layout = MakeSnapshotLayout();
  BattleSnapshot s;
  for (auto _ : state) {
    TakeSnapshot(layout, *w, s);
    RestoreSnapshot(layout, s, *w);
    benchmark::DoNotOptimize(s.bytes.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * layout.plainBytes * 2));
}
BENCHMARK(BM_SnapshotOnly)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quorvex
