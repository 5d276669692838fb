#include <gtest/gtest.h>

#include "import/hand_over.h"
#include "reader_test_support.h"

namespace ws {
namespace {

using test::RunReader;

// The face sets of a RAW scene by name.
std::map<std::string, std::vector<std::int32_t>> FaceSets(test::ReadResult& r) {
  std::map<std::string, std::vector<std::int32_t>> out;
  for (auto* f : r.Children<scene::IndexedFaceSet>()) out[f->name] = f->coordIndex;
  return out;
}

TEST(RawTriangles, NineNumbersMakeATriangleEightDoNot) {
  auto r = RunReader(ImportRaw, "t.raw",
                     "0 0 0 1 0 0 0 1 0\n"
                     "0 0 0 1 0 0 0 1\n"          // eight numbers
                     "-1 0 0 -2 0 0 -1 -1 0.5 extra words\n"
                     "1 2 3 4 5 6 7 8 x\n");      // the ninth is no number
  ASSERT_TRUE(r.ok);
  ASSERT_EQ(r.faces.size(), 2u);
  EXPECT_EQ(r.faces[0].corners[1], (Vec3{1, 0, 0}));
  EXPECT_EQ(r.faces[1].corners[2], (Vec3{-1, -1, 0.5}));
  // Single precision, widened.
  auto tenth = RunReader(ImportRaw, "t.raw", "0.1 0 0 1 0 0 0 1 0\n");
  ASSERT_EQ(tenth.faces.size(), 1u);
  EXPECT_EQ(tenth.faces[0].corners[0].x, static_cast<double>(0.1f));
}

TEST(RawTriangles, SharedCornersSharePoints) {
  auto r = RunReader(ImportRaw, "t.raw",
                     "0 0 0 1 0 0 0 1 0\n"
                     "1 0 0 0 1 0 1.000004 1 0\n");
  auto coords = r.Children<scene::Coordinate3>();
  ASSERT_EQ(coords.size(), 1u);
  EXPECT_EQ(coords[0]->point.size(), 4u);
  EXPECT_EQ(FaceSets(r)["G"], (std::vector<std::int32_t>{0, 1, 2, -1, 1, 2, 3, -1}));
}

TEST(RawGroups, NameLinesSelectGroups) {
  auto r = RunReader(ImportRaw, "t.raw",
                     "0 0 0 1 0 0 0 1 0\n"           // group 0, named ""
                     "wing left\n"                   // unquoted: ends at the blank
                     "0 0 1 1 0 1 0 1 1\n"
                     "\"tail fin\" rest\n"           // quoted: blanks allowed
                     "0 0 2 1 0 2 0 1 2\n"
                     ".5 0 0 1 0 0 0 1 0\n"          // a leading point is a name
                     "0 0 3 1 0 3 0 1 3\n"
                     "\n"                            // empty line: the group named ""
                     "0 0 4 1 0 4 0 1 4\n"
                     "wing\n"                        // a name met before
                     "0 0 5 1 0 5 0 1 5\n"
                     "\"open quote\n"                // the line end closes it
                     "0 0 6 1 0 6 0 1 6\n");
  auto sets = FaceSets(r);
  ASSERT_EQ(sets.size(), 5u);
  EXPECT_EQ(sets["G"].size(), 8u);           // triangles 0 and 4
  EXPECT_EQ(sets["wing"].size(), 8u);        // triangles 1 and 5
  EXPECT_EQ(sets["tail fin"].size(), 4u);
  EXPECT_EQ(sets["G.5"].size(), 4u);
  EXPECT_EQ(sets["open quote"].size(), 4u);
  // Group order is the order of first use.
  auto faceSets = r.Children<scene::IndexedFaceSet>();
  EXPECT_EQ(faceSets[0]->name, "G");
  EXPECT_EQ(faceSets[1]->name, "wing");
}

TEST(RawGroups, EveryTriangleHasTheDefaultMaterial) {
  auto r = RunReader(ImportRaw, "t.raw", "a\n0 0 0 1 0 0 0 1 0\nb\n0 0 1 1 0 1 0 1 1\n");
  auto bindings = r.Children<scene::MaterialBinding>();
  ASSERT_EQ(bindings.size(), 1u);
  EXPECT_EQ(bindings[0]->value, scene::Binding::kPerFaceIndexed);
  ASSERT_EQ(r.faces.size(), 2u);
  for (const auto& f : r.faces) EXPECT_TRUE(EqualMaterials(f.material, MaterialValue{}));
}

TEST(RawLines, LongLinesAreReadIn255CharacterPieces) {
  // 250 blanks then a triangle split across the 255-character boundary:
  // neither piece holds nine numbers.
  std::string text(250, ' ');
  text += "1 2 3 4 5 6 7 8 9\n";
  // Exactly 255 characters then the line end: the "\n" alone is a second,
  // empty line, which selects the group named "".
  std::string name = "x" + std::string(254, 'y');
  text += name + "\n0 0 0 1 0 0 0 1 0\n";
  auto r = RunReader(ImportRaw, "t.raw", text);
  auto sets = FaceSets(r);
  ASSERT_EQ(r.faces.size(), 1u);
  EXPECT_EQ(sets.count(GroupNodeName(name)), 0u);
  EXPECT_EQ(sets["G"].size(), 4u);
}

TEST(RawLines, StatusLineBeforeEveryHundredthLine) {
  std::string text;
  for (int i = 0; i < 250; ++i) text += "0 0 0 1 0 0 0 1 0\n";  // 18 bytes a line
  auto r = RunReader(ImportRaw, "t.raw", text);
  EXPECT_EQ(r.log, (std::vector<std::string>{"Reading 0.0% Complete", "Reading 40.0% Complete",
                                             "Reading 80.0% Complete"}));
  EXPECT_EQ(r.faces.size(), 250u);
}

TEST(RawFiles, MissingFileDoesNothing) {
  test::TempDir dir;
  ImportNotifier notifier(dir.File("log.txt"));
  Importer importer(notifier);
  EXPECT_TRUE(ImportRaw(importer, dir.File("missing.raw")));
  EXPECT_TRUE(importer.root().children.empty());
  EXPECT_EQ(test::ReadFileText(dir.File("log.txt")), "");
}

TEST(RawFiles, CarriageReturnsAndBinaryBytesAreHarmless) {
  std::string text = "name\r\n0 0 0 1 0 0 0 1 0\r\n";
  text += std::string("\0\xff\x80 1 2\0 3", 10) + "\n";
  auto r = RunReader(ImportRaw, "t.raw", text);
  ASSERT_EQ(r.faces.size(), 1u);
  EXPECT_EQ(FaceSets(r).count("name"), 1u);
}

}  // namespace
}  // namespace ws
