#include "import/readers/dxf/dxf_colors.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace ws::dxf {
namespace {

// One component of the hue colour at angle x (degrees): a trapezoid that
// is full from 300 round to 60 and empty from 120 to 240.
double HueComponent(double x) {
  x = std::fmod(x, 360.0);
  if (x < 0) x += 360.0;
  if (x < 60) return 1.0;
  if (x < 120) return 1.0 - (x - 60) / 60;
  if (x < 240) return 0.0;
  if (x < 300) return (x - 240) / 60;
  return 1.0;
}

constexpr std::array<double, 10> kBrightness{1.0, 1.0, 0.65, 0.65, 0.5, 0.5, 0.3, 0.3, 0.15, 0.15};
constexpr std::array<double, 6> kGreys{0.33, 0.464, 0.598, 0.732, 0.866, 1.0};
constexpr std::array<ColorTriple, 10> kBasic{{{0, 0, 0},
                                              {1, 0, 0},
                                              {1, 1, 0},
                                              {0, 1, 0},
                                              {0, 1, 1},
                                              {0, 0, 1},
                                              {1, 0, 1},
                                              {1, 1, 1},
                                              {0, 0, 0},
                                              {0, 0, 0}}};

std::string Formatted(const char* format, auto... values) {
  char line[512];
  std::snprintf(line, sizeof line, format, values...);
  return line;
}

}  // namespace

ColorTriple ColorIndexToRGB(int index) {
  if (index < 0 || index > 255) return {1, 0, 0};
  if (index < 10) return kBasic[static_cast<std::size_t>(index)];
  if (index >= 250) {
    const double g = kGreys[static_cast<std::size_t>(index - 250)];
    return {g, g, g};
  }
  const int hue = (index - 10) / 10;
  const int k = (index - 10) % 10;
  const double a = 15.0 * hue;
  ColorTriple c{HueComponent(a), HueComponent(a - 120), HueComponent(a - 240)};
  for (double* v : {&c.x, &c.y, &c.z}) {
    if (k % 2 == 1) *v += (1 - *v) / 2;  // halfway to white
    *v *= kBrightness[static_cast<std::size_t>(k)];
  }
  return c;
}

int BestColorMatch(const ColorTriple& color, const Trace& trace) {
  int best = 1;
  double bestDistance = Distance(color, ColorIndexToRGB(1));
  for (int i = 0; i < 256; ++i) {
    const double d = Distance(color, ColorIndexToRGB(i));
    if (d < bestDistance) {
      best = i;
      bestDistance = d;
    }
  }
  if (trace) {
    trace(Formatted("DXF:  Best color match for %f %f %f is index %d", color.x, color.y, color.z,
                    best));
  }
  return best;
}

void LayerTable::AddLayer(std::string_view name, int color, const Trace& trace) {
  if (trace) {
    trace("DXF: +AddLayer(name=\"" + std::string(name) + "\", color=" + std::to_string(color) +
          ")");
  }
  if (!colors_.emplace(std::string(name), color).second && trace) {
    trace("DXF:  Layer exists... skipping");
  }
}

int LayerTable::LookupLayerColor(std::string_view name) const {
  const auto it = colors_.find(std::string(name));
  return it == colors_.end() ? -1 : it->second;
}

int FindColor(const LayerTable& layers, std::string_view layer, int colorIndex, bool isEntity,
              int insertColor, const Trace& trace) {
  if (trace) {
    trace("DXF:  FindColor(layer=" + std::string(layer) + ", colorIndex=" +
          std::to_string(colorIndex) + ", isEntity=" + (isEntity ? "true" : "false") +
          ", insertColor=" + std::to_string(insertColor) + ")");
  }
  if (!isEntity && (colorIndex == 256 || (colorIndex == 0 && layer == "0"))) return insertColor;
  if (colorIndex == 0) return layers.LookupLayerColor(layer);
  if (colorIndex == 256) return 7;
  return colorIndex;
}

}  // namespace ws::dxf
