// 3D Studio import speed: the largest 3DS sample (the spider, 1,368
// triangles, stored without an ending and copied here as a ".3ds") read,
// walked, collected and converted through ImportScene into an emptied
// object, as time per 1,000 faces; beside it, in the same run, the
// independent reader `assimp info FILE -r` on the same file (a whole
// process, as a user runs it), when it is installed.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "import/import_scene.h"
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
BENCHMARK(BM_ImportSpider3ds)->Unit(benchmark::kMillisecond);

void BM_AssimpInfoSpider3ds(benchmark::State& state) {
  const std::string command = "assimp info " + Shared().spider + " -r >/dev/null 2>&1";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("assimp is not installed");
  }
  PerThousandFaces(state);
}
BENCHMARK(BM_AssimpInfoSpider3ds)->Unit(benchmark::kMillisecond);

}  // namespace
