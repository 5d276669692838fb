#include "model/startup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <tuple>

#include "model/cluster.h"
#include "platform/scripted_ui.h"
#include "resource/file_io.h"
#include "support/model_fixture.h"
#include "support/test_support.h"

namespace ws {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(ResolveBaseDirectory, EnvironmentThenSettingsThenHome) {
  MemorySettingsStore settings;
  StartupInputs in;
  EXPECT_EQ(ResolveBaseDirectory(in), std::nullopt);
  in.homeDirectory = "/home/ann";
  EXPECT_EQ(ResolveBaseDirectory(in), "/home/ann/.local/share/wirestead/");
  in.homeDirectory = "/home/ann/";
  EXPECT_EQ(ResolveBaseDirectory(in), "/home/ann/.local/share/wirestead/");
  in.settings = &settings;
  EXPECT_EQ(ResolveBaseDirectory(in), "/home/ann/.local/share/wirestead/");  // no "Root" yet
  settings.SetValue("Root", "/opt/ws");
  EXPECT_EQ(ResolveBaseDirectory(in), "/opt/ws/");
  in.rootFromEnvironment = "";
  EXPECT_EQ(ResolveBaseDirectory(in), "/opt/ws/");  // an empty value counts as unset
  in.rootFromEnvironment = "/tmp/root/";
  EXPECT_EQ(ResolveBaseDirectory(in), "/tmp/root/");
  settings.SetValue("Root", "");
  in.rootFromEnvironment.reset();
  in.homeDirectory.reset();
  EXPECT_EQ(ResolveBaseDirectory(in), std::nullopt);
}

struct StartupTest : ::testing::Test {
  test::TempDir dir;
  ScriptedUi ui;
  Runtime rt{ui};
  Model model{rt};
  std::string defaults = dir.File("defaults");
  std::string base = dir.File("base/deeper");
  StartupInputs in;

