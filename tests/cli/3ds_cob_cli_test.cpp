// wirestead-cli reads 3D Studio and trueSpace files as the editor's Open
// does: the file's (x, y, z) is the editor's (y, z, x), scaled to 360 units.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/cli_support.h"
#include "import/cob_test_writer.h"

namespace ws::cli {
namespace {

TEST(CliImport, InfoReads3dsAndCobFiles) {
  using namespace test;
  TempDir dir;
  const std::string points = Le<U16>({3}) + Le<float>({1, 2, 3, 4, 0, 0, 0, 5, 0});
  WriteFileText(dir.File("t.3ds"),
                tds::File(tds::Object("t", tds::Chunk(0x4110, points) +
                                               tds::Chunk(0x4120, Le<U16>({1, 0, 1, 2, 0})))));
  WriteFileText(dir.File("t.cob"), cob::kHeader + cob::Chunk("PolH", 1, 0, cob::Polygons("t")));
  for (const char* file : {"t.3ds", "t.cob"}) {
    const nlohmann::json o = nlohmann::json::parse(Cli({"info", dir.File(file)}).out)["objects"][0];
    std::string read = o["polygons"].dump();
    for (double v : o["bbox"]) read += ' ' + std::to_string(std::lround(v));
    EXPECT_EQ(read, "1 -180 -108 -144 180 108 144") << file;
  }
}

}  // namespace
}  // namespace ws::cli
