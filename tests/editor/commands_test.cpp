#include "editor/commands.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "editor/command_ids.h"
#include "model/cluster.h"
#include "shell_fixture.h"

namespace ws {
namespace {

using test::ShellFixture;

TEST(LeadingInteger, ReadsTheLeadingDecimalNumber) {
  const std::pair<const char*, int> rows[] = {
      {"25", 25},  {"  42 units", 42}, {"-1", -1},  // -1 reads as Cancel
      {"abc", 0},  {"", 0},            {"x12", 0},
      {"99999999999999999999", INT_MAX}, {"-99999999999999999999", INT_MIN}};
  for (const auto& [text, value] : rows) EXPECT_EQ(LeadingInteger(text), value) << text;
}

TEST(AskNumber, CancelIsMinusOne) {
  ScriptedUi ui;
  ui.QueueValue(std::nullopt);
  ui.QueueValue("12");
  std::string answer;
  EXPECT_EQ(AskNumber(ui, "Q?"), -1);
  EXPECT_EQ(AskNumber(ui, "Q?", &answer), 12);
  EXPECT_EQ(answer, "12");
  EXPECT_EQ(ui.Prompts(), (std::vector<std::string>{"Q?", "Q?"}));
}

class CommandsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(f.FirstTick().laidOut); }
  bool Run(int id) { return f.registry.Dispatch(f.ctx, id); }
  ShellFixture f;
};

TEST_F(CommandsTest, SetUnitsAndGuideFrameAskAgainUntilInRange) {
  for (const char* v : {"51", "0", "50"}) f.ui.QueueValue(v);
  EXPECT_TRUE(Run(Cmd::kSetUnits));
  EXPECT_EQ(f.ui.MessageTexts(), std::vector<std::string>(2, std::string(kMsgValueOutOfRange)));
  EXPECT_EQ(f.ui.Prompts(), std::vector<std::string>(3, std::string(kPromptGridValue)));
  EXPECT_EQ(f.editor.display.view.gridStep, 50);
  EXPECT_TRUE(f.shell.redraw);
  // Cancel, and -1 which reads as Cancel, keep the step.
  f.ui.QueueValue(std::nullopt);
  Run(Cmd::kSetUnits);
  f.ui.QueueValue("-1");
  Run(Cmd::kSetUnits);
  EXPECT_EQ(f.editor.display.view.gridStep, 50);
  f.ui.QueueValue("1");
  Run(Cmd::kSetUnits);
  EXPECT_EQ(f.editor.display.view.gridStep, 1);
  // The guide frame takes 2 to 10000 and keeps the integer halves.
  f.ui.ClearMessages();
  for (const char* v : {"10001", "10000", "1", "3"}) f.ui.QueueValue(v);
  Run(Cmd::kSetGuideFrame);
  EXPECT_EQ(f.ui.MessageTexts().size(), 2u);
  const std::string w(kPromptGuideWidth), h(kPromptGuideHeight);
  EXPECT_EQ(std::vector<std::string>(f.ui.Prompts().end() - 4, f.ui.Prompts().end()),
            (std::vector<std::string>{w, w, h, h}));
  EXPECT_EQ(f.editor.display.options.guideHalfWidth, 5000.0);
  EXPECT_EQ(f.editor.display.options.guideHalfHeight, 1.0);
  EXPECT_EQ(CurrentPreferences(f.ctx).viewHalfWidth, 5000.0);
  EXPECT_EQ(f.editor.model.preferences.viewHalfHeight, 1.0);
}

TEST_F(CommandsTest, DisplayAndSettingsItemsSetTheirValue) {
  const DisplayOptions& o = f.editor.display.options;
  const ShellState& s = f.shell;
  const struct {
    int id;
    std::function<bool()> done;
  } rows[] = {
      {Cmd::kThickLine, [&] { return o.thickLine && f.editor.model.preferences.thickLine; }},
      {Cmd::kBackVectorsOnly, [&] { return o.vectorFilter == 2; }},
      {Cmd::kInvisiblePolygons, [&] { return o.showInvisible; }},
      {Cmd::kBackfacedPolygons, [&] { return o.showBackfaced; }},
      {Cmd::kTogglePerspective, [&] { return o.perspective; }},
      {Cmd::kSoundEffects,
       [&] { return !o.soundEffects && !CurrentPreferences(f.ctx).soundEffectsOn; }},
      {Cmd::kSelectFrontFacedOnly, [&] { return s.marqueeSelection == 3; }},
      {Cmd::kWalkSetViewZonePriorities, [&] { return s.walkEditMode == 4; }},
      {Cmd::kWalkFlipPolygonFace, [&] { return s.walkEditMode == 1; }},
  };
  for (const auto& r : rows) {
    f.shell.menuRefreshPending = false;
    Run(r.id);
    EXPECT_TRUE(r.done()) << r.id;
    EXPECT_TRUE(f.shell.menuRefreshPending) << r.id;
  }
  f.shell.rendererChoice = 2;
  Run(Cmd::kRenderSoftware);
  EXPECT_EQ(f.shell.rendererChoice, 0);
}

