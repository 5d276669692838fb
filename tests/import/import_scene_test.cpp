#include "import/import_scene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "import/import_convert.h"
#include "import_test_support.h"

namespace ws {
namespace {

using test::ExpectConsistent;
using test::ImportFixture;
using test::kDropped;

// A scene reader that builds its scene from lists given by the test,
// standing in for a format (the file itself is never opened).
struct SceneFromLists {
  std::vector<Vec3> points;
  std::vector<std::int32_t> faces;
  std::vector<MaterialValue> materials;  // per face when given
};

struct SceneImport : ImportFixture {
  using ImportFixture::Import;
  bool Import(SceneFromLists s) {
    services.readers.Set(SceneFormat::kRaw, [s](Importer& importer, const std::string&) {
      scene::Separator& root = importer.root();
      if (!s.materials.empty()) {
        scene::Material& m = root.Make<scene::Material>();
        for (const MaterialValue& v : s.materials) m.Append(v);
        root.Make<scene::MaterialBinding>(scene::Binding::kPerFace);
      }
      root.Make<scene::Coordinate3>().point = s.points;
      root.Make<scene::IndexedFaceSet>().coordIndex = s.faces;
      return true;
    });
    return Import(dir.File("a.raw"));
  }
  bool ImportTriangles(int count) {
    SceneFromLists s{{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {}, {}};
    for (int i = 0; i < count; ++i) s.faces.insert(s.faces.end(), {0, 1, 2, -1});
    return Import(std::move(s));
  }
};

TEST(ImportConversion, ScalesTheLargestExtentTo360AndCentres) {
  ImportFixture f;
  // A 2 x 1 x 0.5 box from (1, 2, 3): scale 180, centre (2, 2.5, 3.25).
  // Faces of two corners, repeats that leave two points, or one point make
  // no polygon and no message.
  ASSERT_TRUE(f.Import(f.Write("box.obj",
                               "v 1 2 3\nv 3 2 3\nv 3 3 3\nv 1 3 3\nv 1 2 3.5\nv 3 2 3.5\n"
                               "v 3 3 3.5\nv 1 3 3.5\nf 1 4 3 2\nf 5 6 7 8\nf 1 2 6 5\n"
                               "f 2 3 7 6\nf 3 4 8 7\nf 4 1 5 8\nf 1 2\nf 1 1 2 2 1\nf 3 3 3\n")));
  const ObjectTables& t = f.tables();
  EXPECT_EQ(std::tuple(f.userPoints(), f.userVectors(), t.polygonCount), std::tuple(8u, 12u, 6u));
  // Points are numbered as the faces first meet them: 1, 4, 3, 2, 5, ...
  const Point& first = t.points[kReservedPoints];
  const Point& seventh = t.points[kReservedPoints + 6];
  EXPECT_EQ((Vec3{first.x, first.y, first.z}), (Vec3{-180, -90, -45}));
  EXPECT_EQ((Vec3{seventh.x, seventh.y, seventh.z}), (Vec3{180, 90, 45}));
  // The first face keeps its corner order; each vector leaves its corner.
  const Polygon& p = t.polygons[0];
  for (std::uint32_t i = 0; i < 4; ++i) {
    EXPECT_EQ(p.points[i], kReservedPoints + i);
    const Vector& v = t.vectors[p.vectors[i]];
    EXPECT_EQ(std::minmax(v.p1, v.p2), std::minmax(p.points[i], p.points[(i + 1) % 4])) << i;
  }
  EXPECT_TRUE(f.ui.Messages().empty());
}

TEST(ImportConversion, A150CornerFaceFitsA151CornerFaceIsDropped) {
  ImportFixture f;
  std::string text, face150 = "f", face151 = "f";
  for (int i = 1; i <= 151; ++i) {
    const double a = 2 * std::numbers::pi * i / 151;
    text += "v " + std::to_string(std::cos(a)) + " " + std::to_string(std::sin(a)) + " 0\n";
    if (i <= 150) face150 += " " + std::to_string(i);
    face151 += " " + std::to_string(i);
  }
  ASSERT_TRUE(f.Import(f.Write("round.obj", text + face151 + "\n" + face150 + "\n")));
  EXPECT_EQ(std::tuple(f.tables().polygonCount, f.tables().polygons[0].pointCount,
                       f.tables().polygons[0].vectorCount),
            std::tuple(1u, 150u, 150u));
  EXPECT_EQ(f.ui.Messages(),
            (std::vector<RecordedMessage>{
                {"Notification", std::string(kDropped) +
                                     "   - Polygons exceeded the maximum number of points\n"}}));
}

TEST(ImportConversion, ThePolygonCountAndTheCollectionCap) {
  const std::string countLine =
      std::string(kDropped) + "   - Object exceeded the maximum polygon count\n";
  // No face after the 9,999th: it stays. One more: the 9,999th is given
  // back. Past 10,000 faces collection stops and the rest are counted.
  const auto beyond = [&](int n) {
    return countLine + "   - " + std::to_string(n) +
           " faces beyond the 10,000 that an object can take were left out\n";
  };
  const std::tuple<int, std::uint32_t, std::vector<std::string>> cases[] = {
      {9999, 9999, {}},
      {10000, 9998, {countLine}},
      {10001, 9998, {beyond(1)}},
      {12000, 9998, {beyond(2000)}}};
  for (const auto& [faces, polygons, messages] : cases) {
    SceneImport f;
    ASSERT_TRUE(f.ImportTriangles(faces));
    // The dialog is hidden for the report.
    EXPECT_EQ(std::tuple(f.tables().polygonCount, f.ui.MessageTexts(), f.observer.helpLines.back(),
                         std::count(f.progress.events.begin(), f.progress.events.end(), "hide")),
              std::tuple(polygons, messages,
                         "Loading Polygon " + std::to_string(std::min(faces, 10000) / 50 * 50),
                         messages.empty() ? 0 : 1))
        << faces;
  }
  // Merging into a full object keeps its polygons (not cut to 9,998).
  SceneImport f;
  ASSERT_TRUE(f.ImportTriangles(9999));
  ASSERT_TRUE(f.ImportTriangles(1));
  EXPECT_EQ(std::tuple(f.tables().polygonCount, f.ui.MessageTexts()),
            std::tuple(9999u, std::vector<std::string>{countLine}));
}

TEST(ImportConversion, PointAndVectorLimitsDropTheFacesThatFoundNoRoom) {
  SceneFromLists many, dense;
  for (int i = 0; i < 7000; ++i) {
    many.points.insert(many.points.end(), {{1.0 * i, 0, 0}, {1.0 * i, 1, 0}, {1.0 * i, 0, 1}});
    many.faces.insert(many.faces.end(), {3 * i, 3 * i + 1, 3 * i + 2, -1});
  }
  constexpr int kPoints = 307;  // prime: every step visits distinct pairs
  for (int i = 0; i < kPoints; ++i)
    dense.points.push_back({std::cos(i * 0.1), std::sin(i * 0.1), i * 0.01});
  for (int m = 1; m <= 150; ++m) {
    for (int k = 0; k < 150; ++k) dense.faces.push_back((k * m) % kPoints);
    dense.faces.push_back(-1);
  }
  for (bool points : {true, false}) {
    SceneImport f;
    ASSERT_TRUE(f.Import(points ? many : dense));
    const ObjectTables& t = f.tables();
    if (points) {  // 19,992 points make 6,664 whole triangles
      EXPECT_EQ(std::tuple(t.pointCount, t.polygonCount, f.userVectors()),
                std::tuple(kImportMaxPoints, 6664u, 6664u * 3));
    } else {
      EXPECT_EQ(t.vectorCount, kImportMaxVectors);
      EXPECT_TRUE(t.polygonCount > 100u && t.polygonCount < 150u);
    }
    EXPECT_EQ(
        f.ui.MessageTexts(),
        (std::vector<std::string>{std::string(kDropped) + "   - Object exceeded the maximum " +
                                  (points ? "number of points\n" : "number of vectors\n")}));
    ExpectConsistent(t);
  }
}

TEST(ImportColors, DiffuseTimesAmbientPlusDiffuseClampsAndTruncates) {
  ColorTable table = test::SampleColorTable();
  table.Set(5, {0xFFFF, 0xFFFF, 0xFFFF});
  table.Set(0, {0, 0, 0});
  table.Set(6, {0xFEFE, 0xFEFE, 0xFEFE});
  table.Set(7, {62708, 62708, 62708});  // 244 x 257: the default material
  MaterialValue bright;
  bright.diffuse = {1, 1, 1};
  bright.ambient = {0.5, 0.5, 0.5};  // 1.5 clamps to 1.0: 0xFFFF
  // 254.7 -> 254; the default 0.8 x 0.2 + 0.8 = 0.96; below 0 and NaN clamp to 0.
  EXPECT_EQ(std::vector({FaceColorIndex(table, bright),
                         FaceColorIndex(table, MaterialFromColor({0.999, 0.999, 0.999})),
                         FaceColorIndex(table, MaterialValue{}),
                         FaceColorIndex(table, MaterialFromColor({-3, -1, NAN}))}),
            std::vector<std::uint8_t>({5, 6, 7, 0}));
}

TEST(ImportColors, FacesTakeTheirOwnMaterialAndSidedness) {
  SceneImport f;
  SceneFromLists s{
      {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {0, 1, -1, 0, 1, 2, -1, 0, 2, 1, -1, 1, 2, 0, -1}, {}};
  s.materials = {MaterialFromColor({0, 0, 0}), MaterialFromColor({1, 0, 0}),
                 MaterialFromColor({0, 1, 0}), MaterialFromColor({0, 0, 1})};
  s.materials[2].twoSided = true;  // the first face is dropped: the others keep their colours
  ASSERT_TRUE(f.Import(std::move(s)));
  const ObjectTables& t = f.tables();
  ASSERT_EQ(t.polygonCount, 3u);
  const ColorTable colors = test::SampleColorTable();
  const std::uint8_t expected[] = {NearestColor(colors, 0xFFFF, 0, 0),
                                   NearestColor(colors, 0, 0xFFFF, 0),
                                   NearestColor(colors, 0, 0, 0xFFFF)};
  for (std::uint32_t k = 0; k < 3; ++k) {
    const Polygon& p = t.polygons[k];
    EXPECT_EQ(std::tuple(p.frontColor, p.backColor, p.frontFill, p.backFill, p.flags),
              std::tuple(expected[k], expected[k], expected[k] * 0x01010101u,
                         expected[k] * 0x01010101u, k == 1 ? 0x002u : 0x402u));
  }
}

TEST(ImportPipeline, TitlesProgressHelpLinesAndEscape) {
  SceneImport f;
  ASSERT_TRUE(f.ImportTriangles(120));
  EXPECT_EQ(f.progress.titles,
            (std::vector<std::string>{"Scanning VRML File...", "Loading Polygons...",
                                      "Importing Objects..."}));
  // The walk reports 50 and 100; loading and importing start again at 0.
  EXPECT_EQ(std::tuple(f.progress.events, f.observer.helpLines, f.progress.positions, f.ui.busy()),
            std::tuple(std::vector<std::string>{"open", "close"},
                       std::vector<std::string>{"Loading Polygon 50", "Loading Polygon 100"},
                       std::vector<int>{0, 50, 100, 0, 0, 83}, false));
  // Escape stops collecting; what came is converted. It is asked once per
  // face, and never after it said yes.
  int polls = 0;
  f.services.escapePressed = [&] { return ++polls > 30; };
  ASSERT_TRUE(f.ImportTriangles(100));
  EXPECT_EQ(std::tuple(f.tables().polygonCount, polls, f.observer.helpLines.back()),
            std::tuple(150u, 31, "*** Aborting ***"));
}

// What the user is told about a file ('@' stands for its path), and the
// polygons it makes.
TEST(ImportMessages, NothingToImportAndDroppedFaces) {
  const std::string nothing = "There is nothing Wirestead can import in \"@\"\n";
  const std::string dropped = std::string(kDropped) + "   - ";
  const std::tuple<const char*, std::string, std::uint32_t, std::string> cases[] = {
      {"a.obj", "", 0, nothing + "It holds no faces."},
      {"a.obj", "v 0 0 0\nv 1 0 0\nl 1 2\n", 0,
       nothing + "It holds only points or lines, no faces."},
      {"a.obj", "p 1\n", 0, nothing + "It holds only points or lines, no faces."},
      {"a.obj",
       std::string("v\0 \0"
                   "0\0\n\0",
                   8),
       0, nothing + "Its text is in an encoding that Wirestead cannot read."},
      {"a.obj", "v 0 0 0\nf 1 2 3\nf 0 1 1\n", 0,
       nothing + "Every face names vertices that the file does not have."},
      {"a.obj", "v 1 2\n", 0, nothing + "Line 1 is not what the format allows."},
      {"a.raw", "1 2 3\n", 0, nothing + "No line holds the nine numbers of a triangle."},
      {"a.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 4\nf 1 2 3\nf -4 1 2\nf 1 2 0\n", 1,
       dropped + "3 faces name vertices that the file does not have\n"},
      {"a.raw", "0 0 0 1 0 0 0 1 0\n1 2 3\ng\n0 0 0 1 0 0 0 1\n", 1,
       dropped + "2 lines with fewer than nine numbers were skipped (lines 2, 4)\n"},
      {"model.txt", "", 0, "Could not import \"@\""},  // no reader claims it
      {"plan.dxf", "", 0, "Could not import \"@\""},   // the reader fails
      {"MODEL.WRL", "", 0, "Could not import \"@\""},  // read as VRML, whatever its case
      {"a.nff", "", 0, "Wirestead can't read this kind of file yet: \"@\""}};
  for (const auto& [name, text, polygons, message] : cases) {
    ImportFixture f;
    f.services.readers.Set(SceneFormat::kDxf, [](Importer&, const std::string&) { return false; });
    f.services.readers.Set(SceneFormat::kNff, {});  // a format without a reader
    const std::string path = f.Write(name, text);
    const bool imported = f.Import(path);
    std::string expected = message;
    if (expected.find('@') != std::string::npos) expected.replace(expected.find('@'), 1, path);
    EXPECT_EQ(std::tuple(imported, f.ui.MessageTexts(), f.tables().polygonCount),
              std::tuple(polygons > 0, std::vector<std::string>{expected}, polygons))
        << text;
  }
}

}  // namespace
}  // namespace ws
