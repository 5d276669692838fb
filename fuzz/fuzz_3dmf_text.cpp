// Fuzzes the text 3DMF form through Import3dmf: the input is the body
// after the "3DMetafile" header line.
#include "fuzz_3dmf_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return fuzz_support::FuzzMetafile("3DMetafile ( 1 6 Normal tableofcontents0> )\n" +
                                    std::string(reinterpret_cast<const char*>(data), size));
}
