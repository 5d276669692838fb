#include "geometry/object_check.h"

#include <functional>

#include "geometry/geometry_test_support.h"
#include "geometry/merge.h"

namespace ws::test {
namespace {

using Flags = std::uint32_t;
using Corner = std::array<double, 3>;
constexpr Flags kPlain = PolyFlag::kDefined;
constexpr Flags kColl = kPlain | PolyFlag::kCollision;
constexpr Flags kEntr = kPlain | PolyFlag::kEntrance;
constexpr Flags kZone = kPlain | PolyFlag::kViewZone;

struct CheckFixture : GeometryFixture {
  // A polygon on fresh points with one vector along each edge.
  std::uint32_t Face(std::vector<Corner> corners, Flags flags = kPlain) {
    std::vector<std::uint32_t> pts;
    for (const Corner& c : corners) pts.push_back(P(c[0], c[1], c[2]));
    return Loop(pts, flags);
  }
  // A polygon on these points; edge vectors made where none joins them.
  std::uint32_t Loop(const std::vector<std::uint32_t>& pts, Flags flags = kPlain) {
    for (std::size_t i = 0; i < pts.size(); ++i) {
      AddFreshVectorUnique(t(), pts[i], pts[(i + 1) % pts.size()]);
    }
    const std::uint32_t k = t().polygonCount++;
    Polygon& poly = t().polygons[k];
    poly = Polygon{};
    poly.pointCount = static_cast<std::uint32_t>(pts.size());
    std::copy(pts.begin(), pts.end(), poly.points);
    poly.flags = flags;
    RebuildVectorLists(t(), k, k + 1);
    return k;
  }
  std::uint32_t Square(double z, Flags flags = kPlain) {
    return Face({{0, 0, z}, {10, 0, z}, {10, 10, z}, {0, 10, z}}, flags);
  }
  void Zones(std::uint32_t k, std::vector<std::uint32_t> entries) {
    t().polygons[k].viewZoneCount = static_cast<std::uint32_t>(entries.size());
    std::copy(entries.begin(), entries.end(), t().polygons[k].viewZones);
  }
};

// kind, polygons, vectors, points (file numbering) and the message; an
// empty message is not compared.
struct Want {
  CheckKind kind;
  std::vector<std::uint32_t> polygons, vectors, points;
  std::string message;
};

std::string Describe(const Want& w) {
  std::string s = std::string(CheckKindName(w.kind)) + " p";
  for (auto* list : {&w.polygons, &w.vectors, &w.points}) {
    for (std::uint32_t n : *list) s += ' ' + std::to_string(n);
    s += list == &w.points ? "" : " |";
  }
  return s + " \"" + w.message + '"';
}

// Twisted square: two opposite corners raised by h; every corner then lies
// h/2 off the plane through the centroid, whose Newell normal is z.
std::vector<Corner> Saddle(double h) { return {{0, 0, 0}, {100, 0, h}, {100, 100, 0}, {0, 100, h}}; }

TEST(ObjectCheck, FindsEachFaultAtItsLimit) {
  using K = CheckKind;
  const double a = 1.0 / 512, b = 1.0 / 1024;  // triangle heights: area 1/1024, 1/2048
  struct Row {
    const char* name;
    std::function<void(CheckFixture&)> build;
    std::vector<Want> want;
  };
  // clang-format off
  const Row rows[] = {
      {"clean square", [](CheckFixture& f) { f.Square(0); }, {}},
      {"collision alone", [](CheckFixture& f) { f.Square(0, kColl); },
       {{K::kCollisionWithoutEntrance, {0}, {}, {}, "Collision polygon 0 has no Entrance polygon: walking in is impossible."}}},
      {"collision and entrance", [](CheckFixture& f) { f.Square(0, kColl); f.Square(20, kEntr); }, {}},
      {"two collision", [](CheckFixture& f) { f.Square(0, kColl); f.Square(20, kEntr); f.Square(40, kColl); },
       {{K::kSeveralCollision, {0, 2}, {}, {}, "2 Collision polygons (0, 2): only the last, 2, counts."}}},
      {"two entrance", [](CheckFixture& f) { f.Square(0, kEntr); f.Square(20, kEntr); },
       {{K::kSeveralEntrance, {0, 1}, {}, {}, "2 Entrance polygons (0, 1): only the last, 1, counts."}}},
      {"ten view zones", [](CheckFixture& f) { for (int i = 0; i < 10; ++i) f.Square(20 * i, kZone); }, {}},
      {"eleven view zones", [](CheckFixture& f) { for (int i = 0; i < 11; ++i) f.Square(20 * i, kZone); },
       {{K::kTooManyViewZones, {10}, {}, {}, "11 View Zone polygons: only the first 10 are recorded; 10 does not act as a view zone."}}},
      {"view-zone entries", [](CheckFixture& f) {
         f.Zones(f.Square(0, kZone), {2, 3, 0, 0x4000 | 3, 0x8000 | 17, 0x8000 | 18, 0x8000 | 5});
         f.Square(20); f.Square(40);
         f.t().polygons[0].viewZones[7] = 3;  // past the count: not an entry
       },
       {{K::kViewZoneEntryMissing, {0}, {}, {}, "View zone 0, entry 1, names polygon 3, which does not exist."},
        {K::kViewZoneEntrySelf, {0}, {}, {}, "View zone 0, entry 2, names the zone itself."},
        {K::kViewZoneEntryMissing, {0}, {}, {}, "View zone 0, entry 3, names polygon 3, which does not exist."},
        {K::kViewZoneEntryMissing, {0}, {}, {}, "View zone 0, entry 5, names vector 12, which does not exist."},
        {K::kViewZoneEntryMissing, {0}, {}, {}, "View zone 0, entry 6, names vector -1, which does not exist."}}},
      {"entries of a polygon that is no view zone", [](CheckFixture& f) { f.Zones(f.Square(0), {0, 9, 0x8000 | 99}); }, {}},
      {"group leaders", [](CheckFixture& f) {
         f.Square(0);
         f.t().polygons[f.Square(20, kPlain | PolyFlag::kAdopted)].viewZones[0] = 2;
         f.t().polygons[f.Square(40, kPlain | PolyFlag::kAdopted)].viewZones[0] = 3;
       },
       {{K::kMissingGroupLeader, {2}, {}, {}, "Polygon 2 adopts its colour from polygon 3, which does not exist."}}},
      {"two distinct points", [](CheckFixture& f) { const auto p = f.P(0, 0, 0), q = f.P(10, 0, 0); f.Loop({p, q, p, p}); },
       {{K::kDegenerate, {0}, {}, {}, "Polygon 0 has fewer than 3 distinct points."}}},
      {"collinear", [](CheckFixture& f) { f.Face({{0, 0, 0}, {5, 5, 5}, {10, 10, 10}}); },
       {{K::kDegenerate, {0}, {}, {}, "Polygon 0 has no area: its points lie on one line."}}},
      {"area at the limit", [a](CheckFixture& f) { f.Face({{0, 0, 0}, {1, 0, 0}, {0, a, 0}}); }, {}},
      {"area below the limit", [b](CheckFixture& f) { f.Face({{0, 0, 0}, {1, 0, 0}, {0, b, 0}}); },
       {{K::kDegenerate, {0}, {}, {}, "Polygon 0 has no area: its points lie on one line."}}},
      {"twist at the limit", [](CheckFixture& f) { f.Face(Saddle(2 * kPlaneTolerance)); }, {}},
      {"twist past the limit", [](CheckFixture& f) { f.Face(Saddle(2 * kPlaneTolerance + 1.0 / 1024)); },
       {{K::kNotCoplanar, {0}, {}, {0}, "Polygon 0 is not flat: point 0 lies 1.00049 units off its plane (more than 1)."}}},
      {"straight corner", [](CheckFixture& f) { f.Face({{0, 0, 0}, {5, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}}); }, {}},
      {"L shape", [](CheckFixture& f) { f.Face({{0, 0, 0}, {20, 0, 0}, {20, 10, 0}, {10, 10, 0}, {10, 20, 0}, {0, 20, 0}}); },
       {{K::kNotConvex, {0}, {}, {3}, "Polygon 0 is not convex: it turns the wrong way at point 3."}}},
      {"spike", [](CheckFixture& f) { f.Face({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {10, 5, 0}, {0, 10, 0}}); },
       {{K::kNotConvex, {0}, {}, {2}, "Polygon 0 is not convex: it turns the wrong way at point 2."}}},
      {"pentagram", [](CheckFixture& f) { f.Face({{0, 100, 0}, {-59, -81, 0}, {95, 31, 0}, {-95, 31, 0}, {59, -81, 0}}); },
       {{K::kNotConvex, {0}, {}, {}, "Polygon 0 is not convex: its outline crosses itself."}}},
      {"loose vector", [](CheckFixture& f) { f.Square(0); f.V(7, 9); },
       {{K::kUnusedVectors, {}, {4}, {}, "1 vector belongs to no polygon: 4."}}},
      {"edges without a vector list", [](CheckFixture& f) { f.t().polygons[f.Square(0)].vectorCount = 0; }, {}},
      {"vector named by a view zone", [](CheckFixture& f) { const auto k = f.Square(0, kZone); f.Zones(k, {0x8000 | f.V(7, 9)}); }, {}},
      {"stray points", [](CheckFixture& f) { f.Square(0); f.P(50, 50, 50); f.P(60, 60, 60); },
       {{K::kUnusedPoints, {}, {}, {4, 5}, "2 points are used by no vector and no polygon: 4, 5."}}},
      {"coincident corners", [](CheckFixture& f) {
         f.Square(0); f.Face({{10, 0, 0}, {20, 0, 0}, {20, 10, 0}, {10, 10, -0.0}}); },
       {{K::kCoincidentPoints, {}, {}, {1, 4}, "Points 1, 4 lie at the same place (10, 0, 0); Remove Duplicate Geometry merges them into 1."},
        {K::kCoincidentPoints, {}, {}, {2, 7}, "Points 2, 7 lie at the same place (10, 10, 0); Remove Duplicate Geometry merges them into 2."}}},
      {"point past the table", [](CheckFixture& f) { f.Square(0); f.t().polygons[0].points[1] = f.t().pointCount; },
       {{K::kBrokenReference, {0}, {}, {}, "Polygon 0 names a point that is not in the object (table index 11)."}}},
      {"count past the record", [](CheckFixture& f) { f.Square(0); f.t().polygons[0].viewZoneCount = kMaxViewZones + 1; },
       {{K::kBrokenReference, {0}, {}, {}, "Polygon 0 has 21 view-zone entries, more than 20."}}},
  };
  // clang-format on
  for (const Row& row : rows) {
    CheckFixture f;
    row.build(f);
    std::vector<std::string> got, want;
    for (const CheckFinding& c : CheckObject(f.t())) {
      const bool withMessage = got.size() < row.want.size() && !row.want[got.size()].message.empty();
      got.push_back(Describe({c.kind, c.polygons, c.vectors, c.points, withMessage ? c.message : ""}));
    }
    for (const Want& w : row.want) want.push_back(Describe(w));
    EXPECT_EQ(got, want) << row.name;
  }
}

// The coincident points are what Remove Duplicate Geometry merges: every
// point class with a used member survives it, the rest go.
TEST(ObjectCheck, CoincidentAndUnusedPointsPredictTheMerge) {
  for (unsigned seed = 1; seed <= 40; ++seed) {
    CheckFixture f;
    std::mt19937 rng(seed);
    FillRandomObject(f.t(), rng, RandomShape{});
    std::vector<std::uint8_t> unused(f.t().userPointCount(), 0), merged(f.t().userPointCount(), 0);
    std::vector<std::vector<std::uint32_t>> groups;
    for (const CheckFinding& c : CheckObject(f.t())) {
      if (c.kind == CheckKind::kUnusedPoints) for (std::uint32_t p : c.points) unused[p] = 1;
      if (c.kind == CheckKind::kCoincidentPoints) groups.push_back(c.points);
    }
    for (const auto& g : groups) {
      for (std::size_t i = 1; i < g.size(); ++i) merged[g[i]] = 1;
    }
    std::uint32_t survivors = 0;
    for (std::uint32_t p = 0; p < unused.size(); ++p) {
      if (merged[p]) continue;  // counted with its group's first point
      bool used = !unused[p];
      for (const auto& g : groups) {
        if (g[0] == p) used = std::any_of(g.begin(), g.end(), [&](std::uint32_t q) { return !unused[q]; });
      }
      survivors += used;
    }
    RemoveDuplicateGeometry(f.t(), f.rt);
    EXPECT_EQ(f.t().userPointCount(), survivors) << "seed " << seed;
  }
}

TEST(ObjectCheck, MarkFindingSelectsPolygonsVectorsAndThePointsVectors) {
  CheckFixture f;
  f.Square(0);
  f.Square(20);
  const std::uint32_t loose = f.V(7, 9) - kReservedVectors;  // points 0 and 2
  f.t().polygonSelected[1] = kSelected;                       // already marked: not counted
  const CheckFinding finding{CheckKind::kNotConvex, "", {1, 0, 99}, {loose, 500}, {1, 999}};
  EXPECT_EQ(MarkFinding(f.t(), finding), 4u);  // polygon 0, loose, both vectors at point 1
  std::vector<std::uint32_t> polygons, vectors;
  for (std::uint32_t k = 0; k < f.t().polygonCount; ++k) {
    if (f.t().polygonSelected[k]) polygons.push_back(k);
  }
  for (std::uint32_t v = kReservedVectors; v < f.t().vectorCount; ++v) {
    if (f.t().vectors[v].selected) vectors.push_back(v - kReservedVectors);
  }
  EXPECT_EQ(polygons, (std::vector<std::uint32_t>{0, 1}));
  EXPECT_EQ(vectors, (std::vector<std::uint32_t>{0, 1, loose}));
}

}  // namespace
}  // namespace ws::test
