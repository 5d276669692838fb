// The WAV reader behind the sound player, on the generated sounds and on
// every truncation of one.
#include "app/sound_player.h"

#include <gtest/gtest.h>

#include "model/startup.h"
#include "platform/scripted_ui.h"
#include "support/test_support.h"

namespace ws::test {
namespace {

TEST(ParseWav, ReadsAGeneratedSoundWholeAndRefusesCutsAndForeignData) {
  TempDir dir;
  WriteFileBytes(dir.File("Preferences"), ReadFileBytes(BinaryDir() + "/Preferences"));
  ScriptedUi ui;
  Runtime rt(ui);
  Model model(rt);
  model.paths = Paths::FromBase(dir.path() + "/");
  LoadSounds(model);
  const std::vector<std::uint8_t> wav = model.sounds[1];
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
  // Not WAVE, and a compressed format (not PCM, the generated sounds' "fmt "
  // chunk comes first), are not played.
  for (std::size_t at : {8, 20}) {
    std::vector<std::uint8_t> other = wav;
    other[at] = at == 8 ? 'X' : 2;
    EXPECT_FALSE(ParseWav(other).has_value()) << at;
  }
}

}  // namespace
}  // namespace ws::test
