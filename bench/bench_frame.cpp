// One editor frame: ProjectAll + DrawFrame + the bitmap copy of Present on
// a 1024 x 768 EditArea, the torus of frame_bench_support.h; the empty
// scene (the axis cross and the grid alone) is the baseline of the same run. The
// budget is 5 ms for the full scene, a quarter of the 20 ms tick.
//
// Run with --benchmark_repetitions and read the medians; the first line
// printed gives the picture's coverage.
#include <benchmark/benchmark.h>

#include "frame_bench_support.h"

namespace ws {
namespace {

using bench::FrameBench;

void BM_FrameEmptyScene(benchmark::State& state) {
  auto bench = std::make_unique<FrameBench>(false);
  for (auto _ : state) bench->Frame();
}
BENCHMARK(BM_FrameEmptyScene)->Unit(benchmark::kMillisecond);

void BM_FrameTorus10000(benchmark::State& state) {
  auto bench = std::make_unique<FrameBench>(true);
  if (state.thread_index() == 0) {
    static bool reported = false;
    if (!reported) {
      std::printf("torus: %u polygons, %u vectors, %.0f%% of the EditArea covered\n",
                  bench->editor.model.tables.polygonCount, bench->editor.model.tables.vectorCount,
                  100.0 * bench->Coverage());
      reported = true;
    }
  }
  for (auto _ : state) bench->Frame();
}
BENCHMARK(BM_FrameTorus10000)->Unit(benchmark::kMillisecond);

void BM_FrameTorus10000Perspective(benchmark::State& state) {
  auto bench = std::make_unique<FrameBench>(true);
  bench->editor.display.options.perspective = true;
  bench->editor.display.view.scale = 0.4;
  for (auto _ : state) bench->Frame();
}
BENCHMARK(BM_FrameTorus10000Perspective)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ws
