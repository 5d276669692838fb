// Carries the model's notifications (model.h ModelObserver) to the shell
// and the views: help lines become the help text, a replaced object resets
// the views, a new colour table rebuilds the palette, and list and title
// changes bump the versions the window watches.
#pragma once

#include "editor/shell/shell_state.h"
#include "editor/view/editor_views.h"
#include "model/model.h"

namespace ws {

class ShellObserver : public ModelObserver {
 public:
  ShellObserver(ShellState& shell, EditorViews& views) : shell_(shell), views_(views) {}

  void ColorTableChanged() override {
    views_.ColorTableChanged();
    shell_.RequestRedraw();
  }
  void ObjectReplaced() override {
    views_.ResetForNewObject();
    shell_.hoveredVector = 0;
    shell_.hoveredPolygon = -1;
    shell_.RequestRedraw();
    shell_.RequestMenuRefresh();
  }
  void SetHelpLine(std::string_view text) override { SetHelpText(shell_, text); }
  void ObjectListChanged() override {
    ++shell_.objectListVersion;
    shell_.RequestMenuRefresh();
  }
  void WindowTitleChanged() override { ++shell_.windowTitleVersion; }

 private:
  ShellState& shell_;
  EditorViews& views_;
};

}  // namespace ws
