#include "app/editor_app.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTextEdit>
#include <QWheelEvent>
#include <cstdlib>

#include "app/art.h"
#include "app/check_dialog.h"
#include "app/edit_area.h"
#include "app/geometry_wiring.h"
#include "app/import_wiring.h"
#include "app/main_window.h"
#include "app/splash.h"
#include "app/view_zone_qt.h"
#include "app/viewer_wiring.h"
#include "editor/interaction/drag.h"
#include "editor/interaction/interaction_commands.h"
#include "editor/interaction/marquee.h"
#include "editor/interaction/selection.h"
#include "editor/shell/command_ids.h"
#include "editor/shell/key_handler.h"
#include "model/cluster.h"
#include "model/glyph_store.h"
#include "model/preferences.h"
#include "walk/walk_session.h"

namespace ws {
namespace {

constexpr int kTickMilliseconds = 20;
constexpr const char* kGeometryKey = "MainWindow/geometry";

std::optional<std::string> Environment(const char* name) {
  const char* v = std::getenv(name);
  if (!v || !*v) return std::nullopt;
  return std::string(v);
}

std::string DefaultsDirectory() {
  return FindDefaultsDirectory(QCoreApplication::applicationDirPath().toStdString());
}

bool IsTextField(const QWidget* w) {
  // An editable combo box is the focus widget of its own edit field.
  if (const auto* combo = qobject_cast<const QComboBox*>(w)) return combo->isEditable();
  return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QTextEdit*>(w) ||
         qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w);
}

}  // namespace

int EditorKeyCode(int qtKey) {
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 'A' + (qtKey - Qt::Key_A);
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return '0' + (qtKey - Qt::Key_0);
  switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return Key::kEnter;
    case Qt::Key_Shift:
      return Key::kShift;
    case Qt::Key_Control:
      return Key::kControl;
    case Qt::Key_Space:
      return Key::kSpace;
    case Qt::Key_PageUp:
      return Key::kPageUp;
    case Qt::Key_PageDown:
      return Key::kPageDown;
    case Qt::Key_Left:
      return Key::kLeft;
    case Qt::Key_Up:
      return Key::kUp;
    case Qt::Key_Right:
      return Key::kRight;
    case Qt::Key_Down:
      return Key::kDown;
    case Qt::Key_Delete:
      return Key::kDelete;
    case Qt::Key_F5:
      return Key::kF5;
    case Qt::Key_Comma:
      return Key::kComma;
    case Qt::Key_Period:
      return Key::kPeriod;
    default:
      return 0;
  }
}

EditorApp::EditorApp(AppOptions options)
    : options_(std::move(options)),
      ui_(options_.ui ? *options_.ui : static_cast<Ui&>(qtUi_)),
      rt_(ui_) {
  editor_ = std::make_unique<Editor>(rt_);
  autosave_.interval = options_.autosaveInterval;
  binding_ = std::make_unique<EditorBinding>(*editor_, shell_);
  observer_ = std::make_unique<ShellObserver>(shell_, *binding_);
  editor_->model.SetObserver(observer_.get());
  sound_ = std::make_unique<QtSoundPlayer>();
  ctx_ = std::make_unique<CommandContext>(
      CommandContext{editor_->model, shell_, *binding_, hooks_, sound_.get()});
  RegisterCoreCommands(registry_);
  ectx_ =
      std::make_unique<EditContext>(EditContext{*editor_, shell_, interaction_, {}, {}, {}, {}});
  ectx_->playSound = [this](int n) { PlaySoundEffect(*ctx_, n); };
  ectx_->runViewZoneDialog = [this](ViewZoneDialog& dialog) { return RunViewZoneDialog(dialog); };
  RegisterInteractionCommands(registry_, *ectx_);
  WireInteractionHooks(hooks_, tickHooks_, *ectx_);
  WireGeometryCommands(registry_, hooks_, *ectx_,
                       [this] { return static_cast<QWidget*>(window_.get()); });
  WireCheckCommand(registry_, *ectx_, [this] { return static_cast<QWidget*>(window_.get()); });
  walk_ = std::make_unique<walk::WalkSession>(editor_->model);
  walk::WireWalkMode(*walk_, *ctx_, *ectx_, registry_, tickHooks_);
  hooks_.showAbout = [this] { ShowAbout(); };
  qtUi_.modalChanged = [this](bool open) { shell_.modalDialogOpen = open; };
  // Each step of an animated view turn lets the window paint.
  editor_->yieldProcessor = [] {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  };
  shell_.commandLineFile = options_.file;
  connect(&timer_, &QTimer::timeout, this, &EditorApp::OnTick);
}

