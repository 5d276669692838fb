// The builder hand-over: the readers that fill a MeshBuilder (DXF, RAW,
// NFF) turn it into scene nodes under the importer's scene root.
#pragma once

#include <string>
#include <string_view>

#include "import/mesh_builder.h"
#include "import/scene_nodes.h"

namespace ws {

// Appends to `root`, in order: an empty Material; when the builder's
// materials-present flag is set a MaterialBinding PER_FACE_INDEXED and a
// Material made from the builder's material table, else a MaterialBinding
// OVERALL; a Coordinate3 with the builder's points; then for each group
// with faces an IndexedFaceSet named after the group (GroupNodeName) with
// the face index list and, when materials are present, the face material
// list as its materialIndex. The builder is left empty (Clear).
void HandOverBuilder(scene::GroupNode& root, MeshBuilder& builder);

// A group name as a node name: "G" in front of a name whose first
// character is not an ASCII letter (an empty name becomes "G").
std::string GroupNodeName(std::string_view name);

// Whether c is an ASCII letter / digit, whatever the process locale.
inline bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
inline bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace ws
