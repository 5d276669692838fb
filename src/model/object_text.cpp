#include "model/object_text.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "model/color_ops.h"
#include "resource/file_io.h"
#include "resource/text_scanner.h"

namespace ws {
namespace {

// A file larger than this cannot describe an object within the capacities
// even with generous white space; refusing it avoids reading gigabytes.
constexpr std::size_t kMaxObjectFileBytes = std::size_t{1} << 30;

// Formatted whole, however long: a coordinate of 1e308 has 309 digits
// before the point.
std::string Format(const char* fmt, auto... args) {
  const int length = std::snprintf(nullptr, 0, fmt, args...);
  if (length <= 0) return {};
  std::string out(static_cast<std::size_t>(length), '\0');
  std::snprintf(out.data(), out.size() + 1, fmt, args...);
  return out;
}

// Hex fields are written with a width and the padding spaces turned to '0'.
std::string ZeroPadded(std::string s) {
  for (char& c : s) {
    if (c == ' ') c = '0';
  }
  return s;
}

void AppendLine(std::string& out, std::string_view line) {
  out += line;
  out += "\r\n";
}

std::string LowerCase(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// Everything a file holds, parsed and checked before the tables change.
struct ParsedObject {
  ColorTable colors;
  std::vector<Point> points;
  std::vector<Vector> vectors;    // ends in file numbering
  std::vector<Polygon> polygons;  // indices in file numbering
};

// File numbers of points and vectors count the file's own entries from 0;
// the reserved entries (origin and axes) are written below 0, as table
// index - 7 (points) and - 6 (vectors), and keep their table index
// wherever the file is appended. Parsed values hold the file number's
// 32-bit pattern.
std::uint32_t TableIndex(std::uint32_t fileNumber, std::uint32_t reserved, std::uint32_t base) {
  const auto n = static_cast<std::int32_t>(fileNumber);
  return n < 0 ? static_cast<std::uint32_t>(n + static_cast<std::int32_t>(reserved))
               : base + fileNumber;
}

class ObjectTextReader {
 public:
  ObjectTextReader(std::string_view text, const ObjectTables& tables, Ui& ui)
      : in_(text), tables_(tables), ui_(ui) {}

  bool Parse(ParsedObject& out);

 private:
  bool Fail(const std::string& message) {
    ui_.ShowNote(message);
    return false;
  }
  bool BadValue() {
    return Fail(
        Format("Corrupt object definition file. Unreadable value at line %zu.", in_.line()));
  }
  // %ld fields: a signed value in the range of the field they fill.
  std::optional<std::int64_t> Number(std::int64_t min, std::int64_t max) {
    auto v = in_.Integer();
    if (!v || *v < min || *v > max) return std::nullopt;
    return v;
  }
  bool Comma() { return in_.Literal(','); }

  bool ParsePoints(bool version10, ParsedObject& out);
  bool ParseVectors(ParsedObject& out);
  bool ParsePolygons(ParsedObject& out);

  TextScanner in_;
  const ObjectTables& tables_;
  Ui& ui_;
};

constexpr std::int64_t kU32Max = std::numeric_limits<std::uint32_t>::max();
constexpr std::int64_t kI32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kI32Max = std::numeric_limits<std::int32_t>::max();

bool ObjectTextReader::Parse(ParsedObject& out) {
  std::string header = in_.Word(19);
  if (header != kColorTextHeader10 && header != kColorTextHeader11) {
    return Fail("Corrupt object definition file. Can't find color table.");
  }
  if (!ReadColorTableLines(in_, out.colors)) return BadValue();
  if (!ParsePoints(header == kColorTextHeader10, out)) return false;
  if (!ParseVectors(out)) return false;
  return ParsePolygons(out);
}

bool ObjectTextReader::ParsePoints(bool version10, ParsedObject& out) {
  if (in_.Word(8) != "[POINTS]") {
    return Fail("Corrupt object definition file. [POINTS] not found.");
  }
  auto n = Number(0, kU32Max);
  if (!n) return BadValue();
  if (!tables_.CanAddPoints(
          static_cast<std::uint32_t>(std::min<std::int64_t>(*n, kMaxPoints + 1)))) {
    return Fail(Format("Can't load this object: its %" PRId64
                       " points would not fit beside the %u already there (an object holds at "
                       "most %u).",
                       *n, tables_.userPointCount(), kMaxPoints - kReservedPoints));
  }
  out.points.resize(static_cast<std::size_t>(*n));
  for (Point& p : out.points) {
    p = Point{};
    double xyz[3];
    for (int k = 0; k < 3; ++k) {
      if (k > 0 && !Comma()) return BadValue();
      if (version10) {
        // Old files stored 16-bit coordinates: keep the low 16 bits as an
        // unsigned value, so -1 reads as 65535.
        auto v = in_.Integer();
        if (!v) return BadValue();
        xyz[k] = static_cast<double>(static_cast<std::uint16_t>(*v & 0xFFFF));
      } else {
        auto v = in_.Real();
        if (!v) return BadValue();
        xyz[k] = *v;
      }
    }
    p.x = xyz[0];
    p.y = xyz[1];
    p.z = xyz[2];
  }
  return true;
}

bool ObjectTextReader::ParseVectors(ParsedObject& out) {
  if (in_.Word(9) != "[VECTORS]") {
    return Fail("Corrupt object definition file. [VECTORS] not found.");
  }
  auto n = Number(0, kU32Max);
  if (!n) return BadValue();
  if (!tables_.CanAddVectors(
          static_cast<std::uint32_t>(std::min<std::int64_t>(*n, kMaxVectors + 1)))) {
    return Fail(Format("Can't load this object: its %" PRId64
                       " vectors would not fit beside the %u already there (an object holds at "
                       "most %u).",
                       *n, tables_.userVectorCount(), kMaxVectors - kReservedVectors));
  }
  const std::int64_t pointsInFile = static_cast<std::int64_t>(out.points.size());
  out.vectors.resize(static_cast<std::size_t>(*n));
  for (std::size_t i = 0; i < out.vectors.size(); ++i) {
    auto p1 = in_.Integer();
    if (!p1 || !Comma()) return BadValue();
    auto p2 = in_.Integer();
    if (!p2 || !Comma()) return BadValue();
    auto color = in_.Integer();
    if (!color || !Comma()) return BadValue();
    auto attribute = Number(kI32Min, kI32Max);
    if (!attribute || !Comma()) return BadValue();
    auto width = Number(kI32Min, kU32Max);
    if (!width) return BadValue();
    for (std::int64_t end : {*p1, *p2}) {
      if (end < -std::int64_t{kReservedPoints} || end >= pointsInFile) {
        return Fail(Format("Corrupt object definition file. Vector %zu names point %" PRId64
                           ", but the file has %" PRId64 " points.",
                           i, end, pointsInFile));
      }
    }
    if (*color < 0 || *color > 255) {
      return Fail(Format("Corrupt object definition file. Vector %zu has colour %" PRId64
                         "; colours run from 0 to 255.",
                         i, *color));
    }
    Vector& v = out.vectors[i];
    v = Vector{};
    v.p1 = static_cast<std::uint32_t>(*p1);
    v.p2 = static_cast<std::uint32_t>(*p2);
    v.color = static_cast<std::uint8_t>(*color);
    v.attribute = static_cast<std::int32_t>(*attribute);
    v.width = static_cast<std::uint32_t>(*width);
  }
  return true;
}

bool ObjectTextReader::ParsePolygons(ParsedObject& out) {
  std::string word = in_.Word(10);
  auto n = in_.Integer();
  if (word != "[POLYGONS]") {
    ui_.ShowNote("Corrupt object definition file. [POLYGONS] not found.");
    return Fail("found=" + word);
  }
  if (!n || *n < 0) return BadValue();
  if (!tables_.CanAddPolygons(
          static_cast<std::uint32_t>(std::min<std::int64_t>(*n, kMaxPolygons + 1)))) {
    return Fail(Format("Can't load this object: its %" PRId64
                       " polygons would not fit beside the %u already there (an object holds at "
                       "most %u).",
                       *n, tables_.polygonCount, kMaxPolygons));
  }
  const std::int64_t pointsInFile = static_cast<std::int64_t>(out.points.size());
  const std::int64_t vectorsInFile = static_cast<std::int64_t>(out.vectors.size());
  const std::int64_t polygonsInFile = *n;
  out.polygons.resize(static_cast<std::size_t>(*n));
  for (std::size_t k = 0; k < out.polygons.size(); ++k) {
    Polygon& poly = out.polygons[k];
    std::memset(&poly, 0, sizeof poly);
    if (in_.Word(64).empty()) return BadValue();  // "(polyN)", not checked
    auto points = Number(0, kU32Max);
    if (!points || !Comma()) return BadValue();
    auto vectors = Number(0, kU32Max);
    if (!vectors || !Comma()) return BadValue();
    auto zones = Number(0, kU32Max);
    if (!zones || !Comma()) return BadValue();
    auto flags = Number(kI32Min, kU32Max);
    if (!flags) return BadValue();
    if (*points > kMaxPolygonPoints || *vectors > kMaxPolygonVectors || *zones > kMaxViewZones) {
      return Fail(Format("Corrupt object definition file. Polygon %zu lists %" PRId64
                         " points, %" PRId64 " vectors and %" PRId64
                         " view zones; a polygon holds at most 150, 150 and 20.",
                         k, *points, *vectors, *zones));
    }
    poly.pointCount = static_cast<std::uint32_t>(*points);
    poly.vectorCount = static_cast<std::uint32_t>(*vectors);
    poly.viewZoneCount = static_cast<std::uint32_t>(*zones);
    poly.flags = static_cast<std::uint32_t>(*flags);

    auto frontFill = in_.Hex(8);
    if (!frontFill || !Comma()) return BadValue();
    auto backFill = in_.Hex(8);
    if (!backFill || !Comma()) return BadValue();
    auto frontColor = in_.Hex(2);
    if (!frontColor || !Comma()) return BadValue();
    auto backColor = in_.Hex(2);
    if (!backColor) return BadValue();
    poly.frontFill = *frontFill;
    poly.backFill = *backFill;
    poly.frontColor = static_cast<std::uint8_t>(*frontColor);
    poly.backColor = static_cast<std::uint8_t>(*backColor);

    if (in_.Word(64).empty()) return BadValue();  // "(vecs)"
    for (std::uint32_t c = 0; c < poly.vectorCount; ++c) {
      auto v = in_.Integer();
      if (!v) return BadValue();
      if (*v < -std::int64_t{kReservedVectors} || *v >= vectorsInFile) {
        return Fail(Format("Corrupt object definition file. Polygon %zu names vector %" PRId64
                           ", but the file has %" PRId64 " vectors.",
                           k, *v, vectorsInFile));
      }
      poly.vectors[c] = static_cast<std::uint32_t>(*v);
    }
    if (in_.Word(64).empty()) return BadValue();  // "(views)"
    for (std::uint32_t c = 0; c < poly.viewZoneCount; ++c) {
      auto z = Number(0, kU32Max);
      if (!z) return BadValue();
      std::uint32_t entry = static_cast<std::uint32_t>(*z);
      std::int64_t index = entry & ViewZone::kIndexMask;
      bool isVector = (entry & ViewZone::kIsVector) != 0;
      // The upper 16 bits are always 0; vector entries name table vectors
      // (reserved ones included), polygon entries polygons of this file.
      bool valid = (entry >> 16) == 0 &&
                   (isVector ? index < vectorsInFile + kReservedVectors : index < polygonsInFile);
      if (!valid) {
        return Fail(
            Format("Corrupt object definition file. Polygon %zu has view-zone entry %u, "
                   "which names nothing in the file.",
                   k, entry));
      }
      poly.viewZones[c] = entry;
    }
    if (in_.Word(64).empty()) return BadValue();  // "(pnts)"
    for (std::uint32_t c = 0; c < poly.pointCount; ++c) {
      auto p = in_.Integer();
      if (!p) return BadValue();
      if (*p < -std::int64_t{kReservedPoints} || *p >= pointsInFile) {
        return Fail(Format("Corrupt object definition file. Polygon %zu names point %" PRId64
                           ", but the file has %" PRId64 " points.",
                           k, *p, pointsInFile));
      }
      poly.points[c] = static_cast<std::uint32_t>(*p);
    }
  }
  return true;
}

// What the tables held before a file is appended to them.
struct AppendBase {
  std::uint32_t points, vectors, polygons;
  explicit AppendBase(const ObjectTables& t)
      : points(t.pointCount), vectors(t.vectorCount), polygons(t.polygonCount) {}
};

// The 14-bit index of a view-zone entry once appended. Vector entries name
// table vectors: they move by the number of user vectors already present,
// as the vectors they name do. Polygon entries move by the polygons already
// present. The result may not fit the field; ViewZonesFit says.
std::uint32_t RebasedViewZoneIndex(std::uint32_t entry, const AppendBase& base) {
  const std::uint32_t shift =
      (entry & ViewZone::kIsVector) ? base.vectors - kReservedVectors : base.polygons;
  return (entry & ViewZone::kIndexMask) + shift;
}

bool ViewZonesFit(const ParsedObject& obj, const AppendBase& base) {
  for (const Polygon& poly : obj.polygons) {
    for (std::uint32_t c = 0; c < poly.viewZoneCount; ++c) {
      if (RebasedViewZoneIndex(poly.viewZones[c], base) > ViewZone::kIndexMask) return false;
    }
  }
  return true;
}

// Appends a parsed object; the caller has checked every capacity.
void AppendParsed(ObjectTables& tables, const ParsedObject& obj) {
  const AppendBase base(tables);
  for (const Point& p : obj.points) tables.points[tables.pointCount++] = p;
  for (const Vector& src : obj.vectors) {
    Vector v = src;
    v.p1 = TableIndex(v.p1, kReservedPoints, base.points);
    v.p2 = TableIndex(v.p2, kReservedPoints, base.points);
    v.selected = kSelected;
    tables.vectors[tables.vectorCount++] = v;
  }
  for (const Polygon& src : obj.polygons) {
    Polygon& poly = tables.polygons[tables.polygonCount];
    poly = src;
    for (std::uint32_t c = 0; c < poly.vectorCount; ++c) {
      poly.vectors[c] = TableIndex(poly.vectors[c], kReservedVectors, base.vectors);
    }
    for (std::uint32_t c = 0; c < poly.pointCount; ++c) {
      poly.points[c] = TableIndex(poly.points[c], kReservedPoints, base.points);
    }
    for (std::uint32_t c = 0; c < poly.viewZoneCount; ++c) {
      const std::uint32_t e = poly.viewZones[c];
      poly.viewZones[c] = RebasedViewZoneIndex(e, base) | (e & ViewZone::kFlagMask);
    }
    tables.polygonSelected[tables.polygonCount] = kSelected;
    ++tables.polygonCount;
  }
}

// The number of the first user point with a coordinate that is not a finite
// number (file numbering), if any: such a value has no text form that reads
// back.
std::optional<std::uint32_t> FirstNonFinitePoint(const ObjectTables& t) {
  for (std::uint32_t i = kReservedPoints; i < t.pointCount; ++i) {
    const Point& p = t.points[i];
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) {
      return i - kReservedPoints;
    }
  }
  return std::nullopt;
}

}  // namespace

std::string FormatObjectText(const ObjectTables& t, const ColorTable& colors) {
  std::string out;
  out.reserve(64 * 1024);
  AppendLine(out, kColorTextHeader11);
  out += FormatColorLines(colors, "\r\n");
  AppendLine(out, "[POINTS]");
  AppendLine(out, Format("%d", static_cast<int>(t.pointCount - kReservedPoints)));
  for (std::uint32_t i = kReservedPoints; i < t.pointCount; ++i) {
    const Point& p = t.points[i];
    AppendLine(out, Format("%lf,%lf,%lf", p.x, p.y, p.z));
  }
  AppendLine(out, "[VECTORS]");
  AppendLine(out, Format("%d", static_cast<int>(t.vectorCount - kReservedVectors)));
  for (std::uint32_t i = kReservedVectors; i < t.vectorCount; ++i) {
    const Vector& v = t.vectors[i];
    AppendLine(out, Format("%ld,%ld,%d,%d,%d", static_cast<long>(v.p1) - 7,
                           static_cast<long>(v.p2) - 7, static_cast<int>(v.color),
                           static_cast<int>(v.attribute), static_cast<int>(v.width)));
  }
  AppendLine(out, "[POLYGONS]");
  AppendLine(out, Format("%d", static_cast<int>(t.polygonCount)));
  for (std::uint32_t k = 0; k < t.polygonCount; ++k) {
    const Polygon& poly = t.polygons[k];
    AppendLine(out, Format("(poly%d)", static_cast<int>(k)));
    AppendLine(out,
               Format("%ld,%ld,%ld,%ld", static_cast<long>(poly.pointCount),
                      static_cast<long>(poly.vectorCount), static_cast<long>(poly.viewZoneCount),
                      static_cast<long>(static_cast<std::int32_t>(poly.flags))));
    AppendLine(out, ZeroPadded(Format("%8x,%8x,%2x,%2x", poly.frontFill, poly.backFill,
                                      static_cast<unsigned>(poly.frontColor),
                                      static_cast<unsigned>(poly.backColor))));
    AppendLine(out, "(vecs)");
    for (std::uint32_t c = 0; c < poly.vectorCount && c < kMaxPolygonVectors; ++c) {
      AppendLine(out, Format("%ld", static_cast<long>(poly.vectors[c]) - 6));
    }
    AppendLine(out, "(views)");
    for (std::uint32_t c = 0; c < poly.viewZoneCount && c < kMaxViewZones; ++c) {
      AppendLine(out, Format("%ld", static_cast<long>(poly.viewZones[c])));
    }
    AppendLine(out, "(pnts)");
    for (std::uint32_t c = 0; c < poly.pointCount && c < kMaxPolygonPoints; ++c) {
      AppendLine(out, Format("%ld", static_cast<long>(poly.points[c]) - 7));
    }
  }
  return out;
}

bool WriteObjectText(Model& model, const std::string& path) {
  WaitScope wait(model.rt);
  if (auto bad = FirstNonFinitePoint(model.tables)) {
    wait.End();
    model.ui().ShowNote(
        Format("Can't save this object: point %u has a coordinate that is not a "
               "finite number. Nothing was written.",
               *bad));
    return false;
  }
  auto colors = ReadClutFromFile(model.resources, model.paths.preferences, kCurrentClutId);
  if (!colors) {
    wait.End();
    model.ui().ShowNote("Can't find clut in preferences file.");
    return false;
  }
  if (!WriteFileAtomically(path, FormatObjectText(model.tables, *colors))) {
    wait.End();
    model.ui().ShowNote("Can't open color table text file for writing.");
    return false;
  }
  return true;
}

bool LoadObjectText(Model& model, const std::string& path) {
  WaitScope wait(model.rt);
  auto bytes = ReadWholeFile(path);
  if (!bytes) {
    wait.End();
    model.ui().ShowNote("Can't open object definition.");
    return false;
  }
  if (bytes->size() > kMaxObjectFileBytes) {
    wait.End();
    model.ui().ShowNote("Can't load this object: the file is larger than any object can be.");
    return false;
  }
  std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
  ParsedObject parsed;
  {
    ObjectTextReader reader(text, model.tables, model.ui());
    if (!reader.Parse(parsed)) return false;
  }
  // The reader has checked the capacities. Check the rebasing before the
  // colour table changes, then make the table current; only then touch the
  // object tables, so any refusal leaves both as they were.
  ObjectTables& t = model.tables;
  if (!ViewZonesFit(parsed, AppendBase(t))) {
    model.ui().ShowNote(
        "Can't add this object here: its view-zone lists would name items beyond number 16383, "
        "which a view-zone entry cannot hold.");
    return false;
  }
  if (!StoreCurrentColorTable(model, parsed.colors)) return false;
  AppendParsed(t, parsed);
  model.cluster.objectFilePath = path;
  model.cluster.fileState = FileState::kObject;
  return true;
}

void SaveObjectText(Model& model) {
  if (!model.cluster.objectFilePath.empty() && model.cluster.fileState == FileState::kObject) {
    WriteObjectText(model, model.cluster.objectFilePath);
    return;
  }
  SaveDialogOptions options;
  options.title = "Select directory..";
  options.filters = {{"Wirestead Object", "*.wdo"}};
  auto path = model.ui().AskSavePath(options);
  if (!path) return;
  std::string target = *path;
  if (!target.ends_with(".wdo")) target += ".wdo";
  // A path chosen here is used for this one write only.
  WriteObjectText(model, target);
}

const ObjectExporter* FindExporter(const ObjectExporters& exporters, std::string_view extension) {
  const std::string lower = LowerCase(std::string(extension));
  for (const ObjectExporter& e : exporters) {
    if (e.extension == lower) return &e;
  }
  return nullptr;
}

void SaveObjectAs(Model& model, const ObjectExporters& exporters) {
  SaveDialogOptions options;
  options.title = "Save Object As";
  options.filters = {{"Wirestead Object (wdo)", "*.wdo"}};
  for (const ObjectExporter& e : exporters) options.filters.push_back(e.filter);
  options.defaultExtension = "wdo";
  options.defaultName = "object";
  options.overwritePrompt = true;
  auto path = model.ui().AskSavePath(options);
  if (!path) return;
  SaveObjectAsPath(model, *path, exporters);
}

void SaveObjectAsPath(Model& model, const std::string& chosen, const ObjectExporters& exporters) {
  std::string path = chosen;
  std::size_t slash = path.find_last_of('/');
  std::size_t dot = path.find_last_of('.');
  bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  // The dialog's default extension applies to a name typed without one.
  if (!hasExtension) {
    path += ".wdo";
    dot = path.size() - 4;
  }
  std::string extension = path.substr(dot + 1);
  if (LowerCase(extension) == "wdo") {
    model.cluster.objectFilePath = path;
    model.cluster.fileState = FileState::kObject;
    WriteObjectText(model, path);
  } else if (const ObjectExporter* exporter = FindExporter(exporters, extension)) {
    if (!exporter->write || !exporter->write(model, path)) {
      model.ui().ShowNote("Could Not Export \"" + path + "\"");
    }
  } else {
    model.ui().ShowNote("Unknown Format Extension \"." + extension + "\".  Save Aborted");
  }
}

}  // namespace ws
