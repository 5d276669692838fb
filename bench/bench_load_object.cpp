// Cost of loading an object from the working file: every switch in the
// object list pays it, so a full object (20,000 points, 20,000 vectors,
// 10,000 quads) should load within about 50 ms.
//
// The object is a grid of quads, every quad edge a vector, stored with
// stale vector lists so the load has to rebuild them all.
//
// BM_AutosaveCheckFullObject and BM_AutosaveStoreFullObject time what the
// autosave does on a tick with this object.
//
// BM_ReadResourcesBaseline reads the same five resources without decoding
// them, for a ratio measured on the same machine in the same run.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "model/autosave.h"
#include "model/cluster.h"
#include "platform/scripted_ui.h"
#include "resource/runtime.h"

namespace {

using namespace ws;

struct Fixture {
  std::string dir;
  ScriptedUi ui;
  Runtime rt{ui};
  std::unique_ptr<Model> model;

  Fixture() {
    char tmpl[] = "/tmp/ws-bench-load-XXXXXX";
    if (!mkdtemp(tmpl)) std::abort();
    dir = tmpl;
    model = std::make_unique<Model>(rt);
    model->paths = Paths::FromBase(dir);
    model->resources.CreateResFile(model->paths.preferences);
    ColorTable grey;
    for (std::size_t i = 0; i < 256; ++i) {
      grey.Set(i, {static_cast<std::uint16_t>(i * 257), static_cast<std::uint16_t>(i * 257),
                   static_cast<std::uint16_t>(i * 257)});
    }
    WriteClutToFile(model->resources, model->paths.preferences, kCurrentClutId, grey);
    if (!CreateWorkingCluster(*model)) std::abort();
    BuildFullObject();
    if (!StoreObject(*model, 0, "full")) std::abort();
  }
  ~Fixture() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }

  // Points on a grid 100 wide; vectors along the rows and down the
  // columns; 10,000 quads over the grid cells.
  void BuildFullObject() {
    ObjectTables& t = model->tables;
    constexpr std::uint32_t kColumns = 100;
    while (t.pointCount < kMaxPoints) {
      const std::uint32_t i = t.pointCount - kReservedPoints;
      Point& p = t.points[t.pointCount++];
      p = Point{};
      p.x = (i % kColumns) * 10.0;
      p.y = (i / kColumns) * 10.0;
      p.z = std::sin(i * 0.01) * 40.0;
    }
    auto at = [&](std::uint32_t r, std::uint32_t c) { return kReservedPoints + r * kColumns + c; };
    const std::uint32_t rows = (kMaxPoints - kReservedPoints) / kColumns;
    for (std::uint32_t r = 0; r < rows && t.vectorCount < kMaxVectors; ++r) {
      for (std::uint32_t c = 0; c + 1 < kColumns && t.vectorCount < kMaxVectors; ++c) {
        t.AddVector(at(r, c), at(r, c + 1));
      }
      for (std::uint32_t c = 0; r + 1 < rows && c < kColumns && t.vectorCount < kMaxVectors; ++c) {
        t.AddVector(at(r, c), at(r + 1, c));
      }
    }
    for (std::uint32_t q = 0; q < kMaxPolygons; ++q) {
      const std::uint32_t r = q / (kColumns - 1), c = q % (kColumns - 1);
      Polygon& p = t.polygons[t.polygonCount++];
      p = Polygon{};
      const std::uint32_t corners[4] = {at(r, c), at(r, c + 1), at(r + 1, c + 1), at(r + 1, c)};
      for (std::uint32_t k = 0; k < 4; ++k) {
        p.points[k] = corners[k];
        p.vectors[k] = kReservedVectors;  // stale: rebuilt on loading
      }
      p.pointCount = p.vectorCount = 4;
      p.flags = PolyFlag::kDefined;
    }
  }
};

Fixture& TheFixture() {
  static Fixture fixture;
  return fixture;
}

void BM_LoadFullObject(benchmark::State& state) {
  Fixture& f = TheFixture();
  for (auto _ : state) {
    if (!LoadObject(*f.model, 0)) state.SkipWithError("load failed");
  }
  state.counters["points"] = f.model->tables.pointCount;
  state.counters["vectors"] = f.model->tables.vectorCount;
  state.counters["polygons"] = f.model->tables.polygonCount;
}
BENCHMARK(BM_LoadFullObject)->Unit(benchmark::kMillisecond);

void BM_ReadResourcesBaseline(benchmark::State& state) {
  Fixture& f = TheFixture();
  ResourceFile& files = f.model->resources;
  for (auto _ : state) {
    OpenResource file(files, f.model->paths.working);
    std::size_t bytes = 0;
    for (ResType type : {kResAnim, kResPinf, kResPnts, kResTvct, kResFace}) {
      if (auto r = files.ReadResource(file.ref(), type, 0)) bytes += r->length();
    }
    benchmark::DoNotOptimize(bytes);
  }
}
BENCHMARK(BM_ReadResourcesBaseline)->Unit(benchmark::kMillisecond);

// The autosave on a tick: once a minute the check of an unchanged full
// object (its fingerprint), and the store when it changed. The tick is
// 20 ms; both should stay well under a frame a person would notice.
void BM_AutosaveCheckFullObject(benchmark::State& state) {
  Fixture& f = TheFixture();
  LoadObject(*f.model, 0);
  for (auto _ : state) benchmark::DoNotOptimize(ObjectFingerprint(*f.model));
}
BENCHMARK(BM_AutosaveCheckFullObject)->Unit(benchmark::kMillisecond);

void BM_AutosaveStoreFullObject(benchmark::State& state) {
  Fixture& f = TheFixture();
  LoadObject(*f.model, 0);
  for (auto _ : state) {
    if (!StoreObject(*f.model, 0, "full")) state.SkipWithError("store failed");
  }
}
BENCHMARK(BM_AutosaveStoreFullObject)->Unit(benchmark::kMillisecond);

}  // namespace
