// glTF 2.0 through tinygltf: the library parses the file and decodes its
// buffers; everything read from them here is checked against the buffer
// first, since the library leaves accessor ranges to its user.
//
// Each mesh instance gets one Coordinate3 (the positions of all its
// primitives, one after the other) so that a mesh of many primitives over
// one position list is held once per instance, not once per primitive.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "import/gltf_attributes.h"
#include "import/import_convert.h"
#include "import/readers/readers.h"
#include "resource/file_io.h"

namespace ws {
namespace {

using namespace scene;

constexpr std::uintmax_t kMaxGltfFileBytes = 256u << 20;
// What one file may put into the scene; the collector keeps 10,000 faces,
// the rest only counts for the drop report.
constexpr std::size_t kMaxGltfFaces = 1000000;
constexpr std::size_t kMaxGltfPoints = 4000000;

constexpr int kModeTriangles = 4, kModeStrip = 5, kModeFan = 6;

// What the conversion's hook needs to put back the export's attributes.
struct GltfFace {
  std::int32_t attributes = -1;  // into Restore::attributes
  std::uint32_t instance = 0;    // the mesh instance the polygon numbers belong to
  std::uint32_t polygon = kNoIndex;
  std::int16_t palette = -1;
  std::int32_t back = -1;  // into Restore::backs
};
struct BackSide {
  MaterialValue material;
  std::int16_t palette = -1;
};
struct Restore {
  std::vector<GltfAttributes> attributes;
  std::vector<BackSide> backs;
  std::vector<GltfFace> faces;
};

int ComponentBytes(int type) {
  switch (type) {
    case TINYGLTF_COMPONENT_TYPE_BYTE:
    case TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE:
      return 1;
    case TINYGLTF_COMPONENT_TYPE_SHORT:
    case TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT:
      return 2;
    case TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT:
    case TINYGLTF_COMPONENT_TYPE_FLOAT:
      return 4;
    default:
      return 0;
  }
}

int Components(int type) {
  switch (type) {
    case TINYGLTF_TYPE_SCALAR:
      return 1;
    case TINYGLTF_TYPE_VEC2:
      return 2;
    case TINYGLTF_TYPE_VEC3:
      return 3;
    case TINYGLTF_TYPE_VEC4:
      return 4;
    default:
      return 0;
  }
}

// One component at `p`, normalised integers mapped to 0..1 (or -1..1).
double Component(const unsigned char* p, int type, bool normalized) {
  auto get = [p]<class T>(T) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
  };
  switch (type) {
    case TINYGLTF_COMPONENT_TYPE_BYTE: {
      const double v = get(std::int8_t{});
      return normalized ? std::max(v / 127.0, -1.0) : v;
    }
    case TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE:
      return get(std::uint8_t{}) / (normalized ? 255.0 : 1.0);
    case TINYGLTF_COMPONENT_TYPE_SHORT: {
      const double v = get(std::int16_t{});
      return normalized ? std::max(v / 32767.0, -1.0) : v;
    }
    case TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT:
      return get(std::uint16_t{}) / (normalized ? 65535.0 : 1.0);
    case TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT:
      return get(std::uint32_t{});
    default:
      return get(float{});
  }
}

class GltfScene {
 public:
  GltfScene(Importer& importer, const tinygltf::Model& model, const std::string& path)
      : importer_(importer), m_(model), path_(path), restore_(std::make_shared<Restore>()) {}

  bool Build();

 private:
  // The accessor's elements, `components` numbers each; none (with the
  // reason in error_) when it is not of that shape or lies outside its
  // buffer. An accessor without a buffer view is all zeros.
  std::optional<std::vector<double>> Read(int index, std::initializer_list<int> components,
                                          int* got = nullptr, bool indices = false);
  bool Fail(const std::string& why) {
    if (error_.empty()) error_ = why;
    return false;
  }
  bool Instance(const tinygltf::Node& node, const Matrix& world);
  MaterialValue MaterialOf(int index, const double* vertexColor) const;
  std::int16_t PaletteOf(int index) const;

  Importer& importer_;
  const tinygltf::Model& m_;
  const std::string& path_;
  std::string error_;
  std::shared_ptr<Restore> restore_;
  std::size_t faces_ = 0, points_ = 0;
  std::uint32_t instances_ = 0;
  bool full_ = false;
};

std::optional<std::vector<double>> GltfScene::Read(int index, std::initializer_list<int> components,
                                                   int* got, bool indices) {
  const std::string which = "accessor " + std::to_string(index);
  if (index < 0 || static_cast<std::size_t>(index) >= m_.accessors.size()) {
    Fail(which + " does not exist");
    return std::nullopt;
  }
  const tinygltf::Accessor& a = m_.accessors[static_cast<std::size_t>(index)];
  const int n = Components(a.type);
  const int size = ComponentBytes(a.componentType);
  // An index list holds unsigned integers only.
  const bool unsignedInteger = a.componentType == TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE ||
                               a.componentType == TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT ||
                               a.componentType == TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT;
  if (std::find(components.begin(), components.end(), n) == components.end() || size == 0 ||
      (indices && (!unsignedInteger || a.normalized))) {
    Fail(which + " has the wrong type");
    return std::nullopt;
  }
  if (a.sparse.isSparse) {
    Fail(which + " is sparse, which is not supported");
    return std::nullopt;
  }
  if (got) *got = n;
  // Beyond what any list the import can use holds (4,000,000 corners of
  // four numbers): refused before anything is allocated for it.
  if (a.count > kMaxGltfPoints * 4 / static_cast<std::size_t>(n)) {
    Fail(which + " is too long");
    return std::nullopt;
  }
  const std::uint64_t elementBytes = static_cast<std::uint64_t>(n) * size;
  if (a.bufferView < 0) return std::vector<double>(a.count * n, 0.0);
  if (static_cast<std::size_t>(a.bufferView) >= m_.bufferViews.size()) {
    Fail(which + " names a buffer view that does not exist");
    return std::nullopt;
  }
  const tinygltf::BufferView& v = m_.bufferViews[static_cast<std::size_t>(a.bufferView)];
  if (v.buffer < 0 || static_cast<std::size_t>(v.buffer) >= m_.buffers.size()) {
    Fail(which + " names a buffer that does not exist");
    return std::nullopt;
  }
  const std::vector<unsigned char>& data = m_.buffers[static_cast<std::size_t>(v.buffer)].data;
  const std::uint64_t stride = v.byteStride != 0 ? v.byteStride : elementBytes;
  // Every sum below stays far from overflowing: each term is checked
  // against the buffer's size before it is added.
  const bool viewFits = v.byteOffset <= data.size() && v.byteLength <= data.size() - v.byteOffset;
  const bool fits =
      viewFits && stride >= elementBytes && a.byteOffset <= v.byteLength &&
      (a.count == 0 || (a.count - 1 <= v.byteLength / stride &&
                        (a.count - 1) * stride + elementBytes <= v.byteLength - a.byteOffset));
  if (!fits) {
    Fail(which + " lies outside its buffer");
    return std::nullopt;
  }
  std::vector<double> out;
  out.reserve(a.count * n);
  const unsigned char* base = data.data() + v.byteOffset + a.byteOffset;
  for (std::size_t i = 0; i < a.count; ++i) {
    for (int c = 0; c < n; ++c)
      out.push_back(Component(base + i * stride + c * size, a.componentType, a.normalized));
  }
  return out;
}

MaterialValue GltfScene::MaterialOf(int index, const double* vertexColor) const {
  double rgb[3] = {1, 1, 1};
  bool twoSided = false;
  if (index >= 0 && static_cast<std::size_t>(index) < m_.materials.size()) {
    const tinygltf::Material& mat = m_.materials[static_cast<std::size_t>(index)];
    const auto& f = mat.pbrMetallicRoughness.baseColorFactor;
    if (f.size() >= 3) std::copy_n(f.begin(), 3, rgb);
    twoSided = mat.doubleSided;
  }
  if (vertexColor) {
    for (int c = 0; c < 3; ++c) rgb[c] *= vertexColor[c];
  }
  // The import turns a diffuse d (ambient 0) into trunc(d x 255): the
  // middle of each of the 256 levels makes that the nearest level.
  auto level = [](double c) {
    const double clamped = std::isfinite(c) ? std::clamp(c, 0.0, 1.0) : 0.0;
    return (std::round(clamped * 255.0) + 0.5) / 255.0;
  };
  MaterialValue v;
  v.ambient = {};
  v.diffuse = {level(rgb[0]), level(rgb[1]), level(rgb[2])};
  v.twoSided = twoSided;
  return v;
}

std::int16_t GltfScene::PaletteOf(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= m_.materials.size()) return -1;
  const auto p = PaletteIndexOf(m_.materials[static_cast<std::size_t>(index)].extras);
  return p ? static_cast<std::int16_t>(*p) : -1;
}

