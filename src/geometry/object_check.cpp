#include "geometry/object_check.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "geometry/hash_index.h"

namespace ws {
namespace {

using Vec3 = std::array<double, 3>;

Vec3 Sub(const Vec3& a, const Vec3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
Vec3 Cross(const Vec3& a, const Vec3& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
double Dot(const Vec3& a, const Vec3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
bool Same(const Vec3& a, const Vec3& b) { return a[0] == b[0] && a[1] == b[1] && a[2] == b[2]; }

std::string Num(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", v);
  return text;
}
std::string Num(std::uint32_t v) { return std::to_string(v); }

// "3, 4, 9" with at most `most` numbers shown, then ", ...".
std::string List(const std::vector<std::uint32_t>& numbers, std::size_t most = 10) {
  std::string s;
  for (std::size_t i = 0; i < numbers.size() && i < most; ++i) {
    s += (i ? ", " : "") + Num(numbers[i]);
  }
  if (numbers.size() > most) s += ", ...";
  return s;
}

std::string Plural(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + ' ' + (n == 1 ? one : many);
}

class Checker {
 public:
  explicit Checker(const ObjectTables& t) : t_(t) {}

  std::vector<CheckFinding> Run() {
    Purposes();
    for (std::uint32_t k = 0; k < t_.polygonCount; ++k) PolygonFindings(k);
    UnusedVectors();
    UnusedPoints();
    CoincidentPoints();
    return std::move(out_);
  }

 private:
  CheckFinding& Add(CheckKind kind, std::string message) {
    out_.push_back(CheckFinding{kind, std::move(message), {}, {}, {}});
    return out_.back();
  }
  Vec3 At(std::uint32_t p) const { return {t_.points[p].x, t_.points[p].y, t_.points[p].z}; }
  bool UserPoint(std::uint32_t p) const { return p >= kReservedPoints && p < t_.pointCount; }
  bool UserVector(std::uint32_t v) const { return v >= kReservedVectors && v < t_.vectorCount; }

  // Walk mode records the last Collision and the last Entrance polygon and
  // the first ten View Zone polygons; everything else with those purposes
  // does nothing there.
  void Purposes() {
    std::vector<std::uint32_t> collision, entrance, zones;
    for (std::uint32_t k = 0; k < t_.polygonCount; ++k) {
      const std::uint32_t f = t_.polygons[k].flags;
      if (f & PolyFlag::kCollision) collision.push_back(k);
      if (f & PolyFlag::kEntrance) entrance.push_back(k);
      if (f & PolyFlag::kViewZone) zones.push_back(k);
    }
    if (!collision.empty() && entrance.empty()) {
      Add(CheckKind::kCollisionWithoutEntrance,
          "Collision polygon " + Num(collision.back()) +
              " has no Entrance polygon: walking in is impossible.")
          .polygons = collision;
    }
    const auto several = [&](CheckKind kind, const char* purpose,
                             const std::vector<std::uint32_t>& list) {
      if (list.size() < 2) return;
      Add(kind, std::to_string(list.size()) + ' ' + purpose + " polygons (" + List(list) +
                    "): only the last, " + Num(list.back()) + ", counts.")
          .polygons = list;
    };
    several(CheckKind::kSeveralCollision, "Collision", collision);
    several(CheckKind::kSeveralEntrance, "Entrance", entrance);
    if (zones.size() > kRecordedViewZones) {
      std::vector<std::uint32_t> ignored(zones.begin() + kRecordedViewZones, zones.end());
      Add(CheckKind::kTooManyViewZones,
          std::to_string(zones.size()) + " View Zone polygons: only the first " +
              Num(kRecordedViewZones) + " are recorded; " + List(ignored) +
              (ignored.size() == 1 ? " does" : " do") + " not act as a view zone.")
          .polygons = ignored;
    }
  }

  void PolygonFindings(std::uint32_t k) {
    const Polygon& poly = t_.polygons[k];
    const bool pointsOk = References(k);
    if (poly.flags & PolyFlag::kViewZone) ViewZoneEntries(k);
    if ((poly.flags & PolyFlag::kAdopted) && poly.viewZones[0] >= t_.polygonCount) {
      Add(CheckKind::kMissingGroupLeader, "Polygon " + Num(k) + " adopts its colour from polygon " +
                                              Num(poly.viewZones[0]) + ", which does not exist.")
          .polygons = {k};
    }
    if (pointsOk) Shape(k);
  }

  // A count past its record's capacity or an index outside the tables:
  // one finding for the first such fault. False when the point list can't
  // be used for the shape tests.
  bool References(std::uint32_t k) {
    const Polygon& poly = t_.polygons[k];
    std::string fault;
    bool pointsOk = poly.pointCount <= kMaxPolygonPoints;
    for (std::uint32_t c = 0; pointsOk && c < poly.pointCount; ++c) {
      if (!UserPoint(poly.points[c])) {
        fault = "names a point that is not in the object (table index " + Num(poly.points[c]) + ")";
        pointsOk = false;
      }
    }
    if (poly.pointCount > kMaxPolygonPoints) {
      fault = "has " + Num(poly.pointCount) + " points, more than " + Num(kMaxPolygonPoints);
    } else if (poly.vectorCount > kMaxPolygonVectors) {
      fault = "has " + Num(poly.vectorCount) + " vectors, more than " + Num(kMaxPolygonVectors);
    } else if (poly.viewZoneCount > kMaxViewZones) {
      fault =
          "has " + Num(poly.viewZoneCount) + " view-zone entries, more than " + Num(kMaxViewZones);
    }
    for (std::uint32_t c = 0; fault.empty() && c < poly.vectorCount; ++c) {
      if (!UserVector(poly.vectors[c])) {
        fault =
            "names a vector that is not in the object (table index " + Num(poly.vectors[c]) + ")";
      }
    }
    if (!fault.empty()) {
      Add(CheckKind::kBrokenReference, "Polygon " + Num(k) + ' ' + fault + '.').polygons = {k};
    }
    return pointsOk;
  }

  void ViewZoneEntries(std::uint32_t k) {
    const Polygon& poly = t_.polygons[k];
    const std::uint32_t n = std::min(poly.viewZoneCount, kMaxViewZones);
    for (std::uint32_t c = 0; c < n; ++c) {
      const std::uint32_t entry = poly.viewZones[c];
      const std::uint32_t index = entry & ViewZone::kIndexMask;
      const std::string where = "View zone " + Num(k) + ", entry " + Num(c) + ", names ";
      if (entry & ViewZone::kIsVector) {
        if (UserVector(index)) continue;
        Add(CheckKind::kViewZoneEntryMissing,
            where + "vector " + std::to_string(std::int64_t{index} - kReservedVectors) +
                ", which does not exist.")
            .polygons = {k};
      } else if (index >= t_.polygonCount) {
        Add(CheckKind::kViewZoneEntryMissing,
            where + "polygon " + Num(index) + ", which does not exist.")
            .polygons = {k};
      } else if (index == k) {
        Add(CheckKind::kViewZoneEntrySelf, where + "the zone itself.").polygons = {k};
      }
    }
  }

  // Degenerate, else not coplanar and / or not convex.
  void Shape(std::uint32_t k) {
    const Polygon& poly = t_.polygons[k];
    // The loop without repeated neighbours (a zero-length edge has no
    // direction to turn from), as table indices.
    std::vector<std::uint32_t> loop;
    for (std::uint32_t c = 0; c < poly.pointCount; ++c) {
      const std::uint32_t p = poly.points[c];
      if (loop.empty() || !Same(At(loop.back()), At(p))) loop.push_back(p);
    }
    while (loop.size() > 1 && Same(At(loop.front()), At(loop.back()))) loop.pop_back();
    std::vector<Vec3> distinct;
    for (std::uint32_t p : loop) {
      if (distinct.size() == 3) break;
      if (std::none_of(distinct.begin(), distinct.end(),
                       [&](const Vec3& d) { return Same(d, At(p)); }))
        distinct.push_back(At(p));
    }
    const std::string name = "Polygon " + Num(k);
    if (distinct.size() < 3) {
      Add(CheckKind::kDegenerate, name + " has fewer than 3 distinct points.").polygons = {k};
      return;
    }
    // Newell's normal: its length is twice the area, and it points the way
    // the loop turns.
    Vec3 normal{0, 0, 0}, centre{0, 0, 0};
    for (std::size_t i = 0; i < loop.size(); ++i) {
      const Vec3 a = At(loop[i]), b = At(loop[(i + 1) % loop.size()]);
      normal[0] += (a[1] - b[1]) * (a[2] + b[2]);
      normal[1] += (a[2] - b[2]) * (a[0] + b[0]);
      normal[2] += (a[0] - b[0]) * (a[1] + b[1]);
      for (int j = 0; j < 3; ++j) centre[j] += a[j] / static_cast<double>(loop.size());
    }
    const double length = std::sqrt(Dot(normal, normal));
    if (!(length / 2 >= kMinPolygonArea)) {
      Add(CheckKind::kDegenerate, name + " has no area: its points lie on one line.").polygons = {
          k};
      return;
    }
    const Vec3 unit{normal[0] / length, normal[1] / length, normal[2] / length};
    double farthest = 0;
    std::uint32_t farPoint = loop[0];
    for (std::uint32_t p : loop) {
      const double d = std::fabs(Dot(Sub(At(p), centre), unit));
      if (d > farthest) {
        farthest = d;
        farPoint = p;
      }
    }
    if (farthest > kPlaneTolerance) {
      CheckFinding& f =
          Add(CheckKind::kNotCoplanar,
              name + " is not flat: point " + Num(farPoint - kReservedPoints) + " lies " +
                  Num(farthest) + " units off its plane (more than " + Num(kPlaneTolerance) + ").");
      f.polygons = {k};
      f.points = {farPoint - kReservedPoints};
    }
    // Convex: every corner turns the loop's way, and the turns add up to one
    // full turn (a star turns the right way at every corner, but twice).
    double turning = 0;
    for (std::size_t i = 0; i < loop.size(); ++i) {
      const Vec3 a = At(loop[i]), b = At(loop[(i + 1) % loop.size()]),
                 c = At(loop[(i + 2) % loop.size()]);
      const Vec3 in = Sub(b, a), out = Sub(c, b);
      const double turn = Dot(Cross(in, out), unit), ahead = Dot(in, out);
      // A straight corner is fine; one that doubles back is a spike.
      if (turn < -kTurnTolerance || (turn <= kTurnTolerance && ahead < 0)) {
        CheckFinding& f = Add(CheckKind::kNotConvex,
                              name + " is not convex: it turns the wrong way at point " +
                                  Num(loop[(i + 1) % loop.size()] - kReservedPoints) + ".");
        f.polygons = {k};
        f.points = {loop[(i + 1) % loop.size()] - kReservedPoints};
        return;
      }
      turning += std::atan2(turn, ahead);
    }
    if (turning > 3 * std::numbers::pi) {
      Add(CheckKind::kNotConvex, name + " is not convex: its outline crosses itself.").polygons = {
          k};
    }
  }

  // A vector is used by a polygon that lists it or has its two points as
  // neighbours in its loop (copies and tessellated polygons leave their
  // vector lists empty), or by a view-zone entry.
  void UnusedVectors() {
    const std::uint32_t n = t_.vectorCount;
    if (n <= kReservedVectors) return;
    std::vector<std::uint8_t> used(n, 0);
    std::size_t edgeCount = 0;
    for (std::uint32_t k = 0; k < t_.polygonCount; ++k) {
      edgeCount += std::min(t_.polygons[k].pointCount, kMaxPolygonPoints);
    }
    detail::PairIndex edges(edgeCount);
    for (std::uint32_t k = 0; k < t_.polygonCount; ++k) {
      const Polygon& poly = t_.polygons[k];
      const std::uint32_t np = std::min(poly.pointCount, kMaxPolygonPoints);
      for (std::uint32_t c = 0; c < np; ++c)
        edges.FindOrInsert(poly.points[c], poly.points[(c + 1) % np], 0);
      for (std::uint32_t c = 0; c < std::min(poly.vectorCount, kMaxPolygonVectors); ++c) {
        if (UserVector(poly.vectors[c])) used[poly.vectors[c]] = 1;
      }
      for (std::uint32_t c = 0; c < std::min(poly.viewZoneCount, kMaxViewZones); ++c) {
        const std::uint32_t e = poly.viewZones[c];
        if ((e & ViewZone::kIsVector) && UserVector(e & ViewZone::kIndexMask))
          used[e & ViewZone::kIndexMask] = 1;
      }
    }
    std::vector<std::uint32_t> unused;
    for (std::uint32_t v = kReservedVectors; v < n; ++v) {
      if (!used[v] && edges.Find(t_.vectors[v].p1, t_.vectors[v].p2) == kNoIndex) {
        unused.push_back(v - kReservedVectors);
      }
    }
    if (unused.empty()) return;
    Add(CheckKind::kUnusedVectors, Plural(unused.size(), "vector belongs", "vectors belong") +
                                       " to no polygon: " + List(unused) + ".")
        .vectors = unused;
  }

  // The rule by which Remove Duplicate Geometry drops points: no user
  // vector ends at it and no polygon names it.
  void UnusedPoints() {
    const std::uint32_t n = t_.pointCount;
    if (n <= kReservedPoints) return;
    std::vector<std::uint8_t> used(n, 0);
    const auto mark = [&](std::uint32_t p) {
      if (p < n) used[p] = 1;
    };
    for (std::uint32_t v = kReservedVectors; v < t_.vectorCount; ++v) {
      mark(t_.vectors[v].p1);
      mark(t_.vectors[v].p2);
    }
    for (std::uint32_t k = 0; k < t_.polygonCount; ++k) {
      const Polygon& poly = t_.polygons[k];
      for (std::uint32_t c = 0; c < std::min(poly.pointCount, kMaxPolygonPoints); ++c)
        mark(poly.points[c]);
    }
    std::vector<std::uint32_t> unused;
    for (std::uint32_t p = kReservedPoints; p < n; ++p) {
      if (!used[p]) unused.push_back(p - kReservedPoints);
    }
    if (unused.empty()) return;
    Add(CheckKind::kUnusedPoints, Plural(unused.size(), "point is", "points are") +
                                      " used by no vector and no polygon: " + List(unused) + ".")
        .points = unused;
  }

  // The groups Remove Duplicate Geometry merges, found with its own index,
  // each named with the point they merge into (the earliest).
  void CoincidentPoints() {
    const std::uint32_t n = t_.pointCount;
    if (n <= kReservedPoints) return;
    detail::PointIndex index(t_.points, n - kReservedPoints);
    std::vector<std::uint32_t> group(n, kNoIndex);  // finding of each first point
    const std::size_t before = out_.size();
    for (std::uint32_t p = kReservedPoints; p < n; ++p) {
      const std::uint32_t first = index.FindOrInsert(p);
      if (first == p) continue;
      if (group[first] == kNoIndex) {
        group[first] = static_cast<std::uint32_t>(out_.size());
        Add(CheckKind::kCoincidentPoints, {}).points = {first - kReservedPoints};
      }
      out_[group[first]].points.push_back(p - kReservedPoints);
    }
    for (std::size_t i = before; i < out_.size(); ++i) {
      CheckFinding& f = out_[i];
      const Point& at = t_.points[f.points[0] + kReservedPoints];
      f.message = "Points " + List(f.points) + " lie at the same place (" + Num(at.x) + ", " +
                  Num(at.y) + ", " + Num(at.z) + "); Remove Duplicate Geometry merges them into " +
                  Num(f.points[0]) + ".";
    }
  }

  const ObjectTables& t_;
  std::vector<CheckFinding> out_;
};

}  // namespace

std::string_view CheckKindName(CheckKind kind) {
  switch (kind) {
    case CheckKind::kCollisionWithoutEntrance:
      return "collision-without-entrance";
    case CheckKind::kSeveralCollision:
      return "several-collision";
    case CheckKind::kSeveralEntrance:
      return "several-entrance";
    case CheckKind::kTooManyViewZones:
      return "too-many-view-zones";
    case CheckKind::kBrokenReference:
      return "broken-reference";
    case CheckKind::kViewZoneEntryMissing:
      return "view-zone-entry-missing";
    case CheckKind::kViewZoneEntrySelf:
      return "view-zone-entry-self";
    case CheckKind::kMissingGroupLeader:
      return "missing-group-leader";
    case CheckKind::kDegenerate:
      return "degenerate";
    case CheckKind::kNotCoplanar:
      return "not-coplanar";
    case CheckKind::kNotConvex:
      return "not-convex";
    case CheckKind::kUnusedVectors:
      return "unused-vectors";
    case CheckKind::kUnusedPoints:
      return "unused-points";
    case CheckKind::kCoincidentPoints:
      return "coincident-points";
  }
  return "unknown";
}

std::vector<CheckFinding> CheckObject(const ObjectTables& t) {
  if (!t.allocated()) return {};
  return Checker(t).Run();
}

std::uint32_t MarkFinding(ObjectTables& t, const CheckFinding& finding) {
  if (!t.allocated()) return 0;
  std::uint32_t marked = 0;
  const auto mark = [&](std::uint32_t& m) {
    marked += m == kUnselected;
    m = kSelected;
  };
  for (std::uint32_t k : finding.polygons) {
    if (k < t.polygonCount) mark(t.polygonSelected[k]);
  }
  for (std::uint32_t v : finding.vectors) {
    if (v < t.userVectorCount()) mark(t.vectors[v + kReservedVectors].selected);
  }
  if (!finding.points.empty()) {
    std::vector<std::uint8_t> named(t.pointCount, 0);
    for (std::uint32_t p : finding.points) {
      if (p < t.userPointCount()) named[p + kReservedPoints] = 1;
    }
    for (std::uint32_t v = kReservedVectors; v < t.vectorCount; ++v) {
      const Vector& vec = t.vectors[v];
      if ((vec.p1 < t.pointCount && named[vec.p1]) || (vec.p2 < t.pointCount && named[vec.p2])) {
        mark(t.vectors[v].selected);
      }
    }
  }
  return marked;
}

}  // namespace ws
