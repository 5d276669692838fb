#include "editor/raster_fill.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "editor/raster_lines.h"
#include "editor/raster_math.h"
#include "editor/raster_test_support.h"

namespace ws {
namespace {

using raster::Int128;
using test::GuardedCanvas;
using test::Rows;

constexpr std::uint8_t kInk = 1;
constexpr std::uint8_t kBack = 2;
constexpr std::uint32_t kInkWord = 0x01010101u;

using Outline = std::vector<ScreenPoint>;

// ---- plain reference of the coverage rule, pixel by pixel ----

Int128 Floor(Int128 a, Int128 b) {
  Int128 q = a / b;
  if (a % b != 0 && a < 0) --q;
  return q;
}

// Pixel (x, y) is one of the Bresenham pixels of edge a-b drawn from its
// upper end: the row of each column for a flat-ish edge, the column of each
// row for a steep one.
bool OnEdge(ScreenPoint a, ScreenPoint b, Int128 x, Int128 y) {
  if (a.y > b.y) std::swap(a, b);
  const Int128 dx = Int128{b.x} - a.x, dy = Int128{b.y} - a.y;
  const Int128 adx = dx < 0 ? -dx : dx;
  const Int128 sx = dx < 0 ? -1 : 1;
  if (dy == 0) return y == a.y && x >= std::min(a.x, b.x) && x <= std::max(a.x, b.x);
  if (adx <= dy) {
    if (y < a.y || y > b.y) return false;
    return x == a.x + sx * Floor(2 * (y - a.y) * adx + dy, 2 * dy);
  }
  const Int128 u = (x - a.x) * sx;
  if (u < 0 || u > adx) return false;
  return y == a.y + Floor(2 * u * dy + adx, 2 * adx);
}

bool Covered(const Outline& p, Int128 x, Int128 y) {
  int left = 0;
  for (std::size_t i = 0; i < p.size(); ++i) {
    ScreenPoint a = p[i], b = p[(i + 1) % p.size()];
    if (OnEdge(a, b, x, y)) return true;
    if (a.y > b.y) std::swap(a, b);
    if (a.y == b.y || y < a.y || y >= b.y) continue;
    const Int128 dx = Int128{b.x} - a.x, dy = Int128{b.y} - a.y;
    const Int128 adx = dx < 0 ? -dx : dx;
    const Int128 cross = a.x + (dx < 0 ? -1 : 1) * Floor(2 * (y - a.y) * adx + dy, 2 * dy);
    left += cross < x;
  }
  return left % 2 == 1;
}

bool Border(const Outline& p, Int128 x, Int128 y) {
  Int128 yMin = p[0].y, yMax = p[0].y;
  for (const ScreenPoint& q : p) {
    yMin = std::min<Int128>(yMin, q.y);
    yMax = std::max<Int128>(yMax, q.y);
  }
  return y == yMin || y == yMax || !Covered(p, x - 1, y) || !Covered(p, x + 1, y);
}

void ReferencePlain(GuardedCanvas& c, const Outline& p, const IntRect& clip, std::uint8_t ink) {
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x)
      if (clip.Contains(x, y) && Covered(p, x, y)) c.Set(x, y, ink);
}

void ReferenceBordered(GuardedCanvas& c, const Outline& p, std::uint8_t ink, std::uint8_t back) {
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x)
      if (Covered(p, x, y)) c.Set(x, y, Border(p, x, y) ? back : ink);
}

class PolygonFill : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(filler.Allocate(memory)); }

  std::string Plain(int w, int h, const Outline& p) {
    GuardedCanvas c(w, h);
    EXPECT_TRUE(filler.FillPlain(c.Rows(), c.Rows().Bounds(), p, kInkWord));
    EXPECT_TRUE(c.GuardsIntact());
    return c.Picture();
  }
  std::string Bordered(int w, int h, const Outline& p) {
    GuardedCanvas c(w, h);
    EXPECT_TRUE(filler.FillBordered(c.Rows(), c.Rows().Bounds(), p, kInkWord, kBack));
    EXPECT_TRUE(c.GuardsIntact());
    return c.Picture();
  }

  HandleMemory memory;
  PolygonFiller filler;
};

