// The growable lists of the face collector: a table of 1,000 block
// pointers with 500 entries per block, blocks allocated as the count grows.
// One list therefore holds at most 500,000 entries; an append past that is
// refused (false), never stored.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>

namespace ws {

template <class T>
class BlockArray {
 public:
  static constexpr std::size_t kBlockEntries = 500;
  static constexpr std::size_t kMaxBlocks = 1000;
  static constexpr std::size_t kCapacity = kBlockEntries * kMaxBlocks;  // 500,000

  BlockArray() = default;
  BlockArray(const BlockArray&) = delete;
  BlockArray& operator=(const BlockArray&) = delete;
  BlockArray(BlockArray&& other) noexcept { *this = std::move(other); }
  BlockArray& operator=(BlockArray&& other) noexcept {
    if (this != &other) {
      blocks_ = std::move(other.blocks_);
      count_ = std::exchange(other.count_, 0);
      capacity_ = std::exchange(other.capacity_, 0);
    }
    return *this;
  }

  std::size_t size() const { return count_; }
  bool empty() const { return count_ == 0; }
  bool full() const { return count_ == kCapacity; }
  // Room for `n` more entries.
  bool HasRoom(std::size_t n) const { return n <= kCapacity - count_; }

  bool Append(const T& value) {
    if (count_ == kCapacity) return false;
    if (count_ == capacity_) {
      blocks_[count_ / kBlockEntries] = std::make_unique<T[]>(kBlockEntries);
      capacity_ += kBlockEntries;
    }
    (*this)[count_++] = value;
    return true;
  }
  // Drops the last entry (the block stays allocated for reuse).
  void PopBack() {
    if (count_ > 0) --count_;
  }
  const T& back() const { return (*this)[count_ - 1]; }
  T& back() { return (*this)[count_ - 1]; }

  // Callers index below size().
  T& operator[](std::size_t i) { return blocks_[i / kBlockEntries][i % kBlockEntries]; }
  const T& operator[](std::size_t i) const { return blocks_[i / kBlockEntries][i % kBlockEntries]; }

  // Frees every block.
  void Clear() {
    for (std::size_t b = 0; b * kBlockEntries < capacity_; ++b) blocks_[b].reset();
    count_ = 0;
    capacity_ = 0;
  }

 private:
  std::array<std::unique_ptr<T[]>, kMaxBlocks> blocks_{};
  std::size_t count_ = 0;
  std::size_t capacity_ = 0;
};

}  // namespace ws
