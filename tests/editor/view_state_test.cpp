#include "editor/view_state.h"

#include <gtest/gtest.h>

#include "editor_test_support.h"

namespace ws {
namespace {

TEST(ScaleSlider, GivesTheValuesOfTheSliderRuleAndItsCaption) {
  const struct {
    int slider;
    double scale;
    const char* caption;
  } rows[] = {
      {54, 1.0, "Scale: 100%"},  // 54 / 51 = 1.06 -> 1.0
      {55, 1.0, "Scale: 100%"},  {60, 2.1, "Scale: 210%"},  // v = 110, 2.157 -> 2.1
      {50, 0.9, "Scale:  90%"},  // dragging to 50 is not 100%
      {25, 0.4, "Scale:  40%"},  {57, 1.5, "Scale: 150%"},    // v = 77: 1.509
      {100, 10.7, "Scale: 1070%"},  // v = 550
      {400, 10.7, "Scale: 1070%"}, {1, 0.1, "Scale:  10%"},   {0, 0.1, "Scale:  10%"},
      {-40, 0.1, "Scale:  10%"},
  };
  for (const auto& r : rows) {
    EXPECT_DOUBLE_EQ(ScaleFromSlider(r.slider), r.scale) << r.slider;
    EXPECT_EQ(ScaleCaption(ScaleFromSlider(r.slider)), r.caption) << r.slider;
  }
  EXPECT_EQ(ScaleCaption(0.5), "Scale:  50%");
}

TEST(ScaleButtons, HundredResetsPanFiftyKeepsIt) {
  EditorViewState v;
  SetSlider(v, 60);
  EXPECT_EQ(v.slider, 60);
  EXPECT_DOUBLE_EQ(v.scale, 2.1);
  v.panX = 3;
  v.panY = -2;
  SetScale50(v);
  EXPECT_EQ(std::make_tuple(v.slider, v.scale, v.panX, v.panY), std::make_tuple(25, 0.5, 3.0, -2.0));
  SetScale100(v);
  EXPECT_EQ(std::make_tuple(v.slider, v.scale, v.panX, v.panY), std::make_tuple(50, 1.0, 0.0, 0.0));
}

TEST(ScaleButtons, ApplyScalesUserPointsOnlyThenActsAsHundred) {
  test::AxisTables tables;
  ObjectTables& t = tables.t;
  t.AddPoint(10, -20, 30);
  t.AddPoint(1, 2, 3);
  EditorViewState v;
  SetSlider(v, 60);
  v.panX = 1;
  ApplyScale(t, v);
  EXPECT_DOUBLE_EQ(t.points[7].x, 21.0);
  EXPECT_DOUBLE_EQ(t.points[7].y, -42.0);
  EXPECT_DOUBLE_EQ(t.points[7].z, 63.0);
  EXPECT_DOUBLE_EQ(t.points[8].z, 3 * 2.1);
  EXPECT_DOUBLE_EQ(t.points[1].x, 150.0);  // the axis cross stays
  EXPECT_DOUBLE_EQ(t.points[6].z, 150.0);
  EXPECT_DOUBLE_EQ(v.scale, 1.0);
  EXPECT_EQ(v.slider, 50);
  EXPECT_DOUBLE_EQ(v.panX, 0.0);
}

TEST(ViewReset, ReturnsToFrontKeepingGridAndPan) {
  ViewState view;
  view.viewCode = kViewTop;
  view.activeTurn = kTurnAboutX;
  view.turns[0][1][1] = 0.0;
  view.orientation[0][0] = -1.0;
  EditorViewState extra;
  extra.scale = 3.0;
  extra.slider = 70;
  extra.gridStep = 25;
  extra.panX = 2;
  ResetViewForObject(view, extra);
  EXPECT_EQ(view.viewCode, kViewFront);
  EXPECT_EQ(view.activeTurn, kTurnNone);
  EXPECT_EQ(view.orientation, kIdentityMatrix3);
  for (const Matrix3& m : view.turns) EXPECT_EQ(m, kIdentityMatrix3);
  EXPECT_DOUBLE_EQ(extra.scale, 1.0);
  EXPECT_EQ(extra.slider, 50);
  EXPECT_EQ(extra.gridStep, 25);
  EXPECT_DOUBLE_EQ(extra.panX, 2);
}

}  // namespace
}  // namespace ws