Outline RandomOutline(std::mt19937& rng, int lo, int hi, int maxPoints) {
  std::uniform_int_distribution<int> count(1, maxPoints);
  std::uniform_int_distribution<int> coord(lo, hi);
  Outline p(count(rng));
  for (ScreenPoint& q : p) q = {coord(rng), coord(rng)};
  return p;
}

TEST(FillSpans, BytesFollowXModuloFourOrEight) {
  std::mt19937 rng(1);
  std::uniform_int_distribution<int> pos(0, 49);
  const std::uint32_t words[] = {0x04030201u, 0x07070707u, 0x01000000u};
  const Pattern8 pattern = {10, 11, 12, 13, 14, 15, 16, 17};
  for (int i = 0; i < 3000; ++i) {
    int x0 = pos(rng), x1 = pos(rng);
    if (x0 > x1) std::swap(x0, x1);
    const bool usePattern = i % 4 == 3;
    const std::uint32_t word = words[i % 3];
    GuardedCanvas c(50, 1, 9);
    if (usePattern) {
      FillSpanPattern(c.Rows().rows[0], x0, x1, pattern);
    } else {
      FillSpanWord(c.Rows().rows[0], x0, x1, word);
    }
    for (int x = 0; x < 50; ++x) {
      const std::uint8_t inside = usePattern ? pattern[x & 7] : std::uint8_t(word >> (8 * (x & 3)));
      ASSERT_EQ(c.At(x, 0), (x < x0 || x > x1) ? 9 : inside) << i << ": " << x0 << ".." << x1;
    }
    ASSERT_TRUE(c.GuardsIntact());
  }
}

TEST(FillSpans, RectangleIsClippedToTheRows) {
  GuardedCanvas c(5, 4);
  FillRectWord(c.Rows(), {3, -2, 9, 1}, kInkWord);
  FillRectWord(c.Rows(), {-4, 3, 0, 8}, 0x02020202u);
  FillRectWord(c.Rows(), {4, 2, 3, 2}, kInkWord);  // empty
  EXPECT_EQ(c.Picture(), Rows({"...##", "...##", ".....", "o...."}));
  EXPECT_TRUE(c.GuardsIntact());
}

TEST_F(PolygonFill, HandExamples) {
  const Outline u = {{0, 0}, {2, 0}, {2, 3}, {4, 3}, {4, 0}, {6, 0}, {6, 5}, {0, 5}};
  const Outline tri = {{0, 0}, {6, 0}, {0, 4}};  // slanted edge: x = 6 | 5, 4 | 3 | 2, 1 | 0
  const struct {
    const char* name;
    int w, h;
    Outline outline;
    std::string plain, bordered;  // bordered empty: not checked
  } rows[] = {
      {"point", 5, 3, {{3, 1}}, Rows({".....", "...#.", "....."}), ""},
      {"coincident points: all border", 5, 3, {{3, 1}, {3, 1}, {3, 1}},
       Rows({".....", "...#.", "....."}), Rows({".....", "...o.", "....."})},
      {"edge-on", 6, 3, {{0, 0}, {5, 2}}, Rows({"##....", "..##..", "....##"}), ""},
      {"edge-on, traced back", 6, 3, {{5, 2}, {0, 0}, {5, 2}}, Rows({"##....", "..##..", "....##"}),
       ""},
      {"rectangle", 7, 6, {{1, 1}, {5, 1}, {5, 4}, {1, 4}},
       Rows({".......", ".#####.", ".#####.", ".#####.", ".#####.", "......."}),
       Rows({".......", ".ooooo.", ".o###o.", ".o###o.", ".ooooo.", "......."})},
      {"triangle", 7, 5, tri, Rows({"#######", "######.", "####...", "###....", "#......"}),
       Rows({"ooooooo", "o####o.", "o##o...", "o#o....", "o......"})},
      {"triangle reversed", 7, 5, {{0, 4}, {6, 0}, {0, 0}},
       Rows({"#######", "######.", "####...", "###....", "#......"}), ""},
      {"concave notch", 7, 6, u,
       Rows({"###.###", "###.###", "###.###", "#######", "#######", "#######"}),
       Rows({"ooo.ooo", "o#o.o#o", "o#o.o#o", "o#####o", "o#####o", "ooooooo"})},
      {"traced twice", 5, 4, {{0, 0}, {4, 0}, {4, 3}, {0, 3}, {0, 0}, {4, 0}, {4, 3}, {0, 3}},
       Rows({"#####", "#...#", "#...#", "#####"}), ""},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(Plain(r.w, r.h, r.outline), r.plain) << r.name;
    if (!r.bordered.empty()) {
      EXPECT_EQ(Bordered(r.w, r.h, r.outline), r.bordered) << r.name;
    }
  }
  GuardedCanvas c(6, 3);  // an edge-on polygon is its line
  DrawThinLine(c.Rows(), c.Rows().Bounds(), 0, 0, 5, 2, kInk);
  EXPECT_EQ(c.Picture(), rows[2].plain);
}

