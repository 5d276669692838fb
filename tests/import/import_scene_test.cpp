#include "import/import_scene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "import/import_convert.h"
#include "import_test_support.h"
#include "resource/resource_file.h"

namespace ws {
namespace {

using test::ImportFixture;

// Every entry the import wrote refers only to entries that exist.
void ExpectConsistent(const ObjectTables& t) {
  for (std::uint32_t v = kReservedVectors; v < t.vectorCount; ++v) {
    ASSERT_LT(t.vectors[v].p1, t.pointCount) << v;
    ASSERT_LT(t.vectors[v].p2, t.pointCount) << v;
  }
  for (std::uint32_t k = 0; k < t.polygonCount; ++k) {
    const Polygon& p = t.polygons[k];
    ASSERT_LE(p.pointCount, kMaxPolygonPoints);
    ASSERT_LE(p.vectorCount, kMaxPolygonVectors);
    for (std::uint32_t i = 0; i < p.pointCount; ++i) ASSERT_LT(p.points[i], t.pointCount);
    for (std::uint32_t i = 0; i < p.vectorCount; ++i) ASSERT_LT(p.vectors[i], t.vectorCount);
  }
}

// A scene reader that builds its scene from lists given by the test,
// standing in for a format (the file itself is never opened).
struct SceneFromLists {
  std::vector<Vec3> points;
  std::vector<std::int32_t> faces;
  std::vector<MaterialValue> materials;  // per face when given
  bool Read(Importer& importer) const {
    scene::Separator& root = importer.root();
    if (!materials.empty()) {
      scene::Material& m = root.Make<scene::Material>();
      for (const MaterialValue& v : materials) m.Append(v);
      root.Make<scene::MaterialBinding>(scene::Binding::kPerFace);
    }
    root.Make<scene::Coordinate3>().point = points;
    root.Make<scene::IndexedFaceSet>().coordIndex = faces;
    return true;
  }
};

struct SceneImport : ImportFixture {
  void Use(SceneFormat format, SceneFromLists scene) {
    auto shared = std::make_shared<SceneFromLists>(std::move(scene));
    services.readers.Set(format, [shared](Importer& importer, const std::string&) {
      return shared->Read(importer);
    });
  }
};

TEST(ImportConversion, ScalesTheLargestExtentTo360AndCentres) {
  ImportFixture f;
  // A 2 x 1 x 0.5 box from (1, 2, 3).
  const std::string path = f.Write("box.obj",
                                   "v 1 2 3\nv 3 2 3\nv 3 3 3\nv 1 3 3\n"
                                   "v 1 2 3.5\nv 3 2 3.5\nv 3 3 3.5\nv 1 3 3.5\n"
                                   "f 1 4 3 2\nf 5 6 7 8\nf 1 2 6 5\nf 2 3 7 6\nf 3 4 8 7\nf 4 1 5 8\n");
  ASSERT_TRUE(f.Import(path));
  const ObjectTables& t = f.tables();
  ASSERT_EQ(f.userPoints(), 8u);
  EXPECT_EQ(f.userVectors(), 12u);
  EXPECT_EQ(t.polygonCount, 6u);
  // Scale 360 / 2 = 180, centre (2, 2.5, 3.25).
  const Point& first = t.points[kReservedPoints];
  EXPECT_EQ(first.x, -180);
  EXPECT_EQ(first.y, -90);
  EXPECT_EQ(first.z, -45);
  const Point& seventh = t.points[kReservedPoints + 6];
  EXPECT_EQ(seventh.x, 180);
  EXPECT_EQ(seventh.y, 90);
  EXPECT_EQ(seventh.z, 45);
  // Vectors come in selected, polygons unselected with the import flags.
  for (std::uint32_t v = kReservedVectors; v < t.vectorCount; ++v) {
    EXPECT_EQ(t.vectors[v].selected, kSelected);
    EXPECT_EQ(t.vectors[v].width, 0u);
    EXPECT_EQ(t.vectors[v].color, 0);
  }
  for (std::uint32_t k = 0; k < t.polygonCount; ++k) {
    EXPECT_EQ(t.polygons[k].flags, 0x402u);
    EXPECT_EQ(t.polygons[k].pointCount, 4u);
    EXPECT_EQ(t.polygons[k].vectorCount, 4u);
    EXPECT_EQ(t.polygons[k].viewZoneCount, 0u);
    EXPECT_EQ(t.polygonSelected[k], kUnselected);
  }
  // The first face keeps its corner order; each vector leaves its corner.
  const Polygon& p = t.polygons[0];
  // Points are numbered as the faces first meet them: 1, 4, 3, 2, ...
  for (std::uint32_t i = 0; i < 4; ++i) EXPECT_EQ(p.points[i], kReservedPoints + i);
  EXPECT_EQ(t.points[kReservedPoints + 1].y, 90);  // file vertex 4: (1, 3, 3)
  for (std::uint32_t i = 0; i < 4; ++i) {
    const Vector& v = t.vectors[p.vectors[i]];
    const std::uint32_t from = p.points[i], to = p.points[(i + 1) % 4];
    EXPECT_TRUE((v.p1 == from && v.p2 == to) || (v.p1 == to && v.p2 == from)) << i;
  }
  EXPECT_TRUE(f.ui.Messages().empty());
  ExpectConsistent(t);
}

TEST(ImportConversion, DegenerateFacesMakeNoPolygonAndNoMessage) {
  ImportFixture f;
  const std::string path = f.Write("thin.obj",
                                   "v 0 0 0\nv 1 0 0\nv 0 1 0\n"
                                   "f 1 2\n"          // two corners
                                   "f 1 1 2 2 1\n"    // repeats: two points
                                   "f 3 3 3\n"        // one point
                                   "f 1 2 3\n");      // the only polygon
  ASSERT_TRUE(f.Import(path));
  EXPECT_EQ(f.tables().polygonCount, 1u);
  EXPECT_EQ(f.userPoints(), 3u);
  EXPECT_EQ(f.userVectors(), 3u);
  EXPECT_TRUE(f.ui.Messages().empty());
  ExpectConsistent(f.tables());
}

TEST(ImportConversion, A151CornerFaceIsDroppedWithItsReportLine) {
  ImportFixture f;
  std::string text;
  for (int i = 0; i < 151; ++i) {
    const double a = 2 * std::numbers::pi * i / 151;
    text += "v " + std::to_string(std::cos(a)) + " " + std::to_string(std::sin(a)) + " 0\n";
  }
  std::string face150 = "f", face151 = "f";
  for (int i = 1; i <= 150; ++i) face150 += " " + std::to_string(i);
  for (int i = 1; i <= 151; ++i) face151 += " " + std::to_string(i);
  const std::string path = f.Write("round.obj", text + face151 + "\n" + face150 + "\n");
  ASSERT_TRUE(f.Import(path));
  // The 150-corner face fits exactly; the 151-corner one does not.
  ASSERT_EQ(f.tables().polygonCount, 1u);
  EXPECT_EQ(f.tables().polygons[0].pointCount, 150u);
  EXPECT_EQ(f.tables().polygons[0].vectorCount, 150u);
  EXPECT_EQ(f.ui.MessageTexts(),
            (std::vector<std::string>{"Some of the polygons in this file were dropped because:\n"
                                      "   - Polygons exceeded the maximum number of points\n"}));
  EXPECT_EQ(f.ui.Messages()[0].caption, "Notification");
  ExpectConsistent(f.tables());
}

SceneFromLists RepeatedTriangle(int count) {
  SceneFromLists s;
  s.points = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  for (int i = 0; i < count; ++i) s.faces.insert(s.faces.end(), {0, 1, 2, -1});
  return s;
}

TEST(ImportConversion, TheNineThousandNineHundredNinetyNinthPolygonRule) {
  {
    SceneImport f;
    f.Use(SceneFormat::kRaw, RepeatedTriangle(9999));
    ASSERT_TRUE(f.Import(f.dir.File("a.raw")));
    EXPECT_EQ(f.tables().polygonCount, 9999u);  // no face follows: it stays
    EXPECT_TRUE(f.ui.Messages().empty());
  }
  {
    SceneImport f;
    f.Use(SceneFormat::kRaw, RepeatedTriangle(10000));
    ASSERT_TRUE(f.Import(f.dir.File("a.raw")));
    EXPECT_EQ(f.tables().polygonCount, 9998u);
    EXPECT_EQ(f.ui.MessageTexts(),
              (std::vector<std::string>{"Some of the polygons in this file were dropped because:\n"
                                        "   - Object exceeded the maximum polygon count\n"}));
    // The dialog is hidden for the report.
    EXPECT_NE(std::find(f.progress.events.begin(), f.progress.events.end(), "hide"),
              f.progress.events.end());
  }
  {
    // Collection stops after 10,000 faces: the rest never arrives.
    SceneImport f;
    f.Use(SceneFormat::kRaw, RepeatedTriangle(12000));
    ASSERT_TRUE(f.Import(f.dir.File("a.raw")));
    EXPECT_EQ(f.tables().polygonCount, 9998u);
    EXPECT_EQ(f.observer.helpLines.back(), "Loading Polygon 10000");
  }
}

TEST(ImportConversion, MergingIntoAFullObjectKeepsItsPolygons) {
  SceneImport f;
  f.Use(SceneFormat::kRaw, RepeatedTriangle(9999));
  ASSERT_TRUE(f.Import(f.dir.File("a.raw")));
  ASSERT_EQ(f.tables().polygonCount, 9999u);
  f.ui.ClearMessages();
  ASSERT_TRUE(f.Import(f.dir.File("a.raw")));
  EXPECT_EQ(f.tables().polygonCount, 9999u);  // not cut back to 9,998
  EXPECT_EQ(f.ui.MessageTexts(),
            (std::vector<std::string>{"Some of the polygons in this file were dropped because:\n"
                                      "   - Object exceeded the maximum polygon count\n"}));
  ExpectConsistent(f.tables());
}

TEST(ImportConversion, PointLimitDropsFacesAndNoVectorLosesItsPoint) {
  SceneImport f;
  SceneFromLists s;
  for (int i = 0; i < 7000; ++i) {
    const double x = i;
    s.points.insert(s.points.end(), {{x, 0, 0}, {x, 1, 0}, {x, 0, 1}});
    s.faces.insert(s.faces.end(), {3 * i, 3 * i + 1, 3 * i + 2, -1});
  }
  f.Use(SceneFormat::kRaw, std::move(s));
  ASSERT_TRUE(f.Import(f.dir.File("a.raw")));
  const ObjectTables& t = f.tables();
  EXPECT_EQ(t.pointCount, kImportMaxPoints);
  // 19,992 points make 6,664 whole triangles.
  EXPECT_EQ(t.polygonCount, 6664u);
  EXPECT_EQ(f.userVectors(), 6664u * 3);
  EXPECT_EQ(f.ui.MessageTexts(),
            (std::vector<std::string>{"Some of the polygons in this file were dropped because:\n"
                                      "   - Object exceeded the maximum number of points\n"}));
  ExpectConsistent(t);
}

TEST(ImportConversion, VectorLimitDropsTheFacesWhoseEdgesFoundNoRoom) {
  SceneImport f;
  SceneFromLists s;
  constexpr int kPoints = 307;  // prime: every step visits distinct pairs
  for (int i = 0; i < kPoints; ++i) s.points.push_back({std::cos(i * 0.1), std::sin(i * 0.1), i * 0.01});
  for (int m = 1; m <= 150; ++m) {
    for (int k = 0; k < 150; ++k) s.faces.push_back((k * m) % kPoints);
    s.faces.push_back(-1);
  }
  f.Use(SceneFormat::kRaw, std::move(s));
  ASSERT_TRUE(f.Import(f.dir.File("a.raw")));
  const ObjectTables& t = f.tables();
  EXPECT_EQ(t.vectorCount, kImportMaxVectors);
  EXPECT_GT(t.polygonCount, 100u);
  EXPECT_LT(t.polygonCount, 150u);
  EXPECT_EQ(f.ui.MessageTexts(),
            (std::vector<std::string>{"Some of the polygons in this file were dropped because:\n"
                                      "   - Object exceeded the maximum number of vectors\n"}));
  ExpectConsistent(t);
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
  EXPECT_EQ(FaceColorIndex(table, bright), 5);
  MaterialValue nearly = MaterialFromColor({0.999, 0.999, 0.999});  // 254.7 -> 254
  EXPECT_EQ(FaceColorIndex(table, nearly), 6);
  EXPECT_EQ(FaceColorIndex(table, MaterialValue{}), 7);  // 0.8 x 0.2 + 0.8 = 0.96
  MaterialValue negative = MaterialFromColor({-3, -1, NAN});
  EXPECT_EQ(FaceColorIndex(table, negative), 0);
}

TEST(ImportColors, FacesTakeTheirOwnMaterialInEveryGroup) {
  SceneImport f;
  SceneFromLists s = RepeatedTriangle(3);
  s.faces.insert(s.faces.begin(), {0, 1, -1});  // dropped: the others keep their colours
  s.materials = {MaterialFromColor({0, 0, 0}), MaterialFromColor({1, 0, 0}),
                 MaterialFromColor({0, 1, 0}), MaterialFromColor({0, 0, 1})};
  f.Use(SceneFormat::kRaw, std::move(s));
  ASSERT_TRUE(f.Import(f.dir.File("a.raw")));
  const ObjectTables& t = f.tables();
  ASSERT_EQ(t.polygonCount, 3u);
  const ColorTable colors = test::SampleColorTable();
  EXPECT_EQ(t.polygons[0].frontColor, NearestColor(colors, 0xFFFF, 0, 0));
  EXPECT_EQ(t.polygons[1].frontColor, NearestColor(colors, 0, 0xFFFF, 0));
  EXPECT_EQ(t.polygons[2].frontColor, NearestColor(colors, 0, 0, 0xFFFF));
  for (std::uint32_t k = 0; k < 3; ++k) {
    EXPECT_EQ(t.polygons[k].backColor, t.polygons[k].frontColor);
    EXPECT_EQ(t.polygons[k].frontFill, t.polygons[k].frontColor * 0x01010101u);
    EXPECT_EQ(t.polygons[k].backFill, t.polygons[k].frontFill);
  }
}

TEST(ImportPipeline, TitlesProgressAndHelpLines) {
  SceneImport f;
  f.Use(SceneFormat::kRaw, RepeatedTriangle(120));
  ASSERT_TRUE(f.Import(f.dir.File("a.raw")));
  EXPECT_EQ(f.progress.titles, (std::vector<std::string>{"Scanning VRML File...", "Loading Polygons...",
                                                         "Importing Objects..."}));
  EXPECT_EQ(f.progress.events, (std::vector<std::string>{"open", "close"}));
  EXPECT_EQ(f.observer.helpLines, (std::vector<std::string>{"Loading Polygon 50", "Loading Polygon 100"}));
  EXPECT_FALSE(f.progress.positions.empty());
  for (int p : f.progress.positions) {
    EXPECT_GE(p, 0);
    EXPECT_LE(p, 100);
  }
  EXPECT_FALSE(f.ui.busy());
}

TEST(ImportPipeline, EscapeStopsCollectingAndConvertsWhatCame) {
  SceneImport f;
  f.Use(SceneFormat::kRaw, RepeatedTriangle(100));
  int polls = 0;
  f.services.escapePressed = [&] { return ++polls > 30; };
  ASSERT_TRUE(f.Import(f.dir.File("a.raw")));
  EXPECT_EQ(f.tables().polygonCount, 30u);
  EXPECT_EQ(polls, 31);  // asked once per face, and never after it said yes
  EXPECT_EQ(f.observer.helpLines.back(), "*** Aborting ***");
}

TEST(ImportPipeline, FlipReversesOnlyTheNewPolygons) {
  SceneImport f;
  f.Use(SceneFormat::k3ds, RepeatedTriangle(2));
  f.Use(SceneFormat::kRaw, RepeatedTriangle(1));
  ASSERT_TRUE(f.Import(f.dir.File("first.raw")));
  const Polygon before = f.tables().polygons[0];
  ASSERT_TRUE(f.Import(f.dir.File("model.3ds"), true));
  const ObjectTables& t = f.tables();
  ASSERT_EQ(t.polygonCount, 3u);
  EXPECT_EQ(std::vector<std::uint32_t>(t.polygons[0].points, t.polygons[0].points + 3),
            std::vector<std::uint32_t>(before.points, before.points + 3));
  for (std::uint32_t k = 1; k < 3; ++k) {
    const Polygon& p = t.polygons[k];
    // Collected as 0, 1, 2 after the first import's three points.
    EXPECT_EQ(p.points[0], kReservedPoints + 5);
    EXPECT_EQ(p.points[1], kReservedPoints + 4);
    EXPECT_EQ(p.points[2], kReservedPoints + 3);
    // The vectors are left as they were.
    EXPECT_EQ(p.vectors[0], kReservedVectors + 3);
  }
}

TEST(ImportPipeline, RefusalsChangeNothing) {
  SceneImport f;
  auto unchanged = [&] {
    EXPECT_EQ(f.tables().pointCount, kReservedPoints);
    EXPECT_EQ(f.tables().vectorCount, kReservedVectors);
    EXPECT_EQ(f.tables().polygonCount, 0u);
    EXPECT_FALSE(f.ui.busy());
  };
  // An ending no reader claims.
  EXPECT_FALSE(f.Import(f.dir.File("model.txt")));
  EXPECT_EQ(f.ui.MessageTexts().back(), "Could not import \"" + f.dir.File("model.txt") + "\"");
  unchanged();
  // A format whose reader does not exist yet.
  EXPECT_FALSE(f.Import(f.dir.File("MODEL.WRL")));
  EXPECT_EQ(f.ui.MessageTexts().back(),
            "Wirestead can't read this kind of file yet: \"" + f.dir.File("MODEL.WRL") + "\"");
  unchanged();
  // A reader that fails.
  f.services.readers.Set(SceneFormat::kDxf, [](Importer&, const std::string&) { return false; });
  EXPECT_FALSE(f.Import(f.dir.File("plan.dxf")));
  EXPECT_EQ(f.ui.MessageTexts().back(), "Could not import \"" + f.dir.File("plan.dxf") + "\"");
  unchanged();
  // A file with nothing to import.
  const std::string empty = f.Write("empty.obj", "");
  EXPECT_FALSE(f.Import(empty));
  EXPECT_EQ(f.ui.MessageTexts().back(), "There is nothing Wirestead can import in \"" + empty + "\"\nIt holds no faces.");
  unchanged();
  // Each refusal closed its dialog.
  EXPECT_EQ(std::count(f.progress.events.begin(), f.progress.events.end(), "open"),
            std::count(f.progress.events.begin(), f.progress.events.end(), "close"));
}

TEST(ImportPipeline, MissingColourTableStopsBeforeReading) {
  SceneImport f;
  bool read = false;
  f.services.readers.Set(SceneFormat::kRaw, [&](Importer&, const std::string&) {
    read = true;
    return true;
  });
  f.m().resources.CreateResFile(f.m().paths.preferences);  // a Preferences file without 'clut'
  EXPECT_FALSE(f.Import(f.dir.File("a.raw")));
  EXPECT_FALSE(read);
  EXPECT_EQ(f.ui.MessageTexts(), (std::vector<std::string>{"Can't find clut in preferences file."}));
  EXPECT_TRUE(f.progress.events.empty());
}

TEST(ImportPipeline, ReaderLinesReachTheLog) {
  ImportFixture f;
  const std::string path = f.Write("bad.obj", "v 1 2\n");
  EXPECT_FALSE(f.Import(path));
  EXPECT_EQ(f.Log(), "Reading 0.0% Complete\nSyntax error file '" + path + "', line 1\n");
}

}  // namespace
}  // namespace ws
