// "Check Object" in the Object menu: its dialog lists the findings, and a
// double-click on one replaces the selection with what it names.
#include <gtest/gtest.h>

#include <QAction>
#include <QListWidget>

#include "editor/shell/command_ids.h"
#include "gui_fixture.h"

namespace ws::test {
namespace {

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

}  // namespace
}  // namespace ws::test
