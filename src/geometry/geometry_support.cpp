#include "geometry/geometry_support.h"

#include <algorithm>
#include <cmath>

#include "geometry/hash_index.h"

namespace ws {

double RoundHalfAwayFromZero(double v) {
  // Adding +0.0 turns a -0 result into +0.
  return (v >= 0 ? std::trunc(v + 0.5) : std::trunc(v - 0.5)) + 0.0;
}

double TruncToWhole(double v) { return std::trunc(v) + 0.0; }

std::uint32_t AppendPoint(ObjectTables& t, double x, double y, double z) {
  Point& p = t.points[t.pointCount];
  p = Point{};
  p.x = x;
  p.y = y;
  p.z = z;
  return t.pointCount++;
}

namespace {

void MakeFresh(Vector& v) {
  v.width = 0;
  v.work1 = 0;
  v.work2 = 0;
  v.selected = kUnselected;
  v.attribute = 0;
  v.color = 0;
}

}  // namespace

std::uint32_t AppendFreshVector(ObjectTables& t, std::uint32_t p1, std::uint32_t p2) {
  const std::uint32_t k = t.AddVector(p1, p2);
  if (k != kNoIndex) MakeFresh(t.vectors[k]);
  return k;
}

std::uint32_t AddFreshVectorUnique(ObjectTables& t, std::uint32_t p1, std::uint32_t p2) {
  const std::uint32_t before = t.vectorCount;
  const std::uint32_t k = t.AddVectorUnique(p1, p2);
  if (k != kNoIndex && k >= before) MakeFresh(t.vectors[k]);
  return k;
}

std::optional<std::string> CheckCapacity(const ObjectTables& t, const TableNeeds& needs,
                                         std::string_view action) {
  const char* limit = nullptr;
  if (t.pointCount + needs.points > kMaxPoints) {
    limit = "20000 points";
  } else if (t.vectorCount + needs.vectors > kMaxVectors) {
    limit = "20000 vectors";
  } else if (t.polygonCount + needs.polygons > kMaxPolygons) {
    limit = "10000 polygons";
  }
  if (!limit) return std::nullopt;
  std::string text = "Not enough room in the object ";
  text += action;
  text += ": it would exceed the limit of ";
  text += limit;
  text += ".";
  return text;
}

void RebuildVectorLists(ObjectTables& t, std::uint32_t begin, std::uint32_t end) {
  end = std::min(end, t.polygonCount);
  if (begin >= end) return;
  detail::PairIndex pairs(t.vectorCount);
  for (std::uint32_t i = kReservedVectors; i < t.vectorCount; ++i) {
    pairs.FindOrInsert(t.vectors[i].p1, t.vectors[i].p2, i);
  }
  for (std::uint32_t k = begin; k < end; ++k) {
    Polygon& poly = t.polygons[k];
    const std::uint32_t n = std::min(poly.pointCount, kMaxPolygonPoints);
    std::uint32_t count = 0;
    for (std::uint32_t i = 0; i < n; ++i) {
      const std::uint32_t v = pairs.Find(poly.points[i], poly.points[(i + 1) % n]);
      if (v != kNoIndex) poly.vectors[count++] = v;
    }
    poly.vectorCount = count;
  }
}

bool AnyVectorSelected(const ObjectTables& t) {
  for (std::uint32_t i = kReservedVectors; i < t.vectorCount; ++i) {
    if (t.vectors[i].selected != kUnselected) return true;
  }
  return false;
}

}  // namespace ws
