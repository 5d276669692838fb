#include "editor/selection.h"

#include <gtest/gtest.h>

#include "editor/drag.h"
#include "editor/projection.h"
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

// ---- Mode switch ----

TEST_F(SelectionTest, LeavingPlotResetsTheViewAndOtherModesKeepIt) {
  d().view.scale = 2.0;
  d().view.panX = 1.0;
  TurnAboutX(m().view.orientation, 0.5);
  SelectMode(ctx, EditorMode::kSelectVector);
  EXPECT_EQ(shell.mode, EditorMode::kSelectVector);
  EXPECT_EQ(m().view.orientation, kIdentityMatrix3);
  EXPECT_EQ(d().view.scale, 1.0);
  EXPECT_EQ(d().view.panX, 0.0);
  EXPECT_EQ(shell.statusTitle, "Select Vector Mode");
  EXPECT_EQ(shell.helpText, "Select vectors for editing.");
  EXPECT_EQ(sounds, std::vector<int>{1});

  const std::uint32_t v = AddLine(t(), {0, 0, 0}, {10, 0, 0});
  t().vectors[v].selected = kSelected;
  TurnAboutY(m().view.orientation, 0.5);
  const Matrix3 turned = m().view.orientation;
  d().view.scale = 3.0;
  SelectMode(ctx, EditorMode::kSelectPolygon);
  EXPECT_EQ(m().view.orientation, turned);
  EXPECT_EQ(d().view.scale, 3.0);
  EXPECT_EQ(t().vectors[v].selected, kSelected);
  EXPECT_EQ(shell.statusTitle, "Select Polygon Mode");
}

TEST_F(SelectionTest, ChoosingPlotClearsTheMarksAndTheStep) {
  shell.mode = EditorMode::kSelectVector;
  const std::uint32_t v = AddLine(t(), {0, 0, 0}, {10, 0, 0});
  t().vectors[v].selected = kSelected;
  FrontSquare(0, 0, 10, PolyFlag::kDefined, 3);
  t().polygonSelected[0] = kSelected;
  m().plot.step = 4;
  d().selection.marqueeActive = true;
  TurnAboutX(m().view.orientation, 0.5);
  SelectMode(ctx, EditorMode::kPlot);
  EXPECT_EQ(shell.mode, EditorMode::kPlot);
  EXPECT_EQ(t().vectors[v].selected, kUnselected);
  EXPECT_EQ(t().polygonSelected[0], kUnselected);
  EXPECT_EQ(m().plot.step, 0);
  EXPECT_FALSE(d().selection.marqueeActive);
  EXPECT_TRUE(shell.menuRefreshPending);
  EXPECT_EQ(m().view.orientation, kIdentityMatrix3);
  EXPECT_EQ(shell.statusTitle, "Plot Mode");
}

TEST_F(SelectionTest, PlotClickedAgainResetsTheViewOnly) {
  const std::uint32_t v = AddLine(t(), {0, 0, 0}, {10, 0, 0});
  t().vectors[v].selected = kSelected;
  m().plot.step = 4;
  TurnToView(m().view, kViewTop, nullptr);
  SelectMode(ctx, EditorMode::kPlot);
  EXPECT_EQ(m().view.viewCode, kViewFront);
  EXPECT_EQ(m().view.activeTurn, kTurnNone);
  EXPECT_EQ(m().plot.step, 4);
  EXPECT_EQ(t().vectors[v].selected, kSelected);
}

