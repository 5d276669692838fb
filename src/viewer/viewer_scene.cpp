#include "viewer/viewer_scene.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numbers>

#include "import/mesh_builder.h"
#include "import/x_export.h"

namespace ws::viewer {
namespace {

using Vec = std::array<double, 3>;

// Neighbouring faces whose normals lie within 120 degrees share their
// smooth normal; a face and its reversed twin never do.
constexpr double kSmoothingCosine = -0.5;
// Display widths keep their low 15 bits; bit 15 marks a render copy.
constexpr std::uint32_t kWidthMask = 0x7FFF;

double Dot(const Vec& a, const Vec& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Vec Normalised(const Vec& v) {
  const double len = std::sqrt(Dot(v, v));
  if (len <= 0.0) return {0.0, 0.0, 0.0};
  return {v[0] / len, v[1] / len, v[2] / len};
}
std::array<float, 3> ToFloat(const Vec& v) {
  return {static_cast<float>(v[0]), static_cast<float>(v[1]), static_cast<float>(v[2])};
}

// Newell's normal of a face: robust for any planar outline, pointing to the
// side from which its corners run counter-clockwise.
Vec NewellNormal(const std::vector<Vec>& corners) {
  Vec n{0.0, 0.0, 0.0};
  for (std::size_t i = 0; i < corners.size(); ++i) {
    const Vec& a = corners[i];
    const Vec& b = corners[(i + 1) % corners.size()];
    n[0] += (a[1] - b[1]) * (a[2] + b[2]);
    n[1] += (a[2] - b[2]) * (a[0] + b[0]);
    n[2] += (a[0] - b[0]) * (a[1] + b[1]);
  }
  return Normalised(n);
}

// A perspective projection between the clipping planes, x and y scaled by
// the given factors at unit distance.
Mat4 Perspective(float scaleX, float scaleY) {
  Mat4 p;
  p(0, 0) = scaleX;
  p(1, 1) = scaleY;
  p(2, 2) = -(kBackClip + kFrontClip) / (kBackClip - kFrontClip);
  p(2, 3) = -2.0f * kBackClip * kFrontClip / (kBackClip - kFrontClip);
  p(3, 2) = -1.0f;
  p(3, 3) = 0.0f;
  return p;
}

struct Face {
  std::size_t first = 0;  // position of its first corner in the index list
  std::size_t count = 0;
  Vec normal{};
  std::array<float, 3> colour{};
};

}  // namespace

ShadingState ShadingFor(int shading, bool polygonsOn) {
  if (!polygonsOn) return {kQualityPoints, 0.5f};
  switch (shading) {
    case 1:
      return {kQualityFlat, 0.5f};
    case 2:
      return {kQualityGouraud, 0.5f};
    case 3:
      return {kQualityPhong, 0.5f};
    default:
      return {kQualityNone, 1.0f};
  }
}

std::uint64_t SceneSourceHash(const ObjectTables& tables, const ColorTable& colors) {
  std::uint64_t h = 0xCBF29CE484222325ull;
  auto mix = [&h](std::uint64_t word) {
    h = (h ^ word) * 0x100000001B3ull;
    h ^= h >> 29;
  };
  auto bits = [](double v) { return std::bit_cast<std::uint64_t>(v); };
  mix(tables.pointCount), mix(tables.vectorCount), mix(tables.polygonCount);
  for (std::uint32_t i = 0; i < tables.pointCount; ++i) {
    const Point& p = tables.points[i];
    mix(bits(p.x)), mix(bits(p.y)), mix(bits(p.z));
  }
  for (std::uint32_t i = 0; i < tables.vectorCount; ++i) {
    const Vector& v = tables.vectors[i];
    mix(std::uint64_t{v.p1} << 32 | v.p2), mix(std::uint64_t{v.width} << 8 | v.color);
  }
  for (std::uint32_t i = 0; i < tables.polygonCount; ++i) {
    const Polygon& p = tables.polygons[i];
    mix(std::uint64_t{p.flags} << 32 | std::uint64_t{p.pointCount} << 16 |
        std::uint64_t{p.frontColor} << 8 | p.backColor);
    for (std::uint32_t k = 0; k < p.pointCount && k < kMaxPolygonPoints; ++k) mix(p.points[k]);
  }
  for (const ColorEntry& e : colors.entries) {
    mix(std::uint64_t{e.rgb.red} << 32 | std::uint64_t{e.rgb.green} << 16 | e.rgb.blue);
  }
  return h;
}

void BuildSceneMesh(const ObjectTables& tables, const ColorTable& colors, bool walkMode,
                    SceneMesh& mesh) {
  mesh = SceneMesh{};
  MeshBuilder builder;
  FillBuilderFromObject(tables, colors, walkMode, builder, kViewerShininess);
  const auto& points = builder.points();
  const auto& indices = builder.FaceIndices(0);

  std::vector<Face> faces;
  std::vector<Vec> corners;
  std::size_t start = 0;
  for (std::size_t i = 0; i < indices.size(); ++i) {
    if (indices[i] >= 0) continue;
    Face f;
    f.first = start;
    f.count = i - start;
    corners.clear();
    for (std::size_t k = start; k < i; ++k) {
      const Vec3& p = points[static_cast<std::size_t>(indices[k])];
      corners.push_back({p.x, p.y, p.z});
    }
    f.normal = NewellNormal(corners);
    f.colour = ToFloat([&] {
      const ColorTriple c = FaceColor(builder.FaceMaterial(0, faces.size()));
      return Vec{c.x, c.y, c.z};
    }());
    faces.push_back(f);
    start = i + 1;
  }
  mesh.faceCount = static_cast<std::uint32_t>(faces.size());

  // The faces at each point (compressed rows: facesAt[rowStart[p]..rowStart[p+1])).
  std::vector<std::size_t> rowStart(points.size() + 1, 0);
  for (const Face& f : faces) {
    for (std::size_t k = 0; k < f.count; ++k)
      ++rowStart[static_cast<std::size_t>(indices[f.first + k]) + 1];
  }
  for (std::size_t p = 0; p < points.size(); ++p) rowStart[p + 1] += rowStart[p];
  std::vector<std::size_t> facesAt(rowStart.back());
  std::vector<std::size_t> fill(rowStart.begin(), rowStart.end() - 1);
  for (std::size_t fi = 0; fi < faces.size(); ++fi) {
    const Face& f = faces[fi];
    for (std::size_t k = 0; k < f.count; ++k)
      facesAt[fill[static_cast<std::size_t>(indices[f.first + k])]++] = fi;
  }

  // The corners before and after point p in face g.
  auto around = [&](const Face& g, std::size_t p) {
    for (std::size_t k = 0; k < g.count; ++k) {
      if (static_cast<std::size_t>(indices[g.first + k]) != p) continue;
      return std::pair{indices[g.first + (k + g.count - 1) % g.count],
                       indices[g.first + (k + 1) % g.count]};
    }
    return std::pair{-1, -1};
  };
  std::vector<std::size_t> fan;
  auto corner = [&](const Face& f, std::size_t k) {
    const std::size_t p = static_cast<std::size_t>(indices[f.first + k]);
    // The faces around p on f's side of the surface: reached from f across
    // the edges at p that both faces run in opposite directions, never
    // turning onto a face that looks the other way (a back face).
    fan.assign(1, static_cast<std::size_t>(&f - faces.data()));
    for (std::size_t i = 0; i < fan.size(); ++i) {
      const Face& g = faces[fan[i]];
      const auto [gPrev, gNext] = around(g, p);
      for (std::size_t r = rowStart[p]; r < rowStart[p + 1]; ++r) {
        const std::size_t hi = facesAt[r];
        if (std::find(fan.begin(), fan.end(), hi) != fan.end()) continue;
        const Face& h = faces[hi];
        if (Dot(h.normal, g.normal) <= kSmoothingCosine) continue;
        const auto [hPrev, hNext] = around(h, p);
        if (hPrev == gNext || hNext == gPrev) fan.push_back(hi);
      }
    }
    Vec smooth{0.0, 0.0, 0.0};
    for (std::size_t fi : fan) {
      const Vec& n = faces[fi].normal;
      smooth = {smooth[0] + n[0], smooth[1] + n[1], smooth[2] + n[2]};
    }
    const Vec3& pt = points[p];
    MeshVertex v;
    v.position = ToFloat({pt.x, pt.y, pt.z});
    v.faceNormal = ToFloat(f.normal);
    v.smoothNormal = ToFloat(Normalised(smooth));
    v.colour = f.colour;
    return v;
  };
  for (const Face& f : faces) {
    if (f.count < 3) continue;
    const MeshVertex first = corner(f, 0);
    MeshVertex previous = corner(f, 1);
    for (std::size_t k = 2; k < f.count; ++k) {
      const MeshVertex next = corner(f, k);
      mesh.triangles.insert(mesh.triangles.end(), {first, previous, next});
      previous = next;
    }
  }
  for (std::size_t p = 0; p < points.size(); ++p) {
    for (double c : {points[p].x, points[p].y, points[p].z}) {
      mesh.largestExtent = std::max(mesh.largestExtent, std::abs(c));
    }
  }

  const double scale = walkMode ? kWalkExportScale : 1.0;
  for (std::uint32_t i = kReservedVectors; i < tables.vectorCount; ++i) {
    const Vector& vec = tables.vectors[i];
    if ((vec.width & kWidthMask) == 0) continue;
    const ColorTriple c = FaceColor(ExportMaterial(colors, vec.color, kViewerShininess));
    for (std::uint32_t end : {vec.p1, vec.p2}) {
      const Point& pt = tables.points[end];
      MeshVertex v;
      v.position = ToFloat({pt.x * scale, pt.y * scale, pt.z * scale});
      v.colour = ToFloat({c.x, c.y, c.z});
      mesh.lines.push_back(v);
      for (float q : v.position)
        mesh.largestExtent = std::max(mesh.largestExtent, std::abs(double{q}));
    }
  }
}

Mat4 operator*(const Mat4& a, const Mat4& b) {
  Mat4 r;
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 4; ++col) {
      float s = 0.0f;
      for (int k = 0; k < 4; ++k) s += a(row, k) * b(k, col);
      r(row, col) = s;
    }
  }
  return r;
}

