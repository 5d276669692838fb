// The Wavefront OBJ export of the current object: an ".obj" and, beside it
// under the same name, its ".mtl".
//
// Same axes and size as the glTF export (gltf_attributes.h): every user
// point is a vertex "v x y z" in metres (six decimals), and every polygon of
// three or more points one face over its corners from the last to the
// first (OBJ fronts run counter-clockwise; not triangulated, front side
// only), after "usemtl color N" whenever the
// palette entry changes. The ".mtl" has one material per palette entry
// used, in order of first use, with "Kd" the entry's 16-bit components /
// 65535.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model/color_table.h"
#include "model/model.h"
#include "model/object_tables.h"

namespace ws {

struct ObjTexts {
  std::string obj, mtl;
};

// The two files' texts, "o" the tables' name; `mtlName` is what "mtllib"
// names. No value when a
// polygon names a point the object does not have.
std::optional<ObjTexts> FormatObj(const ObjectTables& tables, const ColorTable& colors,
                                  std::string_view mtlName, double scale);

// Writes `path` and the ".mtl" beside it, each through a temporary file
// renamed over it (the ".mtl" first, so that a written ".obj" always finds
// its materials). False when any step fails.
bool ExportObjectAsObj(Model& model, const std::string& path, bool walkMode);

}  // namespace ws
