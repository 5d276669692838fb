// The X model loader: the frames and meshes of an X file as a tree, read
// from the data objects the X-file library hands out, before they become
// scene nodes.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "import/material_value.h"

namespace ws::ximport {

// Frame and mesh names are cut to this many characters.
inline constexpr std::size_t kMaxNameLength = 80;

struct XMaterial {
  std::array<double, 4> faceColor{};  // red, green, blue, alpha
  double power = 0;
  std::array<double, 3> specular{}, emissive{};
};

struct XMesh {
  std::vector<Vec3> vertices;
  // Each face's corner count, and all corners one face after the other.
  // Indices keep the file's 32 bits, so meshes over 65,535 vertices do not
  // wrap.
  std::vector<std::uint32_t> faceSizes;
  std::vector<std::uint32_t> corners;
  // One entry per face when the mesh has a material list (a shorter list
  // in the file is filled out with its last entry).
  std::vector<std::uint32_t> faceMaterials;
  std::vector<XMaterial> materials;
  // Kept only when they come one per vertex; nothing below uses them.
  std::vector<Vec3> normals;
  std::vector<std::array<double, 2>> textureCoords;
};

// A frame (group) or a mesh, in the order the file has them.
struct XNode {
  bool isMesh = false;
  std::string name;
  XMesh mesh;                                    // meshes only
  std::optional<std::array<double, 16>> matrix;  // frames: kept, never applied
  std::vector<XNode> children;                   // frames only
};

// The root group "root" holding the file's top-level frames and meshes
// (other top-level objects are ignored); no value, with `error` saying why,
// when the library cannot read the file or a mesh's or frame's members do
// not hold together.
std::optional<XNode> LoadX(std::span<const std::uint8_t> bytes, std::string* error);

}  // namespace ws::ximport
