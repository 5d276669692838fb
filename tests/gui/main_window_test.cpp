// The main window driven through its real widgets: start-up, layout, keys,
// the object list's focus, menus, prompts, dialogs, printing and shutdown.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAction>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>

#include "app/edit_area.h"
#include "app/import_wiring.h"
#include "app/primitive_dialog.h"
#include "app/sound_player.h"
#include "app/viewer_wiring.h"
#include "editor/editor_state.h"
#include "editor/interaction/colour_chooser.h"
#include "editor/shell/command_ids.h"
#include "editor/shell/commands.h"
#include "editor/shell/control_column.h"
#include "editor/shell/key_handler.h"
#include "editor/view/print_page.h"
#include "geometry/commands.h"
#include "gui_fixture.h"
#include "model/cluster.h"
#include "model/preferences.h"
#include "platform/scripted_ui.h"
#include "resource/resource_file.h"
#include "support/test_support.h"

namespace ws::test {
namespace {

// The object list's field keeps what is typed into it: letters, arrows
// (which never switch objects while the list is closed) and Ctrl+X. Once
// the drop-down has been opened and closed, or a name ended with Escape,
// the editor's keys steer the editor again. A plain X in the window does
// nothing; Ctrl+X there ends the loop and the toggles go to Preferences.
TEST_F(GuiTest, ObjectListKeepsItsKeysAndCtrlXEndsTheLoopWritingPreferences) {
  ScriptedUi ui;
  StartEditor(&ui);
  for (const char* name : {"one", "two"}) ASSERT_TRUE(NewObject(app->model(), name));
  Tick();
  QComboBox* list = window()->objectList();
  // The object start-up made first (start-up's own tests cover the base
  // directory it seeds).
  EXPECT_EQ(std::make_pair(list->count(), list->itemText(0)),
            std::make_pair(3, QString("DEFAULT OBJECT")));
  // Opened (as a click on it would: it takes the focus) and dismissed.
  list->setFocus(Qt::MouseFocusReason);
  list->showPopup();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(list->view()->window()));
  QTest::keyClick(list->view(), Qt::Key_Escape);
  QApplication::processEvents();
  Press(Qt::Key_Up);
  EXPECT_EQ(app->model().cluster.current, 2u);
  Press(Qt::Key_L);
  EXPECT_EQ(app->model().view.viewCode, 1);  // Left
  // Typing a name ("k" would pan).
  list->lineEdit()->setFocus();
  QApplication::processEvents();
  ASSERT_EQ(QApplication::focusWidget(), list);  // it holds its field's focus
  list->lineEdit()->clear();
  QTest::keyClicks(list, "xnoszk");
  Press(Qt::Key_Up);
  Press(Qt::Key_Down);
  Press(Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(std::make_tuple(app->model().cluster.current, list->lineEdit()->text(),
                            app->shell().quit, app->editor().display.view.panX),
            std::make_tuple(2u, QString("xnoszk"), false, 0.0));
  Press(Qt::Key_Escape);
  Press(Qt::Key_F);
  EXPECT_EQ(app->model().view.viewCode, 4);  // Front
  Press(Qt::Key_X);
  EXPECT_FALSE(app->shell().quit);
  // Grid off and Perspective on through their buttons.
  for (int index : {kToggleGrid, kTogglePerspective}) {
    const IntRect r = ToggleHitRect(app->column().icons[index]);
    QTest::mouseClick(window()->pane(), Qt::LeftButton, {}, QPoint(r.left + 5, r.top + 5));
  }
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
  EXPECT_EQ(std::make_pair(stillRunning, app->shell().quit), std::make_pair(true, true));
  app->Shutdown();
  EXPECT_EQ(window(), nullptr);
  EXPECT_TRUE(ui.Messages().empty());
  Runtime rt(ui);
  ResourceFile files(rt);
  const Preferences prefs = ReadPreferences(files, Base() + "Preferences");
  EXPECT_EQ((std::vector{prefs.gridShown, prefs.perspectiveOn, prefs.axisShown, prefs.vectorsShown,
                         prefs.polygonsShown}),
            (std::vector{false, true, true, true, true}));
}

// Letters and digits reach the editor as their own characters, Ctrl+Z
// among them: it undoes from the window as the menu's Undo does.
TEST_F(GuiTest, MenuStateCtrlZSoundsTheValuePromptAndTheRememberedSize) {
  for (auto [qt, key] :
       {std::pair{Qt::Key_A, 'A'}, {Qt::Key_Z, 'Z'}, {Qt::Key_0, '0'}, {Qt::Key_9, '9'}}) {
    EXPECT_EQ(EditorKeyCode(qt), key) << key;
  }
  StartEditor(nullptr, true);
  Tick();
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
                         window()->action(Cmd::kFrontVectorsOnly)->isChecked(),
                         app->editor().display.options.thickLine}),
            std::vector({true, false, true, true}));

  // The WAV reader behind the sound player on a generated sound: whole it
  // reads (mono, 16 bits, every sample); every cut is refused, inside the
  // data chunk too, since its length no longer fits.
  const std::vector<std::uint8_t> wav = app->model().sounds[1];
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

  // The value prompt hands its text to the shared number reader (tested
  // with the commands); Cancel reads as -1. The window's size outlives a
  // restart.
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

