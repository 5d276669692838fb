#include "editor/editor.h"

#include <algorithm>

namespace ws {

Editor::Editor(Runtime& rt, std::uint32_t sparkleSeed)
    : model(rt),
      display(model),
      software_(std::make_unique<SoftwareEditView>(display, sparkleSeed)) {
  current_ = software_.get();
  model.SetObserver(this);
}

Editor::~Editor() { model.SetObserver(nullptr); }

void Editor::InitialiseDisplay() {
  display.options = OptionsFromPreferences(model.preferences);
  display.labels.Clear();
  display.labels.SetAxisLabels(model.colors.drawing);
  display.view.panX = 0.0;
  display.view.panY = 0.0;
  ResetViewForObject(model.view, display.view);
}

bool Editor::Layout(int clientWidth, int clientHeight, int helpBoxRight) {
  if (clientWidth <= 0 || clientHeight <= 0) return false;
  display.layout = ComputeEditAreaLayout(clientWidth, clientHeight, helpBoxRight);
  return FinishLayout();
}

bool Editor::LayoutArea(int width, int height) {
  if (width <= 0 || height <= 0) return false;
  display.layout = LayoutForAreaSize(width, height);
  return FinishLayout();
}

bool Editor::FinishLayout() {
  if (!display.CreateSurface()) {
    model.rt.fatalError = true;
    return false;
  }
  if (!software_->Allocate()) return false;
  display.frame.firstLayoutPending = false;
  return true;
}

void Editor::ShowFrame() {
  current_->ProjectAll();
  current_->DrawFrame(0);
  current_->Present(display.layout.local, display.layout.editArea);
}

namespace {

class EditorTurnSteps final : public TurnAnimation {
 public:
  explicit EditorTurnSteps(Editor& editor) : editor_(editor) {}
  void TurnStep() override {
    if (editor_.yieldProcessor) editor_.yieldProcessor();
    editor_.ShowFrame();
  }

 private:
  Editor& editor_;
};

}  // namespace

bool Editor::TurnToView(char letter) {
  const std::optional<int> target = ViewCodeForLetter(letter);
  if (!target || *target == model.view.viewCode) return false;
  EditorTurnSteps steps(*this);
  display.view.turnInProgress = true;
  const bool turned =
      ws::TurnToView(model.view, *target, display.options.instantViewChange ? nullptr : &steps);
  display.view.turnInProgress = false;
  return turned;
}

void Editor::BeginFreeRotation() {
  ws::BeginFreeRotation(model.view);
  display.view.rotationInProgress = true;
}

void Editor::FreeRotationStep(int fromX, int fromY, int toX, int toY) {
  const EditAreaLayout& l = display.layout;
  ws::FreeRotationStep(model.view, fromX, fromY, toX, toY, l.cx, l.cy,
                       l.local.right - l.local.left);
  display.frame.ants.Advance(display.clock->NowMs());
  ShowFrame();
}

void Editor::FrameOutsideWalk() {
  if (!display.frame.walkMode) ShowFrame();
}

void Editor::SetSlider(int position) {
  ws::SetSlider(display.view, position);
  FrameOutsideWalk();
}

void Editor::Scale100() {
  SetScale100(display.view);
  FrameOutsideWalk();
}

void Editor::Scale50() {
  SetScale50(display.view);
  FrameOutsideWalk();
}

void Editor::ApplyScale() {
  ws::ApplyScale(model.tables, display.view);
  FrameOutsideWalk();
}

void Editor::ColorTableChanged() {
  if (!display.offscreen.empty()) display.offscreen.SetPalette(model.colors.current);
  display.labels.SetAxisLabels(model.colors.drawing);
}

void Editor::ObjectReplaced() {
  ResetViewForObject(model.view, display.view);
  ObjectTables& t = model.tables;
  if (t.allocated()) {
    for (std::uint32_t i = kReservedVectors; i < t.vectorCount; ++i)
      t.vectors[i].selected = kUnselected;
  }
  std::fill(t.polygonSelected.begin(), t.polygonSelected.end(), kUnselected);
  display.selection.hover = HoverState{};
}

}  // namespace ws
