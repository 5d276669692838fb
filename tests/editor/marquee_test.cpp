#include "editor/marquee.h"

#include <gtest/gtest.h>

#include "editor/drag.h"
#include "editor/selection.h"
#include "interaction_test_support.h"

namespace ws {
namespace {

using test::AddLine;
using test::AddPolygon;

// ---- Geometry ----

TEST(MarqueeRectTest, OrdersAndClampsLessOnePixelRightAndBottom) {
  const IntRect local{0, 0, 99, 49};
  EXPECT_EQ(MarqueeRect(10, 20, 5, 3, local), (IntRect{5, 3, 10, 20}));
  EXPECT_EQ(MarqueeRect(-5, 60, 200, -10, local), (IntRect{0, 0, 98, 48}));
  EXPECT_EQ(MarqueeRect(99, 49, 99, 49, local), (IntRect{98, 48, 98, 48}));
}

TEST(OutlineHitTest, EachOfTheThreeWaysToHit) {
  const std::vector<ScreenPoint> big = {{0, 0}, {100, 0}, {100, 100}, {0, 100}};
  const std::vector<ScreenPoint> small = {{45, 45}, {55, 45}, {50, 55}};
  const std::vector<ScreenPoint> bar = {{-50, 48}, {150, 48}, {150, 52}, {-50, 52}};
  const std::vector<ScreenPoint> beside = {{60, 0}, {80, 0}, {80, 100}, {60, 100}};
  const std::vector<ScreenPoint> far = {{200, 200}, {220, 200}, {220, 220}};
  const IntRect rect{40, 40, 60, 60};
  EXPECT_TRUE(OutlineHitByRect(big, rect));                // rectangle inside the polygon
  EXPECT_TRUE(OutlineHitByRect(small, {0, 0, 100, 100}));  // polygon inside the rectangle
  EXPECT_TRUE(OutlineHitByRect(bar, rect));                // only edges cross
  EXPECT_TRUE(OutlineHitByRect(beside, rect));             // touching counts
  EXPECT_FALSE(OutlineHitByRect(beside, {40, 40, 59, 60}));
  EXPECT_FALSE(OutlineHitByRect(far, rect));
  EXPECT_FALSE(OutlineHitByRect({}, rect));
}

TEST(MarqueeTextTest, CountKeepsItsTrailingSpaces) {
  EXPECT_EQ(MarqueeCountText(0), "Polygons Selected = 0     ");
  EXPECT_EQ(MarqueeCountText(12), "Polygons Selected = 12     ");
}

// ---- Dragging ----

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

TEST_F(MarqueeDragTest, RightClickWithoutMovementOpensThePopupAndSelectsNothing) {
  shell.mode = EditorMode::kCameraView;
  ASSERT_TRUE(MarqueeDrag(ctx, CX(), CY()));
  EXPECT_TRUE(d().selection.marqueeActive);
  EXPECT_EQ(shell.helpText, kHelpMarquee);
  EXPECT_TRUE(shell.rotationInProgress);
  const GestureEnd end = PointerReleased(ctx, PointerButton::kRight, CX(), CY());
  EXPECT_EQ(end.kind, GestureKind::kMarquee);
  EXPECT_TRUE(end.openPopupMenu);
  EXPECT_FALSE(d().selection.marqueeActive);
  EXPECT_FALSE(shell.rotationInProgress);
  EXPECT_TRUE(shell.menuRefreshPending);
  EXPECT_EQ(Mark(stray), kUnselected);
  EXPECT_EQ(t().polygonSelected[front], kUnselected);

  // Straying and coming back to the start corner is no marquee either.
  ASSERT_TRUE(MarqueeDrag(ctx, CX() - 100, CY() + 30));
  PointerMoved(ctx, CX() + 110, CY() - 50);
  EXPECT_EQ(Mark(stray), kMarqueeMarked);
  PointerMoved(ctx, CX() - 100, CY() + 30);
  EXPECT_TRUE(PointerReleased(ctx, PointerButton::kRight, CX() - 100, CY() + 30).openPopupMenu);
  for (std::uint32_t i = 0; i < t().vectorCount; ++i) EXPECT_EQ(Mark(i), kUnselected) << i;
  EXPECT_EQ(t().polygonSelected[front], kUnselected);
}

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
    EXPECT_EQ(helpDuring, MarqueeCountText(r.count)) << r.name;
    EXPECT_EQ(duringFront, r.front ? kMarqueeMarked : kUnselected) << r.name;
    EXPECT_EQ(during[stray], r.stray ? kMarqueeMarked : kUnselected) << r.name;
    EXPECT_EQ(t().polygonSelected[front], r.front ? kSelected : kUnselected) << r.name;
    EXPECT_EQ(t().polygonSelected[away], r.away ? kSelected : kUnselected) << r.name;
    EXPECT_EQ(Mark(stray), r.stray ? kSelected : kUnselected) << r.name;
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(Mark(Edge(front, i)), r.frontEdges ? kSelected : kUnselected) << r.name << i;
      EXPECT_EQ(Mark(Edge(away, i)), r.awayEdges ? kSelected : kUnselected) << r.name << i;
    }
    for (std::uint32_t i = 0; i < kReservedVectors; ++i) EXPECT_EQ(Mark(i), kUnselected) << r.name;
  }
}

