#include "import/object_exporters.h"

#include "import/gltf_export.h"
#include "import/obj_export.h"
#include "import/x_export.h"

namespace ws {

ObjectExporters StandardObjectExporters(bool walkMode) {
  auto with = [walkMode](bool (*write)(Model&, const std::string&, bool)) {
    return
        [walkMode, write](Model& m, const std::string& path) { return write(m, path, walkMode); };
  };
  return {{"x", {"DirectX (x)", "*.x"}, with(&ExportObjectAsX)},
          {"gltf", {"glTF 2.0 (gltf)", "*.gltf"}, with(&ExportObjectAsGltf)},
          {"glb", {"glTF 2.0 binary (glb)", "*.glb"}, with(&ExportObjectAsGltf)},
          {"obj", {"Wavefront OBJ (obj)", "*.obj"}, with(&ExportObjectAsObj)}};
}

}  // namespace ws
