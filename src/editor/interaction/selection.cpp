#include "editor/interaction/selection.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <new>
#include <vector>

#include "editor/interaction/drag.h"
#include "editor/interaction/plot_mode.h"
#include "geometry/faces.h"
#include "model/undo.h"

namespace ws {
namespace {

bool IsSelected(std::uint32_t mark) { return mark != kUnselected; }

// The hovered vector of the last tick when it names a user vector, else 0.
std::uint32_t HoveredVector(EditContext& ctx) {
  const std::uint32_t v = ctx.shell.hoveredVector;
  return v >= kReservedVectors && v < ctx.tables().vectorCount ? v : 0;
}

std::int32_t HoveredPolygon(EditContext& ctx) {
  const std::int32_t p = ctx.shell.hoveredPolygon;
  return p >= 0 && static_cast<std::uint32_t>(p) < ctx.tables().polygonCount ? p : -1;
}

void ClearEveryMark(ObjectTables& t) {
  if (t.allocated()) {
    for (std::uint32_t i = kReservedVectors; i < t.vectorCount; ++i)
      t.vectors[i].selected = kUnselected;
  }
  std::fill(t.polygonSelected.begin(), t.polygonSelected.end(), kUnselected);
}

void EnterPlotMode(EditContext& ctx) {
  ShellState& shell = ctx.shell;
  EditorDisplay& d = ctx.display();
  if (shell.walkModeActive) {
    if (ctx.endWalk) ctx.endWalk();
    shell.walkModeActive = false;
  }
  d.selection.hover.vector = 0;
  shell.hoveredVector = 0;
  ctx.model().plot.step = 0;
  shell.mode = EditorMode::kPlot;
  d.selection.marqueeActive = false;
  ClearEveryMark(ctx.tables());
  shell.RequestMenuRefresh();
}

void StartRotation(EditContext& ctx, int clientX, int clientY, bool selectionMode) {
  if (selectionMode) SetStatusTitle(ctx.shell, kTitleChangingView);
  BeginFreeRotationDrag(ctx, clientX, clientY, selectionMode);
}

}  // namespace

void SelectAll(ObjectTables& t) {
  if (!t.allocated()) return;
  for (std::uint32_t i = kReservedVectors; i < t.vectorCount; ++i)
    t.vectors[i].selected = kSelected;
  for (std::uint32_t k = 0; k < t.polygonCount; ++k) t.polygonSelected[k] = kSelected;
}

void UnselectAll(ObjectTables& t) { ClearEveryMark(t); }

bool SelectVectorsByFileNumber(ObjectTables& t, Ui& ui, std::span<const std::uint32_t> numbers) {
  for (std::uint32_t n : numbers) {
    if (n >= t.userVectorCount()) {
      char text[64];
      std::snprintf(text, sizeof text, "Vector %u does not exist.", n);
      ui.ShowNote(text);
      return false;
    }
  }
  for (std::uint32_t n : numbers) t.vectors[n + kReservedVectors].selected = kSelected;
  return true;
}

bool SelectPolygonsByNumber(ObjectTables& t, Ui& ui, std::span<const std::uint32_t> numbers) {
  for (std::uint32_t n : numbers) {
    if (n >= t.polygonCount) {
      char text[64];
      std::snprintf(text, sizeof text, "Polygon %u does not exist.", n);
      ui.ShowNote(text);
      return false;
    }
  }
  for (std::uint32_t n : numbers) t.polygonSelected[n] = kSelected;
  return true;
}

bool SelectSameColour(ObjectTables& t, Ui& ui, std::int32_t hoveredPolygon) {
  if (hoveredPolygon < 0 || static_cast<std::uint32_t>(hoveredPolygon) >= t.polygonCount) {
    ui.ShowNote(kMsgSameColourNoPolygon);
    return false;
  }
  const std::uint8_t colour = t.polygons[hoveredPolygon].frontColor;
  for (std::uint32_t k = 0; k < t.polygonCount; ++k) {
    if (t.polygons[k].frontColor == colour) t.polygonSelected[k] = kSelected;
  }
  return true;
}

bool PolygonFacesAway(const ObjectTables& t, std::uint32_t k) {
  if (k >= t.polygonCount) return false;
  const Polygon& poly = t.polygons[k];
  std::array<ScreenPoint, kMaxPolygonPoints> outline;
  const std::uint32_t n = std::min(poly.pointCount, kMaxPolygonPoints);
  for (std::uint32_t c = 0; c < n; ++c) {
    if (poly.points[c] >= t.pointCount) return false;
    const Point& p = t.points[poly.points[c]];
    outline[c] = {p.screenX, p.screenY};
  }
  return FacingSign({outline.data(), n}) < 0;
}

std::uint8_t PolygonPickColour(const ObjectTables& t, std::uint32_t k) {
  const Polygon& poly = t.polygons[k];
  const bool back = (poly.flags & PolyFlag::kEachSideDifferent) != 0 && PolygonFacesAway(t, k);
  return back ? poly.backColor : poly.frontColor;
}

void SetPolygonColour(ObjectTables& t, std::uint32_t k, std::uint8_t colour) {
  if (k >= t.polygonCount) return;
  Polygon& poly = t.polygons[k];
  if ((poly.flags & PolyFlag::kEachSideDifferent) != 0 && PolygonFacesAway(t, k)) {
    poly.backColor = colour;
    poly.backFill = FillWord(colour);
  } else {
    poly.frontColor = colour;
    poly.frontFill = FillWord(colour);
  }
}

void ApplyColourToSelection(ObjectTables& t, std::uint8_t colour) {
  if (!t.allocated()) return;
  for (std::uint32_t k = 0; k < t.polygonCount; ++k) {
    if (IsSelected(t.polygonSelected[k])) SetPolygonColour(t, k, colour);
  }
  for (std::uint32_t i = kReservedVectors; i < t.vectorCount; ++i) {
    if (IsSelected(t.vectors[i].selected)) t.vectors[i].color = colour;
  }
}

void ApplyCurrentColour(EditContext& ctx) {
  ObjectTables& t = ctx.tables();
  if (!t.allocated()) return;
  ProjectAllPoints(t, ctx.display().MakeProjector());
  ApplyColourToSelection(t, ctx.state.currentColour);
  ctx.shell.RequestRedraw();
}

std::uint32_t MakeSelectedFacing(EditContext& ctx, bool back) {
  ObjectTables& t = ctx.tables();
  if (!t.allocated()) return 0;
  ProjectAllPoints(t, ctx.display().MakeProjector());
  std::vector<std::uint32_t> flips;
  for (std::uint32_t k = 0; k < t.polygonCount; ++k) {
    // Facing away already is what "back faced" asks for, and vice versa.
    if (IsSelected(t.polygonSelected[k]) && PolygonFacesAway(t, k) != back) flips.push_back(k);
  }
  if (flips.empty()) return 0;
  ctx.model().PushUndo(UndoLabel::kFlipBackface);
  for (std::uint32_t k : flips) FlipFace(t, k);
  ctx.shell.RequestRedraw();
  return static_cast<std::uint32_t>(flips.size());
}

bool MoveSelectedVectors(ObjectTables& t, std::uint32_t held, int gridStep) {
  if (!t.allocated()) return false;
  const double g = gridStep;
  auto heldKey = [held](std::uint32_t bit) { return (held & bit) != 0; };
  double dx = 0.0, dy = 0.0, dz = 0.0;
  if (heldKey(HeldKey::kLeft)) dx = -g;
  if (heldKey(HeldKey::kRight)) dx = g;
  if (heldKey(HeldKey::kDown)) dy = -g;
  if (heldKey(HeldKey::kUp)) dy = g;
  if (heldKey(HeldKey::kPageDown)) dz = g;
  if (heldKey(HeldKey::kPageUp)) dz = -g;
  const std::uint32_t moveKeys = HeldKey::kLeft | HeldKey::kRight | HeldKey::kUp | HeldKey::kDown |
                                 HeldKey::kPageUp | HeldKey::kPageDown;
  if ((held & moveKeys) == 0) return false;
  const bool shift = heldKey(HeldKey::kShift);
  const bool moveFirst = shift || !heldKey(HeldKey::kControl);
  const bool moveSecond = !shift;

  // The work list of the points to move, each once.
  std::vector<std::uint32_t> points;
  std::vector<std::uint8_t> listed;
  try {
    listed.assign(t.pointCount, 0);
    for (std::uint32_t i = kReservedVectors; i < t.vectorCount; ++i) {
      const Vector& v = t.vectors[i];
      if (v.selected != kSelected) continue;
      for (const std::uint32_t p : {moveFirst ? v.p1 : kNoIndex, moveSecond ? v.p2 : kNoIndex}) {
        // The axis cross is never edited; a stray index is passed over.
        if (p < kReservedPoints || p >= t.pointCount || listed[p]) continue;
        listed[p] = 1;
        points.push_back(p);
      }
    }
  } catch (const std::bad_alloc&) {
    return false;
  }
  for (std::uint32_t p : points) {
    t.points[p].x += dx;
    t.points[p].y += dy;
    t.points[p].z += dz;
  }
  return !points.empty();
}

void SelectMode(EditContext& ctx, int mode) {
  if (mode < 0 || mode >= kModeCount) return;
  ShellState& shell = ctx.shell;
  EditorDisplay& d = ctx.display();
  // The world is built before anything changes: an object it refuses (its
  // message shown) leaves the editor in the mode it was in.
  bool walkBuilt = false;
  if (mode == EditorMode::kVirtualWalk && !shell.walkModeActive && ctx.startWalk) {
    if (!ctx.startWalk()) return;
    walkBuilt = true;
  }
  const ModeHelp texts = ModeHelpTexts(mode, false);
  SetStatusTitle(shell, texts.title);
  SetHelpText(shell, texts.help);

  if (shell.walkModeActive || (mode == EditorMode::kPlot && shell.mode != EditorMode::kPlot)) {
    EnterPlotMode(ctx);
  }
  if (shell.mode == EditorMode::kPlot) {
    // Leaving Plot, or entering it, starts from the plain Front view.
    ResetViewForObject(ctx.model().view, d.view);
    SetScale100(d.view);
    shell.RequestRedraw();
  }
  if (mode == EditorMode::kVirtualWalk) {
    if (walkBuilt || (!shell.walkModeActive && ctx.startWalk && ctx.startWalk())) {
      shell.walkModeActive = true;
    }
    ClearEveryMark(ctx.tables());
    if (shell.walkModeActive) {
      const ModeHelp walk = ModeHelpTexts(mode, true);
      SetStatusTitle(shell, walk.title);
      SetHelpText(shell, walk.help);
    }
  }
  shell.mode = mode;
  if (shell.quickCommandsShown) {
    d.labels.Rebuild(ctx.model().colors.drawing, mode, shell.walkModeActive, shell.walkEditMode);
  }
  RefreshPlotStatus(ctx);
  PlaySound(ctx, 1);
}

void EditAreaClick(EditContext& ctx, int clientX, int clientY) {
  ShellState& shell = ctx.shell;
  if (shell.walkModeActive || !InsideEditArea(ctx, clientX, clientY)) return;
  if (GestureActive(ctx)) CancelGesture(ctx);
  ObjectTables& t = ctx.tables();
  const DisplayOptions& o = ctx.display().options;
  ctx.state.cursorX = clientX;
  ctx.state.cursorY = clientY;
  const std::uint32_t v = HoveredVector(ctx);
  const std::int32_t p = v != 0 ? -1 : HoveredPolygon(ctx);

  switch (shell.mode) {
    case EditorMode::kPlot:
      PlotClick(ctx, clientX, clientY);
      return;
    case EditorMode::kGrabColor:
      if (v == 0 && p < 0) return;
      SetCurrentColour(ctx.state, v != 0 ? t.vectors[v].color : PolygonPickColour(t, p));
      PlaySound(ctx, 6);
      return;
    case EditorMode::kSetColor:
      if (v != 0) {
        t.vectors[v].color = ctx.state.currentColour;
      } else if (p >= 0) {
        SetPolygonColour(t, p, ctx.state.currentColour);
      } else {
        return;
      }
      PlaySound(ctx, 6);
      shell.RequestRedraw();
      return;
    case EditorMode::kSelectVector:
      if (v == 0) {
        StartRotation(ctx, clientX, clientY, true);
      } else if (IsSelected(t.vectors[v].selected)) {
        SetStatusTitle(shell, kTitleDragVector);
        DragEndpoint(ctx, v, clientX, clientY);
      } else {
        t.vectors[v].selected = kSelected;
        PlaySound(ctx, 6);
        shell.RequestRedraw();
      }
      return;
    case EditorMode::kSelectPolygon: {
      // This mode tests no vectors: the polygon alone decides.
      const std::int32_t k = HoveredPolygon(ctx);
      const bool hidden =
          k >= 0 && (t.polygons[k].flags & PolyFlag::kInvisible) != 0 && !o.showInvisible;
      if (k < 0 || !o.polygonsOn || hidden) {
        StartRotation(ctx, clientX, clientY, true);
        return;
      }
      std::uint32_t& mark = t.polygonSelected[k];
      mark = IsSelected(mark) ? kUnselected : kSelected;
      PlaySound(ctx, 6);
      shell.RequestMenuRefresh();
      shell.RequestRedraw();
      return;
    }
    default:
      StartRotation(ctx, clientX, clientY, false);
      return;
  }
}

}  // namespace ws
