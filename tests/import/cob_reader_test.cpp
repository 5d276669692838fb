// The trueSpace reader on files the tests build chunk by chunk.
#include <gtest/gtest.h>

#include "cob_test_writer.h"
#include "import_test_support.h"

namespace ws {
namespace {

using namespace scene;
using test::CobFace;
using test::CobFile;
using test::CobMaterial;
using test::CobPolygons;
using test::CobTriangle;

test::ReadResult Read(const CobFile& file) {
  return test::RunReader(&ImportTrueSpace, "t.cob", file.bytes());
}

// The objects below the root's MaterialBinding and two Rotations.
std::vector<Separator*> Objects(test::ReadResult& r) { return r.Children<Separator>(); }

template <class T>
T* ChildAt(GroupNode& g, std::size_t i) {
  return i < g.children.size() ? dynamic_cast<T*>(g.children[i].get()) : nullptr;
}

TEST(CobReader, RefusesWhatIsNoBinaryCaligariFile) {
  const std::string good = CobFile().bytes();
  std::string text = CobFile('A').bytes(), otherForm = CobFile('X').bytes(), wrongName = good;
  wrongName[7] = 'y';
  const struct {
    const char* name;
    std::string bytes;
    const char* why;
  } rows[] = {{"empty", "", "Permature EOF"},
              {"31 bytes", good.substr(0, 31), "Permature EOF"},
              {"text form", text, "Selected file is not a binary Caligari COB file"},
              {"other form", otherForm, "Selected file is not a binary Caligari COB file"},
              {"not Caligari", wrongName, "Selected file is not a binary Caligari COB file"},
              {"header alone", good, ""}};
  for (const auto& row : rows) {
    test::ReadResult r = test::RunReader(&ImportTrueSpace, "t.cob", row.bytes);
    EXPECT_TRUE(r.ok) << row.name;
    EXPECT_TRUE(r.faces.empty()) << row.name;
    EXPECT_EQ(r.importer->emptyReason(), row.why) << row.name;
    EXPECT_EQ(r.Errors(), *row.why ? std::vector<std::string>{row.why} : std::vector<std::string>{})
        << row.name;
  }
}

TEST(CobReader, TurnsTheFileAxesAndNamesObjects) {
  CobFile file;
  const char* names[][2] = {{"NoName", ""}, {"", ""}, {"9 lives", "G9 lives"}, {"Box", "Box"}};
  for (std::uint32_t i = 0; i < 4; ++i) file.Chunk("PolH", 10 + i, 0, CobTriangle(names[i][0]));
  test::ReadResult r = Read(file);
  ASSERT_EQ(Objects(r).size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(Objects(r)[i]->name, names[i][1]) << i;
  ASSERT_EQ(r.faces.size(), 4u);
  const Vec3 first = r.faces[0].corners[0];  // the file's (1, 2, 3)
  EXPECT_NEAR(first.x, 2, 1e-12);
  EXPECT_NEAR(first.y, 3, 1e-12);
  EXPECT_NEAR(first.z, 1, 1e-12);
  // Without materials every face takes the default.
  EXPECT_TRUE(EqualMaterials(r.faces[0].material, MaterialValue{}));
}

TEST(CobReader, DropsHolesAndKeepsTheFacesAroundThem) {
  const std::vector<CobFace> faces = {
      {{0, 1, 2}, 1}, {{3, 4, 5}, 7, 0x08}, {{0, 2, 1}, 2}, {{0, 0xFFFFFFFFu, 1, 2}, 0}};
  CobFile file;
  file.Chunk("PolH", 1, 0, CobPolygons("P", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, faces));
  test::ReadResult r = Read(file);
  ASSERT_EQ(Objects(r).size(), 1u);
  Separator& s = *Objects(r)[0];
  EXPECT_EQ(ChildAt<MaterialBinding>(s, 0)->value, Binding::kPerFaceIndexed);
  auto* set = ChildAt<IndexedFaceSet>(s, 2);
  ASSERT_NE(set, nullptr);
  EXPECT_EQ(set->coordIndex,
            (std::vector<std::int32_t>{0, 1, 2, -1, 0, 2, 1, -1, 0, INT32_MAX, 1, 2, -1}));
  EXPECT_EQ(set->materialIndex, (std::vector<std::int32_t>{1, 2, 0}));
  // A vertex number beyond any list names no point and does not end its face.
  ASSERT_EQ(r.faces.size(), 3u);
  EXPECT_EQ(r.faces[2].corners.size(), 3u);
}

TEST(CobReader, MaterialsColourTheirPolygonObjectOnly) {
  CobFile file;
  file.Chunk("Grou", 1, 0, test::CobObject("G"))
      .Chunk("PolH", 2, 1, CobPolygons("P", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{{0, 1, 2}, 2}}))
      .Chunk("Mat1", 3, 2, CobMaterial(2, {0.5f, 1, 0.25f, 0.75f, 0, 0.5f, 8, 1}))
      .Chunk("Mat1", 4, 2, CobMaterial(0, {1, 1, 1, 1, 0.5f, 0, 1, 1}))
      .Chunk("Mat1", 5, 1, CobMaterial(0, {1, 0, 0, 1, 1, 0, 1, 1}))     // a group's
      .Chunk("Mat1", 6, 99, CobMaterial(0, {1, 0, 0, 1, 1, 0, 1, 1}))    // nobody's
      .Chunk("Mat1", 7, 2, CobMaterial(0xFFFF, {1, 0, 0, 1, 1, 0, 1, 1}));  // number -1
  test::ReadResult r = Read(file);
  ASSERT_EQ(Objects(r).size(), 1u);
  Separator& group = *Objects(r)[0];
  EXPECT_EQ(ChildAt<Material>(group, 0), nullptr);
  auto* object = ChildAt<Separator>(group, 0);
  ASSERT_NE(object, nullptr);
  auto* m = ChildAt<Material>(*object, 0);
  ASSERT_NE(m, nullptr);
  ASSERT_EQ(m->LongestList(), 3u);  // grown to reach number 2
  const MaterialValue two = m->ValueAt(2), zero = m->ValueAt(0);
  EXPECT_EQ(two.ambient, (Vec3{0.1 * 0.5, 0.1 * 1, 0.1 * 0.25}));  // ka 0 counts as 0.1
  EXPECT_EQ(two.diffuse, (Vec3{0.5, 1, 0.25}));
  EXPECT_EQ(two.specular, (Vec3{0.5, 0.5, 0.5}));
  EXPECT_EQ(two.emissive, (Vec3{0, 0, 0}));
  EXPECT_EQ(std::pair(two.shininess, two.transparency), std::pair(8.0, 0.25));
  EXPECT_EQ(zero.ambient, (Vec3{0.5, 0.5, 0.5}));
  EXPECT_TRUE(EqualMaterials(m->ValueAt(1), MaterialValue{}));
  ASSERT_EQ(r.faces.size(), 1u);
  EXPECT_EQ(r.faces[0].material.diffuse, (Vec3{0.5, 1, 0.25}));
}

TEST(CobReader, MaterialRecordsAreReadUpToTheFirstUnknownOne) {
  // A record: its tag, a byte, a string, then `floats` numbers.
  auto record = [](std::string tag, std::size_t floats) {
    return tag + '\0' + test::CobBody().Str("x").bytes + std::string(floats * 4, '\0');
  };
  const struct {
    const char* name;
    std::string records;
    bool read;
  } rows[] = {{"none", "", true},
              {"env, bump", record("e:", 0) + record("b:", 5), true},
              {"texture, then no record read", record("t:", 4) + "b:", true},
              {"unknown", "xx", true},
              {"bump cut short", record("b:", 0), false}};
  for (const auto& row : rows) {
    test::CobBody mat = CobMaterial(0, {0, 1, 0, 1, 1, 0, 1, 1});
    mat.Text(row.records);
    CobFile file;
    file.Chunk("PolH", 1, 0, CobTriangle()).Chunk("Mat1", 2, 1, mat);
    test::ReadResult r = Read(file);
    ASSERT_EQ(r.faces.size(), 1u) << row.name;
    const Vec3 green{0, 1, 0};
    EXPECT_EQ(r.faces[0].material.diffuse, row.read ? green : MaterialValue{}.diffuse) << row.name;
    EXPECT_EQ(r.Errors().size(), row.read ? 0u : 1u) << row.name;
  }
}

TEST(CobReader, ObjectsNestUnderTheirParentsWithinTheObjectTable) {
  CobFile file;
  file.Chunk("Grou", 5, 0, test::CobObject("Top"));
  file.Chunk("PolH", 6, 6, CobTriangle("Self"));  // its own parent: to the root
  for (std::uint32_t id = 100; id < 100 + 1022; ++id) file.Chunk("Grou", id, 0, test::CobObject("g"));
  file.Chunk("Grou", 7, 0, test::CobObject("Last"));       // the 1,025th: not recorded
  file.Chunk("PolH", 8, 7, CobTriangle("ToLast"));        // so this goes to the root
  file.Chunk("PolH", 9, 100 + 1021, CobTriangle("ToG"));  // the 1,024th takes children
  file.Chunk("PolH", 10, 5, CobTriangle("Inside", {1, 0, 0, 5, 0, 1, 0, 0, 0, 0, 1, 0}));
  test::ReadResult r = Read(file);
  const auto objects = Objects(r);
  ASSERT_EQ(objects.size(), 1026u);
  EXPECT_EQ(objects[1]->name, "Self");
  EXPECT_EQ(objects[1024]->name, "Last");
  EXPECT_TRUE(objects[1024]->children.empty());
  EXPECT_EQ(objects[1025]->name, "ToLast");
  ASSERT_EQ(objects[1023]->children.size(), 1u);
  EXPECT_EQ(static_cast<Separator&>(*objects[1023]->children[0]).name, "ToG");
  // A position that is not the identity comes before the points (after the
  // binding), transposed into the scene's row-vector matrices.
  auto* inside = ChildAt<Separator>(*objects[0], 0);
  ASSERT_NE(inside, nullptr);
  EXPECT_EQ(inside->name, "Inside");
  auto* move = ChildAt<MatrixTransform>(*inside, 1);
  ASSERT_NE(move, nullptr);
  EXPECT_EQ(std::tuple(move->matrix[12], move->matrix[3], move->matrix[15]), std::tuple(5, 0, 1));
  EXPECT_EQ(ChildAt<MatrixTransform>(*objects[1], 1), nullptr);
  ASSERT_EQ(r.faces.size(), 4u);
  EXPECT_NEAR(r.faces[0].corners[0].z, 1 + 5, 1e-12);  // "Inside" comes first  // file x is the editor's z
}

TEST(CobReader, AFileCutInsideAChunkKeepsTheObjectsBeforeIt) {
  CobFile whole;
  whole.Chunk("PolH", 1, 0, CobTriangle(), 4)  // four trailing bytes of a later version
      .Chunk("OLay", 2, 0, test::CobBody().U32(0).U16(0))
      .Chunk("PolH", 3, 0, CobTriangle())
      .Chunk("END ", 0, 0, {});
  const std::string& bytes = whole.bytes();
  // The trailing bytes are inside the first chunk's data and are skipped.
  std::string padded = bytes;
  padded.insert(32 + 20 + CobTriangle().bytes.size(), 4, '\x7f');
  const std::size_t second = 32 + 20 + CobTriangle().bytes.size() + 4 + 20 + 6;
  const struct {
    const char* name;
    std::string bytes;
    std::size_t objects;
    const char* error;
  } rows[] = {{"whole", padded, 2, ""},
              {"inside the first", padded.substr(0, 60), 0, "Premature EOF"},
              {"inside skipped data", padded.substr(0, second - 3), 1, "Premature EOF"},
              {"inside the second", padded.substr(0, second + 30), 1, "Premature EOF"},
              {"inside the last header", padded.substr(0, padded.size() - 1), 2, ""}};
  for (const auto& row : rows) {
    test::ReadResult r = test::RunReader(&ImportTrueSpace, "t.cob", row.bytes);
    EXPECT_EQ(r.faces.size(), row.objects) << row.name;
    EXPECT_EQ(r.Errors(), *row.error ? std::vector<std::string>{row.error} : std::vector<std::string>{})
        << row.name;
    EXPECT_EQ(r.importer->emptyReason(), row.objects ? "" : row.error) << row.name;
    EXPECT_EQ(r.importer->dropped().size(), row.objects && *row.error ? 1u : 0u) << row.name;
  }
}

TEST(CobImport, ReportsItsTitleAndProgressAndConverts) {
  test::ImportFixture f;
  CobFile file;
  file.Chunk("PolH", 1, 0, CobTriangle()).Chunk("PolH", 2, 0, CobTriangle("Two"));
  const std::string path = f.Write("t.cob", file.bytes());
  ASSERT_TRUE(f.Import(path));
  EXPECT_EQ(f.progress.titles,
            (std::vector<std::string>{"Scanning VRML File...", "Importing TrueSpace File...",
                                      "Loading Polygons...", "Importing Objects..."}));
  ASSERT_FALSE(f.progress.positions.empty());
  const auto& p = f.progress.positions;
  // The reader's positions climb to 100 before the walk starts again at 0.
  const auto walk = std::find(p.begin(), p.end(), 0);
  ASSERT_NE(walk, p.begin());
  EXPECT_EQ(*(walk - 1), 100);
  EXPECT_TRUE(std::is_sorted(p.begin(), walk));
  EXPECT_EQ(std::tuple(f.userPoints(), f.tables().polygonCount), std::tuple(3u, 2u));
}

// Cut at every length, a file with each kind of chunk reads without harm:
// never more faces than the whole file, never more than one error line,
// and that line is the one for a cut chunk.
TEST(CobReader, EveryCutOfAFileIsReadSafely) {
  test::CobBody material = CobMaterial(1, {1, 0, 0, 1, 0.5f, 0, 1, 1});
  material.Text("e:").U8(0).Str("env");
  CobFile file;
  file.Chunk("Grou", 1, 0, test::CobObject("G"))
      .Chunk("PolH", 2, 1, CobPolygons("P", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}},
                                       {{{0, 1, 2}, 1}, {{1, 2}, 0, 0x08}, {{1, 3, 2}, 0}}))
      .Chunk("Mat1", 3, 2, material)
      .Chunk("END ", 4, 0, {});
  const std::string& bytes = file.bytes();
  test::TempDir dir;
  for (std::size_t n = 0; n <= bytes.size(); ++n) {
    test::ReadResult r = test::RunReader(&ImportTrueSpace, "t.cob", bytes.substr(0, n), &dir);
    ASSERT_LE(r.faces.size(), 2u) << n;
    ASSERT_LE(r.Errors().size(), 1u) << n;
    if (n >= 32 && !r.Errors().empty()) ASSERT_EQ(r.Errors()[0], "Premature EOF") << n;
    if (n == bytes.size()) EXPECT_EQ(std::pair(r.faces.size(), r.Errors().size()), std::pair(2ul, 0ul));
  }
}

}  // namespace
}  // namespace ws
