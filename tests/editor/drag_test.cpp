#include "editor/drag.h"

#include <gtest/gtest.h>

#include "editor/projection.h"
#include "interaction_test_support.h"
#include "model/undo.h"

namespace ws {
namespace {

using test::AddLine;

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
    EXPECT_EQ(std::make_tuple(P(p2).x, P(p2).y, P(p2).z), std::make_tuple(50 + scale, 7.0, -20.0));
    EXPECT_EQ(shell.statusTitle, "dx:10.000  dy0.000");
    PointerMoved(ctx, x + 11, y - 5);  // up the screen is +y in every view, never z
    EXPECT_EQ(std::make_tuple(P(p2).x, P(p2).y, P(p2).z), std::make_tuple(50 + scale, 12.0, -20.0));
    EXPECT_EQ(shell.statusTitle, "dx:10.000  dy-5.000");
    const GestureEnd end = PointerReleased(ctx, PointerButton::kLeft, x + 11, y - 5);
    EXPECT_EQ(std::make_pair(end.kind, end.openPopupMenu),
              std::make_pair(GestureKind::kDragEndpoint, false));
    EXPECT_EQ(t().points[t().vectors[v].p1].x, 0.0);  // the other end stays
  }
}

TEST_F(DragTest, TheNearerEndpointMovesAndTiesGoToTheSecond) {
  const std::uint32_t v = AddLine(t(), {0, 0, 0}, {40, 0, 0});
  const std::uint32_t shared = AddLine(t(), {0, 0, 0}, {0, 30, 0});
  Project();
  const std::uint32_t p1 = t().vectors[v].p1, p2 = t().vectors[v].p2;
  ASSERT_TRUE(DragEndpoint(ctx, v, CX() + 5, CY()));
  PointerMoved(ctx, CX() + 5, CY() - 10);
  EXPECT_EQ(P(p1).y, 10.0);
  EXPECT_EQ(P(p2).y, 0.0);
  // Every vector using the point follows it.
  EXPECT_EQ(t().vectors[shared].p1, p1);
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

TEST_F(DragTest, OneUndoStepTakesTheWholeDragBack) {
  const std::uint32_t v = AddLine(t(), {0, 0, 0}, {40, 0, 0});
  Project();
  const std::uint32_t p2 = t().vectors[v].p2;
  // (The screen position follows the point as frames are drawn.)
  const int x = ScreenX(p2), y = ScreenY(p2);
  ASSERT_TRUE(DragEndpoint(ctx, v, x, y));
  EXPECT_EQ(UndoLabel(), UndoLabel::kDrag);
  for (int i = 1; i <= 5; ++i) PointerMoved(ctx, x + i, y);
  PointerReleased(ctx, PointerButton::kLeft, x + 5, y);
  EXPECT_EQ(P(p2).x, 45.0);
  EXPECT_EQ(m().undo.depth(), 1u);
  ASSERT_TRUE(m().PopUndo());
  EXPECT_EQ(P(p2).x, 40.0);
}

TEST_F(DragTest, EveryEndClearsTheBusyFlags) {
  const std::uint32_t v = AddLine(t(), {0, 0, 0}, {40, 0, 0});
  Project();
  const std::uint32_t p2 = t().vectors[v].p2;
  const int x = ScreenX(p2), y = ScreenY(p2);
  // Released far outside the window: the drag ends where the button came up.
  ASSERT_TRUE(DragEndpoint(ctx, v, x, y));
  EXPECT_TRUE(shell.rotationInProgress);
  PointerMoved(ctx, -4000, y);
  // The other button's release does not end it.
  EXPECT_EQ(PointerReleased(ctx, PointerButton::kRight, -4000, 9000).kind, GestureKind::kNone);
  EXPECT_TRUE(GestureActive(ctx));
  PointerReleased(ctx, PointerButton::kLeft, -4000, y);
  EXPECT_FALSE(GestureActive(ctx) || shell.rotationInProgress || d().view.rotationInProgress);
  EXPECT_EQ(P(p2).x, 40.0 + (-4000 - x));

  // A cancel keeps what moved and clears the flags.
  Project();
  const int x2 = ScreenX(p2), y2 = ScreenY(p2);
  ASSERT_TRUE(DragEndpoint(ctx, v, x2, y2));
  const double before = P(p2).x;
  PointerMoved(ctx, x2 + 2, y2);
  CancelGesture(ctx);
  EXPECT_FALSE(shell.rotationInProgress);
  EXPECT_EQ(P(p2).x, before + 2);
  // Moves after the end change nothing.
  PointerMoved(ctx, x2 + 50, y2);
  EXPECT_EQ(P(p2).x, before + 2);
  EXPECT_EQ(PointerReleased(ctx, PointerButton::kLeft, 0, 0).kind, GestureKind::kNone);
}

TEST_F(DragTest, OnlyUserVectorsCanBeDragged) {
  EXPECT_FALSE(DragEndpoint(ctx, 2, CX(), CY()));                 // an axis
  EXPECT_FALSE(DragEndpoint(ctx, kReservedVectors, CX(), CY()));  // no such vector
  const std::uint32_t v = t().AddVector(0, t().AddPoint(5, 5, 5));
  EXPECT_FALSE(DragEndpoint(ctx, v, CX(), CY()));  // names the origin
  EXPECT_FALSE(GestureActive(ctx));
  EXPECT_EQ(m().undo.depth(), 0u);
}

TEST_F(DragTest, FreeRotationTurnsWhileInsideAndEndsOutside) {
  const int shows = f.presenter.shows;
  BeginFreeRotationDrag(ctx, CX(), CY(), true);
  EXPECT_TRUE(shell.rotationInProgress);
  EXPECT_TRUE(d().view.rotationInProgress);
  PointerMoved(ctx, CX() + 60, CY());
  EXPECT_NE(m().view.orientation, kIdentityMatrix3);
  // A horizontal move turns about the vertical axis: the y row stays.
  EXPECT_DOUBLE_EQ(m().view.orientation[1][1], 1.0);
  EXPECT_GT(f.presenter.shows, shows);
  const Matrix3 turned = m().view.orientation;
  PointerMoved(ctx, CX() + 60, CY());  // no movement, no turn
  EXPECT_EQ(m().view.orientation, turned);
  shell.mode = EditorMode::kSelectPolygon;
  PointerMoved(ctx, Left() - 1, CY());  // leaving the EditArea ends it
  EXPECT_FALSE(GestureActive(ctx) || shell.rotationInProgress || d().view.rotationInProgress);
  EXPECT_EQ(shell.statusTitle, "Select Polygon Mode");
  EXPECT_EQ(m().view.orientation, turned);
}

TEST(DragTitleTest, FormatsBothDistances) {
  EXPECT_EQ(DragTitle(-2.5, 1234.5), "dx:-2.500  dy1234.500");
}

}  // namespace
}  // namespace ws
