// The DirectX export: what the object becomes in the builder and the text
// the file holds.
#include "import/x_export.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "import/xfile/xfile.h"
#include "import_test_support.h"

namespace ws {
namespace {

using test::AddPolygon;
using test::ModelFixture;

// Entry 1 red only through its low byte, 2 green 0.2, 3 grey 0.8.
void WriteTable(Model& m) {
  ColorTable t;
  t.Set(1, {0x10FF, 0, 0});
  t.Set(2, {0, 0x0033, 0});
  t.Set(3, {0xCC, 0xCC, 0xCC});
  WriteClutToFile(m.resources, m.paths.preferences, kCurrentClutId, t);
}

// The values of the object's Mesh, read back from the written file.
std::vector<double> MeshValues(const std::string& path, std::vector<double>* matlist = nullptr,
                               std::vector<std::vector<double>>* materials = nullptr) {
  auto bytes = test::ReadFileBytes(path);
  auto read = xfile::Read(bytes, xfile::StandardTemplates());
  EXPECT_TRUE(read.file) << read.error;
  if (!read.file) return {};
  const xfile::Object& mesh = read.file->objects.at(0);
  std::vector<double> out;
  for (const auto& v : mesh.values) out.push_back(v.number);
  const xfile::Object& list = mesh.children.at(0);
  if (matlist) {
    for (const auto& v : list.values) matlist->push_back(v.number);
  }
  if (materials) {
    for (const auto& m : list.children) {
      materials->emplace_back();
      for (const auto& v : m.values) materials->back().push_back(v.number);
    }
  }
  return out;
}

TEST(XExport, SmallObjectsPointsFacesAndMaterials) {
  ModelFixture f;
  WriteTable(f.m());
  ObjectTables& t = f.tables();
  const std::uint32_t a = t.AddPoint(0, 0, 0), b = t.AddPoint(1, 0, 0), c = t.AddPoint(0, 1, 0),
                      d = t.AddPoint(0, 0, 2);
  AddPolygon(t, {a, b, c}, PolyFlag::kEachSideDifferent, 1, 2);  // front C B A, back A B C in 2
  AddPolygon(t, {a, c, d}, PolyFlag::kNeverDrawBackFace, 3, 2);   // front D C A only
  AddPolygon(t, {b, c, d}, PolyFlag::kInvisible, 2, 2);           // skipped
  AddPolygon(t, {a, b, d}, 0, 1, 2);  // front D B A, back A B D, both in 1
  const std::string path = f.dir.File("small.x");
  ASSERT_TRUE(ExportObjectAsX(f.m(), path, false));
  // Points by first use: C 0, B 1, A 2, D 3. Materials: 1, 2, 3. The text's
  // layout is the writer's, checked line by line in xfile_test.cpp.
  const std::string text = test::ReadFileText(path);
  EXPECT_TRUE(text.starts_with("xof 0303txt 0032\nMesh wdo_object {\n") &&
              text.find("\n MeshMaterialList wdo_matlist {\n") != std::string::npos)
      << text;
  std::vector<double> matlist;
  std::vector<std::vector<double>> materials;
  EXPECT_EQ(MeshValues(path, &matlist, &materials),
            (std::vector<double>{4, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 2, 5, 3, 0, 1, 2, 3, 2, 1,
                                 0, 3, 3, 0, 2, 3, 3, 1, 2, 3, 2, 1, 3}));
  EXPECT_EQ(matlist, (std::vector<double>{3, 5, 0, 1, 2, 0, 0}));
  EXPECT_EQ(materials, (std::vector<std::vector<double>>{{1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0},
                                                         {0, 0.2, 0, 1, 0, 0, 0, 0, 0, 0, 0},
                                                         {0.8, 0.8, 0.8, 1, 0, 0, 0, 0, 0, 0, 0}}));
  const MaterialValue grey = ExportMaterial(ColorTable{}, 0);
  EXPECT_EQ(std::tuple(grey.diffuse, grey.ambient, grey.shininess),
            std::tuple(Vec3{}, Vec3{}, 0.2));
}

TEST(XExport, WalkModeQuartersWeldsAndEmptyObjects) {
  ModelFixture f;
  WriteTable(f.m());
  ObjectTables& t = f.tables();
  const std::uint32_t a = t.AddPoint(0, 0, 0), b = t.AddPoint(8, 0, 0), c = t.AddPoint(0, 4, 0),
                      near = t.AddPoint(4e-6, 0, 0);
  AddPolygon(t, {a, b, c}, PolyFlag::kNeverDrawBackFace, 3, 3);
  AddPolygon(t, {near, c, b}, PolyFlag::kNeverDrawBackFace, 3, 3);  // same colour, A welded
  const std::string path = f.dir.File("walk.X");
  ASSERT_TRUE(ExportObjectAsX(f.m(), path, true));
  std::vector<double> matlist;
  EXPECT_EQ(MeshValues(path, &matlist),
            (std::vector<double>{3, 0, 1, 0, 2, 0, 0, 0, 0, 0, 2, 3, 0, 1, 2, 3, 1, 0, 2}));
  EXPECT_EQ(matlist, (std::vector<double>{1, 2, 0, 0}));

  t.polygons[0].flags = t.polygons[1].flags = PolyFlag::kInvisible;
  ASSERT_TRUE(ExportObjectAsX(f.m(), path, false));
  matlist.clear();
  EXPECT_EQ(MeshValues(path, &matlist), (std::vector<double>{0, 0}));
  EXPECT_EQ(matlist, (std::vector<double>{0, 0}));
}

TEST(XExport, FaceColourIsTheFirstColourThatIsNotBlack) {
  const Vec3 black{}, tiny{1e-5, 0, 0}, below{9e-6, 0, 0}, red{1, 0, 0}, blue{0, 0, 0.5};
  struct Row {
    const char* name;
    Vec3 emissive, diffuse, ambient, face;
  } rows[] = {
      {"emissive first", red, blue, blue, red},
      {"emissive exactly at the tolerance", tiny, blue, blue, tiny},
      {"emissive below the tolerance", below, blue, red, blue},
      {"then ambient", black, black, red, red},
      {"all black", black, below, black, {0.2, 0.2, 0.2}},
  };
  test::TempDir dir;
  for (const Row& r : rows) {
    MeshBuilder builder;
    MaterialValue m;
    m.emissive = r.emissive, m.diffuse = r.diffuse, m.ambient = r.ambient;
    builder.BeginFace(&m);
    builder.AddVertex(0, 0, 0);
    builder.EndFace();
    ASSERT_TRUE(ExportXFile(dir.File("m.x"), builder)) << r.name;
    std::vector<std::vector<double>> materials;
    MeshValues(dir.File("m.x"), nullptr, &materials);
    // The text keeps six decimals.
    auto six = [](double v) { return std::round(v * 1e6) / 1e6; };
    const std::vector<double> want = {
        six(r.face.x), six(r.face.y), six(r.face.z), 1, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(materials, std::vector<std::vector<double>>{want}) << r.name;
  }
}

TEST(XExport, RefusedPathsAndBadCoordinatesWriteNothing) {
  test::TempDir dir;
  MeshBuilder builder;
  builder.BeginFace(nullptr);
  builder.AddVertex(1, 2, 3);
  builder.EndFace();
  for (const char* name : {"a.xx", "ax", "a.x.wdo", "a.", "x"}) {
    EXPECT_FALSE(ExportXFile(dir.File(name), builder)) << name;
    EXPECT_FALSE(test::FileExists(dir.File(name))) << name;
  }
  MeshBuilder bad;
  bad.BeginFace(nullptr);
  bad.AddVertex(std::numeric_limits<double>::infinity(), 0, 0);
  bad.EndFace();
  test::WriteFileText(dir.File("old.x"), "kept");
  EXPECT_FALSE(ExportXFile(dir.File("old.x"), bad));
  EXPECT_EQ(test::ReadFileText(dir.File("old.x")), "kept");
}

}  // namespace
}  // namespace ws
