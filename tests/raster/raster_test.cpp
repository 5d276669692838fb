// The raster layer: fills, lines and surfaces, each against a plain
// reference drawn pixel by pixel into a canvas surrounded by guard bytes,
// so that a write outside the area shows up.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "raster/raster_fill.h"
#include "raster/raster_lines.h"
#include "raster/raster_math.h"
#include "raster/surface8.h"

namespace ws {
namespace {

using raster::Int128;

class GuardedCanvas {
 public:
  static constexpr int kGuard = 24;
  static constexpr std::uint8_t kGuardValue = 0xA5;

  GuardedCanvas(int width, int height)
      : width_(width),
        height_(height),
        stride_(width + 2 * kGuard),
        bytes_(static_cast<std::size_t>(stride_) * (height + 2 * kGuard), kGuardValue),
        rows_(height) {
    for (int y = 0; y < height; ++y) {
      rows_[y] = &bytes_[Index(0, y)];
      std::fill(rows_[y], rows_[y] + width, 0);
    }
  }

  PixelRows Rows() { return {rows_.data(), width_, height_}; }
  int width() const { return width_; }
  int height() const { return height_; }
  std::uint8_t At(int x, int y) const { return bytes_[Index(x, y)]; }
  void Set(int x, int y, std::uint8_t v) { bytes_[Index(x, y)] = v; }

  // True when no byte around the area has changed (the area itself only
  // ever holds the values Picture() shows, never the guard value).
  bool GuardsIntact() const {
    return std::count(bytes_.begin(), bytes_.end(), kGuardValue) ==
           static_cast<std::ptrdiff_t>(bytes_.size()) - width_ * height_;
  }

  // One line per row; pixel values 0, 1 and 2 show as '.', '#' and 'o',
  // any other as '?'.
  std::string Picture() const {
    const std::string legend = ".#o";
    std::string s;
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) s += At(x, y) < legend.size() ? legend[At(x, y)] : '?';
      s += '\n';
    }
    return s;
  }

 private:
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y + kGuard) * stride_ + (x + kGuard);
  }

  int width_, height_, stride_;
  std::vector<std::uint8_t> bytes_;
  std::vector<std::uint8_t*> rows_;
};

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

// The Bresenham column of row y on edge a-b (a the upper end, dy > 0).
Int128 EdgeColumn(ScreenPoint a, ScreenPoint b, Int128 y) {
  const Int128 dx = Int128{b.x} - a.x, dy = Int128{b.y} - a.y;
  return a.x + (dx < 0 ? -1 : 1) * Floor(2 * (y - a.y) * (dx < 0 ? -dx : dx) + dy, 2 * dy);
}

// Pixel (x, y) is one of the Bresenham pixels of edge a-b drawn from its
// upper end: the row of each column for a flat-ish edge, the column of each
// row for a steep one.
bool OnEdge(ScreenPoint a, ScreenPoint b, Int128 x, Int128 y) {
  if (a.y > b.y) std::swap(a, b);
  const Int128 dx = Int128{b.x} - a.x, dy = Int128{b.y} - a.y;
  const Int128 adx = dx < 0 ? -dx : dx;
  if (dy == 0) return y == a.y && x >= std::min(a.x, b.x) && x <= std::max(a.x, b.x);
  if (adx <= dy) return y >= a.y && y <= b.y && x == EdgeColumn(a, b, y);
  const Int128 u = dx < 0 ? a.x - x : x - a.x;
  if (u < 0 || u > adx) return false;
  return y == a.y + Floor(2 * u * dy + adx, 2 * adx);
}

bool Covered(const Outline& p, Int128 x, Int128 y) {
  int left = 0;
  for (std::size_t i = 0; i < p.size(); ++i) {
    ScreenPoint a = p[i], b = p[(i + 1) % p.size()];
    if (OnEdge(a, b, x, y)) return true;
    if (a.y > b.y) std::swap(a, b);
    if (a.y != b.y && y >= a.y && y < b.y) left += EdgeColumn(a, b, y) < x;
  }
  return left % 2 == 1;
}

bool Border(const Outline& p, Int128 x, Int128 y) {
  const auto [top, bottom] = std::minmax_element(
      p.begin(), p.end(), [](ScreenPoint a, ScreenPoint b) { return a.y < b.y; });
  return y == top->y || y == bottom->y || !Covered(p, x - 1, y) || !Covered(p, x + 1, y);
}

void ReferenceFill(GuardedCanvas& c, const Outline& p, bool bordered) {
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x)
      if (Covered(p, x, y)) c.Set(x, y, bordered && Border(p, x, y) ? kBack : kInk);
}

class PolygonFill : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(filler.Allocate(memory)); }

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

