// Dialog 154 ("Set Priority List For This View Zone") through its Qt
// widgets.
#include <QAction>
#include <QListWidget>
#include <QPushButton>

#include "editor/command_ids.h"
#include "gui_fixture.h"

namespace ws::test {
namespace {

// Dialog 154 through its Qt widgets, on the imported box: the zone is the
// selected face, "Add" lists the first other face with Low priority, and
// "Done" writes the list into the zone.
TEST_F(GuiTest, ViewZoneDialogAddsAnEntryAndDoneWritesIt) {
  ScriptedUi ui;
  StartEditor(&ui);
  ui.QueueOpenPath(BoxObj());
  window()->action(Cmd::kOpen)->trigger();
  Tick();
  ObjectTables& t = app->model().tables;
  ASSERT_EQ(t.polygonCount, 6u);
  t.polygonSelected[2] = kSelected;
  app->shell().RequestMenuRefresh();
  Tick();
  QStringList listed;
  WhenModal([&listed](QWidget* modal) {
    auto* add = modal->findChild<QPushButton*>("button1017");
    auto* list = modal->findChild<QListWidget*>("list1018");
    auto* combo = modal->findChild<QComboBox*>("combo1000");
    if (!add || !list || !combo) {
      modal->close();
      return;
    }
    // Polygon 2 is the zone, so the first choice is polygon 0.
    EXPECT_EQ(combo->count(), 5);
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
  EXPECT_NE(t.polygons[2].flags & PolyFlag::kViewZone, 0u);
  ASSERT_EQ(t.polygons[2].viewZoneCount, 1u);
  EXPECT_EQ(t.polygons[2].viewZones[0], 0x4000u);
}

}  // namespace
}  // namespace ws::test