// Interactive editing through the real window: plotting with the mouse and
// the view letters, the right-button marquee and the Define Polygon button;
// the colour chooser reached from the swatch (the rules of each are the
// interaction tests').
class InteractionGuiTest : public GuiTest {
 protected:
  // The projection centre in client pixels.
  QPoint Centre() {
    const auto& l = app->editor().display.layout;
    return {l.editArea.left + l.cx, l.editArea.top + l.cy};
  }
  QWidget* Area() { return window()->editArea(); }
  QPoint Local(QPoint client) { return client - Area()->pos(); }
  void LeftClick(QPoint client) {
    MoveCursor(client.x(), client.y());
    QTest::mouseClick(Area(), Qt::LeftButton, {}, Local(client));
    Tick();
  }
  // A right-button drag from `from` to `to` (client pixels).
  void RightDrag(QPoint from, QPoint to) {
    QTest::mousePress(Area(), Qt::RightButton, {}, Local(from));
    for (const QPoint p : {(from + to) / 2, to}) Move(Area(), Local(p), Qt::RightButton);
    QTest::mouseRelease(Area(), Qt::RightButton, {}, Local(to));
    Tick();
  }
  // A move with buttons held, which QTest cannot send.
  static void Move(QWidget* w, QPoint at, Qt::MouseButtons buttons) {
    QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, buttons,
                     Qt::NoModifier);
    QApplication::sendEvent(w, &move);
  }
};

TEST_F(InteractionGuiTest, PlotSquareMarqueeAndDefine) {
  ScriptedUi ui;
  StartEditor(&ui);
  app->editor().display.options.instantViewChange = true;
  const int g = app->editor().display.view.gridStep;
  const QPoint c = Centre();
  const int s = 4 * g;  // the square's side, in world units and pixels at 100%

  // While the cursor moves in the Front view, the title follows the
  // snapped X under it (grid snapping rounds to the nearest step).
  MoveCursor(c.x() + 3 * g + g / 3, c.y());
  EXPECT_EQ(Title(), QString::asprintf("Set X = %.3f", 3.0 * g));

  // Corners in the z = 0 plane, round and back to the first: X and Y from
  // the Front view, Z from the Right view (screen right is -Z there).
  const int corners[5][2] = {{0, 0}, {s, 0}, {s, s}, {0, s}, {0, 0}};
  for (int i = 0; i < 5; ++i) {
    const int x = corners[i][0], y = corners[i][1];
    Press(Qt::Key_F);
    LeftClick(QPoint(c.x() + x, c.y()));
    LeftClick(QPoint(c.x(), c.y() - y));
    Press(Qt::Key_R);
    LeftClick(QPoint(c.x(), c.y()));
  }
  const ObjectTables& t = app->model().tables;
  ASSERT_EQ(t.vectorCount, kReservedVectors + 4);

  // The four vectors by a right-button marquee in Select Vector mode, seen
  // from the Front.
  Press(Qt::Key_F);
  ClickMode(EditorMode::kSelectVector);
  ASSERT_EQ(app->shell().mode, EditorMode::kSelectVector);
  RightDrag(QPoint(c.x() - g, c.y() + g), QPoint(c.x() + s + g, c.y() - s - g));
  int selected = 0;
  for (std::uint32_t v = kReservedVectors; v < t.vectorCount; ++v)
    selected += t.vectors[v].selected == kSelected;
  EXPECT_EQ(selected, 4);

  // The Define Polygon button.
  Click(Middle(app->column().icons[kToggleDefinePolygon]));
  ASSERT_EQ(t.polygonCount, 1u) << (ui.MessageTexts().empty() ? "" : ui.MessageTexts().back());
  EXPECT_EQ(t.polygons[0].vectorCount, 4u);
  MaybeScreenshot("polygon-defined.png");
}

