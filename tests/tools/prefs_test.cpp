// The default Preferences file and ground texture the build generates: every
// resource the editor reads is there with the size it expects, the palette
// keeps its promises, the sounds are well-formed WAV files, the glyphs fit
// the glyph store, and the generator writes the same bytes every time.
#include <gtest/gtest.h>

#include <array>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

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
const std::string kGroundPath = WS_BINARY_DIR "/textures/ground.bmp";

// Opens the generated file once per test and reads resources from it.
class GeneratedPrefs {
 public:
  GeneratedPrefs() : rt_(ui_), files_(rt_), file_(files_, kPrefsPath) {}
  bool open() const { return static_cast<bool>(file_); }
  std::optional<Resource> Read(ResType type, std::uint32_t id) {
    return files_.ReadResource(file_.ref(), type, id);
  }
  std::vector<std::uint8_t> Bytes(ResType type, std::uint32_t id) {
    std::optional<Resource> r = Read(type, id);
    if (!r) return {};
    return {r->bytes().begin(), r->bytes().end()};
  }
  std::uint32_t Count(ResType type) { return files_.CountResourcesOfType(file_.ref(), type); }
  std::vector<ResourceEntry> Entries() const { return files_.Entries(file_.ref()); }
  ResourceFile& files() { return files_; }
  RefNum ref() const { return file_.ref(); }
  ScriptedUi& ui() { return ui_; }

 private:
  ScriptedUi ui_;
  Runtime rt_;
  ResourceFile files_;
  OpenResource file_;
};

ColorTable Palette(GeneratedPrefs& prefs, std::uint32_t id) {
  std::optional<ColorTable> table = DecodeClut(prefs.Bytes(kResClut, id));
  EXPECT_TRUE(table.has_value());
  return table.value_or(ColorTable{});
}

std::uint32_t Brightness(const RGB16& c) { return std::uint32_t{c.red} + c.green + c.blue; }

TEST(GeneratedPreferences, HoldsEveryResourceWithItsSizeAndName) {
  GeneratedPrefs prefs;
  ASSERT_TRUE(prefs.open()) << kPrefsPath;
  struct Expected {
    ResType type;
    std::uint32_t id;
    std::size_t size;
    std::string name;
  };
  const Expected expected[] = {
      {kResClut, 1000, 2056, "Color Table 256_1.0"},
      {kResClut, 2000, 2056, ""},
      {kResPref, 128, 80, "Preferences"},
      {kResSkdt, 128, 140 * 4, ""},
      {kResSkdt, 129, 140 * 4, "Translated Sky"},
      {kResLndt, 128, 231 * 4, ""},
      {kResLpat, 0, 65536, ""},
  };
  for (const Expected& e : expected) {
    SCOPED_TRACE(ResTypeName(e.type) + " " + std::to_string(e.id));
    std::optional<Resource> r = prefs.Read(e.type, e.id);
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->length(), e.size);
    if (!e.name.empty()) {
      EXPECT_EQ(r->name, e.name);
    }
  }
  EXPECT_EQ(prefs.Count(kResPlay), 8u);
  for (std::uint32_t n = 0; n < 8; ++n) EXPECT_TRUE(prefs.Read(kResPlay, n)) << "PLAY " << n;
  // Glyphs 0..38 and nothing after them, so the loader stops at 39.
  EXPECT_EQ(prefs.Count(kResPinf), 39u);
  EXPECT_FALSE(prefs.Read(kResPinf, 39).has_value());
  EXPECT_EQ(prefs.Count(kResPnts), 39u);
  EXPECT_EQ(prefs.Count(kResTvct), 39u);
  EXPECT_EQ(prefs.Count(kResFace), 0u);  // wire-frame glyphs
  EXPECT_EQ(prefs.Count(kResAnim), 0u);
  EXPECT_EQ(prefs.Entries().size(), 7u + 8u + 3u * 39u);
}