TEST_F(SelectionTest, VirtualWalkStartsAndEndsThroughTheContext) {
  // Without a walk view it is a mode like Camera View.
  SelectMode(ctx, EditorMode::kVirtualWalk);
  EXPECT_EQ(shell.mode, EditorMode::kVirtualWalk);
  EXPECT_FALSE(shell.walkModeActive);

  int started = 0, ended = 0;
  ctx.startWalk = [&] { return ++started > 0; };
  ctx.endWalk = [&] { ++ended; };
  const std::uint32_t v = AddLine(t(), {0, 0, 0}, {10, 0, 0});
  t().vectors[v].selected = kSelected;
  shell.mode = EditorMode::kSelectVector;
  SelectMode(ctx, EditorMode::kVirtualWalk);
  EXPECT_EQ(started, 1);
  EXPECT_TRUE(shell.walkModeActive);
  EXPECT_EQ(t().vectors[v].selected, kUnselected);
  EXPECT_EQ(shell.statusTitle, "Virtual Walk Mode");
  EXPECT_EQ(shell.helpText, ModeHelpTexts(EditorMode::kVirtualWalk, true).help);

  // Any mode chosen from walk mode passes through Plot.
  TurnAboutY(m().view.orientation, 0.4);
  m().plot.step = 2;
  SelectMode(ctx, EditorMode::kCameraView);
  EXPECT_EQ(ended, 1);
  EXPECT_FALSE(shell.walkModeActive);
  EXPECT_EQ(shell.mode, EditorMode::kCameraView);
  EXPECT_EQ(m().view.orientation, kIdentityMatrix3);
  EXPECT_EQ(m().plot.step, 0);
}

// ---- Clicks ----

TEST_F(SelectionTest, SelectVectorMarksThenDragsAndEmptySpaceRotates) {
  shell.mode = EditorMode::kSelectVector;
  const std::uint32_t v = AddLine(t(), {0, 0, 0}, {40, 0, 0});
  Project();
  Hover(v, -1);
  EditAreaClick(ctx, CX() + 20, CY());
  EXPECT_EQ(t().vectors[v].selected, kSelected);
  EXPECT_FALSE(GestureActive(ctx));
  EXPECT_EQ(sounds, std::vector<int>{6});

  // A second click on the selected vector drags, it does not unselect.
  EditAreaClick(ctx, CX() + 35, CY());
  EXPECT_EQ(t().vectors[v].selected, kSelected);
  EXPECT_EQ(state.gesture.kind, GestureKind::kDragEndpoint);
  EXPECT_EQ(shell.statusTitle, kTitleDragVector);
  EXPECT_EQ(UndoLabel(), UndoLabel::kDrag);
  PointerReleased(ctx, PointerButton::kLeft, CX() + 35, CY());

  Hover(0, -1);
  EditAreaClick(ctx, CX() + 100, CY() + 100);
  EXPECT_EQ(state.gesture.kind, GestureKind::kFreeRotation);
  EXPECT_EQ(shell.statusTitle, kTitleChangingView);
  EXPECT_TRUE(shell.rotationInProgress);
  EXPECT_TRUE(d().view.rotationInProgress);
  PointerReleased(ctx, PointerButton::kLeft, CX() + 100, CY() + 100);
  EXPECT_FALSE(shell.rotationInProgress);
  EXPECT_FALSE(d().view.rotationInProgress);
  EXPECT_EQ(shell.statusTitle, "Select Vector Mode");
}

TEST_F(SelectionTest, SelectPolygonTogglesAndHiddenPolygonsRotate) {
  shell.mode = EditorMode::kSelectPolygon;
  const std::uint32_t a = FrontSquare(0, 0, 40, PolyFlag::kDefined, 3);
  const std::uint32_t b = FrontSquare(60, 0, 40, PolyFlag::kDefined | PolyFlag::kInvisible, 3);
  Hover(0, static_cast<std::int32_t>(a));
  EditAreaClick(ctx, CX() + 20, CY() - 20);
  EXPECT_EQ(t().polygonSelected[a], kSelected);
  EXPECT_TRUE(shell.menuRefreshPending);
  EditAreaClick(ctx, CX() + 20, CY() - 20);
  EXPECT_EQ(t().polygonSelected[a], kUnselected);
  EXPECT_EQ(sounds, (std::vector<int>{6, 6}));

  // An invisible polygon while invisible polygons are hidden: rotation.
  Hover(0, static_cast<std::int32_t>(b));
  EditAreaClick(ctx, CX() + 80, CY() - 20);
  EXPECT_EQ(t().polygonSelected[b], kUnselected);
  EXPECT_EQ(state.gesture.kind, GestureKind::kFreeRotation);
  CancelGesture(ctx);
  d().options.showInvisible = true;
  EditAreaClick(ctx, CX() + 80, CY() - 20);
  EXPECT_EQ(t().polygonSelected[b], kSelected);

  // Polygons Off: every polygon counts as nothing.
  d().options.polygonsOn = false;
  Hover(0, static_cast<std::int32_t>(a));
  EditAreaClick(ctx, CX() + 20, CY() - 20);
  EXPECT_EQ(t().polygonSelected[a], kUnselected);
  EXPECT_EQ(state.gesture.kind, GestureKind::kFreeRotation);
  CancelGesture(ctx);
  EXPECT_FALSE(shell.rotationInProgress);
}

