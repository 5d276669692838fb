// Pictures of the viewer read back from GL: a box in each shading, seen
// through the same frames the editor's view state gives.
#include <gtest/gtest.h>

#include <cmath>

#include "gl_picture_fixture.h"

namespace ws::viewer {
namespace {

constexpr double kHalf = 40.0;
const Vec3d kAxes[6] = {{0, 0, 1}, {0, 0, -1}, {1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}};

class GlShadingTest : public GlPictureTest {
 protected:
  void SetUp() override {
    GlPictureTest::SetUp();
    if (Stopped()) return;
    // A half-bright red, so that no lit colour saturates.
    colour = NearestColor(f.m().colors.current, 0x8080, 0, 0);
    const std::uint8_t c[6] = {colour, colour, colour, colour, colour, colour};
    test::AddCube(f.t(), {0, 0, 0}, kHalf, test::kPlainFaces, c);
  }
  QImage Picture(int shading) {
    view.SetShading(shading);
    f.e().ShowFrame();
    EXPECT_FALSE(view.Render(renderer, kWidth, kHeight).has_value());
    return ReadBack();
  }
  // The screen pixel of a point (x, y, z) of the object.
  QPoint At(double x, double y, double z) {
    f.e().view().ProjectAll();
    const Projector p = f.d().MakeProjector();
    const ScreenPoint s = p.Screen(p.Eye(x, y, z));
    return {s.x, s.y};
  }
  // A point of the face with outward `axis`, at (u, v) of its half size
  // along the face's two other axes.
  QPoint OnFace(const Vec3d& axis, double u, double v) {
    const double a[3] = {axis.x, axis.y, axis.z};
    double p[3];
    int free = 0;
    for (int i = 0; i < 3; ++i) p[i] = a[i] != 0 ? a[i] * kHalf : (free++ == 0 ? u : v) * kHalf;
    return At(p[0], p[1], p[2]);
  }
  static int Red(const QImage& image, QPoint p) { return qRed(image.pixel(p)); }

  std::uint8_t colour = 0;
};

// A tilted box shows three faces; each has one colour in Flat, and a face
// turned to the light is brighter than one turned from it, in the order
// Lambert's law gives for the light at (0, 100, 300).
TEST_F(GlShadingTest, FlatGivesEachFaceOneColourBrighterTowardsTheLight) {
  TurnAboutY(f.m().view.orientation, 0.6);
  TurnAboutX(f.m().view.orientation, 0.5);
  const QImage image = Picture(1);
  std::vector<std::pair<double, int>> lit;  // expected Lambert term, red level
  for (const Vec3d& axis : kAxes) {
    const Vec3d n = Apply(f.m().view.orientation, axis);
    if (n.z <= 0.2) continue;  // not seen (or only edge-on)
    const int centre = Red(image, OnFace(axis, 0, 0));
    for (auto [u, v] : {std::pair{0.6, 0.6}, {-0.6, 0.6}, {0.6, -0.6}, {-0.6, -0.6}}) {
      EXPECT_EQ(Red(image, OnFace(axis, u, v)), centre) << axis.x << axis.y << axis.z;
    }
    const Vec3d c = Apply(f.m().view.orientation, {axis.x * kHalf, axis.y * kHalf, axis.z * kHalf});
    Vec3d l{-c.x, 100 - c.y, 300 - c.z};
    const double len = std::sqrt(l.x * l.x + l.y * l.y + l.z * l.z);
    lit.push_back({std::max(0.0, (n.x * l.x + n.y * l.y + n.z * l.z) / len), centre});
  }
  ASSERT_EQ(lit.size(), 3u);
  std::sort(lit.begin(), lit.end());
  EXPECT_LT(lit[0].second + 10, lit[2].second);
  EXPECT_LE(lit[0].second, lit[1].second);
  EXPECT_LE(lit[1].second, lit[2].second);
}

// The front face of the box in Gouraud and Phong: the corners' rounded
// normals make it brighter towards its top (where the light is) and the
// colour changes smoothly, without steps, along the way; Gouraud's
// interpolated colours rise all the way up, Phong's per-pixel light peaks
// where the interpolated normal points at the light.
TEST_F(GlShadingTest, GouraudAndPhongShadeSmoothlyAcrossAFace) {
  int centres[2] = {0, 0};
  for (int shading : {2, 3}) {
    const QImage image = Picture(shading);
    const QPoint top = OnFace(kAxes[0], 0, 0.9), bottom = OnFace(kAxes[0], 0, -0.9);
    EXPECT_GT(Red(image, top), Red(image, bottom) + 10) << shading;
    int last = Red(image, bottom);
    for (int y = bottom.y() - 1; y > top.y(); --y) {
      const int r = Red(image, {top.x(), y});
      if (shading == 2) {
        EXPECT_GE(r, last) << "row " << y;
      }
      EXPECT_LE(std::abs(r - last), 2) << shading << " row " << y;
      last = r;
    }
    centres[shading - 2] = Red(image, OnFace(kAxes[0], 0, 0));
  }
  // Phong lights the middle from the interpolated normal, which points
  // nearer the light there than the corners' normals do.
  EXPECT_GT(centres[1], centres[0]);
}

TEST_F(GlShadingTest, LineLayerLiesOverTheSceneAndPointsOnlyWithPolygonsOff) {
  f.d().options.axisOn = true;
  QImage image = Picture(1);
  // The x axis runs through the centre row in its own colour.
  const Rgb8 axis = f.d().offscreen.shown.palette()[f.m().colors.drawing.red];
  EXPECT_EQ(image.pixel(At(20, 0, 0)), qRgb(axis.red, axis.green, axis.blue));
  f.d().options.axisOn = false;
  f.d().options.polygonsOn = false;
  image = Picture(1);
  EXPECT_EQ(view.shadingState().quality, kQualityPoints);
  EXPECT_EQ(image.pixel(OnFace(kAxes[0], 0, 0)), qRgb(0, 0, 0));  // no face filled
  EXPECT_NE(image.pixel(At(kHalf, kHalf, kHalf)), qRgb(0, 0, 0));  // a corner's point
}

}  // namespace
}  // namespace ws::viewer