TEST(GeneratedPalette, HoldsTheDrawingColoursExactly) {
  GeneratedPrefs prefs;
  ASSERT_TRUE(prefs.open());
  const ColorTable table = Palette(prefs, kCurrentClutId);
  EXPECT_EQ(table.count, 256);
  for (std::size_t i = 0; i < kColorCount; ++i) EXPECT_EQ(table.entries[i].value, i);
  const RGB16 drawing[] = {{65535, 65535, 65535}, {13107, 13107, 13107}, {0, 65535, 0},
                           {0, 0, 0},             {34952, 34952, 34952}, {65535, 0, 0},
                           {0, 0, 65535},         {65535, 65535, 0}};
  for (const RGB16& c : drawing) {
    SCOPED_TRACE(FormatColorLine(0, c));
    EXPECT_EQ(table[NearestColor(table, c)], c);
  }
  // Each of them once: a second copy would only waste a ramp slot.
  for (const RGB16& c : drawing) {
    int copies = 0;
    for (std::size_t i = 0; i < kColorCount; ++i) copies += table[i] == c ? 1 : 0;
    EXPECT_EQ(copies, 1) << FormatColorLine(0, c);
  }
  // The renderer's image palette is the same table, byte for byte.
  EXPECT_EQ(prefs.Bytes(kResClut, kImageClutId), prefs.Bytes(kResClut, kCurrentClutId));
  EXPECT_EQ(prefs.Bytes(kResClut, kCurrentClutId), EncodeClut(table));
}

TEST(GeneratedPalette, EveryRampDarkensFromItsBase) {
  GeneratedPrefs prefs;
  ASSERT_TRUE(prefs.open());
  const ColorTable table = Palette(prefs, kCurrentClutId);
  for (std::size_t base = 0; base < kColorCount; base += 8) {
    for (std::size_t k = 1; k < 8; ++k) {
      const RGB16& lighter = table[base + k - 1];
      const RGB16& darker = table[base + k];
      SCOPED_TRACE("entry " + std::to_string(base + k));
      EXPECT_LE(darker.red, lighter.red);
      EXPECT_LE(darker.green, lighter.green);
      EXPECT_LE(darker.blue, lighter.blue);
      EXPECT_LT(Brightness(darker), Brightness(lighter));
    }
  }
  // White opens the first ramp and black closes the last.
  EXPECT_EQ(table[0], (RGB16{65535, 65535, 65535}));
  EXPECT_EQ(table[255], (RGB16{0, 0, 0}));
  // No two entries alike, so translating the images into this table is the
  // identity and nothing is lost.
  std::set<std::array<std::uint16_t, 3>> distinct;
  for (std::size_t i = 0; i < kColorCount; ++i) {
    distinct.insert({table[i].red, table[i].green, table[i].blue});
  }
  EXPECT_EQ(distinct.size(), kColorCount);
}

TEST(GeneratedPreferences, RecordHoldsTheDefaults) {
  GeneratedPrefs prefs;
  ASSERT_TRUE(prefs.open());
  const std::vector<std::uint8_t> bytes = prefs.Bytes(kResPref, 128);
  ASSERT_EQ(bytes.size(), 80u);
  // grid, axis, vectors, perspective, polygons, sound, thick line, instant.
  const std::uint16_t flags[] = {1, 1, 1, 0, 1, 1, 0, 0};
  for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(LoadLE16(&bytes[2 * i]), flags[i]) << i;
  // 100.0 and 150.0 as little-endian IEEE doubles.
  EXPECT_EQ(LoadLE32(&bytes[24]), 0u);
  EXPECT_EQ(LoadLE32(&bytes[28]), 0x40590000u);
  EXPECT_EQ(LoadLE32(&bytes[32]), 0u);
  EXPECT_EQ(LoadLE32(&bytes[36]), 0x4062C000u);
  for (std::size_t i : {16, 17, 18, 19, 20, 21, 22, 23}) EXPECT_EQ(bytes[i], 0) << i;
  for (std::size_t i = 40; i < 80; ++i) EXPECT_EQ(bytes[i], 0) << i;
  EXPECT_EQ(DecodePreferences(bytes), Preferences{});
}

