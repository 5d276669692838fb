// EditorViews over the Editor aggregate (editor.h): what the command table,
// the key handler and the tick ask of the views, answered by the editor's
// display state, layout, hit tester and current EditView. It also copies
// the shell's mode and flags into the frame state before each frame.
#pragma once

#include "editor/editor.h"
#include "editor/shell/shell_state.h"
#include "editor/view/editor_views.h"

namespace ws {

class EditorBinding final : public EditorViews {
 public:
  EditorBinding(Editor& editor, ShellState& shell) : editor_(editor), shell_(shell) {}

  DisplayOptions Display() const override { return editor_.display.options; }
  void SetDisplay(const DisplayOptions& display) override { editor_.display.options = display; }
  int GridStep() const override { return editor_.display.view.gridStep; }
  void SetGridStep(int step) override { editor_.display.view.gridStep = step; }
  void PanBy(double dx, double dy) override;
  bool Layout(int clientWidth, int clientHeight, int helpBoxRight) override;
  IntRect EditArea() const override;
  HoverResult Hover(int mode, int localX, int localY) override;
  void DrawAndPresent() override;
  void TurnToView(char letter) override;
  double ScaleFactor() const override { return editor_.display.view.scale; }
  void SetSliderScale(int position) override { editor_.SetSlider(position); }
  void Scale100() override { editor_.Scale100(); }
  void Scale50() override { editor_.Scale50(); }
  void ApplyScale() override { editor_.ApplyScale(); }
  void SetQuickCommandsShown(bool shown, int mode, bool walkModeActive, int walkEditMode) override;
  void InitialiseDisplay() override { editor_.InitialiseDisplay(); }
  void ResetForNewObject() override { editor_.ObjectReplaced(); }
  void ColorTableChanged() override { editor_.ColorTableChanged(); }

  // The shell's mode and flags into the frame state.
  void SyncFrameState();

 private:
  Editor& editor_;
  ShellState& shell_;
};

}  // namespace ws
