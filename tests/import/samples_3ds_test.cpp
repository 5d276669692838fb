// Every 3D Studio file of the shared sample set, imported the way Open
// imports it. The face counts were checked once against an independent
// reader (assimp's "info -r"); the polygons equal its faces except where a
// note says why (assimp: 1,368 and none). Our points are welded corners (assimp counts three
// vertices per face), and vectors the distinct edges.
#include <gtest/gtest.h>

#include "import_test_support.h"

namespace ws {
namespace {

using test::ImportFixture;

struct Expected {
  const char* file;
  std::uint32_t points, vectors, polygons;
  const char* dropped;  // the drop report's line, or null
};

const Expected kFiles[] = {
    {"3ds/CameraRollAnim.3ds", 8, 18, 12, nullptr},
    {"3ds/CameraRollAnimWithChildObject.3ds", 16, 36, 24, nullptr},
    {"3ds/RotatingCube.3DS", 8, 18, 12, nullptr},
    {"3ds/TargetCameraAnim.3ds", 8, 18, 12, nullptr},
    {"3ds/cube_with_diffuse_texture.3DS", 8, 18, 12, nullptr},
    {"3ds/cubes_with_alpha.3DS", 40, 90, 60, nullptr},
    {"3ds/fels.3ds", 386, 1152, 768, nullptr},
    {"3ds/test1.3ds", 72, 162, 108, nullptr},
    // The spider: 56 of its 1,368 triangles have two corners on one welded
    // point and make no polygon (as the OBJ copy of the same model).
    {"3ds/testFormatDetection", 722, 2004, 1312, nullptr},
    // Cut inside the vertex list of its seventh box: the six boxes before
    // it stay (assimp refuses the whole file, "Chunk is too large").
    {"3ds/malformed/test1_truncated.3ds", 48, 108, 72,
     "The file is damaged from byte 6327 on; the rest was not read"},
};

TEST(Samples3ds, FilesGiveTheirRecordedCounts) {
  WS_SKIP_WITHOUT_SAMPLES();
  for (const Expected& e : kFiles) {
    ImportFixture f;
    // The one file without an ending is read under a name the dispatch knows.
    const std::string path = f.dir.File("sample.3ds");
    test::WriteFileBytes(path, test::ReadFileBytes(test::SamplePath(e.file)));
    ASSERT_TRUE(OpenFile(f.m(), f.services, path, OpenMode::kOpen).ok) << e.file;
    EXPECT_EQ(std::tuple(f.userPoints(), f.userVectors(), f.tables().polygonCount),
              std::tuple(e.points, e.vectors, e.polygons))
        << e.file;
    const std::vector<std::string> report{std::string(test::kDropped) + "   - " +
                                          (e.dropped ? e.dropped : "") + "\n"};
    EXPECT_EQ(f.ui.MessageTexts(), e.dropped ? report : std::vector<std::string>{}) << e.file;
    test::ExpectConsistent(f.tables());
  }
}

TEST(Samples3ds, EmptyFileChangesNothing) {
  WS_SKIP_WITHOUT_SAMPLES();
  ImportFixture f;
  ASSERT_TRUE(NewObject(f.m(), "work"));
  f.ui.ClearMessages();
  const std::string path = test::SamplePath("3ds/malformed/empty.3ds");
  EXPECT_FALSE(OpenFile(f.m(), f.services, path, OpenMode::kOpen).ok);
  EXPECT_EQ(std::make_tuple(f.ui.MessageTexts(), f.m().cluster.objectNames, f.tables().pointCount),
            std::make_tuple(std::vector<std::string>{std::string(kMsgNothingToImport) + path +
                                                     "\"\nIt is not a 3D Studio file."},
                            std::vector<std::string>{"Default Object", "work"}, kReservedPoints));
}

}  // namespace
}  // namespace ws