TEST(GeneratedSounds, EveryPlayIsAShortPcmWave) {
  GeneratedPrefs prefs;
  ASSERT_TRUE(prefs.open());
  for (std::uint32_t n = 0; n < 8; ++n) {
    SCOPED_TRACE("PLAY " + std::to_string(n));
    const std::vector<std::uint8_t> w = prefs.Bytes(kResPlay, n);
    ASSERT_GE(w.size(), 44u);
    const std::uint8_t* p = w.data();
    EXPECT_EQ(std::string(p, p + 4), "RIFF");
    EXPECT_EQ(LoadLE32(p + 4), w.size() - 8);
    EXPECT_EQ(std::string(p + 8, p + 12), "WAVE");
    EXPECT_EQ(std::string(p + 12, p + 16), "fmt ");
    EXPECT_EQ(LoadLE32(p + 16), 16u);
    EXPECT_EQ(LoadLE16(p + 20), 1);  // PCM
    const std::uint16_t channels = LoadLE16(p + 22);
    const std::uint32_t rate = LoadLE32(p + 24);
    const std::uint16_t blockAlign = LoadLE16(p + 32);
    const std::uint16_t bits = LoadLE16(p + 34);
    EXPECT_EQ(channels, 1);
    EXPECT_GE(rate, 8000u);
    EXPECT_LE(rate, 48000u);
    EXPECT_EQ(bits, 16);
    EXPECT_EQ(blockAlign, channels * bits / 8);
    EXPECT_EQ(LoadLE32(p + 28), rate * blockAlign);
    EXPECT_EQ(std::string(p + 36, p + 40), "data");
    const std::uint32_t dataBytes = LoadLE32(p + 40);
    EXPECT_EQ(dataBytes, w.size() - 44);
    ASSERT_EQ(dataBytes % blockAlign, 0u);
    // A few kilobytes: short effects, never more than a quarter second.
    EXPECT_GE(w.size(), 1000u);
    EXPECT_LE(dataBytes, rate * blockAlign / 4);
    // Audible, not clipped, and silent at both ends so it starts and stops
    // without a crack.
    const std::size_t samples = dataBytes / 2;
    int peak = 0;
    for (std::size_t i = 0; i < samples; ++i) {
      peak = std::max(peak, std::abs(int{static_cast<std::int16_t>(LoadLE16(p + 44 + 2 * i))}));
    }
    EXPECT_GT(peak, 4000);
    EXPECT_LT(peak, 32767);
    EXPECT_LT(std::abs(int{static_cast<std::int16_t>(LoadLE16(p + 44))}), 64);
    EXPECT_LT(std::abs(int{static_cast<std::int16_t>(LoadLE16(p + 44 + 2 * (samples - 1)))}), 64);
  }
  // Eight different sounds.
  std::set<std::vector<std::uint8_t>> distinct;
  for (std::uint32_t n = 0; n < 8; ++n) distinct.insert(prefs.Bytes(kResPlay, n));
  EXPECT_EQ(distinct.size(), 8u);
}

