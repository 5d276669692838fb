#include "geometry/transforms.h"

#include <cmath>
#include <vector>

namespace ws {
namespace {

constexpr double kMinusOneDegree = -0.017453292519943295;

// Marks the user points that end a selected user vector.
std::vector<std::uint8_t> PointsOfSelectedVectors(const ObjectTables& t) {
  std::vector<std::uint8_t> marked(t.pointCount, 0);
  for (std::uint32_t i = kReservedVectors; i < t.vectorCount; ++i) {
    const Vector& v = t.vectors[i];
    if (v.selected == kUnselected) continue;
    if (v.p1 >= kReservedPoints && v.p1 < t.pointCount) marked[v.p1] = 1;
    if (v.p2 >= kReservedPoints && v.p2 < t.pointCount) marked[v.p2] = 1;
  }
  return marked;
}

}  // namespace

std::uint32_t RotateSelection(ObjectTables& t, Axis axis, double degrees) {
  if (axis == Axis::kZ) return 0;
  const double theta = degrees * kMinusOneDegree;
  const double c = std::cos(theta);
  const double s = std::sin(theta);
  double m[3][3];
  if (axis == Axis::kY) {
    const double rows[3][3] = {{c, 0, -s}, {0, 1, 0}, {s, 0, c}};
    std::copy(&rows[0][0], &rows[0][0] + 9, &m[0][0]);
  } else {
    const double rows[3][3] = {{1, 0, 0}, {0, c, s}, {0, -s, c}};
    std::copy(&rows[0][0], &rows[0][0] + 9, &m[0][0]);
  }

  const bool selectionOnly = AnyVectorSelected(t);
  std::vector<std::uint8_t> marked;
  if (selectionOnly) marked = PointsOfSelectedVectors(t);
  std::uint32_t moved = 0;
  for (std::uint32_t i = kReservedPoints; i < t.pointCount; ++i) {
    if (selectionOnly && !marked[i]) continue;
    Point& p = t.points[i];
    const double x = p.x, y = p.y, z = p.z;
    p.eyeDepth = m[0][0] * x + m[0][1] * y + m[0][2] * z;
    p.eyeX = m[1][0] * x + m[1][1] * y + m[1][2] * z;
    p.eyeY = m[2][0] * x + m[2][1] * y + m[2][2] * z;
    p.x = RoundHalfAwayFromZero(p.eyeDepth);
    p.y = RoundHalfAwayFromZero(p.eyeX);
    p.z = RoundHalfAwayFromZero(p.eyeY);
    ++moved;
  }
  return moved;
}

std::uint32_t MirrorSelection(ObjectTables& t, Axis axis) {
  std::vector<std::uint8_t> done(t.pointCount, 0);
  std::uint32_t moved = 0;
  auto mirror = [&](std::uint32_t p) {
    if (p < kReservedPoints || p >= t.pointCount || done[p]) return;
    done[p] = 1;
    double& value = axis == Axis::kX   ? t.points[p].x
                    : axis == Axis::kY ? t.points[p].y
                                       : t.points[p].z;
    // 0.0 - v rather than -v, so that a zero stays +0.
    value = 0.0 - value;
    ++moved;
  };
  for (std::uint32_t i = kReservedVectors; i < t.vectorCount; ++i) {
    if (t.vectors[i].selected == kUnselected) continue;
    mirror(t.vectors[i].p1);
    mirror(t.vectors[i].p2);
  }
  return moved;
}

}  // namespace ws
