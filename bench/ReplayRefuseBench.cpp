// Refusing a replay that says more than any battle: its records are counted before any is kept,
// so the time is one look at the bytes and the memory the text itself.
#include <benchmark/benchmark.h>

#include <string>

#include "game/replay/ReplayFile.h"

namespace quorvex {
namespace {

// A replay of `records` key records, two frames apart at most, as a damaged or hostile file has them.
std::string ReplayOfKeyRecords(int64_t records) {
  std::string text = std::string(kReplayVersionLine) + "\n";
  for (int64_t i = 0; i < records; ++i) text += "k " + std::to_string(1 + i / 40) + " d65\n";
  return text + "cut " + std::to_string(1 + records / 40) + "\n";
}

void BM_RefuseTwoMillionRecords(benchmark::State& state) {
  const std::string text = ReplayOfKeyRecords(2'000'000);
  for (auto _ : state) {
    Replay replay;
    std::string problem;
    if (ParseReplay(text, &replay, &problem)) state.SkipWithError("a replay of 2,000,000 records was taken");
    benchmark::DoNotOptimize(replay);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_RefuseTwoMillionRecords)->Unit(benchmark::kMillisecond);

// The largest replay taken, for comparison: a million records parsed and kept.
void BM_ReadMillionRecords(benchmark::State& state) {
  const std::string text = ReplayOfKeyRecords(kMaxReplayRecords - 1);
  for (auto _ : state) {
    Replay replay;
    std::string problem;
    if (!ParseReplay(text, &replay, &problem)) state.SkipWithError(problem.c_str());
    benchmark::DoNotOptimize(replay);
  }
}
BENCHMARK(BM_ReadMillionRecords)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorvex
