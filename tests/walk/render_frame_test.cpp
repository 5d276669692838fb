// One walk frame: sort keys and their priorities, the sort order, which
// polygons are drawn, projection, facing, the pick, and no allocation.
#include <gtest/gtest.h>

#include <random>

#include "render_fixture.h"
#include "support/alloc_counter.h"

namespace ws {
namespace {

using test::AddFacingRect;
using test::WalkFixture;
using namespace walk;

constexpr std::uint32_t kFilled = PolyFlag::kSelectedColor;

// The plain recursive quicksort, first element as pivot, that the frame's
// order is defined by.
void PlainQuickSort(std::vector<SortEntry>& e, long lo, long hi) {
  if (lo >= hi) return;
  const double pivot = e[lo].key;
  long last = lo;
  for (long j = lo + 1; j <= hi; ++j) {
    if (e[j].key < pivot) std::swap(e[++last], e[j]);
  }
  std::swap(e[lo], e[last]);
  PlainQuickSort(e, lo, last - 1);
  PlainQuickSort(e, last + 1, hi);
}

TEST(RenderSort, MatchesThePlainQuicksort) {
  std::mt19937 random(13);
  struct Row {
    const char* name;
    int keyRange;  // small ranges give many equal keys
    int order;     // 0 random, 1 ascending, -1 descending
  };
  const Row rows[] = {{"distinct", 1 << 30, 0},
                      {"many ties", 7, 0},
                      {"few ties", 400, 0},
                      {"ascending with ties", 50, 1},
                      {"descending distinct", 1 << 30, -1}};
  for (const Row& row : rows) {
    for (int round = 0; round < 20; ++round) {
      std::vector<SortEntry> entries(static_cast<std::size_t>(1 + random() % 300));
      for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i] = {static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(i % 2),
                      static_cast<double>(random() % row.keyRange) - row.keyRange / 2};
      }
      if (row.order != 0) {
        std::stable_sort(entries.begin(), entries.end(),
                         [&](const SortEntry& a, const SortEntry& b) {
                           return row.order > 0 ? a.key < b.key : a.key > b.key;
                         });
      }
      std::vector<SortEntry> expected = entries, scratch(entries.size());
      PlainQuickSort(expected, 0, static_cast<long>(expected.size()) - 1);
      SortEntries(entries, scratch);
      for (std::size_t i = 0; i < entries.size(); ++i) {
        ASSERT_EQ(std::make_tuple(entries[i].index, entries[i].key),
                  std::make_tuple(expected[i].index, expected[i].key))
            << row.name << " round " << round << " at " << i;
      }
    }
  }
}

// Keys: the mean of a^2 + b^2 over the points. Near rectangle at 10 ahead
// (b = +-1: key 101), far one at 20 (b = +-4: key 416). The nearer is drawn
// last and covers the far one in the centre; listed Low in the current zone
// (+12800) it is drawn first and the far one covers it.
TEST(RenderKeys, DistanceAndZonePriorityDecideTheOrder) {
  struct Row {
    const char* name;
    std::vector<std::uint32_t> zoneList;  // entries of the current zone
    double nearKey;
    bool nearOnTop;
  };
  const Row rows[] = {{"no zone", {}, 101, true},
                      {"listed Low", {0x4000 | 1}, 101 + 12800, false},
                      {"listed High", {1}, 101 - 12800, true},
                      {"first entry counts", {0x4000 | 1, 1}, 101 + 12800, false},
                      {"other polygon listed", {0x4000 | 2}, 101, true}};
  for (const Row& row : rows) {
    WalkFixture f;
    const std::uint32_t far = AddFacingRect(f.tables(), 20, -4, 4, -4, 4, kFilled, 8);
    const std::uint32_t nearPoly = AddFacingRect(f.tables(), 10, -1, 1, -1, 1, kFilled, 16);
    ASSERT_EQ(f.Build(), "");
    f.w().viewer.zonePolygon = 5;
    f.w().viewer.zoneItem = 0;
    f.w().viewer.zonePolys = row.zoneList;
    f.Frame();
    EXPECT_EQ(std::make_tuple(f.PolygonKey(nearPoly), f.PolygonKey(far)),
              std::make_tuple(row.nearKey, 416.0))
        << row.name;
    EXPECT_EQ(f.Pixel(80, 60), row.nearOnTop ? 16 : 8) << row.name;
  }
}

