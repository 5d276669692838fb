#include "app/viewer_wiring.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QOffscreenSurface>
#include <QOpenGLContext>

#include "app/edit_area.h"
#include "app/editor_app.h"
#include "app/frame_info_dialog.h"
#include "app/main_window.h"
#include "app/qt_printer.h"
#include "app/viewer_widget.h"
#include "editor/shell/command_ids.h"
#include "editor/view/print_page.h"
#include "import/x_export.h"
#include "viewer/viewer_errors.h"
#include "walk/render_frame.h"
#include "walk/walk_session.h"

namespace ws {
namespace {

constexpr std::array<const char*, 3> kInfoItems = {"Mesh Info", "Light Info", "Camera Info"};
constexpr std::array<const char*, 3> kInfoTitles = {"Mesh Frame Info", "Light Frame Info",
                                                    "Camera Frame Information"};

// Whether a context of `format` can be made at all; the failure if not.
std::optional<viewer::ViewerFailure> ProbeContext(const QSurfaceFormat& format) {
  QOpenGLContext context;
  context.setFormat(format);
  if (!context.create()) {
    return viewer::ViewerFailure{viewer::kResultGenericFailure, "Create an OpenGL context"};
  }
  if (context.format().version() < format.version() || context.isOpenGLES()) {
    return viewer::ViewerFailure{viewer::kResultNotSupported, QString("Acquire OpenGL %1.%2 core")
                                                                  .arg(format.majorVersion())
                                                                  .arg(format.minorVersion())
                                                                  .toStdString()};
  }
  return std::nullopt;
}

// The viewer places the walk mesh the way the walk world places its first
// item.
static_assert(viewer::kWalkItemOffset == walk::kFirstItemOffsetY);
static_assert(kWalkExportScale == walk::kFirstItemScale);

}  // namespace

std::optional<viewer::WalkEye> SessionWalkSource::Eye() const {
  if (!session_.active()) return std::nullopt;
  const walk::WalkViewer& v = session_.viewer();
  return viewer::WalkEye{v.x, v.y, v.z, v.heading};
}

void SessionWalkSource::DrawBackground(PixelRows target) {
  if (session_.active()) walk::DrawBackground(session_.world(), session_.display(), target);
}

ViewerWiring::ViewerWiring(EditorApp& app)
    : contextFormat(ViewerSurfaceFormat()), app_(app), walkSource_(app.walkSession()) {
  CommandRegistry& r = app_.registry();
  if (const CommandHandler* core = r.Find(Cmd::kRenderSoftware)) coreSoftware_ = *core;
  r.Register(Cmd::kRenderDirectX, [this](CommandContext&) { ChooseDirectX(); });
  r.Register(Cmd::kRenderSoftware, [this](CommandContext&) { ChooseSoftware(); });
  const int shadingIds[] = {Cmd::kShadingNone, Cmd::kShadingFlat, Cmd::kShadingGouraud,
                            Cmd::kShadingPhong};
  for (int s = 0; s < 4; ++s) {
    r.Register(shadingIds[s], [this, s](CommandContext&) { SetShading(s); });
  }
  app_.hooks().printEditArea = [this](double f) { Print(f); };

  // The debug items sit under Rendering beside the shading menu.
  MainWindow* w = app_.window();
  w->editArea()->installEventFilter(this);
  if (auto* rendering = qobject_cast<QMenu*>(w->action(Cmd::kRenderDirectX)->parent())) {
    QMenu* debug = rendering->addMenu("DirectX Debug");
    for (int i = 0; i < 3; ++i) {
      QAction* a = debug->addAction(kInfoItems[static_cast<std::size_t>(i)]);
      a->setCheckable(true);
      connect(a, &QAction::triggered, this, [this, i] { ToggleInfo(static_cast<InfoFrame>(i)); });
      infoActions_[static_cast<std::size_t>(i)] = a;
    }
  }
}

ViewerWiring::~ViewerWiring() {
  app_.editor().SetEditView(nullptr);
  app_.hooks().printEditArea = nullptr;
  CommandRegistry& r = app_.registry();
  for (int id : {Cmd::kRenderDirectX, Cmd::kShadingNone, Cmd::kShadingFlat, Cmd::kShadingGouraud,
                 Cmd::kShadingPhong}) {
    r.Unregister(id);
  }
  // "Software" goes back to the core's command, which needs no viewer.
  if (coreSoftware_) {
    r.Register(Cmd::kRenderSoftware, coreSoftware_);
  } else {
    r.Unregister(Cmd::kRenderSoftware);
  }
  for (FrameInfoDialog* d : infoDialogs_) delete d;
  delete widget_;
}

bool ViewerWiring::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease && view_ && app_.shell().walkModeActive &&
      app_.shell().rendererChoice == kRendererDirectX) {
    view_->Update();
  }
  return QObject::eventFilter(watched, event);
}

