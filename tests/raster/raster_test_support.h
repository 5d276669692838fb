// Drawing targets for the raster tests: a pixel area surrounded by guard
// bytes, so that a write outside the area shows up, and a text picture of
// the area for readable expectations.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "raster/surface8.h"

namespace ws::test {

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

  // True when no byte around the area has changed.
  bool GuardsIntact() const {
    for (int y = -kGuard; y < height_ + kGuard; ++y) {
      for (int x = -kGuard; x < width_ + kGuard; ++x) {
        const bool inside = x >= 0 && x < width_ && y >= 0 && y < height_;
        if (!inside && bytes_[Index(x, y)] != kGuardValue) return false;
      }
    }
    return true;
  }

  // One line per row; pixel values 0, 1 and 2 show as '.', '#' and 'o',
  // any other as '?'.
  std::string Picture() const {
    const std::string legend = ".#o";
    std::string s;
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) {
        const std::uint8_t v = At(x, y);
        s += v < legend.size() ? legend[v] : '?';
      }
      s += '\n';
    }
    return s;
  }

 private:
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y + kGuard) * stride_ + (x + kGuard);
  }

  int width_;
  int height_;
  int stride_;
  std::vector<std::uint8_t> bytes_;
  std::vector<std::uint8_t*> rows_;
};

// Joins picture rows given one per argument into the Picture() form.
inline std::string Rows(std::initializer_list<const char*> rows) {
  std::string s;
  for (const char* r : rows) {
    s += r;
    s += '\n';
  }
  return s;
}

}  // namespace ws::test
