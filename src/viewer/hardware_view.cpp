#include "viewer/hardware_view.h"

#include "viewer/gl_renderer.h"

namespace ws::viewer {
namespace {

constexpr std::array<float, 3> kWalkBackground = {0.3f, 0.3f, 1.0f};

}  // namespace

HardwareView::HardwareView(EditorDisplay& display, SoftwareEditView& software)
    : d_(display), software_(software) {}

bool HardwareView::CountsChanged() const {
  const ObjectTables& t = d_.model.tables;
  return t.pointCount != points_ || t.polygonCount != polygons_ || t.vectorCount != vectors_;
}

void HardwareView::BuildScene() {
  const ObjectTables& t = d_.model.tables;
  if (!t.allocated()) return;
  BuildSceneMesh(t, d_.model.colors.current, d_.frame.walkMode, mesh_);
  points_ = t.pointCount;
  polygons_ = t.polygonCount;
  vectors_ = t.vectorCount;
  if (d_.layout.editArea != drawRect_) {
    drawRect_ = d_.layout.editArea;
    if (host_) host_->Place(drawRect_);
  }
  rebuildNeeded_ = false;
  built_ = true;
  ++buildCount_;
}

void HardwareView::ProjectAll() {
  software_.ProjectAll();
  if (!built_) return;
  if (CountsChanged()) rebuildNeeded_ = true;
  if (d_.layout.editArea != drawRect_) {
    drawRect_ = d_.layout.editArea;
    if (host_) host_->Place(drawRect_);
    rebuildNeeded_ = true;
  }
  if (rebuildNeeded_) return;
  shadingState_ = ShadingFor(shadingMenu_, d_.options.polygonsOn);
  frames_ = PlaceFrames(d_, mesh_.largestExtent, d_.frame.walkMode);
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
    uploadedBuild_ = buildCount_;
  }
  RenderParams params;
  params.frames = frames_;
  params.shading = shadingState_;
  if (d_.frame.walkMode) params.background = kWalkBackground;
  // The plain view shows the editor's lines and marks over the scene.
  params.overlay = !d_.frame.walkMode && !d_.offscreen.empty();
  if (params.overlay) {
    renderer.UploadOverlay(d_.offscreen.shown, d_.layout.local, d_.model.colors.drawing.black);
  }
  return renderer.Render(params, width, height);
}

}  // namespace ws::viewer
