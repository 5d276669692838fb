// The OBJ, RAW and NFF readers, each run on a file it is given; the OBJ
// export line by line, and Save Object As choosing among the export formats
// by extension.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <random>

#include "import/mesh_builder.h"
#include "import/obj_export.h"
#include "import/object_exporters.h"
#include "import_test_support.h"
#include "model/object_text.h"

namespace ws {
namespace {

using test::ReaderFunction;
using test::RunReader;

std::vector<std::string> Syntax(int line) {
  return {"Syntax error file '@', line " + std::to_string(line)};
}

TEST(ReaderCases, FacesAndLogLinesPerText) {
  // UTF-16 with a byte order mark reads like UTF-8 (the samples hold a
  // big-endian file); a list beyond half a million entries ends the
  // reading and keeps what came.
  std::string little = "\xFF\xFE";
  for (char c : std::string_view("v 0 0 0\nv 1 0 0\r\nv 0 1 0\ng part\nf 1 2 3\n"))
    little += {c, 0};
  std::string many = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";
  for (int i = 3; i < 500001; ++i) many += "v 1 1 1\n";
  many += "f 3 2 1\n";
  const std::string raw255 = std::string(250, ' ') + "1 2 3 4 5 6 7 8 9\n0 0 0 1 0 0 0 1 0\n";
  const std::string rawBinary = "n\r\n0 0 0 1 0 0 0 1 0\r\n" + std::string("\0\xff\x80 1\0 3", 8);
  const std::vector<std::string> tooMuch = {
      "Too much data in file '@', line 500002; the rest of the file was not read"};
  // The reader, the file (no text: no file), whether the reader succeeds,
  // how many faces its scene holds and the lines it logs ('@': the path).
  using Case = std::tuple<ReaderFunction, const char*, std::string_view, bool, std::size_t,
                          std::vector<std::string>>;
  const Case cases[] = {
      // NFF: Sense8 mistakes, then Haines ones.
      {ImportNff, "a.nff", "nff\nA\n3\n0 0 0\n1 0 0\n0 1 0\n1\n3 0 1 3\n", false, 0, Syntax(8)},
      {ImportNff, "a.nff", "nff\nA\n3\n0 0 0\n1 0 0\n0 1 0\n1\n3 0 1\n", false, 0, Syntax(8)},
      // "0xf00" starts like 0 but is no whole number, so it is no corner.
      {ImportNff, "a.nff", "nff\nA\n3\n0 0 0\n1 0 0\n0 1 0\n1\n3 0 1 0xf00\n", false, 0, Syntax(8)},
      {ImportNff, "a.nff", "nff\nA\n3\n0 0 0\n1 0\n", false, 0, Syntax(5)},
      {ImportNff, "a.nff", "nff\nA\n3\n0 0 0\n1 0 0\n", false, 0, Syntax(5)},  // ends early
      {ImportNff, "a.nff", "nff\nA\n-1\n", false, 0, Syntax(3)},
      {ImportNff, "a.nff", "nff\nA\n500001\n", false, 0, Syntax(3)},  // beyond any model
      {ImportNff, "a.nff", "p 3\n0 0 0\n1 0 0\n", false, 0, Syntax(3)},
      {ImportNff, "a.nff", "p 3\n0 0 0\n1 0\n0 1 0\n", false, 0, Syntax(3)},
      {ImportNff, "a.nff", "p x\n", false, 0, Syntax(1)},
      {ImportNff, "a.nff", "s 1 2 3\n", false, 0, Syntax(1)},
      {ImportNff, "a.nff", "c\n0 0 0 1\n", false, 0, Syntax(2)},
      {ImportNff, "a.nff", "f 1 0\n", false, 0, Syntax(1)},
      {ImportNff, "missing.nff", {}, false, 0, {"Unable to open file '@'"}},
      // The first line chooses the dialect: Haines unless it is "nff".
      {ImportNff, "a.nff", "\nnff\np 3\n0 0 0\n1 0 0\n0 1 0\n", true, 1, {}},
      {ImportNff, "a.nff", "nff  \r\nT\n3\n0 0 0\n1 0 0\n0 1 0\n1\n3 0 1 2\n", true, 1, {}},
      {ImportNff, "a.nff", "nff\nversion 2.0\n", true, 0, {}},
      // OBJ always counts as read; a mistake imports nothing.
      {ImportObj, "a.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n\nvn 1 2\nf 1 2 3\n", true, 0,
       Syntax(6)},
      {ImportObj, "a.obj", "v 1 2 1e999\n", true, 0, Syntax(1)},
      {ImportObj, "a.obj", "f a b c\n", true, 0, Syntax(1)},
      {ImportObj, "missing.obj", {}, true, 0, {"Unable to open file '@'"}},
      {ImportObj, "a.obj", little, true, 1, {}},
      {ImportObj, "a.obj", many, true, 1, tooMuch},
      // RAW: nine numbers, then anything.
      {ImportRaw, "t.raw", "-1 0 0 -2 0 0 -1 -1 0.5 extra words\n", true, 1, {}},
      // Read in pieces of 255 characters, the first triangle is two too short.
      {ImportRaw, "t.raw", raw255, true, 1, {}},
      {ImportRaw, "t.raw", rawBinary, true, 1, {}},
      {ImportRaw, "missing.raw", {}, true, 0, {}}};
  for (const auto& [reader, name, text, ok, faces, log] : cases) {
    const auto r = RunReader(reader, name, text);
    EXPECT_EQ(std::tuple(r.ok, r.faces.size(), r.Errors()), std::tuple(ok, faces, log))
        << text.substr(0, 80);
  }
  EXPECT_EQ(RunReader(ImportObj, "a.obj", "v 0 0 0\nvn 1 2\n").importer->emptyReason(),
            "Line 2 is not what the format allows.");
}

TEST(ObjGroups, TheGroupCapKeepsLaterFacesInTheLastGroup) {
  std::string text = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";
  for (int g = 0; g <= 2048; ++g) text += "g n" + std::to_string(g) + "\nf 1 2 3\n";
  auto r = RunReader(ImportObj, "a.obj", text);
  const auto groups = r.Children<scene::Separator>();
  ASSERT_EQ(groups.size(), 2048u);
  const auto& set = dynamic_cast<scene::IndexedFaceSet&>(*groups.back()->children.at(0));
  EXPECT_EQ(std::tuple(groups.back()->name, set.coordIndex),
            std::tuple("n2047", std::vector<std::int32_t>{0, 1, 2, -1, 0, 1, 2, -1}));
}

TEST(ObjFaces, CornerNumbers) {
  std::string eight;
  for (int i = 1; i <= 8; ++i) eight += "v " + std::to_string(i) + " 0 0\n";
  // Texture numbers are skipped; negative numbers count back from the last
  // vertex or normal read so far; a face may name vertices read later.
  auto r = RunReader(
      ImportObj, "a.obj",
      "f 1 2 3\n" + eight + "vn 1 0 0\nvn 0 1 0\nf -8/7/-1 -3//-2 -2/9 -1//2\nf 1/7/2 2//1 3\n");
  const auto& set =
      dynamic_cast<scene::IndexedFaceSet&>(*r.Children<scene::Separator>().at(0)->children.at(0));
  EXPECT_EQ(set.coordIndex, (std::vector<std::int32_t>{0, 1, 2, -1, 0, 5, 6, 7, -1, 0, 1, 2, -1}));
  EXPECT_EQ(set.normalIndex, (std::vector<std::int32_t>{1, 0, 1, -1, 1, 0, -1}));
}

// The face sets of a RAW scene by name.
std::map<std::string, std::vector<std::int32_t>> FaceSets(test::ReadResult& r) {
  std::map<std::string, std::vector<std::int32_t>> out;
  for (auto* f : r.Children<scene::IndexedFaceSet>()) out[f->name] = f->coordIndex;
  return out;
}

TEST(RawTriangles, NineOrTwelveNumbersMakeATriangle) {
  auto r = RunReader(ImportRaw, "t.raw",
                     "0.1 0 0 1 0 0 0 1 0\n"
                     "1 0.5 0 0 0 0 1 0 0 0 1 0 _tex\n"  // a colour and the triangle
                     "1 0 0 0 1 0 1.000004 1 0\n");      // shared corners share points
  ASSERT_EQ(r.faces.size(), 3u);
  EXPECT_EQ(r.faces[0].corners[0].x, static_cast<double>(0.1f));  // single precision, widened
  EXPECT_EQ(r.faces[1].corners, (std::vector<Vec3>{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}));
  EXPECT_TRUE(EqualMaterials(r.faces[0].material, MaterialValue{}) &&
              EqualMaterials(r.faces[1].material, MaterialFromColor({1, 0.5, 0})));
  EXPECT_EQ(FaceSets(r)["G"], (std::vector<std::int32_t>{0, 1, 2, -1, 3, 1, 2, -1, 1, 2, 4, -1}));
}

TEST(RawGroups, NameLinesSelectGroups) {
  auto r = RunReader(ImportRaw, "t.raw",
                     "0 0 0 1 0 0 0 1 0\n"                      // group 0, named ""
                     "wing left\n0 0 1 1 0 1 0 1 1\n"           // unquoted: ends at the blank
                     "\"tail fin\" rest\n0 0 2 1 0 2 0 1 2\n"   // quoted: blanks allowed
                     ".5 0 0 1 0 0 0 1 0\n0 0 3 1 0 3 0 1 3\n"  // a leading point is a name
                     "\n0 0 4 1 0 4 0 1 4\n"                    // empty line: the group ""
                     "wing\n0 0 5 1 0 5 0 1 5\n"                // a name met before
                     "\"open quote\n0 0 6 1 0 6 0 1 6\n");      // the line end closes it
  std::map<std::string, std::size_t> sizes;
  for (const auto& [name, faces] : FaceSets(r)) sizes[name] = faces.size();
  EXPECT_EQ(sizes, (std::map<std::string, std::size_t>{
                       {"G", 8}, {"wing", 8}, {"tail fin", 4}, {"G.5", 4}, {"open quote", 4}}));
  EXPECT_EQ(r.Children<scene::IndexedFaceSet>().at(1)->name, "wing");  // in the order of first use
}

constexpr char kSense8[] =
    "nff\nversion 2.1\nviewpos 0 0 10\nviewdir 0 0 -1\n// a comment line\n"
    "Square   \n4\n0 0 0 norm 0 0 1\n1 0 0\n1 1 0 // trailing comment\n0 1 0\n"
    "3\n4 0 1 2 3 0xf00 both\n3 0 1 2 0x00ff8000 _v_texture id = 7\n3 2 3 0\n\n"
    "Other\n3\n0 0 1\n1 0 1\n0 1 1\n1\n3 0 1 2 0x0F0\n";

TEST(NffSense8, ObjectsPolygonsColoursAndBothSides) {
  auto r = RunReader(ImportNff, "box.nff", kSense8);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.Errors(), std::vector<std::string>{"Texture names in file '@' are ignored"});
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
    ASSERT_EQ(std::tuple(r.ok, r.faces.size()), std::tuple(true, 3u)) << withTable;
    EXPECT_EQ(r.faces[0].material.diffuse,
              (withTable ? Vec3{0.5, 0.25, 0} : MaterialValue{}.diffuse))
        << withTable;
    EXPECT_EQ(r.faces[1].material.diffuse, (Vec3{0, 0, 1})) << withTable;  // matid 9: none
    EXPECT_TRUE(EqualMaterials(r.faces[2].material, MaterialValue{}));
    const std::string table =
        withTable ? "Material table 'wood.mat' lacks a matid that file '@' uses; those polygons "
                    "take their own colour or the default"
                  : "Material table 'wood.mat' of file '@' cannot be read; its polygons take "
                    "their own colour or the default";
    EXPECT_EQ(r.Errors(),
              (std::vector<std::string>{table, "Texture names in file '@' are ignored"}));
  }
}

