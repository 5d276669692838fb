#include "model/color_table.h"

#include <cstdio>
#include <cstdlib>

#include "resource/byte_order.h"
#include "resource/runtime.h"

namespace ws {
namespace {

std::uint32_t Distance(const RGB16& e, std::uint16_t r, std::uint16_t g, std::uint16_t b, bool useR,
                       bool useG, bool useB) {
  std::uint32_t d = 0;
  if (useR) d += static_cast<std::uint32_t>(std::abs(int{e.red} - int{r}));
  if (useG) d += static_cast<std::uint32_t>(std::abs(int{e.green} - int{g}));
  if (useB) d += static_cast<std::uint32_t>(std::abs(int{e.blue} - int{b}));
  return d;
}

}  // namespace

std::uint8_t NearestColor(const ColorTable& table, std::uint16_t r, std::uint16_t g,
                          std::uint16_t b) {
  for (std::size_t i = 0; i < kColorCount; ++i) {
    const RGB16& e = table[i];
    if (e.red == r && e.green == g && e.blue == b) return static_cast<std::uint8_t>(i);
  }

  const bool hasR = r != 0, hasG = g != 0, hasB = b != 0;
  const int nonZero = int{hasR} + int{hasG} + int{hasB};
  if (nonZero == 1 || nonZero == 2) {
    // Stay on the requested hue: the channels asked to be zero must be zero
    // in the candidate, and in the two-channel case the other two non-zero.
    bool found = false;
    std::uint32_t best = 0;
    std::size_t bestIndex = 0;
    for (std::size_t i = 0; i < kColorCount; ++i) {
      const RGB16& e = table[i];
      bool qualifies;
      if (nonZero == 1) {
        qualifies = (hasR || e.red == 0) && (hasG || e.green == 0) && (hasB || e.blue == 0);
      } else {
        qualifies = (hasR ? e.red != 0 : e.red == 0) && (hasG ? e.green != 0 : e.green == 0) &&
                    (hasB ? e.blue != 0 : e.blue == 0);
      }
      if (!qualifies) continue;
      std::uint32_t d = Distance(e, r, g, b, hasR, hasG, hasB);
      if (!found || d < best) {
        found = true;
        best = d;
        bestIndex = i;
      }
    }
    if (found && best != 65535) return static_cast<std::uint8_t>(bestIndex);
  }

  std::uint32_t best = 0;
  std::size_t bestIndex = 0;
  for (std::size_t i = 0; i < kColorCount; ++i) {
    std::uint32_t d = Distance(table[i], r, g, b, true, true, true);
    if (i == 0 || d < best) {
      best = d;
      bestIndex = i;
    }
  }
  return static_cast<std::uint8_t>(bestIndex);
}

std::vector<std::uint8_t> EncodeClut(const ColorTable& table) {
  std::vector<std::uint8_t> out(kClutBytes, 0);
  StoreLE16(out.data(), table.count);
  for (std::size_t i = 0; i < kColorCount; ++i) {
    std::uint8_t* e = out.data() + 8 + i * 8;
    const ColorEntry& c = table.entries[i];
    StoreLE16(e, c.value);
    StoreLE16(e + 2, c.rgb.red);
    StoreLE16(e + 4, c.rgb.green);
    StoreLE16(e + 6, c.rgb.blue);
  }
  return out;
}

std::optional<ColorTable> DecodeClut(std::span<const std::uint8_t> bytes) {
  if (bytes.size() != kClutBytes) return std::nullopt;
  ColorTable table;
  table.count = LoadLE16(bytes.data());
  for (std::size_t i = 0; i < kColorCount; ++i) {
    const std::uint8_t* e = bytes.data() + 8 + i * 8;
    table.entries[i] = {LoadLE16(e), {LoadLE16(e + 2), LoadLE16(e + 4), LoadLE16(e + 6)}};
  }
  return table;
}

std::optional<ColorTable> ReadClutFromFile(ResourceFile& files, const std::string& path,
                                           std::uint32_t id) {
  OpenResource file(files, path);
  if (!file) return std::nullopt;
  auto res = files.ReadResource(file.ref(), kResClut, id);
  if (!res) return std::nullopt;
  return DecodeClut(res->bytes());
}

bool WriteClutToFile(ResourceFile& files, const std::string& path, std::uint32_t id,
                     const ColorTable& table) {
  OpenResource file(files, path);
  if (!file) return false;
  auto bytes = EncodeClut(table);
  bool ok = files.WriteResource(file.ref(), kResClut, id, bytes, kClutName);
  return file.Close() == 0 && ok;
}

std::string FormatColorLine(std::size_t index, RGB16 colour) {
  char line[64];
  std::snprintf(line, sizeof line, "%4x,%4x,%4x,%4x", static_cast<unsigned>(index),
                static_cast<unsigned>(colour.red), static_cast<unsigned>(colour.green),
                static_cast<unsigned>(colour.blue));
  std::string s(line);
  for (char& c : s) {
    if (c == ' ') c = '0';
  }
  return s;
}

std::string FormatColorLines(const ColorTable& table, std::string_view eol) {
  std::string out;
  out.reserve(kColorCount * (19 + eol.size()));
  for (std::size_t i = 0; i < kColorCount; ++i) {
    out += FormatColorLine(i, table[i]);
    out += eol;
  }
  return out;
}

DrawingColors ComputeDrawingColors(const ColorTable& table) {
  DrawingColors d;
  d.white = NearestColor(table, 65535, 65535, 65535);
  d.darkGrey = NearestColor(table, 13107, 13107, 13107);
  d.green = NearestColor(table, 0, 65535, 0);
  d.green2 = d.green;
  d.black = NearestColor(table, 0, 0, 0);
  d.lightGrey = NearestColor(table, 34952, 34952, 34952);
  d.red = NearestColor(table, 65535, 0, 0);
  d.blue = NearestColor(table, 0, 0, 65535);
  d.yellow = NearestColor(table, 65535, 65535, 0);
  d.whiteFill = FillWord(d.white);
  d.greenFill = FillWord(d.green);
  d.blackFill = FillWord(d.black);
  d.lightGreyFill = FillWord(d.lightGrey);
  d.redFill = FillWord(d.red);
  d.blueFill = FillWord(d.blue);
  d.yellowFill = FillWord(d.yellow);
  return d;
}

std::array<std::uint8_t, 256> BuildImageMap(const ColorTable& current, const ColorTable& images) {
  std::array<std::uint8_t, 256> map{};
  for (std::size_t i = 0; i < kColorCount; ++i) map[i] = NearestColor(current, images[i]);
  return map;
}

}  // namespace ws
