// wirestead-cli run in-process against the build tree's Preferences file:
// each command's output, its refusals, the renderer, the walk and the help.
#include "cli/cli.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <tuple>

#include "cli/help_text.h"
#include "cli/png_file.h"
#include "cli/render_command.h"
#include "cli/walk_command.h"
#include "support/test_support.h"

namespace ws::cli {
namespace {

using nlohmann::json;

struct CliRun {
  int status;
  std::string out, err;
};

std::string Prefs() { return test::BinaryDir() + "/Preferences"; }
std::string Cube() { return test::DataPath("cube.wdo"); }

CliRun Cli(std::vector<std::string> args, bool withPrefs = true) {
  if (withPrefs) args.insert(args.begin(), {"--prefs", Prefs()});
  std::ostringstream out, err;
  const int status = RunCli(args, out, err);
  return {status, out.str(), err.str()};
}

// A failed dump has no output and fails the parse, and with it the test.
json Dump(const std::string& path) { return json::parse(Cli({"dump", path}).out); }

std::vector<std::string> Split(const std::string& text, char separator = '\n') {
  std::vector<std::string> parts;
  std::istringstream in(text);
  for (std::string part; std::getline(in, part, separator);) parts.push_back(part);
  return parts;
}

TEST(CliInfo, SummarisesAnObjectFile) {
  CliRun r = Cli({"info", Cube()});
  ASSERT_EQ(std::tuple(r.status, r.err), std::tuple(0, ""));
  json expected = json::parse(R"({"kind": "object", "objects": [{"name": "Default Object",
      "points": 8, "vectors": 12, "polygons": 6, "bbox": [-50, -50, -50, 50, 50, 50]}]})");
  expected["file"] = Cube();
  EXPECT_EQ(json::parse(r.out), expected);
  // One point has a box of no size; no point has none.
  test::TempDir dir;
  const std::string colours =
      test::ReadFileText(Cube()).substr(0, test::ReadFileText(Cube()).find("[POINTS]"));
  for (const char* points : {"1\r\n1.000000,2.000000,3.000000\r\n", "0\r\n"}) {
    test::WriteFileText(dir.File("p.wdo"), colours + "[POINTS]\r\n" + points +
                                               "[VECTORS]\r\n0\r\n[POLYGONS]\r\n0\r\n");
    json box = json::parse(Cli({"info", dir.File("p.wdo")}).out)["objects"][0]["bbox"];
    EXPECT_EQ(box, points[0] == '1' ? json({1.0, 2.0, 3.0, 1.0, 2.0, 3.0}) : json()) << points;
  }
}

TEST(CliDump, ListsEveryFieldInFileNumbering) {
  test::TempDir dir;
  // Polygon 1 gets a view-zone entry with both flag bits, point 0 a fraction,
  // polygon 0 back colours of its own.
  std::string text = test::ReadFileText(Cube());
  auto at = text.find("(poly1)\r\n4,4,0,1026");
  ASSERT_NE(at, std::string::npos);
  text.replace(at, 19, "(poly1)\r\n4,4,1,1026");
  text.insert(text.find("(views)", at) + 9, "49152\r\n");
  text.replace(text.find("-50.000000,-50.000000,-50.000000"), 10, "-0.125000");
  text.replace(text.find("08080808,08080808,08,08"), 23, "08080808,09090909,08,09");
  test::WriteFileText(dir.File("z.wdo"), text);
  json j = Dump(dir.File("z.wdo")), o = j["objects"][0];
  EXPECT_EQ(std::tuple(j["colors"].size(), j["colors"][0]),
            std::tuple(256u, json({65535, 65535, 65535})));
  EXPECT_EQ(std::tuple(o["points"][0], o["points"][7], o["vectors"].size(), o["polygons"].size()),
            std::tuple(json({-0.125, -50.0, -50.0}), json({50.0, 50.0, 50.0}), 12u, 6u));
  EXPECT_EQ(o["vectors"][0], json::parse(R"({"p1": 0, "p2": 2, "color": 0, "attribute": 0,
      "width": 0, "selected": 1})"));
  EXPECT_EQ(o["polygons"][0], json::parse(R"({"flags": 1026, "frontColor": 8, "backColor": 9,
      "frontFill": 134744072, "backFill": 151587081, "selected": 1, "points": [0, 2, 6, 4],
      "vectors": [0, 1, 2, 3], "viewZones": []})"));
  EXPECT_EQ(o["polygons"][1]["viewZones"], json({49152}));
}

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
}

