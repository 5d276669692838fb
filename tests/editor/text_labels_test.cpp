#include "editor/text_labels.h"

#include <gtest/gtest.h>

#include <string>

#include "editor/editor_state.h"

namespace ws {
namespace {

TEST(GlyphMapping, LettersDigitsAndThreeMarks) {
  EXPECT_EQ(GlyphForCharacter('A'), 0u);
  EXPECT_EQ(GlyphForCharacter('Z'), 25u);
  EXPECT_EQ(GlyphForCharacter('a'), 0u);
  EXPECT_EQ(GlyphForCharacter('z'), 25u);
  EXPECT_EQ(GlyphForCharacter('0'), 26u);
  EXPECT_EQ(GlyphForCharacter('9'), 35u);
  EXPECT_EQ(GlyphForCharacter('-'), 36u);
  EXPECT_EQ(GlyphForCharacter(','), 37u);
  EXPECT_EQ(GlyphForCharacter('.'), 38u);
  for (char c : std::string(" \t/:@[`{~\x7f")) EXPECT_FALSE(GlyphForCharacter(c)) << int(c);
  EXPECT_FALSE(GlyphForCharacter(static_cast<char>(0xC4)));
}

DrawingColors Colours() {
  DrawingColors c;
  c.green2 = 16;
  c.yellow = 32;
  c.white = 0;
  return c;
}

TEST(TextLabelTable, AxisLabelsComeFirst) {
  TextLabels labels;
  labels.SetAxisLabels(Colours());
  const auto& e = labels.entries();
  EXPECT_EQ(e[0].Text(), "x");
  EXPECT_DOUBLE_EQ(e[0].x, 155.0);
  EXPECT_EQ(e[1].Text(), "y");
  EXPECT_DOUBLE_EQ(e[1].y, 165.0);
  EXPECT_EQ(e[2].Text(), "z");
  EXPECT_DOUBLE_EQ(e[2].z, -155.0);
  for (int i = 0; i < 3; ++i) {
    EXPECT_DOUBLE_EQ(e[i].scale, 0.05);
    EXPECT_EQ(e[i].colour, 16);
  }
  EXPECT_FALSE(e[3].used());
}

TEST(TextLabelTable, PlotQuickCommandsSitAtTheirHeights) {
  TextLabels labels;
  labels.Rebuild(Colours(), EditorMode::kPlot, false, kWalkEditColour);
  const double ys[] = {190, 155, 135, 115, 80, 60, 40, 20, 0, -20, -55, -75, -95, -115, -150};
  const auto& e = labels.entries();
  for (std::size_t i = 0; i < std::size(ys); ++i) {
    const TextLabel& l = e[3 + i];
    ASSERT_TRUE(l.used()) << i;
    EXPECT_DOUBLE_EQ(l.y, ys[i]) << i;
    EXPECT_DOUBLE_EQ(l.x, -190.0);
    EXPECT_DOUBLE_EQ(l.scale, 0.03);
    EXPECT_EQ(l.colour, i == 0 ? 32 : 0);  // title in the z-axis colour
  }
  EXPECT_EQ(e[3].Text(), "plot mode quick commands - F5");
  EXPECT_EQ(e[17].Text(), "shift    - disconnect from last vector");
  EXPECT_FALSE(e[18].used());
  EXPECT_EQ(e[0].Text(), "x");
}

TEST(TextLabelTable, EveryModeFitsAndKeepsItsExactLines) {
  std::array<QuickCommandLine, 47> lines{};
  for (int mode = 0; mode <= 6; ++mode) {
    const std::size_t n = QuickCommandLines(mode, false, 0, lines);
    EXPECT_GE(n, 13u) << mode;
    EXPECT_LE(n, 47u);
  }
  std::size_t n = QuickCommandLines(EditorMode::kSelectVector, false, 0, lines);
  ASSERT_EQ(n, 18u);
  EXPECT_EQ(lines[17].text, "control key  \t- move second endpoint only");
  EXPECT_EQ(lines[9].text, "Delete        - delete selected objects");
  n = QuickCommandLines(EditorMode::kGrabColor, false, 0, lines);
  ASSERT_EQ(n, 13u);
  EXPECT_EQ(lines[12].text, "shift key     - move first endpoint only");
  n = QuickCommandLines(EditorMode::kSelectPolygon, false, 0, lines);
  ASSERT_EQ(n, 18u);
  EXPECT_EQ(lines[17].text, "control key   - move second endpoint only");
  n = QuickCommandLines(EditorMode::kCameraView, false, 0, lines);
  ASSERT_EQ(n, 13u);
  // Walk mode: the lines of the walk edit mode in the middle.
  n = QuickCommandLines(EditorMode::kPlot, true, kWalkEditViewZones, lines);
  ASSERT_EQ(n, 14u);
  EXPECT_EQ(lines[6].text, "Left Click       - set high vz-sorting priority");
  n = QuickCommandLines(EditorMode::kPlot, true, kWalkEditFlipFace, lines);
  ASSERT_EQ(n, 13u);
  EXPECT_EQ(lines[6].text, "Left Click       - alternate front/back face");
  // A short output span is filled, never overrun.
  std::array<QuickCommandLine, 4> few{};
  EXPECT_EQ(QuickCommandLines(EditorMode::kPlot, false, 0, few), 4u);
}

TEST(TextLabelTable, LongTextIsCutAndIndexesAreChecked) {
  TextLabels labels;
  const std::string longText(400, 'A');
  ASSERT_TRUE(labels.Set(5, longText, 0, 0, 0, 1, 0, 1.0));
  EXPECT_EQ(labels.entries()[5].Text().size(), 255u);
  EXPECT_FALSE(labels.Set(50, "x", 0, 0, 0, 1, 0, 1.0));
  labels.Clear();
  EXPECT_FALSE(labels.entries()[5].used());
}

}  // namespace
}  // namespace ws
