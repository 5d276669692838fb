#include "editor/layout.h"

#include <gtest/gtest.h>

namespace ws {
namespace {

TEST(EditAreaLayout, FollowsTheRuleForAnOrdinaryWindow) {
  // h = 679 -> 676; w = 774 + 8 = 782 -> 776; W = 225 * 4 = 900 >= w.
  const EditAreaLayout l = ComputeEditAreaLayout(1000, 700, 200);
  EXPECT_EQ(l.editArea, (IntRect{210, 10, 985, 685}));
  EXPECT_EQ(l.local, (IntRect{0, 0, 775, 675}));
  EXPECT_EQ(l.cx, 388);
  EXPECT_EQ(l.cy, 338);
  EXPECT_EQ(l.surfaceWidth, 896);   // 900 rounded down to 8
  EXPECT_EQ(l.surfaceHeight, 827);  // bounds reach h + 150
  EXPECT_DOUBLE_EQ(l.perspectiveFactor, (896 - 1 - 50) * 0.5);
}

TEST(EditAreaLayout, NarrowWindowGivesWidthEightAndHeightFromTheClient) {
  // The client is narrower than the control column plus 26 pixels.
  const EditAreaLayout l = ComputeEditAreaLayout(250, 500, 240);
  EXPECT_EQ(l.width(), 8);
  EXPECT_EQ(l.height(), 476);  // (500 - 21) rounded down to 4
  EXPECT_EQ(l.editArea, (IntRect{250, 10, 257, 485}));
  EXPECT_EQ(l.cx, 4);
  EXPECT_EQ(l.surfaceWidth, 632);
  EXPECT_DOUBLE_EQ(l.perspectiveFactor, 290.5);
}

TEST(EditAreaLayout, WideShortWindowRaisesTheHeightToFourThree) {
  // h = 276 gives W = 368 < w = 1376: h becomes 1376 / 4 * 3 = 1032.
  const EditAreaLayout l = ComputeEditAreaLayout(1600, 300, 200);
  EXPECT_EQ(l.editArea, (IntRect{210, 10, 1585, 1041}));
  EXPECT_EQ(l.surfaceWidth, 1376);
  EXPECT_EQ(l.surfaceHeight, 1032 + 151);
  EXPECT_EQ(l.cy, 516);
  EXPECT_DOUBLE_EQ(l.perspectiveFactor, 662.5);
}

TEST(EditAreaLayout, ClientLowerThanTheMarginStillGetsAnArea) {
  const EditAreaLayout l = ComputeEditAreaLayout(400, 20, 100);
  EXPECT_EQ(l.width(), 280);
  EXPECT_EQ(l.height(), 210);  // raised from 0 by the 4:3 rule
  EXPECT_EQ(l.editArea, (IntRect{110, 10, 389, 219}));
  const EditAreaLayout tiny = ComputeEditAreaLayout(1, 1, 500);
  EXPECT_EQ(tiny.width(), 8);
  EXPECT_EQ(tiny.height(), 6);
  EXPECT_EQ(tiny.surfaceWidth, 8);
}

TEST(EditAreaLayout, AreaSizeForHeadlessRendering) {
  const EditAreaLayout l = LayoutForAreaSize(800, 600);
  EXPECT_EQ(l.editArea, (IntRect{0, 0, 799, 599}));
  EXPECT_EQ(l.local, l.editArea);
  EXPECT_EQ(l.cx, 400);
  EXPECT_EQ(l.cy, 300);
  EXPECT_EQ(l.surfaceWidth, 800);
  EXPECT_EQ(l.surfaceHeight, 751);
  EXPECT_DOUBLE_EQ(l.perspectiveFactor, 374.5);

  // Wider than 4:3: f follows the width, as the window rule would.
  const EditAreaLayout wide = LayoutForAreaSize(1024, 500);
  EXPECT_DOUBLE_EQ(wide.perspectiveFactor, 486.5);
  EXPECT_EQ(wide.surfaceWidth, 1024);

  // A width that is no multiple of 8 still fits on the surface.
  const EditAreaLayout odd = LayoutForAreaSize(101, 75);
  EXPECT_EQ(odd.surfaceWidth, 101);
  EXPECT_DOUBLE_EQ(odd.perspectiveFactor, 22.5);
  EXPECT_EQ(odd.cx, 50);
  EXPECT_EQ(odd.cy, 37);
}

}  // namespace
}  // namespace ws
