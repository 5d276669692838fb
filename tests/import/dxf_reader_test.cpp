// The DXF reader on small drawings written here, group by group.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>

#include "import/readers/dxf/dxf_colors.h"
#include "import_test_support.h"

namespace ws {
namespace {

using test::RunReader;

// DXF text: each call adds one group, a code line and a value line.
struct Dxf {
  std::string text;
  Dxf& operator()(int code, const std::string& value) {
    text += std::to_string(code) + "\n" + value + "\n";
    return *this;
  }
  Dxf& operator()(int code, double value) {  // the shortest text that reads back the same
    char s[40];
    return (*this)(code, std::string(s, std::to_chars(s, s + sizeof s, value).ptr));
  }
  Dxf& At(int code, const Vec3& p) { return (*this)(code, p.x)(code + 10, p.y)(code + 20, p.z); }
  Dxf& Face(const Vec3& a, const Vec3& b, const Vec3& c, const Vec3& d, int color = 1,
            const std::string& layer = "0") {
    return (*this)(0, "3DFACE")(8, layer)(62, color).At(10, a).At(11, b).At(12, c).At(13, d);
  }
  Dxf& Section(const std::string& name) { return (*this)(0, "SECTION")(2, name); }
  Dxf& End() { return (*this)(0, "ENDSEC"); }
  std::string Entities() { return Dxf().Section("ENTITIES").text + text + "0\nENDSEC\n0\nEOF\n"; }
};

const Vec3 kA{0, 0, 0}, kB{1, 0, 0}, kC{1, 1, 0}, kD{0, 1, 0};

test::ReadResult Read(const std::string& text) { return RunReader(ImportDxf, "t.dxf", text); }

TEST(DxfColors, IndexTableAndItsEnds) {
  // An index and its red, green and blue.
  // clang-format off
  const std::tuple<int, double, double, double> rows[] = {
      {0, 0, 0, 0}, {7, 1, 1, 1}, {10, 1, 0, 0}, {11, 1, 0.5, 0.5}, {249, 0.15, 0.075, 0.09375},
      {250, 0.33, 0.33, 0.33}, {255, 1, 1, 1}, {-1, 1, 0, 0}, {256, 1, 0, 0}};
  // clang-format on
  for (const auto& [index, r, g, b] : rows)
    EXPECT_LT(Distance(dxf::ColorIndexToRGB(index), {r, g, b}), 1e-12) << index;
}

TEST(DxfColors, FindColorLayersAndBestMatch) {
  dxf::LayerTable layers;
  layers.AddLayer("A", 3);
  layers.AddLayer("A", 5);  // the first definition wins
  layers.AddLayer("0", 4);
  EXPECT_EQ(std::pair(layers.LookupLayerColor("A"), layers.LookupLayerColor("B")),
            std::pair(3, -1));
  // Layer, colour index, an entity's (not a block face's), the colour found.
  const std::tuple<const char*, int, bool, int> rows[] = {
      {"A", 0, true, 3},     {"B", 0, true, -1},   {"A", 256, true, 7},
      {"A", 300, true, 300}, {"A", 256, false, 9}, {"0", 0, false, 9},
      {"A", 0, false, 3},    {"0", 0, true, 4},    {"A", 2, false, 2}};
  for (const auto& [layer, index, entity, expected] : rows)
    EXPECT_EQ(dxf::FindColor(layers, layer, index, entity, 9), expected)
        << layer << index << entity;
  // Ties keep the lower index: white is 7 and 255, black 0, 8 and 9.
  const std::tuple<double, double, double, int> matches[] = {
      {1, 1, 1, 7}, {0, 0, 0, 0}, {0.9, 0.05, 0, 1}, {0.5, 0, 0, 14}, {0.6, 0.6, 0.6, 252}};
  for (const auto& [r, g, b, index] : matches)
    EXPECT_EQ(dxf::BestColorMatch({r, g, b}), index) << r;
}

// Corner lists and diffuse colours of every face a drawing gives.
TEST(DxfReader, EntitiesBecomeTheirFaces) {
  auto up = [](Vec3 p) { return Vec3{p.x, p.y, p.z + 0.00001}; };
  // A polyface mesh at elevation 1: its face records name corners 71 to 74
  // (a negative number hides an edge); 71 = 72, 71 = 0, vertex 5 and
  // vertex 0 make no face.
  Dxf polyface;
  polyface(0, "POLYLINE")(66, 1)(70, 64)(62, 3).At(10, {0, 0, 1});
  for (const Vec3& p : {kA, kB, kC, kD}) polyface(0, "VERTEX")(70, 192).At(10, p);
  for (const std::vector<int>& corners : std::vector<std::vector<int>>{
           {1, -2, 3, 0}, {1, 2, 3, -4}, {1, 1, 3}, {0, 2, 3}, {1, 2, 5}, {1, 0, 3, 4}}) {
    polyface(0, "VERTEX")(70, 128);
    for (std::size_t i = 0; i < corners.size(); ++i) polyface(71 + int(i), corners[i]);
  }
  // A name, the entities, the faces' corners and their colour.
  const std::tuple<const char*, std::string, std::vector<std::vector<Vec3>>, ColorTriple> rows[] = {
      {"triangle", Dxf().Face(kA, kB, kC, kC).text, {{kA, kB, kC}}, {1, 0, 0}},
      {"quad", Dxf().Face(kA, kB, kC, kD, 5).text, {{kA, kB, kC, kD}}, {0, 0, 1}},
      {"line",
       Dxf()(0, "LINE")(62, 256).At(10, kA).At(11, kB).text,
       {{kA, up(kA), kB, up(kB)}},
       {1, 1, 1}},
      {"polyface",
       polyface(0, "SEQEND").text,
       {{{0, 0, 1}, {1, 0, 1}, {1, 1, 1}}, {{0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}}},
       {0, 1, 0}},
      {"polyline without SEQEND",
       Dxf()(0, "POLYLINE")(66, 1).End().Section("ENTITIES").Face(kA, kB, kC, kC).text,
       {{kA, kB, kC}},
       {1, 0, 0}}};
  for (const auto& [name, body, expected, color] : rows) {
    test::ReadResult result = Read(Dxf{body}.Entities());
    ASSERT_TRUE(result.ok) << name;
    std::vector<std::vector<Vec3>> faces;
    for (const auto& f : result.faces) {
      faces.push_back(f.corners);
      EXPECT_EQ(f.material.diffuse, color) << name;
      EXPECT_LT(Distance(f.material.ambient, {color.x * 0.1, color.y * 0.1, color.z * 0.1}), 1e-12);
    }
    EXPECT_EQ(faces, expected) << name;
  }
}

// Polygon meshes of 3 x 4 vertices: faces for every row and column pair,
// and round the end in each closed direction.
TEST(DxfReader, PolygonMeshClosedInMAndN) {
  const std::pair<int, std::size_t> rows[] = {
      {16, 6}, {16 + 1, 9}, {16 + 32, 8}, {16 + 1 + 32, 12}, {0, 0}};
  for (const auto& [flags, count] : rows) {
    for (const int m : {3, 4}) {  // 4 x 4 names a vertex the mesh does not have
      Dxf mesh;
      mesh(0, "POLYLINE")(66, 1)(70, flags)(71, m)(72, 4);
      for (int i = 0; i < 12; ++i)
        mesh(0, "VERTEX")(70, 64).At(10, {double(i / 4), double(i % 4), 0});
      const test::ReadResult r = Read(mesh(0, "SEQEND").Entities());
      ASSERT_EQ(r.faces.size(), m == 3 ? count : 0u) << flags << " " << m;
      if (flags == 16 + 1 + 32 && m == 3) {
        EXPECT_EQ(r.faces.back().corners,
                  (std::vector<Vec3>{{2, 3, 0}, {2, 0, 0}, {0, 0, 0}, {0, 3, 0}}));
      }
    }
  }
}

// Block at base (1, 1, 0) holding the triangle A B C, inserted at
// (10, 0, 0), scaled by 2 and 3, turned 90 degrees, as 2 columns x 3 rows.
TEST(DxfReader, InsertArrayWithRotationMatchesAPlainTransform) {
  Dxf d;
  d.Section("BLOCKS")(0, "BLOCK")(2, "tri").At(10, {1, 1, 0}).Face(kA, kB, kC, kC)(0, "ENDBLK");
  d.End().Section("ENTITIES")(0, "INSERT")(2, "tri").At(10, {10, 0, 0})(41, 2)(42, 3)(50, 90);
  d(70, 2)(71, 3)(44, 5)(45, 7)(0, "INSERT")(2, "nothing")(0, "ENDSEC");
  const test::ReadResult r = Read(d.text);
  ASSERT_EQ(r.faces.size(), 6u);
  for (std::size_t face = 0; face < 6; ++face) {  // column by column
    const std::size_t c = face / 3, row = face % 3;
    for (std::size_t i = 0; i < 3; ++i) {
      const Vec3 p = std::array{kA, kB, kC}[i];
      const double x = (p.x - 1) * 2 + c * 5, y = (p.y - 1) * 3 + row * 7;
      EXPECT_LT(Distance(r.faces[face].corners[i], {10 - y, x, 0}), 1e-9)
          << c << " " << row << " " << i;
    }
  }
}

// The arbitrary-axis rule: an extrusion within 1/64 of the z axis takes
// its x axis from the world's y axis, any other from the world's z axis.
TEST(DxfReader, InsertFollowsTheExtrusionDirection) {
  // The extrusion, where (1, 2, 3) goes, and within what distance.
  const std::tuple<Vec3, Vec3, double> rows[] = {{{0, 0, -1}, {-1, 2, -3}, 1e-9},
                                                 {{1, 0, 0}, {3, 1, 2}, 1e-9},
                                                 {{0.0156, 0, 1}, {1, 2, 3}, 0.1},
                                                 {{0.0157, 0, 1}, {-2, 1, 3}, 0.1}};
  for (const auto& [extrusion, expected, within] : rows) {
    Dxf d;
    d.Section("BLOCKS")(0, "BLOCK")(2, "b").Face({1, 2, 3}, kB, kC, kC)(0, "ENDBLK").End();
    d.Section("ENTITIES")(0, "INSERT")(2, "b").At(210, extrusion).End();
    const test::ReadResult r = Read(d.text);
    ASSERT_EQ(r.faces.size(), 1u);
    EXPECT_LT(Distance(r.faces[0].corners[0], expected), within) << extrusion.x;
  }
}

// Nested inserts: a block may insert one defined after it; one that
// inserts itself is cut 16 levels deep. Faces of colour 0 on layer "0"
// take the insert's colour.
TEST(DxfReader, NestedInsertsAndTheirDepthCut) {
  Dxf d;
  d.Section("BLOCKS")(0, "BLOCK")(2, "outer")(0, "INSERT")(2, "inner")(8, "0").At(10, {0, 0, 5});
  d(0, "ENDBLK")(0, "BLOCK")(2, "inner").Face(kA, kB, kC, kC, 0)(0, "ENDBLK");
  d(0, "BLOCK")(2, "self").Face(kA, kB, kC, kC, 2, "L");
  d(0, "INSERT")(2, "self").At(10, {1, 0, 0})(0, "ENDBLK").End();
  d.Section("ENTITIES")(0, "INSERT")(2, "outer")(62, 5)(0, "INSERT")(2, "self").End();
  const test::ReadResult r = Read(d.text);
  ASSERT_EQ(r.faces.size(), 17u);
  EXPECT_EQ(std::tuple(r.faces[0].corners[0], r.faces[0].material.diffuse, r.faces[16].corners[0]),
            std::tuple(Vec3{0, 0, 5}, Vec3{0, 0, 1}, Vec3{15, 0, 0}));
  EXPECT_EQ(r.Errors(),
            (std::vector<std::string>{
                "DXF: block \"self\" is inserted more than 16 levels deep (it may insert "
                "itself); the deeper inserts were left out"}));
}

// A drawing keeps 10,001 faces; 256 blocks fit in the table, and a name
// already there is not redefined.
TEST(DxfReader, FaceAndBlockLimits) {
  Dxf faces, blocks;
  for (int i = 0; i < 10002; ++i)
    faces.Face({double(i), 0, 0}, {double(i), 1, 0}, {double(i), 1, 1}, {double(i), 1, 1});
  blocks.Section("BLOCKS");
  for (int i = 0; i <= 256; ++i)
    blocks(0, "BLOCK")(2, "b" + std::to_string(i)).Face(kA, kB, kC, kC)(0, "ENDBLK");
  blocks(0, "BLOCK")(2, "b0").Face(kA, kB, kC, kC, 5)(0, "ENDBLK").End().Section("ENTITIES");
  for (int i = 0; i <= 256; ++i) blocks(0, "INSERT")(2, "b" + std::to_string(i));
  EXPECT_EQ(Read(faces.Entities()).faces.size(), 10001u);
  const test::ReadResult r = Read(blocks.End().text);
  ASSERT_EQ(r.faces.size(), 256u);
  EXPECT_EQ(r.faces[0].material.diffuse, (Vec3{1, 0, 0}));
}

// Whole-line values keep names with blanks in step; CR LF and lone CR
// line ends read alike; layer colours come from the TABLES section.
TEST(DxfReader, NamesWithBlanksAndLineEnds) {
  Dxf d;
  d.Section("TABLES")(0, "TABLE")(2, "LAYER")(0, "LAYER")(2, " My layer ")(62, 5);
  d(0, "LAYER")(2, "other")(0, "ENDTAB").End();
  d.Section("ENTITIES").Face(kA, kB, kC, kC, 0, "My layer").Face(kA, kB, kC, kC, 0, "other");
  d.Face(kA, kB, kC, kC, 0, std::string(300, 'x')).End();
  // "other" keeps the colour of the entry before it; the long name is cut
  // to 255 characters, and that layer is unknown.
  const std::vector<std::pair<std::string, Vec3>> expected = {
      {"My layer", {0, 0, 1}}, {"other", {0, 0, 1}}, {std::string(255, 'x'), {1, 0, 0}}};
  for (const char* end : {"\n", "\r\n", "\r"}) {
    std::string text;
    for (char c : d.text) text += c == '\n' ? std::string(end) : std::string(1, c);
    test::ReadResult r = Read(text);
    std::vector<std::pair<std::string, Vec3>> groups;  // one face a layer
    const auto sets = r.Children<scene::IndexedFaceSet>();
    for (std::size_t i = 0; i < sets.size(); ++i)
      groups.emplace_back(sets[i]->name, r.faces.at(i).material.diffuse);
    EXPECT_EQ(groups, expected) << end;
  }
}

TEST(DxfReader, ProgressAndTrace) {
  std::string text;  // 250 lines, 5 bytes each on average: reports after 500 and 1,000
  for (int i = 0; i < 125; ++i) text += "999\n12345\n";
  text += Dxf().Face(kA, kB, kC, kC, 0, "L").Entities();
  test::TempDir dir;
  ImportNotifier notifier(dir.File("log"));
  test::RecordingProgress progress;
  notifier.Attach(&progress);
  Importer importer(notifier);
  std::vector<std::string> trace;
  test::WriteFileText(dir.File("p.dxf"), text);
  ImportDxfTraced(importer, dir.File("p.dxf"),
                  [&](std::string_view line) { trace.emplace_back(line); });
  const auto size = static_cast<int>(text.size());
  EXPECT_EQ(std::tuple(progress.positions, progress.titles),
            std::tuple(std::vector<int>{500 * 100 / size, 1000 * 100 / size},
                       std::vector<std::string>{"Importing Drawing Interchange File..."}));
  for (const char* line : {"DXF: +DXFReadSection()", "Read Group (0, SECTION)",
                           "DXF:  FindColor(layer=L, colorIndex=0, isEntity=true, insertColor=-1)"})
    EXPECT_NE(std::find(trace.begin(), trace.end(), line), trace.end()) << line;
}

// Damaged files keep what came before the damage: a cut is reported; what
// follows EOF is not read.
TEST(DxfReader, DamagedFilesKeepWhatCameBefore) {
  const std::string face = Dxf().Face(kA, kB, kC, kC).text;
  const test::ReadResult cut = Read(Dxf().Section("ENTITIES").text + face + "0\n3DFA");
  const test::ReadResult afterEof = Read(Dxf{face}.Entities() + face);
  EXPECT_EQ(std::tuple(cut.ok, cut.faces.size(), cut.importer->dropped(), afterEof.faces.size(),
                       afterEof.importer->dropped().size()),
            std::tuple(true, 1u,
                       std::vector<std::string>{"the file ends inside its ENTITIES section; "
                                                "the rest of the drawing is missing"},
                       1u, 0u));
}

}  // namespace
}  // namespace ws
