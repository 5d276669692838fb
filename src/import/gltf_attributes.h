// What a glTF file made by the export carries beyond geometry and colour,
// and how the import reads it back.
//
// Axes and size: an editor point (x, y, z) is written as (x, y, z) /
// kEditorUnitsPerMetre metres, y up, in glTF's right-handed frame (the
// editor's Front view has x right, y up and the viewer on +z). The editor
// draws a polygon's front where its corners run clockwise on the screen;
// glTF and OBJ fronts run counter-clockwise, so the exports write corners
// in reverse order and the glTF import turns its triangles back.
//
// Each primitive of the mesh holds the fan triangles of polygons that share
// a material, a side and every game attribute; its `extras` say which:
//   "side": "front" | "back"
//   "polygons": [original polygon numbers], "triangles": [triangles of each]
//   "collision", "entrance", "viewZone", "higherSortingPriority",
//   "invisible", "notVisibleFromCollision", "neverDrawBackFace": booleans
//   "colorMode": "none" | "shaded" | "selected" | "adopted" | "eachSide"
//                (several joined by "+")
//   "style": "normal" | "outline" | "bordered" | "outline+bordered"
//   "viewZonePriorities": [{"polygon" | "vector": n, "priority": "high" | "low"}]
//                (left out when the list is empty)
//   "groupLeader": n (with colour mode "adopted")
//   "otherFlags": n (bits of no named meaning, when there are any)
// Materials carry "paletteIndex" in their extras.
#pragma once

#include <tiny_gltf.h>

#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace ws {

inline constexpr double kEditorUnitsPerMetre = 100.0;

// A polygon's game attributes as the export writes them.
struct GltfAttributes {
  std::uint32_t flags = 0;              // drawing scratch bits never included
  std::vector<std::uint32_t> zones;     // raw view-zone entries
  std::optional<std::uint32_t> leader;  // with the adopted colour mode
  bool operator==(const GltfAttributes&) const = default;
  bool operator<(const GltfAttributes& o) const {
    return std::tie(flags, zones, leader) < std::tie(o.flags, o.zones, o.leader);
  }
};

// The polygon record bits that are object data.
inline constexpr std::uint32_t kGltfFlagMask = 0x3FFFFFFFu;

// The extras of one primitive: the attributes, the side, and the polygons
// whose triangles it holds, in order.
tinygltf::Value AttributesToExtras(const GltfAttributes& a, bool back,
                                   const std::vector<std::uint32_t>& polygons,
                                   const std::vector<std::uint32_t>& triangles);

// What the import finds in a primitive's extras. No value when the extras
// are not the export's (anything missing or of the wrong kind).
struct GltfPrimitiveExtras {
  GltfAttributes attributes;
  bool back = false;
  std::vector<std::uint32_t> polygons, triangles;
};
std::optional<GltfPrimitiveExtras> ExtrasToAttributes(const tinygltf::Value& extras);

// "paletteIndex" of a material's extras, when it is a number 0 to 255.
std::optional<std::uint8_t> PaletteIndexOf(const tinygltf::Value& extras);

}  // namespace ws
