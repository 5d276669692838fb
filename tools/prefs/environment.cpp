#include "environment.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "palette.h"

namespace ws::prefs {
namespace {

// Order in which the four pixels of a pattern switch to the next colour, so
// that two of four alternate rather than pair up.
constexpr std::array<int, 4> kPatternOrder = {0, 2, 1, 3};

constexpr std::array<std::array<int, 4>, 4> kBayer4 = {{
    {0, 8, 2, 10},
    {12, 4, 14, 6},
    {3, 11, 1, 9},
    {15, 7, 13, 5},
}};

// One four-pixel pattern at continuous position `p` along `stops`.
std::array<std::uint8_t, 4> DitherPattern(const std::vector<std::uint8_t>& stops, double p) {
  const double last = static_cast<double>(stops.size() - 1);
  p = std::clamp(p, 0.0, last);
  const std::size_t i = std::min(static_cast<std::size_t>(p), stops.size() - 1);
  const double frac = p - static_cast<double>(i);
  std::array<std::uint8_t, 4> pattern{};
  for (std::size_t j = 0; j < 4; ++j) {
    const double threshold = (kPatternOrder[j] + 0.5) / 4.0;
    const bool next = frac > threshold && i + 1 < stops.size();
    pattern[j] = stops[next ? i + 1 : i];
  }
  return pattern;
}

// Colours from the top of the view to the horizon: the deep sky ramp from
// its darkest shade up, then the light one, ending in the haze.
std::vector<std::uint8_t> SkyStops() {
  std::vector<std::uint8_t> stops;
  for (std::size_t k = kRampLength; k-- > 0;) stops.push_back(RampIndex(Ramp::kSkyDeep, k));
  for (std::size_t k = kRampLength; k-- > 0;) stops.push_back(RampIndex(Ramp::kSkyLight, k));
  return stops;
}

std::vector<std::uint8_t> GroundStops() {
  std::vector<std::uint8_t> stops;
  // A touch of horizon haze first, so the ground meets the sky softly.
  stops.push_back(RampIndex(Ramp::kSkyLight, 2));
  for (std::size_t k = 0; k < kRampLength; ++k) stops.push_back(RampIndex(Ramp::kMeadow, k));
  return stops;
}

// Integer hash for the deterministic texture noise.
std::uint32_t Hash(std::uint32_t x, std::uint32_t y, std::uint32_t seed) {
  std::uint32_t h = x * 0x8DA6B343u ^ y * 0xD8163841u ^ seed * 0xCB1AB31Fu;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  h *= 0x297A2D39u;
  h ^= h >> 15;
  return h;
}

double Unit(std::uint32_t h) { return (h & 0xFFFFFF) / static_cast<double>(0x1000000); }

// Smooth value noise in [0, 1) that repeats every `periodX` x `periodY`
// cells of `cell` texels, so the tile wraps without a seam.
double ValueNoise(double x, double y, int cell, int periodX, int periodY, std::uint32_t seed) {
  const double fx = x / cell, fy = y / cell;
  const int ix = static_cast<int>(std::floor(fx)), iy = static_cast<int>(std::floor(fy));
  const double tx = fx - ix, ty = fy - iy;
  const double sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
  auto at = [&](int cx, int cy) {
    const int wx = ((cx % periodX) + periodX) % periodX;
    const int wy = ((cy % periodY) + periodY) % periodY;
    return Unit(Hash(static_cast<std::uint32_t>(wx), static_cast<std::uint32_t>(wy), seed));
  };
  const double top = at(ix, iy) + (at(ix + 1, iy) - at(ix, iy)) * sx;
  const double bottom = at(ix, iy + 1) + (at(ix + 1, iy + 1) - at(ix, iy + 1)) * sx;
  return top + (bottom - top) * sy;
}

}  // namespace

std::vector<std::uint8_t> BuildSky() {
  const std::vector<std::uint8_t> stops = SkyStops();
  const double last = static_cast<double>(stops.size() - 1);
  // Pattern 121 is the last the row rule reaches before the horizon band.
  constexpr double kHorizonPattern = 121.0;
  std::vector<std::uint8_t> sky;
  sky.reserve(kSkyPatterns * kPatternBytes);
  for (std::size_t e = 0; e < kSkyPatterns; ++e) {
    const double t = std::min(1.0, static_cast<double>(e) / kHorizonPattern);
    // The top row looks about 45 degrees up, so it starts a little above the
    // darkest shade; the sky pales faster towards the horizon.
    const double p = 2.0 + (last - 2.0) * std::pow(t, 1.6);
    for (std::uint8_t v : DitherPattern(stops, p)) sky.push_back(v);
  }
  return sky;
}

std::vector<std::uint8_t> BuildGround() {
  const std::vector<std::uint8_t> stops = GroundStops();
  const double last = static_cast<double>(stops.size() - 1);
  std::vector<std::uint8_t> ground;
  ground.reserve(kGroundPatterns * kPatternBytes);
  for (std::size_t e = 0; e < kGroundPatterns; ++e) {
    const double t = static_cast<double>(e) / static_cast<double>(kGroundPatterns - 1);
    // Distance shrinks quickly just below the horizon, so the haze lifts
    // over the first patterns and the rest deepens slowly.
    const double p = last * std::pow(t, 0.6);
    for (std::uint8_t v : DitherPattern(stops, p)) ground.push_back(v);
  }
  return ground;
}

std::vector<std::uint8_t> BuildFloor() {
  // Square paving stones of 64 texels with a 2-texel grout joint, each stone
  // of its own tone, mottled by noise and lit from the top left.
  constexpr int kStone = 64;
  constexpr int kJoint = 2;
  constexpr int kStonesX = static_cast<int>(kFloorWidth) / kStone;     // 4
  constexpr int kStonesY = static_cast<int>(kFloorTileRows) / kStone;  // 2
  constexpr std::array<double, kStonesX* kStonesY> kTone = {1.3, 2.2, 1.8, 2.6, 2.4, 1.5, 2.8, 1.9};
  std::vector<std::uint8_t> floor(kFloorBytes);
  for (int y = 0; y < static_cast<int>(kFloorTileRows); ++y) {
    for (int x = 0; x < static_cast<int>(kFloorWidth); ++x) {
      const int sx = x % kStone, sy = y % kStone;
      const int stone = (y / kStone) * kStonesX + x / kStone;
      std::uint8_t v;
      if (sx < kJoint || sy < kJoint) {
        // Grout: dark, with a little grit.
        const double grit =
            Unit(Hash(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y), 7));
        v = RampIndex(Ramp::kGreyLow, grit < 0.25 ? 2 : 3);
      } else {
        const double coarse = ValueNoise(x, y, 16, kFloorWidth / 16, kFloorTileRows / 16, 1);
        const double fine = ValueNoise(x, y, 4, kFloorWidth / 4, kFloorTileRows / 4, 2);
        double shade = kTone[stone] + 1.6 * (coarse - 0.5) + 0.9 * (fine - 0.5);
        // Bevel: the first row and column inside the joint catch the light,
        // the last ones fall into shadow.
        if (sx == kJoint || sy == kJoint) shade -= 1.2;
        if (sx == kStone - 1 || sy == kStone - 1) shade += 1.2;
        const double threshold = (kBayer4[y & 3][x & 3] + 0.5) / 16.0;
        const double base = std::floor(shade);
        int level = static_cast<int>(base) + ((shade - base) > threshold ? 1 : 0);
        level = std::clamp(level, 0, 5);
        v = RampIndex(Ramp::kStone, static_cast<std::size_t>(level));
      }
      floor[static_cast<std::size_t>(y) * kFloorWidth + static_cast<std::size_t>(x)] = v;
    }
  }
  // The lower half repeats the sampled tile.
  std::copy_n(floor.begin(), kFloorTileRows * kFloorWidth,
              floor.begin() + static_cast<std::ptrdiff_t>(kFloorTileRows * kFloorWidth));
  return floor;
}

std::vector<std::uint8_t> FloorToRgb(const std::vector<std::uint8_t>& floor,
                                     const ColorTable& palette) {
  std::vector<std::uint8_t> rgb;
  rgb.reserve(floor.size() * 3);
  for (std::uint8_t v : floor) {
    const RGB16& c = palette[v];
    rgb.push_back(static_cast<std::uint8_t>(c.red >> 8));
    rgb.push_back(static_cast<std::uint8_t>(c.green >> 8));
    rgb.push_back(static_cast<std::uint8_t>(c.blue >> 8));
  }
  return rgb;
}

}  // namespace ws::prefs
