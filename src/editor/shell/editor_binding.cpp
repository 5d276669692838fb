#include "editor/shell/editor_binding.h"

namespace ws {

void EditorBinding::PanBy(double dx, double dy) {
  editor_.display.view.panX += dx;
  editor_.display.view.panY += dy;
}

bool EditorBinding::Layout(int clientWidth, int clientHeight, int helpBoxRight) {
  return editor_.Layout(clientWidth, clientHeight, helpBoxRight);
}

IntRect EditorBinding::EditArea() const {
  if (editor_.display.frame.firstLayoutPending) return {};
  return editor_.display.layout.editArea;
}

HoverResult EditorBinding::Hover(int mode, int localX, int localY) {
  EditorDisplay& d = editor_.display;
  SyncFrameState();
  // The hit tests read the projection and the not-drawn marks of the last
  // frame, as the picture on screen shows them.
  UpdateHover(d.selection.hover, editor_.hitTester, editor_.model.tables, d.MakeProjector(), mode,
              true, localX, localY, d.options.polygonsOn, d.options.showInvisible);
  return {d.selection.hover.vector, d.selection.hover.polygon};
}

void EditorBinding::SyncFrameState() {
  FrameState& f = editor_.display.frame;
  f.mode = shell_.mode;
  f.walkMode = shell_.walkModeActive;
  f.renderer = shell_.rendererChoice;
  f.quickCommandsShown = shell_.quickCommandsShown;
  f.applicationActive = shell_.applicationActive;
  editor_.display.selection.polygonMarquee = shell_.marqueeSelection;
  // The hover of the tick belongs to the modes that test; others show none.
  if (!ModeTestsVectors(shell_.mode) && !ModeTestsPolygons(shell_.mode)) {
    editor_.display.selection.hover = HoverState{};
  }
}

void EditorBinding::DrawAndPresent() {
  SyncFrameState();
  editor_.ShowFrame();
}

void EditorBinding::TurnToView(char letter) {
  SyncFrameState();
  editor_.TurnToView(letter);
}

void EditorBinding::SetQuickCommandsShown(bool shown, int mode, bool walkModeActive,
                                          int walkEditMode) {
  editor_.display.labels.Rebuild(editor_.model.colors.drawing, mode, walkModeActive, walkEditMode);
  editor_.display.frame.quickCommandsShown = shown;
}

}  // namespace ws
