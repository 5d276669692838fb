#include "geometry/object_check.h"

#include <functional>
#include <numeric>
#include <set>

#include "geometry/geometry_test_support.h"
#include "geometry/merge.h"

namespace ws::test {
namespace {

using Flags = std::uint32_t;
using Indices = std::vector<std::uint32_t>;
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
    for (std::size_t i = 0; i < pts.size(); ++i)
      AddFreshVectorUnique(t(), pts[i], pts[(i + 1) % pts.size()]);
    const std::uint32_t k = Poly(pts);
    t().polygons[k].flags = flags;
    return k;
  }
  std::uint32_t Square(double z, Flags flags = kPlain) {
    return Face({{0, 0, z}, {10, 0, z}, {10, 10, z}, {0, 10, z}}, flags);
  }
  // "kind polygons|vectors|points message" and a newline per finding, lists
  // comma-separated.
  std::string Check() {
    std::string lines;
    auto join = [](const std::vector<std::uint32_t>& list) {
      std::string s;
      for (std::uint32_t n : list) s += (s.empty() ? "" : ",") + std::to_string(n);
      return s;
    };
    for (const CheckFinding& c : CheckObject(t())) {
      lines += std::string(CheckKindName(c.kind)) + ' ' + join(c.polygons) + '|' + join(c.vectors) +
               '|' + join(c.points) + ' ' + c.message + '\n';
    }
    return lines;
  }
};

// Twisted square: two opposite corners raised by h; every corner then lies
// h/2 off the plane through the centroid, whose Newell normal is z.
std::vector<Corner> Saddle(double h) {
  return {{0, 0, 0}, {100, 0, h}, {100, 100, 0}, {0, 100, h}};
}

TEST(ObjectCheck, FindsEachFaultAtItsLimit) {
  // Squares 20 apart, one a letter: c Collision, e Entrance, z View Zone.
  const std::pair<std::string, std::string> squares[] = {
      {"c",
       "collision-without-entrance 0|| Collision polygon 0 has no Entrance polygon: walking in "
       "is impossible.\n"},
      {"ce", ""},
      {"cec", "several-collision 0,2|| 2 Collision polygons (0, 2): only the last, 2, counts.\n"},
      {"ee", "several-entrance 0,1|| 2 Entrance polygons (0, 1): only the last, 1, counts.\n"},
      {std::string(10, 'z'), ""},
      {std::string(11, 'z'),
       "too-many-view-zones 10|| 11 View Zone polygons: only the first 10 "
       "are recorded; 10 does not act as a view zone.\n"},
  };
  for (const auto& [letters, want] : squares) {
    CheckFixture f;
    for (std::size_t i = 0; i < letters.size(); ++i)
      f.Square(20.0 * i, letters[i] == 'c' ? kColl : letters[i] == 'e' ? kEntr : kZone);
    EXPECT_EQ(f.Check(), want) << letters;
  }
  const double a = 1.0 / 512, b = 1.0 / 1024;  // triangle heights: area 1/1024, 1/2048
  const std::string flat = "degenerate 0|| Polygon 0 has no area: its points lie on one line.\n",
                    convex = "not-convex 0||";
  const std::tuple<const char*, std::vector<Corner>, std::string> faces[] = {
      {"collinear", {{0, 0, 0}, {5, 5, 5}, {10, 10, 10}}, flat},
      {"area at the limit", {{0, 0, 0}, {1, 0, 0}, {0, a, 0}}, ""},
      {"area below the limit", {{0, 0, 0}, {1, 0, 0}, {0, b, 0}}, flat},
      {"twist at the limit", Saddle(2 * kPlaneTolerance), ""},
      {"twist past the limit", Saddle(2 * kPlaneTolerance + 1.0 / 1024),
       "not-coplanar 0||0 Polygon 0 is not flat: point 0 lies 1.00049 units off its plane (more "
       "than 1).\n"},
      {"straight corner", {{0, 0, 0}, {5, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}}, ""},
      {"L shape",
       {{0, 0, 0}, {20, 0, 0}, {20, 10, 0}, {10, 10, 0}, {10, 20, 0}, {0, 20, 0}},
       convex + "3 Polygon 0 is not convex: it turns the wrong way at point 3.\n"},
      {"spike",
       {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {10, 5, 0}, {0, 10, 0}},
       convex + "2 Polygon 0 is not convex: it turns the wrong way at point 2.\n"},
      {"pentagram",
       {{0, 100, 0}, {-59, -81, 0}, {95, 31, 0}, {-95, 31, 0}, {59, -81, 0}},
       convex + " Polygon 0 is not convex: its outline crosses itself.\n"},
  };
  for (const auto& [name, corners, want] : faces) {
    CheckFixture f;
    f.Face(corners);
    EXPECT_EQ(f.Check(), want) << name;
  }
  // Each on a plain square, polygon 0 (points 0 to 3, vectors 0 to 3).
  const std::tuple<const char*, std::function<void(CheckFixture&)>, std::string> rows[] = {
      {"view-zone entries",
       [](CheckFixture& f) {
         f.t().polygons[0].flags = kZone;
         f.Zones(0, {2, 3, 0, 0x4000 | 3, 0x8000 | 17, 0x8000 | 18, 0x8000 | 5});
         f.t().polygons[0].viewZones[7] = 3;  // past the count: not an entry
         f.Square(20);
         f.Square(40);
       },
       "view-zone-entry-missing 0|| View zone 0, entry 1, names polygon 3, which does not exist.\n"
       "view-zone-entry-self 0|| View zone 0, entry 2, names the zone itself.\n"
       "view-zone-entry-missing 0|| View zone 0, entry 3, names polygon 3, which does not exist.\n"
       "view-zone-entry-missing 0|| View zone 0, entry 5, names vector 12, which does not exist.\n"
       "view-zone-entry-missing 0|| View zone 0, entry 6, names vector -1, which does not "
       "exist.\n"},
      {"entries of a polygon that is no view zone",
       [](CheckFixture& f) {
         f.Zones(0, {0, 9, 0x8000 | 99});
       },
       ""},
      {"group leaders",
       [](CheckFixture& f) {
         f.t().polygons[f.Square(20, kPlain | PolyFlag::kAdopted)].viewZones[0] = 2;
         f.t().polygons[f.Square(40, kPlain | PolyFlag::kAdopted)].viewZones[0] = 3;
       },
       "missing-group-leader 2|| Polygon 2 adopts its colour from polygon 3, which does not "
       "exist.\n"},
      {"two distinct points",
       [](CheckFixture& f) {
         const auto p = f.P(0, 0, 50), q = f.P(10, 0, 50);
         f.Loop({p, q, p, p});
       },
       "degenerate 1|| Polygon 1 has fewer than 3 distinct points.\n"},
      {"loose vector", [](CheckFixture& f) { f.V(7, 9); },
       "unused-vectors |4| 1 vector belongs to no polygon: 4.\n"},
      {"edges without a vector list", [](CheckFixture& f) { f.t().polygons[0].vectorCount = 0; },
       ""},
      {"vector named by a view zone",
       [](CheckFixture& f) {
         f.t().polygons[0].flags = kZone;
         f.Zones(0, {0x8000 | f.V(7, 9)});
       },
       ""},
      {"stray points",
       [](CheckFixture& f) {
         f.P(50, 50, 50);
         f.P(60, 60, 60);
       },
       "unused-points ||4,5 2 points are used by no vector and no polygon: 4, 5.\n"},
      {"coincident corners",
       [](CheckFixture& f) {
         f.Face({{10, 0, 0}, {20, 0, 0}, {20, 10, 0}, {10, 10, -0.0}});
       },
       "coincident-points ||1,4 Points 1, 4 lie at the same place (10, 0, 0); Remove Duplicate "
       "Geometry merges them into 1.\n"
       "coincident-points ||2,7 Points 2, 7 lie at the same place (10, 10, 0); Remove Duplicate "
       "Geometry merges them into 2.\n"},
      {"point past the table",
       [](CheckFixture& f) { f.t().polygons[0].points[1] = f.t().pointCount; },
       "broken-reference 0|| Polygon 0 names a point that is not in the object (table index "
       "11).\n"},
      {"count past the record",
       [](CheckFixture& f) { f.t().polygons[0].viewZoneCount = kMaxViewZones + 1; },
       "broken-reference 0|| Polygon 0 has 21 view-zone entries, more than 20.\n"},
  };
  for (const auto& [name, build, want] : rows) {
    CheckFixture f;
    f.Square(0);
    build(f);
    EXPECT_EQ(f.Check(), want) << name;
  }
}