Mat4 Translation(float x, float y, float z) {
  Mat4 r;
  r(0, 3) = x;
  r(1, 3) = y;
  r(2, 3) = z;
  return r;
}

std::array<float, 3> TransformPoint(const Mat4& m, const std::array<float, 3>& p) {
  std::array<float, 3> r{};
  for (int row = 0; row < 3; ++row) {
    r[static_cast<std::size_t>(row)] =
        m(row, 0) * p[0] + m(row, 1) * p[1] + m(row, 2) * p[2] + m(row, 3);
  }
  return r;
}

SceneFrames PlaceFrames(const EditorDisplay& display, double largestExtent) {
  const ViewState& vs = display.model.view;
  const EditorViewState& ev = display.view;
  const EditAreaLayout& layout = display.layout;
  SceneFrames frames;
  Matrix3 rotation = vs.orientation;
  if (vs.activeTurn >= 1 && vs.activeTurn <= 3) {
    rotation = Multiply(vs.orientation, vs.turns[static_cast<std::size_t>(vs.activeTurn - 1)]);
  }
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) {
      frames.object(r, c) =
          static_cast<float>(rotation[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]);
    }
  }
  const float w = static_cast<float>(std::max(layout.width(), 1));
  const float h = static_cast<float>(std::max(layout.height(), 1));
  const float k = static_cast<float>(ev.scale > 0.0 ? ev.scale : 1.0);
  const float g = static_cast<float>(ev.gridStep);
  const float panX = static_cast<float>(ev.panX) * g;
  const float panY = static_cast<float>(ev.panY) * g;
  // The editor puts eye x = 0 at the centre of pixel column cx and eye y = 0
  // at the centre of row cy; GL puts them at the middle of the viewport.
  const float shiftX = 2.0f * (static_cast<float>(layout.cx) + 0.5f - w * 0.5f) / w;
  const float shiftY = 2.0f * (h * 0.5f - static_cast<float>(layout.cy) - 0.5f) / h;
  Mat4 projection;
  frames.perspective = display.options.perspective;
  float cameraZ = 0.0f;
  if (!frames.perspective) {
    // Uniform scaling: one world unit is k pixels both ways.
    cameraZ = static_cast<float>(kCameraDistanceFactor * largestExtent);
    frames.view = Translation(panX, panY, -cameraZ);
    projection(0, 0) = 2.0f * k / w;
    projection(1, 1) = 2.0f * k / h;
    projection(2, 2) = -2.0f / (kBackClip - kFrontClip);
    projection(2, 3) = -(kBackClip + kFrontClip) / (kBackClip - kFrontClip);
  } else {
    cameraZ = static_cast<float>(kPerspectiveEyeOffset) / k;
    Mat4 scale;
    for (int i = 0; i < 3; ++i) scale(i, i) = k;
    frames.view =
        Translation(panX * k, panY * k, -static_cast<float>(kPerspectiveEyeOffset)) * scale;
    const float f = static_cast<float>(layout.perspectiveFactor);
    projection = Perspective(2.0f * f / w, 2.0f * f / h);
  }
  frames.projection = Translation(shiftX, shiftY, 0.0f) * projection;
  // The camera frame looks along its own z axis (-z of the scene), up +y.
  frames.camera = Translation(-panX, -panY, cameraZ);
  frames.camera(2, 2) = -1.0f;
  frames.lights =
      Translation(kLightsFramePosition[0], kLightsFramePosition[1], kLightsFramePosition[2]);
  return frames;
}

