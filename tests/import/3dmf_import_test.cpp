// Import3dmf: the converter's rules on metafiles written here.
#include <gtest/gtest.h>

#include <array>

#include "3dmf_test_writer.h"
#include "import/import_3dmf.h"
#include "import/import_test_support.h"
#include "model/color_table.h"

namespace ws::test {
namespace {

using P = std::array<double, 3>;

struct MetafileFixture : ImportFixture {
  MetafileFixture() { services.metafileReader = Import3dmf; }
  std::string File(const std::string& body, const char* name = "m.3dmf") {
    return Write(name, TextMetafile(body));
  }
  bool Run(const std::string& body, bool flip = false) {
    return Import3dmf(m(), services, File(body), flip);
  }
  std::vector<P> Points(std::uint32_t from = kReservedPoints) {
    std::vector<P> out;
    for (std::uint32_t i = from; i < tables().pointCount; ++i) {
      out.push_back({tables().points[i].x, tables().points[i].y, tables().points[i].z});
    }
    return out;
  }
  std::vector<std::uint32_t> Corners(std::uint32_t k) {
    const Polygon& p = tables().polygons[k];
    return {p.points, p.points + p.pointCount};
  }
};

const char kTriangleText[] = "Triangle ( 10 0 0 20 0 0 10 0 5 )\n";

TEST(Import3dmf, TriangleIsScaledBy18AndStandsOnZero) {
  MetafileFixture f;
  ASSERT_TRUE(f.Run(kTriangleText));
  EXPECT_EQ(f.Points(), (std::vector<P>{{-90, 0, -45}, {90, 0, -45}, {-90, 0, 45}}));
  const Polygon& p = f.tables().polygons[0];
  EXPECT_EQ(std::tuple(f.tables().polygonCount, p.pointCount, p.vectorCount, p.flags, p.frontFill,
                       f.Corners(0), f.tables().vectorCount),
            std::tuple(1u, 3u, 3u, 0x402u, 0u, std::vector<std::uint32_t>{7, 8, 9}, 9u));
  for (std::uint32_t v : std::span(p.vectors, 3)) EXPECT_EQ(f.tables().vectors[v].selected, kSelected);
  EXPECT_EQ(f.progress.titles, std::vector<std::string>{std::string(k3dmfTitle)});
}

TEST(Import3dmf, NegativeXBoxKeepsItsMaximumAtZeroAndNoExtentScalesByOne) {
  MetafileFixture f;
  ASSERT_TRUE(f.Run("Triangle ( -20 0 0 -10 0 0 -20 0 5 )"));
  // x runs from -20 to the box's starting maximum 0: centre -10, scale 9.
  EXPECT_EQ(f.Points(), (std::vector<P>{{-90, 0, -22.5}, {0, 0, -22.5}, {-90, 0, 22.5}}));
  MetafileFixture g;
  ASSERT_TRUE(g.Run("Triangle ( 5 5 5 5 5 5 5 5 5 )"));
  EXPECT_EQ(g.Points(), (std::vector<P>{{0, 0, 0}}));
}

TEST(Import3dmf, ColourAppliesToTheGeometryAfterIt) {
  MetafileFixture f;
  ASSERT_TRUE(f.Run("Container ( Triangle ( 0 0 0 1 0 0 0 1 0 ) DiffuseColor ( 1 0 0.5 ) )\n"
                    "Triangle ( 0 0 1 1 0 1 0 1 1 )"));
  const ColorTable table = *ReadClutFromFile(f.m().resources, f.m().paths.preferences, kCurrentClutId);
  const std::uint8_t red = NearestColor(table, 65535, 0, 32767);
  ASSERT_NE(red, 0);
  const Polygon& before = f.tables().polygons[0];
  const Polygon& after = f.tables().polygons[1];
  EXPECT_EQ(std::tuple(before.frontColor, before.backColor, before.backFill), std::tuple(0, 0, 0u));
  EXPECT_EQ(std::tuple(after.frontColor, after.backColor, after.frontFill, after.backFill),
            std::tuple(red, red, red * 0x01010101u, red * 0x01010101u));
}

TEST(Import3dmf, MatrixMovesTrianglesAndMeshesUntilAMeshSwitchesItOff) {
  MetafileFixture f;
  // x + 100 for every corner it applies to; each object has its own z.
  ASSERT_TRUE(f.Run(
      "Matrix ( 1 0 0 0 0 1 0 0 0 0 1 0 100 0 0 1 )\n"
      "TriMesh ( 1 0 0 0 3 0 0 1 2 0 0 0 1 0 0 0 1 0 0 0 0 1 1 0 False )\n"
      "Polygon ( 3 0 0 1 1 0 1 0 1 1 )\n"
      "Triangle ( 0 0 2 1 0 2 0 1 2 )\n"
      "Mesh ( 3 0 0 3 1 0 3 0 1 3 1 0 3 0 1 2 )\n"
      "Triangle ( 0 0 4 1 0 4 0 1 4 )"));
  // Box x 0 ... 101, y 0 ... 1, z 0 ... 4: scale 180 / 101, centre x 50.5.
  const double s = 180.0 / 101;
  std::vector<P> expected;
  for (int z = 0; z <= 4; ++z) {
    const double dx = (z == 2 || z == 3) ? 100 : 0;
    for (const auto& [x, y] : {std::pair{0.0, 0.0}, {1.0, 0.0}, {0.0, 1.0}}) {
      expected.push_back({(x + dx - 50.5) * s, y * s, (z - 2) * s});
    }
  }
  const std::vector<P> got = f.Points();
  ASSERT_EQ(got.size(), expected.size());
  for (std::size_t i = 0; i < got.size(); ++i) {
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(got[i][k], expected[i][k], 1e-9) << i;
  }
}

TEST(Import3dmf, MergeFlipsOnlyTheNewPolygonsAndSharesEqualCorners) {
  MetafileFixture f;
  ASSERT_TRUE(f.Run(kTriangleText));
  const std::vector<std::uint32_t> old = f.Corners(0);
  const std::string path = f.File(
      "Triangle ( 90 0 -45 0 0 9 0 1 1 ) Triangle ( 0 0 9 0 1 1 2 2 2 )", "merge.b3d");
  ASSERT_TRUE(OpenFile(f.m(), f.services, path, OpenMode::kMerge).ok);
  EXPECT_EQ(f.Corners(0), old);
  // (90, 0, -45) is an old point; the two new triangles share two corners.
  EXPECT_EQ(std::tuple(f.tables().pointCount, f.Corners(1), f.Corners(2)),
            std::tuple(13u, std::vector<std::uint32_t>{11, 10, 8},
                       std::vector<std::uint32_t>{12, 11, 10}));
}

TEST(Import3dmf, AReferenceRightAfterAContainerTakesNoStorageObject) {
  MetafileFixture f;
  ASSERT_TRUE(f.Run("Container ( Reference ( 1 ) Triangle ( 0 0 0 1 0 0 0 1 0 ) )\n"
                    "t: Triangle ( 0 0 5 1 0 5 0 1 5 ) TableOfContents ( n> 2 -1 1 16 1 1 t> x )"));
  // The referenced triangle, the one in the container, the one at top level.
  EXPECT_EQ(std::tuple(f.tables().polygonCount, f.ui.MessageTexts().size()), std::tuple(3u, 0u));
}

TEST(Import3dmf, TruncationMessagesKeepWhatWasRead) {
  const std::string mesh4 = "TriMesh ( 2 0 0 0 4 0 0 1 2 0 2 3 7 7 7 8 7 7 8 8 7 7 8 7 0 0 0 1 1 0 False )";
  const struct {
    const char* name;
    std::uint32_t points, vectors, polygons;  // room left in each table
    std::string body;
    std::vector<std::string> messages;
    std::uint32_t polygonsMade;
  } rows[] = {
      {"points fit", 6, 99, 99, "Triangle ( 7 7 7 8 7 7 7 8 7 ) Triangle ( 7 7 8 8 7 8 7 8 8 )", {}, 2},
      {"points", 5, 99, 99, "Triangle ( 7 7 7 8 7 7 7 8 7 ) Triangle ( 7 7 8 8 7 8 7 8 8 )",
       {std::string(kMsgTooManyPoints)}, 1},
      {"vectors at a triangle", 99, 2, 99, "Triangle ( 7 7 7 8 7 7 7 8 7 )",
       {std::string(kMsgTooManyTriangles)}, 0},
      {"mesh triangles fit", 99, 99, 2, mesh4, {}, 2},
      {"mesh triangles", 99, 99, 1, mesh4, {std::string(kMsgTooManyPolygons)}, 0},
      {"vectors in a mesh", 99, 4, 99, mesh4, {std::string(kMsgObjectTooBig)}, 1},
      {"polygon table", 99, 99, 0, "Triangle ( 7 7 7 8 7 7 7 8 7 )",
       {std::string(kMsgTooManyPolygons)}, 0},
  };
  for (const auto& row : rows) {
    MetafileFixture f;
    ObjectTables& t = f.tables();
    t.pointCount = kMaxPoints - row.points;
    t.vectorCount = kMaxVectors - row.vectors;
    t.polygonCount = kMaxPolygons - row.polygons;
    const std::uint32_t polygons = t.polygonCount;
    EXPECT_TRUE(f.Run(row.body)) << row.name;
    EXPECT_EQ(std::tuple(f.ui.MessageTexts(), t.polygonCount - polygons),
              std::tuple(row.messages, row.polygonsMade))
        << row.name;
  }
}

TEST(Import3dmf, EllipsoidMemoryMessagesInOrder) {
  std::vector<std::string> seen;
  for (std::size_t successes = 0; successes < 40; ++successes) {
    MetafileFixture f;
    f.m().rt.memory.FailAfter(successes);
    f.Run("Triangle ( 0 0 0 1 0 0 0 1 0 ) Ellipsoid ( )");
    const std::vector<std::string> texts = f.ui.MessageTexts();
    if (texts.size() == 2 && texts[1] == kMsgObjectTooBig) seen.push_back(texts[0]);
  }
  EXPECT_EQ(seen, (std::vector<std::string>{std::string(kMsgNoMemoryTop),
                                            std::string(kMsgNoMemoryBottom),
                                            std::string(kMsgNoMemoryCenter),
                                            std::string(kMsgNoMemoryPoints)}));
}

TEST(Import3dmf, InsertMakesAnObjectAndErrorsKeepWhatWasRead) {
  MetafileFixture f;
  ASSERT_TRUE(OpenFile(f.m(), f.services, f.File(kTriangleText), OpenMode::kInsert).ok);
  EXPECT_EQ(std::tuple(f.m().cluster.objectNames.size(), f.tables().polygonCount), std::tuple(2u, 1u));
  // Damage inside a container: the general error, and the triangle before it stays.
  MetafileFixture g;
  EXPECT_TRUE(g.Run(std::string(kTriangleText) + "Container ( Triangle ( 1 2 ) )"));
  EXPECT_EQ(std::tuple(g.ui.Messages().size(), g.tables().polygonCount), std::tuple(1u, 1u));
  EXPECT_EQ(g.ui.Messages()[0], (RecordedMessage{"General Error", std::string(kMsgUnknownError)}));
}

}  // namespace
}  // namespace ws::test
