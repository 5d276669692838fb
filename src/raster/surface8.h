// The 8-bit palettised drawing surface and the off-screen pair the editor
// draws into and shows.
//
// A Surface8 is width x height pixels of one byte each (a palette index),
// addressed through a table of row pointers, with a 256-entry RGB palette.
// Rows are padded to a multiple of 8 bytes (`stride`), so a presenter can
// wrap the buffer directly as an indexed 8-bit image (QImage wants 32-bit
// aligned scanlines); the padding bytes are never drawn into. Pixels and row
// table come from handle memory and are allocated when the size changes,
// never per frame; a new surface starts all zero.
//
// Drawing goes through PixelRows, a non-owning view of rows, so that the
// raster primitives (raster.h) can draw into any buffer of that shape.
#pragma once

#include <array>
#include <cstdint>

#include "model/color_table.h"
#include "resource/handle_memory.h"

namespace ws {

// An inclusive rectangle of pixels: (left, top) to (right, bottom) both
// included, as the window system measured them. Empty when right < left or
// bottom < top.
struct IntRect {
  int left = 0;
  int top = 0;
  int right = -1;
  int bottom = -1;

  bool Empty() const { return right < left || bottom < top; }
  bool Contains(long long x, long long y) const {
    return x >= left && x <= right && y >= top && y <= bottom;
  }
  bool operator==(const IntRect&) const = default;
};

IntRect Intersect(const IntRect& a, const IntRect& b);

// A projected point in surface pixels; it may lie anywhere, far off the
// surface included.
struct ScreenPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  bool operator==(const ScreenPoint&) const = default;
};

// Rows of `width` writable pixels each; rows[y] is valid for 0 <= y < height.
struct PixelRows {
  std::uint8_t* const* rows = nullptr;
  int width = 0;
  int height = 0;

  IntRect Bounds() const { return {0, 0, width - 1, height - 1}; }
};

struct Rgb8 {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  bool operator==(const Rgb8&) const = default;
};

// Largest width or height a surface may have: far beyond any window, and
// small enough that width * height and every coordinate sum stay in range.
inline constexpr int kMaxSurfaceSide = 16384;

class Surface8 {
 public:
  Surface8() = default;
  Surface8(const Surface8&) = delete;
  Surface8& operator=(const Surface8&) = delete;

  // Makes the surface width x height (each 1..kMaxSurfaceSide). The same
  // size keeps the buffer and its pixels; a new size allocates a zeroed one.
  // False on a bad size (the surface stays as it was) or when memory runs
  // out (the old buffer was released first, so the surface is then empty).
  // `memory` must outlive the surface.
  bool Create(HandleMemory& memory, int width, int height);
  void Release();

  bool empty() const { return rows_ == nullptr; }
  int width() const { return width_; }
  int height() const { return height_; }
  // Bytes from one row to the next; a multiple of 8.
  int stride() const { return stride_; }
  IntRect Bounds() const { return {0, 0, width_ - 1, height_ - 1}; }

  // The whole buffer, stride * height bytes, row 0 first.
  std::uint8_t* pixels() { return pixels_.data(); }
  const std::uint8_t* pixels() const { return pixels_.data(); }
  std::uint8_t* Row(int y) { return rows_[y]; }
  const std::uint8_t* Row(int y) const { return rows_[y]; }
  std::uint8_t At(int x, int y) const { return rows_[y][x]; }
  PixelRows Target() { return {rows_, width_, height_}; }

  // Every pixel (not the row padding) gets `index`.
  void Clear(std::uint8_t index);
  // The part of `rect` inside the surface gets `index`.
  void FillRect(const IntRect& rect, std::uint8_t index);

  // Palette entry i is the table's colour i with each 16-bit channel cut to
  // its high byte (exact for channels that are an 8-bit value times 257).
  void SetPalette(const ColorTable& table);
  void SetPalette(const std::array<Rgb8, 256>& palette) { palette_ = palette; }
  const std::array<Rgb8, 256>& palette() const { return palette_; }
  // Entry i as 0xAARRGGBB with full alpha (the presenter's colour table).
  std::uint32_t Argb(std::size_t i) const;

 private:
  Block pixels_;
  Block rowTable_;
  std::uint8_t** rows_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  int stride_ = 0;
  std::array<Rgb8, 256> palette_{};
};

// The editor's off-screen surface: the draw buffer that every drawing
// writes, and the bitmap that is shown, of equal size and one palette.
// Present copies a rectangle of the draw buffer into the bitmap; the window
// then shows the bitmap (the presenter reads `shown`).
class CD_Offscreen {
 public:
  // Both buffers width x height with the palette from `table`. False on a
  // bad size or when memory runs out (both buffers are then released).
  bool Create(HandleMemory& memory, int width, int height, const ColorTable& table);
  void Release();
  bool empty() const { return draw.empty(); }

  void SetPalette(const ColorTable& table);
  // Copies the rows of `source` (clipped to the surface) from the draw
  // buffer into the shown bitmap at the same place.
  void Present(const IntRect& source);

  Surface8 draw;
  Surface8 shown;
};

}  // namespace ws
