// "Check Object" in the Object menu: its dialog lists the findings, and a
// double-click on one replaces the selection with what it names.
#include <gtest/gtest.h>

#include <QAction>
#include <QListWidget>
#include <QMenu>

#include "editor/shell/command_ids.h"
#include "geometry/geometry_support.h"
#include "gui_fixture.h"

namespace ws::test {
namespace {

// "polygons 0 | vectors 8 | redraw": the marks in file numbering.
std::string Marks(const ObjectTables& t, bool redraw) {
  std::string s = "polygons";
  for (std::uint32_t k = 0; k < t.polygonCount; ++k) {
    if (t.polygonSelected[k]) s += ' ' + std::to_string(k);
  }
  s += " | vectors";
  for (std::uint32_t v = kReservedVectors; v < t.vectorCount; ++v) {
    if (t.vectors[v].selected) s += ' ' + std::to_string(v - kReservedVectors);
  }
  return s + (redraw ? " | redraw" : "");
}

TEST_F(GuiTest, CheckObjectListsFindingsAndADoubleClickSelectsWhatOneNames) {
  StartEditor();
  ObjectTables& t = app->model().tables;
  // Two squares, the first Collision (with no Entrance), and a loose diagonal.
  for (const double z : {0.0, 20.0}) {
    std::uint32_t p[4];
    for (int i = 0; i < 4; ++i)
      p[i] = AppendPoint(t, 10.0 * (i == 1 || i == 2), 10.0 * (i >= 2), z);
    for (int i = 0; i < 4; ++i) AppendFreshVector(t, p[i], p[(i + 1) % 4]);
    Polygon& poly = t.polygons[t.polygonCount];
    poly = Polygon{};
    poly.pointCount = 4;
    std::copy(p, p + 4, poly.points);
    poly.flags = PolyFlag::kDefined | (z == 0 ? PolyFlag::kCollision : 0);
    ++t.polygonCount;
    RebuildVectorLists(t, t.polygonCount - 1, t.polygonCount);
  }
  AppendFreshVector(t, 7, 9);
  t.polygonSelected[1] = kSelected;  // the selection before: replaced
  t.vectors[kReservedVectors].selected = kSelected;
  Tick();
  QAction* action = window()->action(Cmd::kCheckObject);
  ASSERT_NE(action, nullptr);
  const auto* menu = qobject_cast<QMenu*>(action->associatedObjects().value(0));
  EXPECT_EQ(std::make_tuple(action->text(), menu ? menu->title() : QString(), action->isEnabled()),
            std::make_tuple(QString("Check Object"), QString("&Object"), true));

  // Lists the rows, then double-clicks each and records the marks.
  auto run = [&] {
    std::vector<std::string> seen;
    WhenModal([&](QWidget* modal) {
      auto* list = modal->findChild<QListWidget*>("checkFindings");
      for (int i = 0; list && i < list->count(); ++i)
        seen.push_back(list->item(i)->text().toStdString());
      for (int i = 0; list && i < list->count(); ++i) {
        app->shell().redraw = false;
        // As a person does it: press, release, then the second press.
        const QPoint at = list->visualItemRect(list->item(i)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        seen.push_back(Marks(t, app->shell().redraw));
      }
      modal->close();
    });
    action->trigger();
    return seen;
  };
  EXPECT_EQ(run(), (std::vector<std::string>{
                       "Collision polygon 0 has no Entrance polygon: walking in is impossible.",
                       "1 vector belongs to no polygon: 8.", "polygons 0 | vectors | redraw",
                       "polygons | vectors 8 | redraw"}));
  // Nothing to find: the one row selects nothing.
  t.polygons[0].flags = PolyFlag::kDefined;
  --t.vectorCount;
  EXPECT_EQ(run(), (std::vector<std::string>{"No problems found.", "polygons | vectors"}));
}

}  // namespace
}  // namespace ws::test
