#include "model/color_table.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>

#include "model/color_ops.h"
#include "resource/text_scanner.h"
#include "support/model_fixture.h"

namespace ws {
namespace {

using test::ModelFixture;

// A table of one colour everywhere except the given entries.
ColorTable Filled(RGB16 fill, std::initializer_list<std::pair<int, RGB16>> entries) {
  ColorTable t;
  for (std::size_t i = 0; i < 256; ++i) t.Set(i, fill);
  for (auto [i, c] : entries) t.Set(static_cast<std::size_t>(i), c);
  return t;
}

// The plain rule, literally: exact match; then, for a query with one or
// two nonzero components, the entries zero where it is zero (and nonzero
// where it is not, for two), unless the best is none or 65535 away; then all.
std::uint8_t ReferenceNearest(const ColorTable& t, int r, int g, int b) {
  const int q[3] = {r, g, b}, used = (r != 0) + (g != 0) + (b != 0);
  auto search = [&](bool restricted) {
    long best = -1;
    int bi = 0;
    for (int i = 0; i < 256; ++i) {
      const int e[3] = {t[i].red, t[i].green, t[i].blue};
      long d = 0;
      bool skip = false;
      for (int c = 0; c < 3; ++c) {
        skip = skip || (restricted && (q[c] ? used == 2 && !e[c] : e[c] != 0));
        d += std::labs(e[c] - q[c]);
      }
      if (!skip && (best < 0 || d < best)) best = d, bi = i;
    }
    return std::pair{best, static_cast<std::uint8_t>(bi)};
  };
  if (search(false).first == 0) return search(false).second;
  if (used == 1 || used == 2) {
    auto [best, bi] = search(true);
    if (best >= 0 && best != 65535) return bi;
  }
  return search(false).second;
}

// Ties and the 65535 escape, which random tables seldom reach.
TEST(NearestColor, TiesAndTheEscapeToTheFullSearch) {
  const std::tuple<const char*, ColorTable, RGB16, int> rows[] = {
      {"equal distances: lower index",
       Filled({65535, 65535, 65535}, {{10, {100, 100, 100}}, {11, {300, 300, 300}}}),
       RGB16{200, 200, 200}, 10},
      {"equal red distances: lower index",
       Filled({0, 65535, 0}, {{30, {1000, 0, 0}}, {31, {3000, 0, 0}}}), RGB16{2000, 0, 0}, 30},
      {"only red candidate at exactly 65535: full search",
       Filled({60000, 60000, 60000}, {{0, {0, 0, 0}}, {200, {60000, 100, 100}}}),
       RGB16{65535, 0, 0}, 200},
  };
  for (const auto& [name, table, q, expected] : rows)
    EXPECT_EQ(NearestColor(table, q.red, q.green, q.blue), expected) << name;
}

TEST(NearestColor, MatchesPlainReferenceOnRandomTables) {
  std::mt19937 rng(12345);
  // Zeros are common so that the restricted searches get exercised.
  auto component = [&]() -> std::uint16_t { return rng() % 4 == 0 ? 0 : rng() % 65536; };
  for (int round = 0; round < 200; ++round) {
    ColorTable t;
    for (std::size_t i = 0; i < 256; ++i) {
      t.Set(i, {component(), component(), component()});
    }
    for (int q = 0; q < 50; ++q) {
      int r = component(), g = component(), b = component();
      ASSERT_EQ(NearestColor(t, r, g, b), ReferenceNearest(t, r, g, b))
          << r << "," << g << "," << b;
    }
  }
}

TEST(ClutResource, LayoutIsLittleEndianWithZeroReservedBytes) {
  ColorTable t = Filled({0, 0, 0}, {{1, {0x1234, 0xABCD, 0x00FF}}});
  auto bytes = EncodeClut(t);
  std::vector<std::uint8_t> expected(2056, 0);
  expected[1] = 0x01;  // count 256
  for (std::size_t i = 0; i < 256; ++i) expected[8 + 8 * i] = static_cast<std::uint8_t>(i);
  const std::uint8_t entry1[8] = {1, 0, 0x34, 0x12, 0xCD, 0xAB, 0xFF, 0x00};
  std::copy(entry1, entry1 + 8, expected.begin() + 16);
  EXPECT_EQ(std::make_tuple(bytes, (*DecodeClut(bytes))[1]),
            std::make_tuple(expected, RGB16{0x1234, 0xABCD, 0x00FF}));
  for (std::size_t size : {2055u, 2057u}) {
    bytes.resize(size);
    EXPECT_FALSE(DecodeClut(bytes)) << size;
  }
}

// Four groups of four lowercase hex digits; the reader ignores the index
// column and needs 256 lines.
TEST(ColorText, LinesAndReader) {
  EXPECT_EQ(FormatColorLine(255, {65535, 0, 0}), "00ff,ffff,0000,0000");
  EXPECT_EQ(FormatColorLine(0, {0x0a, 0xBEEF, 0x100}), "0000,000a,beef,0100");
  std::string text;
  for (int i = 0; i < 256; ++i)
    text += FormatColorLine(255 - i, {static_cast<std::uint16_t>(i), 1, 2}) + "\n";
  TextScanner in(text);
  ColorTable t;
  ASSERT_TRUE(ReadColorTableLines(in, t));
  EXPECT_EQ(std::make_tuple(t.entries[3].value, t[3].red), std::make_tuple(3, 3));
  const std::string cut = text.substr(0, text.size() - 25);
  TextScanner shortText(cut);
  EXPECT_FALSE(ReadColorTableLines(shortText, t));
}

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

// A refused file says why and leaves the table as it was; each format
// reaches the Preferences file and the current state (only an exact ".wct"
// or ".act" is dispatched by the Load command); Save writes version 1.0.
TEST(ColorTableFiles, RefusedLoadedAndSaved) {
  ModelFixture f;
  Observer obs;
  f.m().SetObserver(&obs);
  const ColorTable original = PrefsTable(f), other = test::ShiftedColorTable(5);
  const std::string notATable = "Wirestead does not recognize that file as a color table.";
  const std::tuple<const char*, std::string, bool, std::string> rows[] = {
      {"v11.wct", WctText(other, kColorTextHeader11), true, notATable},
      {"missing.wct", "", true, "Can't open color table text import."},
      {"short.act", std::string(767, 'U'), false, notATable},
      {"missing.act", "", false, "Can't open Adobe color table for import."}};
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
  f.ui.ClearMessages();
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
  EXPECT_TRUE(ImportColorTableAct(f.m(), f.dir.File("p.ACT")));  // exactly 768 bytes
  f.ui.QueueOpenPath(f.dir.File("p.act"));
  LoadColorTable(f.m());
  EXPECT_EQ(std::make_tuple(PrefsTable(f)[0], PrefsTable(f).entries[9].value),
            std::make_tuple(RGB16{0x8080, 0xFFFF, 0x0101}, 9));
  LoadColorTable(f.m());  // cancelled: nothing happens
  EXPECT_EQ(std::make_tuple(f.ui.Messages().size(), f.ui.busy()), std::make_tuple(0u, false));
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
