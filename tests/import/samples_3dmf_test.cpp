// Every 3DMF sample, opened as the editor's Open does, with the counts its
// own declarations give: a TriMesh makes its declared triangles and points,
// a Mesh its faces (contours left out) and vertices. Points are welded
// corners, vectors distinct edges.
#include <gtest/gtest.h>

#include "import/import_3dmf.h"
#include "import_test_support.h"

namespace ws {
namespace {

struct SampleFixture : test::ImportFixture {
  SampleFixture() { services.metafileReader = Import3dmf; }
};

TEST(Samples3dmf, OpenWithTheirDeclaredCountsOrChangeNothing) {
  WS_SKIP_WITHOUT_SAMPLES();
  const std::tuple<const char*, std::uint32_t, std::uint32_t, std::uint32_t> rows[] = {
      {"Triangle.3dmf", 3, 3, 1},
      {"Polygon.3dmf", 5, 5, 1},
      {"Mesh.3dmf", 14, 21, 8},  // 8 faces; its 2 contours (holes) are left out
      {"Mesh_Concave.3dmf", 7, 7, 1},
      {"Mesh_Nonplanar.3dmf", 5, 5, 1},
      {"Mesh_Star.3dmf", 5, 5, 1},
      {"TriMesh-simple.3dmf", 4, 5, 2},
      {"TriMesh-no-normals.3dmf", 8, 13, 6},
      {"TriMesh-face-colors.3dmf", 8, 13, 6},
      {"TriMesh-face-colors-normals.3dmf", 8, 15, 8},
      {"TriMesh-fancy.3dmf", 6, 9, 4},
      {"ndc-foreground.3dmf", 8, 16, 8},
      {"ndc-textured-background.3dmf", 4, 5, 2},  // binary
      // Four meshes of two triangles, and Reference ( 4 ) repeats the first.
      {"references.3dmf", 16, 20, 10},
      {"Ellipsoid_Default.3dmf", 32, 66, 36},  // the unit sphere
      // Radius a is the major radius' y, here 0: the ellipsoid folds onto
      // its centre, one point and no face.
      {"Ellipsoid.3dmf", 1, 1, 0},
      {"Ellipsoid_PartialA.3dmf", 1, 1, 0},
      {"quesa.3dmf", 1, 1, 0},  // the same, beside a torus and a cone
      {"Box.3dmf", 0, 0, 0},
      {"malformed/Mesh~TopoErr0.3dmf", 0, 0, 0},  // no vertices
      {"malformed/TriMesh-simple_truncated.3dmf", 0, 0, 0},
      {"malformed/ndc-textured-background_truncated.3dmf", 0, 0, 0},
      {"malformed/empty.3dmf", 0, 0, 0},
  };
  for (const auto& [file, points, vectors, polygons] : rows) {
    SampleFixture f;
    ASSERT_TRUE(NewObject(f.m(), "work"));
    f.ui.ClearMessages();
    const bool ok =
        OpenFile(f.m(), f.services, test::SamplePath("3dmf/" + std::string(file)), OpenMode::kOpen).ok;
    EXPECT_EQ(std::tuple(ok, f.userPoints(), f.userVectors(), f.tables().polygonCount,
                         f.ui.MessageTexts(), f.m().cluster.objectNames.size()),
              std::tuple(points > 0, points, vectors, polygons,
                         std::vector<std::string>(points == 0, std::string(kMsgNoUsableObjects)),
                         points > 0 ? 1u : 2u))
        << file;
    test::ExpectConsistent(f.tables());
  }
}

}  // namespace
}  // namespace ws
