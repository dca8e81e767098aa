// Watching the committed replay with F6 held from its first frame, in the game window (SDL's dummy
// video driver): frames played per second, and how many times the battle's own pace (a frame each
// 21 ms) that is. Hurrying should reach at least 8 times.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <sstream>

#include "game/replay/Player.h"
#include "platform/Keys.h"

namespace quorvex {
namespace {

void HurriedReplay(benchmark::State& state) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  const std::filesystem::path replay = std::filesystem::path(QV_SOURCE_DIR) / "tests/replay/data/battle.qvr";
  auto holdF6 = [](GameWindow& w, const ReplayPlayer& p) {
    if (!p.fastForward) w.events.keys.push_back({true, vk::F6});
  };
  int64_t frames = 0;
  double seconds = 0;
  for (auto _ : state) {
    std::ostringstream out, err;
    PlaybackResult result;
    if (PlayReplay(replay, std::filesystem::path(QV_PROGRAM_DIR), ReplayMode::Window, out, err, &result, holdF6) != 0) {
      state.SkipWithError(err.str().c_str());
      return;
    }
    frames += result.frames;
    seconds += result.seconds;
  }
  const double fps = seconds > 0 ? static_cast<double>(frames) / seconds : 0;
  state.counters["frames_per_second"] = fps;
  state.counters["times_the_pace"] = fps * 21 / 1000;
}
BENCHMARK(HurriedReplay)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace quorvex
