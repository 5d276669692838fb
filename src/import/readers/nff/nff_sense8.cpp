// Sense8 WorldToolKit NFF: "nff", an optional "version" line, an optional
// viewpoint ("viewpos", "viewdir"), then objects: a name line, a vertex
// count and that many vertex lines ("x y z" and optional extras), a polygon
// count and that many polygon lines ("n i0 .. in-1" with 0-based vertex
// numbers, then a colour 0xRGB or 0xRRGGBB, "both" for a two-sided polygon,
// and texture or id words, which are ignored). "//" starts a comment.
//
// Version 3.0 adds an "mtable FILE" header line naming a material table
// in the model's folder, "matid N" on polygons choosing one of its
// materials, and "uv u v" on vertex lines (read past: the editor has no
// textures). A table is a text file of materials, each begun by a line
// whose first word is its number (or "material N"); its line
// "ambientdiffuse r g b" (0 to 1 each, or one 0xRRGGBB) is the colour a
// polygon with that matid gets. A table that cannot be read, or a matid
// it lacks, leaves the polygon its own colour (or the default), with one
// log line.
//
// Each object becomes a MeshBuilder group named after it; each polygon a
// face coloured with its colour (the default material without one); a
// two-sided polygon one face whose material is two-sided, so that its
// polygon draws its back face too. Texture names (words starting with
// "_") are ignored with one log line per file.
#include <map>
#include <vector>

#include "import/hand_over.h"
#include "import/mesh_builder.h"
#include "import/readers/nff/nff_lines.h"

namespace ws::nff {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "0xRGB" (three digits, 4 bits a component) or "0xRRGGBB" (more digits,
// the low 24 bits); no value for anything else.
std::optional<ColorTriple> ParseColor(std::string_view token) {
  if (token.size() < 3 || token[0] != '0' || (token[1] != 'x' && token[1] != 'X'))
    return std::nullopt;
  const std::string_view digits = token.substr(2);
  if (digits.size() > 16) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : digits) {
    const int d = HexDigit(c);
    if (d < 0) return std::nullopt;
    value = value << 4 | static_cast<std::uint64_t>(d);
  }
  if (digits.size() <= 3) {
    return ColorTriple{((value >> 8) & 0xF) / 15.0, ((value >> 4) & 0xF) / 15.0,
                       (value & 0xF) / 15.0};
  }
  return ColorTriple{((value >> 16) & 0xFF) / 255.0, ((value >> 8) & 0xFF) / 255.0,
                     (value & 0xFF) / 255.0};
}

using MaterialTable = std::map<std::int64_t, ColorTriple>;

// "r g b" as numbers or one hex colour.
std::optional<ColorTriple> ReadColor(TokenReader& reader) {
  const std::size_t start = reader.position();
  const auto r = reader.Double(), g = reader.Double(), b = reader.Double();
  if (r && g && b) return ColorTriple{*r, *g, *b};
  reader.Seek(start);
  return ParseColor(reader.Token());
}

MaterialTable ReadMaterialTable(std::string_view text, Importer& importer) {
  MaterialTable table;
  NffLines lines(text, importer, "//", true);
  std::optional<std::int64_t> current;
  std::string_view line;
  while (lines.Next(line)) {
    TokenReader reader(line);
    std::string_view word = reader.Token();
    if (word == "material") word = reader.Token();
    if (const std::optional<std::int64_t> id = WholeNumber(word)) {
      current = id;
    } else if (word == "ambientdiffuse" && current) {
      if (const std::optional<ColorTriple> color = ReadColor(reader)) table[*current] = *color;
    }
  }
  return table;
}

// The folder of `path` (with its separator) followed by `name`.
std::string Beside(const std::string& path, std::string_view name) {
  const std::size_t slash = path.find_last_of("/\\");
  return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) +
         std::string(name);
}

// A count on a line of its own.
std::optional<std::int64_t> Count(std::string_view line) {
  TokenReader reader(line);
  return WholeNumber(reader.Token());
}

}  // namespace

bool ReadSense8(std::string_view text, Importer& importer, const std::string& path) {
  NffLines lines(text, importer, "//", true);
  std::string_view line;
  lines.Next(line);  // "nff"
  bool have = lines.Next(line);
  if (have && TokenReader(line).Token() == "version") have = lines.Next(line);
  std::optional<MaterialTable> materials;
  std::string tableName;
  for (; have; have = lines.Next(line)) {
    TokenReader reader(line);
    const std::string_view word = reader.Token();
    if (word == "mtable") {
      tableName = std::string(reader.Token());
      const auto bytes = ReadImportFile(Beside(path, tableName));
      if (bytes) {
        materials = ReadMaterialTable(DecodeText(*bytes), importer);
      } else {
        importer.Log("Material table '" + tableName + "' of file '" + path +
                     "' cannot be read; its polygons take their own colour or the default");
      }
    } else if (word != "viewpos" && word != "viewdir") {
      break;
    }
  }

  MeshBuilder builder;
  std::vector<Vec3> vertices;
  std::vector<std::int32_t> corners;
  bool texturesLogged = false;
  bool missingLogged = false;
  for (; have; have = lines.Next(line)) {
    // The object's name: the line without its surrounding blanks.
    TokenReader nameReader(line);
    nameReader.SkipBlanks();
    std::string_view name = nameReader.Rest();
    while (!name.empty() && IsBlank(name.back())) name.remove_suffix(1);
    builder.SelectGroup(name);

    if (!lines.Next(line)) return SyntaxError(importer, path, lines.lineNumber());
    const std::optional<std::int64_t> vertexCount = Count(line);
    if (!vertexCount) return SyntaxError(importer, path, lines.lineNumber());
    vertices.clear();
    for (std::int64_t i = 0; i < *vertexCount; ++i) {
      if (!lines.Next(line)) return SyntaxError(importer, path, lines.lineNumber());
      TokenReader reader(line);
      const auto x = reader.Double(), y = reader.Double(), z = reader.Double();
      if (!x || !y || !z) return SyntaxError(importer, path, lines.lineNumber());
      vertices.push_back({*x, *y, *z});
    }

    if (!lines.Next(line)) return SyntaxError(importer, path, lines.lineNumber());
    const std::optional<std::int64_t> polygonCount = Count(line);
    if (!polygonCount) return SyntaxError(importer, path, lines.lineNumber());
    for (std::int64_t p = 0; p < *polygonCount; ++p) {
      if (!lines.Next(line)) return SyntaxError(importer, path, lines.lineNumber());
      TokenReader reader(line);
      const std::optional<std::int64_t> n = WholeNumber(reader.Token());
      if (!n) return SyntaxError(importer, path, lines.lineNumber());
      corners.clear();
      for (std::int64_t k = 0; k < *n; ++k) {
        const std::optional<std::int64_t> index = WholeNumber(reader.Token());
        if (!index || static_cast<std::uint64_t>(*index) >= vertices.size()) {
          return SyntaxError(importer, path, lines.lineNumber());
        }
        corners.push_back(static_cast<std::int32_t>(*index));
      }
      std::optional<ColorTriple> color, tableColor;
      bool bothSides = false;
      for (std::string_view word = reader.Token(); !word.empty(); word = reader.Token()) {
        if (word == "both") {
          bothSides = true;
        } else if (word == "matid") {
          const std::optional<std::int64_t> id = WholeNumber(reader.Token());
          const auto found =
              materials && id ? materials->find(*id) : MaterialTable::const_iterator{};
          if (materials && id && found != materials->end()) {
            tableColor = found->second;
          } else if (materials && !missingLogged) {
            missingLogged = true;
            importer.Log("Material table '" + tableName + "' lacks a matid that file '" + path +
                         "' uses; those polygons take their own colour or the default");
          }
        } else if (word.front() == '_') {
          if (!texturesLogged) importer.Log("Texture names in file '" + path + "' are ignored");
          texturesLogged = true;
        } else if (!color) {
          color = ParseColor(word);
        }
      }
      if (tableColor) color = tableColor;
      if (corners.empty()) continue;
      MaterialValue material = color ? MaterialFromColor(*color) : MaterialValue{};
      material.twoSided = bothSides;
      builder.BeginFace(color || bothSides ? &material : nullptr);
      for (std::int32_t i : corners) {
        const Vec3& v = vertices[static_cast<std::size_t>(i)];
        builder.AddVertex(v.x, v.y, v.z);
      }
      builder.EndFace();
    }
  }
  HandOverBuilder(importer.root(), builder);
  return true;
}

}  // namespace ws::nff
