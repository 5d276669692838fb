// The geometry commands of the Selection, Polygons, Object and pop-up menus
// as the editor and the command-line tool run them: each takes its undo
// step under its exact label (model/undo.h), then runs the operation. The
// return value says whether the views need a redraw; the caller requests it
// (and a menu refresh). The primitives' Create functions are in
// primitives.h, since they run from their dialogs.
#pragma once

#include <optional>

#include "geometry/geometry_context.h"
#include "geometry/geometry_support.h"

namespace ws {

// Menu item ids of the commands below.
namespace GeometryCommandId {
inline constexpr int kRotateX45 = 32828;
inline constexpr int kRotateX90 = 32787;
inline constexpr int kRotateY45 = 32827;
inline constexpr int kRotateY90 = 32788;
inline constexpr int kFlipVertically = 32789;
inline constexpr int kFlipHorizontally = 32790;
inline constexpr int kFlipFrontAndBack = 32791;
inline constexpr int kDuplicate = 32831;       // Selection menu
inline constexpr int kDuplicatePopup = 32858;  // pop-up menu
inline constexpr int kConnectCopy = 32792;
inline constexpr int kRemoveDuplicates = 32796;
inline constexpr int kDeletePopup = 32859;
inline constexpr int kTessellate = 32842;
inline constexpr int kFlipPolygonFace = 32797;
inline constexpr int kClearViewZoneList = 32891;
inline constexpr int kCube = 32830;
inline constexpr int kCircle = 32784;
inline constexpr int kCylinder = 32785;
inline constexpr int kSphere = 32786;
}  // namespace GeometryCommandId

// "Rotate 45/90 degrees around x/y-axis": "Undo Rotate\tCtrl+Z",
// RotateSelection. The views' own matrices are left alone.
bool RotateCommand(GeometryContext& ctx, Axis axis, double degrees);
// "Flip Vertically" (y), "Flip Horizontally" (x), "Flip Front and Back" (z):
// "Undo Flip\tCtrl+Z", MirrorSelection, then FlipFace on every polygon of
// the object in order, moved or not. A polygon whose points were all
// mirrored thus keeps facing the way it faced; that one reversal is the only
// one (no second flip of single-sided polygons).
bool MirrorCommand(GeometryContext& ctx, Axis axis);
// "Duplicate": "Undo Duplicate\tCtrl+Z", DuplicateSelection (copies.h).
bool DuplicateCommand(GeometryContext& ctx);
// "Duplicate and Connect Copy": "Undo Vector Connect\tCtrl+Z", ConnectCopy.
bool ConnectCopyCommand(GeometryContext& ctx);
// "Remove Duplicate Geometry": "Undo Remove Duplicates",
// RemoveDuplicateGeometry.
bool RemoveDuplicatesCommand(GeometryContext& ctx);
// DeleteSelection, the pop-up "Delete" and the Delete key: busy cursor on,
// "Undo Delete\tCtrl+Z", DeleteSelectedItems (deletion.h), "There is nothing
// to delete" (Notification) when nothing went; in either case the plot step
// goes back to 0 and the pending first plot point is forgotten (the plot
// state's start values, its view memory kept); busy cursor off.
bool DeleteSelection(GeometryContext& ctx);
// "Tessellate": "Undo Tessulate", Tessellate (faces.h).
bool TessellateCommand(GeometryContext& ctx);
// "Flip Polygon Face": "Undo Flip Backface", FlipSelectedFaces; a redraw
// only when a polygon was flipped.
bool FlipPolygonFaceCommand(GeometryContext& ctx);
// "Clear View Zone List": "Undo Reset View Zone", ClearViewZoneLists (in
// walk mode with the zone the viewer stands in).
bool ClearViewZoneListCommand(GeometryContext& ctx,
                              std::optional<std::uint32_t> walkZone = std::nullopt);

// Runs the command with menu id `commandId` when it is one of the commands
// above; the result is whether the views need a redraw. Empty for any other
// id (the primitives' ids included: they open their dialogs first).
std::optional<bool> RunGeometryCommand(GeometryContext& ctx, int commandId);

}  // namespace ws