// A status line before every hundredth line (OBJ, RAW) and at the end (OBJ).
TEST(ReaderLines, StatusLines) {
  std::string obj, raw;
  for (int i = 0; i < 150; ++i) obj += "# 45678\n";            // 8 bytes a line
  for (int i = 0; i < 250; ++i) raw += "0 0 0 1 0 0 0 1 0\n";  // 18 bytes a line
  EXPECT_EQ(RunReader(ImportObj, "a.obj", obj).log,
            (std::vector<std::string>{"Reading 0.0% Complete", "Reading 66.7% Complete",
                                      "Reading 100.0% Complete"}));
  EXPECT_EQ(RunReader(ImportRaw, "t.raw", raw).log,
            (std::vector<std::string>{"Reading 0.0% Complete", "Reading 40.0% Complete",
                                      "Reading 80.0% Complete"}));
}

TEST(MaterialValue, EqualWithinOneHundredThousandthAndOfTheSameSidedness) {
  const MaterialValue m;
  MaterialValue near = m, far = m, clear = m, twoSided = m;
  near.diffuse = {0.8 + 0.6e-5, 0.8 + 0.6e-5, 0.8};          // distance 0.85e-5
  far.diffuse = {0.8 + 0.6e-5, 0.8 + 0.6e-5, 0.8 + 0.6e-5};  // 1.04e-5
  clear.transparency = 1e-5;  // the tolerance itself is not "less than"
  twoSided.twoSided = true;
  EXPECT_TRUE(EqualMaterials(m, near));
  EXPECT_FALSE(EqualMaterials(m, far) || EqualMaterials(m, clear) || EqualMaterials(m, twoSided));
}

