#include "editor/shell/commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>

#include "editor/editor_state.h"
#include "editor/interaction/attributes.h"
#include "editor/interaction/interaction_commands.h"
#include "editor/interaction/plot_mode.h"
#include "editor/interaction/selection.h"
#include "editor/shell/command_ids.h"
#include "editor/shell/editor_binding.h"
#include "editor/shell/key_handler.h"
#include "editor/shell/menu_state.h"
#include "editor/shell/menu_table.h"
#include "editor/shell/shell_observer.h"
#include "editor/shell/shell_state.h"
#include "editor/shell/tick.h"
#include "editor/view/display.h"
#include "editor/view/projection.h"
#include "editor/view/text_labels.h"
#include "editor_test_support.h"

namespace ws {
namespace {

// An editor with its shell, command table and bindings over a private base
// directory holding a copy of the generated default Preferences file, and a
// ScriptedUi answering the prompts.
class ShellFixture {
 public:
  ShellFixture() {
    test::WriteFileBytes(dir.File("Preferences"),
                         test::ReadFileBytes(test::BinaryDir() + "/Preferences"));
    editor.model.paths = Paths::FromBase(dir.path() + "/");
    editor.model.SetObserver(&observer);
    RegisterCoreCommands(registry);
  }
  ~ShellFixture() { editor.model.SetObserver(nullptr); }

  // A tick of a 900 x 600 client (then the help box's right edge and the mode
  // strip), the cursor at (x, y); the first lays the window out.
  TickOutput TickAt(int x = -1, int y = -1, bool foreground = true) {
    const TickInput in{900, 600, 230, {12, 80, 195, 103}, x, y, foreground, false};
    return Tick(ctx, registry, column, tickHooks, in);
  }
  ObjectTables& tables() { return editor.model.tables; }

  test::TempDir dir;
  ScriptedUi ui;
  Runtime rt{ui};
  Editor editor{rt};
  ShellState shell;
  EditorBinding binding{editor, shell};
  ShellObserver observer{shell, binding};
  CommandRegistry registry;
  EditorHooks hooks;
  TickHooks tickHooks;
  ControlColumn column;
  CommandContext ctx{editor.model, shell, binding, hooks, nullptr};
};

// Digits past the int range saturate; 2^64 + 5 shows a wrap-around.
TEST(LeadingInteger, ReadsTheLeadingDecimalNumber) {
  // clang-format off
  const std::pair<const char*, int> rows[] = {
      {"25", 25}, {"  42 units", 42}, {"-1", -1}, {"abc", 0}, {"", 0}, {"x12", 0},
      {"99999999999999999999", INT_MAX}, {"-99999999999999999999", INT_MIN},
      {"18446744073709551621", INT_MAX}};
  // clang-format on
  for (const auto& [text, value] : rows) EXPECT_EQ(LeadingInteger(text), value) << text;
}

class CommandsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(f.TickAt().laidOut); }
  bool Run(int id) { return f.registry.Dispatch(f.ctx, id); }
  void Press(int key) { HandleKeyMessage(f.ctx, f.registry, {key, true, false, false}); }
  std::uint32_t Point(double x, double y, double z) { return f.tables().AddPoint(x, y, z); }
  ShellFixture f;
};

TEST_F(CommandsTest, SetUnitsAndGuideFrameAskAgainUntilInRange) {
  for (const char* v : {"51", "0", "50"}) f.ui.QueueValue(v);
  EXPECT_TRUE(Run(Cmd::kSetUnits));
  EXPECT_EQ(std::make_tuple(f.ui.MessageTexts(), f.ui.Prompts(), f.editor.display.view.gridStep,
                            f.shell.redraw),
            std::make_tuple(std::vector<std::string>(2, std::string(kMsgValueOutOfRange)),
                            std::vector<std::string>(3, std::string(kPromptGridValue)), 50, true));
  // Cancel, and -1 which reads as Cancel, keep the step.
  for (auto [answer, step] :
       {std::pair<std::optional<std::string>, int>{std::nullopt, 50}, {"-1", 50}, {"1", 1}}) {
    f.ui.QueueValue(answer);
    Run(Cmd::kSetUnits);
    EXPECT_EQ(f.editor.display.view.gridStep, step) << answer.value_or("cancel");
  }
  // The guide frame takes 2 to 10000 and keeps the integer halves.
  f.ui.ClearMessages();
  for (const char* v : {"10001", "10000", "1", "3"}) f.ui.QueueValue(v);
  Run(Cmd::kSetGuideFrame);
  EXPECT_EQ(f.ui.MessageTexts().size(), 2u);
  const std::string w(kPromptGuideWidth), h(kPromptGuideHeight);
  EXPECT_EQ(std::vector<std::string>(f.ui.Prompts().end() - 4, f.ui.Prompts().end()),
            (std::vector<std::string>{w, w, h, h}));
  EXPECT_EQ(std::make_tuple(
                f.editor.display.options.guideHalfWidth, f.editor.display.options.guideHalfHeight,
                CurrentPreferences(f.ctx).viewHalfWidth, f.editor.model.preferences.viewHalfHeight),
            std::make_tuple(5000.0, 1.0, 5000.0, 1.0));
}

