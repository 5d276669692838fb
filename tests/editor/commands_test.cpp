#include "editor/shell/commands.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "editor/shell/command_ids.h"
#include "editor/shell/menu_state.h"
#include "editor/shell/menu_table.h"
#include "shell_fixture.h"

namespace ws {
namespace {

using test::ShellFixture;

// Digits past the int range saturate; 2^64 + 5 shows a wrap-around.
TEST(LeadingInteger, ReadsTheLeadingDecimalNumber) {
  // clang-format off
  const std::pair<const char*, int> rows[] = {
      {"25", 25}, {"  42 units", 42}, {"-1", -1}, {"abc", 0}, {"", 0}, {"x12", 0},
      {"99999999999999999999", INT_MAX}, {"-99999999999999999999", INT_MIN},
      {"18446744073709551621", INT_MAX}};
  // clang-format on
  for (const auto& [text, value] : rows) EXPECT_EQ(LeadingInteger(text), value) << text;
}

class CommandsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(f.FirstTick().laidOut); }
  bool Run(int id) { return f.registry.Dispatch(f.ctx, id); }
  ShellFixture f;
};

TEST_F(CommandsTest, SetUnitsAndGuideFrameAskAgainUntilInRange) {
  for (const char* v : {"51", "0", "50"}) f.ui.QueueValue(v);
  EXPECT_TRUE(Run(Cmd::kSetUnits));
  EXPECT_EQ(std::make_tuple(f.ui.MessageTexts(), f.ui.Prompts(), f.editor.display.view.gridStep,
                            f.shell.redraw),
            std::make_tuple(std::vector<std::string>(2, std::string(kMsgValueOutOfRange)),
                            std::vector<std::string>(3, std::string(kPromptGridValue)), 50, true));
  // Cancel, and -1 which reads as Cancel, keep the step.
  f.ui.QueueValue(std::nullopt);
  Run(Cmd::kSetUnits);
  f.ui.QueueValue("-1");
  Run(Cmd::kSetUnits);
  EXPECT_EQ(f.editor.display.view.gridStep, 50);
  f.ui.QueueValue("1");
  Run(Cmd::kSetUnits);
  EXPECT_EQ(f.editor.display.view.gridStep, 1);
  // The guide frame takes 2 to 10000 and keeps the integer halves.
  f.ui.ClearMessages();
  for (const char* v : {"10001", "10000", "1", "3"}) f.ui.QueueValue(v);
  Run(Cmd::kSetGuideFrame);
  EXPECT_EQ(f.ui.MessageTexts().size(), 2u);
  const std::string w(kPromptGuideWidth), h(kPromptGuideHeight);
  EXPECT_EQ(std::vector<std::string>(f.ui.Prompts().end() - 4, f.ui.Prompts().end()),
            (std::vector<std::string>{w, w, h, h}));
  EXPECT_EQ(std::make_tuple(
                f.editor.display.options.guideHalfWidth, f.editor.display.options.guideHalfHeight,
                CurrentPreferences(f.ctx).viewHalfWidth, f.editor.model.preferences.viewHalfHeight),
            std::make_tuple(5000.0, 1.0, 5000.0, 1.0));
}

// An item's expected state: enabled, and checked (-1: not looked at).
struct Item { int id; bool enabled; int checked; };

