#include "editor/shell/menu_state.h"

#include <algorithm>
#include <array>

#include "editor/shell/command_ids.h"
#include "editor/shell/menu_table.h"

namespace ws {
namespace {

constexpr std::array kFileItems = {Cmd::kOpen,
                                   Cmd::kInsert,
                                   Cmd::kMerge,
                                   Cmd::kSaveObject,
                                   Cmd::kSaveObjectAs,
                                   Cmd::kSaveCluster,
                                   Cmd::kSaveClusterAsObjects,
                                   Cmd::kStartNewCluster,
                                   Cmd::kRestoreLastSession,
                                   Cmd::kLoadColorTable,
                                   Cmd::kSaveColorTableAs};
constexpr std::array kDisplayItems = {Cmd::kThickLine,         Cmd::kAllVectors,
                                      Cmd::kFrontVectorsOnly,  Cmd::kBackVectorsOnly,
                                      Cmd::kInvisiblePolygons, Cmd::kBackfacedPolygons};
constexpr std::array kSelectionItems = {
    Cmd::kDuplicate,        Cmd::kRotate45X,     Cmd::kRotate90X,
    Cmd::kRotate45Y,        Cmd::kRotate90Y,     Cmd::kFlipVertically,
    Cmd::kFlipHorizontally, Cmd::kFlipFrontBack, Cmd::kDuplicateConnect};
constexpr std::array kPrimitiveItems = {Cmd::kCube, Cmd::kCircle, Cmd::kCylinder, Cmd::kSphere};
constexpr std::array kObjectItems = {Cmd::kObjectNew, Cmd::kObjectRename, Cmd::kDeleteFromCluster,
                                     Cmd::kRemoveDuplicateGeometry, Cmd::kCheckObject};
// The Polygons items other than "Clear View Zone List", which has a rule of
// its own in walk mode.
constexpr std::array kPolygonItems = {Cmd::kTessellate,
                                      Cmd::kFlipPolygonFace,
                                      Cmd::kStyleNormal,
                                      Cmd::kStyleBordered,
                                      Cmd::kColorSelected,
                                      Cmd::kColorShaded,
                                      Cmd::kColorAdopted,
                                      Cmd::kColorEachSide,
                                      Cmd::kVisibilityNormal,
                                      Cmd::kVisibilityInvisible,
                                      Cmd::kVisibilityNeverBackFace,
                                      Cmd::kVisibilityNotFromCollision,
                                      Cmd::kVisibilityHigherPriority,
                                      Cmd::kPurposeNormal,
                                      Cmd::kPurposeCollision,
                                      Cmd::kPurposeEntrance,
                                      Cmd::kPurposeViewZone};

template <std::size_t N>
void Enable(MenuState& s, const std::array<int, N>& ids, bool enabled) {
  for (int id : ids) s[id].enabled = enabled;
}

void SetAttributeChecks(MenuState& s, const PolygonSelectionSummary& sel) {
  const bool show = sel.count > 0 && sel.uniform;
  const std::uint32_t f = show ? sel.flags : 0;
  auto has = [&](std::uint32_t bit) { return show && (f & bit) != 0; };
  s[Cmd::kPurposeCollision].checked = has(PolyFlag::kCollision);
  s[Cmd::kPurposeEntrance].checked = has(PolyFlag::kEntrance);
  s[Cmd::kPurposeViewZone].checked = has(PolyFlag::kViewZone);
  s[Cmd::kPurposeNormal].checked =
      show && (f & (PolyFlag::kCollision | PolyFlag::kEntrance | PolyFlag::kViewZone)) == 0;
  s[Cmd::kColorSelected].checked = has(PolyFlag::kSelectedColor);
  s[Cmd::kColorShaded].checked = has(PolyFlag::kShaded);
  s[Cmd::kColorAdopted].checked = has(PolyFlag::kAdopted);
  s[Cmd::kColorEachSide].checked = has(PolyFlag::kEachSideDifferent);
  constexpr std::uint32_t kVisibilityBits = PolyFlag::kInvisible | PolyFlag::kNeverDrawBackFace |
                                            PolyFlag::kNotVisibleFromCollision |
                                            PolyFlag::kHigherPriority;
  s[Cmd::kVisibilityInvisible].checked = has(PolyFlag::kInvisible);
  s[Cmd::kVisibilityNeverBackFace].checked = has(PolyFlag::kNeverDrawBackFace);
  s[Cmd::kVisibilityNotFromCollision].checked = has(PolyFlag::kNotVisibleFromCollision);
  s[Cmd::kVisibilityHigherPriority].checked = has(PolyFlag::kHigherPriority);
  s[Cmd::kVisibilityNormal].checked = show && (f & kVisibilityBits) == 0;
  s[Cmd::kStyleBordered].checked = has(PolyFlag::kBordered);
  s[Cmd::kStyleNormal].checked = show && (f & PolyFlag::kBordered) == 0;
}

}  // namespace

PolygonSelectionSummary SummarizePolygonSelection(const ObjectTables& tables) {
  PolygonSelectionSummary sum;
  const std::uint32_t n = std::min<std::uint32_t>(
      tables.polygonCount, static_cast<std::uint32_t>(tables.polygonSelected.size()));
  bool first = true;
  sum.uniform = true;
  for (std::uint32_t i = 0; i < n; ++i) {
    if (tables.polygonSelected[i] == kUnselected) continue;
    const std::uint32_t flags = tables.polygons[i].flags & kAttributeFlagMask;
    ++sum.count;
    if (first) {
      sum.flags = flags;
      first = false;
    } else if (flags != sum.flags) {
      sum.uniform = false;
    }
  }
  if (sum.count == 0) {
    sum.uniform = false;
    sum.flags = 0;
  }
  return sum;
}

MenuState RefreshMenuState(const MenuInputs& in) {
  MenuState s;
  for (int id : MainMenuIds()) s[id] = MenuItemState{false, true, std::string(MenuItemText(id))};

  // 1. Settings that are always available.
  s[Cmd::kSoundEffects].checked = in.soundEffects;
  s[Cmd::kInstantViewChange].checked = in.instantViewChange;
  s[Cmd::kSelectAllPolygons].checked = in.marqueeSelection == 1;
  s[Cmd::kSelectBackFacedOnly].checked = in.marqueeSelection == 2;
  s[Cmd::kSelectFrontFacedOnly].checked = in.marqueeSelection == 3;
  s[Cmd::kWalkColorPolygon].checked = in.walkEditMode == 3;
  s[Cmd::kWalkFlipPolygonFace].checked = in.walkEditMode == 1;
  s[Cmd::kWalkSetViewZonePriorities].checked = in.walkEditMode == 4;
  s[Cmd::kShadingNone].checked = in.viewerShading == 0;
  s[Cmd::kShadingFlat].checked = in.viewerShading == 1;
  s[Cmd::kShadingGouraud].checked = in.viewerShading == 2;
  s[Cmd::kShadingPhong].checked = in.viewerShading == 3;
  s[Cmd::kRenderSoftware].checked = in.rendererChoice == 0;
  s[Cmd::kRenderDirectX].checked = in.rendererChoice == 1;

  // The display checks and the Undo label read the same in both branches;
  // walk mode only greys them.
  s[Cmd::kThickLine].checked = in.thickLine;
  s[Cmd::kAllVectors].checked = in.vectorFilter == 0;
  s[Cmd::kFrontVectorsOnly].checked = in.vectorFilter == 1;
  s[Cmd::kBackVectorsOnly].checked = in.vectorFilter == 2;
  s[Cmd::kInvisiblePolygons].checked = in.showInvisiblePolygons;
  s[Cmd::kBackfacedPolygons].checked = in.showBackfacedPolygons;
  s[Cmd::kUndo].text = in.undo.enabled ? in.undo.text : std::string(kUndoMenuIdle);

  const bool anyPolygon = in.polygons.count > 0;
  if (in.walkModeActive) {
    // 2.
    s[Cmd::kUndo].enabled = false;
    Enable(s, kDisplayItems, false);
    Enable(s, kObjectItems, false);
    Enable(s, kFileItems, false);
    Enable(s, kSelectionItems, false);
    Enable(s, kPrimitiveItems, false);
    Enable(s, kPolygonItems, false);
    s[Cmd::kSetUnits].enabled = false;
    s[Cmd::kClearViewZoneList].enabled = in.walkEditMode == 4 && in.viewZoneChosen;
  } else {
    // 3.
    s[Cmd::kUndo].enabled = in.undo.enabled;
    s[Cmd::kDeleteFromCluster].enabled = in.objectCount >= 2;
    // 4.
    Enable(s, kPolygonItems, anyPolygon);
    s[Cmd::kClearViewZoneList].enabled = anyPolygon;
  }
  SetAttributeChecks(s, in.polygons);

  if (in.wired) {
    for (auto& [id, item] : s) {
      if (!in.wired(id)) item.enabled = false;
    }
  }
  return s;
}

}  // namespace ws
