#include "import/import_3dmf.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "geometry/faces.h"
#include "geometry/polygon_define.h"
#include "import/readers/3dmf/metafile_reader.h"
#include "import/readers/bounded_reader.h"
#include "model/cluster.h"

namespace ws {
namespace {

using metafile::MetafileObject;

// Handle-memory tag of the ellipsoid's working arrays ('ELPD').
constexpr std::uint32_t kEllipsoidTag = 0x454C5044;
constexpr std::uint32_t kContourBit = 0x80000000u;

// A colour component 0 ... 1 as the 16 bits of its value x 65535 truncated.
std::uint16_t Component16(float v) {
  double m = std::fmod(std::trunc(static_cast<double>(v) * 65535.0), 65536.0);
  if (m < 0) m += 65536.0;
  return static_cast<std::uint16_t>(m);
}

class Converter {
 public:
  Converter(Model& model, const ColorTable& colors, const std::function<bool()>& prepare)
      : model_(model), t_(model.tables), colors_(colors), prepare_(prepare) {
    firstPoint_ = t_.pointCount;
    firstPolygon_ = t_.polygonCount;
  }

  // Handles one object; sets the stop when reading must end.
  void Dispatch(const MetafileObject& o) {
    if (BringsPoints(o) && !Prepared()) return;
    switch (o.type) {
      case metafile::kMatrix:
        std::copy(o.values.begin(), o.values.end(), matrix_.begin());
        matrixOn_ = true;
        break;
      case metafile::kDiffuseColor:
        colour_ = NearestColor(colors_, Component16(o.values[0]), Component16(o.values[1]),
                               Component16(o.values[2]));
        fill_ = colour_ * 0x01010101u;
        break;
      case metafile::kTriangle:
        Triangle(o.values);
        break;
      case metafile::kPolygon:
        SimplePolygon(o);
        break;
      case metafile::kTriMesh:
        TriMesh(o);
        break;
      case metafile::kMesh:
        Mesh(o);
        break;
      case metafile::kEllipsoid:
        if (!CanTakePolygons(36)) break;
        if (!Ellipsoid(o.values)) Stop(kMsgObjectTooBig);
        break;
      default:
        break;
    }
  }
  bool stopped() const { return stop_; }
  bool refused() const { return refused_; }
  // The counts before the first geometry (after the preparation).
  std::uint32_t firstPoint() const { return firstPoint_; }
  std::uint32_t firstPolygon() const { return firstPolygon_; }

 private:
  // Geometry that adds at least one point: only then is the target made.
  static bool BringsPoints(const MetafileObject& o) {
    switch (o.type) {
      case metafile::kTriangle:
      case metafile::kEllipsoid:
        return true;
      case metafile::kPolygon:
      case metafile::kMesh:
        return !o.values.empty();
      case metafile::kTriMesh:
        return !o.triangles.empty();
      default:
        return false;
    }
  }
  bool Prepared() {
    if (!prepared_) {
      prepared_ = true;
      if (prepare_ && !prepare_()) {
        stop_ = refused_ = true;
        return false;
      }
      firstPoint_ = t_.pointCount;
      firstPolygon_ = t_.polygonCount;
    }
    return true;
  }

  void Stop(std::string_view message) {
    model_.ui().ShowNote(message);
    stop_ = true;
  }
  bool CanTakePolygons(std::uint32_t n) {
    if (t_.CanAddPolygons(n)) return true;
    Stop(kMsgTooManyPolygons);
    return false;
  }

  std::uint32_t Corner(const float* p, bool throughMatrix) {
    double x = p[0], y = p[1], z = p[2];
    if (throughMatrix && matrixOn_) {
      const auto& m = matrix_;
      const double xx = m[0] * x + m[4] * y + m[8] * z + m[12];
      const double yy = m[1] * x + m[5] * y + m[9] * z + m[13];
      const double zz = m[2] * x + m[6] * y + m[10] * z + m[14];
      const double w = m[3] * x + m[7] * y + m[11] * z + m[15];
      x = xx, y = yy, z = zz;
      if (w != 0) x /= w, y /= w, z /= w;
    }
    return t_.AddPoint(x, y, z);
  }

  // The polygon record at the polygon count, not yet counted.
  Polygon& NewPolygon(std::uint32_t corners) {
    Polygon& p = t_.polygons[t_.polygonCount];
    p.pointCount = corners;
    p.vectorCount = corners;
    p.viewZoneCount = 0;
    p.flags = PolyFlag::kImported;
    p.frontFill = p.backFill = fill_;
    p.frontColor = p.backColor = colour_;
    return p;
  }
  std::uint32_t Edge(std::uint32_t a, std::uint32_t b) {
    const std::uint32_t v = t_.AddVectorUnique(a, b);
    Vector& r = t_.vectors[v];
    r.width = 0;
    r.selected = kSelected;
    r.attribute = 0;
    r.color = 0;
    return v;
  }
  // Joins the polygon's corners round with vectors and counts it; false
  // (and the stop) when the vector table fills first.
  bool CloseLoop(Polygon& p) {
    for (std::uint32_t k = 0; k < p.pointCount; ++k) {
      if (!t_.CanAddVectors(1)) {
        Stop(kMsgObjectTooBig);
        return false;
      }
      p.vectors[k] = Edge(p.points[k], p.points[(k + 1) % p.pointCount]);
    }
    t_.polygonSelected[t_.polygonCount++] = kSelected;
    return true;
  }