EditorApp::~EditorApp() {
  if (started_ && !shutDown_) Shutdown();
  qApp->removeEventFilter(this);
}

bool EditorApp::Dispatch(int id) { return registry_.Dispatch(*ctx_, id); }

bool EditorApp::Start() {
  Model& model = editor_->model;
  // 2-3: the window, its icons and cursors; mode Plot.
  window_ = std::make_unique<MainWindow>();
  qtUi_.SetParent(window_.get());
  editor_->SetPresenter(window_->editArea());
  shell_.mode = EditorMode::kPlot;
  WireWindow();
  viewer_ = std::make_unique<ViewerWiring>(*this);

  // The base directory and the files beside it.
  StartupInputs inputs;
  if (options_.startup) {
    inputs = *options_.startup;
  } else {
    inputs.rootFromEnvironment = Environment("WIRESTEAD_ROOT");
    inputs.homeDirectory = Environment("HOME");
    inputs.settings = &settings_;
    inputs.defaultsDirectory = DefaultsDirectory();
  }
  std::optional<std::string> base = ResolveBaseDirectory(inputs);
  if (!base) {
    ui_.ShowError(kMsgCantFindPrefsFile);
    shell_.quit = true;
    return false;
  }
  model.paths = Paths::FromBase(*base);
  if (!ProvidePreferencesFile(model, inputs.defaultsDirectory)) {
    shell_.quit = true;
    return false;
  }
  // One notifier for the whole run, its log in the base directory.
  import_ = std::make_unique<ImportWiring>(model.paths.base, window_.get());
  hooks_.importFile = [this](int mode, const std::string& path) { return RunImport(mode, &path); };
  registry_.Register(Cmd::kInsert, [this](CommandContext&) { RunImport(Cmd::kInsert, nullptr); });
  registry_.Register(Cmd::kMerge, [this](CommandContext&) { RunImport(Cmd::kMerge, nullptr); });
  LoadSounds(model);
  window_->slider()->setValue(kSlider100);
  BackUpLastSession(model);

  if (options_.showSplash) ShowStartupSplash(kSplashMilliseconds);
  if (options_.rememberGeometry) {
    const QByteArray geometry = settings_.settings().value(kGeometryKey).toByteArray();
    if (!geometry.isEmpty()) window_->restoreGeometry(geometry);
  }
  window_->show();
  window_->raise();
  window_->activateWindow();
  window_->pane()->setFocus();
  qApp->installEventFilter(this);
  timer_.start(kTickMilliseconds);
  started_ = true;

  shell_.quickCommandsShown = false;
  shell_.marqueeSelection = kMarqueeAllPolygons;
  shell_.walkEditMode = kWalkEditColour;
  LoadGlyphs(model.resources, model.paths.preferences, ui_, model.glyphs);
  RequestLayout(shell_);
  return true;
}

