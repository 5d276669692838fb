// The 3DMF import: a metafile's objects written straight into the current
// object's tables, with a running current colour and current matrix.
//
// Objects used (every other one is passed over): a diffuse colour becomes
// the current colour (its nearest entry in the current colour table) for
// the geometry that follows it; a matrix becomes the current matrix, which
// moves the corners of triangles and meshes (not of triangle meshes,
// polygons or ellipsoids) until a mesh switches it off; triangles, polygons
// (through polygon definition), triangle meshes, meshes (faces of fewer
// than 150 corners; contours, faces of under 3 corners and faces naming a
// vertex the mesh does not have are left out) and ellipsoids (a 6 x 6
// sphere) become polygons with flags 0x402 ("Selected Color", "Never Draw
// Back-face"; polygon definition gives its own), their vectors selected.
// A reference is followed through the metafile's table of contents.
//
// At the end the new points are moved and scaled: centred in x and z,
// standing on y = 0, the largest extent 180 (the box starts at 100,000 for
// its minimum and 0 for its maximum; points with no extent keep scale 1);
// with `flip` every polygon this import made is reversed.
//
// Messages: kMsgNoClutInPrefs; kMsgUnknownError (General Error, what was
// read is kept); the "... Wirestead will truncate." notes (reading stops,
// what was read is kept and the import counts as done); the ellipsoid's
// memory notes; kMsgNoUsableObjects (nothing added, false). Bytes after
// the last object end the reading with one line in the import log.
#pragma once

#include <string>
#include <string_view>

#include "import/import_scene.h"
#include "model/model.h"

namespace ws {

inline constexpr std::string_view k3dmfTitle = "Importing Geometry and Colors..";
inline constexpr std::string_view kMsgUnknownError =
    "There was an unknown error reading the file. Contact Calvane Inc.";
inline constexpr std::string_view kMsgTooManyPoints = "Too many points. Wirestead will truncate.";
inline constexpr std::string_view kMsgTooManyTriangles =
    "Too many triangles. Wirestead will truncate.";
inline constexpr std::string_view kMsgTooManyPolygons =
    "Too many polygons. Wirestead will truncate.";
inline constexpr std::string_view kMsgObjectTooBig = "Object too big. Wirestead will truncate.";
inline constexpr std::string_view kMsgNoUsableObjects =
    "No objects in this 3DMF metafile are usable by Wirestead.";
inline constexpr std::string_view kMsgNoMemoryTop = "Not enough memory for top.";
inline constexpr std::string_view kMsgNoMemoryBottom = "Not enough memory for bottom.";
inline constexpr std::string_view kMsgNoMemoryCenter = "Not enough memory for center.";
inline constexpr std::string_view kMsgNoMemoryPoints = "Not enough memory for points.";

// Reads the metafile at `path` into the current object. `prepare`, when
// given, runs once before the first geometry object is written (Start New
// Cluster, NewObject); false from it ends the import, a failure. True when
// the import added anything (also when it stopped at a limit).
bool Import3dmf(Model& model, ImportServices& services, const std::string& path, bool flip,
                const std::function<bool()>& prepare = {});

}  // namespace ws
