// The Preferences file and ground texture the build generates, resource by
// resource, and the generator writing the same bytes every time.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "model/color_table.h"
#include "model/glyph_store.h"
#include "model/object_resources.h"
#include "model/preferences.h"
#include "platform/scripted_ui.h"
#include "resource/byte_order.h"
#include "resource/resource_file.h"
#include "resource/runtime.h"
#include "support/test_support.h"

namespace ws {
namespace {

const std::string kPrefsPath = WS_BINARY_DIR "/Preferences";

struct Generated : ::testing::Test {
  void SetUp() override { ASSERT_TRUE(file) << kPrefsPath; }
  std::vector<std::uint8_t> Bytes(ResType type, std::uint32_t id) {
    std::optional<Resource> r = files.ReadResource(file.ref(), type, id);
    if (!r) return {};
    return {r->bytes().begin(), r->bytes().end()};
  }
  ColorTable Palette(std::uint32_t id) {
    std::optional<ColorTable> table = DecodeClut(Bytes(kResClut, id));
    EXPECT_TRUE(table.has_value());
    return table.value_or(ColorTable{});
  }
  ScriptedUi ui;
  Runtime rt{ui};
  ResourceFile files{rt};
  OpenResource file{files, kPrefsPath};
};

TEST_F(Generated, PreferencesHoldsEveryResourceWithItsSizeAndName) {
  const std::tuple<ResType, std::uint32_t, std::size_t, std::string> expected[] = {
      {kResClut, 1000, 2056, "Color Table 256_1.0"},
      {kResClut, 2000, 2056, "Image Palette"},
      {kResPref, 128, 80, "Preferences"},
      {kResSkdt, 128, 140 * 4, "Sky"},
      {kResSkdt, 129, 140 * 4, "Translated Sky"},
      {kResLndt, 128, 231 * 4, "Ground"},
      {kResLpat, 0, 65536, "Floor"}};
  for (const auto& [type, id, size, name] : expected) {
    std::optional<Resource> r = files.ReadResource(file.ref(), type, id);
    ASSERT_TRUE(r.has_value()) << ResTypeName(type) << " " << id;
    EXPECT_EQ(std::pair(r->length(), r->name), std::pair(size, name))
        << ResTypeName(type) << " " << id;
  }
  for (ResType t : {kResFace, kResAnim}) EXPECT_EQ(files.CountResourcesOfType(file.ref(), t), 0u);
  EXPECT_EQ(files.Entries(file.ref()).size(), 7u + 8u + 3u * 39u);  // 8 sounds, 3 per glyph
  // Each sound's header gives the byte rate of its sample rate and frames.
  for (std::uint32_t n = 0; n < 8; ++n) {
    const std::vector<std::uint8_t> wav = Bytes(kResPlay, n);
    ASSERT_GE(wav.size(), 44u) << n;
    EXPECT_EQ(LoadLE32(&wav[28]), LoadLE32(&wav[24]) * LoadLE16(&wav[32])) << n;
  }
  // The record holds the defaults (its layout is checked with the model's).
  EXPECT_EQ(DecodePreferences(Bytes(kResPref, 128)), Preferences{});
}

TEST_F(Generated, TranslatedSkyAndGroundBmpFollowTheImagePalette) {
  const ColorTable table = Palette(kImageClutId);
  // 'SKDT' 129 is 'SKDT' 128 through the map to the current table.
  const std::array<std::uint8_t, 256> map = BuildImageMap(Palette(kCurrentClutId), table);
  std::vector<std::uint8_t> translated = Bytes(kResSkdt, 128);
  for (std::uint8_t& v : translated) v = map[v];
  EXPECT_EQ(Bytes(kResSkdt, 129), translated);
  const std::vector<std::uint8_t> floor = Bytes(kResLpat, 0);
  ASSERT_EQ(floor.size(), 65536u);  // read below by index

  const std::vector<std::uint8_t> bmp = test::ReadFileBytes(WS_BINARY_DIR "/textures/ground.bmp");
  ASSERT_EQ(bmp.size(), 54u + 256u * 256u * 3u) << "ground.bmp";
  const std::uint8_t* p = bmp.data();
  // "BM", file size, data offset, header size, 256 x 256 bottom-up, one
  // plane, 24 bits, no compression.
  EXPECT_EQ((std::vector<std::uint32_t>{LoadLE16(p), LoadLE32(p + 2), LoadLE32(p + 10),
                                        LoadLE32(p + 14), LoadLE32(p + 18), LoadLE32(p + 22),
                                        LoadLE16(p + 26), LoadLE16(p + 28), LoadLE32(p + 30)}),
            (std::vector<std::uint32_t>{0x4D42, static_cast<std::uint32_t>(bmp.size()), 54, 40, 256,
                                        256, 1, 24, 0}));
  // Texel (x, y) of the floor is pixel (x, 255 - y) of the bitmap, in
  // blue-green-red order, through the image palette.
  int mismatches = 0;
  for (std::size_t i = 0; i < 65536; ++i) {
    const RGB16& c = table[floor[i]];
    const std::uint8_t* px = p + 54 + ((255 - i / 256) * 256 + i % 256) * 3;
    if (px[0] != c.blue >> 8 || px[1] != c.green >> 8 || px[2] != c.red >> 8) ++mismatches;
  }
  EXPECT_EQ(mismatches, 0);
}

TEST_F(Generated, FontGlyphsAreTheLabelCharactersAndFitTheGlyphStore) {
  // The editor's own loader takes glyphs 0..38 without a complaint and stops
  // at 39, so every index names an entry of its glyph (the glyph store's
  // tests check the rest).
  GlyphStore store;
  ASSERT_EQ(std::make_pair(LoadGlyphs(files, kPrefsPath, ui, store), ui.Messages().size()),
            std::make_pair(39u, std::size_t{0}));
  const std::string characters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-,.";
  const ObjectCapacity capacity{kGlyphMaxPoints, kGlyphMaxVectors, kGlyphMaxPolygons};
  std::set<std::vector<double>> shapes;
  for (std::uint32_t id = 0; id < 39; ++id) {
    SCOPED_TRACE("glyph " + std::to_string(id));
    StoredObject glyph;
    ASSERT_TRUE(ReadObjectResources(files, file.ref(), id, capacity, glyph).ok());
    EXPECT_EQ(glyph.name, std::string(1, characters[id]));
    EXPECT_EQ(glyph.formatWord, kPinfFormatWord);
    // Inside the character cell: left of the next character (285 units on)
    // and no taller than a line of labels, in the plane of the label.
    std::vector<double> shape;
    for (const StoredPoint& pt : glyph.points) {
      EXPECT_TRUE(pt.x >= 0 && pt.x < 285 && pt.y >= -100 && pt.y <= 400 && pt.z == 0);
    }
    for (const StoredVector& v : glyph.vectors) {
      EXPECT_NE(v.p1, v.p2);
      const StoredPoint &a = glyph.points[v.p1], &b = glyph.points[v.p2];
      shape.insert(shape.end(), {a.x, a.y, b.x, b.y});
    }
    shapes.insert(shape);
    // Hand-counted strokes: each '|' starts a new polyline, never joined to
    // the one before (A: 4 + 1, E: 4 + 1, H: 2 + 2 + 1).
    if (std::string_view("AEH").find(characters[id]) != std::string_view::npos) {
      EXPECT_EQ(glyph.vectors.size(), 5u);
    }
  }
  EXPECT_EQ(shapes.size(), 39u);  // no glyph draws the same strokes as another
}

int RunGenerator(const std::string& args) {
  const std::string command = std::string("'") + WS_PREFS_GEN_PATH + "' " + args + " 2>/dev/null";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(PrefsGenerator, WritesTheSameBytesEveryTimeAndRefusesBadArguments) {
  test::TempDir a, b;
  ASSERT_EQ(RunGenerator("'" + a.path() + "'"), 0);
  ASSERT_EQ(RunGenerator("'" + b.path() + "'"), 0);
  for (const char* name : {"Preferences", "textures/ground.bmp"}) {
    const std::vector<std::uint8_t> first = test::ReadFileBytes(a.File(name));
    EXPECT_TRUE(!first.empty() && first == test::ReadFileBytes(b.File(name))) << name;
  }
  // Nothing but the two outputs is left behind.
  std::set<std::string> left;
  for (const auto& e : std::filesystem::recursive_directory_iterator(a.path())) {
    left.insert(std::filesystem::relative(e.path(), a.path()).string());
  }
  EXPECT_EQ(left, (std::set<std::string>{"Preferences", "textures", "textures/ground.bmp"}));
  EXPECT_NE(RunGenerator(""), 0);
  EXPECT_NE(RunGenerator("a b"), 0);
  test::WriteFileText(b.File("blocked"), "x");  // a plain file where the directory should be
  EXPECT_NE(RunGenerator("'" + b.File("blocked") + "'"), 0);
  EXPECT_EQ(test::ReadFileText(b.File("blocked")), "x");
}

}  // namespace
}  // namespace ws
