// The conversion of collected faces into the current object: scaled and
// centred to 360 units, appended within the table limits, coloured through
// the colour table.
//
// Limits: at most 19,999 points and 19,999 vectors in the tables (reserved
// entries included) and 9,998 polygons when more faces follow the 9,999th;
// 150 points and 150 vectors per polygon. What does not fit is dropped and
// the reasons are noted for the one report. Entries the object held before
// the import are never removed, even when it was already beyond a limit.
// Imported vectors come in selected, imported polygons unselected with
// flags 0x402.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "import/import_notifier.h"
#include "import/mesh_builder.h"
#include "model/color_table.h"
#include "model/object_tables.h"

namespace ws {

inline constexpr std::uint32_t kImportMaxPoints = 19999;
inline constexpr std::uint32_t kImportMaxVectors = 19999;
inline constexpr std::uint32_t kImportPolygonStop = 9999;  // reached before a face: cut to 9,998
inline constexpr std::uint32_t kImportMaxPolygons = 9998;
inline constexpr double kImportModelSize = 360.0;

struct DropReasons {
  bool polygonCount = false;
  bool objectPoints = false;
  bool objectVectors = false;
  bool polygonPoints = false;
  bool polygonVectors = false;
  // What was left out before the conversion (by the reader, or past the
  // collection cap), one report line each.
  std::vector<std::string> notes;
  bool any() const {
    return polygonCount || objectPoints || objectVectors || polygonPoints || polygonVectors ||
           !notes.empty();
  }
};

// "Some of the polygons in this file were dropped because:\n" and one line
// per noted reason, in the fixed order, then "   - " and each note.
std::string DropReport(const DropReasons& reasons);

// The colour-table index of a face material: per component
// c = diffuse x ambient + diffuse clamped to 0 .. 1, c8 = trunc(c x 255),
// 16-bit c8 x 257, then NearestColor.
std::uint8_t FaceColorIndex(const ColorTable& table, const MaterialValue& material);

// Appends the collector's points, edges and faces to `tables` (the bases
// are the counts found there) and reports the bar positions to `progress`.
// With `polygonOfFace`, entry n receives the polygon the n-th collected face
// became, kNoIndex for one that was dropped (faces past the end of the
// conversion have no entry).
DropReasons ConvertCollected(ObjectTables& tables, const ImportCollector& collector,
                             const ColorTable& colors, ImportProgress& progress,
                             std::vector<std::uint32_t>* polygonOfFace = nullptr);

}  // namespace ws
