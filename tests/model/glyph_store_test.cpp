#include "model/glyph_store.h"

#include <gtest/gtest.h>

#include <tuple>

#include "model_test_util.h"
#include "support/test_support.h"

namespace ws {
namespace {

using Strings = std::vector<std::string>;
const std::string kLeftOut = " of the vector font was left out: ";

struct GlyphFile : ::testing::Test, test::OwnTables {
  test::TempDir dir;
  ResourceFile files{rt};
  std::string path = dir.File("Preferences");
  GlyphStore store;

  void SetUp() override { ASSERT_EQ(files.CreateResFile(path), 0); }

  // Stores the tables as glyph `id`, then empties them.
  void StoreGlyph(std::uint32_t id) {
    OpenResource f(files, path);
    ASSERT_EQ(StoreObjectResources(files, f.ref(), id, "glyph", t, {}, 0), StoreStatus::kOk);
    t.ResetObject();
  }
  // A zig-zag line of n points (n - 1 vectors), no polygon.
  void StoreLine(std::uint32_t id, std::uint32_t n) {
    for (std::uint32_t i = 0; i < n; ++i) t.AddPoint(i, i % 2, 0);
    for (std::uint32_t i = 1; i < n; ++i) t.AddVector(6 + i, 7 + i);
    StoreGlyph(id);
  }
  void AddPolygon(std::initializer_list<std::uint32_t> corners,
                  std::initializer_list<std::uint32_t> edges, std::uint32_t viewZone) {
    Polygon p = test::MakePolygon(corners, edges);
    p.viewZones[p.viewZoneCount++] = viewZone;
    p.viewZones[5] = 0x123;
    t.polygons[t.polygonCount++] = p;
  }
  std::uint32_t Load() { return LoadGlyphs(files, path, ui, store); }
};

// Glyphs are appended with their offsets; a damaged one is left out and
// the later ones keep their numbers, up to the 256 records the store keeps.
TEST_F(GlyphFile, GlyphsAreAppendedWithTheirOffsetsAndDamagedOnesLeftOut) {
  // Glyph 0: triangle with two vectors and one polygon; glyph 1: two
  // points, one vector, a polygon whose view zone names a vector, low priority.
  t.AddPoint(0, 0, 0), t.AddPoint(100, 0, 0), t.AddPoint(50, 200, 0);
  t.AddVector(7, 8), t.AddVector(8, 9);
  AddPolygon({7, 8, 9}, {6, 7}, 0x4000);
  StoreGlyph(0);
  t.AddPoint(5, 5, 0), t.AddPoint(6, 6, 0);
  t.vectors[t.AddVector(7, 8)].color = 9;
  AddPolygon({8, 7}, {6}, 0xC000);
  StoreGlyph(1);
  t.AddPoint(0, 0, 0);
  t.AddVector(7, 1);  // an end at a reserved point: outside a glyph
  StoreGlyph(2);
  t.AddPoint(0, 0, 0);
  AddPolygon({7, 3}, {}, 0);  // a reserved corner
  StoreGlyph(3);
  ASSERT_TRUE(files.WriteResource(OpenResource(files, path).ref(), kResPinf, 4,
                                  EncodePinf(0, 0, 5, 0), "g"));  // points but no 'PNTS'
  StoreLine(5, 2);
  for (std::uint32_t id = 6; id <= kGlyphMaxRecords; ++id) StoreGlyph(id);
  ASSERT_EQ(Load(), kGlyphMaxRecords);
  EXPECT_EQ(ui.MessageTexts(),
            (Strings{"Glyph 2" + kLeftOut + "vector 0 has an end point outside the object.",
                     "Glyph 3" + kLeftOut + "polygon 0 has a corner outside the object.",
                     "Glyph 4" + kLeftOut + "its PNTS resource is missing.",
                     "Glyph 256" + kLeftOut + "the font has more glyphs than the store keeps."}));
  ASSERT_EQ(std::make_tuple(store.points.size(), store.vectors.size(), store.polygons.size()),
            std::make_tuple(7ul, 4ul, 2ul));
  // Glyph-relative numbers plus what came before; vector lists as stored.
  EXPECT_EQ(std::tie(store.points[4].x, store.vectors[1], store.vectors[2], store.vectors[3].p1),
            std::make_tuple(6.0, StoredVector{1, 2, 0, 0, 0}, StoredVector{3, 4, 9, 0, 0}, 5u));
  const StoredPolygon& p = store.polygons[1];
  EXPECT_EQ(
      std::make_tuple(p.points[0], p.points[1], p.vectors[0], p.viewZones[0], p.viewZones[5]),
      std::make_tuple(4, 3, 0u, 0xC001u, 0u));  // entries beyond the count are not in the file
  EXPECT_EQ(std::tie(store.polygons[0].viewZones[0], store.glyphs[0], store.glyphs[1],
                     store.glyphs[5], store.glyphs[255]),
            std::make_tuple(0x4000u, GlyphRecord{3, 2, 1, 0, 0, 0}, GlyphRecord{2, 1, 1, 3, 2, 1},
                            GlyphRecord{2, 1, 0, 5, 3, 2}, GlyphRecord{0, 0, 0, 7, 4, 2}));
}

// Each store capacity taken exactly by a glyph, then one more; a gap in
// the glyph numbers ends the font.
TEST_F(GlyphFile, CapacitiesAreKeptExactly) {
  StoreLine(0, 600);
  StoreLine(1, 101);  // 701 points in all: refused
  t.AddVector(7, 8), t.AddVector(8, 9);
  StoreLine(2, 100);  // exactly 700 points and 700 vectors: fits
  t.AddVector(0, 1);
  StoreGlyph(3);  // vector 701
  for (int g = 0; g < 21; ++g) AddPolygon({}, {}, 0);
  StoreGlyph(4);  // 21 polygons
  for (int g = 0; g < 20; ++g) AddPolygon({}, {}, 0);
  StoreGlyph(5);  // 20: fits
  AddPolygon({}, {}, 0);
  StoreGlyph(6);    // polygon 21
  StoreLine(8, 2);  // after the gap at 7: never read
  ASSERT_EQ(Load(), 7u);
  EXPECT_EQ(ui.MessageTexts(),
            (Strings{"Glyph 1" + kLeftOut + "the glyph store has no room for its points.",
                     "Glyph 3" + kLeftOut + "the glyph store has no room for its vectors.",
                     "Glyph 4" + kLeftOut + "it has more polygons than the tables can hold.",
                     "Glyph 6" + kLeftOut + "the glyph store has no room for its polygons."}));
  EXPECT_EQ(std::make_tuple(store.points.size(), store.vectors.size(), store.polygons.size(),
                            store.glyphs[1], store.glyphs[2], store.vectors.back().p2),
            std::make_tuple(700ul, 700ul, 20ul, GlyphRecord{0, 0, 0, 600, 599, 0},
                            GlyphRecord{100, 101, 0, 600, 599, 0}, 699u));
  EXPECT_EQ(Load(), 7u);  // loading again starts from an empty store
  EXPECT_EQ(store.points.size(), 700u);
}

}  // namespace
}  // namespace ws
