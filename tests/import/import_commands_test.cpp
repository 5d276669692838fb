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
  struct Case {
    const char* path;
    FileKind kind;
    const char* read;
    bool flip;
  };
  const Case cases[] = {
      {"a.3dmf", FileKind::kMetafile, "a.3dmf", false},
      {"model.3dm", FileKind::kMetafile, "model.3dmf", false},
      {".3dmf", FileKind::kScene, ".3dmf", false},  // five characters: too short
      {"a.b3d", FileKind::kMetafile, "a.b3d", false},
      {"a.B3d", FileKind::kMetafile, "a.B3d", false},
      {"a.T3D", FileKind::kMetafile, "a.T3D", false},
      {"a.3DMF", FileKind::kScene, "a.3DMF", false},  // exact bytes only
      {"a.wdc", FileKind::kCluster, "a.wdc", false},
      {"A.WDC", FileKind::kScene, "A.WDC", false},
      {"a.wdo", FileKind::kObjectText, "a.wdo", false},
      {".wdo", FileKind::kScene, ".wdo", false},
      {"ship.x", FileKind::kScene, "ship.x", true},
      {"ship.3ds", FileKind::kScene, "ship.3ds", true},
      {"ship.X", FileKind::kScene, "ship.X", false},
      {"a.x", FileKind::kScene, "a.x", false},  // four characters
      {"ship.wrl", FileKind::kScene, "ship.wrl", false},
      {"ship.obj", FileKind::kScene, "ship.obj", false},
  };
  for (const Case& c : cases) {
    const Dispatched d = FirstDispatch(c.path);
    EXPECT_EQ(d.kind, c.kind) << c.path;
    EXPECT_EQ(d.path, c.read) << c.path;
    EXPECT_EQ(d.flip, c.flip) << c.path;
  }
}

TEST(SecondDispatch, ByTheLastCharactersInEitherCase) {
  EXPECT_EQ(SecondDispatch("MODEL.WRL"), SceneFormat::kVrml);
  EXPECT_EQ(SecondDispatch("a.Wrl"), SceneFormat::kVrml);
  EXPECT_EQ(SecondDispatch("a.X"), SceneFormat::kDirectX);
  EXPECT_EQ(SecondDispatch("a.raw"), SceneFormat::kRaw);
  EXPECT_EQ(SecondDispatch("a.COB"), SceneFormat::kTrueSpace);
  EXPECT_EQ(SecondDispatch("a.oBj"), SceneFormat::kObj);
  EXPECT_EQ(SecondDispatch("a.DXF"), SceneFormat::kDxf);
  EXPECT_EQ(SecondDispatch("a.nff"), SceneFormat::kNff);
  EXPECT_EQ(SecondDispatch("a.3DS"), SceneFormat::k3ds);
  // The characters alone count, not a dot before them.
  EXPECT_EQ(SecondDispatch("drawobj"), SceneFormat::kObj);
  EXPECT_EQ(SecondDispatch("a.txt"), SceneFormat::kNone);
  EXPECT_EQ(SecondDispatch("x"), SceneFormat::kNone);
  EXPECT_EQ(SecondDispatch(""), SceneFormat::kNone);
  EXPECT_EQ(SecondDispatch("A.WDC"), SceneFormat::kNone);
}

TEST(OpenDialogs, TitlesAndFiltersInOrder) {
  ImportFixture f;
  f.ui.QueueOpenPath(std::nullopt);
  f.ui.QueueOpenPath(std::nullopt);
  f.ui.QueueOpenPath(std::nullopt);
  EXPECT_FALSE(OpenCommand(f.m(), f.services));
  EXPECT_FALSE(InsertCommand(f.m(), f.services));
  EXPECT_FALSE(MergeCommand(f.m(), f.services));
  EXPECT_EQ(f.ui.OpenDialogTitles(),
            (std::vector<std::string>{"Select directory..", "Select directory..", "Select directory.."}));
  auto text = [](const std::vector<FileFilter>& filters) {
    std::vector<std::string> out;
    for (const auto& x : filters) out.push_back(x.description + "|" + x.patterns);
    return out;
  };
  EXPECT_EQ(text(f.ui.OpenDialogFilters()[0]),
            (std::vector<std::string>{
                "All Supported 3D Formats|*.wrl;*.raw;*.3ds;*.cob;*.dxf;*.3dmf;*.b3d;*.t3d;*.wdc;*.wdo;*.x",
                "Wirestead Object (wdo)|*.wdo", "Wirestead Cluster (wdc)|*.wdc",
                "3DMF (3dmf,b3d,t3d)|*.3dmf;*.b3d;*.t3d", "VRML (wrl)|*.wrl", "DirectX (x)|*.x",
                "3D Studio (3ds)|*.3ds", "True Space (cob)|*.cob", "Drawing Interchange (dxf)|*.dxf"}));
  const std::vector<std::string> dialogB{
      "All Supported 3D Formats|*.wrl;*.raw;*.3ds;*.cob;*.dxf;*.3dmf;*.b3d;*.t3d;*.wdo",
      "Wirestead Object (wdo)|*.wdo", "3DMF (3dmf,b3d,t3d)|*.3dmf;*.b3d;*.t3d", "VRML (wrl)|*.wrl",
      "RAW Files (raw)|*.raw", "3D Studio (3ds)|*.3ds", "True Space (cob)|*.cob",
      "Drawing Interchange (dxf)|*.dxf"};
  EXPECT_EQ(text(f.ui.OpenDialogFilters()[1]), dialogB);
  EXPECT_EQ(text(f.ui.OpenDialogFilters()[2]), dialogB);
  // Cancelling changed nothing and said nothing.
  EXPECT_TRUE(f.ui.Messages().empty());
  EXPECT_EQ(f.m().cluster.objectNames, (std::vector<std::string>{"Default Object"}));
}

