// View-zone entries keep naming the same polygons and vectors when the
// commands that remove records renumber the tables, so that a saved object
// always reads back.
#include <gtest/gtest.h>

#include "geometry/deletion.h"
#include "geometry/faces.h"
#include "geometry/merge.h"
#include "geometry_test_support.h"

namespace ws::test {
namespace {

using Entries = std::vector<std::uint32_t>;
constexpr std::uint32_t kLow = ViewZone::kLowPriority, kVec = ViewZone::kIsVector;

// Triangles 0 and 1, square 2, zone triangle 3 listing them all and two
// free vectors: `spare`, then `far` (a duplicate of `near`, reversed).
struct ZoneObject : GeometryFixture {
  ZoneObject() {
    const auto a = P(0, 0, 0), b = P(10, 0, 0), c = P(10, 10, 0), d = P(0, 10, 0), e = P(5, 5, 9);
    Poly({a, b, e});
    Poly({b, c, e});
    Poly({a, b, c, d});
    zone = Poly({c, d, e});
    spare = V(a, c);
    near = V(b, d);
    far = V(d, b);
    t().polygons[zone].flags |= PolyFlag::kViewZone;
    Zones(zone, {0, 1 | kLow, 2, kVec | kLow | spare, kVec | near, kVec | far});
  }
  std::uint32_t zone, spare, near, far;
};

TEST(ViewZoneRenumbering, EntriesFollowWhatTheyName) {
  struct Row {
    const char* what;
    std::function<void(ZoneObject&)> run;
    std::uint32_t zoneAfter;
    std::function<Entries(const ZoneObject&)> want;
  };
  const Row rows[] = {
      {"delete polygon 1",
       [](ZoneObject& o) {
         o.t().polygonSelected[1] = kSelected;
         DeleteSelectedItems(o.t());
       },
       2,
       [](const ZoneObject& o) {
         return Entries{0, 1, kVec | kLow | o.spare, kVec | o.near, kVec | o.far};
       }},
      {"delete the spare vector",
       [](ZoneObject& o) {
         o.t().vectors[o.spare].selected = kSelected;
         DeleteSelectedItems(o.t());
       },
       3,
       [](const ZoneObject& o) {
         return Entries{0, 1 | kLow, 2, kVec | (o.near - 1), kVec | (o.far - 1)};
       }},
      {"tessellate the square",
       [](ZoneObject& o) {
         o.t().polygonSelected[2] = kSelected;
         Tessellate(o.t(), o.ui);
       },
       2,
       [](const ZoneObject& o) {
         return Entries{0, 1 | kLow, kVec | kLow | o.spare, kVec | o.near, kVec | o.far};
       }},
      {"merge the reversed vector", [](ZoneObject& o) { RemoveDuplicateGeometry(o.t(), o.rt); }, 3,
       [](const ZoneObject& o) {
         return Entries{0, 1 | kLow, 2, kVec | kLow | o.spare, kVec | o.near, kVec | o.near};
       }},
  };
  for (const Row& row : rows) {
    ZoneObject o;
    row.run(o);
    EXPECT_EQ(o.ZonesOf(row.zoneAfter), row.want(o)) << row.what;
  }
}

// Slot 0 of an adopted polygon is its leader: no delete renumbers it as an
// entry, and when the leader goes the slot leaves the list.
TEST(ViewZoneRenumbering, LeaderSlotIsNoEntry) {
  ZoneObject o;
  o.t().polygons[o.zone].flags |= PolyFlag::kAdopted;
  o.t().polygons[o.zone].viewZones[0] = 1;  // leader: triangle 1
  o.t().polygonSelected[0] = kSelected;
  DeleteSelectedItems(o.t());
  EXPECT_EQ(o.ZonesOf(2),
            (Entries{0, kLow, 1, kVec | kLow | o.spare, kVec | o.near, kVec | o.far}));
  o.t().polygonSelected[0] = kSelected;  // the leader
  DeleteSelectedItems(o.t());
  EXPECT_EQ(std::make_pair(o.ZonesOf(1), o.t().polygons[1].flags & PolyFlag::kAdopted),
            std::make_pair(Entries{0, kVec | kLow | o.spare, kVec | o.near, kVec | o.far}, 0u));
}

}  // namespace
}  // namespace ws::test
