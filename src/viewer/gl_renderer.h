// The GL side of the hardware viewer: OpenGL 3.3 core with two small
// shader programs of our own. The scene program lights the mesh by the
// shading of its quality word (None: the face colour; Flat: one colour per
// face from its normal; Gouraud: lighting at the corners, interpolated;
// Phong: lighting at every pixel from the interpolated smooth normal), with
// the point light and the ambient level. The overlay program lays the
// editor's line layer (every pixel not of the background colour) over the
// picture. In walk mode the walk view's sky strip is laid over the top of
// the background first and the textured ground face under the scene, both
// as background: the scene is drawn over them whatever their depth.
//
// Every call needs the caller's context current. Nothing is allocated per
// frame once the buffers have their size.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "raster/surface8.h"
#include "viewer/viewer_errors.h"
#include "viewer/viewer_scene.h"

class QImage;
class QOpenGLFunctions_3_3_Core;

namespace ws::viewer {

struct RenderParams {
  SceneFrames frames;
  ShadingState shading;
  std::array<float, 3> background{0.0f, 0.0f, 0.0f};
  bool overlay = true;
  // Walk mode: the sky strip (UploadSky) over this share of the picture's
  // height from the top, and the ground face (UploadGround) at height 0
  // around `groundCentre` (mesh x and z).
  float skyCoverage = 0.0f;
  bool ground = false;
  std::array<float, 2> groundCentre{0.0f, 0.0f};
};

// The ground face repeats its texture every this many world units, one
// texel a unit like the walk view's floor, and reaches as far as the back
// clipping plane from the eye.
inline constexpr float kGroundTexturePeriod = 256.0f;

class GlRenderer {
 public:
  GlRenderer();
  ~GlRenderer();
  GlRenderer(const GlRenderer&) = delete;
  GlRenderer& operator=(const GlRenderer&) = delete;

  // Checks the context (3.3 core or later) and builds the programs and
  // buffers. The failure (code and operation) when that is not possible.
  std::optional<ViewerFailure> Initialise();
  bool ready() const { return ready_; }
  // Frees the GL objects (context current), so Initialise can run again.
  void Release();

  void UploadMesh(const SceneMesh& mesh);
  // The local rectangle of `bitmap` as the overlay texture: pixels of the
  // background colour transparent, the others in their palette colour.
  void UploadOverlay(const Surface8& bitmap, const IntRect& local, std::uint8_t background);
  // The sky strip: every pixel of `rows` in its palette colour.
  void UploadSky(PixelRows rows, const std::array<Rgb8, 256>& palette);
  // The ground face's texture; false when the image is empty.
  bool UploadGround(const QImage& image);
  // Draws one picture into the current framebuffer's viewport of width x
  // height pixels. The first GL error raised, if any.
  std::optional<ViewerFailure> Render(const RenderParams& params, int width, int height);

 private:
  bool BuildPrograms();
  std::optional<ViewerFailure> CheckError(const char* operation);
  struct Layer {
    std::uint32_t texture = 0;
    int width = 0, height = 0;
  };
  template <typename RowOf>
  void UploadIndexed(Layer& layer, RowOf rowOf, int left, int width, int height,
                     const std::array<Rgb8, 256>& palette, int transparent);
  void DrawLayer(const Layer& layer, float coverage);

  QOpenGLFunctions_3_3_Core* gl_ = nullptr;
  bool ready_ = false;
  std::uint32_t sceneProgram_ = 0;
  std::uint32_t overlayProgram_ = 0;
  std::uint32_t groundProgram_ = 0;
  std::uint32_t groundTexture_ = 0;
  bool haveGround_ = false;
  std::uint32_t triangleArray_ = 0, triangleBuffer_ = 0;
  std::uint32_t lineArray_ = 0, lineBuffer_ = 0;
  std::uint32_t quadArray_ = 0;
  Layer overlay_;
  Layer sky_;
  int triangleVertices_ = 0;
  int lineVertices_ = 0;
  bool haveOverlay_ = false;
  std::vector<std::uint32_t> layerPixels_;
};

}  // namespace ws::viewer