// The triangles of a primitive as corner triples, from its index list (or
// 0..count-1 without one); strips alternate their winding so that every
// triangle faces the same way.
std::vector<std::uint32_t> Triangles(int mode, const std::vector<std::uint32_t>& list) {
  std::vector<std::uint32_t> out;
  const std::size_t n = list.size();
  if (mode == kModeTriangles) {
    out.assign(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(n - n % 3));
  } else if (n >= 3) {
    for (std::size_t k = 0; k + 2 < n; ++k) {
      if (mode == kModeFan) {
        out.insert(out.end(), {list[0], list[k + 1], list[k + 2]});
      } else if (k % 2 == 0) {
        out.insert(out.end(), {list[k], list[k + 1], list[k + 2]});
      } else {
        out.insert(out.end(), {list[k + 1], list[k], list[k + 2]});
      }
    }
  }
  return out;
}

bool GltfScene::Instance(const tinygltf::Node& node, const Matrix& world) {
  const tinygltf::Mesh& mesh = m_.meshes[static_cast<std::size_t>(node.mesh)];
  const std::uint32_t instance = instances_++;
  auto& sep = importer_.root().Make<Separator>(node.name.empty() ? mesh.name : node.name);
  sep.Make<MatrixTransform>(world);
  auto& coords = sep.Make<Coordinate3>();
  std::map<int, std::uint32_t> baseOf;  // POSITION accessor -> its first point

  struct Prim {
    const tinygltf::Primitive* p;
    std::vector<std::uint32_t> triangles;
    std::optional<GltfPrimitiveExtras> extras;
    std::vector<double> colors;
    int colorComponents = 0;
  };
  std::vector<Prim> prims;
  std::map<std::uint32_t, std::int32_t> backOf;  // polygon -> Restore::backs
  for (const tinygltf::Primitive& p : mesh.primitives) {
    const int mode = p.mode < 0 ? kModeTriangles : p.mode;
    if (mode != kModeTriangles && mode != kModeStrip && mode != kModeFan) continue;
    const auto pos = p.attributes.find("POSITION");
    if (pos == p.attributes.end()) continue;
    auto [it, added] =
        baseOf.try_emplace(pos->second, static_cast<std::uint32_t>(coords.point.size()));
    std::size_t count = 0;
    if (added) {
      const auto xyz = Read(pos->second, {3});
      if (!xyz) return false;
      if (points_ + xyz->size() / 3 > kMaxGltfPoints) return full_ = true;
      points_ += xyz->size() / 3;
      for (std::size_t i = 0; i + 2 < xyz->size(); i += 3)
        coords.point.push_back({(*xyz)[i], (*xyz)[i + 1], (*xyz)[i + 2]});
      count = xyz->size() / 3;
    } else {
      count = m_.accessors[static_cast<std::size_t>(pos->second)].count;
    }
    std::vector<std::uint32_t> list;
    if (p.indices >= 0) {
      const auto idx = Read(p.indices, {1}, nullptr, true);
      if (!idx) return false;
      for (double d : *idx) list.push_back(static_cast<std::uint32_t>(d));
    } else {
      for (std::size_t i = 0; i < count; ++i) list.push_back(static_cast<std::uint32_t>(i));
    }
    Prim prim{&p, Triangles(mode, list), std::nullopt, {}, 0};
    // A corner beyond the positions leaves its triangle out.
    std::size_t kept = 0, dropped = 0;
    for (std::size_t t = 0; t < prim.triangles.size(); t += 3) {
      const bool ok = std::all_of(prim.triangles.begin() + t, prim.triangles.begin() + t + 3,
                                  [&](std::uint32_t c) { return c < count; });
      if (!ok) {
        ++dropped;
        continue;
      }
      std::copy_n(prim.triangles.begin() + t, 3, prim.triangles.begin() + kept * 3);
      ++kept;
    }
    prim.triangles.resize(kept * 3);
    if (dropped > 0) {
      importer_.NoteDropped(std::to_string(dropped) +
                            " triangles name vertices the file does not have");
    }
    for (std::uint32_t& c : prim.triangles) c += it->second;
    if (const auto col = p.attributes.find("COLOR_0"); col != p.attributes.end()) {
      auto colors = Read(col->second, {3, 4}, &prim.colorComponents);
      if (!colors) return false;
      if (colors->size() / prim.colorComponents == count) prim.colors = std::move(*colors);
    }
    prim.extras = ExtrasToAttributes(p.extras);
    std::size_t expected = 0;
    if (prim.extras) {
      for (std::uint32_t t : prim.extras->triangles) expected += t;
    }
    // Only a primitive whose triangles are the ones its extras list keeps them.
    if (prim.extras &&
        (mode != kModeTriangles || dropped > 0 || expected * 3 != prim.triangles.size())) {
      prim.extras.reset();
    }
    if (prim.extras && prim.extras->back) {
      restore_->backs.push_back({MaterialOf(p.material, nullptr), PaletteOf(p.material)});
      for (std::uint32_t polygon : prim.extras->polygons) {
        backOf.emplace(polygon, static_cast<std::int32_t>(restore_->backs.size() - 1));
      }
      continue;  // its side is put back on the front's polygons
    }
    prims.push_back(std::move(prim));
  }

  for (Prim& prim : prims) {
    const std::size_t faces = prim.triangles.size() / 3;
    if (faces_ + faces > kMaxGltfFaces) return full_ = true;
    faces_ += faces;
    auto& part = sep.Make<Separator>();
    auto& material = part.Make<Material>();
    const std::int16_t palette = PaletteOf(prim.p->material);
    if (prim.colors.empty()) {
      material.Append(MaterialOf(prim.p->material, nullptr));
      part.Make<MaterialBinding>(Binding::kOverall);
    } else {
      for (std::size_t f = 0; f < faces; ++f) {
        double mean[3] = {0, 0, 0};
        for (std::size_t c = 0; c < 3; ++c) {
          const std::size_t v =
              prim.triangles[f * 3 + c] - baseOf[prim.p->attributes.at("POSITION")];
          for (int k = 0; k < 3; ++k) mean[k] += prim.colors[v * prim.colorComponents + k] / 3.0;
        }
        material.Append(MaterialOf(prim.p->material, mean));
      }
      part.Make<MaterialBinding>(Binding::kPerFace);
    }
    // Counter-clockwise glTF fronts become the editor's clockwise ones.
    auto& set = part.Make<IndexedFaceSet>();
    for (std::size_t f = 0; f < faces; ++f) {
      set.coordIndex.insert(set.coordIndex.end(),
                            {static_cast<std::int32_t>(prim.triangles[f * 3]),
                             static_cast<std::int32_t>(prim.triangles[f * 3 + 2]),
                             static_cast<std::int32_t>(prim.triangles[f * 3 + 1]), -1});
    }
    GltfFace record;
    record.instance = instance;
    record.palette = palette;
    if (!prim.extras) {
      restore_->faces.insert(restore_->faces.end(), faces, record);
      continue;
    }
    restore_->attributes.push_back(prim.extras->attributes);
    record.attributes = static_cast<std::int32_t>(restore_->attributes.size() - 1);
    for (std::size_t j = 0; j < prim.extras->polygons.size(); ++j) {
      record.polygon = prim.extras->polygons[j];
      const auto back = backOf.find(record.polygon);
      record.back = back == backOf.end() ? -1 : back->second;
      restore_->faces.insert(restore_->faces.end(), prim.extras->triangles[j], record);
    }
  }
  return true;
}

