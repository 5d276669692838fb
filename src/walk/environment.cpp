#include "walk/environment.h"

#include <algorithm>

namespace ws::walk {

namespace {

constexpr std::uint32_t kTranslatedSkyId = 129;
constexpr std::uint32_t kGroundId = 128;
constexpr int kSkyDitherRows = 236;        // rows below this alternate two entries
constexpr std::size_t kLowSkyEntry = 118;  // the lower band's own entry
constexpr std::size_t kLastEvenSkyEntry = (kSkyDitherRows - 2) / 2 + 4;

Pattern8 Repeat(std::uint8_t value) {
  Pattern8 p;
  p.fill(value);
  return p;
}

// Entry i of a resource of 4-byte patterns, kept twice over as 8 bytes.
template <std::size_t N>
void CopyPatterns(std::array<Pattern8, N>& out, std::span<const std::uint8_t> bytes) {
  for (std::size_t i = 0; i < N && 4 * i + 4 <= bytes.size(); ++i) {
    for (std::size_t k = 0; k < 8; ++k) out[i][k] = bytes[4 * i + k % 4];
  }
}

}  // namespace

EnvironmentSource EnvironmentFrom(Model& model) {
  EnvironmentSource source;
  source.files = &model.resources;
  source.preferencesPath = model.paths.preferences;
  source.translatedFloor = model.colors.translatedFloor;
  source.animation = &model.animation;
  return source;
}

void LoadEnvironment(WalkEnvironment& env, const EnvironmentSource& source, Ui& ui) {
  env.patternC2 = Repeat(0xC2);
  env.patternFF = Repeat(0xFF);
  env.skyPresent = false;
  env.groundPresent = false;
  env.ground.fill(env.patternC2);
  if (source.files != nullptr) {
    OpenResource prefs(*source.files, source.preferencesPath);
    std::optional<Resource> sky, ground;
    if (prefs) {
      sky = source.files->ReadResource(prefs.ref(), kResSkdt, kTranslatedSkyId);
      ground = source.files->ReadResource(prefs.ref(), kResLndt, kGroundId);
    }
    prefs.Close();
    if (sky && sky->length() >= kSkyEntries * 4) {
      CopyPatterns(env.sky, sky->bytes());
      env.skyPresent = true;
    }
    if (ground && ground->length() >= kGroundEntries * 4) {
      CopyPatterns(env.ground, ground->bytes());
      env.groundPresent = true;
    }
  }
  if (!env.groundPresent) ui.ShowError(kNoGroundMessage);
  if (source.translatedFloor.size() == kFloorBytes) {
    env.floor.assign(source.translatedFloor.begin(), source.translatedFloor.end());
  } else {
    env.floor.clear();
  }
}

const Pattern8& SkyRowPattern(const WalkEnvironment& env, int r) {
  if (!env.skyPresent) return env.patternFF;
  if (r < kSkyDitherRows) {
    const int entry = r % 2 == 0 ? r / 2 + 4 : r / 2;
    return env.sky[static_cast<std::size_t>(entry)];
  }
  return env.sky[(r & 2) == 0 ? kLowSkyEntry : kLastEvenSkyEntry];
}

}  // namespace ws::walk
