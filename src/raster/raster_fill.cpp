#include "raster/raster_fill.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <new>

#include "raster/raster_math.h"

namespace ws {

using raster::FloorStepper;
using raster::MulAddFloorDiv;

// The fill's edge and interval records sit in a named namespace: the
// scratch tables of PolygonFiller, a class seen from other files, hold them.
namespace fill {

enum class EdgeKind : std::uint8_t { kFlat, kSteep, kShallow };

// One outline edge, oriented downwards from its upper end (xt, yt). On row
// yt + k its Bresenham pixels are u = |x - xt| with
//   steep (adx <= dy): u = floor((2k * adx + dy) / (2 * dy)), one pixel;
//   shallow:           u from ceil((2k - 1) * adx / (2 * dy)) to the next
//                      row's first u less one, cut to 0..adx;
// and the crossing pixel used by the even-odd rule is the steep formula's.
struct Edge {
  std::int64_t xt = 0, yt = 0, yb = 0;
  std::int64_t xLo = 0, xHi = 0;  // a flat edge's pixels
  std::int64_t adx = 0, dy = 0;
  std::int64_t sx = 1;
  FloorStepper cross;      // u of the crossing pixel on the current row
  FloorStepper nextFirst;  // unclamped first u of the next row
  std::int64_t first = 0;  // unclamped first u of the current row
  EdgeKind kind = EdgeKind::kFlat;

