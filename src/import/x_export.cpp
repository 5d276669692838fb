#include "import/x_export.h"

#include <cmath>
#include <string_view>
#include <vector>

#include "import/xfile/xfile.h"
#include "resource/file_io.h"

namespace ws {
namespace {

// A number value of the X file's data tree.
xfile::Value XNumber(double v) { return {false, v, {}}; }

// A colour counts as black within the weld tolerance of 0/0/0.
bool IsBlack(const ColorTriple& c) { return Distance(c, ColorTriple{}) < kImportTolerance; }

xfile::Object MaterialObject(const MaterialValue& m) {
  xfile::Object o;
  o.templateName = "Material";
  const ColorTriple face = FaceColor(m);
  // faceColor RGBA, power, specularColor, emissiveColor.
  for (double v : {face.x, face.y, face.z, 1.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}) {
    o.values.push_back(XNumber(static_cast<float>(v)));
  }
  return o;
}

}  // namespace

// The X format's Material has a single face colour: the first of emissive,
// diffuse and ambient that carries any colour.
ColorTriple FaceColor(const MaterialValue& m) {
  for (const ColorTriple* c : {&m.emissive, &m.diffuse, &m.ambient}) {
    if (!IsBlack(*c)) return *c;
  }
  return {0.2, 0.2, 0.2};
}

MaterialValue ExportMaterial(const ColorTable& colors, std::uint8_t index, double shininess) {
  const RGB16& c = colors[index];
  auto low = [](std::uint16_t v) { return (v & 0xFF) / 255.0; };
  MaterialValue m;
  m.diffuse = {low(c.red), low(c.green), low(c.blue)};
  m.ambient = {m.diffuse.x * 0.1, m.diffuse.y * 0.1, m.diffuse.z * 0.1};
  m.specular = {};
  m.emissive = {};
  m.shininess = shininess;
  m.transparency = 0.0;
  return m;
}

void FillBuilderFromObject(const ObjectTables& tables, const ColorTable& colors, bool walkMode,
                           MeshBuilder& builder, double shininess) {
  const double scale = walkMode ? kWalkExportScale : 1.0;
  auto corner = [&](const Polygon& p, std::uint32_t k) {
    const Point& pt = tables.points[p.points[k]];
    builder.AddVertex(pt.x * scale, pt.y * scale, pt.z * scale);
  };
  for (std::uint32_t i = 0; i < tables.polygonCount; ++i) {
    const Polygon& p = tables.polygons[i];
    if (p.flags & PolyFlag::kInvisible) continue;
    const MaterialValue front = ExportMaterial(colors, p.frontColor, shininess);
    const MaterialValue back = ExportMaterial(colors, p.backColor, shininess);
    builder.BeginFace(&front);
    for (std::uint32_t k = p.pointCount; k-- > 0;) corner(p, k);
    builder.EndFace();
    if (p.flags & PolyFlag::kNeverDrawBackFace) continue;
    builder.BeginFace((p.flags & PolyFlag::kEachSideDifferent) ? &back : &front);
    for (std::uint32_t k = 0; k < p.pointCount; ++k) corner(p, k);
    builder.EndFace();
  }
}

bool ExportXFile(const std::string& path, const MeshBuilder& builder) {
  const std::string_view p = path;
  if (!p.ends_with(".x") && !p.ends_with(".X")) return false;

  xfile::Object mesh;
  mesh.templateName = "Mesh";
  mesh.name = "wdo_object";
  const auto& points = builder.points();
  mesh.values.push_back(XNumber(static_cast<double>(points.size())));
  for (std::size_t i = 0; i < points.size(); ++i) {
    for (double v : {points[i].x, points[i].y, points[i].z}) {
      const float f = static_cast<float>(v);
      // Infinities and NaNs have no X text form the reader accepts.
      if (!std::isfinite(f)) return false;
      mesh.values.push_back(XNumber(f));
    }
  }
  // Group 0's face list: each face's indices, ended by -1.
  std::vector<std::vector<std::int32_t>> faces(1);
  const auto& indices = builder.FaceIndices(0);
  for (std::size_t i = 0; i < indices.size(); ++i) {
    if (indices[i] < 0) {
      faces.emplace_back();
    } else {
      faces.back().push_back(indices[i]);
    }
  }
  faces.pop_back();
  mesh.values.push_back(XNumber(static_cast<double>(faces.size())));
  for (const auto& face : faces) {
    mesh.values.push_back(XNumber(static_cast<double>(face.size())));
    for (std::int32_t index : face) mesh.values.push_back(XNumber(index));
  }

  xfile::Object list;
  list.templateName = "MeshMaterialList";
  list.name = "wdo_matlist";
  const std::size_t materials = builder.GroupMaterialCount(0);
  list.values.push_back(XNumber(static_cast<double>(materials)));
  list.values.push_back(XNumber(static_cast<double>(faces.size())));
  for (std::size_t f = 0; f < faces.size(); ++f) {
    const std::int32_t position = builder.FaceMaterialPosition(0, f);
    // A face whose material belongs to another group has no place here.
    if (position < 0) return false;
    list.values.push_back(XNumber(position));
  }
  for (std::size_t m = 0; m < materials; ++m) {
    list.children.push_back(MaterialObject(builder.GroupMaterial(0, m)));
  }
  mesh.children.push_back(std::move(list));

  auto text = xfile::WriteText({mesh}, xfile::StandardTemplates(), nullptr);
  return text && WriteFileAtomically(path, *text);
}

bool ExportObjectAsX(Model& model, const std::string& path, bool walkMode) {
  auto colors = ReadClutFromFile(model.resources, model.paths.preferences, kCurrentClutId);
  if (!colors || !model.tables.allocated()) return false;
  MeshBuilder builder;
  FillBuilderFromObject(model.tables, *colors, walkMode, builder);
  return ExportXFile(path, builder);
}

}  // namespace ws
