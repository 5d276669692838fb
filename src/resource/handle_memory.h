// Tracked block allocation ("handle memory"). Every block obtained here is
// recorded with a tag in a table of live blocks, so that a debugger or a test
// can see what is allocated and by whom. The table holds kTableCapacity
// entries; when it is full, further blocks are still handed out but no longer
// recorded (the table is diagnostic, refusing memory for it would only turn a
// bookkeeping limit into a user-visible failure).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace ws {

class HandleMemory;

// Owning view of one tracked block; releases it through FreeBlock.
class Block {
 public:
  Block() = default;
  Block(HandleMemory* owner, std::uint8_t* data, std::size_t size)
      : owner_(owner), data_(data), size_(size) {}
  Block(const Block&) = delete;
  Block& operator=(const Block&) = delete;
  Block(Block&& other) noexcept { *this = std::move(other); }
  Block& operator=(Block&& other) noexcept;
  ~Block() { reset(); }

  void reset();
  std::uint8_t* data() { return data_; }
  const std::uint8_t* data() const { return data_; }
  std::size_t size() const { return size_; }
  std::span<std::uint8_t> bytes() { return {data_, size_}; }
  std::span<const std::uint8_t> bytes() const { return {data_, size_}; }
  explicit operator bool() const { return data_ != nullptr; }

 private:
  HandleMemory* owner_ = nullptr;
  std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
};

class HandleMemory {
 public:
  static constexpr std::size_t kTableCapacity = 1000;

  struct Entry {
    void* block;
    std::uint32_t tag;
  };

  HandleMemory();
  ~HandleMemory();
  HandleMemory(const HandleMemory&) = delete;
  HandleMemory& operator=(const HandleMemory&) = delete;

  // The start-up hook of this layer; there is nothing to prepare.
  void InitMemory() {}

  // Raw interface: null when memory runs out. Zero-byte requests get a valid
  // one-byte block so that callers can tell them from failure.
  void* AllocBlock(std::size_t size, std::uint32_t tag);
  void* AllocZeroedBlock(std::size_t size, std::uint32_t tag);
  // Returns the block to the runtime, then removes its entry (entries above
  // move down one place). A block not in the table is only returned.
  void FreeBlock(void* block);

  // RAII interface over the same table; an empty Block on failure.
  Block Allocate(std::size_t size, std::uint32_t tag, bool zeroed = false);

  std::size_t LiveCount() const { return count_; }
  std::span<const Entry> Entries() const { return {entries_.data(), count_}; }
  std::size_t UntrackedCount() const { return untracked_; }

  // Test hooks: requests larger than this many bytes fail as if memory ran
  // out; after `successes` more allocations succeed, the rest fail.
  void SetFailAbove(std::optional<std::size_t> bytes) { failAbove_ = bytes; }
  void FailAfter(std::optional<std::size_t> successes) { successesLeft_ = successes; }

 private:
  void Record(void* block, std::uint32_t tag);

  std::vector<Entry> entries_;  // sized once to kTableCapacity
  std::size_t count_ = 0;
  std::size_t untracked_ = 0;
  std::optional<std::size_t> failAbove_;
  std::optional<std::size_t> successesLeft_;
  bool ShouldFail(std::size_t size);
};

}  // namespace ws
