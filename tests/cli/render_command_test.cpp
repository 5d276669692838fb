#include "cli/render_command.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli.h"
#include "cli/png_file.h"
#include "support/test_support.h"

namespace ws::cli {
namespace {

const std::string kCube = "tests/data/cube.wdo";

std::string Prefs() { return test::BinaryDir() + "/Preferences"; }

struct CliResult {
  int status;
  std::string out, err;
};

CliResult Cli(std::vector<std::string> args) {
  args.insert(args.begin(), {"--prefs", Prefs()});
  std::ostringstream out, err;
  const int status = RunCli(args, out, err);
  return {status, out.str(), err.str()};
}

std::optional<RenderOptions> Parse(std::vector<std::string> args, std::string* err = nullptr) {
  args.insert(args.begin(), "render");
  std::ostringstream e;
  auto o = ParseRenderArgs(args, e);
  if (err) *err = e.str();
  return o;
}

TEST(RenderArguments, DefaultsAndOptions) {
  auto o = Parse({"in.wdo", "out.png"});
  ASSERT_TRUE(o);
  EXPECT_EQ(o->input, "in.wdo");
  EXPECT_EQ(o->output, "out.png");
  EXPECT_EQ(o->view, kViewFront);
  EXPECT_EQ(o->width, 800);
  EXPECT_EQ(o->height, 600);
  EXPECT_FALSE(o->walk);
  EXPECT_FALSE(o->perspective);
  o = Parse(
      {"--view", "bottom", "in.wdc", "--size", "8192x1", "out.png", "--perspective", "--walk"});
  ASSERT_TRUE(o);
  EXPECT_EQ(o->view, kViewBottom);
  EXPECT_EQ(o->width, 8192);
  EXPECT_EQ(o->height, 1);
  EXPECT_TRUE(o->perspective);
  EXPECT_TRUE(o->walk);
  EXPECT_EQ(o->output, "out.png");
}

TEST(RenderArguments, RefusesMalformedOnes) {
  std::string err;
  for (const char* size : {"0x5", "8193x10", "10x", "x10", "10*10", "-5x5", "5x5x5", "1e3x5", ""}) {
    EXPECT_FALSE(Parse({"a", "b", "--size", size}, &err)) << size;
    EXPECT_NE(err.find("bad size"), std::string::npos) << err;
  }
  EXPECT_FALSE(Parse({"a", "b", "--view", "sideways"}, &err));
  EXPECT_NE(err.find("unknown view sideways"), std::string::npos);
  EXPECT_FALSE(Parse({"a", "b", "--view"}, &err));
  EXPECT_NE(err.find("--view needs a value"), std::string::npos);
  EXPECT_FALSE(Parse({"a", "b", "--colour"}, &err));
  EXPECT_NE(err.find("unknown render option --colour"), std::string::npos);
  EXPECT_FALSE(Parse({"a"}, &err));
  EXPECT_NE(err.find("usage:"), std::string::npos);
  EXPECT_FALSE(Parse({"a", "b", "c"}, &err));
}

class RenderCommand : public ::testing::Test {
 protected:
  IndexedImage Render(const std::string& input, std::vector<std::string> options) {
    const std::string out = dir.File("out.png");
    std::vector<std::string> args = {"render", input, out};
    args.insert(args.end(), options.begin(), options.end());
    const CliResult r = Cli(args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.err.empty()) << r.err;
    IndexedImage image;
    std::string error;
    EXPECT_TRUE(ReadIndexedPng(out, image, error)) << error;
    return image;
  }
  static std::uint8_t At(const IndexedImage& im, int x, int y) {
    return im.pixels[y * im.width + x];
  }