// Each row names the items it looks at: every one enabled unless greyed,
// and checked or unchecked when so listed. The rows give the inputs they
// change by name; GCC would warn of each member left to its default.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
const UndoMenuItem kUndoPlot{"Undo Plot\tCtrl+Z", true};

TEST(MenuState, ItemsFollowTheInputs) {
  using namespace Cmd;
  using Ids = std::vector<int>;
  constexpr std::uint32_t kUniform =
      PolyFlag::kCollision | PolyFlag::kBordered | PolyFlag::kShaded | PolyFlag::kNeverDrawBackFace;
  // The inputs, then the items enabled, greyed, checked and unchecked.
  const std::tuple<const char*, MenuInputs, Ids, Ids, Ids, Ids> rows[] = {
      // clang-format off
      {"no snapshot, one object, no polygon", {}, {kCheckObject},
       {kUndo, kDeleteFromCluster, kTessellate, kFlipPolygonFace, kClearViewZoneList,
        kStyleBordered, kPurposeCollision, kColorShaded, kStyleNormal, kVisibilityNormal,
        kPurposeNormal},
       {}, {kStyleNormal, kVisibilityNormal, kPurposeNormal}},
      {"snapshot, exactly two objects", {.undo = kUndoPlot, .objectCount = 2},
       {kUndo, kDeleteFromCluster}, {}, {}, {}},
      // With no flag set only the normal items could show a check.
      {"different flags: enabled, nothing checked", {.polygons = {2, false, 0}},
       {kTessellate, kClearViewZoneList}, {}, {},
       {kStyleNormal, kVisibilityNormal, kPurposeNormal}},
      {"uniform flags", {.polygons = {3, true, kUniform}}, {}, {},
       {kPurposeCollision, kStyleBordered, kColorShaded, kVisibilityNeverBackFace},
       {kPurposeNormal, kPurposeEntrance, kStyleNormal, kColorSelected, kVisibilityNormal}},
      {"a defined polygon (0x502)", {.polygons = {1, true, 0x502}}, {}, {},
       {kColorSelected, kStyleBordered, kVisibilityNeverBackFace, kPurposeNormal}, {}},
      {"no flags: the normal items", {.polygons = {1, true, 0}}, {}, {},
       {kPurposeNormal, kVisibilityNormal, kStyleNormal}, {}},
      // Renderer 2 is neither Software nor DirectX.
      {"settings show one check each",
       {.walkEditMode = 1, .marqueeSelection = 2, .rendererChoice = 2, .viewerShading = 3,
        .soundEffects = false, .vectorFilter = 1},
       {}, {}, {kSelectBackFacedOnly, kWalkFlipPolygonFace, kShadingPhong, Cmd::kFrontVectorsOnly},
       {kSelectAllPolygons, kSelectFrontFacedOnly, kWalkColorPolygon, kShadingNone,
        kRenderSoftware, kRenderDirectX, Cmd::kAllVectors, kSoundEffects}},
      {"the other marquee settings", {.marqueeSelection = 3}, {}, {}, {kSelectFrontFacedOnly},
       {kSelectBackFacedOnly}},
      {"walk mode greys editing, keeps exit and settings",
       {.walkModeActive = true, .undo = kUndoPlot, .objectCount = 3, .polygons = {1, true, 0}},
       {kExit, kSoundEffects, kSelectAllPolygons, kWalkColorPolygon, kRenderSoftware, kAbout},
       {kOpen, kSaveCluster, kLoadColorTable, kUndo, kThickLine, kObjectNew, kObjectRename,
        kDeleteFromCluster, kDuplicate, kCube, kTessellate, kSetUnits, kRemoveDuplicateGeometry,
        kCheckObject, kClearViewZoneList},
       {}, {}},
      {"walk mode, zone mode without a zone chosen", {.walkModeActive = true, .walkEditMode = 4},
       {}, {kClearViewZoneList}, {}, {}},
      {"walk mode, zone chosen",
       {.walkModeActive = true, .walkEditMode = 4, .viewZoneChosen = true}, {kClearViewZoneList},
       {}, {}, {}},
      {"unwired items are greyed",
       {.polygons = {1, true, 0},
        .wired = [](int id) { return id != kCube && id != kTessellate; }},
       {kCircle, kFlipPolygonFace}, {kCube, kTessellate}, {}, {}},
      // clang-format on
  };
  for (const auto& [name, in, enabled, greyed, checked, unchecked] : rows) {
    const MenuState s = RefreshMenuState(in);
    for (const Ids& ids : {enabled, greyed, checked, unchecked}) {
      for (int id : ids) {
        const bool isChecked = std::ranges::count(checked, id) > 0;
        EXPECT_EQ(s.at(id).enabled, std::ranges::count(greyed, id) == 0) << name << ": " << id;
        if (isChecked || std::ranges::count(unchecked, id) > 0) {
          EXPECT_EQ(s.at(id).checked, isChecked) << name << ": item " << id;
        }
      }
    }
  }
}
#pragma GCC diagnostic pop

