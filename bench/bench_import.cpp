// Scene import speed: the largest OBJ sample and a generated OBJ of 10,000
// quadrilaterals, each read, walked, collected and converted through
// ImportScene into an emptied object. "per_1000_faces" is the time per
// 1,000 faces of the file; reading the bytes alone is the baseline.
#include <fstream>

#include "import/readers/bounded_reader.h"
#include "import_bench_support.h"

namespace {

using ws::bench::SamplePath;

// The generated file lives in the model's temporary folder.
struct Setup {
  ws::bench::ImportModel m;
  std::string quads;

  Setup() {
    // 100 x 100 quadrilaterals over a 101 x 101 grid of vertices.
    quads = m.dir + "/quads.obj";
    std::ofstream out(quads);
    for (int y = 0; y <= 100; ++y) {
      for (int x = 0; x <= 100; ++x)
        out << "v " << x << ' ' << y << ' ' << ((x * y) % 7) * 0.1 << '\n';
    }
    for (int y = 0; y < 100; ++y) {
      for (int x = 0; x < 100; ++x) {
        const int a = y * 101 + x + 1;
        out << "f " << a << ' ' << a + 1 << ' ' << a + 102 << ' ' << a + 101 << '\n';
      }
    }
  }
};

Setup& Shared() {
  static Setup setup;
  return setup;
}

void Import(benchmark::State& state, const std::string& path, double faces) {
  ws::bench::ImportEachIteration(state, path, faces);
}

void BM_ImportSpiderObj(benchmark::State& state) {
  Import(state, SamplePath("obj/spider.obj"), 1368);
}
BENCHMARK(BM_ImportSpiderObj)->Unit(benchmark::kMillisecond);

void BM_ImportTenThousandQuads(benchmark::State& state) { Import(state, Shared().quads, 10000); }
BENCHMARK(BM_ImportTenThousandQuads)->Unit(benchmark::kMillisecond);

// Baseline: only reading the file's bytes.
void BM_ReadQuadsFileOnly(benchmark::State& state) {
  const std::string path = Shared().quads;
  for (auto _ : state) benchmark::DoNotOptimize(ws::ReadImportFile(path));
}
BENCHMARK(BM_ReadQuadsFileOnly)->Unit(benchmark::kMillisecond);

}  // namespace
