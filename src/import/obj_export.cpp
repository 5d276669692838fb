#include "import/obj_export.h"

#include <cstdio>
#include <vector>

#include "import/gltf_attributes.h"
#include "import/x_export.h"
#include "resource/file_io.h"

namespace ws {
namespace {

std::string Fixed(double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%.6f", v);
  return text;
}

std::string MaterialName(std::uint8_t index) { return "color_" + std::to_string(index); }

// A name on one line.
std::string OneLine(std::string_view name) {
  std::string s(name);
  for (char& c : s) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  return s;
}

}  // namespace

std::optional<ObjTexts> FormatObj(const ObjectTables& t, const ColorTable& colors,
                                  std::string_view mtlName, double scale) {
  ObjTexts out;
  out.obj = "# Wirestead object\nmtllib " + OneLine(mtlName) + "\no " + OneLine(t.name) + "\n";
  out.mtl = "# Wirestead palette entries\n";
  const double factor = scale / kEditorUnitsPerMetre;
  for (std::uint32_t i = kReservedPoints; i < t.pointCount; ++i) {
    const Point& p = t.points[i];
    out.obj +=
        "v " + Fixed(p.x * factor) + " " + Fixed(p.y * factor) + " " + Fixed(p.z * factor) + "\n";
  }
  std::vector<bool> described(kColorCount, false);
  int current = -1;
  for (std::uint32_t k = 0; k < t.polygonCount; ++k) {
    const Polygon& p = t.polygons[k];
    const std::uint32_t n = std::min(p.pointCount, kMaxPolygonPoints);
    if (n < 3) continue;
    if (p.frontColor != current) {
      current = p.frontColor;
      out.obj += "usemtl " + MaterialName(p.frontColor) + "\n";
      if (!described[p.frontColor]) {
        described[p.frontColor] = true;
        const RGB16& c = colors[p.frontColor];
        out.mtl += "newmtl " + MaterialName(p.frontColor) + "\nKd " + Fixed(c.red / 65535.0) + " " +
                   Fixed(c.green / 65535.0) + " " + Fixed(c.blue / 65535.0) + "\n";
      }
    }
    out.obj += "f";
    for (std::uint32_t i = n; i-- > 0;) {
      if (p.points[i] < kReservedPoints || p.points[i] >= t.pointCount) return std::nullopt;
      out.obj += " " + std::to_string(p.points[i] - kReservedPoints + 1);
    }
    out.obj += "\n";
  }
  return out;
}

bool ExportObjectAsObj(Model& model, const std::string& path, bool walkMode) {
  auto colors = ReadClutFromFile(model.resources, model.paths.preferences, kCurrentClutId);
  if (!colors || !model.tables.allocated()) return false;
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.find_last_of('.');
  const std::size_t stemEnd =
      dot != std::string::npos && (slash == std::string::npos || dot > slash) ? dot : path.size();
  const std::string mtlPath = path.substr(0, stemEnd) + ".mtl";
  const std::string mtlName = slash == std::string::npos ? mtlPath : mtlPath.substr(slash + 1);
  const auto texts = FormatObj(model.tables, *colors, mtlName, walkMode ? kWalkExportScale : 1.0);
  return texts && WriteFileAtomically(mtlPath, texts->mtl) && WriteFileAtomically(path, texts->obj);
}

}  // namespace ws