TEST_F(InteractionGuiTest, ColourChooserFollowsTheButtonAndTakesTheCellReleasedOn) {
  StartEditor();
  QTest::mousePress(window()->pane(), Qt::LeftButton, {}, Middle(app->column().swatch));
  ASSERT_EQ(app->interaction().gesture.kind, GestureKind::kColourChooser);

  // Entry 37 lies at column 5 of row 1 of the grid centred in the EditArea.
  const auto& layout = app->editor().display.layout;
  const QPoint over = Middle(PlacePaletteGrid(layout.local).Cell(37)) +
                      QPoint(layout.editArea.left, layout.editArea.top);
  Move(window()->pane(), over, Qt::LeftButton);  // the colour is taken while moving
  MaybeScreenshot("colour-chooser.png");
  QTest::mouseRelease(window()->pane(), Qt::LeftButton, {}, over);
  Tick();
  EXPECT_EQ(std::make_tuple(app->interaction().gesture.kind, app->interaction().currentColour),
            std::make_tuple(GestureKind::kNone, std::uint8_t{37}));
  const RGB16 c = app->model().colors.current[37];
  EXPECT_EQ(window()->pane()->swatchColor, QColor::fromRgb(c.red >> 8, c.green >> 8, c.blue >> 8));
}

// The four primitives through their Qt dialogs: the dialog hands its fields
// to the shared primitive commands (whose values and messages the geometry
// tests cover); a refused value keeps it open after its "Bad Value" box, a
// good one makes the shape, and Undo takes it away again.
//
// Then the scene import through the File menu and dialog 154 on its result:
// Open of an OBJ file reaches the scene import (whose results the import
// tests cover) and its notifier logs into the base directory; in "Set
// Priority List For This View Zone" the zone is the selected face, "Add"
// lists the first other face with Low priority and "Done" writes the list.
TEST_F(GuiTest, PrimitiveDialogsThenAnObjFileAndItsViewZoneList) {
  namespace G = GeometryCommandId;
  // command, refused fields, their message, accepted fields, undo text
  // clang-format off
  const std::tuple<int, QStringList, std::string, QStringList, std::string> cases[] = {
      {G::kCube, {"100", "3", "100", "0,0,0"}, "Width too small (5 min)",
       {"100", "100", "100", "0,0,0"}, "Undo Rectangle\tCtrl+Z"},
      {G::kCircle, {"8", "6000", "0,0,0"}, "Diameter too big (5000 max)", {"8", "100", "0,0,0"},
       "Undo Circle\tCtrl+Z"},
      {G::kCylinder, {"2", "50", "100", "0,0,0"}, "Too few slices (3 min)",
       {"6", "50", "100", "0,0,0"}, "Undo Cylinder\tCtrl+Z"},
      {G::kSphere, {"6", "2", "100", "0,0,0"}, "Bad Horizontal Slices (3 min).",
       {"6", "4", "100", "0,0,0"}, "Undo Sphere\tCtrl+Z"},
  };
  // clang-format on
  ScriptedUi ui;
  StartEditor(&ui);
  ObjectTables& t = app->model().tables;
  for (const auto& [id, bad, badMessage, good, undoText] : cases) {
    SCOPED_TRACE(id);
    ui.ClearMessages();
    bool stayedOpen = false;
    WhenModal([&, bad = bad, good = good](QWidget* modal) {
      // Typed into the fields, then the "Create" button clicked.
      auto* dialog = qobject_cast<PrimitiveDialog*>(modal);
      auto* create = modal->findChild<QPushButton*>(QString("button%1").arg(kDialogCreateId));
      if (!dialog || !create) {
        modal->close();
        FAIL() << "not a primitive dialog with a Create button";
      }
      for (const QStringList& texts : {bad, good}) {
        for (std::size_t i = 0; i < std::size_t(texts.size()) && i < dialog->fields().size(); ++i) {
          dialog->fields()[i]->clear();
          QTest::keyClicks(dialog->fields()[i], texts[i]);
        }
        QTest::mouseClick(create, Qt::LeftButton);
        stayedOpen = stayedOpen || (dialog->isVisible() && dialog->result() != QDialog::Accepted);
      }
      if (dialog->isVisible()) dialog->reject();  // never leave the test hanging
    });
    window()->action(id)->trigger();
    Tick();
    Tick();  // the menus follow on the next tick
    EXPECT_EQ(std::make_tuple(stayedOpen, ui.Messages(), t.polygonCount > 0,
                              window()->action(Cmd::kUndo)->text().toStdString()),
              std::make_tuple(true, std::vector<RecordedMessage>{{"Bad Value", badMessage}}, true,
                              undoText));
    window()->action(Cmd::kUndo)->trigger();
    Tick();
    EXPECT_EQ(t.userPointCount() + t.userVectorCount() + t.polygonCount, 0u);
  }

  ui.ClearMessages();
  // A unit box: 8 corners, 12 edges, 6 quadrilaterals.
  WriteFileText(dir.File("box.obj"),
                "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0 0 1\nv 1 0 1\nv 1 1 1\nv 0 1 1\n"
                "f 1 4 3 2\nf 5 6 7 8\nf 1 2 6 5\nf 2 3 7 6\nf 3 4 8 7\nf 4 1 5 8\n");
  ui.QueueOpenPath(dir.File("box.obj"));
  window()->action(Cmd::kOpen)->trigger();
  Tick();
  ASSERT_EQ(t.polygonCount, 6u);
  EXPECT_EQ(std::make_tuple(ui.Messages().size(), FileExists(Base() + "import_log.txt"),
                            app->import()->importing()),
            std::make_tuple(std::size_t{0}, true, false));
  t.polygonSelected[2] = kSelected;
  app->shell().RequestMenuRefresh();
  Tick();
  QStringList listed;
  WhenModal([&listed](QWidget* modal) {
    auto* add = modal->findChild<QPushButton*>("button1017");
    auto* list = modal->findChild<QListWidget*>("list1018");
    auto* combo = modal->findChild<QComboBox*>("combo1000");
    if (!add || !list || !combo) return (void)modal->close();
    EXPECT_EQ(combo->count(), 5);  // every face but the zone
    QTest::mouseClick(add, Qt::LeftButton);
    for (int i = 0; i < list->count(); ++i) listed << list->item(i)->text();
    for (QPushButton* b : modal->findChildren<QPushButton*>()) {
      if (b->text() == "Done") QTest::mouseClick(b, Qt::LeftButton);
    }
    if (modal->isVisible()) modal->close();
  });
  window()->action(Cmd::kPurposeViewZone)->trigger();
  Tick();
  EXPECT_EQ(listed, QStringList{"Poly Low - 0"});
  EXPECT_EQ(std::make_tuple(t.polygons[2].flags & PolyFlag::kViewZone, t.polygons[2].viewZoneCount,
                            t.polygons[2].viewZones[0]),
            std::make_tuple(std::uint32_t{PolyFlag::kViewZone}, 1u, 0x4000u));
}