bool Finite(const Matrix& m) {
  return std::all_of(m.begin(), m.end(), [](double v) { return std::isfinite(v); });
}

// The node's own matrix: `matrix` when given, else scale, then rotation
// (a unit quaternion x, y, z, w), then translation.
Matrix LocalMatrix(const tinygltf::Node& n) {
  Matrix m = IdentityMatrix();
  if (n.matrix.size() == 16) {
    std::copy(n.matrix.begin(), n.matrix.end(), m.begin());
    return m;
  }
  if (n.scale.size() == 3) m = ScaleMatrix({n.scale[0], n.scale[1], n.scale[2]});
  if (n.rotation.size() == 4) {
    double x = n.rotation[0], y = n.rotation[1], z = n.rotation[2], w = n.rotation[3];
    const double len = std::sqrt(x * x + y * y + z * z + w * w);
    if (len > 0 && std::isfinite(len)) {
      x /= len, y /= len, z /= len, w /= len;
      // Column-major, as the walk's matrices are laid out.
      const Matrix r = {1 - 2 * (y * y + z * z),
                        2 * (x * y + z * w),
                        2 * (x * z - y * w),
                        0,
                        2 * (x * y - z * w),
                        1 - 2 * (x * x + z * z),
                        2 * (y * z + x * w),
                        0,
                        2 * (x * z + y * w),
                        2 * (y * z - x * w),
                        1 - 2 * (x * x + y * y),
                        0,
                        0,
                        0,
                        0,
                        1};
      m = Multiply(m, r);
    }
  }
  if (n.translation.size() == 3) {
    m = Multiply(m, TranslationMatrix({n.translation[0], n.translation[1], n.translation[2]}));
  }
  return m;
}

