#include "import/import_dispatch.h"

#include "import/readers/readers.h"

namespace ws {
namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EndsWithAnyCase(std::string_view s, std::string_view lowerSuffix) {
  if (s.size() < lowerSuffix.size()) return false;
  const std::string_view tail = s.substr(s.size() - lowerSuffix.size());
  for (std::size_t i = 0; i < tail.size(); ++i) {
    if (Lower(tail[i]) != lowerSuffix[i]) return false;
  }
  return true;
}

}  // namespace

Dispatched FirstDispatch(std::string_view path) {
  Dispatched d;
  d.path = std::string(path);
  const std::size_t n = path.size();
  if (n >= 6 && path.ends_with(".3dmf")) {
    d.kind = FileKind::kMetafile;
  } else if (n >= 6 && path.ends_with(".3dm")) {
    d.kind = FileKind::kMetafile;
    d.path += "f";
  } else if (n >= 5 &&
             (path.ends_with(".b3d") || path.ends_with(".b3D") || path.ends_with(".B3D") ||
              path.ends_with(".B3d") || path.ends_with(".t3d") || path.ends_with(".t3D") ||
              path.ends_with(".T3D") || path.ends_with(".T3d"))) {
    d.kind = FileKind::kMetafile;
  } else if (n >= 5 && path.ends_with(".wdc")) {
    d.kind = FileKind::kCluster;
  } else if (n >= 5 && path.ends_with(".wdo")) {
    d.kind = FileKind::kObjectText;
  } else {
    d.kind = FileKind::kScene;
    // Decided afresh for every file, so one import's flip never carries
    // over to the next.
    d.flip = n >= 5 && (path.ends_with(".x") || path.ends_with(".3ds"));
  }
  return d;
}

SceneFormat SecondDispatch(std::string_view path) {
  if (EndsWithAnyCase(path, "wrl")) return SceneFormat::kVrml;
  if (EndsWithAnyCase(path, ".x")) return SceneFormat::kDirectX;
  if (EndsWithAnyCase(path, "raw")) return SceneFormat::kRaw;
  if (EndsWithAnyCase(path, "cob")) return SceneFormat::kTrueSpace;
  if (EndsWithAnyCase(path, "obj")) return SceneFormat::kObj;
  if (EndsWithAnyCase(path, "dxf")) return SceneFormat::kDxf;
  if (EndsWithAnyCase(path, "nff")) return SceneFormat::kNff;
  if (EndsWithAnyCase(path, "3ds")) return SceneFormat::k3ds;
  if (EndsWithAnyCase(path, ".gltf") || EndsWithAnyCase(path, ".glb")) return SceneFormat::kGltf;
  return SceneFormat::kNone;
}

std::string_view SceneFormatName(SceneFormat format) {
  switch (format) {
    case SceneFormat::kVrml:
      return "VRML";
    case SceneFormat::kDirectX:
      return "DirectX";
    case SceneFormat::kRaw:
      return "RAW";
    case SceneFormat::kTrueSpace:
      return "trueSpace";
    case SceneFormat::kObj:
      return "OBJ";
    case SceneFormat::kDxf:
      return "DXF";
    case SceneFormat::kNff:
      return "NFF";
    case SceneFormat::k3ds:
      return "3D Studio";
    case SceneFormat::kGltf:
      return "glTF";
    case SceneFormat::kNone:
      break;
  }
  return "";
}

SceneReaders SceneReaders::Defaults() {
  SceneReaders r;
  r.Set(SceneFormat::kRaw, ImportRaw);
  r.Set(SceneFormat::kObj, ImportObj);
  r.Set(SceneFormat::kNff, ImportNff);
  r.Set(SceneFormat::k3ds, Import3ds);
  r.Set(SceneFormat::kTrueSpace, ImportTrueSpace);
  r.Set(SceneFormat::kDxf, ImportDxf);
  r.Set(SceneFormat::kVrml, ImportVrml);
  r.Set(SceneFormat::kDirectX, ImportXFile);
  r.Set(SceneFormat::kGltf, ImportGltf);
  return r;
}

void SceneReaders::Set(SceneFormat format, SceneReader reader) {
  if (format == SceneFormat::kNone) return;
  readers_[static_cast<std::size_t>(format)] = std::move(reader);
}

const SceneReader& SceneReaders::For(SceneFormat format) const {
  if (format == SceneFormat::kNone) return none_;
  return readers_[static_cast<std::size_t>(format)];
}

std::vector<FileFilter> OpenDialogFilters() {
  return {{"All Supported 3D Formats",
           "*.wrl;*.raw;*.3ds;*.cob;*.dxf;*.3dmf;*.b3d;*.t3d;*.wdc;*.wdo;*.x;*.gltf;*.glb"},
          {"Wirestead Object (wdo)", "*.wdo"},
          {"Wirestead Cluster (wdc)", "*.wdc"},
          {"3DMF (3dmf,b3d,t3d)", "*.3dmf;*.b3d;*.t3d"},
          {"VRML (wrl)", "*.wrl"},
          {"DirectX (x)", "*.x"},
          {"3D Studio (3ds)", "*.3ds"},
          {"True Space (cob)", "*.cob"},
          {"Drawing Interchange (dxf)", "*.dxf"},
          {"glTF 2.0 (gltf,glb)", "*.gltf;*.glb"}};
}

std::vector<FileFilter> InsertDialogFilters() {
  return {{"All Supported 3D Formats",
           "*.wrl;*.raw;*.3ds;*.cob;*.dxf;*.3dmf;*.b3d;*.t3d;*.wdo;*.gltf;*.glb"},
          {"Wirestead Object (wdo)", "*.wdo"},
          {"3DMF (3dmf,b3d,t3d)", "*.3dmf;*.b3d;*.t3d"},
          {"VRML (wrl)", "*.wrl"},
          {"RAW Files (raw)", "*.raw"},
          {"3D Studio (3ds)", "*.3ds"},
          {"True Space (cob)", "*.cob"},
          {"Drawing Interchange (dxf)", "*.dxf"},
          {"glTF 2.0 (gltf,glb)", "*.gltf;*.glb"}};
}

}  // namespace ws
