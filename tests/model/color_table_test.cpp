#include "model/color_table.h"

#include <gtest/gtest.h>

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

// The plain rule, literally: exact match, then restricted search, then full.
std::uint8_t ReferenceNearest(const ColorTable& t, int r, int g, int b) {
  for (int i = 0; i < 256; ++i) {
    if (t[i].red == r && t[i].green == g && t[i].blue == b) return static_cast<std::uint8_t>(i);
  }
  auto full = [&] {
    long best = -1;
    int bi = 0;
    for (int i = 0; i < 256; ++i) {
      long d = std::labs(t[i].red - r) + std::labs(t[i].green - g) + std::labs(t[i].blue - b);
      if (best < 0 || d < best) best = d, bi = i;
    }
    return static_cast<std::uint8_t>(bi);
  };
  long best = -1;
  int bi = 0;
  for (int i = 0; i < 256; ++i) {
    const RGB16& e = t[i];
    long d;
    if (r && !g && !b) {
      if (e.green || e.blue) continue;
      d = std::labs(e.red - r);
    } else if (!r && g && !b) {
      if (e.red || e.blue) continue;
      d = std::labs(e.green - g);
    } else if (!r && !g && b) {
      if (e.red || e.green) continue;
      d = std::labs(e.blue - b);
    } else if (r && !g && b) {
      if (e.green || !e.red || !e.blue) continue;
      d = std::labs(e.red - r) + std::labs(e.blue - b);
    } else if (!r && g && b) {
      if (e.red || !e.green || !e.blue) continue;
      d = std::labs(e.green - g) + std::labs(e.blue - b);
    } else if (r && g && !b) {
      if (e.blue || !e.red || !e.green) continue;
      d = std::labs(e.red - r) + std::labs(e.green - g);
    } else {
      return full();
    }
    if (best < 0 || d < best) best = d, bi = i;
  }
  if (best >= 0 && best != 65535) return static_cast<std::uint8_t>(bi);
  return full();
}

// Hand-worked cases of the rules the reference below follows.
TEST(NearestColor, HandWorkedCases) {
  struct Row {
    const char* name;
    ColorTable table;
    RGB16 query;
    int expected;
  } rows[] = {
      {"exact: first entry having it",
       Filled({1, 2, 3}, {{40, {500, 600, 700}}, {41, {500, 600, 700}}}),
       {500, 600, 700},
       40},
      {"pure red stays on red though (50000,1,0) is nearer",
       Filled({0, 0, 0}, {{5, {30000, 0, 0}}, {9, {60000, 0, 0}}, {20, {50000, 1, 0}}}),
       {50000, 0, 0},
       9},
      {"black without a black entry: full search",
       Filled({40000, 40000, 40000}, {{7, {10, 10, 10}}, {8, {0, 0, 5000}}}),
       {0, 0, 0},
       7},
      {"only red candidate at exactly 65535: full search",
       Filled({60000, 60000, 60000}, {{0, {0, 0, 0}}, {200, {60000, 100, 100}}}),
       {65535, 0, 0},
       200},
      {"equal distances: lower index",
       Filled({65535, 65535, 65535}, {{10, {100, 100, 100}}, {11, {300, 300, 300}}}),
       {200, 200, 200},
       10},
      {"equal red distances: lower index",
       Filled({0, 65535, 0}, {{30, {1000, 0, 0}}, {31, {3000, 0, 0}}}),
       {2000, 0, 0},
       30},
      {"two-channel search needs both channels",
       Filled({0, 0, 0}, {{3, {40000, 0, 0}}, {4, {10000, 0, 10000}}}),
       {40000, 0, 30000},
       4},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(NearestColor(r.table, r.query.red, r.query.green, r.query.blue), r.expected)
        << r.name;
  }
}

TEST(NearestColor, MatchesPlainReferenceOnRandomTables) {
  std::uint32_t seed = 12345;
  auto next = [&] {
    seed = seed * 1664525u + 1013904223u;
    return seed >> 8;
  };
  auto component = [&] {
    // Zeros are common so that the restricted searches get exercised.
    std::uint32_t k = next() % 4;
    return k == 0 ? 0 : static_cast<int>(next() % 65536);
  };
  for (int round = 0; round < 200; ++round) {
    ColorTable t;
    for (std::size_t i = 0; i < 256; ++i) {
      t.Set(i, {static_cast<std::uint16_t>(component()), static_cast<std::uint16_t>(component()),
                static_cast<std::uint16_t>(component())});
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
  ASSERT_EQ(bytes.size(), 2056u);
  EXPECT_EQ(bytes[0], 0x00);
  EXPECT_EQ(bytes[1], 0x01);  // count 256
  for (int i = 2; i < 8; ++i) EXPECT_EQ(bytes[i], 0);
  const std::uint8_t entry1[8] = {1, 0, 0x34, 0x12, 0xCD, 0xAB, 0xFF, 0x00};
  EXPECT_TRUE(std::equal(entry1, entry1 + 8, bytes.begin() + 16));
  auto back = DecodeClut(bytes);
  ASSERT_TRUE(back);
  EXPECT_EQ((*back)[1], (RGB16{0x1234, 0xABCD, 0x00FF}));
  bytes.pop_back();
  EXPECT_FALSE(DecodeClut(bytes));
}

TEST(ColorText, LinesAreFourGroupsOfFourLowercaseHexDigits) {
  EXPECT_EQ(FormatColorLine(255, {65535, 0, 0}), "00ff,ffff,0000,0000");
  EXPECT_EQ(FormatColorLine(0, {0x0a, 0xBEEF, 0x100}), "0000,000a,beef,0100");
}

TEST(ColorText, ReaderIgnoresIndexColumnAndNeeds256Lines) {
  std::string text;
  for (int i = 0; i < 256; ++i)
    text += FormatColorLine(255 - i, {static_cast<std::uint16_t>(i), 1, 2}) + "\n";
  TextScanner in(text);
  ColorTable t;
  ASSERT_TRUE(ReadColorTableLines(in, t));
  EXPECT_EQ(t.entries[3].value, 3);
  EXPECT_EQ(t[3].red, 3);
  TextScanner shortText(text.substr(0, text.size() - 25));
  EXPECT_FALSE(ReadColorTableLines(shortText, t));
}

TEST(ImageTranslation, MapUsesUnsignedIndices) {
  ColorTable current = test::SampleColorTable();
  ColorTable images = test::ShiftedColorTable(8);
  auto map = BuildImageMap(current, images);
  EXPECT_EQ(map[200], NearestColor(current, images[200]));
  // Shifted by one ramp: image colour 200 is current colour 208.
  EXPECT_EQ(map[200], 208);
}

}  // namespace
}  // namespace ws