  void Triangle(const std::vector<float>& v) {
    if (!t_.CanAddPoints(3)) return Stop(kMsgTooManyPoints);
    std::array<std::uint32_t, 3> c;
    for (int k = 0; k < 3; ++k) c[k] = Corner(&v[3 * k], true);
    if (!CanTakePolygons(1)) return;
    Polygon& p = NewPolygon(3);
    std::copy(c.begin(), c.end(), p.points);
    if (!t_.CanAddVectors(3)) return Stop(kMsgTooManyTriangles);
    for (int k = 0; k < 3; ++k) p.vectors[k] = Edge(c[k], c[(k + 1) % 3]);
    ++t_.polygonCount;
  }

  void SimplePolygon(const MetafileObject& o) {
    const std::uint32_t n = o.counts[0];
    if (!t_.CanAddPoints(n)) return Stop(kMsgTooManyPoints);
    if (!t_.CanAddVectors(n)) return Stop(kMsgObjectTooBig);
    if (!CanTakePolygons(1)) return;
    std::vector<std::uint32_t> corners(n), vectors;
    for (std::uint32_t k = 0; k < n; ++k) corners[k] = Corner(&o.values[3 * k], false);
    for (std::uint32_t k = 0; k < n; ++k) {
      vectors.push_back(t_.AddVector(corners[k], corners[(k + 1) % n]));
      t_.vectors[vectors.back()].selected = kSelected;
    }
    const std::int32_t k = DefinePolygonFromVectors(t_, model_.ui(), vectors, colour_);
    if (k < 0) return;
    Polygon& p = t_.polygons[static_cast<std::uint32_t>(k)];
    p.frontFill = p.backFill = fill_;
    p.frontColor = p.backColor = colour_;
  }

  void TriMesh(const MetafileObject& o) {
    const std::uint32_t triangles = o.counts[0];
    std::vector<std::uint32_t> corners;
    corners.reserve(o.triangles.size());
    for (std::uint32_t i : o.triangles) {
      if (corners.size() % 3 == 0 && !t_.CanAddPoints(3)) return Stop(kMsgTooManyPoints);
      corners.push_back(Corner(&o.values[3 * static_cast<std::size_t>(i)], false));
    }
    if (std::uint64_t{triangles} + t_.polygonCount > kMaxPolygons) return Stop(kMsgTooManyPolygons);
    for (std::size_t k = 0; k < triangles; ++k) {
      Polygon& p = NewPolygon(3);
      std::copy_n(&corners[3 * k], 3, p.points);
      if (!CloseLoop(p)) return;
    }
  }

  void Mesh(const MetafileObject& o) {
    const std::size_t vertexCount = o.values.size() / 3;
    std::vector<std::uint32_t> scratch;
    scratch.reserve(vertexCount);
    for (std::size_t i = 0; i < vertexCount; ++i) {
      if (!t_.CanAddPoints(1)) return Stop(kMsgTooManyPoints);
      scratch.push_back(Corner(&o.values[3 * i], true));
    }
    matrixOn_ = false;
    for (const metafile::MeshFace& face : o.faces) {
      const std::uint32_t n = face.count & ~kContourBit;
      const bool usable = (face.count & kContourBit) == 0 && n >= 3 && n < kMaxPolygonPoints &&
                          std::all_of(face.indices.begin(), face.indices.end(),
                                      [&](std::uint32_t i) { return i < vertexCount; });
      if (!usable) continue;
      if (!CanTakePolygons(1)) return;
      Polygon& p = NewPolygon(n);
      for (std::uint32_t k = 0; k < n; ++k) p.points[k] = scratch[face.indices[k]];
      if (!CloseLoop(p)) return;
    }
  }

