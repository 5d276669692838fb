// Line primitives of the 8-bit surface, shared by the editing views, the
// hit tests and the walk view.
//
// Every line is a Bresenham line: one pixel per step along the longer axis
// (x when both are equal), both end points included, the other coordinate
// rounded to the nearest pixel with halves rounded away from endpoint 1. A
// line from A to B and one from B to A can therefore differ in a pixel at
// an exact half; hit tests walk the same direction as drawing does.
//
// End points may be any 32-bit coordinates. No routine ever writes outside
// the rows it is given, and none spends time on the part of a line that
// lies outside the area it may draw in: the steps inside are found by
// arithmetic, so a projected point far off screen costs nothing extra.
#pragma once

#include <cstdint>
#include <span>

#include "raster/raster_math.h"
#include "raster/surface8.h"

namespace ws {

// The ants phase runs 0..7; it advances every 40 ms so that dashes move.
inline constexpr int kAntsPhaseCount = 8;

// The steps of one Bresenham line, addressable at random: step t (0 to
// last()) is the t-th pixel from endpoint 1.
class LineSteps {
 public:
  struct Range {
    std::int64_t first = 0;
    std::int64_t last = -1;
    bool Empty() const { return last < first; }
  };

  LineSteps(int x1, int y1, int x2, int y2);

  std::int64_t last() const { return last_; }
  Range All() const { return {0, last_}; }
  // Pixel of step t, 0 <= t <= last().
  void At(std::int64_t t, int& x, int& y) const;
  // The steps whose pixels lie in `rect` (always one run, as both
  // coordinates move monotonically); empty when none do.
  Range StepsIn(const IntRect& rect) const;
  // First step whose pixel is at least m pixels from endpoint 1 along x
  // (axis 0) or y (axis 1); last() + 1 when no step is.
  std::int64_t FirstStepAtOffset(int axis, std::int64_t m) const;
  // Calls fn(x, y) for the steps of `range` in order (range within All()).
  template <class Fn>
  void Walk(Range range, Fn&& fn) const;

 private:
  std::int64_t x1_, y1_;
  std::int64_t majorStep_, minorStep_;  // +1 or -1
  std::int64_t majorDelta_, minorDelta_;
  bool xMajor_;
  std::int64_t last_;
};

// Thin line: the end points are clamped (not clipped) into `clampRect`
// (itself cut to the rows' bounds), then every pixel of the line is set. A
// line wholly outside the rectangle therefore still draws along its edge.
// Nothing is drawn when the rectangle and the rows do not overlap.
void DrawThinLine(PixelRows target, const IntRect& clampRect, int x1, int y1, int x2, int y2,
                  std::uint8_t colour);

// The pixels of the line that lie in `clip` (cut to the rows' bounds) are
// set; the rest are skipped. Used for lines already clipped to a view.
void DrawClippedLine(PixelRows target, const IntRect& clip, int x1, int y1, int x2, int y2,
                     std::uint8_t colour);

// Thick line: a filled (2w + 1) x (2w + 1) square centred on every step of
// the line, each square clipped to the rows' bounds less 2 pixels at the
// left, right and bottom (the top is not inset). w below 0 counts as 0.
// The union of the squares is filled a row span at a time.
void DrawThickLine(PixelRows target, int x1, int y1, int x2, int y2, int w, std::uint8_t colour);
// Bounds a thick line may draw in: the rows' bounds less the inset above.
IntRect ThickLineClip(const IntRect& bounds);

// Closed outline: DrawClippedLine from each point to the next and from the
// last back to the first (one point draws one pixel).
void DrawPolygonOutline(PixelRows target, const IntRect& clip, std::span<const ScreenPoint> outline,
                        std::uint8_t colour);

// Dashed highlight line: counter c starts at the ants phase; for each pixel
// inside the rows' bounds c = c - 1, and the pixel gets `background` when
// c < 0 (then c = 7) or c = 6, else `colour`: dashes of 6 with gaps of 2
// that move with the phase. Pixels outside are skipped without counting.
// Phases outside 0..7 are taken modulo 8.
void DrawDashedLine(PixelRows target, int x1, int y1, int x2, int y2, std::uint8_t colour,
                    std::uint8_t background, int antsPhase);

// Marquee line: counter c starts at the ants phase and steps up by one per
// pixel inside the rows' bounds, wrapping from 8 to 0; c of 0 to 3 gives
// `colour`, 4 to 7 `background`: dashes and gaps of 4. Pixels outside are
// skipped without counting. Phases outside 0..7 are taken modulo 8.
void DrawMarqueeLine(PixelRows target, int x1, int y1, int x2, int y2, std::uint8_t colour,
                     std::uint8_t background, int antsPhase);

template <class Fn>
void LineSteps::Walk(Range range, Fn&& fn) const {
  if (range.first < 0) range.first = 0;
  if (range.last > last_) range.last = last_;
  if (range.Empty()) return;
  if (majorDelta_ == 0) {
    fn(static_cast<int>(x1_), static_cast<int>(y1_));
    return;
  }
  // minor offset(t) = floor((2t * minorDelta + majorDelta) / (2 * majorDelta))
  raster::FloorStepper minor;
  minor.Start(majorDelta_, 2 * minorDelta_, 2 * majorDelta_, range.first);
  const std::int64_t majorStart = xMajor_ ? x1_ : y1_;
  const std::int64_t minorStart = xMajor_ ? y1_ : x1_;
  std::int64_t major = majorStart + majorStep_ * range.first;
  for (std::int64_t t = range.first; t <= range.last; ++t) {
    const int a = static_cast<int>(major);
    const int b = static_cast<int>(minorStart + minorStep_ * minor.q);
    if (xMajor_) {
      fn(a, b);
    } else {
      fn(b, a);
    }
    major += majorStep_;
    minor.Step();
  }
}

}  // namespace ws
