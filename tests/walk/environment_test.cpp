// The environment of the walk view: sky, ground and floor from the
// Preferences file, and their translation into the current colour table.
#include "walk/environment.h"

#include <gtest/gtest.h>

#include "model/color_ops.h"
#include "render_fixture.h"
#include "resource/file_io.h"

namespace ws {
namespace {

using test::WalkFixture;
using namespace walk;

void DeleteFromPreferences(Model& m, ResType type, std::uint32_t id) {
  OpenResource prefs(m.resources, m.paths.preferences);
  m.resources.DeleteResource(prefs.ref(), type, id);
}

// Each 4-byte entry is kept as an 8-byte pattern, the 4 bytes twice.
TEST(WalkEnvironment, ReadsSkyGroundAndFloor) {
  WalkFixture f;
  ASSERT_EQ(f.Build(), "");
  const WalkEnvironment& env = f.w().environment;
  OpenResource prefs(f.m().resources, f.m().paths.preferences);
  auto sky = f.m().resources.ReadResource(prefs.ref(), kResSkdt, 129);
  auto ground = f.m().resources.ReadResource(prefs.ref(), kResLndt, 128);
  ASSERT_TRUE(sky && ground);
  for (std::size_t i : {std::size_t{0}, std::size_t{77}, kSkyEntries - 1}) {
    for (std::size_t k = 0; k < 8; ++k)
      ASSERT_EQ(env.sky[i][k], sky->bytes()[4 * i + k % 4]) << i << "/" << k;
  }
  for (std::size_t i : {std::size_t{0}, kGroundEntries - 1}) {
    for (std::size_t k = 0; k < 8; ++k)
      ASSERT_EQ(env.ground[i][k], ground->bytes()[4 * i + k % 4]) << i;
  }
  EXPECT_EQ(std::make_tuple(env.skyPresent, env.groundPresent, env.patternC2[5], env.patternFF[0],
                            env.floor, f.ui.Messages().empty()),
            std::make_tuple(true, true, 0xC2, 0xFF, f.m().colors.translatedFloor, true));
}

// Without 'SKDT' 129 the world builds silently with the sky absent (rows
// in the 0xFF pattern); without 'LNDT' 128 the build says so and goes on
// with the 0xC2 pattern.
TEST(WalkEnvironment, MissingSkyIsSilentMissingGroundIsReported) {
  WalkFixture noSky;
  DeleteFromPreferences(noSky.m(), kResSkdt, 129);
  ASSERT_EQ(noSky.Build(), "");
  noSky.Frame();
  EXPECT_EQ(std::make_tuple(noSky.w().environment.skyPresent, noSky.ui.Messages().empty(),
                            noSky.Pixel(5, 5)),
            std::make_tuple(false, true, 0xFF));

  WalkFixture noGround;
  DeleteFromPreferences(noGround.m(), kResLndt, 128);
  ASSERT_EQ(noGround.Build(), "");
  ASSERT_EQ(noGround.ui.Messages().size(), 1u);
  EXPECT_EQ(noGround.ui.Messages()[0],
            (RecordedMessage{"General Error", "Can't find LNDT resource."}));
  EXPECT_EQ(std::make_tuple(noGround.w().built, noGround.w().environment.ground[3][1]),
            std::make_tuple(true, 0xC2));
}

// Loading a colour table rewrites 'SKDT' 129 "Translated Sky" through the
// new table, and the next build draws with it.
TEST(WalkEnvironment, LoadingAColourTableTranslatesTheSky) {
  WalkFixture f;
  ColorTable reversed;
  for (std::size_t i = 0; i < 256; ++i) reversed.Set(i, f.m().colors.current[255 - i]);
  const std::string path = f.dir.File("reversed.wct");
  ASSERT_TRUE(WriteColorTableText(f.m(), path));  // the current table, for its header and layout
  ASSERT_TRUE(StoreCurrentColorTable(f.m(), reversed));
  OpenResource prefs(f.m().resources, f.m().paths.preferences);
  auto before = f.m().resources.ReadResource(prefs.ref(), kResSkdt, 129);
  prefs.Close();
  ASSERT_TRUE(before);
  ASSERT_TRUE(ImportColorTableText(f.m(), path));  // back to the original table
  OpenResource again(f.m().resources, f.m().paths.preferences);
  auto after = f.m().resources.ReadResource(again.ref(), kResSkdt, 129);
  auto untranslated = f.m().resources.ReadResource(again.ref(), kResSkdt, 128);
  again.Close();
  ASSERT_TRUE(after && untranslated);
  EXPECT_EQ(after->name, "Translated Sky");
  std::size_t changed = 0;
  for (std::size_t i = 0; i < 560; ++i) {
    ASSERT_EQ(after->bytes()[i], f.m().colors.imageMap[untranslated->bytes()[i]]) << i;
    changed += after->bytes()[i] != before->bytes()[i];
  }
  EXPECT_GT(changed, 280u);
  ASSERT_EQ(f.Build(), "");
  EXPECT_EQ(f.w().environment.sky[10][6], after->bytes()[42]);
}

// The two-entry dither above row 236 and the alternating band below.
TEST(WalkEnvironment, SkyRowsUseTheirEntries) {
  WalkFixture f;
  ASSERT_EQ(f.Build(), "");
  const WalkEnvironment& env = f.w().environment;
  const std::pair<int, std::size_t> rows[] = {
      {0, 4},     {1, 0},     {2, 5},     {100, 54},  {101, 50},  {234, 121}, {235, 117},
      {236, 118}, {237, 118}, {238, 121}, {239, 121}, {240, 118}, {599, 121}};
  for (const auto& [r, entry] : rows) EXPECT_EQ(&SkyRowPattern(env, r), &env.sky[entry]) << r;
}

}  // namespace
}  // namespace ws