// 0x1000 and High add up to -25600; the Collision polygon is pushed back
// only while the viewer is inside its item; a zone of another item has no
// effect.
TEST(RenderKeys, AdjustmentsAddUp) {
  struct Row {
    const char* name;
    std::uint32_t flags;
    int inside, zoneItem;
    std::vector<std::uint32_t> zoneList;
    double key;
  };
  const Row rows[] = {
      {"higher priority", PolyFlag::kHigherPriority, -1, 0, {}, 101 - 12800},
      {"higher priority and High", PolyFlag::kHigherPriority, -1, 0, {0}, 101 - 25600},
      {"zone of another item", PolyFlag::kHigherPriority, -1, 1, {0}, 101 - 12800},
      {"collision, outside", PolyFlag::kCollision, -1, 0, {}, 101},
      {"collision, inside", PolyFlag::kCollision, 0, 0, {}, 101 + 12800},
      {"collision inside and Low", PolyFlag::kCollision | kFilled, 0, 0, {0x4000}, 101 + 25600},
      {"all three", PolyFlag::kCollision | PolyFlag::kHigherPriority, 0, 0, {0x4000}, 101 + 12800},
  };
  for (const Row& row : rows) {
    WalkFixture f;
    AddFacingRect(f.tables(), 10, -1, 1, -1, 1, row.flags, 8);
    ASSERT_EQ(f.Build(), "");
    f.w().viewer.insideItem = row.inside;
    f.w().viewer.zonePolygon = 0;
    f.w().viewer.zoneItem = row.zoneItem;
    f.w().viewer.zonePolys = row.zoneList;
    f.Frame();
    EXPECT_EQ(f.PolygonKey(0), row.key) << row.name;
  }
}

// Vector keys: half the sum of both ends' a^2 + b^2, moved by the zone's
// vector list.
TEST(RenderKeys, VectorKeysAndTheirZoneList) {
  WalkFixture f;
  const auto a = test::ObjectPoint({10, 2, 0}), b = test::ObjectPoint({20, 0, 5});
  const std::uint32_t v =
      f.tables().AddVector(f.tables().AddPoint(a.x, a.y, a.z), f.tables().AddPoint(b.x, b.y, b.z));
  f.tables().vectors[v].width = 1;
  ASSERT_EQ(f.Build(), "");
  const double plain = (100 + 4 + 400) * 0.5;
  for (const auto& [list, key] :
       {std::make_pair(std::vector<std::uint32_t>{}, plain),
        std::make_pair(std::vector<std::uint32_t>{v | 0x4000}, plain + 12800),
        std::make_pair(std::vector<std::uint32_t>{v + 1, v}, plain - 12800)}) {
    f.w().viewer.zonePolygon = 3;
    f.w().viewer.zoneItem = 0;
    f.w().viewer.zoneVectors = list;
    f.Frame();
    ASSERT_EQ(f.w().entryCount, 1u);
    EXPECT_EQ(std::make_tuple(f.w().entries[0].kind, f.w().entries[0].index, f.w().entries[0].key),
              std::make_tuple(0u, v, key));
  }
}

// Invisible polygons never enter the frame; Not Visible From Collision ones
// only while the viewer is inside the item.
TEST(RenderFrame, InvisibleAndNotVisibleFromCollision) {
  struct Row {
    std::uint32_t flags;
    int inside;
    bool drawn;
  };
  const Row rows[] = {{PolyFlag::kInvisible | kFilled, -1, false},
                      {PolyFlag::kInvisible | PolyFlag::kHigherPriority | kFilled, -1, false},
                      {PolyFlag::kNotVisibleFromCollision, -1, true},
                      {PolyFlag::kNotVisibleFromCollision, 0, false},
                      {PolyFlag::kNotVisibleFromCollision, 1, true},
                      {kFilled, 0, true}};
  for (const Row& row : rows) {
    WalkFixture f;
    AddFacingRect(f.tables(), 10, -1, 1, -1, 1, row.flags, 16);
    ASSERT_EQ(f.Build(), "");
    f.w().viewer.insideItem = row.inside;
    f.Frame(80, 60);
    EXPECT_EQ(std::make_tuple(f.w().entryCount, f.Pixel(80, 60) == 16, f.w().pick.polygon),
              std::make_tuple(row.drawn ? 1u : 0u, row.drawn, row.drawn ? 0 : -1))
        << std::hex << row.flags << " inside " << row.inside;
  }
}