TEST_F(SelectionTest, GrabColourTakesTheSideFacingTheViewer) {
  shell.mode = EditorMode::kGrabColor;
  const std::uint32_t v = AddLine(t(), {0, -50, 0}, {40, -50, 0}, 77);
  const std::uint32_t front = FrontSquare(0, 0, 40, PolyFlag::kEachSideDifferent, 16, 24);
  const std::uint32_t away = BackSquare(60, 0, 40, PolyFlag::kEachSideDifferent, 32, 40);
  const std::uint32_t single = BackSquare(-60, 0, 40, PolyFlag::kDefined, 48, 56);
  Project();
  Hover(v, static_cast<std::int32_t>(front));  // the vector takes precedence
  EditAreaClick(ctx, CX(), CY());
  EXPECT_EQ(state.currentColour, 77);
  EXPECT_EQ(state.currentFill, FillWord(77));
  Hover(0, static_cast<std::int32_t>(front));
  EditAreaClick(ctx, CX(), CY());
  EXPECT_EQ(state.currentColour, 16);
  Hover(0, static_cast<std::int32_t>(away));
  EditAreaClick(ctx, CX(), CY());
  EXPECT_EQ(state.currentColour, 40);
  Hover(0, static_cast<std::int32_t>(single));  // one colour for both sides
  EditAreaClick(ctx, CX(), CY());
  EXPECT_EQ(state.currentColour, 48);
  EXPECT_EQ(sounds, (std::vector<int>(4, 6)));
  EXPECT_GE(state.swatchVersion, 4u);

  // Nothing under the cursor: nothing at all.
  Hover(0, -1);
  EditAreaClick(ctx, CX(), CY());
  EXPECT_EQ(state.currentColour, 48);
  EXPECT_EQ(sounds.size(), 4u);
  EXPECT_FALSE(GestureActive(ctx));
}

TEST_F(SelectionTest, SetColourWritesTheSideFacingTheViewer) {
  shell.mode = EditorMode::kSetColor;
  SetCurrentColour(state, 99);
  const std::uint32_t v = AddLine(t(), {0, -50, 0}, {40, -50, 0}, 5);
  const std::uint32_t away = BackSquare(60, 0, 40, PolyFlag::kEachSideDifferent, 32, 40);
  const std::uint32_t plain = BackSquare(-60, 0, 40, PolyFlag::kDefined, 48, 56);
  Project();
  Hover(v, -1);
  EditAreaClick(ctx, CX(), CY());
  EXPECT_EQ(t().vectors[v].color, 99);
  Hover(0, static_cast<std::int32_t>(away));
  EditAreaClick(ctx, CX(), CY());
  EXPECT_EQ(t().polygons[away].backColor, 99);
  EXPECT_EQ(t().polygons[away].backFill, FillWord(99));
  EXPECT_EQ(t().polygons[away].frontColor, 32);
  Hover(0, static_cast<std::int32_t>(plain));
  EditAreaClick(ctx, CX(), CY());
  EXPECT_EQ(t().polygons[plain].frontColor, 99);
  EXPECT_EQ(t().polygons[plain].frontFill, FillWord(99));
  EXPECT_EQ(t().polygons[plain].backColor, 56);
  EXPECT_EQ(sounds, (std::vector<int>(3, 6)));
}

