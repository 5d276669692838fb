// MetafileReader: the objects of a QuickDraw 3D metafile (".3dmf", ".b3d",
// ".t3d"), one at a time, for the 3DMF import (import/import_3dmf.h).
//
// Both forms of the format are read:
// - binary: the "3DMF" header object (big-endian) or "FMD3" (the
//   little-endian variant, every number and type code byte-swapped), then
//   objects of a four-character type code, a 32-bit size and that many
//   bytes of data. A container ("cntr") holds its children in its data;
//   the table of contents ("toc ", reached from the header and chained by
//   its next-table position) maps reference ids to file positions.
// - text: the "3DMetafile ( major minor kind label> )" header, then objects
//   written as `label: ClassName ( data )`, '#' comments to the end of the
//   line, containers as `Container ( ... )`, references as `Reference ( id )`
//   and the table of contents as `TableOfContents ( ... id label> Type ... )`.
//
// ReadNextObject delivers a container start ("cntr"), every child, then an
// end of container ("endc"). The objects the import uses are decoded into
// MetafileObject; every other object (attributes, groups, shaders, custom
// types, the binary forms' padding inside their sizes) comes with its type
// only, its data skipped by its size (binary) or its parentheses (text).
// Tables of contents are never delivered.
//
// Every size and count is checked against what remains of its container
// and of the file before it is used; no read goes past the file. A top-level
// object that does not parse (zero padding or other bytes after the last
// object, a cut file) ends the metafile there: the objects before it were
// delivered, one line goes to the log, and the status is kEndOfMetafile.
// Inside a container the same is an error (kBadObject).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ws::metafile {

constexpr std::uint32_t TypeCode(const char (&code)[5]) {
  return (static_cast<std::uint32_t>(static_cast<unsigned char>(code[0])) << 24) |
         (static_cast<std::uint32_t>(static_cast<unsigned char>(code[1])) << 16) |
         (static_cast<std::uint32_t>(static_cast<unsigned char>(code[2])) << 8) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(code[3]));
}

inline constexpr std::uint32_t kContainer = TypeCode("cntr");
inline constexpr std::uint32_t kEndContainer = TypeCode("endc");
inline constexpr std::uint32_t kReference = TypeCode("rfrn");
inline constexpr std::uint32_t kMatrix = TypeCode("mtrx");
inline constexpr std::uint32_t kDiffuseColor = TypeCode("kdif");
inline constexpr std::uint32_t kEllipsoid = TypeCode("elpd");
inline constexpr std::uint32_t kTriangle = TypeCode("trng");
inline constexpr std::uint32_t kPolygon = TypeCode("plyg");
inline constexpr std::uint32_t kTriMesh = TypeCode("tmsh");
inline constexpr std::uint32_t kMesh = TypeCode("mesh");
inline constexpr std::uint32_t kTableOfContents = TypeCode("toc ");
inline constexpr std::uint32_t kHeader = TypeCode("3DMF");
// A text object of a class this reader has no code for.
inline constexpr std::uint32_t kUnknownClass = TypeCode("????");

// Status codes (0 success).
inline constexpr int kOk = 0;
inline constexpr int kEndOfMetafile = 12000;
inline constexpr int kMissingArgument = 12001;
inline constexpr int kOutOfMemory = 12002;
inline constexpr int kBadObject = 12003;     // damaged data inside a container
inline constexpr int kNotAMetafile = 12004;  // no binary or text header
inline constexpr int kCannotOpen = 12005;    // the file cannot be read
inline constexpr int kNotReference = 12013;
inline constexpr int kReferenceNotFound = 12014;
inline constexpr int kReferenceTooDeep = 12015;  // references nested or repeated past the limits
inline constexpr int kReferenceWithoutId = 12032;

// References inside referenced objects are followed this deep, and at most
// this many are resolved in one metafile (a reference may name an object
// that refers back to itself).
inline constexpr std::size_t kMaxReferenceDepth = 16;
inline constexpr std::size_t kMaxResolvedReferences = 10000;

// A mesh face: its corner count as stored (top bit set marks a contour of
// the face before it) and its vertex indices.
struct MeshFace {
  std::uint32_t count = 0;
  std::vector<std::uint32_t> indices;
};

// One object. `values` holds the floats of mtrx (16, row by row), kdif
// (red, green, blue), elpd (orientation, major radius, minor radius, origin:
// 12; the format's defaults when the file gives none), trng (3 corners) and
// the points of plyg, tmsh and mesh (3 per point).
struct MetafileObject {
  std::uint32_t type = 0;
  std::uint32_t referenceId = 0;  // rfrn
  // tmsh: triangles, triangle attribute types, edges, edge attribute
  // types, points, vertex attribute types. plyg: [0] the corner count.
  // mesh: [0] vertices, [1] faces, [2] contours.
  std::array<std::uint32_t, 6> counts{};
  std::vector<float> values;
  std::vector<std::uint32_t> triangles;  // tmsh: three point indices each
  std::vector<MeshFace> faces;           // mesh: faces and contours in file order
};

// The width of a TriMesh's point indices in a binary file, chosen by its
// point count: 1 byte up to 255 points, 2 up to 65,535, else 4. Its edge
// records use the same width.
std::size_t TriMeshIndexWidth(std::uint32_t pointCount);

// Receives the reader's log lines (the import log).
using LogLine = std::function<void(std::string_view)>;

class MetafileReader {
 public:
  virtual ~MetafileReader() = default;
  // Status kOk, kEndOfMetafile or an error.
  virtual int ReadNextObject(MetafileObject& out) = 0;
  // Looks the reference's id up in the table of contents; the next
  // ReadNextObject delivers the object found there (a container with all
  // its children), then reading goes on after the reference. An id of 0
  // names an external metafile through `storage`: those are not opened
  // (kReferenceWithoutId without storage, kReferenceNotFound with it).
  virtual int ResolveReference(const MetafileObject& reference, const MetafileObject* storage) = 0;
  // The byte position reached in the file.
  virtual std::uint64_t GetPosition() const = 0;
};

// Opens the metafile held in `bytes` (either form; kNotAMetafile for
// anything else). The reader keeps its own copy.
int OpenMetafile(std::vector<std::uint8_t> bytes, std::unique_ptr<MetafileReader>& reader,
                 LogLine log = {});
// The same for a file; kCannotOpen when it cannot be read.
int OpenMetafileFile(const std::string& path, std::unique_ptr<MetafileReader>& reader,
                     LogLine log = {});

// The log line for a metafile that ends at `position` with bytes that are
// not an object.
std::string StoppedAtLine(std::uint64_t position);

// The two forms, for OpenMetafile.
std::unique_ptr<MetafileReader> MakeBinaryReader(std::vector<std::uint8_t> bytes, bool littleEndian,
                                                 LogLine log, int& status);
std::unique_ptr<MetafileReader> MakeTextReader(std::vector<std::uint8_t> bytes, LogLine log,
                                               int& status);

}  // namespace ws::metafile
