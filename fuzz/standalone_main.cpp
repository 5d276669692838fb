// Runs one fuzz target's LLVMFuzzerTestOneInput over kept inputs, without
// libFuzzer, so that the ordinary test build replays every seed and every
// past finding. Arguments are files or folders (walked recursively, in
// name order); a path that does not exist, or a run that feeds no input at
// all, is a failure rather than a quiet pass.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::filesystem::path> InputsUnder(const std::filesystem::path& arg) {
  std::vector<std::filesystem::path> files;
  if (std::filesystem::is_directory(arg)) {
    for (const auto& e : std::filesystem::recursive_directory_iterator(arg)) {
      if (e.is_regular_file()) files.push_back(e.path());
    }
    std::sort(files.begin(), files.end());
  } else if (std::filesystem::is_regular_file(arg)) {
    files.push_back(arg);
  }
  return files;
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t fed = 0;
  for (int i = 1; i < argc; ++i) {
    if (!std::filesystem::exists(argv[i])) {
      std::fprintf(stderr, "no such input: %s\n", argv[i]);
      return 2;
    }
    for (const auto& path : InputsUnder(argv[i])) {
      std::ifstream in(path, std::ios::binary);
      const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
      // An empty file still gets a valid (non-null) pointer, as libFuzzer gives.
      static const std::uint8_t kNone = 0;
      const auto* data =
          bytes.empty() ? &kNone : reinterpret_cast<const std::uint8_t*>(bytes.data());
      std::fprintf(stderr, "%s\n", path.c_str());
      LLVMFuzzerTestOneInput(data, bytes.size());
      ++fed;
    }
  }
  if (fed == 0) {
    std::fprintf(stderr, "no inputs\n");
    return 2;
  }
  std::printf("%zu inputs ran\n", fed);
  return 0;
}