TEST_F(PolygonFill, MatchesThePixelByPixelRule) {
  std::mt19937 rng(21);
  for (int i = 0; i < 1500; ++i) {
    const Outline p = RandomOutline(rng, -6, 30, 9);
    GuardedCanvas fast(26, 20), plain(26, 20);
    ASSERT_TRUE(filler.FillPlain(fast.Rows(), fast.Rows().Bounds(), p, kInkWord));
    ReferencePlain(plain, p, plain.Rows().Bounds(), kInk);
    ASSERT_EQ(fast.Picture(), plain.Picture()) << "case " << i;
    ASSERT_TRUE(fast.GuardsIntact());

    GuardedCanvas fastB(26, 20), plainB(26, 20);
    ASSERT_TRUE(filler.FillBordered(fastB.Rows(), fastB.Rows().Bounds(), p, kInkWord, kBack));
    ReferenceBordered(plainB, p, kInk, kBack);
    ASSERT_EQ(fastB.Picture(), plainB.Picture()) << "case " << i;
    ASSERT_TRUE(fastB.GuardsIntact());
  }
}

TEST_F(PolygonFill, ClippingEqualsCroppingALargerPicture) {
  std::mt19937 rng(4);
  constexpr int kOx = 20, kOy = 17;
  for (int i = 0; i < 800; ++i) {
    const Outline big = RandomOutline(rng, -10, 70, 8);
    Outline small = big;
    for (ScreenPoint& q : small) q = {q.x - kOx, q.y - kOy};
    GuardedCanvas whole(64, 56), part(20, 15);
    const bool bordered = i % 2 == 1;
    if (bordered) {
      filler.FillBordered(whole.Rows(), whole.Rows().Bounds(), big, kInkWord, kBack);
      filler.FillBordered(part.Rows(), part.Rows().Bounds(), small, kInkWord, kBack);
    } else {
      filler.FillPlain(whole.Rows(), whole.Rows().Bounds(), big, kInkWord);
      filler.FillPlain(part.Rows(), part.Rows().Bounds(), small, kInkWord);
    }
    for (int y = 0; y < 15; ++y)
      for (int x = 0; x < 20; ++x) ASSERT_EQ(part.At(x, y), whole.At(x + kOx, y + kOy)) << i;
    ASSERT_TRUE(part.GuardsIntact());
  }
}

TEST_F(PolygonFill, ClipRectangleLimitsTheFill) {
  const Outline p = {{-3, -2}, {12, 1}, {9, 11}, {0, 8}};
  const IntRect clip = {2, 3, 7, 6};
  GuardedCanvas c(10, 9), plain(10, 9);
  ASSERT_TRUE(filler.FillPlain(c.Rows(), clip, p, kInkWord));
  ReferencePlain(plain, p, clip, kInk);
  EXPECT_EQ(c.Picture(), plain.Picture());
  // Clipped ends are not the polygon's own: no border along the clip.
  GuardedCanvas b(10, 9);
  ASSERT_TRUE(filler.FillBordered(b.Rows(), clip, p, kInkWord, kBack));
  EXPECT_EQ(b.Picture(), c.Picture());
}

