#include "editor/interaction/drag.h"

#include <gtest/gtest.h>

#include "editor/view/projection.h"
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

}  // namespace
}  // namespace ws
