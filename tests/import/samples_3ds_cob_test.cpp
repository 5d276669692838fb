// Every 3D Studio and trueSpace sample, opened as the editor's Open does.
// `assimp info FILE -r` counts as many faces as we make polygons, but where
// a note says why; our points are welded corners, vectors distinct edges.
#include <gtest/gtest.h>

#include "import_test_support.h"

namespace ws {
namespace {

TEST(Samples3dsCob, OpenWithTheirRecordedCountsOrChangeNothing) {
  WS_SKIP_WITHOUT_SAMPLES();
  const std::string notBinary = "Selected file is not a binary Caligari COB file";
  const std::tuple<const char*, std::uint32_t, std::uint32_t, std::uint32_t, std::string> rows[] = {
      {"3ds/CameraRollAnim.3ds", 8, 18, 12, ""},
      {"3ds/CameraRollAnimWithChildObject.3ds", 16, 36, 24, ""},
      {"3ds/RotatingCube.3DS", 8, 18, 12, ""},
      {"3ds/TargetCameraAnim.3ds", 8, 18, 12, ""},
      {"3ds/cube_with_diffuse_texture.3DS", 8, 18, 12, ""},
      {"3ds/cubes_with_alpha.3DS", 40, 90, 60, ""},
      {"3ds/fels.3ds", 386, 1152, 768, ""},
      {"3ds/test1.3ds", 72, 162, 108, ""},
      // The spider (assimp: 1,368) welds 762 vertices into 722 points: 56
      // triangles lose a corner (as in its OBJ copy).
      {"3ds/testFormatDetection", 722, 2004, 1312, ""},
      {"cob/spider_6_6.cob", 722, 2004, 1312, ""},
      {"cob/molecule.cob", 4 * 114, 4 * 240, 4 * 128, ""},  // four spheres of 114 vertices
      {"3ds/malformed/test1_truncated.3ds", 48, 108, 72,    // six boxes stay; assimp refuses it
       "The file is damaged from byte 6327 on; the rest was not read"},
      {"3ds/malformed/empty.3ds", 0, 0, 0, "It is not a 3D Studio file."},
      {"cob/malformed/empty.cob", 0, 0, 0, "Permature EOF"},
      {"cob/malformed/fuzzed_caligari.cob", 0, 0, 0, notBinary},
      {"cob/malformed/molecule_ascii.cob", 0, 0, 0, notBinary},
      {"cob/malformed/spider_6_6_truncated.cob", 0, 0, 0, "Premature EOF"},  // in its only object
  };
  for (const auto& [file, points, vectors, polygons, why] : rows) {
    test::ImportFixture f;
    ASSERT_TRUE(NewObject(f.m(), "work"));
    const std::string path = f.dir.File("s." + std::string(file, 3));  // one 3DS file has no ending
    test::WriteFileBytes(path, test::ReadFileBytes(test::SamplePath(file)));
    const bool ok = OpenFile(f.m(), f.services, path, OpenMode::kOpen).ok;
    const std::string message =
        ok ? test::kDropped + ("   - " + why + "\n") : NothingToImportMessage(path) + "\n" + why;
    EXPECT_EQ(std::tuple(ok, f.userPoints(), f.userVectors(), f.tables().polygonCount,
                         f.ui.MessageTexts(), f.m().cluster.objectNames.size()),
              std::tuple(polygons > 0, points, vectors, polygons,
                         std::vector<std::string>(!why.empty(), message), ok ? 1u : 2u))
        << file;
  }
}

}  // namespace
}  // namespace ws
