#include "editor/menu_state.h"

#include <gtest/gtest.h>

#include <set>

#include "editor/command_ids.h"
#include "editor/menu_table.h"

namespace ws {
namespace {

TEST(MenuTable, ItemsCarryTheirExactTextsAndIds) {
  EXPECT_EQ(MenuItemText(Cmd::kOpen), "&Open...\tCtrl+O");
  EXPECT_EQ(MenuItemText(Cmd::kStartNewCluster), "Start &New Cluster\tCtrl+N");
  EXPECT_EQ(MenuItemText(Cmd::kExit), "E&xit\tCtrl+X");
  EXPECT_EQ(MenuItemText(Cmd::kUndo), "&Undo\tCtrl+Z");
  EXPECT_EQ(MenuItemText(Cmd::kSaveObject), "&Save Object\tCtrl+S");
  EXPECT_EQ(MenuItemText(Cmd::kVisibilityHigherPriority), "Higher Sorting Priority Than Surrounding");
  EXPECT_EQ(MenuItemText(Cmd::kPopupSelectSameColor),
            "Select All Polygons Like This One (same color)");
  EXPECT_EQ(MenuItemText(32889), "Software");
  EXPECT_EQ(MenuItemText(12345), "");
  // 70 items, each id once; submenus open and close in step.
  std::set<int> ids(MainMenuIds().begin(), MainMenuIds().end());
  EXPECT_EQ(MainMenuIds().size(), 70u);
  EXPECT_EQ(ids.size(), MainMenuIds().size());
  int depth = 0;
  for (const MenuEntry& e : MainMenuTable()) {
    if (e.kind == MenuEntryKind::kSubmenu) ++depth;
    if (e.kind == MenuEntryKind::kEnd) --depth;
    ASSERT_GE(depth, 0);
  }
  EXPECT_EQ(depth, 0);
}

TEST(MenuState, UndoReadsIdleAndGreyedWithoutSnapshot) {
  MenuInputs in;
  MenuState s = RefreshMenuState(in);
  EXPECT_EQ(s[Cmd::kUndo].text, "&Undo\tCtrl+Z");
  EXPECT_FALSE(s[Cmd::kUndo].enabled);
  in.undo = {"Undo Plot\tCtrl+Z", true};
  s = RefreshMenuState(in);
  EXPECT_EQ(s[Cmd::kUndo].text, "Undo Plot\tCtrl+Z");
  EXPECT_TRUE(s[Cmd::kUndo].enabled);
}

TEST(MenuState, DeleteFromClusterNeedsTwoObjects) {
  MenuInputs in;
  in.objectCount = 1;
  EXPECT_FALSE(RefreshMenuState(in)[Cmd::kDeleteFromCluster].enabled);
  in.objectCount = 2;
  EXPECT_TRUE(RefreshMenuState(in)[Cmd::kDeleteFromCluster].enabled);
}

TEST(MenuState, PolygonItemsNeedASelectedPolygon) {
  MenuInputs in;
  MenuState s = RefreshMenuState(in);
  for (int id : {Cmd::kTessellate, Cmd::kFlipPolygonFace, Cmd::kClearViewZoneList,
                 Cmd::kStyleBordered, Cmd::kPurposeCollision, Cmd::kColorShaded}) {
    EXPECT_FALSE(s[id].enabled) << id;
    EXPECT_FALSE(s[id].checked) << id;
  }
  in.polygons = {1, true, 0};
  s = RefreshMenuState(in);
  EXPECT_TRUE(s[Cmd::kTessellate].enabled);
  EXPECT_TRUE(s[Cmd::kClearViewZoneList].enabled);
}

TEST(MenuState, DifferentFlagsEnableButCheckNothing) {
  MenuInputs in;
  in.polygons = {2, false, 0};
  const MenuState s = RefreshMenuState(in);
  for (int id : {Cmd::kStyleNormal, Cmd::kStyleBordered, Cmd::kColorSelected, Cmd::kColorShaded,
                 Cmd::kColorAdopted, Cmd::kColorEachSide, Cmd::kVisibilityNormal,
                 Cmd::kVisibilityInvisible, Cmd::kVisibilityNeverBackFace,
                 Cmd::kVisibilityNotFromCollision, Cmd::kVisibilityHigherPriority,
                 Cmd::kPurposeNormal, Cmd::kPurposeCollision, Cmd::kPurposeEntrance,
                 Cmd::kPurposeViewZone}) {
    EXPECT_TRUE(s.at(id).enabled) << id;
    EXPECT_FALSE(s.at(id).checked) << id;
  }
  EXPECT_TRUE(s.at(Cmd::kPurposeNormal).enabled);
  EXPECT_FALSE(s.at(Cmd::kPurposeNormal).checked);
  EXPECT_FALSE(s.at(Cmd::kVisibilityNormal).checked);
  EXPECT_FALSE(s.at(Cmd::kStyleNormal).checked);
}

TEST(MenuState, UniformFlagsCheckTheirItems) {
  MenuInputs in;
  in.polygons = {3, true,
                 PolyFlag::kCollision | PolyFlag::kBordered | PolyFlag::kShaded |
                     PolyFlag::kNeverDrawBackFace};
  MenuState s = RefreshMenuState(in);
  EXPECT_TRUE(s[Cmd::kPurposeCollision].checked);
  EXPECT_FALSE(s[Cmd::kPurposeNormal].checked);
  EXPECT_FALSE(s[Cmd::kPurposeEntrance].checked);
  EXPECT_TRUE(s[Cmd::kStyleBordered].checked);
  EXPECT_FALSE(s[Cmd::kStyleNormal].checked);
  EXPECT_TRUE(s[Cmd::kColorShaded].checked);
  EXPECT_FALSE(s[Cmd::kColorSelected].checked);
  EXPECT_TRUE(s[Cmd::kVisibilityNeverBackFace].checked);
  EXPECT_FALSE(s[Cmd::kVisibilityNormal].checked);
  // A defined polygon's flags (0x502): selected colour, bordered, never
  // draw back-face.
  in.polygons = {1, true, PolyFlag::kDefined};
  s = RefreshMenuState(in);
  EXPECT_TRUE(s[Cmd::kColorSelected].checked);
  EXPECT_TRUE(s[Cmd::kStyleBordered].checked);
  EXPECT_TRUE(s[Cmd::kVisibilityNeverBackFace].checked);
  EXPECT_TRUE(s[Cmd::kPurposeNormal].checked);
  in.polygons = {1, true, 0};
  s = RefreshMenuState(in);
  EXPECT_TRUE(s[Cmd::kPurposeNormal].checked);
  EXPECT_TRUE(s[Cmd::kVisibilityNormal].checked);
  EXPECT_TRUE(s[Cmd::kStyleNormal].checked);
}

TEST(MenuState, WalkModeGreysEditingButKeepsExitAndSettings) {
  MenuInputs in;
  in.walkModeActive = true;
  in.objectCount = 3;
  in.undo = {"Undo Plot\tCtrl+Z", true};
  in.polygons = {1, true, 0};
  MenuState s = RefreshMenuState(in);
  for (int id : {Cmd::kOpen, Cmd::kSaveCluster, Cmd::kLoadColorTable, Cmd::kUndo, Cmd::kThickLine,
                 Cmd::kObjectNew, Cmd::kObjectRename, Cmd::kDeleteFromCluster, Cmd::kDuplicate,
                 Cmd::kCube, Cmd::kTessellate, Cmd::kSetUnits, Cmd::kRemoveDuplicateGeometry,
                 Cmd::kClearViewZoneList}) {
    EXPECT_FALSE(s[id].enabled) << id;
  }
  for (int id : {Cmd::kExit, Cmd::kSoundEffects, Cmd::kSelectAllPolygons, Cmd::kWalkColorPolygon,
                 Cmd::kRenderSoftware, Cmd::kAbout}) {
    EXPECT_TRUE(s[id].enabled) << id;
  }
  in.walkEditMode = 4;
  EXPECT_FALSE(RefreshMenuState(in)[Cmd::kClearViewZoneList].enabled);
  in.viewZoneChosen = true;
  EXPECT_TRUE(RefreshMenuState(in)[Cmd::kClearViewZoneList].enabled);
}

TEST(MenuState, SettingsShowOneCheckEach) {
  MenuInputs in;
  in.marqueeSelection = 2;
  in.walkEditMode = 1;
  in.viewerShading = 3;
  in.rendererChoice = 2;
  in.vectorFilter = 1;
  in.soundEffects = false;
  MenuState s = RefreshMenuState(in);
  EXPECT_FALSE(s[Cmd::kSelectAllPolygons].checked);
  EXPECT_TRUE(s[Cmd::kSelectBackFacedOnly].checked);
  EXPECT_FALSE(s[Cmd::kSelectFrontFacedOnly].checked);
  EXPECT_TRUE(s[Cmd::kWalkFlipPolygonFace].checked);
  EXPECT_FALSE(s[Cmd::kWalkColorPolygon].checked);
  EXPECT_TRUE(s[Cmd::kShadingPhong].checked);
  EXPECT_FALSE(s[Cmd::kShadingNone].checked);
  // Renderer choice 2: neither Software nor DirectX.
  EXPECT_FALSE(s[Cmd::kRenderSoftware].checked);
  EXPECT_FALSE(s[Cmd::kRenderDirectX].checked);
  EXPECT_TRUE(s[Cmd::kFrontVectorsOnly].checked);
  EXPECT_FALSE(s[Cmd::kAllVectors].checked);
  EXPECT_FALSE(s[Cmd::kSoundEffects].checked);
}

TEST(MenuState, UnwiredItemsAreGreyed) {
  MenuInputs in;
  in.polygons = {1, true, 0};
  in.wired = [](int id) { return id != Cmd::kCube && id != Cmd::kTessellate; };
  MenuState s = RefreshMenuState(in);
  EXPECT_FALSE(s[Cmd::kCube].enabled);
  EXPECT_FALSE(s[Cmd::kTessellate].enabled);
  EXPECT_TRUE(s[Cmd::kCircle].enabled);
  EXPECT_TRUE(s[Cmd::kFlipPolygonFace].enabled);
}

}  // namespace
}  // namespace ws
