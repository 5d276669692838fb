#include "model/startup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <limits>
#include <tuple>

#include "model/cluster.h"
#include "model/preferences.h"
#include "platform/scripted_ui.h"
#include "resource/file_io.h"
#include "support/model_fixture.h"
#include "support/test_support.h"

namespace ws {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Strings = std::vector<std::string>;

TEST(ResolveBaseDirectory, EnvironmentThenSettingsThenHome) {
  using Opt = std::optional<std::string>;
  const std::tuple<Opt, const char*, Opt, Opt> rows[] = {
      // environment, "Root", home, expected
      {{}, "", {}, {}},
      {{}, "", "/home/ann", "/home/ann/.local/share/wirestead/"},
      {{}, "", "/home/ann/", "/home/ann/.local/share/wirestead/"},
      {{}, "/opt/ws", "/home/ann", "/opt/ws/"},
      {"", "/opt/ws", "/home/ann", "/opt/ws/"},  // an empty value counts as unset
      {"/tmp/root/", "/opt/ws", "/home/ann", "/tmp/root/"},
  };
  for (const auto& [env, root, home, expected] : rows) {
    MemorySettingsStore settings;
    settings.SetValue("Root", root);
    StartupInputs in;
    in.settings = &settings, in.rootFromEnvironment = env, in.homeDirectory = home;
    EXPECT_EQ(ResolveBaseDirectory(in), expected) << env.value_or("-") << root;
  }
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
    in.rootFromEnvironment = base, in.defaultsDirectory = defaults;
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
    for (std::uint32_t id = 0; id < 8; ++id)
      if (id != 5) files.WriteResource(f.ref(), kResPlay, id, Bytes(10 + id, id), "sound");
    files.WriteResource(f.ref(), kResPinf, 0, EncodePinf(0, 0, 1, 0), "A");  // one point
    files.WriteResource(f.ref(), kResPnts, 0, Bytes(24, 0), "A");
    Preferences p;
    p.thickLine = true;
    files.WriteResource(f.ref(), kResPref, kPreferencesId, EncodePreferences(p), "Preferences");
  }
};

// A fresh base directory gets the defaults; existing Preferences are kept;
// the last session's working file becomes the backup.
TEST_F(StartupTest, StartsFromDefaultsOrWhatIsThere) {
  const Bytes own = EncodeClut(test::ShiftedColorTable(1));
  for (const char* row : {"fresh", "own preferences", "last session"}) {
    SCOPED_TRACE(row);
    std::filesystem::remove_all(dir.File("base"));
    const bool fresh = row[0] == 'f', ownPrefs = row[0] == 'o';
    if (!fresh) std::filesystem::create_directories(base);
    if (ownPrefs) {
      ASSERT_EQ(model.resources.CreateResFile(base + "/Preferences"), 0);
      WriteClutToFile(model.resources, base + "/Preferences", kCurrentClutId,
                      test::ShiftedColorTable(1));
    }
    if (!fresh) test::WriteFileText(base + "/temp", "last session");
    ui.ClearMessages();
    Model m{rt};
    ASSERT_EQ(RunStartup(m, in), StartupOutcome::kContinue);
    const Bytes colors = ownPrefs ? own : EncodeClut(test::SampleColorTable());
    EXPECT_EQ(std::make_tuple(
                  ui.Messages().size(), m.paths.base, m.cluster.objectNames, m.tables.points[6].z,
                  test::ReadFileText(m.paths.working) == "last session",
                  FileExists(base + "/textures/ground.bmp"), m.glyphs.points.size(),
                  m.preferences.thickLine, EncodeClut(m.colors.current),
                  EncodeClut(*ReadClutFromFile(m.resources, m.paths.working, kCurrentClutId))),
              std::make_tuple(0u, base + "/", Strings{"Default Object"}, 150.0, false, !ownPrefs,
                              ownPrefs ? 0u : 1u, !ownPrefs, colors, colors));
    for (std::uint32_t id = 0; id < 8; ++id) {
      EXPECT_EQ(m.sounds[id], ownPrefs || id == 5 ? Bytes{} : Bytes(10 + id, id)) << id;
    }
    if (fresh) {
      EXPECT_EQ(test::ReadFileBytes(m.paths.preferences),
                test::ReadFileBytes(defaults + "/Preferences"));
      EXPECT_FALSE(RestoreLastSession(m));
      EXPECT_EQ(ui.MessageTexts(), Strings{"No backup to restore from."});
    } else {
      EXPECT_EQ(test::ReadFileText(m.paths.backup), "last session");
    }
    EXPECT_FALSE(rt.fatalError);
  }
}

