// The WAV reader behind the sound player, on the generated sounds and on
// every truncation of one.
#include "app/sound_player.h"

#include <gtest/gtest.h>

#include "model/startup.h"
#include "platform/scripted_ui.h"
#include "support/test_support.h"

namespace ws::test {
namespace {

std::vector<std::uint8_t> GeneratedSound(int n) {
  TempDir dir;
  WriteFileBytes(dir.File("Preferences"), ReadFileBytes(BinaryDir() + "/Preferences"));
  ScriptedUi ui;
  Runtime rt(ui);
  Model model(rt);
  model.paths = Paths::FromBase(dir.path() + "/");
  LoadSounds(model);
  return model.sounds[n];
}

TEST(ParseWav, ReadsTheGeneratedSounds) {
  for (int n = 0; n < 8; ++n) {
    const std::vector<std::uint8_t> wav = GeneratedSound(n);
    ASSERT_FALSE(wav.empty()) << n;
    const std::optional<WavPcm> pcm = ParseWav(wav);
    ASSERT_TRUE(pcm.has_value()) << n;
    EXPECT_GE(pcm->channels, 1);
    EXPECT_GT(pcm->sampleRate, 0);
    EXPECT_TRUE(pcm->bitsPerSample == 8 || pcm->bitsPerSample == 16);
    EXPECT_FALSE(pcm->samples.empty());
    EXPECT_LE(pcm->samples.data() + pcm->samples.size(), wav.data() + wav.size());
  }
}

TEST(ParseWav, RefusesEveryTruncationAndForeignData) {
  const std::vector<std::uint8_t> wav = GeneratedSound(1);
  ASSERT_GT(wav.size(), 44u);
  for (std::size_t n = 0; n < wav.size(); ++n) {
    const std::optional<WavPcm> pcm = ParseWav({wav.data(), n});
    // A cut inside the data chunk is refused too: its length no longer fits.
    EXPECT_FALSE(pcm.has_value()) << n;
  }
  std::vector<std::uint8_t> other = wav;
  other[8] = 'X';  // not WAVE
  EXPECT_FALSE(ParseWav(other).has_value());
  other = wav;
  // A compressed format (not PCM) is not played.
  for (std::size_t i = 12; i + 10 < other.size(); ++i) {
    if (other[i] == 'f' && other[i + 1] == 'm' && other[i + 2] == 't') {
      other[i + 8] = 2;
      break;
    }
  }
  EXPECT_FALSE(ParseWav(other).has_value());
}

}  // namespace
}  // namespace ws::test
