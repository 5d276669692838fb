#include "palette.h"

#include <cmath>

namespace ws::prefs {
namespace {

using Rgb8 = std::array<std::uint8_t, 3>;
using Shades = std::array<Rgb8, kRampLength>;

// Ramps whose shades are drawn by hand rather than scaled from the base: the
// greys must hit 0x88, 0x33 and 0 exactly, and the sky and meadow ramps are
// gradients the environment images blend along, so they also change hue.
struct ExplicitRamp {
  std::size_t ramp;
  Shades shades;
};

const std::array<ExplicitRamp, 5>& ExplicitRamps() {
  static const std::array<ExplicitRamp, 5> kRamps = {{
      {Ramp::kGreyHigh,
       {{{0xFF, 0xFF, 0xFF},
         {0xEE, 0xEE, 0xEE},
         {0xDD, 0xDD, 0xDD},
         {0xCC, 0xCC, 0xCC},
         {0xBB, 0xBB, 0xBB},
         {0xAA, 0xAA, 0xAA},
         {0x99, 0x99, 0x99},
         {0x88, 0x88, 0x88}}}},
      {Ramp::kMeadow,
       {{{0xB4, 0xCC, 0xA0},
         {0xA0, 0xC0, 0x8A},
         {0x8C, 0xB4, 0x74},
         {0x78, 0xA8, 0x5E},
         {0x66, 0x9A, 0x4C},
         {0x54, 0x8A, 0x3C},
         {0x44, 0x78, 0x2E},
         {0x36, 0x66, 0x24}}}},
      {Ramp::kSkyLight,
       {{{0xE6, 0xF0, 0xFF},
         {0xD4, 0xE8, 0xFF},
         {0xC2, 0xE0, 0xFF},
         {0xB0, 0xD6, 0xFF},
         {0x9E, 0xCC, 0xFC},
         {0x8C, 0xC2, 0xF8},
         {0x7A, 0xB6, 0xF4},
         {0x68, 0xAA, 0xF0}}}},
      {Ramp::kSkyDeep,
       {{{0x5A, 0x9C, 0xEC},
         {0x4E, 0x8E, 0xE6},
         {0x42, 0x80, 0xDE},
         {0x38, 0x72, 0xD4},
         {0x2E, 0x64, 0xC8},
         {0x26, 0x56, 0xBA},
         {0x1E, 0x48, 0xAA},
         {0x18, 0x3C, 0x9A}}}},
      {Ramp::kGreyLow,
       {{{0x77, 0x77, 0x77},
         {0x66, 0x66, 0x66},
         {0x55, 0x55, 0x55},
         {0x44, 0x44, 0x44},
         {0x33, 0x33, 0x33},
         {0x22, 0x22, 0x22},
         {0x11, 0x11, 0x11},
         {0x00, 0x00, 0x00}}}},
  }};
  return kRamps;
}

// The other ramps fall off linearly to about a quarter of the base, enough
// for depth shading to read while the far end keeps its hue.
Shades ScaledShades(const Rgb8& base) {
  Shades shades{};
  for (std::size_t k = 0; k < kRampLength; ++k) {
    const double factor = 1.0 - 0.11 * static_cast<double>(k);
    for (std::size_t c = 0; c < 3; ++c) {
      shades[k][c] = static_cast<std::uint8_t>(std::lround(base[c] * factor));
    }
  }
  return shades;
}

}  // namespace

const std::array<RampInfo, kRampCount>& Ramps() {
  static const std::array<RampInfo, kRampCount> kRamps = {{
      {"grey (light)", {0xFF, 0xFF, 0xFF}}, {"red", {0xFF, 0x00, 0x00}},
      {"green", {0x00, 0xFF, 0x00}},        {"blue", {0x00, 0x00, 0xFF}},
      {"yellow", {0xFF, 0xFF, 0x00}},       {"cyan", {0x00, 0xFF, 0xFF}},
      {"magenta", {0xFF, 0x00, 0xFF}},      {"orange", {0xFF, 0x8C, 0x00}},
      {"skin (light)", {0xFF, 0xD8, 0xB8}}, {"skin (medium)", {0xE8, 0xB0, 0x88}},
      {"skin (dark)", {0xC0, 0x80, 0x50}},  {"brown", {0x8C, 0x54, 0x28}},
      {"tan", {0xD2, 0xA8, 0x6C}},          {"sand", {0xF0, 0xE0, 0xA8}},
      {"stone", {0xC8, 0xC0, 0xB0}},        {"slate", {0xA8, 0xB4, 0xC4}},
      {"grass", {0x70, 0xC0, 0x40}},        {"forest", {0x38, 0x90, 0x40}},
      {"olive", {0xB4, 0xB4, 0x50}},        {"lime", {0xC0, 0xFF, 0x60}},
      {"meadow", {0xB4, 0xCC, 0xA0}},       {"teal", {0x30, 0xC0, 0xB0}},
      {"sky (light)", {0xE6, 0xF0, 0xFF}},  {"sky (deep)", {0x5A, 0x9C, 0xEC}},
      {"royal blue", {0x40, 0x60, 0xE0}},   {"purple", {0x98, 0x50, 0xD0}},
      {"lavender", {0xC8, 0xB8, 0xFF}},     {"pink", {0xFF, 0xA0, 0xC8}},
      {"brick", {0xC0, 0x40, 0x30}},        {"wine", {0x90, 0x30, 0x50}},
      {"gold", {0xFF, 0xC8, 0x30}},         {"grey (dark)", {0x77, 0x77, 0x77}},
  }};
  return kRamps;
}

ColorTable BuildPalette() {
  ColorTable table;
  table.count = static_cast<std::uint16_t>(kColorCount);
  for (std::size_t r = 0; r < kRampCount; ++r) {
    Shades shades = ScaledShades(Ramps()[r].base);
    for (const ExplicitRamp& e : ExplicitRamps()) {
      if (e.ramp == r) shades = e.shades;
    }
    for (std::size_t k = 0; k < kRampLength; ++k) {
      const Rgb8& c = shades[k];
      table.Set(RampIndex(r, k), RGB16{static_cast<std::uint16_t>(c[0] * 257),
                                       static_cast<std::uint16_t>(c[1] * 257),
                                       static_cast<std::uint16_t>(c[2] * 257)});
    }
  }
  return table;
}

}  // namespace ws::prefs