TEST_F(MarqueeDragTest, SelectedPolygonsCountAndHiddenInvisiblesAreNotHit) {
  shell.mode = EditorMode::kSelectPolygon;
  t().polygonSelected[front] = kSelected;
  t().polygons[away].flags |= PolyFlag::kInvisible;
  // Only over the second polygon (and its invisible area).
  Drag(CX() + 50, CY() + 10, CX() + 110, CY() - 50);
  EXPECT_EQ(helpDuring, "Polygons Selected = 1     ");
  EXPECT_EQ(t().polygonSelected[front], kSelected);
  EXPECT_EQ(t().polygonSelected[away], kUnselected);
  d().options.showInvisible = true;
  Drag(CX() + 50, CY() + 10, CX() + 110, CY() - 50);
  EXPECT_EQ(helpDuring, "Polygons Selected = 2     ");
  EXPECT_EQ(t().polygonSelected[away], kSelected);
}

TEST_F(MarqueeDragTest, ReleaseOutsideTheWindowClampsAndClearsTheFlags) {
  shell.mode = EditorMode::kCameraView;
  ASSERT_TRUE(MarqueeDrag(ctx, CX() + 110, CY() - 50));
  PointerMoved(ctx, CX(), CY());
  const GestureEnd end = PointerReleased(ctx, PointerButton::kRight, -3000, 5000);
  EXPECT_FALSE(end.openPopupMenu);
  EXPECT_FALSE(shell.rotationInProgress);
  EXPECT_FALSE(d().selection.marqueeActive);
  EXPECT_EQ(d().selection.marquee, IntRect{});
  EXPECT_EQ(Mark(stray), kSelected);  // the clamped rectangle reaches it
  EXPECT_EQ(t().polygonSelected[front], kSelected);
}

TEST_F(MarqueeDragTest, CancelSelectsNothingAndOpensNoMenu) {
  shell.mode = EditorMode::kCameraView;
  ASSERT_TRUE(MarqueeDrag(ctx, CX() - 100, CY() + 30));
  PointerMoved(ctx, CX() + 110, CY() - 50);
  ASSERT_EQ(Mark(stray), kMarqueeMarked);
  CancelGesture(ctx);
  EXPECT_FALSE(shell.rotationInProgress);
  EXPECT_FALSE(d().selection.marqueeActive);
  EXPECT_EQ(Mark(stray), kUnselected);
  EXPECT_EQ(t().polygonSelected[front], kUnselected);
}

TEST_F(MarqueeDragTest, NoMarqueeInWalkModeOrOutsideTheArea) {
  EXPECT_FALSE(MarqueeDrag(ctx, Left() - 1, CY()));
  shell.walkModeActive = true;
  EXPECT_FALSE(MarqueeDrag(ctx, CX(), CY()));
  EXPECT_FALSE(GestureActive(ctx));
  EXPECT_FALSE(shell.rotationInProgress);
}

TEST_F(MarqueeDragTest, TheOutlineIsDashedInFoursOverTheFrame) {
  shell.mode = EditorMode::kCameraView;
  ASSERT_TRUE(MarqueeDrag(ctx, CX() - 100, CY() + 30));
  const int shows = f.presenter.shows;
  PointerMoved(ctx, CX() + 110, CY() - 50);
  EXPECT_EQ(f.presenter.shows, shows + 1);
  const IntRect r = d().selection.marquee;
  EXPECT_EQ(
      r, (IntRect{CX() - 100 - Left(), CY() - 50 - Top(), CX() + 110 - Left(), CY() + 30 - Top()}));
  const Surface8& shown = d().offscreen.shown;
  const std::uint8_t cursor = f.colours().lightGrey;
  const std::uint8_t background = f.colours().black;
  // Every pixel of an edge is a dash or a gap, whatever lay beneath.
  for (int x = r.left + 8; x < r.left + 24; ++x) {
    const std::uint8_t p = shown.At(x, r.bottom);
    EXPECT_TRUE(p == cursor || p == background) << x;
    EXPECT_EQ(p, shown.At(x + 8, r.bottom)) << x;
    int lit = 0;
    for (int k = 0; k < 8; ++k) lit += shown.At(x + k, r.bottom) == cursor;
    EXPECT_EQ(lit, 4) << x;
  }
  PointerReleased(ctx, PointerButton::kRight, CX() + 110, CY() - 50);
}

}  // namespace
}  // namespace ws
