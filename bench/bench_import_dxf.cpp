// DXF import speed: the largest DXF sample (1,290 polyface faces) read,
// walked, collected and converted through ImportScene, as time per 1,000
// faces, beside "assimp info FILE -r" on the same file in the same run
// (the whole command, process start included) for comparison. Wall-clock
// times, as the other reader runs in a process of its own.
#include "import_bench_support.h"

namespace {

constexpr double kFaces = 1290;
const std::string kSample = ws::bench::SamplePath("dxf/issue_2229.dxf");

void BM_ImportDxf(benchmark::State& state) {
  ws::bench::ImportEachIteration(state, kSample, kFaces);
}
BENCHMARK(BM_ImportDxf)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_AssimpInfoDxf(benchmark::State& state) {
  ws::bench::RunAssimp(state, "info '" + kSample + "' -r", kFaces);
}
BENCHMARK(BM_AssimpInfoDxf)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
