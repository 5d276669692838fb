#include "font.h"

#include <array>
#include <charconv>
#include <string_view>

namespace ws::prefs {
namespace {

// Glyphs are drawn on a grid 6 cells wide and 12 tall; one cell is 35 units
// across and 30 up, giving the 210 x 360 body.
constexpr double kCellX = kGlyphWidth / 6.0;
constexpr double kCellY = kGlyphHeight / 12.0;

// Strokes of each glyph, in glyph order: "x,y x,y ..." polylines in grid
// cells, separated by '|'. A stroke that meets another one mid-way does so
// at a corner of both, so the wire frame has no T-joints.
constexpr std::array<std::string_view, kGlyphCount> kStrokes = {
    // A-Z
    "0,0 1,4 3,12 5,4 6,0|1,4 5,4",
    "0,6 0,12 4,12 6,10 6,8 4,6 0,6 0,0 4,0 6,2 6,4 4,6",
    "6,10 5,12 1,12 0,10 0,2 1,0 5,0 6,2",
    "0,0 0,12 4,12 6,9 6,3 4,0 0,0",
    "6,12 0,12 0,6 0,0 6,0|0,6 4,6",
    "6,12 0,12 0,6 0,0|0,6 4,6",
    "6,10 5,12 1,12 0,10 0,2 1,0 5,0 6,2 6,5 3,5",
    "0,0 0,6 0,12|6,0 6,6 6,12|0,6 6,6",
    "1,12 3,12 5,12|3,12 3,0|1,0 3,0 5,0",
    "2,12 6,12 6,2 5,0 1,0 0,2 0,4",
    "0,0 0,5 0,12|6,12 0,5 6,0",
    "0,12 0,0 6,0",
    "0,0 0,12 3,6 6,12 6,0",
    "0,0 0,12 6,0 6,12",
    "1,0 5,0 6,2 6,10 5,12 1,12 0,10 0,2 1,0",
    "0,0 0,6 0,12 4,12 6,10 6,8 4,6 0,6",
    "1,0 5,0 6,2 6,10 5,12 1,12 0,10 0,2 1,0|3,4 6,0",
    "0,0 0,6 0,12 4,12 6,10 6,8 4,6 0,6|4,6 6,0",
    "6,10 5,12 1,12 0,10 0,8 1,6 5,6 6,4 6,2 5,0 1,0 0,2",
    "0,12 3,12 6,12|3,12 3,0",
    "0,12 0,2 1,0 5,0 6,2 6,12",
    "0,12 3,0 6,12",
    "0,12 1.5,0 3,7 4.5,0 6,12",
    "0,12 3,6 6,0|0,0 3,6 6,12",
    "0,12 3,6 6,12|3,6 3,0",
    "0,12 6,12 0,0 6,0",
    // 0-9; the zero is slashed to tell it from O
    "1,0 5,0 6,2 6,10 5,12 1,12 0,10 0,2 1,0|0,2 6,10",
    "1,10 3,12 3,0|1,0 3,0 5,0",
    "0,10 1,12 5,12 6,10 6,8 0,0 6,0",
    "0,10 1,12 5,12 6,10 6,8 4,6 6,4 6,2 5,0 1,0 0,2|2,6 4,6",
    "4,0 4,4 4,12 0,4 4,4 6,4",
    "6,12 0,12 0,7 5,7 6,5 6,2 5,0 1,0 0,2",
    "6,10 5,12 1,12 0,10 0,6 0,2 1,0 5,0 6,2 6,5 5,7 1,7 0,6",
    "0,12 6,12 2,0",
    "1,12 5,12 6,10 6,8 5,6 1,6 0,8 0,10 1,12|1,6 0,4 0,2 1,0 5,0 6,2 6,4 5,6",
    "0,2 1,0 5,0 6,2 6,10 5,12 1,12 0,10 0,7 1,5 5,5 6,7",
    // '-', ',', '.'
    "1,6 5,6",
    "3,2 3,0 2,-2",
    "2.5,0 3.5,0 3.5,1 2.5,1 2.5,0",
};

double ParseNumber(std::string_view text) {
  // Grid values are small decimals; from_chars keeps the parse independent
  // of the locale.
  double value = 0.0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

std::uint32_t PointOf(Glyph& glyph, double x, double y) {
  for (std::uint32_t i = 0; i < glyph.points.size(); ++i) {
    if (glyph.points[i].x == x && glyph.points[i].y == y) return i;
  }
  glyph.points.push_back({x, y, 0.0});
  return static_cast<std::uint32_t>(glyph.points.size() - 1);
}

void AddVector(Glyph& glyph, std::uint32_t a, std::uint32_t b) {
  for (const auto& [p, q] : glyph.vectors) {
    if ((p == a && q == b) || (p == b && q == a)) return;
  }
  glyph.vectors.emplace_back(a, b);
}

Glyph ParseGlyph(char character, std::string_view strokes) {
  Glyph glyph{character, {}, {}};
  while (!strokes.empty()) {
    const std::size_t bar = strokes.find('|');
    std::string_view stroke = strokes.substr(0, bar);
    strokes = bar == std::string_view::npos ? std::string_view{} : strokes.substr(bar + 1);
    bool first = true;
    std::uint32_t previous = 0;
    while (!stroke.empty()) {
      const std::size_t space = stroke.find(' ');
      const std::string_view pair = stroke.substr(0, space);
      stroke = space == std::string_view::npos ? std::string_view{} : stroke.substr(space + 1);
      const std::size_t comma = pair.find(',');
      const double x = ParseNumber(pair.substr(0, comma)) * kCellX;
      const double y = ParseNumber(pair.substr(comma + 1)) * kCellY;
      const std::uint32_t point = PointOf(glyph, x, y);
      if (!first && point != previous) AddVector(glyph, previous, point);
      previous = point;
      first = false;
    }
  }
  return glyph;
}

}  // namespace

const std::string& GlyphCharacters() {
  static const std::string kCharacters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-,.";
  return kCharacters;
}

std::vector<Glyph> BuildFont() {
  std::vector<Glyph> font;
  font.reserve(kGlyphCount);
  for (std::size_t i = 0; i < kGlyphCount; ++i) {
    font.push_back(ParseGlyph(GlyphCharacters()[i], kStrokes[i]));
  }
  return font;
}

}  // namespace ws::prefs