  void StartAt(std::int64_t k) {
    if (kind == EdgeKind::kFlat) return;
    cross.Start(dy, 2 * adx, 2 * dy, k);
    if (kind == EdgeKind::kShallow) {
      const std::int64_t a = 2 * dy - 1 - adx;
      first = MulAddFloorDiv(k, 2 * adx, a, 2 * dy);
      nextFirst.Start(a, 2 * adx, 2 * dy, k + 1);
    }
  }
};

struct Interval {
  std::int64_t lo;
  std::int64_t hi;
};

}  // namespace fill

using fill::Edge;
using fill::EdgeKind;
using fill::Interval;

namespace {

constexpr std::uint32_t kFillTablesTag = 0x46494C4C;  // 'FILL'

// Rows hold a handful of edges; insertion sort beats the general sort there.
template <class T, class Less>
void SortSmall(T* a, std::uint32_t n, Less less) {
  if (n > 16) {
    std::sort(a, a + n, less);
    return;
  }
  for (std::uint32_t i = 1; i < n; ++i) {
    const T v = a[i];
    std::uint32_t j = i;
    for (; j > 0 && less(v, a[j - 1]); --j) a[j] = a[j - 1];
    a[j] = v;
  }
}

}  // namespace

struct PolygonFiller::Scratch {
  std::array<Edge, kMaxFillPoints> edges;
  std::array<std::uint32_t, kMaxFillPoints> order;
  std::array<std::uint32_t, kMaxFillPoints> active;
  std::array<std::int64_t, kMaxFillPoints> crossings;
  // Per row: one interval per active edge and one per crossing pair.
  std::array<Interval, kMaxFillPoints + kMaxFillPoints / 2> intervals;
};

void FillSpanWord(std::uint8_t* row, int x0, int x1, std::uint32_t fillWord) {
  if (x1 < x0) return;
  const std::uint8_t bytes[4] = {
      static_cast<std::uint8_t>(fillWord), static_cast<std::uint8_t>(fillWord >> 8),
      static_cast<std::uint8_t>(fillWord >> 16), static_cast<std::uint8_t>(fillWord >> 24)};
  if (bytes[0] == bytes[1] && bytes[0] == bytes[2] && bytes[0] == bytes[3]) {
    std::memset(row + x0, bytes[0], static_cast<std::size_t>(x1 - x0 + 1));
    return;
  }
  int x = x0;
  for (; x <= x1 && (x & 3) != 0; ++x) row[x] = bytes[x & 3];
  for (; x + 3 <= x1; x += 4) std::memcpy(row + x, bytes, 4);
  for (; x <= x1; ++x) row[x] = bytes[x & 3];
}

void FillSpanPattern(std::uint8_t* row, int x0, int x1, const Pattern8& pattern) {
  int x = x0;
  for (; x <= x1 && (x & 7) != 0; ++x) row[x] = pattern[x & 7];
  for (; x + 7 <= x1; x += 8) std::memcpy(row + x, pattern.data(), 8);
  for (; x <= x1; ++x) row[x] = pattern[x & 7];
}

void FillRectWord(PixelRows target, const IntRect& rect, std::uint32_t fillWord) {
  const IntRect r = Intersect(rect, target.Bounds());
  if (r.Empty()) return;
  for (int y = r.top; y <= r.bottom; ++y) FillSpanWord(target.rows[y], r.left, r.right, fillWord);
}

std::uint8_t SparkleEntry(std::uint8_t colour, std::uint32_t r) {
  const std::uint32_t step = std::min<std::uint32_t>(((r & 127u) * 8u + 64u) / 128u, 7u);
  return static_cast<std::uint8_t>((colour & 0xF8u) + step);
}

PolygonFiller::PolygonFiller() = default;
PolygonFiller::~PolygonFiller() = default;

bool PolygonFiller::Allocate(HandleMemory& memory) {
  if (scratch_) return true;
  static_assert(alignof(Scratch) <= alignof(std::max_align_t));
  Block block = memory.Allocate(sizeof(Scratch), kFillTablesTag);
  if (!block) return false;
  block_ = std::move(block);
  scratch_ = new (block_.data()) Scratch;
  return true;
}

bool PolygonFiller::Scan(const IntRect& clip, std::span<const ScreenPoint> outline,
                         FillSpanSink& sink) {
  if (!scratch_ || outline.size() > kMaxFillPoints) return false;
  if (outline.empty() || clip.Empty()) return true;
  Scratch& s = *scratch_;
  const std::uint32_t n = static_cast<std::uint32_t>(outline.size());

  std::int64_t yMin = outline[0].y;
  std::int64_t yMax = outline[0].y;
  for (std::uint32_t i = 0; i < n; ++i) {
    ScreenPoint a = outline[i];
    ScreenPoint b = outline[i + 1 == n ? 0 : i + 1];
    yMin = std::min<std::int64_t>(yMin, a.y);
    yMax = std::max<std::int64_t>(yMax, a.y);
    if (a.y > b.y) std::swap(a, b);
    // Every field the row loop reads is set here or in StartAt.
    Edge& e = s.edges[i];
    e.xt = a.x;
    e.yt = a.y;
    e.yb = b.y;
    const std::int64_t dx = std::int64_t{b.x} - a.x;
    e.sx = dx < 0 ? -1 : 1;
    e.adx = dx < 0 ? -dx : dx;
    e.dy = e.yb - e.yt;
    e.xLo = std::min(a.x, b.x);
    e.xHi = std::max(a.x, b.x);
    e.kind = e.dy == 0 ? EdgeKind::kFlat : (e.adx <= e.dy ? EdgeKind::kSteep : EdgeKind::kShallow);
    s.order[i] = i;
  }
  const std::int64_t rowFirst = std::max<std::int64_t>(yMin, clip.top);
  const std::int64_t rowLast = std::min<std::int64_t>(yMax, clip.bottom);
  if (rowFirst > rowLast) return true;
  std::sort(s.order.begin(), s.order.begin() + n,
            [&](std::uint32_t a, std::uint32_t b) { return s.edges[a].yt < s.edges[b].yt; });

  std::uint32_t activeCount = 0;
  std::uint32_t next = 0;
  for (std::int64_t y = rowFirst; y <= rowLast; ++y) {
    std::uint32_t kept = 0;
    for (std::uint32_t i = 0; i < activeCount; ++i) {
      if (s.edges[s.active[i]].yb >= y) s.active[kept++] = s.active[i];
    }
    activeCount = kept;
    // Edges that began above the first visited row join there, started at
    // their own offset.
    for (; next < n && s.edges[s.order[next]].yt <= y; ++next) {
      Edge& e = s.edges[s.order[next]];
      if (e.yb < y) continue;
      e.StartAt(y - e.yt);
      s.active[activeCount++] = s.order[next];
    }

    std::uint32_t intervalCount = 0;
    std::uint32_t crossingCount = 0;
    for (std::uint32_t i = 0; i < activeCount; ++i) {
      Edge& e = s.edges[s.active[i]];
      if (e.kind == EdgeKind::kFlat) {
        s.intervals[intervalCount++] = {e.xLo, e.xHi};
        continue;
      }
      const std::int64_t crossX = e.xt + e.sx * e.cross.q;
      if (y < e.yb) s.crossings[crossingCount++] = crossX;
      e.cross.Step();
      if (e.kind == EdgeKind::kSteep) {
        s.intervals[intervalCount++] = {crossX, crossX};
        continue;
      }
      const std::int64_t uLo = std::max<std::int64_t>(0, e.first);
      const std::int64_t uHi = std::min<std::int64_t>(e.adx, e.nextFirst.q - 1);
      s.intervals[intervalCount++] =
          e.sx > 0 ? Interval{e.xt + uLo, e.xt + uHi} : Interval{e.xt - uHi, e.xt - uLo};
      e.first = e.nextFirst.q;
      e.nextFirst.Step();
    }
    if (intervalCount == 0) continue;

    const bool edgeRow = y == yMin || y == yMax;
    auto emit = [&](std::int64_t lo, std::int64_t hi) {
      const std::int64_t a = std::max<std::int64_t>(lo, clip.left);
      const std::int64_t b = std::min<std::int64_t>(hi, clip.right);
      if (a > b) return;
      sink.Span({static_cast<int>(y), static_cast<int>(a), static_cast<int>(b), a == lo, b == hi,
                 edgeRow});
    };
    if (intervalCount == 2 && crossingCount == 2) {
      // The common row of a convex polygon: two edges, each holding its own
      // crossing pixel, so they and the run between them form one span.
      emit(std::min(s.intervals[0].lo, s.intervals[1].lo),
           std::max(s.intervals[0].hi, s.intervals[1].hi));
      continue;
    }

    SortSmall(s.crossings.data(), crossingCount, std::less<std::int64_t>());
    for (std::uint32_t j = 0; j + 1 < crossingCount; j += 2) {
      s.intervals[intervalCount++] = {s.crossings[j], s.crossings[j + 1]};
    }
    SortSmall(s.intervals.data(), intervalCount,
              [](const Interval& a, const Interval& b) { return a.lo < b.lo; });

    // Touching or overlapping intervals are one span.
    Interval run = s.intervals[0];
    for (std::uint32_t j = 1; j < intervalCount; ++j) {
      const Interval& iv = s.intervals[j];
      if (iv.lo <= run.hi + 1) {
        run.hi = std::max(run.hi, iv.hi);
      } else {
        emit(run.lo, run.hi);
        run = iv;
      }
    }
    emit(run.lo, run.hi);
  }
  return true;
}

namespace {

class PlainSink final : public FillSpanSink {
 public:
  PlainSink(PixelRows target, std::uint32_t fillWord) : target_(target), fillWord_(fillWord) {}
  void Span(const FillSpan& span) override {
    FillSpanWord(target_.rows[span.y], span.x0, span.x1, fillWord_);
  }

