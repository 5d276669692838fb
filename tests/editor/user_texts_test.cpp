// The exact texts the editor shows in its title, help box and messages, in
// one place; the other tests compare against the named constants.
#include <gtest/gtest.h>

#include <string>

#include "editor/editor_state.h"
#include "editor/interaction/attributes.h"
#include "editor/interaction/plot_mode.h"
#include "editor/interaction/view_zone_dialog.h"
#include "editor/shell/commands.h"
#include "editor/shell/shell_state.h"
#include "editor/view/display.h"
#include "editor/view/text_labels.h"
#include "geometry/polygon_define.h"

namespace ws {
namespace {

TEST(UserTexts, AreExactlyAsShown) {
  constexpr std::string_view kCamera =
      "Drag object to the desired position to see vectors and polygons for editing.";
  const std::pair<std::string_view, std::string_view> rows[] = {
      {ModeHelpTexts(EditorMode::kGrabColor, false).title, "Grab Color Mode"},
      {ModeHelpTexts(EditorMode::kGrabColor, false).help,
       "Grab the current color from a polygon or vector."},
      {ModeHelpTexts(EditorMode::kSetColor, false).title, "Set Color Mode"},
      {ModeHelpTexts(EditorMode::kSetColor, false).help,
       "Set the fixed color of a polygon or vector to the current color."},
      {ModeHelpTexts(EditorMode::kSelectVector, false).title, "Select Vector Mode"},
      {ModeHelpTexts(EditorMode::kSelectVector, false).help, "Select vectors for editing."},
      {ModeHelpTexts(EditorMode::kSelectPolygon, false).title, "Select Polygon Mode"},
      {ModeHelpTexts(EditorMode::kSelectPolygon, false).help,
       "Select polygons for editing. Use the Polygons menu to change attributes."},
      {ModeHelpTexts(EditorMode::kPlot, false).title, "Plot Mode"},
      {ModeHelpTexts(EditorMode::kPlot, false).help,
       "Plot endpoints to define the frame vectors of the object. Use the shift key to start a "
       "new vector."},
      {ModeHelpTexts(EditorMode::kCameraView, false).title, "Camera View Mode"},
      {ModeHelpTexts(EditorMode::kCameraView, false).help, kCamera},
      {ModeHelpTexts(EditorMode::kVirtualWalk, false).title, "Virtual Walk Mode"},
      {ModeHelpTexts(EditorMode::kVirtualWalk, false).help, kCamera},
      {ModeHelpTexts(7, false).title, "Plot Mode"},  // no such mode
      {ModeHelpTexts(EditorMode::kGrabColor, true).title, "Virtual Walk Mode"},
      {ModeHelpTexts(EditorMode::kGrabColor, true).help,
       "Use the arrows to move, page-up/down or the mouse wheel to elevate, and the space bar to "
       "return to ground zero."},
      {kTitlePlotVectors, "Plot Vectors"},
      {kHelpPlotVectors,
       "Plot endpoints to define the wire frame vectors of the object. Use the shift key to "
       "disconnect from the last vector and start a new one."},
      {kTitleInactive, "Wirestead Inactive"},
      {kHelpInactive, "Click on the dialog to reactivate Wirestead."},
      {kMsgMustPlotX, "Must plot X from FRONT/BACK/TOP/BOTTOM view"},
      {kMsgMustPlotY, "Must plot Y from FRONT/BACK/LEFT/RIGHT view"},
      {kMsgMustPlotZ, "Must plot Z from TOP/BOTTOM/LEFT/RIGHT view"},
      {kHelpSetEp1X, "Ready to set EP1 X-coordinate of this vector."},
      {kMsgOffscreenFailed, "CD_Offscreen failed."},
      {kMsgNoFillMemory, "Not enough memory for polygon filling."},
      {kMsgNoEntriesToDelete, "There are no entries to delete."},
      {kPromptGroupLeader, "Enter polygon number to adopt color from:"},
      {kPromptGridValue, "Enter grid value (1-50):"},
      {kPromptGuideWidth, "Enter Width:"},
      {kPromptGuideHeight, "Enter Height:"},
      {kMsgValueOutOfRange, "Value entered is out of range."},
  };
  for (const auto& [shown, expected] : rows) EXPECT_EQ(shown, expected);
}

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