// An object file becomes a one-object cluster named after the file, with
// the file's points (the cluster tests cover its colours and every other
// field's round trip). A cluster becomes one object file per object.
TEST(CliConvert, ObjectToObjectClusterAndDirectoryAndBack) {
  test::TempDir dir;
  ASSERT_EQ(Cli({"convert", Cube(), dir.File("box.wdo")}).status, 0);
  EXPECT_EQ(test::ReadFileText(dir.File("box.wdo")), test::ReadFileText(Cube()));
  ASSERT_EQ(Cli({"convert", dir.File("box.wdo"), dir.File("box.wdc")}).status, 0);
  json info = json::parse(Cli({"info", dir.File("box.wdc")}).out);
  EXPECT_EQ(std::tuple(info["kind"], info["objects"].size(), info["objects"][0]["name"]),
            std::tuple("cluster", 1u, "box"));
  const json a = Dump(Cube())["objects"][0];
  EXPECT_EQ(Dump(dir.File("box.wdc"))["objects"][0]["points"], a["points"]);
  const std::string out = dir.File("objects");
  std::filesystem::create_directory(out);
  ASSERT_EQ(Cli({"convert", dir.File("box.wdc"), out}).status, 0);
  EXPECT_EQ(Dump(out + "/box.wdo")["objects"][0]["points"], a["points"]);
}

TEST(CliConvert, WritesEveryExportFormatAndInfoReadsItBack) {
  test::TempDir dir;
  // The cube's six squares come back as twelve triangles from glTF.
  const std::pair<const char*, int> formats[] = {
      {"cube.x", 6}, {"cube.gltf", 12}, {"cube.GLB", 12}, {"cube.obj", 6}};
  for (const auto& [name, polygons] : formats) {
    ASSERT_EQ(Cli({"convert", Cube(), dir.File(name)}).status, 0) << name;
    const json o = json::parse(Cli({"info", dir.File(name)}).out);
    EXPECT_EQ(std::tuple(o["kind"], o["objects"][0]["points"], o["objects"][0]["polygons"]),
              std::tuple("import", 8, polygons))
        << name;
  }
  const CliRun refused = Cli({"convert", Cube(), dir.File("cube.xx")});
  const std::string endings = ".wdo, .wdc, .x, .gltf, .glb or .obj, or be a directory\n";
  EXPECT_EQ(std::tuple(refused.status, refused.err),
            std::tuple(1, "wirestead-cli: can't write " + dir.File("cube.xx") +
                              ": the output must end in " + endings));
  const std::string missing = dir.File("no such folder/cube.glb");
  const CliRun failed = Cli({"convert", Cube(), missing});
  EXPECT_EQ(std::tuple(failed.status, failed.err),
            std::tuple(1, "wirestead-cli: Could Not Export \"" + missing + "\"\n"));
}

// The private copy of a read-only Preferences file must be writable; the
// mode is checked as well as the run, since root can write a 0444 file.
TEST(CliPrefs, AReadOnlyPreferencesFileIsCopiedWritable) {
  namespace fs = std::filesystem;
  test::TempDir dir;
  const std::string readOnly = dir.File("Preferences"), copy = dir.File("copy");
  test::WriteFileBytes(readOnly, test::ReadFileBytes(Prefs()));
  fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  std::ostringstream err;
  ASSERT_TRUE(CopyPrivatePreferences(readOnly, copy, err)) << err.str();
  EXPECT_NE(fs::status(copy).permissions() & fs::perms::owner_write, fs::perms::none);
  EXPECT_EQ(Cli({"--prefs", readOnly, "info", Cube()}, false).status, 0);
}

