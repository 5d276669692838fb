#include "editor/view/text_labels.h"

#include <gtest/gtest.h>

#include <string>

#include "editor/editor_state.h"

namespace ws {
namespace {

TEST(GlyphMapping, LettersDigitsAndThreeMarks) {
  const std::pair<char, unsigned> rows[] = {{'A', 0},  {'Z', 25}, {'a', 0},  {'z', 25}, {'0', 26},
                                            {'9', 35}, {'-', 36}, {',', 37}, {'.', 38}};
  for (const auto& [c, glyph] : rows) EXPECT_EQ(GlyphForCharacter(c), glyph) << c;
  for (char c : std::string(" \t/:@[`{~\x7f\xC4")) EXPECT_FALSE(GlyphForCharacter(c)) << int(c);
}

TEST(TextLabelTable, LongTextIsCutAndTheLastIndexIsTheLimit) {
  TextLabels labels;
  ASSERT_TRUE(labels.Set(49, std::string(256, 'B'), 0, 0, 0, 1, 0, 1.0));
  EXPECT_EQ(labels.entries()[49].Text(), std::string(255, 'B'));
  EXPECT_FALSE(labels.Set(50, "x", 0, 0, 0, 1, 0, 1.0));
}

}  // namespace
}  // namespace ws
