// RefreshMenuState: the check mark, greying and text of every main-menu
// item, as a pure function of the editor's state. The tick runs it when a
// menu refresh is pending and the front end applies the result.
//
// Rules (in this order):
//  1. Always enabled with their check marks: "Sound Effects", "Instant View
//     Change", the three marquee items, the three walk-editing items, the
//     four shading items and "Software" / "DirectX" by the renderer choice.
//  2. In walk mode: Undo, the Display items, "New", "Rename", "Delete from
//     Cluster", every File item but Exit, the Selection, Primitives and
//     Polygons items, "Set Units" and "Remove Duplicate Geometry" are
//     greyed; "Clear View Zone List" is enabled only in walk edit mode 4
//     with a view zone chosen.
//  3. Outside walk mode: Undo carries the newest snapshot's label (greyed
//     "&Undo\tCtrl+Z" when there is none); "Delete from Cluster" needs two
//     objects; the Display checks follow the options.
//  4. The Polygons items need a selected polygon; their checks show the
//     attribute flags when one polygon is selected or all selected polygons
//     share one flags word, and are all cleared otherwise.
// Finally an item whose operation is not wired yet (`wired` says false) is
// greyed whatever the rules said.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "model/object_tables.h"
#include "model/undo.h"

namespace ws {

// The selected polygons, as far as the menu cares.
struct PolygonSelectionSummary {
  std::uint32_t count = 0;
  // One polygon, or every selected one with the same attribute flags.
  bool uniform = false;
  std::uint32_t flags = 0;  // the common attribute flags when uniform
};

// Attribute bits only: the per-frame back-facing and not-drawn marks are
// not attributes.
inline constexpr std::uint32_t kAttributeFlagMask = ~(PolyFlag::kNotDrawn | PolyFlag::kBackFacing);

PolygonSelectionSummary SummarizePolygonSelection(const ObjectTables& tables);

struct MenuInputs {
  bool walkModeActive = false;
  int walkEditMode = 3;
  bool viewZoneChosen = false;
  int marqueeSelection = 1;
  int rendererChoice = 0;
  int viewerShading = 0;
  bool soundEffects = true;
  bool instantViewChange = false;
  bool thickLine = false;
  int vectorFilter = 0;
  bool showInvisiblePolygons = false;
  bool showBackfacedPolygons = false;
  UndoMenuItem undo{std::string(kUndoMenuIdle), false};
  std::size_t objectCount = 1;
  PolygonSelectionSummary polygons;
  // Whether the item's operation exists in this build; null: all wired.
  std::function<bool(int id)> wired;
};

struct MenuItemState {
  bool checked = false;
  bool enabled = true;
  std::string text;
  bool operator==(const MenuItemState&) const = default;
};

using MenuState = std::map<int, MenuItemState>;

// One entry per main-menu item id.
MenuState RefreshMenuState(const MenuInputs& in);

}  // namespace ws
