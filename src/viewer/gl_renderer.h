// The GL side of the hardware viewer: OpenGL 3.3 core with two small
// shader programs of our own. The scene program lights the mesh by the
// shading of its quality word (None: the face colour; Flat: one colour per
// face from its normal; Gouraud: lighting at the corners, interpolated;
// Phong: lighting at every pixel from the interpolated smooth normal), with
// the point light and the ambient level. The overlay program lays the
// editor's line layer (every pixel not of the background colour) over the
// picture.
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

class QOpenGLFunctions_3_3_Core;

namespace ws::viewer {

struct RenderParams {
  SceneFrames frames;
  ShadingState shading;
  std::array<float, 3> background{0.0f, 0.0f, 0.0f};
  bool overlay = true;
};

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
  // Draws one picture into the current framebuffer's viewport of width x
  // height pixels. The first GL error raised, if any.
  std::optional<ViewerFailure> Render(const RenderParams& params, int width, int height);

 private:
  bool BuildPrograms();
  std::optional<ViewerFailure> CheckError(const char* operation);

  QOpenGLFunctions_3_3_Core* gl_ = nullptr;
  bool ready_ = false;
  std::uint32_t sceneProgram_ = 0;
  std::uint32_t overlayProgram_ = 0;
  std::uint32_t triangleArray_ = 0, triangleBuffer_ = 0;
  std::uint32_t lineArray_ = 0, lineBuffer_ = 0;
  std::uint32_t quadArray_ = 0;
  std::uint32_t overlayTexture_ = 0;
  int triangleVertices_ = 0;
  int lineVertices_ = 0;
  int overlayWidth_ = 0, overlayHeight_ = 0;
  bool haveOverlay_ = false;
  std::vector<std::uint32_t> overlayPixels_;
};

}  // namespace ws::viewer
