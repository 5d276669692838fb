// Fuzzes the glTF reader through the whole import path (binary inputs
// reach the container parser, everything else the text one).
#include "scene_reader_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return fuzz_support::FuzzSceneReader(data, size, ".gltf", &ws::ImportGltf);
}
