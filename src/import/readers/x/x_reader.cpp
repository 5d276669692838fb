// X file import: frames become Separators, meshes their coordinates,
// materials and faces. The X-file library reads the bytes; this file walks
// the data objects it hands out.
#include <algorithm>
#include <limits>
#include <memory>

#include "import/hand_over.h"
#include "import/readers/bounded_reader.h"
#include "import/readers/readers.h"
#include "import/readers/x/x_loader.h"
#include "import/xfile/xfile.h"

namespace ws {
namespace ximport {
namespace {

// Reads a data object's flat values in order; every read checks what is
// left, so a value list shorter than its counts claim is refused, not
// overrun.
class Values {
 public:
  explicit Values(const xfile::Object& object) : values_(object.values) {}
  std::optional<double> Number() {
    if (pos_ >= values_.size() || values_[pos_].isString) return std::nullopt;
    return values_[pos_++].number;
  }
  // A count: a whole number no larger than the values left, each element
  // taking at least `width` values.
  std::optional<std::size_t> Count(std::size_t width) {
    const std::optional<double> n = Number();
    if (!n || *n < 0 || *n != static_cast<double>(static_cast<std::uint64_t>(*n)) ||
        *n > static_cast<double>((values_.size() - pos_) / width)) {
      return std::nullopt;
    }
    return static_cast<std::size_t>(*n);
  }
  std::optional<std::uint32_t> Index() {
    const std::optional<double> n = Number();
    if (!n || *n < 0 || *n > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
    return static_cast<std::uint32_t>(*n);
  }
  template <std::size_t N>
  bool Numbers(std::array<double, N>& out) {
    for (double& v : out) {
      const std::optional<double> n = Number();
      if (!n) return false;
      v = *n;
    }
    return true;
  }
  bool Vec(Vec3& out) {
    std::array<double, 3> a{};
    if (!Numbers(a)) return false;
    out = {a[0], a[1], a[2]};
    return true;
  }
  bool AtEnd() const { return pos_ == values_.size(); }

 private:
  const std::vector<xfile::Value>& values_;
  std::size_t pos_ = 0;
};

std::string Name(const xfile::Object& object) { return object.name.substr(0, kMaxNameLength); }

// What a child stands for: the object itself, or the object a reference
// names (nullptr when it names nothing).
const xfile::Object* Target(const xfile::File& file, const xfile::Object& child) {
  return child.reference ? xfile::Resolve(file, child) : &child;
}

class Loader {
 public:
  explicit Loader(const xfile::File& file) : file_(file) {}
  std::string error;

  // The children of a frame (or of the file, for the root): frames nest,
  // meshes are read, the frame's own transform is kept. References to
  // frames are not followed, so a frame cannot end up inside itself.
  bool ReadFrame(const std::vector<xfile::Object>& children, XNode& group, bool isFrame) {
    for (const xfile::Object& child : children) {
      if (child.templateName == "Frame" && !child.reference) {
        XNode frame;
        frame.name = Name(child);
        if (!ReadFrame(child.children, frame, true)) return false;
        group.children.push_back(std::move(frame));
        continue;
      }
      const xfile::Object* target = Target(file_, child);
      if (target == nullptr) continue;
      if (target->templateName == "Mesh") {
        XNode mesh;
        if (!ReadMesh(*target, mesh)) return false;
        group.children.push_back(std::move(mesh));
      } else if (target->templateName == "FrameTransformMatrix" && isFrame) {
        std::array<double, 16> m{};
        Values in(*target);
        if (!in.Numbers(m))
          return Fail("frame '" + group.name + "': its transform matrix is incomplete");
        if (in.AtEnd()) group.matrix = m;
      }
    }
    return true;
  }

 private:
  bool Fail(std::string why) {
    error = std::move(why);
    return false;
  }

  bool ReadMesh(const xfile::Object& object, XNode& node) {
    node.isMesh = true;
    node.name = Name(object);
    XMesh& mesh = node.mesh;
    const std::string where = "mesh '" + node.name + "': ";
    Values in(object);
    const std::optional<std::size_t> vertices = in.Count(3);
    if (!vertices) return Fail(where + "its vertex count is more than its vertices");
    mesh.vertices.resize(*vertices);
    for (Vec3& v : mesh.vertices) {
      if (!in.Vec(v)) return Fail(where + "a vertex is not three numbers");
    }
    const std::optional<std::size_t> faces = in.Count(1);
    if (!faces) return Fail(where + "its face count is more than its faces");
    mesh.faceSizes.reserve(*faces);
    for (std::size_t f = 0; f < *faces; ++f) {
      const std::optional<std::size_t> corners = in.Count(1);
      if (!corners)
        return Fail(where + "face " + std::to_string(f) + " has fewer indices than it says");
      mesh.faceSizes.push_back(static_cast<std::uint32_t>(*corners));
      for (std::size_t i = 0; i < *corners; ++i) {
        const std::optional<std::uint32_t> index = in.Index();
        if (!index)
          return Fail(where + "face " + std::to_string(f) +
                      " has an index that is not a vertex number");
        mesh.corners.push_back(*index);
      }
    }
    for (const xfile::Object& child : object.children) {
      const xfile::Object* target = Target(file_, child);
      if (target == nullptr) continue;
      if (target->templateName == "MeshMaterialList") {
        if (!ReadMaterialList(*target, mesh)) return Fail(where + "its material list " + error);
      } else if (target->templateName == "MeshNormals") {
        mesh.normals = PerVertex<Vec3>(*target, mesh.vertices.size(), 3,
                                       [](Values& v, Vec3& n) { return v.Vec(n); });
      } else if (target->templateName == "MeshTextureCoords") {
        mesh.textureCoords = PerVertex<std::array<double, 2>>(
            *target, mesh.vertices.size(), 2,
            [](Values& v, std::array<double, 2>& uv) { return v.Numbers(uv); });
      }
    }
    return true;
  }

