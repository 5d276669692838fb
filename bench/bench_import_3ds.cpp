// 3D Studio import speed: the largest 3DS sample (the spider, 1,368
// triangles, stored without an ending and copied here as a ".3ds") read,
// walked, collected and converted through ImportScene into an emptied
// object, as time per 1,000 faces; beside it, in the same run, the
// independent reader `assimp info FILE -r` on the same file (a whole
// process, as a user runs it), when it is installed. Both in wall-clock
// time: the other program's time is not this process's CPU time. Run from
// the build folder (the sample is found beside the checkout).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "import/import_scene.h"
#include "import/readers/readers.h"
#include "platform/scripted_ui.h"

namespace {

namespace fs = std::filesystem;

constexpr double kSpiderFaces = 1368;

struct Setup {
  std::string dir, spider;
  ws::ScriptedUi ui;
  ws::Runtime rt{ui};
  ws::Model model{rt};

  Setup() {
    char tmpl[] = "/tmp/ws-bench-3ds-XXXXXX";
    dir = mkdtemp(tmpl);
    spider = dir + "/spider.3ds";
    fs::copy_file(fs::path(__FILE__).parent_path().parent_path() / ".." / "shared" / "samples" /
                      "3ds" / "testFormatDetection",
                  spider);
    model.paths = ws::Paths::FromBase(dir);
    model.resources.CreateResFile(model.paths.preferences);
    ws::ColorTable table;
    for (std::size_t i = 0; i < 256; ++i) {
      const auto c = static_cast<std::uint16_t>(i * 257);
      table.Set(i, {c, static_cast<std::uint16_t>(65535 - c), static_cast<std::uint16_t>(c / 2)});
    }
    ws::WriteClutToFile(model.resources, model.paths.preferences, ws::kCurrentClutId, table);
    if (!model.tables.AllocateObjectTables()) std::abort();
    model.tables.BuildReservedEntries();
  }
  ~Setup() { fs::remove_all(dir); }
};

Setup& Shared() {
  static Setup setup;
  return setup;
}

void PerThousandFaces(benchmark::State& state) {
  state.counters["per_1000_faces"] =
      benchmark::Counter(kSpiderFaces / 1000.0, benchmark::Counter::kIsIterationInvariantRate |
                                                    benchmark::Counter::kInvert);
}

void BM_ImportSpider3ds(benchmark::State& state) {
  Setup& s = Shared();
  ws::ImportNotifier notifier(ws::LogPathFor(s.model.paths));
  ws::ImportProgress progress;
  ws::ImportServices services{notifier, progress, {}, ws::SceneReaders::Defaults(), {}};
  for (auto _ : state) {
    state.PauseTiming();
    s.model.tables.ResetObject();
    state.ResumeTiming();
    if (!ws::ImportScene(s.model, services, s.spider, true)) state.SkipWithError("import failed");
  }
  state.counters["polygons"] = s.model.tables.polygonCount;
  PerThousandFaces(state);
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