TEST_F(SelectionTest, CameraViewAlwaysRotatesAndWalkModeIgnoresClicks) {
  shell.mode = EditorMode::kCameraView;
  const std::uint32_t v = AddLine(t(), {0, 0, 0}, {40, 0, 0});
  Hover(v, -1);
  SetStatusTitle(shell, "Camera View Mode");
  EditAreaClick(ctx, CX() + 10, CY());
  EXPECT_EQ(state.gesture.kind, GestureKind::kFreeRotation);
  EXPECT_EQ(shell.statusTitle, "Camera View Mode");
  EXPECT_EQ(t().vectors[v].selected, kUnselected);
  PointerReleased(ctx, PointerButton::kLeft, CX() + 10, CY());

  shell.walkModeActive = true;
  shell.mode = EditorMode::kSelectVector;
  EditAreaClick(ctx, CX() + 10, CY());
  EXPECT_FALSE(GestureActive(ctx));
  EXPECT_EQ(t().vectors[v].selected, kUnselected);
  // Outside the EditArea nothing happens either.
  shell.walkModeActive = false;
  EditAreaClick(ctx, Left() - 3, CY());
  EXPECT_FALSE(GestureActive(ctx));
  EXPECT_EQ(t().vectors[v].selected, kUnselected);
}

// ---- Marks ----

TEST_F(SelectionTest, SelectAllAndUnselectCoverUserVectorsAndEveryPolygon) {
  AddLine(t(), {0, 0, 0}, {40, 0, 0});
  FrontSquare(0, 0, 10, PolyFlag::kDefined, 1);
  FrontSquare(20, 0, 10, PolyFlag::kDefined, 1);
  SelectAll(t());
  for (std::uint32_t i = 0; i < kReservedVectors; ++i)
    EXPECT_EQ(t().vectors[i].selected, kUnselected);
  for (std::uint32_t i = kReservedVectors; i < t().vectorCount; ++i) {
    EXPECT_EQ(t().vectors[i].selected, kSelected);
  }
  EXPECT_EQ(t().polygonSelected[0], kSelected);
  EXPECT_EQ(t().polygonSelected[1], kSelected);
  EXPECT_EQ(t().polygonSelected[2], kUnselected);
  UnselectAll(t());
  for (std::uint32_t i = kReservedVectors; i < t().vectorCount; ++i) {
    EXPECT_EQ(t().vectors[i].selected, kUnselected);
  }
  EXPECT_EQ(t().polygonSelected[1], kUnselected);
}

TEST_F(SelectionTest, SelectByNumberRefusesNumbersOutOfRange) {
  AddLine(t(), {0, 0, 0}, {40, 0, 0});
  AddLine(t(), {0, 0, 0}, {0, 40, 0});
  const std::uint32_t good[] = {1};
  EXPECT_TRUE(SelectVectorsByFileNumber(t(), f.ui, good));
  EXPECT_EQ(t().vectors[kReservedVectors + 1].selected, kSelected);
  EXPECT_EQ(t().vectors[kReservedVectors].selected, kUnselected);
  const std::uint32_t bad[] = {0, 2};
  EXPECT_FALSE(SelectVectorsByFileNumber(t(), f.ui, bad));
  EXPECT_EQ(t().vectors[kReservedVectors].selected, kUnselected);
  const std::uint32_t polygons[] = {0};
  EXPECT_FALSE(SelectPolygonsByNumber(t(), f.ui, polygons));
  EXPECT_EQ(Messages(),
            (std::vector<std::string>{"Vector 2 does not exist.", "Polygon 0 does not exist."}));
  FrontSquare(0, 0, 10, PolyFlag::kDefined, 1);
  EXPECT_TRUE(SelectPolygonsByNumber(t(), f.ui, polygons));
  EXPECT_EQ(t().polygonSelected[0], kSelected);
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
  EXPECT_EQ(t().polygonSelected[0], kSelected);
  EXPECT_EQ(t().polygonSelected[1], kUnselected);
  EXPECT_EQ(t().polygonSelected[2], kSelected);
}

