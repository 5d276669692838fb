#include "editor/shell/tick.h"

#include <gtest/gtest.h>

#include "editor/shell/command_ids.h"
#include "shell_fixture.h"

namespace ws {
namespace {

using test::ShellFixture;

TEST(Tick, InactiveWindowOnlySaysSo) {
  ShellFixture f;
  f.FirstTick();
  TickOutput out = f.TickAt(400, 200, false);
  EXPECT_EQ(std::make_tuple(out.drewFrame, f.shell.applicationActive, f.shell.statusTitle),
            std::make_tuple(false, false, std::string(kTitleInactive)));
  out = f.TickAt(400, 200, true);
  EXPECT_EQ(std::make_tuple(out.drewFrame, f.shell.applicationActive, out.cursor),
            std::make_tuple(true, true, CursorChoice::kModeCursor));
}

TEST(Tick, CommandLineFileOpensOnceAfterTheFirstLayout) {
  ShellFixture f;
  f.shell.commandLineFile = test::SourceDir() + "/tests/data/cube.wdo";
  f.shell.walkModeActive = true;  // the walk view keeps it waiting
  f.FirstTick();
  EXPECT_TRUE(f.shell.commandLineFile.has_value());
  f.shell.walkModeActive = false;
  f.TickAt(5, 5);
  EXPECT_FALSE(f.shell.commandLineFile.has_value());
  EXPECT_EQ(f.tables().polygonCount, 6u);
  f.TickAt(5, 5);
  EXPECT_EQ(f.tables().polygonCount, 6u);
}

TEST(ControlColumn, ToggleRowsWrapBeforeTheEditArea) {
  const IntRect strip{12, 80, 195, 103};
  const ControlColumn wide = PlaceControls(strip, 500);
  for (int i = 0; i < kToggleCount; ++i)
    EXPECT_EQ(std::make_pair(wide.icons[i].left, wide.icons[i].top), std::make_pair(12 + 32 * i, 114));
  EXPECT_EQ(std::make_pair(wide.swatch.left, wide.swatch.top), std::make_pair(12 + 32 * 7, 114));
  // The limit is 40 pixels left of the EditArea. At 244 icon 6 (x 204) just
  // fits and the swatch starts a row; at 243 icon 6 starts it, the swatch follows.
  const ControlColumn fits = PlaceControls(strip, 244), narrow = PlaceControls(strip, 243);
  EXPECT_EQ(std::vector({fits.icons[6].left, fits.icons[6].top, fits.swatch.left, fits.swatch.top,
                         narrow.icons[5].left, narrow.icons[5].top, narrow.icons[6].left,
                         narrow.icons[6].top, narrow.swatch.left, narrow.swatch.top}),
            std::vector({204, 114, 12, 148, 172, 114, 12, 148, 44, 148}));
  EXPECT_EQ(ToggleHitRect(narrow.icons[6]), (IntRect{15, 150, 40, 178}));
  // x = 14 + 24 lies in the 2-pixel gap between two modes.
  EXPECT_EQ(
      std::vector({ToggleAt(narrow, 15, 150), ToggleAt(narrow, 14, 150), ModeAt(narrow, 14, 90),
                   ModeAt(narrow, 14 + 24, 90), ModeAt(narrow, 14 + 26 * 6, 103)}),
      std::vector({int{kToggleDeleteObjects}, -1, 0, -1, 6}));
}

}  // namespace
}  // namespace ws
