// The CLI writes the current object as an X file and reads X files through
// the same scene import as Open.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli_support.h"

namespace ws::cli {
namespace {

using json = nlohmann::json;

TEST(CliX, ConvertWritesXAndInfoReadsIt) {
  test::TempDir dir;
  for (const char* name : {"cube.x", "cube.X"}) {
    ASSERT_EQ(Cli({"convert", Cube(), dir.File(name)}).status, 0) << name;
    const json o = json::parse(Cli({"info", dir.File(name)}).out);
    EXPECT_EQ(std::tuple(o["kind"], o["objects"][0]["points"], o["objects"][0]["polygons"]),
              std::tuple("import", 8, 6))
        << name;
  }
  const CliRun refused = Cli({"convert", Cube(), dir.File("cube.xx")});
  EXPECT_EQ(std::tuple(refused.status, refused.err),
            std::tuple(1, "wirestead-cli: can't write " + dir.File("cube.xx") +
                              ": the output must end in .wdo, .wdc, .x, .gltf, .glb or .obj, or be a directory\n"));
  const std::string missing = dir.File("no such folder/cube.x");
  const CliRun failed = Cli({"convert", Cube(), missing});
  EXPECT_EQ(std::tuple(failed.status, failed.err),
            std::tuple(1, "wirestead-cli: Could Not Export \"" + missing + "\"\n"));
}

}  // namespace
}  // namespace ws::cli
