// The Rendering menu, the DirectX Shading items, the DirectX Debug frame
// information dialogs and the P key's printing, wired to the main window.
//
// "DirectX" makes the hardware viewer (once; a second choice reuses it),
// lays its GL widget over the EditArea, makes it the current EditView and
// asks it to rebuild. When no OpenGL 3.3 core context can be had the
// failure is reported as "DirectX Error %08X - %s - %s" and the editor stays
// on the software renderer; a later failure of the renderer does the same
// and switches back. "Software" hides the widget and makes the software
// view current again. In walk mode the viewer draws the walk session's
// view: its eye and its sky (SessionWalkSource); walk editing works on the
// walk view's own picture under the GL one, and the scene is rebuilt when a
// mouse button comes up over the EditArea, so the edits made while it was
// held show.
#pragma once

#include <QObject>
#include <QPrinter>
#include <QSurfaceFormat>
#include <array>
#include <functional>
#include <memory>

#include "editor/shell/commands.h"
#include "viewer/hardware_view.h"

class QAction;

namespace ws {

class EditorApp;
class FrameInfoDialog;
class ViewerWidget;
namespace walk {
class WalkSession;
}

// The walk session as the hardware viewer's walk source: its eye while the
// session runs, and its background (sky rows, ground) for the sky strip.
class SessionWalkSource final : public viewer::WalkSource {
 public:
  explicit SessionWalkSource(walk::WalkSession& session) : session_(session) {}
  std::optional<viewer::WalkEye> Eye() const override;
  void DrawBackground(PixelRows target) override;

 private:
  walk::WalkSession& session_;
};

class ViewerWiring final : public QObject {
  Q_OBJECT
 public:
  enum InfoFrame { kMeshInfo = 0, kLightInfo = 1, kCameraInfo = 2 };

  explicit ViewerWiring(EditorApp& app);
  ~ViewerWiring() override;

  bool eventFilter(QObject* watched, QEvent* event) override;

  // Stands in for the print dialog when set (tests print to a PDF file).
  std::function<bool(QPrinter&)> choosePrinter;
  // The context the viewer asks for (OpenGL 3.3 core).
  QSurfaceFormat contextFormat;

  ViewerWidget* widget() const { return widget_; }
  viewer::HardwareView* view() const { return view_.get(); }
  int viewersCreated() const { return viewersCreated_; }
  QAction* infoAction(InfoFrame which) const { return infoActions_[which]; }
  FrameInfoDialog* infoDialog(InfoFrame which) const { return infoDialogs_[which]; }

 private:
  void ChooseDirectX();
  void ChooseSoftware();
  void SetShading(int shading);
  void ToggleInfo(InfoFrame which);
  void RefreshInfo();
  void Report(const viewer::ViewerFailure& failure);
  void Print(double factor);

  EditorApp& app_;
  CommandHandler coreSoftware_;
  SessionWalkSource walkSource_;
  std::unique_ptr<viewer::HardwareView> view_;
  ViewerWidget* widget_ = nullptr;
  int viewersCreated_ = 0;
  std::array<QAction*, 3> infoActions_{};
  std::array<FrameInfoDialog*, 3> infoDialogs_{};
};

}  // namespace ws
