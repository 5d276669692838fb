#include "cli/walk_command.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/cli_support.h"
#include "cli/png_file.h"

namespace ws::cli {
namespace {

using Kind = WalkScriptStep::Kind;
using walk::WalkKey;

std::string Describe(const std::vector<WalkScriptStep>& steps) {
  std::string s;
  for (const WalkScriptStep& st : steps) {
    s += std::to_string(static_cast<int>(st.kind)) + ":" +
         std::to_string(static_cast<int>(st.key)) + ":" + std::to_string(st.notch) + ":" +
         std::to_string(st.frames) + " ";
  }
  return s;
}

TEST(WalkScript, GrammarOfSteps) {
  auto hold = [](WalkKey key, int n) { return WalkScriptStep{Kind::kHold, key, 0, n}; };
  auto none = [](int n) { return WalkScriptStep{Kind::kNone, WalkKey::kUp, 0, n}; };
  auto wheel = [](int notch) { return WalkScriptStep{Kind::kWheel, WalkKey::kUp, notch, 1}; };
  // clang-format off
  const std::pair<const char*, std::vector<WalkScriptStep>> good[] = {
      {"up*3", {hold(WalkKey::kUp, 3)}},
      {"down,left*2,right*100000",
       {hold(WalkKey::kDown, 1), hold(WalkKey::kLeft, 2), hold(WalkKey::kRight, 100000)}},
      {"pageup*1,pagedown*4,none*5,none",
       {hold(WalkKey::kPageUp, 1), hold(WalkKey::kPageDown, 4), none(5), none(1)}},
      {"space,wheel+1,wheel-1", {{Kind::kSpace, WalkKey::kUp, 0, 1}, wheel(1), wheel(-1)}}};
  const std::pair<const char*, const char*> bad[] = {
      {"", "unknown step \"\""},    {"up,,down", "unknown step \"\""}, {"up,", "unknown step \"\""},
      {"UP", "unknown step \"UP\""}, {"jump*2", "unknown step \"jump*2\""},
      {"wheel+2", "unknown step"},
      {"up*0", "bad frame count in step \"up*0\""}, {"up*100001", "bad frame count"},
      {"up*", "bad frame count"},    {"up*-1", "bad frame count"},
      {"up*2x", "bad frame count"},  {"up* 2", "bad frame count"},
      {"space*2", "step \"space*2\" runs one frame and takes no *N"}, {"wheel+1*1", "takes no *N"}};
  // clang-format on
  std::string error;
  for (const auto& [script, steps] : good) {
    const auto parsed = ParseWalkScript(script, error);
    ASSERT_TRUE(parsed) << script << ": " << error;
    EXPECT_EQ(Describe(*parsed), Describe(steps)) << script;
  }
  for (const auto& [script, message] : bad) {
    EXPECT_FALSE(ParseWalkScript(script, error)) << script;
    EXPECT_NE(error.find(message), std::string::npos) << script << ": " << error;
  }
}

TEST(WalkCommand, ArgumentsAndRefusals) {
  std::ostringstream err;
  const auto o = ParseWalkArgs({"walk", "--png", "o.png", "in.wdo", "--size", "8192x1",
                                "--hide-environment", "--frames", "up*2"},
                               err);
  ASSERT_TRUE(o);
  EXPECT_EQ(
      std::make_tuple(o->input, *o->png, o->width, o->height, o->hideEnvironment, o->script.size()),
      std::make_tuple("in.wdo", "o.png", 8192, 1, true, 1u));
  const auto d = ParseWalkArgs({"walk", "in.wdo"}, err);
  ASSERT_TRUE(d);
  EXPECT_EQ(
      std::tuple(d->width, d->height, d->png.has_value(), d->script.empty(), d->hideEnvironment),
      std::tuple(800, 600, false, true, false));
  // clang-format off
  const std::pair<std::vector<std::string>, const char*> refused[] = {
      {{"walk", Cube(), "--frames", "fly"}, "bad walk script: unknown step \"fly\""},
      {{"walk", Cube(), "--frames"}, "--frames needs a value"},
      {{"walk", Cube(), "--fast"}, "unknown walk option --fast"},
      {{"walk"}, "usage:"}, {{"walk", Cube(), "extra"}, "usage:"}};
  // clang-format on
  for (const auto& [args, message] : refused) {
    const CliRun run = Cli(args);
    EXPECT_EQ(std::tie(run.status, run.out), std::make_tuple(1, "")) << message;
    EXPECT_NE(run.err.find(message), std::string::npos) << message << ": " << run.err;
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
    IndexedImage image;
    std::string error;
    ASSERT_TRUE(ReadIndexedPng(dir.File("w.png"), image, error)) << error;
    EXPECT_EQ(std::tuple(image.width, image.height, image.paletteSize,
                         image.palette[image.pixels[0]] == Rgb8{0, 0, 0}),
              std::tuple(40, 30, 256u, hide));
  }
  ASSERT_EQ(Cli({"render", Cube(), dir.File("r.png"), "--size", "40x30", "--walk"}).status, 0);
  EXPECT_EQ(test::ReadFileBytes(dir.File("r.png")), test::ReadFileBytes(dir.File("w.png")));
  const CliRun unwritable = Cli({"walk", Cube(), "--png", dir.File("none/w.png")});
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_NE(unwritable.err.find("can't write"), std::string::npos);
}

}  // namespace
}  // namespace ws::cli