// Projection: column W/2 - (b/a) W/2, row H/2 + (c/a) H/2, truncated. A
// vector from (ahead 10, right 2.05, up 3) to (ahead 10, right -4.95, up 3)
// at 160 x 120 lies on row 60 + (3/-10) * 60 = 42, columns 80 + 16.4 -> 96
// to 80 - 39.6 -> 40; thick vectors widen with w * 5 * 0.025 units; Vectors
// On shows a width-0 vector as a one-pixel wire.
TEST(RenderFrame, ProjectsOntoTheScreen) {
  struct Row {
    std::uint32_t width;
    bool vectorsOn;
    int firstRow, lastRow;  // rows the line covers in column 60
  };
  // Width 40: 5 units across, 40 pixels at 10 ahead: pen half-width 20.
  const Row rows[] = {
      {1, false, 42, 42}, {0, true, 42, 42}, {0, false, -1, -1}, {40, false, 22, 62}};
  for (const Row& row : rows) {
    WalkFixture f;
    f.display.hideEnvironment = true;
    f.display.vectorsOn = row.vectorsOn;
    const auto a = test::ObjectPoint({10, 2.05, 3}), b = test::ObjectPoint({10, -4.95, 3});
    const std::uint32_t v = f.tables().AddVector(f.tables().AddPoint(a.x, a.y, a.z),
                                                 f.tables().AddPoint(b.x, b.y, b.z));
    f.tables().vectors[v].width = row.width;
    f.tables().vectors[v].color = 24;
    ASSERT_EQ(f.Build(), "");
    f.Frame();
    const std::uint8_t colour = row.vectorsOn ? f.display.wireColour : 24;
    int first = -1, last = -1;
    for (int y = 0; y < 120; ++y) {
      if (f.Pixel(60, y) == colour) {
        if (first < 0) first = y;
        last = y;
      }
    }
    EXPECT_EQ(std::make_tuple(first, last), std::make_tuple(row.firstRow, row.lastRow))
        << row.width;
    if (row.width == 1) {
      EXPECT_EQ(std::make_tuple(f.Pixel(96, 42), f.Pixel(40, 42), f.Pixel(97, 42), f.Pixel(39, 42)),
                std::make_tuple(24, 24, f.display.blackIndex, f.display.blackIndex));
    }
  }
}

// Facing only for 0x400 / 0x800: clockwise on screen is the front. A back
// face with 0x400 is not drawn but is picked; with 0x800 it shows and picks
// its back colour.
TEST(RenderFrame, FacingChoosesColourAndVisibility) {
  struct Row {
    const char* name;
    std::uint32_t flags;
    bool reversed;  // points anticlockwise on screen: seen from behind
    std::uint8_t pixel;
    std::uint8_t pickColour;
    int backFace;
  };
  const std::uint8_t sky = 0;  // replaced by the background pixel below
  const Row rows[] = {
      {"front", kFilled | PolyFlag::kNeverDrawBackFace, false, 16, 16, 0},
      {"back, never drawn", kFilled | PolyFlag::kNeverDrawBackFace, true, sky, 16, 0},
      {"back without facing bits", kFilled, true, 16, 16, 0},
      {"back, own colour", kFilled | PolyFlag::kEachSideDifferent, true, 40, 40, 1},
      {"front, own colour", kFilled | PolyFlag::kEachSideDifferent, false, 16, 16, 0},
  };
  for (const Row& row : rows) {
    WalkFixture f;
    f.display.hideEnvironment = true;
    if (row.reversed) {
      test::AddWalkPolygon(f.tables(), {{10, -1, -1}, {10, 1, -1}, {10, 1, 1}, {10, -1, 1}},
                           row.flags, 16, 40);
    } else {
      AddFacingRect(f.tables(), 10, -1, 1, -1, 1, row.flags, 16, 40);
    }
    ASSERT_EQ(f.Build(), "");
    f.Frame(80, 60);
    const WalkPick& pick = f.w().pick;
    const std::uint8_t expected = row.pixel == sky ? f.display.blackIndex : row.pixel;
    EXPECT_EQ(
        std::make_tuple(f.Pixel(80, 60), pick.polygon, pick.color, pick.fill, pick.backFace),
        std::make_tuple(expected, 0, row.pickColour, row.pickColour * 0x01010101u, row.backFace))
        << row.name;
  }
}

// The nearer polygon under the pointer wins; its outline is drawn in the
// highlight colour; the pointer off every polygon picks none. Polygons Off
// draws and picks no polygon but keeps vectors.
TEST(RenderFrame, PicksTheNearestPolygonUnderThePointer) {
  WalkFixture f;
  f.display.hideEnvironment = true;
  AddFacingRect(f.tables(), 20, -4, 4, -4, 4, kFilled, 8);
  AddFacingRect(f.tables(), 10, -1, 1, -1, 1, kFilled, 16);
  const auto a = test::ObjectPoint({10, 4, 3}), b = test::ObjectPoint({10, 6, 3});
  f.tables()
      .vectors[f.tables().AddVector(f.tables().AddPoint(a.x, a.y, a.z),
                                    f.tables().AddPoint(b.x, b.y, b.z))]
      .color = 24;
  f.tables().vectors[f.tables().vectorCount - 1].width = 1;
  ASSERT_EQ(f.Build(), "");
  struct Row {
    int x, y;
    int polygon;
  };
  // Near rectangle: columns 72..88, rows 54..66; far one: 64..96, 48..72.
  const Row rows[] = {{80, 60, 1}, {66, 50, 0}, {75, 56, 1}, {20, 20, -1}, {-1, -1, -1}};
  for (const Row& row : rows) {
    f.Frame(row.x, row.y);
    EXPECT_EQ(f.w().pick.polygon, row.polygon) << row.x << "," << row.y;
  }
  f.Frame(80, 60);
  EXPECT_EQ(std::make_tuple(f.Pixel(72, 54), f.Pixel(88, 66), f.Pixel(80, 60)),
            std::make_tuple(f.display.highlightColour, f.display.highlightColour, 16));
  f.display.polygonsOn = false;
  f.Frame(80, 60);
  EXPECT_EQ(std::make_tuple(f.w().pick.polygon, f.Pixel(80, 60), f.Pixel(120, 42)),
            std::make_tuple(-1, f.display.blackIndex, 24));
}

