#include "import/hand_over.h"

namespace ws {

std::string GroupNodeName(std::string_view name) {
  if (!name.empty() && IsAsciiLetter(name.front())) return std::string(name);
  return "G" + std::string(name);
}

void HandOverBuilder(scene::GroupNode& root, MeshBuilder& builder) {
  using namespace scene;
  root.Make<Material>();
  const bool withMaterials = builder.materialsPresent();
  if (withMaterials) {
    root.Make<MaterialBinding>(Binding::kPerFaceIndexed);
    Material& table = root.Make<Material>();
    const BlockArray<MaterialValue>& materials = builder.materialTable();
    for (std::size_t i = 0; i < materials.size(); ++i) table.Append(materials[i]);
  } else {
    root.Make<MaterialBinding>(Binding::kOverall);
  }
  Coordinate3& coordinates = root.Make<Coordinate3>();
  const BlockArray<Vec3>& points = builder.points();
  coordinates.point.reserve(points.size());
  for (std::size_t i = 0; i < points.size(); ++i) coordinates.point.push_back(points[i]);

  for (std::size_t g = 0; g < builder.groupCount(); ++g) {
    const MeshGroup& group = builder.group(g);
    if (group.faceIndices.empty()) continue;
    IndexedFaceSet& faces = root.Make<IndexedFaceSet>(GroupNodeName(group.name));
    faces.coordIndex.reserve(group.faceIndices.size());
    for (std::size_t i = 0; i < group.faceIndices.size(); ++i) {
      faces.coordIndex.push_back(group.faceIndices[i]);
    }
    if (withMaterials) {
      for (std::size_t i = 0; i < group.faceMaterials.size(); ++i) {
        faces.materialIndex.push_back(group.faceMaterials[i]);
      }
    }
  }
  builder.Clear();
}

}  // namespace ws
