// Pictures of the hardware viewer read back from GL at 160 x 120: an OpenGL
// 3.3 core context on an offscreen surface, a framebuffer with depth, the
// viewer's renderer on it and an editor whose display it shows; skipped
// where no such context can be had. A box in each shading, and the walk
// set beside the software walk view of the same walk.
#include <gtest/gtest.h>

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>

#include "app/viewer_widget.h"
#include "app/viewer_wiring.h"
#include "editor_test_support.h"
#include "model/color_ops.h"
#include "model/startup.h"
#include "viewer/gl_renderer.h"
#include "viewer/hardware_view.h"
#include "walk/render_fixture.h"
#include "walk/walk_session.h"

namespace ws::viewer {
namespace {

class GlPictureTest : public ::testing::Test {
 public:
  static constexpr int kWidth = 160, kHeight = 120;

 protected:
  // Derived SetUps return at once when this skipped or failed.
  void SetUp() override {
    surface.setFormat(ViewerSurfaceFormat());
    surface.create();
    context.setFormat(ViewerSurfaceFormat());
    if (!context.create() || !context.makeCurrent(&surface) ||
        context.format().version() < qMakePair(3, 3)) {
      GTEST_SKIP() << "no OpenGL 3.3 core context here (run under xvfb-run -a with Mesa)";
    }
    fbo = std::make_unique<QOpenGLFramebufferObject>(kWidth, kHeight,
                                                     QOpenGLFramebufferObject::Depth);
    ASSERT_TRUE(fbo->bind());
    ASSERT_FALSE(renderer.Initialise().has_value());
    // The line layer stays empty: only the scene shows.
    f.d().options.gridOn = f.d().options.axisOn = f.d().options.vectorsOn = false;
    f.e().SetEditView(&view);
    // A half-bright red, so that no lit colour saturates.
    colour = NearestColor(f.m().colors.current, 0x8080, 0, 0);
  }
  bool Stopped() const { return IsSkipped() || HasFatalFailure(); }
  void TearDown() override {
    if (renderer.ready()) renderer.Release();
    fbo.reset();
    context.doneCurrent();
  }
  // The frame as the editor shows it, read back from GL as 32-bit RGB.
  QImage Picture(int shading) {
    view.SetShading(shading);
    f.e().ShowFrame();
    EXPECT_FALSE(view.Render(renderer, kWidth, kHeight).has_value());
    return fbo->toImage().convertToFormat(QImage::Format_RGB32);
  }

  QOffscreenSurface surface;
  QOpenGLContext context;
  std::unique_ptr<QOpenGLFramebufferObject> fbo;
  GlRenderer renderer;
  test::EditorFixture f{kWidth, kHeight};
  HardwareView view{f.d(), f.e().softwareView()};
  std::uint8_t colour = 0;
};

constexpr double kHalf = 40.0;
const Vec3d kAxes[6] = {{0, 0, 1}, {0, 0, -1}, {1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}};

class GlShadingTest : public GlPictureTest {
 protected:
  void SetUp() override {
    GlPictureTest::SetUp();
    if (Stopped()) return;
    const std::uint8_t c[6] = {colour, colour, colour, colour, colour, colour};
    test::AddCube(f.t(), {0, 0, 0}, kHalf, test::kPlainFaces, c);
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

// The front face in Gouraud and Phong: the corners' rounded normals make it
// brighter towards its top (where the light is), without steps along the
// way; Gouraud's colours rise all the way up, and Phong lights the middle
// from the interpolated normal, which points nearer the light there than
// the corners' normals do.
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
  EXPECT_EQ(image.pixel(OnFace(kAxes[0], 0, 0)), qRgb(0, 0, 0));   // no face filled
  EXPECT_NE(image.pixel(At(kHalf, kHalf, kHalf)), qRgb(0, 0, 0));  // a corner's point
}

// Walk mode: the GL picture of the walk beside the software walk view's
// frame of the same eye.
class GlWalkViewTest : public GlPictureTest {
 protected:
  void SetUp() override {
    GlPictureTest::SetUp();
    if (Stopped()) return;
    view.SetWalkSource(&source);
  }
  void CopyGroundTexture() {
    const std::string to = f.m().paths.base + std::string(kGroundTexture);
    std::filesystem::create_directories(std::filesystem::path(to).parent_path());
    std::filesystem::copy_file(test::BinaryDir() + "/" + std::string(kGroundTexture), to);
  }
  bool StartWalk(bool hideEnvironment) {
    for (std::uint32_t i = kReservedVectors; i < f.t().vectorCount; ++i) f.t().vectors[i].width = 0;
    return session.Start(kWidth, kHeight,
                         walk::WalkDisplayFor(f.m(), f.d().options, hideEnvironment));
  }
  const Surface8& SoftwarePicture() {
    Surface8& s = f.d().offscreen.draw;
    walk::RenderFrame(session.world(), session.display(), {s.Target().rows, kWidth, kHeight}, -1,
                      -1);
    return s;
  }

