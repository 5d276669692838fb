#include "cli/cli.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "support/test_support.h"

namespace ws::cli {
namespace {

using nlohmann::json;

const std::string kCube = "tests/data/cube.wdo";

std::string Prefs() { return test::BinaryDir() + "/Preferences"; }

struct CliRun {
  int status;
  std::string out, err;
};

CliRun Cli(std::vector<std::string> args) {
  args.insert(args.begin(), {"--prefs", Prefs()});
  std::ostringstream out, err;
  int status = RunCli(args, out, err);
  return {status, out.str(), err.str()};
}

TEST(CliInfo, SummarisesAnObjectFile) {
  CliRun r = Cli({"info", kCube});
  ASSERT_EQ(r.status, 0) << r.err;
  json j = json::parse(r.out);
  EXPECT_EQ(j["file"], kCube);
  EXPECT_EQ(j["kind"], "object");
  ASSERT_EQ(j["objects"].size(), 1u);
  const json& o = j["objects"][0];
  EXPECT_EQ(o["name"], "Default Object");
  EXPECT_EQ(o["points"], 8);
  EXPECT_EQ(o["vectors"], 12);
  EXPECT_EQ(o["polygons"], 6);
  EXPECT_EQ(o["bbox"], json({-50.0, -50.0, -50.0, 50.0, 50.0, 50.0}));
  EXPECT_TRUE(r.err.empty());
}

TEST(CliDump, ListsEveryFieldInFileNumbering) {
  CliRun r = Cli({"dump", kCube});
  ASSERT_EQ(r.status, 0) << r.err;
  json j = json::parse(r.out);
  ASSERT_EQ(j["colors"].size(), 256u);
  EXPECT_EQ(j["colors"][0], json({65535, 65535, 65535}));
  const json& o = j["objects"][0];
  ASSERT_EQ(o["points"].size(), 8u);
  EXPECT_EQ(o["points"][7], json({50.0, 50.0, 50.0}));
  ASSERT_EQ(o["vectors"].size(), 12u);
  EXPECT_EQ(o["vectors"][0],
            json({{"p1", 0}, {"p2", 2}, {"color", 0}, {"attribute", 0}, {"width", 0}, {"selected", 1}}));
  ASSERT_EQ(o["polygons"].size(), 6u);
  const json& p = o["polygons"][0];
  EXPECT_EQ(p["flags"], 1026);
  EXPECT_EQ(p["frontColor"], 8);
  EXPECT_EQ(p["frontFill"], 0x08080808);
  EXPECT_EQ(p["points"], json({0, 2, 6, 4}));
  EXPECT_EQ(p["vectors"], json({0, 1, 2, 3}));
  EXPECT_EQ(p["viewZones"], json::array());
  EXPECT_EQ(p["selected"], 1);
}

TEST(CliDump, CoversAFileWrittenWithDoublesAndViewZones) {
  test::TempDir dir;
  std::string text = test::ReadFileText(kCube);
  // Give polygon 1 a view-zone list with both flag bits, and a fractional point.
  auto at = text.find("(poly1)\r\n4,4,0,1026");
  ASSERT_NE(at, std::string::npos);
  text.replace(at, 19, "(poly1)\r\n4,4,1,1026");
  auto views = text.find("(views)", at);
  text.insert(views + 9, "49152\r\n");
  auto pt = text.find("-50.000000,-50.000000,-50.000000");
  text.replace(pt, 10, "-0.125000");
  test::WriteFileText(dir.File("z.wdo"), text);
  CliRun r = Cli({"dump", dir.File("z.wdo")});
  ASSERT_EQ(r.status, 0) << r.err;
  json o = json::parse(r.out)["objects"][0];
  EXPECT_EQ(o["polygons"][1]["viewZones"], json({49152}));
  EXPECT_EQ(o["points"][0][0], -0.125);
}

TEST(CliConvert, WdoToWdoReproducesTheFile) {
  test::TempDir dir;
  CliRun r = Cli({"convert", kCube, dir.File("copy.wdo")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(test::ReadFileText(dir.File("copy.wdo")), test::ReadFileText(kCube));
}

TEST(CliErrors, MissingCorruptAndUnsupportedFilesExitOneWithAMessage) {
  test::TempDir dir;
  CliRun missing = Cli({"info", dir.File("none.wdo")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("no such file"), std::string::npos);
  EXPECT_TRUE(missing.out.empty());

  std::string text = test::ReadFileText(kCube);
  test::WriteFileText(dir.File("cut.wdo"), text.substr(0, text.find("[VECTORS]")));
  CliRun corrupt = Cli({"dump", dir.File("cut.wdo")});
  EXPECT_EQ(corrupt.status, 1);
  EXPECT_EQ(corrupt.err, "Notification: Corrupt object definition file. [VECTORS] not found.\n");
  EXPECT_TRUE(corrupt.out.empty());

  CliRun badOut = Cli({"convert", kCube, dir.File("out.txt")});
  EXPECT_EQ(badOut.status, 1);
  EXPECT_FALSE(test::FileExists(dir.File("out.txt")));

  EXPECT_EQ(Cli({}).status, 1);
  EXPECT_EQ(Cli({"info"}).status, 1);
  EXPECT_EQ(Cli({"frobnicate", kCube}).status, 1);
  CliRun noPrefs = [&] {
    std::ostringstream out, err;
    int s = RunCli({"--prefs", dir.File("nothing"), "info", kCube}, out, err);
    return CliRun{s, out.str(), err.str()};
  }();
  EXPECT_EQ(noPrefs.status, 1);
  EXPECT_NE(noPrefs.err.find("Preferences"), std::string::npos);
}

TEST(CliBinary, FindsTheBuildTreePreferencesAndExitsWithStatus) {
  std::string cmd = std::string(WS_CLI_PATH) + " info " + kCube + " 2>/dev/null";
  FILE* p = popen(cmd.c_str(), "r");
  ASSERT_NE(p, nullptr);
  std::string out;
  char buf[4096];
  while (std::size_t n = fread(buf, 1, sizeof buf, p)) out.append(buf, n);
  EXPECT_EQ(pclose(p), 0);
  EXPECT_EQ(json::parse(out)["objects"][0]["polygons"], 6);
  std::string bad = std::string(WS_CLI_PATH) + " info /no/such/file.wdo 2>/dev/null";
  EXPECT_EQ(WEXITSTATUS(system(bad.c_str())), 1);
}

// The colours an object file carries are the cluster's colours.
TEST(CliColours, AnObjectFilesTableTravelsIntoTheCluster) {
  test::TempDir dir;
  std::string text = test::ReadFileText(kCube);
  const auto at = text.find("0000,ffff,ffff,ffff");
  ASSERT_NE(at, std::string::npos);
  text.replace(at, 19, "0000,1234,5678,9abc");
  test::WriteFileText(dir.File("x.wdo"), text);
  ASSERT_EQ(Cli({"convert", dir.File("x.wdo"), dir.File("y.wdc")}).status, 0);
  CliRun r = Cli({"dump", dir.File("y.wdc")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(json::parse(r.out)["colors"][0], json({0x1234, 0x5678, 0x9abc}));
}

// The private copy of a read-only Preferences file must be writable; the
// mode is checked as well as the run, since root can write a 0444 file.
TEST(CliPrefs, AReadOnlyPreferencesFileIsCopiedWritable) {
  namespace fs = std::filesystem;
  test::TempDir dir;
  const std::string readOnly = dir.File("Preferences"), copy = dir.File("copy");
  test::WriteFileBytes(readOnly, test::ReadFileBytes(Prefs()));
  fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  std::ostringstream out, err;
  ASSERT_TRUE(CopyPrivatePreferences(readOnly, copy, err)) << err.str();
  EXPECT_NE(fs::status(copy).permissions() & fs::perms::owner_write, fs::perms::none);
  EXPECT_EQ(RunCli({"--prefs", readOnly, "info", kCube}, out, err), 0) << err.str();
}

}  // namespace
}  // namespace ws::cli

namespace ws::cli {
namespace {

TEST(CliClusters, ObjectBecomesOneObjectClusterNamedAfterTheFile) {
  test::TempDir dir;
  CliRun c = Cli({"convert", kCube, dir.File("box.wdc")});
  ASSERT_EQ(c.status, 0) << c.err;
  CliRun r = Cli({"info", dir.File("box.wdc")});
  ASSERT_EQ(r.status, 0) << r.err;
  json j = json::parse(r.out);
  EXPECT_EQ(j["kind"], "cluster");
  ASSERT_EQ(j["objects"].size(), 1u);
  EXPECT_EQ(j["objects"][0]["name"], "cube");
  EXPECT_EQ(j["objects"][0]["polygons"], 6);
  // Every point, vector and polygon field survives the cluster, except the
  // vector lists, which loading rebuilds from the corners.
  json a = json::parse(Cli({"dump", kCube}).out)["objects"][0];
  json b = json::parse(Cli({"dump", dir.File("box.wdc")}).out)["objects"][0];
  EXPECT_EQ(a["points"], b["points"]);
  ASSERT_EQ(a["polygons"].size(), b["polygons"].size());
  for (std::size_t k = 0; k < a["polygons"].size(); ++k) {
    EXPECT_EQ(a["polygons"][k]["points"], b["polygons"][k]["points"]);
    EXPECT_EQ(a["polygons"][k]["flags"], b["polygons"][k]["flags"]);
  }
}

TEST(CliClusters, ClusterBecomesOneObjectFilePerObjectInADirectory) {
  test::TempDir dir;
  ASSERT_EQ(Cli({"convert", kCube, dir.File("box.wdc")}).status, 0);
  std::string out = dir.File("objects");
  std::filesystem::create_directory(out);
  CliRun r = Cli({"convert", dir.File("box.wdc"), out});
  ASSERT_EQ(r.status, 0) << r.err;
  ASSERT_TRUE(test::FileExists(out + "/cube.wdo"));
  json back = json::parse(Cli({"info", out + "/cube.wdo"}).out);
  EXPECT_EQ(back["objects"][0]["points"], 8);
  EXPECT_EQ(back["objects"][0]["polygons"], 6);
}

TEST(CliClusters, DamagedClusterExitsOneWithAMessage) {
  test::TempDir dir;
  ASSERT_EQ(Cli({"convert", kCube, dir.File("box.wdc")}).status, 0);
  auto bytes = test::ReadFileBytes(dir.File("box.wdc"));
  bytes.resize(bytes.size() - 40);  // the last resource loses its tail
  test::WriteFileBytes(dir.File("cut.wdc"), bytes);
  CliRun r = Cli({"info", dir.File("cut.wdc")});
  EXPECT_EQ(r.status, 1);
  EXPECT_FALSE(r.err.empty());
  EXPECT_TRUE(r.out.empty());
}

}  // namespace
}  // namespace ws::cli

namespace ws::cli {
namespace {

json FirstObject(const std::string& path) { return json::parse(Cli({"dump", path}).out)["objects"][0]; }

TEST(CliEdit, CommandsRunInOrderAndUndoRestores) {
  test::TempDir dir;
  CliRun r = Cli({"edit", kCube, dir.File("rot.wdo"), "select-all", "rotate-y-90"});
  ASSERT_EQ(r.status, 0) << r.err;
  // A quarter turn about y maps the cube onto itself: same point set.
  json a = FirstObject(kCube)["points"], b = FirstObject(dir.File("rot.wdo"))["points"];
  std::vector<json> sa(a.begin(), a.end()), sb(b.begin(), b.end());
  std::sort(sa.begin(), sa.end());
  std::sort(sb.begin(), sb.end());
  EXPECT_EQ(sa, sb);
  ASSERT_EQ(Cli({"edit", kCube, dir.File("undo.wdo"), "select-all", "rotate-y-45", "undo"}).status, 0);
  EXPECT_EQ(FirstObject(dir.File("undo.wdo"))["points"], a);
}

TEST(CliEdit, SelectionByFileNumberAndDelete) {
  test::TempDir dir;
  // A loaded file comes in selected: start from nothing.
  CliRun r = Cli({"edit", kCube, dir.File("d.wdo"), "unselect", "select-vectors:0", "delete"});
  ASSERT_EQ(r.status, 0) << r.err;
  json o = FirstObject(dir.File("d.wdo"));
  EXPECT_EQ(o["vectors"].size(), 11u);
  // Polygons using the deleted vector go with it.
  EXPECT_LT(o["polygons"].size(), 6u);
  CliRun bad = Cli({"edit", kCube, dir.File("x.wdo"), "select-vectors:12"});
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.err, "Notification: Vector 12 does not exist.\n");
  EXPECT_FALSE(test::FileExists(dir.File("x.wdo")));
}

TEST(CliEdit, PrimitivesValidateWithTheDialogMessages) {
  test::TempDir dir;
  CliRun ok = Cli({"edit", kCube, dir.File("c.wdo"), "select-all", "delete", "cube:20,30,40,0,0,0"});
  ASSERT_EQ(ok.status, 0) << ok.err;
  json o = FirstObject(dir.File("c.wdo"));
  EXPECT_EQ(o["points"].size(), 8u);
  EXPECT_EQ(o["polygons"].size(), 6u);
  CliRun refused = Cli({"edit", kCube, dir.File("r.wdo"), "circle:4,5001,0,0,0"});
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err, "Bad Value: Diameter too big (5000 max)\n");
  CliRun grid = Cli({"edit", kCube, dir.File("g.wdo"), "grid:51"});
  EXPECT_EQ(grid.status, 1);
  EXPECT_EQ(grid.err, "Notification: Value entered is out of range.\n");
  EXPECT_EQ(Cli({"edit", kCube, dir.File("u.wdo"), "frobnicate"}).status, 1);
}

TEST(CliEdit, DefinePolygonFromSelectedVectors) {
  test::TempDir dir;
  // Remove the faces, keep the edges, then close the first face again.
  CliRun r = Cli({"edit", kCube, dir.File("p.wdo"), "unselect", "select-polygons:0,1,2,3,4,5",
                  "delete", "select-vectors:0,1,2,3", "define-polygon"});
  ASSERT_EQ(r.status, 0) << r.err;
  json o = FirstObject(dir.File("p.wdo"));
  ASSERT_EQ(o["polygons"].size(), 1u);
  EXPECT_EQ(o["vectors"].size(), 12u);
  json last = o["polygons"].back();
  EXPECT_EQ(last["flags"], 0x502);
  EXPECT_EQ(last["points"].size(), 4u);
}

}  // namespace
}  // namespace ws::cli

namespace ws::cli {
namespace {

TEST(CliImport, ForeignFilesGoThroughTheSceneImport) {
  CliRun r = Cli({"info", "../shared/samples/obj/spider.obj"});
  ASSERT_EQ(r.status, 0) << r.err;
  json o = json::parse(r.out);
  EXPECT_EQ(o["kind"], "import");
  // Scaled and centred so the largest extent is 360 units.
  json box = o["objects"][0]["bbox"];
  EXPECT_DOUBLE_EQ(box[2].get<double>(), -180.0);
  EXPECT_DOUBLE_EQ(box[5].get<double>(), 180.0);
  EXPECT_EQ(o["objects"][0]["polygons"], 1312);
  test::TempDir dir;
  ASSERT_EQ(Cli({"convert", "../shared/samples/obj/spider.obj", dir.File("s.wdc")}).status, 0);
  EXPECT_EQ(json::parse(Cli({"info", dir.File("s.wdc")}).out)["objects"][0]["polygons"], 1312);
}

}  // namespace
}  // namespace ws::cli
