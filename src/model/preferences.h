// The preferences record 'PREF' 128 "Preferences" of the Preferences file:
// the display switches kept between runs and the guide-frame half sizes.
//
// 80 bytes, little-endian:
//   +0 i16 grid shown (default 1)        +2 i16 axis shown (1)
//   +4 i16 vectors shown (1)             +6 i16 perspective on (0)
//   +8 i16 polygons shown (1)            +10 i16 sound effects on (1)
//   +12 i16 thick line (0)               +14 i16 instant view change (0)
//   +16..23 unwritten
//   +24 f64 view half-width (100.0)      +32 f64 view half-height (150.0)
//   +40..79 unwritten
// Unwritten bytes are written as zero.
//
// Read when the editor initialises, written at exit and by Start New
// Cluster. Reading never fails: a missing or short record gives the
// defaults, and a half size that is not a number the "Set" prompts could
// have produced (1 to 5,000, the integer half of 2 to 10,000) falls back to
// its default, so a damaged record cannot reach the drawing code.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "resource/resource_file.h"

namespace ws {

inline constexpr std::uint32_t kPreferencesId = 128;
inline constexpr std::string_view kPreferencesName = "Preferences";
inline constexpr std::size_t kPreferencesBytes = 80;
inline constexpr std::size_t kPreferencesBytesRead = 40;
inline constexpr double kDefaultViewHalfWidth = 100.0;
inline constexpr double kDefaultViewHalfHeight = 150.0;
// The "Enter Width:" / "Enter Height:" prompts accept 2 to 10,000 and keep
// the integer half.
inline constexpr double kMinViewHalfSize = 1.0;
inline constexpr double kMaxViewHalfSize = 5000.0;

struct Preferences {
  bool gridShown = true;
  bool axisShown = true;
  bool vectorsShown = true;
  bool perspectiveOn = false;
  bool polygonsShown = true;
  bool soundEffectsOn = true;
  bool thickLine = false;
  bool instantViewChange = false;
  double viewHalfWidth = kDefaultViewHalfWidth;
  double viewHalfHeight = kDefaultViewHalfHeight;
  bool operator==(const Preferences&) const = default;
};

std::array<std::uint8_t, kPreferencesBytes> EncodePreferences(const Preferences& prefs);
// No value when the record is shorter than the 40 bytes that are read.
std::optional<Preferences> DecodePreferences(std::span<const std::uint8_t> bytes);

// 'PREF' 128 of the resource file at `path`, or the defaults when the file
// or the record is missing or short.
Preferences ReadPreferences(ResourceFile& files, const std::string& path);
// Writes 'PREF' 128 "Preferences"; false when the file cannot be opened or
// the write is refused.
bool WritePreferences(ResourceFile& files, const std::string& path, const Preferences& prefs);

}  // namespace ws
