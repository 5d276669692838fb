#include "import/import_convert.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace ws {
namespace {

// Edge slots that get no vector: an end point that did not fit (the face
// using the edge is rejected at that point), or no room left for vectors.
constexpr std::uint32_t kEdgeLostPoint = 0xFFFFFFFEu;
constexpr std::uint32_t kEdgeNoRoom = 0xFFFFFFFFu;

// Moves collected coordinates into the object: centred on the box's
// middle, the largest extent scaled to 360 units.
class Placement {
 public:
  explicit Placement(const ImportCollector& c) {
    const Vec3 lo = c.boundsMin(), hi = c.boundsMax();
    const double ex = hi.x - lo.x, ey = hi.y - lo.y, ez = hi.z - lo.z;
    const double extent = std::max({ex, ey, ez});
    if (std::isfinite(extent)) {
      center_ = {lo.x + ex * 0.5, lo.y + ey * 0.5, lo.z + ez * 0.5};
      // A flat point (every corner the same) stays a point, not a NaN.
      scale_ = extent > 0 ? kImportModelSize / extent : 1.0;
    } else {
      // The extent overflowed: work in halves, which cannot.
      halves_ = true;
      center_ = {lo.x * 0.5 + hi.x * 0.5, lo.y * 0.5 + hi.y * 0.5, lo.z * 0.5 + hi.z * 0.5};
      const double half =
          std::max({hi.x * 0.5 - lo.x * 0.5, hi.y * 0.5 - lo.y * 0.5, hi.z * 0.5 - lo.z * 0.5});
      scale_ = kImportModelSize * 0.5 / half;
    }
    if (!std::isfinite(scale_)) scale_ = 1.0;
  }
  double Place(double v, double center) const {
    return halves_ ? (v * 0.5 - center * 0.5) * scale_ : (v - center) * scale_;
  }
  const Vec3& center() const { return center_; }

 private:
  Vec3 center_;
  double scale_ = 1.0;
  bool halves_ = false;
};

std::uint16_t Component(double diffuse, double ambient) {
  double c = diffuse * ambient + diffuse;
  if (!(c >= 0.0)) c = 0.0;  // also NaN
  if (c > 1.0) c = 1.0;
  const auto c8 = static_cast<std::uint16_t>(c * 255.0);
  return static_cast<std::uint16_t>(c8 * 257);
}

}  // namespace

std::string DropReport(const DropReasons& r) {
  std::string text = "Some of the polygons in this file were dropped because:\n";
  if (r.polygonCount) text += "   - Object exceeded the maximum polygon count\n";
  if (r.objectPoints) text += "   - Object exceeded the maximum number of points\n";
  if (r.objectVectors) text += "   - Object exceeded the maximum number of vectors\n";
  if (r.polygonPoints) text += "   - Polygons exceeded the maximum number of points\n";
  if (r.polygonVectors) text += "   - Polygons exceeded the maximum number of vectors";
  for (const std::string& note : r.notes) {
    if (text.back() != '\n') text += '\n';
    text += "   - " + note + "\n";
  }
  return text;
}

std::uint8_t FaceColorIndex(const ColorTable& table, const MaterialValue& m) {
  return NearestColor(table, Component(m.diffuse.x, m.ambient.x),
                      Component(m.diffuse.y, m.ambient.y), Component(m.diffuse.z, m.ambient.z));
}

