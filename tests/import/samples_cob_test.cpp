// Every trueSpace file of the shared sample set, opened as the editor's
// Open does. Face counts checked once with `assimp info FILE -r`: 512 for
// molecule.cob (four spheres of 32 triangles and 96 quadrilaterals, 114
// vertices and so 240 edges each: all kept) and 1,368 for spider_6_6.cob,
// where ours is 1,312: its 762 vertices weld into 722 points and 56
// triangles lose a corner to the welding (the spider of the OBJ samples,
// the same model, gives the same counts).
#include <gtest/gtest.h>

#include "import_test_support.h"

namespace ws {
namespace {

TEST(CobSamples, OpenWithTheirRecordedCounts) {
  WS_SKIP_WITHOUT_SAMPLES();
  const struct {
    const char* file;
    std::uint32_t points, vectors, polygons;
  } rows[] = {{"cob/molecule.cob", 4 * 114, 4 * 240, 4 * 128},
              {"cob/spider_6_6.cob", 722, 2004, 1312}};
  for (const auto& row : rows) {
    test::ImportFixture f;
    const std::string path = test::SamplePath(row.file);
    EXPECT_TRUE(OpenFile(f.m(), f.services, path, OpenMode::kOpen).ok) << row.file;
    EXPECT_EQ(std::tuple(f.userPoints(), f.userVectors(), f.tables().polygonCount),
              std::tuple(row.points, row.vectors, row.polygons))
        << row.file;
    EXPECT_TRUE(f.ui.MessageTexts().empty()) << row.file;
    test::ExpectConsistent(f.tables());
  }
}

// The truncated spider ends inside its only object, so nothing of it is
// complete.
TEST(CobSamples, MalformedFilesAreRefusedAndChangeNothing) {
  WS_SKIP_WITHOUT_SAMPLES();
  const std::pair<const char*, const char*> rows[] = {
      {"cob/malformed/empty.cob", "Permature EOF"},
      {"cob/malformed/fuzzed_caligari.cob", "Selected file is not a binary Caligari COB file"},
      {"cob/malformed/molecule_ascii.cob", "Selected file is not a binary Caligari COB file"},
      {"cob/malformed/spider_6_6_truncated.cob", "Premature EOF"}};
  for (const auto& [file, why] : rows) {
    test::ImportFixture f;
    ASSERT_TRUE(NewObject(f.m(), "work"));
    f.ui.ClearMessages();
    const std::string path = test::SamplePath(file);
    ASSERT_TRUE(test::FileExists(path)) << path;
    EXPECT_FALSE(OpenFile(f.m(), f.services, path, OpenMode::kMerge).ok) << file;
    EXPECT_EQ(f.ui.MessageTexts(), (std::vector<std::string>{
                                       "There is nothing Wirestead can import in \"" + path +
                                       "\"\n" + why}))
        << file;
    EXPECT_EQ(f.m().cluster.objectNames, (std::vector<std::string>{"Default Object", "work"}))
        << file;
    EXPECT_EQ(f.tables().pointCount, kReservedPoints) << file;
  }
}

}  // namespace
}  // namespace ws