TEST_F(SelectionTest, MakeFacedReversesOnlyThePolygonsFacingTheOtherWay) {
  const std::uint32_t front = FrontSquare(0, 0, 40, PolyFlag::kDefined, 1);
  const std::uint32_t away = BackSquare(60, 0, 40, PolyFlag::kDefined, 1);
  const std::uint32_t other = FrontSquare(-60, 0, 40, PolyFlag::kDefined, 1);
  t().polygonSelected[front] = kSelected;
  t().polygonSelected[away] = kSelected;
  const std::uint32_t firstPoint = t().polygons[front].points[0];
  EXPECT_EQ(MakeSelectedFacing(ctx, true), 1u);
  EXPECT_EQ(UndoLabel(), UndoLabel::kFlipBackface);
  Project();
  EXPECT_TRUE(PolygonFacesAway(t(), front));
  EXPECT_TRUE(PolygonFacesAway(t(), away));
  EXPECT_FALSE(PolygonFacesAway(t(), other));  // not selected
  EXPECT_EQ(t().polygons[front].points[3], firstPoint);
  // Nothing to do: no undo step.
  const std::size_t depth = m().undo.depth();
  EXPECT_EQ(MakeSelectedFacing(ctx, true), 0u);
  EXPECT_EQ(m().undo.depth(), depth);
  EXPECT_EQ(MakeSelectedFacing(ctx, false), 2u);
  Project();
  EXPECT_FALSE(PolygonFacesAway(t(), front));
  EXPECT_FALSE(PolygonFacesAway(t(), away));
}

// ---- Keyboard moves ----

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

void ExpectAt(const P3& p, double x, double y, double z) {
  EXPECT_EQ(p.x, x);
  EXPECT_EQ(p.y, y);
  EXPECT_EQ(p.z, z);
}

TEST_F(MoveSelectedTest, ASharedPointMovesOnce) {
  EXPECT_TRUE(MoveSelectedVectors(t(), HeldKey::kRight, 10));
  ExpectAt(At(a), 10, 0, 0);
  ExpectAt(At(b), 20, 0, 0);
  ExpectAt(At(c), 20, 10, 0);
  ExpectAt(At(t().vectors[other].p1), 50, 50, 50);
}

TEST_F(MoveSelectedTest, ShiftWithControlMovesOnlyEndpointOne) {
  EXPECT_TRUE(MoveSelectedVectors(t(), HeldKey::kUp | HeldKey::kShift | HeldKey::kControl, 5));
  ExpectAt(At(a), 0, 5, 0);
  ExpectAt(At(b), 10, 5, 0);  // endpoint 1 of the second vector
  ExpectAt(At(c), 10, 10, 0);
}

TEST_F(MoveSelectedTest, ControlAloneMovesOnlyEndpointTwo) {
  EXPECT_TRUE(MoveSelectedVectors(t(), HeldKey::kPageDown | HeldKey::kControl, 10));
  ExpectAt(At(a), 0, 0, 0);
  ExpectAt(At(b), 10, 0, 10);
  ExpectAt(At(c), 10, 10, 10);
}

TEST_F(MoveSelectedTest, OpposingKeysResolveAsStated) {
  EXPECT_TRUE(MoveSelectedVectors(t(),
                                  HeldKey::kLeft | HeldKey::kRight | HeldKey::kUp | HeldKey::kDown |
                                      HeldKey::kPageUp | HeldKey::kPageDown,
                                  10));
  // Right, Up and Page Up win.
  ExpectAt(At(a), 10, 10, -10);
  EXPECT_TRUE(MoveSelectedVectors(t(), HeldKey::kLeft | HeldKey::kDown, 10));
  ExpectAt(At(a), 0, 0, -10);
}

TEST_F(MoveSelectedTest, NoMoveKeyOrNoSelectionMovesNothing) {
  EXPECT_FALSE(MoveSelectedVectors(t(), 0, 10));
  EXPECT_FALSE(MoveSelectedVectors(t(), HeldKey::kShift | HeldKey::kDelete, 10));
  ExpectAt(At(a), 0, 0, 0);
  UnselectAll(t());
  EXPECT_FALSE(MoveSelectedVectors(t(), HeldKey::kRight, 10));
  ExpectAt(At(b), 10, 0, 0);
  // The axis cross never moves, even named by a user vector.
  const std::uint32_t v = t().AddVector(0, a);
  t().vectors[v].selected = kSelected;
  EXPECT_TRUE(MoveSelectedVectors(t(), HeldKey::kRight, 10));
  ExpectAt(At(0), 0, 0, 0);
  ExpectAt(At(a), 10, 0, 0);
}

}  // namespace
}  // namespace ws
