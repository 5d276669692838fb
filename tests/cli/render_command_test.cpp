#include "cli/render_command.h"

#include <gtest/gtest.h>

#include <tuple>

#include "cli/cli_support.h"
#include "cli/png_file.h"

namespace ws::cli {
namespace {

std::optional<RenderOptions> Parse(std::vector<std::string> args, std::string* err = nullptr) {
  args.insert(args.begin(), "render");
  std::ostringstream e;
  auto o = ParseRenderArgs(args, e);
  if (err) *err = e.str();
  return o;
}

TEST(RenderArguments, OptionsAndRefusals) {
  std::optional<RenderOptions> o;  // the defaults show in the rendering tests
  ASSERT_TRUE(o = Parse({"--view", "bottom", "in.wdc", "--size", "8192x1", "out.png",
                         "--perspective", "--walk"}));
  EXPECT_EQ(std::tie(o->input, o->output, o->view, o->width, o->height, o->walk, o->perspective),
            std::make_tuple("in.wdc", "out.png", kViewBottom, 8192, 1, true, true));
  std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
      {{"a", "b", "--view", "sideways"}, "unknown view sideways"},
      {{"a", "b", "--view"}, "--view needs a value"},
      {{"a", "b", "--colour"}, "unknown render option --colour"},
      {{"a"}, "usage:"},
      {{"a", "b", "c"}, ""}};
  for (const char* size : {"0x5", "8193x10", "10x", "x10", "-5x5", "5x5x5", "1e3x5", ""}) {
    refused.push_back({{"a", "b", "--size", size}, "bad size"});
  }
  for (const auto& [args, message] : refused) {
    std::string err;
    EXPECT_TRUE(!Parse(args, &err) && err.find(message) != std::string::npos) << message << err;
  }
}

class RenderCommand : public ::testing::Test {
 protected:
  IndexedImage Render(const std::string& input, std::vector<std::string> options) {
    options.insert(options.begin(), {"render", input, dir.File("out.png")});
    const CliRun r = Cli(options);
    EXPECT_EQ(std::tuple(r.status, r.err), std::tuple(0, ""));
    IndexedImage image;
    std::string error;
    EXPECT_TRUE(ReadIndexedPng(dir.File("out.png"), image, error)) << error;
    return image;
  }
  static std::uint8_t At(const IndexedImage& im, int x, int y) {
    return im.pixels[y * im.width + x];
  }

  test::TempDir dir;
};

TEST_F(RenderCommand, WritesAnIndexedPngWithTheObjectsColourTableAndPerspective) {
  const IndexedImage im = Render(Cube(), {});
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
  const IndexedImage persp = Render(Cube(), {"--size", "320x240", "--perspective"});
  EXPECT_EQ(std::tuple(At(persp, 133, 125), At(persp, 110, 125) != 0), std::tuple(0, true));
}

TEST_F(RenderCommand, EachViewShowsItsOwnFace) {
  // The cube's faces are wound to face inward, so each view shows the face
  // on its far side: Front the z = -50 face (colour 8), Back z = +50 (16),
  // Left (viewer on -x) x = +50 (32), Right x = -50 (24), Top (viewer on
  // +y) y = -50 (48), Bottom y = +50 (40).
  const std::pair<const char*, int> views[] = {{"back", 16}, {"left", 32}, {"top", 48}};
  // A cluster renders as its first object.
  const std::string cluster = dir.File("cube.wdc");
  ASSERT_EQ(Cli({"convert", Cube(), cluster}).status, 0);
  for (auto [view, colour] : views) {
    const IndexedImage im = Render(Cube(), {"--view", view, "--size", "320x240"});
    // The face, the silhouette's wire edge at -50, outside between grid lines.
    ASSERT_EQ(im.width, 320);
    EXPECT_EQ(std::tuple(At(im, 180, 145), At(im, 110, 145), At(im, 215, 145)),
              std::tuple(colour, 0, 255))
        << view;
    EXPECT_EQ(Render(cluster, {"--view", view, "--size", "320x240"}).pixels, im.pixels) << view;
  }
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

}  // namespace
}  // namespace ws::cli