// "Check Object" in the Object menu: its dialog lists the findings, and a
// double-click on one replaces the selection with what it names.
struct CheckObjectGui : GuiTest {
  // The rows of the dialog, then the marks after double-clicking each row,
  // as "polygons 5 | vectors 0 3 | redraw" in file numbering.
  std::vector<std::string> RunCheckObject(EditorApp& app) {
    const ObjectTables& t = app.model().tables;
    std::vector<std::string> seen;
    WhenModal([&](QWidget* modal) {
      auto* list = modal->findChild<QListWidget*>("checkFindings");
      for (int i = 0; list && i < list->count(); ++i)
        seen.push_back(list->item(i)->text().toStdString());
      for (int i = 0; list && i < list->count(); ++i) {
        app.shell().redraw = false;
        // As a person does it: press, release, then the second press.
        const QPoint at = list->visualItemRect(list->item(i)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        std::string marks = "polygons";
        for (std::uint32_t k = 0; k < t.polygonCount; ++k) {
          if (t.polygonSelected[k]) marks += ' ' + std::to_string(k);
        }
        marks += " | vectors";
        for (std::uint32_t v = kReservedVectors; v < t.vectorCount; ++v) {
          if (t.vectors[v].selected) marks += ' ' + std::to_string(v - kReservedVectors);
        }
        seen.push_back(marks + (app.shell().redraw ? " | redraw" : ""));
      }
      modal->close();
    });
    app.window()->action(Cmd::kCheckObject)->trigger();
    return seen;
  }
};

TEST_F(CheckObjectGui, ListsFindingsAndADoubleClickSelectsWhatOneNames) {
  StartEditor();
  ASSERT_TRUE(OpenPath(app->context(), Cmd::kOpen, DataPath("check_faults.wdo")));
  ObjectTables& t = app->model().tables;
  t.polygonSelected[1] = kSelected;  // the selection before: replaced
  t.vectors[kReservedVectors + 1].selected = kSelected;
  Tick();
  EXPECT_EQ(RunCheckObject(*app),
            (std::vector<std::string>{
                "Collision polygon 5 has no Entrance polygon: walking in is impossible.",
                "1 vector belongs to no polygon: 12.",
                "Points 0, 8 lie at the same place (-50, -50, -50); Remove Duplicate Geometry "
                "merges them into 0.",
                "polygons 5 | vectors | redraw", "polygons | vectors 12 | redraw",
                "polygons | vectors 0 3 8 12 | redraw"}));
  // Nothing to find: the one row selects nothing.
  t.polygons[5].flags = PolyFlag::kImported;
  --t.vectorCount;
  --t.pointCount;
  EXPECT_EQ(RunCheckObject(*app),
            (std::vector<std::string>{"No problems found.", "polygons | vectors 0 3 8"}));
}

// Printing the EditArea through the real print path (the P key, the key
// handler's hook, the Qt printer, a PDF file), the PDF rasterised with
// pdftoppm.
constexpr int kPrinterDpi = 300;
constexpr int kRasterDpi = 60;

TEST_F(GuiTest, PrintsThePictureOnAPdfPageWithTheBackgroundInTheWireColour) {
  const QString pdftoppm = QStandardPaths::findExecutable("pdftoppm");
  if (pdftoppm.isEmpty()) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
  StartEditor();
  const std::string pdf = dir.File("page.pdf");
  QRect paint;
  app->viewer()->choosePrinter = [&](QPrinter& printer) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
    printer.setResolution(kPrinterDpi);
    paint = printer.pageLayout().paintRectPixels(kPrinterDpi);
    return true;
  };
  // A blue picture with a background hole in its middle.
  EditorDisplay& d = app->editor().display;
  const DrawingColors& colours = app->model().colors.drawing;
  const IntRect local = d.layout.local;
  const int w = local.right + 1, h = local.bottom + 1;
  d.offscreen.draw.FillRect(local, colours.blue);
  d.offscreen.draw.FillRect({w / 4, h / 4, w * 3 / 4, h * 3 / 4}, colours.black);
  // The P key, as a person prints.
  window()->pane()->setFocus();
  QTest::keyClick(window()->pane(), Qt::Key_P);
  ASSERT_TRUE(FileExists(pdf));