TEST(GeneratedEnvironment, SkyPalesTowardsTheHorizonAndIsTranslatedAlready) {
  GeneratedPrefs prefs;
  ASSERT_TRUE(prefs.open());
  const ColorTable table = Palette(prefs, kImageClutId);
  const std::vector<std::uint8_t> sky = prefs.Bytes(kResSkdt, 128);
  ASSERT_EQ(sky.size(), 560u);
  auto patternBrightness = [&](std::size_t e) {
    std::uint32_t sum = 0;
    for (std::size_t j = 0; j < 4; ++j) sum += Brightness(table[sky[4 * e + j]]);
    return sum;
  };
  // Rows take patterns 0..121 from the top down; they never darken on the
  // way to the horizon and the horizon is clearly paler than the top.
  for (std::size_t e = 1; e <= 121; ++e) {
    EXPECT_GE(patternBrightness(e), patternBrightness(e - 1)) << "pattern " << e;
  }
  EXPECT_GT(patternBrightness(121), patternBrightness(0) * 2);
  // 'SKDT' 129 is 'SKDT' 128 through the map to the current table.
  const std::array<std::uint8_t, 256> map =
      BuildImageMap(Palette(prefs, kCurrentClutId), table);
  std::vector<std::uint8_t> translated = sky;
  for (std::uint8_t& v : translated) v = map[v];
  EXPECT_EQ(prefs.Bytes(kResSkdt, 129), translated);
}

