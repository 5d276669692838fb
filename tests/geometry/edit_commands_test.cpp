// The Edit menu's geometry commands: what each does to a small object, the
// undo step each takes, the refusals that leave the tables alone, and the
// view-zone entries renumbered with the tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>

#include "geometry/commands.h"
#include "geometry/copies.h"
#include "geometry/deletion.h"
#include "geometry/faces.h"
#include "geometry/merge.h"
#include "geometry/polygon_define.h"
#include "geometry/primitives.h"
#include "geometry/transforms.h"
#include "geometry_test_support.h"
#include "literal_reference.h"

namespace ws::test {
namespace {

using Coords = std::vector<double>;
using Indices = std::vector<std::uint32_t>;
using Messages = std::vector<RecordedMessage>;
using Action = std::function<bool(GeometryFixture&)>;
namespace id = GeometryCommandId;

Action Menu(int command) {
  return [command](GeometryFixture& f) { return RunGeometryCommand(f.ctx, command).value(); };
}

// A primitive dialog's OK with these fields.
template <class Fields>
Action Create(bool (*create)(GeometryContext&, const Fields&),
              std::type_identity_t<Fields> fields) {
  return [=](GeometryFixture& f) { return create(f.ctx, fields); };
}

TEST(RoundHalfAwayFromZero, HalvesGoOutwardAndZeroIsPositive) {
  EXPECT_EQ((Coords{RoundHalfAwayFromZero(2.5), RoundHalfAwayFromZero(-2.5),
                    RoundHalfAwayFromZero(-2.4999), TruncToWhole(-7.5)}),
            (Coords{3, -3, -2, -7}));
  EXPECT_FALSE(std::signbit(RoundHalfAwayFromZero(-0.3)) || std::signbit(TruncToWhole(-0.7)));
}

// Two selected vectors a-b move a and b once; c, on an unselected
// vector, and the axis cross stay. Turns are clockwise seen from the
// positive axis, rounded; flips also reverse every polygon, selected or not.
TEST(GeometryCommands, EachTransformMovesTheSelectionOnce) {
  const std::tuple<int, Coords, Coords> rows[] = {
      {id::kRotateY90, {5, 4, -3}, {10, 0, 7}},    // (z, y, -x)
      {id::kRotateX90, {3, -5, 4}, {-7, -10, 0}},  // (x, -z, y)
      {id::kRotateY45, {6, 4, 1}, {2, 0, 12}},
      {id::kRotateX45, {3, -1, 6}, {-7, -7, 7}},
      {id::kFlipVertically, {3, -4, 5}, {-7, 0, 10}},
      {id::kFlipHorizontally, {-3, 4, 5}, {7, 0, 10}},
      {id::kFlipFrontAndBack, {3, 4, -5}, {-7, 0, -10}},
  };
  for (const auto& [command, wantA, wantB] : rows) {
    GeometryFixture f;
    const auto a = f.P(3, 4, 5), b = f.P(-7, 0, 10), c = f.P(1, 1, 1);
    f.V(a, b, true);
    f.V(a, b, true);
    f.V(b, c);
    f.Poly({a, b, c});
    EXPECT_TRUE(Menu(command)(f)) << command;
    for (double v : f.Coords(b)) EXPECT_FALSE(v == 0 && std::signbit(v)) << command;
    const bool flip = command >= id::kFlipVertically && command <= id::kFlipFrontAndBack;
    EXPECT_EQ(std::make_tuple(f.Coords(a), f.Coords(b), f.Coords(c), f.Coords(1), f.PointsOf(0)),
              std::make_tuple(wantA, wantB, Coords{1, 1, 1}, Coords{150, 0, 0},
                              flip ? std::vector{c, b, a} : std::vector{a, b, c}))
        << command;
  }
  GeometryFixture f;  // without a selection a turn moves every user point
  f.P(10, 0, 0);
  f.P(2.5, 0, 0);
  EXPECT_EQ((std::tuple{RotateSelection(f.t(), Axis::kY, 45), f.Coords(7)}),  // in order
            std::make_tuple(2u, Coords{7, 0, -7}));
}

// The turns share one undo step, as do the flips: one of each.
TEST(GeometryCommands, EachTakesItsUndoStepAndUndoRestoresTheTables) {
  const std::pair<std::string_view, Action> cases[] = {
      {"Undo Rotate\tCtrl+Z", Menu(id::kRotateX45)},
      {"Undo Flip\tCtrl+Z", Menu(id::kFlipVertically)},
      {"Undo Duplicate\tCtrl+Z", Menu(id::kDuplicate)},
      {"Undo Duplicate\tCtrl+Z", Menu(id::kDuplicatePopup)},
      {"Undo Vector Connect\tCtrl+Z", Menu(id::kConnectCopy)},
      {"Undo Remove Duplicates", Menu(id::kRemoveDuplicates)},
      {"Undo Delete\tCtrl+Z", Menu(id::kDeletePopup)},
      {"Undo Tessulate", Menu(id::kTessellate)},
      {"Undo Flip Backface", Menu(id::kFlipPolygonFace)},
      {"Undo Reset View Zone", Menu(id::kClearViewZoneList)},
      {"Undo Circle\tCtrl+Z", Create(CreateCircle, CircleFields{"8", "100", "0,0,0", false})},
      {"Undo Cylinder\tCtrl+Z", Create(CreateCylinder, {"6", "30", "60", "0,0,0", false})},
      {"Undo Sphere\tCtrl+Z", Create(CreateSphere, {"4", "5", "80", "0,0,0", false})},
      {"Undo Rectangle\tCtrl+Z", Create(CreateCube, {"10", "20", "30", "1,2,3", false})},
  };
  // One object every command has work on, and each undo must bring back: a
  // selected hexagon and view zone, two of its edges selected, a duplicate
  // point and an opposite duplicate vector.
  GeometryFixture f;
  std::vector<std::uint32_t> p;
  for (int i = 0; i < 6; ++i) p.push_back(f.P(i * 10.0, (i % 3) * 7.0, i * 3.0));
  for (int i = 0; i < 6; ++i) f.V(p[i], p[(i + 1) % 6], i < 2);
  f.Zones(f.Poly(p, true), {0x4000});  // the hexagon
  f.Poly({p[0], p[2], p[4]});
  const auto again = f.P(0, 0, 0);
  f.V(p[1], again);
  f.V(again, p[1]);
  f.t().currentPolygon = 1;
  f.Snapshot();
  int row = 0;
  for (const auto& [label, run] : cases) {
    SCOPED_TRACE(::testing::Message() << "row " << row++ << " " << label);
    EXPECT_TRUE(run(f));
    EXPECT_FALSE(SameUsedTables(f.t(), f.before)) << "changed nothing";
    ASSERT_EQ(f.model.undo.depth(), 1u);
    EXPECT_EQ(std::make_pair(f.model.undo.CurrentStack().back().label, f.ui.busy()),
              std::make_pair(std::string(label), false));
    ASSERT_TRUE(f.model.PopUndo());
    ASSERT_TRUE(SameUsedTables(f.t(), f.before));
  }
  EXPECT_TRUE(f.ui.Messages().empty());
  for (int command : {id::kCube, id::kCircle, id::kCylinder, id::kSphere, 57643}) {
    EXPECT_FALSE(RunGeometryCommand(f.ctx, command).has_value()) << command;
  }
}

void SelectedTriangle(GeometryFixture& f) {
  const auto a = f.P(0, 0, 0), b = f.P(10, 0, 0), c = f.P(0, 10, 0);
  for (auto [p, q] : {std::pair{a, b}, {b, c}, {c, a}}) f.V(p, q, true);
}

// Each refusal says why, once, and leaves the tables as they were (a chain
// that does not close drops the selection); the room checks refuse exactly
// one short.
TEST(GeometryCommands, RefusalsSayWhyAndChangeNothing) {
  const std::string room = "Not enough room in the object to ";
  auto unselected = [](GeometryFixture& f) { f.V(f.P(0, 0, 0), f.P(1, 0, 0)); };
  auto full = [](std::uint32_t ObjectTables::*count, std::uint32_t value) {
    return [=](GeometryFixture& f) {
      SelectedTriangle(f);
      f.t().*count = value;
    };
  };
  auto pentagon = [](GeometryFixture& f) {
    f.Poly({f.P(0, 0, 0), f.P(9, 0, 0), f.P(9, 9, 0), f.P(5, 12, 0), f.P(0, 9, 0)}, true);
    f.t().vectorCount = kMaxVectors - 1;
  };
  auto define = [](GeometryFixture& f) { return DefinePolygonFromSelection(f.t(), f.ui, 0) >= 0; };
  auto cube = [](GeometryFixture& f) { return GenerateCube(f.ctx, {10, 10, 10, {}, false}); };
  const std::tuple<std::function<void(GeometryFixture&)>, Action, std::string, bool> rows[] = {
      {unselected, Menu(id::kDuplicate), "There is nothing to duplicate", true},
      {unselected, Menu(id::kDeletePopup), "There is nothing to delete", true},
      {full(&ObjectTables::pointCount, kMaxPoints - 5), Menu(id::kDuplicate),
       room + "duplicate the selection: it would exceed the limit of 20000 points.", true},
      {full(&ObjectTables::vectorCount, kMaxVectors - 5), Menu(id::kConnectCopy),
       room + "duplicate and connect the selection: it would exceed the limit of 20000 vectors.",
       true},
      {full(&ObjectTables::polygonCount, kMaxPolygons), define,
       "The object already holds the maximum of 10000 polygons.", true},
      {[](GeometryFixture& f) {
         f.V(f.P(0, 0, 0), f.P(9, 0, 0), true);
         f.V(7, f.P(0, 9, 0), true);
       },
       define, "At least 3 verticies are required to define a polygon.", true},
      {[](GeometryFixture& f) {
         SelectedTriangle(f);
         f.V(f.P(0, 9, 9), 9, true);
         f.t().vectors[7].selected = kUnselected;
       },
       define, "Points do not connect to define a polygon.", false},
      {full(&ObjectTables::polygonCount, kMaxPolygons - 5), cube,
       "Not enough room in the object for this cube: it would exceed the limit of 10000 polygons.",
       true},
      {pentagon, Menu(id::kTessellate),
       room + "tessellate the selection: it would exceed the limit of 20000 vectors.", true},
  };
  for (const auto& [setUp, run, message, unchanged] : rows) {
    GeometryFixture f;
    setUp(f);
    f.Snapshot();
    EXPECT_FALSE(run(f)) << message;
    EXPECT_EQ(std::make_tuple(f.ui.MessageTexts(),
                              static_cast<bool>(SameUsedTables(f.t(), f.before)), f.ui.busy()),
              std::make_tuple(std::vector<std::string>{message}, unchanged, false));
  }
}

// The vector a-b and three polygons: a view zone (selected), a member of
// its group (selected) and one left alone.
TEST(Duplicate, CopiesLieOneGridStepDownLeftWithTheirViewZones) {
  GeometryFixture f;
  const auto a = f.P(0, 0, 0), b = f.P(20, 0, 0), c = f.P(0, 20, 0);
  const auto ab = f.V(a, b, true);
  f.V(b, c);
  f.V(c, a);
  Vector& source = f.t().vectors[ab];
  std::tie(source.color, source.attribute, source.width) = std::make_tuple(44, -9, 3);
  const auto zone = f.Poly({a, b, c}, true), member = f.Poly({c, b, a}, true);
  const auto alone = f.Poly({a, b, c});
  f.t().polygons[zone].frontColor = 9;
  // The polygon left alone and a vector entry are not copied.
  f.Zones(zone, {alone, member | ViewZone::kLowPriority, 7 | ViewZone::kIsVector, zone});
  f.t().polygons[member].flags |= PolyFlag::kAdopted;
  f.t().polygons[member].viewZones[0] = zone;
  f.ctx.gridStep = 5;
  ASSERT_TRUE(DuplicateSelection(f.ctx));
  // The corners' copies merged with the vectors'; three new edges.
  ASSERT_EQ(std::make_tuple(f.t().pointCount, f.t().vectorCount, f.t().polygonCount),
            std::make_tuple(13u, 12u, 5u));
  const Vector& copy = f.t().vectors[9];
  EXPECT_EQ(
      std::make_tuple(f.Coords(copy.p1), f.Coords(copy.p2), copy.color, copy.attribute, copy.width,
                      f.VectorMarks()),
      std::make_tuple(Coords{-5, -5, 0}, Coords{15, -5, 0}, 44, -9, 3u, Indices{0, 0, 0, 1, 1, 1}));
  // The zone's copy: vectors rebuilt from the corners, the list renumbered;
  // the member's copy follows the leader's copy.
  const Polygon &zoneCopy = f.t().polygons[3], &memberCopy = f.t().polygons[4];
  EXPECT_EQ(
      std::make_tuple(f.Coords(zoneCopy.points[2]), f.VectorsOf(3), zoneCopy.frontColor,
                      f.t().polygonSelected[3], f.ZonesOf(3), memberCopy.viewZones[0],
                      memberCopy.flags & PolyFlag::kAdopted, f.ui.busy()),
      std::make_tuple(Coords{-5, 15, 0}, Indices{9, 10, 11}, 9, kSelected,
                      Indices{4u | ViewZone::kLowPriority, 3u}, 3u, PolyFlag::kAdopted, false));
}

TEST(ConnectCopy, SquareGivesFourQuadrilateralsTwentyBehind) {
  GeometryFixture f;
  const auto a = f.P(0, 0, 0), b = f.P(10, 0, 0), c = f.P(10, 10, 0), d = f.P(0, 10, 0);
  f.t().vectors[f.V(a, b, true)].width = 4;
  for (auto [p, q] : {std::pair{b, c}, {c, d}, {d, a}}) f.V(p, q, true);
  ASSERT_TRUE(ConnectCopy(f.ctx));
  ASSERT_EQ(std::make_tuple(f.t().pointCount, f.t().vectorCount, f.t().polygonCount),
            std::make_tuple(7u + 8, 6u + 4 + 4 + 4, 4u));
  // The source, a-A, b-B, A-B: the back one has the source's width.
  EXPECT_EQ(
      std::make_tuple(f.Coords(11), f.Coords(12), f.t().vectors[12].width, f.t().vectors[11].width),
      std::make_tuple(Coords{0, 0, -20}, Coords{10, 0, -20}, 4u, 0u));
  for (const Polygon& p : std::span(f.t().polygons.data(), 4))
    EXPECT_EQ(std::tie(p.flags, p.pointCount, p.vectorCount), std::make_tuple(2u, 4u, 4u));
  // V = a-b is the lowest of its four: the loop runs P1, A, B, P2.
  EXPECT_EQ(std::make_tuple(f.PointsOf(0), f.VectorMarks(), f.ui.Messages().size()),
            std::make_tuple(Indices{a, 11, 12, b}, Indices(12, kUnselected), 0u));
}

TEST(Faces, FlipReversesSelectedPointListsAndClearEmptiesSelectedViewZoneLists) {
  GeometryFixture f;
  const Indices p = {f.P(0, 0, 0), f.P(9, 0, 0), f.P(9, 9, 0), f.P(5, 12, 0), f.P(0, 9, 0)};
  const auto a = f.Poly({p[0], p[1], p[2], p[3], p[4]}, true), b = f.Poly({p[0], p[1], p[2]});
  for (auto k : {a, b}) f.t().polygons[k].viewZoneCount = 2;
  EXPECT_TRUE(FlipSelectedFaces(f.t()));
  EXPECT_EQ(std::make_pair(f.PointsOf(a), f.PointsOf(b)),
            std::make_pair(Indices{p[4], p[3], p[2], p[1], p[0]}, Indices{p[0], p[1], p[2]}));
  EXPECT_TRUE(ClearViewZoneLists(f.t()));
  EXPECT_EQ(std::make_pair(f.t().polygons[a].viewZoneCount, f.t().polygons[b].viewZoneCount),
            std::make_pair(0u, 2u));
  // In walk mode the zone the viewer stands in is emptied, selected or not.
  EXPECT_FALSE(ClearViewZoneLists(f.t(), 2));
  EXPECT_TRUE(ClearViewZoneLists(f.t(), b) && f.t().polygons[b].viewZoneCount == 0u);
  f.t().polygonSelected[a] = kUnselected;
  EXPECT_FALSE(FlipSelectedFaces(f.t()));
}

TEST(DefinePolygon, TriangleStartsAtTheLowestVectorsFirstPoint) {
  GeometryFixture f;
  const auto a = f.P(0, 0, 0), b = f.P(10, 0, 0), c = f.P(0, 10, 0);
  for (auto [p, q] : {std::pair{b, c}, {c, a}, {a, b}}) f.V(p, q, true);  // 6 = b-c is the lowest
  ASSERT_EQ(DefinePolygonFromSelection(f.t(), f.ui, 77), 0);
  const Polygon& poly = f.t().polygons[0];
  EXPECT_EQ(std::make_tuple(f.PointsOf(0), f.VectorsOf(0), poly.flags, poly.frontColor,
                            poly.frontFill, poly.viewZoneCount, f.t().polygonSelected[0],
                            f.ui.Messages().size(), f.VectorMarks()),
            std::make_tuple(Indices{b, a, c}, Indices{6, 7, 8}, 0x502u, 77, 0x4D4D4D4Du, 0u,
                            kUnselected, 0u, Indices(3, kUnselected)));
}

// The merge, the deletion of the selection and tessellation against their
// plain versions in literal_reference.h, on random objects.
RandomShape Sized(std::uint32_t points, std::uint32_t vectors, std::uint32_t polygons, int grid = 2,
                  std::uint32_t maxCorners = 8) {
  return {points, vectors, polygons, grid, maxCorners};
}

// Runs the fast and the plain version, each on its own tables; true when
// both report the same.
using Operation = std::function<bool(GeometryFixture&, ObjectTables&, std::mt19937&)>;

TEST(GeometryMatchesLiteralMethod, OnRandomObjects) {
  const Operation merge = [](GeometryFixture& f, ObjectTables& literal, std::mt19937&) {
    RemoveDuplicateGeometry(f.t(), f.rt);
    reference::LiteralMergeFrom(literal, f.ui, kReservedPoints);
    return true;
  };
  // From below the reserved points, inside the table, or past its end.
  const Operation mergeFrom = [](GeometryFixture& f, ObjectTables& literal, std::mt19937& rng) {
    const auto first = static_cast<std::uint32_t>(rng() % (f.t().pointCount + 3));
    MergeDuplicatesFrom(f.t(), f.rt, first);
    reference::LiteralMergeFrom(literal, f.ui, first);
    return true;
  };
  const Operation erase = [](GeometryFixture& f, ObjectTables& literal, std::mt19937&) {
    return DeleteSelectedItems(f.t()) == reference::LiteralDeleteSelectedItems(literal);
  };
  const Operation tessellate = [](GeometryFixture& f, ObjectTables& literal, std::mt19937&) {
    return Tessellate(f.t(), f.ui) == reference::LiteralTessellate(literal);
  };
  // name, operation, seed, rounds, object shape, 1 in how many vector marks stays (0: all)
  const std::tuple<const char*, Operation, unsigned, int, std::function<RandomShape(std::mt19937&)>,
                   unsigned>
      cases[] = {
          {"merge", merge, 7, 400,
           [](std::mt19937& r) { return Sized(r() % 60, r() % 90, r() % 25, 1 + r() % 3); }, 0},
          {"merge from a point", mergeFrom, 11, 300,
           [](std::mt19937& r) { return Sized(1 + r() % 70, r() % 80, r() % 20); }, 0},
          {"merge, few distinct points", merge, 5, 3,
           [](std::mt19937&) { return Sized(1500, 2500, 400, 3, 12); }, 0},
          {"delete", erase, 17, 400,
           [](std::mt19937& r) { return Sized(r() % 40, r() % 70, r() % 30); }, 3},
          {"delete, large selection", erase, 29, 1,
           [](std::mt19937&) { return Sized(2000, 3000, 1500, 6, 6); }, 8},
          {"tessellate", tessellate, 3, 300,
           [](std::mt19937& r) {
             return Sized(1 + r() % 50, 1 + r() % 60, r() % 25, 2, 3 + r() % 12);
           },
           0},
          {"tessellate, large selection", tessellate, 21, 1,
           [](std::mt19937&) { return Sized(400, 800, 600, 4, 20); }, 0},
      };
  GeometryFixture f;
  ObjectTables& literal = f.before;
  for (const auto& [name, operation, seed, rounds, shape, keepSelected] : cases) {
    std::mt19937 rng(seed);
    for (int round = 0; round < rounds; ++round) {
      FillRandomObject(f.t(), rng, shape(rng));
      // Fewer marks, so that some polygons survive their vectors' selection.
      for (std::uint32_t i = kReservedVectors; keepSelected && i < f.t().vectorCount; ++i) {
        if (rng() % keepSelected) f.t().vectors[i].selected = kUnselected;
      }
      f.Snapshot();
      ASSERT_TRUE(operation(f, literal, rng)) << name << ", round " << round;
      ASSERT_TRUE(SameUsedTables(f.t(), literal)) << name << ", round " << round;
    }
  }
  EXPECT_EQ(std::make_pair(f.ui.Messages(), f.ui.busy()), std::make_pair(Messages{}, false));
}

// View-zone entries keep naming the same polygons and vectors when the
// commands that remove records renumber the tables, so that a saved object
// always reads back. Triangles 0 and 1, square 2, zone triangle 3 listing
// them all and two free vectors: `spare`, then `far` (a duplicate of `near`,
// reversed).
constexpr std::uint32_t kLow = ViewZone::kLowPriority, kVec = ViewZone::kIsVector;
struct ZoneObject : GeometryFixture {
  ZoneObject() {
    const auto a = P(0, 0, 0), b = P(10, 0, 0), c = P(10, 10, 0), d = P(0, 10, 0), e = P(5, 5, 9);
    Poly({a, b, e});
    Poly({b, c, e});
    Poly({a, b, c, d});
    zone = Poly({c, d, e});
    spare = kVec | V(a, c);
    near = kVec | V(b, d);
    far = kVec | V(d, b);
    t().polygons[zone].flags |= PolyFlag::kViewZone;
    Zones(zone, {0, 1 | kLow, 2, kLow | spare, near, far});
  }
  std::uint32_t zone, spare, near, far;  // the vectors' entries
};

TEST(ViewZoneRenumbering, EntriesFollowWhatTheyName) {
  ZoneObject erased, split, merged;
  erased.t().vectors[erased.spare & ViewZone::kIndexMask].selected = kSelected;
  DeleteSelectedItems(erased.t());
  split.t().polygonSelected[2] = kSelected;
  Tessellate(split.t(), split.ui);
  RemoveDuplicateGeometry(merged.t(), merged.rt);
  const std::uint32_t spare = kLow | merged.spare, near = merged.near, far = merged.far;
  EXPECT_EQ(erased.ZonesOf(3), (Indices{0, 1 | kLow, 2, near - 1, far - 1}));  // spare deleted
  EXPECT_EQ(split.ZonesOf(2), (Indices{0, 1 | kLow, spare, near, far}));       // square tessellated
  EXPECT_EQ(merged.ZonesOf(3), (Indices{0, 1 | kLow, 2, spare, near, near}));  // far merged
}

// Slot 0 of an adopted polygon is its leader: no delete renumbers it as an
// entry, and when the leader goes the slot leaves the list.
TEST(ViewZoneRenumbering, LeaderSlotIsNoEntry) {
  ZoneObject o;
  o.t().polygons[o.zone].flags |= PolyFlag::kAdopted;
  o.t().polygons[o.zone].viewZones[0] = 1;  // leader: triangle 1
  o.t().polygonSelected[0] = kSelected;
  DeleteSelectedItems(o.t());
  EXPECT_EQ(o.ZonesOf(2), (Indices{0, kLow, 1, kLow | o.spare, o.near, o.far}));
  o.t().polygonSelected[0] = kSelected;  // the leader
  DeleteSelectedItems(o.t());
  EXPECT_EQ(std::make_pair(o.ZonesOf(1), o.t().polygons[1].flags & PolyFlag::kAdopted),
            std::make_pair(Indices{0, kLow | o.spare, o.near, o.far}, 0u));
}

// Generation of the primitives, and the batching of the messages of a
// degenerate shape: each distinct message once with its count, the flat
// faces left out and counted.
// One row per dialog state. The fields: 'C'ircle: vectors, diameter,
// origin; c'Y'linder: slices, height, diameter, origin; 'S'phere: vertical,
// horizontal, diameter, origin; 'B'ox: height, width, depth, origin. Then the
// tables' counts beforehand (0: an empty object), and either the one "Bad
// Value" message ("-": refused without a word) or, for a shape made, the
// counts (reserved 7 points and 6 vectors included; every shape is merged,
// so a spoke or edge made twice counts once), the bounding box and the first
// and last "Defining Polygon" titles. The vectors made come selected.
struct Row {
  char shape;
  std::uint32_t points, vectors;
  const char *a, *b, *c, *d;
  bool vectorsOnly;
  const char* message;
  std::uint32_t made[3] = {0, 0, 0};
  Coords low = {}, high = {};
  const char* titles = "";
};

TEST(Primitives, EachDialogStateRefusedOrMadeAsExpected) {
  // clang-format off
  const Row rows[] = {
      {'C', 0, 0, "", "", "", "", false, "Missing diameter"},
      {'C', 0, 0, "", "5001", "", "", false, "Diameter too big (5000 max)"},
      {'C', 0, 0, "", "5000", "", "", false, "Missing number of vectors"},
      {'C', 0, 0, "", "4", "", "", false, "Diameter too small (5 min)"},
      {'C', 0, 0, "0", "5", "", "", false, "Missing number of vectors"},
      {'C', 0, 0, "6665", "10", "", "", false, "Too many vectors (6664 max)"},  // (20000 - 6) / 3
      {'C', 0, 0, "6664", "10", "", "", false, "Missing Origin"},
      {'C', 0, 0, "3", "10", "", "", false, "You need at least 4 vectors to define a circle."},
      {'C', 0, 0, "4", "10", "1001,-1000,0", "", false, "Origin parameter too big (1000 max)"},
      {'C', 0, 0, "4", "10", "0,0,-1001", "", false, "Origin parameter too small (-1000 max)"},
      {'C', 0, 0, "4", "10", "1000,-1000,0", "", false, ""},
      {'C', 0, 0, "4", " 10 ", "0,0,+1000", "", false, ""},
      {'C', 0, 0, "4", "10", "99999999999,0,0", "", false, "Origin parameter too big (1000 max)"},
      {'C', 0, 0, "4", "10", "0 ,0,-1001", "", false, ""},  // the comma must follow at once
      {'C', 0, 0, "4", "10", "1001", "", false, "Origin parameter too big (1000 max)"},
      // 30 characters, then 31: the 31st is cut off.
      {'C', 0, 0, "4", "10", "0,                      0,1001", "", false,
       "Origin parameter too big (1000 max)"},
      {'C', 0, 0, "4", "10", "0,                       0,1001", "", false, ""},
      // 20019 - points
      {'C', 19990, 0, "30", "10", "0,0,0", "", false, "Too many vectors (29 max)"},
      {'C', 19990, 0, "29", "10", "0,0,0", "", false,
       "Not enough room in the object for this circle: it would exceed the limit of 20000 points."},
      {'C', 19990, 0, "9", "10", "0,0,0", "", false, ""},
      {'Y', 0, 0, "", "", "", "", false, "Bad diameter"},
      {'Y', 0, 0, "", "", "5001", "", false, "Diameter too big (5000 max)"},
      {'Y', 0, 0, "", "", "4", "", false, "Diameter too small (5 min)"},
      {'Y', 0, 0, "", "", "10", "", false, "Bad Slices"},
      {'Y', 0, 0, "0", "", "10", "", false, "Bad Slices"},
      {'Y', 0, 0, "11", "", "10", "", false,
       "Diameter must equal to or greater than the number of slices"},
      {'Y', 0, 0, "10", "", "10", "", false, "Bad height"},
      {'Y', 0, 0, "2", "", "10", "", false, "Too few slices (3 min)"},
      {'Y', 0, 0, "2857", "", "5000", "", false, "Too many slices (2856 max)"},  // (20000 - 6) / 7
      {'Y', 0, 0, "2856", "", "5000", "", false, "Bad height"},
      {'Y', 0, 0, "3", "2", "10", "", false, "Bad height"},
      {'Y', 0, 0, "3", "3", "10", "", false, "Bad Origin"},
      // No height bound, any origin text; 32 bits at most.
      {'Y', 0, 0, "10", "4294967295", "10", "anything", false, ""},
      {'Y', 0, 0, "10", "4294967296", "10", "", false, "Bad height"},
      {'Y', 0, 0, "10", "12a", "10", "", false, "Bad height"},
      {'S', 0, 0, "", "", "", "", false, "-"},
      {'S', 0, 0, "2", "", "", "", false, "Bad Vertical Slices (3 min)."},
      {'S', 0, 0, "3", "", "", "", false, "Bad Horizontal Slices"},
      {'S', 0, 0, "3", "0", "", "", false, "Bad Horizontal Slices"},
      {'S', 0, 0, "3", "2", "", "", false, "Bad Horizontal Slices (3 min)."},
      {'S', 0, 0, "3", "3", "", "", false, "Bad Diameter"},
      // (4m + 6) m <= 19994 up to m = 69; room 19458 = (4 69 + 6) 69 exactly.
      {'S', 0, 0, "4294967295", "4294967295", "", "", false,
       "Too many vectors. Reduce vertical or horizontal slices (max 69x69)."},
      {'S', 0, 542, "69", "70", "", "", false,
       "Too many vectors. Reduce vertical or horizontal slices (max 69x69)."},
      {'S', 0, 542, "69", "69", "100", "0,0,0", false, ""},
      {'S', 0, 0, "3", "3", "5001", "", false, "Diameter too big (5000 max)"},
      {'S', 0, 0, "3", "3", "5000", "", false, "Bad Origin"},
      {'S', 0, 0, "3", "3", "4", "", false, "Diameter too small (5 min)"},
      {'B', 0, 0, "", "", "", "", false, "Bad width"},
      {'B', 0, 0, "", "5001", "", "", false, "Width too big (5000 max)"},
      {'B', 0, 0, "", "5", "", "", false, "Bad height"},
      {'B', 0, 0, "4", "5", "", "", false, "Height too small (5 min)"},
      {'B', 0, 0, "5", "5", "", "", false, "Bad depth"},
      {'B', 0, 0, "5", "5", "0", "", false, "Depth too small (5 min)"},
      {'B', 0, 0, "5", "5", "5", "", false, "Bad Origin"},
      {'C', 0, 0, "4", "10", "0,0,0", "", false, "", {12, 14, 4}, {-5, -5, 0}, {5, 5, 0},
       "Defining Polygon 0, Defining Polygon 3"},
      {'C', 0, 0, "4", "10", "10,0,0", "", true, "", {12, 14, 0}, {-15, -5, 0},
       {0, 5, 0}},  // the centre stays at 0
      // trunc(-7.5); each group counts from 0
      {'Y', 0, 0, "4", "5", "10", "0,-10,0", false, "", {17, 26, 12}, {-5, -12, -5}, {5, -7, 5},
       "Defining Polygon 0, Defining Polygon 3"},
      {'S', 0, 0, "3", "3", "100", "0,0,0", true, "", {15, 21, 0}, {-21, -50, -37}, {43, 50, 37}},
      {'S', 0, 0, "4", "6", "200", "0,0,0", false, "", {27, 48, 24}, {-100, -100, -86},
       {100, 100, 86}, "Defining Polygon 0, Defining Polygon 23"},
      {'B', 0, 0, "10", "10", "10", "0,0,0", false, "", {15, 18, 6}, {-5, -5, -5}, {5, 5, 5},
       "Defining Polygon 1, Defining Polygon 6"},
      {'B', 0, 0, "10", "5", "10", "100,0,-20", true, "", {15, 18, 0}, {98, -5, -25},
       {102, 5, -15}},  // 5 / 2 = 2
  };
  // clang-format on
  auto create = [](const Row& r) {
    if (r.shape == 'C') return Create(CreateCircle, {r.a, r.b, r.c, r.vectorsOnly});
    if (r.shape == 'Y') return Create(CreateCylinder, {r.a, r.b, r.c, r.d, r.vectorsOnly});
    if (r.shape == 'S') return Create(CreateSphere, {r.a, r.b, r.c, r.d, r.vectorsOnly});
    return Create(CreateCube, {r.a, r.b, r.c, r.d, r.vectorsOnly});
  };
  for (const Row& r : rows) {
    GeometryFixture f;
    if (r.points) f.t().pointCount = r.points;
    if (r.vectors) f.t().vectorCount = r.vectors;
    const std::uint32_t points = f.t().pointCount;
    const std::string name =
        std::string(1, r.shape) + " " + r.a + "|" + r.b + "|" + r.c + "|" + r.d;
    const std::string message = r.message;
    EXPECT_EQ(create(r)(f), message.empty()) << name;
    EXPECT_FALSE(f.ui.busy()) << name;
    if (!message.empty()) {
      const Messages want = message == "-" ? Messages{} : Messages{{"Bad Value", message}};
      EXPECT_EQ(std::make_pair(f.ui.Messages(), f.t().pointCount), std::make_pair(want, points))
          << name;
      continue;
    }
    if (r.made[0] == 0) continue;  // small shapes with many slices have flat faces
    Coords low = f.Coords(kReservedPoints), high = low;
    for (std::uint32_t i = kReservedPoints; i < f.t().pointCount; ++i) {
      const Coords p = f.Coords(i);
      for (int d = 0; d < 3; ++d)
        low[d] = std::min(low[d], p[d]), high[d] = std::max(high[d], p[d]);
    }
    const std::vector<std::string>& titles = f.feedback.titles;
    const std::string ends = titles.empty() ? "" : titles.front() + ", " + titles.back();
    EXPECT_EQ(
        std::make_tuple(f.ui.Messages().size(), f.t().pointCount, f.t().vectorCount,
                        f.t().polygonCount, low, high, f.VectorMarks(), titles.size(),
                        f.feedback.redraws, ends),
        std::make_tuple(0u, r.made[0], r.made[1], r.made[2], r.low, r.high,
                        Indices(r.made[1] - kReservedVectors, kSelected), std::size_t{r.made[2]},
                        static_cast<int>(r.made[2]), std::string(r.titles)))
        << name;
    // Seen from outside, every face of the closed shapes winds as the cube's
    // do: its right-hand normal points into the solid, at the box's centre.
    for (std::uint32_t k = 0; r.shape != 'C' && k < f.t().polygonCount; ++k) {
      const Indices loop = f.PointsOf(k);
      const std::array<double, 3> n = f.Normal(k);
      double inward = 0;
      for (int d = 0; d < 3; ++d) {
        double mid = 0;
        for (std::uint32_t p : loop) mid += f.Coords(p)[d] / loop.size();
        inward += n[d] * ((r.low[d] + r.high[d]) / 2 - mid);
      }
      EXPECT_GT(inward, 0) << name << " polygon " << k;
    }
  }
}

TEST(Primitives, MemoryFailuresAddNothing) {
  GeometryFixture f;
  f.rt.memory.FailAfter(0);
  EXPECT_FALSE(GenerateCircle(f.ctx, {4, 10, {}, false}));
  EXPECT_FALSE(GenerateCylinder(f.ctx, {4, 10, 10, {}, false}));
  for (std::size_t succeed = 0; succeed < 4; ++succeed) {
    f.rt.memory.FailAfter(succeed);
    EXPECT_FALSE(GenerateSphere(f.ctx, {3, 3, 100, {}, false}));
  }
  f.rt.memory.FailAfter(std::nullopt);
  EXPECT_EQ(f.ui.MessageTexts(),
            (std::vector<std::string>{
                "Not enough memory. Decrease number of vectors.", "Not Enough Memory",
                "Not enough memory for top.", "Not enough memory for bottom.",
                "Not enough memory for center.", "Not enough memory for points."}));
  EXPECT_EQ(
      std::make_tuple(f.ui.Messages()[0].caption, f.t().pointCount, f.t().vectorCount, f.ui.busy()),
      std::make_tuple(std::string(kGeneralErrorCaption), 7u, 6u, false));
}

TEST(MessageBatch, HoldsUntilTheOutermostEndsAndCountsRepeats) {
  ScriptedUi ui;
  {
    MessageBatch outer(ui);
    ui.ShowNote("a");
    {
      MessageBatch inner(ui);
      ui.ShowError("a");  // another caption: another message
      ui.ShowNote("a");
    }
    EXPECT_TRUE(ui.Messages().empty());
    ui.ShowNote("b");
  }
  ui.ShowNote("b");  // after the batch: at once
  EXPECT_EQ(ui.Messages(), (Messages{{"Notification", "a (2 times)"},
                                     {"General Error", "a"},
                                     {"Notification", "b"},
                                     {"Notification", "b"}}));
  EXPECT_EQ(SkippedFacesMessage(1), "Skipped 1 degenerate polygon with no area.");
}

TEST(PrimitiveMessages, DegenerateShapesShowEachMessageOnceAndSkipFlatFaces) {
  const std::string convex = "Warning: Bad polygon (not convex). Check ";
  GeometryFixture sphere, circle;
  ASSERT_TRUE(CreateSphere(sphere.ctx, {"60", "60", "20", "0,0,0", false}));
  ASSERT_TRUE(CreateCircle(circle.ctx, {"100", "5", "0,0,0", false}));
  EXPECT_EQ(sphere.ui.Messages(),
            (Messages{{"Notification", convex + "x/z plane. (308 times)"},
                      {"Notification", "Bad polygon. Please try again. (420 times)"},
                      {"Notification", convex + "x/y plane. (118 times)"},
                      {"Notification", convex + "z/y plane. (118 times)"},
                      {"Notification", "Skipped 1992 degenerate polygons with no area."}}));
  EXPECT_EQ(circle.ui.Messages(),
            (Messages{{"Notification", "Skipped 84 degenerate polygons with no area."}}));
  EXPECT_EQ(std::make_pair(sphere.t().polygonCount, circle.t().polygonCount),
            std::make_pair(3600u - 1992 - 420, 100u - 84));
  for (GeometryFixture* f : {&sphere, &circle}) {
    for (std::uint32_t k = 0; k < f->t().polygonCount; ++k)
      EXPECT_NE(f->Normal(k), (std::array<double, 3>{0, 0, 0})) << k;
  }
}

}  // namespace
}  // namespace ws::test
