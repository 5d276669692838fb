// The frame algorithm of the software view, step by step, on a 160 x 120
// EditArea (centre (80, 60)) with the default palette.
#include <gtest/gtest.h>

#include <memory>

#include "alloc_counter.h"
#include "editor/software_view.h"
#include "editor_test_support.h"

namespace ws {
namespace {

using test::AddCube;
using test::AddLine;
using test::AddPolygon;
using test::EditorFixture;
using test::P3;

constexpr std::uint8_t kRed = 8, kGreen = 16, kBlue = 24;

class DrawFrameTest : public ::testing::Test {
 protected:
  DrawFrameTest() {
    // Start from a bare picture; each test turns on what it looks at.
    DisplayOptions& o = f.d().options;
    o.gridOn = o.axisOn = o.vectorsOn = o.polygonsOn = false;
  }
  DisplayOptions& o() { return f.d().options; }
  int CountColour(std::uint8_t colour) {
    int n = 0;
    for (int y = 0; y < 120; ++y)
      for (int x = 0; x < 160; ++x) n += f.Pixel(x, y) == colour;
    return n;
  }
  EditorFixture f;
};

TEST_F(DrawFrameTest, ClearsOnlyTheLocalRectangle) {
  Surface8& s = f.d().offscreen.draw;
  s.Clear(77);
  f.Frame();
  EXPECT_EQ(CountColour(f.colours().black), 160 * 120);
  EXPECT_EQ(s.At(0, 120), 77);  // the extra rows below the EditArea stay
  EXPECT_EQ(s.height(), 120 + 151);
}

TEST_F(DrawFrameTest, GridNeedsTenPixelSpacing) {
  o().gridOn = true;
  const std::uint8_t grey = f.colours().darkGrey;
  f.d().view.gridStep = 1;  // 1 pixel apart: no grid
  f.Frame();
  EXPECT_EQ(CountColour(grey), 0);
  f.d().view.gridStep = 10;
  f.d().view.scale = 0.99;  // 9.9 pixels: still none
  f.Frame();
  EXPECT_EQ(CountColour(grey), 0);
  f.d().view.scale = 1.0;
  f.Frame();
  // Vertical lines at 80 +- 10i while 80 - 10i >= 10: x = 10 .. 150, from
  // y = 10 to 109; horizontal lines at 60 +- 10i: y = 10 .. 110, x 10 .. 149.
  for (int x = 10; x <= 150; x += 10) {
    EXPECT_EQ(f.Pixel(x, 10), grey);
    EXPECT_EQ(f.Pixel(x, 105), grey);
  }
  EXPECT_EQ(f.Pixel(9, 60), f.colours().black);
  EXPECT_EQ(f.Pixel(95, 9), f.colours().black);
  EXPECT_EQ(f.Pixel(95, 110), grey);
  EXPECT_EQ(f.Pixel(95, 111), f.colours().black);
  EXPECT_EQ(f.Pixel(155, 60), f.colours().black);
  // The grid ignores the pan.
  f.d().view.panX = 0.5;
  f.Frame();
  EXPECT_EQ(f.Pixel(90, 30), grey);
}

TEST_F(DrawFrameTest, VectorFilterHidesVectorsInThePlaneZeroBothWays) {
  o().vectorsOn = true;
  AddLine(f.t(), {-30, 20, 0}, {30, 20, 0});     // in the plane z = 0: y = 40 on screen
  AddLine(f.t(), {-30, -20, -5}, {30, -20, 0});  // one end in front: y = 80
  AddLine(f.t(), {-30, -40, 5}, {30, -40, 5});   // behind: y = 100
  const std::uint8_t white = f.colours().white;
  f.Frame();
  EXPECT_EQ(f.Pixel(80, 40), white);
  EXPECT_EQ(f.Pixel(80, 80), white);
  EXPECT_EQ(f.Pixel(80, 100), white);
  o().vectorFilter = kFrontVectorsOnly;
  f.Frame();
  EXPECT_EQ(f.Pixel(80, 40), f.colours().black);
  EXPECT_EQ(f.Pixel(80, 80), white);
  EXPECT_EQ(f.Pixel(80, 100), f.colours().black);
  o().vectorFilter = kBackVectorsOnly;
  f.Frame();
  EXPECT_EQ(f.Pixel(80, 40), f.colours().black);
  EXPECT_EQ(f.Pixel(80, 80), f.colours().black);
  EXPECT_EQ(f.Pixel(80, 100), white);
}

TEST_F(DrawFrameTest, DrawListIsSortedFarFirstWithTheWireFrameAfter) {
  o().vectorsOn = true;
  const std::uint32_t far = AddPolygon(f.t(), {{-10, 10, -200}, {10, 10, -200}, {10, -10, -200}},
                                       PolyFlag::kDefined, kRed);
  const std::uint32_t near = AddPolygon(f.t(), {{-10, 10, 200}, {10, 10, 200}, {10, -10, 200}},
                                        PolyFlag::kDefined, kGreen);
  const std::uint32_t top = AddPolygon(f.t(), {{-10, 10, -300}, {10, 10, -300}, {10, -10, -300}},
                                       PolyFlag::kDefined | PolyFlag::kHigherPriority, kBlue);
  const std::uint32_t thick = AddLine(f.t(), {0, 0, 180}, {0, 30, 180}, kBlue, 2);
  f.Frame();
  const auto items = f.e().softwareView().drawItems();
  // 3 polygons + 6 axes + 1 displayable vector sorted; then every width-0
  // vector (axes and the polygon edges) as wire frame.
  const std::size_t wire = f.t().vectorCount - 1;
  ASSERT_EQ(items.size(), 10u + wire);
  for (std::size_t i = 1; i < 10; ++i) EXPECT_LE(items[i - 1].key, items[i].key);
  // Keys: far 28800; the z axis towards -z (points at 29000 and 28850)
  // 28924; the x and y axes 28999 each (less 1.0, in index order); the z
  // axis towards +z 29074; the thick vector 29180; near 29200; the priority
  // polygon 100000.
  const std::int32_t order[10] = {static_cast<std::int32_t>(far),
                                  4,
                                  0,
                                  1,
                                  2,
                                  3,
                                  5,
                                  static_cast<std::int32_t>(thick),
                                  static_cast<std::int32_t>(near),
                                  static_cast<std::int32_t>(top)};
  const double keys[10] = {28800, 28924, 28999, 28999, 28999,
                           28999, 29074, 29180, 29200, kPriorityKey};
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(items[i].index, order[i]) << i;
    EXPECT_DOUBLE_EQ(items[i].key, keys[i]) << i;
  }
  EXPECT_EQ(items[0].kind, kItemPolygonFront);
  EXPECT_EQ(items[1].kind, kItemVector);
  EXPECT_DOUBLE_EQ(f.t().polygons[top].depth, 28700);  // the mean is kept
  EXPECT_DOUBLE_EQ(f.e().softwareView().leastKey(), 28700);
  EXPECT_DOUBLE_EQ(f.e().softwareView().greatestKey(), 29200);
  for (std::size_t i = 10; i < items.size(); ++i) {
    EXPECT_EQ(items[i].kind, kItemVector);
    EXPECT_EQ(f.t().vectors[items[i].index].width, 0u);
  }
  EXPECT_EQ(items[10].index, 0);  // axes first, in index order
  // Without Vectors On the wire frame is not listed.
  o().vectorsOn = false;
  f.Frame();
  EXPECT_EQ(f.e().softwareView().drawItems().size(), 10u);
  // With the DirectX renderer chosen: the axes and the wire frame only.
  f.d().frame.renderer = kRendererDirectX;
  o().vectorsOn = true;
  o().polygonsOn = true;
  f.Frame();
  EXPECT_EQ(f.e().softwareView().drawItems().size(), 6u + wire);
  EXPECT_EQ(CountColour(kRed) + CountColour(kGreen), 0);
}

TEST_F(DrawFrameTest, BackFacesFollowTheirFlags) {
  o().polygonsOn = true;
  // Counter-clockwise on screen: seen from the back.
  const std::uint32_t never =
      AddPolygon(f.t(), {{-40, 20, 0}, {-40, -20, 0}, {-10, -20, 0}, {-10, 20, 0}},
                 PolyFlag::kNeverDrawBackFace | PolyFlag::kSelectedColor, kRed);
  const std::uint32_t sides =
      AddPolygon(f.t(), {{10, 20, 0}, {10, -20, 0}, {40, -20, 0}, {40, 20, 0}},
                 PolyFlag::kEachSideDifferent | PolyFlag::kSelectedColor, kRed, kBlue);
  EXPECT_EQ(f.Frame(static_cast<std::int32_t>(never)), 1);
  EXPECT_NE(f.t().polygons[never].flags & PolyFlag::kBackFacing, 0u);
  EXPECT_EQ(f.Pixel(55, 60), f.colours().black);  // not drawn
  EXPECT_EQ(f.Pixel(105, 60), kBlue);             // its back colour
  // Selected, the hidden back face shows (highlighted).
  f.t().polygonSelected[never] = kSelected;
  f.Frame();
  EXPECT_NE(f.Pixel(55, 61), f.colours().black);
  // Backfaced Polygons: facing still computed, but nothing drawn as a back.
  f.t().polygonSelected[never] = kUnselected;
  o().showBackfaced = true;
  EXPECT_EQ(f.Frame(static_cast<std::int32_t>(sides)), 1);
  EXPECT_EQ(f.Pixel(55, 60), kRed);
  EXPECT_EQ(f.Pixel(105, 60), kRed);
  // A polygon without those flags: facing is not computed, the bit is clear.
  o().showBackfaced = false;
  f.t().polygons[sides].flags = PolyFlag::kSelectedColor | PolyFlag::kBackFacing;
  EXPECT_EQ(f.Frame(static_cast<std::int32_t>(sides)), 0);
  EXPECT_EQ(f.t().polygons[sides].flags & PolyFlag::kBackFacing, 0u);
  EXPECT_EQ(f.Pixel(105, 60), kRed);
}

TEST_F(DrawFrameTest, InvisibleOutlineAndBorderedStyles) {
  o().polygonsOn = true;
  const std::uint32_t hidden =
      AddPolygon(f.t(), {{-40, 20, 0}, {-10, 20, 0}, {-10, -20, 0}, {-40, -20, 0}},
                 PolyFlag::kInvisible | PolyFlag::kSelectedColor, kRed);
  AddPolygon(f.t(), {{10, 20, 0}, {40, 20, 0}, {40, -20, 0}, {10, -20, 0}}, PolyFlag::kOutline,
             kRed);
  AddPolygon(f.t(), {{-20, 50, 0}, {20, 50, 0}, {20, 30, 0}, {-20, 30, 0}},
             PolyFlag::kBordered | PolyFlag::kSelectedColor, kGreen);
  f.Frame();
  EXPECT_EQ(f.Pixel(55, 60), f.colours().black);
  EXPECT_EQ(f.Pixel(105, 60), kOutlineStyleEntry);  // outline style: palette entry 2
  EXPECT_EQ(f.Pixel(80, 20), kGreen);
  EXPECT_EQ(f.Pixel(60, 20), f.colours().black);  // its border
  EXPECT_EQ(f.Pixel(80, 10), f.colours().black);  // first row
  o().showInvisible = true;
  f.Frame();
  EXPECT_EQ(f.Pixel(55, 60), kRed);
  f.t().polygonSelected[hidden] = kSelected;  // outline style ignores selection too
  f.Frame();
  EXPECT_EQ(f.Pixel(105, 60), kOutlineStyleEntry);
}

TEST_F(DrawFrameTest, ShadedPolygonsWalkTheirRampByDepth) {
  o().polygonsOn = true;
  // Means 29500 and 28500 bound the keys (the axes lie between): the
  // nearest gets the base entry, the farthest trunc(1000 / 126) = 7 more.
  AddPolygon(f.t(), {{-40, 20, 500}, {-10, 20, 500}, {-10, -20, 500}, {-40, -20, 500}},
             PolyFlag::kShaded, kGreen + 3);
  AddPolygon(f.t(), {{10, 20, -500}, {40, 20, -500}, {40, -20, -500}, {10, -20, -500}},
             PolyFlag::kShaded, kGreen);
  AddPolygon(f.t(), {{-20, 50, 0}, {20, 50, 0}, {20, 30, 0}, {-20, 30, 0}}, PolyFlag::kShaded,
             kBlue);
  f.Frame();
  EXPECT_DOUBLE_EQ(f.e().softwareView().greatestKey(), 29500);
  EXPECT_DOUBLE_EQ(f.e().softwareView().leastKey(), 28500);
  EXPECT_EQ(f.Pixel(55, 60), kGreen);  // base of its ramp, not kGreen + 3
  EXPECT_EQ(f.Pixel(105, 60), kGreen + 7);
  EXPECT_EQ(f.Pixel(80, 20), kBlue + 3);  // 500 / 126 = 3.97
}

TEST_F(DrawFrameTest, PerspectiveClipsBeforeDividing) {
  o().polygonsOn = true;
  o().perspective = true;
  // Wholly behind the eye (world z 400 and more is eye depth 100 and more).
  const std::uint32_t behind = AddPolygon(f.t(), {{-20, 20, 400}, {20, 20, 400}, {20, -20, 500}},
                                          PolyFlag::kSelectedColor, kRed);
  // A floor crossing the eye plane.
  const std::uint32_t floor =
      AddPolygon(f.t(), {{-50, -30, -200}, {50, -30, -200}, {50, -30, 600}, {-50, -30, 600}},
                 PolyFlag::kSelectedColor, kGreen);
  f.Frame();
  EXPECT_NE(f.t().polygons[behind].flags & PolyFlag::kNotDrawn, 0u);
  EXPECT_EQ(f.t().polygons[floor].flags & PolyFlag::kNotDrawn, 0u);
  EXPECT_EQ(CountColour(kRed), 0);
  // The floor reaches the bottom of the picture, whose last rows it covers.
  EXPECT_EQ(f.Pixel(80, 119), kGreen);
  // Its far edge: y = 60 + 30 * f / 500 = 63.27 (f = 54.5).
  EXPECT_EQ(f.Pixel(80, 62), f.colours().black);
  EXPECT_EQ(f.Pixel(80, 64), kGreen);
  // Back to orthographic the marks go away again.
  o().perspective = false;
  f.Frame();
  EXPECT_EQ(f.t().polygons[behind].flags & PolyFlag::kNotDrawn, 0u);
}

TEST_F(DrawFrameTest, VectorsSelectedHoveredAndDisplayable) {
  o().vectorsOn = true;
  const std::uint32_t v = AddLine(f.t(), {-60, 40, 0}, {60, 40, 0});         // screen row 20
  const std::uint32_t w = AddLine(f.t(), {-60, 0, 0}, {60, 0, 0}, kRed, 3);  // row 60
  f.Frame();
  const std::uint8_t white = f.colours().white, black = f.colours().black;
  for (int x = 20; x <= 140; ++x) EXPECT_EQ(f.Pixel(x, 20), white);
  // Width 3: pen half-width 2, over the wire line.
  for (int y = 58; y <= 62; ++y) EXPECT_EQ(f.Pixel(80, y), kRed) << y;
  EXPECT_EQ(f.Pixel(80, 57), black);
  EXPECT_EQ(f.Pixel(80, 63), black);
  // Selected: dashed (6 on, 2 off) in the wire colour.
  f.t().vectors[v].selected = kSelected;
  f.Frame();
  int on = 0, off = 0;
  for (int x = 20; x <= 140; ++x) (f.Pixel(x, 20) == white ? on : off)++;
  EXPECT_EQ(on + off, 121);
  EXPECT_NEAR(static_cast<double>(off) / (on + off), 0.25, 0.03);
  // Selected and hovered: plain again.
  f.d().selection.hover.vector = v;
  f.Frame();
  for (int x = 20; x <= 140; ++x) EXPECT_EQ(f.Pixel(x, 20), white);
  // A displayable vector that is selected is dashed in the wire colour.
  f.t().vectors[w].selected = kSelected;
  f.Frame();
  EXPECT_EQ(f.Pixel(80, 58), black);
  int dashed = 0;
  for (int x = 20; x <= 140; ++x) dashed += f.Pixel(x, 60) == white;
  EXPECT_GT(dashed, 60);
  EXPECT_LT(dashed, 121);
  // Vectors Off keeps the displayable vector in its colour, drops the wire.
  f.t().vectors[w].selected = kUnselected;
  f.t().vectors[v].selected = kUnselected;
  o().vectorsOn = false;
  f.Frame();
  EXPECT_EQ(f.Pixel(80, 20), black);
  EXPECT_EQ(f.Pixel(80, 60), kRed);
}

TEST_F(DrawFrameTest, AxesInTheirColoursThickWhenAsked) {
  o().axisOn = true;
  f.Frame();
  const DrawingColors& c = f.colours();
  EXPECT_EQ(f.Pixel(120, 60), c.red);  // x axis to the right
  EXPECT_EQ(f.Pixel(80, 30), c.blue);  // y axis up
  EXPECT_EQ(f.Pixel(81, 30), f.colours().black);
  o().thickLine = true;
  f.Frame();
  EXPECT_EQ(f.Pixel(120, 61), c.red);
  EXPECT_EQ(f.Pixel(120, 59), c.red);
  // The axis labels in the label colour; none without Axis On.
  EXPECT_GT(CountColour(c.green2), 0);
  o().axisOn = false;
  f.Frame();
  EXPECT_EQ(CountColour(c.green2), 0);
  EXPECT_EQ(CountColour(c.red), 0);
}

TEST_F(DrawFrameTest, GuideFrameEdgesOnlyInsideTheArea) {
  o().guideFrame = true;
  o().guideHalfWidth = 30;
  o().guideHalfHeight = 20;
  const std::uint8_t green = f.colours().green;
  f.Frame();
  EXPECT_EQ(f.Pixel(50, 60), green);
  EXPECT_EQ(f.Pixel(110, 60), green);
  EXPECT_EQ(f.Pixel(80, 40), green);
  EXPECT_EQ(f.Pixel(80, 80), green);
  EXPECT_EQ(f.Pixel(80, 60), f.colours().black);
  // Panned one grid step right and up, and scaled.
  f.d().view.panX = 1;
  f.d().view.panY = 1;
  f.d().view.scale = 0.5;
  f.Frame();  // x0 = 80 + 5, y0 = 60 - 5, hw = 15, hh = 10
  EXPECT_EQ(f.Pixel(70, 55), green);
  EXPECT_EQ(f.Pixel(100, 55), green);
  EXPECT_EQ(f.Pixel(85, 45), green);
  EXPECT_EQ(f.Pixel(85, 65), green);
  // Wider than the area: the side edges are left out.
  f.d().view = EditorViewState{};
  o().guideHalfWidth = 100;
  f.Frame();
  EXPECT_EQ(f.Pixel(0, 60), f.colours().black);
  EXPECT_EQ(f.Pixel(159, 60), f.colours().black);
  EXPECT_EQ(f.Pixel(0, 40), green);  // the top edge, clamped to the area
  EXPECT_EQ(f.Pixel(159, 80), green);
}

TEST_F(DrawFrameTest, PlotCursorLineAndFirstEndpointMarker) {
  o().gridOn = true;
  f.d().frame.mode = EditorMode::kPlot;
  f.d().plotCursor = {20, 30, 40, true};
  const std::uint8_t cursor = f.colours().lightGrey;
  f.Frame();  // step 0, X in Front: the vertical line at world x = 20
  EXPECT_EQ(f.Pixel(100, 50), cursor);
  EXPECT_EQ(f.Pixel(100, 10), cursor);
  EXPECT_EQ(CountColour(cursor), 100);  // rows 10 .. 109 only
  f.m().plot.step = 1;                  // Y: the horizontal line at world y = 30
  f.Frame();
  EXPECT_EQ(f.Pixel(40, 30), cursor);
  EXPECT_EQ(f.Pixel(100, 50), f.colours().darkGrey);
  // Back view mirrors X; pan shifts the world values.
  f.m().plot.step = 3;
  f.m().view.viewCode = kViewBack;
  f.Frame();
  EXPECT_EQ(f.Pixel(60, 50), cursor);
  f.m().view.viewCode = kViewFront;
  f.d().view.panX = 1;  // X = 20 is now the line at 80 + 30
  f.Frame();
  EXPECT_EQ(f.Pixel(110, 50), cursor);
  // Step 3 also shows the first endpoint, a red cross.
  f.d().view.panX = 0;
  f.m().plot.ep1X = -33;
  f.m().plot.ep1Y = 13;  // on screen at (47, 47), off the grid lines
  f.Frame();
  const std::uint8_t red = f.colours().red;
  EXPECT_EQ(f.Pixel(42, 47), red);
  EXPECT_EQ(f.Pixel(52, 47), red);
  EXPECT_EQ(f.Pixel(47, 42), red);
  EXPECT_EQ(f.Pixel(47, 52), red);
  EXPECT_EQ(f.Pixel(41, 47), f.colours().black);
  EXPECT_EQ(f.Pixel(47, 53), f.colours().black);
  // Nothing of the line while a marquee is dragged or the program is
  // inactive; Z in Front has no line at all.
  f.d().selection.marqueeActive = true;
  f.Frame();
  EXPECT_EQ(CountColour(cursor), 0);
  EXPECT_EQ(f.Pixel(42, 47), red);
  f.d().selection.marqueeActive = false;
  f.m().plot.step = 5;
  f.Frame();
  EXPECT_EQ(CountColour(cursor), 0);
  EXPECT_EQ(f.Pixel(42, 47), f.colours().black);  // the marker only at steps 3 and 4
  // Outside the EditArea no plot feedback at all.
  f.m().plot.step = 3;
  f.d().plotCursor.inArea = false;
  f.Frame();
  EXPECT_EQ(CountColour(cursor) + CountColour(red), 0);
}

TEST_F(DrawFrameTest, QuickCommandsOnlyWhileShown) {
  f.d().labels.Rebuild(f.colours(), EditorMode::kPlot, false, kWalkEditColour);
  f.d().view.scale = 0.25;  // the lines span 340 units: make them fit
  f.Frame();
  EXPECT_EQ(CountColour(f.colours().yellow), 0);
  f.d().frame.quickCommandsShown = true;
  f.Frame();
  EXPECT_GT(CountColour(f.colours().yellow), 10);  // the title
  EXPECT_GT(CountColour(f.colours().white), 100);
  // They face the screen whatever the view.
  f.m().view.viewCode = kViewRight;
  TurnToView(f.m().view, kViewTop, nullptr);
  const int before = CountColour(f.colours().white);
  f.Frame();
  EXPECT_EQ(CountColour(f.colours().white), before);
}

TEST_F(DrawFrameTest, PresentCopiesTheLocalRectangleAfterTheFirstLayout) {
  o().axisOn = true;
  f.Frame();
  EditorDisplay& d = f.d();
  d.frame.firstLayoutPending = true;
  f.e().view().Present(d.layout.local, d.layout.editArea);
  EXPECT_EQ(f.presenter.shows, 0);
  d.frame.firstLayoutPending = false;
  d.offscreen.shown.Clear(5);
  f.e().view().Present(d.layout.local, d.layout.editArea);
  ASSERT_EQ(f.presenter.shows, 1);
  EXPECT_EQ(f.presenter.lastBitmap, &d.offscreen.shown);
  EXPECT_EQ(f.presenter.lastSource, d.layout.local);
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 160; ++x) ASSERT_EQ(d.offscreen.shown.At(x, y), d.offscreen.draw.At(x, y));
  EXPECT_EQ(d.offscreen.shown.At(0, 120), 5);  // below the area: not copied
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
  EXPECT_EQ(test::AllocationCount(), before);
  EXPECT_EQ(f.rt.memory.LiveCount(), blocks);
  // The counter does see allocations.
  auto probe = std::make_unique<int>(1);
  EXPECT_EQ(test::AllocationCount(), before + 1);
}

}  // namespace
}  // namespace ws
