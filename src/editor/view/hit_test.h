// Hit tests of the editing views, on the screen positions of the last
// projection (ProjectAll) and the polygon depths and not-drawn marks of the
// last frame (DrawFrame).
//
// Hovered vector: the cursor (EditArea-local mx, my) spans the box
// mx - 5 < x < mx + 7, my - 2 < y < my + 15 (strict; not centred on the hot
// spot). Every vector from index 6 (whether the vector filter hides it or
// not) is walked as a Bresenham line from endpoint 1 to endpoint 2, last
// pixel included; a vector with a pixel in the box is hit. The hit with the
// greatest (Z1 + Z2) / 2 (integer division) wins, ties keeping the first.
// None when the object holds only the six axes.
//
// Marquee: the same walk against left < x < right, top < y < bottom; a hit
// vector gets the mark 128 unless it is selected (1); a vector no longer hit
// that holds 128 goes back to 0.
//
// Hovered polygon: from best depth -1000000.0, every polygon not marked
// not-drawn by the last frame and with no point whose depth key is below 0
// is tested with the even-odd rule on its points' screen positions (an edge
// counts when my lies in [y_i, y_j) or [y_j, y_i) and the edge's x at my is
// greater than mx); a polygon holding the cursor wins when its mean depth is
// greater than the best so far (among equals the first wins). Invisible
// polygons are passed over while invisible polygons are not shown.
//
// With perspective on, a vector or polygon with a point at or behind the
// near plane is tested on its outline clipped to that plane (the same
// outline the frame drew); one with nothing left is not hit. Vectors and
// polygons naming a point outside the table are never hit.
//
// Which one is hovered (each tick): the vector test runs in the Grab Color,
// Set Color and Select Vector modes, the polygon test in Grab Color, Set
// Color and Select Polygon; a mode that does not run a test has none of that
// kind hovered. Outside the EditArea nothing is hovered. When both are
// found, the polygon wins (and the vector is cleared) when its depth exceeds
// the vector's, polygons are on and the mode tests polygons; otherwise the
// vector wins in a mode that tests vectors and the polygon is cleared. In
// the other modes (Plot, Camera View, Virtual Walk) the hover is left as it
// is.
//
// Nothing here allocates; the clipping scratch is part of the HitTester.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "editor/editor_state.h"
#include "editor/view/projection.h"
#include "model/object_tables.h"

namespace ws {

inline constexpr double kNoPolygonDepth = -1000000.0;

// The strict hover box as an inclusive rectangle.
IntRect HoverBox(int mx, int my);

// Even-odd rule of the polygon hit test.
bool OutlineContains(std::span<const ScreenPoint> outline, int mx, int my);

struct VectorHit {
  std::uint32_t vector = 0;  // 0: none
  int depth = 0;
};

struct PolygonHit {
  std::int32_t polygon = -1;  // -1: none
  double depth = kNoPolygonDepth;
};

class HitTester {
 public:
  VectorHit HoveredVector(const ObjectTables& tables, const Projector& projector, int mx,
                          int my) const;
  // Vectors whose walk enters the inside of `marquee` (its edges excluded).
  void MarkVectorsInMarquee(ObjectTables& tables, const Projector& projector,
                            const IntRect& marquee) const;
  PolygonHit HoveredPolygon(const ObjectTables& tables, const Projector& projector, int mx, int my,
                            bool showInvisible);

  // The screen segment of vector `index` as drawn: false when an end is
  // outside the point table or, with perspective, nothing is left after
  // clipping.
  static bool VectorSegment(const ObjectTables& tables, const Projector& projector,
                            std::uint32_t index, ScreenPoint& a, ScreenPoint& b);

 private:
  std::array<EyePoint, kMaxPolygonPoints> eye_{};
  std::array<EyePoint, ClippedCapacity(kMaxPolygonPoints)> clipped_{};
  std::array<ScreenPoint, ClippedCapacity(kMaxPolygonPoints)> outline_{};
};

bool ModeTestsVectors(int mode);
bool ModeTestsPolygons(int mode);

// The rule above, given the results of the tests the mode ran (pass an
// empty hit for a test that did not run).
HoverState ChooseHovered(int mode, const VectorHit& vector, const PolygonHit& polygon,
                         bool polygonsOn);

// One tick's hover work: runs the tests of `mode` at (mx, my) when the
// cursor is inside the EditArea and updates `hover`.
void UpdateHover(HoverState& hover, HitTester& tester, const ObjectTables& tables,
                 const Projector& projector, int mode, bool insideArea, int mx, int my,
                 bool polygonsOn, bool showInvisible);

}  // namespace ws