// The welding the builder does, against a plain search of every earlier
// point of the same bucket in order.
void ExpectPlainSearchResults(int count, const std::function<Vec3()>& next) {
  const auto bucket = [](const Vec3& p) { return MeshBuilder::PointBucket(p.x, p.y, p.z); };
  MeshBuilder b;
  std::vector<Vec3> reference;
  b.BeginFace(nullptr);
  for (int i = 0; i < count; ++i) {
    const Vec3 q = next();
    const auto found = std::find_if(reference.begin(), reference.end(), [&](const Vec3& p) {
      return bucket(p) == bucket(q) && Distance(p, q) < 1e-5;
    });
    ASSERT_EQ(b.AddVertex(q.x, q.y, q.z), found - reference.begin()) << i;
    if (found == reference.end()) reference.push_back(q);
  }
}

TEST(MeshBuilderWelding, MatchesAPlainSearchNearAndFarFromTheOrigin) {
  // Clusters whose points are within the tolerance of some neighbours and
  // not of others, on cell and bucket boundaries alike.
  std::mt19937 rng(1234);
  std::uniform_int_distribution<int> cell(0, 25);
  std::uniform_real_distribution<double> jitter(-0.9e-5, 0.9e-5);
  ExpectPlainSearchResults(6000, [&] {
    return Vec3{cell(rng) * 0.1 + jitter(rng), cell(rng) * 0.1 + jitter(rng), jitter(rng)};
  });
  // Where one step between doubles is near or beyond the tolerance.
  std::uniform_int_distribution<int> base(0, 6), steps(-3, 3);
  const double bases[] = {1e9, 3e10, -7e10, 2.5e11, 4e11, -1e13, 1e300};
  ExpectPlainSearchResults(3000, [&] {
    double x = bases[base(rng)];
    for (int n = steps(rng); n != 0; n += n > 0 ? -1 : 1)
      x = std::nextafter(x, n > 0 ? INFINITY : -INFINITY);
    return Vec3{x, steps(rng) * 0.4e-5, 0.0};
  });
}

