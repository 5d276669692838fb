#include "editor/interaction/marquee.h"

#include <gtest/gtest.h>

#include "editor/interaction/drag.h"
#include "editor/interaction/selection.h"
#include "interaction_test_support.h"

namespace ws {
namespace {

using test::AddLine;
using test::AddPolygon;

TEST(MarqueeRectTest, OrdersAndClampsLessOnePixelRightAndBottom) {
  const IntRect local{0, 0, 99, 49};
  EXPECT_EQ(MarqueeRect(10, 20, 5, 3, local), (IntRect{5, 3, 10, 20}));
  EXPECT_EQ(MarqueeRect(-5, 60, 200, -10, local), (IntRect{0, 0, 98, 48}));
  EXPECT_EQ(MarqueeRect(99, 49, 99, 49, local), (IntRect{98, 48, 98, 48}));
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

}  // namespace
}  // namespace ws
