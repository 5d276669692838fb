// trueSpace import speed: the largest trueSpace sample (spider_6_6.cob,
// 1,368 faces) read, walked, collected and converted through ImportScene,
// as time per 1,000 faces; beside it, in the same run, the independent
// reader `assimp info FILE -r` on the same file (a process of its own, so
// `assimp version` is timed too: the part of its time that is start-up).
// Wall-clock times throughout, as the other reader runs in a child process.
// Run from the build directory, as the other benchmarks: the sample is
// found from this file's path.
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

std::string SpiderPath() {
  return (fs::path(__FILE__).parent_path().parent_path() / ".." / "shared" / "samples" / "cob" /
          "spider_6_6.cob")
      .lexically_normal()
      .string();
}

void PerThousandFaces(benchmark::State& state, double faces) {
  state.counters["per_1000_faces"] = benchmark::Counter(
      faces / 1000.0, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_ImportSpiderCob(benchmark::State& state) {
  char tmpl[] = "/tmp/ws-bench-cob-XXXXXX";
  const std::string dir = mkdtemp(tmpl);
  ws::ScriptedUi ui;
  ws::Runtime rt{ui};
  ws::Model model{rt};
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
  ws::ImportNotifier notifier(ws::LogPathFor(model.paths));
  ws::ImportProgress progress;
  ws::ImportServices services{notifier, progress, {}, ws::SceneReaders::Defaults(), {}};
  const std::string path = SpiderPath();
  for (auto _ : state) {
    state.PauseTiming();
    model.tables.ResetObject();
    state.ResumeTiming();
    if (!ws::ImportScene(model, services, path, false)) state.SkipWithError("import failed");
  }
  state.counters["polygons"] = model.tables.polygonCount;
  PerThousandFaces(state, kSpiderFaces);
  fs::remove_all(dir);
}
BENCHMARK(BM_ImportSpiderCob)->Unit(benchmark::kMillisecond)->UseRealTime();

void RunAssimp(benchmark::State& state, const std::string& arguments, double faces) {
  const std::string command = "assimp " + arguments + " >/dev/null 2>&1";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError(("failed: " + command).c_str());
  }
  if (faces > 0) PerThousandFaces(state, faces);
}

void BM_AssimpInfoSpiderCob(benchmark::State& state) {
  RunAssimp(state, "info " + SpiderPath() + " -r", kSpiderFaces);
}
BENCHMARK(BM_AssimpInfoSpiderCob)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_AssimpStartUpOnly(benchmark::State& state) { RunAssimp(state, "version", 0); }
BENCHMARK(BM_AssimpStartUpOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
