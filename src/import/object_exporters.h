// The export formats of Save Object As and of the command-line convert.
#pragma once

#include "model/object_text.h"

namespace ws {

// ".x" (DirectX), ".gltf" and ".glb" (glTF 2.0), ".obj" (Wavefront OBJ
// with its ".mtl"), in that order; `walkMode` keeps the walk view's scale.
ObjectExporters StandardObjectExporters(bool walkMode);

}  // namespace ws
