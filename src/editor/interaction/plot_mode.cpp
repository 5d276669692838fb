#include "editor/interaction/plot_mode.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>

#include "editor/interaction/drag.h"
#include "editor/view/projection.h"
#include "geometry/geometry_support.h"
#include "model/undo.h"

namespace ws {
namespace {

long RoundAway(double v) { return std::lround(v); }

double CoordinateValue(const PlotCursor& c, int coordinate) {
  return coordinate == kCoordX ? c.x : coordinate == kCoordY ? c.y : c.z;
}

std::string_view MustPlotMessage(int coordinate) {
  return coordinate == kCoordX   ? kMsgMustPlotX
         : coordinate == kCoordY ? kMsgMustPlotY
                                 : kMsgMustPlotZ;
}

std::string_view ChangeViewHelp(int coordinate) {
  return coordinate == kCoordX   ? kHelpChangeViewX
         : coordinate == kCoordY ? kHelpChangeViewY
                                 : kHelpChangeViewZ;
}

std::string_view ReadyHelp(int step) {
  static constexpr std::string_view kHelp[kPlotStepCount] = {
      kHelpSetEp1X, kHelpSetEp1Y, kHelpSetEp1Z, kHelpSetEp2X, kHelpSetEp2Y, kHelpSetEp2Z};
  return kHelp[((step % kPlotStepCount) + kPlotStepCount) % kPlotStepCount];
}

// The user point equal to (x, y, z), as AddPoint would find it.
std::optional<std::uint32_t> FindUserPoint(const ObjectTables& t, double x, double y, double z) {
  for (std::uint32_t i = kReservedPoints; i < t.pointCount; ++i) {
    const Point& p = t.points[i];
    if (p.x == x && p.y == y && p.z == z) return i;
  }
  return std::nullopt;
}

// EP1 has to be added as a point: it is pending, or the point it named is
// gone (a command since renumbered or removed points).
bool Ep1NeedsPoint(const ObjectTables& t, const PlotState& plot) {
  return plot.ep1Pending || plot.ep1Point < kReservedPoints || plot.ep1Point >= t.pointCount;
}

// Room for the vector the sixth click completes: the new points (those not
// already in the table) and one vector. Empty when there is room.
std::optional<std::string> CompletionRefusal(const ObjectTables& t, const PlotState& plot,
                                             const PlotCursor& c) {
  TableNeeds needs;
  needs.vectors = 1;
  const bool ep1Adds = Ep1NeedsPoint(t, plot);
  const bool ep1New = ep1Adds && !FindUserPoint(t, plot.ep1X, plot.ep1Y, plot.ep1Z);
  const bool ep2Same = ep1Adds && c.x == plot.ep1X && c.y == plot.ep1Y && c.z == plot.ep1Z;
  const bool ep2New = !FindUserPoint(t, c.x, c.y, c.z) && !(ep1New && ep2Same);
  needs.points = (ep1New ? 1 : 0) + (ep2New ? 1 : 0);
  return CheckCapacity(t, needs, "to plot this vector");
}

// Plotting one coordinate (the view can set it). False when the table
// limits refuse the completed vector.
bool PlotCoordinate(EditContext& ctx) {
  Model& model = ctx.model();
  ObjectTables& t = model.tables;
  PlotState& plot = model.plot;
  const PlotCursor& c = ctx.display().plotCursor;
  if (plot.step == kPlotStepCount - 1) {
    if (std::optional<std::string> refusal = CompletionRefusal(t, plot, c)) {
      ctx.ui().ShowNote(*refusal);
      return false;
    }
  }
  if (ctx.display().options.perspective) {
    ctx.ui().ShowNote(kMsgPerspectivePlot);
  } else {
    PlaySound(ctx, 1);
  }
  model.PushUndo(UndoLabel::kPlot);
  ++plot.step;
  if (plot.step == 3) {
    plot.ep1X = c.x;
    plot.ep1Y = c.y;
    plot.ep1Z = c.z;
    plot.ep1Pending = true;
  } else if (plot.step == kPlotStepCount) {
    if (Ep1NeedsPoint(t, plot)) {
      plot.ep1Point = t.AddPoint(plot.ep1X, plot.ep1Y, plot.ep1Z);
      plot.ep1Pending = false;
    }
    const std::uint32_t ep2 = t.AddPoint(c.x, c.y, c.z);
    AppendFreshVector(t, plot.ep1Point, ep2);
    plot.ep1Point = ep2;
    plot.ep1X = c.x;
    plot.ep1Y = c.y;
    plot.ep1Z = c.z;
    plot.step = 3;
  }
  ctx.shell.RequestRedraw();
  RefreshPlotStatus(ctx);
  return true;
}

}  // namespace

bool ViewCanSet(int viewCode, int coordinate) {
  switch (coordinate) {
    case kCoordX:
      return viewCode == kViewFront || viewCode == kViewBack || viewCode == kViewTop ||
             viewCode == kViewBottom;
    case kCoordY:
      return viewCode == kViewFront || viewCode == kViewBack || viewCode == kViewLeft ||
             viewCode == kViewRight;
    case kCoordZ:
      return viewCode == kViewTop || viewCode == kViewBottom || viewCode == kViewLeft ||
             viewCode == kViewRight;
    default:
      return false;
  }
}

GridValues SnapCursorToGrid(int cursorX, int cursorY, int centreX, int centreY, double scale,
                            int gridStep, double panX, double panY) {
  const long g = gridStep > 0 ? gridStep : 1;
  const double k = scale > 0.0 ? scale : 1.0;
  const double half = static_cast<double>(g / 2);
  auto snap = [&](double u) {
    const double shifted = u >= 0.0 ? u + half : u - half;
    return static_cast<double>(RoundAway(shifted) / g * g);
  };
  const double u = (cursorX - centreX) / k;
  const double v = (cursorY - centreY) / k;
  GridValues values;
  values.a = snap(u) - static_cast<double>(RoundAway(panX * g));
  values.b = -(snap(v) + static_cast<double>(RoundAway(panY * g)));
  return values;
}

void UpdatePlotCursor(PlotCursor& cursor, int step, int viewCode, const GridValues& values) {
  // Adding +0.0 turns a negated zero into +0, so neither the status nor a
  // saved file ever shows "-0".
  const double a = values.a + 0.0, b = values.b + 0.0;
  switch (StepCoordinate(step)) {
    case kCoordX:
      if (viewCode == kViewFront || viewCode == kViewTop || viewCode == kViewBottom) cursor.x = a;
      if (viewCode == kViewBack) cursor.x = -a + 0.0;
      break;
    case kCoordY:
      if (ViewCanSet(viewCode, kCoordY)) cursor.y = b;
      break;
    default:
      if (viewCode == kViewTop) cursor.z = -b + 0.0;
      if (viewCode == kViewBottom) cursor.z = b;
      if (viewCode == kViewLeft) cursor.z = a;
      if (viewCode == kViewRight) cursor.z = -a + 0.0;
      break;
  }
}

void TrackPlotCursor(EditContext& ctx, int clientX, int clientY) {
  EditorDisplay& d = ctx.display();
  ctx.state.cursorX = clientX;
  ctx.state.cursorY = clientY;
  const int centreX = d.layout.editArea.left + d.layout.cx;
  const int centreY = d.layout.editArea.top + d.layout.cy;
  const GridValues values = SnapCursorToGrid(clientX, clientY, centreX, centreY, d.view.scale,
                                             d.view.gridStep, d.view.panX, d.view.panY);
  UpdatePlotCursor(d.plotCursor, ctx.model().plot.step, ctx.model().view.viewCode, values);
}

void PlotTick(EditContext& ctx, int clientX, int clientY) {
  PlotState& plot = ctx.model().plot;
  InteractionState& s = ctx.state;
  if (ctx.shell.KeyHeld(HeldKey::kShift) && ctx.tables().pointCount > s.startPointCount) {
    plot.ep1Pending = false;
    plot.ep1X = plot.ep1Y = plot.ep1Z = 0.0;
    plot.step = 0;
    ctx.shell.RequestRedraw();
    s.cursorX = clientX;
    s.cursorY = clientY;
    RefreshPlotStatus(ctx);
  }
  TrackPlotCursor(ctx, clientX, clientY);
  PlotCursor& c = ctx.display().plotCursor;
  // The flag follows the cursor every tick, whether the status changes or
  // not: it decides whether the frame shows the plot feedback.
  c.inArea = InsideEditArea(ctx, clientX, clientY) && ctx.shell.applicationActive;
  if (c.x != s.shownX || c.y != s.shownY || c.z != s.shownZ) {
    RefreshPlotStatus(ctx);
    s.shownX = c.x;
    s.shownY = c.y;
    s.shownZ = c.z;
  }
}

bool PlotClick(EditContext& ctx, int clientX, int clientY) {
  if (ctx.shell.walkModeActive || !ctx.tables().allocated()) return false;
  TrackPlotCursor(ctx, clientX, clientY);
  const int coordinate = StepCoordinate(ctx.model().plot.step);
  if (!ViewCanSet(ctx.model().view.viewCode, coordinate)) {
    ctx.ui().ShowNote(MustPlotMessage(coordinate));
    return false;
  }
  if (!PlotCoordinate(ctx)) return false;
  const char next = ctx.model().plot.viewMemory[(coordinate + 1) % 3];
  if (next != ' ') {
    SyncFrame(ctx);
    if (ctx.editor.TurnToView(next)) RefreshPlotStatus(ctx);
  }
  return true;
}

void RefreshPlotStatus(EditContext& ctx) {
  ShellState& shell = ctx.shell;
  if (shell.mode != EditorMode::kPlot || shell.walkModeActive) return;
  EditorDisplay& d = ctx.display();
  const bool inside =
      InsideEditArea(ctx, ctx.state.cursorX, ctx.state.cursorY) && shell.applicationActive;
  d.plotCursor.inArea = inside;
  if (!inside) return;
  const int step = ctx.model().plot.step;
  const int coordinate = StepCoordinate(step);
  if (!ViewCanSet(ctx.model().view.viewCode, coordinate)) {
    SetStatusTitle(shell, kTitleChangeView);
    SetHelpText(shell, ChangeViewHelp(coordinate));
    return;
  }
  char title[64];
  std::snprintf(title, sizeof title, "Set %c = %.3f", "XYZ"[coordinate],
                CoordinateValue(d.plotCursor, coordinate));
  SetStatusTitle(shell, title);
  SetHelpText(shell, ReadyHelp(step));
}

bool PlotViewKey(EditContext& ctx, char letter) {
  if (ctx.shell.mode != EditorMode::kPlot || ctx.shell.walkModeActive) return false;
  const std::optional<int> view = ViewCodeForLetter(letter);
  if (!view) return false;
  const char upper =
      static_cast<char>(letter >= 'a' && letter <= 'z' ? letter - 'a' + 'A' : letter);
  PlotState& plot = ctx.model().plot;
  plot.viewMemory[StepCoordinate(plot.step)] = upper;
  SyncFrame(ctx);
  ctx.editor.TurnToView(upper);
  ctx.shell.RequestRedraw();
  RefreshPlotStatus(ctx);
  return true;
}

void ResetPlotSteps(PlotState& plot) {
  plot.step = 0;
  plot.ep1Pending = true;
  plot.ep1X = plot.ep1Y = plot.ep1Z = 0.0;
  plot.ep1Point = 0;
}

void ResetEditorForObject(EditContext& ctx) {
  Model& model = ctx.model();
  EditorDisplay& d = ctx.display();
  ShellState& shell = ctx.shell;
  if (GestureActive(ctx)) CancelGesture(ctx);
  ResetViewForObject(model.view, d.view);
  shell.mode = EditorMode::kPlot;
  SetHelpText(shell, kHelpPlotVectors);
  ResetPlotSteps(model.plot);
  ObjectTables& t = model.tables;
  if (t.allocated()) {
    for (std::uint32_t i = kReservedVectors; i < t.vectorCount; ++i)
      t.vectors[i].selected = kUnselected;
  }
  std::fill(t.polygonSelected.begin(), t.polygonSelected.end(), kUnselected);
  d.selection.hover = HoverState{};
  d.selection.marqueeActive = false;
  shell.hoveredVector = 0;
  shell.hoveredPolygon = -1;
  shell.RequestRedraw();
  RefreshPlotStatus(ctx);
}

void NewObjectReset(EditContext& ctx) {
  ObjectTables& t = ctx.tables();
  if (t.allocated()) {
    // Marks past the counts would come back with the slots they sit in.
    for (std::uint32_t i = kReservedVectors; i < t.vectorCount; ++i)
      t.vectors[i].selected = kUnselected;
    t.ResetObject();
  }
  ResetEditorForObject(ctx);
}

}  // namespace ws
