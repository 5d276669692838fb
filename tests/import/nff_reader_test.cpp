#include <gtest/gtest.h>

#include <cmath>

#include "reader_test_support.h"

namespace ws {
namespace {

using test::ErrorLines;
using test::RunReader;

constexpr char kSense8Box[] =
    "nff\n"
    "version 2.1\n"
    "viewpos 0 0 10\n"
    "viewdir 0 0 -1\n"
    "// a comment line\n"
    "Square   \n"
    "4\n"
    "0 0 0 norm 0 0 1\n"
    "1 0 0\n"
    "1 1 0 // trailing comment\n"
    "0 1 0\n"
    "3\n"
    "4 0 1 2 3 0xf00 both\n"
    "3 0 1 2 0x00ff8000 _v_texture id = 7\n"
    "3 2 3 0\n"
    "\n"
    "Other\n"
    "3\n"
    "0 0 1\n1 0 1\n0 1 1\n"
    "1\n"
    "3 0 1 2 0x0F0\n";

TEST(NffSense8, ObjectsPolygonsColoursAndBothSides) {
  auto r = RunReader(ImportNff, "box.nff", kSense8Box);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(ErrorLines(r), (std::vector<std::string>{"Texture names in file '" + r.path + "' are ignored"}));
  // The two-sided square comes once, with a two-sided material.
  ASSERT_EQ(r.faces.size(), 4u);
  EXPECT_EQ(r.faces[0].corners,
            (std::vector<Vec3>{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}));
  EXPECT_TRUE(r.faces[0].material.twoSided);
  EXPECT_FALSE(r.faces[1].material.twoSided);
  // 12-bit 0xf00 is red; 24-bit 0x00ff8000 is orange; no colour: the
  // default material; 0x0F0 green. Ambient black: the colour stays exact.
  EXPECT_EQ(r.faces[0].material.diffuse, (Vec3{1, 0, 0}));
  EXPECT_EQ(r.faces[0].material.ambient, (Vec3{0, 0, 0}));
  EXPECT_EQ(r.faces[1].material.diffuse, (Vec3{1, 128 / 255.0, 0}));
  EXPECT_TRUE(EqualMaterials(r.faces[2].material, MaterialValue{}));
  EXPECT_EQ(r.faces[3].material.diffuse, (Vec3{0, 1, 0}));
  // One face set per object, named after it.
  auto sets = r.Children<scene::IndexedFaceSet>();
  ASSERT_EQ(sets.size(), 2u);
  EXPECT_EQ(sets[0]->name, "Square");
  EXPECT_EQ(sets[1]->name, "Other");
}

TEST(NffSense8, MistakesAreSyntaxErrors) {
  struct Case {
    const char* text;
    int line;
  };
  const Case cases[] = {
      {"nff\nA\n3\n0 0 0\n1 0 0\n0 1 0\n1\n3 0 1 3\n", 8},     // vertex 3 of 3
      {"nff\nA\n3\n0 0 0\n1 0 0\n0 1 0\n1\n3 0 1\n", 8},       // too few indices
      {"nff\nA\n3\n0 0 0\n1 0 0\n0 1 0\n1\n3 0 1 0xf00\n", 8},  // the colour is no index
      {"nff\nA\n3.5\n", 3},                                  // no whole count
      {"nff\nA\n3\n0 0 0\n1 0\n", 5},                          // too few numbers
      {"nff\nA\n3\n0 0 0\n1 0 0\n", 5},                        // file ends early
      {"nff\nA\nmany\n", 3},                                   // no count
      {"nff\nA\n-1\n", 3},                                     // negative count
      {"nff\nA\n9999999\n", 3},                                // beyond any model
      {"nff\nversion 2.0\nA\n1\n0 0 nan\n", 5},
  };
  for (const Case& c : cases) {
    auto r = RunReader(ImportNff, "a.nff", c.text);
    EXPECT_FALSE(r.ok) << c.text;
    EXPECT_EQ(ErrorLines(r), (std::vector<std::string>{"Syntax error file '" + r.path + "', line " +
                                                       std::to_string(c.line)}))
        << c.text;
  }
}

TEST(NffSense8, TitleAndEmptyObjectList) {
  auto r = RunReader(ImportNff, "a.nff", "nff\nversion 2.0\n");
  EXPECT_TRUE(r.ok);
  EXPECT_TRUE(r.faces.empty());
}

TEST(NffHaines, PolygonsPatchesAndTheFillColour) {
  auto r = RunReader(ImportNff, "h.nff",
                     "# a comment\n"
                     "v\nfrom 0 0 10\nat 0 0 0\nup 0 1 0\nangle 45\nhither 1\nresolution 64 64\n"
                     "b 0.1 0.2 0.3\n"
                     "l 1 2 3\n"
                     "p 3\n0 0 0\n1 0 0\n0 1 0\n"
                     "f 0 0 1 0.5 0.3 64 0.25 1.5\n"
                     "pp 3\n0 0 1 0 0 1\n1 0 1 0 0 1\n0 1 1 0 0 1\n");
  ASSERT_TRUE(r.ok);
  ASSERT_EQ(r.faces.size(), 2u);
  EXPECT_TRUE(EqualMaterials(r.faces[0].material, MaterialValue{}));
  EXPECT_EQ(r.faces[1].material.diffuse, (Vec3{0, 0, 1}));
  EXPECT_EQ(r.faces[1].material.ambient, (Vec3{0, 0, 0}));
  EXPECT_EQ(r.faces[1].material.specular, (Vec3{0.3, 0.3, 0.3}));
  EXPECT_EQ(r.faces[1].material.shininess, 0.5);
  EXPECT_EQ(r.faces[1].material.transparency, 0.25);
  EXPECT_EQ(r.faces[1].corners[2], (Vec3{0, 1, 1}));
}

TEST(NffHaines, SpheresConesAndCylindersBecomeShapeNodes) {
  auto r = RunReader(ImportNff, "h.nff",
                     "f 1 0 0\n"
                     "s 1 2 3 0.5 extra words\n"
                     "c\n0 0 0 1\n0 4 0 0\n"     // a cone standing on the origin
                     "c\n0 0 0 2\n0 0 -6 2\n");  // a cylinder lying along -z
  ASSERT_TRUE(r.ok);
  auto shapes = r.Children<scene::Separator>();
  ASSERT_EQ(shapes.size(), 4u);  // the polygons' Separator comes first
  EXPECT_EQ(shapes[0]->name, "polygons");
  auto* sphere = dynamic_cast<scene::Sphere*>(shapes[1]->children.back().get());
  ASSERT_NE(sphere, nullptr);
  EXPECT_EQ(sphere->radius, 0.5);
  auto* cone = dynamic_cast<scene::Cone*>(shapes[2]->children.back().get());
  ASSERT_NE(cone, nullptr);
  EXPECT_EQ(cone->parts, scene::Parts::kSides);
  auto* cylinder = dynamic_cast<scene::Cylinder*>(shapes[3]->children.back().get());
  ASSERT_NE(cylinder, nullptr);
  EXPECT_EQ(cylinder->radius, 2);
  EXPECT_EQ(cylinder->height, 6);

  ASSERT_EQ(r.faces.size(), 256u + 16 + 16);
  for (std::size_t i = 0; i < 256; ++i) {
    const Vec3& c = r.faces[i].corners[0];
    EXPECT_NEAR(std::hypot(c.x - 1, c.y - 2, c.z - 3), 0.5, 1e-12);
    EXPECT_EQ(r.faces[i].material.diffuse, (Vec3{1, 0, 0}));
  }
  // The cone's sides run from the base circle (y = 0) to the apex (0, 4, 0).
  for (std::size_t i = 256; i < 272; ++i) {
    ASSERT_EQ(r.faces[i].corners.size(), 3u);
    EXPECT_NEAR(r.faces[i].corners[0].y, 4, 1e-12);
    EXPECT_NEAR(r.faces[i].corners[1].y, 0, 1e-12);
  }
  // The cylinder's quadrilaterals lie between z = 0 and z = -6, radius 2.
  for (std::size_t i = 272; i < 288; ++i) {
    for (const Vec3& c : r.faces[i].corners) {
      EXPECT_NEAR(std::hypot(c.x, c.y), 2, 1e-12);
      EXPECT_TRUE(std::fabs(c.z) < 1e-12 || std::fabs(c.z + 6) < 1e-12);
    }
  }
}

TEST(NffHaines, MistakesAreSyntaxErrors) {
  struct Case {
    const char* text;
    int line;
  };
  const Case cases[] = {
      {"p 3\n0 0 0\n1 0 0\n", 3},       // the polygon runs out
      {"p 3\n0 0 0\n1 0\n0 1 0\n", 3},  // a short vertex
      {"p x\n", 1},
      {"p -2\n", 1},
      {"p 3.5\n", 1},
      {"s 1 2 3\n", 1},
      {"c\n0 0 0 1\n", 2},
      {"f 1 0\n", 1},
  };
  for (const Case& c : cases) {
    auto r = RunReader(ImportNff, "a.nff", c.text);
    EXPECT_FALSE(r.ok) << c.text;
    EXPECT_EQ(ErrorLines(r), (std::vector<std::string>{"Syntax error file '" + r.path + "', line " +
                                                       std::to_string(c.line)}))
        << c.text;
  }
}

TEST(NffDialects, TheFirstLineDecides) {
  // A Haines file whose first line is not "nff" even if a later one is.
  auto haines = RunReader(ImportNff, "a.nff", "\nnff\np 3\n0 0 0\n1 0 0\n0 1 0\n");
  EXPECT_TRUE(haines.ok);
  EXPECT_EQ(haines.faces.size(), 1u);
  // "nff" with trailing blanks still names the Sense8 dialect.
  auto sense8 = RunReader(ImportNff, "a.nff", "nff  \r\nT\n3\n0 0 0\n1 0 0\n0 1 0\n1\n3 0 1 2\n");
  EXPECT_TRUE(sense8.ok);
  EXPECT_EQ(sense8.faces.size(), 1u);
}

TEST(NffFiles, UnopenableFileFails) {
  test::TempDir dir;
  ImportNotifier notifier(dir.File("log.txt"));
  Importer importer(notifier);
  const std::string path = dir.File("missing.nff");
  EXPECT_FALSE(ImportNff(importer, path));
  EXPECT_EQ(test::ReadFileText(dir.File("log.txt")), "Unable to open file '" + path + "'\n");
}

}  // namespace
}  // namespace ws
