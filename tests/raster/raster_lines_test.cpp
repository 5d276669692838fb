#include "raster/raster_lines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <vector>

#include "raster/raster_test_support.h"

namespace ws {
namespace {

using test::GuardedCanvas;
using test::Rows;

constexpr std::uint8_t kInk = 1;

struct Pixel {
  int x;
  int y;
  bool operator==(const Pixel&) const = default;
};

std::vector<Pixel> Walked(const LineSteps& line, LineSteps::Range range) {
  std::vector<Pixel> out;
  line.Walk(range, [&](int x, int y) { out.push_back({x, y}); });
  return out;
}

// The nearest pixel to the true line at every step of the longer axis,
// halves rounded away from endpoint 1, computed in floating point.
std::vector<Pixel> ReferenceLine(int x1, int y1, int x2, int y2) {
  const int dx = x2 - x1, dy = y2 - y1;
  const int n = std::max(std::abs(dx), std::abs(dy));
  std::vector<Pixel> out;
  for (int t = 0; t <= n; ++t) {
    if (n == 0) {
      out.push_back({x1, y1});
    } else if (std::abs(dx) >= std::abs(dy)) {
      const double off = std::floor(double(t) * std::abs(dy) / std::abs(dx) + 0.5);
      out.push_back({x1 + (dx < 0 ? -t : t), y1 + int(dy < 0 ? -off : off)});
    } else {
      const double off = std::floor(double(t) * std::abs(dx) / std::abs(dy) + 0.5);
      out.push_back({x1 + int(dx < 0 ? -off : off), y1 + (dy < 0 ? -t : t)});
    }
  }
  return out;
}

TEST(LineSteps, MatchesNearestPixelReferenceInEveryDirection) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> coord(-40, 40);
  for (int i = 0; i < 3000; ++i) {
    const int x1 = coord(rng), y1 = coord(rng), x2 = coord(rng), y2 = coord(rng);
    const LineSteps line(x1, y1, x2, y2);
    const std::vector<Pixel> expected = ReferenceLine(x1, y1, x2, y2);
    ASSERT_EQ(Walked(line, line.All()), expected) << x1 << "," << y1 << " " << x2 << "," << y2;
    for (std::int64_t t = 0; t <= line.last(); ++t) {
      Pixel p{};
      line.At(t, p.x, p.y);
      ASSERT_EQ(p, expected[t]);
    }
  }
}

TEST(ClippedLine, KeepsOnlyThePixelsInsideOfTheUnclippedLine) {
  std::mt19937 rng(3);
  std::uniform_int_distribution<int> coord(-30, 40);
  for (int i = 0; i < 500; ++i) {
    const int x1 = coord(rng), y1 = coord(rng), x2 = coord(rng), y2 = coord(rng);
    GuardedCanvas c(12, 9);
    const IntRect clip{2, 1, 15, 7};  // runs past the right edge
    DrawClippedLine(c.Rows(), clip, x1, y1, x2, y2, kInk);
    GuardedCanvas expected(12, 9);
    for (const Pixel& p : ReferenceLine(x1, y1, x2, y2)) {
      if (p.x >= 2 && p.x <= 11 && p.y >= 1 && p.y <= 7) expected.Set(p.x, p.y, kInk);
    }
    ASSERT_EQ(c.Picture(), expected.Picture());
    ASSERT_TRUE(c.GuardsIntact());
  }
}

// Squares stamped one by one: the plain form of the thick line.
void StampSquares(GuardedCanvas& c, int x1, int y1, int x2, int y2, int w, std::uint8_t ink) {
  const IntRect clip = ThickLineClip(c.Rows().Bounds());
  const LineSteps line(x1, y1, x2, y2);
  for (std::int64_t t = 0; t <= line.last(); ++t) {
    int cx = 0, cy = 0;
    line.At(t, cx, cy);
    for (int y = cy - w; y <= cy + w; ++y)
      for (int x = cx - w; x <= cx + w; ++x)
        if (clip.Contains(x, y)) c.Set(x, y, ink);
  }
}

TEST(ThickLine, RowSpansEqualStampedSquares) {
  std::mt19937 rng(5);
  std::uniform_int_distribution<int> coord(-12, 40);
  std::uniform_int_distribution<int> width(0, 5);
  for (int i = 0; i < 3000; ++i) {
    const int x1 = coord(rng), y1 = coord(rng), x2 = coord(rng), y2 = coord(rng);
    const int w = width(rng);
    GuardedCanvas fast(30, 22), plain(30, 22);
    DrawThickLine(fast.Rows(), x1, y1, x2, y2, w, kInk);
    StampSquares(plain, x1, y1, x2, y2, w, kInk);
    ASSERT_EQ(fast.Picture(), plain.Picture())
        << x1 << "," << y1 << " " << x2 << "," << y2 << " w=" << w;
    ASSERT_TRUE(fast.GuardsIntact());
  }
}

}  // namespace
}  // namespace ws
