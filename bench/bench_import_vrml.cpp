// VRML import speed: the largest VRML sample (a VRML 2.0 teapot of 1,546
// faces) read, walked, collected and converted through ImportScene, as
// time per 1,000 faces. No independent reader runs beside it: assimp
// 5 does not read VRML (it takes the file for a Blender one and fails).
#include "import_bench_support.h"

namespace {

void BM_ImportVrml(benchmark::State& state) {
  ws::bench::ImportEachIteration(state, ws::bench::SamplePath("wrl/v2_teapot.wrl"), 1546);
}
BENCHMARK(BM_ImportVrml)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
