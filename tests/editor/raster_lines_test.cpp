#include "editor/raster_lines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <vector>

#include "editor/raster_test_support.h"

namespace ws {
namespace {

using test::GuardedCanvas;
using test::Rows;

constexpr std::uint8_t kInk = 1;
constexpr std::uint8_t kBack = 2;

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

TEST(LineSteps, HalvesRoundAwayFromEndpointOneAndAPointIsOnePixel) {
  // True y at x = 1 and x = 3 is 0.5 and 1.5: exact halves.
  const LineSteps forward(0, 0, 4, 2), backward(4, 2, 0, 0), point(5, -7, 5, -7);
  EXPECT_EQ(Walked(forward, forward.All()),
            (std::vector<Pixel>{{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}}));
  EXPECT_EQ(Walked(backward, backward.All()),
            (std::vector<Pixel>{{4, 2}, {3, 1}, {2, 1}, {1, 0}, {0, 0}}));
  EXPECT_EQ(Walked(point, point.All()), (std::vector<Pixel>{{5, -7}}));
  EXPECT_FALSE(point.StepsIn({5, -7, 5, -7}).Empty());
  EXPECT_TRUE(point.StepsIn({6, -7, 9, 0}).Empty());
}

TEST(LineSteps, StepsInRectangleMatchWalkingEveryStep) {
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> coord(-25, 25);
  for (int i = 0; i < 4000; ++i) {
    const int x1 = coord(rng), y1 = coord(rng), x2 = coord(rng), y2 = coord(rng);
    int l = coord(rng), r = coord(rng), t = coord(rng), b = coord(rng);
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
    const IntRect rect{l, t, r, b};
    const LineSteps line(x1, y1, x2, y2);
    std::int64_t first = -1, last = -2;
    for (std::int64_t s = 0; s <= line.last(); ++s) {
      Pixel p{};
      line.At(s, p.x, p.y);
      if (rect.Contains(p.x, p.y)) {
        if (first < 0) first = s;
        ASSERT_TRUE(last == -2 || last == s - 1) << "inside steps are not one run";
        last = s;
      }
    }
    const LineSteps::Range got = line.StepsIn(rect);
    if (first < 0) {
      ASSERT_TRUE(got.Empty());
    } else {
      ASSERT_EQ(got.first, first);
      ASSERT_EQ(got.last, last);
    }
  }
}

TEST(LineSteps, StepsInRectangleExactForExtremeCoordinates) {
  constexpr int kMin = std::numeric_limits<int>::min();
  constexpr int kMax = std::numeric_limits<int>::max();
  const IntRect rect{0, 0, 99, 59};
  const int lines[][4] = {{kMin, kMin, kMax, kMax}, {kMax, kMin + 1, kMin + 1, kMax},
                          {kMin, 17, kMax, 40},     {-5, kMin + 3, 80, kMax - 1},
                          {kMin, kMax, 50, 30},     {123456789, -987654321, 10, 20}};
  for (const auto& l : lines) {
    const LineSteps line(l[0], l[1], l[2], l[3]);
    const LineSteps::Range r = line.StepsIn(rect);
    ASSERT_FALSE(r.Empty()) << l[0] << "," << l[1];
    Pixel p{};
    line.At(r.first, p.x, p.y);
    EXPECT_TRUE(rect.Contains(p.x, p.y));
    line.At(r.last, p.x, p.y);
    EXPECT_TRUE(rect.Contains(p.x, p.y));
    if (r.first > 0) {
      line.At(r.first - 1, p.x, p.y);
      EXPECT_FALSE(rect.Contains(p.x, p.y));
    }
    if (r.last < line.last()) {
      line.At(r.last + 1, p.x, p.y);
      EXPECT_FALSE(rect.Contains(p.x, p.y));
    }
    // Walking from the middle of a long line agrees with random access.
    const std::vector<Pixel> walked = Walked(line, r);
    ASSERT_EQ(walked.size(), static_cast<std::size_t>(r.last - r.first + 1));
    for (std::size_t i = 0; i < walked.size(); ++i) {
      line.At(r.first + static_cast<std::int64_t>(i), p.x, p.y);
      ASSERT_EQ(walked[i], p);
    }
  }
  // x + y = -1 all along this one: it passes just above the corner.
  EXPECT_TRUE(LineSteps(kMax, kMin, kMin, kMax).StepsIn(rect).Empty());
}

TEST(ThinLine, ClampsEndpointsToTheRectangleCutToTheSurface) {
  const struct {
    const char* name;
    int w, h;
    IntRect clamp;
    int x1, y1, x2, y2;
    std::string picture;
  } rows[] = {
      // Clipping would start at (0, 3); clamping moves the end to (0, 0).
      {"clamped, not clipped", 8, 8, {0, 0, 7, 7}, -6, 0, 6, 6,
       Rows({"#.......", ".#......", "..#.....", "...#....", "....#...", ".....#..", "......#.",
             "........"})},
      {"wholly outside runs along the edge", 6, 4, {0, 0, 5, 3}, -10, -3, 20, -9,
       Rows({"######", "......", "......", "......"})},
      {"beyond one corner: that pixel", 6, 4, {0, 0, 5, 3}, 40, 9, 90, 70,
       Rows({"......", "......", "......", ".....#"})},
      {"zero length", 5, 4, {0, 0, 4, 3}, 2, 1, 2, 1, Rows({".....", "..#..", ".....", "....."})},
      {"last column", 5, 4, {0, 0, 4, 3}, 4, 0, 4, 3, Rows({"....#", "....#", "....#", "....#"})},
      {"smaller rectangle", 6, 5, {1, 1, 3, 3}, -4, 2, 30, 2,
       Rows({"......", "......", ".###..", "......", "......"})},
      {"rectangle past the surface", 6, 5, {-5, -5, 50, 2}, 2, -9, 2, 9,
       Rows({"..#...", "..#...", "..#...", "......", "......"})},
      {"rectangle beside the surface", 6, 5, {10, 0, 20, 4}, 0, 0, 5, 4,
       Rows({"......", "......", "......", "......", "......"})},
      {"empty rectangle", 6, 5, {3, 3, 2, 4}, 0, 0, 5, 4,
       Rows({"......", "......", "......", "......", "......"})},
  };
  for (const auto& r : rows) {
    GuardedCanvas c(r.w, r.h);
    DrawThinLine(c.Rows(), r.clamp, r.x1, r.y1, r.x2, r.y2, kInk);
    EXPECT_EQ(c.Picture(), r.picture) << r.name;
    EXPECT_TRUE(c.GuardsIntact()) << r.name;
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

int CountInk(const GuardedCanvas& c, std::uint8_t ink) {
  int n = 0;
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x) n += c.At(x, y) == ink;
  return n;
}

TEST(ThickLine, ClipsToSurfaceLessTwoAtLeftRightAndBottom) {
  GuardedCanvas c(10, 8);
  // A pen wider than the surface covers exactly the allowed area.
  DrawThickLine(c.Rows(), 4, 4, 5, 4, 30, kInk);
  EXPECT_EQ(c.Picture(), Rows({"..######..", "..######..", "..######..", "..######..", "..######..",
                               "..######..", "..........", ".........."}));
  c.Fill(0);
  // Corner squares: the top row is drawn, the inset columns and rows never.
  DrawThickLine(c.Rows(), 0, 0, 0, 0, 2, kInk);
  DrawThickLine(c.Rows(), 9, 7, 9, 7, 3, kBack);
  EXPECT_EQ(c.Picture(), Rows({"..#.......", "..#.......", "..#.......", "..........", "......oo..",
                               "......oo..", "..........", ".........."}));
  EXPECT_TRUE(c.GuardsIntact());
  GuardedCanvas small(4, 2);  // too small for the inset: nothing
  DrawThickLine(small.Rows(), 0, 0, 3, 1, 3, kInk);
  EXPECT_EQ(CountInk(small, kInk), 0);
  GuardedCanvas point(20, 20);  // a negative half-width is one pixel
  DrawThickLine(point.Rows(), 9, 9, 9, 9, -3, kInk);
  EXPECT_EQ(CountInk(point, kInk), 1);
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

TEST(ThickLine, ExtremeCoordinatesAgreeWithTheLineSteps) {
  constexpr int kMin = std::numeric_limits<int>::min();
  constexpr int kMax = std::numeric_limits<int>::max();
  const int lines[][4] = {{kMin, kMin, kMax, kMax}, {kMin, -7, kMax, 50}, {30, kMax, 3, kMin}};
  for (const auto& l : lines) {
    GuardedCanvas c(40, 30);
    DrawThickLine(c.Rows(), l[0], l[1], l[2], l[3], 1, kInk);
    // Each pixel is drawn exactly when it lies within one pixel (in both
    // directions) of a step of the line and inside the thick-line clip.
    const LineSteps line(l[0], l[1], l[2], l[3]);
    const LineSteps::Range r = line.StepsIn({-1, -1, 40, 30});
    ASSERT_FALSE(r.Empty());
    GuardedCanvas expected(40, 30);
    const IntRect clip = ThickLineClip(c.Rows().Bounds());
    for (std::int64_t t = r.first; t <= r.last; ++t) {
      int px = 0, py = 0;
      line.At(t, px, py);
      for (int y = py - 1; y <= py + 1; ++y)
        for (int x = px - 1; x <= px + 1; ++x)
          if (clip.Contains(x, y)) expected.Set(x, y, kInk);
    }
    EXPECT_EQ(c.Picture(), expected.Picture());
    EXPECT_GT(CountInk(c, kInk), 40);
    EXPECT_TRUE(c.GuardsIntact());
  }
}

TEST(ThickLine, HalfWidthIsNeverCutShort) {
  // A line far to the left whose pen reaches just into the surface.
  GuardedCanvas c(12, 6);
  DrawThickLine(c.Rows(), -40000, -3, -40000, 2, 40003, kInk);
  EXPECT_EQ(c.Picture(), Rows({"..##........", "..##........", "..##........", "..##........",
                               "............", "............"}));
  EXPECT_TRUE(c.GuardsIntact());
}

TEST(PolygonOutline, ClosedAndClipped) {
  GuardedCanvas c(7, 5);
  const ScreenPoint tri[] = {{1, 1}, {5, 1}, {5, 3}};
  DrawPolygonOutline(c.Rows(), c.Rows().Bounds(), tri, kInk);
  // The closing edge runs from (5, 3) back to (1, 1).
  EXPECT_EQ(c.Picture(), Rows({".......", ".#####.", "...###.", ".....#.", "......."}));
  c.Fill(0);
  DrawPolygonOutline(c.Rows(), {0, 0, 3, 4}, tri, kInk);
  EXPECT_EQ(c.Picture(), Rows({".......", ".###...", "...#...", ".......", "......."}));
  c.Fill(0);
  const ScreenPoint one[] = {{6, 4}};
  DrawPolygonOutline(c.Rows(), c.Rows().Bounds(), one, kInk);
  DrawPolygonOutline(c.Rows(), c.Rows().Bounds(), std::span<const ScreenPoint>(), kInk);
  EXPECT_EQ(c.Picture(), Rows({".......", ".......", ".......", ".......", "......#"}));
  EXPECT_TRUE(c.GuardsIntact());
}

// Pixel i (1-based, counting only pixels inside) of a dashed line drawn
// from phase p: c goes p-1, p-2, ..., the gap pixels are c = -1 and c = 6.
std::string DashRow(int phase, int length) {
  std::string s;
  for (int i = 1; i <= length; ++i) s += ((i - phase - 1) % 8 + 8) % 8 < 2 ? 'o' : '#';
  return s;
}

TEST(DashedLine, SixOnTwoOffShiftedByThePhaseCountingInsidePixels) {
  EXPECT_EQ(DashRow(0, 20), "oo######oo######oo##");
  EXPECT_EQ(DashRow(7, 20), "o######oo######oo###");
  const struct {
    int x1, phase, width, wantPhase;
  } rows[] = {{0, 0, 20, 0}, {0, 1, 20, 1}, {0, 2, 20, 2}, {0, 3, 20, 3},   {0, 4, 20, 4},
              {0, 5, 20, 5}, {0, 6, 20, 6}, {0, 7, 20, 7}, {0, 11, 20, 3},  {0, -1, 20, 7},
              {-5, 2, 12, 2}};  // starting left of the surface: afresh at x = 0
  for (const auto& r : rows) {
    GuardedCanvas c(r.width, 1);
    DrawDashedLine(c.Rows(), r.x1, 0, 30, 0, kInk, kBack, r.phase);
    EXPECT_EQ(c.Picture(), DashRow(r.wantPhase, r.width) + "\n") << r.x1 << " " << r.phase;
    EXPECT_TRUE(c.GuardsIntact());
  }
}

TEST(DashedLine, WhollyOutsideOrHugeLinesAreSafe) {
  GuardedCanvas c(16, 12);
  DrawDashedLine(c.Rows(), -10, -10, -1, 40, kInk, kBack, 0);
  EXPECT_EQ(CountInk(c, kInk) + CountInk(c, kBack), 0);
  DrawDashedLine(c.Rows(), std::numeric_limits<int>::min(), 6, std::numeric_limits<int>::max(), 6,
                 kInk, kBack, 0);
  for (int x = 0; x < 16; ++x) EXPECT_EQ(c.At(x, 6), DashRow(0, 16)[x] == 'o' ? kBack : kInk);
  EXPECT_TRUE(c.GuardsIntact());
}

TEST(MarqueeLine, FourOnFourOffCountingUpFromThePhase) {
  GuardedCanvas c(16, 1);
  // Phase 0: c = 1, 2, 3 ink, 4..7 background, then 8 -> 0 ink again.
  DrawMarqueeLine(c.Rows(), 0, 0, 15, 0, kInk, kBack, 0);
  EXPECT_EQ(c.Picture(), "###oooo####oooo#\n");
  DrawMarqueeLine(c.Rows(), 0, 0, 15, 0, kInk, kBack, 3);
  EXPECT_EQ(c.Picture(), "oooo####oooo####\n");
  DrawMarqueeLine(c.Rows(), -3, 0, 15, 0, kInk, kBack, 5);
  EXPECT_EQ(c.Picture(), "oo####oooo####oo\n");
  EXPECT_TRUE(c.GuardsIntact());
}

}  // namespace
}  // namespace ws
