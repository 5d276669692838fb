// Fuzzes the VRML reader through the whole import path.
#include "scene_reader_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return fuzz_support::FuzzSceneReader(data, size, ".wrl", &ws::ImportVrml);
}