// Every refusal of a command line, a file or an output (a bad file is no
// Check Object finding).
TEST(CliErrors, ExitOneWithAMessageAndNoOutput) {
  test::TempDir dir;
  std::string text = test::ReadFileText(Cube());
  test::WriteFileText(dir.File("cut.wdo"), text.substr(0, text.find("[VECTORS]")));
  const std::string usage = "usage: wirestead-cli";
  std::vector<std::pair<std::vector<std::string>, std::string>> rows = {
      {{"info", dir.File("none.wdo")}, "wirestead-cli: no such file: " + dir.File("none.wdo")},
      {{"check", dir.File("cut.wdo")},
       "Notification: Corrupt object definition file. [VECTORS] not found.\n"},
      {{"--prefs", dir.File("nothing"), "info", Cube()},
       "wirestead-cli: can't find the Preferences file " + dir.File("nothing")},
      {{"render", dir.File("missing.wdo"), dir.File("x.png")}, "wirestead-cli: no such file"},
      {{"render", Cube(), dir.File("no/such/dir/x.png")}, "wirestead-cli: can't write"},
      {{"render", "a", "b", "--view", "sideways"}, "unknown view sideways"},
      {{"render", "a", "b", "--view"}, "--view needs a value"},
      {{"render", "a", "b", "--colour"}, "unknown render option --colour"},
      {{"walk", Cube(), "--frames", "fly"}, "bad walk script: unknown step \"fly\""},
      {{"walk", Cube(), "--frames"}, "--frames needs a value"},
      {{"walk", Cube(), "--fast"}, "unknown walk option --fast"},
      {{"walk", Cube(), "--png", dir.File("none/w.png")}, "wirestead-cli: can't write"}};
  // --help is an option alone, no command; the files named are never opened.
  for (const char* args : {"", "info", "frobnicate a", "--help info", "check a a", "render a",
                           "render a b c", "walk", "walk a b"}) {
    rows.push_back({Split(args, ' '), usage});
  }
  for (const char* size : {"0x5", "8193x10", "10x", "x10", "-5x5", "5x5x5", "1e3x5", ""}) {
    rows.push_back({{"render", "a", "b", "--size", size}, "wirestead-cli: bad size"});
  }
  for (const auto& [args, message] : rows) {
    CliRun r = Cli(args, args.empty() || args[0] != "--prefs");
    EXPECT_EQ(std::tuple(r.status, r.err.find(message) != std::string::npos, r.out),
              std::tuple(1, true, ""))
        << message << " / " << r.err;
  }
  EXPECT_FALSE(test::FileExists(dir.File("x.png")));
}

TEST(CliBinary, FindsTheBuildTreePreferencesAndExitsWithStatus) {
  test::TempDir dir;
  const std::string cli = WS_CLI_PATH;
  EXPECT_EQ(system((cli + " info " + Cube() + " >" + dir.File("o") + " 2>/dev/null").c_str()), 0);
  EXPECT_EQ(json::parse(test::ReadFileText(dir.File("o")))["objects"][0]["polygons"], 6);
  EXPECT_EQ(WEXITSTATUS(system((cli + " info /no/such/file.wdo 2>/dev/null").c_str())), 1);
}

TEST(CliEdit, CommandsRunInOrderOnFileNumbers) {
  test::TempDir dir;
  auto edit = [&](const std::string& out, std::vector<std::string> commands) {
    commands.insert(commands.begin(), {"edit", Cube(), dir.File(out)});
    return Cli(commands);
  };
  // Undo restores what a turn moved.
  ASSERT_EQ(edit("undo.wdo", {"select-all", "rotate-y-45", "undo"}).status, 0);
  EXPECT_EQ(Dump(dir.File("undo.wdo"))["objects"][0]["points"],
            Dump(Cube())["objects"][0]["points"]);
  // A loaded file comes in selected; polygons using a deleted vector go too.
  ASSERT_EQ(edit("d.wdo", {"unselect", "select-vectors:0", "delete"}).status, 0);
  json d = Dump(dir.File("d.wdo"))["objects"][0];
  EXPECT_EQ(std::tuple(d["vectors"].size(), d["polygons"].size()), std::tuple(11u, 4u));
  // Refusals use the editor's own messages and write nothing.
  const CliRun r = edit("x.wdo", {"select-vectors:12"});
  EXPECT_EQ(std::tuple(r.status, r.err),
            std::tuple(1, "Notification: Vector 12 does not exist.\n"));
  EXPECT_EQ(edit("x.wdo", {"frobnicate"}).status, 1);
  EXPECT_FALSE(test::FileExists(dir.File("x.wdo")));
}

