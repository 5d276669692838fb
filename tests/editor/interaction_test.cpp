// The EditArea's mouse and keyboard editing: selection, held keys, the
// endpoint drag, Define Polygon, plotting, the marquee, hit testing, the
// polygon attributes, the colour chooser and the view-zone dialog.
#include <gtest/gtest.h>

#include "editor/interaction/attributes.h"
#include "editor/interaction/colour_chooser.h"
#include "editor/interaction/drag.h"
#include "editor/interaction/marquee.h"
#include "editor/interaction/plot_mode.h"
#include "editor/interaction/polygon_define.h"
#include "editor/interaction/selection.h"
#include "editor/interaction/view_zone_dialog.h"
#include "editor/shell/command_ids.h"
#include "editor/view/hit_test.h"
#include "editor/view/projection.h"
#include "editor_test_support.h"
#include "model/undo.h"

namespace ws {
namespace {

using test::AddLine;
using test::AddP;
using test::AddPolygon;
using test::P3;
using namespace PolyFlag;

// An editor laid out as in a 900 x 600 window (the EditArea at client
// (240, 10), 648 x 576 pixels, projection centre at client (564, 298)),
// with a shell in Plot mode and the application active, the interaction
// state, and a context that records the sounds it plays.
//
// In the Front view at 100% a world point (x, y) lies at client (CX + x, CY - y).
class InteractionTest : public ::testing::Test {
 protected:
  InteractionTest() : ctx{f.e(), shell, state, {}, {}, {}, {}} {
    EXPECT_TRUE(f.e().Layout(900, 600, 230));
    f.d().options.instantViewChange = true;
    shell.applicationActive = true;
    ctx.playSound = [this](int n) { sounds.push_back(n); };
  }

  ObjectTables& t() { return f.t(); }
  Model& m() { return f.m(); }
  EditorDisplay& d() { return f.d(); }
  // The EditArea's corner and the projection centre in client pixels.
  int Left() const { return f.editor->display.layout.editArea.left; }
  int Top() const { return f.editor->display.layout.editArea.top; }
  int CX() const { return Left() + f.editor->display.layout.cx; }
  int CY() const { return Top() + f.editor->display.layout.cy; }
  // Client position of a world point as the last projection left it.
  int ScreenX(std::uint32_t p) { return Left() + t().points[p].screenX; }
  int ScreenY(std::uint32_t p) { return Top() + t().points[p].screenY; }
  void Project() { f.e().view().ProjectAll(); }
  // The projector of the view, with every point projected.
  Projector Projected() {
    Project();
    return d().MakeProjector();
  }
  // A vector between EditArea-local screen positions whose ends have the
  // depth keys z1 and z2 (in the Front view at 100% the key is 29000 + z).
  std::uint32_t Line(int x1, int y1, int x2, int y2, int z1 = 30000, int z2 = -1) {
    const int cx = d().layout.cx, cy = d().layout.cy;
    return AddLine(t(), {double(x1 - cx), double(cy - y1), z1 - 29000.0},
                   {double(x2 - cx), double(cy - y2), (z2 < 0 ? z1 : z2) - 29000.0});
  }
  std::vector<std::string> Messages() const { return f.ui.MessageTexts(); }

  // An s x s square from (x, 0) facing the viewer, or away from it when `away`.
  std::uint32_t Square(double x, std::uint32_t flags, std::uint8_t front = 3, int back = -1,
                       double s = 10, bool away = false) {
    std::vector<P3> corners = {{x, 0, 0}, {x, s, 0}, {x + s, s, 0}, {x + s, 0, 0}};
    if (away) std::reverse(corners.begin() + 1, corners.end());
    return AddPolygon(t(), corners, flags, front, back);
  }
  Point& P(std::uint32_t i) { return t().points[i]; }
  std::uint32_t Flags(std::uint32_t k) { return t().polygons[k].flags; }
  void Select(std::initializer_list<std::uint32_t> ks) {
    for (std::uint32_t k : ks) t().polygonSelected[k] = kSelected;
  }
  void Hover(std::uint32_t vector, std::int32_t polygon) {
    shell.hoveredVector = vector;
    shell.hoveredPolygon = polygon;
  }

