// Shared body of the scene-reader fuzz targets: the input becomes a file
// of the reader's extension, the reader builds its scene, the scene is
// collected and converted into an object; nothing may crash, and the
// object must stay consistent and within its limits.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz_temp_dir.h"
#include "import/import_convert.h"
#include "import/import_scene.h"
#include "import/readers/readers.h"
#include "platform/scripted_ui.h"

namespace fuzz_support {

// One set of tables for the whole run: allocating them for every input
// would dominate the time spent.
struct Setup {
  FuzzTempDir dir{"ws-fuzz-reader"};
  ws::ScriptedUi ui;
  ws::Runtime rt{ui};
  ws::ObjectTables tables{rt};
  ws::ColorTable colors;
  Setup() {
    for (std::size_t i = 0; i < 256; ++i) {
      auto c = static_cast<std::uint16_t>(i * 257);
      colors.Set(i, {c, static_cast<std::uint16_t>(65535 - c), c});
    }
    if (!tables.AllocateObjectTables()) std::abort();
  }
};

void CheckTables(const ws::ObjectTables& t) {
  if (t.pointCount > 19999 || t.vectorCount > 19999 || t.polygonCount > 9999) std::abort();
  for (std::uint32_t v = ws::kReservedVectors; v < t.vectorCount; ++v) {
    if (t.vectors[v].p1 >= t.pointCount || t.vectors[v].p2 >= t.pointCount) std::abort();
  }
  for (std::uint32_t k = 0; k < t.polygonCount; ++k) {
    const ws::Polygon& p = t.polygons[k];
    if (p.pointCount < 3 || p.pointCount > 150 || p.vectorCount > 150) std::abort();
    for (std::uint32_t i = 0; i < p.pointCount; ++i) {
      if (p.points[i] >= t.pointCount) std::abort();
    }
    for (std::uint32_t i = 0; i < p.vectorCount; ++i) {
      if (p.vectors[i] >= t.vectorCount) std::abort();
    }
  }
}

// Writes the input as a file with `extension`, reads it with `read`, then
// collects and converts the scene.
inline int FuzzSceneReader(const std::uint8_t* data, std::size_t size, const char* extension,
                           bool (*read)(ws::Importer&, const std::string&)) {
  static Setup setup;
  const std::string path = setup.dir.path + "/input" + extension;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);

  ws::ImportNotifier notifier("/dev/null");
  ws::Importer importer(notifier);
  read(importer, path);
  ws::ImportCollector collector;
  ws::ModelObserver quiet;
  ws::CollectScene(importer.root(), collector, {}, quiet, [](std::string_view) {});
  setup.tables.BuildReservedEntries();
  ws::ImportProgress progress;
  std::vector<std::uint32_t> polygonOfFace;
  ws::ConvertCollected(setup.tables, collector, setup.colors, progress, &polygonOfFace);
  if (importer.afterConversion())
    importer.afterConversion()(setup.tables, polygonOfFace, setup.colors);
  CheckTables(setup.tables);
  return 0;
}

}  // namespace fuzz_support
