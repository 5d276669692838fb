#include "editor/interaction/polygon_define.h"

#include "editor/interaction/selection.h"
#include "geometry/faces.h"
#include "geometry/polygon_define.h"
#include "model/undo.h"

namespace ws {
namespace {

void ClearVectorMarks(ObjectTables& t) {
  for (std::uint32_t i = 0; i < t.vectorCount; ++i) t.vectors[i].selected = kUnselected;
}

}  // namespace

std::int32_t DefinePolygon(ObjectTables& t, Ui& ui, std::uint32_t v, std::uint8_t colour) {
  if (!t.allocated()) return -1;
  if (v != 0) {
    if (v >= kReservedVectors && v < t.vectorCount) t.vectors[v].selected = kSelected;
    return 0;
  }
  return DefinePolygonFromSelection(t, ui, colour);
}

std::int32_t DefinePolygonButton(EditContext& ctx) {
  Model& model = ctx.model();
  ObjectTables& t = model.tables;
  if (!t.allocated()) return -1;
  model.PushUndo(UndoLabel::kDefine);
  const std::int32_t k = DefinePolygon(t, ctx.ui(), 0, ctx.state.currentColour);
  if (k < 0) return -1;
  SyncFrame(ctx);
  EditView& view = ctx.editor.view();
  view.ProjectAll();
  if (view.DrawFrame(k) == 1) FlipFace(t, static_cast<std::uint32_t>(k));
  view.ProjectAll();
  ClearVectorMarks(t);
  ctx.shell.RequestRedraw();
  ctx.shell.RequestMenuRefresh();
  return k;
}

std::int32_t DefinePolygonInView(Model& model, std::uint8_t colour, const Projector& projector) {
  ObjectTables& t = model.tables;
  if (!t.allocated()) return -1;
  model.PushUndo(UndoLabel::kDefine);
  const std::int32_t k = DefinePolygon(t, model.ui(), 0, colour);
  if (k < 0) return -1;
  ProjectAllPoints(t, projector);
  if (PolygonFacesAway(t, static_cast<std::uint32_t>(k)))
    FlipFace(t, static_cast<std::uint32_t>(k));
  ProjectAllPoints(t, projector);
  ClearVectorMarks(t);
  return k;
}

}  // namespace ws
