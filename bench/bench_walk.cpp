// One walk frame (RenderFrame) into a 1024 x 768 surface. The scene is a
// closed cylinder of 100 x 100 quadrilaterals (10,000 polygons, the
// table's capacity) around the viewer, 60 units away and 40 high, so that
// every polygon is keyed and sorted, about half are clipped away behind the
// viewer and the rest fill the view above the floor; the empty scene (sky,
// ground and textured floor alone) is the baseline of the same run. The
// viewer turns a little every frame. The budget is 5 ms for the full scene,
// a quarter of the 20 ms tick.
//
// Run with --benchmark_repetitions and read the medians.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "platform/scripted_ui.h"
#include "raster/surface8.h"
#include "resource/runtime.h"
#include "walk/render_frame.h"
#include "walk/render_world.h"

namespace ws {
namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kAround = 100;
constexpr int kUp = 100;

struct WalkBench {
  enum class Scene { kEmpty, kCylinder, kFloorGrid };

  explicit WalkBench(Scene scene) : tables(rt) {
    tables.AllocateObjectTables();
    tables.BuildReservedEntries();
    if (scene == Scene::kCylinder) AddCylinder();
    if (scene == Scene::kFloorGrid) AddFloorGrid();
    surface.Create(rt.memory, kWidth, kHeight);
    display.blackIndex = 255;
    display.highlightColour = 32;
    std::vector<std::uint8_t> floor(walk::kFloorBytes);
    for (std::size_t i = 0; i < floor.size(); ++i)
      floor[i] = static_cast<std::uint8_t>(56 + ((i ^ (i >> 8)) & 7));
    walk::EnvironmentSource source;
    source.translatedFloor = floor;
    world = std::make_unique<walk::RenderWorld>();
    walk::BuildRenderWorld(*world, tables, source, kWidth, kHeight, display, ui);
    for (std::size_t i = 0; i < walk::kSkyEntries; ++i)
      world->environment.sky[i].fill(static_cast<std::uint8_t>(24 + i % 8));
    world->environment.skyPresent = true;
    world->viewer.y = walk::kFirstItemOffsetY;
  }

  // Object units: the item shows them at a quarter size, y up.
  void AddCylinder() {
    constexpr double kRadius = 240, kHeightUnits = 160, kPi = 3.14159265358979323846;
    std::uint32_t ring[kUp + 1][kAround];
    for (int j = 0; j <= kUp; ++j) {
      for (int i = 0; i < kAround; ++i) {
        const double a = 2 * kPi * i / kAround;
        ring[j][i] =
            tables.AddPoint(kRadius * std::cos(a), kHeightUnits * j / kUp, kRadius * std::sin(a));
      }
    }
    for (int j = 0; j < kUp; ++j) {
      for (int i = 0; i < kAround; ++i) {
        Polygon& p = tables.polygons[tables.polygonCount++];
        p = Polygon{};
        p.flags = PolyFlag::kSelectedColor | ((i + j) % 3 == 0 ? PolyFlag::kBordered : 0);
        p.frontColor = p.backColor = static_cast<std::uint8_t>(8 * ((i + j) % 30));
        const std::uint32_t corners[4] = {ring[j][i], ring[j][(i + 1) % kAround],
                                          ring[j + 1][(i + 1) % kAround], ring[j + 1][i]};
        for (std::uint32_t c : corners) p.points[p.pointCount++] = c;
      }
    }
  }

  // A 100 x 100 grid of floor tiles centred on the viewer's line of sight:
  // mirror pairs have equal keys, so the quicksort's own order decides.
  void AddFloorGrid() {
    for (int j = 0; j < kUp; ++j) {
      for (int i = 0; i < kAround; ++i) {
        Polygon& p = tables.polygons[tables.polygonCount++];
        p = Polygon{};
        p.flags = PolyFlag::kSelectedColor;
        p.frontColor = p.backColor = static_cast<std::uint8_t>(8 * ((i + j) % 30));
        const double x0 = (i - kAround / 2) * 8.0, z0 = 400.0 - j * 8.0;
        const double corners[4][2] = {{x0, z0}, {x0 + 8, z0}, {x0 + 8, z0 - 8}, {x0, z0 - 8}};
        for (const auto& c : corners) p.points[p.pointCount++] = tables.AddPoint(c[0], 4, c[1]);
      }
    }
  }

  void Frame() {
    world->viewer.heading = std::fmod(world->viewer.heading + 0.7, 360.0);
    walk::RenderFrame(*world, display, surface.Target(), kWidth / 2, kHeight / 2);
  }

  ScriptedUi ui;
  Runtime rt{ui};
  ObjectTables tables;
  Surface8 surface;
  walk::WalkDisplay display;
  std::unique_ptr<walk::RenderWorld> world;
};

void BM_WalkFrame10000Polygons(benchmark::State& state) {
  WalkBench bench(WalkBench::Scene::kCylinder);
  for (auto _ : state) {
    bench.Frame();
    benchmark::DoNotOptimize(bench.surface.pixels());
  }
  state.counters["entries"] = bench.world->entryCount;
}
BENCHMARK(BM_WalkFrame10000Polygons)->Unit(benchmark::kMillisecond);

void BM_WalkFrameFloorGrid(benchmark::State& state) {
  WalkBench bench(WalkBench::Scene::kFloorGrid);
  bench.world->viewer.y = 0;
  for (auto _ : state) {
    walk::RenderFrame(*bench.world, bench.display, bench.surface.Target(), kWidth / 2, kHeight / 2);
    benchmark::DoNotOptimize(bench.surface.pixels());
  }
}
BENCHMARK(BM_WalkFrameFloorGrid)->Unit(benchmark::kMillisecond);

void BM_WalkFrameEmpty(benchmark::State& state) {
  WalkBench bench(WalkBench::Scene::kEmpty);
  for (auto _ : state) {
    bench.Frame();
    benchmark::DoNotOptimize(bench.surface.pixels());
  }
}
BENCHMARK(BM_WalkFrameEmpty)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ws
