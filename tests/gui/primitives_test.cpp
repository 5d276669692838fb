// The four primitives through their Qt dialogs: the dialog hands its fields
// to the shared primitive commands (whose values and messages the geometry
// tests cover); a refused value keeps it open after its "Bad Value" box, a
// good one makes the shape, and Undo takes it away again.
#include <QAction>
#include <QLineEdit>
#include <QPushButton>

#include "app/primitive_dialog.h"
#include "editor/shell/command_ids.h"
#include "geometry/commands.h"
#include "gui_fixture.h"

namespace ws::test {
namespace {

TEST_F(GuiTest, EachPrimitiveRefusesABadValueThenMakesItsShapeAndUndoes) {
  namespace G = GeometryCommandId;
  // command, refused fields, their message, accepted fields, undo text
  // clang-format off
  const std::tuple<int, QStringList, std::string, QStringList, std::string> cases[] = {
      {G::kCube, {"100", "3", "100", "0,0,0"}, "Width too small (5 min)", {"100", "100", "100", "0,0,0"}, "Undo Rectangle\tCtrl+Z"},
      {G::kCircle, {"8", "6000", "0,0,0"}, "Diameter too big (5000 max)", {"8", "100", "0,0,0"}, "Undo Circle\tCtrl+Z"},
      {G::kCylinder, {"2", "50", "100", "0,0,0"}, "Too few slices (3 min)", {"6", "50", "100", "0,0,0"}, "Undo Cylinder\tCtrl+Z"},
      {G::kSphere, {"6", "2", "100", "0,0,0"}, "Bad Horizontal Slices (3 min).", {"6", "4", "100", "0,0,0"}, "Undo Sphere\tCtrl+Z"},
  };
  // clang-format on
  ScriptedUi ui;
  StartEditor(&ui);
  const ObjectTables& t = app->model().tables;
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
}

}  // namespace
}  // namespace ws::test
