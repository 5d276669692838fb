// The merge, the deletion of the selection and tessellation against their
// plain versions in literal_reference.h, on random objects.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "geometry/deletion.h"
#include "geometry/faces.h"
#include "geometry/merge.h"
#include "geometry_test_support.h"
#include "literal_reference.h"

namespace ws::test {
namespace {

RandomShape Sized(std::uint32_t points, std::uint32_t vectors, std::uint32_t polygons, int grid = 2,
                  std::uint32_t maxCorners = 8) {
  return {points, vectors, polygons, grid, maxCorners};
}

// Runs the fast and the plain version, each on its own tables; true when
// both report the same.
using Operation = std::function<bool(GeometryFixture&, ObjectTables&, std::mt19937&)>;

TEST(GeometryMatchesLiteralMethod, OnRandomObjects) {
  // clang-format off
  const Operation merge = [](GeometryFixture& f, ObjectTables& literal, std::mt19937&) { RemoveDuplicateGeometry(f.t(), f.rt); reference::LiteralMergeFrom(literal, f.ui, kReservedPoints); return true; };
  // From below the reserved points, inside the table, or past its end.
  const Operation mergeFrom = [](GeometryFixture& f, ObjectTables& literal, std::mt19937& rng) { const auto first = static_cast<std::uint32_t>(rng() % (f.t().pointCount + 3)); MergeDuplicatesFrom(f.t(), f.rt, first); reference::LiteralMergeFrom(literal, f.ui, first); return true; };
  const Operation erase = [](GeometryFixture& f, ObjectTables& literal, std::mt19937&) { return DeleteSelectedItems(f.t()) == reference::LiteralDeleteSelectedItems(literal); };
  const Operation tessellate = [](GeometryFixture& f, ObjectTables& literal, std::mt19937&) { return Tessellate(f.t(), f.ui) == reference::LiteralTessellate(literal); };
  // name, operation, seed, rounds, object shape, 1 in how many vector marks stays (0: all)
  const std::tuple<const char*, Operation, unsigned, int, std::function<RandomShape(std::mt19937&)>, unsigned> cases[] = {
      {"merge", merge, 7, 400, [](std::mt19937& r) { return Sized(r() % 60, r() % 90, r() % 25, 1 + r() % 3); }, 0},
      {"merge from a point", mergeFrom, 11, 300, [](std::mt19937& r) { return Sized(1 + r() % 70, r() % 80, r() % 20); }, 0},
      {"merge, few distinct points", merge, 5, 3, [](std::mt19937&) { return Sized(1500, 2500, 400, 3, 12); }, 0},
      {"delete", erase, 17, 400, [](std::mt19937& r) { return Sized(r() % 40, r() % 70, r() % 30); }, 3},
      {"delete, large selection", erase, 29, 1, [](std::mt19937&) { return Sized(2000, 3000, 1500, 6, 6); }, 8},
      {"tessellate", tessellate, 3, 300, [](std::mt19937& r) { return Sized(1 + r() % 50, 1 + r() % 60, r() % 25, 2, 3 + r() % 12); }, 0},
      {"tessellate, large selection", tessellate, 21, 1, [](std::mt19937&) { return Sized(400, 800, 600, 4, 20); }, 0},
  };
  // clang-format on
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
  EXPECT_TRUE(f.ui.Messages().empty());
  EXPECT_FALSE(f.ui.busy());
}

}  // namespace
}  // namespace ws::test