TEST(MeshBuilderGroups, SelectGroupReusesANameAndStopsAt256) {
  MeshBuilder b;
  std::vector<std::size_t> current;
  for (const char* name : {"wing", "", "wing", "Wing"}) {  // names compare byte for byte
    EXPECT_TRUE(b.SelectGroup(name));
    b.BeginFace(nullptr);
    b.AddVertex(1, 0, 0);
    b.EndFace();
    current.push_back(b.currentGroup());
  }
  EXPECT_EQ(current, (std::vector<std::size_t>{1, 0, 1, 2}));
  for (int i = 3; i < 256; ++i) ASSERT_TRUE(b.SelectGroup("g" + std::to_string(i)));
  EXPECT_FALSE(b.SelectGroup("one too many"));
  EXPECT_EQ(std::tuple(b.currentGroup(), b.groupCount(), b.GroupName(0), b.GroupName(255),
                       b.GroupName(300)),
            std::tuple(255u, 256u, "", "g255", ""));
}

TEST(MeshBuilderLimits, FullListsKeepWholeFaces) {
  MeshBuilder b;
  b.BeginFace(nullptr);
  std::size_t accepted = 0;
  for (int i = 0; i < 499998; ++i) accepted += b.AddVertex(i % 7, 0, 0) >= 0;
  b.EndFace();
  // One slot stays for the face's -1.
  EXPECT_EQ(std::tuple(accepted, b.FaceIndices(0).size()), std::tuple(499998u, 499999u));
  // A face that can hold no corner ends at once; one that cannot even be
  // ended is refused as a whole.
  EXPECT_TRUE(b.BeginFace(nullptr));
  EXPECT_EQ(b.AddVertex(0, 0, 0), -1);
  b.EndFace();
  EXPECT_FALSE(b.BeginFace(nullptr));
  b.EndFace();
  EXPECT_EQ(
      std::tuple(b.FaceIndices(0).size(), b.FaceIndices(0).back(), b.group(0).faceMaterials.size()),
      std::tuple(500000u, -1, 2u));
  // The 500,001st point is refused; an existing one is still found.
  MeshBuilder p;
  for (int g = 0; g < 2; ++g) {
    p.SelectGroup("g" + std::to_string(g));
    p.BeginFace(nullptr);
    for (int i = g * 300000; i < std::min(500001, (g + 1) * 300000); ++i) {
      ASSERT_EQ(p.AddVertex(i, 0.5, 0.25), i < 500000 ? i : -1) << i;
    }
    p.EndFace();
  }
  p.BeginFace(nullptr);
  EXPECT_EQ(p.AddVertex(7, 0.5, 0.25), 7);
  EXPECT_EQ(p.points().size(), 500000u);
}