  // A 6 x 6 sphere of the ellipsoid's radii a (major radius y) and b
  // (minor radius z) about its origin.
  bool Ellipsoid(const std::vector<float>& v) {
    constexpr std::uint32_t kSlices = 6, kRings = kSlices - 1, kBands = kSlices - 2;
    if (!t_.CanAddVectors(180) || !t_.CanAddPoints(2 + kRings * kSlices)) return false;
    Runtime& rt = model_.rt;
    const std::pair<std::size_t, std::string_view> arrays[] = {
        {2 * kSlices, kMsgNoMemoryTop},
        {2 * kSlices, kMsgNoMemoryBottom},
        {4 * kSlices * kBands, kMsgNoMemoryCenter},
        {kRings * kSlices, kMsgNoMemoryPoints}};
    Block blocks[4];
    for (int i = 0; i < 4; ++i) {
      blocks[i] = rt.memory.Allocate(arrays[i].first * sizeof(std::uint32_t), kEllipsoidTag);
      if (!blocks[i]) {
        model_.ui().ShowNote(arrays[i].second);
        return false;
      }
    }
    auto* top = reinterpret_cast<std::uint32_t*>(blocks[0].data());
    auto* bottom = reinterpret_cast<std::uint32_t*>(blocks[1].data());
    auto* center = reinterpret_cast<std::uint32_t*>(blocks[2].data());
    auto* ring = reinterpret_cast<std::uint32_t*>(blocks[3].data());
    const double pi = 4.0 * std::atan(1.0);
    const double a = v[4], b = v[8], ox = v[9], oy = v[10], oz = v[11];
    auto at = [&](std::uint32_t i, std::uint32_t j) -> std::uint32_t& {
      return ring[(i - 1) * kSlices + j % kSlices];
    };
    const std::uint32_t north = t_.AddPoint(-ox, oy + a, oz);
    for (std::uint32_t i = 1; i <= kRings; ++i) {
      const double phi = i * pi / kSlices;
      const double rho = a * std::sin(phi), y = b * std::cos(phi) + oy;
      for (std::uint32_t j = 0; j < kSlices; ++j) {
        const double theta = j * pi / 3;
        at(i, j) = t_.AddPoint(rho * std::cos(theta) - ox, y, rho * std::sin(theta) + oz);
      }
    }
    const std::uint32_t south = t_.AddPoint(-ox, oy - a, oz);
    auto room = [&] { return t_.vectorCount + 10 <= kMaxVectors; };
    for (std::uint32_t j = 0; j < kSlices; ++j) {
      if (!room()) return false;
      top[2 * j] = t_.AddVectorUnique(at(1, j), north);
      top[2 * j + 1] = t_.AddVectorUnique(at(1, j), at(1, j + 1));
    }
    for (std::uint32_t i = 1; i < kRings; ++i) {
      for (std::uint32_t j = 0; j < kSlices; ++j) {
        if (!room()) return false;
        std::uint32_t* e = &center[4 * ((i - 1) * kSlices + j)];
        e[0] = t_.AddVectorUnique(at(i, j), at(i, j + 1));
        e[1] = t_.AddVectorUnique(at(i, j + 1), at(i + 1, j + 1));
        e[2] = t_.AddVectorUnique(at(i + 1, j + 1), at(i + 1, j));
        e[3] = t_.AddVectorUnique(at(i + 1, j), at(i, j));
      }
    }
    for (std::uint32_t j = 0; j < kSlices; ++j) {
      if (!room()) return false;
      bottom[2 * j] = t_.AddVectorUnique(at(kRings, j), at(kRings, j + 1));
      bottom[2 * j + 1] = t_.AddVectorUnique(at(kRings, j), south);
    }
    std::uint32_t number = 0;
    auto face = [&](std::initializer_list<std::uint32_t> edges, bool reverse) {
      model_.observer().SetHelpLine("Defining Polygon " + std::to_string(number++));
      // A flattened ellipsoid folds rings onto points: such faces have an
      // edge of no length and no area, and are left out.
      for (std::uint32_t e : edges) {
        if (t_.vectors[e].p1 == t_.vectors[e].p2) return;
      }
      for (std::uint32_t e : edges) t_.vectors[e].selected = kSelected;
      const std::int32_t k = DefinePolygonFromVectors(
          t_, model_.ui(), std::span(edges.begin(), edges.size()), colour_);
      if (k >= 0 && reverse) FlipFace(t_, static_cast<std::uint32_t>(k));
    };
    for (std::uint32_t j = 0; j < kSlices; ++j) {
      const std::uint32_t next = (j + 1) % kSlices;
      face({top[2 * j], top[2 * j + 1], top[2 * next]}, j == kSlices - 1);
    }
    for (std::uint32_t j = 0; j < kSlices; ++j) {
      const std::uint32_t next = (j + 1) % kSlices;
      face({bottom[2 * j], bottom[2 * j + 1], bottom[2 * next + 1]}, false);
    }
    for (std::uint32_t q = 0; q < kBands * kSlices; ++q) {
      const std::uint32_t* e = &center[4 * q];
      face({e[0], e[1], e[2], e[3]}, false);
    }
    for (std::uint32_t e = 0; e < 2 * kSlices; ++e) {
      t_.vectors[top[e]].selected = t_.vectors[bottom[e]].selected = kSelected;
    }
    for (std::uint32_t e = 0; e < 4 * kSlices * kBands; ++e)
      t_.vectors[center[e]].selected = kSelected;
    return true;
  }

