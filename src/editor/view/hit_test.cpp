#include "editor/view/hit_test.h"

#include "raster/raster_lines.h"

namespace ws {

IntRect HoverBox(int mx, int my) { return {mx - 4, my - 1, mx + 6, my + 14}; }

bool OutlineContains(std::span<const ScreenPoint> outline, int mx, int my) {
  bool inside = false;
  const std::size_t n = outline.size();
  for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
    const double xi = outline[i].x, yi = outline[i].y;
    const double xj = outline[j].x, yj = outline[j].y;
    if ((yi <= my && my < yj) || (yj <= my && my < yi)) {
      const double x = xi + (my - yi) * (xj - xi) / (yj - yi);
      if (x > mx) inside = !inside;
    }
  }
  return inside;
}

namespace {

EyePoint EyeOf(const Point& p) { return {p.eyeDepth, p.eyeX, p.eyeY}; }

bool SegmentHits(const ScreenPoint& a, const ScreenPoint& b, const IntRect& box) {
  const LineSteps line(a.x, a.y, b.x, b.y);
  return !line.StepsIn(box).Empty();
}

}  // namespace

bool HitTester::VectorSegment(const ObjectTables& tables, const Projector& projector,
                              std::uint32_t index, ScreenPoint& a, ScreenPoint& b) {
  const Vector& v = tables.vectors[index];
  if (v.p1 >= tables.pointCount || v.p2 >= tables.pointCount) return false;
  const Point& p1 = tables.points[v.p1];
  const Point& p2 = tables.points[v.p2];
  EyePoint e1 = EyeOf(p1), e2 = EyeOf(p2);
  if (projector.Divisible(e1) && projector.Divisible(e2)) {
    a = {p1.screenX, p1.screenY};
    b = {p2.screenX, p2.screenY};
    return true;
  }
  if (!ClipSegmentToNearPlane(e1, e2)) return false;
  a = projector.Screen(e1);
  b = projector.Screen(e2);
  return true;
}

VectorHit HitTester::HoveredVector(const ObjectTables& tables, const Projector& projector, int mx,
                                   int my) const {
  VectorHit best;
  if (!tables.allocated() || tables.vectorCount <= kReservedVectors) return best;
  const IntRect box = HoverBox(mx, my);
  bool found = false;
  for (std::uint32_t i = kReservedVectors; i < tables.vectorCount; ++i) {
    ScreenPoint a, b;
    if (!VectorSegment(tables, projector, i, a, b) || !SegmentHits(a, b, box)) continue;
    const Vector& v = tables.vectors[i];
    const int depth = static_cast<int>(
        (std::int64_t{tables.points[v.p1].screenDepth} + tables.points[v.p2].screenDepth) / 2);
    if (!found || depth > best.depth) {
      best = {i, depth};
      found = true;
    }
  }
  return best;
}

void HitTester::MarkVectorsInMarquee(ObjectTables& tables, const Projector& projector,
                                     const IntRect& marquee) const {
  if (!tables.allocated()) return;
  const IntRect inside{marquee.left + 1, marquee.top + 1, marquee.right - 1, marquee.bottom - 1};
  for (std::uint32_t i = kReservedVectors; i < tables.vectorCount; ++i) {
    Vector& v = tables.vectors[i];
    ScreenPoint a, b;
    const bool hit = VectorSegment(tables, projector, i, a, b) && SegmentHits(a, b, inside);
    if (hit) {
      if (v.selected != kSelected) v.selected = kMarqueeMarked;
    } else if (v.selected == kMarqueeMarked) {
      v.selected = kUnselected;
    }
  }
}

PolygonHit HitTester::HoveredPolygon(const ObjectTables& tables, const Projector& projector, int mx,
                                     int my, bool showInvisible) {
  PolygonHit best;
  if (!tables.allocated()) return best;
  for (std::uint32_t k = 0; k < tables.polygonCount; ++k) {
    const Polygon& poly = tables.polygons[k];
    if ((poly.flags & PolyFlag::kNotDrawn) != 0) continue;
    if ((poly.flags & PolyFlag::kInvisible) != 0 && !showInvisible) continue;
    const std::uint32_t n = poly.pointCount;
    if (n == 0 || n > kMaxPolygonPoints) continue;
    bool usable = true;
    bool divisible = true;
    for (std::uint32_t c = 0; c < n && usable; ++c) {
      const std::uint32_t pi = poly.points[c];
      if (pi >= tables.pointCount || tables.points[pi].screenDepth < 0) {
        usable = false;
        break;
      }
      const Point& p = tables.points[pi];
      eye_[c] = EyeOf(p);
      outline_[c] = {p.screenX, p.screenY};
      if (!projector.Divisible(eye_[c])) divisible = false;
    }
    if (!usable) continue;
    std::size_t m = n;
    if (!divisible) {
      m = ClipPolygonToNearPlane({eye_.data(), n}, clipped_);
      for (std::size_t c = 0; c < m; ++c) outline_[c] = projector.Screen(clipped_[c]);
    }
    if (m == 0 || !OutlineContains({outline_.data(), m}, mx, my)) continue;
    if (poly.depth > best.depth) best = {static_cast<std::int32_t>(k), poly.depth};
  }
  return best;
}

bool ModeTestsVectors(int mode) {
  return mode == EditorMode::kGrabColor || mode == EditorMode::kSetColor ||
         mode == EditorMode::kSelectVector;
}

bool ModeTestsPolygons(int mode) {
  return mode == EditorMode::kGrabColor || mode == EditorMode::kSetColor ||
         mode == EditorMode::kSelectPolygon;
}

HoverState ChooseHovered(int mode, const VectorHit& vector, const PolygonHit& polygon,
                         bool polygonsOn) {
  HoverState h;
  if (ModeTestsVectors(mode) && vector.vector != 0) {
    h.vector = vector.vector;
    h.vectorDepth = vector.depth;
  }
  if (ModeTestsPolygons(mode) && polygon.polygon >= 0) {
    h.polygon = polygon.polygon;
    h.polygonDepth = polygon.depth;
  }
  if (h.vector != 0 && h.polygon >= 0) {
    if (polygonsOn && h.polygonDepth > h.vectorDepth) {
      h.vector = 0;
      h.vectorDepth = 0;
    } else {
      h.polygon = -1;
      h.polygonDepth = 0.0;
    }
  }
  return h;
}

void UpdateHover(HoverState& hover, HitTester& tester, const ObjectTables& tables,
                 const Projector& projector, int mode, bool insideArea, int mx, int my,
                 bool polygonsOn, bool showInvisible) {
  if (!ModeTestsVectors(mode) && !ModeTestsPolygons(mode)) return;
  if (!insideArea) {
    hover = HoverState{};
    return;
  }
  VectorHit v;
  PolygonHit p;
  if (ModeTestsVectors(mode)) v = tester.HoveredVector(tables, projector, mx, my);
  if (ModeTestsPolygons(mode)) p = tester.HoveredPolygon(tables, projector, mx, my, showInvisible);
  hover = ChooseHovered(mode, v, p, polygonsOn);
}

}  // namespace ws
