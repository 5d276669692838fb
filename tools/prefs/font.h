// The vector font of the editor's text labels: 39 stroke glyphs, A-Z as
// glyphs 0-25, 0-9 as 26-35, '-' 36, ',' 37 and '.' 38 (lower-case letters
// use the capitals). Labels advance 285 units per character; every glyph
// stands on the baseline y = 0 with its left edge at x = 0, capitals and
// digits 360 units tall and 210 wide, the comma dipping 60 below the line.
// Glyphs are plain wire frames (points and vectors, no polygons) in the
// plane z = 0, y up.
//
// Each glyph is stored in the Preferences file as an object in the cluster
// layout ('PINF', 'PNTS', 'TVCT'; id = glyph number, name = the character);
// together they stay within the glyph store of 700 points, 700 vectors and
// 20 polygons.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace ws::prefs {

inline constexpr std::size_t kGlyphCount = 39;
inline constexpr double kGlyphAdvance = 285.0;
inline constexpr double kGlyphWidth = 210.0;
inline constexpr double kGlyphHeight = 360.0;

struct GlyphPoint {
  double x, y, z;
};

struct Glyph {
  char character;
  std::vector<GlyphPoint> points;
  // Vector ends, numbered from 0 within this glyph's points.
  std::vector<std::pair<std::uint32_t, std::uint32_t>> vectors;
};

// The characters in glyph order: "ABC...Z0123456789-,.".
const std::string& GlyphCharacters();

// All 39 glyphs in glyph order.
std::vector<Glyph> BuildFont();

}  // namespace ws::prefs
