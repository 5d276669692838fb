// The main window driven through its real widgets: start-up, layout, keys,
// the object list's focus, menus, prompts and shutdown.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAction>
#include <QLineEdit>
#include <QPushButton>

#include "app/sound_player.h"
#include "editor/shell/command_ids.h"
#include "editor/shell/commands.h"
#include "gui_fixture.h"
#include "model/cluster.h"
#include "model/preferences.h"
#include "model/startup.h"
#include "platform/scripted_ui.h"
#include "resource/resource_file.h"
#include "support/test_support.h"

namespace ws::test {
namespace {

// Start-up seeds the base directory through the model's start-up (whose
// own tests cover the backup of the last session) and lists its object.
TEST_F(GuiTest, StartupSeedsTheBaseDirectoryAndListsTheDefaultObject) {
  StartEditor();
  for (const char* name : {"Preferences", "textures/ground.bmp", "temp"}) {
    EXPECT_TRUE(FileExists(Base() + name)) << name;
  }
  EXPECT_EQ(window()->objectList()->count(), 1);
  EXPECT_EQ(window()->objectList()->itemText(0), "DEFAULT OBJECT");
}

// Letters typed into the object list's field, Ctrl+X among them, and a
// plain X in the window do nothing; Ctrl+X in the window ends the loop and
// the toggles are written to Preferences.
TEST_F(GuiTest, CtrlXEndsTheLoopAndWritesPreferencesButNotFromTheObjectList) {
  StartEditor();
  QLineEdit* field = window()->objectList()->lineEdit();
  field->setFocus();
  QApplication::processEvents();
  ASSERT_EQ(QApplication::focusWidget(), window()->objectList());  // it holds its field's focus
  field->clear();
  QTest::keyClicks(window()->objectList(), "xnoszk");
  QTest::keyClick(window()->objectList(), Qt::Key_X, Qt::ControlModifier);
  window()->pane()->setFocus();
  QTest::keyClick(window()->pane(), Qt::Key_X);
  Tick();
  EXPECT_FALSE(app->shell().quit);
  EXPECT_EQ(field->text(), "xnoszk");
  EXPECT_EQ(app->editor().display.view.panX, 0.0);  // "k" did not pan
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
  EXPECT_EQ((std::vector{prefs.gridShown, prefs.perspectiveOn, prefs.axisShown, prefs.vectorsShown,
                         prefs.polygonsShown}),
            (std::vector{false, true, true, true, true}));
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

// Letters and digits reach the editor as their own characters, Ctrl+Z
// among them: it undoes from the window as the menu's Undo does.
TEST_F(GuiTest, MenuChecksTextsAndGreyingFollowTheMenuStateAndCtrlZUndoes) {
  // clang-format off
  for (auto [qt, key] : {std::pair{Qt::Key_A, 'A'}, {Qt::Key_Z, 'Z'}, {Qt::Key_0, '0'}, {Qt::Key_9, '9'}}) EXPECT_EQ(EditorKeyCode(qt), key) << key;
  // clang-format on
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
  QTest::keyClick(window()->pane(), Qt::Key_Z, Qt::ControlModifier);
  Tick();
  EXPECT_EQ(app->model().undo.depth(), 0u);
  EXPECT_FALSE(undo->isEnabled());
  // The checks follow the menu state (whose rules the shell tests cover).
  EXPECT_TRUE(window()->action(Cmd::kAllVectors)->isChecked());
  for (int id : {Cmd::kThickLine, Cmd::kFrontVectorsOnly}) window()->action(id)->trigger();
  Tick();
  EXPECT_EQ(std::vector({window()->action(Cmd::kThickLine)->isChecked(),
                         window()->action(Cmd::kAllVectors)->isChecked(),
                         window()->action(Cmd::kFrontVectorsOnly)->isChecked()}),
            std::vector({true, false, true}));
  EXPECT_TRUE(app->editor().display.options.thickLine);
}

// The value prompt hands its text to the shared number reader (tested with
// the commands); Cancel reads as -1. The window's size outlives a restart.
TEST_F(GuiTest, ValuePromptAnswersAndWindowGeometryIsRemembered) {
  StartEditor(nullptr, true);
  for (auto [text, ok, value] : {std::tuple{"17 units", true, 17}, {"17", false, -1}}) {
    WhenModal([text, ok](QWidget* modal) {
      EXPECT_EQ(modal->windowTitle(), "Need More Information");
      modal->findChild<QLineEdit*>("valueField")->setText(text);
      modal->findChild<QPushButton*>(ok ? "okButton" : "cancelButton")->click();
    });
    EXPECT_EQ(AskNumber(app->model().ui(), "Enter grid value (1-50):"), value) << text;
  }
  window()->resize(1000, 640);
  QApplication::processEvents();
  Stop();
  app = std::make_unique<EditorApp>(Options(nullptr, true));
  ASSERT_TRUE(app->Start());
  EXPECT_EQ(window()->size(), QSize(1000, 640));
}

// The WAV reader behind the sound player, on the generated sounds and on
// every truncation of one.
TEST(ParseWav, ReadsAGeneratedSoundWholeAndRefusesCutsAndForeignData) {
  TempDir dir;
  WriteFileBytes(dir.File("Preferences"), ReadFileBytes(BinaryDir() + "/Preferences"));
  ScriptedUi ui;
  Runtime rt(ui);
  Model model(rt);
  model.paths = Paths::FromBase(dir.path() + "/");
  LoadSounds(model);
  const std::vector<std::uint8_t> wav = model.sounds[1];
  ASSERT_GT(wav.size(), 44u);
  // Whole it reads (mono, 16 bits, every sample); every cut is refused,
  // inside the data chunk too, since its length no longer fits.
  for (std::size_t n = 0; n <= wav.size(); ++n) {
    EXPECT_EQ(ParseWav({wav.data(), n}).has_value(), n == wav.size()) << n;
  }
  const std::optional<WavPcm> pcm = ParseWav(wav);
  ASSERT_TRUE(pcm.has_value());
  EXPECT_EQ(pcm->channels * 100 + pcm->bitsPerSample, 116);
  EXPECT_EQ(pcm->samples.data() + pcm->samples.size(), wav.data() + wav.size());
  // Not WAVE, and a compressed format (not PCM, the generated sounds' "fmt "
  // chunk comes first), are not played.
  for (std::size_t at : {8, 20}) {
    std::vector<std::uint8_t> other = wav;
    other[at] = at == 8 ? 'X' : 2;
    EXPECT_FALSE(ParseWav(other).has_value()) << at;
  }
}

}  // namespace
}  // namespace ws::test
