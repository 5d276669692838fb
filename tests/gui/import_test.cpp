// The scene import through the File menu: Open of an OBJ file replaces the
// cluster with one object holding the file's mesh and its notifier logs
// into the base directory; Insert adds the mesh as another object.
#include <QAction>

#include "app/import_wiring.h"
#include "editor/command_ids.h"
#include "gui_fixture.h"

namespace ws::test {
namespace {

TEST_F(GuiTest, OpenAndInsertOfAnObjFileBuildItsMesh) {
  ScriptedUi ui;
  StartEditor(&ui);
  // The unit box: 8 corners, 12 distinct edges, 6 quadrilateral faces.
  ui.QueueOpenPath(BoxObj());
  window()->action(Cmd::kOpen)->trigger();
  Tick();
  const ObjectTables& t = app->model().tables;
  EXPECT_EQ(t.userPointCount(), 8u);
  EXPECT_EQ(t.userVectorCount(), 12u);
  EXPECT_EQ(t.polygonCount, 6u);
  EXPECT_EQ(app->model().cluster.objectNames.size(), 1u);
  EXPECT_EQ(app->shell().mode, EditorMode::kPlot);
  EXPECT_TRUE(ui.Messages().empty()) << ui.MessageTexts().front();
  EXPECT_TRUE(FileExists(Base() + "import_log.txt"));
  EXPECT_FALSE(app->import()->importing());
  ASSERT_TRUE(window()->action(Cmd::kMerge)->isEnabled());
  ui.QueueOpenPath(BoxObj());
  window()->action(Cmd::kInsert)->trigger();
  Tick();
  EXPECT_EQ(app->model().cluster.objectNames.size(), 2u);
  EXPECT_EQ(t.polygonCount, 6u);
}

}  // namespace
}  // namespace ws::test
