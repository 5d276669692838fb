#include "import/import_commands.h"

#include <gtest/gtest.h>

#include "import_test_support.h"
#include "model/object_text.h"
#include "resource/file_io.h"

namespace ws {
namespace {

using test::ImportFixture;

constexpr char kTriangle[] = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";

TEST(FirstDispatch, ByTheExactEnding) {
  using enum FileKind;
  const std::tuple<const char*, FileKind, bool> cases[] = {
      {"a.3dmf", kMetafile, false}, {".3dmf", kScene, false},  // five characters: too short
      {"a.b3d", kMetafile, false},  {"a.B3d", kMetafile, false}, {"a.T3D", kMetafile, false},
      {"a.3DMF", kScene, false},  // exact bytes only
      {"a.wdc", kCluster, false},   {"A.WDC", kScene, false},    {"a.wdo", kObjectText, false},
      {".wdo", kScene, false},      {"ship.x", kScene, true},    {"ship.3ds", kScene, true},
      {"ship.X", kScene, false},    {"a.x", kScene, false},  // four characters
      {"ship.wrl", kScene, false},  {"ship.obj", kScene, false}};
  for (const auto& [path, kind, flip] : cases) {
    const Dispatched d = FirstDispatch(path);
    EXPECT_EQ(d.kind, kind) << path;
    EXPECT_EQ(d.path, path) << path;
    EXPECT_EQ(d.flip, flip) << path;
  }
  EXPECT_EQ(FirstDispatch("model.3dm").path, "model.3dmf");
  EXPECT_EQ(FirstDispatch("model.3dm").kind, kMetafile);
}

TEST(SecondDispatch, ByTheLastCharactersInEitherCase) {
  // The characters alone count, not a dot before them.
  const std::pair<const char*, SceneFormat> cases[] = {
      {"MODEL.WRL", SceneFormat::kVrml},  {"a.Wrl", SceneFormat::kVrml},
      {"a.X", SceneFormat::kDirectX},     {"a.raw", SceneFormat::kRaw},
      {"a.COB", SceneFormat::kTrueSpace}, {"a.oBj", SceneFormat::kObj},
      {"a.DXF", SceneFormat::kDxf},       {"a.nff", SceneFormat::kNff},
      {"a.3DS", SceneFormat::k3ds},       {"drawobj", SceneFormat::kObj},
      {"a.txt", SceneFormat::kNone},      {"x", SceneFormat::kNone},
      {"", SceneFormat::kNone},           {"A.WDC", SceneFormat::kNone}};
  for (const auto& [path, format] : cases) EXPECT_EQ(SecondDispatch(path), format) << path;
}

TEST(OpenDialogs, TitlesAndFiltersInOrder) {
  ImportFixture f;
  for (int i = 0; i < 3; ++i) f.ui.QueueOpenPath(std::nullopt);
  EXPECT_FALSE(OpenCommand(f.m(), f.services));
  EXPECT_FALSE(InsertCommand(f.m(), f.services));
  EXPECT_FALSE(MergeCommand(f.m(), f.services));
  EXPECT_EQ(
      f.ui.OpenDialogTitles(),
      (std::vector<std::string>{"Select directory..", "Select directory..", "Select directory.."}));
  auto text = [](const std::vector<FileFilter>& filters) {
    std::vector<std::string> out;
    for (const auto& x : filters) out.push_back(x.description + "|" + x.patterns);
    return out;
  };
  EXPECT_EQ(
      text(f.ui.OpenDialogFilters()[0]),
      (std::vector<std::string>{
          "All Supported 3D "
          "Formats|*.wrl;*.raw;*.3ds;*.cob;*.dxf;*.3dmf;*.b3d;*.t3d;*.wdc;*.wdo;*.x",
          "Wirestead Object (wdo)|*.wdo", "Wirestead Cluster (wdc)|*.wdc",
          "3DMF (3dmf,b3d,t3d)|*.3dmf;*.b3d;*.t3d", "VRML (wrl)|*.wrl", "DirectX (x)|*.x",
          "3D Studio (3ds)|*.3ds", "True Space (cob)|*.cob", "Drawing Interchange (dxf)|*.dxf"}));
  const std::vector<std::string> dialogB{
      "All Supported 3D Formats|*.wrl;*.raw;*.3ds;*.cob;*.dxf;*.3dmf;*.b3d;*.t3d;*.wdo",
      "Wirestead Object (wdo)|*.wdo",
      "3DMF (3dmf,b3d,t3d)|*.3dmf;*.b3d;*.t3d",
      "VRML (wrl)|*.wrl",
      "RAW Files (raw)|*.raw",
      "3D Studio (3ds)|*.3ds",
      "True Space (cob)|*.cob",
      "Drawing Interchange (dxf)|*.dxf"};
  EXPECT_EQ(text(f.ui.OpenDialogFilters()[1]), dialogB);
  EXPECT_EQ(text(f.ui.OpenDialogFilters()[2]), dialogB);
  // Cancelling changed nothing and said nothing.
  EXPECT_TRUE(f.ui.Messages().empty());
  EXPECT_EQ(f.m().cluster.objectNames, (std::vector<std::string>{"Default Object"}));
}

TEST(OpenCommands, OpenStartsAClusterInsertAddsAnObjectMergeAddsToIt) {
  ImportFixture f;
  ASSERT_TRUE(NewObject(f.m(), "kept until Open"));
  const std::string tri = f.Write("tri.obj", kTriangle);
  f.ui.QueueOpenPath(tri);
  ASSERT_TRUE(OpenCommand(f.m(), f.services));
  EXPECT_EQ(f.m().cluster.objectNames, (std::vector<std::string>{"Default Object"}));
  EXPECT_EQ(f.userPoints(), 3u);
  // Insert keeps the file state.
  f.m().cluster.fileState = FileState::kCluster;
  f.m().cluster.clusterPath = "/somewhere/work.wdc";
  f.ui.QueueOpenPath(f.Write("tri.raw", "0 0 0 1 0 0 0 1 0\n"));
  ASSERT_TRUE(InsertCommand(f.m(), f.services));
  EXPECT_EQ(f.m().cluster.objectNames, (std::vector<std::string>{"Default Object", "new object"}));
  EXPECT_EQ(f.m().cluster.current, 1u);
  EXPECT_EQ(f.tables().polygonCount, 1u);
  EXPECT_EQ(f.m().cluster.fileState, FileState::kCluster);
  EXPECT_EQ(f.m().cluster.clusterPath, "/somewhere/work.wdc");
  f.ui.QueueOpenPath(tri);
  ASSERT_TRUE(MergeCommand(f.m(), f.services));
  EXPECT_EQ(f.m().cluster.objectNames.size(), 2u);
  EXPECT_EQ(f.tables().polygonCount, 2u);
  EXPECT_EQ(f.userPoints(), 6u);  // no de-duplication against what was there
  EXPECT_EQ(OpenFile(f.m(), f.services, tri, OpenMode::kMerge).kind, "import");
}

TEST(OpenCommands, AFileThatDoesNotImportChangesNothing) {
  for (OpenMode mode : {OpenMode::kOpen, OpenMode::kInsert, OpenMode::kMerge}) {
    ImportFixture f;
    ASSERT_TRUE(NewObject(f.m(), "second"));
    f.ui.ClearMessages();
    const std::string path = f.Write("empty.obj", "");
    const OpenOutcome out = OpenFile(f.m(), f.services, path, mode);
    EXPECT_FALSE(out.ok);
    EXPECT_EQ(out.kind, "import");
    EXPECT_EQ(f.ui.MessageTexts(),
              (std::vector<std::string>{"There is nothing Wirestead can import in \"" + path +
                                        "\"\nIt holds no faces."}));
    EXPECT_EQ(f.m().cluster.objectNames, (std::vector<std::string>{"Default Object", "second"}));
    EXPECT_EQ(f.m().cluster.current, 1u);
    EXPECT_EQ(f.tables().pointCount, kReservedPoints);
  }
}

TEST(OpenCommands, MetafilesGoToTheMetafileReader) {
  ImportFixture f;
  std::vector<std::string> read;
  bool flipped = false;
  f.services.metafileReader = [&](Model&, ImportServices&, const std::string& path, bool flip) {
    read.push_back(path);
    flipped = flip;
    return true;
  };
  const OpenOutcome out = OpenFile(f.m(), f.services, f.dir.File("model.3dm"), OpenMode::kInsert);
  EXPECT_TRUE(out.ok);
  EXPECT_EQ(out.kind, "import");
  EXPECT_EQ(read, (std::vector<std::string>{f.dir.File("model.3dmf")}));
  EXPECT_TRUE(flipped);
  EXPECT_EQ(f.m().cluster.objectNames.back(), "new object");
  // Without a metafile reader nothing happens.
  f.services.metafileReader = {};
  EXPECT_FALSE(OpenFile(f.m(), f.services, f.dir.File("model.b3d"), OpenMode::kOpen).ok);
  EXPECT_EQ(f.ui.MessageTexts(),
            (std::vector<std::string>{"Wirestead can't read this kind of file yet: \"" +
                                      f.dir.File("model.b3d") + "\""}));
  EXPECT_EQ(f.m().cluster.objectNames.size(), 2u);
}

TEST(OpenCommands, ObjectTextFiles) {
  ImportFixture f;
  const std::string cube = test::DataPath("cube.wdo");
  OpenOutcome out = OpenFile(f.m(), f.services, cube, OpenMode::kInsert);
  ASSERT_TRUE(out.ok);
  EXPECT_EQ(out.kind, "object");
  EXPECT_EQ(f.m().cluster.objectNames.back(), "new object");
  const std::uint32_t points = f.userPoints();
  EXPECT_GT(points, 0u);
  // Insert kept the file state: no object file.
  EXPECT_EQ(f.m().cluster.fileState, FileState::kNone);
  EXPECT_EQ(f.m().cluster.objectFilePath, "");
  out = OpenFile(f.m(), f.services, cube, OpenMode::kMerge);
  ASSERT_TRUE(out.ok);
  EXPECT_EQ(f.userPoints(), 2 * points);
  out = OpenFile(f.m(), f.services, cube, OpenMode::kOpen);
  ASSERT_TRUE(out.ok);
  EXPECT_EQ(f.m().cluster.objectNames, (std::vector<std::string>{"Default Object"}));
  EXPECT_EQ(f.userPoints(), points);
  EXPECT_EQ(f.m().cluster.fileState, FileState::kObject);
  EXPECT_EQ(f.m().cluster.objectFilePath, cube);
}

TEST(OpenCommands, ClusterFilesLoadInEveryMode) {
  ImportFixture f;
  ASSERT_TRUE(NewObject(f.m(), "stored"));
  ASSERT_TRUE(StoreObject(f.m(), 1, "stored"));
  const std::string cluster = f.dir.File("copy.wdc");
  const auto bytes = ReadWholeFile(f.m().paths.working);
  ASSERT_TRUE(bytes);
  test::WriteFileBytes(cluster, *bytes);
  ASSERT_TRUE(StartNewCluster(f.m()));
  const OpenOutcome out = OpenFile(f.m(), f.services, cluster, OpenMode::kMerge);
  ASSERT_TRUE(out.ok);
  EXPECT_EQ(out.kind, "cluster");
  EXPECT_EQ(f.m().cluster.objectNames, (std::vector<std::string>{"Default Object", "stored"}));
  // Merge kept the file state of the new cluster.
  EXPECT_EQ(f.m().cluster.fileState, FileState::kNone);
  EXPECT_EQ(f.m().cluster.clusterPath, "");
  ASSERT_TRUE(OpenFile(f.m(), f.services, cluster, OpenMode::kOpen).ok);
  EXPECT_EQ(f.m().cluster.fileState, FileState::kCluster);
  EXPECT_EQ(f.m().cluster.clusterPath, cluster);
}

TEST(OpenFileAs, OpensLikeTheEditorAndLogsBesideThePreferences) {
  ImportFixture f;
  const std::string path = f.Write("bad.obj", "v 1\n");
  OpenOutcome out = OpenFileAs(f.m(), path, OpenMode::kOpen);
  EXPECT_FALSE(out.ok);
  EXPECT_EQ(out.kind, "import");
  EXPECT_NE(f.Log().find("Syntax error file '" + path + "', line 1"), std::string::npos);
  out = OpenFileAs(f.m(), f.Write("tri.obj", kTriangle), OpenMode::kOpen);
  EXPECT_TRUE(out.ok);
  EXPECT_EQ(f.tables().polygonCount, 1u);
}

}  // namespace
}  // namespace ws
