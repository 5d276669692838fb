// Feeds arbitrary bytes to the resource-file reader as a file on disk, then
// exercises every operation on whatever it accepted. No resource can be
// larger than its file, so while reading the runtime refuses any block
// larger than the input: a directory entry claiming more (up to 4 GB) must
// be turned down by the size check before anything is allocated, never
// reach the allocator ("Bad data allocate").
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz_temp_dir.h"
#include "platform/scripted_ui.h"
#include "resource/resource_file.h"
#include "resource/runtime.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fuzz_support::FuzzTempDir dir("ws-fuzz-res");
  const std::string path = dir.path + "/input.res";
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  const bool written = std::fwrite(data, 1, size, f) == size;
  if (std::fclose(f) != 0 || !written) return 0;

  ws::ScriptedUi ui;
  ws::Runtime rt(ui);
  ws::ResourceFile files(rt);
  ws::RefNum ref = files.OpenResFile(path);
  if (ref != 0) {
    auto entries = files.Entries(ref);
    ui.ClearMessages();
    rt.memory.SetFailAbove(std::max(size, ws::ResourceFile::kHeaderSize));
    for (const auto& e : entries) {
      auto res = files.ReadResource(ref, e.type, e.id);
      if (res && res->length() > 0) {
        volatile std::uint8_t sink = res->bytes()[res->length() - 1];
        (void)sink;
      }
      files.CountResourcesOfType(ref, e.type);
    }
    rt.memory.SetFailAbove(std::nullopt);
    if (!ui.MessageTexts().empty()) std::abort();  // an allocation came before its size check
    const std::uint8_t payload[5] = {1, 2, 3, 4, 5};
    files.WriteResource(ref, ws::kResPinf, 0, payload, "fuzz");
    if (!entries.empty()) files.DeleteResource(ref, entries.front().type, entries.front().id);
    files.CloseResFile(ref);
    ref = files.OpenResFile(path);
    if (ref != 0) files.CloseResFile(ref);
  }
  return 0;
}
