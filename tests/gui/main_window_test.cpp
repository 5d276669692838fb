// The main window driven through its real widgets: start-up, layout, hover,
// activity, keys, menus, prompts and shutdown.
#include <QAbstractItemView>
#include <QAction>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

#include "app/edit_area.h"
#include "editor/command_ids.h"
#include "editor/commands.h"
#include "gui_fixture.h"
#include "model/cluster.h"
#include "model/preferences.h"
#include "resource/resource_file.h"

namespace ws::test {
namespace {

// The layout rule as stated, written out again as a reference.
QRect ExpectedEditArea(int cx0, int cy0, int r) {
  int h = cy0 < 21 ? 0 : cy0 - 21;
  h -= h % 4;
  int w = (cx0 - r - 26 < 0 ? 0 : cx0 - r - 26) + 8;
  w -= w % 8;
  // A 4:3 surface: a wide area raises the height.
  if ((h / 3) * 4 < w) h = (w / 4) * 3;
  return QRect(QPoint(r + 10, 10), QPoint(r + 10 + w - 1, h + 9));
}

TEST_F(GuiTest, StartupSeedsAFreshBaseDirectory) {
  StartEditor();
  EXPECT_TRUE(FileExists(Base() + "Preferences"));
  EXPECT_TRUE(FileExists(Base() + "textures/ground.bmp"));
  EXPECT_TRUE(FileExists(Base() + "temp"));
  // No "temp" existed, so nothing was backed up.
  EXPECT_FALSE(FileExists(Base() + "backup"));
  EXPECT_EQ(window()->objectList()->count(), 1);
  EXPECT_EQ(window()->objectList()->itemText(0), "DEFAULT OBJECT");
  EXPECT_EQ(app->shell().mode, EditorMode::kPlot);
}

TEST_F(GuiTest, StartupCopiesLastSessionToBackupAndLeavesBackupAloneOtherwise) {
  StartEditor();
  app->Shutdown();
  app.reset();
  const std::vector<std::uint8_t> lastTemp = ReadFileBytes(Base() + "temp");
  StartEditor();
  EXPECT_EQ(ReadFileBytes(Base() + "backup"), lastTemp);
  app->Shutdown();
  app.reset();
  // Without a "temp" the backup stays exactly as it was.
  WriteFileText(Base() + "backup", "kept");
  std::remove((Base() + "temp").c_str());
  StartEditor();
  EXPECT_EQ(ReadFileText(Base() + "backup"), "kept");
}

TEST_F(GuiTest, FirstLayoutFollowsTheLayoutRuleForTwoWindowSizes) {
  StartEditor();
  for (QSize size : {QSize(900, 600), QSize(1200, 500)}) {
    window()->resize(size);
    QApplication::processEvents();
    Tick();
    const QWidget* pane = window()->pane();
    const QRect expected =
        ExpectedEditArea(pane->width(), pane->height(), window()->HelpBoxRight());
    EXPECT_EQ(window()->editArea()->geometry(), expected) << size.width() << "x" << size.height();
    const IntRect a = app->editor().display.layout.editArea;
    EXPECT_EQ(QRect(QPoint(a.left, a.top), QPoint(a.right, a.bottom)), expected);
  }
}

TEST_F(GuiTest, HoverShowsToggleAndModeStripTitles) {
  StartEditor();
  const ControlColumn& c = app->column();
  const IntRect grid = ToggleHitRect(c.icons[kToggleGrid]);
  MoveCursor(grid.left + 5, grid.top + 5);
  EXPECT_EQ(Title(), "Grid On");
  const IntRect persp = ToggleHitRect(c.icons[kTogglePerspective]);
  MoveCursor(persp.left + 5, persp.top + 5);
  EXPECT_EQ(Title(), "Perspective Off");
  const IntRect mode = c.modes[EditorMode::kSelectVector];
  MoveCursor(mode.left + 3, mode.top + 3);
  EXPECT_EQ(Title(), "Select Vector Mode");
  EXPECT_EQ(Help(), "Select vectors for editing.");
  // Elsewhere in the column: the current mode's texts.
  MoveCursor(5, window()->pane()->height() - 3);
  EXPECT_EQ(Title(), "Plot Mode");
}

TEST_F(GuiTest, InactiveWindowShowsWiresteadInactive) {
  StartEditor();
  QWidget other;
  other.resize(100, 100);
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  const int presented = window()->editArea()->presentCount();
  Tick();
  EXPECT_EQ(Title(), "Wirestead Inactive");
  EXPECT_EQ(Help(), "Click on the dialog to reactivate Wirestead.");
  EXPECT_FALSE(app->shell().applicationActive);
  // No frame is drawn while inactive.
  EXPECT_EQ(window()->editArea()->presentCount(), presented);
}

TEST_F(GuiTest, F5TwiceShowsAndHidesTheQuickCommands) {
  StartEditor();
  const auto& labels = app->editor().display.labels.entries();
  for (bool shown : {true, false}) {
    QTest::keyClick(window()->pane(), Qt::Key_F5);
    Tick();
    EXPECT_EQ(app->shell().quickCommandsShown, shown);
    EXPECT_EQ(app->editor().display.frame.quickCommandsShown, shown);
  }
  // The axis labels stay.
  EXPECT_EQ(
      std::string(labels[0].Text()) + std::string(labels[1].Text()) + std::string(labels[2].Text()),
      "xyz");
}

TEST_F(GuiTest, CtrlXEndsTheLoopAndWritesPreferencesWithTheToggles) {
  StartEditor();
  // Grid off and Perspective on through their buttons.
  for (int index : {kToggleGrid, kTogglePerspective}) {
    const IntRect r = ToggleHitRect(app->column().icons[index]);
    QTest::mouseClick(window()->pane(), Qt::LeftButton, {}, QPoint(r.left + 5, r.top + 5));
  }
  EXPECT_FALSE(app->editor().display.options.gridOn);
  // A quit message alone does not end the program's loop.
  bool stillRunning = false;
  QTimer::singleShot(20, window(), [] { QCoreApplication::quit(); });
  QTimer::singleShot(30, window(),
                     [] { QCoreApplication::postEvent(qApp, new QEvent(QEvent::Quit)); });
  QTimer::singleShot(80, window(), [this, &stillRunning] {
    stillRunning = !app->shell().quit;
    QTest::keyClick(window()->pane(), Qt::Key_X, Qt::ControlModifier);
  });
  app->RunLoop();  // returns only when the quit flag is set
  EXPECT_TRUE(stillRunning);
  EXPECT_TRUE(app->shell().quit);
  app->Shutdown();
  EXPECT_EQ(window(), nullptr);
  ScriptedUi ui;
  Runtime rt(ui);
  ResourceFile files(rt);
  const Preferences prefs = ReadPreferences(files, Base() + "Preferences");
  EXPECT_FALSE(prefs.gridShown);
  EXPECT_TRUE(prefs.perspectiveOn);
  EXPECT_TRUE(prefs.axisShown);
  EXPECT_TRUE(prefs.vectorsShown);
  EXPECT_TRUE(prefs.polygonsShown);
}

TEST_F(GuiTest, LettersTypedIntoTheObjectListFieldDoNothing) {
  StartEditor();
  QLineEdit* field = window()->objectList()->lineEdit();
  field->setFocus();
  QApplication::processEvents();
  // The combo box holds the focus for its field.
  ASSERT_EQ(QApplication::focusWidget(), window()->objectList());
  field->clear();
  QTest::keyClicks(window()->objectList(), "xnoszk");
  QTest::keyClick(window()->objectList(), Qt::Key_X, Qt::ControlModifier);
  Tick();
  EXPECT_FALSE(app->shell().quit);
  EXPECT_EQ(field->text(), "xnoszk");
  EXPECT_EQ(app->editor().display.view.panX, 0.0);  // "k" did not pan
  // The same plain letter in the window is not Exit either.
  window()->pane()->setFocus();
  QTest::keyClick(window()->pane(), Qt::Key_X);
  Tick();
  EXPECT_FALSE(app->shell().quit);
}

// Once the drop-down has been opened and closed, or a name ended with
// Escape, the editor's keys steer the editor again; arrow keys never switch
// objects while the list is closed.
TEST_F(GuiTest, ObjectListGivesTheKeyboardBackToTheEditor) {
  ScriptedUi ui;
  StartEditor(&ui);
  for (const char* name : {"one", "two"}) ASSERT_TRUE(NewObject(app->model(), name));
  Tick();
  QComboBox* list = window()->objectList();
  auto press = [this](Qt::Key key) {
    QTest::keyClick(QApplication::focusWidget(), key);
    Tick();
  };
  // Opened (as a click on it would: it takes the focus) and dismissed.
  list->setFocus(Qt::MouseFocusReason);
  list->showPopup();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(list->view()->window()));
  QTest::keyClick(list->view(), Qt::Key_Escape);
  QApplication::processEvents();
  press(Qt::Key_Up);
  EXPECT_EQ(app->model().cluster.current, 2u);
  press(Qt::Key_L);
  EXPECT_EQ(app->model().view.viewCode, 1);  // Left
  // Typing a name: arrows do not switch objects; Escape ends the name.
  list->lineEdit()->setFocus();
  QApplication::processEvents();
  ASSERT_EQ(QApplication::focusWidget(), list);
  press(Qt::Key_Up);
  press(Qt::Key_Down);
  EXPECT_EQ(app->model().cluster.current, 2u);
  press(Qt::Key_Escape);
  press(Qt::Key_F);
  EXPECT_EQ(app->model().view.viewCode, 4);  // Front
  EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(GuiTest, MenuChecksTextsAndGreyingFollowTheMenuState) {
  StartEditor();
  Tick();
  EXPECT_FALSE(window()->action(Cmd::kRenderDirectX)->isEnabled());
  QAction* undo = window()->action(Cmd::kUndo);
  EXPECT_FALSE(undo->isEnabled());
  app->model().PushUndo("Undo Plot\tCtrl+Z");
  app->shell().RequestMenuRefresh();
  Tick();
  EXPECT_EQ(undo->text(), "Undo Plot\tCtrl+Z");
  EXPECT_TRUE(undo->isEnabled());
  EXPECT_FALSE(window()->action(Cmd::kThickLine)->isChecked());
  EXPECT_TRUE(window()->action(Cmd::kAllVectors)->isChecked());
  window()->action(Cmd::kThickLine)->trigger();
  window()->action(Cmd::kFrontVectorsOnly)->trigger();
  window()->action(Cmd::kBackfacedPolygons)->trigger();
  Tick();
  EXPECT_TRUE(window()->action(Cmd::kThickLine)->isChecked());
  EXPECT_FALSE(window()->action(Cmd::kAllVectors)->isChecked());
  EXPECT_TRUE(window()->action(Cmd::kFrontVectorsOnly)->isChecked());
  EXPECT_FALSE(window()->action(Cmd::kBackVectorsOnly)->isChecked());
  EXPECT_TRUE(window()->action(Cmd::kBackfacedPolygons)->isChecked());
  EXPECT_FALSE(window()->action(Cmd::kInvisiblePolygons)->isChecked());
  EXPECT_TRUE(app->editor().display.options.thickLine);
  window()->action(Cmd::kThickLine)->trigger();
  Tick();
  EXPECT_FALSE(window()->action(Cmd::kThickLine)->isChecked());
}

TEST_F(GuiTest, ValuePromptReadsCancelMinusOneAndTextAsZero) {
  StartEditor();
  Ui& ui = app->model().ui();
  auto answer = [](const QString& text, bool ok) {
    WhenModal([text, ok](QWidget* modal) {
      EXPECT_EQ(modal->windowTitle(), "Need More Information");
      modal->findChild<QLineEdit*>("valueField")->setText(text);
      modal->findChild<QPushButton*>(ok ? "okButton" : "cancelButton")->click();
    });
  };
  answer("-1", true);
  EXPECT_EQ(AskNumber(ui, "Enter grid value (1-50):"), -1);
  answer("abc", true);
  EXPECT_EQ(AskNumber(ui, "Enter grid value (1-50):"), 0);
  answer("17 units", true);
  EXPECT_EQ(AskNumber(ui, "Enter grid value (1-50):"), 17);
  answer("17", false);
  EXPECT_EQ(AskNumber(ui, "Enter grid value (1-50):"), -1);
}

TEST_F(GuiTest, SetUnitsRepeatsOutOfRangeThroughTheRealDialogs) {
  StartEditor();
  std::vector<QString> messages;
  // 99, then 0, then 25: two refusals, then the step is set.
  std::function<void(std::vector<QString>)> script = [&](std::vector<QString> answers) {
    WhenModal([&, answers](QWidget* modal) mutable {
      if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        messages.push_back(box->text());
        box->accept();
        script(answers);
        return;
      }
      modal->findChild<QLineEdit*>("valueField")->setText(answers.front());
      answers.erase(answers.begin());
      modal->findChild<QPushButton*>("okButton")->click();
      if (!answers.empty()) script(answers);
    });
  };
  script({"99", "0", "25"});
  window()->action(Cmd::kSetUnits)->trigger();
  EXPECT_EQ(messages, (std::vector<QString>{"Value entered is out of range.",
                                            "Value entered is out of range."}));
  EXPECT_EQ(app->editor().display.view.gridStep, 25);
}

TEST_F(GuiTest, StartNewClusterFromObjectThreeLeavesObjectZeroCurrent) {
  ScriptedUi ui;
  StartEditor(&ui);
  for (const char* name : {"one", "two", "three"}) ASSERT_TRUE(NewObject(app->model(), name));
  Tick();
  ASSERT_EQ(app->model().cluster.current, 3u);
  ASSERT_EQ(window()->objectList()->count(), 4);
  QTest::keyClick(window()->pane(), Qt::Key_N, Qt::ControlModifier);
  Tick();
  EXPECT_EQ(app->model().cluster.current, 0u);
  EXPECT_EQ(window()->objectList()->count(), 1);
  EXPECT_EQ(window()->objectList()->currentText(), "DEFAULT OBJECT");
  EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(GuiTest, RestoreLastSessionOnACleanMachineHasNoBackup) {
  ScriptedUi ui;
  StartEditor(&ui);
  window()->action(Cmd::kRestoreLastSession)->trigger();
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].text, "No backup to restore from.");
  EXPECT_EQ(ui.Messages()[0].caption, "Notification");
}

TEST_F(GuiTest, WindowGeometryIsRememberedBetweenRuns) {
  StartEditor(nullptr, true);
  window()->resize(1000, 640);
  QApplication::processEvents();
  app->Shutdown();
  app.reset();
  AppOptions options;
  options.showSplash = false;
  options.rememberGeometry = true;
  StartupInputs in;
  in.rootFromEnvironment = Base();
  in.defaultsDirectory = WS_BINARY_DIR;
  options.startup = in;
  app = std::make_unique<EditorApp>(options);
  ASSERT_TRUE(app->Start());
  EXPECT_EQ(window()->size(), QSize(1000, 640));
}

}  // namespace
}  // namespace ws::test
