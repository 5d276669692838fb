#include "editor/view/layout.h"

#include <gtest/gtest.h>

namespace ws {
namespace {

struct LayoutRow {
  const char* name;
  EditAreaLayout got;
  IntRect editArea;
  int cx, cy, surfaceWidth, surfaceHeight;
  double perspectiveFactor;
};

void ExpectLayouts(std::initializer_list<LayoutRow> rows) {
  for (const LayoutRow& r : rows) {
    const EditAreaLayout& l = r.got;
    EXPECT_EQ(l.editArea, r.editArea) << r.name;
    EXPECT_EQ(l.local, (IntRect{0, 0, l.width() - 1, l.height() - 1})) << r.name;
    EXPECT_EQ(std::make_tuple(l.cx, l.cy, l.surfaceWidth, l.surfaceHeight),
              std::make_tuple(r.cx, r.cy, r.surfaceWidth, r.surfaceHeight))
        << r.name;
    EXPECT_DOUBLE_EQ(l.perspectiveFactor, r.perspectiveFactor) << r.name;
  }
}

TEST(EditAreaLayout, FollowsTheWindowRule) {
  ExpectLayouts({
      // h = 679 -> 676; w = 774 + 8 = 782 -> 776; W = 900 >= w, on the surface 896.
      {"ordinary", ComputeEditAreaLayout(1000, 700, 200), {210, 10, 985, 685}, 388, 338, 896, 827,
       422.5},
      // Narrower than the column plus 26 pixels: width 8; (500 - 21) down to 4.
      {"narrow", ComputeEditAreaLayout(250, 500, 240), {250, 10, 257, 485}, 4, 238, 632, 627,
       290.5},
      // h = 276 gives W = 368 < w = 1376: h becomes 1376 / 4 * 3 = 1032.
      {"wide and short", ComputeEditAreaLayout(1600, 300, 200), {210, 10, 1585, 1041}, 688, 516,
       1376, 1183, 662.5},
      // Lower than the margin: h is 0, then raised by the 4:3 rule.
      {"margin exactly", ComputeEditAreaLayout(400, 21, 100), {110, 10, 389, 219}, 140, 105, 280,
       361, 114.5},
      // 8 pixels past the column and margin: one more step of 8 (16).
      {"one width step", ComputeEditAreaLayout(134, 41, 100), {110, 10, 125, 29}, 8, 10, 24, 171,
       -13.5},
      {"tiny", ComputeEditAreaLayout(1, 1, 500), {510, 10, 517, 15}, 4, 3, 8, 157, -21.5},
  });
}

}  // namespace
}  // namespace ws
