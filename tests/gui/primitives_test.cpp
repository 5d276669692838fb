// The four primitives through their Qt dialogs: a refused value keeps the
// dialog open after its "Bad Value" box, a good one makes the shape, and
// Undo takes it away again.
#include <QAction>
#include <QLineEdit>
#include <QPushButton>

#include "app/primitive_dialog.h"
#include "editor/command_ids.h"
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
    QAction* action = window()->action(id);
    ASSERT_NE(action, nullptr);
    Tick();
    ASSERT_TRUE(action->isEnabled());
    bool stayedOpen = false;
    WhenModal([&, bad = bad, good = good](QWidget* modal) {
      // Typed into the fields, then the "Create" button clicked.
      auto* dialog = qobject_cast<PrimitiveDialog*>(modal);
      auto* create = modal->findChild<QPushButton*>(QString("button%1").arg(kDialogCreateId));
      if (!dialog || !create) {
        modal->close();
        FAIL() << "not a primitive dialog with a Create button";
      }
      auto fill = [dialog](const QStringList& texts) {
        for (std::size_t i = 0; i < std::size_t(texts.size()) && i < dialog->fields().size(); ++i) {
          dialog->fields()[i]->clear();
          QTest::keyClicks(dialog->fields()[i], texts[i]);
        }
      };
      fill(bad);
      QTest::mouseClick(create, Qt::LeftButton);
      stayedOpen = dialog->isVisible() && dialog->result() != QDialog::Accepted;
      fill(good);
      QTest::mouseClick(create, Qt::LeftButton);
      if (dialog->isVisible()) dialog->reject();  // never leave the test hanging
    });
    action->trigger();
    Tick();
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(ui.Messages(), (std::vector<RecordedMessage>{{"Bad Value", badMessage}}));
    EXPECT_GT(t.polygonCount, 0u);
    QAction* undo = window()->action(Cmd::kUndo);
    Tick();
    EXPECT_EQ(undo->text().toStdString(), undoText);
    undo->trigger();
    Tick();
    EXPECT_EQ(t.userPointCount() + t.userVectorCount() + t.polygonCount, 0u);
  }
}

}  // namespace
}  // namespace ws::test
