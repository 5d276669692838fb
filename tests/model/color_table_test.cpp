#include "model/color_table.h"

#include <gtest/gtest.h>

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
  // clang-format off
  const std::tuple<const char*, ColorTable, RGB16, int> rows[] = {
      {"equal distances: lower index", Filled({65535, 65535, 65535}, {{10, {100, 100, 100}}, {11, {300, 300, 300}}}), {200, 200, 200}, 10},
      {"equal red distances: lower index", Filled({0, 65535, 0}, {{30, {1000, 0, 0}}, {31, {3000, 0, 0}}}), {2000, 0, 0}, 30},
      {"only red candidate at exactly 65535: full search", Filled({60000, 60000, 60000}, {{0, {0, 0, 0}}, {200, {60000, 100, 100}}}), {65535, 0, 0}, 200},
  };
  // clang-format on
  for (const auto& [name, table, q, expected] : rows)
    EXPECT_EQ(NearestColor(table, q.red, q.green, q.blue), expected) << name;
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
  EXPECT_EQ(std::make_tuple(t.entries[3].value, t[3].red), std::make_tuple(3, 3));
  const std::string cut = text.substr(0, text.size() - 25);
  TextScanner shortText(cut);
  EXPECT_FALSE(ReadColorTableLines(shortText, t));
}

}  // namespace
}  // namespace ws
