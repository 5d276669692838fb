#include "model/color_ops.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/model_fixture.h"

namespace ws {
namespace {

using test::ModelFixture;

std::string WctText(const ColorTable& t, std::string_view header = kColorTextHeader10,
                    std::string_view eol = "\r\n") {
  return std::string(header) + std::string(eol) + FormatColorLines(t, eol);
}

ColorTable PrefsTable(ModelFixture& f) {
  return *ReadClutFromFile(f.m().resources, f.m().paths.preferences, kCurrentClutId);
}

struct Observer : ModelObserver {
  int colorChanges = 0;
  void ColorTableChanged() override { ++colorChanges; }
};

TEST(ColorStateRebuild, TranslatesSkyIntoResourceAndFloorIntoMemory) {
  ModelFixture f;
  Model& m = f.m();
  // Image palette is the sample shifted by one ramp, so index v maps to v+8.
  ASSERT_EQ(std::make_tuple(m.colors.translatedFloor.size(), m.colors.imageMap[200],
                            m.colors.translatedFloor[0x1234]),
            std::make_tuple(65536u, 208, m.colors.imageMap[(0x1234 ^ 0x12) & 0xFF]));
  OpenResource prefs(m.resources, m.paths.preferences);
  auto sky = m.resources.ReadResource(prefs.ref(), kResSkdt, 129);
  ASSERT_TRUE(sky);
  ASSERT_EQ(std::make_tuple(sky->name, sky->length()), std::make_tuple("Translated Sky", 560u));
  for (std::size_t i = 0; i < 560; ++i)
    ASSERT_EQ(sky->bytes()[i], m.colors.imageMap[static_cast<std::uint8_t>(i * 7)]);
}

// Each format reaches the Preferences file and the current state; only an
// exact ".wct" or ".act" is dispatched by the Load command.
TEST(ColorTableImport, TextAndActBecomeCurrent) {
  ModelFixture f;
  Observer obs;
  f.m().SetObserver(&obs);
  ColorTable wanted = test::ShiftedColorTable(3);
  test::WriteFileText(f.dir.File("t.wct"), WctText(wanted, kColorTextHeader10, "\n"));
  f.ui.QueueOpenPath(f.dir.File("t.wct"));
  LoadColorTable(f.m());
  EXPECT_EQ(std::make_tuple(EncodeClut(PrefsTable(f)), f.m().colors.current[17], obs.colorChanges),
            std::make_tuple(EncodeClut(wanted), wanted[17], 1));
  std::vector<std::uint8_t> act(772, 0);  // with the optional 4-byte trailer
  act[0] = 0x80, act[1] = 0xFF, act[2] = 0x01;
  test::WriteFileBytes(f.dir.File("p.act"), act);
  test::WriteFileBytes(f.dir.File("p.ACT"), std::vector<std::uint8_t>(768, 0x20));
  f.ui.QueueOpenPath(f.dir.File("p.ACT"));  // not exactly ".act": ignored
  LoadColorTable(f.m());
  EXPECT_EQ(f.m().colors.current[17], wanted[17]);
  f.ui.QueueOpenPath(f.dir.File("p.act"));
  LoadColorTable(f.m());
  EXPECT_EQ(std::make_tuple(PrefsTable(f)[0], PrefsTable(f).entries[9].value),
            std::make_tuple(RGB16{0x8080, 0xFFFF, 0x0101}, 9));
  LoadColorTable(f.m());  // cancelled: nothing happens
  EXPECT_EQ(std::make_tuple(f.ui.Messages().size(), f.ui.busy()), std::make_tuple(0u, false));
}

TEST(ColorTableImport, RefusalsSayWhyAndLeaveTheTableAsItWas) {
  ModelFixture f;
  const ColorTable original = PrefsTable(f), other = test::ShiftedColorTable(5);
  const std::string notATable = "Wirestead does not recognize that file as a color table.";
  // clang-format off
  const std::tuple<const char*, std::string, bool, std::string> rows[] = {
      {"v11.wct", WctText(other, kColorTextHeader11), true, notATable},
      {"missing.wct", "", true, "Can't open color table text import."},
      {"short.act", std::string(767, 'U'), false, notATable},
      {"missing.act", "", false, "Can't open Adobe color table for import."}};
  // clang-format on
  for (const auto& [name, text, isText, message] : rows) {
    if (!text.empty()) test::WriteFileText(f.dir.File(name), text);
    f.ui.ClearMessages();
    EXPECT_FALSE(isText ? ImportColorTableText(f.m(), f.dir.File(name))
                        : ImportColorTableAct(f.m(), f.dir.File(name)));
    EXPECT_EQ(std::make_tuple(f.ui.MessageTexts(), PrefsTable(f)[40], f.m().colors.current[40],
                              f.ui.busy()),
              std::make_tuple(std::vector<std::string>{message}, original[40], original[40], false))
        << name;
  }
}

TEST(SaveColorTable, WritesVersion10TextAndAppendsExtension) {
  ModelFixture f;
  f.ui.QueueSavePath(f.dir.File("mine"));
  SaveColorTableAs(f.m());
  EXPECT_EQ(test::ReadFileText(f.dir.File("mine.wct")), WctText(PrefsTable(f)));
  // A name that already ends in .wct keeps it; the file reads back in.
  f.ui.QueueSavePath(f.dir.File("again.wct"));
  SaveColorTableAs(f.m());
  EXPECT_TRUE(ImportColorTableText(f.m(), f.dir.File("again.wct")) && f.ui.Messages().empty());
}

}  // namespace
}  // namespace ws