DropReasons ConvertCollected(ObjectTables& t, const ImportCollector& c, const ColorTable& colors,
                             ImportProgress& progress, std::vector<std::uint32_t>* polygonOfFace) {
  DropReasons reasons;
  const std::uint32_t pointBase = t.pointCount;
  const std::uint32_t vectorBase = t.vectorCount;
  const std::uint32_t polygonBase = t.polygonCount;
  const BlockArray<Vec3>& points = c.points();
  if (points.size() == 0) return reasons;

  // 1-2. Points, scaled and centred, without further de-duplication.
  const Placement place(c);
  const std::uint64_t wantedPoints = std::uint64_t{pointBase} + points.size();
  const std::uint32_t newPointCount =
      std::max(pointBase,
               static_cast<std::uint32_t>(std::min<std::uint64_t>(wantedPoints, kImportMaxPoints)));
  const std::uint32_t keptPoints = newPointCount - pointBase;
  for (std::uint32_t i = 0; i < keptPoints; ++i) {
    const Vec3& q = points[i];
    Point& p = t.points[pointBase + i];
    p = Point{};
    p.x = place.Place(q.x, place.center().x);
    p.y = place.Place(q.y, place.center().y);
    p.z = place.Place(q.z, place.center().z);
    if ((pointBase + i) % 50 == 0) {
      progress.SetPosition(static_cast<int>(33ull * (pointBase + i) / newPointCount));
    }
  }
  t.pointCount = newPointCount;

  // 3. Vectors, one per edge whose two ends are in the table, in order.
  const BlockArray<Edge>& edges = c.edges();
  std::vector<std::uint32_t> edgeVector(edges.size());
  std::uint32_t vectorCount = vectorBase;
  for (std::size_t j = 0; j < edges.size(); ++j) {
    const Edge& e = edges[j];
    if (static_cast<std::uint32_t>(e.p1) >= keptPoints ||
        static_cast<std::uint32_t>(e.p2) >= keptPoints) {
      edgeVector[j] = kEdgeLostPoint;
    } else if (vectorCount < kImportMaxVectors) {
      edgeVector[j] = vectorCount++;
    } else {
      edgeVector[j] = kEdgeNoRoom;
    }
  }
  for (std::size_t j = 0; j < edges.size(); ++j) {
    const std::uint32_t k = edgeVector[j];
    if (k >= kEdgeLostPoint) continue;
    Vector& v = t.vectors[k];
    v = Vector{};
    v.p1 = static_cast<std::uint32_t>(edges[j].p1) + pointBase;
    v.p2 = static_cast<std::uint32_t>(edges[j].p2) + pointBase;
    v.selected = kSelected;
    if (k % 50 == 0) progress.SetPosition(static_cast<int>(33 + 33ull * k / vectorCount));
  }
  t.vectorCount = vectorCount;

  // 4-7. Polygons, group by group, face by face. Faces share few
  // materials: each one's colour is matched once.
  std::vector<int> colorOfMaterial(c.materialTable().size(), -1);
  int defaultColor = -1;
  auto faceColor = [&](std::size_t g, std::size_t face) -> std::uint8_t {
    const MeshGroup& group = c.group(g);
    int* known = &defaultColor;
    const MaterialValue* material = nullptr;
    const MaterialValue defaults;
    if (face < group.faceMaterials.size()) {
      const auto shared = static_cast<std::size_t>(group.faceMaterials[face]);
      known = &colorOfMaterial[shared];
      material = &c.materialTable()[shared];
    }
    if (*known < 0) *known = FaceColorIndex(colors, material ? *material : defaults);
    return static_cast<std::uint8_t>(*known);
  };
  auto faceTwoSided = [&](std::size_t g, std::size_t face) {
    const MeshGroup& group = c.group(g);
    return face < group.faceMaterials.size() &&
           c.materialTable()[static_cast<std::size_t>(group.faceMaterials[face])].twoSided;
  };
  const std::size_t allFaces = c.facesCollected();
  std::size_t facesDone = 0;
  for (std::size_t g = 0; g < c.groupCount(); ++g) {
    const BlockArray<std::int32_t>& faces = c.FaceIndices(g);
    const BlockArray<std::int32_t>& cornerEdges = c.CornerEdges(g);
    if (faces.empty() || cornerEdges.empty()) continue;
    std::size_t face = 0;
    for (std::size_t pos = 0; pos < faces.size(); ++face) {
      if (t.polygonCount >= kImportPolygonStop) {
        // Only polygons of this import are given back.
        if (t.polygonCount > polygonBase)
          t.polygonCount = std::max(kImportMaxPolygons, polygonBase);
        reasons.polygonCount = true;
        if (polygonOfFace) {
          for (std::uint32_t& k : *polygonOfFace) {
            if (k != kNoIndex && k >= t.polygonCount) k = kNoIndex;
          }
        }
        return reasons;
      }
      if (facesDone % 100 == 0 && allFaces > 0) {
        progress.SetPosition(static_cast<int>(100 * facesDone / allFaces));
      }
      ++facesDone;
      Polygon& poly = t.polygons[t.polygonCount];
      poly = Polygon{};
      poly.flags = PolyFlag::kImported;
      if (faceTwoSided(g, face)) poly.flags &= ~PolyFlag::kNeverDrawBackFace;
      const std::uint8_t color = faceColor(g, face);
      poly.frontColor = poly.backColor = color;
      poly.frontFill = poly.backFill = FillWord(color);
      bool rejected = false;
      for (; pos < faces.size() && faces[pos] != -1; ++pos) {
        if (rejected) continue;
        const auto point = static_cast<std::uint32_t>(faces[pos]);
        const std::int32_t edge = cornerEdges[pos];
        if (point >= keptPoints) {
          rejected = reasons.objectPoints = true;
        } else if (edge >= 0 && edgeVector[static_cast<std::size_t>(edge)] == kEdgeNoRoom) {
          rejected = reasons.objectVectors = true;
        } else if (poly.pointCount == kMaxPolygonPoints) {
          rejected = reasons.polygonPoints = true;
        } else if (poly.vectorCount == kMaxPolygonVectors) {
          rejected = reasons.polygonVectors = true;
        } else {
          poly.points[poly.pointCount++] = point + pointBase;
          // A lost end point rejects the face at that point's corner.
          if (edge >= 0 && edgeVector[static_cast<std::size_t>(edge)] != kEdgeLostPoint) {
            poly.vectors[poly.vectorCount++] = edgeVector[static_cast<std::size_t>(edge)];
          }
        }
      }
      ++pos;  // past the -1
      const bool kept = !rejected && poly.pointCount >= 3 && poly.vectorCount >= 3;
      if (polygonOfFace) polygonOfFace->push_back(kept ? t.polygonCount : kNoIndex);
      if (kept) {
        t.polygonSelected[t.polygonCount] = kUnselected;
        ++t.polygonCount;
      }
    }
  }
  return reasons;
}

}  // namespace ws
