// Span and polygon fills of the 8-bit surface, shared by the editing views
// and the walk view.
//
// Which pixels a polygon covers. The outline is a closed list of integer
// screen points (the last joined to the first) of any shape: convex,
// concave or crossing itself. Row by row, a pixel is covered when it lies on
// one of the outline's edges, or between an odd and the following even
// crossing of the outline with the row (even-odd rule, each edge counting on
// the rows from its upper end up to but not including its lower end, flat
// edges not at all). An edge's pixels on a row are those of its Bresenham
// line drawn from its upper end: one per row for a steep edge, a run for a
// flat one. So the fill always reaches its own outline, a polygon seen edge
// on still shows as a line, and one whose points coincide fills one pixel.
// The polygon's first and last rows are those of its highest and lowest
// points.
//
// Spans are clipped to a rectangle cut to the rows' bounds; a span's end that
// the clip cut off is not the polygon's own end (no border is drawn there).
// Coordinates may be anything 32 bits hold: rows outside the clip are not
// visited and the edge arithmetic is exact.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "raster/surface8.h"
#include "resource/handle_memory.h"

namespace ws {

// Longest outline the filler accepts: a 150-point polygon clipped against a
// few planes stays far below it. Longer outlines are refused.
inline constexpr std::size_t kMaxFillPoints = 512;

// Eight pixels of colour; pixel x of a row gets byte x mod 8, so a pattern
// lines up from row to row whatever span it fills.
using Pattern8 = std::array<std::uint8_t, 8>;

// Row span fills, 0 <= x0 <= x1 < row width (the caller clips). With a fill
// word pixel x gets byte x mod 4 of the word in memory order (byte 0 the
// low-order one); a word that repeats one colour index fills that colour.
void FillSpanWord(std::uint8_t* row, int x0, int x1, std::uint32_t fillWord);
void FillSpanPattern(std::uint8_t* row, int x0, int x1, const Pattern8& pattern);
// The part of `rect` inside the rows gets `fillWord`.
void FillRectWord(PixelRows target, const IntRect& rect, std::uint32_t fillWord);

// Random source of the highlight sparkle (a 15-bit linear congruential
// generator); each view owns one, so two views never share its state.
class SparkleRandom {
 public:
  explicit SparkleRandom(std::uint32_t seed = 1) : state_(seed) {}
  std::uint32_t Next() {
    state_ = state_ * 1103515245u + 12345u;
    return (state_ >> 16) & 0x7FFF;
  }

 private:
  std::uint32_t state_;
};

// Ramp entry for a highlight sparkle: base + round((r mod 128) / 128 * 8),
// base = colour rounded down to a multiple of 8, kept within the 8 entries
// of the ramp (the rounding alone would reach base + 8, the next ramp).
std::uint8_t SparkleEntry(std::uint8_t colour, std::uint32_t r);

// One clipped span of a polygon.
struct FillSpan {
  int y = 0;
  int x0 = 0;             // first pixel, inclusive
  int x1 = 0;             // last pixel, inclusive
  bool ownLeft = false;   // x0 is the polygon's own end of the span
  bool ownRight = false;  // x1 is the polygon's own end of the span
  bool edgeRow = false;   // y is the polygon's first or last row
};

class FillSpanSink {
 public:
  virtual void Span(const FillSpan& span) = 0;

 protected:
  ~FillSpanSink() = default;
};

// The scanline polygon filler with its edge tables, allocated once from
// handle memory and reused for every polygon. Each fill returns false,
// drawing nothing, when the filler is not allocated or the outline has more
// than kMaxFillPoints points; an empty outline or one wholly outside the
// clip draws nothing and returns true.
class PolygonFiller {
 public:
  PolygonFiller();
  ~PolygonFiller();
  PolygonFiller(const PolygonFiller&) = delete;
  PolygonFiller& operator=(const PolygonFiller&) = delete;

  // Allocates the edge tables (once; later calls keep them). False when
  // memory runs out.
  bool Allocate(HandleMemory& memory);
  bool allocated() const { return scratch_ != nullptr; }

  // Hands every span within `clip`, top to bottom and left to right, to
  // `sink` (the fills below cut `clip` to their rows first; a direct caller
  // does that itself). The sink must not use this filler.
  bool Scan(const IntRect& clip, std::span<const ScreenPoint> outline, FillSpanSink& sink);

  // Plain fill: every span in the fill word.
  bool FillPlain(PixelRows target, const IntRect& clip, std::span<const ScreenPoint> outline,
                 std::uint32_t fillWord);
  // Bordered fill: as plain, but the polygon's own first and last pixel of
  // every span and every pixel of its first and last row get `background`.
  bool FillBordered(PixelRows target, const IntRect& clip, std::span<const ScreenPoint> outline,
                    std::uint32_t fillWord, std::uint8_t background);
  // Highlight fill, stippled on absolute surface coordinates: on even rows
  // even x gets `background` and odd x `colour`; on odd rows even x gets
  // `colour` and odd x a random entry of the colour's ramp (SparkleEntry).
  bool FillHighlight(PixelRows target, const IntRect& clip, std::span<const ScreenPoint> outline,
                     std::uint8_t colour, std::uint8_t background, SparkleRandom& random);
  // Highlight of a bordered polygon: the stipple inside, the border of the
  // bordered fill around it.
  bool FillBorderedHighlight(PixelRows target, const IntRect& clip,
                             std::span<const ScreenPoint> outline, std::uint8_t colour,
                             std::uint8_t background, SparkleRandom& random);

 private:
  struct Scratch;
  Block block_;
  Scratch* scratch_ = nullptr;
};

}  // namespace ws