// The exact texts the editor shows in its title, help box and messages, in
// one place; the other tests compare against the named constants (the
// layout and view zone tests spell out the messages they check).
TEST(UserTexts, AreExactlyAsShown) {
  constexpr std::string_view kCamera =
      "Drag object to the desired position to see vectors and polygons for editing.";
  constexpr std::string_view kPlot =
      "Plot endpoints to define the frame vectors of the object. Use the shift key to start a new "
      "vector.";
  // A mode's title and help, as in walk mode when `walk`; 7 is no mode.
  const std::tuple<int, bool, std::string_view, std::string_view> modes[] = {
      {EditorMode::kGrabColor, false, "Grab Color Mode",
       "Grab the current color from a polygon or vector."},
      {EditorMode::kSetColor, false, "Set Color Mode",
       "Set the fixed color of a polygon or vector to the current color."},
      {EditorMode::kSelectVector, false, "Select Vector Mode", "Select vectors for editing."},
      {EditorMode::kSelectPolygon, false, "Select Polygon Mode",
       "Select polygons for editing. Use the Polygons menu to change attributes."},
      {EditorMode::kPlot, false, "Plot Mode", kPlot},
      {7, false, "Plot Mode", kPlot},
      {EditorMode::kCameraView, false, "Camera View Mode", kCamera},
      {EditorMode::kVirtualWalk, false, "Virtual Walk Mode", kCamera},
      {EditorMode::kGrabColor, true, "Virtual Walk Mode",
       "Use the arrows to move, page-up/down or the mouse wheel to elevate, and the space bar to "
       "return to ground zero."},
  };
  for (const auto& [mode, walk, title, help] : modes) {
    EXPECT_EQ(std::make_pair(ModeHelpTexts(mode, walk).title, ModeHelpTexts(mode, walk).help),
              std::make_pair(title, help))
        << mode << walk;
  }
  const std::pair<std::string_view, std::string_view> rows[] = {
      {kTitlePlotVectors, "Plot Vectors"},
      {kHelpPlotVectors,
       "Plot endpoints to define the wire frame vectors of the object. Use the shift key to "
       "disconnect from the last vector and start a new one."},
      {kTitleInactive, "Wirestead Inactive"},
      {kHelpInactive, "Click on the dialog to reactivate Wirestead."},
      {kMsgMustPlotX, "Must plot X from FRONT/BACK/TOP/BOTTOM view"},
      {kMsgMustPlotY, "Must plot Y from FRONT/BACK/LEFT/RIGHT view"},
      {kMsgMustPlotZ, "Must plot Z from TOP/BOTTOM/LEFT/RIGHT view"},
      {kHelpSetEp1X, "Ready to set EP1 X-coordinate of this vector."},
      {kPromptGroupLeader, "Enter polygon number to adopt color from:"},
      {kMsgNoSuchPolygon, "That polygon does not exist. Please try again."},
      {kMsgViewZoneSeveral, "Only one polygon can be selected when setting it to a view zone."},
      {kMsgViewZoneNone, "You must select one polygon to be used as the view zone."},
      {kMsgViewZoneNoOthers, "There are no polygons that can be used for any view zones."},
      {kPromptGridValue, "Enter grid value (1-50):"},
      {kPromptGuideWidth, "Enter Width:"},
      {kPromptGuideHeight, "Enter Height:"},
      {kMsgValueOutOfRange, "Value entered is out of range."},
      {MenuItemText(Cmd::kCheckObject), "Check Object"},
  };
  for (const auto& [shown, expected] : rows) EXPECT_EQ(shown, expected);
  // Check Object follows Remove Duplicate Geometry in the menu.
  const auto ids = MainMenuIds();
  const auto at = std::find(ids.begin(), ids.end(), Cmd::kRemoveDuplicateGeometry) + 1;
  EXPECT_EQ(at < ids.end() ? *at : 0, Cmd::kCheckObject);
}