TEST_F(PolygonFill, WhollyOutsideDrawsNothing) {
  const Outline outside[] = {
      {{-9, 1}, {-1, 1}, {-5, 4}},         {{10, 0}, {20, 2}, {15, 9}}, {{0, -8}, {9, -8}, {4, -1}},
      {{0, 6}, {9, 6}, {4, 90}},           {{-5, -5}, {-1, -1}},        {{3, -1}},
      {{-2, 9}, {12, 9}, {12, 7}, {-2, 7}}};
  for (const Outline& p : outside) {
    GuardedCanvas c(10, 6);
    EXPECT_TRUE(filler.FillPlain(c.Rows(), c.Rows().Bounds(), p, kInkWord));
    EXPECT_TRUE(filler.FillBordered(c.Rows(), c.Rows().Bounds(), p, kInkWord, kBack));
    EXPECT_EQ(c.Picture(), GuardedCanvas(10, 6).Picture());
    EXPECT_TRUE(c.GuardsIntact());
  }
  GuardedCanvas c(10, 6);
  EXPECT_TRUE(filler.FillPlain(c.Rows(), c.Rows().Bounds(), Outline{}, kInkWord));
  EXPECT_TRUE(filler.FillPlain(c.Rows(), {5, 5, 4, 4}, Outline{{0, 0}, {9, 5}, {0, 5}}, kInkWord));
  EXPECT_EQ(c.Picture(), GuardedCanvas(10, 6).Picture());
}

TEST_F(PolygonFill, ExtremeCoordinatesAreExact) {
  constexpr int kMin = std::numeric_limits<int>::min();
  constexpr int kMax = std::numeric_limits<int>::max();
  const Outline cases[] = {
      {{kMin, kMin}, {kMax, 3}, {-7, kMax}},
      {{kMax, kMin}, {kMax, kMax}, {5, 9}},
      {{kMin, 2}, {kMax, 7}, {kMax, 11}, {kMin, 20}},
      {{-1000000000, 5}, {1000000000, 6}, {3, 2000000000}, {4, 13}},
      {{kMin, kMin}, {kMax, kMax}},
  };
  for (const Outline& p : cases) {
    GuardedCanvas fast(30, 24), plain(30, 24);
    ASSERT_TRUE(filler.FillBordered(fast.Rows(), fast.Rows().Bounds(), p, kInkWord, kBack));
    ReferenceBordered(plain, p, kInk, kBack);
    EXPECT_EQ(fast.Picture(), plain.Picture());
    EXPECT_TRUE(fast.GuardsIntact());
  }
}

TEST_F(PolygonFill, NonUniformWordLinesUpWithX) {
  GuardedCanvas c(9, 2);
  ASSERT_TRUE(filler.FillPlain(c.Rows(), c.Rows().Bounds(), Outline{{1, 0}, {7, 0}, {7, 1}, {1, 1}},
                               0x02010201u));
  EXPECT_EQ(c.Picture(".#o"), Rows({".o#o#o#o.", ".o#o#o#o."}));
}

TEST_F(PolygonFill, RefusesOutlinesBeyondCapacity) {
  Outline p(kMaxFillPoints);
  for (std::size_t i = 0; i < p.size(); ++i) p[i] = {int(i % 8), int(i % 5)};
  GuardedCanvas c(10, 6);
  EXPECT_TRUE(filler.FillPlain(c.Rows(), c.Rows().Bounds(), p, kInkWord));
  EXPECT_NE(c.Picture(), GuardedCanvas(10, 6).Picture());
  p.push_back({0, 0});
  GuardedCanvas d(10, 6);
  EXPECT_FALSE(filler.FillPlain(d.Rows(), d.Rows().Bounds(), p, kInkWord));
  EXPECT_EQ(d.Picture(), GuardedCanvas(10, 6).Picture());
}

TEST(PolygonFillAllocation, TablesComeFromHandleMemoryOnce) {
  HandleMemory memory;
  PolygonFiller filler;
  GuardedCanvas c(4, 4);
  EXPECT_FALSE(filler.FillPlain(c.Rows(), c.Rows().Bounds(), Outline{{1, 1}}, kInkWord));
  memory.SetFailAbove(16);
  EXPECT_FALSE(filler.Allocate(memory));
  EXPECT_FALSE(filler.allocated());
  memory.SetFailAbove(std::nullopt);
  ASSERT_TRUE(filler.Allocate(memory));
  EXPECT_EQ(memory.LiveCount(), 1u);
  ASSERT_TRUE(filler.Allocate(memory));
  EXPECT_EQ(memory.LiveCount(), 1u);
  EXPECT_TRUE(filler.FillPlain(c.Rows(), c.Rows().Bounds(), Outline{{1, 1}}, kInkWord));
  EXPECT_EQ(c.At(1, 1), kInk);
}

}  // namespace
}  // namespace ws
