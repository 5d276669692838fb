#include "editor/interaction/interaction_commands.h"

#include "editor/interaction/attributes.h"
#include "editor/interaction/colour_chooser.h"
#include "editor/interaction/plot_mode.h"
#include "editor/interaction/polygon_define.h"
#include "editor/interaction/selection.h"
#include "editor/shell/command_ids.h"

namespace ws {

void RegisterInteractionCommands(CommandRegistry& registry, EditContext& ctx) {
  static constexpr int kAttributeIds[] = {Cmd::kStyleNormal,
                                          Cmd::kStyleBordered,
                                          Cmd::kOutlineStyle,
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
  for (const int id : kAttributeIds) {
    registry.Register(id, [&ctx, id](CommandContext&) { RunAttributeCommand(ctx, id); });
  }
  registry.Register(Cmd::kPopupMakeBackFaced,
                    [&ctx](CommandContext&) { MakeSelectedFacing(ctx, true); });
  registry.Register(Cmd::kPopupMakeFrontFaced,
                    [&ctx](CommandContext&) { MakeSelectedFacing(ctx, false); });
}

void WireInteractionHooks(EditorHooks& hooks, TickHooks& tickHooks, EditContext& ctx) {
  hooks.moveSelectedVectors = [&ctx](std::uint32_t heldKeys) {
    return MoveSelectedVectors(ctx.tables(), heldKeys, ctx.display().view.gridStep);
  };
  hooks.definePolygon = [&ctx] { DefinePolygonButton(ctx); };
  hooks.chooseColour = [&ctx] { ChooseColour(ctx); };
  hooks.selectMode = [&ctx](int mode) { SelectMode(ctx, mode); };
  hooks.newObjectReset = [&ctx] { ResetEditorForObject(ctx); };
  tickHooks.plotTick = [&ctx](int x, int y) { PlotTick(ctx, x, y); };
  hooks.plotViewKey = [&ctx](char letter) { return PlotViewKey(ctx, letter); };
  tickHooks.refreshPlotStatus = [&ctx] { RefreshPlotStatus(ctx); };
}

}  // namespace ws
