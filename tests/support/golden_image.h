// Whole pictures compared pixel for pixel (and palette entry for entry)
// with reference PNGs under tests/golden/, for the test programs that
// compile the CLI's PNG code in (the editor's and the walk view's).
// WS_UPDATE_GOLDEN=1 rewrites the references; a mismatch leaves the
// picture drawn in <build>/golden-actual/.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "cli/png_file.h"
#include "support/test_support.h"

namespace ws::test {

inline void ExpectGoldenImage(const IndexedImage& actual, const std::string& name) {
  const std::string path = SourceDir() + "/tests/golden/" + name + ".png";
  std::string error;
  if (std::getenv("WS_UPDATE_GOLDEN")) {
    ASSERT_TRUE(WriteIndexedPng(path, actual, error)) << error;
  }
  IndexedImage expected;
  const bool read = ReadIndexedPng(path, expected, error);
  bool same = read && expected.width == actual.width && expected.height == actual.height &&
              expected.paletteSize == 256 && expected.palette == actual.palette;
  std::size_t differing = 0;
  if (same) {
    for (std::size_t i = 0; i < actual.pixels.size(); ++i)
      differing += actual.pixels[i] != expected.pixels[i];
    same = differing == 0;
  }
  if (!same) {
    const std::string dir = BinaryDir() + "/golden-actual";
    std::filesystem::create_directories(dir);
    std::string ignored;
    WriteIndexedPng(dir + "/" + name + ".png", actual, ignored);
    ADD_FAILURE() << name << ": " << (read ? "" : "no reference (" + error + "); ") << differing
                  << " pixels differ; the picture drawn is in " << dir;
  }
}

}  // namespace ws::test
