// The scene import through the File menu: Open of an OBJ file replaces the
// cluster with one object holding the file's mesh, and its notifier logs
// into the base directory.
#include <QAction>

#include "app/import_wiring.h"
#include "editor/command_ids.h"
#include "gui_fixture.h"

namespace ws::test {
namespace {

TEST_F(GuiTest, OpenOfAnObjFileBuildsItsMesh) {
  ScriptedUi ui;
  StartEditor(&ui);
  // The unit box: 8 corners, 12 distinct edges, 6 quadrilateral faces.
  const std::string path = BoxObj();
  ASSERT_TRUE(FileExists(path));
  ui.QueueOpenPath(path);
  QAction* open = window()->action(Cmd::kOpen);
  ASSERT_NE(open, nullptr);
  open->trigger();
  Tick();
  const ObjectTables& t = app->model().tables;
  EXPECT_EQ(t.userPointCount(), 8u);
  EXPECT_EQ(t.userVectorCount(), 12u);
  EXPECT_EQ(t.polygonCount, 6u);
  EXPECT_EQ(app->model().cluster.objectNames.size(), 1u);
  EXPECT_EQ(app->shell().mode, EditorMode::kPlot);
  EXPECT_TRUE(ui.Messages().empty()) << ui.MessageTexts().front();
  EXPECT_TRUE(FileExists(Base() + "import_log.txt"));
  ASSERT_NE(app->import(), nullptr);
  EXPECT_FALSE(app->import()->importing());
}

TEST_F(GuiTest, InsertAndMergeAreWiredAndInsertAddsAnObject) {
  ScriptedUi ui;
  StartEditor(&ui);
  Tick();
  ASSERT_TRUE(window()->action(Cmd::kInsert)->isEnabled());
  ASSERT_TRUE(window()->action(Cmd::kMerge)->isEnabled());
  const std::size_t before = app->model().cluster.objectNames.size();
  ui.QueueOpenPath(BoxObj());
  window()->action(Cmd::kInsert)->trigger();
  Tick();
  EXPECT_EQ(app->model().cluster.objectNames.size(), before + 1);
  EXPECT_EQ(app->model().tables.polygonCount, 6u);
}

}  // namespace
}  // namespace ws::test