  const QString prefix = QString::fromStdString(dir.File("page"));
  ASSERT_EQ(QProcess::execute(pdftoppm, {"-r", QString::number(kRasterDpi), "-png", "-singlefile",
                                         QString::fromStdString(pdf), prefix}),
            0);
  QImage page(prefix + ".png");
  ASSERT_FALSE(page.isNull());
  // The blue pixels' bounding box is the picture's rectangle on the page.
  int left = page.width(), top = page.height(), right = -1, bottom = -1;
  for (int y = 0; y < page.height(); ++y) {
    for (int x = 0; x < page.width(); ++x) {
      if (page.pixel(x, y) != qRgb(0, 0, 255)) continue;
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
    }
  }
  const IntRect r = PrintPictureRect(paint.width(), paint.height(), kPrintFactor, w, h);
  const double s = double(kRasterDpi) / kPrinterDpi;
  const int expected[] = {int((paint.left() + r.left) * s), int((paint.top() + r.top) * s),
                          int((paint.left() + r.right) * s), int((paint.top() + r.bottom) * s)};
  const int found[] = {left, top, right, bottom};
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(found[i], expected[i], 2) << "edge " << i;
  // The hole printed in the wire colour (white), the blue around it.
  EXPECT_EQ(page.pixel((left + right) / 2, (top + bottom) / 2), qRgb(255, 255, 255));
  EXPECT_EQ(page.pixel(left + (right - left) / 8, (top + bottom) / 2), qRgb(0, 0, 255));
}

}  // namespace
}  // namespace ws::test
