// Fuzzes the X text reader; whatever it reads must write out as text and
// read back to the same text. The input is the body after the text header,
// or a whole file when it starts with "xof " (the sample files).
#include <cstdint>
#include <string>

#include "import/xfile/xfile.h"

namespace {
ws::xfile::ReadResult ReadText(const std::string& s) {
  return ws::xfile::Read(std::span(reinterpret_cast<const std::uint8_t*>(s.data()), s.size()),
                         ws::xfile::StandardTemplates());
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  if (!text.starts_with("xof ")) text.insert(0, "xof 0303txt 0032\n");
  auto first = ReadText(text);
  if (!first.file) return 0;
  ws::xfile::TemplateRegistry reg = ws::xfile::StandardTemplates();
  for (const auto& t : first.file->declared) reg.Add(t);
  auto written = ws::xfile::WriteText(first.file->objects, reg, nullptr);
  if (!written) return 0;  // objects of undeclared templates
  auto second = ws::xfile::Read(
      std::span(reinterpret_cast<const std::uint8_t*>(written->data()), written->size()), reg);
  if (!second.file || ws::xfile::WriteText(second.file->objects, reg, nullptr) != written)
    __builtin_trap();
  return 0;
}
