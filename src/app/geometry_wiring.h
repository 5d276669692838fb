// The geometry commands in the editor: every Selection, Polygons and Object
// item that geometry/commands.h runs, the pop-up "Delete" and "Duplicate",
// the Delete key and the Delete Objects toggle. Each runs on a
// GeometryContext filled from the editor's state at the time (grid step,
// current colour), and requests the redraw and menu refresh it asks for.
// The four primitives open their dialogs (primitive_dialog.h) over the
// window `dialogParent` returns.
#pragma once

#include <functional>

#include "editor/interaction/interaction.h"
#include "editor/shell/commands.h"

class QWidget;

namespace ws {

// `ctx` must outlive the registry and the hooks.
void WireGeometryCommands(CommandRegistry& registry, EditorHooks& hooks, EditContext& ctx,
                          std::function<QWidget*()> dialogParent);

}  // namespace ws
