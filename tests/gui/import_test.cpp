// The scene import through the File menu and dialog 154 on its result: Open
// of an OBJ file reaches the scene import (whose results the import tests
// cover) and its notifier logs into the base directory; in "Set Priority
// List For This View Zone" the zone is the selected face, "Add" lists the
// first other face with Low priority and "Done" writes the list.
#include <QAction>
#include <QListWidget>
#include <QPushButton>

#include "app/import_wiring.h"
#include "editor/shell/command_ids.h"
#include "gui_fixture.h"

namespace ws::test {
namespace {

TEST_F(GuiTest, OpenAnObjFileAndSetAViewZoneListOnIt) {
  ScriptedUi ui;
  StartEditor(&ui);
  ui.QueueOpenPath(BoxObj());
  window()->action(Cmd::kOpen)->trigger();
  Tick();
  ObjectTables& t = app->model().tables;
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

}  // namespace
}  // namespace ws::test
