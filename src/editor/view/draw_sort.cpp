#include "editor/view/draw_sort.h"

#include <array>
#include <bit>
#include <cassert>
#include <cstring>

#include "editor/view/software_view.h"

namespace ws {

namespace {

constexpr int kDigitBits = 11;
constexpr int kDigitCount = (64 + kDigitBits - 1) / kDigitBits;  // 6
constexpr std::uint32_t kBuckets = 1u << kDigitBits;

// Maps a double to an unsigned integer of the same order.
std::uint64_t OrderedBits(double key) {
  if (key == 0.0) key = 0.0;  // -0.0 sorts with 0.0
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(key);
  return (bits & 0x8000000000000000ull) != 0 ? ~bits : bits | 0x8000000000000000ull;
}

std::uint32_t Digit(std::uint64_t bits, int d) {
  return static_cast<std::uint32_t>(bits >> (d * kDigitBits)) & (kBuckets - 1);
}

}  // namespace

void SortDrawItems(std::span<DrawItem> items, std::span<DrawItem> scratch) {
  const std::size_t n = items.size();
  if (n < 2) return;
  assert(scratch.size() >= n);
  // One pass counts every digit; a digit whose keys all fall in one bucket
  // orders nothing and is skipped.
  std::array<std::array<std::uint32_t, kBuckets>, kDigitCount> counts{};
  for (const DrawItem& item : items) {
    const std::uint64_t bits = OrderedBits(item.key);
    for (int d = 0; d < kDigitCount; ++d) ++counts[d][Digit(bits, d)];
  }
  DrawItem* from = items.data();
  DrawItem* to = scratch.data();
  for (int d = 0; d < kDigitCount; ++d) {
    std::array<std::uint32_t, kBuckets>& c = counts[d];
    bool trivial = false;
    for (std::uint32_t b = 0; b < kBuckets; ++b) {
      if (c[b] == 0) continue;
      trivial = c[b] == n;
      break;
    }
    if (trivial) continue;
    std::uint32_t sum = 0;
    for (std::uint32_t b = 0; b < kBuckets; ++b) {
      const std::uint32_t count = c[b];
      c[b] = sum;
      sum += count;
    }
    for (std::size_t i = 0; i < n; ++i) to[c[Digit(OrderedBits(from[i].key), d)]++] = from[i];
    std::swap(from, to);
  }
  if (from != items.data()) std::memcpy(items.data(), from, n * sizeof(DrawItem));
}

}  // namespace ws
