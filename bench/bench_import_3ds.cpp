// 3D Studio import speed: the largest 3DS sample (the spider, 1,368
// triangles, stored without an ending and copied here as a ".3ds") read,
// walked, collected and converted through ImportScene into an emptied
// object, as time per 1,000 faces; beside it, in the same run, the
// independent reader `assimp info FILE -r` on the same file (a whole
// process, as a user runs it), when it is installed. Both in wall-clock
// time: the other program's time is not this process's CPU time. Run from
// the build folder (the sample is found beside the checkout).
#include <cstdio>

#include "import/readers/readers.h"
#include "import_bench_support.h"

namespace {

namespace fs = std::filesystem;

constexpr double kSpiderFaces = 1368;

// The spider is stored without an ending; the dispatch needs ".3ds".
struct Setup {
  ws::bench::ImportModel m;
  std::string spider = m.dir + "/spider.3ds";
  Setup() { fs::copy_file(ws::bench::SamplePath("3ds/testFormatDetection"), spider); }
};

Setup& Shared() {
  static Setup setup;
  return setup;
}

void PerThousandFaces(benchmark::State& state) { ws::bench::PerThousandFaces(state, kSpiderFaces); }

void BM_ImportSpider3ds(benchmark::State& state) {
  ws::bench::ImportEachIteration(state, Shared().spider, kSpiderFaces, true);
}
BENCHMARK(BM_ImportSpider3ds)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole process as timed here, and assimp's own measure of its import
// alone ("import took approx. N seconds"), the like of BM_Read3dsOnly.
void BM_AssimpInfoSpider3ds(benchmark::State& state) {
  const std::string command = "assimp info " + Shared().spider + " -r 2>&1";
  double importSeconds = 0;
  for (auto _ : state) {
    FILE* out = popen(command.c_str(), "r");
    std::string text;
    char buffer[4096];
    for (std::size_t n; out && (n = std::fread(buffer, 1, sizeof buffer, out)) > 0;)
      text.append(buffer, n);
    const std::size_t at = text.find("import took approx. ");
    if (!out || pclose(out) != 0 || at == std::string::npos) {
      state.SkipWithError("assimp is not installed or did not read the file");
      break;
    }
    importSeconds += std::strtod(text.c_str() + at + 20, nullptr);
  }
  PerThousandFaces(state);
  state.counters["import_alone_per_1000_faces_ms"] =
      importSeconds * 1000 / static_cast<double>(state.iterations()) / (kSpiderFaces / 1000.0);
}
BENCHMARK(BM_AssimpInfoSpider3ds)->Unit(benchmark::kMillisecond)->UseRealTime();

// The reader alone: the file read into scene nodes, nothing walked.
void BM_Read3dsOnly(benchmark::State& state) {
  ws::ImportNotifier notifier("/dev/null");
  for (auto _ : state) {
    ws::Importer importer(notifier);
    ws::Import3ds(importer, Shared().spider);
    benchmark::DoNotOptimize(importer.root().children.size());
  }
  PerThousandFaces(state);
}
BENCHMARK(BM_Read3dsOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
