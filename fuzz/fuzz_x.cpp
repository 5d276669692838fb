// Fuzzes the DirectX import (text, binary and compressed files alike, as
// the header says) through the whole import path.
#include "scene_reader_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return fuzz_support::FuzzSceneReader(data, size, ".x", &ws::ImportXFile);
}
