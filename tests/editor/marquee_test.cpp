#include "editor/interaction/marquee.h"

#include <gtest/gtest.h>

#include "editor/interaction/drag.h"
#include "editor/interaction/selection.h"
#include "editor/view/hit_test.h"
#include "editor_test_support.h"
#include "interaction_test_support.h"

namespace ws {
namespace {

using test::AddLine;
using test::AddPolygon;

TEST(MarqueeRectTest, OrdersAndClampsLessOnePixelRightAndBottom) {
  const IntRect local{0, 0, 99, 49};
  EXPECT_EQ(std::vector({MarqueeRect(10, 20, 5, 3, local), MarqueeRect(-5, 60, 200, -10, local),
                         MarqueeRect(99, 49, 99, 49, local)}),
            std::vector<IntRect>({{5, 3, 10, 20}, {0, 0, 98, 48}, {98, 48, 98, 48}}));
}

// Front view at 100%: polygon `front` (0..40 x 0..40) faces the viewer,
// `away` (60..100 x 0..40) faces away, and the stray vector runs from
// (-80, -20) to (-40, -20). The marquee from client (CX - 100, CY + 30) to
// (CX + 110, CY - 50) encloses them all.
class MarqueeDragTest : public test::InteractionTest {
 protected:
  MarqueeDragTest() {
    front =
        AddPolygon(t(), {{0, 0, 0}, {0, 40, 0}, {40, 40, 0}, {40, 0, 0}}, PolyFlag::kDefined, 3);
    away = AddPolygon(t(), {{60, 0, 0}, {100, 0, 0}, {100, 40, 0}, {60, 40, 0}}, PolyFlag::kDefined,
                      3);
    stray = AddLine(t(), {-80, -20, 0}, {-40, -20, 0});
    f.Frame();
  }
  // Drags from the first corner over the second; returns the release result.
  GestureEnd Drag(int x0, int y0, int x1, int y1) {
    EXPECT_TRUE(MarqueeDrag(ctx, x0, y0));
    PointerMoved(ctx, (x0 + x1) / 2, (y0 + y1) / 2);
    PointerMoved(ctx, x1, y1);
    during.assign(t().vectorCount, 0);
    for (std::uint32_t i = 0; i < t().vectorCount; ++i) during[i] = t().vectors[i].selected;
    duringFront = t().polygonSelected[front];
    duringAway = t().polygonSelected[away];
    helpDuring = shell.helpText;
    return PointerReleased(ctx, PointerButton::kRight, x1, y1);
  }
  GestureEnd DragAll() { return Drag(CX() - 100, CY() + 30, CX() + 110, CY() - 50); }
  std::uint32_t Edge(std::uint32_t polygon, int i) { return t().polygons[polygon].vectors[i]; }
  std::uint32_t Mark(std::uint32_t vector) { return t().vectors[vector].selected; }

  std::uint32_t front = 0, away = 0, stray = 0;
  std::vector<std::uint32_t> during;
  std::uint32_t duringFront = 0, duringAway = 0;
  std::string helpDuring;
};

TEST_F(MarqueeDragTest, EachModeAndSettingMarksWhatItTests) {
  const struct {
    const char* name;
    int mode, setting;
    long count;            // polygons reported while dragging
    bool front, away;      // polygons selected after the release
    bool frontEdges, awayEdges, stray;  // vectors selected after the release
  } rows[] = {
      {"camera view", EditorMode::kCameraView, kMarqueeAllPolygons, 2, true, true, true, true,
       true},
      {"select vector", EditorMode::kSelectVector, kMarqueeAllPolygons, 0, false, false, true,
       true, true},
      {"select polygon", EditorMode::kSelectPolygon, kMarqueeAllPolygons, 2, true, true, false,
       false, false},
      {"front faced only", EditorMode::kCameraView, kMarqueeFrontFacedOnly, 1, true, false, true,
       false, true},
      {"back faced only", EditorMode::kSelectPolygon, kMarqueeBackFacedOnly, 1, false, true, false,
       false, false},
  };
  for (const auto& r : rows) {
    UnselectAll(t());
    shell.mode = r.mode;
    shell.marqueeSelection = r.setting;
    EXPECT_FALSE(DragAll().openPopupMenu) << r.name;
    const std::uint32_t marked = kMarqueeMarked, none = kUnselected;
    EXPECT_EQ(std::make_tuple(helpDuring, duringFront, during[stray], t().polygonSelected[front],
                              t().polygonSelected[away], Mark(stray)),
              std::make_tuple(MarqueeCountText(r.count), r.front ? marked : none,
                              r.stray ? marked : none, r.front ? kSelected : none,
                              r.away ? kSelected : none, r.stray ? kSelected : none))
        << r.name;
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(std::make_pair(Mark(Edge(front, i)), Mark(Edge(away, i))),
                std::make_pair(r.frontEdges ? kSelected : none, r.awayEdges ? kSelected : none))
          << r.name << i;
    }
    for (std::uint32_t i = 0; i < kReservedVectors; ++i) EXPECT_EQ(Mark(i), kUnselected) << r.name;
  }
}

// Tables whose points are placed on the screen directly (as a projection
// would leave them), with an orthographic projector for the tests.
class HitFixture : public ::testing::Test, public test::AxisTables {
 protected:
  HitFixture() : projector(view, extra, LayoutForAreaSize(400, 300), false) {
    // The axis cross runs through the middle of the screen.
    for (std::uint32_t i = 0; i < kReservedPoints; ++i) Place(i, 200, 150, 31000);
  }

