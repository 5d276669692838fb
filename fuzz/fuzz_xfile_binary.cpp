// Fuzzes the X binary reader; the first byte picks the form (binary with
// 32- or 64-bit floats, or either compressed form), the rest follows the
// header. An input that starts with "xof " is a whole file (the samples).
#include <cstdint>
#include <string>

#include "import/xfile/xfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static constexpr const char* kHeaders[] = {"xof 0303bin 0032", "xof 0303bin 0064",
                                             "xof 0303bzip0032", "xof 0303tzip0064"};
  std::string bytes(reinterpret_cast<const char*>(data), size);
  if (!bytes.starts_with("xof ")) bytes = kHeaders[data[0] & 3] + bytes.substr(1);
  auto r =
      ws::xfile::Read(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
                      ws::xfile::StandardTemplates());
  if (r.file) (void)ws::xfile::WriteText(r.file->objects, ws::xfile::StandardTemplates(), nullptr);
  return 0;
}
