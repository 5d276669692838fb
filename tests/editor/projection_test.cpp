#include "editor/view/projection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "editor/view/view_state.h"
#include "editor_test_support.h"

namespace ws {
namespace {

Point At(double x, double y, double z) {
  Point p{};
  p.x = x, p.y = y, p.z = z;
  return p;
}

// Each view reached from every other ends in the same orientation: only
// the active matrix projects, and a family change passes Front, where the
// other matrix must be back at identity for the next turn.
TEST(Projection, KnownPointInEachViewFromEveryOther) {
  const EditAreaLayout layout = LayoutForAreaSize(800, 600);  // centre (400, 300)
  EditorViewState extra;
  // e = T p, d = e.z - 2000, X = e.x + 400, Y = -e.y + 300 for p = (10, 20, 30).
  const struct { int view, x, y, depth; } rows[] = {
      {kViewFront, 410, 280, 29030}, {kViewBack, 390, 280, 28970}, {kViewLeft, 430, 280, 28990},
      {kViewRight, 370, 280, 29010}, {kViewTop, 410, 330, 29020},  {kViewBottom, 410, 270, 28980},
  };
  for (const auto& from : rows) {
    for (const auto& r : rows) {
      ViewState view;
      TurnToView(view, from.view, nullptr);
      TurnToView(view, r.view, nullptr);
      Point p = At(10, 20, 30);
      Projector(view, extra, layout, false).Project(p);
      EXPECT_EQ(std::make_tuple(view.viewCode, p.screenX, p.screenY, p.screenDepth),
                std::make_tuple(r.view, r.x, r.y, r.depth))
          << "view " << from.view << " to " << r.view;
    }
  }
}

TEST(Projection, PerspectiveScalesByDepth) {
  const EditAreaLayout layout = LayoutForAreaSize(800, 600);  // f = 374.5
  EditorViewState extra;
  ViewState view;
  const Projector pr(view, extra, layout, true);
  Point a = At(100, 0, 0);  // d = -300
  pr.Project(a);
  EXPECT_EQ(std::make_tuple(a.eyeDepth, a.screenX), std::make_tuple(-300.0, 400 + 125));  // 124.83
  Point b = At(100, 60, 150);  // d = -150: twice as far out
  pr.Project(b);
  EXPECT_EQ(std::make_tuple(b.screenX, b.screenY, b.screenDepth),
            std::make_tuple(400 + 250, 300 - 150, 30850));
  Projector(view, extra, layout, false).Project(b);
  EXPECT_EQ(b.screenX, 500);
  // At and behind the eye the depth is held on the near plane.
  EXPECT_EQ(std::vector({pr.Screen({0, 10, 0}), pr.Screen({5, 10, 0}), pr.Screen({-2, 10, 0})}),
            std::vector<ScreenPoint>({{400 + 3745, 300}, {400 + 3745, 300}, {400 + 1873, 300}}));
  EXPECT_FALSE(pr.Divisible({0, 10, 0}));
}

TEST(NearPlaneClip, PolygonCrossingTheEyePlaneIsCut) {
  // A square from d = -101 to d = +99: half in front, half behind the eye.
  const EyePoint in[] = {{-101, -50, -50}, {-101, 50, -50}, {99, 50, -50}, {99, -50, -50}};
  std::array<EyePoint, 8> out{};
  ASSERT_EQ(ClipPolygonToNearPlane(in, out), 4u);
  const double want[4][2] = {{-101, -50}, {-101, 50}, {-1, 50}, {-1, -50}};
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(std::make_pair(out[i].d, out[i].ex), std::make_pair(want[i][0], want[i][1])) << i;
  // A point exactly on the plane stays as it is; just behind it is cut.
  const EyePoint onPlane[] = {{-1, 0, 0}, {-5, 1, 0}, {-5, 1, 1}};
  EXPECT_EQ(ClipPolygonToNearPlane(onPlane, std::span(out).first(6)), 3u);
  const EyePoint behind[] = {{-0.5, 0, 0}, {-5, 1, 0}, {-5, 1, 1}};
  EXPECT_EQ(ClipPolygonToNearPlane(behind, out), 4u);
  // Entirely behind, empty, or an output one short of the capacity: nothing.
  const EyePoint allBehind[] = {{0, 0, 0}, {10, 5, 0}, {-0.5, 5, 5}};
  EXPECT_EQ(std::vector({ClipPolygonToNearPlane(allBehind, out), ClipPolygonToNearPlane({}, out),
                         ClipPolygonToNearPlane(onPlane, std::span(out).first(5))}),
            std::vector<std::size_t>(3, 0));
}

TEST(NearPlaneClip, RandomOutlinesNeverKeepAPointAtOrBehindTheEye) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> coord(-500, 500);
  std::uniform_int_distribution<int> count(1, 150);
  std::array<EyePoint, 150> in{};
  std::array<EyePoint, 300> out{};
  EditorViewState extra;
  ViewState view;
  const Projector pr(view, extra, LayoutForAreaSize(800, 600), true);
  for (int round = 0; round < 2000; ++round) {
    const int n = count(rng);
    int inFront = 0;
    for (int i = 0; i < n; ++i) {
      in[i] = {coord(rng), coord(rng), coord(rng)};
      if (in[i].d <= kNearPlaneDepth) ++inFront;
    }
    const std::size_t m = ClipPolygonToNearPlane({in.data(), static_cast<std::size_t>(n)}, out);
    ASSERT_TRUE(m <= ClippedCapacity(n) && (m == 0) == (inFront == 0));
    for (std::size_t i = 0; i < m; ++i) {
      ASSERT_LE(out[i].d, kNearPlaneDepth);
      ASSERT_TRUE(pr.Divisible(out[i]));
      ASSERT_LE(std::abs(static_cast<long long>(pr.Screen(out[i]).x)), 1000000400LL);
    }
  }
}

TEST(ScaleSlider, GivesTheValuesOfTheSliderRuleAndItsCaption) {
  const struct { int slider; double scale; const char* caption; } rows[] = {
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
