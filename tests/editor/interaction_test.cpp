#include "editor/interaction/selection.h"

#include <gtest/gtest.h>

#include "editor/interaction/drag.h"
#include "editor/interaction/marquee.h"
#include "editor/interaction/plot_mode.h"
#include "editor/interaction/polygon_define.h"
#include "editor/view/hit_test.h"
#include "editor/view/projection.h"
#include "editor_test_support.h"
#include "interaction_test_support.h"
#include "model/undo.h"

namespace ws {
namespace {

using test::AddLine;
using test::AddPolygon;
using test::P3;

// In the Front view at 100% a world point (x, y) lies at client
// (CX + x, CY - y). A square whose corners run clockwise on the screen
// faces the viewer; the same corners the other way round face away.
class SelectionTest : public test::InteractionTest {
 protected:
  std::uint32_t FrontSquare(double x0, double y0, double s, std::uint32_t flags, std::uint8_t front,
                            int back = -1) {
    return AddPolygon(t(), {{x0, y0, 0}, {x0, y0 + s, 0}, {x0 + s, y0 + s, 0}, {x0 + s, y0, 0}},
                      flags, front, back);
  }
  std::uint32_t BackSquare(double x0, double y0, double s, std::uint32_t flags, std::uint8_t front,
                           int back = -1) {
    return AddPolygon(t(), {{x0, y0, 0}, {x0 + s, y0, 0}, {x0 + s, y0 + s, 0}, {x0, y0 + s, 0}},
                      flags, front, back);
  }
  void Hover(std::uint32_t vector, std::int32_t polygon) {
    shell.hoveredVector = vector;
    shell.hoveredPolygon = polygon;
  }
};

TEST_F(SelectionTest, LeavingPlotResetsTheViewAndOtherModesKeepIt) {
  d().view.scale = 2.0;
  d().view.panX = 1.0;
  TurnAboutX(m().view.orientation, 0.5);
  SelectMode(ctx, EditorMode::kSelectVector);
  const ModeHelp texts = ModeHelpTexts(EditorMode::kSelectVector, false);
  EXPECT_EQ(std::make_tuple(shell.mode, m().view.orientation, d().view.scale, d().view.panX,
                      shell.statusTitle, shell.helpText, sounds),
      std::make_tuple(EditorMode::kSelectVector, kIdentityMatrix3, 1.0, 0.0,
                      std::string(texts.title), std::string(texts.help), std::vector<int>{1}));
  const std::uint32_t v = AddLine(t(), {0, 0, 0}, {10, 0, 0});
  t().vectors[v].selected = kSelected;
  TurnAboutY(m().view.orientation, 0.5);
  const Matrix3 turned = m().view.orientation;
  d().view.scale = 3.0;
  SelectMode(ctx, EditorMode::kSelectPolygon);
  EXPECT_EQ(std::make_tuple(m().view.orientation, d().view.scale, t().vectors[v].selected),
            std::make_tuple(turned, 3.0, kSelected));
}

TEST_F(SelectionTest, SelectPolygonTogglesAndHiddenPolygonsRotate) {
  shell.mode = EditorMode::kSelectPolygon;
  const std::uint32_t a = FrontSquare(0, 0, 40, PolyFlag::kDefined, 3);
  const std::uint32_t b = FrontSquare(60, 0, 40, PolyFlag::kDefined | PolyFlag::kInvisible, 3);
  Hover(0, static_cast<std::int32_t>(a));
  EditAreaClick(ctx, CX() + 20, CY() - 20);
  EXPECT_EQ(std::make_tuple(t().polygonSelected[a], shell.menuRefreshPending),
            std::make_tuple(kSelected, true));
  EditAreaClick(ctx, CX() + 20, CY() - 20);
  EXPECT_EQ(std::make_tuple(t().polygonSelected[a], sounds),
            std::make_tuple(kUnselected, std::vector<int>{6, 6}));

  // An invisible polygon while invisible polygons are hidden: rotation.
  Hover(0, static_cast<std::int32_t>(b));
  EditAreaClick(ctx, CX() + 80, CY() - 20);
  EXPECT_EQ(std::make_tuple(t().polygonSelected[b], state.gesture.kind),
            std::make_tuple(kUnselected, GestureKind::kFreeRotation));
  CancelGesture(ctx);
  d().options.showInvisible = true;
  EditAreaClick(ctx, CX() + 80, CY() - 20);
  EXPECT_EQ(t().polygonSelected[b], kSelected);

  // Polygons Off: every polygon counts as nothing.
  d().options.polygonsOn = false;
  Hover(0, static_cast<std::int32_t>(a));
  EditAreaClick(ctx, CX() + 20, CY() - 20);
  EXPECT_EQ(std::make_tuple(t().polygonSelected[a], state.gesture.kind),
            std::make_tuple(kUnselected, GestureKind::kFreeRotation));
  CancelGesture(ctx);
  EXPECT_FALSE(shell.rotationInProgress);
}

TEST_F(SelectionTest, GrabAndSetColourUseTheSideFacingTheViewer) {
  const std::uint32_t v = AddLine(t(), {0, -50, 0}, {40, -50, 0}, 77);
  const std::uint32_t front = FrontSquare(0, 0, 40, PolyFlag::kEachSideDifferent, 16, 24);
  const std::uint32_t away = BackSquare(60, 0, 40, PolyFlag::kEachSideDifferent, 32, 40);
  const std::uint32_t single = BackSquare(-60, 0, 40, PolyFlag::kDefined, 48, 56);
  Project();
  shell.mode = EditorMode::kGrabColor;
  const std::tuple<std::uint32_t, std::int32_t, int> grabs[] = {
      {v, std::int32_t(front), 77},  // the vector takes precedence
      {0, std::int32_t(front), 16},
      {0, std::int32_t(away), 40},
      {0, std::int32_t(single), 48},  // one colour for both sides
      {0, -1, 48},                    // nothing under the cursor: nothing at all
  };
  for (const auto& [vector, polygon, colour] : grabs) {
    Hover(vector, polygon);
    EditAreaClick(ctx, CX(), CY());
    EXPECT_EQ(std::make_tuple(state.currentColour, state.currentFill),
              std::make_tuple(colour, FillWord(colour)))
        << vector << " " << polygon;
  }
  EXPECT_EQ(std::make_tuple(sounds, GestureActive(ctx)),
            std::make_tuple(std::vector<int>(4, 6), false));

  shell.mode = EditorMode::kSetColor;
  SetCurrentColour(state, 99);
  for (const auto& [vector, polygon, colour] : grabs) {
    Hover(vector, polygon);
    EditAreaClick(ctx, CX(), CY());
  }
  const Polygon &pf = t().polygons[front], &pa = t().polygons[away], &ps = t().polygons[single];
  EXPECT_EQ(t().vectors[v].color, 99);
  EXPECT_EQ(std::make_tuple(int(pf.frontColor), pf.frontFill, int(pf.backColor)),
            std::make_tuple(99, FillWord(99), 24));
  EXPECT_EQ(std::make_tuple(int(pa.frontColor), int(pa.backColor), pa.backFill),
            std::make_tuple(32, 99, FillWord(99)));
  EXPECT_EQ(std::make_tuple(int(ps.frontColor), ps.frontFill, int(ps.backColor)),
            std::make_tuple(99, FillWord(99), 56));
}

TEST_F(SelectionTest, SelectByNumberRefusesNumbersOutOfRange) {
  AddLine(t(), {0, 0, 0}, {40, 0, 0});
  AddLine(t(), {0, 0, 0}, {0, 40, 0});
  const std::uint32_t good[] = {1};
  EXPECT_TRUE(SelectVectorsByFileNumber(t(), f.ui, good));
  const std::uint32_t bad[] = {0, 2};
  EXPECT_FALSE(SelectVectorsByFileNumber(t(), f.ui, bad));
  EXPECT_EQ(std::make_tuple(t().vectors[kReservedVectors].selected,
                            t().vectors[kReservedVectors + 1].selected),
            std::make_tuple(kUnselected, kSelected));
  const std::uint32_t polygons[] = {0};
  EXPECT_FALSE(SelectPolygonsByNumber(t(), f.ui, polygons));
  EXPECT_EQ(Messages(),
            (std::vector<std::string>{"Vector 2 does not exist.", "Polygon 0 does not exist."}));
  FrontSquare(0, 0, 10, PolyFlag::kDefined, 1);
  EXPECT_TRUE(SelectPolygonsByNumber(t(), f.ui, polygons) && t().polygonSelected[0] == kSelected);
}

TEST_F(SelectionTest, SameColourNeedsAHoveredPolygon) {
  FrontSquare(0, 0, 10, PolyFlag::kDefined, 7);
  FrontSquare(20, 0, 10, PolyFlag::kDefined, 8);
  FrontSquare(40, 0, 10, PolyFlag::kDefined, 7, 8);
  EXPECT_FALSE(SelectSameColour(t(), f.ui, -1));
  EXPECT_EQ(Messages(),
            std::vector<std::string>{
                "Can't select same because your not using the polygon select tool,\r or there is "
                "no polygon under the cursor."});
  EXPECT_EQ(t().polygonSelected[0], kUnselected);
  EXPECT_TRUE(SelectSameColour(t(), f.ui, 2));
  EXPECT_EQ(std::vector(t().polygonSelected.begin(), t().polygonSelected.begin() + 3),
            (std::vector{kSelected, kUnselected, kSelected}));
}

class MoveSelectedTest : public SelectionTest {
 protected:
  MoveSelectedTest() {
    ab = AddLine(t(), {0, 0, 0}, {10, 0, 0});
    bc = AddLine(t(), {10, 0, 0}, {10, 10, 0});
    other = AddLine(t(), {50, 50, 50}, {60, 50, 50});
    a = t().vectors[ab].p1;
    b = t().vectors[ab].p2;
    c = t().vectors[bc].p2;
    t().vectors[ab].selected = kSelected;
    t().vectors[bc].selected = kSelected;
  }
  P3 At(std::uint32_t p) { return {t().points[p].x, t().points[p].y, t().points[p].z}; }
  std::uint32_t ab, bc, other, a, b, c;
};

TEST_F(MoveSelectedTest, HeldKeysMoveTheSelectedEndpointsOnce) {
  namespace H = HeldKey;
  // a-b and b-c selected; b shared.
  const struct { const char* name; std::uint32_t keys; double step; bool moved; P3 a, b, c; } rows[] = {
      {"shared point moves once", H::kRight, 10, true, {10, 0, 0}, {20, 0, 0}, {20, 10, 0}},
      {"shift+control: endpoint one only", H::kUp | H::kShift | H::kControl, 5, true, {0, 5, 0},
       {10, 5, 0}, {10, 10, 0}},
      {"control: endpoint two only", H::kPageDown | H::kControl, 10, true, {0, 0, 0},
       {10, 0, 10}, {10, 10, 10}},
      {"opposing keys: right, up, page up win",
       H::kLeft | H::kRight | H::kUp | H::kDown | H::kPageUp | H::kPageDown, 10, true,
       {10, 10, -10}, {20, 10, -10}, {20, 20, -10}},
      {"left and down", H::kLeft | H::kDown, 10, true, {-10, -10, 0}, {0, -10, 0}, {0, 0, 0}},
      {"no move key", 0, 10, false, {0, 0, 0}, {10, 0, 0}, {10, 10, 0}},
      {"shift and delete", H::kShift | H::kDelete, 10, false, {0, 0, 0}, {10, 0, 0}, {10, 10, 0}},
  };
  const Point start[3] = {t().points[a], t().points[b], t().points[c]};
  for (const auto& r : rows) {
    t().points[a] = start[0], t().points[b] = start[1], t().points[c] = start[2];
    EXPECT_EQ(MoveSelectedVectors(t(), r.keys, r.step), r.moved) << r.name;
    for (auto [p, want] : {std::pair{a, r.a}, {b, r.b}, {c, r.c}}) {
      EXPECT_EQ(std::make_tuple(At(p).x, At(p).y, At(p).z), std::make_tuple(want.x, want.y, want.z))
          << r.name << ", point " << p;
    }
    EXPECT_EQ(At(t().vectors[other].p1).x, 50.0) << r.name;
  }
}

class DragTest : public test::InteractionTest {
 protected:
  DragTest() { shell.mode = EditorMode::kSelectVector; }
  Point& P(std::uint32_t i) { return t().points[i]; }
};

TEST_F(DragTest, TopViewDragChangesXOnlyAtAnyScale) {
  TurnToView(m().view, kViewTop, nullptr);
  for (const double scale : {1.0, 2.5, 0.5}) {
    d().view.scale = scale;
    const std::uint32_t v = AddLine(t(), {0, 0, 0}, {40 + scale, 7, -20});
    Project();
    const std::uint32_t p2 = t().vectors[v].p2;
    const int x = ScreenX(p2), y = ScreenY(p2);
    ASSERT_TRUE(DragEndpoint(ctx, v, x + 1, y));
    PointerMoved(ctx, x + 11, y);
    EXPECT_EQ(std::make_tuple(P(p2).x, P(p2).y, P(p2).z, shell.statusTitle),
              std::make_tuple(50 + scale, 7.0, -20.0, "dx:10.000  dy0.000"));
    PointerMoved(ctx, x + 11, y - 5);  // up the screen is +y in every view, never z
    const GestureEnd end = PointerReleased(ctx, PointerButton::kLeft, x + 11, y - 5);
    // The other end stays.
    EXPECT_EQ(std::make_tuple(P(p2).x, P(p2).y, P(p2).z, shell.statusTitle, end.kind,
                              end.openPopupMenu, t().points[t().vectors[v].p1].x),
              std::make_tuple(50 + scale, 12.0, -20.0, "dx:10.000  dy-5.000",
                              GestureKind::kDragEndpoint, false, 0.0));
  }
}

TEST_F(DragTest, TheNearerEndpointMovesAndTiesGoToTheSecond) {
  const std::uint32_t v = AddLine(t(), {0, 0, 0}, {40, 0, 0});
  const std::uint32_t shared = AddLine(t(), {0, 0, 0}, {0, 30, 0});
  Project();
  const std::uint32_t p1 = t().vectors[v].p1, p2 = t().vectors[v].p2;
  ASSERT_TRUE(DragEndpoint(ctx, v, CX() + 5, CY()));
  PointerMoved(ctx, CX() + 5, CY() - 10);
  // Every vector using the point follows it.
  EXPECT_EQ(std::make_tuple(P(p1).y, P(p2).y, t().vectors[shared].p1),
            std::make_tuple(10.0, 0.0, p1));
  PointerReleased(ctx, PointerButton::kLeft, CX() + 5, CY() - 10);

  Project();
  // Exactly halfway between the ends, now (0, 10) and (40, 0): endpoint 2.
  const int midX = (ScreenX(p1) + ScreenX(p2)) / 2, midY = (ScreenY(p1) + ScreenY(p2)) / 2;
  ASSERT_EQ(std::make_pair(midX, midY), std::make_pair(CX() + 20, CY() - 5));
  ASSERT_TRUE(DragEndpoint(ctx, v, midX, midY));
  PointerMoved(ctx, midX + 3, midY);
  EXPECT_EQ(std::make_pair(P(p1).x, P(p2).x), std::make_pair(0.0, 43.0));
  PointerReleased(ctx, PointerButton::kLeft, midX + 3, midY);
}

using test::AddP;

class DefineTest : public test::InteractionTest {
 protected:
  std::uint32_t Vec(std::uint32_t a, std::uint32_t b, bool selected = true) {
    const std::uint32_t v = t().AddVector(a, b);
    t().vectors[v].selected = selected ? kSelected : kUnselected;
    return v;
  }
};

TEST_F(DefineTest, ANonZeroVectorIsOnlyMarked) {
  const std::uint32_t v = Vec(AddP(t(), {0, 0, 0}), AddP(t(), {1, 0, 0}), false);
  EXPECT_EQ(DefinePolygon(t(), f.ui, v, 3), 0);
  EXPECT_EQ(DefinePolygon(t(), f.ui, 2, 3), 0);  // an axis is never marked
  EXPECT_EQ(std::make_tuple(t().vectors[v].selected, t().polygonCount, t().vectors[2].selected),
            std::make_tuple(kSelected, 0u, kUnselected));
}

TEST_F(DefineTest, FacingFollowsTheViewTheButtonIsPressedIn) {
  // From the back, the loop that faces the front viewer faces away.
  TurnToView(m().view, kViewBack, nullptr);
  const std::uint32_t a = AddP(t(), {0, 0, 0}), b = AddP(t(), {40, 0, 0}),
                      c = AddP(t(), {0, 40, 0});
  for (auto [p, q] : {std::pair{b, c}, {a, c}, {a, b}}) Vec(p, q);
  ASSERT_EQ(DefinePolygonButton(ctx), 0);
  const Polygon& poly = t().polygons[0];
  EXPECT_EQ(std::vector(poly.points, poly.points + poly.pointCount), (std::vector<std::uint32_t>{c, a, b}));
}

using test::InteractionTest;

TEST(PlotSnapTest, SnapsTheScaledPannedDistanceToTheGrid) {
  const struct {
    const char* name;
    int x, y, cx, cy;
    double scale;
    int g;
    double panX, panY, a, b;
  } rows[] = {
      // clang-format off
      {"half right goes away from zero", 115, 50, 100, 50, 1.0, 10, 0, 0, 20, 0},
      {"half left goes away from zero", 85, 50, 100, 50, 1.0, 10, 0, 0, -20, 0},
      {"screen down is world down", 100, 64, 100, 50, 1.0, 10, 0, 0, 0, -10},
      {"scale 2: a half", 110, 0, 100, 0, 2.0, 10, 0, 0, 10, 0},
      {"pan x -2 steps", 85, 0, 100, 0, 1.0, 10, -2, 0, 0, 0},
      {"pan y +1 step", 0, 30, 0, 50, 1.0, 10, 0, 1, 0, 10},
      {"odd step: half is 2", 7, 0, 0, 0, 1.0, 5, 0, 0, 5, 0},
      {"odd step: past the half", 8, 0, 0, 0, 1.0, 5, 0, 0, 10, 0},
      // clang-format on
  };
  for (const auto& r : rows) {
    const GridValues v = SnapCursorToGrid(r.x, r.y, r.cx, r.cy, r.scale, r.g, r.panX, r.panY);
    EXPECT_EQ(std::make_tuple(v.a, v.b), std::make_tuple(r.a, r.b)) << r.name;
  }
}

TEST(PlotSnapTest, EachViewSetsOnlyTheCoordinatesItShows) {
  const GridValues v{20.0, 30.0};
  struct Case { int view; double x, y, z; };  // 99 means unchanged
  const Case cases[] = {
      {kViewFront, 20, 30, 99},  {kViewBack, -20, 30, 99}, {kViewTop, 20, 99, -30},
      {kViewBottom, 20, 99, 30}, {kViewLeft, 99, 30, 20},  {kViewRight, 99, 30, -20},
  };
  for (const Case& c : cases) {
    PlotCursor cursor{99, 99, 99, false};
    for (int step = 0; step < kPlotStepCount; ++step) UpdatePlotCursor(cursor, step, c.view, v);
    EXPECT_EQ(std::make_tuple(cursor.x, cursor.y, cursor.z), std::make_tuple(c.x, c.y, c.z))
        << c.view;
  }
  // Only the coordinate of the step is touched.
  PlotCursor cursor{99, 99, 99, false};
  UpdatePlotCursor(cursor, 4, kViewFront, v);
  EXPECT_EQ(std::make_pair(cursor.x, cursor.y), std::make_pair(99.0, 30.0));
}

using PlotClickTest = InteractionTest;

TEST_F(PlotClickTest, SixClicksMakeAVectorAndLeaveItsEndForTheNext) {
  auto plot = [&](int dx, int dy) { ASSERT_TRUE(PlotClick(ctx, CX() + dx, CY() + dy)); };
  // X 20, Y 30 (turns Right), Z -40 (turns Front), X -10, Y 0, Z 0.
  for (auto [dx, dy] : {std::pair{20, 0}, {0, -30}, {40, 0}, {-10, 0}, {0, 0}, {0, 0}})
    plot(dx, dy);
  ASSERT_EQ(t().vectorCount, kReservedVectors + 1);
  const Vector& v = t().vectors[kReservedVectors];
  const Point &a = t().points[v.p1], &b = t().points[v.p2];
  EXPECT_EQ(std::make_tuple(a.x, a.y, a.z), std::make_tuple(20.0, 30.0, -40.0));
  EXPECT_EQ(std::make_tuple(b.x, b.y, b.z), std::make_tuple(-10.0, 0.0, 0.0));
  EXPECT_EQ(std::make_tuple(m().plot.step, m().plot.ep1Pending, m().plot.ep1Point),
            std::make_tuple(3, false, v.p2));
}

TEST_F(PlotClickTest, AFullVectorTableRefusesTheSixthClickBeforeWriting) {
  auto plot = [&](int dx) { return PlotClick(ctx, CX() + dx, CY()); };
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(plot(10));
  const std::uint32_t points = t().pointCount;
  t().vectorCount = kMaxVectors;
  const std::size_t depth = m().undo.depth();
  EXPECT_FALSE(plot(10));
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("20000 vectors"), std::string::npos) << Messages()[0];
  EXPECT_EQ(std::make_tuple(m().plot.step, t().pointCount, m().undo.depth()),
            std::make_tuple(5, points, depth));
  t().vectorCount = kMaxVectors - 1;  // room for exactly one
  EXPECT_TRUE(plot(10) && t().vectorCount == kMaxVectors);
}

// The three clicks after a vector make the next one from its end.
TEST_F(PlotClickTest, TheLastEndpointIsUsedEvenWhenMovedSince) {
  for (int i = 0; i < 6; ++i) ASSERT_TRUE(PlotClick(ctx, CX() + 10, CY()));
  ASSERT_EQ(m().plot.ep1Point, kReservedPoints);  // both ends the first user point
  t().points[kReservedPoints].x = 50;              // moved since, by a drag or a key
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(PlotClick(ctx, CX() + 20, CY()));
  EXPECT_EQ(t().vectors[kReservedVectors + 1].p1, kReservedPoints);
}

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
class MarqueeDragTest : public SelectionTest {
 protected:
  MarqueeDragTest() {
    front = FrontSquare(0, 0, 40, PolyFlag::kDefined, 3);
    away = BackSquare(60, 0, 40, PolyFlag::kDefined, 3);
    stray = AddLine(t(), {-80, -20, 0}, {-40, -20, 0});
    f.Frame();
  }
  // Drags from the first corner over the second; returns the release result.
  GestureEnd Drag(int x0, int y0, int x1, int y1) {
    EXPECT_TRUE(MarqueeDrag(ctx, x0, y0));
    PointerMoved(ctx, (x0 + x1) / 2, (y0 + y1) / 2);
    PointerMoved(ctx, x1, y1);
    duringStray = t().vectors[stray].selected;
    duringFront = t().polygonSelected[front];
    helpDuring = shell.helpText;
    return PointerReleased(ctx, PointerButton::kRight, x1, y1);
  }
  GestureEnd DragAll() { return Drag(CX() - 100, CY() + 30, CX() + 110, CY() - 50); }
  std::uint32_t Edge(std::uint32_t polygon, int i) { return t().polygons[polygon].vectors[i]; }
  std::uint32_t Mark(std::uint32_t vector) { return t().vectors[vector].selected; }

  std::uint32_t front = 0, away = 0, stray = 0;
  std::uint32_t duringStray = 0, duringFront = 0;
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
    EXPECT_EQ(std::make_tuple(helpDuring, duringFront, duringStray, t().polygonSelected[front],
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
  Line(100, 0, 100, 200, 30000);  // crosses a at the same depth
  VectorHit hit = tester.HoveredVector(t, projector, 100, 80);
  EXPECT_EQ(std::make_pair(hit.vector, hit.depth), std::make_pair(a, 30000));
  // Depth is (Z1 + Z2) / 2 with integer division: 30001 and 30002 give 30001.
  const std::uint32_t c = t.AddVector(At(100, 70, 30001), At(100, 90, 30002));
  t.vectors[c].selected = kUnselected;
  hit = tester.HoveredVector(t, projector, 100, 80);
  EXPECT_EQ(std::make_pair(hit.vector, hit.depth), std::make_pair(c, 30001));
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