  void SetUp() override {
    in.rootFromEnvironment = base;
    in.defaultsDirectory = defaults;
    std::filesystem::create_directories(defaults + "/textures");
    test::WriteFileText(defaults + "/textures/ground.bmp", "BMground");
    // A default Preferences file: colour tables, sounds 0 to 7 without 5,
    // a glyph and a preferences record.
    const std::string prefs = defaults + "/Preferences";
    ResourceFile& files = model.resources;
    ASSERT_EQ(files.CreateResFile(prefs), 0);
    WriteClutToFile(files, prefs, kCurrentClutId, test::SampleColorTable());
    WriteClutToFile(files, prefs, kImageClutId, test::ShiftedColorTable(8));
    OpenResource f(files, prefs);
    for (std::uint32_t id = 0; id < 8; ++id) {
      if (id != 5) files.WriteResource(f.ref(), kResPlay, id, Bytes(10 + id, id), "sound");
    }
    Bytes glyph = {0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0};
    files.WriteResource(f.ref(), kResPinf, 0, glyph, "A");
    files.WriteResource(f.ref(), kResPnts, 0, Bytes(24, 0), "A");
    Preferences p;
    p.thickLine = true;
    auto pref = EncodePreferences(p);
    files.WriteResource(f.ref(), kResPref, kPreferencesId, pref, "Preferences");
  }
};

TEST_F(StartupTest, FreshBaseDirectoryGetsTheDefaultsAndAWorkingCluster) {
  ASSERT_EQ(RunStartup(model, in), StartupOutcome::kContinue);
  EXPECT_TRUE(ui.Messages().empty());
  EXPECT_EQ(model.paths.base, base + "/");
  EXPECT_EQ(test::ReadFileBytes(model.paths.preferences),
            test::ReadFileBytes(defaults + "/Preferences"));
  EXPECT_EQ(test::ReadFileText(base + "/textures/ground.bmp"), "BMground");
  for (std::uint32_t id = 0; id < 8; ++id) {
    EXPECT_EQ(model.sounds[id], id == 5 ? Bytes{} : Bytes(10 + id, static_cast<std::uint8_t>(id)))
        << id;
  }
  EXPECT_EQ(model.glyphs.glyphs.size(), 1u);
  EXPECT_EQ(model.glyphs.points.size(), 1u);
  EXPECT_TRUE(model.preferences.thickLine);
  EXPECT_EQ(model.cluster.objectNames, std::vector<std::string>{"Default Object"});
  EXPECT_EQ(model.tables.pointCount, 7u);
  EXPECT_EQ(model.tables.points[6].z, 150.0);
  EXPECT_TRUE(FileExists(model.paths.working));
  EXPECT_FALSE(FileExists(model.paths.backup));
  EXPECT_EQ(EncodeClut(model.colors.current), EncodeClut(test::SampleColorTable()));
  EXPECT_FALSE(rt.fatalError);
}

TEST_F(StartupTest, ExistingPreferencesAreNotReplaced) {
  std::filesystem::create_directories(base);
  {
    ASSERT_EQ(model.resources.CreateResFile(base + "/Preferences"), 0);
    WriteClutToFile(model.resources, base + "/Preferences", kCurrentClutId,
                    test::ShiftedColorTable(1));
  }
  ASSERT_EQ(RunStartup(model, in), StartupOutcome::kContinue);
  EXPECT_FALSE(FileExists(base + "/textures/ground.bmp"));
  EXPECT_EQ(model.preferences, Preferences{});  // no record: defaults
  EXPECT_EQ(model.glyphs.glyphs.size(), 0u);
  EXPECT_EQ(model.sounds[0], Bytes{});
  const Bytes own = EncodeClut(test::ShiftedColorTable(1));
  EXPECT_EQ(EncodeClut(*ReadClutFromFile(model.resources, base + "/Preferences", kCurrentClutId)),
            own);
  EXPECT_EQ(EncodeClut(*ReadClutFromFile(model.resources, model.paths.working, kCurrentClutId)),
            own);
  EXPECT_EQ(EncodeClut(model.colors.current), own);
}

TEST_F(StartupTest, LastSessionBecomesTheBackup) {
  std::filesystem::create_directories(base);
  test::WriteFileText(base + "/temp", "last session");
  test::WriteFileText(base + "/backup", "older");
  ASSERT_EQ(RunStartup(model, in), StartupOutcome::kContinue);
  EXPECT_EQ(test::ReadFileText(base + "/backup"), "last session");
  EXPECT_NE(test::ReadFileText(base + "/temp"), "last session");  // a new working file

  // Without a "temp" the backup stays as it is.
  ScriptedUi ui2;
  Runtime rt2{ui2};
  Model again{rt2};
  std::remove((base + "/temp").c_str());
  ASSERT_EQ(RunStartup(again, in), StartupOutcome::kContinue);
  EXPECT_EQ(test::ReadFileText(base + "/backup"), "last session");
}

TEST_F(StartupTest, EachMissingPieceEndsTheProgramWithItsMessage) {
  const std::string noPrefs =
      "Wirestead can't locate the \"Preferences\" file.\r\rIt must be in the same directory as "
      "Wirestead.";
  test::WriteFileText(dir.File("plainfile"), "x");
  const std::vector<std::tuple<const char*, std::function<void(StartupInputs&)>, std::string>>
      rows = {
          {"no base directory", [](StartupInputs& i) { i.rootFromEnvironment.reset(); },
           "Can't find Prefs File"},
          {"a base directory that cannot be made",
           [&](StartupInputs& i) { i.rootFromEnvironment = dir.File("plainfile/sub"); },
           "Can't find Prefs File"},
          {"no default Preferences",
           [&](StartupInputs& i) { i.defaultsDirectory = dir.File("nowhere"); }, noPrefs},
          {"no defaults directory", [](StartupInputs& i) { i.defaultsDirectory.clear(); }, noPrefs},
          {"a Preferences file without a colour table",
           [&](StartupInputs&) {
             OpenResource f(model.resources, defaults + "/Preferences");
             model.resources.DeleteResource(f.ref(), kResClut, kCurrentClutId);
           },
           "Can't find clut in preferences file."},
      };
  for (const auto& [name, setUp, message] : rows) {
    StartupInputs inputs = in;
    setUp(inputs);
    ui.ClearMessages();
    rt.fatalError = false;
    EXPECT_EQ(RunStartup(model, inputs), StartupOutcome::kEndProgram) << name;
    EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{message}) << name;
    EXPECT_TRUE(rt.fatalError) << name;
  }
}

TEST_F(StartupTest, RestoreLastSessionRightAfterAFirstStart) {
  ASSERT_EQ(RunStartup(model, in), StartupOutcome::kContinue);
  EXPECT_FALSE(RestoreLastSession(model));
  EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{"No backup to restore from."});
}

}  // namespace
}  // namespace ws