// A small object saved as "small.OBJ" (the ending in either case) is
// written line for line; the dialog offers every format; a folder that is
// not there and an unknown ending are named.
TEST(SaveObjectAs, OffersEveryFormatWritesObjLineForLineAndNamesWhatItCannotWrite) {
  test::ModelFixture f;
  ColorTable table;
  table.Set(3, {0xFFFF, 0x8000, 0});
  table.Set(9, {0x1234, 0, 0xFFFF});
  ASSERT_TRUE(WriteClutToFile(f.m().resources, f.m().paths.preferences, kCurrentClutId, table));
  ObjectTables& t = f.tables();
  t.name = "small one";
  const std::uint32_t a = t.AddPoint(0, 0, 0), b = t.AddPoint(100, 0, 0),
                      c = t.AddPoint(100, 100, 0), d = t.AddPoint(0, 100, -50);
  t.AddPoint(7, 7, 7);  // used by no polygon, still a vertex
  // Corners from the last to the first: OBJ fronts are counter-clockwise.
  // One face, not triangulated, front only; then the same material: no
  // second usemtl; then two points: no face.
  test::AddPolygon(t, {a, b, c, d}, PolyFlag::kEachSideDifferent, 3, 9);
  test::AddPolygon(t, {a, c, b}, PolyFlag::kInvisible, 3, 9);
  test::AddPolygon(t, {a, b}, 0, 9, 9);
  test::AddPolygon(t, {a, b, d}, 0, 9, 9);

  const ObjectExporters exporters = StandardObjectExporters(false);
  f.ui.QueueSavePath(std::nullopt);
  SaveObjectAs(f.m(), exporters);
  ASSERT_EQ(f.ui.SaveDialogs().size(), 1u);
  std::string filters;
  for (const FileFilter& x : f.ui.SaveDialogs()[0].filters)
    filters += x.description + "|" + x.patterns + "\n";
  EXPECT_EQ(filters,
            "Wirestead Object (wdo)|*.wdo\nDirectX (x)|*.x\nglTF 2.0 (gltf)|*.gltf\n"
            "glTF 2.0 binary (glb)|*.glb\nWavefront OBJ (obj)|*.obj\n");

  const std::string missing = f.dir.File("no such dir/e.glb"), path = f.dir.File("small.OBJ");
  SaveObjectAsPath(f.m(), missing, exporters);
  SaveObjectAsPath(f.m(), f.dir.File("f.gltf2"), exporters);
  SaveObjectAsPath(f.m(), path, exporters);
  EXPECT_EQ(f.ui.MessageTexts(),
            (std::vector<std::string>{"Could Not Export \"" + missing + "\"",
                                      "Unknown Format Extension \".gltf2\".  Save Aborted"}));
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

}  // namespace
}  // namespace ws
