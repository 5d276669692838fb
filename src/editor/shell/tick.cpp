#include "editor/shell/tick.h"

#include <cstdio>

#include "editor/shell/command_ids.h"
#include "model/cluster.h"
#include "model/color_ops.h"
#include "model/preferences.h"

namespace ws {
namespace {

bool HoverTestsVectors(int m) {
  return m == EditorMode::kGrabColor || m == EditorMode::kSetColor ||
         m == EditorMode::kSelectVector;
}
bool HoverTestsPolygons(int m) {
  return m == EditorMode::kGrabColor || m == EditorMode::kSetColor ||
         m == EditorMode::kSelectPolygon;
}

void ShowHoverTitle(ShellState& shell) {
  char text[48];
  if (shell.hoveredPolygon >= 0) {
    std::snprintf(text, sizeof text, "Polygon %d", static_cast<int>(shell.hoveredPolygon));
    SetStatusTitle(shell, text);
  } else if (shell.hoveredVector != 0) {
    std::snprintf(text, sizeof text, "Vector %u", static_cast<unsigned>(shell.hoveredVector));
    SetStatusTitle(shell, text);
  } else {
    SetStatusTitle(shell, kTitleNothingSelected);
  }
}

// Hover over the control column: a mode button, a toggle button, or the
// current mode's texts. The texts follow the cursor from one target to the
// next, so the texts a command left stay until the cursor moves on.
constexpr int kColumnElsewhere = -1;
constexpr int kToggleTargetBase = 100;

void HoverControlColumn(CommandContext& ctx, const ControlColumn& column, int x, int y) {
  ShellState& shell = ctx.shell;
  const int mode = ModeAt(column, x, y);
  const int toggle = ToggleAt(column, x, y);
  const int target =
      mode >= 0 ? mode : (toggle >= 0 ? kToggleTargetBase + toggle : kColumnElsewhere);
  if (target >= kToggleTargetBase) {
    // A toggle's title reads its state, which a click changes in place.
    SetStatusTitle(shell, ToggleTitle(toggle, ctx.views.Display(), shell.walkModeActive));
  } else if (target != shell.columnHoverTarget) {
    ShowModeHelp(shell, mode >= 0 ? mode : shell.mode);
  }
  shell.columnHoverTarget = target;
}

}  // namespace

void RequestLayout(ShellState& shell) { shell.layoutPending = true; }

bool InitializeEditor(CommandContext& ctx) {
  Model& model = ctx.model;
  model.cluster.objectNames.clear();
  if (!CreateWorkingCluster(model)) {
    ctx.shell.quit = true;
    return false;
  }
  model.preferences = ReadPreferences(model.resources, model.paths.preferences);
  RebuildColorState(model, model.paths.preferences);
  ctx.views.InitialiseDisplay();
  model.observer().ObjectListChanged();
  return true;
}

TickOutput Tick(CommandContext& ctx, const CommandRegistry& registry, ControlColumn& column,
                const TickHooks& hooks, const TickInput& in) {
  TickOutput out;
  ShellState& shell = ctx.shell;
  if (shell.quit) return out;

  // 1.
  if (ctx.model.rt.menuRefreshRequested) {
    ctx.model.rt.menuRefreshRequested = false;
    shell.menuRefreshPending = true;
  }
  if (shell.menuRefreshPending && !shell.firstLayoutPending) {
    shell.menuRefreshPending = false;
    out.menu = RefreshMenuState(CollectMenuInputs(ctx, registry));
  }

  // 2.
  if (shell.walkModeActive && in.hideEnvironmentChecked != shell.hideEnvironment) {
    shell.hideEnvironment = in.hideEnvironmentChecked;
    if (hooks.hideEnvironment) hooks.hideEnvironment(shell.hideEnvironment);
  }

  // 3.
  if ((shell.layoutPending || shell.firstLayoutPending) && in.clientWidth > 0 &&
      in.clientHeight > 0) {
    const bool first = shell.firstLayoutPending;
    if (first && !InitializeEditor(ctx)) return out;
    if (!ctx.views.Layout(in.clientWidth, in.clientHeight, in.helpBoxRight)) {
      shell.quit = true;
      return out;
    }
    shell.layoutPending = false;
    column = PlaceControls(in.modeStrip, ctx.views.EditArea().left);
    out.laidOut = true;
    if (first) {
      shell.firstLayoutPending = false;
      out.firstLayout = true;
      SetStatusTitle(shell, kTitlePlotVectors);
      SetHelpText(shell, kHelpPlotVectors);
      shell.columnHoverTarget = kColumnElsewhere;
      shell.RequestMenuRefresh();
    }
    if (shell.walkModeActive && hooks.walkRelayout) hooks.walkRelayout();
    shell.RequestRedraw();
  }

  // 4.
  if (!shell.firstLayoutPending) {
    const IntRect area = ctx.views.EditArea();
    const bool inArea = area.Contains(in.cursorX, in.cursorY);
    out.cursorInEditArea = inArea;
    if (!in.foreground) {
      shell.applicationActive = false;
      shell.columnHoverTarget = kNoColumnTarget;
      SetStatusTitle(shell, kTitleInactive);
      SetHelpText(shell, kHelpInactive);
    } else {
      const bool wasActive = shell.applicationActive;
      shell.applicationActive = true;
      if (!shell.rotationInProgress) {
        if (!inArea) {
          shell.hoveredVector = 0;
          shell.hoveredPolygon = -1;
          HoverControlColumn(ctx, column, in.cursorX, in.cursorY);
        } else {
          shell.columnHoverTarget = kNoColumnTarget;
        }
        if (inArea && !shell.walkModeActive) {
          const int mode = shell.mode;
          if (HoverTestsVectors(mode) || HoverTestsPolygons(mode)) {
            const HoverResult hit =
                ctx.views.Hover(mode, in.cursorX - area.left, in.cursorY - area.top);
            shell.hoveredVector = hit.vector;
            shell.hoveredPolygon = hit.polygon;
            ShowHoverTitle(shell);
          } else if (mode == EditorMode::kPlot) {
            // Plot mode's tracking runs below, inside the EditArea or not.
          } else if (!shell.cursorWasInArea || !wasActive) {
            // Camera View: the mode's own title as the cursor comes in.
            ShowModeHelp(shell, mode);
          }
        }
        if (shell.IsMode(EditorMode::kPlot) && !shell.walkModeActive && hooks.plotTick) {
          hooks.plotTick(in.cursorX, in.cursorY);
        }
        if (inArea) out.cursor = CursorChoice::kModeCursor;
        // The walk frame moves the viewer whichever renderer shows it; the
        // hardware viewer draws it from the walk's eye when presented.
        if (shell.walkModeActive && hooks.walkFrame) {
          hooks.walkFrame(in.cursorX, in.cursorY);
        } else {
          ctx.views.DrawAndPresent();
        }
        out.drewFrame = true;
        if (shell.redraw) {
          if (shell.IsMode(EditorMode::kPlot) && !shell.walkModeActive && hooks.refreshPlotStatus) {
            hooks.refreshPlotStatus();
          }
          shell.redraw = false;
        }
      }
    }
    shell.cursorWasInArea = inArea;
  }

  // 5.
  if (!shell.firstLayoutPending && shell.commandLineFile && !shell.walkModeActive) {
    const std::string path = *shell.commandLineFile;
    shell.commandLineFile.reset();
    OpenPath(ctx, Cmd::kOpen, path);
    shell.RequestMenuRefresh();
  }
  return out;
}

}  // namespace ws
