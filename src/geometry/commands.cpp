#include "geometry/commands.h"

#include "geometry/copies.h"
#include "geometry/deletion.h"
#include "geometry/faces.h"
#include "geometry/merge.h"
#include "geometry/transforms.h"

namespace ws {

bool RotateCommand(GeometryContext& ctx, Axis axis, double degrees) {
  ctx.model.PushUndo(UndoLabel::kRotate);
  RotateSelection(ctx.tables(), axis, degrees);
  return true;
}

bool MirrorCommand(GeometryContext& ctx, Axis axis) {
  ctx.model.PushUndo(UndoLabel::kFlip);
  ObjectTables& t = ctx.tables();
  MirrorSelection(t, axis);
  for (std::uint32_t k = 0; k < t.polygonCount; ++k) FlipFace(t, k);
  return true;
}

bool DuplicateCommand(GeometryContext& ctx) {
  ctx.model.PushUndo(UndoLabel::kDuplicate);
  return DuplicateSelection(ctx);
}

bool ConnectCopyCommand(GeometryContext& ctx) {
  ctx.model.PushUndo(UndoLabel::kVectorConnect);
  return ConnectCopy(ctx);
}

bool RemoveDuplicatesCommand(GeometryContext& ctx) {
  ctx.model.PushUndo(UndoLabel::kRemoveDuplicates);
  RemoveDuplicateGeometry(ctx.tables(), ctx.rt());
  return true;
}

bool DeleteSelection(GeometryContext& ctx) {
  WaitScope wait(ctx.rt());
  ctx.model.PushUndo(UndoLabel::kDelete);
  const bool deleted = DeleteSelectedItems(ctx.tables());
  if (!deleted) ctx.ui().ShowNote(kNothingToDelete);
  PlotState& plot = ctx.model.plot;
  const auto viewMemory = plot.viewMemory;
  plot = PlotState{};
  plot.viewMemory = viewMemory;
  return deleted;
}

bool TessellateCommand(GeometryContext& ctx) {
  ctx.model.PushUndo(UndoLabel::kTessellate);
  return Tessellate(ctx.tables(), ctx.ui());
}

bool FlipPolygonFaceCommand(GeometryContext& ctx) {
  ctx.model.PushUndo(UndoLabel::kFlipBackface);
  return FlipSelectedFaces(ctx.tables());
}

bool ClearViewZoneListCommand(GeometryContext& ctx, std::optional<std::uint32_t> walkZone) {
  ctx.model.PushUndo(UndoLabel::kResetViewZone);
  return ClearViewZoneLists(ctx.tables(), walkZone);
}

std::optional<bool> RunGeometryCommand(GeometryContext& ctx, int commandId) {
  namespace id = GeometryCommandId;
  switch (commandId) {
    case id::kRotateX45:
      return RotateCommand(ctx, Axis::kX, 45);
    case id::kRotateX90:
      return RotateCommand(ctx, Axis::kX, 90);
    case id::kRotateY45:
      return RotateCommand(ctx, Axis::kY, 45);
    case id::kRotateY90:
      return RotateCommand(ctx, Axis::kY, 90);
    case id::kFlipVertically:
      return MirrorCommand(ctx, Axis::kY);
    case id::kFlipHorizontally:
      return MirrorCommand(ctx, Axis::kX);
    case id::kFlipFrontAndBack:
      return MirrorCommand(ctx, Axis::kZ);
    case id::kDuplicate:
    case id::kDuplicatePopup:
      return DuplicateCommand(ctx);
    case id::kConnectCopy:
      return ConnectCopyCommand(ctx);
    case id::kRemoveDuplicates:
      return RemoveDuplicatesCommand(ctx);
    case id::kDeletePopup:
      return DeleteSelection(ctx);
    case id::kTessellate:
      return TessellateCommand(ctx);
    case id::kFlipPolygonFace:
      return FlipPolygonFaceCommand(ctx);
    case id::kClearViewZoneList:
      return ClearViewZoneListCommand(ctx);
    default:
      return std::nullopt;
  }
}

}  // namespace ws
