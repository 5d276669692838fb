// 8-bit palettised PNG files: the command-line renderer writes its frames
// with them and the golden-image tests read their references back. Only
// what those need: one 8-bit palette-index image with a 256-entry palette.
//
// ReadIndexedPng is safe on any file: anything but an 8-bit palette image
// (or a damaged one) is refused with a reason, never read past.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "raster/surface8.h"

namespace ws {

struct IndexedImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;  // width * height, row 0 first
  std::array<Rgb8, 256> palette{};   // entries past the file's palette are black
  std::size_t paletteSize = 0;
};

// Writes `rect` of `surface` (cut to the surface) with its palette. False
// with `error` set when the file cannot be written.
bool WriteIndexedPng(const std::string& path, const Surface8& surface, const IntRect& rect,
                     std::string& error);
bool WriteIndexedPng(const std::string& path, const IndexedImage& image, std::string& error);

bool ReadIndexedPng(const std::string& path, IndexedImage& image, std::string& error);

// The image of `rect` of a surface, for comparing.
IndexedImage CaptureImage(const Surface8& surface, const IntRect& rect);

}  // namespace ws
