#include <gtest/gtest.h>

#include <map>

#include "import/hand_over.h"
#include "import_test_support.h"

namespace ws {
namespace {

using test::RunReader;

// The face sets of a RAW scene by name.
std::map<std::string, std::vector<std::int32_t>> FaceSets(test::ReadResult& r) {
  std::map<std::string, std::vector<std::int32_t>> out;
  for (auto* f : r.Children<scene::IndexedFaceSet>()) out[f->name] = f->coordIndex;
  return out;
}

TEST(RawTriangles, NineOrTwelveNumbersMakeATriangle) {
  auto r = RunReader(ImportRaw, "t.raw",
                     "0.1 0 0 1 0 0 0 1 0\n"
                     "0 0 0 1 0 0 0 1\n"  // eight numbers
                     "-1 0 0 -2 0 0 -1 -1 0.5 extra words\n"
                     "1 2 3 4 5 6 7 8 x\n"                 // the ninth is no number
                     "1 0.5 0 0 0 0 1 0 0 0 1 0 _tex\n");  // a colour and the triangle
  ASSERT_TRUE(r.ok);
  ASSERT_EQ(r.faces.size(), 3u);
  EXPECT_EQ(r.faces[0].corners[0].x, static_cast<double>(0.1f));  // single precision, widened
  EXPECT_EQ(r.faces[1].corners[2], (Vec3{-1, -1, 0.5}));
  EXPECT_TRUE(EqualMaterials(r.faces[1].material, MaterialValue{}));
  EXPECT_EQ(r.faces[2].corners, (std::vector<Vec3>{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}));
  EXPECT_TRUE(EqualMaterials(r.faces[2].material, MaterialFromColor({1, 0.5, 0})));
  // Shared corners share points (within 1e-5).
  auto shared = RunReader(ImportRaw, "t.raw", "0 0 0 1 0 0 0 1 0\n1 0 0 0 1 0 1.000004 1 0\n");
  EXPECT_EQ(FaceSets(shared)["G"], (std::vector<std::int32_t>{0, 1, 2, -1, 1, 2, 3, -1}));
}

TEST(RawGroups, NameLinesSelectGroups) {
  auto r = RunReader(ImportRaw, "t.raw",
                     "0 0 0 1 0 0 0 1 0\n"  // group 0, named ""
                     "wing left\n"          // unquoted: ends at the blank
                     "0 0 1 1 0 1 0 1 1\n"
                     "\"tail fin\" rest\n"  // quoted: blanks allowed
                     "0 0 2 1 0 2 0 1 2\n"
                     ".5 0 0 1 0 0 0 1 0\n"  // a leading point is a name
                     "0 0 3 1 0 3 0 1 3\n"
                     "\n"  // empty line: the group named ""
                     "0 0 4 1 0 4 0 1 4\n"
                     "wing\n"  // a name met before
                     "0 0 5 1 0 5 0 1 5\n"
                     "\"open quote\n"  // the line end closes it
                     "0 0 6 1 0 6 0 1 6\n");
  std::map<std::string, std::size_t> sizes;
  for (const auto& [name, faces] : FaceSets(r)) sizes[name] = faces.size();
  EXPECT_EQ(sizes, (std::map<std::string, std::size_t>{
                       {"G", 8}, {"wing", 8}, {"tail fin", 4}, {"G.5", 4}, {"open quote", 4}}));
  EXPECT_EQ(r.Children<scene::IndexedFaceSet>().at(1)->name, "wing");  // in the order of first use
}

TEST(RawLines, LongLinesAreReadIn255CharacterPieces) {
  // A triangle split across the 255-character boundary: neither piece holds
  // nine numbers. Then exactly 255 characters and the line end: the "\n"
  // alone is a second, empty line, which selects the group named "".
  const std::string name = "x" + std::string(254, 'y');
  auto r =
      RunReader(ImportRaw, "t.raw",
                std::string(250, ' ') + "1 2 3 4 5 6 7 8 9\n" + name + "\n0 0 0 1 0 0 0 1 0\n");
  ASSERT_EQ(r.faces.size(), 1u);
  EXPECT_EQ(FaceSets(r).count(GroupNodeName(name)), 0u);
  EXPECT_EQ(FaceSets(r)["G"].size(), 4u);
}

TEST(RawLines, StatusLineBeforeEveryHundredthLine) {
  std::string text;
  for (int i = 0; i < 250; ++i) text += "0 0 0 1 0 0 0 1 0\n";  // 18 bytes a line
  auto r = RunReader(ImportRaw, "t.raw", text);
  EXPECT_EQ(r.log, (std::vector<std::string>{"Reading 0.0% Complete", "Reading 40.0% Complete",
                                             "Reading 80.0% Complete"}));
  EXPECT_EQ(r.faces.size(), 250u);
}

TEST(RawFiles, MissingFilesAndBinaryBytesAreHarmless) {
  test::TempDir dir;
  ImportNotifier notifier(dir.File("log.txt"));
  Importer importer(notifier);
  EXPECT_TRUE(ImportRaw(importer, dir.File("missing.raw")));
  EXPECT_TRUE(importer.root().children.empty());
  EXPECT_EQ(test::ReadFileText(dir.File("log.txt")), "");
  auto r =
      RunReader(ImportRaw, "t.raw",
                "name\r\n0 0 0 1 0 0 0 1 0\r\n" + std::string("\0\xff\x80 1 2\0 3", 10) + "\n");
  ASSERT_EQ(r.faces.size(), 1u);
  EXPECT_EQ(FaceSets(r).count("name"), 1u);
}

TEST(RawImport, ShortLinesAreNamedInTheDropReport) {
  test::ImportFixture f;
  ASSERT_TRUE(f.Import(f.Write("a.raw", "0 0 0 1 0 0 0 1 0\n1 2 3\ng\n0 0 0 1 0 0 0 1\n")));
  EXPECT_EQ(f.tables().polygonCount, 1u);
  EXPECT_EQ(f.ui.MessageTexts(),
            (std::vector<std::string>{
                std::string(test::kDropped) +
                "   - 2 lines with fewer than nine numbers were skipped (lines 2, 4)\n"}));
  const std::string shortOnly = f.Write("b.raw", "1 2 3\n");
  EXPECT_FALSE(f.Import(shortOnly));
  EXPECT_EQ(f.ui.MessageTexts().back(), "There is nothing Wirestead can import in \"" + shortOnly +
                                            "\"\nNo line holds the nine numbers of a triangle.");
}

}  // namespace
}  // namespace ws
