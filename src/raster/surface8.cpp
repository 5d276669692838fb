#include "raster/surface8.h"

#include <algorithm>
#include <cstring>

namespace ws {

namespace {

constexpr std::uint32_t kSurfacePixelsTag = 0x53524650;  // 'SRFP'
constexpr std::uint32_t kSurfaceRowsTag = 0x53524652;    // 'SRFR'

}  // namespace

IntRect Intersect(const IntRect& a, const IntRect& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

bool Surface8::Create(HandleMemory& memory, int width, int height) {
  if (width < 1 || height < 1 || width > kMaxSurfaceSide || height > kMaxSurfaceSide) {
    return false;
  }
  if (!empty() && width == width_ && height == height_) return true;
  // Free the old buffers before asking for new ones: a resize must not
  // need room for both.
  Release();
  const int stride = (width + 7) & ~7;
  const std::size_t bytes = static_cast<std::size_t>(stride) * static_cast<std::size_t>(height);
  Block pixels = memory.Allocate(bytes, kSurfacePixelsTag, true);
  if (!pixels) return false;
  Block rowTable = memory.Allocate(sizeof(std::uint8_t*) * height, kSurfaceRowsTag);
  if (!rowTable) return false;
  auto** rows = reinterpret_cast<std::uint8_t**>(rowTable.data());
  for (int y = 0; y < height; ++y) rows[y] = pixels.data() + static_cast<std::size_t>(y) * stride;
  pixels_ = std::move(pixels);
  rowTable_ = std::move(rowTable);
  rows_ = rows;
  width_ = width;
  height_ = height;
  stride_ = stride;
  return true;
}

void Surface8::Release() {
  rows_ = nullptr;
  rowTable_.reset();
  pixels_.reset();
  width_ = height_ = stride_ = 0;
}

void Surface8::Clear(std::uint8_t index) {
  for (int y = 0; y < height_; ++y) std::memset(rows_[y], index, width_);
}

void Surface8::FillRect(const IntRect& rect, std::uint8_t index) {
  const IntRect r = Intersect(rect, Bounds());
  if (r.Empty()) return;
  for (int y = r.top; y <= r.bottom; ++y)
    std::memset(rows_[y] + r.left, index, r.right - r.left + 1);
}

void Surface8::SetPalette(const ColorTable& table) {
  for (std::size_t i = 0; i < palette_.size(); ++i) {
    const RGB16& c = table[i];
    palette_[i] = {static_cast<std::uint8_t>(c.red >> 8), static_cast<std::uint8_t>(c.green >> 8),
                   static_cast<std::uint8_t>(c.blue >> 8)};
  }
}

std::uint32_t Surface8::Argb(std::size_t i) const {
  const Rgb8& c = palette_[i];
  return 0xFF000000u | (std::uint32_t{c.red} << 16) | (std::uint32_t{c.green} << 8) | c.blue;
}

bool CD_Offscreen::Create(HandleMemory& memory, int width, int height, const ColorTable& table) {
  if (!draw.Create(memory, width, height) || !shown.Create(memory, width, height)) {
    Release();
    return false;
  }
  SetPalette(table);
  return true;
}

void CD_Offscreen::Release() {
  shown.Release();
  draw.Release();
}

void CD_Offscreen::SetPalette(const ColorTable& table) {
  draw.SetPalette(table);
  shown.SetPalette(draw.palette());
}

void CD_Offscreen::Present(const IntRect& source) {
  if (empty()) return;
  const IntRect r = Intersect(source, draw.Bounds());
  if (r.Empty()) return;
  for (int y = r.top; y <= r.bottom; ++y) {
    std::memcpy(shown.Row(y) + r.left, draw.Row(y) + r.left, r.right - r.left + 1);
  }
}

}  // namespace ws