TEST(MenuState, ItemsFollowTheInputs) {
  constexpr std::uint32_t kUniform = PolyFlag::kCollision | PolyFlag::kBordered |
                                     PolyFlag::kShaded | PolyFlag::kNeverDrawBackFace;
  const struct { const char* name; std::function<void(MenuInputs&)> set; std::vector<Item> items; } rows[] = {
      // clang-format off
      {"no snapshot, one object, no polygon", [](MenuInputs&) {}, {{Cmd::kUndo, false, -1}, {Cmd::kDeleteFromCluster, false, -1}, {Cmd::kTessellate, false, 0}, {Cmd::kFlipPolygonFace, false, 0}, {Cmd::kClearViewZoneList, false, 0}, {Cmd::kStyleBordered, false, 0}, {Cmd::kPurposeCollision, false, 0}, {Cmd::kColorShaded, false, 0}}},
      {"snapshot, exactly two objects", [](MenuInputs& in) { in.undo = {"Undo Plot\tCtrl+Z", true}; in.objectCount = 2; }, {{Cmd::kUndo, true, -1}, {Cmd::kDeleteFromCluster, true, -1}}},
      {"different flags: enabled, nothing checked", [](MenuInputs& in) { in.polygons = {2, false, 0}; }, {{Cmd::kStyleNormal, true, 0}, {Cmd::kStyleBordered, true, 0}, {Cmd::kColorSelected, true, 0}, {Cmd::kColorShaded, true, 0}, {Cmd::kColorAdopted, true, 0}, {Cmd::kColorEachSide, true, 0}, {Cmd::kVisibilityNormal, true, 0}, {Cmd::kVisibilityInvisible, true, 0}, {Cmd::kVisibilityNeverBackFace, true, 0}, {Cmd::kVisibilityNotFromCollision, true, 0}, {Cmd::kVisibilityHigherPriority, true, 0}, {Cmd::kPurposeNormal, true, 0}, {Cmd::kPurposeCollision, true, 0}, {Cmd::kPurposeEntrance, true, 0}, {Cmd::kPurposeViewZone, true, 0}, {Cmd::kTessellate, true, -1}, {Cmd::kClearViewZoneList, true, -1}}},
      {"uniform flags", [](MenuInputs& in) { in.polygons = {3, true, kUniform}; }, {{Cmd::kPurposeCollision, true, 1}, {Cmd::kPurposeNormal, true, 0}, {Cmd::kPurposeEntrance, true, 0}, {Cmd::kStyleBordered, true, 1}, {Cmd::kStyleNormal, true, 0}, {Cmd::kColorShaded, true, 1}, {Cmd::kColorSelected, true, 0}, {Cmd::kVisibilityNeverBackFace, true, 1}, {Cmd::kVisibilityNormal, true, 0}}},
      {"a defined polygon (0x502)", [](MenuInputs& in) { in.polygons = {1, true, 0x502}; }, {{Cmd::kColorSelected, true, 1}, {Cmd::kStyleBordered, true, 1}, {Cmd::kVisibilityNeverBackFace, true, 1}, {Cmd::kPurposeNormal, true, 1}}},
      {"no flags: the normal items", [](MenuInputs& in) { in.polygons = {1, true, 0}; }, {{Cmd::kPurposeNormal, true, 1}, {Cmd::kVisibilityNormal, true, 1}, {Cmd::kStyleNormal, true, 1}}},
      {"settings show one check each", [](MenuInputs& in) { in.marqueeSelection = 2; in.walkEditMode = 1; in.viewerShading = 3; in.rendererChoice = 2; /* neither Software nor DirectX */ in.vectorFilter = 1; in.soundEffects = false; }, {{Cmd::kSelectAllPolygons, true, 0}, {Cmd::kSelectBackFacedOnly, true, 1}, {Cmd::kSelectFrontFacedOnly, true, 0}, {Cmd::kWalkFlipPolygonFace, true, 1}, {Cmd::kWalkColorPolygon, true, 0}, {Cmd::kShadingPhong, true, 1}, {Cmd::kShadingNone, true, 0}, {Cmd::kRenderSoftware, true, 0}, {Cmd::kRenderDirectX, true, 0}, {Cmd::kFrontVectorsOnly, true, 1}, {Cmd::kAllVectors, true, 0}, {Cmd::kSoundEffects, true, 0}}},
      {"the other marquee settings", [](MenuInputs& in) { in.marqueeSelection = 3; }, {{Cmd::kSelectBackFacedOnly, true, 0}, {Cmd::kSelectFrontFacedOnly, true, 1}}},
      {"walk mode greys editing, keeps exit and settings", [](MenuInputs& in) { in.walkModeActive = true; in.objectCount = 3; in.undo = {"Undo Plot\tCtrl+Z", true}; in.polygons = {1, true, 0}; }, {{Cmd::kOpen, false, -1}, {Cmd::kSaveCluster, false, -1}, {Cmd::kLoadColorTable, false, -1}, {Cmd::kUndo, false, -1}, {Cmd::kThickLine, false, -1}, {Cmd::kObjectNew, false, -1}, {Cmd::kObjectRename, false, -1}, {Cmd::kDeleteFromCluster, false, -1}, {Cmd::kDuplicate, false, -1}, {Cmd::kCube, false, -1}, {Cmd::kTessellate, false, -1}, {Cmd::kSetUnits, false, -1}, {Cmd::kRemoveDuplicateGeometry, false, -1}, {Cmd::kClearViewZoneList, false, -1}, {Cmd::kExit, true, -1}, {Cmd::kSoundEffects, true, -1}, {Cmd::kSelectAllPolygons, true, -1}, {Cmd::kWalkColorPolygon, true, -1}, {Cmd::kRenderSoftware, true, -1}, {Cmd::kAbout, true, -1}}},
      {"walk mode, zone mode without a zone chosen", [](MenuInputs& in) { in.walkModeActive = true; in.walkEditMode = 4; }, {{Cmd::kClearViewZoneList, false, -1}}},
      {"walk mode, zone chosen", [](MenuInputs& in) { in.walkModeActive = true; in.walkEditMode = 4; in.viewZoneChosen = true; }, {{Cmd::kClearViewZoneList, true, -1}}},
      {"unwired items are greyed", [](MenuInputs& in) { in.polygons = {1, true, 0}; in.wired = [](int id) { return id != Cmd::kCube && id != Cmd::kTessellate; }; }, {{Cmd::kCube, false, -1}, {Cmd::kTessellate, false, -1}, {Cmd::kCircle, true, -1}, {Cmd::kFlipPolygonFace, true, -1}}},
      // clang-format on
  };
  for (const auto& r : rows) {
    MenuInputs in;
    in.objectCount = 1;
    r.set(in);
    const MenuState s = RefreshMenuState(in);
    for (const Item& item : r.items) {
      EXPECT_EQ(s.at(item.id).enabled, item.enabled) << r.name << ": item " << item.id;
      if (item.checked >= 0) {
        EXPECT_EQ(s.at(item.id).checked, item.checked == 1) << r.name << ": item " << item.id;
      }
    }
  }
}

}  // namespace
}  // namespace ws