  walk::WalkSession session{f.m()};
  SessionWalkSource source{session};
};

// Two walls seen from two places: the GL silhouette of each, found by its
// unlit colour, lies on the software view's: its bounding box to within a
// pixel, and (the fill rules differ at the edges) no pixel of either
// picture more than 2 pixels from the other's.
TEST_F(GlWalkViewTest, SilhouettesLandWhereTheSoftwareWalkViewDrawsThem) {
  CopyGroundTexture();
  const std::uint8_t other = NearestColor(f.m().colors.current, 0, 0x8080, 0x8080);
  test::AddFacingRect(f.t(), 80, -30, 10, -15, 20, PolyFlag::kSelectedColor, colour, colour);
  test::AddFacingRect(f.t(), 110, 40, 70, -15, 25, PolyFlag::kSelectedColor, other, other);
  ASSERT_TRUE(StartWalk(true));
  // Stepped left and turned right; low and far back.
  for (const auto& [ex, ey, ez, heading] : {std::array{-25, 30, 15, 75}, {10, -60, 4, 95}}) {
    walk::WalkViewer& v = session.world().viewer;
    v.x = ex, v.y = ey, v.z = v.ground = ez, v.heading = heading;
    const QImage gl = Picture(0);
    const Surface8& sw = SoftwarePicture();
    for (std::uint8_t c : {colour, other}) {
      const RGB16 rgb = f.m().colors.current[c];
      const QRgb face = qRgb(rgb.red & 0xFF, rgb.green & 0xFF, rgb.blue & 0xFF);
      auto soft = [&](int x, int y) { return sw.At(x, y) == c; };
      auto hard = [&](int x, int y) { return gl.pixel(x, y) == face; };
      auto near = [](auto in, int x, int y) {
        for (int ny = std::max(y - 2, 0); ny <= std::min(y + 2, kHeight - 1); ++ny) {
          for (int nx = std::max(x - 2, 0); nx <= std::min(x + 2, kWidth - 1); ++nx) {
            if (in(nx, ny)) return true;
          }
        }
        return false;
      };
      QRect softBox, hardBox;
      int strays = 0;
      for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
          if (soft(x, y)) softBox |= QRect(x, y, 1, 1);
          if (hard(x, y)) hardBox |= QRect(x, y, 1, 1);
          strays += (soft(x, y) && !near(hard, x, y)) + (hard(x, y) && !near(soft, x, y));
        }
      }
      ASSERT_GT(softBox.width() * softBox.height(), 100) << heading << " colour " << int(c);
      // Each edge of either box within a pixel of the other's.
      EXPECT_TRUE(hardBox.adjusted(-1, -1, 1, 1).contains(softBox) &&
                  softBox.adjusted(-1, -1, 1, 1).contains(hardBox))
          << heading << " colour " << int(c);
      EXPECT_EQ(strays, 0) << heading << " colour " << int(c);
    }
  }
  EXPECT_TRUE(f.ui.Messages().empty());
}

// The upper half and 2 rows more are the walk view's own sky rows; below
// them the ground face, or the blue background when "ground.bmp" cannot
// be had, which is reported.
TEST_F(GlWalkViewTest, SkyStripOverTheGroundFaceOrTheBlueBackground) {
  ASSERT_TRUE(StartWalk(false));
  const int strip = kHeight / 2 + 2;
  for (bool withGround : {false, true}) {
    if (withGround) {
      CopyGroundTexture();
      view.Update();
    }
    const QImage gl = Picture(1);
    EXPECT_EQ(view.groundLoaded(), withGround);
    const Surface8& sw = SoftwarePicture();
    const auto& palette = f.d().offscreen.shown.palette();
    // The ground face covers the strip's rows below the horizon.
    for (int y = 0; y < (withGround ? kHeight / 2 + 1 : strip); ++y) {
      for (int x : {0, 37, kWidth - 1}) {
        const Rgb8 c = palette[sw.At(x, y)];
        ASSERT_EQ(gl.pixel(x, y), qRgb(c.red, c.green, c.blue)) << withGround << " row " << y;
      }
    }
    int blueBelow = 0;
    for (int y = strip; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) blueBelow += gl.pixel(x, y) == qRgb(76, 76, 255);
    }
    EXPECT_EQ(blueBelow, withGround ? 0 : (kHeight - strip) * kWidth) << withGround;
  }
  EXPECT_EQ(f.ui.MessageTexts(), std::vector<std::string>{"DirectX Error 80004005 - Generic "
                                                          "failure. - cam't load texture map."});
}

}  // namespace
}  // namespace ws::viewer
