#include "editor/text_labels.h"

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

TEST(TextLabelTable, EveryModeKeepsItsExactLines) {
  const struct {
    int mode;
    bool walk;
    int walkEdit;
    std::size_t count, line;
    const char* text;
  } rows[] = {
      {EditorMode::kSelectVector, false, 0, 18, 17, "control key  \t- move second endpoint only"},
      {EditorMode::kSelectVector, false, 0, 18, 9, "Delete        - delete selected objects"},
      {EditorMode::kGrabColor, false, 0, 13, 12, "shift key     - move first endpoint only"},
      {EditorMode::kSelectPolygon, false, 0, 18, 17, "control key   - move second endpoint only"},
      {EditorMode::kCameraView, false, 0, 13, 0, nullptr},
      {EditorMode::kPlot, false, 0, 15, 0, nullptr},
      {EditorMode::kPlot, true, kWalkEditViewZones, 14, 6,
       "Left Click       - set high vz-sorting priority"},
      {EditorMode::kPlot, true, kWalkEditFlipFace, 13, 6,
       "Left Click       - alternate front/back face"},
  };
  std::array<QuickCommandLine, 47> lines{};
  for (const auto& r : rows) {
    ASSERT_EQ(QuickCommandLines(r.mode, r.walk, r.walkEdit, lines), r.count) << r.mode;
    if (r.text) {
      EXPECT_EQ(lines[r.line].text, r.text) << r.mode;
    }
  }
  // A short output span is filled, never overrun.
  std::array<QuickCommandLine, 4> few{};
  EXPECT_EQ(QuickCommandLines(EditorMode::kPlot, false, 0, few), 4u);
}

TEST(TextLabelTable, LongTextIsCutAndIndexesAreChecked) {
  TextLabels labels;
  ASSERT_TRUE(labels.Set(5, std::string(255, 'A'), 0, 0, 0, 1, 0, 1.0));
  EXPECT_EQ(labels.entries()[5].Text(), std::string(255, 'A'));
  ASSERT_TRUE(labels.Set(49, std::string(256, 'B'), 0, 0, 0, 1, 0, 1.0));
  EXPECT_EQ(labels.entries()[49].Text(), std::string(255, 'B'));
  EXPECT_FALSE(labels.Set(50, "x", 0, 0, 0, 1, 0, 1.0));
  labels.Clear();
  EXPECT_FALSE(labels.entries()[5].used());
}

}  // namespace
}  // namespace ws
