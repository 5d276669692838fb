#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/cli_support.h"

namespace ws::cli {
namespace {

using nlohmann::json;

TEST(CliCheck, PrintsFindingsPerObjectAndExitsThreeOnlyWhenThereAreAny) {
  const std::string faulty = test::DataPath("check_faults.wdo");
  json found = json::parse(R"({"objects": [{"name": "Default Object", "findings": [
      {"kind": "collision-without-entrance", "polygons": [5], "vectors": [], "points": [],
       "message": "Collision polygon 5 has no Entrance polygon: walking in is impossible."},
      {"kind": "unused-vectors", "polygons": [], "vectors": [12], "points": [],
       "message": "1 vector belongs to no polygon: 12."},
      {"kind": "coincident-points", "polygons": [], "vectors": [], "points": [0, 8],
       "message": "Points 0, 8 lie at the same place (-50, -50, -50); Remove Duplicate Geometry merges them into 0."}]}]})");
  found["file"] = faulty;
  const json clean = {{"file", Cube()},
                      {"objects", {{{"name", "Default Object"}, {"findings", json::array()}}}}};
  for (const auto& [file, status, expected] :
       {std::tuple{Cube(), 0, clean}, {faulty, kExitFindings, found}}) {
    const CliRun r = Cli({"check", file});
    EXPECT_EQ(std::tuple(r.status, r.err), std::tuple(status, "")) << file;
    EXPECT_EQ(json::parse(r.out, nullptr, false), expected) << file;
  }
  // A bad command line or file is a failure, not a finding.
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"check"}, {"check", Cube(), Cube()}, {"check", faulty + ".x"}}) {
    const CliRun r = Cli(args);
    EXPECT_EQ(std::tuple(r.status, r.out), std::tuple(1, "")) << args.size();
  }
}

}  // namespace
}  // namespace ws::cli
