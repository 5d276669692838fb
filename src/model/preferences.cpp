#include "model/preferences.h"

#include <bit>
#include <cmath>

#include "resource/byte_order.h"

namespace ws {
namespace {

constexpr std::size_t kHalfWidthOffset = 24;
constexpr std::size_t kHalfHeightOffset = 32;

void StoreFlag(std::uint8_t* p, bool on) { StoreLE16(p, on ? 1 : 0); }
bool LoadFlag(const std::uint8_t* p) { return LoadLE16(p) != 0; }

double HalfSizeOr(double value, double fallback) {
  if (!std::isfinite(value) || value < kMinViewHalfSize || value > kMaxViewHalfSize)
    return fallback;
  return value;
}

}  // namespace

std::array<std::uint8_t, kPreferencesBytes> EncodePreferences(const Preferences& prefs) {
  std::array<std::uint8_t, kPreferencesBytes> out{};
  const bool flags[] = {prefs.gridShown,     prefs.axisShown,        prefs.vectorsShown,
                        prefs.perspectiveOn, prefs.polygonsShown,    prefs.soundEffectsOn,
                        prefs.thickLine,     prefs.instantViewChange};
  for (std::size_t i = 0; i < std::size(flags); ++i) StoreFlag(&out[2 * i], flags[i]);
  StoreLEF64(&out[kHalfWidthOffset], prefs.viewHalfWidth);
  StoreLEF64(&out[kHalfHeightOffset], prefs.viewHalfHeight);
  return out;
}

std::optional<Preferences> DecodePreferences(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kPreferencesBytesRead) return std::nullopt;
  const std::uint8_t* p = bytes.data();
  Preferences prefs;
  prefs.gridShown = LoadFlag(p + 0);
  prefs.axisShown = LoadFlag(p + 2);
  prefs.vectorsShown = LoadFlag(p + 4);
  prefs.perspectiveOn = LoadFlag(p + 6);
  prefs.polygonsShown = LoadFlag(p + 8);
  prefs.soundEffectsOn = LoadFlag(p + 10);
  prefs.thickLine = LoadFlag(p + 12);
  prefs.instantViewChange = LoadFlag(p + 14);
  prefs.viewHalfWidth = HalfSizeOr(LoadLEF64(p + kHalfWidthOffset), kDefaultViewHalfWidth);
  prefs.viewHalfHeight = HalfSizeOr(LoadLEF64(p + kHalfHeightOffset), kDefaultViewHalfHeight);
  return prefs;
}

Preferences ReadPreferences(ResourceFile& files, const std::string& path) {
  OpenResource file(files, path);
  if (!file) return Preferences{};
  std::optional<Resource> record = files.ReadResource(file.ref(), kResPref, kPreferencesId);
  if (!record) return Preferences{};
  return DecodePreferences(record->bytes()).value_or(Preferences{});
}

bool WritePreferences(ResourceFile& files, const std::string& path, const Preferences& prefs) {
  OpenResource file(files, path);
  if (!file) return false;
  auto bytes = EncodePreferences(prefs);
  bool ok = files.WriteResource(file.ref(), kResPref, kPreferencesId, bytes, kPreferencesName);
  return file.Close() == 0 && ok;
}

}  // namespace ws
