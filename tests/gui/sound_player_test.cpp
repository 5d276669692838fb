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

TEST(ParseWav, ReadsAGeneratedSoundWholeAndRefusesCutsAndForeignData) {
  const std::vector<std::uint8_t> wav = GeneratedSound(1);
  ASSERT_GT(wav.size(), 44u);
  // Whole it reads (mono, 16 bits, every sample); every cut is refused,
  // inside the data chunk too, since its length no longer fits.
  for (std::size_t n = 0; n <= wav.size(); ++n) {
    EXPECT_EQ(ParseWav({wav.data(), n}).has_value(), n == wav.size()) << n;
  }
  const std::optional<WavPcm> pcm = ParseWav(wav);
  ASSERT_TRUE(pcm.has_value());
  EXPECT_EQ(pcm->channels * 100 + pcm->bitsPerSample, 116);
  EXPECT_EQ(pcm->samples.data() + pcm->samples.size(), wav.data() + wav.size());
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