TEST(FillSpans, RectangleIsClippedToTheRows) {
  GuardedCanvas c(5, 4);
  FillRectWord(c.Rows(), {3, -2, 9, 1}, kInkWord);
  FillRectWord(c.Rows(), {-4, 3, 0, 8}, 0x02020202u);
  FillRectWord(c.Rows(), {4, 2, 3, 2}, kInkWord);  // empty
  EXPECT_EQ(c.Picture(), "...##\n...##\n.....\no....\n");
  EXPECT_TRUE(c.GuardsIntact());
}

TEST_F(PolygonFill, MatchesThePixelByPixelRule) {
  std::mt19937 rng(21);
  for (int i = 0; i < 1500; ++i) {
    const Outline p = RandomOutline(rng, -6, 30, 9);
    for (const bool bordered : {false, true}) {
      GuardedCanvas fast(26, 20), plain(26, 20);
      const IntRect all = fast.Rows().Bounds();
      ASSERT_TRUE(bordered ? filler.FillBordered(fast.Rows(), all, p, kInkWord, kBack)
                           : filler.FillPlain(fast.Rows(), all, p, kInkWord));
      ReferenceFill(plain, p, bordered);
      ASSERT_EQ(fast.Picture(), plain.Picture()) << "case " << i << " bordered " << bordered;
      ASSERT_TRUE(fast.GuardsIntact());
    }
  }
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
  EXPECT_FALSE(filler.Allocate(memory) || filler.allocated());
  memory.SetFailAbove(std::nullopt);
  ASSERT_TRUE(filler.Allocate(memory) && filler.Allocate(memory));  // the second takes nothing
  EXPECT_EQ(memory.LiveCount(), 1u);
  EXPECT_TRUE(filler.FillPlain(c.Rows(), c.Rows().Bounds(), Outline{{1, 1}}, kInkWord));
  EXPECT_EQ(c.At(1, 1), kInk);
}

TEST(Surface8, RefusesBadSizesAndKeepsTheSurface) {
  HandleMemory memory;
  Surface8 s;
  ASSERT_TRUE(s.Create(memory, 8, 4));
  s.Clear(3);
  const std::pair<int, int> bad[] = {
      {0, 4}, {8, 0}, {-8, 4}, {kMaxSurfaceSide + 1, 4}, {4, kMaxSurfaceSide + 1}};
  for (auto [w, h] : bad) EXPECT_FALSE(s.Create(memory, w, h)) << w << "x" << h;
  EXPECT_EQ(std::make_tuple(s.width(), s.At(7, 3)), std::make_tuple(8, 3));
  // The limit itself.
  EXPECT_TRUE(s.Create(memory, kMaxSurfaceSide, 1) && s.Create(memory, 1, kMaxSurfaceSide));
}

TEST(CdOffscreen, TwoEqualBuffersWithOnePalette) {
  HandleMemory memory;
  ColorTable table;
  table.Set(5, {0xFF00, 0x8000, 0x0100});
  {
    CD_Offscreen off;
    ASSERT_TRUE(off.Create(memory, 24, 10, table));
    // Two buffers; the high byte of each channel.
    EXPECT_EQ(std::make_tuple(off.shown.pixels() != off.draw.pixels(), off.shown.width(),
                              off.shown.height(), off.shown.palette()[5], off.draw.palette()[5],
                              off.shown.Argb(5), memory.LiveCount()),
              std::make_tuple(true, 24, 10, Rgb8{0xFF, 0x80, 0x01}, Rgb8{0xFF, 0x80, 0x01},
                              0xFFFF8001u, 4u));
  }
  EXPECT_EQ(memory.LiveCount(), 0u);
  CD_Offscreen off;
  memory.SetFailAbove(100);
  EXPECT_FALSE(off.Create(memory, 24, 10, table));
  EXPECT_EQ(std::make_tuple(off.empty(), memory.LiveCount()), std::make_tuple(true, 0u));
  off.Present({0, 0, 5, 5});  // nothing to copy, nothing happens
}

struct Pixel {
  int x, y;
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

// Marching ants four on, four off, and dashes six on, two off, each
// starting where its phase says.
TEST(AntsLines, MarqueeAndDashedLinesFollowTheirPhase) {
  GuardedCanvas c(12, 4);
  DrawMarqueeLine(c.Rows(), 0, 0, 11, 0, kInk, kBack, 0);
  DrawMarqueeLine(c.Rows(), 0, 1, 11, 1, kInk, kBack, 5);
  DrawDashedLine(c.Rows(), 0, 2, 11, 2, kInk, kBack, 0);
  DrawDashedLine(c.Rows(), 0, 3, 11, 3, kInk, kBack, 3);
  EXPECT_EQ(c.Picture(), "###oooo####o\noo####oooo##\noo######oo##\n###oo######o\n");
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
  // Two columns clear at each side and two rows at the bottom.
  EXPECT_EQ(ThickLineClip({0, 0, 29, 21}), (IntRect{2, 0, 27, 19}));
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
