// Wiring of the interaction modules into the command table and the hooks
// of the main window's shell: one call each, so the front end needs no
// knowledge of which function serves which menu id or key.
//
// RegisterInteractionCommands: every Polygons-menu attribute item and the
// outline style (RunAttributeCommand), "Make Back Faced" and "Make Front
// Faced" (MakeSelectedFacing). The core's own "Unselect", "Select All" and
// "Select All Polygons Like This One (same color)" already do what
// selection.h's functions do and stay as registered.
//
// WireInteractionHooks: the arrow and page keys (MoveSelectedVectors with
// the grid step), the Define Polygon button (DefinePolygonButton), the
// "Change Color" swatch (ChooseColour), the mode strip (SelectMode), the
// shell's new-object reset (ResetEditorForObject: the shell calls it after
// the model has put the object in place), and the tick's plot work
// (PlotTick at the tick's cursor, RefreshPlotStatus), and the view
// letters of Plot mode (PlotViewKey).
//
// `ctx` must outlive the registry and the hooks.
#pragma once

#include "editor/interaction/interaction.h"
#include "editor/shell/commands.h"
#include "editor/shell/tick.h"

namespace ws {

void RegisterInteractionCommands(CommandRegistry& registry, EditContext& ctx);
void WireInteractionHooks(EditorHooks& hooks, TickHooks& tickHooks, EditContext& ctx);

}  // namespace ws
