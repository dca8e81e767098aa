// Duels between computer pilots as the headless tournament flies them: the game's battle loop with
// the frame worked out but not drawn. One duel, and one frame of it, beside BM_BattleFrame (one
// drawn frame): a tournament duel should cost no more than the game spends on one frame.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "game/flow/Tournament.h"

namespace quorvex {
namespace {

// A stock ship's place in the ship list.
int ShipIndex(const GameFolders& folders, const std::string& file) {
  std::vector<std::string> list;
  std::string error;
  if (!ShipListOf(folders, &list, &error)) return 0;
  return static_cast<int>(std::find(list.begin(), list.end(), file) - list.begin()) % static_cast<int>(list.size());
}

void BM_PilotDuel(benchmark::State& state) {
  const GameFolders folders{QV_PROGRAM_DIR, QV_PROGRAM_DIR};
  const auto level = static_cast<PilotLevel>(state.range(0));
  // Falcon Gunship against Lancer Bomber: lasers, missiles and torpedoes in play.
  const int falcon = ShipIndex(folders, "falcon.shp"), lancer = ShipIndex(folders, "lancer.shp");
  uint64_t seed = 1;
  int64_t frames = 0;
  for (auto _ : state) {
    const DuelOutcome o = PlayPilotDuel(folders, falcon, level, lancer, PilotLevel::Normal, seed++);
    frames += o.frames;
  }
  state.counters["frames per duel"] = benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kAvgIterations);
  state.counters["frame"] = benchmark::Counter(static_cast<double>(frames),
                                               benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.SetLabel(std::string(level == PilotLevel::Hard ? "hard" : level == PilotLevel::Easy ? "easy" : "normal") +
                 " against normal");
}
BENCHMARK(BM_PilotDuel)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorvex
