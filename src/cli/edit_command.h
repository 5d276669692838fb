// wirestead-cli edit IN OUT COMMAND...: applies editor commands, in order,
// to the current object (the first object of a cluster), each through the
// same code as its menu command with its undo snapshot; messages go to
// stderr. Vectors and polygons are numbered as in files.
//
//   select-all, unselect, select-vectors:I,J,..., select-polygons:I,J,...,
//   grid:N, rotate-x-45, rotate-x-90, rotate-y-45, rotate-y-90,
//   flip-vertical, flip-horizontal, flip-front-back, duplicate,
//   connect-copy, delete, remove-duplicates, define-polygon, tessellate,
//   flip-faces, clear-view-zones, undo,
//   cube:H,W,D,ox,oy,oz[,vectors-only], circle:N,D,ox,oy,oz[,vectors-only],
//   cylinder:N,H,D,ox,oy,oz[,vectors-only],
//   sphere:V,H,D,ox,oy,oz[,vectors-only]
#pragma once

#include <ostream>
#include <string>

#include "geometry/geometry_context.h"

namespace ws::cli {

// Runs one command. False (with a message on `err` or through the model's
// Ui) when the command is unknown, malformed, or refused its values.
bool ApplyEditCommand(GeometryContext& ctx, const std::string& command, std::ostream& err);

}  // namespace ws::cli