bool GltfScene::Build() {
  std::vector<int> roots;
  const int sceneIndex =
      m_.defaultScene >= 0 && static_cast<std::size_t>(m_.defaultScene) < m_.scenes.size()
          ? m_.defaultScene
          : (m_.scenes.empty() ? -1 : 0);
  if (sceneIndex >= 0) {
    roots = m_.scenes[static_cast<std::size_t>(sceneIndex)].nodes;
  } else {
    std::vector<bool> child(m_.nodes.size(), false);
    for (const tinygltf::Node& n : m_.nodes) {
      for (int c : n.children) {
        if (c >= 0 && static_cast<std::size_t>(c) < child.size())
          child[static_cast<std::size_t>(c)] = true;
      }
    }
    for (std::size_t i = 0; i < m_.nodes.size(); ++i) {
      if (!child[i]) roots.push_back(static_cast<int>(i));
    }
  }
  // Depth first, each node once (a file whose nodes form a loop or share a
  // child cannot walk forever).
  std::vector<bool> seen(m_.nodes.size(), false);
  std::vector<std::pair<int, Matrix>> stack;
  for (auto r = roots.rbegin(); r != roots.rend(); ++r) stack.emplace_back(*r, IdentityMatrix());
  while (!stack.empty() && !full_) {
    auto [index, parent] = stack.back();
    stack.pop_back();
    if (index < 0 || static_cast<std::size_t>(index) >= m_.nodes.size() ||
        seen[static_cast<std::size_t>(index)]) {
      continue;
    }
    seen[static_cast<std::size_t>(index)] = true;
    const tinygltf::Node& node = m_.nodes[static_cast<std::size_t>(index)];
    const Matrix world = Multiply(LocalMatrix(node), parent);
    // Metres become editor units before the corners are welded, so that
    // corners weld as closely as those of the object the file came from.
    const Matrix placed = Multiply(
        world, ScaleMatrix({kEditorUnitsPerMetre, kEditorUnitsPerMetre, kEditorUnitsPerMetre}));
    if (!Finite(placed)) continue;
    if (node.mesh >= 0 && static_cast<std::size_t>(node.mesh) < m_.meshes.size() &&
        !Instance(node, placed)) {
      importer_.Log("Bad glTF file '" + path_ + "': " + error_);
      return false;
    }
    for (auto c = node.children.rbegin(); c != node.children.rend(); ++c)
      stack.emplace_back(*c, world);
  }
  if (full_)
    importer_.NoteDropped("the file holds more than an import can take; the rest was not read");
  if (restore_->faces.empty()) {
    importer_.SetEmptyReason("The file's scene has no triangles.");
    return true;
  }
  importer_.SetAfterConversion([restore = restore_](ObjectTables& t,
                                                    std::span<const std::uint32_t> polygonOf,
                                                    const ColorTable& colors) {
    const std::size_t n = std::min(restore->faces.size(), polygonOf.size());
    // A polygon of the file is now its first triangle that was kept.
    std::map<std::pair<std::uint32_t, std::uint32_t>, std::uint32_t> newOf;
    for (std::size_t i = 0; i < n; ++i) {
      const GltfFace& f = restore->faces[i];
      if (f.polygon != kNoIndex && polygonOf[i] != kNoIndex) {
        newOf.emplace(std::pair(f.instance, f.polygon), polygonOf[i]);
      }
    }
    // The file's palette entry when it is the colour the face was matched
    // to (the same palette), else the match.
    auto entry = [&](std::int16_t palette, std::uint8_t matched) {
      return palette >= 0 && colors[static_cast<std::uint8_t>(palette)] == colors[matched]
                 ? static_cast<std::uint8_t>(palette)
                 : matched;
    };
    for (std::size_t i = 0; i < n; ++i) {
      if (polygonOf[i] == kNoIndex) continue;
      const GltfFace& f = restore->faces[i];
      Polygon& p = t.polygons[polygonOf[i]];
      p.frontColor = p.backColor = entry(f.palette, p.frontColor);
      if (f.attributes >= 0) {
        const GltfAttributes& a = restore->attributes[static_cast<std::size_t>(f.attributes)];
        p.flags = a.flags;
        if ((a.flags & PolyFlag::kEachSideDifferent) && f.back >= 0) {
          const BackSide& b = restore->backs[static_cast<std::size_t>(f.back)];
          p.backColor = entry(b.palette, FaceColorIndex(colors, b.material));
        }
        // Polygon numbers become those of the polygons' first kept
        // triangles; vector numbers do not survive the import's own vectors.
        p.viewZoneCount = 0;
        for (std::uint32_t e : a.zones) {
          if (e & ViewZone::kIsVector) continue;
          const auto it = newOf.find({f.instance, e & ViewZone::kIndexMask});
          if (it == newOf.end() || it->second > ViewZone::kIndexMask) continue;
          p.viewZones[p.viewZoneCount++] = (e & ViewZone::kFlagMask) | it->second;
        }
        if (a.flags & PolyFlag::kAdopted) {
          const auto it = a.leader ? newOf.find({f.instance, *a.leader}) : newOf.end();
          if (it != newOf.end()) {
            p.viewZones[0] = it->second;
          } else {
            p.flags &= ~PolyFlag::kAdopted;
            p.viewZones[0] = 0;
          }
        }
      }
      p.frontFill = FillWord(p.frontColor);
      p.backFill = FillWord(p.backColor);
    }
  });
  return true;
}

