#include "raster/raster_lines.h"

#include <algorithm>
#include <cstring>

namespace ws {

using raster::MulAddFloorDiv;

LineSteps::LineSteps(int x1, int y1, int x2, int y2) : x1_(x1), y1_(y1) {
  const std::int64_t dx = std::int64_t{x2} - x1;
  const std::int64_t dy = std::int64_t{y2} - y1;
  const std::int64_t adx = dx < 0 ? -dx : dx;
  const std::int64_t ady = dy < 0 ? -dy : dy;
  xMajor_ = adx >= ady;
  const std::int64_t stepX = dx < 0 ? -1 : 1;
  const std::int64_t stepY = dy < 0 ? -1 : 1;
  majorStep_ = xMajor_ ? stepX : stepY;
  minorStep_ = xMajor_ ? stepY : stepX;
  majorDelta_ = xMajor_ ? adx : ady;
  minorDelta_ = xMajor_ ? ady : adx;
  last_ = majorDelta_;
}

void LineSteps::At(std::int64_t t, int& x, int& y) const {
  const std::int64_t major = (xMajor_ ? x1_ : y1_) + majorStep_ * t;
  const std::int64_t offset =
      majorDelta_ == 0 ? 0 : MulAddFloorDiv(2 * t, minorDelta_, majorDelta_, 2 * majorDelta_);
  const std::int64_t minor = (xMajor_ ? y1_ : x1_) + minorStep_ * offset;
  x = static_cast<int>(xMajor_ ? major : minor);
  y = static_cast<int>(xMajor_ ? minor : major);
}

std::int64_t LineSteps::FirstStepAtOffset(int axis, std::int64_t m) const {
  if (m <= 0) return 0;
  const bool major = (axis == 0) == xMajor_;
  if (major) return m > last_ ? last_ + 1 : m;
  if (m > minorDelta_) return last_ + 1;
  // offset(t) >= m  <=>  t >= (2m - 1) * majorDelta / (2 * minorDelta)
  return MulAddFloorDiv(2 * m - 1, majorDelta_, 2 * minorDelta_ - 1, 2 * minorDelta_);
}

LineSteps::Range LineSteps::StepsIn(const IntRect& rect) const {
  if (rect.Empty()) return {};
  Range r = All();
  for (int axis = 0; axis < 2; ++axis) {
    const std::int64_t start = axis == 0 ? x1_ : y1_;
    const std::int64_t lo = axis == 0 ? rect.left : rect.top;
    const std::int64_t hi = axis == 0 ? rect.right : rect.bottom;
    // Offsets from endpoint 1 only grow along the line, in the direction of
    // its step on this axis (a line with no extent on it counts as rising).
    const bool rising = axis == 0 ? (xMajor_ ? majorStep_ : minorStep_) > 0
                                  : (xMajor_ ? minorStep_ : majorStep_) > 0;
    const std::int64_t offLo = rising ? lo - start : start - hi;
    const std::int64_t offHi = rising ? hi - start : start - lo;
    r.first = std::max(r.first, FirstStepAtOffset(axis, offLo));
    r.last = std::min(r.last, FirstStepAtOffset(axis, offHi + 1) - 1);
  }
  return r;
}

namespace {

int Clamp(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

}  // namespace

void DrawThinLine(PixelRows target, const IntRect& clampRect, int x1, int y1, int x2, int y2,
                  std::uint8_t colour) {
  const IntRect r = Intersect(clampRect, target.Bounds());
  if (r.Empty()) return;
  x1 = Clamp(x1, r.left, r.right);
  x2 = Clamp(x2, r.left, r.right);
  y1 = Clamp(y1, r.top, r.bottom);
  y2 = Clamp(y2, r.top, r.bottom);
  const LineSteps line(x1, y1, x2, y2);
  // Both ends inside a rectangle keep every pixel between them inside.
  line.Walk(line.All(), [&](int x, int y) { target.rows[y][x] = colour; });
}

void DrawClippedLine(PixelRows target, const IntRect& clip, int x1, int y1, int x2, int y2,
                     std::uint8_t colour) {
  const IntRect r = Intersect(clip, target.Bounds());
  const LineSteps line(x1, y1, x2, y2);
  line.Walk(line.StepsIn(r), [&](int x, int y) { target.rows[y][x] = colour; });
}

void DrawPolygonOutline(PixelRows target, const IntRect& clip, std::span<const ScreenPoint> outline,
                        std::uint8_t colour) {
  for (std::size_t i = 0; i < outline.size(); ++i) {
    const ScreenPoint a = outline[i];
    const ScreenPoint b = outline[i + 1 == outline.size() ? 0 : i + 1];
    DrawClippedLine(target, clip, a.x, a.y, b.x, b.y, colour);
  }
}

IntRect ThickLineClip(const IntRect& bounds) {
  return {bounds.left + 2, bounds.top, bounds.right - 2, bounds.bottom - 2};
}

void DrawThickLine(PixelRows target, int x1, int y1, int x2, int y2, int w, std::uint8_t colour) {
  const IntRect clip = ThickLineClip(target.Bounds());
  if (clip.Empty()) return;
  // Any half-width is exact: the sums below are 64-bit.
  if (w < 0) w = 0;
  const LineSteps line(x1, y1, x2, y2);
  const bool yRising = y2 >= y1;
  const std::int64_t top = std::max<std::int64_t>(clip.top, std::int64_t{std::min(y1, y2)} - w);
  const std::int64_t bottom =
      std::min<std::int64_t>(clip.bottom, std::int64_t{std::max(y1, y2)} + w);
  // Row by row: the squares that reach row `row` belong to the steps whose
  // y lies within w of it, one run of steps; their x moves by at most one
  // per step, so the squares join into one span from the run's smaller end
  // x - w to its larger end x + w.
  for (std::int64_t row = top; row <= bottom; ++row) {
    const std::int64_t near = yRising ? row - w - y1 : y1 - row - w;
    const std::int64_t far = yRising ? row + w - y1 : y1 - row + w;
    const std::int64_t first = line.FirstStepAtOffset(1, near);
    const std::int64_t last = std::min(line.last(), line.FirstStepAtOffset(1, far + 1) - 1);
    if (last < first) continue;
    int xa = 0, xb = 0, unused = 0;
    line.At(first, xa, unused);
    line.At(last, xb, unused);
    const std::int64_t lo = std::max<std::int64_t>(clip.left, std::int64_t{std::min(xa, xb)} - w);
    const std::int64_t hi = std::min<std::int64_t>(clip.right, std::int64_t{std::max(xa, xb)} + w);
    if (lo > hi) continue;
    std::memset(target.rows[row] + lo, colour, static_cast<std::size_t>(hi - lo + 1));
  }
}

void DrawDashedLine(PixelRows target, int x1, int y1, int x2, int y2, std::uint8_t colour,
                    std::uint8_t background, int antsPhase) {
  const LineSteps line(x1, y1, x2, y2);
  int c = antsPhase & (kAntsPhaseCount - 1);
  line.Walk(line.StepsIn(target.Bounds()), [&](int x, int y) {
    c = c - 1;
    std::uint8_t value = colour;
    if (c < 0) {
      value = background;
      c = 7;
    } else if (c == 6) {
      value = background;
    }
    target.rows[y][x] = value;
  });
}

void DrawMarqueeLine(PixelRows target, int x1, int y1, int x2, int y2, std::uint8_t colour,
                     std::uint8_t background, int antsPhase) {
  const LineSteps line(x1, y1, x2, y2);
  int c = antsPhase & (kAntsPhaseCount - 1);
  line.Walk(line.StepsIn(target.Bounds()), [&](int x, int y) {
    c = c + 1;
    if (c == 8) c = 0;
    target.rows[y][x] = c <= 3 ? colour : background;
  });
}

}  // namespace ws
