#include <gtest/gtest.h>

#include <map>

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
                     "1 0.5 0 0 0 0 1 0 0 0 1 0 _tex\n"  // a colour and the triangle
                     "1 0 0 0 1 0 1.000004 1 0\n");      // shared corners share points
  ASSERT_EQ(r.faces.size(), 3u);
  EXPECT_EQ(r.faces[0].corners[0].x, static_cast<double>(0.1f));  // single precision, widened
  EXPECT_TRUE(EqualMaterials(r.faces[0].material, MaterialValue{}));
  EXPECT_EQ(r.faces[1].corners, (std::vector<Vec3>{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}));
  EXPECT_TRUE(EqualMaterials(r.faces[1].material, MaterialFromColor({1, 0.5, 0})));
  EXPECT_EQ(FaceSets(r)["G"], (std::vector<std::int32_t>{0, 1, 2, -1, 3, 1, 2, -1, 1, 2, 4, -1}));
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

TEST(RawLines, StatusLineBeforeEveryHundredthLine) {
  std::string text;
  for (int i = 0; i < 250; ++i) text += "0 0 0 1 0 0 0 1 0\n";  // 18 bytes a line
  auto r = RunReader(ImportRaw, "t.raw", text);
  EXPECT_EQ(r.log, (std::vector<std::string>{"Reading 0.0% Complete", "Reading 40.0% Complete",
                                             "Reading 80.0% Complete"}));
  EXPECT_EQ(r.faces.size(), 250u);
}

}  // namespace
}  // namespace ws
