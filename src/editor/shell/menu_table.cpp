#include "editor/shell/menu_table.h"

#include <array>

#include "editor/shell/command_ids.h"

namespace ws {
namespace {

using K = MenuEntryKind;

constexpr MenuEntry Item(int id, std::string_view text) { return {K::kItem, id, text}; }
constexpr MenuEntry Sub(std::string_view text) { return {K::kSubmenu, 0, text}; }
constexpr MenuEntry kSep = {K::kSeparator, 0, {}};
constexpr MenuEntry kEnd = {K::kEnd, 0, {}};

constexpr auto kMainMenu = std::to_array<MenuEntry>({
    Sub("&File"),
    Item(Cmd::kOpen, "&Open...\tCtrl+O"),
    Item(Cmd::kInsert, "&Insert..."),
    Item(Cmd::kMerge, "Merge..."),
    kSep,
    Item(Cmd::kSaveObject, "&Save Object\tCtrl+S"),
    Item(Cmd::kSaveObjectAs, "Save Object &As..."),
    kSep,
    Item(Cmd::kSaveCluster, "Save Cluster"),
    Item(Cmd::kSaveClusterAsObjects, "Save Cluster As Objects"),
    kSep,
    Item(Cmd::kStartNewCluster, "Start &New Cluster\tCtrl+N"),
    Item(Cmd::kRestoreLastSession, "Restore Last Session"),
    kSep,
    Item(Cmd::kLoadColorTable, "Load Color Table"),
    Item(Cmd::kSaveColorTableAs, "Save Color Table As..."),
    kSep,
    Item(Cmd::kExit, "E&xit\tCtrl+X"),
    kEnd,

    Sub("&Edit"),
    Item(Cmd::kUndo, "&Undo\tCtrl+Z"),
    kSep,
    Sub("Misc Preferences"),
    Item(Cmd::kSetUnits, "Set Units"),
    Item(Cmd::kSoundEffects, "Sound Effects"),
    Item(Cmd::kInstantViewChange, "Instant View Change"),
    kEnd,
    Sub("Polygon Marquee Selections"),
    Item(Cmd::kSelectAllPolygons, "Select All Polygons"),
    Item(Cmd::kSelectBackFacedOnly, "Select Back Faced Only"),
    Item(Cmd::kSelectFrontFacedOnly, "Select Front Faced Only"),
    kEnd,
    Sub("Walk Editing (software render only)"),
    Item(Cmd::kWalkColorPolygon, "Color Polygon"),
    Item(Cmd::kWalkFlipPolygonFace, "Flip Polygon Face"),
    Item(Cmd::kWalkSetViewZonePriorities, "Set View Zone Priorities"),
    kEnd,
    kEnd,

    Sub("&Display"),
    Item(Cmd::kThickLine, "Thick Line"),
    kSep,
    Item(Cmd::kAllVectors, "All Vectors"),
    Item(Cmd::kFrontVectorsOnly, "Front Vectors Only"),
    Item(Cmd::kBackVectorsOnly, "Back Vectors Only"),
    kSep,
    Item(Cmd::kInvisiblePolygons, "Invisible Polygons"),
    Item(Cmd::kBackfacedPolygons, "Backfaced Polygons"),
    kEnd,

    Sub("&Rendering"),
    Item(Cmd::kRenderSoftware, "Software"),
    Item(Cmd::kRenderDirectX, "DirectX"),
    kSep,
    Sub("DirectX Shading"),
    Item(Cmd::kShadingNone, "None"),
    Item(Cmd::kShadingFlat, "Flat"),
    Item(Cmd::kShadingGouraud, "Gouraud"),
    Item(Cmd::kShadingPhong, "Phong"),
    kEnd,
    kEnd,

    Sub("&Object"),
    Item(Cmd::kObjectNew, "New"),
    Item(Cmd::kObjectRename, "Rename"),
    Item(Cmd::kDeleteFromCluster, "Delete from Cluster"),
    kSep,
    Item(Cmd::kRemoveDuplicateGeometry, "Remove Duplicate Geometry"),
    Item(Cmd::kCheckObject, "Check Object"),
    kEnd,

    Sub("&Selection"),
    Item(Cmd::kDuplicate, "Duplicate"),
    kSep,
    Item(Cmd::kRotate45X, "Rotate 45 degrees around x-axis"),
    Item(Cmd::kRotate90X, "Rotate 90 degrees around x-axis"),
    Item(Cmd::kRotate45Y, "Rotate 45 degrees around y-axis"),
    Item(Cmd::kRotate90Y, "Rotate 90 degrees around y-axis"),
    kSep,
    Item(Cmd::kFlipVertically, "Flip Vertically"),
    Item(Cmd::kFlipHorizontally, "Flip Horizontally"),
    Item(Cmd::kFlipFrontBack, "Flip Front and Back"),
    kSep,
    Item(Cmd::kDuplicateConnect, "Duplicate and Connect Copy"),
    kEnd,

    Sub("&Polygons"),
    Item(Cmd::kTessellate, "Tessellate"),
    Item(Cmd::kFlipPolygonFace, "Flip Polygon Face"),
    Item(Cmd::kClearViewZoneList, "Clear View Zone List"),
    kSep,
    Sub("Set Style"),
    Item(Cmd::kStyleNormal, "Normal"),
    Item(Cmd::kStyleBordered, "Bordered"),
    kEnd,
    Sub("Set Color"),
    Item(Cmd::kColorSelected, "Selected Color"),
    Item(Cmd::kColorShaded, "Shaded From Base Color"),
    Item(Cmd::kColorAdopted, "Adopted From Group Leader"),
    Item(Cmd::kColorEachSide, "Each Side Has Different Color"),
    kEnd,
    Sub("Set Visibility"),
    Item(Cmd::kVisibilityNormal, "Normal"),
    Item(Cmd::kVisibilityInvisible, "Invisible"),
    Item(Cmd::kVisibilityNeverBackFace, "Never Draw Back-face"),
    Item(Cmd::kVisibilityNotFromCollision, "Not Visible From Collision"),
    Item(Cmd::kVisibilityHigherPriority, "Higher Sorting Priority Than Surrounding"),
    kEnd,
    Sub("Set Purpose"),
    Item(Cmd::kPurposeNormal, "Normal"),
    Item(Cmd::kPurposeCollision, "Collision"),
    Item(Cmd::kPurposeEntrance, "Entrance"),
    Item(Cmd::kPurposeViewZone, "View Zone"),
    kEnd,
    kEnd,

    Sub("P&rimitives"),
    Item(Cmd::kCube, "Cube"),
    Item(Cmd::kCircle, "Circle"),
    Item(Cmd::kCylinder, "Cylinder"),
    Item(Cmd::kSphere, "Sphere"),
    kEnd,

    Sub("&Help"),
    Item(Cmd::kAbout, "About Wirestead"),
    kEnd,
});

constexpr auto kPopupMenu = std::to_array<MenuEntry>({
    Item(Cmd::kPopupUnselect, "Unselect"),
    Item(Cmd::kPopupSelectAll, "Select All"),
    kSep,
    Item(Cmd::kPopupDelete, "Delete"),
    Item(Cmd::kPopupDuplicate, "Duplicate"),
    kSep,
    Item(Cmd::kPopupMakeBackFaced, "Make Back Faced"),
    Item(Cmd::kPopupMakeFrontFaced, "Make Front Faced"),
    kSep,
    Item(Cmd::kPopupSelectSameColor, "Select All Polygons Like This One (same color)"),
});

constexpr std::size_t CountItems() {
  std::size_t n = 0;
  for (const MenuEntry& e : kMainMenu) n += e.kind == K::kItem ? 1 : 0;
  return n;
}

constexpr auto kMainIds = [] {
  std::array<int, CountItems()> ids{};
  std::size_t n = 0;
  for (const MenuEntry& e : kMainMenu) {
    if (e.kind == K::kItem) ids[n++] = e.id;
  }
  return ids;
}();

}  // namespace

std::span<const MenuEntry> MainMenuTable() { return kMainMenu; }
std::span<const MenuEntry> PopupMenuTable() { return kPopupMenu; }
std::span<const int> MainMenuIds() { return kMainIds; }

std::string_view MenuItemText(int id) {
  for (const MenuEntry& e : kMainMenu) {
    if (e.kind == K::kItem && e.id == id) return e.text;
  }
  for (const MenuEntry& e : kPopupMenu) {
    if (e.kind == K::kItem && e.id == id) return e.text;
  }
  return {};
}

}  // namespace ws
