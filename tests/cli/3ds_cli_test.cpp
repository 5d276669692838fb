// The command-line tool reads 3D Studio files as the editor's Open does.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/cli_support.h"
#include "import/tds_writer.h"

namespace ws::cli {
namespace {

using namespace test::tds;

// The file's (x, y, z) is the editor's (y, z, x); scaled to 360 units.
TEST(CliImport, ReadsA3dsFile) {
  test::TempDir dir;
  const Bytes file =
      File(Object("t", Cat({Vertices({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}), Faces({{0, 1, 2}})})));
  test::WriteFileBytes(dir.File("t.3ds"), file);
  const nlohmann::json o = nlohmann::json::parse(Cli({"info", dir.File("t.3ds")}).out);
  EXPECT_EQ(std::tuple(o["kind"], o["objects"][0]["bbox"], o["objects"][0]["polygons"]),
            std::tuple("import", nlohmann::json({-180, 0, -180, 180, 0, 180}), 1));
}

}  // namespace
}  // namespace ws::cli
