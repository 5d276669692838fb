// The merge of coincident geometry on a sphere of 100 x 100 slices plus a
// copy of it lying on top (19,804 user points, half of them duplicates),
// timed against the plain pairwise method with one DeletePoint /
// DeleteVector per duplicate in the same run. The sphere's 19,900 edges are
// stored once each (the vector table holds 20,000), each end taken at random
// from the sphere or its copy, plus 94 reversed copies of edges; its 10,000
// faces name corners of either copy.
#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <cmath>
#include <random>
#include <vector>

#include "../tests/geometry/literal_reference.h"
#include "geometry/geometry_support.h"
#include "geometry/merge.h"
#include "model/object_tables.h"
#include "platform/scripted_ui.h"
#include "resource/runtime.h"

namespace ws {
namespace {

constexpr std::uint32_t kSlices = 100;
constexpr double kRadius = 2500;

struct SphereScene {
  SphereScene() {
    source.AllocateObjectTables();
    source.BuildReservedEntries();
    work.AllocateObjectTables();
    work.BuildReservedEntries();
    Build();
  }

  void Build() {
    const double pi = 4 * std::atan(1.0);
    std::vector<std::array<double, 3>> corners;
    corners.push_back({0, kRadius, 0});
    for (std::uint32_t i = 1; i < kSlices; ++i) {
      const double phi = i * pi / kSlices;
      for (std::uint32_t j = 0; j < kSlices; ++j) {
        const double theta = j * 2 * pi / kSlices;
        corners.push_back({TruncToWhole(kRadius * std::sin(phi) * std::cos(theta)),
                           TruncToWhole(kRadius * std::cos(phi)),
                           TruncToWhole(kRadius * std::sin(phi) * std::sin(theta))});
      }
    }
    corners.push_back({0, -kRadius, 0});
    const auto n = static_cast<std::uint32_t>(corners.size());
    for (int copy = 0; copy < 2; ++copy) {
      for (const auto& c : corners) AppendPoint(source, c[0], c[1], c[2]);
    }
    std::mt19937 rng(2024);
    // Corner c of the sphere, taken from the sphere or from its copy.
    auto corner = [&](std::uint32_t c) { return kReservedPoints + c + (rng() % 2) * n; };
    auto ring = [&](std::uint32_t i, std::uint32_t j) {
      return 1 + (i - 1) * kSlices + j % kSlices;
    };
    const std::uint32_t south = n - 1;

    std::vector<std::array<std::uint32_t, 2>> edges;
    for (std::uint32_t j = 0; j < kSlices; ++j) edges.push_back({ring(1, j), 0});
    for (std::uint32_t j = 0; j < kSlices; ++j) edges.push_back({ring(kSlices - 1, j), south});
    for (std::uint32_t i = 1; i < kSlices; ++i) {
      for (std::uint32_t j = 0; j < kSlices; ++j) edges.push_back({ring(i, j), ring(i, j + 1)});
    }
    for (std::uint32_t i = 1; i + 1 < kSlices; ++i) {
      for (std::uint32_t j = 0; j < kSlices; ++j) edges.push_back({ring(i, j), ring(i + 1, j)});
    }
    for (const auto& e : edges) {
      if (rng() % 2) {
        AppendFreshVector(source, corner(e[0]), corner(e[1]));
      } else {
        AppendFreshVector(source, corner(e[1]), corner(e[0]));
      }
    }
    while (source.vectorCount < kMaxVectors) {
      const auto& e = edges[rng() % edges.size()];
      AppendFreshVector(source, corner(e[1]), corner(e[0]));
    }

    auto face = [&](std::initializer_list<std::uint32_t> loop) {
      Polygon& poly = source.polygons[source.polygonCount];
      poly = Polygon{};
      poly.pointCount = static_cast<std::uint32_t>(loop.size());
      std::uint32_t c = 0;
      for (std::uint32_t p : loop) poly.points[c++] = corner(p);
      poly.flags = PolyFlag::kDefined;
      ++source.polygonCount;
    };
    for (std::uint32_t j = 0; j < kSlices; ++j) face({0, ring(1, j), ring(1, j + 1)});
    for (std::uint32_t j = 0; j < kSlices; ++j) {
      face({ring(kSlices - 1, j), south, ring(kSlices - 1, j + 1)});
    }
    for (std::uint32_t i = 1; i + 1 < kSlices; ++i) {
      for (std::uint32_t j = 0; j < kSlices; ++j) {
        face({ring(i, j), ring(i + 1, j), ring(i + 1, j + 1), ring(i, j + 1)});
      }
    }
    // Vector lists from the point loops, naming whichever copy each edge got.
    RebuildVectorLists(source, 0, source.polygonCount);
  }

  void Reset() {
    work.pointCount = source.pointCount;
    work.vectorCount = source.vectorCount;
    work.polygonCount = source.polygonCount;
    std::copy(source.points, source.points + source.pointCount, work.points);
    std::copy(source.vectors, source.vectors + source.vectorCount, work.vectors);
    std::copy(source.polygons.begin(), source.polygons.begin() + source.polygonCount,
              work.polygons.begin());
  }

  ScriptedUi ui;
  Runtime rt{ui};
  ObjectTables source{rt};
  ObjectTables work{rt};
};

double Seconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

double TimeFast(SphereScene& s) {
  s.Reset();
  const auto start = std::chrono::steady_clock::now();
  RemoveDuplicateGeometry(s.work, s.rt);
  return Seconds(std::chrono::steady_clock::now() - start);
}

double TimeLiteral(SphereScene& s) {
  s.Reset();
  const auto start = std::chrono::steady_clock::now();
  reference::LiteralMergeFrom(s.work, s.ui, kReservedPoints);
  return Seconds(std::chrono::steady_clock::now() - start);
}

void BM_MergeSphereWithCopy(benchmark::State& state) {
  SphereScene s;
  for (auto _ : state) state.SetIterationTime(TimeFast(s));
  state.counters["points_before"] = s.source.pointCount;
  state.counters["points_after"] = s.work.pointCount;
  state.counters["vectors_after"] = s.work.vectorCount;
}
BENCHMARK(BM_MergeSphereWithCopy)->UseManualTime()->Unit(benchmark::kMillisecond);

// The plain method, with the fast one timed beside it in every iteration so
// that the ratio comes from one run on one machine state.
void BM_MergeSphereWithCopyLiteral(benchmark::State& state) {
  SphereScene s;
  double literal = 0, fast = 0;
  for (auto _ : state) {
    const double l = TimeLiteral(s);
    const std::uint32_t points = s.work.pointCount, vectors = s.work.vectorCount;
    literal += l;
    fast += TimeFast(s);
    if (s.work.pointCount != points || s.work.vectorCount != vectors) {
      state.SkipWithError("the two methods disagree");
      return;
    }
    state.SetIterationTime(l);
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["literal_ms"] = 1000 * literal / n;
  state.counters["fast_ms"] = 1000 * fast / n;
  state.counters["speedup"] = literal / fast;
}
BENCHMARK(BM_MergeSphereWithCopyLiteral)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ws
