// The glTF 2.0 export of the current object (Save Object As with a ".gltf"
// or ".glb" name, and the command-line convert); gltf_attributes.h says
// what the file holds beyond the mesh.
//
// One scene, one node and one mesh, all named after the object (the
// tables' name). Every
// polygon of three or more points becomes the fan of triangles from its
// first corner (the object itself is not changed), corners reversed for
// glTF's counter-clockwise fronts; unless it never draws
// its back face the same triangles follow turned round, in the back colour
// when each side has its own colour, else in the front colour. One
// material per palette entry and sidedness used: baseColorFactor the
// entry's 16-bit components / 65535, doubleSided where a polygon draws both
// sides in one colour (a polygon with two colours has both faces written
// and must not have either drawn from behind).
#pragma once

#include <optional>
#include <string>

#include "model/color_table.h"
#include "model/model.h"
#include "model/object_tables.h"

namespace ws {

// The file's bytes: a ".gltf" text with the buffer as a data URI, or a
// ".glb" container. No value when a coordinate is not a finite number.
std::optional<std::string> FormatGltf(const ObjectTables& tables, const ColorTable& colors,
                                      double scale, bool binary);

// The exporter of Save Object As and of convert: the current colour table of
// the Preferences file and the current object, written to `path`
// (a temporary file renamed over it); ".glb" (any case) is binary. False
// when any step fails (the caller reports it).
bool ExportObjectAsGltf(Model& model, const std::string& path, bool walkMode);

}  // namespace ws
