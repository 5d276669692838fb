// The hardware viewer as the editor's second EditView. It keeps the
// retained scene (viewer_scene.h) in step with the object and the view
// state; the window system supplies a ViewerHost (a GL widget laid over the
// EditArea) that owns the context and calls Render when it paints.
//
// BuildScene   the mesh from the object; the hash of what it was built from
//              (SceneSourceHash) is kept and the rebuild flag cleared;
// ProjectAll   projects for the editor's own line layer (the software
//              projection, which hit tests read), then notices a rebuild:
//              a changed object or palette, even one with the same counts,
//              or another drawing rectangle (the host is moved); when one
//              is needed nothing more happens; else the
//              shading and the frames are placed;
// DrawFrame    the editor's line layer (axes, wire frame, grid, labels; the
//              software view leaves the polygons to us while DirectX is
//              chosen), after a pending rebuild and projection;
// Present      the layer to the EditArea's bitmap and a repaint of the host;
// Update       the update hook: a rebuild before the next picture.
//
// Walk mode (while the WalkSource has an eye): the mesh at the walk view's
// quarter scale with the ground face under it ("ground.bmp" of the texture
// directory; a failure to load it is reported and the ground left out), the
// camera and the lights following the eye, the blue background, and the
// walk view's sky strip (the upper half of the picture and 2 rows more)
// under the scene. The walk view draws nothing through DrawFrame; its
// Present places the frames for the eye of the moment. Leaving walk mode
// rebuilds the plain scene.
#pragma once

#include <QImage>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "editor/view/display.h"
#include "editor/view/edit_view.h"
#include "editor/view/software_view.h"
#include "viewer/viewer_scene.h"

namespace ws::viewer {

class GlRenderer;
struct ViewerFailure;

class ViewerHost {
 public:
  virtual ~ViewerHost() = default;
  // Move the picture over `target` (window client coordinates, inclusive).
  virtual void Place(const IntRect& target) = 0;
  // Paint soon (the host calls HardwareView::Render with its context).
  virtual void RequestPaint() = 0;
};

inline constexpr std::string_view kGroundTextureFailure = "cam't load texture map.";
inline constexpr std::array<float, 3> kWalkBackground = {0.3f, 0.3f, 1.0f};

// What the walk view lends the viewer.
class WalkSource {
 public:
  virtual ~WalkSource() = default;
  // The eye while walk mode runs; nothing otherwise.
  virtual std::optional<WalkEye> Eye() const = 0;
  // The walk view's background for its top target.height rows.
  virtual void DrawBackground(PixelRows target) = 0;
};

// The rows of the sky strip for a picture `height` rows high.
int SkyStripRows(int height);

class HardwareView final : public EditView {
 public:
  HardwareView(EditorDisplay& display, SoftwareEditView& software);

  void SetHost(ViewerHost* host) { host_ = host; }
  void SetWalkSource(WalkSource* walk) { walk_ = walk; }
  // The DirectX Shading menu value, 0..3.
  void SetShading(int shading) { shadingMenu_ = shading; }
  int shading() const { return shadingMenu_; }

  void BuildScene();
  void ProjectAll() override;
  int DrawFrame(std::int32_t polygonToCheck) override;
  void Present(const IntRect& source, const IntRect& target) override;
  void Update() override { rebuildNeeded_ = true; }

  // One picture with `renderer` (its context current): the scene over the
  // background and the line layer over it. The GL failure, if any.
  std::optional<ViewerFailure> Render(GlRenderer& renderer, int width, int height);
  // The renderer lost its buffers (a new context): upload the mesh again.
  void RendererReset() { uploadedBuild_ = 0; }

  bool rebuildNeeded() const { return rebuildNeeded_; }
  std::uint32_t buildCount() const { return buildCount_; }
  const SceneMesh& mesh() const { return mesh_; }
  const SceneFrames& frames() const { return frames_; }
  bool builtForWalk() const { return builtWalking_; }
  bool groundLoaded() const { return !ground_.isNull(); }
  ShadingState shadingState() const { return shadingState_; }

 private:
  bool SourceChanged() const;
  std::optional<WalkEye> Eye() const;
  void FollowWalk(const WalkEye& eye);

  EditorDisplay& d_;
  SoftwareEditView& software_;
  ViewerHost* host_ = nullptr;
  WalkSource* walk_ = nullptr;
  QImage ground_;
  std::vector<std::uint8_t> skyPixels_;
  std::vector<std::uint8_t*> skyRows_;
  bool builtWalking_ = false;
  SceneMesh mesh_;
  SceneFrames frames_;
  ShadingState shadingState_;
  int shadingMenu_ = 0;
  bool rebuildNeeded_ = true;
  bool built_ = false;
  std::uint32_t buildCount_ = 0;
  std::uint32_t uploadedBuild_ = 0;
  std::uint64_t builtFrom_ = 0;  // SceneSourceHash of the built scene
  IntRect drawRect_;
};

}  // namespace ws::viewer