// Fill routine by flags: outline style, plain, bordered, or none at all.
TEST(RenderFrame, FillRoutineByFlags) {
  struct Row {
    std::uint32_t flags;
    std::uint8_t inside, edge;  // pixel (80, 60) and the left edge (72, 60)
  };
  const std::uint8_t none = 255;  // stands for the background
  const Row rows[] = {{PolyFlag::kOutline | kFilled, 2, 2},
                      {PolyFlag::kShaded, 17, 17},
                      {PolyFlag::kShaded | PolyFlag::kBordered, 17, none},
                      {PolyFlag::kAdopted | PolyFlag::kBordered, 17, none},
                      {PolyFlag::kNotVisibleFromCollision, 17, 17},
                      {0, none, none},
                      {PolyFlag::kBordered | PolyFlag::kViewZone, none, none}};
  for (const Row& row : rows) {
    WalkFixture f;
    f.display.hideEnvironment = true;
    AddFacingRect(f.tables(), 10, -1, 1, -1, 1, row.flags, 17);
    ASSERT_EQ(f.Build(), "");
    f.Frame();
    auto expect = [&](std::uint8_t v) { return v == none ? f.display.blackIndex : v; };
    EXPECT_EQ(std::make_tuple(f.Pixel(80, 60), f.Pixel(72, 60)),
              std::make_tuple(expect(row.inside), expect(row.edge)))
        << std::hex << row.flags;
  }
}

// Polygons behind the viewer or cut by the near plane: clipped, never a
// stray fill.
TEST(RenderFrame, ClipsAgainstTheNearPlane) {
  WalkFixture f;
  f.display.hideEnvironment = true;
  AddFacingRect(f.tables(), -5, -1, 1, -1, 1, kFilled, 16);  // behind
  // A floor strip from behind the viewer to 20 ahead, 2 below the eye.
  test::AddWalkPolygon(f.tables(), {{-10, -1, -2}, {20, -1, -2}, {20, 1, -2}, {-10, 1, -2}},
                       kFilled, 24);
  ASSERT_EQ(f.Build(), "");
  f.Frame();
  int behind = 0, strip = 0, topHalf = 0;
  for (int y = 0; y < 120; ++y) {
    for (int x = 0; x < 160; ++x) {
      behind += f.Pixel(x, y) == 16;
      strip += f.Pixel(x, y) == 24;
      topHalf += y < 60 && f.Pixel(x, y) == 24;
    }
  }
  EXPECT_EQ(std::make_tuple(behind, strip > 0, topHalf), std::make_tuple(0, true, 0));
  // Row 60 + (2/20) * 60 = 66 is the strip's far end, the bottom row its near part.
  EXPECT_EQ(std::make_tuple(f.Pixel(80, 65), f.Pixel(80, 66), f.Pixel(80, 119)),
            std::make_tuple(f.display.blackIndex, 24, 24));
}

TEST(RenderFrame, AllocatesNothingPerFrame) {
  WalkFixture f(320, 240);
  for (int i = 0; i < 50; ++i) {
    AddFacingRect(f.tables(), 10 + i, -1 - i, 1, -1, 1 + i % 3,
                  kFilled | PolyFlag::kNeverDrawBackFace, 8 * (i % 8));
  }
  const auto a = test::ObjectPoint({10, 2, 3}), b = test::ObjectPoint({10, -5, 3});
  const std::uint32_t v =
      f.tables().AddVector(f.tables().AddPoint(a.x, a.y, a.z), f.tables().AddPoint(b.x, b.y, b.z));
  f.tables().vectors[v].width = 7;
  f.display.vectorsOn = true;
  ASSERT_EQ(f.Build(), "");
  f.w().viewer.zonePolygon = 0;
  f.w().viewer.zoneItem = 0;
  f.w().viewer.zonePolys.assign({3, 0x4000 | 4});
  f.Frame(100, 100);
  const long before = test::AllocationCount();
  for (int i = 0; i < 5; ++i) {
    f.w().viewer.heading += 20;
    f.Frame(100 + i, 120);
  }
  EXPECT_EQ(test::AllocationCount() - before, 0);
}

}  // namespace
}  // namespace ws
