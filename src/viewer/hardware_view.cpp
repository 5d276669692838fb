#include "viewer/hardware_view.h"

#include <algorithm>

#include "model/startup.h"
#include "viewer/gl_renderer.h"

namespace ws::viewer {

int SkyStripRows(int height) { return std::min(height, height / 2 + 2); }

HardwareView::HardwareView(EditorDisplay& display, SoftwareEditView& software)
    : d_(display), software_(software) {}

bool HardwareView::SourceChanged() const {
  return SceneSourceHash(d_.model.tables, d_.model.colors.current) != builtFrom_;
}

std::optional<WalkEye> HardwareView::Eye() const { return walk_ ? walk_->Eye() : std::nullopt; }

void HardwareView::BuildScene() {
  const ObjectTables& t = d_.model.tables;
  if (!t.allocated()) return;
  builtWalking_ = Eye().has_value();
  BuildSceneMesh(t, d_.model.colors.current, builtWalking_, mesh_);
  ground_ = QImage();
  if (builtWalking_) {
    ground_ = QImage(QString::fromStdString(d_.model.paths.base + std::string(kGroundTexture)));
    if (ground_.isNull()) {
      d_.model.ui().ShowError(FormatViewerError(kResultGenericFailure, kGroundTextureFailure));
    }
  }
  builtFrom_ = SceneSourceHash(t, d_.model.colors.current);
  if (d_.layout.editArea != drawRect_) {
    drawRect_ = d_.layout.editArea;
    if (host_) host_->Place(drawRect_);
  }
  rebuildNeeded_ = false;
  built_ = true;
  ++buildCount_;
}

void HardwareView::FollowWalk(const WalkEye& eye) {
  if (d_.layout.editArea != drawRect_) {
    drawRect_ = d_.layout.editArea;
    if (host_) host_->Place(drawRect_);
  }
  if (!built_ || rebuildNeeded_ || !builtWalking_ || SourceChanged()) BuildScene();
  shadingState_ = ShadingFor(shadingMenu_, d_.options.polygonsOn);
  frames_ = PlaceWalkFrames(eye, d_.layout.width(), d_.layout.height());
}

void HardwareView::ProjectAll() {
  software_.ProjectAll();
  if (const std::optional<WalkEye> eye = Eye()) {
    FollowWalk(*eye);
    return;
  }
  if (!built_) return;
  if (SourceChanged() || builtWalking_) rebuildNeeded_ = true;
  if (d_.layout.editArea != drawRect_) {
    drawRect_ = d_.layout.editArea;
    if (host_) host_->Place(drawRect_);
    rebuildNeeded_ = true;
  }
  if (rebuildNeeded_) return;
  shadingState_ = ShadingFor(shadingMenu_, d_.options.polygonsOn);
  frames_ = PlaceFrames(d_, mesh_.largestExtent);
}

int HardwareView::DrawFrame(std::int32_t polygonToCheck) {
  if (rebuildNeeded_) {
    BuildScene();
    ProjectAll();
  }
  // The layer under and over the scene: no polygon fills, those are ours.
  d_.frame.renderer = kRendererDirectX;
  return software_.DrawFrame(polygonToCheck);
}

void HardwareView::Present(const IntRect& source, const IntRect& target) {
  software_.Present(source, target);
  if (const std::optional<WalkEye> eye = Eye()) FollowWalk(*eye);
  if (!host_) return;
  if (target != drawRect_) {
    drawRect_ = target;
    host_->Place(target);
  }
  host_->RequestPaint();
}

std::optional<ViewerFailure> HardwareView::Render(GlRenderer& renderer, int width, int height) {
  if (!built_) return std::nullopt;
  if (uploadedBuild_ != buildCount_) {
    renderer.UploadMesh(mesh_);
    if (builtWalking_) renderer.UploadGround(ground_);
    uploadedBuild_ = buildCount_;
  }
  RenderParams params;
  params.frames = frames_;
  params.shading = shadingState_;
  if (builtWalking_) {
    params.background = kWalkBackground;
    params.ground = !ground_.isNull();
    params.groundCentre = {frames_.camera(0, 3), frames_.camera(2, 3)};
    const int w = d_.layout.width(), h = d_.layout.height();
    if (walk_ && w > 0 && h > 0 && !d_.offscreen.empty()) {
      const int rows = SkyStripRows(h);
      skyPixels_.resize(static_cast<std::size_t>(w) * rows);
      skyRows_.resize(static_cast<std::size_t>(rows));
      for (int r = 0; r < rows; ++r)
        skyRows_[static_cast<std::size_t>(r)] = &skyPixels_[static_cast<std::size_t>(r) * w];
      const PixelRows strip{skyRows_.data(), w, rows};
      walk_->DrawBackground(strip);
      renderer.UploadSky(strip, d_.offscreen.shown.palette());
      params.skyCoverage = static_cast<float>(rows) / static_cast<float>(h);
    }
  }
  // The plain view shows the editor's lines and marks over the scene.
  params.overlay = !builtWalking_ && !d_.offscreen.empty();
  if (params.overlay) {
    renderer.UploadOverlay(d_.offscreen.shown, d_.layout.local, d_.model.colors.drawing.black);
  }
  return renderer.Render(params, width, height);
}

}  // namespace ws::viewer