  void Place(std::uint32_t i, int x, int y, int depth) {
    Point& p = t.points[i];
    p.screenX = x;
    p.screenY = y;
    p.screenDepth = depth;
    p.eyeDepth = depth - 31000.0;
    p.eyeX = x;
    p.eyeY = y;
  }
  std::uint32_t At(int x, int y, int depth = 30000) {
    const std::uint32_t i = t.AddPoint(++unique, 0, 0);
    Place(i, x, y, depth);
    return i;
  }
  std::uint32_t Line(int x1, int y1, int x2, int y2, int depth = 30000) {
    const std::uint32_t v = t.AddVector(At(x1, y1, depth), At(x2, y2, depth));
    t.vectors[v].selected = kUnselected;
    return v;
  }

  ViewState view;
  EditorViewState extra;
  Projector projector;
  HitTester tester;
  double unique = 0;
};

using HoveredVectorHit = HitFixture;

TEST_F(HoveredVectorHit, BoxIsStrictAndOffCentre) {
  const int mx = 100, my = 80;
  EXPECT_EQ(HoverBox(mx, my), (IntRect{96, 79, 106, 94}));
  struct Case { int x1, y1, x2, y2; bool hit; };
  // Short lines just inside and just outside each side of the box.
  const Case cases[] = {
      {96, 60, 96, 120, true},   {95, 60, 95, 120, false},    // left: mx - 5 < x
      {106, 60, 106, 120, true}, {107, 60, 107, 120, false},  // right: x < mx + 7
      {60, 79, 140, 79, true},   {60, 78, 140, 78, false},    // top: my - 2 < y
      {60, 94, 140, 94, true},   {60, 95, 140, 95, false},    // bottom: y < my + 15
  };
  for (const Case& c : cases) {
    t.vectorCount = kReservedVectors;
    t.pointCount = kReservedPoints;
    const std::uint32_t v = Line(c.x1, c.y1, c.x2, c.y2);
    const VectorHit hit = tester.HoveredVector(t, projector, mx, my);
    EXPECT_EQ(hit.vector, c.hit ? v : 0u) << c.x1 << "," << c.y1 << " " << c.x2 << "," << c.y2;
  }
}

TEST_F(HoveredVectorHit, NearestWinsAndEqualDepthKeepsTheFirst) {
  const std::uint32_t a = Line(0, 80, 300, 80, 30000);
  const std::uint32_t b = Line(100, 0, 100, 200, 30000);
  VectorHit hit = tester.HoveredVector(t, projector, 100, 80);
  EXPECT_EQ(std::make_pair(hit.vector, hit.depth), std::make_pair(a, 30000));
  // Depth is (Z1 + Z2) / 2 with integer division: 30001 and 30002 give 30001.
  const std::uint32_t c = t.AddVector(At(100, 70, 30001), At(100, 90, 30002));
  t.vectors[c].selected = kUnselected;
  hit = tester.HoveredVector(t, projector, 100, 80);
  EXPECT_EQ(std::make_pair(hit.vector, hit.depth), std::make_pair(c, 30001));
  (void)b;
}

using VectorMarqueeMarking = HitFixture;

TEST_F(VectorMarqueeMarking, MarksHitsAndReleasesLostOnes) {
  const std::uint32_t inside = Line(20, 20, 30, 30);
  const std::uint32_t selected = Line(25, 10, 25, 40);
  const std::uint32_t outside = Line(200, 200, 210, 210);
  const std::uint32_t onEdge = Line(10, 0, 10, 100);  // the marquee's left column
  t.vectors[selected].selected = kSelected;
  t.vectors[outside].selected = kMarqueeMarked;  // marked by an earlier step
  const IntRect marquee{10, 10, 50, 50};
  tester.MarkVectorsInMarquee(t, projector, marquee);
  auto marks = [&] {
    return std::vector{t.vectors[inside].selected, t.vectors[selected].selected,
                       t.vectors[outside].selected, t.vectors[onEdge].selected};
  };
  // left < x is strict: the vector on the left edge stays out.
  EXPECT_EQ(marks(), (std::vector{kMarqueeMarked, kSelected, kUnselected, kUnselected}));
  // The marquee shrinks away from the first vector: its mark goes.
  tester.MarkVectorsInMarquee(t, projector, {40, 40, 60, 60});
  EXPECT_EQ(marks(), (std::vector{kUnselected, kSelected, kUnselected, kUnselected}));
  // The axes are never marked.
  tester.MarkVectorsInMarquee(t, projector, {150, 100, 250, 200});
  for (std::uint32_t i = 0; i < kReservedVectors; ++i) EXPECT_EQ(t.vectors[i].selected, 0u);
}

TEST(OutlineContains, EvenOddRuleAtTheEdges) {
  const std::vector<ScreenPoint> square = {{10, 10}, {20, 10}, {20, 20}, {10, 20}};
  const std::vector<ScreenPoint> bow = {{0, 0}, {20, 20}, {20, 0}, {0, 20}};  // self-crossing
  const struct { const char* name; const std::vector<ScreenPoint>& outline; int x, y; bool inside; } rows[] = {
      {"middle", square, 15, 15, true},      {"left edge", square, 10, 15, true},
      {"right edge", square, 20, 15, false}, {"top row", square, 15, 10, true},
      {"bottom row", square, 15, 20, false}, {"left of it", square, 9, 15, false},
      {"bow tie wedge", bow, 10, 3, false},  {"bow tie left", bow, 3, 10, true},
      {"bow tie right", bow, 17, 10, true},
  };
  for (const auto& r : rows) EXPECT_EQ(OutlineContains(r.outline, r.x, r.y), r.inside) << r.name;
  EXPECT_FALSE(OutlineContains({}, 0, 0));
}

}  // namespace
}  // namespace ws
