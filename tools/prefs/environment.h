// The walk view's environment images, all stored as indices of the default
// palette (the renderer translates them into the current table):
//
// 'SKDT' 128: 140 four-pixel patterns. The renderer fills screen row r (from
//   the top) with pattern r/2 + 4 on even rows and r/2 on odd rows up to row
//   235, then alternates patterns 118 and 121 down to the horizon. Pattern 0
//   is therefore the top of the view and the patterns pale towards the
//   horizon; from 121 on they hold the horizon haze.
// 'LNDT' 128: 231 four-pixel ground patterns, pattern 0 just below the
//   horizon (hazy, pale) and later patterns nearer the viewer (deeper green).
// 'LPAT' 0: the 65,536-byte floor texture, 256 texels wide. The renderer
//   samples a 256 x 128 tile (7 bits of row, 8 of column); the second 128
//   rows repeat the first, so the texture tiles seamlessly whether it is
//   read as 256 x 128 or 256 x 256.
//
// Each pattern mixes two neighbouring colours of a gradient with an ordered
// dither, so a smooth band needs no more than the palette's ramps.
#pragma once

#include <cstdint>
#include <vector>

#include "model/color_table.h"

namespace ws::prefs {

inline constexpr std::size_t kSkyPatterns = 140;
inline constexpr std::size_t kGroundPatterns = 231;
inline constexpr std::size_t kPatternBytes = 4;
inline constexpr std::size_t kFloorWidth = 256;
inline constexpr std::size_t kFloorHeight = 256;
inline constexpr std::size_t kFloorTileRows = 128;  // rows the renderer samples
inline constexpr std::size_t kFloorBytes = kFloorWidth * kFloorHeight;

std::vector<std::uint8_t> BuildSky();     // 560 bytes
std::vector<std::uint8_t> BuildGround();  // 924 bytes
std::vector<std::uint8_t> BuildFloor();   // 65,536 bytes, row-major

// The floor as 24-bit RGB through `palette` (row-major, top row first,
// 3 bytes per texel in red, green, blue order).
std::vector<std::uint8_t> FloorToRgb(const std::vector<std::uint8_t>& floor,
                                     const ColorTable& palette);

}  // namespace ws::prefs
