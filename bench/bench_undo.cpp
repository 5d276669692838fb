// Cost of an undo snapshot: every geometry command (each plot click, each
// drag) pushes one before it changes anything, so a push of the largest
// object has to fit within a frame or two of the 20 ms timer.
//
// Objects are built as the editor leaves them after drawing: the projection
// scratch of every point and the depth of every polygon hold real doubles,
// which compress far worse than the coordinates themselves.
//
// BM_CopyBaseline copies the same used bytes once with memcpy, for a ratio
// measured on the same machine in the same run.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "model/object_tables.h"
#include "model/undo.h"
#include "model/view_plot_state.h"
#include "platform/scripted_ui.h"
#include "resource/runtime.h"

namespace {

using namespace ws;

struct Fixture {
  ScriptedUi ui;
  Runtime rt{ui};
  ObjectTables tables{rt};
  ViewState view;
  PlotState plot;
  UndoHistory history{rt};

  UndoTarget target() { return {tables, view, plot}; }
};

// A grid of quads side by side: `polygons` quads over a grid of points,
// every quad edge a vector, topped up with extra points and vectors so the
// counts reach `points` and `vectors`.
std::unique_ptr<Fixture> MakeObject(std::uint32_t points, std::uint32_t vectors,
                                    std::uint32_t polygons) {
  auto f = std::make_unique<Fixture>();
  ObjectTables& t = f->tables;
  t.AllocateObjectTables();
  t.BuildReservedEntries();
  constexpr std::uint32_t kColumns = 100;
  const std::uint32_t rows = (polygons + kColumns - 1) / kColumns + 1;
  auto gridPoint = [&](std::uint32_t r, std::uint32_t c) {
    return kReservedPoints + r * (kColumns + 1) + c;
  };
  for (std::uint32_t r = 0; r <= rows && t.pointCount < points; ++r) {
    for (std::uint32_t c = 0; c <= kColumns && t.pointCount < points; ++c) {
      Point& p = t.points[t.pointCount++];
      p = Point{};
      p.x = c * 10.0;
      p.y = r * 10.0;
      p.z = std::sin(c * 0.1) * 50.0;
    }
  }
  while (t.pointCount < points) {
    const std::uint32_t i = t.pointCount++;
    t.points[i] = Point{};
    t.points[i].x = -1000.0 - i;
    t.points[i].y = i % 97 * 10.0;
  }
  // Projection scratch as a drawn frame leaves it.
  const double ca = std::cos(0.3), sa = std::sin(0.3);
  for (std::uint32_t i = 0; i < t.pointCount; ++i) {
    Point& p = t.points[i];
    p.eyeDepth = p.z * ca - p.x * sa - 300.0;
    p.eyeX = p.x * ca + p.z * sa;
    p.eyeY = -p.y;
    p.screenX = static_cast<std::int32_t>(std::lround(-(p.eyeX / p.eyeDepth) * 375.0)) + 400;
    p.screenY = static_cast<std::int32_t>(std::lround(-(p.eyeY / p.eyeDepth) * 375.0)) + 300;
    p.screenDepth = static_cast<std::int32_t>(std::lround(p.eyeDepth + 31000.0));
  }
  auto addVector = [&](std::uint32_t a, std::uint32_t b) {
    const std::uint32_t k = t.AddVector(a, b);
    t.vectors[k].color = static_cast<std::uint8_t>(k % 256);
    return k;
  };
  for (std::uint32_t q = 0; q < polygons; ++q) {
    const std::uint32_t r = q / kColumns, c = q % kColumns;
    const std::uint32_t corners[4] = {gridPoint(r, c), gridPoint(r, c + 1), gridPoint(r + 1, c + 1),
                                      gridPoint(r + 1, c)};
    Polygon& poly = t.polygons[t.polygonCount++];
    poly.pointCount = 4;
    poly.vectorCount = 4;
    poly.flags = PolyFlag::kDefined;
    poly.frontColor = static_cast<std::uint8_t>(q % 32 * 8);
    poly.backColor = poly.frontColor;
    poly.frontFill = poly.frontColor * 0x01010101u;
    poly.backFill = poly.frontFill;
    double depth = 0;
    for (int e = 0; e < 4; ++e) {
      poly.points[e] = corners[e];
      poly.vectors[e] =
          t.vectorCount < vectors ? addVector(corners[e], corners[(e + 1) % 4]) : kReservedVectors;
      depth += t.points[corners[e]].screenDepth;
    }
    poly.depth = depth / 4.0;
  }
  while (t.vectorCount < vectors) addVector(t.vectorCount % t.pointCount, 7);
  return f;
}

void ReportCounts(benchmark::State& state, const ObjectTables& t) {
  state.counters["points"] = t.pointCount;
  state.counters["vectors"] = t.vectorCount;
  state.counters["polygons"] = t.polygonCount;
}

void PushArgs(benchmark::internal::Benchmark* b) {
  b->Args({20000, 20000, 10000})->Args({2200, 4200, 1000})->Unit(benchmark::kMillisecond);
}

void BM_PushUndo(benchmark::State& state) {
  auto f = MakeObject(state.range(0), state.range(1), state.range(2));
  // Fill the stack first so that every timed push also drops the oldest.
  for (std::size_t i = 0; i < kUndoDepth; ++i) f->history.PushUndo(UndoLabel::kPlot, f->target());
  for (auto _ : state) {
    benchmark::DoNotOptimize(f->history.PushUndo(UndoLabel::kPlot, f->target()));
  }
  ReportCounts(state, f->tables);
  const UndoSlot& top = f->history.CurrentStack().back();
  state.counters["compressedKB"] = top.data.size() / 1024.0;
}
BENCHMARK(BM_PushUndo)->Apply(PushArgs);

void BM_PushAndPopUndo(benchmark::State& state) {
  auto f = MakeObject(state.range(0), state.range(1), state.range(2));
  for (auto _ : state) {
    f->history.PushUndo(UndoLabel::kPlot, f->target());
    benchmark::DoNotOptimize(f->history.PopUndo(f->target()));
  }
  ReportCounts(state, f->tables);
}
BENCHMARK(BM_PushAndPopUndo)->Apply(PushArgs);

void BM_CopyBaseline(benchmark::State& state) {
  auto f = MakeObject(state.range(0), state.range(1), state.range(2));
  const ObjectTables& t = f->tables;
  std::vector<std::uint8_t> copy(t.pointCount * sizeof(Point) + t.vectorCount * sizeof(Vector) +
                                 t.polygonCount * (sizeof(Polygon) + sizeof(std::uint32_t)));
  for (auto _ : state) {
    std::uint8_t* out = copy.data();
    std::memcpy(out, t.points, t.pointCount * sizeof(Point));
    out += t.pointCount * sizeof(Point);
    std::memcpy(out, t.vectors, t.vectorCount * sizeof(Vector));
    out += t.vectorCount * sizeof(Vector);
    std::memcpy(out, t.polygons.data(), t.polygonCount * sizeof(Polygon));
    out += t.polygonCount * sizeof(Polygon);
    std::memcpy(out, t.polygonSelected.data(), t.polygonCount * sizeof(std::uint32_t));
    benchmark::DoNotOptimize(copy.data());
    benchmark::ClobberMemory();
  }
  ReportCounts(state, t);
}
BENCHMARK(BM_CopyBaseline)->Apply(PushArgs);

}  // namespace
