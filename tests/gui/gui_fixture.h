// The editor started on a private base directory, without the splash, with
// helpers that tick, press keys and answer the modal dialogs.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <memory>

#include "app/editor_app.h"
#include "app/main_window.h"
#include "platform/scripted_ui.h"
#include "support/test_support.h"

namespace ws::test {

class GuiTest : public ::testing::Test {
 protected:
  std::string Base() const { return dir.path() + "/base/"; }

  // `ui` null for the real Qt dialogs.
  AppOptions Options(Ui* ui, bool rememberGeometry) const {
    AppOptions options;
    options.showSplash = false;
    options.ui = ui;
    options.rememberGeometry = rememberGeometry;
    options.startup = StartupInputs{};
    options.startup->rootFromEnvironment = Base();
    options.startup->defaultsDirectory = WS_BINARY_DIR;
    return options;
  }
  // Starts the editor at 900 x 600, its first layout done.
  void StartEditor(Ui* ui = nullptr, bool rememberGeometry = false) {
    app = std::make_unique<EditorApp>(Options(ui, rememberGeometry));
    ASSERT_TRUE(app->Start());
    window()->resize(900, 600);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window()));
    for (int i = 0; i < 50 && app->shell().firstLayoutPending; ++i) Tick();
    ASSERT_FALSE(app->shell().firstLayoutPending);
  }

  void Stop() {
    app->Shutdown();
    app.reset();
  }
  void TearDown() override {
    if (app) Stop();
  }

  MainWindow* window() const { return app->window(); }
  void Tick() {
    QApplication::processEvents();
    app->OnTick();
  }
  void MoveCursor(int x, int y) {
    QCursor::setPos(window()->pane()->mapToGlobal(QPoint(x, y)));
    QTest::mouseMove(window()->pane(), QPoint(x, y));
    Tick();
  }
  // A key typed where the keyboard is.
  void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    Tick();
  }
  // A left click on the window at `client`, and on a mode of the strip.
  void Click(QPoint client) {
    QTest::mouseClick(window()->pane(), Qt::LeftButton, {}, client);
    Tick();
  }
  void ClickMode(int mode) { Click(Middle(app->column().modes[mode])); }
  QString Title() const { return window()->statusTitle()->text(); }
  static QPoint Middle(const IntRect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  // Documentation pictures: saved only when WS_SCREENSHOT_DIR names a
  // directory (run under xvfb-run for the real window system).
  void MaybeScreenshot(const char* name) {
    const char* out = std::getenv("WS_SCREENSHOT_DIR");
    if (!out || !*out) return;
    QApplication::processEvents();
    EXPECT_TRUE(window()->grab().save(QString("%1/%2").arg(out, name)));
  }

  // Runs `answer` on the next modal dialog that opens, from the loop. When
  // none opens within 10 s the test fails and every open dialog is closed,
  // so a modal loop waiting for its answer cannot hang the run.
  static void WhenModal(std::function<void(QWidget*)> answer) {
    auto poll = std::make_shared<std::function<void()>>();
    auto waited = std::make_shared<int>(0);
    *poll = [answer, poll, waited] {
      if (QWidget* modal = QApplication::activeModalWidget()) {
        answer(modal);
      } else if ((*waited += 10) >= 10000) {
        ADD_FAILURE() << "no modal dialog opened within 10 s";
        for (QWidget* w : QApplication::topLevelWidgets()) {
          if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible()) d->reject();
        }
      } else {
        QTimer::singleShot(10, *poll);
      }
    };
    QTimer::singleShot(10, *poll);
  }

  TempDir dir;
  std::unique_ptr<EditorApp> app;
};

}  // namespace ws::test
