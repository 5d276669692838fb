// Raster primitives on an 800 x 600 surface. Baselines in the same run:
// clearing the surface (memory speed) for the fills, and stamping every
// square one by one for the thick line's row spans.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "raster/raster.h"

namespace ws {
namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

struct Bench {
  Bench() {
    surface.Create(memory, kWidth, kHeight);
    filler.Allocate(memory);
  }
  HandleMemory memory;
  Surface8 surface;
  PolygonFiller filler;
};

// Small triangles scattered over the surface, like a detailed object.
std::vector<std::array<ScreenPoint, 3>> Triangles(int count, int size) {
  std::mt19937 rng(1);
  std::uniform_int_distribution<int> x(-20, kWidth + 20), y(-20, kHeight + 20), d(-size, size);
  std::vector<std::array<ScreenPoint, 3>> out(count);
  for (auto& t : out) {
    const int cx = x(rng), cy = y(rng);
    t = {{{cx + d(rng), cy + d(rng)}, {cx + d(rng), cy + d(rng)}, {cx + d(rng), cy + d(rng)}}};
  }
  return out;
}

void BM_ClearSurface(benchmark::State& state) {
  Bench b;
  for (auto _ : state) {
    b.surface.Clear(7);
    benchmark::DoNotOptimize(b.surface.pixels());
  }
}
BENCHMARK(BM_ClearSurface);

void BM_FillPlainTriangles(benchmark::State& state) {
  Bench b;
  const auto tris = Triangles(10000, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    for (const auto& t : tris)
      b.filler.FillPlain(b.surface.Target(), b.surface.Bounds(), t, 0x05050505u);
    benchmark::DoNotOptimize(b.surface.pixels());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(tris.size()));
}
BENCHMARK(BM_FillPlainTriangles)->Arg(8)->Arg(40);

void BM_FillBorderedTriangles(benchmark::State& state) {
  Bench b;
  const auto tris = Triangles(10000, 8);
  for (auto _ : state) {
    for (const auto& t : tris) {
      b.filler.FillBordered(b.surface.Target(), b.surface.Bounds(), t, 0x05050505u, 0);
    }
    benchmark::DoNotOptimize(b.surface.pixels());
  }
}
BENCHMARK(BM_FillBorderedTriangles);

void BM_FillLargeConcave(benchmark::State& state) {
  Bench b;
  std::vector<ScreenPoint> star;
  for (int k = 0; k < 150; ++k) {
    const double a = k * 2 * 3.14159265358979 / 150;
    const double r = (k % 2 ? 150 : 290);
    star.push_back(
        {400 + static_cast<int>(r * std::cos(a)), 300 + static_cast<int>(r * std::sin(a))});
  }
  for (auto _ : state) {
    b.filler.FillPlain(b.surface.Target(), b.surface.Bounds(), star, 0x05050505u);
    benchmark::DoNotOptimize(b.surface.pixels());
  }
}
BENCHMARK(BM_FillLargeConcave);

void BM_ThinLines(benchmark::State& state) {
  Bench b;
  const auto tris = Triangles(10000, 40);
  for (auto _ : state) {
    for (const auto& t : tris) {
      DrawThinLine(b.surface.Target(), b.surface.Bounds(), t[0].x, t[0].y, t[1].x, t[1].y, 3);
    }
    benchmark::DoNotOptimize(b.surface.pixels());
  }
}
BENCHMARK(BM_ThinLines);

void BM_ThickLineSpans(benchmark::State& state) {
  Bench b;
  const int w = static_cast<int>(state.range(0));
  const auto tris = Triangles(2000, 60);
  for (auto _ : state) {
    for (const auto& t : tris)
      DrawThickLine(b.surface.Target(), t[0].x, t[0].y, t[1].x, t[1].y, w, 4);
    benchmark::DoNotOptimize(b.surface.pixels());
  }
}
BENCHMARK(BM_ThickLineSpans)->Arg(1)->Arg(6);

// Baseline: the same lines as one clipped square per step.
void BM_ThickLineSquaresBaseline(benchmark::State& state) {
  Bench b;
  const int w = static_cast<int>(state.range(0));
  const auto tris = Triangles(2000, 60);
  const IntRect clip = ThickLineClip(b.surface.Bounds());
  for (auto _ : state) {
    for (const auto& t : tris) {
      const LineSteps line(t[0].x, t[0].y, t[1].x, t[1].y);
      line.Walk(line.All(), [&](int cx, int cy) {
        const IntRect sq = Intersect({cx - w, cy - w, cx + w, cy + w}, clip);
        for (int y = sq.top; y <= sq.bottom; ++y) {
          for (int x = sq.left; x <= sq.right; ++x) b.surface.Row(y)[x] = 4;
        }
      });
    }
    benchmark::DoNotOptimize(b.surface.pixels());
  }
}
BENCHMARK(BM_ThickLineSquaresBaseline)->Arg(1)->Arg(6);

void BM_DashedLinesFarOffScreen(benchmark::State& state) {
  Bench b;
  for (auto _ : state) {
    for (int i = 0; i < 1000; ++i) {
      DrawDashedLine(b.surface.Target(), -2000000000, i, 2000000000, 599 - i % 600, 1, 0, i & 7);
    }
    benchmark::DoNotOptimize(b.surface.pixels());
  }
}
BENCHMARK(BM_DashedLinesFarOffScreen);

}  // namespace
}  // namespace ws