std::array<double, 3> WalkToMesh(double x, double y, double z) {
  return {x, z, kWalkItemOffset - y};
}

SceneFrames PlaceWalkFrames(const WalkEye& eye, int width, int height) {
  SceneFrames frames;
  frames.perspective = true;
  const double h = eye.heading * std::numbers::pi / 180.0;
  const double c = std::cos(h), s = std::sin(h);
  // The walk world's ahead (c, s, 0), right (s, -c, 0) and up (0, 0, 1) in
  // mesh terms; the camera looks along its -z, so its z axis is behind.
  const std::array<double, 3> where = WalkToMesh(eye.x, eye.y, eye.z);
  const std::array<double, 3> right = {s, 0.0, c};
  const std::array<double, 3> up = {0.0, 1.0, 0.0};
  const std::array<double, 3> behind = {-c, 0.0, s};
  const std::array<double, 3>* axes[3] = {&right, &up, &behind};
  for (int a = 0; a < 3; ++a) {
    double along = 0.0;
    for (int k = 0; k < 3; ++k) {
      const double v = (*axes[a])[static_cast<std::size_t>(k)];
      frames.camera(k, a) = static_cast<float>(v);
      frames.view(a, k) = static_cast<float>(v);
      along += v * where[static_cast<std::size_t>(k)];
    }
    frames.camera(a, 3) = static_cast<float>(where[static_cast<std::size_t>(a)]);
    frames.view(a, 3) = static_cast<float>(-along);
  }
  // The walk view puts a point `right` and `up` of the eye at distance d
  // ahead on column hw + hw * right / d and row hh - hh * up / d (hw, hh
  // the halves in whole pixels), each pixel's number naming its centre.
  const float w = static_cast<float>(std::max(width, 1));
  const float ht = static_cast<float>(std::max(height, 1));
  const float hw = static_cast<float>(std::max(width, 1) / 2);
  const float hh = static_cast<float>(std::max(height, 1) / 2);
  const Mat4 projection = Perspective(2.0f * hw / w, 2.0f * hh / ht);
  const float shiftX = 2.0f * (hw + 0.5f - w * 0.5f) / w;
  const float shiftY = 2.0f * (ht * 0.5f - hh - 0.5f) / ht;
  frames.projection = Translation(shiftX, shiftY, 0.0f) * projection;
  frames.lights =
      Translation(static_cast<float>(where[0]), static_cast<float>(where[1]) + kWalkLightsAbove,
                  static_cast<float>(where[2]));
  return frames;
}

}  // namespace ws::viewer