// Images are of no use to a palette-coloured object: passed over unread.
bool SkipImage(tinygltf::Image*, const int, std::string*, std::string*, int, int,
               const unsigned char*, int, void*) {
  return true;
}

}  // namespace

bool ImportGltf(Importer& importer, const std::string& path) {
  importer.Title("Importing glTF File...");
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  std::optional<std::vector<std::uint8_t>> bytes;
  if (!ec && size <= kMaxGltfFileBytes) bytes = ReadWholeFile(path);
  if (!bytes) {
    importer.Log("Unable to open file '" + path + "'");
    return false;
  }
  tinygltf::TinyGLTF loader;
  loader.SetImageLoader(&SkipImage, nullptr);
  tinygltf::Model model;
  std::string err, warn;
  const std::string dir = std::filesystem::path(path).parent_path().string();
  const bool binary = bytes->size() >= 4 && std::memcmp(bytes->data(), "glTF", 4) == 0;
  const auto length = static_cast<unsigned int>(bytes->size());
  const bool loaded =
      binary ? loader.LoadBinaryFromMemory(&model, &err, &warn, bytes->data(), length, dir)
             : loader.LoadASCIIFromString(
                   &model, &err, &warn, reinterpret_cast<const char*>(bytes->data()), length, dir);
  bytes.reset();
  if (!loaded) {
    importer.Log("Unable to load glTF file '" + path + "'");
    importer.Log(err.empty() ? "the file is not glTF 2.0" : err);
    return false;
  }
  importer.Progress(50);
  GltfScene scene(importer, model, path);
  if (!scene.Build()) {
    // Nothing of a file that failed half way stays in the scene.
    importer.root().children.clear();
    return false;
  }
  return true;
}

}  // namespace ws