// Options go anywhere among the files. The render defaults show in the
// rendering tests, the walk's here.
TEST(CommandLines, OptionsInAnyOrderAndTheWalkDefaults) {
  std::ostringstream err;
  const auto r = ParseRenderArgs({"render", "--view", "bottom", "in.wdc", "--size", "8192x1",
                                  "out.png", "--perspective", "--walk"},
                                 err);
  const auto w = ParseWalkArgs({"walk", "--png", "o.png", "in.wdo", "--size", "8192x1",
                                "--hide-environment", "--frames", "up*2"},
                               err);
  const auto d = ParseWalkArgs({"walk", "in.wdo"}, err);
  ASSERT_TRUE(r && w && d) << err.str();
  EXPECT_EQ(std::tie(r->input, r->output, r->view, r->width, r->height, r->walk, r->perspective),
            std::make_tuple("in.wdc", "out.png", kViewBottom, 8192, 1, true, true));
  EXPECT_EQ(
      std::make_tuple(w->input, *w->png, w->width, w->height, w->hideEnvironment, w->script.size()),
      std::make_tuple("in.wdo", "o.png", 8192, 1, true, 1u));
  EXPECT_EQ(
      std::tuple(d->width, d->height, d->png.has_value(), d->script.empty(), d->hideEnvironment),
      std::tuple(800, 600, false, true, false));
}

// The PNG at `path`, read back.
IndexedImage ReadPng(const std::string& path) {
  IndexedImage image;
  std::string error;
  EXPECT_TRUE(ReadIndexedPng(path, image, error)) << error;
  return image;
}

std::uint8_t At(const IndexedImage& im, int x, int y) { return im.pixels[y * im.width + x]; }

// `input` rendered with these options.
IndexedImage Render(const test::TempDir& dir, const std::string& input,
                    std::vector<std::string> options) {
  options.insert(options.begin(), {"render", input, dir.File("out.png")});
  const CliRun r = Cli(options);
  EXPECT_EQ(std::tuple(r.status, r.err), std::tuple(0, ""));
  return ReadPng(dir.File("out.png"));
}

TEST(RenderCommand, WritesTheColourTablePerspectiveAndAClustersFirstObjectInAView) {
  test::TempDir dir;
  const IndexedImage im = Render(dir, Cube(), {});
  ASSERT_EQ(std::tie(im.width, im.height, im.paletteSize), std::make_tuple(800, 600, 256u));
  // The file's table: entry 8 is pure red, entry 255 black.
  EXPECT_EQ(std::tuple(im.palette[8], im.palette[255]), std::tuple(Rgb8{255, 0, 0}, Rgb8{0, 0, 0}));
  // The background; the far face of the cube; its edge, the wire frame in
  // white; outside it between grid lines; a grid line, as in the corner.
  EXPECT_EQ(std::tuple(At(im, 0, 0), At(im, 420, 320), At(im, 350, 320), At(im, 345, 325)),
            std::tuple(255, 8, 0, 255));
  EXPECT_EQ(At(im, 340, 310), At(im, 30, 10));
  // f = 134.5: the near edges (z = 50, d = -250) at 160 - 26.9 = 133; not at
  // 110 as without perspective.
  const IndexedImage persp = Render(dir, Cube(), {"--size", "320x240", "--perspective"});
  EXPECT_EQ(std::tuple(At(persp, 133, 125), At(persp, 110, 125) != 0), std::tuple(0, true));
  // The cube's faces are wound to face inward, so a view shows the face on
  // its far side: Top (viewer on +y) the y = -50 face, colour 48; then the
  // silhouette's wire edge at -50, outside between grid lines.
  const std::string cluster = dir.File("cube.wdc");
  ASSERT_EQ(Cli({"convert", Cube(), cluster}).status, 0);
  const IndexedImage top = Render(dir, cluster, {"--view", "top", "--size", "320x240"});
  ASSERT_EQ(top.width, 320);
  EXPECT_EQ(std::tuple(At(top, 180, 145), At(top, 110, 145), At(top, 215, 145)),
            std::tuple(48, 0, 255));
}

TEST(PngFile, RoundTripsAndRefusesOtherPictures) {
  test::TempDir dir;
  IndexedImage im;
  im.width = 3, im.height = 2;
  im.pixels = {0, 1, 2, 255, 7, 9};
  for (int i = 0; i < 256; ++i)
    im.palette[i] = {static_cast<std::uint8_t>(i), 3, static_cast<std::uint8_t>(255 - i)};
  std::string error;
  ASSERT_TRUE(WriteIndexedPng(dir.File("a.png"), im, error)) << error;
  IndexedImage back;
  ASSERT_TRUE(ReadIndexedPng(dir.File("a.png"), back, error)) << error;
  EXPECT_EQ(std::tie(back.pixels, back.palette, back.paletteSize),
            std::tuple(im.pixels, im.palette, 256u));
  // Cut short at every length: refused, never read past.
  const std::vector<std::uint8_t> bytes = test::ReadFileBytes(dir.File("a.png"));
  for (std::size_t n = 0; n < bytes.size(); ++n) {
    test::WriteFileBytes(dir.File("cut.png"),
                         {bytes.begin(), bytes.begin() + static_cast<long>(n)});
    EXPECT_FALSE(ReadIndexedPng(dir.File("cut.png"), back, error)) << n;
  }
  test::WriteFileText(dir.File("text.png"), "not a picture");
  EXPECT_FALSE(ReadIndexedPng(dir.File("text.png"), back, error) ||
               ReadIndexedPng(dir.File("none.png"), back, error) ||
               WriteIndexedPng(dir.File("e.png"), IndexedImage{}, error));
}

