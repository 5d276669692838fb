#include "resource/file_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "resource/runtime.h"

namespace ws {

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

FileHandle::~FileHandle() {
  if (fd_ >= 0) ::close(fd_);
}

FileHandle OpenFileRW(const std::string& path) {
  return FileHandle(::open(path.c_str(), O_RDWR | O_CLOEXEC));
}

FileHandle OpenFileRead(const std::string& path) {
  return FileHandle(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
}

FileHandle CreateFileTruncated(const std::string& path) {
  return FileHandle(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
}

bool ReadBytes(FileHandle& file, void* buffer, std::size_t count) {
  auto* out = static_cast<std::uint8_t*>(buffer);
  while (count > 0) {
    ssize_t got = ::read(file.fd(), out, count);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    out += got;
    count -= static_cast<std::size_t>(got);
  }
  return true;
}

bool WriteBytes(FileHandle& file, const void* buffer, std::size_t count) {
  const auto* in = static_cast<const std::uint8_t*>(buffer);
  while (count > 0) {
    ssize_t put = ::write(file.fd(), in, count);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    in += put;
    count -= static_cast<std::size_t>(put);
  }
  return true;
}

bool SeekTo(FileHandle& file, std::uint64_t offset) {
  return ::lseek(file.fd(), static_cast<off_t>(offset), SEEK_SET) >= 0;
}

bool SeekToEnd(FileHandle& file) { return ::lseek(file.fd(), 0, SEEK_END) >= 0; }

std::optional<std::uint64_t> FileSize(FileHandle& file) {
  struct stat st {};
  if (::fstat(file.fd(), &st) != 0) return std::nullopt;
  return static_cast<std::uint64_t>(st.st_size);
}

bool TruncateFile(FileHandle& file, std::uint64_t size) {
  return ::ftruncate(file.fd(), static_cast<off_t>(size)) == 0;
}

void CloseFile(FileHandle& file) { file = FileHandle(); }

void CopyWholeFile(Runtime& rt, const std::string& source, const std::string& destination) {
  FileHandle in = OpenFileRead(source);
  if (!in) return;
  auto size = FileSize(in);
  if (!size) return;
  Block block = rt.memory.Allocate(static_cast<std::size_t>(*size), 0);
  if (!block) return;
  if (!ReadBytes(in, block.data(), block.size())) {
    rt.ui.ShowError("Error reading file.");
    return;
  }
  CloseFile(in);
  FileHandle out = CreateFileTruncated(destination);
  if (!out || !WriteBytes(out, block.data(), block.size())) {
    rt.ui.ShowError("Error writing file.");
    return;
  }
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path) {
  FileHandle in = OpenFileRead(path);
  if (!in) return std::nullopt;
  auto size = FileSize(in);
  if (!size) return std::nullopt;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(*size));
  if (!bytes.empty() && !ReadBytes(in, bytes.data(), bytes.size())) return std::nullopt;
  return bytes;
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

namespace {

// A save that was killed before its rename leaves its temporary file (the
// target's name, ".tmp-" and six characters) behind; the next save of the
// same target clears them away.
void RemoveStaleTemporaries(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::string folder =
      slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
  const std::string prefix = path.substr(slash == std::string::npos ? 0 : slash + 1) + ".tmp-";
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name.size() == prefix.size() + 6 && name.starts_with(prefix)) {
      ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
  }
  ::closedir(dir);
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view bytes) {
  std::string tmpl = path + ".tmp-XXXXXX";
  std::vector<char> name(tmpl.begin(), tmpl.end());
  name.push_back('\0');
  int fd = ::mkstemp(name.data());
  if (fd < 0) return false;
  FileHandle out(fd);
  bool ok = WriteBytes(out, bytes.data(), bytes.size()) && ::fsync(out.fd()) == 0;
  // mkstemp creates 0600; give the file the usual permissions of a user file.
  ::fchmod(out.fd(), 0644);
  CloseFile(out);
  if (!ok || ::rename(name.data(), path.c_str()) != 0) {
    ::unlink(name.data());
    return false;
  }
  RemoveStaleTemporaries(path);
  return true;
}

bool ReplaceFileWith(const std::string& to, const std::string& from) {
  FileHandle file = OpenFileRW(from);
  if (!file || ::fsync(file.fd()) != 0) return false;
  CloseFile(file);
  return ::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace ws
