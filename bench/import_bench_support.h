// What the import benchmarks share: a model in a temporary base folder with
// a Preferences file holding a colour table (so imports match colours as
// the editor does), the path of a developers' sample beside the checkout,
// the time per 1,000 faces, one import through ImportScene per iteration,
// and the independent reader `assimp info FILE -r` timed on the same file.
// Run the programs from the build folder: the samples are found from this
// file's path.
#pragma once

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "import/import_scene.h"
#include "platform/scripted_ui.h"

namespace ws::bench {

struct ImportModel {
  std::string dir;
  ScriptedUi ui;
  Runtime rt{ui};
  Model model{rt};

  ImportModel() {
    char tmpl[] = "/tmp/ws-bench-import-XXXXXX";
    dir = mkdtemp(tmpl);
    model.paths = Paths::FromBase(dir);
    model.resources.CreateResFile(model.paths.preferences);
    ColorTable table;
    for (std::size_t i = 0; i < 256; ++i) {
      const auto c = static_cast<std::uint16_t>(i * 257);
      table.Set(i, {c, static_cast<std::uint16_t>(65535 - c), static_cast<std::uint16_t>(c / 2)});
    }
    WriteClutToFile(model.resources, model.paths.preferences, kCurrentClutId, table);
    if (!model.tables.AllocateObjectTables()) std::abort();
    model.tables.BuildReservedEntries();
  }
  ~ImportModel() { std::filesystem::remove_all(dir); }
  ImportModel(const ImportModel&) = delete;
  ImportModel& operator=(const ImportModel&) = delete;
};

inline std::string SamplePath(const std::string& relative) {
  return (std::filesystem::path(__FILE__).parent_path().parent_path() / ".." / "shared" /
          "samples" / relative)
      .lexically_normal()
      .string();
}

inline void PerThousandFaces(benchmark::State& state, double faces) {
  state.counters["per_1000_faces"] = benchmark::Counter(
      faces / 1000.0, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Each iteration empties the object (untimed) and imports `path` into it.
inline void ImportEachIteration(benchmark::State& state, const std::string& path, double faces,
                                bool flip = false) {
  ImportModel m;
  ImportNotifier notifier(LogPathFor(m.model.paths));
  ImportProgress progress;
  ImportServices services{notifier, progress, {}, SceneReaders::Defaults(), {}};
  for (auto _ : state) {
    state.PauseTiming();
    m.model.tables.ResetObject();
    m.ui.ClearMessages();
    state.ResumeTiming();
    if (!ImportScene(m.model, services, path, flip)) state.SkipWithError("import failed");
  }
  state.counters["polygons"] = m.model.tables.polygonCount;
  PerThousandFaces(state, faces);
}

// The whole `assimp` command, process start included, as a user runs it.
inline void RunAssimp(benchmark::State& state, const std::string& arguments, double faces) {
  const std::string command = "assimp " + arguments + " >/dev/null 2>&1";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError(("failed: " + command).c_str());
  }
  if (faces > 0) PerThousandFaces(state, faces);
}

}  // namespace ws::bench
