// Fuzzes the text 3DMF form through Import3dmf: the input is the body
// after the "3DMetafile" header line, or a whole file when it starts with
// "3DMetafile" (the samples).
#include "fuzz_3dmf_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string file(reinterpret_cast<const char*>(data), size);
  if (!file.starts_with("3DMetafile"))
    file.insert(0, "3DMetafile ( 1 6 Normal tableofcontents0> )\n");
  return fuzz_support::FuzzMetafile(file);
}