void ViewerWiring::Report(const viewer::ViewerFailure& failure) {
  app_.model().ui().ShowError(viewer::FormatViewerError(failure.code, failure.operation));
}

void ViewerWiring::ChooseDirectX() {
  ShellState& shell = app_.shell();
  Editor& editor = app_.editor();
  if (!widget_) {
    if (auto failure = ProbeContext(contextFormat)) {
      Report(*failure);
      return;
    }
    if (!view_) {
      view_ = std::make_unique<viewer::HardwareView>(editor.display, editor.softwareView());
      view_->SetWalkSource(&walkSource_);
    }
    view_->SetShading(shell.viewerShading);
    widget_ = new ViewerWidget(app_.window()->editArea()->parentWidget(), *view_);
    ++viewersCreated_;
    widget_->failed = [this](const viewer::ViewerFailure& failure) {
      Report(failure);
      ChooseSoftware();
    };
    connect(widget_, &QOpenGLWidget::frameSwapped, this, &ViewerWiring::RefreshInfo);
  }
  widget_->setGeometry(app_.window()->editArea()->geometry());
  widget_->show();
  widget_->raise();
  editor.SetEditView(view_.get());
  shell.rendererChoice = kRendererDirectX;
  view_->Update();
  // The first GL widget turns the main window into a GL window, which Qt
  // does by making a new native window; it asks for the focus again, or the
  // editor would stay inactive and draw nothing until clicked.
  app_.window()->activateWindow();
  app_.window()->pane()->setFocus();
  shell.RequestRedraw();
  shell.RequestMenuRefresh();
}

void ViewerWiring::ChooseSoftware() {
  if (widget_) widget_->hide();
  app_.editor().SetEditView(nullptr);
  app_.shell().rendererChoice = kRendererSoftware;
  app_.shell().RequestRedraw();
  app_.shell().RequestMenuRefresh();
}

void ViewerWiring::SetShading(int shading) {
  app_.shell().viewerShading = shading;
  if (view_) view_->SetShading(shading);
  app_.shell().RequestRedraw();
  app_.shell().RequestMenuRefresh();
}

void ViewerWiring::ToggleInfo(InfoFrame which) {
  FrameInfoDialog*& dialog = infoDialogs_[which];
  QAction* action = infoActions_[which];
  if (dialog && dialog->isVisible()) {
    dialog->close();
    return;
  }
  if (!dialog) {
    dialog = new FrameInfoDialog(app_.window(), kInfoTitles[which]);
    connect(dialog, &QDialog::finished, this, [action] { action->setChecked(false); });
  }
  dialog->show();
  action->setChecked(true);
  RefreshInfo();
}

void ViewerWiring::RefreshInfo() {
  const viewer::SceneFrames frames = view_ ? view_->frames() : viewer::SceneFrames{};
  const viewer::Mat4* shown[] = {&frames.object, &frames.lights, &frames.camera};
  for (std::size_t i = 0; i < infoDialogs_.size(); ++i) {
    if (infoDialogs_[i] && infoDialogs_[i]->isVisible()) infoDialogs_[i]->ShowFrame(*shown[i]);
  }
}

void ViewerWiring::Print(double factor) {
  Editor& editor = app_.editor();
  QtPrinter printer(app_.window(), choosePrinter);
  const DrawingColors& colours = editor.model.colors.drawing;
  PrintEditArea(editor.model.ui(), printer, app_.shell().rendererChoice == kRendererDirectX,
                editor.display.offscreen.draw, editor.display.layout.local, colours.black,
                colours.white, factor);
}

}  // namespace ws