using Kind = WalkScriptStep::Kind;
using walk::WalkKey;

std::vector<std::tuple<Kind, WalkKey, int, int>> Fields(const std::vector<WalkScriptStep>& steps) {
  std::vector<std::tuple<Kind, WalkKey, int, int>> fields;
  for (const WalkScriptStep& s : steps) fields.emplace_back(s.kind, s.key, s.notch, s.frames);
  return fields;
}

TEST(WalkScript, GrammarOfSteps) {
  auto hold = [](WalkKey key, int n) { return WalkScriptStep{Kind::kHold, key, 0, n}; };
  auto none = [](int n) { return WalkScriptStep{Kind::kNone, WalkKey::kUp, 0, n}; };
  auto wheel = [](int notch) { return WalkScriptStep{Kind::kWheel, WalkKey::kUp, notch, 1}; };
  const std::pair<const char*, std::vector<WalkScriptStep>> good[] = {
      {"up*3", {hold(WalkKey::kUp, 3)}},
      {"down,left*2,right*100000",
       {hold(WalkKey::kDown, 1), hold(WalkKey::kLeft, 2), hold(WalkKey::kRight, 100000)}},
      {"pageup*1,pagedown*4,none*5,none",
       {hold(WalkKey::kPageUp, 1), hold(WalkKey::kPageDown, 4), none(5), none(1)}},
      {"space,wheel+1,wheel-1", {{Kind::kSpace, WalkKey::kUp, 0, 1}, wheel(1), wheel(-1)}}};
  const std::pair<const char*, const char*> bad[] = {
      {"", "unknown step \"\""},
      {"jump*2", "unknown step \"jump*2\""},
      {"wheel+2", "unknown step"},
      {"up*0", "bad frame count in step \"up*0\""},
      {"up*100001", "bad frame count"},
      {"up*", "bad frame count"},
      {"up*2x", "bad frame count"},
      {"up* 2", "bad frame count"},
      {"space*2", "step \"space*2\" runs one frame and takes no *N"},
      {"wheel+1*1", "takes no *N"}};
  std::string error;
  for (const auto& [script, steps] : good) {
    const auto parsed = ParseWalkScript(script, error);
    ASSERT_TRUE(parsed) << script << ": " << error;
    EXPECT_EQ(Fields(*parsed), Fields(steps)) << script;
  }
  for (const auto& [script, message] : bad) {
    EXPECT_FALSE(ParseWalkScript(script, error)) << script;
    EXPECT_NE(error.find(message), std::string::npos) << script << ": " << error;
  }
}

// Page Up held 4 frames climbs once, Page Down held 2 sinks twice, space
// returns to 15, the wheel climbs once; three frames of Up, then ten
// coasting follow the plain recurrence.
TEST(WalkCommand, PlaysTheScriptAndPrintsTheViewerWithFullPrecision) {
  const CliRun run = Cli({"walk", Cube(), "--size", "64x48", "--frames",
                          "up*3,pageup*4,pagedown*2,space,wheel+1,none*2"});
  ASSERT_EQ(run.status, 0) << run.err;
  const nlohmann::ordered_json j = nlohmann::ordered_json::parse(run.out);
  std::vector<std::string> keys;
  for (const auto& [key, value] : j.items()) keys.push_back(key);
  EXPECT_EQ(keys, (std::vector<std::string>{"x", "y", "eye", "ground", "heading", "vx", "vy", "vz",
                                            "omega", "inside", "zone", "frames"}));
  EXPECT_EQ(
      std::make_tuple(j["frames"], j["eye"], j["ground"], j["heading"], j["inside"], j["zone"]),
      std::make_tuple(13, 16.0, 16.0, 90.0, false, -1));
  double y = 0, vy = 0;
  for (int i = 0; i < 13; ++i) {
    vy += i < 3 ? 15.0 / 120.0 : 0.0;
    y += vy;
    vy *= 0.9;
  }
  EXPECT_NEAR(j["y"].get<double>(), y, 1e-12);
  EXPECT_NEAR(j["vy"].get<double>(), vy, 1e-12);
  EXPECT_NEAR(j["x"].get<double>(), 0.0, 1e-12);
}