void EditorApp::RunLoop() {
  // The program's own loop: only the quit flag ends it, not a quit message.
  while (!quitting()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void EditorApp::Shutdown() {
  if (shutDown_) return;
  shutDown_ = true;
  timer_.stop();
  qApp->removeEventFilter(this);
  if (window_) {
    if (options_.rememberGeometry) {
      settings_.settings().setValue(kGeometryKey, window_->saveGeometry());
      settings_.settings().sync();
    }
    editor_->SetPresenter(nullptr);
    qtUi_.SetParent(nullptr);
    hooks_.importFile = nullptr;
    registry_.Unregister(Cmd::kInsert);
    registry_.Unregister(Cmd::kMerge);
    import_.reset();
    viewer_.reset();
    window_.reset();
  }
  Model& model = editor_->model;
  if (started_ && !model.paths.preferences.empty()) {
    WritePreferences(model.resources, model.paths.preferences, CurrentPreferences(*ctx_));
  }
}

int EditorApp::Run() {
  if (!Start()) return 0;
  RunLoop();
  Shutdown();
  return 0;
}

TickInput EditorApp::GatherTickInput() const {
  TickInput in;
  const QWidget* pane = window_->pane();
  in.clientWidth = pane->width();
  in.clientHeight = pane->height();
  in.helpBoxRight = window_->HelpBoxRight();
  in.modeStrip = window_->ModeStripRect();
  const QPoint cursor = pane->mapFromGlobal(QCursor::pos());
  in.cursorX = cursor.x();
  in.cursorY = cursor.y();
  in.foreground = window_->isActiveWindow();
  in.hideEnvironmentChecked = window_->hideEnvironment()->isChecked();
  return in;
}

void EditorApp::OnTick() {
  if (!window_ || quitting()) return;
  const TickOutput out = Tick(*ctx_, registry_, column_, tickHooks_, GatherTickInput());
  if (out.menu) window_->ApplyMenuState(*out.menu);
  // Not while a prompt waits for an answer: the command that opened it is
  // half done.
  if (!shell_.modalDialogOpen && !quitting()) {
    AutosaveTick(model(), autosave_, std::chrono::steady_clock::now());
  }
  if (out.laidOut) {
    const IntRect a = binding_->EditArea();
    window_->editArea()->setGeometry(a.left, a.top, a.right - a.left + 1, a.bottom - a.top + 1);
    // The window is repainted after a layout whether or not it is active.
    if (!out.drewFrame) binding_->DrawAndPresent();
    window_->pane()->update();
  }
  SyncWidgets();
}

void EditorApp::SyncWidgets() {
  if (!window_) return;
  if (shownTexts_ != shell_.textsVersion) {
    shownTexts_ = shell_.textsVersion;
    window_->statusTitle()->setText(QString::fromStdString(shell_.statusTitle));
    window_->helpText()->setText(QString::fromStdString(shell_.helpText));
  }
  if (shownList_ != shell_.objectListVersion) RefreshObjectList();
  if (shownTitle_ != shell_.windowTitleVersion) {
    shownTitle_ = shell_.windowTitleVersion;
    window_->setWindowTitle(QString::fromStdString(editor_->model.cluster.windowTitle));
  }
  window_->SetMode(shell_.mode);
  if (shownCursorMode_ != shell_.mode) {
    shownCursorMode_ = shell_.mode;
    window_->editArea()->setCursor(art::ModeCursor(shell_.mode));
  }
  const QString caption = QString::fromStdString(ScaleCaption(editor_->display.view.scale));
  if (window_->scaleBox()->title() != caption) window_->scaleBox()->setTitle(caption);
  if (window_->slider()->value() != editor_->display.view.slider) {
    const QSignalBlocker block(window_->slider());
    window_->slider()->setValue(editor_->display.view.slider);
  }
  if (shownSwatch_ != interaction_.swatchVersion) {
    shownSwatch_ = interaction_.swatchVersion;
    const RGB16 c = editor_->model.colors.current[interaction_.currentColour];
    window_->pane()->swatchColor = QColor::fromRgb(c.red >> 8, c.green >> 8, c.blue >> 8);
    window_->pane()->update();
  }
  const bool guide = editor_->display.options.guideFrame;
  if (window_->guideFrame()->isChecked() != guide) window_->guideFrame()->setChecked(guide);
  // The toggle icons are repainted only when one of them changes.
  int pressed = 0;
  for (int i = 0; i < kToggleCount; ++i) {
    if (TogglePressed(i, editor_->display.options, shell_.pressedHotArea)) pressed |= 1 << i;
  }
  if (pressed != shownToggles_) {
    shownToggles_ = pressed;
    window_->pane()->update();
  }
}

void EditorApp::RefreshObjectList() {
  shownList_ = shell_.objectListVersion;
  const ClusterState& cluster = editor_->model.cluster;
  QComboBox* list = window_->objectList();
  updatingList_ = true;
  list->clear();
  // The list shows its names in capitals, as its style always did.
  for (const std::string& name : cluster.objectNames)
    list->addItem(QString::fromStdString(name).toUpper());
  if (cluster.current < cluster.objectNames.size())
    list->setCurrentIndex(static_cast<int>(cluster.current));
  updatingList_ = false;
}

void EditorApp::WireWindow() {
  MainWindow* w = window_.get();
  w->commandTriggered = [this](int id) { Dispatch(id); };
  w->closeRequested = [this] { Dispatch(Cmd::kExit); };
  w->sizeChanged = [this] { RequestLayout(shell_); };
  w->pane()->column = &column_;
  w->pane()->togglePressed = [this](int index) {
    return TogglePressed(index, editor_->display.options, shell_.pressedHotArea);
  };
  w->pane()->mousePressed = [this](QMouseEvent* e) { PanePress(e); };
  w->pane()->mouseReleased = [this](QMouseEvent* e) { PaneRelease(e); };
  // A gesture begun on the pane (the colour chooser) is stepped from it.
  w->pane()->mouseMoved = [this](QMouseEvent* e) {
    if (!GestureActive(*ectx_)) return;
    const QPoint p = e->position().toPoint();
    PointerMoved(*ectx_, p.x(), p.y());
    SyncWidgets();
  };
  w->editArea()->mouseReleased = [this](QMouseEvent* e) { EditAreaRelease(e); };
  w->editArea()->mousePressed = [this](QMouseEvent* e) { EditAreaPress(e); };
  w->editArea()->mouseMoved = [this](QMouseEvent* e) { EditAreaMove(e); };
  w->editArea()->wheelTurned = [this](QWheelEvent* e) { EditAreaWheel(e); };

  // The keyboard belongs to the editor again once the list has been used.
  w->objectList()->done = [this] {
    if (window_) window_->pane()->setFocus();
  };
  connect(w->objectList(), qOverload<int>(&QComboBox::activated), this, [this](int index) {
    if (updatingList_ || index < 0) return;
    SelectObject(editor_->model, static_cast<std::uint32_t>(index));
    // The walk view shows the new object; one it refuses ends walk mode.
    if (shell_.walkModeActive && !walk_->Rebuild()) SelectMode(*ectx_, EditorMode::kPlot);
    ++shell_.objectListVersion;
    shell_.RequestMenuRefresh();
    window_->pane()->setFocus();
  });
  connect(w->button100(), &QPushButton::clicked, this, [this] { Dispatch(Cmd::kScale100); });
  connect(w->buttonApply(), &QPushButton::clicked, this, [this] { Dispatch(Cmd::kApplyScale); });
  connect(w->buttonSet(), &QPushButton::clicked, this, [this] { Dispatch(Cmd::kSetGuideFrame); });
  connect(w->slider(), &QSlider::valueChanged, this, [this](int value) {
    if (!started_) return;
    SetStatusTitle(shell_, "Adjust Scale");
    binding_->SetSliderScale(value);
    shell_.RequestRedraw();
  });
  connect(w->guideFrame(), &QCheckBox::toggled, this, [this](bool on) {
    editor_->display.options.guideFrame = on;
    shell_.RequestRedraw();
  });
}

void EditorApp::PanePress(QMouseEvent* event) {
  window_->pane()->setFocus();
  if (event->button() != Qt::LeftButton) return;
  const QPoint p = event->position().toPoint();
  if (ModeAt(column_, p.x(), p.y()) >= 0) {
    ClickModeStrip(*ctx_, column_, p.x(), p.y());
    SyncWidgets();
    return;
  }
  const int toggle = ToggleAt(column_, p.x(), p.y());
  if (toggle == kSwatchArea) {
    if (!shell_.walkModeActive && hooks_.chooseColour) hooks_.chooseColour();
    return;
  }
  PressToggle(shell_, column_, p.x(), p.y());
  window_->pane()->update();
}

void EditorApp::PaneRelease(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  if (GestureActive(*ectx_)) {
    const QPoint p = event->position().toPoint();
    PointerReleased(*ectx_, PointerButton::kLeft, p.x(), p.y());
    shownCursorMode_ = -1;
    SyncWidgets();
    return;
  }
  if (ReleaseToggle(*ctx_) >= 0) window_->pane()->update();
  SyncWidgets();
}

QPoint EditorApp::ClientPoint(QMouseEvent* event) const {
  // The interaction works in the pane's (client) pixels.
  return window_->editArea()->mapTo(window_->pane(), event->position().toPoint());
}

void EditorApp::EditAreaPress(QMouseEvent* event) {
  window_->pane()->setFocus();
  if (shell_.walkModeActive) {
    // Walk editing acts on the polygon under the pointer after each frame.
    if (event->button() == Qt::LeftButton) walk_->SetLeftButton(true);
    if (event->button() == Qt::RightButton) walk_->PressRightButton();
    PlaySoundEffect(*ctx_, 1);
    return;
  }
  const QPoint p = ClientPoint(event);
  if (event->button() == Qt::LeftButton) {
    EditAreaClick(*ectx_, p.x(), p.y());
  } else if (event->button() == Qt::RightButton) {
    // The arrow shows while the marquee is drawn.
    if (MarqueeDrag(*ectx_, p.x(), p.y())) window_->editArea()->setCursor(Qt::ArrowCursor);
  }
  SyncWidgets();
}

void EditorApp::EditAreaMove(QMouseEvent* event) {
  const QPoint p = ClientPoint(event);
  PointerMoved(*ectx_, p.x(), p.y());
  if (GestureActive(*ectx_)) SyncWidgets();
}

void EditorApp::EditAreaWheel(QWheelEvent* event) {
  if (!shell_.walkModeActive || event->angleDelta().y() == 0) return;
  walk_->Wheel(event->angleDelta().y() > 0 ? 1 : -1);
  event->accept();
}

void EditorApp::EditAreaRelease(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) walk_->SetLeftButton(false);
  const QPoint p = ClientPoint(event);
  PointerButton button;
  if (event->button() == Qt::LeftButton) {
    button = PointerButton::kLeft;
  } else if (event->button() == Qt::RightButton) {
    button = PointerButton::kRight;
  } else {
    return;
  }
  const GestureEnd end = PointerReleased(*ectx_, button, p.x(), p.y());
  shownCursorMode_ = -1;
  SyncWidgets();
  // A right click without a drag opens the pop-up menu at the cursor.
  if (end.openPopupMenu && !shell_.walkModeActive) {
    OpenPopupMenu(event->globalPosition().toPoint());
  }
}

void EditorApp::OpenPopupMenu(const QPoint& global) {
  const bool wasRotating = shell_.rotationInProgress;
  shell_.rotationInProgress = true;  // hover work rests while the menu is open
  window_->editArea()->setCursor(Qt::ArrowCursor);
  QMenu* menu = window_->popupMenu();
  menu->exec(global - QPoint(menu->sizeHint().width() / 2, 0));
  shell_.rotationInProgress = wasRotating;
  shownCursorMode_ = -1;
  SyncWidgets();
}

bool EditorApp::RunViewZoneDialog(ViewZoneDialog& dialog) {
  ViewZoneQtDialog box(dialog, window_.get());
  shell_.modalDialogOpen = true;
  const bool done = box.exec() == QDialog::Accepted;
  shell_.modalDialogOpen = false;
  return done;
}

bool EditorApp::RunImport(int mode, const std::string* path) {
  const bool modal = shell_.modalDialogOpen;
  shell_.modalDialogOpen = true;  // the tick rests while the import runs
  const bool ok = import_->Run(editor_->model, mode, path);
  shell_.modalDialogOpen = modal;
  // A new object (Open, Insert) starts the editor afresh on it.
  if (ok && mode != Cmd::kMerge) NewObjectReset(*ctx_);
  ++shell_.objectListVersion;
  ++shell_.windowTitleVersion;
  shell_.RequestRedraw();
  shell_.RequestMenuRefresh();
  return ok;
}

void EditorApp::ShowAbout() {
  SplashDialog splash(window_.get());
  shell_.modalDialogOpen = true;
  splash.exec();
  shell_.modalDialogOpen = false;
}

bool EditorApp::eventFilter(QObject* watched, QEvent* event) {
  // Only the quit flag ends the program: a quit message (which Qt would
  // turn into closing every window) is dropped.
  if (event->type() == QEvent::Quit && watched == qApp) return true;
  // The window lost the mouse: a gesture in progress ends without its release.
  if (event->type() == QEvent::WindowDeactivate && window_ && watched == window_.get() &&
      GestureActive(*ectx_)) {
    CancelGesture(*ectx_);
    shownCursorMode_ = -1;
  }
  if (event->type() == QEvent::KeyPress && import_ && import_->importing() &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    import_->EscapePressed();
    return true;
  }
  if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
    return HandleKey(watched, static_cast<QKeyEvent*>(event));
  }
  return QObject::eventFilter(watched, event);
}

