// wirestead: the editor. One optional argument, a file to open once the
// window has been laid out.
//
// WIRESTEAD_AUTOSAVE_SECONDS sets how often a changed object is stored
// into the working file (every 60 seconds unless set).
//
// For documentation pictures: --screenshot=PATH saves the main window as a
// PNG a moment after start-up and exits; --mode=N (0..6) picks the mode
// first, --quick-commands shows the F5 texts, --command=ID runs a menu
// command and --keys=LETTERS types editor keys (view letters, pan keys).
#include <QApplication>
#include <QTimer>

#include "app/editor_app.h"
#include "app/main_window.h"
#include "editor/shell/key_handler.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setOrganizationName("Calvane");
  QApplication::setApplicationName("Wirestead");
  ws::AppOptions options;
  QString screenshot;
  int mode = -1;
  bool quick = false;
  QList<int> commands;
  QString keys;
  const QStringList args = QApplication::arguments();
  for (int i = 1; i < args.size(); ++i) {
    const QString& a = args.at(i);
    if (a.startsWith("--screenshot=")) {
      screenshot = a.mid(13);
    } else if (a.startsWith("--mode=")) {
      mode = a.mid(7).toInt();
    } else if (a == "--quick-commands") {
      quick = true;
    } else if (a.startsWith("--command=")) {
      commands << a.mid(10).toInt();
    } else if (a.startsWith("--keys=")) {
      keys = a.mid(7).toUpper();
    } else if (!options.file) {
      options.file = a.toStdString();
    }
  }
  // The autosave period in seconds, for tests and for users who want it
  // shorter or longer than a minute.
  bool numeric = false;
  const int autosave = qEnvironmentVariableIntValue("WIRESTEAD_AUTOSAVE_SECONDS", &numeric);
  if (numeric && autosave > 0) options.autosaveInterval = std::chrono::seconds(autosave);
  if (qEnvironmentVariableIsSet("WIRESTEAD_NO_SPLASH") || !screenshot.isEmpty()) {
    options.showSplash = false;
  }
  ws::EditorApp editor(std::move(options));
  if (!screenshot.isEmpty()) {
    QTimer::singleShot(600, &editor, [&editor, mode, quick, commands, keys] {
      ws::ShellState& shell = editor.shell();
      for (int id : commands) editor.Dispatch(id);
      for (QChar c : keys) {
        ws::HandleKeyMessage(editor.context(), editor.registry(), {c.toLatin1(), true});
      }
      if (mode >= 0 && mode < ws::kModeCount) {
        shell.mode = mode;
        ws::ShowModeHelp(shell, mode);
      }
      if (quick) {
        ws::HandleKeyMessage(editor.context(), editor.registry(), {ws::Key::kF5, true});
      }
    });
    QTimer::singleShot(1500, &editor, [&editor, screenshot] {
      if (editor.window()) editor.window()->grab().save(screenshot);
      editor.Dispatch(32776);  // Exit
    });
  }
  return editor.Run();
}
