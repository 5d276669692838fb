#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/cli_support.h"
#include "cli/help_text.h"

namespace ws::cli {
namespace {

using nlohmann::json;

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST(CliCheck, PrintsFindingsPerObjectAndExitsThreeOnlyWhenThereAreAny) {
  test::TempDir dir;
  const std::string cube = test::ReadFileText(Cube());
  // The last face made Collision, and one point that nothing uses.
  const std::string faulty = dir.File("faulty.wdo");
  std::string text = Replaced(cube, "(poly5)\r\n4,4,0,1026", "(poly5)\r\n4,4,0,1090");
  text = Replaced(text, "[POINTS]\r\n8\r\n", "[POINTS]\r\n9\r\n");
  test::WriteFileText(faulty,
                      Replaced(text, "[VECTORS]", "200.000000,0.000000,0.000000\r\n[VECTORS]"));
  const json clean = {{"file", Cube()},
                      {"objects", {{{"name", "Default Object"}, {"findings", json::array()}}}}};
  json found = json::parse(R"({"objects": [{"name": "Default Object", "findings": [
      {"kind": "collision-without-entrance", "polygons": [5], "vectors": [], "points": [],
       "message": "Collision polygon 5 has no Entrance polygon: walking in is impossible."},
      {"kind": "unused-points", "polygons": [], "vectors": [], "points": [8],
       "message": "1 point is used by no vector and no polygon: 8."}]}]})");
  found["file"] = faulty;
  for (const auto& [file, status, expected] :
       {std::tuple{Cube(), 0, clean}, {faulty, kExitFindings, found}}) {
    const CliRun r = Cli({"check", file});
    EXPECT_EQ(std::tuple(r.status, r.err), std::tuple(status, "")) << file;
    EXPECT_EQ(json::parse(r.out, nullptr, false), expected) << file;
  }
  // A bad command line or file is a failure, not a finding.
  for (const std::vector<std::string>& args : {std::vector<std::string>{"check"},
                                               {"check", Cube(), Cube()},
                                               {"check", dir.File("none.wdo")}}) {
    const CliRun r = Cli(args);
    EXPECT_EQ(std::tuple(r.status, r.out), std::tuple(1, "")) << args.size();
  }
  EXPECT_NE(UsageText().find("wirestead-cli [--prefs PATH] check FILE\n"), std::string::npos);
  EXPECT_NE(HelpText().find("  3\n      check found something"), std::string::npos);
}

}  // namespace
}  // namespace ws::cli