  test::TempDir dir;
};

TEST_F(RenderCommand, WritesAnIndexedPngWithTheObjectsColourTable) {
  const IndexedImage im = Render(kCube, {});
  ASSERT_EQ(im.width, 800);
  ASSERT_EQ(im.height, 600);
  EXPECT_EQ(im.paletteSize, 256u);
  // The file's table: entry 8 is pure red, entry 255 black.
  EXPECT_EQ(im.palette[8], (Rgb8{255, 0, 0}));
  EXPECT_EQ(im.palette[255], (Rgb8{0, 0, 0}));
  EXPECT_EQ(At(im, 0, 0), 255);                 // background
  EXPECT_EQ(At(im, 420, 320), 8);               // the far face of the cube
  EXPECT_EQ(At(im, 350, 320), 0);               // its edge: the wire frame in white
  EXPECT_EQ(At(im, 345, 325), 255);             // outside it, between grid lines
  EXPECT_EQ(At(im, 340, 310), At(im, 30, 10));  // a grid line, as in the corner
}

TEST_F(RenderCommand, EachViewShowsItsOwnFace) {
  // The cube's faces are wound to face inward, so each view shows the face
  // on its far side: Front the z = -50 face (colour 8), Back z = +50 (16),
  // Left (viewer on -x) x = +50 (32), Right x = -50 (24), Top (viewer on
  // +y) y = -50 (48), Bottom y = +50 (40).
  const std::pair<const char*, int> views[] = {{"front", 8},  {"back", 16}, {"left", 32},
                                               {"right", 24}, {"top", 48},  {"bottom", 40}};
  for (auto [view, colour] : views) {
    const IndexedImage im = Render(kCube, {"--view", view, "--size", "320x240"});
    ASSERT_EQ(im.width, 320);
    EXPECT_EQ(At(im, 180, 145), colour) << view;
    EXPECT_EQ(At(im, 110, 145), 0) << view;    // the silhouette's wire edge at -50
    EXPECT_EQ(At(im, 215, 145), 255) << view;  // outside, between grid lines
  }
}

TEST_F(RenderCommand, PerspectiveDrawsNearerEdgesFurtherOut) {
  const IndexedImage flat = Render(kCube, {"--size", "320x240"});
  const IndexedImage persp = Render(kCube, {"--size", "320x240", "--perspective"});
  // f = 134.5: the near edges (z = 50, d = -250) at 160 - 26.9 = 133, the
  // far ones (d = -350) at 160 - 19.2 = 141; orthographic both at 110.
  EXPECT_EQ(At(flat, 110, 125), 0);
  EXPECT_EQ(At(persp, 133, 125), 0);
  EXPECT_EQ(At(persp, 141, 125), 0);
  EXPECT_NE(At(persp, 110, 125), 0);  // only the grid there
}

TEST_F(RenderCommand, ClusterRendersAsItsFirstObject) {
  const std::string cluster = dir.File("cube.wdc");
  const CliResult c = Cli({"convert", kCube, cluster});
  ASSERT_EQ(c.status, 0) << c.err;
  for (const char* view : {"front", "back", "left", "right", "top", "bottom"}) {
    const IndexedImage a = Render(kCube, {"--view", view, "--size", "160x120"});
    const IndexedImage b = Render(cluster, {"--view", view, "--size", "160x120"});
    EXPECT_EQ(a.pixels, b.pixels) << view;
    EXPECT_EQ(a.palette, b.palette);
  }
}

TEST_F(RenderCommand, FailuresExitWithOneAndAMessage) {
  const std::string out = dir.File("x.png");
  CliResult r = Cli({"render", kCube, out, "--walk"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("--walk is not available yet"), std::string::npos);
  EXPECT_FALSE(test::FileExists(out));
  r = Cli({"render", dir.File("missing.wdo"), out});
  EXPECT_EQ(r.status, 1);
  EXPECT_FALSE(r.err.empty());
  r = Cli({"render", kCube, dir.File("no/such/dir/x.png")});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("can't write"), std::string::npos);
  r = Cli({"render", kCube});
  EXPECT_EQ(r.status, 1);
}

TEST(PngFile, RoundTripsAndRefusesOtherPictures) {
  test::TempDir dir;
  IndexedImage im;
  im.width = 3;
  im.height = 2;
  im.pixels = {0, 1, 2, 255, 7, 9};
  for (int i = 0; i < 256; ++i)
    im.palette[i] = {static_cast<std::uint8_t>(i), 3, static_cast<std::uint8_t>(255 - i)};
  std::string error;
  ASSERT_TRUE(WriteIndexedPng(dir.File("a.png"), im, error)) << error;
  IndexedImage back;
  ASSERT_TRUE(ReadIndexedPng(dir.File("a.png"), back, error)) << error;
  EXPECT_EQ(back.pixels, im.pixels);
  EXPECT_EQ(back.palette, im.palette);
  EXPECT_EQ(back.paletteSize, 256u);
  // Cut short at every length: refused, never read past.
  const std::vector<std::uint8_t> bytes = test::ReadFileBytes(dir.File("a.png"));
  for (std::size_t n = 0; n < bytes.size(); ++n) {
    test::WriteFileBytes(dir.File("cut.png"),
                         {bytes.begin(), bytes.begin() + static_cast<long>(n)});
    EXPECT_FALSE(ReadIndexedPng(dir.File("cut.png"), back, error)) << n;
  }
  test::WriteFileText(dir.File("text.png"), "not a picture");
  EXPECT_FALSE(ReadIndexedPng(dir.File("text.png"), back, error));
  EXPECT_FALSE(ReadIndexedPng(dir.File("none.png"), back, error));
  IndexedImage empty;
  EXPECT_FALSE(WriteIndexedPng(dir.File("e.png"), empty, error));
}

}  // namespace
}  // namespace ws::cli
