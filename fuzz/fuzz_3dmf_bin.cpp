// Fuzzes the binary 3DMF form through Import3dmf. The first input byte
// picks the byte order (bit 0) and, with the next two, the table of
// contents' position; the rest is the metafile after its header object.
// An input that starts with a header object's type ("3DMF" or "FMD3") is a
// whole file (the samples).
#include "fuzz_3dmf_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string whole(reinterpret_cast<const char*>(data), size);
  if (whole.starts_with("3DMF") || whole.starts_with("FMD3"))
    return fuzz_support::FuzzMetafile(whole);
  if (size < 3) return 0;
  const bool little = data[0] & 1;
  const std::uint64_t toc = data[1] | (std::uint64_t{data[2]} << 8);
  std::string file;
  auto put = [&](std::uint64_t v, int width) {
    for (int i = 0; i < width; ++i) {
      file += static_cast<char>(v >> (8 * (little ? i : width - 1 - i)));
    }
  };
  file += little ? "FMD3" : "3DMF";
  put(16, 4);
  put(1, 2);
  put(6, 2);
  put(0, 4);
  put(toc, 8);
  file.append(reinterpret_cast<const char*>(data + 3), size - 3);
  return fuzz_support::FuzzMetafile(file);
}
