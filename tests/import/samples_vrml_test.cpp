// The VRML files of the shared sample set that hold faces, imported the
// way Merge imports them (those without are in samples_test.cpp). Face counts were checked once
// against a separate short script that counts coordIndex runs of three or more corners and the
// primitives' faces, re-counting a DEF at each USE and leaving out the children of a Switch that
// shows none (the samples hide their DEFs that way).
#include <gtest/gtest.h>

#include <algorithm>

#include "import_test_support.h"

namespace ws {
namespace {

using test::ImportFixture;
using test::SamplePath;

struct Expected {
  const char* file;
  std::uint32_t points, vectors, polygons;
};

const Expected kReadable[] = {
    {"wrl/v1_concave.wrl", 6, 6, 1},
    {"wrl/v1_cones.wrl", 97, 128, 38},  // cylinder sides, cone bottoms (lines and points left out)
    {"wrl/v1_flat_triangles.wrl", 87, 175, 88},
    {"wrl/v1_kings_head.wrl", 1000, 2032, 1040},
    {"wrl/v1_material_per_face_vertex.wrl", 24, 24, 6},
    {"wrl/v1_materials.wrl", 896, 1756, 883},
    {"wrl/v1_normals.wrl", 16, 16, 4},
    {"wrl/v1_shape_hints.wrl", 1000, 2032, 1048},
    {"wrl/v2_HelloWorld.wrl", 242, 496, 256},  // one sphere; the text is skipped
    {"wrl/v2_cones.wrl", 97, 128, 38},
    {"wrl/v2_normals.wrl", 16, 16, 4},
    {"wrl/v2_teapot.wrl", 1563, 3108, 1546},
};

TEST(SamplesVrml, ReadableFilesGiveTheirRecordedCounts) {
  WS_SKIP_WITHOUT_SAMPLES();
  for (const Expected& e : kReadable) {
    ImportFixture f;
    EXPECT_TRUE(f.Import(SamplePath(e.file))) << e.file;
    EXPECT_EQ(std::tuple(f.userPoints(), f.userVectors(), f.tables().polygonCount,
                         f.ui.Messages().size()),
              std::tuple(e.points, e.vectors, e.polygons, 0u))
        << e.file;
    EXPECT_NE(
        std::find(f.progress.titles.begin(), f.progress.titles.end(), "Importing VRML File..."),
        f.progress.titles.end())
        << e.file;
    test::ExpectConsistent(f.tables());
  }
}

// A gzip-compressed file is read as the text it holds (this one is
// v1_cones.wrl).
TEST(SamplesVrml, GzipFileReadsAsItsText) {
  WS_SKIP_WITHOUT_SAMPLES();
  ImportFixture f;
  const std::string path = f.dir.File("cones.wrl");
  test::WriteFileBytes(path, test::ReadFileBytes(SamplePath("wrl/malformed/v1_cones_gzip.wrl.gz")));
  EXPECT_TRUE(f.Import(path));
  EXPECT_EQ(std::tuple(f.userPoints(), f.userVectors(), f.tables().polygonCount),
            std::tuple(97u, 128u, 38u));
}

}  // namespace
}  // namespace ws