// Without a script one frame; the PNG's corner is sky, or the colour
// table's black when the environment is hidden; render --walk draws the
// same first frame.
TEST(WalkCommand, WithoutAScriptOneFrameAndThePng) {
  test::TempDir dir;
  for (const bool hide : {true, false}) {
    std::vector<std::string> args = {"walk", Cube(), "--size", "40x30", "--png", dir.File("w.png")};
    if (hide) args.push_back("--hide-environment");
    const CliRun run = Cli(args);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(nlohmann::json::parse(run.out)["frames"], 1);
    const IndexedImage image = ReadPng(dir.File("w.png"));
    EXPECT_EQ(std::tuple(image.width, image.height, image.paletteSize,
                         image.palette[image.pixels[0]] == Rgb8{0, 0, 0}),
              std::tuple(40, 30, 256u, hide));
  }
  ASSERT_EQ(Cli({"render", Cube(), dir.File("r.png"), "--size", "40x30", "--walk"}).status, 0);
  EXPECT_EQ(test::ReadFileBytes(dir.File("r.png")), test::ReadFileBytes(dir.File("w.png")));
}

std::string RoffEscaped(std::string s) {
  for (std::size_t i = 0; (i = s.find('-', i)) != std::string::npos; i += 2) s.insert(i, "\\");
  return s;
}

TEST(CliHelp, HelpAndManPageNeedNoPreferencesAndWriteOnlyStdout) {
  for (const auto& [option, expected] : {std::pair{"--help", HelpText()}, {"--man", ManPage()}}) {
    const CliRun r = Cli({option}, false);
    EXPECT_EQ(std::tuple(r.status, r.out, r.err), std::tuple(0, expected, "")) << option;
  }
}

// The help text's prose fills up to 79 columns (the usage lines stay whole):
// no line is longer, and the next line's first word would not have fitted
// after the last one.
TEST(CliHelp, HelpIsWrappedGreedilyTo79Columns) {
  const std::vector<std::string> lines = Split(HelpText());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].find("wirestead-cli [--prefs PATH] ") == std::string::npos) {
      EXPECT_LE(lines[i].size(), 79u) << lines[i];
    }
    if (i + 1 < lines.size() && lines[i].starts_with("      ") &&
        lines[i + 1].starts_with("      ") && lines[i + 1][6] != ' ') {
      const std::string next = lines[i + 1].substr(6, lines[i + 1].find(' ', 6) - 6);
      EXPECT_GT(lines[i].size() + 1 + next.size(), 79u) << lines[i] << " / " << next;
    }
  }
}

// The man page says what --help says: every usage line is in its synopsis
// and every command in its COMMANDS section, hyphens escaped for roff.
TEST(CliHelp, ManPageCarriesEveryUsageLineEscaped) {
  const std::string man = ManPage();
  const std::string help = HelpText();
  const std::vector<std::string> usage = Split(UsageText());
  ASSERT_EQ(usage.size(), 8u);
  for (const std::string& line : usage) {
    const std::string call = line.substr(line.find("wirestead-cli ") + 14);
    EXPECT_NE(man.find(".B wirestead\\-cli\n" + RoffEscaped(call) + "\n"), std::string::npos)
        << call;
    EXPECT_NE(help.find(line), std::string::npos) << line;
    if (call.starts_with("[--prefs PATH] ")) {
      const std::string term = call.substr(15);
      EXPECT_NE(man.find(".TP\n.B " + RoffEscaped(term) + "\n"), std::string::npos) << term;
      EXPECT_EQ(CommandUsage(term.substr(0, term.find(' '))),
                "usage: wirestead-cli " + call + "\n");
    }
  }
  EXPECT_EQ(CommandUsage("frobnicate"), UsageText());
  // Outside the title line no hyphen reaches roff unescaped.
  for (const std::string& line : Split(man)) {
    if (line.starts_with(".TH")) continue;
    for (std::size_t i = line.find('-'); i != std::string::npos; i = line.find('-', i + 1)) {
      EXPECT_TRUE(i > 0 && line[i - 1] == '\\') << line;
    }
  }
}

}  // namespace
}  // namespace ws::cli