TEST(TextLabels, GlyphsAndTheTableLimits) {
  const std::pair<char, unsigned> rows[] = {{'A', 0},  {'Z', 25}, {'a', 0},  {'z', 25}, {'0', 26},
                                            {'9', 35}, {'-', 36}, {',', 37}, {'.', 38}};
  for (const auto& [c, glyph] : rows) EXPECT_EQ(GlyphForCharacter(c), glyph) << c;
  for (char c : std::string(" \t/:@[`{~\x7f\xC4")) EXPECT_FALSE(GlyphForCharacter(c)) << int(c);
  TextLabels labels;
  ASSERT_TRUE(labels.Set(49, std::string(256, 'B'), 0, 0, 0, 1, 0, 1.0));
  EXPECT_EQ(labels.entries()[49].Text(), std::string(255, 'B'));
  EXPECT_FALSE(labels.Set(50, "x", 0, 0, 0, 1, 0, 1.0));
}

TEST(PreTranslateKey, HeldKeysAndTheirReleases) {
  ShellState shell;
  // The key, its held bit, and whether its release goes to the key handler.
  const std::tuple<int, std::uint32_t, bool> rows[] = {
      {Key::kShift, HeldKey::kShift, false},     {Key::kControl, HeldKey::kControl, false},
      {Key::kUp, HeldKey::kUp, false},           {Key::kDown, HeldKey::kDown, false},
      {Key::kLeft, HeldKey::kLeft, false},       {Key::kRight, HeldKey::kRight, false},
      {Key::kDelete, HeldKey::kDelete, true},    {Key::kPageUp, HeldKey::kPageUp, true},
      {Key::kPageDown, HeldKey::kPageDown, true}};
  for (const auto& [key, bit, handlerOnRelease] : rows) {
    PreTranslation t = PreTranslateKey(shell, {key, true, false, false});
    EXPECT_EQ(std::make_tuple(t.consumed, t.action, shell.heldKeys),
              std::make_tuple(true, KeyAction::kKeyHandler, bit));
    t = PreTranslateKey(shell, {key, false, false, false});
    const KeyAction action = handlerOnRelease ? KeyAction::kKeyHandler : KeyAction::kNone;
    EXPECT_EQ(std::make_tuple(t.consumed, t.action, shell.heldKeys),
              std::make_tuple(true, action, 0u))
        << key;
  }
  shell.pendingKey = 'K';
  EXPECT_TRUE(PreTranslateKey(shell, {Key::kEnter, false, false, false}).consumed);
  EXPECT_EQ(shell.pendingKey, 0);
}

