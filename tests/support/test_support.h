// Helpers shared by the unit tests: a private temporary directory per test
// and small file utilities.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ws::test {

// Creates a fresh directory under the system temp dir; removes it (and all
// it holds) on destruction.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string File(std::string_view name) const { return path_ + "/" + std::string(name); }

 private:
  std::string path_;
};

std::vector<std::uint8_t> ReadFileBytes(const std::string& path);
std::string ReadFileText(const std::string& path);
void WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
void WriteFileText(const std::string& path, std::string_view text);
std::uint64_t FileSizeOf(const std::string& path);
bool FileExists(const std::string& path);

// Root of the source tree and of the build tree (set by the build), so the
// test programs run from any directory.
std::string SourceDir();
std::string BinaryDir();

// A file of tests/data, by its name inside that folder.
std::string DataPath(std::string_view name);

// The shared folder of real model files beside the checkout, or "" when it
// is absent (a user's clone has none). Tests whose subject is a sample skip
// with WS_SKIP_WITHOUT_SAMPLES().
std::string SamplesDir();
// A file of the samples folder ("obj/box.obj"); "" when the folder is absent.
std::string SamplePath(std::string_view name);

}  // namespace ws::test

#define WS_SKIP_WITHOUT_SAMPLES()                                                    \
  do {                                                                               \
    if (::ws::test::SamplesDir().empty())                                            \
      GTEST_SKIP() << "samples not found: no ../shared/samples beside the checkout"; \
  } while (0)