 private:
  PixelRows target_;
  std::uint32_t fillWord_;
};

class BorderedSink final : public FillSpanSink {
 public:
  BorderedSink(PixelRows target, std::uint32_t fillWord, std::uint8_t background)
      : target_(target), fillWord_(fillWord), background_(background) {}
  void Span(const FillSpan& span) override {
    std::uint8_t* row = target_.rows[span.y];
    if (span.edgeRow) {
      std::memset(row + span.x0, background_, static_cast<std::size_t>(span.x1 - span.x0 + 1));
      return;
    }
    FillSpanWord(row, span.x0, span.x1, fillWord_);
    if (span.ownLeft) row[span.x0] = background_;
    if (span.ownRight) row[span.x1] = background_;
  }

 private:
  PixelRows target_;
  std::uint32_t fillWord_;
  std::uint8_t background_;
};

class HighlightSink final : public FillSpanSink {
 public:
  HighlightSink(PixelRows target, std::uint8_t colour, std::uint8_t background,
                SparkleRandom& random, bool bordered)
      : target_(target),
        colour_(colour),
        background_(background),
        random_(random),
        bordered_(bordered) {}
  void Span(const FillSpan& span) override {
    std::uint8_t* row = target_.rows[span.y];
    const bool oddRow = (span.y & 1) != 0;
    for (int x = span.x0; x <= span.x1; ++x) {
      const bool border = bordered_ && (span.edgeRow || (x == span.x0 && span.ownLeft) ||
                                        (x == span.x1 && span.ownRight));
      const bool oddX = (x & 1) != 0;
      if (border) {
        row[x] = background_;
      } else if (!oddRow) {
        row[x] = oddX ? colour_ : background_;
      } else {
        row[x] = oddX ? SparkleEntry(colour_, random_.Next()) : colour_;
      }
    }
  }

 private:
  PixelRows target_;
  std::uint8_t colour_;
  std::uint8_t background_;
  SparkleRandom& random_;
  bool bordered_;
};

}  // namespace

bool PolygonFiller::FillPlain(PixelRows target, const IntRect& clip,
                              std::span<const ScreenPoint> outline, std::uint32_t fillWord) {
  PlainSink sink(target, fillWord);
  return Scan(Intersect(clip, target.Bounds()), outline, sink);
}

bool PolygonFiller::FillBordered(PixelRows target, const IntRect& clip,
                                 std::span<const ScreenPoint> outline, std::uint32_t fillWord,
                                 std::uint8_t background) {
  BorderedSink sink(target, fillWord, background);
  return Scan(Intersect(clip, target.Bounds()), outline, sink);
}

bool PolygonFiller::FillHighlight(PixelRows target, const IntRect& clip,
                                  std::span<const ScreenPoint> outline, std::uint8_t colour,
                                  std::uint8_t background, SparkleRandom& random) {
  HighlightSink sink(target, colour, background, random, false);
  return Scan(Intersect(clip, target.Bounds()), outline, sink);
}

bool PolygonFiller::FillBorderedHighlight(PixelRows target, const IntRect& clip,
                                          std::span<const ScreenPoint> outline, std::uint8_t colour,
                                          std::uint8_t background, SparkleRandom& random) {
  HighlightSink sink(target, colour, background, random, true);
  return Scan(Intersect(clip, target.Bounds()), outline, sink);
}

}  // namespace ws
