// Generation of the primitives and the dialogs' Create action (primitives.h).
#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "geometry/faces.h"
#include "geometry/geometry_support.h"
#include "geometry/merge.h"
#include "geometry/polygon_define.h"
#include "geometry/primitives.h"

namespace ws {
namespace {

// Handle-memory tag of the working arrays ('PRIM').
constexpr std::uint32_t kWorkArrayTag = 0x5052494D;

const double kPi = 4.0 * std::atan(1.0);

// A working array of point or vector numbers from handle memory.
class IndexArray {
 public:
  bool Allocate(Runtime& rt, std::uint64_t count) {
    block_ =
        rt.memory.Allocate(static_cast<std::size_t>(count) * sizeof(std::uint32_t), kWorkArrayTag);
    return static_cast<bool>(block_);
  }
  std::uint32_t& operator[](std::size_t i) {
    return reinterpret_cast<std::uint32_t*>(block_.data())[i];
  }

 private:
  Block block_;
};

// The work every shape shares: the capacity guard, the pre-cleared
// selection, the announced polygons and the final selection and merge.
class ShapeBuilder {
 public:
  ShapeBuilder(GeometryContext& ctx, bool vectorsOnly) : ctx_(ctx), t_(ctx.tables()) {
    if (!vectorsOnly) {
      for (std::uint32_t i = 0; i < t_.vectorCount; ++i) t_.vectors[i].selected = kUnselected;
    }
    firstVector_ = t_.vectorCount;
  }

  std::uint32_t NewPoint(double x, double y, double z) { return t_.AddPoint(x, y, z); }
  std::uint32_t NewVector(std::uint32_t p1, std::uint32_t p2) {
    return AppendFreshVector(t_, p1, p2);
  }

  // Announces the polygon, selects its vectors, defines it, reverses it
  // when asked, and redraws. A face with no area (its corners on one line
  // once they were rounded to whole numbers: small shapes with many slices)
  // is left out and counted.
  void Face(const std::string& title, std::initializer_list<std::uint32_t> vectors, bool flip) {
    if (ctx_.feedback) ctx_.feedback->SetStatusTitle(title);
    if (HasNoArea(vectors)) {
      ++skipped_;
      return;
    }
    for (std::uint32_t v : vectors) t_.vectors[v].selected = kSelected;
    const std::int32_t k = DefinePolygonFromVectors(
        t_, ctx_.ui(), std::span(vectors.begin(), vectors.size()), ctx_.currentColor);
    if (k >= 0 && flip) FlipFace(t_, static_cast<std::uint32_t>(k));
    if (ctx_.feedback) ctx_.feedback->RedrawViews();
  }
  void Face(std::uint32_t number, std::initializer_list<std::uint32_t> vectors, bool flip) {
    Face("Defining Polygon " + std::to_string(number), vectors, flip);
  }

  // Selects every vector the shape appended, merges, and says how many
  // faces were left out.
  void Finish() {
    for (std::uint32_t i = firstVector_; i < t_.vectorCount; ++i)
      t_.vectors[i].selected = kSelected;
    RemoveDuplicateGeometry(t_, ctx_.rt());
    if (skipped_ > 0) ctx_.ui().ShowNote(SkippedFacesMessage(skipped_));
  }

 private:
  // True when the distinct endpoints of the face's vectors lie on one line
  // (fewer than three of them included): every loop through them is flat.
  bool HasNoArea(std::initializer_list<std::uint32_t> vectors) const {
    std::vector<const Point*> corners;
    for (std::uint32_t v : vectors) {
      for (std::uint32_t p : {t_.vectors[v].p1, t_.vectors[v].p2}) {
        const Point& q = t_.points[p];
        auto same = [&q](const Point* r) { return r->x == q.x && r->y == q.y && r->z == q.z; };
        if (std::none_of(corners.begin(), corners.end(), same)) corners.push_back(&q);
      }
    }
    for (std::size_t i = 2; i < corners.size(); ++i) {
      const Point &a = *corners[0], &b = *corners[1], &c = *corners[i];
      const double ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
      const double wx = c.x - a.x, wy = c.y - a.y, wz = c.z - a.z;
      if (uy * wz != uz * wy || uz * wx != ux * wz || ux * wy != uy * wx) return false;
    }
    return true;
  }

