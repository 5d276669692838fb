#include "geometry/polygon_define.h"

#include <algorithm>
#include <vector>

namespace ws {
namespace {

// Sign counts of the turns of the loop in one coordinate plane.
struct TurnSigns {
  int positive = 0;
  int negative = 0;
  void Add(double value) { (value >= 0 ? positive : negative)++; }
  bool Mixed() const { return positive > 0 && negative > 0; }
};

void WarnIfNotConvex(const ObjectTables& t, Ui& ui, const std::vector<std::uint32_t>& loop) {
  const std::size_t n = loop.size();
  auto at = [&](std::size_t i) -> Point {
    const std::uint32_t p = loop[i % n];
    return p < t.pointCount ? t.points[p] : Point{};
  };
  TurnSigns xy, zy, xz;
  for (std::size_t i = 0; i < n; ++i) {
    const Point a = at(i), b = at(i + 1), c = at(i + 2);
    xy.Add((c.y - b.y) * (b.x - a.x) - (c.x - b.x) * (b.y - a.y));
    zy.Add((c.y - b.y) * (b.z - a.z) - (c.z - b.z) * (b.y - a.y));
    xz.Add((c.z - b.z) * (b.x - a.x) - (c.x - b.x) * (b.z - a.z));
  }
  if (xy.Mixed()) ui.ShowNote(kNotConvexXY);
  if (zy.Mixed()) ui.ShowNote(kNotConvexZY);
  if (xz.Mixed()) ui.ShowNote(kNotConvexXZ);
}

void ClearMarks(ObjectTables& t, const std::vector<std::uint32_t>& vectors) {
  for (std::uint32_t v : vectors) t.vectors[v].selected = kUnselected;
}

// The slot past the last polygon holds the half-built record after a failed
// ordering; its counts are cleared so that nothing reads a partial loop.
void ClearPendingSlot(ObjectTables& t) {
  Polygon& slot = t.polygons[t.polygonCount];
  slot.pointCount = 0;
  slot.vectorCount = 0;
}

}  // namespace

std::int32_t DefinePolygonFromVectors(ObjectTables& t, Ui& ui,
                                      std::span<const std::uint32_t> vectors, std::uint8_t color) {
  std::vector<std::uint32_t> list;
  list.reserve(vectors.size());
  for (std::uint32_t v : vectors) {
    if (v >= kReservedVectors && v < t.vectorCount) list.push_back(v);
  }
  std::sort(list.begin(), list.end());
  list.erase(std::unique(list.begin(), list.end()), list.end());

  const std::size_t n = list.size();
  if (n < 3) {
    ui.ShowNote(kTooFewVerticesMessage);
    return -1;
  }
  if (n > kMaxPolygonVectors) {
    ui.ShowNote(kPolygonTooManyVectors);
    return -1;
  }
  if (t.polygonCount >= kMaxPolygons) {
    ui.ShowNote(kPolygonTableFull);
    return -1;
  }

  std::vector<std::uint32_t> loop;
  loop.reserve(n);
  std::vector<std::uint8_t> taken(n, 0);
  std::uint32_t end = t.vectors[list[0]].p1;
  const std::uint32_t closing = t.vectors[list[0]].p2;
  loop.push_back(end);
  taken[0] = 1;
  while (loop.size() < n) {
    std::size_t found = n;
    for (std::size_t i = 0; i < n; ++i) {
      const Vector& v = t.vectors[list[i]];
      if (!taken[i] && (v.p1 == end || v.p2 == end)) {
        found = i;
        break;
      }
    }
    if (found == n) {
      ClearPendingSlot(t);
      ClearMarks(t, list);
      ui.ShowNote(kBadPolygonMessage);
      return -1;
    }
    taken[found] = 1;
    const Vector& v = t.vectors[list[found]];
    end = v.p1 == end ? v.p2 : v.p1;
    loop.push_back(end);
  }
  if (end != closing) {
    ClearPendingSlot(t);
    ui.ShowNote(kNotConnectedMessage);
    ClearMarks(t, list);
    return -1;
  }

  WarnIfNotConvex(t, ui, loop);

  const std::uint32_t index = t.polygonCount;
  Polygon& poly = t.polygons[index];
  poly = Polygon{};
  poly.pointCount = static_cast<std::uint32_t>(n);
  poly.vectorCount = static_cast<std::uint32_t>(n);
  std::copy(list.begin(), list.end(), poly.vectors);
  std::copy(loop.begin(), loop.end(), poly.points);
  poly.flags = PolyFlag::kDefined;
  poly.frontColor = color;
  poly.frontFill = FillWord(color);
  t.polygonSelected[index] = kUnselected;
  ++t.polygonCount;
  ClearMarks(t, list);
  return static_cast<std::int32_t>(index);
}

std::int32_t DefinePolygonFromSelection(ObjectTables& t, Ui& ui, std::uint8_t color) {
  std::vector<std::uint32_t> selected;
  for (std::uint32_t i = kReservedVectors; i < t.vectorCount; ++i) {
    if (t.vectors[i].selected != kUnselected) selected.push_back(i);
  }
  const std::int32_t result = DefinePolygonFromVectors(t, ui, selected, color);
  const bool refusedUpFront =
      result < 0 && (selected.size() < 3 || selected.size() > kMaxPolygonVectors ||
                     t.polygonCount >= kMaxPolygons);
  if (!refusedUpFront) {
    for (std::uint32_t i = 0; i < t.vectorCount; ++i) t.vectors[i].selected = kUnselected;
  }
  return result;
}

}  // namespace ws