TEST_F(StartupTest, EachMissingPieceEndsTheProgramWithItsMessage) {
  const std::string noPrefs =
      "Wirestead can't locate the \"Preferences\" file.\r\rIt must be in the same directory as "
      "Wirestead.";
  test::WriteFileText(dir.File("plainfile"), "x");
  using Row = std::tuple<const char*, std::function<void(StartupInputs&)>, std::string>;
  const std::vector<Row> rows = {
      {"no base directory", [](StartupInputs& i) { i.rootFromEnvironment.reset(); },
       "Can't find Prefs File"},
      {"a base directory that cannot be made",
       [&](StartupInputs& i) { i.rootFromEnvironment = dir.File("plainfile/sub"); },
       "Can't find Prefs File"},
      {"no default Preferences",
       [&](StartupInputs& i) { i.defaultsDirectory = dir.File("nowhere"); }, noPrefs},
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
    EXPECT_EQ(std::make_tuple(ui.MessageTexts(), rt.fatalError),
              std::make_tuple(Strings{message}, true))
        << name;
  }
}

// Each row lays out a tree under a fresh folder: the program's folder, the
// files named Preferences (a trailing '/' makes a folder of that name
// instead) and the folder the lookup must answer ("" for none).
TEST(FindDefaultsDirectory, BesideThenInstalledThenBuildTree) {
  const std::tuple<const char*, const char*, Strings, const char*> rows[] = {
      {"build tree", "build/src/app", Strings{"build/Preferences"}, "build"},
      {"portable copy wins", "usr/bin",
       Strings{"usr/bin/Preferences", "usr/share/wirestead/Preferences", "Preferences"}, "usr/bin"},
      {"installed before build tree", "a/bin",
       Strings{"a/share/wirestead/Preferences", "Preferences"}, "a/share/wirestead"},
      {"other data folder", "usr/bin", Strings{"usr/share/other/Preferences", "usr/Preferences"},
       ""},
      {"a folder is not the file", "usr/bin", Strings{"usr/share/wirestead/Preferences/"}, ""},
  };
  for (const auto& [name, program, prefs, expected] : rows) {
    test::TempDir dir;
    std::filesystem::create_directories(dir.File(program));
    for (const std::string& p : prefs) {
      // "a/b/" makes the folder a/b, "a/b" the file b in the folder a.
      std::filesystem::create_directories(std::filesystem::path(dir.File(p)).parent_path());
      if (p.back() != '/') test::WriteFileText(dir.File(p), "prefs");
    }
    EXPECT_EQ(FindDefaultsDirectory(dir.File(program)), *expected ? dir.File(expected) : "")
        << name;
  }
  EXPECT_EQ(FindDefaultsDirectory(""), "");
}

// One record with every flag's offset distinct: 0,1,0,1,1,0,0,1, then
// 2.0 = 0x4000000000000000 and 5000.0 = 0x40B3880000000000.
TEST(PreferencesRecord, LayoutLimitsAndFallbacks) {
  Preferences p;
  p.gridShown = false, p.vectorsShown = false, p.perspectiveOn = true, p.soundEffectsOn = false;
  p.instantViewChange = true, p.viewHalfWidth = 2.0, p.viewHalfHeight = 5000;
  Bytes expected(80, 0);
  for (int i : {2, 6, 8, 14}) expected[i] = 1;
  expected[31] = 0x40;
  expected[37] = 0x88, expected[38] = 0xB3, expected[39] = 0x40;
  auto bytes = EncodePreferences(p);
  EXPECT_EQ(std::make_tuple(Bytes(bytes.begin(), bytes.end()), DecodePreferences(bytes)),
            std::make_tuple(expected, std::optional(p)));
  Bytes b(bytes.begin(), bytes.end());
  b[6] = 0x00, b[7] = 0x80;  // perspective i16 -32768: on
  EXPECT_EQ(std::make_tuple(DecodePreferences(b)->perspectiveOn,
                            DecodePreferences(Bytes(b.begin(), b.begin() + 39)).has_value(),
                            DecodePreferences(Bytes(b.begin(), b.begin() + 40)).has_value()),
            std::make_tuple(true, false, true));
  // Half sizes outside what the prompts accept (1 to 5000) fall back to the defaults.
  for (double bad : {0.5, 5000.5, std::numeric_limits<double>::quiet_NaN()}) {
    p.viewHalfWidth = p.viewHalfHeight = bad;
    auto d = DecodePreferences(EncodePreferences(p));
    EXPECT_EQ(std::tie(d->viewHalfWidth, d->viewHalfHeight), std::make_tuple(100.0, 150.0)) << bad;
  }
  p.viewHalfWidth = 1.0, p.viewHalfHeight = 5000.0;
  EXPECT_EQ(DecodePreferences(EncodePreferences(p)), p);
}

}  // namespace
}  // namespace ws
