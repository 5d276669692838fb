#include "editor/interaction/drag.h"

#include <cmath>
#include <cstdio>

#include "editor/interaction/colour_chooser.h"
#include "editor/interaction/marquee.h"
#include "editor/view/projection.h"
#include "model/undo.h"

namespace ws {
namespace {

long PixelDistance(const Point& p, int x, int y) {
  const double dx = static_cast<double>(p.screenX) - x;
  const double dy = static_cast<double>(p.screenY) - y;
  return std::lround(std::sqrt(dx * dx + dy * dy));
}

bool IsUserPoint(const ObjectTables& t, std::uint32_t p) {
  return p >= kReservedPoints && p < t.pointCount;
}

void EndFreeRotation(EditContext& ctx) {
  const bool restore = ctx.state.gesture.restoreModeHelp;
  EndGesture(ctx);
  if (restore) ShowModeHelp(ctx.shell, ctx.shell.mode);
  ctx.shell.RequestRedraw();
}

void FreeRotationMove(EditContext& ctx, int clientX, int clientY) {
  Gesture& g = ctx.state.gesture;
  // The rotation follows the cursor only inside the EditArea; leaving it
  // ends the rotation, as letting go of the button does.
  if (!InsideEditArea(ctx, clientX, clientY)) {
    EndFreeRotation(ctx);
    return;
  }
  const int x = LocalX(ctx, clientX), y = LocalY(ctx, clientY);
  if (x == g.lastX && y == g.lastY) return;
  const EditAreaLayout& l = ctx.display().layout;
  FreeRotationStep(ctx.model().view, g.lastX, g.lastY, x, y, l.cx, l.cy,
                   l.editArea.right - l.editArea.left);
  g.lastX = x;
  g.lastY = y;
  ShowFrameNow(ctx);
}

void DragMove(EditContext& ctx, int clientX, int clientY) {
  Gesture& g = ctx.state.gesture;
  ObjectTables& t = ctx.tables();
  // An undo during the drag could have taken the point away.
  if (!IsUserPoint(t, g.dragPoint)) {
    EndGesture(ctx);
    return;
  }
  const int mx = LocalX(ctx, clientX), my = LocalY(ctx, clientY);
  Point& p = t.points[g.dragPoint];
  p.x = g.pointX0 + (mx - g.startX);
  p.y = g.pointY0 + (g.startY - my);
  g.lastX = mx;
  g.lastY = my;
  ctx.shell.RequestRedraw();
  ShowFrameNow(ctx);
  SetStatusTitle(ctx.shell, DragTitle(p.x - g.pointX0, g.pointY0 - p.y));
}

}  // namespace

void BeginGesture(EditContext& ctx, GestureKind kind) {
  ctx.state.gesture = Gesture{};
  ctx.state.gesture.kind = kind;
  ctx.shell.rotationInProgress = true;
  ctx.display().view.rotationInProgress = kind == GestureKind::kFreeRotation;
}

void EndGesture(EditContext& ctx) {
  ctx.state.gesture.kind = GestureKind::kNone;
  ctx.shell.rotationInProgress = false;
  ctx.display().view.rotationInProgress = false;
}

bool GestureActive(const EditContext& ctx) { return ctx.state.gesture.kind != GestureKind::kNone; }

void BeginFreeRotationDrag(EditContext& ctx, int clientX, int clientY, bool restoreModeHelp) {
  if (GestureActive(ctx)) CancelGesture(ctx);
  BeginGesture(ctx, GestureKind::kFreeRotation);
  Gesture& g = ctx.state.gesture;
  g.lastX = LocalX(ctx, clientX);
  g.lastY = LocalY(ctx, clientY);
  g.restoreModeHelp = restoreModeHelp;
  BeginFreeRotation(ctx.model().view);
}

std::string DragTitle(double dx, double dy) {
  char text[96];
  std::snprintf(text, sizeof text, "dx:%5.3f  dy%5.3f", dx, dy);
  return text;
}

bool DragEndpoint(EditContext& ctx, std::uint32_t vector, int clientX, int clientY) {
  ObjectTables& t = ctx.tables();
  if (!t.allocated() || vector < kReservedVectors || vector >= t.vectorCount) return false;
  const Vector& v = t.vectors[vector];
  if (!IsUserPoint(t, v.p1) || !IsUserPoint(t, v.p2)) return false;
  if (GestureActive(ctx)) CancelGesture(ctx);

  ctx.model().PushUndo(UndoLabel::kDrag);
  SyncFrame(ctx);
  ctx.editor.view().ProjectAll();
  ctx.editor.view().DrawFrame(0);

  const int mx = LocalX(ctx, clientX), my = LocalY(ctx, clientY);
  const bool first = PixelDistance(t.points[v.p1], mx, my) < PixelDistance(t.points[v.p2], mx, my);
  BeginGesture(ctx, GestureKind::kDragEndpoint);
  Gesture& g = ctx.state.gesture;
  g.dragPoint = first ? v.p1 : v.p2;
  g.startX = g.lastX = mx;
  g.startY = g.lastY = my;
  g.pointX0 = t.points[g.dragPoint].x;
  g.pointY0 = t.points[g.dragPoint].y;
  return true;
}

void PointerMoved(EditContext& ctx, int clientX, int clientY) {
  ctx.state.cursorX = clientX;
  ctx.state.cursorY = clientY;
  switch (ctx.state.gesture.kind) {
    case GestureKind::kNone:
      return;
    case GestureKind::kFreeRotation:
      FreeRotationMove(ctx, clientX, clientY);
      return;
    case GestureKind::kDragEndpoint:
      DragMove(ctx, clientX, clientY);
      return;
    case GestureKind::kMarquee:
      MarqueeStep(ctx, LocalX(ctx, clientX), LocalY(ctx, clientY));
      return;
    case GestureKind::kColourChooser:
      ColourChooserStep(ctx, clientX, clientY);
      return;
  }
}

GestureEnd PointerReleased(EditContext& ctx, PointerButton button, int clientX, int clientY) {
  GestureEnd end;
  const GestureKind kind = ctx.state.gesture.kind;
  if (kind == GestureKind::kNone) return end;
  const bool rightGesture = kind == GestureKind::kMarquee;
  if ((button == PointerButton::kRight) != rightGesture) return end;
  // Where the button came up counts as the last position.
  PointerMoved(ctx, clientX, clientY);
  end.kind = kind;
  switch (ctx.state.gesture.kind) {
    case GestureKind::kNone:
      break;  // the last move ended it (rotation left the area)
    case GestureKind::kFreeRotation:
      EndFreeRotation(ctx);
      break;
    case GestureKind::kDragEndpoint:
      EndGesture(ctx);
      ctx.shell.RequestRedraw();
      ctx.shell.RequestMenuRefresh();
      break;
    case GestureKind::kMarquee:
      end.openPopupMenu = !FinishMarquee(ctx);
      break;
    case GestureKind::kColourChooser:
      FinishColourChooser(ctx);
      break;
  }
  return end;
}

void CancelGesture(EditContext& ctx) {
  switch (ctx.state.gesture.kind) {
    case GestureKind::kNone:
      return;
    case GestureKind::kFreeRotation:
      EndFreeRotation(ctx);
      return;
    case GestureKind::kDragEndpoint:
      EndGesture(ctx);
      ctx.shell.RequestRedraw();
      return;
    case GestureKind::kMarquee:
      AbortMarquee(ctx);
      return;
    case GestureKind::kColourChooser:
      AbortColourChooser(ctx);
      return;
  }
}

}  // namespace ws