TEST(GeneratedEnvironment, FloorRepeatsItsSampledTileAndGroundBmpShowsIt) {
  GeneratedPrefs prefs;
  ASSERT_TRUE(prefs.open());
  const std::vector<std::uint8_t> floor = prefs.Bytes(kResLpat, 0);
  ASSERT_EQ(floor.size(), 65536u);
  // The renderer samples 128 rows; the other 128 repeat them, so the
  // texture tiles the same way read either way.
  EXPECT_TRUE(std::equal(floor.begin(), floor.begin() + 32768, floor.begin() + 32768));

  const std::vector<std::uint8_t> bmp = test::ReadFileBytes(kGroundPath);
  ASSERT_EQ(bmp.size(), 54u + 256u * 256u * 3u) << kGroundPath;
  const std::uint8_t* p = bmp.data();
  EXPECT_EQ(p[0], 'B');
  EXPECT_EQ(p[1], 'M');
  EXPECT_EQ(LoadLE32(p + 2), bmp.size());
  EXPECT_EQ(LoadLE32(p + 10), 54u);
  EXPECT_EQ(LoadLE32(p + 14), 40u);
  EXPECT_EQ(LoadLE32(p + 18), 256u);
  EXPECT_EQ(LoadLE32(p + 22), 256u);  // bottom-up
  EXPECT_EQ(LoadLE16(p + 26), 1);
  EXPECT_EQ(LoadLE16(p + 28), 24);
  EXPECT_EQ(LoadLE32(p + 30), 0u);
  // Texel (x, y) of the floor is pixel (x, 255 - y) of the bitmap, in
  // blue-green-red order, through the image palette.
  const ColorTable table = Palette(prefs, kImageClutId);
  int mismatches = 0;
  for (std::size_t y = 0; y < 256; ++y) {
    for (std::size_t x = 0; x < 256; ++x) {
      const RGB16& c = table[floor[y * 256 + x]];
      const std::uint8_t* px = p + 54 + ((255 - y) * 256 + x) * 3;
      if (px[0] != c.blue >> 8 || px[1] != c.green >> 8 || px[2] != c.red >> 8) ++mismatches;
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(GeneratedFont, GlyphsAreTheLabelCharactersAndFitTheGlyphStore) {
  GeneratedPrefs prefs;
  ASSERT_TRUE(prefs.open());
  const std::string characters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-,.";
  ASSERT_EQ(characters.size(), 39u);
  std::uint64_t points = 0, vectors = 0, polygons = 0;
  std::set<std::vector<double>> shapes;
  for (std::uint32_t id = 0; id < 39; ++id) {
    SCOPED_TRACE("glyph " + std::to_string(id));
    StoredObject glyph;
    ASSERT_TRUE(ReadObjectResources(prefs.files(), prefs.ref(), id,
                                    ObjectCapacity{kGlyphMaxPoints, kGlyphMaxVectors,
                                                   kGlyphMaxPolygons},
                                    glyph)
                    .ok());
    EXPECT_EQ(glyph.name, std::string(1, characters[id]));
    EXPECT_EQ(glyph.formatWord, kPinfFormatWord);
    // The store has no reserved entries: every index within the glyph.
    EXPECT_EQ(CheckStoredIndices(glyph, 0, 0), "");
    EXPECT_FALSE(glyph.points.empty());
    EXPECT_FALSE(glyph.vectors.empty());
    // Inside the character cell: left of the next character (285 units on)
    // and no taller than a line of labels, in the plane of the label.
    std::vector<double> shape;
    for (const StoredPoint& pt : glyph.points) {
      EXPECT_GE(pt.x, 0.0);
      EXPECT_LT(pt.x, 285.0);
      EXPECT_GE(pt.y, -100.0);
      EXPECT_LE(pt.y, 400.0);
      EXPECT_EQ(pt.z, 0.0);
    }
    for (const StoredVector& v : glyph.vectors) {
      EXPECT_NE(v.p1, v.p2);
      if (v.p1 >= glyph.points.size() || v.p2 >= glyph.points.size()) continue;
      const StoredPoint& a = glyph.points[v.p1];
      const StoredPoint& b = glyph.points[v.p2];
      shape.insert(shape.end(), {a.x, a.y, b.x, b.y});
    }
    shapes.insert(shape);
    points += glyph.points.size();
    vectors += glyph.vectors.size();
    polygons += glyph.polygons.size();
  }
  EXPECT_EQ(shapes.size(), 39u);  // no glyph draws the same strokes as another
  EXPECT_LE(points, kGlyphMaxPoints);
  EXPECT_LE(vectors, kGlyphMaxVectors);
  EXPECT_LE(polygons, kGlyphMaxPolygons);

  // The editor's own loader takes all of them without a complaint.
  GlyphStore store;
  EXPECT_EQ(LoadGlyphs(prefs.files(), kPrefsPath, prefs.ui(), store), 39u);
  EXPECT_TRUE(prefs.ui().Messages().empty());
  EXPECT_EQ(store.points.size(), points);
  EXPECT_EQ(store.vectors.size(), vectors);
}

int RunGenerator(const std::string& args) {
  const std::string command = std::string("'") + WS_PREFS_GEN_PATH + "' " + args + " 2>/dev/null";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(PrefsGenerator, WritesTheSameBytesEveryTime) {
  test::TempDir a, b;
  ASSERT_EQ(RunGenerator("'" + a.path() + "'"), 0);
  ASSERT_EQ(RunGenerator("'" + b.path() + "'"), 0);
  for (const char* name : {"Preferences", "textures/ground.bmp"}) {
    SCOPED_TRACE(name);
    const std::vector<std::uint8_t> first = test::ReadFileBytes(a.File(name));
    EXPECT_FALSE(first.empty());
    EXPECT_EQ(first, test::ReadFileBytes(b.File(name)));
  }
  // And the same as the build's copy.
  EXPECT_EQ(test::ReadFileBytes(a.File("Preferences")), test::ReadFileBytes(kPrefsPath));
  // Nothing but the two outputs is left behind.
  std::set<std::string> left;
  for (const auto& e : std::filesystem::recursive_directory_iterator(a.path())) {
    left.insert(std::filesystem::relative(e.path(), a.path()).string());
  }
  EXPECT_EQ(left, (std::set<std::string>{"Preferences", "textures", "textures/ground.bmp"}));
}

TEST(PrefsGenerator, RefusesBadArgumentsAndUnwritableDirectories) {
  EXPECT_NE(RunGenerator(""), 0);
  EXPECT_NE(RunGenerator("a b"), 0);
  test::TempDir dir;
  // A plain file where the output directory should be.
  test::WriteFileText(dir.File("blocked"), "x");
  EXPECT_NE(RunGenerator("'" + dir.File("blocked") + "'"), 0);
  EXPECT_EQ(test::ReadFileText(dir.File("blocked")), "x");
}

}  // namespace
}  // namespace ws
