// DirectX import speed: the two largest X samples, the text BCN_Epileptic.X
// (5,126 faces) and the 32-bit binary fromtruespace_bin32.x (6,656 faces),
// read, walked, collected and converted through ImportScene (with the face
// flip of ".x" files), as time per 1,000 faces; beside each, in the same
// run, `assimp info FILE -r` on the same file (a whole process, start-up
// included: BM_AssimpStartUpOnly gives that part). Run from the build
// folder (the samples are found beside the checkout).
#include "import_bench_support.h"

namespace {

struct Sample {
  const char* file;
  double faces;
};
constexpr Sample kText{"x/BCN_Epileptic.X", 5126}, kBinary{"x/fromtruespace_bin32.x", 6656};

void BM_ImportXText(benchmark::State& state) {
  ws::bench::ImportEachIteration(state, ws::bench::SamplePath(kText.file), kText.faces, true);
}
BENCHMARK(BM_ImportXText)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_AssimpInfoXText(benchmark::State& state) {
  ws::bench::RunAssimp(state, "info " + ws::bench::SamplePath(kText.file) + " -r", kText.faces);
}
BENCHMARK(BM_AssimpInfoXText)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ImportXBinary(benchmark::State& state) {
  ws::bench::ImportEachIteration(state, ws::bench::SamplePath(kBinary.file), kBinary.faces, true);
}
BENCHMARK(BM_ImportXBinary)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_AssimpInfoXBinary(benchmark::State& state) {
  ws::bench::RunAssimp(state, "info " + ws::bench::SamplePath(kBinary.file) + " -r", kBinary.faces);
}
BENCHMARK(BM_AssimpInfoXBinary)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_AssimpStartUpOnly(benchmark::State& state) { ws::bench::RunAssimp(state, "version", 0); }
BENCHMARK(BM_AssimpStartUpOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
