#include "editor/shell/key_handler.h"

#include <gtest/gtest.h>

#include "editor/shell/command_ids.h"
#include "editor/shell/tick.h"
#include "shell_fixture.h"

namespace ws {
namespace {

using test::ShellFixture;

KeyInput Down(int key, bool control = false, bool text = false) { return {key, true, control, text}; }
KeyInput Up(int key, bool control = false, bool text = false) { return {key, false, control, text}; }

TEST(PreTranslateKey, HeldKeysAndTheirReleases) {
  ShellState shell;
  struct Case { int key; std::uint32_t bit; bool handlerOnRelease; };
  for (Case c : {Case{Key::kShift, HeldKey::kShift, false}, {Key::kControl, HeldKey::kControl, false},
                 {Key::kUp, HeldKey::kUp, false}, {Key::kDown, HeldKey::kDown, false},
                 {Key::kLeft, HeldKey::kLeft, false}, {Key::kRight, HeldKey::kRight, false},
                 {Key::kDelete, HeldKey::kDelete, true}, {Key::kPageUp, HeldKey::kPageUp, true},
                 {Key::kPageDown, HeldKey::kPageDown, true}}) {
    PreTranslation t = PreTranslateKey(shell, Down(c.key));
    EXPECT_EQ(std::make_tuple(t.consumed, t.action, shell.heldKeys),
              std::make_tuple(true, KeyAction::kKeyHandler, c.bit));
    t = PreTranslateKey(shell, Up(c.key));
    EXPECT_EQ(
        std::make_tuple(t.consumed, t.action, shell.heldKeys),
        std::make_tuple(true, c.handlerOnRelease ? KeyAction::kKeyHandler : KeyAction::kNone, 0u))
        << c.key;
  }
  shell.pendingKey = 'K';
  EXPECT_TRUE(PreTranslateKey(shell, Up(Key::kEnter)).consumed);
  EXPECT_EQ(shell.pendingKey, 0);
}

class KeyHandlerTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(f.FirstTick().laidOut); }
  void Press(int key) { HandleKeyMessage(f.ctx, f.registry, Down(key)); }
  std::uint32_t Point(double x, double y, double z) { return f.tables().AddPoint(x, y, z); }
  ShellFixture f;
};

TEST_F(KeyHandlerTest, CommaHalvesASharedPointOnce) {
  ObjectTables& t = f.tables();
  const std::uint32_t a = Point(10, 20, 30), b = Point(40, 0, 0), c = Point(0, 8, 0),
                      d = Point(100, 100, 100);
  t.vectors[t.AddVector(a, b)].selected = kSelected;
  t.vectors[t.AddVector(b, c)].selected = kSelected;
  t.AddVector(c, d);  // unselected: d is not touched
  Press(Key::kComma);
  EXPECT_EQ(std::make_tuple(t.points[a].x, t.points[a].z, t.points[b].x, t.points[c].y, t.points[d].x),
            std::make_tuple(5.0, 15.0, 20.0, 4.0, 100.0));
  Press(Key::kPeriod);
  // The axis cross never moves.
  EXPECT_EQ(std::make_tuple(t.points[b].x, t.points[0].x, t.points[1].x), std::make_tuple(40.0, 0.0, 150.0));
}

TEST_F(KeyHandlerTest, DigitsSetWidthAndUnselect) {
  ObjectTables& t = f.tables();
  const std::uint32_t v = t.AddVector(Point(0, 0, 0), Point(10, 0, 0));
  const std::uint32_t w = t.AddVector(Point(0, 10, 0), Point(10, 10, 0));
  t.vectors[v].selected = kSelected;
  t.vectors[v].width = 3;
  Press('0');
  EXPECT_EQ(std::make_tuple(t.vectors[v].width, t.vectors[v].selected),
            std::make_tuple(0u, kUnselected));
  t.vectors[w].selected = kSelected;
  Press('9');  // the last digit; v is no longer selected
  EXPECT_EQ(std::make_tuple(t.vectors[w].width, t.vectors[v].width), std::make_tuple(9u, 0u));
}

TEST_F(KeyHandlerTest, PanKeysMoveByOneGridStepWithTheirHelpText) {
  const std::tuple<char, double, double, const char*> rows[] = {
      {'K', -1, 0, "Shift Left"}, {'J', 0, 0, "Shift Right"}, {'J', 1, 0, "Shift Right"},
      {'M', 1, 1, "Shift Up"},    {'I', 1, 0, "Shift Down"},  {'I', 1, -1, "Shift Down"}};
  for (const auto& [key, panX, panY, help] : rows) {
    Press(key);
    EXPECT_EQ(std::make_tuple(f.editor.display.view.panX, f.editor.display.view.panY, f.shell.helpText,
                              f.shell.pendingKey),
              std::make_tuple(panX, panY, help, 0))
        << key;
  }
  f.shell.walkModeActive = true;  // walk mode keys belong to the walk view
  Press('K');
  EXPECT_EQ(f.editor.display.view.panX, 1.0);
}

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
  EXPECT_EQ(std::make_pair(f.shell.commandLineFile.has_value(), f.tables().polygonCount),
            std::make_pair(false, 6u));
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
