// The view: the projection, the EditArea's layout, the frame algorithm of
// the software view (step by step, on a 160 x 120 EditArea, centre
// (80, 60), with the default palette, and whole frames against reference
// pictures) and the printed page.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <tuple>
#include <vector>

#include "editor/editor.h"
#include "editor/view/draw_sort.h"
#include "editor/view/layout.h"
#include "editor/view/print_page.h"
#include "editor/view/projection.h"
#include "editor/view/software_view.h"
#include "editor/view/view_state.h"
#include "editor_test_support.h"
#include "platform/scripted_ui.h"
#include "resource/handle_memory.h"
#include "support/alloc_counter.h"
#include "support/golden_image.h"

namespace ws {
namespace {

using test::AddCube;
using test::AddLine;
using test::AddPolygon;
using test::EditorFixture;

class DrawFrameTest : public ::testing::Test {
 protected:
  DrawFrameTest() {
    // Start from a bare picture; each test turns on what it looks at.
    DisplayOptions& o = f.d().options;
    o.gridOn = o.axisOn = o.vectorsOn = o.polygonsOn = false;
  }
  DisplayOptions& o() { return f.d().options; }
  // Each (x, y, colour) row checked, named by `what`.
  void ExpectPixels(std::initializer_list<std::tuple<int, int, std::uint8_t>> rows,
                    const char* what) {
    for (const auto& [x, y, colour] : rows)
      EXPECT_EQ(f.Pixel(x, y), colour) << what << " at " << x << "," << y;
  }
  int CountColour(std::uint8_t colour) {
    int n = 0;
    for (int y = 0; y < 120; ++y)
      for (int x = 0; x < 160; ++x) n += f.Pixel(x, y) == colour;
    return n;
  }
  EditorFixture f;
};

TEST_F(DrawFrameTest, VectorFilterHidesVectorsInThePlaneZeroBothWays) {
  o().vectorsOn = true;
  AddLine(f.t(), {-30, 20, 0}, {30, 20, 0});     // in the plane z = 0: y = 40 on screen
  AddLine(f.t(), {-30, -20, -5}, {30, -20, 0});  // one end in front: y = 80
  AddLine(f.t(), {-30, -40, 5}, {30, -40, 5});   // behind: y = 100
  const std::uint8_t w = f.colours().white, b = f.colours().black;
  // The filter, then the colour at the vector in the plane, in front, behind.
  const std::tuple<int, std::uint8_t, std::uint8_t, std::uint8_t> rows[] = {
      {kAllVectors, w, w, w}, {kFrontVectorsOnly, b, w, b}, {kBackVectorsOnly, b, b, w}};
  for (const auto& [filter, inPlane, front, back] : rows) {
    o().vectorFilter = filter;
    f.Frame();
    ExpectPixels({{80, 40, inPlane}, {80, 80, front}, {80, 100, back}}, "filter");
  }
}

// With the DirectX renderer chosen the software view lists the axes and
// the wire frame only: no polygon is filled.
TEST_F(DrawFrameTest, DirectXRendererLeavesOnlyTheWireFrame) {
  o().vectorsOn = o().polygonsOn = true;
  AddPolygon(f.t(), {{-10, 10, -200}, {10, 10, -200}, {10, -10, -200}}, PolyFlag::kDefined, 8);
  f.d().frame.renderer = kRendererDirectX;
  f.Frame();
  EXPECT_EQ(std::make_tuple(f.e().softwareView().drawItems().size(), CountColour(8)),
            std::make_tuple(6u + f.t().vectorCount, 0));
}

TEST_F(DrawFrameTest, PlotCursorLineAndFirstEndpointMarker) {
  o().gridOn = true;
  f.d().frame.mode = EditorMode::kPlot;
  f.d().plotCursor = {20, 30, 40, true};
  const std::uint8_t cursor = f.colours().lightGrey;
  f.Frame();  // step 0, X in Front: the vertical line at world x = 20, rows 10 .. 109 only
  EXPECT_EQ(std::make_tuple(f.Pixel(100, 50), f.Pixel(100, 10), CountColour(cursor)),
            std::make_tuple(cursor, cursor, 100));
  f.m().plot.step = 1;  // Y: the horizontal line at world y = 30
  f.Frame();
  ExpectPixels({{40, 30, cursor}, {100, 50, f.colours().darkGrey}}, "step 1");
  // Step 3 also shows the first endpoint, a red cross. (Where the cursor
  // lies in each view and pan is the plot tests' subject.)
  f.m().plot.step = 3;
  f.m().plot.ep1X = -33;
  f.m().plot.ep1Y = 13;  // on screen at (47, 47), off the grid lines
  f.Frame();
  const std::uint8_t red = f.colours().red, black = f.colours().black;
  ExpectPixels({{42, 47, red}, {52, 47, red}, {47, 42, red}, {47, 52, red}}, "cross");
  ExpectPixels({{41, 47, black}, {47, 53, black}}, "past the cross");
  // Nothing of the line while a marquee is dragged or the program is
  // inactive; Z in Front has no line at all.
  f.d().selection.marqueeActive = true;
  f.Frame();
  EXPECT_EQ(std::make_tuple(CountColour(cursor), f.Pixel(42, 47)), std::make_tuple(0, red));
  f.d().selection.marqueeActive = false;
  f.m().plot.step = 4;
  f.Frame();
  EXPECT_EQ(f.Pixel(42, 47), red);
  f.m().plot.step = 5;
  f.Frame();  // the marker only at steps 3 and 4
  EXPECT_EQ(std::make_tuple(CountColour(cursor), f.Pixel(42, 47)), std::make_tuple(0, black));
  // Outside the EditArea no plot feedback at all.
  f.m().plot.step = 3;
  f.d().plotCursor.inArea = false;
  f.Frame();
  EXPECT_EQ(CountColour(cursor) + CountColour(red), 0);
}

TEST_F(DrawFrameTest, FramesAllocateNothing) {
  o().gridOn = o().axisOn = o().vectorsOn = o().polygonsOn = true;
  o().perspective = true;
  const std::uint32_t flags[6] = {0x502, 0x502, 0x1, 0x801, 0x10, 0x4};
  const std::uint8_t colours[6] = {8, 16, 24, 32, 40, 48};
  AddCube(f.t(), {0, 0, 0}, 40, flags, colours);
  AddPolygon(f.t(), {{-50, -30, -200}, {50, -30, -200}, {50, -30, 600}}, 0x2, 8);
  f.t().polygonSelected[0] = kSelected;
  f.d().selection.hover.polygon = 1;
  f.d().frame.quickCommandsShown = true;
  f.d().labels.Rebuild(f.colours(), EditorMode::kPlot, false, kWalkEditColour);
  f.Frame();
  const long before = test::AllocationCount();
  const std::size_t blocks = f.rt.memory.LiveCount();
  for (int i = 0; i < 5; ++i) f.e().ShowFrame();
  EXPECT_EQ(std::make_tuple(test::AllocationCount(), f.rt.memory.LiveCount()),
            std::make_tuple(before, blocks));
  // The counter does see allocations.
  auto probe = std::make_unique<int>(1);
  EXPECT_EQ(test::AllocationCount(), before + 1);
}

TEST(DrawSort, MatchesAStableSortOnRandomLists) {
  std::mt19937 rng(11);
  std::vector<DrawItem> scratch(40000);
  for (int round = 0; round < 300; ++round) {
    const std::size_t n =
        std::uniform_int_distribution<std::size_t>(0, round < 290 ? 2000 : 30000)(rng);
    // Keys as frames make them: means of integer depth keys (quarters,
    // thirds), vector halves, axis keys less one, the priority key, and a
    // few far outliers of both signs; drawn from a small pool for ties.
    std::vector<double> pool;
    for (int i = 0; i < 40; ++i) {
      const int z = std::uniform_int_distribution<int>(28000, 34000)(rng);
      pool.insert(pool.end(), {double(z), z / 3.0, z + 0.25, z - 1.0});
    }
    pool.insert(pool.end(), {kPriorityKey, -5.0, -0.0, 0.0, -1e9, 1e9, -28999.5, 1e-300});
    std::vector<DrawItem> items(n);
    for (std::size_t i = 0; i < n; ++i) {
      items[i].index = static_cast<std::int32_t>(i);
      items[i].kind = static_cast<std::int32_t>(i % 3);
      items[i].key = pool[std::uniform_int_distribution<std::size_t>(0, pool.size() - 1)(rng)];
    }
    // The plain reference: a stable sort by key.
    std::vector<DrawItem> expected = items;
    std::ranges::stable_sort(expected, {}, &DrawItem::key);
    SortDrawItems(items, scratch);
    auto same = [](const DrawItem& a, const DrawItem& b) {
      return std::tie(a.index, a.kind, a.key) == std::tie(b.index, b.kind, b.key);
    };
    ASSERT_TRUE(std::equal(items.begin(), items.end(), expected.begin(), expected.end(), same))
        << "round " << round << ", " << n << " items";
  }
}

// Whole frames compared with reference pictures under tests/golden/
// (support/golden_image.h). Every reference was looked at before it was
// committed.
using test::AddSphere;

// The cube of the colour-mode scenes: each face a different mode.
void ColourModeCube(ObjectTables& t) {
  const std::uint32_t flags[6] = {
      PolyFlag::kSelectedColor | PolyFlag::kNeverDrawBackFace,                        // front
      PolyFlag::kShaded | PolyFlag::kNeverDrawBackFace,                               // back
      PolyFlag::kEachSideDifferent | PolyFlag::kSelectedColor,                        // right
      PolyFlag::kAdopted | PolyFlag::kNeverDrawBackFace,                              // left
      PolyFlag::kShaded | PolyFlag::kBordered | PolyFlag::kNeverDrawBackFace,         // top
      PolyFlag::kSelectedColor | PolyFlag::kBordered | PolyFlag::kNeverDrawBackFace,  // bottom
  };
  const std::uint8_t colours[6] = {8, 56, 24, 40, 16, 48};
  const std::uint32_t first = AddCube(t, {0, 0, 0}, 60, flags, colours);
  t.polygons[first + 2].backColor = 32;  // yellow inside
  t.polygons[first + 2].backFill = FillWord(32);
  t.polygons[first + 3].viewZones[0] = first;  // its group leader
}

void Rotate(EditorFixture& f, std::initializer_list<std::pair<int, int>> path) {
  const EditAreaLayout& l = f.d().layout;
  BeginFreeRotation(f.m().view);
  for (auto from = path.begin(), to = from + 1; to != path.end(); from = to++)
    FreeRotationStep(f.m().view, from->first, from->second, to->first, to->second, l.cx, l.cy,
                     l.local.right - l.local.left);
}

TEST(GoldenFrames, MatchTheReferencePictures) {
  // clang-format off
  // `cube`: the scene starts from the colour-mode cube.
  const struct { const char* name; int width, height; bool cube;
                 std::function<void(EditorFixture&)> scene; } rows[] = {
      {"axes_grid", 320, 240, false, [](EditorFixture&) {}},
      {"cube_front", 320, 240, true, [](EditorFixture&) {}},
      {"cube_top", 320, 240, true,
       [](EditorFixture& f) { ASSERT_TRUE(TurnToView(f.m().view, kViewTop, nullptr)); }},
      // Dragged left and down: the right face (blue outside) and the shaded top show.
      {"cube_rotated", 320, 240, true,
       [](EditorFixture& f) { Rotate(f, {{160, 120}, {125, 140}, {110, 155}}); }},
      {"sphere_shaded", 320, 240, false,
       [](EditorFixture& f) {
         f.d().options.gridOn = f.d().options.vectorsOn = false;
         AddSphere(f.t(), 100, 12, 16, PolyFlag::kShaded | PolyFlag::kNeverDrawBackFace, 16);
         Rotate(f, {{160, 120}, {150, 100}});
       }},
      // A floor from well in front of the cube to behind the eye (z 300):
      // only what lies in front of it is drawn.
      {"perspective", 320, 240, true,
       [](EditorFixture& f) {
         f.d().options.perspective = true;
         AddPolygon(f.t(),
                    {{-160, -70, -200}, {160, -70, -200}, {160, -70, 500}, {-160, -70, 500}},
                    PolyFlag::kSelectedColor | PolyFlag::kBordered, 112);
         Rotate(f, {{160, 120}, {185, 105}});
       }},
      {"highlights", 320, 240, true,
       [](EditorFixture& f) {
         AddLine(f.t(), {-150, 100, 0}, {150, 100, 0}, 64, 3);
         const std::uint32_t thickSelected = AddLine(f.t(), {-150, 85, 0}, {150, 85, 0}, 64, 3);
         const std::uint32_t selected = AddLine(f.t(), {-150, -80, 0}, {150, -80, 0});
         const std::uint32_t both = AddLine(f.t(), {-150, -90, 0}, {150, -90, 0});
         AddLine(f.t(), {-150, -100, 0}, {150, -100, 0});
         Rotate(f, {{160, 120}, {125, 140}, {110, 155}});
         f.t().polygonSelected[0] = kSelected;  // front face: the plain highlight
         f.d().selection.hover.polygon = 4;     // top face: the bordered highlight
         for (std::uint32_t v : {thickSelected, selected, both})
           f.t().vectors[v].selected = kSelected;
         f.d().selection.hover.vector = both;  // selected and hovered: a plain line
         f.d().frame.ants.phase = 3;
       }},
      {"guide_frame", 320, 240, true,
       [](EditorFixture& f) {
         f.d().options.guideFrame = true;
         f.d().options.guideHalfWidth = 80;
         f.d().options.guideHalfHeight = 140;  // taller than the area: no top or bottom edge
         f.d().view.panX = 2;
         f.d().view.panY = -1;
         f.d().options.polygonsOn = false;
       }},
      // Turned: the axis labels turn, the quick commands face the screen.
      {"quick_commands", 640, 480, false,
       [](EditorFixture& f) {
         f.d().options.gridOn = false;
         f.d().frame.quickCommandsShown = true;
         f.d().labels.Rebuild(f.colours(), EditorMode::kPlot, false, kWalkEditColour);
         Rotate(f, {{320, 240}, {350, 220}});
       }},
  };
  // clang-format on
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    // The highlights' sparkle comes from the seed.
    EditorFixture f(r.width, r.height, std::string_view(r.name) == "highlights" ? 12345 : 1);
    if (r.cube) ColourModeCube(f.t());
    r.scene(f);
    f.e().ShowFrame();
    ASSERT_GT(f.presenter.shows, 0);
    test::ExpectGoldenImage(CaptureImage(f.d().offscreen.shown, f.d().layout.local), r.name);
  }
}

// Each view reached from every other, and the way back, ends in the same
// orientation: only the active matrix projects, and a family change passes
// Front, where the other matrix must be back at identity for the return.
TEST(Projection, KnownPointInEachViewFromEveryOther) {
  const EditAreaLayout layout = LayoutForAreaSize(800, 600);  // centre (400, 300)
  EditorViewState extra;
  // e = T p, d = e.z - 2000, X = e.x + 400, Y = -e.y + 300 for p = (10, 20, 30).
  const struct {
    int view, x, y, depth;
  } rows[] = {
      {kViewFront, 410, 280, 29030}, {kViewBack, 390, 280, 28970}, {kViewLeft, 430, 280, 28990},
      {kViewRight, 370, 280, 29010}, {kViewTop, 410, 330, 29020},  {kViewBottom, 410, 270, 28980},
  };
  for (const auto& from : rows) {
    for (const auto& r : rows) {
      ViewState view;
      TurnToView(view, from.view, nullptr);
      for (const auto* end : {&r, &from}) {
        TurnToView(view, end->view, nullptr);
        Point p{};
        p.x = 10;
        p.y = 20;
        p.z = 30;
        Projector(view, extra, layout, false).Project(p);
        EXPECT_EQ(std::make_tuple(view.viewCode, p.screenX, p.screenY, p.screenDepth),
                  std::make_tuple(end->view, end->x, end->y, end->depth))
            << "view " << from.view << " to " << r.view << " to " << end->view;
      }
    }
  }
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

// The perspective projection of points in front of the eye is the subject
// of the "perspective" golden frame; here the depth held on the near plane at
// and behind the eye, and random outlines clipped to it.
TEST(NearPlaneClip, HoldsTheDepthAndRandomOutlinesKeepNoPointAtOrBehindTheEye) {
  EditorViewState extra;
  ViewState view;
  const Projector pr(view, extra, LayoutForAreaSize(800, 600), true);  // f = 374.5
  EXPECT_EQ(std::vector({pr.Screen({0, 10, 0}), pr.Screen({5, 10, 0}), pr.Screen({-2, 10, 0})}),
            std::vector<ScreenPoint>({{400 + 3745, 300}, {400 + 3745, 300}, {400 + 1873, 300}}));
  EXPECT_FALSE(pr.Divisible({0, 10, 0}));
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> coord(-500, 500);
  std::uniform_int_distribution<int> count(1, 150);
  std::array<EyePoint, 150> in{};
  std::array<EyePoint, 300> out{};
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
      {54, 1.0, "Scale: 100%"},                               // 54 / 51 = 1.06 -> 1.0
      {56, 1.2, "Scale: 120%"},    {57, 1.5, "Scale: 150%"},  // v = 77: 1.509
      {50, 0.9, "Scale:  90%"},                               // dragging to 50 is not 100%
      {100, 10.7, "Scale: 1070%"},                            // v = 550
      {101, 10.7, "Scale: 1070%"}, {1, 0.1, "Scale:  10%"},
  };
  for (const auto& [slider, scale, caption] : rows) {
    EXPECT_DOUBLE_EQ(ScaleFromSlider(slider), scale) << slider;
    EXPECT_EQ(ScaleCaption(ScaleFromSlider(slider)), caption) << slider;
  }
}

TEST(EditAreaLayout, FollowsTheWindowRule) {
  const std::tuple<const char*, EditAreaLayout, IntRect, int, int, int, int, double> rows[] = {
      // clang-format off
      // h = 679 -> 676; w = 774 + 8 = 782 -> 776; W = 900 >= w, on the surface 896.
      {"ordinary", ComputeEditAreaLayout(1000, 700, 200), {210, 10, 985, 685},
       388, 338, 896, 827, 422.5},
      // Narrower than the column plus 26 pixels: width 8; (500 - 21) down to 4.
      {"narrow", ComputeEditAreaLayout(250, 500, 240), {250, 10, 257, 485},
       4, 238, 632, 627, 290.5},
      // h = 276 gives W = 368 < w = 1376: h becomes 1376 / 4 * 3 = 1032.
      {"wide and short", ComputeEditAreaLayout(1600, 300, 200), {210, 10, 1585, 1041},
       688, 516, 1376, 1183, 662.5},
      // Lower than the margin: h is 0, then raised by the 4:3 rule.
      {"margin exactly", ComputeEditAreaLayout(400, 21, 100), {110, 10, 389, 219},
       140, 105, 280, 361, 114.5},
      // 8 pixels past the column and margin: one more step of 8 (16).
      {"one width step", ComputeEditAreaLayout(134, 41, 100), {110, 10, 125, 29},
       8, 10, 24, 171, -13.5},
      {"tiny", ComputeEditAreaLayout(1, 1, 500), {510, 10, 517, 15}, 4, 3, 8, 157, -21.5},
      // clang-format on
  };
  for (const auto& [name, l, editArea, cx, cy, surfaceWidth, surfaceHeight, factor] : rows) {
    // The perspective factors are halves: exact in a double.
    EXPECT_EQ(std::make_tuple(l.editArea, l.local, l.cx, l.cy, l.surfaceWidth, l.surfaceHeight,
                              l.perspectiveFactor),
              std::make_tuple(editArea, IntRect{0, 0, l.width() - 1, l.height() - 1}, cx, cy,
                              surfaceWidth, surfaceHeight, factor))
        << name;
  }
}

// A fresh editor's layout takes, in order: the draw surface's pixels and
// row table, the same for the shown surface, the draw list, the polygon
// frames, the sort scratch and the fill tables. Each failure shows its
// message once and stops: no later step runs and nothing is presented.
TEST(EditorLayout, EachFailureShowsItsMessageAndStops) {
  const char* const kSurface = "CD_Offscreen failed.";
  const char* const kFill = "Not enough memory for polygon filling.";
  const char* const kNoColours = "Failed to get color table for offscreen.";
  // Whether a colour table was read, the width asked for, the allocations
  // that succeed, and the message (nullptr: none, and no fatal error).
  // clang-format off
  const std::tuple<const char*, bool, int, std::optional<std::size_t>, const char*> rows[] = {
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
  for (const auto& [name, colours, width, grant, message] : rows) {
    SCOPED_TRACE(name);
    ScriptedUi ui;
    Runtime rt(ui);
    Editor e(rt);
    if (colours) e.model.colors = source.m().colors;
    test::RecordingPresenter presenter;
    e.SetPresenter(&presenter);
    rt.memory.FailAfter(grant);
    EXPECT_FALSE(e.LayoutArea(width, 240));
    e.ShowFrame();
    const std::vector<RecordedMessage> said =
        message ? std::vector<RecordedMessage>{{"General Error", message}}
                : std::vector<RecordedMessage>{};
    EXPECT_EQ(std::make_tuple(e.display.frame.firstLayoutPending, rt.fatalError, ui.Messages(),
                              presenter.shows),
              std::make_tuple(true, message != nullptr, said, 0));
  }
}

// The printed page: the picture rectangle on the page, the bitmap handed to
// the printer, and the refusals with their messages.
TEST(PrintPictureRect, PlacesThePictureByTheFactorAndKeepsTheAreaProportions) {
  // The page's width and height, the factor, the area's width and height.
  const std::tuple<const char*, int, int, double, int, int, IntRect> rows[] = {
      // Wu = 1000, Wp = 500: left exactly 255, top from Hu = 2995.
      {"whole halves", 1005, 3000, 0.5, 100, 100, {255, 754, 755, 1254}},
      // Hu = 3, Hu * f = 1.5: top = 5.75 -> 6 and left (10 - 5) / 2 + 5 = 7.5 -> 8.
      {"halves round up", 15, 8, 0.5, 5, 1, {8, 6, 13, 7}},
      {"full width", 105, 105, 1.0, 10, 5, {5, 5, 105, 55}},
  };
  for (const auto& [name, width, height, f, localWidth, localHeight, expected] : rows)
    EXPECT_EQ(PrintPictureRect(width, height, f, localWidth, localHeight), expected) << name;
}

// Records the page it printed; `page` is the printer chosen (none: the
// dialog cancelled).
struct FakePrinter : Printer {
  std::optional<Page> ChoosePrinter() override {
    ++chosen;
    return page;
  }
  void PrintPage(const PrintImage& i, const IntRect& t) override { printed.push_back({i, t}); }
  std::optional<Page> page;
  int chosen = 0;
  std::vector<std::pair<PrintImage, IntRect>> printed;
};

// Refused in DirectX mode (with no dialog at all) and with no printer
// chosen; then the local rectangle printed, its background in the wire colour.
TEST(PrintEditArea, RefusesWithoutAPrinterAndPrintsTheLocalRectangle) {
  HandleMemory memory;
  Surface8 draw;
  ASSERT_TRUE(draw.Create(memory, 12, 9));
  const std::uint8_t background = 4, wire = 200;
  draw.Clear(background);
  draw.FillRect({2, 1, 3, 2}, 7);
  draw.FillRect({0, 6, 11, 8}, 9);  // below the EditArea: not printed
  std::array<Rgb8, 256> palette{};
  palette[7] = {1, 2, 3};
  draw.SetPalette(palette);
  ScriptedUi ui;
  FakePrinter printer;
  auto print = [&](bool directX) {
    return PrintEditArea(ui, printer, directX, draw, {0, 0, 9, 4}, background, wire, 0.75);
  };
  EXPECT_FALSE(print(true));
  EXPECT_EQ(printer.chosen, 0);
  EXPECT_FALSE(print(false));  // no page: no printer or cancelled
  const std::vector<RecordedMessage> refusals = {
      {"Notification", "Printing the edit area is not supported in DirectX mode."},
      {"Notification", "Printing failed. Wirestead can't find a printer."}};
  EXPECT_EQ(std::make_tuple(printer.chosen, printer.printed.empty(), ui.Messages()),
            std::make_tuple(1, true, refusals));

  printer.page = Printer::Page{2000, 2000};
  ASSERT_TRUE(print(false));
  EXPECT_EQ(ui.Messages(), refusals);
  ASSERT_EQ(printer.printed.size(), 1u);
  const auto& [image, target] = printer.printed[0];
  ASSERT_EQ(std::make_pair(image.width, image.height), std::make_pair(10, 5));
  // The picture's pixels at (2..3, 1..2) and the wire colour elsewhere.
  std::vector<std::uint8_t> expected(50, wire);
  for (int i : {12, 13, 22, 23}) expected[i] = 7;
  EXPECT_EQ(image.pixels, expected);
  EXPECT_EQ(image.palette[7], (Rgb8{1, 2, 3}));
  // Wp = 1496.25; left 254.375 -> 254, right 1750.25 -> 1750, top
  // (1995 - 1496.25) / 2 + 5 = 254.375 -> 254; 10 x 5 pixels: the picture
  // is half as high as wide (1496.25 / 2).
  EXPECT_EQ(target, (IntRect{254, 254, 1750, 1002}));
}

}  // namespace
}  // namespace ws
