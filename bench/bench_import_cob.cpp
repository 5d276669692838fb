// trueSpace import speed: the largest trueSpace sample (spider_6_6.cob,
// 1,368 faces) read, walked, collected and converted through ImportScene,
// as time per 1,000 faces; beside it, in the same run, the independent
// reader `assimp info FILE -r` on the same file (a process of its own, so
// `assimp version` is timed too: the part of its time that is start-up).
// Wall-clock times throughout, as the other reader runs in a child process.
#include "import_bench_support.h"

namespace {

constexpr double kSpiderFaces = 1368;
const std::string kSpider = ws::bench::SamplePath("cob/spider_6_6.cob");

void BM_ImportSpiderCob(benchmark::State& state) {
  ws::bench::ImportEachIteration(state, kSpider, kSpiderFaces);
}
BENCHMARK(BM_ImportSpiderCob)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_AssimpInfoSpiderCob(benchmark::State& state) {
  ws::bench::RunAssimp(state, "info " + kSpider + " -r", kSpiderFaces);
}
BENCHMARK(BM_AssimpInfoSpiderCob)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_AssimpStartUpOnly(benchmark::State& state) { ws::bench::RunAssimp(state, "version", 0); }
BENCHMARK(BM_AssimpStartUpOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
