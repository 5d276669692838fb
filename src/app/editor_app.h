// The program: start-up in order, the program's own message loop, the
// 20 ms timer driving the core's Tick, the key pre-translation as an
// application event filter, and shutdown in order with the preferences
// record written. It owns the Editor (model and views), the shell state,
// the command table and the main window, and wires the window's controls
// to the core commands.
#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "app/qt_ui.h"
#include "app/sound_player.h"
#include "editor/editor.h"
#include "editor/interaction/interaction.h"
#include "editor/shell/commands.h"
#include "editor/shell/control_column.h"
#include "editor/shell/editor_binding.h"
#include "editor/shell/shell_observer.h"
#include "editor/shell/tick.h"
#include "model/autosave.h"
#include "model/startup.h"

class QKeyEvent;
class QMouseEvent;
class QWheelEvent;

namespace ws {

class ImportWiring;
class MainWindow;
class ViewerWiring;
namespace walk {
class WalkSession;
}

struct AppOptions {
  // A file named on the command line.
  std::optional<std::string> file;
  bool showSplash = true;
  // Use this Ui instead of the Qt dialogs (tests that answer prompts from
  // a script); null for the real dialogs.
  Ui* ui = nullptr;
  // Where the base directory comes from; the environment and the QSettings
  // store unless set.
  std::optional<StartupInputs> startup;
  // Remember and restore the main window's size and position.
  bool rememberGeometry = true;
  // How often the current object is stored into the working file when it
  // changed (WIRESTEAD_AUTOSAVE_SECONDS in the environment sets it).
  std::chrono::seconds autosaveInterval = kAutosaveInterval;
};

// The editor's key code of a Qt key (0 for keys the editor has no use for).
int EditorKeyCode(int qtKey);

class EditorApp : public QObject {
  Q_OBJECT
 public:
  explicit EditorApp(AppOptions options = {});
  ~EditorApp() override;

  // Start-up up to the timer; false (after its message) when the program
  // must end.
  bool Start();
  // Runs the loop until the quit flag (or a fatal error) is set.
  void RunLoop();
  // Timer stopped, window destroyed, 'PREF' 128 written.
  void Shutdown();
  // All three; the process exit code.
  int Run();

  // One timer tick (the timer calls it; tests may too).
  void OnTick();
  bool quitting() const { return shell_.quit || rt_.fatalError; }

  MainWindow* window() const { return window_.get(); }
  Editor& editor() { return *editor_; }
  Model& model() { return editor_->model; }
  ShellState& shell() { return shell_; }
  CommandRegistry& registry() { return registry_; }
  EditorHooks& hooks() { return hooks_; }
  TickHooks& tickHooks() { return tickHooks_; }
  CommandContext& context() { return *ctx_; }
  EditContext& editContext() { return *ectx_; }
  ImportWiring* import() const { return import_.get(); }
  ViewerWiring* viewer() const { return viewer_.get(); }
  walk::WalkSession& walkSession() { return *walk_; }
  InteractionState& interaction() { return interaction_; }
  const ControlColumn& column() const { return column_; }
  QtSettingsStore& settings() { return settings_; }
  bool Dispatch(int id);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool HandleKey(QObject* watched, QKeyEvent* event);
  void WireWindow();
  void SyncWidgets();
  void RefreshObjectList();
  void PanePress(QMouseEvent* event);
  void PaneRelease(QMouseEvent* event);
  void EditAreaPress(QMouseEvent* event);
  void EditAreaMove(QMouseEvent* event);
  void EditAreaRelease(QMouseEvent* event);
  void EditAreaWheel(QWheelEvent* event);
  void OpenPopupMenu(const QPoint& global);
  bool RunViewZoneDialog(ViewZoneDialog& dialog);
  QPoint ClientPoint(QMouseEvent* event) const;
  void ShowAbout();
  bool RunImport(int mode, const std::string* path);
  TickInput GatherTickInput() const;

  AppOptions options_;
  QtUi qtUi_;
  Ui& ui_;
  Runtime rt_;
  QtSettingsStore settings_;
  std::unique_ptr<Editor> editor_;
  ShellState shell_;
  std::unique_ptr<EditorBinding> binding_;
  std::unique_ptr<ShellObserver> observer_;
  CommandRegistry registry_;
  EditorHooks hooks_;
  TickHooks tickHooks_;
  ControlColumn column_;
  std::unique_ptr<QtSoundPlayer> sound_;
  std::unique_ptr<CommandContext> ctx_;
  InteractionState interaction_;
  std::unique_ptr<EditContext> ectx_;
  std::unique_ptr<walk::WalkSession> walk_;
  std::unique_ptr<MainWindow> window_;
  std::unique_ptr<ImportWiring> import_;
  std::unique_ptr<ViewerWiring> viewer_;
  QTimer timer_;
  AutosaveState autosave_;
  std::uint32_t shownTexts_ = ~0u;
  std::uint32_t shownList_ = ~0u;
  std::uint32_t shownTitle_ = ~0u;
  int shownCursorMode_ = -1;
  int shownToggles_ = -1;
  std::uint32_t shownSwatch_ = ~0u;
  bool started_ = false;
  bool shutDown_ = false;
  bool updatingList_ = false;
};

}  // namespace ws
