// The DirectX export of the current object (Save Object As with a ".x"
// name, and the command-line convert).
//
// The object's visible polygons go into group 0 of a MeshBuilder, which
// welds corners within 1e-5 and shares equal materials; the builder is then
// written as one X text file: a Mesh "wdo_object" holding the points and
// faces, its MeshMaterialList child "wdo_matlist" holding each face's
// material position, and one unnamed Material per material of the group.
#pragma once

#include <string>

#include "import/mesh_builder.h"
#include "model/color_table.h"
#include "model/model.h"
#include "model/object_tables.h"

namespace ws {

// Walk mode draws the world at a quarter of the editor's scale; an export
// made while it is on keeps that scale.
inline constexpr double kWalkExportScale = 0.25;
inline constexpr double kExportShininess = 0.2;

// Fills group 0 of `builder` from the polygons of `tables`, in order:
// invisible polygons are skipped; each polygon gives its front face (corners
// from the last to the first, front colour) and, unless it never draws its
// back face, the back face (corners from the first to the last, the back
// colour when each side has its own colour, else the front colour). The
// hardware viewer fills its builder the same way with its own shininess.
void FillBuilderFromObject(const ObjectTables& tables, const ColorTable& colors, bool walkMode,
                           MeshBuilder& builder, double shininess = kExportShininess);

// The material of colour-table entry `index`: diffuse from the low byte of
// each 16-bit component / 255, ambient a tenth of it, the rest black.
MaterialValue ExportMaterial(const ColorTable& colors, std::uint8_t index,
                             double shininess = kExportShininess);

// The one colour of a face made of `m` (the X format's faceColor, and what
// the hardware viewer paints): the first of emissive, diffuse and ambient
// that is not black, else 0.2 grey.
ColorTriple FaceColor(const MaterialValue& m);

// Writes group 0 of `builder` to `path` (a temporary file renamed over it).
// False, nothing written, when the path does not end in ".x" or ".X", a
// coordinate is not a finite number, or the file cannot be written.
bool ExportXFile(const std::string& path, const MeshBuilder& builder);

// The exporter of Save Object As and of convert: the current colour table
// of the Preferences file, the current object, ExportXFile. False when any
// step fails (the caller reports it).
bool ExportObjectAsX(Model& model, const std::string& path, bool walkMode);

}  // namespace ws
