// The CLI reads VRML files through the same scene import as Open.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli_support.h"

namespace ws::cli {
namespace {

using json = nlohmann::json;

TEST(CliVrml, InfoReadsBothVersions) {
  test::TempDir dir;
  test::WriteFileText(dir.File("one.wrl"), "#VRML V1.0 ascii\nCube { width 4 }");
  test::WriteFileText(dir.File("two.WRL"),
                      "#VRML V2.0 utf8\nShape { geometry Box { size 4 2 2 } }");
  for (const char* file : {"one.wrl", "two.WRL"}) {
    const json o = json::parse(Cli({"info", dir.File(file)}).out);
    EXPECT_EQ(std::tuple(o["kind"], o["objects"][0]["bbox"], o["objects"][0]["polygons"]),
              std::tuple("import", json({-180, -90, -90, 180, 90, 90}), 6))
        << file;
  }
}

}  // namespace
}  // namespace ws::cli
