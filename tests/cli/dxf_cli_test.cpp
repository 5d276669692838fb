// The CLI reads DXF files through the same scene import as Open.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli_support.h"

namespace ws::cli {
namespace {

using json = nlohmann::json;

TEST(CliDxf, InfoReadsADrawing) {
  test::TempDir dir;
  test::WriteFileText(dir.File("t.dxf"),
                      "0\nSECTION\n2\nENTITIES\n0\n3DFACE\n8\nA layer\n10\n0\n20\n0\n30\n-1\n"
                      "11\n1\n21\n0\n31\n1\n12\n0\n22\n1\n32\n1\n13\n0\n23\n1\n33\n1\n0\nENDSEC\n0\nEOF\n");
  const json o = json::parse(Cli({"info", dir.File("t.dxf")}).out);
  EXPECT_EQ(std::tuple(o["kind"], o["objects"][0]["bbox"], o["objects"][0]["polygons"]),
            std::tuple("import", json({-90, -90, -180, 90, 90, 180}), 1));
}

}  // namespace
}  // namespace ws::cli
