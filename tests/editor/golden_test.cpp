// Whole frames compared with reference pictures under tests/golden/
// (support/golden_image.h). Every reference was looked at before it was
// committed.
#include <gtest/gtest.h>

#include <functional>

#include "editor_test_support.h"
#include "support/golden_image.h"

namespace ws {
namespace {

using test::AddCube;
using test::AddLine;
using test::AddPolygon;
using test::AddSphere;
using test::EditorFixture;

void ExpectGolden(EditorFixture& f, const std::string& name) {
  f.e().ShowFrame();
  ASSERT_EQ(f.presenter.shows > 0, true);
  test::ExpectGoldenImage(CaptureImage(f.d().offscreen.shown, f.d().layout.local), name);
}

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
  const struct { const char* name; int width, height; std::function<void(EditorFixture&)> scene; } rows[] = {
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
         for (std::uint32_t v : {thickSelected, selected, both}) f.t().vectors[v].selected = kSelected;
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
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    // The highlights' sparkle comes from the seed.
    EditorFixture f(r.width, r.height, std::string_view(r.name) == "highlights" ? 12345 : 1);
    r.scene(f);
    ExpectGolden(f, r.name);
  }
}

}  // namespace
}  // namespace ws
