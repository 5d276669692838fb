#include "editor/view/projection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <random>

#include "editor/editor.h"
#include "editor/view/layout.h"
#include "editor/view/view_state.h"
#include "editor_test_support.h"

namespace ws {
namespace {

Point At(double x, double y, double z) {
  Point p{};
  p.x = x, p.y = y, p.z = z;
  return p;
}

// Each view reached from every other, and the way back, ends in the same
// orientation: only the active matrix projects, and a family change passes
// Front, where the other matrix must be back at identity for the return.
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
      for (const auto* end : {&r, &from}) {
        TurnToView(view, end->view, nullptr);
        Point p = At(10, 20, 30);
        Projector(view, extra, layout, false).Project(p);
        EXPECT_EQ(std::make_tuple(view.viewCode, p.screenX, p.screenY, p.screenDepth),
                  std::make_tuple(end->view, end->x, end->y, end->depth))
            << "view " << from.view << " to " << r.view << " to " << end->view;
      }
    }
  }
}

// The perspective projection of points in front of the eye is the subject
// of the "perspective" golden frame; here the depth held on the near plane.
TEST(Projection, PerspectiveHoldsTheDepthOnTheNearPlaneAtAndBehindTheEye) {
  EditorViewState extra;
  ViewState view;
  const Projector pr(view, extra, LayoutForAreaSize(800, 600), true);  // f = 374.5
  EXPECT_EQ(std::vector({pr.Screen({0, 10, 0}), pr.Screen({5, 10, 0}), pr.Screen({-2, 10, 0})}),
            std::vector<ScreenPoint>({{400 + 3745, 300}, {400 + 3745, 300}, {400 + 1873, 300}}));
  EXPECT_FALSE(pr.Divisible({0, 10, 0}));
}

// Where a crossing edge is cut shows in the "perspective" golden frame (its
// floor runs behind the eye); here which points are kept.
TEST(NearPlaneClip, APointOnThePlaneStaysAndOneJustBehindIsCut) {
  std::array<EyePoint, 8> out{};
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
  const std::tuple<int, double, const char*> rows[] = {
      {54, 1.0, "Scale: 100%"},  // 54 / 51 = 1.06 -> 1.0
      {55, 1.0, "Scale: 100%"},  {57, 1.5, "Scale: 150%"},  // v = 77: 1.509
      {50, 0.9, "Scale:  90%"},  // dragging to 50 is not 100%
      {100, 10.7, "Scale: 1070%"},  // v = 550
      {101, 10.7, "Scale: 1070%"}, {1, 0.1, "Scale:  10%"}, {0, 0.1, "Scale:  10%"},
      {-1, 0.1, "Scale:  10%"},
  };
  for (const auto& [slider, scale, caption] : rows) {
    EXPECT_DOUBLE_EQ(ScaleFromSlider(slider), scale) << slider;
    EXPECT_EQ(ScaleCaption(ScaleFromSlider(slider)), caption) << slider;
  }
}

TEST(EditAreaLayout, FollowsTheWindowRule) {
  const struct {
    const char* name;
    EditAreaLayout got;
    IntRect editArea;
    int cx, cy, surfaceWidth, surfaceHeight;
    double perspectiveFactor;
  } rows[] = {
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
  };
  for (const auto& r : rows) {
    const EditAreaLayout& l = r.got;
    // The perspective factors are halves: exact in a double.
    EXPECT_EQ(std::make_tuple(l.editArea, l.local, l.cx, l.cy, l.surfaceWidth, l.surfaceHeight,
                              l.perspectiveFactor),
              std::make_tuple(r.editArea, IntRect{0, 0, l.width() - 1, l.height() - 1}, r.cx, r.cy,
                              r.surfaceWidth, r.surfaceHeight, r.perspectiveFactor))
        << r.name;
  }
}

// A fresh editor's layout takes, in order: the draw surface's pixels and
// row table, the same for the shown surface, the draw list, the polygon
// frames, the sort scratch and the fill tables. Each failure shows its
// message once and stops: no later step runs and nothing is presented.
TEST(EditorLayout, EachFailureShowsItsMessageAndStops) {
  struct Row {
    const char* name;
    bool colours;                      // a colour table was read
    int width;                         // of the area asked for
    std::optional<std::size_t> grant;  // allocations that succeed
    const char* message;               // nullptr: none, and no fatal error
  };
  const char* const kSurface = "CD_Offscreen failed.";
  const char* const kFill = "Not enough memory for polygon filling.";
  const char* const kNoColours = "Failed to get color table for offscreen.";
  // clang-format off
  const Row rows[] = {
      {"zero width waits",  true,  0,   std::nullopt, nullptr},
      {"no colour table",   false, 320, std::nullopt, kNoColours},
      {"draw pixels",       true,  320, 0,            kSurface},
      {"shown pixels",      true,  320, 2,            kSurface},
      {"shown row table",   true,  320, 3,            kSurface},
      {"draw list",         true,  320, 4,            kFill},
      {"sort scratch",      true,  320, 6,            kFill},
      {"fill tables only",  true,  320, 7,            kFill},
  };
  // clang-format on
  test::EditorFixture source;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ScriptedUi ui;
    Runtime rt(ui);
    Editor e(rt);
    if (row.colours) e.model.colors = source.m().colors;
    test::RecordingPresenter presenter;
    e.SetPresenter(&presenter);
    rt.memory.FailAfter(row.grant);
    EXPECT_FALSE(e.LayoutArea(row.width, 240));
    e.ShowFrame();
    const std::vector<RecordedMessage> said =
        row.message ? std::vector<RecordedMessage>{{"General Error", row.message}}
                    : std::vector<RecordedMessage>{};
    EXPECT_EQ(std::make_tuple(e.display.frame.firstLayoutPending, rt.fatalError, ui.Messages(),
                              presenter.shows),
              std::make_tuple(true, row.message != nullptr, said, 0));
  }
}

}  // namespace
}  // namespace ws
