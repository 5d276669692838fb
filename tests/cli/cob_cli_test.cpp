// wirestead-cli reads trueSpace files through the editor's Open.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/cli_support.h"
#include "import/cob_test_writer.h"

namespace ws::cli {
namespace {

using nlohmann::json;

TEST(CliCob, InfoOpensABinaryFileAndRefusesATextOne) {
  test::TempDir dir;
  // The file's (1, 2, 3), (4, 0, 0), (0, 5, 0) turn into the editor's
  // (2, 3, 1), (0, 0, 4), (5, 0, 0), then scale by 360 / 5 about the centre.
  test::WriteFileText(dir.File("t.cob"), test::CobFile().Chunk("PolH", 1, 0, test::CobTriangle()).bytes());
  const json o = json::parse(Cli({"info", dir.File("t.cob")}).out);
  EXPECT_EQ(std::tuple(o["kind"], o["objects"][0]["polygons"]), std::tuple("import", 1));
  const double box[] = {-180, -108, -144, 180, 108, 144};
  for (int k = 0; k < 6; ++k) EXPECT_NEAR(o["objects"][0]["bbox"][k].get<double>(), box[k], 1e-9) << k;
  test::WriteFileText(dir.File("a.cob"), test::CobFile('A').bytes());
  const CliRun text = Cli({"info", dir.File("a.cob")});
  EXPECT_EQ(text.status, 1);
  EXPECT_NE(text.err.find("Selected file is not a binary Caligari COB file"), std::string::npos)
      << text.err;
}

}  // namespace
}  // namespace ws::cli
