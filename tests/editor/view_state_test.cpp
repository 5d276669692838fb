#include "editor/view/view_state.h"

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

}  // namespace
}  // namespace ws
