// One walk frame: sort keys and priorities, the sort order, which polygons
// are drawn and how, the pick, and no allocation. Projection, facing and
// clipping show in the golden frames.
#include <gtest/gtest.h>

#include <random>

#include "render_fixture.h"
#include "support/alloc_counter.h"

namespace ws {
namespace {

using test::AddFacingRect;
using test::AddNearSquare;
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
  // Small key ranges give many equal keys; order 0 random, 1 ascending, -1 descending.
  // clang-format off
  const struct { const char* name; int keyRange, order; } rows[] = {
      {"distinct", 1 << 30, 0}, {"many ties", 7, 0}, {"few ties", 400, 0},
      {"ascending with ties", 50, 1}, {"descending distinct", 1 << 30, -1}};
  // clang-format on
  for (const auto& row : rows) {
    for (int round = 0; round < 20; ++round) {
      std::vector<SortEntry> entries(static_cast<std::size_t>(1 + random() % 300));
      for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i] = {static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(i % 2),
                      static_cast<double>(random() % row.keyRange) - row.keyRange / 2};
      }
      std::stable_sort(entries.begin(), entries.end(), [&](const SortEntry& a, const SortEntry& b) {
        return row.order * a.key < row.order * b.key;
      });
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

// Keys: the mean of a^2 + b^2 over the points: the near square (polygon 0)
// 101, the far rectangle 416. The zone's list (Low back, High forward),
// Higher Priority (forward) and, inside the item, Collision (back) each move
// a key by 12800. The larger key is drawn first; the pointer picks the
// polygon on top and outlines it (the near square's corner is (72, 54)).
TEST(RenderKeys, DistancePrioritiesAndZoneListDecideTheOrder) {
  namespace PF = PolyFlag;
  // clang-format off
  const struct { const char* name; std::uint32_t flags; int inside, zoneItem;
                 std::vector<std::uint32_t> zoneList; double key; } rows[] = {
      {"no zone",                  0,                   -1, -1, {},          101},
      {"listed Low",               0,                   -1,  0, {0x4000},    101 + 12800},
      {"listed High",              0,                   -1,  0, {0},         101 - 12800},
      {"first entry counts",       0,                   -1,  0, {0x4000, 0}, 101 + 12800},
      {"other polygon listed",     0,                   -1,  0, {0x4002},    101},
      {"higher priority",          PF::kHigherPriority, -1, -1, {},          101 - 12800},
      {"higher priority and High", PF::kHigherPriority, -1,  0, {0},         101 - 25600},
      {"zone of another item",     PF::kHigherPriority, -1,  1, {0},         101 - 12800},
      {"collision, outside",       PF::kCollision,      -1, -1, {},          101},
      {"collision, inside",        PF::kCollision,       0, -1, {},          101 + 12800},
      {"collision inside and Low", PF::kCollision,       0,  0, {0x4000},    101 + 25600},
      {"all three", PF::kCollision | PF::kHigherPriority, 0, 0, {0x4000},    101 + 12800}};
  // clang-format on
  for (const auto& row : rows) {
    WalkFixture f;
    AddNearSquare(f.tables(), row.flags | kFilled, 16);
    AddFacingRect(f.tables(), 20, -4, 4, -4, 4, kFilled, 8);
    ASSERT_EQ(f.Build(), "");
    f.w().viewer.insideItem = row.inside;
    f.StandInZone(0, row.zoneList);
    f.w().viewer.zoneItem = row.zoneItem;
    const long before = test::AllocationCount();
    f.Frame(80, 60);
    EXPECT_EQ(test::AllocationCount(), before) << row.name;
    const bool nearOnTop = row.key < 416;
    EXPECT_EQ(std::make_tuple(f.PolygonKey(0), f.PolygonKey(1), f.Pixel(80, 60), f.w().pick.polygon,
                              f.Pixel(72, 54)),
              std::make_tuple(row.key, 416.0, nearOnTop ? 16 : 8, nearOnTop ? 0 : 1,
                              nearOnTop ? f.display.highlightColour : 8))
        << row.name;
  }
}

// Vector keys: half the sum of both ends' a^2 + b^2, moved by the zone's
// vector list; drawing them allocates nothing either.
TEST(RenderKeys, VectorKeysAndTheirZoneList) {
  WalkFixture f;
  const std::uint32_t v = test::AddWalkVector(f.tables(), {10, 2, 0}, {20, 0, 5}, 1);
  ASSERT_EQ(f.Build(), "");
  const double plain = (100 + 4 + 400) * 0.5;
  const std::pair<std::vector<std::uint32_t>, double> rows[] = {
      {{}, plain}, {{v | 0x4000}, plain + 12800}, {{v + 1, v}, plain - 12800}};
  for (const auto& [list, key] : rows) {
    f.StandInZone(3, {});
    f.w().viewer.zoneVectors = list;
    const long before = test::AllocationCount();
    f.Frame(40, 40);
    EXPECT_EQ(test::AllocationCount(), before);
    ASSERT_EQ(f.w().entryCount, 1u);
    EXPECT_EQ(std::make_tuple(f.w().entries[0].kind, f.w().entries[0].index, f.w().entries[0].key),
              std::make_tuple(0u, v, key));
  }
}

// Invisible polygons never enter the frame, Not Visible From Collision ones
// not while the viewer is inside the item; the flags pick outline, plain,
// bordered or no fill.
TEST(RenderFrame, FlagsDecideWhetherAndHowAPolygonIsFilled) {
  namespace PF = PolyFlag;
  const std::uint8_t none = 255;  // stands for the background
  // Pixel (80, 60) and the left edge (72, 60).
  // clang-format off
  const struct { std::uint32_t flags; int inside, entries; std::uint8_t centre, edge; } rows[] = {
      {PF::kOutline | kFilled,                         -1, 1, 2, 2},
      {PF::kShaded,                                    -1, 1, 17, 17},
      {PF::kShaded | PF::kBordered,                    -1, 1, 17, none},
      {PF::kAdopted | PF::kBordered,                   -1, 1, 17, none},
      {0,                                              -1, 1, none, none},
      {PF::kBordered | PF::kViewZone,                  -1, 1, none, none},
      {PF::kInvisible | kFilled,                       -1, 0, none, none},
      {PF::kInvisible | PF::kHigherPriority | kFilled, -1, 0, none, none},
      {PF::kNotVisibleFromCollision,                   -1, 1, 17, 17},
      {PF::kNotVisibleFromCollision,                    0, 0, none, none},
      {PF::kNotVisibleFromCollision,                    1, 1, 17, 17},
      {kFilled,                                         0, 1, 17, 17}};
  // clang-format on
  for (const auto& row : rows) {
    WalkFixture f;
    f.display.hideEnvironment = true;
    AddNearSquare(f.tables(), row.flags, 17);
    ASSERT_EQ(f.Build(), "");
    f.w().viewer.insideItem = row.inside;
    f.Frame();
    auto shown = [&](std::uint8_t v) { return v == none ? f.display.blackIndex : v; };
    EXPECT_EQ(std::make_tuple(f.w().entryCount, f.Pixel(80, 60), f.Pixel(72, 60)),
              std::make_tuple(static_cast<std::uint32_t>(row.entries), shown(row.centre),
                              shown(row.edge)))
        << std::hex << row.flags << " inside " << row.inside;
  }
}

}  // namespace
}  // namespace ws
