// Helpers shared by the model tests: tables of their own with the axis
// cross, polygons from corner and edge lists, and little-endian words for
// building resource bytes by hand.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "model/object_tables.h"
#include "platform/scripted_ui.h"
#include "resource/runtime.h"

namespace ws::test {

using Bytes = std::vector<std::uint8_t>;

// Allocated tables holding only the reserved entries.
struct OwnTables {
  ScriptedUi ui;
  Runtime rt{ui};
  ObjectTables t{rt};
  OwnTables() {
    t.AllocateObjectTables();
    t.BuildReservedEntries();
  }
};

inline Polygon MakePolygon(std::initializer_list<std::uint32_t> points,
                           std::initializer_list<std::uint32_t> vectors) {
  Polygon p{};
  for (std::uint32_t v : points) p.points[p.pointCount++] = v;
  for (std::uint32_t v : vectors) p.vectors[p.vectorCount++] = v;
  return p;
}

// Every field of the used records above the reserved ones, with the
// counts first, flattened so that two states compare with ==.
inline std::vector<double> TableFields(const ObjectTables& t) {
  std::vector<double> s = {double(t.pointCount), double(t.vectorCount), double(t.polygonCount)};
  for (std::uint32_t i = kReservedPoints; i < t.pointCount; ++i) {
    s.insert(s.end(), {t.points[i].x, t.points[i].y, t.points[i].z});
  }
  for (std::uint32_t i = kReservedVectors; i < t.vectorCount; ++i) {
    const Vector& v = t.vectors[i];
    s.insert(s.end(), {double(v.p1), double(v.p2), double(v.color), double(v.attribute),
                       double(v.width), double(v.selected)});
  }
  for (std::uint32_t k = 0; k < t.polygonCount; ++k) {
    const Polygon& p = t.polygons[k];
    s.insert(s.end(), {double(p.pointCount), double(p.vectorCount), double(p.viewZoneCount),
                       double(p.flags), double(p.frontFill), double(p.backFill),
                       double(p.frontColor), double(p.backColor), double(t.polygonSelected[k])});
    s.insert(s.end(), p.points, p.points + p.pointCount);
    s.insert(s.end(), p.vectors, p.vectors + p.vectorCount);
    s.insert(s.end(), p.viewZones, p.viewZones + p.viewZoneCount);
  }
  return s;
}

// Consecutive little-endian 32-bit words from byte `at`; grows `b` to fit.
inline void PutLE32(Bytes& b, std::size_t at, std::initializer_list<std::uint32_t> words) {
  for (std::uint32_t w : words) {
    if (b.size() < at + 4) b.resize(at + 4);
    for (int i = 0; i < 4; ++i) b[at++] = static_cast<std::uint8_t>(w >> (8 * i));
  }
}

}  // namespace ws::test
