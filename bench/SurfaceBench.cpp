// One frame's worth of surface work: the 800 x 600 background copy, a stretched background,
// 1000 one-pixel copies (stars) and the copy that presents the frame.
#include <benchmark/benchmark.h>

#include "platform/Surface.h"

namespace quorvex {
namespace {

Surface noisyPicture(int w, int h) {
  Surface s(w, h);
  uint32_t v = 12345;
  for (auto& p : s.pixels()) {
    v = v * 1103515245u + 12345u;
    p = static_cast<uint16_t>(v >> 16);
  }
  return s;
}

void BM_SurfaceFrame(benchmark::State& state) {
  const Surface background = noisyPicture(800, 600);
  Surface back(800, 600), visible(800, 600);
  int frame = 0;
  for (auto _ : state) {
    back.BltFast(0, 0, background, {0, 0, 800, 600}, false);
    const int z = 25 + frame % 25;
    back.Blt({0, 0, 800, 600}, background, {2 * z - 50, 2 * z - 50, 850 - 2 * z, 650 - 2 * z}, false);
    for (int i = 0; i < 1000; ++i) {
      back.BltFast((i * 37 + frame) % 799, (i * 53) % 599, background, {7 + i % 3, 5, 8 + i % 3, 6}, false);
    }
    visible.BltFast(0, 0, back, {0, 0, 800, 600}, false);
    benchmark::DoNotOptimize(visible.pixels().data());
    ++frame;
  }
  state.SetLabel("per frame");
}
BENCHMARK(BM_SurfaceFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quorvex
