#include "cli/edit_command.h"

#include <charconv>
#include <functional>
#include <map>
#include <vector>

#include "editor/interaction/polygon_define.h"
#include "editor/interaction/selection.h"
#include "editor/view/layout.h"
#include "editor/view/projection.h"
#include "geometry/commands.h"
#include "geometry/primitives.h"

namespace ws::cli {
namespace {

std::vector<std::string> SplitCommas(const std::string& text) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (true) {
    std::size_t comma = text.find(',', start);
    parts.push_back(text.substr(start, comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return parts;
}

std::optional<std::int64_t> ParseInt(const std::string& s) {
  std::int64_t v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size() || s.empty()) return std::nullopt;
  return v;
}

// "select-vectors:0,3" / "select-polygons:1": the numbers as in files.
bool SelectListed(ObjectTables& t, Ui& ui, const std::string& list, bool vectors,
                  std::ostream& err) {
  std::vector<std::uint32_t> numbers;
  for (const std::string& item : SplitCommas(list)) {
    auto v = ParseInt(item);
    if (!v || *v < 0 || *v > 0xFFFFFFFFll) {
      err << "wirestead-cli: '" << item << "' is not a " << (vectors ? "vector" : "polygon")
          << " number\n";
      return false;
    }
    numbers.push_back(static_cast<std::uint32_t>(*v));
  }
  return vectors ? SelectVectorsByFileNumber(t, ui, numbers)
                 : SelectPolygonsByNumber(t, ui, numbers);
}

// The primitive fields in dialog order; the origin is the three values
// after the size fields, as the dialog's one origin field would hold them.
bool ParsePrimitive(const std::string& values, std::size_t sizeFields,
                    std::vector<std::string>& sizes, std::string& origin, bool& vectorsOnly,
                    std::ostream& err) {
  std::vector<std::string> parts = SplitCommas(values);
  vectorsOnly = false;
  if (parts.size() == sizeFields + 4 && parts.back() == "vectors-only") {
    vectorsOnly = true;
    parts.pop_back();
  }
  if (parts.size() != sizeFields + 3) {
    err << "wirestead-cli: expected " << sizeFields << " sizes and an origin x,y,z\n";
    return false;
  }
  sizes.assign(parts.begin(), parts.begin() + static_cast<std::ptrdiff_t>(sizeFields));
  origin = parts[sizeFields] + "," + parts[sizeFields + 1] + "," + parts[sizeFields + 2];
  return true;
}

bool RunPrimitive(GeometryContext& ctx, const std::string& name, const std::string& values,
                  std::ostream& err) {
  std::vector<std::string> f;
  std::string origin;
  bool vectorsOnly = false;
  if (name == "cube") {
    if (!ParsePrimitive(values, 3, f, origin, vectorsOnly, err)) return false;
    return CreateCube(ctx, CubeFields{f[0], f[1], f[2], origin, vectorsOnly});
  }
  if (name == "circle") {
    if (!ParsePrimitive(values, 2, f, origin, vectorsOnly, err)) return false;
    return CreateCircle(ctx, CircleFields{f[0], f[1], origin, vectorsOnly});
  }
  if (name == "cylinder") {
    if (!ParsePrimitive(values, 3, f, origin, vectorsOnly, err)) return false;
    return CreateCylinder(ctx, CylinderFields{f[0], f[1], f[2], origin, vectorsOnly});
  }
  if (!ParsePrimitive(values, 3, f, origin, vectorsOnly, err)) return false;
  return CreateSphere(ctx, SphereFields{f[0], f[1], f[2], origin, vectorsOnly});
}

}  // namespace

bool ApplyEditCommand(GeometryContext& ctx, const std::string& command, std::ostream& err) {
  ObjectTables& t = ctx.tables();
  std::size_t colon = command.find(':');
  std::string name = command.substr(0, colon);
  std::string value = colon == std::string::npos ? std::string() : command.substr(colon + 1);

  static const std::map<std::string, int> kMenuCommands = {
      {"rotate-x-45", GeometryCommandId::kRotateX45},
      {"rotate-x-90", GeometryCommandId::kRotateX90},
      {"rotate-y-45", GeometryCommandId::kRotateY45},
      {"rotate-y-90", GeometryCommandId::kRotateY90},
      {"flip-vertical", GeometryCommandId::kFlipVertically},
      {"flip-horizontal", GeometryCommandId::kFlipHorizontally},
      {"flip-front-back", GeometryCommandId::kFlipFrontAndBack},
      {"duplicate", GeometryCommandId::kDuplicate},
      {"connect-copy", GeometryCommandId::kConnectCopy},
      {"delete", GeometryCommandId::kDeletePopup},
      {"remove-duplicates", GeometryCommandId::kRemoveDuplicates},
      {"tessellate", GeometryCommandId::kTessellate},
      {"flip-faces", GeometryCommandId::kFlipPolygonFace},
      {"clear-view-zones", GeometryCommandId::kClearViewZoneList},
  };

  if (colon == std::string::npos) {
    if (auto it = kMenuCommands.find(name); it != kMenuCommands.end()) {
      RunGeometryCommand(ctx, it->second);
      return true;
    }
    if (name == "select-all") {
      SelectAll(t);
      return true;
    }
    if (name == "unselect") {
      UnselectAll(t);
      return true;
    }
    if (name == "undo") {
      ctx.model.PopUndo();
      return true;
    }
    if (name == "define-polygon") {
      // The Define Polygon button, with its facing check made in the Front
      // view at 100% of the default 800x600 drawing area.
      EditorViewState extra;
      const Projector front(ctx.model.view, extra, LayoutForAreaSize(800, 600), false);
      return DefinePolygonInView(ctx.model, ctx.currentColor, front) >= 0;
    }
  } else {
    if (name == "select-vectors") return SelectListed(t, ctx.ui(), value, true, err);
    if (name == "select-polygons") return SelectListed(t, ctx.ui(), value, false, err);
    if (name == "grid") {
      auto v = ParseInt(value);
      if (!v || *v < kMinGridStep || *v > kMaxGridStep) {
        ctx.ui().ShowNote("Value entered is out of range.");
        return false;
      }
      ctx.gridStep = static_cast<int>(*v);
      return true;
    }
    if (name == "cube" || name == "circle" || name == "cylinder" || name == "sphere") {
      return RunPrimitive(ctx, name, value, err);
    }
  }
  err << "wirestead-cli: unknown edit command '" << command << "'\n";
  return false;
}

}  // namespace ws::cli