TEST_F(CommandsTest, CommaHalvesASharedPointOnceAndDigitsSetWidthAndUnselect) {
  ObjectTables& t = f.tables();
  const std::uint32_t a = Point(10, 20, 30), b = Point(40, 0, 0), c = Point(0, 8, 0),
                      d = Point(100, 100, 100);
  t.vectors[t.AddVector(a, b)].selected = kSelected;
  t.vectors[t.AddVector(b, c)].selected = kSelected;
  t.AddVector(c, d);  // unselected: d is not touched
  Press(Key::kComma);
  EXPECT_EQ(
      std::make_tuple(t.points[a].x, t.points[a].z, t.points[b].x, t.points[c].y, t.points[d].x),
      std::make_tuple(5.0, 15.0, 20.0, 4.0, 100.0));
  Press(Key::kPeriod);
  // The axis cross never moves.
  EXPECT_EQ(std::make_tuple(t.points[b].x, t.points[0].x, t.points[1].x),
            std::make_tuple(40.0, 0.0, 150.0));

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

TEST_F(CommandsTest, PanKeysMoveByOneGridStepWithTheirHelpText) {
  const std::tuple<char, double, double, const char*> rows[] = {
      {'K', -1, 0, "Shift Left"}, {'J', 0, 0, "Shift Right"}, {'J', 1, 0, "Shift Right"},
      {'M', 1, 1, "Shift Up"},    {'I', 1, 0, "Shift Down"},  {'I', 1, -1, "Shift Down"}};
  for (const auto& [key, panX, panY, help] : rows) {
    Press(key);
    EXPECT_EQ(std::make_tuple(f.editor.display.view.panX, f.editor.display.view.panY,
                              f.shell.helpText, f.shell.pendingKey),
              std::make_tuple(panX, panY, help, 0))
        << key;
  }
  f.shell.walkModeActive = true;  // walk mode keys belong to the walk view
  Press('K');
  EXPECT_EQ(f.editor.display.view.panX, 1.0);
}

TEST_F(CommandsTest, AnInactiveWindowOnlySaysSo) {
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
  f.TickAt();
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
    EXPECT_EQ(std::make_pair(wide.icons[i].left, wide.icons[i].top),
              std::make_pair(12 + 32 * i, 114));
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

// The whole shell with the interaction modules wired in, as the application
// does it. Each attribute item is wired to the attribute command (whose tests
// cover each item's flags): one dispatched through the table changes the one
// selected polygon; the two facing items turn it round. The shell hooks the
// window tests do not reach reach their interaction handlers (plotting, view
// letters, Define Polygon, the mode strip and the swatch are driven through
// the real window there).
TEST(WiredShell, EachMenuItemAndHookReachesItsHandler) {
  ShellFixture s;
  InteractionState state;
  EditContext ectx{s.editor, s.shell, state, {}, {}, {}, {}};
  RegisterInteractionCommands(s.registry, ectx);
  WireInteractionHooks(s.hooks, s.tickHooks, ectx);
  s.editor.display.options.instantViewChange = true;
  s.TickAt();
  ObjectTables& t = s.tables();
  for (int id :
       {Cmd::kStyleNormal, Cmd::kStyleBordered, Cmd::kOutlineStyle, Cmd::kColorSelected,
        Cmd::kColorShaded, Cmd::kColorAdopted, Cmd::kColorEachSide, Cmd::kVisibilityNormal,
        Cmd::kVisibilityInvisible, Cmd::kVisibilityNeverBackFace, Cmd::kVisibilityNotFromCollision,
        Cmd::kVisibilityHigherPriority, Cmd::kPurposeNormal, Cmd::kPurposeCollision,
        Cmd::kPurposeEntrance, Cmd::kPurposeViewZone}) {
    EXPECT_TRUE(s.registry.IsWired(id)) << id;
  }
  const std::uint32_t k =
      test::AddPolygon(t, {{0, 0, 0}, {0, 9, 0}, {9, 9, 0}}, PolyFlag::kOutline, 4);
  t.polygonSelected[k] = kSelected;
  const std::tuple<int, std::uint32_t, bool> rows[] = {
      {Cmd::kStyleBordered, PolyFlag::kBordered, false},
      {Cmd::kPopupMakeBackFaced, PolyFlag::kBordered, true},
      {Cmd::kPopupMakeFrontFaced, PolyFlag::kBordered, false}};
  for (const auto& [id, flags, away] : rows) {
    EXPECT_TRUE(s.registry.Dispatch(s.ctx, id)) << id;
    ProjectAllPoints(t, s.editor.display.MakeProjector());
    EXPECT_EQ(std::make_pair(t.polygons[k].flags, PolygonFacesAway(t, k)),
              std::make_pair(flags, away))
        << id;
  }
  EXPECT_TRUE(s.ui.Messages().empty());

  const std::uint32_t v = test::AddLine(t, {20, 0, 0}, {30, 0, 0});
  t.vectors[v].selected = kSelected;
  s.editor.display.view.gridStep = 25;
  EXPECT_TRUE(s.hooks.moveSelectedVectors(HeldKey::kRight));
  EXPECT_EQ(t.points[t.vectors[v].p1].x, 45.0);
  s.shell.mode = EditorMode::kSelectVector;
  s.hooks.newObjectReset();
  EXPECT_EQ(s.shell.mode, EditorMode::kPlot);
}

}  // namespace
}  // namespace ws
