// The scene import through the File menu and dialog 154 on its result: Open
// of an OBJ file replaces the cluster with one object holding the file's
// mesh and its notifier logs into the base directory; in "Set Priority List
// For This View Zone" the zone is the selected face, "Add" lists the first
// other face with Low priority and "Done" writes the list; Insert adds the
// mesh as another object.
#include <QAction>
#include <QListWidget>
#include <QPushButton>

#include "app/import_wiring.h"
#include "editor/shell/command_ids.h"
#include "gui_fixture.h"

namespace ws::test {
namespace {

TEST_F(GuiTest, OpenAnObjFileSetAViewZoneListOnItAndInsertItAgain) {
  ScriptedUi ui;
  StartEditor(&ui);
  // The unit box: 8 corners, 12 distinct edges, 6 quadrilateral faces.
  ui.QueueOpenPath(BoxObj());
  window()->action(Cmd::kOpen)->trigger();
  Tick();
  ObjectTables& t = app->model().tables;
  EXPECT_EQ(t.userPointCount(), 8u);
  EXPECT_EQ(t.userVectorCount(), 12u);
  ASSERT_EQ(t.polygonCount, 6u);
  EXPECT_EQ(app->model().cluster.objectNames.size(), 1u);
  EXPECT_EQ(app->shell().mode, EditorMode::kPlot);
  EXPECT_TRUE(ui.Messages().empty()) << ui.MessageTexts().front();
  EXPECT_TRUE(FileExists(Base() + "import_log.txt"));
  EXPECT_FALSE(app->import()->importing());

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
  EXPECT_NE(t.polygons[2].flags & PolyFlag::kViewZone, 0u);
  ASSERT_EQ(t.polygons[2].viewZoneCount, 1u);
  EXPECT_EQ(t.polygons[2].viewZones[0], 0x4000u);

  ASSERT_TRUE(window()->action(Cmd::kMerge)->isEnabled());
  ui.QueueOpenPath(BoxObj());
  window()->action(Cmd::kInsert)->trigger();
  Tick();
  EXPECT_EQ(app->model().cluster.objectNames.size(), 2u);
  EXPECT_EQ(t.polygonCount, 6u);
}

}  // namespace
}  // namespace ws::test
