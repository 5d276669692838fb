// VRML import speed: the largest VRML sample (a VRML 2.0 teapot of 1,546
// faces) read, walked, collected and converted through ImportScene, as
// time per 1,000 faces. No independent reader runs beside it: assimp
// 5 does not read VRML (it takes the file for a Blender one and fails).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "import/import_scene.h"
#include "platform/scripted_ui.h"

namespace {

namespace fs = std::filesystem;

constexpr double kFaces = 1546;

std::string Sample() {
  return (fs::path(__FILE__).parent_path().parent_path() / ".." / "shared" / "samples" / "wrl" /
          "v2_teapot.wrl")
      .lexically_normal()
      .string();
}

void BM_ImportVrml(benchmark::State& state) {
  char tmpl[] = "/tmp/ws-bench-vrml-XXXXXX";
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
  state.counters["per_1000_faces"] = benchmark::Counter(
      kFaces / 1000.0, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  fs::remove_all(dir);
}
BENCHMARK(BM_ImportVrml)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