  test::EditorFixture f{160, 120};
  ShellState shell;
  InteractionState state;
  std::vector<int> sounds;
  EditContext ctx;
};

TEST_F(InteractionTest, LeavingPlotResetsTheViewAndOtherModesKeepIt) {
  d().view.scale = 2.0;
  d().view.panX = 1.0;
  TurnAboutX(m().view.orientation, 0.5);
  SelectMode(ctx, EditorMode::kSelectVector);
  const ModeHelp texts = ModeHelpTexts(EditorMode::kSelectVector, false);
  EXPECT_EQ(std::make_tuple(shell.mode, m().view.orientation, d().view.scale, d().view.panX,
                            shell.statusTitle, shell.helpText, sounds),
            std::make_tuple(EditorMode::kSelectVector, kIdentityMatrix3, 1.0, 0.0,
                            std::string(texts.title), std::string(texts.help), std::vector{1}));
  const std::uint32_t v = AddLine(t(), {0, 0, 0}, {10, 0, 0});
  t().vectors[v].selected = kSelected;
  TurnAboutY(m().view.orientation, 0.5);
  const Matrix3 turned = m().view.orientation;
  d().view.scale = 3.0;
  SelectMode(ctx, EditorMode::kSelectPolygon);
  EXPECT_EQ(std::make_tuple(m().view.orientation, d().view.scale, t().vectors[v].selected),
            std::make_tuple(turned, 3.0, kSelected));
}

TEST_F(InteractionTest, SelectPolygonTogglesAndHiddenPolygonsRotate) {
  shell.mode = EditorMode::kSelectPolygon;
  const std::uint32_t a = Square(0, kDefined, 3, -1, 40);
  const std::uint32_t b = Square(60, kDefined | kInvisible, 3, -1, 40);
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

TEST_F(InteractionTest, GrabAndSetColourUseTheSideFacingTheViewer) {
  const std::uint32_t v = AddLine(t(), {0, -50, 0}, {40, -50, 0}, 77);
  const std::uint32_t front = Square(0, kEachSideDifferent, 16, 24, 40);
  const std::uint32_t away = Square(60, kEachSideDifferent, 32, 40, 40, true);
  const std::uint32_t single = Square(-60, kDefined, 48, 56, 40, true);
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
  EXPECT_EQ(
      std::vector({int(t().vectors[v].color), int(pf.frontColor), int(pf.backColor),
                   int(pa.frontColor), int(pa.backColor), int(ps.frontColor), int(ps.backColor)}),
      std::vector({99, 99, 24, 32, 99, 99, 56}));
  EXPECT_EQ(std::vector({pf.frontFill, pa.backFill, ps.frontFill}), std::vector(3, FillWord(99)));
}

// Selecting by number refuses numbers out of range; Select Same needs a
// hovered polygon and then takes every polygon of its front colour.
TEST_F(InteractionTest, SelectByNumberAndSameColourRefuseWhatIsNotThere) {
  AddLine(t(), {0, 0, 0}, {40, 0, 0});
  AddLine(t(), {0, 0, 0}, {0, 40, 0});
  const std::uint32_t good[] = {1}, bad[] = {0, 2}, polygons[] = {0};
  EXPECT_TRUE(SelectVectorsByFileNumber(t(), f.ui, good));
  EXPECT_FALSE(SelectVectorsByFileNumber(t(), f.ui, bad));
  EXPECT_EQ(std::make_tuple(t().vectors[kReservedVectors].selected,
                            t().vectors[kReservedVectors + 1].selected),
            std::make_tuple(kUnselected, kSelected));
  EXPECT_FALSE(SelectPolygonsByNumber(t(), f.ui, polygons));
  Square(0, kDefined, 7);
  Square(20, kDefined, 8);
  Square(40, kDefined, 7, 8);
  EXPECT_FALSE(SelectSameColour(t(), f.ui, -1));
  EXPECT_EQ(Messages(),
            (std::vector<std::string>{
                "Vector 2 does not exist.", "Polygon 0 does not exist.",
                "Can't select same because your not using the polygon select tool,\r or there is "
                "no polygon under the cursor."}));
  EXPECT_EQ(t().polygonSelected[0], kUnselected);
  EXPECT_TRUE(SelectSameColour(t(), f.ui, 2));
  EXPECT_EQ(std::vector(t().polygonSelected.begin(), t().polygonSelected.begin() + 3),
            (std::vector{kSelected, kUnselected, kSelected}));
  UnselectAll(t());
  EXPECT_TRUE(SelectPolygonsByNumber(t(), f.ui, polygons) && t().polygonSelected[0] == kSelected);
}

TEST_F(InteractionTest, HeldKeysMoveTheSelectedEndpointsOnce) {
  namespace H = HeldKey;
  // a-b and b-c selected, b shared; the third vector is not.
  const std::uint32_t ab = AddLine(t(), {0, 0, 0}, {10, 0, 0});
  const std::uint32_t bc = AddLine(t(), {10, 0, 0}, {10, 10, 0});
  const std::uint32_t other = AddLine(t(), {50, 50, 50}, {60, 50, 50});
  t().vectors[ab].selected = t().vectors[bc].selected = kSelected;
  const std::uint32_t abc[] = {t().vectors[ab].p1, t().vectors[ab].p2, t().vectors[bc].p2};
  // clang-format off
  const struct { const char* name; std::uint32_t keys; double step; bool moved; P3 p[3]; }
      rows[] = {
      {"shared point moves once", H::kRight, 10, true, {{10, 0, 0}, {20, 0, 0}, {20, 10, 0}}},
      {"shift+control: endpoint one only", H::kUp | H::kShift | H::kControl, 5, true,
       {{0, 5, 0}, {10, 5, 0}, {10, 10, 0}}},
      {"control: endpoint two only", H::kPageDown | H::kControl, 10, true,
       {{0, 0, 0}, {10, 0, 10}, {10, 10, 10}}},
      {"opposing keys: right, up, page up win",
       H::kLeft | H::kRight | H::kUp | H::kDown | H::kPageUp | H::kPageDown, 10, true,
       {{10, 10, -10}, {20, 10, -10}, {20, 20, -10}}},
      {"left and down", H::kLeft | H::kDown, 10, true, {{-10, -10, 0}, {0, -10, 0}, {0, 0, 0}}},
      {"shift and delete", H::kShift | H::kDelete, 10, false, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}}},
  };
  // clang-format on
  const Point start[3] = {t().points[abc[0]], t().points[abc[1]], t().points[abc[2]]};
  for (const auto& r : rows) {
    for (int i = 0; i < 3; ++i) t().points[abc[i]] = start[i];
    EXPECT_EQ(MoveSelectedVectors(t(), r.keys, r.step), r.moved) << r.name;
    for (int i = 0; i < 3; ++i) {
      const Point& p = t().points[abc[i]];
      EXPECT_EQ(std::make_tuple(p.x, p.y, p.z), std::make_tuple(r.p[i].x, r.p[i].y, r.p[i].z))
          << r.name << ", point " << i;
    }
    EXPECT_EQ(t().points[t().vectors[other].p1].x, 50.0) << r.name;
  }
}

TEST_F(InteractionTest, TopViewDragChangesXOnlyAtAnyScale) {
  shell.mode = EditorMode::kSelectVector;
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

TEST_F(InteractionTest, TheNearerEndpointMovesAndTiesGoToTheSecond) {
  shell.mode = EditorMode::kSelectVector;
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

TEST_F(InteractionTest, DefinePolygonMarksANonZeroVectorAndFacesTheViewOfTheButton) {
  auto vec = [&](std::uint32_t a, std::uint32_t b, std::uint32_t selected) {
    const std::uint32_t v = t().AddVector(a, b);
    t().vectors[v].selected = selected;
    return v;
  };
  const std::uint32_t a = AddP(t(), {0, 0, 0}), b = AddP(t(), {40, 0, 0}),
                      c = AddP(t(), {0, 40, 0});
  // A vector handed over (not zero) is only marked; an axis never is.
  const std::uint32_t v = vec(a, AddP(t(), {1, 0, 0}), kUnselected);
  EXPECT_EQ(DefinePolygon(t(), f.ui, v, 3), 0);
  EXPECT_EQ(DefinePolygon(t(), f.ui, 2, 3), 0);
  EXPECT_EQ(std::make_tuple(t().vectors[v].selected, t().polygonCount, t().vectors[2].selected),
            std::make_tuple(kSelected, 0u, kUnselected));
  // From the back, the loop that faces the front viewer faces away.
  t().vectors[v].selected = kUnselected;
  TurnToView(m().view, kViewBack, nullptr);
  for (auto [p, q] : {std::pair{b, c}, {a, c}, {a, b}}) vec(p, q, kSelected);
  ASSERT_EQ(DefinePolygonButton(ctx), 0);
  const Polygon& poly = t().polygons[0];
  EXPECT_EQ(std::vector(poly.points, poly.points + poly.pointCount),
            (std::vector<std::uint32_t>{c, a, b}));
}

TEST(PlotSnapTest, SnapsTheScaledPannedDistanceToTheGrid) {
  // The cursor, the centre, the scale, the grid step, the pan and the
  // snapped values.
  // clang-format off
  const std::tuple<const char*, int, int, int, int, double, int, double, double, double, double>
      rows[] = {
      {"half right goes away from zero", 115, 50, 100, 50, 1.0, 10, 0, 0, 20, 0},
      {"half left goes away from zero", 85, 50, 100, 50, 1.0, 10, 0, 0, -20, 0},
      {"screen down is world down", 100, 64, 100, 50, 1.0, 10, 0, 0, 0, -10},
      {"scale 2: a half", 110, 0, 100, 0, 2.0, 10, 0, 0, 10, 0},
      {"pan x -2 steps", 85, 0, 100, 0, 1.0, 10, -2, 0, 0, 0},
      {"pan y +1 step", 0, 30, 0, 50, 1.0, 10, 0, 1, 0, 10},
      {"odd step: half is 2", 7, 0, 0, 0, 1.0, 5, 0, 0, 5, 0},
      {"odd step: past the half", 8, 0, 0, 0, 1.0, 5, 0, 0, 10, 0},
  };
  // clang-format on
  for (const auto& [name, x, y, cx, cy, scale, g, panX, panY, a, b] : rows) {
    const GridValues v = SnapCursorToGrid(x, y, cx, cy, scale, g, panX, panY);
    EXPECT_EQ(std::make_tuple(v.a, v.b), std::make_tuple(a, b)) << name;
  }
}

TEST(PlotSnapTest, EachViewSetsOnlyTheCoordinatesItShows) {
  const GridValues v{20.0, 30.0};
  // 99 means unchanged.
  const std::tuple<int, double, double, double> rows[] = {
      {kViewFront, 20, 30, 99},  {kViewBack, -20, 30, 99}, {kViewTop, 20, 99, -30},
      {kViewBottom, 20, 99, 30}, {kViewLeft, 99, 30, 20},  {kViewRight, 99, 30, -20},
  };
  for (const auto& [view, x, y, z] : rows) {
    PlotCursor cursor{99, 99, 99, false};
    for (int step = 0; step < kPlotStepCount; ++step) UpdatePlotCursor(cursor, step, view, v);
    EXPECT_EQ(std::make_tuple(cursor.x, cursor.y, cursor.z), std::make_tuple(x, y, z)) << view;
  }
  // Only the coordinate of the step is touched.
  PlotCursor cursor{99, 99, 99, false};
  UpdatePlotCursor(cursor, 4, kViewFront, v);
  EXPECT_EQ(std::make_pair(cursor.x, cursor.y), std::make_pair(99.0, 30.0));
}

// Six clicks make a vector; the three after it make the next one from its
// end, even when that end was moved since (by a drag or a key).
TEST_F(InteractionTest, SixPlotClicksMakeAVectorAndLeaveItsEndForTheNext) {
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

TEST_F(InteractionTest, TheLastPlotEndpointIsUsedEvenWhenMovedSince) {
  for (int i = 0; i < 6; ++i) ASSERT_TRUE(PlotClick(ctx, CX() + 10, CY()));
  ASSERT_EQ(m().plot.ep1Point, kReservedPoints);  // both ends the first user point
  t().points[kReservedPoints].x = 50;
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(PlotClick(ctx, CX() + 20, CY()));
  EXPECT_EQ(t().vectors[kReservedVectors + 1].p1, kReservedPoints);
}

TEST_F(InteractionTest, AFullVectorTableRefusesTheSixthPlotClickBeforeWriting) {
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
TEST_F(InteractionTest, EachMarqueeModeAndSettingMarksWhatItTests) {
  const std::uint32_t front = Square(0, kDefined, 3, -1, 40);
  const std::uint32_t away = Square(60, kDefined, 3, -1, 40, true);
  const std::uint32_t stray = AddLine(t(), {-80, -20, 0}, {-40, -20, 0});
  f.Frame();
  auto mark = [&](std::uint32_t vector) { return t().vectors[vector].selected; };
  auto edge = [&](std::uint32_t polygon, int i) { return mark(t().polygons[polygon].vectors[i]); };
  // The mode, the setting, the polygons reported while dragging, the
  // polygons and then the vectors selected after the release.
  // clang-format off
  const struct { const char* name; int mode, setting; long count; bool front, away;
                 bool frontEdges, awayEdges, stray; } rows[] = {
      {"camera view", EditorMode::kCameraView, kMarqueeAllPolygons, 2, 1, 1, 1, 1, 1},
      {"select vector", EditorMode::kSelectVector, kMarqueeAllPolygons, 0, 0, 0, 1, 1, 1},
      {"select polygon", EditorMode::kSelectPolygon, kMarqueeAllPolygons, 2, 1, 1, 0, 0, 0},
      {"front faced only", EditorMode::kCameraView, kMarqueeFrontFacedOnly, 1, 1, 0, 1, 0, 1},
      {"back faced only", EditorMode::kSelectPolygon, kMarqueeBackFacedOnly, 1, 0, 1, 0, 0, 0},
  };
  // clang-format on
  const int x0 = CX() - 100, y0 = CY() + 30, x1 = CX() + 110, y1 = CY() - 50;
  for (const auto& r : rows) {
    UnselectAll(t());
    shell.mode = r.mode;
    shell.marqueeSelection = r.setting;
    EXPECT_TRUE(MarqueeDrag(ctx, x0, y0));
    PointerMoved(ctx, (x0 + x1) / 2, (y0 + y1) / 2);
    PointerMoved(ctx, x1, y1);
    const std::uint32_t marked = kMarqueeMarked, none = kUnselected;
    EXPECT_EQ(std::make_tuple(shell.helpText, t().polygonSelected[front], mark(stray)),
              std::make_tuple(MarqueeCountText(r.count), r.front ? marked : none,
                              r.stray ? marked : none))
        << r.name;
    EXPECT_FALSE(PointerReleased(ctx, PointerButton::kRight, x1, y1).openPopupMenu) << r.name;
    EXPECT_EQ(std::make_tuple(t().polygonSelected[front], t().polygonSelected[away], mark(stray)),
              std::make_tuple(r.front ? kSelected : none, r.away ? kSelected : none,
                              r.stray ? kSelected : none))
        << r.name;
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(std::make_pair(edge(front, i), edge(away, i)),
                std::make_pair(r.frontEdges ? kSelected : none, r.awayEdges ? kSelected : none))
          << r.name << i;
    }
  }
}

TEST_F(InteractionTest, TheNearestVectorInAStrictOffCentreBoxIsHovered) {
  const std::uint32_t a = Line(0, 80, 300, 80, 30000);
  Line(100, 0, 100, 200, 30000);  // crosses a at the same depth: the first wins
  VectorHit hit = HitTester().HoveredVector(t(), Projected(), 100, 80);
  EXPECT_EQ(std::make_pair(hit.vector, hit.depth), std::make_pair(a, 30000));
  // Depth is (Z1 + Z2) / 2 with integer division: 30001 and 30002 give 30001.
  const std::uint32_t c = Line(100, 70, 100, 90, 30001, 30002);
  hit = HitTester().HoveredVector(t(), Projected(), 100, 80);
  EXPECT_EQ(std::make_pair(hit.vector, hit.depth), std::make_pair(c, 30001));

  const int mx = 100, my = 80;
  EXPECT_EQ(HoverBox(mx, my), (IntRect{96, 79, 106, 94}));
  // Short lines just inside and just outside each side of the box.
  const std::tuple<int, int, int, int, bool> rows[] = {
      {96, 60, 96, 120, true},   {95, 60, 95, 120, false},    // left: mx - 5 < x
      {106, 60, 106, 120, true}, {107, 60, 107, 120, false},  // right: x < mx + 7
      {60, 79, 140, 79, true},   {60, 78, 140, 78, false},    // top: my - 2 < y
      {60, 94, 140, 94, true},   {60, 95, 140, 95, false},    // bottom: y < my + 15
  };
  for (const auto& [x1, y1, x2, y2, hit] : rows) {
    t().vectorCount = kReservedVectors;
    t().pointCount = kReservedPoints;
    const std::uint32_t v = Line(x1, y1, x2, y2);
    EXPECT_EQ(HitTester().HoveredVector(t(), Projected(), mx, my).vector, hit ? v : 0u)
        << x1 << "," << y1 << " " << x2 << "," << y2;
  }
}

TEST_F(InteractionTest, TheMarqueeMarksHitsAndReleasesLostOnes) {
  const std::uint32_t inside = Line(20, 20, 30, 30);
  const std::uint32_t selected = Line(25, 10, 25, 40);
  const std::uint32_t outside = Line(200, 200, 210, 210);
  const std::uint32_t onEdge = Line(10, 0, 10, 100);  // the marquee's left column
  t().vectors[selected].selected = kSelected;
  t().vectors[outside].selected = kMarqueeMarked;  // marked by an earlier step
  const HitTester tester;
  tester.MarkVectorsInMarquee(t(), Projected(), {10, 10, 50, 50});
  auto marks = [&] {
    return std::vector{t().vectors[inside].selected, t().vectors[selected].selected,
                       t().vectors[outside].selected, t().vectors[onEdge].selected};
  };
  // left < x is strict: the vector on the left edge stays out.
  EXPECT_EQ(marks(), (std::vector{kMarqueeMarked, kSelected, kUnselected, kUnselected}));
  // The marquee shrinks away from the first vector: its mark goes.
  tester.MarkVectorsInMarquee(t(), Projected(), {40, 40, 60, 60});
  EXPECT_EQ(marks(), (std::vector{kUnselected, kSelected, kUnselected, kUnselected}));
  // The axes, through the centre, are never marked.
  tester.MarkVectorsInMarquee(t(), Projected(), {300, 250, 350, 320});
  for (std::uint32_t i = 0; i < kReservedVectors; ++i) EXPECT_EQ(t().vectors[i].selected, 0u);
}

TEST(OutlineContains, EvenOddRuleAtTheEdges) {
  const std::vector<ScreenPoint> square = {{10, 10}, {20, 10}, {20, 20}, {10, 20}};
  const std::vector<ScreenPoint> bow = {{0, 0}, {20, 20}, {20, 0}, {0, 20}};  // self-crossing
  const std::tuple<const char*, const std::vector<ScreenPoint>&, int, int, bool> rows[] = {
      {"left edge", square, 10, 15, true},  {"right edge", square, 20, 15, false},
      {"top row", square, 15, 10, true},    {"bottom row", square, 15, 20, false},
      {"left of it", square, 9, 15, false}, {"bow tie wedge", bow, 10, 3, false},
      {"bow tie left", bow, 3, 10, true},   {"bow tie right", bow, 17, 10, true},
  };
  for (const auto& [name, outline, x, y, inside] : rows)
    EXPECT_EQ(OutlineContains(outline, x, y), inside) << name;
  EXPECT_FALSE(OutlineContains({}, 0, 0));
}

TEST_F(InteractionTest, EachAttributeCommandsFlagChangeOnOneAndOnSeveral) {
  // `one`: the result with one polygon selected; `several`: with two.
  const std::uint32_t all = 0x1FFF;
  const std::uint32_t kVisibility =
      kInvisible | kNotVisibleFromCollision | kNeverDrawBackFace | kHigherPriority;
  // clang-format off
  const struct { int id; std::uint32_t before, one, several; } rows[] = {
      {Cmd::kStyleNormal, all, all & ~(kOutline | kBordered), all & ~(kOutline | kBordered)},
      {Cmd::kStyleBordered, kOutline, kBordered, kBordered},
      {Cmd::kOutlineStyle, kBordered | kShaded, kOutline | kShaded, kOutline | kShaded},
      {Cmd::kColorSelected, kShaded | kAdopted | kBordered, kSelectedColor | kBordered,
       kSelectedColor | kBordered},
      {Cmd::kColorShaded, kSelectedColor | kAdopted, kShaded, kShaded},
      {Cmd::kColorEachSide, kAdopted, kEachSideDifferent, kEachSideDifferent},
      {Cmd::kColorEachSide, kEachSideDifferent | kAdopted, kAdopted, kEachSideDifferent},
      {Cmd::kVisibilityNormal, all, all & ~kVisibility, all & ~kVisibility},
      {Cmd::kVisibilityInvisible, (kVisibility & ~kInvisible) | kCollision,
       kInvisible | kCollision, kInvisible | kCollision},
      {Cmd::kVisibilityNeverBackFace, kNeverDrawBackFace | kInvisible, 0,
       kNeverDrawBackFace | kInvisible},
      {Cmd::kVisibilityNeverBackFace, kInvisible, kNeverDrawBackFace,
       kNeverDrawBackFace | kInvisible},
      {Cmd::kVisibilityNotFromCollision, kNotVisibleFromCollision, 0, kNotVisibleFromCollision},
      {Cmd::kVisibilityNotFromCollision, 0, kNotVisibleFromCollision, kNotVisibleFromCollision},
      {Cmd::kVisibilityHigherPriority, kHigherPriority | kInvisible, 0, kHigherPriority},
      {Cmd::kVisibilityHigherPriority, kInvisible, kHigherPriority, kHigherPriority},
      {Cmd::kPurposeNormal, kCollision | kEntrance | kViewZone | kBordered, kBordered, kBordered},
      {Cmd::kPurposeCollision, kEntrance, kCollision, kCollision},
      {Cmd::kPurposeEntrance, kCollision, kEntrance, kEntrance},
  };
  // clang-format on
  for (double x : {0.0, 20.0, 40.0}) Square(x, 0);
  for (const auto& r : rows) {
    for (std::uint32_t k = 0; k < 3; ++k) t().polygons[k].flags = r.before;
    UnselectAll(t());
    Select({0});
    EXPECT_TRUE(RunAttributeCommand(ctx, r.id));
    EXPECT_EQ(std::make_pair(Flags(0), Flags(2)), std::make_pair(r.one, r.before)) << r.id;
    for (std::uint32_t k = 0; k < 3; ++k) t().polygons[k].flags = r.before;
    Select({1});
    EXPECT_TRUE(RunAttributeCommand(ctx, r.id));
    EXPECT_EQ(std::make_tuple(Flags(0), Flags(1), Flags(2)),
              std::make_tuple(r.several, r.several, r.before))
        << r.id;
  }
  // Attribute commands take no undo step.
  EXPECT_EQ(std::make_tuple(shell.redraw, shell.menuRefreshPending, m().undo.depth()),
            std::make_tuple(true, true, 0u));
}

// The follower takes the leader's colour mode bits and keeps its others.
TEST_F(InteractionTest, TheLeaderIsAskedAgainUntilItExistsAndLendsItsColourMode) {
  const std::uint32_t leader = Square(0, kShaded | kEachSideDifferent | kBordered);
  const std::uint32_t k = Square(20, kSelectedColor | kCollision);
  Select({k});
  for (const char* answer : {"2", "-7", "0"}) f.ui.QueueValue(answer);
  RunAttributeCommand(ctx, Cmd::kColorAdopted);
  EXPECT_EQ(f.ui.Prompts(), std::vector<std::string>(3, std::string(kPromptGroupLeader)));
  EXPECT_EQ(Messages(), (std::vector<std::string>(2, std::string(kMsgNoSuchPolygon))));
  EXPECT_EQ(std::make_tuple(t().polygons[k].viewZones[0], Flags(k), Flags(leader)),
            std::make_tuple(leader, kAdopted | kShaded | kEachSideDifferent | kCollision,
                            kShaded | kEachSideDifferent | kBordered));
  // The follower as its own leader: its own bits, read after the change.
  // Cancel (or an answer of -1) ends the command with nothing changed.
  for (auto [answer, after] : {std::pair<std::optional<std::string>, std::uint32_t>{"1", kAdopted},
                               {std::nullopt, kSelectedColor},
                               {"-1", kSelectedColor}}) {
    t().polygons[k].flags = kSelectedColor;
    f.ui.QueueValue(answer);
    RunAttributeCommand(ctx, Cmd::kColorAdopted);
    EXPECT_EQ(Flags(k), after) << answer.value_or("cancel");
  }
}

TEST(PaletteGridTest, ThirtyTwoByEightCellsCentredInTheArea) {
  const PaletteGrid grid = PlacePaletteGrid({0, 0, 647, 575});
  EXPECT_EQ(std::make_tuple(grid.left, grid.top, grid.Cell(0), grid.Cell(33), grid.Cell(255)),
            std::make_tuple(164, 248, IntRect{164, 248, 173, 257}, IntRect{174, 258, 183, 267},
                            IntRect{474, 318, 483, 327}));
  const int rows[][3] = {{164, 248, 0},   {173, 257, 0},  {174, 248, 1},  {164, 258, 32},
                         {483, 327, 255}, {163, 250, -1}, {484, 327, -1}, {200, 328, -1}};
  for (const auto& r : rows) EXPECT_EQ(grid.CellAt(r[0], r[1]), r[2]) << r[0] << "," << r[1];
  // An area smaller than the grid puts it at the corner.
  const PaletteGrid small = PlacePaletteGrid({0, 0, 99, 49});
  EXPECT_EQ(std::make_pair(small.left, small.top), std::make_pair(0, 0));
}

// The colour goes to the selection by the same rule as Set Color mode
// (whose test covers the side facing the viewer).
TEST_F(InteractionTest, ChosenColourGoesToTheSelection) {
  const std::uint32_t shown = Square(0, kDefined, 5), left = Square(-60, kDefined, 8);
  const std::uint32_t v = AddLine(t(), {0, -50, 0}, {40, -50, 0}, 9);
  const std::uint32_t w = AddLine(t(), {0, -60, 0}, {40, -60, 0}, 10);
  t().polygonSelected[shown] = kSelected;
  t().vectors[v].selected = kSelected;

  ASSERT_TRUE(ChooseColour(ctx));
  const PaletteGrid grid = PlacePaletteGrid(d().layout.local);
  const IntRect cell = grid.Cell(200), cell37 = grid.Cell(37);
  EXPECT_EQ(std::make_tuple(shell.statusTitle, shell.rotationInProgress,
                            d().offscreen.shown.At(cell.left + 5, cell.top + 5)),
            std::make_tuple(std::string(kTitleSelectNewColor), true, std::uint8_t{200}));
  const std::uint32_t version = state.swatchVersion;
  PointerMoved(ctx, Left() + cell37.left + 5, Top() + cell37.top + 5);
  PointerMoved(ctx, Left() + 2, Top() + 2);  // off the grid: the colour stays
  // Nothing changes until the release.
  EXPECT_EQ(std::make_tuple(state.currentColour, state.currentFill, state.swatchVersion > version,
                            t().polygons[shown].frontColor),
            std::make_tuple(37, FillWord(37), true, std::uint8_t{5}));
  const GestureEnd end = PointerReleased(ctx, PointerButton::kLeft, Left() + 2, Top() + 2);
  EXPECT_EQ(std::make_tuple(end.kind, shell.rotationInProgress, sounds),
            std::make_tuple(GestureKind::kColourChooser, false, std::vector<int>{2}));
  const Polygon& ps = t().polygons[shown];
  EXPECT_EQ(std::make_tuple(ps.frontColor, ps.frontFill, t().polygons[left].frontColor,
                            t().vectors[v].color, t().vectors[w].color),
            std::make_tuple(37, FillWord(37), 8, 37, 10));
}

TEST_F(InteractionTest, ViewZoneNeedsExactlyOneOfAtLeastTwo) {
  int dialogs = 0;
  ctx.runViewZoneDialog = [&](ViewZoneDialog&) { return ++dialogs > 0; };
  Square(0, 0);
  RunAttributeCommand(ctx, Cmd::kPurposeViewZone);  // nothing selected
  Select({0});
  RunAttributeCommand(ctx, Cmd::kPurposeViewZone);  // no other polygon
  Square(20, 0);
  Select({1});
  RunAttributeCommand(ctx, Cmd::kPurposeViewZone);  // two selected
  EXPECT_EQ(Messages(), (std::vector<std::string>{std::string(kMsgViewZoneNone),
                                                  std::string(kMsgViewZoneNoOthers),
                                                  std::string(kMsgViewZoneSeveral)}));
  EXPECT_EQ(std::make_pair(dialogs, Flags(0) & kViewZone), std::make_pair(0, 0u));
}

TEST_F(InteractionTest, AFullViewZoneListRefusesAnotherEntry) {
  t().polygonCount = 30;
  for (std::uint32_t k = 0; k < 30; ++k) t().polygons[k] = Polygon{};
  Select({1, 4});  // the zone: the last one selected
  Polygon& zone = t().polygons[4];
  zone.viewZoneCount = 2;
  zone.viewZones[0] = 3 | ViewZone::kIsVector;
  zone.viewZones[1] = 5;
  ViewZoneDialog dialog(t(), f.ui);
  for (int i = 4; i < 22; ++i) {
    dialog.polygonChoice = i;
    ASSERT_TRUE(dialog.Add()) << i;
  }
  ASSERT_EQ(dialog.entries().size(), kMaxViewZones);
  dialog.polygonChoice = 23;
  EXPECT_FALSE(dialog.Add());
  EXPECT_EQ(Messages(), std::vector<std::string>{std::string(kMsgViewZoneListFull)});
  // Rewriting an entry already listed still works; no choice adds nothing.
  dialog.polygonChoice = 4;
  dialog.priorityChoice = kPriorityHigh;
  EXPECT_TRUE(dialog.Add() && dialog.entries().size() == kMaxViewZones);
  dialog.polygonChoice = -1;
  EXPECT_FALSE(dialog.Add());
}

// The dialog run from the Purpose menu on polygon 2 of four, whose list
// holds a vector 3, polygon 1 (High) and polygon 0 (Low). The combo offers
// polygons 0, 1 and 3. Ops: "A<choice><l|h>" adds, "D<row>" selects a row
// and deletes it, "d" deletes at the current selection.
TEST_F(InteractionTest, ViewZoneDialogAddDeleteDoneAndCancel) {
  using V = std::vector<std::uint32_t>;
  const std::uint32_t vec3 = 3 | ViewZone::kIsVector, low = ViewZone::kLowPriority;
  const std::string empty = "There are no entries to delete.";
  // clang-format off
  const struct { const char* name; const char* ops; bool done; V after; std::string message; }
      rows[] = {  // after: the zone's list afterwards
      {"add appends a new polygon",        "A2l",     true,  {vec3, 1, 0 | low, 3 | low}, ""},
      {"add rewrites the polygon's entry", "A1lA0h",  true,  {vec3, 1 | low, 0},          ""},
      {"delete removes the selected row",  "D1",      true,  {vec3, 0 | low},             ""},
      {"deleting the last row moves up",   "D2d",     true,  {vec3},                      ""},
      {"delete with no row selected",      "d",       true,  {vec3, 1, 0 | low},          ""},
      {"delete on an empty list says so",  "D0D0D0d", true,  {},                          empty},
      {"cancel keeps the list as it was",  "A2hD0",   false, {vec3, 1, 0 | low},          ""},
  };
  // clang-format on
  for (double x : {0.0, 20.0, 40.0, 60.0}) Square(x, 0);
  Select({2});
  Polygon& zone = t().polygons[2];
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    f.ui.ClearMessages();
    zone.flags = 0;
    zone.viewZoneCount = 3;
    zone.viewZones[0] = vec3;
    zone.viewZones[1] = 1;
    zone.viewZones[2] = 0 | low;
    ctx.runViewZoneDialog = [&](ViewZoneDialog& dialog) {
      EXPECT_EQ(std::make_tuple(shell.modalDialogOpen, dialog.zone()), std::make_tuple(true, 2u));
      for (const char* op = row.ops; *op; ++op) {
        if (*op == 'A') {
          dialog.polygonChoice = *++op - '0';
          dialog.priorityChoice = *++op == 'l' ? kPriorityLow : kPriorityHigh;
          EXPECT_TRUE(dialog.Add());
        } else if (*op == 'D') {
          dialog.listSelection = *++op - '0';
          EXPECT_TRUE(dialog.Delete());
        } else {
          dialog.Delete();
        }
      }
      return row.done;
    };
    RunAttributeCommand(ctx, Cmd::kPurposeViewZone);
    const std::vector<std::string> said =
        row.message.empty() ? std::vector<std::string>{} : std::vector{row.message};
    EXPECT_EQ(std::make_tuple(shell.modalDialogOpen,
                              V(zone.viewZones, zone.viewZones + zone.viewZoneCount), zone.flags,
                              Messages()),
              std::make_tuple(false, row.after, row.done ? PolyFlag::kViewZone : 0u, said));
  }
}

}  // namespace
}  // namespace ws
