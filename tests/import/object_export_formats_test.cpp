// The OBJ export line by line, and Save Object As choosing among the export
// formats by extension.
#include <gtest/gtest.h>

#include "import/object_exporters.h"
#include "import/obj_export.h"
#include "model/object_text.h"
#include "import_test_support.h"

namespace ws {
namespace {

using test::ModelFixture;

void SmallObject(ModelFixture& f) {
  ColorTable table;
  table.Set(3, {0xFFFF, 0x8000, 0});
  table.Set(9, {0x1234, 0, 0xFFFF});
  ASSERT_TRUE(WriteClutToFile(f.m().resources, f.m().paths.preferences, kCurrentClutId, table));
  ObjectTables& t = f.tables();
  t.name = "small one";
  const std::uint32_t a = t.AddPoint(0, 0, 0), b = t.AddPoint(100, 0, 0), c = t.AddPoint(100, 100, 0),
                      d = t.AddPoint(0, 100, -50);
  t.AddPoint(7, 7, 7);  // used by no polygon, still a vertex
  // Corners from the last to the first: OBJ fronts are counter-clockwise.
  // One face, not triangulated, front only; then the same material: no
  // second usemtl; then two points: no face.
  test::AddPolygon(t, {a, b, c, d}, PolyFlag::kEachSideDifferent, 3, 9);
  test::AddPolygon(t, {a, c, b}, PolyFlag::kInvisible, 3, 9);
  test::AddPolygon(t, {a, b}, 0, 9, 9);
  test::AddPolygon(t, {a, b, d}, 0, 9, 9);
}

TEST(ObjExport, SmallObjectIsWrittenLineForLine) {
  ModelFixture f;
  SmallObject(f);
  const std::string path = f.dir.File("small.obj");
  ASSERT_TRUE(ExportObjectAsObj(f.m(), path, false));
  EXPECT_EQ(test::ReadFileText(path),
            "# Wirestead object\n"
            "mtllib small.mtl\n"
            "o small one\n"
            "v 0.000000 0.000000 0.000000\n"
            "v 1.000000 0.000000 0.000000\n"
            "v 1.000000 1.000000 0.000000\n"
            "v 0.000000 1.000000 -0.500000\n"
            "v 0.070000 0.070000 0.070000\n"
            "usemtl color_3\n"
            "f 4 3 2 1\n"
            "f 2 3 1\n"
            "usemtl color_9\n"
            "f 4 2 1\n");
  EXPECT_EQ(test::ReadFileText(f.dir.File("small.mtl")),
            "# Wirestead palette entries\n"
            "newmtl color_3\n"
            "Kd 1.000000 0.500008 0.000000\n"
            "newmtl color_9\n"
            "Kd 0.071107 0.000000 1.000000\n");
  // Walk mode keeps its quarter scale.
  ASSERT_TRUE(ExportObjectAsObj(f.m(), path, true));
  EXPECT_NE(test::ReadFileText(path).find("\nv 0.250000 0.000000 0.000000\n"), std::string::npos);
}

TEST(SaveObjectAs, OffersEveryFormatAndNamesTheOneItCannotWrite) {
  ModelFixture f;
  SmallObject(f);
  const ObjectExporters exporters = StandardObjectExporters(false);
  f.ui.QueueSavePath(std::nullopt);
  SaveObjectAs(f.m(), exporters);
  ASSERT_EQ(f.ui.SaveDialogs().size(), 1u);
  std::string filters;
  for (const FileFilter& x : f.ui.SaveDialogs()[0].filters) filters += x.description + "|" + x.patterns + "\n";
  EXPECT_EQ(filters,
            "Wirestead Object (wdo)|*.wdo\nDirectX (x)|*.x\nglTF 2.0 (gltf)|*.gltf\n"
            "glTF 2.0 binary (glb)|*.glb\nWavefront OBJ (obj)|*.obj\n");

  const std::string missing = f.dir.File("no such dir/e.glb");
  SaveObjectAsPath(f.m(), missing, exporters);
  SaveObjectAsPath(f.m(), f.dir.File("f.gltf2"), exporters);
  SaveObjectAsPath(f.m(), f.dir.File("g.OBJ"), exporters);  // either case, no message
  EXPECT_EQ(test::ReadFileText(f.dir.File("g.OBJ")).rfind("# Wirestead object\n", 0), 0u);
  EXPECT_EQ(f.ui.MessageTexts(), (std::vector<std::string>{"Could Not Export \"" + missing + "\"",
                                                          "Unknown Format Extension \".gltf2\".  Save Aborted"}));
}

}  // namespace
}  // namespace ws
