// DXF import speed: the largest DXF sample (1,290 polyface faces) read,
// walked, collected and converted through ImportScene, as time per 1,000
// faces, beside "assimp info FILE -r" on the same file in the same run
// (the whole command, process start included) for comparison. Wall-clock
// times, as the other reader runs in a process of its own.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "import/import_scene.h"
#include "platform/scripted_ui.h"

namespace {

namespace fs = std::filesystem;

constexpr double kFaces = 1290;

std::string Sample() {
  return (fs::path(__FILE__).parent_path().parent_path() / ".." / "shared" / "samples" / "dxf" /
          "issue_2229.dxf")
      .lexically_normal()
      .string();
}

void PerThousandFaces(benchmark::State& state) {
  state.counters["per_1000_faces"] = benchmark::Counter(
      kFaces / 1000.0, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_ImportDxf(benchmark::State& state) {
  char tmpl[] = "/tmp/ws-bench-dxf-XXXXXX";
  const std::string dir = mkdtemp(tmpl);
  ws::ScriptedUi ui;
  ws::Runtime rt{ui};
  ws::Model model{rt};
  model.paths = ws::Paths::FromBase(dir);
  model.resources.CreateResFile(model.paths.preferences);
  ws::ColorTable table;
  for (std::size_t i = 0; i < 256; ++i) {
    const auto c = static_cast<std::uint16_t>(i * 257);
    table.Set(i, {c, static_cast<std::uint16_t>(65535 - c), c});
  }
  ws::WriteClutToFile(model.resources, model.paths.preferences, ws::kCurrentClutId, table);
  if (!model.tables.AllocateObjectTables()) std::abort();
  model.tables.BuildReservedEntries();
  ws::ImportNotifier notifier(ws::LogPathFor(model.paths));
  ws::ImportProgress progress;
  ws::ImportServices services{notifier, progress, {}, ws::SceneReaders::Defaults(), {}};
  for (auto _ : state) {
    state.PauseTiming();
    model.tables.ResetObject();
    state.ResumeTiming();
    if (!ws::ImportScene(model, services, Sample(), false)) state.SkipWithError("import failed");
  }
  state.counters["polygons"] = model.tables.polygonCount;
  PerThousandFaces(state);
  fs::remove_all(dir);
}
BENCHMARK(BM_ImportDxf)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_AssimpInfoDxf(benchmark::State& state) {
  const std::string command = "assimp info '" + Sample() + "' -r >/dev/null 2>&1";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("assimp info failed");
  }
  PerThousandFaces(state);
}
BENCHMARK(BM_AssimpInfoDxf)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