// The coincident and unused points foretell Remove Duplicate Geometry: a
// point survives it when it is the first of its coincident group (or in
// none) and some member of that group is used.
TEST(ObjectCheck, CoincidentAndUnusedPointsPredictTheMerge) {
  for (unsigned seed = 1; seed <= 40; ++seed) {
    CheckFixture f;
    std::mt19937 rng(seed);
    FillRandomObject(f.t(), rng, RandomShape{});
    // Each point's group named by its first member.
    Indices first(f.t().userPointCount()), unused;
    std::iota(first.begin(), first.end(), 0u);
    for (const CheckFinding& c : CheckObject(f.t())) {
      if (c.kind == CheckKind::kUnusedPoints) unused = c.points;
      if (c.kind == CheckKind::kCoincidentPoints) {
        for (std::uint32_t p : c.points) first[p] = c.points[0];
      }
    }
    std::set<std::uint32_t> survivors;
    for (std::uint32_t p = 0; p < first.size(); ++p) {
      if (!std::binary_search(unused.begin(), unused.end(), p)) survivors.insert(first[p]);
    }
    RemoveDuplicateGeometry(f.t(), f.rt);
    EXPECT_EQ(f.t().userPointCount(), survivors.size()) << "seed " << seed;
  }
}

TEST(ObjectCheck, MarkFindingSelectsPolygonsVectorsAndThePointsVectors) {
  CheckFixture f;
  f.Square(0);
  f.Square(20);
  f.V(7, 9);                             // vector 8, points 0 and 2
  f.t().polygonSelected[1] = kSelected;  // already marked: not counted
  // Each list also names the first number past its table.
  const CheckFinding finding{CheckKind::kNotConvex, "", {1, 0, 2}, {8, 9}, {1, 8}};
  EXPECT_EQ(MarkFinding(f.t(), finding), 4u);  // polygon 0, vector 8, both vectors at point 1
  const auto polygons = f.t().polygonSelected.begin();
  EXPECT_EQ(std::make_pair(f.VectorMarks(), Indices(polygons, polygons + 3)),
            std::make_pair(Indices{1, 1, 0, 0, 0, 0, 0, 0, 1}, Indices{1, 1, 0}));
}

}  // namespace
}  // namespace ws::test
