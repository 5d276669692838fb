#include "import/gltf_export.h"

#include <cctype>
#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <sstream>
#include <tuple>
#include <vector>

#include "import/gltf_attributes.h"
#include "import/x_export.h"
#include "resource/file_io.h"

namespace ws {
namespace {

constexpr int kArrayBuffer = 34962;
constexpr int kElementArrayBuffer = 34963;

struct PrimitiveParts {
  std::vector<std::uint32_t> indices, polygons, triangles;
};

// A primitive holds the polygons of one material, side and attribute set.
using PrimitiveKey = std::tuple<int, bool, GltfAttributes>;

GltfAttributes AttributesOf(const Polygon& p) {
  GltfAttributes a;
  a.flags = p.flags & kGltfFlagMask;
  a.zones.assign(p.viewZones, p.viewZones + std::min(p.viewZoneCount, kMaxViewZones));
  if (p.flags & PolyFlag::kAdopted) a.leader = p.viewZones[0];
  return a;
}

tinygltf::Material MaterialFor(const ColorTable& colors, std::uint8_t index, bool doubleSided) {
  tinygltf::Material m;
  m.name = "color " + std::to_string(index) + (doubleSided ? " two-sided" : "");
  const RGB16& c = colors[index];
  m.pbrMetallicRoughness.baseColorFactor = {c.red / 65535.0, c.green / 65535.0, c.blue / 65535.0,
                                            1.0};
  m.pbrMetallicRoughness.metallicFactor = 0.0;
  m.pbrMetallicRoughness.roughnessFactor = 1.0;
  m.doubleSided = doubleSided;
  tinygltf::Value::Object extras;
  extras["paletteIndex"] = tinygltf::Value(static_cast<int>(index));
  m.extras = tinygltf::Value(std::move(extras));
  return m;
}

template <class T>
void AppendBytes(std::vector<unsigned char>& out, const T& value) {
  const auto* p = reinterpret_cast<const unsigned char*>(&value);
  out.insert(out.end(), p, p + sizeof(T));
}

}  // namespace

std::optional<std::string> FormatGltf(const ObjectTables& t, const ColorTable& colors, double scale,
                                      bool binary) {
  const std::string& name = t.name;
  tinygltf::Model model;
  model.asset.version = "2.0";
  model.asset.generator = "Wirestead";
  tinygltf::Node node;
  node.name = name;

  // Vertices in order of first use; materials and primitives as met.
  std::vector<std::uint32_t> vertexOf(t.pointCount, kNoIndex);
  std::vector<float> positions;
  std::map<std::pair<std::uint8_t, bool>, int> materialOf;
  std::map<PrimitiveKey, std::size_t> primitiveOf;
  std::vector<std::pair<PrimitiveKey, PrimitiveParts>> primitives;
  auto vertex = [&](std::uint32_t point) -> std::optional<std::uint32_t> {
    if (vertexOf[point] == kNoIndex) {
      const Point& q = t.points[point];
      for (double v : {q.x, q.y, q.z}) {
        const auto f = static_cast<float>(v * scale / kEditorUnitsPerMetre);
        if (!std::isfinite(f)) return std::nullopt;
        positions.push_back(f);
      }
      vertexOf[point] = static_cast<std::uint32_t>(positions.size() / 3 - 1);
    }
    return vertexOf[point];
  };
  auto material = [&](std::uint8_t index, bool doubleSided) {
    auto [it, added] =
        materialOf.try_emplace({index, doubleSided}, static_cast<int>(model.materials.size()));
    if (added) model.materials.push_back(MaterialFor(colors, index, doubleSided));
    return it->second;
  };
  auto parts = [&](PrimitiveKey key) -> PrimitiveParts& {
    auto [it, added] = primitiveOf.try_emplace(key, primitives.size());
    if (added) primitives.push_back({std::move(key), {}});
    return primitives[it->second].second;
  };

  for (std::uint32_t k = 0; k < t.polygonCount; ++k) {
    const Polygon& p = t.polygons[k];
    const std::uint32_t n = std::min(p.pointCount, kMaxPolygonPoints);
    if (n < 3) continue;
    std::vector<std::uint32_t> corners;
    for (std::uint32_t i = 0; i < n; ++i) {
      if (p.points[i] >= t.pointCount) return std::nullopt;
      const auto v = vertex(p.points[i]);
      if (!v) return std::nullopt;
      corners.push_back(*v);
    }
    const bool drawsBack = (p.flags & PolyFlag::kNeverDrawBackFace) == 0;
    const bool eachSide = (p.flags & PolyFlag::kEachSideDifferent) != 0;
    const bool doubleSided = drawsBack && !eachSide;
    const GltfAttributes attributes = AttributesOf(p);
    for (bool back : {false, true}) {
      if (back && !drawsBack) break;
      const std::uint8_t color = back && eachSide ? p.backColor : p.frontColor;
      PrimitiveParts& part = parts({material(color, doubleSided), back, attributes});
      for (std::uint32_t i = 1; i + 1 < n; ++i) {
        // glTF fronts run the other way round from the editor's.
        part.indices.insert(part.indices.end(),
                            {corners[0], corners[back ? i : i + 1], corners[back ? i + 1 : i]});
      }
      part.polygons.push_back(k);
      part.triangles.push_back(n - 2);
    }
  }

  if (!primitives.empty()) {
    std::vector<unsigned char> bytes;
    for (float f : positions) AppendBytes(bytes, f);
    const std::size_t positionBytes = bytes.size();
    tinygltf::Accessor pos;
    pos.bufferView = 0;
    pos.componentType = TINYGLTF_COMPONENT_TYPE_FLOAT;
    pos.type = TINYGLTF_TYPE_VEC3;
    pos.count = positions.size() / 3;
    pos.minValues.assign(3, std::numeric_limits<double>::infinity());
    pos.maxValues.assign(3, -std::numeric_limits<double>::infinity());
    for (std::size_t i = 0; i < positions.size(); ++i) {
      pos.minValues[i % 3] = std::min<double>(pos.minValues[i % 3], positions[i]);
      pos.maxValues[i % 3] = std::max<double>(pos.maxValues[i % 3], positions[i]);
    }
    model.accessors.push_back(pos);

    tinygltf::Mesh mesh;
    mesh.name = name;
    for (const auto& [key, part] : primitives) {
      tinygltf::Accessor idx;
      idx.bufferView = 1;
      idx.byteOffset = bytes.size() - positionBytes;
      idx.componentType = TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT;
      idx.type = TINYGLTF_TYPE_SCALAR;
      idx.count = part.indices.size();
      for (std::uint32_t i : part.indices) AppendBytes(bytes, i);
      tinygltf::Primitive prim;
      prim.mode = TINYGLTF_MODE_TRIANGLES;
      prim.attributes["POSITION"] = 0;
      prim.indices = static_cast<int>(model.accessors.size());
      prim.material = std::get<0>(key);
      prim.extras =
          AttributesToExtras(std::get<2>(key), std::get<1>(key), part.polygons, part.triangles);
      model.accessors.push_back(idx);
      mesh.primitives.push_back(std::move(prim));
    }
    tinygltf::BufferView positionView;
    positionView.buffer = 0;
    positionView.byteLength = positionBytes;
    positionView.target = kArrayBuffer;
    tinygltf::BufferView indexView;
    indexView.buffer = 0;
    indexView.byteOffset = positionBytes;
    indexView.byteLength = bytes.size() - positionBytes;
    indexView.target = kElementArrayBuffer;
    model.bufferViews = {positionView, indexView};
    tinygltf::Buffer buffer;
    buffer.data = std::move(bytes);
    model.buffers.push_back(std::move(buffer));
    model.meshes.push_back(std::move(mesh));
    node.mesh = 0;
  }
  model.nodes.push_back(std::move(node));
  tinygltf::Scene scene;
  scene.nodes = {0};
  model.scenes.push_back(scene);
  model.defaultScene = 0;

  std::ostringstream out;
  tinygltf::TinyGLTF writer;
  if (!writer.WriteGltfSceneToStream(&model, out, !binary, binary)) return std::nullopt;
  return out.str();
}

bool ExportObjectAsGltf(Model& model, const std::string& path, bool walkMode) {
  auto colors = ReadClutFromFile(model.resources, model.paths.preferences, kCurrentClutId);
  if (!colors || !model.tables.allocated()) return false;
  std::string tail = path.substr(path.size() - std::min<std::size_t>(path.size(), 4));
  for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const bool binary = tail == ".glb";
  const auto bytes = FormatGltf(model.tables, *colors, walkMode ? kWalkExportScale : 1.0, binary);
  return bytes && WriteFileAtomically(path, *bytes);
}

}  // namespace ws
