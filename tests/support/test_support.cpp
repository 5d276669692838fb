#include "support/test_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace ws::test {

TempDir::TempDir() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "wirestead-test-XXXXXX").string();
  std::vector<char> buf(tmpl.begin(), tmpl.end());
  buf.push_back('\0');
  if (!mkdtemp(buf.data())) throw std::runtime_error("mkdtemp failed");
  path_ = buf.data();
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string ReadFileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
  const std::string text = ReadFileText(path);
  return {text.begin(), text.end()};
}

// Files are removed before they are rewritten: truncating a file that holds
// data makes ext4 flush it to disk on close, which turns loops that rewrite
// one file thousands of times into seconds of waiting.
void WriteFileText(const std::string& path, std::string_view text) {
  std::error_code ec;
  std::filesystem::remove(path, ec);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  WriteFileText(path, {reinterpret_cast<const char*>(bytes.data()), bytes.size()});
}

std::uint64_t FileSizeOf(const std::string& path) { return std::filesystem::file_size(path); }

std::string SourceDir() { return WS_SOURCE_DIR; }
std::string BinaryDir() { return WS_BINARY_DIR; }

std::string DataPath(std::string_view name) {
  return SourceDir() + "/tests/data/" + std::string(name);
}

std::string SamplesDir() {
  const std::string dir = SourceDir() + "/../shared/samples";
  std::error_code ec;
  return std::filesystem::is_directory(dir, ec) ? dir : std::string();
}

std::string SamplePath(std::string_view name) {
  const std::string dir = SamplesDir();
  return dir.empty() ? std::string() : dir + "/" + std::string(name);
}

bool FileExists(const std::string& path) { return std::filesystem::exists(path); }

}  // namespace ws::test
