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
    EXPECT_EQ(std::tie(d.kind, d.path, d.flip), std::make_tuple(kind, path, flip)) << path;
  }
  const Dispatched metafile = FirstDispatch("model.3dm");
  EXPECT_EQ(std::tie(metafile.path, metafile.kind), std::make_tuple("model.3dmf", kMetafile));
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

TEST(OpenDialogs, TitlesAndFiltersInOrderAndCancellingDoesNothing) {
  ImportFixture f;
  for (int i = 0; i < 3; ++i) f.ui.QueueOpenPath(std::nullopt);
  EXPECT_FALSE(OpenCommand(f.m(), f.services) || InsertCommand(f.m(), f.services) ||
               MergeCommand(f.m(), f.services));
  EXPECT_EQ(f.ui.OpenDialogTitles(), std::vector<std::string>(3, "Select directory.."));
  std::vector<std::string> lists;
  for (const auto& filters : f.ui.OpenDialogFilters()) {
    lists.emplace_back();
    for (const auto& x : filters) lists.back() += x.description + "|" + x.patterns + "\n";
  }
  const std::string common = "3DMF (3dmf,b3d,t3d)|*.3dmf;*.b3d;*.t3d\nVRML (wrl)|*.wrl\n";
  const std::string tail =
      "3D Studio (3ds)|*.3ds\nTrue Space (cob)|*.cob\nDrawing Interchange (dxf)|*.dxf\n";
  const std::string all =
      "All Supported 3D Formats|*.wrl;*.raw;*.3ds;*.cob;*.dxf;*.3dmf;*.b3d;*.t3d;";
  const std::string b =
      all + "*.wdo\nWirestead Object (wdo)|*.wdo\n" + common + "RAW Files (raw)|*.raw\n" + tail;
  EXPECT_EQ(lists, (std::vector<std::string>{all +
                                                 "*.wdc;*.wdo;*.x\nWirestead Object (wdo)|*.wdo\n"
                                                 "Wirestead Cluster (wdc)|*.wdc\n" +
                                                 common + "DirectX (x)|*.x\n" + tail,
                                             b, b}));
  EXPECT_EQ(std::tuple(f.ui.Messages().size(), f.m().cluster.objectNames.size()),
            std::tuple(0u, 1u));
}

TEST(OpenCommands, OpenStartsAClusterInsertAddsAnObjectMergeAddsToIt) {
  ImportFixture f;
  ASSERT_TRUE(NewObject(f.m(), "kept until Open"));
  const std::string tri = f.Write("tri.obj", kTriangle);
  f.ui.QueueOpenPath(tri);
  ASSERT_TRUE(OpenCommand(f.m(), f.services));
  EXPECT_EQ(f.m().cluster.objectNames, (std::vector<std::string>{"Default Object"}));
  // Insert keeps the file state.
  f.m().cluster.fileState = FileState::kCluster;
  f.m().cluster.clusterPath = "/somewhere/work.wdc";
  f.ui.QueueOpenPath(f.Write("tri.raw", "0 0 0 1 0 0 0 1 0\n"));
  ASSERT_TRUE(InsertCommand(f.m(), f.services));
  EXPECT_EQ(std::tuple(f.m().cluster.objectNames, f.m().cluster.current, f.tables().polygonCount,
                       f.m().cluster.fileState, f.m().cluster.clusterPath),
            std::tuple(std::vector<std::string>{"Default Object", "new object"}, 1u, 1u,
                       FileState::kCluster, "/somewhere/work.wdc"));
  f.ui.QueueOpenPath(tri);
  ASSERT_TRUE(MergeCommand(f.m(), f.services));
  // No de-duplication against what was there.
  EXPECT_EQ(std::tuple(f.m().cluster.objectNames.size(), f.userPoints()), std::tuple(2u, 6u));
}

TEST(OpenCommands, RefusalsInEveryModeChangeNothing) {
  for (OpenMode mode : {OpenMode::kOpen, OpenMode::kInsert, OpenMode::kMerge}) {
    ImportFixture f;
    ASSERT_TRUE(NewObject(f.m(), "second"));
    f.ui.ClearMessages();
    // Nothing to import, and a metafile without a metafile reader.
    for (const std::string& path : {f.Write("empty.obj", ""), f.dir.File("model.b3d")}) {
      const OpenOutcome out = OpenFile(f.m(), f.services, path, mode);
      EXPECT_EQ(std::tuple(out.ok, out.kind), std::tuple(false, "import")) << path;
    }
    EXPECT_EQ(
        std::tuple(f.ui.Messages().size(), f.m().cluster.objectNames, f.m().cluster.current,
                   f.tables().pointCount),
        std::tuple(2u, std::vector<std::string>{"Default Object", "second"}, 1u, kReservedPoints));
  }
}

TEST(OpenCommands, ObjectTextAndClusterFiles) {
  ImportFixture f;
  const std::string cube = test::DataPath("cube.wdo");
  EXPECT_EQ(OpenFile(f.m(), f.services, cube, OpenMode::kInsert).kind, "object");
  const std::uint32_t points = f.userPoints();
  ASSERT_TRUE(OpenFile(f.m(), f.services, cube, OpenMode::kMerge).ok);
  EXPECT_EQ(std::tuple(f.userPoints(), f.m().cluster.objectNames.size(), f.m().cluster.fileState),
            std::tuple(2 * points, 2u, FileState::kNone));  // Insert kept the file state
  ASSERT_TRUE(OpenFile(f.m(), f.services, cube, OpenMode::kOpen).ok);
  EXPECT_EQ(std::tuple(f.userPoints(), f.m().cluster.fileState, f.m().cluster.objectFilePath),
            std::tuple(points, FileState::kObject, cube));
  // A cluster file: Open loads it and takes its path.
  ASSERT_TRUE(NewObject(f.m(), "stored") && StoreObject(f.m(), 1, "stored"));
  const std::string cluster = f.dir.File("copy.wdc");
  test::WriteFileBytes(cluster, ReadWholeFile(f.m().paths.working).value());
  EXPECT_EQ(OpenFile(f.m(), f.services, cluster, OpenMode::kOpen).kind, "cluster");
  EXPECT_EQ(std::tuple(f.m().cluster.objectNames.size(), f.m().cluster.fileState,
                       f.m().cluster.clusterPath),
            std::tuple(2u, FileState::kCluster, cluster));
}

}  // namespace
}  // namespace ws
