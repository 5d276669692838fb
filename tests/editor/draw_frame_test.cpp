// The frame algorithm of the software view, step by step, on a 160 x 120
// EditArea (centre (80, 60)) with the default palette.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <random>
#include <tuple>
#include <vector>

#include "editor/view/draw_sort.h"
#include "editor/view/software_view.h"
#include "editor_test_support.h"
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
      pool.push_back(z);
      pool.push_back(z / 3.0);
      pool.push_back(z + 0.25);
      pool.push_back(z - 1.0);
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
  auto from = *path.begin();
  for (auto it = path.begin() + 1; it != path.end(); ++it) {
    FreeRotationStep(f.m().view, from.first, from.second, it->first, it->second, l.cx, l.cy,
                     l.local.right - l.local.left);
    from = *it;
  }
}

TEST(GoldenFrames, MatchTheReferencePictures) {
  // clang-format off
  const struct { const char* name; int width, height; std::function<void(EditorFixture&)> scene; }
      rows[] = {
      {"axes_grid", 320, 240, [](EditorFixture&) {}},
      {"cube_front", 320, 240, [](EditorFixture& f) { ColourModeCube(f.t()); }},
      {"cube_top", 320, 240,
       [](EditorFixture& f) {
         ColourModeCube(f.t());
         ASSERT_TRUE(TurnToView(f.m().view, kViewTop, nullptr));
       }},
      // Dragged left and down: the right face (blue outside) and the shaded top show.
      {"cube_rotated", 320, 240,
       [](EditorFixture& f) {
         ColourModeCube(f.t());
         Rotate(f, {{160, 120}, {125, 140}, {110, 155}});
       }},
      {"sphere_shaded", 320, 240,
       [](EditorFixture& f) {
         f.d().options.gridOn = f.d().options.vectorsOn = false;
         AddSphere(f.t(), 100, 12, 16, PolyFlag::kShaded | PolyFlag::kNeverDrawBackFace, 16);
         Rotate(f, {{160, 120}, {150, 100}});
       }},
      // A floor from well in front of the cube to behind the eye (z 300):
      // only what lies in front of it is drawn.
      {"perspective", 320, 240,
       [](EditorFixture& f) {
         f.d().options.perspective = true;
         ColourModeCube(f.t());
         AddPolygon(f.t(),
                    {{-160, -70, -200}, {160, -70, -200}, {160, -70, 500}, {-160, -70, 500}},
                    PolyFlag::kSelectedColor | PolyFlag::kBordered, 112);
         Rotate(f, {{160, 120}, {185, 105}});
       }},
      {"highlights", 320, 240,
       [](EditorFixture& f) {
         ColourModeCube(f.t());
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
      {"guide_frame", 320, 240,
       [](EditorFixture& f) {
         f.d().options.guideFrame = true;
         f.d().options.guideHalfWidth = 80;
         f.d().options.guideHalfHeight = 140;  // taller than the area: no top or bottom edge
         f.d().view.panX = 2;
         f.d().view.panY = -1;
         f.d().options.polygonsOn = false;
         ColourModeCube(f.t());
       }},
      // Turned: the axis labels turn, the quick commands face the screen.
      {"quick_commands", 640, 480,
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
    r.scene(f);
    f.e().ShowFrame();
    ASSERT_GT(f.presenter.shows, 0);
    test::ExpectGoldenImage(CaptureImage(f.d().offscreen.shown, f.d().layout.local), r.name);
  }
}

}  // namespace
}  // namespace ws