TEST_F(CommandsTest, UnwiredCommandsDoNothing) {
  EXPECT_FALSE(Run(Cmd::kCube));
  EXPECT_FALSE(f.registry.IsWired(Cmd::kInsert));
  f.registry.Register(Cmd::kCube, [](CommandContext& ctx) { ctx.shell.quit = true; });
  EXPECT_TRUE(Run(Cmd::kCube));
  EXPECT_TRUE(f.shell.quit);
}

TEST_F(CommandsTest, OpenRefusesForeignFilesWithoutTouchingTheCluster) {
  NewObject(f.editor.model, "kept");
  f.ui.QueueOpenPath(f.dir.File("model.dxf"));
  Run(Cmd::kOpen);
  EXPECT_EQ(f.ui.OpenDialogTitles(), (std::vector<std::string>{"Select directory.."}));
  EXPECT_EQ(f.ui.OpenDialogFilters()[0][0].description, "All Supported 3D Formats");
  EXPECT_EQ(f.ui.MessageTexts(),
            (std::vector<std::string>{"Could not import \"" + f.dir.File("model.dxf") + "\""}));
  EXPECT_EQ(f.editor.model.cluster.objectNames.size(), 2u);
}

TEST_F(CommandsTest, OpenReadsAnObjectFileIntoANewCluster) {
  NewObject(f.editor.model, "old");
  ASSERT_TRUE(OpenPath(f.ctx, Cmd::kOpen, test::DataPath("cube.wdo")));
  EXPECT_EQ(f.editor.model.cluster.objectNames,
            (std::vector<std::string>{std::string(kDefaultObjectName)}));
  EXPECT_EQ(f.tables().userPointCount(), 8u);
  EXPECT_EQ(f.editor.model.tables.polygonCount, 6u);
}

TEST_F(CommandsTest, PopupSelectionItemsReachTheSelection) {
  ObjectTables& t = f.tables();
  const std::uint32_t v = t.AddVector(t.AddPoint(0, 0, 0), t.AddPoint(1, 0, 0));
  t.polygonCount = 2;
  t.polygons[0].frontColor = t.polygons[1].frontColor = 9;
  Run(Cmd::kPopupSelectAll);
  EXPECT_EQ(std::make_pair(t.vectors[v].selected, t.polygonSelected[1]),
            std::make_pair(kSelected, kSelected));
  Run(Cmd::kPopupUnselect);
  EXPECT_EQ(std::make_pair(t.vectors[v].selected, t.polygonSelected[1]),
            std::make_pair(kUnselected, kUnselected));
  f.shell.hoveredPolygon = 1;
  Run(Cmd::kPopupSelectSameColor);
  EXPECT_EQ(t.polygonSelected[0], kSelected);
}

class RecordingPlayer : public SoundPlayer {
 public:
  void Play(std::span<const std::uint8_t> wav) override { played.emplace_back(wav.begin(), wav.end()); }
  std::vector<std::vector<std::uint8_t>> played;
};

TEST_F(CommandsTest, SoundEffectsPlayOnlyWhenOnAndPresent) {
  RecordingPlayer player;
  f.ctx.sound = &player;
  f.editor.model.sounds[1] = {7, 7};
  f.editor.model.sounds[2].clear();
  PlaySoundEffect(f.ctx, 1);
  PlaySoundEffect(f.ctx, 2);  // missing: silent
  PlaySoundEffect(f.ctx, 9);  // no such sound
  ASSERT_EQ(player.played.size(), 1u);
  EXPECT_EQ(player.played[0], (std::vector<std::uint8_t>{7, 7}));
  Run(Cmd::kSoundEffects);
  PlaySoundEffect(f.ctx, 1);
  EXPECT_EQ(player.played.size(), 1u);
}

TEST_F(CommandsTest, ObjectMenuWorksOnTheCluster) {
  f.ui.QueueValue("wheel");
  Run(Cmd::kObjectNew);
  EXPECT_EQ(f.editor.model.cluster.objectNames.back(), "wheel");
  EXPECT_EQ(f.editor.model.cluster.current, 1u);
  f.ui.QueueValue("axle");
  Run(Cmd::kObjectRename);
  EXPECT_EQ(f.editor.model.cluster.objectNames[1], "axle");
  Run(Cmd::kDeleteFromCluster);
  EXPECT_EQ(f.editor.model.cluster.objectNames.size(), 1u);
  EXPECT_GE(f.shell.objectListVersion, 3u);
}

TEST_F(CommandsTest, StartNewClusterResetsToPlotModeWithItsHelp) {
  f.shell.mode = EditorMode::kSelectPolygon;
  int resets = 0;
  f.hooks.newObjectReset = [&] { ++resets; };
  Run(Cmd::kStartNewCluster);
  EXPECT_EQ(f.shell.mode, EditorMode::kPlot);
  EXPECT_EQ(f.shell.helpText, kHelpPlotVectors);
  EXPECT_EQ(resets, 1);
  // A cancelled New changes nothing.
  f.shell.mode = EditorMode::kCameraView;
  f.ui.QueueValue(std::nullopt);
  Run(Cmd::kObjectNew);
  EXPECT_EQ(f.shell.mode, EditorMode::kCameraView);
  EXPECT_EQ(resets, 1);
}

}  // namespace
}  // namespace ws
