#include "editor/shell/menu_state.h"

#include <gtest/gtest.h>

#include <functional>

#include "editor/shell/command_ids.h"
#include "editor/shell/menu_table.h"

namespace ws {
namespace {

// An item's expected state: enabled, and checked (-1: not looked at).
struct Item {
  int id;
  bool enabled;
  int checked;
};

TEST(MenuState, ItemsFollowTheInputs) {
  constexpr std::uint32_t kUniform = PolyFlag::kCollision | PolyFlag::kBordered |
                                     PolyFlag::kShaded | PolyFlag::kNeverDrawBackFace;
  const struct {
    const char* name;
    std::function<void(MenuInputs&)> set;
    std::vector<Item> items;
  } rows[] = {
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
