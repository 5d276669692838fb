#include "app/geometry_wiring.h"

#include "app/primitive_dialog.h"
#include "geometry/commands.h"
#include "geometry/primitives.h"

namespace ws {
namespace {

// Primitives report their progress in the status title and show each
// polygon as it is defined.
class EditorFeedback : public GeometryFeedback {
 public:
  explicit EditorFeedback(EditContext& ctx) : ctx_(ctx) {}
  void SetStatusTitle(std::string_view title) override { ws::SetStatusTitle(ctx_.shell, title); }
  void RedrawViews() override { ShowFrameNow(ctx_); }

 private:
  EditContext& ctx_;
};

void RunOne(EditContext& ctx, int id) {
  EditorFeedback feedback(ctx);
  GeometryContext g{ctx.model(), ctx.display().view.gridStep, ctx.state.currentColour, &feedback};
  const std::optional<bool> redraw = RunGeometryCommand(g, id);
  if (redraw && *redraw) ctx.shell.RequestRedraw();
  ctx.shell.RequestMenuRefresh();
}

// Opens the dialog of a primitive; each "Create" validates and makes it.
void RunPrimitive(EditContext& ctx, int id, QWidget* parent) {
  const PrimitiveDialogLayout* layout = nullptr;
  switch (id) {
    case GeometryCommandId::kCircle:
      layout = &kCircleDialog;
      break;
    case GeometryCommandId::kCylinder:
      layout = &kCylinderDialog;
      break;
    case GeometryCommandId::kSphere:
      layout = &kSphereDialog;
      break;
    default:
      layout = &kCubeDialog;
      break;
  }
  bool made = false;
  auto create = [&ctx, id, &made](const std::vector<std::string>& t, bool vectorsOnly) {
    EditorFeedback feedback(ctx);
    GeometryContext g{ctx.model(), ctx.display().view.gridStep, ctx.state.currentColour, &feedback};
    bool closes = false;
    switch (id) {
      case GeometryCommandId::kCircle:
        closes = CreateCircle(g, CircleFields{t.at(0), t.at(1), t.at(2), vectorsOnly});
        break;
      case GeometryCommandId::kCylinder:
        closes = CreateCylinder(g, CylinderFields{t.at(0), t.at(1), t.at(2), t.at(3), vectorsOnly});
        break;
      case GeometryCommandId::kSphere:
        closes = CreateSphere(g, SphereFields{t.at(0), t.at(1), t.at(2), t.at(3), vectorsOnly});
        break;
      default:
        closes = CreateCube(g, CubeFields{t.at(0), t.at(1), t.at(2), t.at(3), vectorsOnly});
        break;
    }
    made = made || closes;
    return closes;
  };
  PrimitiveDialog dialog(*layout, create, parent);
  const bool modal = ctx.shell.modalDialogOpen;
  ctx.shell.modalDialogOpen = true;
  dialog.exec();
  ctx.shell.modalDialogOpen = modal;
  if (made) ctx.shell.RequestRedraw();
  ctx.shell.RequestMenuRefresh();
}

}  // namespace

void WireGeometryCommands(CommandRegistry& registry, EditorHooks& hooks, EditContext& ctx,
                          std::function<QWidget*()> dialogParent) {
  namespace G = GeometryCommandId;
  static constexpr int kIds[] = {G::kRotateX45,        G::kRotateX90,        G::kRotateY45,
                                 G::kRotateY90,        G::kFlipVertically,   G::kFlipHorizontally,
                                 G::kFlipFrontAndBack, G::kDuplicate,        G::kDuplicatePopup,
                                 G::kConnectCopy,      G::kRemoveDuplicates, G::kDeletePopup,
                                 G::kTessellate,       G::kFlipPolygonFace,  G::kClearViewZoneList};
  for (const int id : kIds) {
    registry.Register(id, [&ctx, id](CommandContext&) { RunOne(ctx, id); });
  }
  for (const int id : {G::kCircle, G::kCylinder, G::kSphere, G::kCube}) {
    registry.Register(
        id, [&ctx, id, dialogParent](CommandContext&) { RunPrimitive(ctx, id, dialogParent()); });
  }
  hooks.deleteSelection = [&ctx] { RunOne(ctx, G::kDeletePopup); };
}

}  // namespace ws
