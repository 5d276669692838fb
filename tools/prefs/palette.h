// The default 256-colour table shipped in the Preferences file, both as the
// current object table ('clut' 1000) and as the palette of the renderer's
// images ('clut' 2000).
//
// Layout: 32 ramps of 8 shades. Entry 8r is the brightest shade of ramp r
// and every further entry of the ramp is darker than the one before it (no
// channel grows, at least one shrinks), because shaded polygons walk from
// the base entry towards base + 7 as they recede. The table holds the eight
// drawing colours exactly, so the nearest-colour lookups of the editor land
// on them: white is entry 0 and black entry 255 (the low grey ramp is last),
// the greys 0x3333 and 0x8888 sit in the two grey ramps, and pure red,
// green, blue and yellow are the bases of their own ramps.
//
// Every channel is an 8-bit value times 257, so the table survives a trip
// through an 8-bit palette file unchanged.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "model/color_table.h"

namespace ws::prefs {

inline constexpr std::size_t kRampCount = 32;
inline constexpr std::size_t kRampLength = 8;

// Ramps referred to by name: the hand-drawn ones and those the
// environment images draw from.
namespace Ramp {
inline constexpr std::size_t kGreyHigh = 0;   // white .. 0x88 grey
inline constexpr std::size_t kStone = 14;     // warm paving grey
inline constexpr std::size_t kMeadow = 20;    // hazy pale green .. deep green
inline constexpr std::size_t kSkyLight = 22;  // horizon haze .. clear blue
inline constexpr std::size_t kSkyDeep = 23;   // clear blue .. zenith
inline constexpr std::size_t kGreyLow = 31;   // 0x77 grey .. black
}  // namespace Ramp

struct RampInfo {
  std::string_view name;
  std::array<std::uint8_t, 3> base;  // 8-bit red, green, blue of entry 8r
};

// The 32 ramps in table order.
const std::array<RampInfo, kRampCount>& Ramps();

// The full table: entry i = (i, colour).
ColorTable BuildPalette();

// Palette index of shade `shade` (0 brightest .. 7 darkest) of ramp `ramp`.
constexpr std::uint8_t RampIndex(std::size_t ramp, std::size_t shade) {
  return static_cast<std::uint8_t>(ramp * kRampLength + shade);
}

}  // namespace ws::prefs
