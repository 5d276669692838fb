// Colour tables: 256 entries of 16-bit RGB, the nearest-colour rule every
// importer and the renderer's images go through, the 'clut' resource layout,
// the text (.wct) and Adobe (.act) files, and the colour state derived from
// the current table.
//
// 'clut' resource (little-endian, 2,056 bytes): u16 count (256), 6 reserved
// bytes (written as zero), then 256 entries of u16 value (the index), red,
// green, blue.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "resource/resource_file.h"

namespace ws {

struct Runtime;
class Model;

inline constexpr std::size_t kColorCount = 256;
inline constexpr std::size_t kClutBytes = 2056;
inline constexpr std::uint32_t kCurrentClutId = 1000;
inline constexpr std::uint32_t kImageClutId = 2000;
inline constexpr std::string_view kClutName = "Color Table 256_1.0";
inline constexpr std::string_view kColorTextHeader10 = "[COLORS256_RGB_1.0]";
inline constexpr std::string_view kColorTextHeader11 = "[COLORS256_RGB_1.1]";

struct RGB16 {
  std::uint16_t red = 0;
  std::uint16_t green = 0;
  std::uint16_t blue = 0;
  bool operator==(const RGB16&) const = default;
};

struct ColorEntry {
  std::uint16_t value = 0;  // the entry's own index
  RGB16 rgb;
};

struct ColorTable {
  std::uint16_t count = 256;
  std::array<ColorEntry, kColorCount> entries{};

  const RGB16& operator[](std::size_t i) const { return entries[i].rgb; }
  // Entry i = (i, colour).
  void Set(std::size_t i, RGB16 colour) { entries[i] = {static_cast<std::uint16_t>(i), colour}; }
};

// Index of the entry nearest to (r, g, b): exact match first; pure and
// two-channel colours search their own hue first; otherwise, and when that
// finds nothing or only a candidate at distance exactly 65,535, the plain
// sum of absolute differences. Ties go to the lower index.
std::uint8_t NearestColor(const ColorTable& table, std::uint16_t r, std::uint16_t g,
                          std::uint16_t b);
inline std::uint8_t NearestColor(const ColorTable& table, RGB16 c) {
  return NearestColor(table, c.red, c.green, c.blue);
}

// 'clut' resource bytes. Parse refuses anything but exactly 2,056 bytes.
std::vector<std::uint8_t> EncodeClut(const ColorTable& table);
std::optional<ColorTable> DecodeClut(std::span<const std::uint8_t> bytes);

// Reads / writes 'clut' <id> of the resource file at `path`. Read: no value
// when the file or resource is missing or malformed (no message).
std::optional<ColorTable> ReadClutFromFile(ResourceFile& files, const std::string& path,
                                           std::uint32_t id);
bool WriteClutToFile(ResourceFile& files, const std::string& path, std::uint32_t id,
                     const ColorTable& table);

// The 256 colour lines shared by .wct and .wdo: "%4x,%4x,%4x,%4x" with
// spaces as zeros, each ended by `eol`.
std::string FormatColorLines(const ColorTable& table, std::string_view eol);
// One colour line as written ("00ff,ffff,0000,0000").
std::string FormatColorLine(std::size_t index, RGB16 colour);

// A colour index repeated in all four bytes of a 32-bit fill word.
constexpr std::uint32_t FillWord(std::uint8_t index) { return index * 0x01010101u; }

// Drawing colours derived from the current table (indices found with
// NearestColor) and their 32-bit fill words.
struct DrawingColors {
  std::uint8_t white = 0, darkGrey = 0, green = 0, green2 = 0, black = 0, lightGrey = 0, red = 0,
               blue = 0, yellow = 0;
  std::uint32_t whiteFill = 0, greenFill = 0, blackFill = 0, lightGreyFill = 0, redFill = 0,
                blueFill = 0, yellowFill = 0;
};
DrawingColors ComputeDrawingColors(const ColorTable& table);

// The colour state held for the editor and the renderer.
struct ColorState {
  ColorTable current;  // copy of 'clut' 1000 of the Preferences file
  DrawingColors drawing;
  std::array<std::uint8_t, 256> imageMap{};   // 'clut' 2000 index -> current index
  std::vector<std::uint8_t> translatedFloor;  // 'LPAT' 0 through imageMap, 65,536 bytes
  bool valid = false;
};

// map[i] = NearestColor(current, image palette colour i).
std::array<std::uint8_t, 256> BuildImageMap(const ColorTable& current, const ColorTable& images);

}  // namespace ws
