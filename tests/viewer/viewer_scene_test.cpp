// The viewer's scene without GL: shading words, the mesh filled from the
// object, the frames against the editor's own projection and the walk
// view's, the error texts and the rebuild rule.
#include "viewer/viewer_scene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

#include "editor_test_support.h"
#include "viewer/hardware_view.h"
#include "viewer/viewer_errors.h"

namespace ws::viewer {
namespace {

using namespace test;

TEST(ViewerShading, QualityWordAndAmbientFollowTheMenuAndThePolygonsToggle) {
  const std::tuple<int, bool, std::uint32_t, float> rows[] = {
      {0, true, 0x80, 1.0f},  {1, true, 0x88, 0.5f}, {2, true, 0x89, 0.5f},
      {3, true, 0x8A, 0.5f},  {4, true, 0x80, 1.0f}, {-1, true, 0x80, 1.0f},
      {0, false, 0x00, 0.5f}, {3, false, 0x00, 0.5f}};
  for (const auto& [shading, polygons, quality, ambient] : rows) {
    const ShadingState s = ShadingFor(shading, polygons);
    EXPECT_EQ(std::make_pair(s.quality, s.ambient), std::make_pair(quality, ambient))
        << shading << " polygons " << polygons;
  }
}

TEST(ViewerErrors, ReportsCodeDescriptionAndOperation) {
  EXPECT_EQ(FormatViewerError(0x502, "Render the scene"),
            "DirectX Error 00000502 - The specified operation is not allowed in the current "
            "state. - Render the scene");
  EXPECT_EQ(ErrorDescription(kResultNotSupported), "Action not supported.");
  EXPECT_EQ(ErrorDescription(0x0507), "Unrecognized error value.");
  EXPECT_EQ(ErrorDescription(0x04FF), "Unrecognized error value.");
}

float Sign(float v) { return v > 0.0f ? 1.0f : -1.0f; }

// Every corner of a closed box: the outward face's smooth normal points
// along the corner's diagonal, the reversed back face's the other way, and
// the face normal is the face's axis.
TEST(ViewerMesh, BoxCornersGetDiagonalSmoothNormalsOnBothSides) {
  EditorFixture f;
  const std::uint8_t red = f.colours().red;
  const std::uint8_t c[6] = {red, red, red, red, red, red};
  AddCube(f.t(), {0, 0, 0}, 40, kPlainFaces, c);
  SceneMesh mesh;
  BuildSceneMesh(f.t(), f.m().colors.current, false, mesh);
  EXPECT_EQ(std::make_tuple(mesh.faceCount, mesh.triangles.size(), mesh.largestExtent),
            std::make_tuple(12u, std::size_t{72}, 40.0));
  const float d = 1.0f / std::sqrt(3.0f);
  int outward = 0;
  for (const MeshVertex& v : mesh.triangles) {
    const auto& p = v.position;
    const float side =
        v.faceNormal[0] * p[0] + v.faceNormal[1] * p[1] + v.faceNormal[2] * p[2] > 0 ? 1.0f : -1.0f;
    if (side > 0) ++outward;
    float axis = 0.0f;
    for (int i = 0; i < 3; ++i) {
      EXPECT_NEAR(v.smoothNormal[i], side * Sign(p[i]) * d, 1e-5) << "axis " << i;
      axis += std::abs(v.faceNormal[i]);
      EXPECT_EQ(v.colour[i], i == 0 ? 1.0f : 0.0f);
    }
    EXPECT_NEAR(axis, 1.0f, 1e-6);  // exactly one axis
  }
  EXPECT_EQ(outward, 36);
}

// Invisible faces and back faces that are never drawn are left out; vectors
// with a width become lines in their colour, at the quarter scale in walk
// mode, and widen the extent.
TEST(ViewerMesh, SkipsHiddenFacesAndTakesWideVectorsAsLines) {
  EditorFixture f;
  const std::uint32_t flags[6] = {PolyFlag::kInvisible, PolyFlag::kNeverDrawBackFace, 0, 0, 0, 0};
  const std::uint8_t c[6] = {1, 2, 3, 4, 5, 6}, blue = f.colours().blue;
  AddCube(f.t(), {0, 0, 0}, 10, flags, c);
  AddLine(f.t(), {0, 0, 0}, {0, 0, -500}, blue, 1);
  AddLine(f.t(), {0, 0, 0}, {900, 0, 0}, blue, 0);       // wire frame only
  AddLine(f.t(), {0, 0, 0}, {0, 700, 0}, blue, 0x8000);  // a render copy's mark, no width
  SceneMesh mesh;
  BuildSceneMesh(f.t(), f.m().colors.current, true, mesh);
  // 5 fronts, 4 backs
  EXPECT_EQ(std::make_pair(mesh.faceCount, mesh.triangles.size()),
            std::make_pair(9u, std::size_t{9 * 6}));
  ASSERT_EQ(mesh.lines.size(), 2u);
  EXPECT_EQ(std::make_tuple(mesh.lines[1].position[2], mesh.largestExtent, mesh.lines[0].colour),
            std::make_tuple(-125.0f, 125.0, std::array<float, 3>{0.0f, 0.0f, 1.0f}));
}

// Clip coordinates of mesh point p through all of the frames, and where GL
// puts them in a w x h window (row 0 the top).
std::array<double, 4> Clip(const SceneFrames& f, const std::array<double, 3>& p) {
  const Mat4 all = f.projection * f.view * f.object;
  std::array<double, 4> clip;
  for (int r = 0; r < 4; ++r)
    clip[r] = all(r, 0) * p[0] + all(r, 1) * p[1] + all(r, 2) * p[2] + all(r, 3);
  return clip;
}
std::pair<double, double> Window(const std::array<double, 4>& clip, double w, double h) {
  return {(clip[0] / clip[3] + 1) / 2 * w, (1 - clip[1] / clip[3]) / 2 * h};
}

// The scene's picture lies exactly where the editor's projection puts it,
// so the editor's lines and marks fit over it.
TEST(ViewerFrames, ProjectLikeTheEditorInPlainAndPerspectiveViews) {
  EditorFixture f(200, 150);
  EditorDisplay& d = f.d();
  d.view.scale = 1.7;
  d.view.panX = 1.5;
  d.view.panY = -2.0;
  TurnAboutY(f.m().view.orientation, 0.4);
  TurnAboutX(f.m().view.orientation, -0.3);
  for (bool perspective : {false, true}) {
    d.options.perspective = perspective;
    const SceneFrames frames = PlaceFrames(d, 60.0);
    EXPECT_EQ(frames.perspective, perspective);
    const Projector projector = d.MakeProjector();
    for (auto p : {std::array<double, 3>{0, 0, 0}, {40, -25, 10}, {-30, 60, -45}}) {
      const std::array<double, 4> clip = Clip(frames, p);
      const auto [column, row] = Window(clip, d.layout.width(), d.layout.height());
      const EyePoint e = projector.Eye(p[0], p[1], p[2]);
      const double x = perspective ? -(e.ex / e.d) * d.layout.perspectiveFactor : e.ex;
      const double y = perspective ? -(e.ey / e.d) * d.layout.perspectiveFactor : e.ey;
      EXPECT_NEAR(column, x + d.layout.cx + 0.5, 1e-2) << perspective;
      EXPECT_NEAR(row, y + d.layout.cy + 0.5, 1e-2) << perspective;
      EXPECT_LT(std::abs(clip[2] / clip[3]), 1.0) << "inside the clipping planes";
    }
  }
  d.options.perspective = false;
  const SceneFrames plain = PlaceFrames(d, 60.0);
  EXPECT_FLOAT_EQ(plain.camera(2, 3), 90.0f);  // 1.5 x the largest extent
  EXPECT_EQ(TransformPoint(plain.lights, {0, 0, 0}), (std::array<float, 3>{0, 100, 300}));
}

// Walk mode: every mesh point lands on the pixel the walk view gives it: a
// point `right` and `up` of the eye at distance `ahead` on column
// hw + hw * right / ahead and row hh - hh * up / ahead (hw, hh the halves
// in whole pixels, the numbers naming pixel centres); the camera stands at
// the eye, the lights 100 above it.
TEST(WalkCamera, PutsEveryPointOnTheWalkViewsPixel) {
  // An odd size; moved, at heading 0 and just below 360.
  const std::tuple<WalkEye, int, int> rows[] = {
      {{0, 0, 15, 90}, 161, 97}, {{-150, 190, 5, 0}, 160, 120}, {{10, -20, 30, 359.5}, 320, 200}};
  for (const auto& [e, w, h] : rows) {
    const SceneFrames f = PlaceWalkFrames(e, w, h);
    const double a = e.heading * std::numbers::pi / 180.0;
    const double hw = w / 2, hh = h / 2;
    for (auto [ahead, right, up] :
         {std::array<double, 3>{40, 0, 0}, {60, 25, -10}, {90, -50, 30}, {120, 70, -e.z}}) {
      const std::array<double, 4> clip =
          Clip(f, WalkToMesh(e.x + std::cos(a) * ahead + std::sin(a) * right,
                             e.y + std::sin(a) * ahead - std::cos(a) * right, e.z + up));
      const auto [column, pixelRow] = Window(clip, w, h);
      EXPECT_NEAR(column, hw + hw * right / ahead + 0.5, 2e-2) << e.heading << " ahead " << ahead;
      EXPECT_NEAR(pixelRow, hh - hh * up / ahead + 0.5, 2e-2) << e.heading << " ahead " << ahead;
      EXPECT_NEAR(clip[3], ahead, 1e-2) << e.heading;
    }
    const std::array<float, 3> camera = TransformPoint(f.camera, {0, 0, 0});
    const std::array<float, 3> lights = TransformPoint(f.lights, {0, 0, 0});
    const std::array<double, 3> eye = WalkToMesh(e.x, e.y, e.z);
    for (std::size_t i = 0; i < 3; ++i) {
      EXPECT_NEAR(camera[i], eye[i], 1e-3) << e.heading << " camera " << i;
      EXPECT_NEAR(lights[i], eye[i] + (i == 1 ? 100.0 : 0.0), 1e-3) << e.heading << " lights " << i;
    }
    EXPECT_EQ(std::make_tuple(f.object.m, f.perspective), std::make_tuple(Mat4{}.m, true))
        << e.heading << ": the object frame stays unturned";
  }
}

// The scene is built again when the object, the palette or the drawing
// rectangle change, or when asked to; edits that keep every count change it
// too, a selection does not.
TEST(HardwareView, RebuildsWhenTheObjectPaletteOrDrawingRectangleChange) {
  EditorFixture f;
  HardwareView view(f.d(), f.e().softwareView());
  f.e().SetEditView(&view);
  const std::uint8_t c[6] = {1, 1, 1, 1, 1, 1};
  AddCube(f.t(), {0, 0, 0}, 10, kPlainFaces, c);
  f.e().ShowFrame();
  EXPECT_EQ(std::make_pair(view.buildCount(), view.mesh().faceCount), std::make_pair(1u, 12u));
  const std::uint32_t corner = f.t().polygons[0].points[0];
  // Builds each step adds, and the step.
  const std::tuple<std::uint32_t, const char*, std::function<void()>> steps[] = {
      {0, "nothing changed", [] {}},
      {1, "point added", [&] { f.t().AddPoint(5, 5, 5); }},
      {1, "area resized", [&] { ASSERT_TRUE(f.e().LayoutArea(240, 180)); }},
      {1, "update asked for", [&] { view.Update(); }},
      {1, "corner moved", [&] { f.t().points[corner].x += 1; }},
      {1, "face recoloured", [&] { f.t().polygons[0].frontColor = 9; }},
      {1, "face hidden", [&] { f.t().polygons[1].flags |= PolyFlag::kInvisible; }},
      {1, "vector widened", [&] { f.t().vectors[f.t().polygons[0].vectors[0]].width = 2; }},
      {1, "palette entry changed", [&] { f.m().colors.current.Set(1, RGB16(1, 2, 3)); }},
      {0, "selection", [&] { f.t().polygonSelected[0] = kSelected; }},
  };
  for (const auto& [builds, what, edit] : steps) {
    const std::uint32_t before = view.buildCount();
    edit();
    f.e().ShowFrame();
    EXPECT_EQ(view.buildCount(), before + builds) << what;
  }
}

}  // namespace
}  // namespace ws::viewer