  GeometryContext& ctx_;
  ObjectTables& t_;
  std::uint32_t firstVector_;
  std::uint32_t skipped_ = 0;
};

bool Refuse(GeometryContext& ctx, const std::optional<std::string>& refusal) {
  if (!refusal) return false;
  ctx.ui().ShowNote(*refusal);
  return true;
}

}  // namespace

std::string SkippedFacesMessage(std::uint32_t count) {
  return "Skipped " + std::to_string(count) + " degenerate polygon" + (count == 1 ? "" : "s") +
         " with no area.";
}

bool GenerateCircle(GeometryContext& ctx, const CircleParams& p) {
  const std::uint32_t n = p.vectors;
  if (n < 3) return false;
  if (Refuse(ctx, CheckCapacity(ctx.tables(), {n + 1ULL, 3ULL * n, p.vectorsOnly ? 0ULL : n},
                                "for this circle"))) {
    return false;
  }
  IndexArray rim, vectors;
  if (!rim.Allocate(ctx.rt(), n) || !vectors.Allocate(ctx.rt(), 3ULL * n)) {
    ctx.ui().ShowError("Not enough memory. Decrease number of vectors.");
    return false;
  }
  WaitScope wait(ctx.rt());
  ShapeBuilder shape(ctx, p.vectorsOnly);
  const double r = p.diameter * 0.5;
  const double step = 2.0 * kPi / n;
  const PrimitiveOrigin& o = p.origin;
  const std::uint32_t centre = shape.NewPoint(0, 0, 0);
  for (std::uint32_t k = 0; k < n; ++k) {
    const double theta = k * step;
    rim[k] = shape.NewPoint(TruncToWhole(r * std::cos(theta) - o.x),
                            TruncToWhole(r * std::sin(theta) + o.y), TruncToWhole(o.z));
  }
  for (std::uint32_t k = 0; k < n; ++k) {
    const std::uint32_t next = (k + 1) % n;
    vectors[3 * k] = shape.NewVector(rim[k], rim[next]);
    vectors[3 * k + 1] = shape.NewVector(rim[k], centre);
    vectors[3 * k + 2] = shape.NewVector(rim[next], centre);
  }
  if (!p.vectorsOnly) {
    for (std::uint32_t k = 0; k < n; ++k) {
      shape.Face(k, {vectors[3 * k], vectors[3 * k + 1], vectors[3 * k + 2]}, false);
    }
  }
  shape.Finish();
  return true;
}

bool GenerateCylinder(GeometryContext& ctx, const CylinderParams& p) {
  const std::uint32_t n = p.slices;
  if (n < 3) return false;
  if (Refuse(ctx,
             CheckCapacity(ctx.tables(), {2ULL * n + 2, 7ULL * n, p.vectorsOnly ? 0ULL : 3ULL * n},
                           "for this cylinder"))) {
    return false;
  }
  IndexArray top, bottom, vectors;
  if (!top.Allocate(ctx.rt(), n) || !bottom.Allocate(ctx.rt(), n) ||
      !vectors.Allocate(ctx.rt(), 7ULL * n)) {
    ctx.ui().ShowError("Not Enough Memory");
    return false;
  }
  WaitScope wait(ctx.rt());
  ShapeBuilder shape(ctx, p.vectorsOnly);
  const double r = p.diameter * 0.5;
  const double step = 2.0 * kPi / n;
  const PrimitiveOrigin& o = p.origin;
  const long long halfHeight = p.height / 2;
  const std::uint32_t topCentre = shape.NewPoint(0, static_cast<double>(halfHeight + o.y), 0);
  const std::uint32_t bottomCentre = shape.NewPoint(0, static_cast<double>(o.y - halfHeight), 0);
  for (std::uint32_t k = 0; k < n; ++k) {
    const double theta = k * step;
    top[k] =
        shape.NewPoint(TruncToWhole(r * std::sin(theta) - o.x), TruncToWhole(p.height * 0.5 + o.y),
                       TruncToWhole(r * std::cos(theta) + o.z));
  }
  for (std::uint32_t k = 0; k < n; ++k) {
    const double theta = k * step;
    bottom[k] =
        shape.NewPoint(TruncToWhole(r * std::sin(theta) - o.x), TruncToWhole(o.y - p.height * 0.5),
                       TruncToWhole(r * std::cos(theta) + o.z));
  }
  // vectors: [0, 3n) top rim and spokes, [3n, 6n) bottom, [6n, 7n) sides.
  for (std::uint32_t k = 0; k < n; ++k) {
    const std::uint32_t next = (k + 1) % n;
    vectors[3 * k] = shape.NewVector(top[k], top[next]);
    vectors[3 * k + 1] = shape.NewVector(top[k], topCentre);
    vectors[3 * k + 2] = shape.NewVector(top[next], topCentre);
  }
  for (std::uint32_t k = 0; k < n; ++k) {
    const std::uint32_t next = (k + 1) % n;
    vectors[3 * n + 3 * k] = shape.NewVector(bottom[k], bottom[next]);
    vectors[3 * n + 3 * k + 1] = shape.NewVector(bottom[k], bottomCentre);
    vectors[3 * n + 3 * k + 2] = shape.NewVector(bottom[next], bottomCentre);
  }
  for (std::uint32_t k = 0; k < n; ++k) vectors[6 * n + k] = shape.NewVector(top[k], bottom[k]);
  if (!p.vectorsOnly) {
    for (std::uint32_t k = 0; k < n; ++k) {
      const std::uint32_t next = (k + 1) % n;
      shape.Face(
          k, {vectors[6 * n + k], vectors[3 * n + 3 * k], vectors[6 * n + next], vectors[3 * k]},
          true);
    }
    for (std::uint32_t k = 0; k < n; ++k) {
      shape.Face(k, {vectors[3 * k], vectors[3 * k + 1], vectors[3 * k + 2]}, false);
    }
    for (std::uint32_t k = 0; k < n; ++k) {
      shape.Face(k,
                 {vectors[3 * n + 3 * k], vectors[3 * n + 3 * k + 1], vectors[3 * n + 3 * k + 2]},
                 true);
    }
  }
  shape.Finish();
  return true;
}

bool GenerateSphere(GeometryContext& ctx, const SphereParams& p) {
  const std::uint32_t rings = p.verticalSlices - 1;  // V - 1 rings of H points
  const std::uint32_t h = p.horizontalSlices;
  if (p.verticalSlices < 3 || h < 3) return false;
  const std::uint64_t bands = p.verticalSlices - 2ULL;
  if (Refuse(ctx, CheckCapacity(ctx.tables(),
                                {2 + 1ULL * rings * h, 4ULL * h * rings,
                                 p.vectorsOnly ? 0ULL : 1ULL * p.verticalSlices * h},
                                "for this sphere"))) {
    return false;
  }
  IndexArray topCap, bottomCap, center, ring;
  const char* failed = nullptr;
  if (!topCap.Allocate(ctx.rt(), 2ULL * h)) {
    failed = "Not enough memory for top.";
  } else if (!bottomCap.Allocate(ctx.rt(), 2ULL * h)) {
    failed = "Not enough memory for bottom.";
  } else if (!center.Allocate(ctx.rt(), 4 * h * bands)) {
    failed = "Not enough memory for center.";
  } else if (!ring.Allocate(ctx.rt(), 1ULL * rings * h)) {
    failed = "Not enough memory for points.";
  }
  if (failed) {
    ctx.ui().ShowError(failed);
    return false;
  }
  WaitScope wait(ctx.rt());
  ShapeBuilder shape(ctx, p.vectorsOnly);
  const long long radius = p.diameter / 2;
  const double dPhi = kPi / p.verticalSlices;
  const double dTheta = 2.0 * kPi / h;
  const PrimitiveOrigin& o = p.origin;
  auto at = [&](std::uint32_t ringNumber, std::uint32_t j) -> std::uint32_t& {
    return ring[static_cast<std::size_t>(ringNumber - 1) * h + (j % h)];
  };
  const std::uint32_t north =
      shape.NewPoint(TruncToWhole(-static_cast<double>(o.x)),
                     TruncToWhole(static_cast<double>(radius + o.y)), TruncToWhole(o.z));
  for (std::uint32_t i = 1; i <= rings; ++i) {
    const double phi = i * dPhi;
    const double rho = radius * std::sin(phi);
    const double y = TruncToWhole(radius * std::cos(phi) + o.y);
    for (std::uint32_t j = 0; j < h; ++j) {
      const double theta = j * dTheta;
      at(i, j) = shape.NewPoint(TruncToWhole(rho * std::cos(theta) - o.x), y,
                                TruncToWhole(rho * std::sin(theta) + o.z));
    }
  }
  const std::uint32_t south =
      shape.NewPoint(TruncToWhole(-static_cast<double>(o.x)),
                     TruncToWhole(static_cast<double>(o.y - radius)), TruncToWhole(o.z));

  // The endpoint orders below fix how the loops wind (see the header).
  for (std::uint32_t j = 0; j < h; ++j) {
    topCap[2 * j] = shape.NewVector(at(1, j), north);
    topCap[2 * j + 1] = shape.NewVector(at(1, j), at(1, j + 1));
  }
  for (std::uint32_t i = 1; i < rings; ++i) {
    for (std::uint32_t j = 0; j < h; ++j) {
      std::uint32_t* edges = &center[4 * (static_cast<std::size_t>(i - 1) * h + j)];
      edges[0] = shape.NewVector(at(i, j), at(i, j + 1));
      edges[1] = shape.NewVector(at(i, j + 1), at(i + 1, j + 1));
      edges[2] = shape.NewVector(at(i + 1, j + 1), at(i + 1, j));
      edges[3] = shape.NewVector(at(i + 1, j), at(i, j));
    }
  }
  for (std::uint32_t j = 0; j < h; ++j) {
    bottomCap[2 * j] = shape.NewVector(at(rings, j), at(rings, j + 1));
    bottomCap[2 * j + 1] = shape.NewVector(at(rings, j), south);
  }

  if (!p.vectorsOnly) {
    std::uint32_t number = 0;
    for (std::uint32_t j = 0; j < h; ++j) {
      const std::uint32_t next = (j + 1) % h;
      shape.Face(number++, {topCap[2 * j], topCap[2 * j + 1], topCap[2 * next]}, j == h - 1);
    }
    for (std::uint32_t j = 0; j < h; ++j) {
      const std::uint32_t next = (j + 1) % h;
      shape.Face(number++, {bottomCap[2 * j], bottomCap[2 * j + 1], bottomCap[2 * next + 1]},
                 false);
    }
    for (std::uint64_t q = 0; q < bands * h; ++q) {
      const std::uint32_t* edges = &center[4 * q];
      shape.Face(number++, {edges[0], edges[1], edges[2], edges[3]}, false);
    }
  }
  shape.Finish();
  return true;
}

bool GenerateCube(GeometryContext& ctx, const CubeParams& p) {
  ObjectTables& t = ctx.tables();
  if (Refuse(ctx, CheckCapacity(t, {8, 12, p.vectorsOnly ? 0ULL : 6ULL}, "for this cube"))) {
    return false;
  }
  WaitScope wait(ctx.rt());
  ShapeBuilder shape(ctx, p.vectorsOnly);
  const double w = p.width / 2, h = p.height / 2, d = p.depth / 2;
  const double ox = p.origin.x, oy = p.origin.y, oz = p.origin.z;
  std::uint32_t pt[9];  // P1 to P8; pt[0] unused
  for (int back = 0; back < 2; ++back) {
    const double z = back ? oz - d : oz + d;
    pt[1 + 4 * back] = shape.NewPoint(ox - w, oy - h, z);
    pt[2 + 4 * back] = shape.NewPoint(ox + w, oy - h, z);
    pt[3 + 4 * back] = shape.NewPoint(ox - w, oy + h, z);
    pt[4 + 4 * back] = shape.NewPoint(ox + w, oy + h, z);
  }
  static constexpr int kEdges[12][2] = {{1, 2}, {2, 4}, {4, 3}, {3, 1}, {1, 5}, {2, 6},
                                        {3, 7}, {4, 8}, {5, 6}, {6, 8}, {8, 7}, {7, 5}};
  std::uint32_t e[13];  // E1 to E12; e[0] unused
  for (int i = 0; i < 12; ++i)
    e[i + 1] = AddFreshVectorUnique(t, pt[kEdges[i][0]], pt[kEdges[i][1]]);
  if (!p.vectorsOnly) {
    shape.Face("Defining Polygon 1", {e[1], e[2], e[3], e[4]}, false);
    shape.Face("Defining Polygon 2", {e[5], e[9], e[6], e[1]}, true);
    shape.Face("Defining Polygon 3", {e[3], e[7], e[11], e[8]}, true);
    shape.Face("Defining Polygon 4", {e[7], e[4], e[5], e[12]}, true);
    shape.Face("Defining Polygon 5", {e[6], e[10], e[8], e[2]}, true);
    shape.Face("Defining Polygon 6", {e[12], e[11], e[10], e[9]}, true);
  }
  for (int i = 1; i <= 12; ++i) t.vectors[e[i]].selected = kSelected;
  shape.Finish();
  return true;
}

namespace {

template <typename Fields, typename Validate, typename Generate>
bool Create(GeometryContext& ctx, const Fields& fields, std::string_view label, Validate validate,
            Generate generate) {
  MessageBatch batch(ctx.ui());
  const auto params = validate(fields, ctx.tables(), ctx.ui());
  if (!params) return false;
  ctx.model.PushUndo(label);
  generate(ctx, *params);
  return true;
}

}  // namespace

bool CreateCircle(GeometryContext& ctx, const CircleFields& fields) {
  return Create(ctx, fields, UndoLabel::kCircle, ValidateCircle, GenerateCircle);
}
bool CreateCylinder(GeometryContext& ctx, const CylinderFields& fields) {
  return Create(ctx, fields, UndoLabel::kCylinder, ValidateCylinder, GenerateCylinder);
}
bool CreateSphere(GeometryContext& ctx, const SphereFields& fields) {
  return Create(ctx, fields, UndoLabel::kSphere, ValidateSphere, GenerateSphere);
}
bool CreateCube(GeometryContext& ctx, const CubeFields& fields) {
  return Create(ctx, fields, UndoLabel::kCube, ValidateCube, GenerateCube);
}

}  // namespace ws