TEST(OpenCommands, OpenStartsANewClusterWithTheImport) {
  ImportFixture f;
  ASSERT_TRUE(NewObject(f.m(), "kept until Open"));
  f.ui.QueueOpenPath(f.Write("tri.obj", kTriangle));
  ASSERT_TRUE(OpenCommand(f.m(), f.services));
  EXPECT_EQ(f.m().cluster.objectNames, (std::vector<std::string>{"Default Object"}));
  EXPECT_EQ(f.tables().polygonCount, 1u);
  EXPECT_EQ(f.userPoints(), 3u);
}

TEST(OpenCommands, InsertAddsANewObjectAndKeepsTheFileState) {
  ImportFixture f;
  f.m().cluster.fileState = FileState::kCluster;
  f.m().cluster.clusterPath = "/somewhere/work.wdc";
  f.m().cluster.windowTitle = "/somewhere/work.wdc";
  f.ui.QueueOpenPath(f.Write("tri.raw", "0 0 0 1 0 0 0 1 0\n"));
  ASSERT_TRUE(InsertCommand(f.m(), f.services));
  EXPECT_EQ(f.m().cluster.objectNames, (std::vector<std::string>{"Default Object", "new object"}));
  EXPECT_EQ(f.m().cluster.current, 1u);
  EXPECT_EQ(f.tables().polygonCount, 1u);
  EXPECT_EQ(f.m().cluster.fileState, FileState::kCluster);
  EXPECT_EQ(f.m().cluster.clusterPath, "/somewhere/work.wdc");
}

TEST(OpenCommands, MergeAddsToTheCurrentObject) {
  ImportFixture f;
  const std::string path = f.Write("tri.obj", kTriangle);
  EXPECT_EQ(OpenFile(f.m(), f.services, path, OpenMode::kMerge).kind, "import");
  f.ui.QueueOpenPath(path);
  ASSERT_TRUE(MergeCommand(f.m(), f.services));
  EXPECT_EQ(f.m().cluster.objectNames.size(), 1u);
  EXPECT_EQ(f.tables().polygonCount, 2u);
  EXPECT_EQ(f.userPoints(), 6u);  // no de-duplication against what was there
}

TEST(OpenCommands, AFileThatDoesNotImportChangesNothing) {
  for (OpenMode mode : {OpenMode::kOpen, OpenMode::kInsert, OpenMode::kMerge}) {
    ImportFixture f;
    ASSERT_TRUE(NewObject(f.m(), "second"));
    f.ui.ClearMessages();
    const std::string path = f.Write("empty.obj", "# nothing here\n");
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
}

TEST(OpenCommands, WithoutAMetafileReaderNothingHappens) {
  ImportFixture f;
  const OpenOutcome out = OpenFile(f.m(), f.services, f.dir.File("model.b3d"), OpenMode::kOpen);
  EXPECT_FALSE(out.ok);
  EXPECT_EQ(f.ui.MessageTexts(), (std::vector<std::string>{"Wirestead can't read this kind of file yet: \"" +
                                                           f.dir.File("model.b3d") + "\""}));
  EXPECT_EQ(f.m().cluster.objectNames.size(), 1u);
}

TEST(OpenCommands, ObjectTextFiles) {
  ImportFixture f;
  const std::string cube = test::SourceDir() + "/tests/data/cube.wdo";
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
