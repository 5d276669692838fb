#include "resource/handle_memory.h"

#include <cstdlib>
#include <cstring>

namespace ws {

Block& Block::operator=(Block&& other) noexcept {
  if (this != &other) {
    reset();
    owner_ = other.owner_;
    data_ = other.data_;
    size_ = other.size_;
    other.owner_ = nullptr;
    other.data_ = nullptr;
    other.size_ = 0;
  }
  return *this;
}

void Block::reset() {
  if (data_ && owner_) owner_->FreeBlock(data_);
  owner_ = nullptr;
  data_ = nullptr;
  size_ = 0;
}

HandleMemory::HandleMemory() : entries_(kTableCapacity) {}

HandleMemory::~HandleMemory() = default;

bool HandleMemory::ShouldFail(std::size_t size) {
  if (failAbove_ && size > *failAbove_) return true;
  if (successesLeft_) {
    if (*successesLeft_ == 0) return true;
    --*successesLeft_;
  }
  return false;
}

void* HandleMemory::AllocBlock(std::size_t size, std::uint32_t tag) {
  if (ShouldFail(size)) return nullptr;
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block) Record(block, tag);
  return block;
}

void* HandleMemory::AllocZeroedBlock(std::size_t size, std::uint32_t tag) {
  if (ShouldFail(size)) return nullptr;
  void* block = std::calloc(size == 0 ? 1 : size, 1);
  if (block) Record(block, tag);
  return block;
}

void HandleMemory::Record(void* block, std::uint32_t tag) {
  if (count_ == kTableCapacity) {
    ++untracked_;
    return;
  }
  entries_[count_++] = {block, tag};
}

void HandleMemory::FreeBlock(void* block) {
  if (!block) return;
  std::free(block);
  for (std::size_t i = 0; i < count_; ++i) {
    if (entries_[i].block == block) {
      // Keep the recorded order of the others: close the gap.
      for (std::size_t k = i + 1; k < count_; ++k) entries_[k - 1] = entries_[k];
      --count_;
      entries_[count_] = {nullptr, 0};
      return;
    }
  }
  if (untracked_ > 0) --untracked_;
}

Block HandleMemory::Allocate(std::size_t size, std::uint32_t tag, bool zeroed) {
  void* p = zeroed ? AllocZeroedBlock(size, tag) : AllocBlock(size, tag);
  if (!p) return {};
  return Block(this, static_cast<std::uint8_t*>(p), size);
}

}  // namespace ws