bool EditorApp::HandleKey(QObject* watched, QKeyEvent* event) {
  if (!window_ || !watched->isWidgetType()) return false;
  QWidget* target = static_cast<QWidget*>(watched);
  // A key event travels up the parents of the focus widget; it is offered
  // to the pre-translation once, where it first arrives.
  QWidget* focus = QApplication::focusWidget();
  if (focus ? target != focus : target != target->window()) return false;
  const bool down = event->type() == QEvent::KeyPress;
  // Auto-repeat sends releases between the repeated presses; the key is
  // still held.
  if (!down && event->isAutoRepeat()) return false;
  const int key = EditorKeyCode(event->key());
  if (key == 0) return false;
  KeyInput in;
  in.key = key;
  in.down = down;
  in.control = (event->modifiers() & Qt::ControlModifier) != 0;
  // Keys in a dialog, or in a text field of the main window, are theirs.
  in.textFieldFocus = target->window() != window_.get() || IsTextField(target) ||
                      QApplication::activeModalWidget() != nullptr || shell_.modalDialogOpen;
  // In walk mode the arrows, Page Up / Page Down and space move the viewer.
  const bool walkKey = shell_.walkModeActive && !in.textFieldFocus && walk_->Key(key, down);
  const bool consumed = HandleKeyMessage(*ctx_, registry_, in);
  SyncWidgets();
  return consumed || walkKey;
}

}  // namespace ws