  // A list of one entry per vertex, or nothing when its count differs.
  template <class T, class ReadOne>
  static std::vector<T> PerVertex(const xfile::Object& object, std::size_t vertices,
                                  std::size_t width, ReadOne readOne) {
    Values in(object);
    const std::optional<std::size_t> n = in.Count(width);
    if (n != vertices) return {};
    std::vector<T> out(*n);
    for (T& item : out) readOne(in, item);
    return out;
  }

  static std::optional<XMaterial> ReadMaterial(const xfile::Object& object) {
    Values in(object);
    XMaterial m;
    std::optional<double> power;
    if (!in.Numbers(m.faceColor) || !(power = in.Number()) || !in.Numbers(m.specular) ||
        !in.Numbers(m.emissive)) {
      return std::nullopt;
    }
    m.power = *power;
    return m;
  }

  bool ReadMaterialList(const xfile::Object& list, XMesh& mesh) {
    Values in(list);
    // nMaterials is not needed: the materials are the children.
    const std::optional<std::size_t> count = in.Number() ? in.Count(1) : std::nullopt;
    if (!count) return Fail("has fewer face indexes than it says");
    for (std::size_t i = 0; i < *count; ++i) {
      const std::optional<std::uint32_t> index = in.Index();
      if (!index) return Fail("has a face index that is not a material number");
      mesh.faceMaterials.push_back(*index);
    }
    // Exporters often write one index for a mesh in one material, or fewer
    // than the faces: the rest keep the last one given.
    if (!mesh.faceMaterials.empty())
      mesh.faceMaterials.resize(mesh.faceSizes.size(), mesh.faceMaterials.back());
    for (const xfile::Object& child : list.children) {
      const xfile::Object* material = Target(file_, child);
      if (material == nullptr || material->templateName != "Material") continue;
      const std::optional<XMaterial> m = ReadMaterial(*material);
      if (!m) return Fail("has an incomplete material");
      mesh.materials.push_back(*m);
    }
    return true;
  }

  const xfile::File& file_;
};

// An index past the int range names no point (and no material) either way.
std::int32_t ToIndex(std::uint32_t i) {
  return static_cast<std::int32_t>(
      std::min<std::uint32_t>(i, std::numeric_limits<std::int32_t>::max()));
}

// Each mesh adds its coordinates, its materials (bound per face) and its
// faces to `parent`; each frame a Separator of its own.
void HandOver(const XNode& node, scene::GroupNode& parent) {
  if (!node.isMesh) {
    auto group =
        std::make_unique<scene::Separator>(node.name.empty() ? "" : GroupNodeName(node.name));
    for (const XNode& child : node.children) HandOver(child, *group);
    parent.Add(std::move(group));
    return;
  }
  const XMesh& mesh = node.mesh;
  parent.Make<scene::Coordinate3>().point = mesh.vertices;
  auto& material = parent.Make<scene::Material>();
  for (const XMaterial& m : mesh.materials) {
    material.diffuseColor.push_back({m.faceColor[0], m.faceColor[1], m.faceColor[2]});
  }
  parent.Make<scene::MaterialBinding>(scene::Binding::kPerFaceIndexed);
  auto& faces = parent.Make<scene::IndexedFaceSet>(node.name);
  faces.coordIndex.reserve(mesh.corners.size() + mesh.faceSizes.size());
  faces.materialIndex.reserve(mesh.faceSizes.size());
  std::size_t at = 0;
  for (std::size_t f = 0; f < mesh.faceSizes.size(); ++f) {
    for (std::uint32_t k = 0; k < mesh.faceSizes[f]; ++k)
      faces.coordIndex.push_back(ToIndex(mesh.corners[at++]));
    faces.coordIndex.push_back(-1);
    faces.materialIndex.push_back(mesh.faceMaterials.empty() ? 0 : ToIndex(mesh.faceMaterials[f]));
  }
}

}  // namespace

std::optional<XNode> LoadX(std::span<const std::uint8_t> bytes, std::string* error) {
  xfile::ReadResult read = xfile::Read(bytes, xfile::StandardTemplates());
  if (!read.file) {
    *error = read.error;
    return std::nullopt;
  }
  XNode root;
  root.name = "root";
  Loader loader(*read.file);
  if (!loader.ReadFrame(read.file->objects, root, false)) {
    *error = loader.error;
    return std::nullopt;
  }
  return root;
}

}  // namespace ximport

bool ImportXFile(Importer& importer, const std::string& path) {
  bool tooLarge = false;
  const std::optional<std::vector<std::uint8_t>> bytes = ReadImportFile(path, &tooLarge);
  if (!bytes) {
    importer.Log(tooLarge ? "File '" + path + "' is too large to import"
                          : "Unable to open file '" + path + "'");
    return false;
  }
  importer.Title("DirectX File...");
  std::string error;
  const std::optional<ximport::XNode> root = ximport::LoadX(*bytes, &error);
  if (!root) {
    importer.Log("Unable to load DirectX file '" + path + "'");
    importer.Log(error);
    return false;
  }
  importer.Progress(50);
  for (const ximport::XNode& child : root->children) ximport::HandOver(child, importer.root());
  importer.Progress(100);
  return true;
}

}  // namespace ws
