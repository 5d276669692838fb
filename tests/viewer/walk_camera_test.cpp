// The walk camera without GL: every mesh point lands on the pixel the walk
// view's own formula gives it, for eyes anywhere and turned any way, and
// the lights ride above the eye.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "viewer/viewer_scene.h"

namespace ws::viewer {
namespace {

struct Pixel {
  double column, row;
};

// The walk view's picture of walk world point (x, y, z): ahead and right of
// the eye from the heading, column hw + hw * right / ahead and row
// hh - hh * up / ahead, the numbers naming pixel centres.
Pixel WalkViewPixel(const WalkEye& e, int w, int h, double x, double y, double z) {
  const double a = e.heading * std::numbers::pi / 180.0;
  const double dx = x - e.x, dy = y - e.y, dz = z - e.z;
  const double ahead = std::cos(a) * dx + std::sin(a) * dy;
  const double right = std::sin(a) * dx - std::cos(a) * dy;
  const double hw = w / 2, hh = h / 2;
  return {hw + hw * right / ahead + 0.5, hh - hh * dz / ahead + 0.5};
}

// Where GL puts mesh point m: window column and row (row 0 the top), and
// the clip w (the distance ahead).
Pixel GlPixel(const SceneFrames& f, int w, int h, const std::array<double, 3>& m, double* clipW) {
  const Mat4 all = f.projection * f.view * f.object;
  double clip[4];
  for (int r = 0; r < 4; ++r) {
    clip[r] = all(r, 0) * m[0] + all(r, 1) * m[1] + all(r, 2) * m[2] + all(r, 3);
  }
  *clipW = clip[3];
  return {(clip[0] / clip[3] + 1) / 2 * w, (1 - clip[1] / clip[3]) / 2 * h};
}

TEST(WalkCamera, PutsEveryPointOnTheWalkViewsPixel) {
  struct Row {
    const char* name;
    WalkEye eye;
    int w, h;
  };
  const Row rows[] = {
      {"odd size", {0, 0, 15, 90}, 161, 97},
      {"moved and turned", {-30, 45, 15, 120}, 200, 150},
      {"heading 0", {-150, 190, 5, 0}, 160, 120},
      {"just below 360", {10, -20, 30, 359.5}, 320, 200},
  };
  for (const Row& row : rows) {
    const SceneFrames f = PlaceWalkFrames(row.eye, row.w, row.h);
    EXPECT_TRUE(f.perspective) << row.name;
    // Points 40 to 120 ahead of the eye, some off to the sides and below.
    const double a = row.eye.heading * std::numbers::pi / 180.0;
    for (auto [ahead, right, up] : {std::array<double, 3>{40, 0, 0}, {60, 25, -10}, {90, -50, 30},
                                    {120, 70, -row.eye.z}}) {
      const double x = row.eye.x + std::cos(a) * ahead + std::sin(a) * right;
      const double y = row.eye.y + std::sin(a) * ahead - std::cos(a) * right;
      const double z = row.eye.z + up;
      const Pixel want = WalkViewPixel(row.eye, row.w, row.h, x, y, z);
      double w = 0;
      const Pixel got = GlPixel(f, row.w, row.h, WalkToMesh(x, y, z), &w);
      EXPECT_NEAR(got.column, want.column, 2e-2) << row.name << " ahead " << ahead;
      EXPECT_NEAR(got.row, want.row, 2e-2) << row.name << " ahead " << ahead;
      EXPECT_NEAR(w, ahead, 1e-2) << row.name;
    }
    // Behind the eye: nothing to see.
    double w = 0;
    GlPixel(f, row.w, row.h,
            WalkToMesh(row.eye.x - std::cos(a) * 50, row.eye.y - std::sin(a) * 50, row.eye.z), &w);
    EXPECT_LT(w, 0) << row.name;
    const std::array<float, 3> camera = TransformPoint(f.camera, {0, 0, 0});
    const std::array<float, 3> lights = TransformPoint(f.lights, {0, 0, 0});
    const std::array<double, 3> eye = WalkToMesh(row.eye.x, row.eye.y, row.eye.z);
    for (std::size_t i = 0; i < 3; ++i) {
      EXPECT_NEAR(camera[i], eye[i], 1e-3) << row.name << " camera " << i;
      EXPECT_NEAR(lights[i], eye[i] + (i == 1 ? 100.0 : 0.0), 1e-3) << row.name << " lights " << i;
    }
    EXPECT_EQ(f.object.m, Mat4{}.m) << row.name << ": the object frame stays unturned";
  }
}

}  // namespace
}  // namespace ws::viewer
