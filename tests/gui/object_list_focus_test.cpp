// The object list must not keep the keyboard: once its drop-down has been
// opened and closed, or a name ended with Escape, the editor's keys steer
// the editor again, and arrow keys never switch objects while the list is
// closed.
#include <QAbstractItemView>
#include <QLineEdit>

#include "gui_fixture.h"
#include "model/cluster.h"

namespace ws::test {
namespace {

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

}  // namespace
}  // namespace ws::test
