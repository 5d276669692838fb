#include <gtest/gtest.h>

#include "import_test_support.h"

namespace ws {
namespace {

using test::RunReader;

constexpr char kSense8[] =
    "nff\nversion 2.1\nviewpos 0 0 10\nviewdir 0 0 -1\n// a comment line\n"
    "Square   \n4\n0 0 0 norm 0 0 1\n1 0 0\n1 1 0 // trailing comment\n0 1 0\n"
    "3\n4 0 1 2 3 0xf00 both\n3 0 1 2 0x00ff8000 _v_texture id = 7\n3 2 3 0\n\n"
    "Other\n3\n0 0 1\n1 0 1\n0 1 1\n1\n3 0 1 2 0x0F0\n";

TEST(NffSense8, ObjectsPolygonsColoursAndBothSides) {
  auto r = RunReader(ImportNff, "box.nff", kSense8);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.Errors(),
            (std::vector<std::string>{"Texture names in file '" + r.path + "' are ignored"}));
  ASSERT_EQ(r.faces.size(), 4u);
  EXPECT_EQ(r.faces[0].corners, (std::vector<Vec3>{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}));
  // 12-bit 0xf00 is red, two-sided; 24-bit 0x00ff8000 orange; no colour:
  // the default material; 0x0F0 green.
  MaterialValue red = MaterialFromColor({1, 0, 0});
  red.twoSided = true;
  const MaterialValue expected[] = {red, MaterialFromColor({1, 128 / 255.0, 0}), MaterialValue{},
                                    MaterialFromColor({0, 1, 0})};
  for (int i : {0, 1, 2, 3}) EXPECT_TRUE(EqualMaterials(r.faces[i].material, expected[i])) << i;
  auto sets = r.Children<scene::IndexedFaceSet>();
  ASSERT_EQ(sets.size(), 2u);
  EXPECT_EQ(std::tuple(sets[0]->name, sets[1]->name), std::tuple("Square", "Other"));
}

constexpr char kVersion3[] =
    "nff // WorldToolKit\nversion 3.0 // with materials\nmtable wood.mat // beside the model\n"
    "Crate\n3 // vertices\n0 0 0 uv 0 0 // corner\n1 0 0 uv 1 0\n0 1 0 uv 0 1\n"
    "3\n3 0 1 2 matid 2 // from the table\n3 0 2 1 0x00f matid 9 _v_oak\n3 1 2 0 _rug\n";

TEST(NffSense8, Version3MaterialTablesUvAndTextures) {
  for (bool withTable : {true, false}) {
    test::TempDir dir;
    if (withTable) {
      test::WriteFileText(
          dir.File("wood.mat"),
          "// id, then colours\n1\nambientdiffuse 1 1 1\n2 dark\nambientdiffuse 0.5 0.25 0\n");
    }
    auto r = RunReader(ImportNff, "box.nff", kVersion3, &dir);
    ASSERT_TRUE(r.ok) << withTable;
    ASSERT_EQ(r.faces.size(), 3u) << withTable;
    EXPECT_EQ(r.faces[0].corners[1], (Vec3{1, 0, 0}));
    EXPECT_EQ(r.faces[0].material.diffuse,
              (withTable ? Vec3{0.5, 0.25, 0} : MaterialValue{}.diffuse))
        << withTable;
    EXPECT_EQ(r.faces[1].material.diffuse, (Vec3{0, 0, 1})) << withTable;  // matid 9: none
    EXPECT_TRUE(EqualMaterials(r.faces[2].material, MaterialValue{}));
    const std::string table =
        withTable ? "Material table 'wood.mat' lacks a matid that file '" + r.path +
                        "' uses; those polygons take their own colour or the default"
                  : "Material table 'wood.mat' of file '" + r.path +
                        "' cannot be read; its polygons take their own colour or the default";
    EXPECT_EQ(r.Errors(), (std::vector<std::string>{
                              table, "Texture names in file '" + r.path + "' are ignored"}));
  }
}

TEST(NffHaines, PolygonsPatchesTheFillColourAndShapeNodes) {
  auto r = RunReader(ImportNff, "h.nff",
                     "# a comment\nv\nfrom 0 0 10\nat 0 0 0\nup 0 1 0\nangle 45\nhither 1\n"
                     "resolution 64 64\nb 0.1 0.2 0.3\nl 1 2 3\np 3\n0 0 0\n1 0 0\n0 1 0\n"
                     "f 0 0 1 0.5 0.3 64 0.25 1.5\npp 3\n0 0 1 0 0 1\n1 0 1 0 0 1\n0 1 1 0 0 1\n"
                     "s 1 2 3 0.5 extra words\n"
                     "c\n0 0 0 1\n0 4 0 0\n"     // a cone standing on the origin
                     "c\n0 0 0 2\n0 0 -6 2\n");  // a cylinder lying along -z
  ASSERT_TRUE(r.ok);
  ASSERT_EQ(r.faces.size(), 2u + 256 + 16 + 16);
  EXPECT_TRUE(EqualMaterials(r.faces[0].material, MaterialValue{}));
  MaterialValue fill = MaterialFromColor({0, 0, 1});
  fill.specular = {0.3, 0.3, 0.3};
  fill.shininess = 0.5;
  fill.transparency = 0.25;
  EXPECT_TRUE(EqualMaterials(r.faces[1].material, fill));
  EXPECT_EQ(r.faces[1].corners[2], (Vec3{0, 1, 1}));
  auto shapes = r.Children<scene::Separator>();
  ASSERT_EQ(shapes.size(), 4u);  // the polygons' Separator comes first
  EXPECT_EQ(shapes[0]->name, "polygons");
  EXPECT_EQ(dynamic_cast<scene::Sphere&>(*shapes[1]->children.back()).radius, 0.5);
  EXPECT_EQ(dynamic_cast<scene::Cone&>(*shapes[2]->children.back()).parts, scene::Parts::kSides);
  EXPECT_EQ(dynamic_cast<scene::Cylinder&>(*shapes[3]->children.back()).height, 6);
}

}  // namespace
}  // namespace ws