  Model& model_;
  ObjectTables& t_;
  const ColorTable& colors_;
  std::uint8_t colour_ = 0;
  std::uint32_t fill_ = 0;
  std::array<float, 16> matrix_{};
  bool matrixOn_ = false;
  bool stop_ = false;
  const std::function<bool()>& prepare_;
  bool prepared_ = false;
  bool refused_ = false;
  std::uint32_t firstPoint_ = 0;
  std::uint32_t firstPolygon_ = 0;
};

// Moves and scales the points from `first` on: centred in x and z, on
// y = 0, the largest extent 180.
void PlaceNewPoints(ObjectTables& t, std::uint32_t first) {
  double lo[3] = {100000, 100000, 100000}, hi[3] = {0, 0, 0};
  for (std::uint32_t i = first; i < t.pointCount; ++i) {
    const double c[3] = {t.points[i].x, t.points[i].y, t.points[i].z};
    for (int k = 0; k < 3; ++k) {
      if (c[k] < lo[k]) lo[k] = c[k];
      if (c[k] > hi[k]) hi[k] = c[k];
    }
  }
  const double ex = hi[0] - lo[0], ey = hi[1] - lo[1], ez = hi[2] - lo[2];
  const double cx = lo[0] + ex * 0.5, cz = lo[2] + ez * 0.5;
  const double largest = std::max({ex, ey, ez});
  const double s = largest > 0 ? 180.0 / largest : 1.0;
  for (std::uint32_t i = first; i < t.pointCount; ++i) {
    Point& p = t.points[i];
    p.x = (p.x - cx) * s;
    p.y = (p.y - lo[1]) * s;
    p.z = (p.z - cz) * s;
  }
}

}  // namespace

bool Import3dmf(Model& model, ImportServices& services, const std::string& path, bool flip,
                const std::function<bool()>& prepare) {
  ObjectTables& t = model.tables;
  services.progress.Open();
  services.progress.SetTitle(k3dmfTitle);
  std::optional<WaitScope> wait(std::in_place, model.rt);
  auto finish = [&] {
    wait.reset();
    services.progress.Close();
  };
  const std::optional<ColorTable> colors =
      ReadClutFromFile(model.resources, model.paths.preferences, kCurrentClutId);
  if (!colors) {
    finish();
    model.ui().ShowNote(kMsgNoClutInPrefs);
    return false;
  }
  std::optional<std::vector<std::uint8_t>> bytes = ReadImportFile(path);
  const double fileSize = bytes ? static_cast<double>(bytes->size()) : 0;
  services.progress.SetPosition(0);
  std::unique_ptr<metafile::MetafileReader> reader;
  // Until geometry comes, nothing was added.
  std::uint32_t firstPoint = t.pointCount, firstPolygon = t.polygonCount;
  bool refused = false;
  if (bytes && t.allocated() &&
      metafile::OpenMetafile(std::move(*bytes), reader, [&](std::string_view line) {
        services.notifier.Notify(line);
      }) == metafile::kOk) {
    Converter converter(model, *colors, prepare);
    double shown = 0;
    bool previousWasContainer = false;
    MetafileObject o;
    while (!converter.stopped()) {
      const double p = static_cast<double>(reader->GetPosition()) / fileSize * 99;
      if (p > shown) shown = p;
      services.progress.SetPosition(static_cast<int>(shown));
      const int status = reader->ReadNextObject(o);
      if (status != metafile::kOk) {
        if (status != metafile::kEndOfMetafile) model.ui().ShowError(kMsgUnknownError);
        break;
      }
      if (o.type == metafile::kReference) {
        // Only an external reference (id 0) has its storage object after
        // it; reading one for any other would swallow the next object.
        MetafileObject storage;
        const bool external = previousWasContainer && o.referenceId == 0;
        if (external && reader->ReadNextObject(storage) != metafile::kOk) break;
        if (reader->ResolveReference(o, external ? &storage : nullptr) != metafile::kOk) break;
      }
      previousWasContainer = o.type == metafile::kContainer;
      converter.Dispatch(o);
    }
    refused = converter.refused();
    firstPoint = converter.firstPoint();
    firstPolygon = converter.firstPolygon();
  }
  if (refused) {
    finish();
    return false;
  }
  if (t.pointCount == firstPoint) {
    finish();
    model.ui().ShowNote(kMsgNoUsableObjects);
    return false;
  }
  PlaceNewPoints(t, firstPoint);
  if (flip) {
    for (std::uint32_t k = firstPolygon; k < t.polygonCount; ++k) FlipFace(t, k);
  }
  finish();
  return true;
}

}  // namespace ws
