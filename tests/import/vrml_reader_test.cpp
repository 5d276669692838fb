// The VRML reader on small texts of its own: what each node contributes,
// and the files it refuses, each with its message and an empty scene.
#include <gtest/gtest.h>

#include <optional>

#include "import_test_support.h"

namespace ws {
namespace {

using namespace std::string_literals;
using test::RunReader;

const std::string kV1 = "#VRML V1.0 ascii\n";
const std::string kV2 = "#VRML V2.0 utf8\n";
// A unit square in z = 0 and its two triangles (VRML 1.0), and a shape
// with a square of its own (VRML 2.0, `%` marks where fields go).
constexpr char kSquare1[] = "Coordinate3 { point [0 0 0, 1 0 0, 1 1 0, 0 1 0] }\n";
constexpr char kTwoFaces1[] = "IndexedFaceSet { coordIndex [0 1 2 -1 2 3 0 -1] }\n";

std::string Shape2(std::string_view fields) {
  return "Shape { geometry IndexedFaceSet { coord Coordinate { point [0 0 0, 1 0 0, 1 1 0, 0 1 0] }"
         " coordIndex [0 1 2 -1 0 2 3] " +
         std::string(fields) + " } }\n";
}

struct Case {
  const char* name;
  std::string text;
  std::size_t faces;
  Vec3 lastFaceColor;                  // diffuse
  std::optional<Vec3> lastFaceCorner;  // its first corner, when checked
};

const Vec3 kGrey{0.8, 0.8, 0.8}, kRed{1, 0, 0}, kGreen{0, 1, 0};
const std::string kFaces1 = std::string(kSquare1) + kTwoFaces1;

// A VRML 1.0 text of `nodes` and then the square's two faces (or `after`),
// and a VRML 2.0 text of `nodes`.
std::string V1(std::string_view nodes, const std::string& after = kFaces1) {
  return kV1 + std::string(nodes) + after;
}
std::string V2(std::string_view nodes) { return kV2 + std::string(nodes); }

const Case kCases[] = {
    {"v1 per-face materials",
     V1("MaterialBinding { value PER_FACE } Material { diffuseColor [1 0 0, 0 1 0] }"), 2, kGreen,
     Vec3{1, 1, 0}},
    {"v1 per-vertex indexed",
     V1("MaterialBinding { value PER_VERTEX_INDEXED } Material { diffuseColor [1 0 0, 0 1 0] }",
        kSquare1 +
            "IndexedFaceSet { coordIndex [0 1 2 -1 0 2 3] materialIndex [1 1 1 -1 0 1 1] }"s),
     2, kRed, Vec3{0, 0, 0}},
    {"v1 separator keeps its material", V1("Separator { Material { diffuseColor 1 0 0 } }"), 2,
     kGrey, Vec3{1, 1, 0}},
    {"v1 group passes it on", V1("Group { Material { diffuseColor 1 0 0 } }"), 2, kRed,
     Vec3{1, 1, 0}},
    {"v1 transforms", V1("Translation { translation 1 2 3 } Scale { scaleFactor 2 2 2 }"), 2, kGrey,
     Vec3{3, 4, 3}},
    {"v1 transform separator", V1("TransformSeparator { Translation { translation 5 0 0 } }"), 2,
     kGrey, Vec3{1, 1, 0}},
    {"v1 matrix", V1("MatrixTransform { matrix 1 0 0 0 0 1 0 0 0 0 1 0 4 5 6 1 }"), 2, kGrey,
     Vec3{5, 6, 6}},
    {"v1 def/use", V1("DEF A Separator {", kFaces1 + "} Translation { translation 0 0 7 } USE A"),
     4, kGrey, Vec3{1, 1, 7}},
    {"v1 switch", V1("Switch { whichChild 1 Cube {} Separator {", kFaces1 + "} }"), 2, kGrey,
     Vec3{1, 1, 0}},
    {"v1 unknown nodes and hints",
     V1("ShapeHints { vertexOrdering CLOCKWISE creaseAngle 0.5 }"
        "Foo { fields [ SFNode a ] a Bar { x [ 1 { } ] } b \"}\" }"),
     2, kGrey, Vec3{1, 1, 0}},
    {"v1 primitives",
     V1("Cube {} Sphere { radius 2 } Cone { parts BOTTOM } Cylinder { parts (SIDES|TOP) }", ""),
     6 + 256 + 1 + 17, kGrey, std::nullopt},
    {"v2 appearance",
     V2("Shape { appearance Appearance { material Material { diffuseColor 0 1 0 } } "
        "geometry Box { size 1 2 3 } }"),
     6, kGreen, std::nullopt},
    {"v2 colour per face", V2(Shape2("color Color { color [1 0 0, 0 1 0] } colorPerVertex FALSE")),
     2, kGreen, Vec3{0, 0, 0}},
    {"v2 colour index per face",
     V2(Shape2("color Color { color [1 0 0, 0 1 0] } colorIndex [1 0] colorPerVertex FALSE")), 2,
     kRed, Vec3{0, 0, 0}},
    {"v2 colour per vertex", V2(Shape2("color Color { color [1 0 0, 0 1 0, 0 0 1, 0 1 0] }")), 2,
     kRed, Vec3{0, 0, 0}},
    {"v2 short faces and missing points left out",
     V2("Shape { geometry IndexedFaceSet { coord Coordinate { point [0 0 0, 1 0 0, 1 1 0, 0 1 0] }"
        " coordIndex [0 1 -1 0 1 4 -1 3 0 1 -1] } }"),
     1, kGrey, Vec3{0, 1, 0}},
    {"v2 clockwise", V2(Shape2("ccw FALSE")), 2, kGrey, Vec3{0, 1, 0}},
    {"v2 transform",
     V2("Transform { translation 1 2 3 children [" + Shape2("") + "] }" + Shape2("")), 4, kGrey,
     Vec3{0, 0, 0}},
    {"v2 def/use coordinates",
     V2("Shape { geometry IndexedFaceSet { coord DEF C Coordinate { point [0 0 0, 1 0 0, 1 1 0] }"
        " coordIndex [0 1 2] } } Transform { translation 0 0 9 children Shape { geometry "
        "IndexedFaceSet { coord USE C coordIndex [2 1 0] } } }"),
     2, kGrey, Vec3{1, 1, 9}},
    {"v2 primitives",
     V2("Shape { geometry Sphere {} } Shape { geometry Cone { bottom FALSE } }"
        "Shape { geometry Cylinder { top FALSE } } Shape { geometry NULL }"),
     256 + 16 + 17, kGrey, std::nullopt},
    {"v2 skipped statements",
     V2("PROTO P [ field SFColor c 1 0 0 ] { Group { } } EXTERNPROTO E [ ] \"e.wrl\" "
        "DEF S Script { url \"x.js\" } Inline { url [\"a.wrl\"] } ROUTE S.out TO T.set_in " +
        Shape2("")),
     2, kGrey, Vec3{0, 0, 0}},
};

TEST(VrmlReader, NodesGiveTheirFaces) {
  for (const Case& c : kCases) {
    test::ReadResult r = RunReader(ImportVrml, "t.wrl", c.text);
    ASSERT_TRUE(r.ok) << c.name << ": " << testing::PrintToString(r.log);
    ASSERT_EQ(r.faces.size(), c.faces) << c.name;
    const test::RecordedFace& last = r.faces.back();
    EXPECT_EQ(last.material.diffuse, c.lastFaceColor) << c.name;
    if (c.lastFaceCorner) {
      EXPECT_EQ(last.corners.front(), *c.lastFaceCorner) << c.name;
    }
  }
}

// Imported, the file names its format in the progress dialog's titles.
TEST(VrmlReader, ImportTitles) {
  test::ImportFixture f;
  ASSERT_TRUE(f.Import(f.Write("t.wrl", kV1 + kFaces1)));
  EXPECT_EQ(f.progress.titles,
            (std::vector<std::string>{"Scanning VRML File...", "Importing VRML File...",
                                      "Loading Polygons...", "Importing Objects..."}));
}

TEST(VrmlReader, SkippedStatementsAreLoggedOnceEach) {
  const test::ReadResult r = RunReader(ImportVrml, "t.wrl", kCases[std::size(kCases) - 1].text);
  EXPECT_EQ(r.log, (std::vector<std::string>{"Skipping PROTO 'P'", "Skipping EXTERNPROTO 'E'",
                                             "Skipping Script node", "Skipping Inline node",
                                             "Skipping ROUTE from 'S.out' to 'T.set_in'"}));
}

std::string Nested(int depth) {
  std::string s = kV1;
  for (int i = 0; i < depth; ++i) s += "Separator {";
  return s + std::string(static_cast<std::size_t>(depth), '}');
}

std::string IndexList(std::size_t n) {
  std::string s = kV1 + "IndexedFaceSet { coordIndex [";
  for (std::size_t i = 0; i < n; ++i) s += "0 ";
  return s + "] }";
}

// Each level reads the one before twice: 2^40 nodes if nothing stopped it.
std::string Doubling(int levels) {
  std::string s = kV1 + "DEF A0 Info {}";
  for (int i = 1; i <= levels; ++i) {
    s += " DEF A" + std::to_string(i) + " Group { USE A" + std::to_string(i - 1) + " USE A" +
         std::to_string(i - 1) + " }";
  }
  return s;
}

// 250,000 faces read 1 + uses times; they name no point, so no face
// reaches the walk.
std::string ManyFaces(int uses) {
  std::string s = kV1 + "DEF F IndexedFaceSet { coordIndex [";
  for (int i = 0; i < 250000; ++i) s += "0 -1 ";
  s += "] }";
  for (int i = 0; i < uses; ++i) s += " USE F";
  return s;
}

// The limits hold exactly at their values; a file the reader refuses adds
// nothing, and its one log line says why ('@' stands for the path).
TEST(VrmlReader, LimitsAndRefusals) {
  const auto syntax = [](const char* what) {
    return "Syntax error file '@', line " + std::string(what);
  };
  const struct {
    const char* name;
    std::string text, error;  // "": read
  } rows[] = {
      {"100 levels", Nested(100), ""},
      {"101 levels", Nested(101), syntax("2: nodes nested too deeply")},
      {"500,000 entries", IndexList(500000), ""},
      {"500,001 entries", IndexList(500001), syntax("2: list too long")},
      {"largest index", kV1 + "IndexedFaceSet { coordIndex 2147483647 }", ""},
      {"index too large", kV1 + "IndexedFaceSet { coordIndex 2147483648 }",
       syntax("2: integer expected")},
      {"1,000,000 faces", ManyFaces(3), ""},
      {"1,000,001 faces", ManyFaces(3) + " IndexedFaceSet { coordIndex 0 }",
       syntax("2: too many faces")},
      {"use inside itself", kV1 + "DEF A Separator {\nUSE A }",
       syntax("2: nodes nested too deeply")},
      {"doubling uses", Doubling(40), syntax("2: too much data (nested USEs)")},
      {"no header", "Separator { Cube {} }", "File '@' is not a VRML 1.0 or 2.0 text file"},
      // The first 12 bytes of "#VRML V1.0 ascii\nCube {}" deflated at level 9 in a gzip wrapper.
      {"cut gzip", "\x1f\x8b\x08\0\0\0\0\0\x02\x03\x53\x0e"s, "Unable to decompress file '@'"},
      {"open node", kV1 + "Separator { Cube {} Cube {\n", syntax("3: file ends inside a node")},
      {"open list", kV1 + "Foo { a [ 1 2\n", syntax("3: file ends inside brackets")},
      {"open string", kV1 + "Info { string \"abc }", syntax("2: string without its closing quote")},
      {"bad number", kV1 + kSquare1 + "Coordinate3 { point [ 1 x 2 ] }",
       syntax("3: number expected")},
      {"bad binding", kV1 + "MaterialBinding { value PER_CORNER }", syntax("2: binding expected")},
      {"bad part", kV1 + "Cone { parts (SIDES|RIM) }", syntax("2: part expected")},
      {"bad bool", kV2 + Shape2("ccw YES"), syntax("2: TRUE or FALSE expected")},
      {"stray bracket", kV2 + "Group { ] }", syntax("2: field name expected")},
      {"route without TO", kV2 + "ROUTE a.b c.d", syntax("2: 'TO' expected")},
  };
  for (const auto& row : rows) {
    test::ReadResult r = RunReader(ImportVrml, "t.wrl", row.text);
    EXPECT_EQ(std::tuple(r.ok, r.log, r.root().children.empty()),
              std::tuple(row.error.empty(), std::vector<std::string>(!row.error.empty(), row.error),
                         !row.error.empty()))
        << row.name;
  }
}

}  // namespace
}  // namespace ws
