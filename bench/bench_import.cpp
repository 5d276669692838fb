// Scene import speed: the largest OBJ sample and a generated OBJ of 10,000
// quadrilaterals, each read, walked, collected and converted through
// ImportScene into an emptied object. "per_1000_faces" is the time per
// 1,000 faces of the file; reading the bytes alone is the baseline.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "import/import_scene.h"
#include "import/readers/bounded_reader.h"
#include "platform/scripted_ui.h"

namespace {

namespace fs = std::filesystem;

std::string SamplePath(const char* name) {
  return (fs::path(__FILE__).parent_path().parent_path() / ".." / "shared" / "samples" / name)
      .lexically_normal()
      .string();
}

struct Setup {
  std::string dir;
  ws::ScriptedUi ui;
  ws::Runtime rt{ui};
  ws::Model model{rt};
  std::string quads;

  Setup() {
    char tmpl[] = "/tmp/ws-bench-import-XXXXXX";
    dir = mkdtemp(tmpl);
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

    // 100 x 100 quadrilaterals over a 101 x 101 grid of vertices.
    quads = dir + "/quads.obj";
    std::ofstream out(quads);
    for (int y = 0; y <= 100; ++y) {
      for (int x = 0; x <= 100; ++x) out << "v " << x << ' ' << y << ' ' << ((x * y) % 7) * 0.1 << '\n';
    }
    for (int y = 0; y < 100; ++y) {
      for (int x = 0; x < 100; ++x) {
        const int a = y * 101 + x + 1;
        out << "f " << a << ' ' << a + 1 << ' ' << a + 102 << ' ' << a + 101 << '\n';
      }
    }
  }
  ~Setup() { fs::remove_all(dir); }
};

Setup& Shared() {
  static Setup setup;
  return setup;
}

void Import(benchmark::State& state, const std::string& path, double faces) {
  Setup& s = Shared();
  ws::ImportNotifier notifier(ws::LogPathFor(s.model.paths));
  ws::ImportProgress progress;
  ws::ImportServices services{notifier, progress, {}, ws::SceneReaders::Defaults(), {}};
  for (auto _ : state) {
    state.PauseTiming();
    s.model.tables.ResetObject();
    s.ui.ClearMessages();
    state.ResumeTiming();
    if (!ws::ImportScene(s.model, services, path, false)) state.SkipWithError("import failed");
  }
  state.counters["polygons"] = s.model.tables.polygonCount;
  state.counters["per_1000_faces"] = benchmark::Counter(
      faces / 1000.0, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_ImportSpiderObj(benchmark::State& state) {
  Import(state, SamplePath("obj/spider.obj"), 1368);
}
BENCHMARK(BM_ImportSpiderObj)->Unit(benchmark::kMillisecond);

void BM_ImportTenThousandQuads(benchmark::State& state) {
  Import(state, Shared().quads, 10000);
}
BENCHMARK(BM_ImportTenThousandQuads)->Unit(benchmark::kMillisecond);

// Baseline: only reading the file's bytes.
void BM_ReadQuadsFileOnly(benchmark::State& state) {
  const std::string path = Shared().quads;
  for (auto _ : state) benchmark::DoNotOptimize(ws::ReadImportFile(path));
}
BENCHMARK(BM_ReadQuadsFileOnly)->Unit(benchmark::kMillisecond);

}  // namespace
