// Thin file primitives over POSIX descriptors, the whole-file copy, and the
// write-then-rename save that every writer of user files goes through.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ws {

struct Runtime;

// Move-only owner of an open descriptor; closes on destruction.
class FileHandle {
 public:
  FileHandle() = default;
  explicit FileHandle(int fd) : fd_(fd) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  FileHandle(FileHandle&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  FileHandle& operator=(FileHandle&& other) noexcept;
  ~FileHandle();

  bool valid() const { return fd_ >= 0; }
  explicit operator bool() const { return valid(); }
  int fd() const { return fd_; }

 private:
  int fd_ = -1;
};

// Opens an existing file for reading and writing; invalid handle on failure.
FileHandle OpenFileRW(const std::string& path);
// Opens an existing file for reading only.
FileHandle OpenFileRead(const std::string& path);
// Creates or truncates a file for writing.
FileHandle CreateFileTruncated(const std::string& path);

// One read or write of exactly `count` bytes at the current position.
bool ReadBytes(FileHandle& file, void* buffer, std::size_t count);
bool WriteBytes(FileHandle& file, const void* buffer, std::size_t count);
bool SeekTo(FileHandle& file, std::uint64_t offset);
bool SeekToEnd(FileHandle& file);
std::optional<std::uint64_t> FileSize(FileHandle& file);
bool TruncateFile(FileHandle& file, std::uint64_t size);
void CloseFile(FileHandle& file);

// Copies source over destination in one piece. A source that cannot be opened
// is skipped silently; read and write failures show "Error reading file." /
// "Error writing file." as General Errors.
void CopyWholeFile(Runtime& rt, const std::string& source, const std::string& destination);

// Whole-file helpers.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path);
bool FileExists(const std::string& path);

// Writes `bytes` to a temporary file beside `path` and renames it over
// `path`, so an interrupted save never leaves a torn file. False on failure,
// with the target untouched.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);

// Flushes `from` to the disk and renames it over `to`: the last step of an
// edit made in a copy. False on failure, with `to` untouched.
bool ReplaceFileWith(const std::string& to, const std::string& from);

}  // namespace ws
