#include "editor/interaction/marquee.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "editor/interaction/drag.h"
#include "editor/view/hit_test.h"

namespace ws {
namespace {

using Wide = long long;

int Orientation(Wide ax, Wide ay, Wide bx, Wide by, Wide cx, Wide cy) {
  const Wide cross = (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
  return (cross > 0) - (cross < 0);
}

bool OnSegment(Wide ax, Wide ay, Wide bx, Wide by, Wide px, Wide py) {
  return std::min(ax, bx) <= px && px <= std::max(ax, bx) && std::min(ay, by) <= py &&
         py <= std::max(ay, by);
}

// Closed segments AB and CD meet (touching counts).
bool SegmentsMeet(const ScreenPoint& a, const ScreenPoint& b, const ScreenPoint& c,
                  const ScreenPoint& d) {
  // The bounding boxes first: most edges are far from most sides.
  if (std::max(a.x, b.x) < std::min(c.x, d.x) || std::max(c.x, d.x) < std::min(a.x, b.x) ||
      std::max(a.y, b.y) < std::min(c.y, d.y) || std::max(c.y, d.y) < std::min(a.y, b.y)) {
    return false;
  }
  const int o1 = Orientation(a.x, a.y, b.x, b.y, c.x, c.y);
  const int o2 = Orientation(a.x, a.y, b.x, b.y, d.x, d.y);
  const int o3 = Orientation(c.x, c.y, d.x, d.y, a.x, a.y);
  const int o4 = Orientation(c.x, c.y, d.x, d.y, b.x, b.y);
  if (o1 != o2 && o3 != o4) return true;
  return (o1 == 0 && OnSegment(a.x, a.y, b.x, b.y, c.x, c.y)) ||
         (o2 == 0 && OnSegment(a.x, a.y, b.x, b.y, d.x, d.y)) ||
         (o3 == 0 && OnSegment(c.x, c.y, d.x, d.y, a.x, a.y)) ||
         (o4 == 0 && OnSegment(c.x, c.y, d.x, d.y, b.x, b.y));
}

bool Qualifies(const Polygon& poly, int setting) {
  const bool back = (poly.flags & PolyFlag::kBackFacing) != 0;
  if (setting == kMarqueeBackFacedOnly) return back;
  if (setting == kMarqueeFrontFacedOnly) return !back;
  return true;
}

}  // namespace

std::string MarqueeCountText(long count) {
  char text[64];
  std::snprintf(text, sizeof text, "Polygons Selected = %ld     ", count);
  return text;
}

IntRect MarqueeRect(int x0, int y0, int x1, int y1, const IntRect& local) {
  const int maxX = std::max(local.left, local.right - 1);
  const int maxY = std::max(local.top, local.bottom - 1);
  IntRect r;
  r.left = std::clamp(std::min(x0, x1), local.left, maxX);
  r.right = std::clamp(std::max(x0, x1), local.left, maxX);
  r.top = std::clamp(std::min(y0, y1), local.top, maxY);
  r.bottom = std::clamp(std::max(y0, y1), local.top, maxY);
  return r;
}

bool OutlineHitByRect(std::span<const ScreenPoint> outline, const IntRect& rect) {
  if (outline.empty() || rect.Empty()) return false;
  const std::array<ScreenPoint, 4> corners = {
      ScreenPoint{rect.left, rect.top}, ScreenPoint{rect.right, rect.top},
      ScreenPoint{rect.right, rect.bottom}, ScreenPoint{rect.left, rect.bottom}};
  for (const ScreenPoint& c : corners) {
    if (OutlineContains(outline, c.x, c.y)) return true;
  }
  for (const ScreenPoint& p : outline) {
    if (rect.Contains(p.x, p.y)) return true;
  }
  const std::size_t n = outline.size();
  for (std::size_t i = 0; i < n; ++i) {
    const ScreenPoint& a = outline[i];
    const ScreenPoint& b = outline[(i + 1) % n];
    for (std::size_t s = 0; s < 4; ++s) {
      if (SegmentsMeet(a, b, corners[s], corners[(s + 1) % 4])) return true;
    }
  }
  return false;
}

std::uint32_t MarkPolygonsInMarquee(ObjectTables& t, const IntRect& rect, int setting,
                                    bool showInvisible) {
  std::array<ScreenPoint, kMaxPolygonPoints> outline;
  std::uint32_t marked = 0;
  for (std::uint32_t k = 0; k < t.polygonCount; ++k) {
    Polygon& poly = t.polygons[k];
    std::uint32_t& mark = t.polygonSelected[k];
    bool hit = (poly.flags & PolyFlag::kNotDrawn) == 0 &&
               !((poly.flags & PolyFlag::kInvisible) != 0 && !showInvisible);
    const std::uint32_t n = std::min(poly.pointCount, kMaxPolygonPoints);
    for (std::uint32_t c = 0; hit && c < n; ++c) {
      // A corner outside the point table is never on screen.
      if (poly.points[c] >= t.pointCount)
        hit = false;
      else
        outline[c] = {t.points[poly.points[c]].screenX, t.points[poly.points[c]].screenY};
    }
    hit = hit && OutlineHitByRect({outline.data(), n}, rect);
    if (hit && Qualifies(poly, setting)) {
      if (mark != kSelected) mark = kMarqueeMarked;
    } else {
      if (mark == kMarqueeMarked) mark = kUnselected;
      const std::uint32_t nv = std::min(poly.vectorCount, kMaxPolygonVectors);
      for (std::uint32_t v = 0; v < nv; ++v) {
        const std::uint32_t vi = poly.vectors[v];
        if (vi < t.vectorCount && t.vectors[vi].selected == kMarqueeMarked) {
          t.vectors[vi].selected = kUnselected;
        }
      }
    }
    if (mark != kUnselected) ++marked;
  }
  return marked;
}

void ResolveMarqueeMarks(ObjectTables& t, std::uint32_t mark) {
  if (!t.allocated()) return;
  for (std::uint32_t i = kReservedVectors; i < t.vectorCount; ++i) {
    if (t.vectors[i].selected == kMarqueeMarked) t.vectors[i].selected = mark;
  }
  for (std::uint32_t k = 0; k < t.polygonCount; ++k) {
    if (t.polygonSelected[k] == kMarqueeMarked) t.polygonSelected[k] = mark;
  }
}

void DrawMarqueeOutline(PixelRows target, const IntRect& r, std::uint8_t colour,
                        std::uint8_t background, int antsPhase) {
  DrawMarqueeLine(target, r.left, r.top, r.right, r.top, colour, background, antsPhase);
  DrawMarqueeLine(target, r.right, r.top, r.right, r.bottom, colour, background, antsPhase);
  DrawMarqueeLine(target, r.right, r.bottom, r.left, r.bottom, colour, background, antsPhase);
  DrawMarqueeLine(target, r.left, r.bottom, r.left, r.top, colour, background, antsPhase);
}

bool MarqueeDrag(EditContext& ctx, int clientX, int clientY) {
  if (ctx.shell.walkModeActive || !InsideEditArea(ctx, clientX, clientY)) return false;
  if (GestureActive(ctx)) CancelGesture(ctx);
  SetHelpText(ctx.shell, kHelpMarquee);
  EditorDisplay& d = ctx.display();
  BeginGesture(ctx, GestureKind::kMarquee);
  Gesture& g = ctx.state.gesture;
  const IntRect start = MarqueeRect(LocalX(ctx, clientX), LocalY(ctx, clientY),
                                    LocalX(ctx, clientX), LocalY(ctx, clientY), d.layout.local);
  g.cornerX = g.lastX = start.left;
  g.cornerY = g.lastY = start.top;
  d.selection.marqueeActive = true;
  d.selection.marquee = start;
  return true;
}

void MarqueeStep(EditContext& ctx, int localX, int localY) {
  Gesture& g = ctx.state.gesture;
  if (g.kind != GestureKind::kMarquee) return;
  EditorDisplay& d = ctx.display();
  const IntRect rect = MarqueeRect(g.cornerX, g.cornerY, localX, localY, d.layout.local);
  // The far corner as clamped: the marquee "moved" when it differs from the
  // start corner.
  const int endX = g.cornerX == rect.left ? rect.right : rect.left;
  const int endY = g.cornerY == rect.top ? rect.bottom : rect.top;
  if (endX == g.lastX && endY == g.lastY) return;
  g.lastX = endX;
  g.lastY = endY;
  d.selection.marquee = rect;

  ObjectTables& t = ctx.tables();
  const int mode = ctx.shell.mode;
  SyncFrame(ctx);
  EditView& view = ctx.editor.view();
  view.ProjectAll();
  const Projector projector = d.MakeProjector();
  if (mode != EditorMode::kSelectPolygon) {
    ctx.editor.hitTester.MarkVectorsInMarquee(t, projector, rect);
  }
  std::uint32_t count = 0;
  if (mode != EditorMode::kSelectVector) {
    count = MarkPolygonsInMarquee(t, rect, d.selection.polygonMarquee, d.options.showInvisible);
  }
  SetHelpText(ctx.shell, MarqueeCountText(static_cast<long>(count)));

  view.DrawFrame(0);
  if (!d.offscreen.empty()) {
    const DrawingColors& colours = ctx.model().colors.drawing;
    DrawMarqueeOutline(d.offscreen.draw.Target(), rect, colours.lightGrey, colours.black,
                       d.frame.ants.phase);
  }
  view.Present(d.layout.local, d.layout.editArea);
}

namespace {

void EndMarquee(EditContext& ctx) {
  EditorDisplay& d = ctx.display();
  d.selection.marqueeActive = false;
  d.selection.marquee = IntRect{};
  ctx.shell.RequestMenuRefresh();
  ctx.shell.RequestRedraw();
  EndGesture(ctx);
}

}  // namespace

bool FinishMarquee(EditContext& ctx) {
  const Gesture& g = ctx.state.gesture;
  if (g.kind != GestureKind::kMarquee) return false;
  const bool moved = g.lastX != g.cornerX || g.lastY != g.cornerY;
  EndMarquee(ctx);
  // Without movement nothing is selected, even if the cursor strayed and
  // came back: the pop-up menu opens on an unchanged selection.
  ResolveMarqueeMarks(ctx.tables(), moved ? kSelected : kUnselected);
  return moved;
}

void AbortMarquee(EditContext& ctx) {
  if (ctx.state.gesture.kind != GestureKind::kMarquee) return;
  EndMarquee(ctx);
  ResolveMarqueeMarks(ctx.tables(), kUnselected);
}

}  // namespace ws
