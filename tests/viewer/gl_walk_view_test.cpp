// The hardware viewer in walk mode, read back from GL and set beside the
// software walk view of the same walk: the same silhouettes, the walk
// view's sky strip on top, the ground face or, without its texture, the
// blue background under the strip.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/viewer_wiring.h"
#include "gl_picture_fixture.h"
#include "model/color_ops.h"
#include "model/startup.h"
#include "walk/render_fixture.h"
#include "walk/walk_session.h"

namespace ws::viewer {
namespace {

struct Box {
  int left = GlPictureTest::kWidth, top = GlPictureTest::kHeight, right = -1, bottom = -1, count = 0;
  void Add(int x, int y) {
    left = std::min(left, x), right = std::max(right, x);
    top = std::min(top, y), bottom = std::max(bottom, y);
    ++count;
  }
};

class GlWalkViewTest : public GlPictureTest {
 protected:
  void SetUp() override {
    GlPictureTest::SetUp();
    if (Stopped()) return;
    colour = NearestColor(f.m().colors.current, 0x8080, 0, 0);
    view.SetWalkSource(&source);
  }
  void CopyGroundTexture() {
    const std::string to = f.m().paths.base + std::string(kGroundTexture);
    std::filesystem::create_directories(std::filesystem::path(to).parent_path());
    std::filesystem::copy_file(test::BinaryDir() + "/" + std::string(kGroundTexture), to);
  }
  bool StartWalk(bool hideEnvironment) {
    for (std::uint32_t i = kReservedVectors; i < f.t().vectorCount; ++i) f.t().vectors[i].width = 0;
    return session.Start(kWidth, kHeight, walk::WalkDisplayFor(f.m(), f.d().options, hideEnvironment));
  }
  // The walk as the tick presents it, then the GL picture.
  QImage GlPicture(int shading) {
    view.SetShading(shading);
    view.Present(f.d().layout.local, f.d().layout.editArea);
    EXPECT_FALSE(view.Render(renderer, kWidth, kHeight).has_value());
    return ReadBack();
  }
  // The software walk view's frame of the same eye.
  const Surface8& SoftwarePicture() {
    Surface8& s = f.d().offscreen.draw;
    walk::RenderFrame(session.world(), session.display(), {s.Target().rows, kWidth, kHeight}, -1, -1);
    return s;
  }
  void Place(double x, double y, double z, double heading) {
    walk::WalkViewer& v = session.world().viewer;
    v.x = x, v.y = y, v.z = v.ground = z, v.heading = heading;
  }

  walk::WalkSession session{f.m()};
  SessionWalkSource source{session};
  std::uint8_t colour = 0;
};

// Two walls seen from several places: the GL silhouette of each, found by
// its unlit colour, lies on the software view's: its bounding box to within
// a pixel, every pixel of it within two.
TEST_F(GlWalkViewTest, SilhouettesLandWhereTheSoftwareWalkViewDrawsThem) {
  CopyGroundTexture();
  const std::uint8_t other = NearestColor(f.m().colors.current, 0, 0x8080, 0x8080);
  test::AddFacingRect(f.t(), 80, -30, 10, -15, 20, PolyFlag::kSelectedColor, colour, colour);
  test::AddFacingRect(f.t(), 110, 40, 70, -15, 25, PolyFlag::kSelectedColor, other, other);
  ASSERT_TRUE(StartWalk(true));
  struct Row {
    const char* name;
    double x, y, z, heading;
  };
  const Row rows[] = {{"stepped left, turned right", -25, 30, 15, 75}, {"low, far back", 10, -60, 4, 95}};
  for (const Row& row : rows) {
    Place(row.x, row.y, row.z, row.heading);
    const QImage gl = GlPicture(0);
    const Surface8& sw = SoftwarePicture();
    for (std::uint8_t c : {colour, other}) {
      const RGB16 rgb = f.m().colors.current[c];
      const QRgb face = qRgb(rgb.red & 0xFF, rgb.green & 0xFF, rgb.blue & 0xFF);
      Box soft, hard;
      std::vector<bool> softMask(kWidth * kHeight), hardMask(kWidth * kHeight);
      for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
          if ((softMask[y * kWidth + x] = sw.At(x, y) == c)) soft.Add(x, y);
          if ((hardMask[y * kWidth + x] = gl.pixel(x, y) == face)) hard.Add(x, y);
        }
      }
      ASSERT_GT(soft.count, 100) << row.name << " colour " << int(c);
      EXPECT_LE(std::max({std::abs(hard.left - soft.left), std::abs(hard.right - soft.right),
                          std::abs(hard.top - soft.top), std::abs(hard.bottom - soft.bottom)}), 1)
          << row.name << " colour " << int(c);
      // The fill rules differ (the software filler takes both end pixels
      // of a span, from corners cut to whole pixels): each picture's pixels
      // lie within 2 pixels of the other's.
      auto strays = [&](const std::vector<bool>& from, const std::vector<bool>& to) {
        int n = 0;
        for (int y = 0; y < kHeight; ++y) {
          for (int x = 0; x < kWidth; ++x) {
            if (!from[y * kWidth + x]) continue;
            bool near = false;
            for (int dy = -2; dy <= 2; ++dy) {
              for (int dx = -2; dx <= 2; ++dx) {
                const int nx = x + dx, ny = y + dy;
                near |= nx >= 0 && ny >= 0 && nx < kWidth && ny < kHeight && to[ny * kWidth + nx];
              }
            }
            n += !near;
          }
        }
        return n;
      };
      EXPECT_EQ(strays(softMask, hardMask), 0) << row.name << " colour " << int(c);
      EXPECT_EQ(strays(hardMask, softMask), 0) << row.name << " colour " << int(c);
    }
  }
  EXPECT_TRUE(f.ui.Messages().empty());
}

// The upper half and 2 rows more are the walk view's own sky rows; below
// them the ground face, or the blue background when "ground.bmp" cannot
// be had, which is reported.
TEST_F(GlWalkViewTest, SkyStripOverTheGroundFaceOrTheBlueBackground) {
  ASSERT_TRUE(StartWalk(false));
  const int strip = SkyStripRows(kHeight);
  ASSERT_EQ(strip, kHeight / 2 + 2);
  const QRgb blue = qRgb(76, 76, 255);
  for (bool withGround : {false, true}) {
    if (withGround) {
      CopyGroundTexture();
      view.Update();
    }
    const QImage gl = GlPicture(1);
    EXPECT_EQ(view.groundLoaded(), withGround);
    const Surface8& sw = SoftwarePicture();
    const auto& palette = f.d().offscreen.shown.palette();
    // The ground face, part of the scene, covers the strip's rows below
    // the horizon.
    for (int y = 0; y < (withGround ? kHeight / 2 + 1 : strip); ++y) {
      for (int x : {0, 37, kWidth - 1}) {
        const Rgb8 c = palette[sw.At(x, y)];
        ASSERT_EQ(gl.pixel(x, y), qRgb(c.red, c.green, c.blue)) << withGround << " row " << y;
      }
    }
    int blueBelow = 0;
    for (int y = strip; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) blueBelow += gl.pixel(x, y) == blue;
    }

    EXPECT_EQ(blueBelow, withGround ? 0 : (kHeight - strip) * kWidth) << withGround;
  }
  EXPECT_EQ(f.ui.MessageTexts(),
            std::vector<std::string>{"DirectX Error 80004005 - Generic failure. - cam't load texture map."});
}

}  // namespace
}  // namespace ws::viewer
