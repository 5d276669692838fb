// Open-addressing indexes used by the geometry module in place of the
// pairwise searches of the table operations (both keep the first, lowest,
// index inserted for a key, which is what the linear searches return), and
// the renumbering that one compaction pass applies in place of many
// one-record deletions. Internal to src/geometry.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

#include "model/object_tables.h"

namespace ws::detail {

inline std::uint64_t Mix64(std::uint64_t h) {
  h ^= h >> 33;
  h *= 0xff51afd7ed558ccdULL;
  h ^= h >> 33;
  h *= 0xc4ceb9fe1a85ec53ULL;
  h ^= h >> 33;
  return h;
}

inline std::size_t TableSizeFor(std::size_t entries) { return std::bit_ceil(entries * 2 + 16); }

// Unordered pair of point numbers -> lowest vector number holding it.
class PairIndex {
 public:
  explicit PairIndex(std::size_t expected)
      : keys_(TableSizeFor(expected), kEmpty), values_(keys_.size()), mask_(keys_.size() - 1) {}

  static std::uint64_t Key(std::uint32_t a, std::uint32_t b) {
    if (a > b) std::swap(a, b);
    return (std::uint64_t{a} << 32) | b;
  }

  // The value stored for the pair, or `value` after storing it there.
  std::uint32_t FindOrInsert(std::uint32_t a, std::uint32_t b, std::uint32_t value) {
    const std::uint64_t key = Key(a, b);
    if (key == kEmpty) {
      if (!hasEmptyKey_) {
        hasEmptyKey_ = true;
        emptyKeyValue_ = value;
      }
      return emptyKeyValue_;
    }
    for (std::size_t slot = Mix64(key) & mask_;; slot = (slot + 1) & mask_) {
      if (keys_[slot] == kEmpty) {
        keys_[slot] = key;
        values_[slot] = value;
        return value;
      }
      if (keys_[slot] == key) return values_[slot];
    }
  }

  std::uint32_t Find(std::uint32_t a, std::uint32_t b) const {
    const std::uint64_t key = Key(a, b);
    if (key == kEmpty) return hasEmptyKey_ ? emptyKeyValue_ : kNoIndex;
    for (std::size_t slot = Mix64(key) & mask_;; slot = (slot + 1) & mask_) {
      if (keys_[slot] == kEmpty) return kNoIndex;
      if (keys_[slot] == key) return values_[slot];
    }
  }

 private:
  // Marks a free slot. The one pair with this key, (~0, ~0), names no
  // point, but a damaged table may hold it, so it is kept aside.
  static constexpr std::uint64_t kEmpty = ~std::uint64_t{0};
  std::vector<std::uint64_t> keys_;
  std::vector<std::uint32_t> values_;
  std::size_t mask_;
  bool hasEmptyKey_ = false;
  std::uint32_t emptyKeyValue_ = 0;
};

// Point coordinates -> lowest point number with exactly those coordinates,
// compared as doubles (0.0 equals -0.0; a NaN equals nothing).
class PointIndex {
 public:
  PointIndex(const Point* points, std::size_t expected)
      : points_(points), slots_(TableSizeFor(expected), kNoIndex), mask_(slots_.size() - 1) {}

  // The earliest stored point equal to point i, or i after storing it.
  std::uint32_t FindOrInsert(std::uint32_t i) {
    const Point& p = points_[i];
    if (p.x != p.x || p.y != p.y || p.z != p.z) return i;  // NaN: never equal
    for (std::size_t slot = Hash(p) & mask_;; slot = (slot + 1) & mask_) {
      const std::uint32_t held = slots_[slot];
      if (held == kNoIndex) {
        slots_[slot] = i;
        return i;
      }
      const Point& q = points_[held];
      if (q.x == p.x && q.y == p.y && q.z == p.z) return held;
    }
  }

 private:
  static std::uint64_t Bits(double v) {
    v += 0.0;  // -0.0 hashes as 0.0, since they compare equal
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
  }
  static std::uint64_t Hash(const Point& p) {
    return Mix64(Bits(p.x) ^ Mix64(Bits(p.y) ^ Mix64(Bits(p.z))));
  }

  const Point* points_;
  std::vector<std::uint32_t> slots_;
  std::size_t mask_;
};

// New number of every index of a table after removing the records whose
// `keep` entry is 0, as repeated one-record deletions would leave it: an
// index past the table drops by the number of records removed.
class Renumbering {
 public:
  Renumbering(std::uint32_t base, std::uint32_t count) : base_(base), count_(count) {
    next_.resize(count - base);
  }
  // Call once per index from base upward, saying whether it stays.
  void Set(std::uint32_t i, bool keep) {
    next_[i - base_] = keep ? base_ + kept_ : kNoIndex;
    if (keep) ++kept_;
  }
  std::uint32_t Map(std::uint32_t r) const {
    if (r < base_) return r;
    if (r >= count_) return r - removed();
    return next_[r - base_];
  }
  std::uint32_t removed() const { return count_ - base_ - kept_; }
  std::uint32_t newCount() const { return base_ + kept_; }

 private:
  std::uint32_t base_, count_, kept_ = 0;
  std::vector<std::uint32_t> next_;
};

}  // namespace ws::detail
