#include "editor/tick.h"

#include <gtest/gtest.h>

#include "editor/command_ids.h"
#include "shell_fixture.h"

namespace ws {
namespace {

using test::ShellFixture;

TEST(Tick, WaitsForAClientSizeThenInitialises) {
  ShellFixture f;
  TickInput in = f.Input(0, 0);
  TickOutput out = Tick(f.ctx, f.registry, f.column, f.tickHooks, in);
  EXPECT_FALSE(out.laidOut);
  EXPECT_TRUE(f.shell.firstLayoutPending);
  out = f.FirstTick(900, 600);
  EXPECT_TRUE(out.firstLayout);
  EXPECT_FALSE(f.shell.firstLayoutPending);
  EXPECT_EQ(f.shell.statusTitle, "Plot Vectors");
  EXPECT_EQ(f.shell.helpText, kHelpPlotVectors);
  EXPECT_EQ(f.editor.model.cluster.objectNames, (std::vector<std::string>{"Default Object"}));
  EXPECT_TRUE(test::FileExists(f.dir.File("temp")));
  // R = 230: h = 579 -> 576, w = 644 + 8 = 652 -> 648; W = 768 >= 648.
  EXPECT_EQ(f.binding.EditArea(), (IntRect{240, 10, 240 + 648 - 1, 576 + 9}));
  EXPECT_TRUE(f.shell.menuRefreshPending);
  out = f.TickAt(5, 5);
  ASSERT_TRUE(out.menu.has_value());
  EXPECT_FALSE(out.menu->at(Cmd::kUndo).enabled);
}

TEST(Tick, MissingPaletteEndsTheProgramAfterItsMessage) {
  ShellFixture f(false);
  {
    ResourceFile files(f.rt);
    ASSERT_EQ(files.CreateResFile(f.dir.File("Preferences")), 0);
  }
  const TickOutput out = f.FirstTick();
  EXPECT_FALSE(out.laidOut);
  EXPECT_TRUE(f.shell.quit);
  EXPECT_EQ(f.ui.MessageTexts(),
            (std::vector<std::string>{"Can't find clut in preferences file."}));
  // Nothing more happens on later ticks.
  EXPECT_FALSE(f.TickAt(300, 300).drewFrame);
}

TEST(Tick, InactiveWindowOnlySaysSo) {
  ShellFixture f;
  f.FirstTick();
  TickOutput out = f.TickAt(400, 200, false);
  EXPECT_FALSE(out.drewFrame);
  EXPECT_FALSE(f.shell.applicationActive);
  EXPECT_EQ(f.shell.statusTitle, "Wirestead Inactive");
  out = f.TickAt(400, 200, true);
  EXPECT_TRUE(out.drewFrame);
  EXPECT_TRUE(f.shell.applicationActive);
  EXPECT_EQ(out.cursor, CursorChoice::kModeCursor);
}

TEST(Tick, HoverOverTheControlColumn) {
  ShellFixture f;
  f.FirstTick();
  const IntRect axis = ToggleHitRect(f.column.icons[kToggleAxis]);
  const IntRect vectors = ToggleHitRect(f.column.icons[kToggleVectors]);
  const IntRect camera = f.column.modes[EditorMode::kCameraView];
  const struct {
    int x, y;
    bool axisOn, walk;
    const char* title;
  } rows[] = {
      {axis.left, axis.top, true, false, "Axis On"},
      {axis.left, axis.top, false, false, "Axis Off"},
      {f.column.swatch.left + 1, f.column.swatch.top + 1, true, false, "Change Color"},
      {axis.left, axis.top, true, true, "Function Disabled"},
      {vectors.left, vectors.top, true, true, "Vectors On"},
      {camera.left, camera.bottom, true, false, "Camera View Mode"},
      {2, 590, true, false, "Plot Mode"},  // outside everything: the mode's title
  };
  for (const auto& r : rows) {
    f.editor.display.options.axisOn = r.axisOn;
    f.shell.walkModeActive = r.walk;
    f.TickAt(r.x, r.y);
    EXPECT_EQ(f.shell.statusTitle, r.title);
  }
  EXPECT_EQ(f.TickAt(2, 590).cursor, CursorChoice::kWindowDefault);
}

TEST(Tick, HoverInTheEditAreaNamesTheVector) {
  ShellFixture f;
  f.FirstTick();
  ObjectTables& t = f.tables();
  // A vertical vector through the middle of the view.
  const std::uint32_t v = t.AddVector(t.AddPoint(40, -100, 0), t.AddPoint(40, 100, 0));
  f.shell.mode = EditorMode::kSelectVector;
  f.TickAt(700, 30);  // draws a frame so that the projection is current
  const IntRect area = f.binding.EditArea();
  const int x = area.left + f.editor.display.layout.cx + 40;
  const int y = area.top + f.editor.display.layout.cy;
  f.TickAt(x, y);
  EXPECT_EQ(f.shell.hoveredVector, v);
  EXPECT_EQ(f.shell.statusTitle, "Vector " + std::to_string(v));
  f.TickAt(area.left + 3, area.top + 3);
  EXPECT_EQ(f.shell.statusTitle, "Nothing Selected");
}

TEST(Tick, CommandLineFileOpensOnceAfterTheFirstLayout) {
  ShellFixture f;
  f.shell.commandLineFile = test::DataPath("cube.wdo");
  f.FirstTick();
  EXPECT_FALSE(f.shell.commandLineFile.has_value());
  const std::uint32_t polygons = f.tables().polygonCount;
  EXPECT_GT(polygons, 0u);
  f.TickAt(5, 5);
  EXPECT_EQ(f.tables().polygonCount, polygons);
}

TEST(Tick, RedrawRefreshesThePlotStatusOnce) {
  ShellFixture f;
  int refreshes = 0;
  f.tickHooks.refreshPlotStatus = [&] { ++refreshes; };
  f.FirstTick();
  f.TickAt(400, 300);
  EXPECT_EQ(refreshes, 1);
  EXPECT_FALSE(f.shell.redraw);
  f.TickAt(400, 300);
  EXPECT_EQ(refreshes, 1);
}

TEST(ControlColumn, ToggleRowsWrapBeforeTheEditArea) {
  const IntRect strip{12, 80, 195, 103};
  const ControlColumn wide = PlaceControls(strip, 500);
  for (int i = 0; i < kToggleCount; ++i)
    EXPECT_EQ(std::make_pair(wide.icons[i].left, wide.icons[i].top), std::make_pair(12 + 32 * i, 114));
  EXPECT_EQ(std::make_pair(wide.swatch.left, wide.swatch.top), std::make_pair(12 + 32 * 7, 114));
  // The limit is 40 pixels left of the EditArea. At 244 icon 6 (x 204) just
  // fits and the swatch starts a row; at 243 icon 6 starts it, the swatch follows.
  const ControlColumn fits = PlaceControls(strip, 244);
  EXPECT_EQ(std::make_pair(fits.icons[6].left, fits.icons[6].top), std::make_pair(204, 114));
  EXPECT_EQ(std::make_pair(fits.swatch.left, fits.swatch.top), std::make_pair(12, 148));
  const ControlColumn narrow = PlaceControls(strip, 243);
  EXPECT_EQ(std::make_pair(narrow.icons[5].left, narrow.icons[5].top), std::make_pair(172, 114));
  EXPECT_EQ(std::make_pair(narrow.icons[6].left, narrow.icons[6].top), std::make_pair(12, 148));
  EXPECT_EQ(std::make_pair(narrow.swatch.left, narrow.swatch.top), std::make_pair(44, 148));
  EXPECT_EQ(ToggleHitRect(narrow.icons[6]), (IntRect{15, 150, 40, 178}));
  EXPECT_EQ(ToggleAt(narrow, 15, 150), kToggleDeleteObjects);
  EXPECT_EQ(ToggleAt(narrow, 14, 150), -1);
  EXPECT_EQ(ModeAt(narrow, 14, 90), 0);
  EXPECT_EQ(ModeAt(narrow, 14 + 24, 90), -1);  // the 2-pixel gap
  EXPECT_EQ(ModeAt(narrow, 14 + 26 * 6, 103), 6);
}

TEST(ControlColumn, ReleasePerformsTheRememberedButtonAndPlaysSoundOne) {
  ShellFixture f;
  f.FirstTick();
  PressToggle(f.shell, f.column, f.column.icons[kTogglePolygons].left + 5,
              f.column.icons[kTogglePolygons].top + 5);
  EXPECT_EQ(f.shell.pressedHotArea, kTogglePolygons);
  EXPECT_TRUE(TogglePressed(kToggleDefinePolygon, f.editor.display.options, kToggleDefinePolygon));
  EXPECT_EQ(ReleaseToggle(f.ctx), kTogglePolygons);
  EXPECT_FALSE(f.editor.display.options.polygonsOn);
  EXPECT_FALSE(f.editor.model.preferences.polygonsShown);
  EXPECT_EQ(f.shell.pressedHotArea, kNoHotArea);
  EXPECT_EQ(ReleaseToggle(f.ctx), -1);
  // In walk mode Grid does nothing.
  f.shell.walkModeActive = true;
  PressToggle(f.shell, f.column, f.column.icons[kToggleGrid].left + 5,
              f.column.icons[kToggleGrid].top + 5);
  ReleaseToggle(f.ctx);
  EXPECT_TRUE(f.editor.display.options.gridOn);
}

}  // namespace
}  // namespace ws
