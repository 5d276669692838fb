// The format readers of the scene import, one entry point each. A reader
// reads the file at `path`, adds what it finds to importer.root() as scene
// nodes (directly, or through a MeshBuilder and HandOverBuilder), and
// reports progress, status and errors through the importer's notifier.
// Every reader is safe on any file content: bad input is reported and
// never read past.
//
// The result is the reader's success. RAW and OBJ always succeed, as those
// formats have it; a file they cannot use leaves the scene empty.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "import/importer.h"

namespace ws {

// RAW triangle files: one triangle (nine numbers, or a colour and the
// triangle in twelve) or one group name per line, at most 255 characters
// read per line. Lines with fewer than nine numbers go to the drop report.
bool ImportRaw(Importer& importer, const std::string& path);

// Wavefront OBJ: vertices, normals, faces and groups; everything else is
// ignored. Text in UTF-16 with a byte-order mark is read as its UTF-8
// form; lines are read whole. Negative vertex and normal numbers count
// back from the last one read so far; faces may name vertices that come
// later, and a face naming a vertex the file does not have is left out
// and counted in the drop report. Errors go to the import log and leave
// the scene empty: "Unable to open file '%s'", "Syntax error file '%s',
// line %ld" (a vertex or normal line with fewer than three numbers, a
// corner without a vertex number). A list that would pass 500,000 entries
// ends the reading there with "Too much data in file '%s', line %ld; the
// rest of the file was not read" and keeps what was read. A file that
// yields no face says why through Importer::SetEmptyReason. The scene: a
// Material with the default value, a MaterialBinding OVERALL, a
// NormalBinding (PER_VERTEX_INDEXED when the file has normals, else
// DEFAULT), the Coordinate3, the Normal node when there are normals, then
// one Separator with an IndexedFaceSet per group that has faces.
bool ImportObj(Importer& importer, const std::string& path);

// NFF in both dialects that share the extension, told apart by the first
// line: Sense8 WorldToolKit ("nff" first) and Eric Haines' ray-tracing
// format (anything else). False, with the reason in the import log
// ("Unable to open file '%s'", "Syntax error file '%s', line %ld"), when
// the file cannot be opened or does not follow its dialect. Sense8 files
// of version 3.0 may name a material table beside the model ("mtable")
// whose colours polygons take by "matid"; a two-sided ("both") polygon is
// one face with a two-sided material.
bool ImportNff(Importer& importer, const std::string& path);

// 3D Studio binary mesh files: one Separator per triangle mesh, named after
// its object (letters and digits kept, anything else '_', "G" in front of a
// name that does not start with a letter), holding a MaterialBinding
// PER_PART_INDEXED when the mesh has more than one material group, its
// Material node (one entry per material group, none without groups), its
// Coordinate3 (the file's (x, y, z) as (y, z, x)) and its IndexedFaceSet.
// Chunk lengths and counts are checked against what their chunk holds.
// Log lines: "Reading material '%s'", "Reading object '%s'", and the errors
// "File '%s' is not a 3ds binary file." (nothing read) and "Read failed for
// 3ds file '%s'" (damage or a colour of an unknown kind: the meshes
// finished before it stay, and the drop report says where the file is
// damaged). Always true; a file with no mesh says why through
// Importer::SetEmptyReason.
bool Import3ds(Importer& importer, const std::string& path);

// trueSpace binary object files: groups, polygon objects (faces with holes
// dropped) and their materials, each object nested under its parent, all
// under the two rotations that turn the file's z-up axes into the
// editor's. A file too short for its header ("Permature EOF"), or one that
// is not a binary Caligari file ("Selected file is not a binary Caligari COB
// file", ASCII ones included), gives nothing and says why through
// Importer::SetEmptyReason. A file that ends inside a chunk logs "Premature
// EOF" and keeps the objects completed before it, with a drop report line.
bool ImportTrueSpace(Importer& importer, const std::string& path);

// ASCII DXF: LINE, 3DFACE, POLYLINE polyface and polygon meshes, and the
// INSERTs of blocks (scaled, rotated, arrayed, in the insert's plane,
// nested up to 16 deep) become faces, one group per layer, in the colours
// of the colour index table. A drawing keeps at most 10,001 faces; more
// are left out. False, with "Unable to open file '%s'" in the import log,
// when the file cannot be read. A binary DXF file, or one without faces,
// gives an empty scene and says why; a file cut off inside a section
// keeps what came before and says so in the drop report.
bool ImportDxf(Importer& importer, const std::string& path);
// The same, handing each step's trace line to `trace`.
bool ImportDxfTraced(Importer& importer, const std::string& path,
                     const std::function<void(std::string_view)>& trace);

// VRML 1.0 and 2.0 text (the "#VRML V1.0" or "#VRML V2.0" header first),
// also when gzip-compressed. VRML 1.0 nodes become the scene nodes of the
// same names; a VRML 2.0 Shape becomes a Separator with its material
// (Appearance's Material, or one per Color entry, per face or per corner),
// coordinates and face set or primitive, with clockwise (ccw FALSE) faces
// turned round. DEF/USE by name; unknown nodes and fields are skipped;
// PROTO, EXTERNPROTO, ROUTE, Script and Inline are skipped with one log
// line each. False, with the reason in the import log and nothing added,
// for a file that cannot be opened or inflated ("Unable to open file '%s'",
// "Unable to decompress file '%s'"), has no VRML header ("File '%s' is not
// a VRML 1.0 or 2.0 text file") or breaks the syntax, nests nodes over 100
// deep, holds a list over 500,000 entries or a scene over 1,000,000 faces
// (USEs counted each time; a primitive counts 256) ("Syntax error file
// '%s', line %ld: " and what was wrong).
bool ImportVrml(Importer& importer, const std::string& path);

// DirectX X files (text, binary, compressed): each top-level Frame becomes
// a Separator named after it ("G" in front of a name that does not start
// with a letter), nested as the frames nest; each Mesh adds a Coordinate3,
// a Material of its materials' face colours, a MaterialBinding
// PER_FACE_INDEXED and its IndexedFaceSet with 32-bit vertex indices.
// Frame transforms are read but never move the vertices. False, with the
// reason in the import log and nothing added, when the file cannot be
// opened ("Unable to open file '%s'") or read ("Unable to load DirectX
// file '%s'" and the library's reason on the next line).
bool ImportXFile(Importer& importer, const std::string& path);

// glTF 2.0, text (".gltf", buffers embedded or in files beside it) or
// binary (".glb"): the default scene's nodes (every root node when the file
// names no scene) with their transforms, each mesh instance a Separator
// holding its node's MatrixTransform (metres to editor units, the
// export's kEditorUnitsPerMetre, so that corners weld at the same distance
// as in the editor) and, per primitive that makes faces
// (triangles, strips, fans; points and lines are passed over), a Material
// from baseColorFactor times the mean of the face's vertex colours (each
// component rounded to the nearest of 256 levels; doubleSided two-sided),
// its Coordinate3 and its IndexedFaceSet (each triangle's corners reversed:
// glTF fronts are counter-clockwise, the editor's clockwise). What the
// export wrote beyond that
// (gltf_attributes.h) is put back on the polygons once they are converted.
// False, with the reason in the import log and nothing added, when the file
// cannot be opened ("Unable to open file '%s'") or is not glTF the library
// can load ("Unable to load glTF file '%s'" and the library's reason), or
// an accessor lies outside its buffer ("Bad glTF file '%s': " and which).
bool ImportGltf(Importer& importer, const std::string& path);

}  // namespace ws
