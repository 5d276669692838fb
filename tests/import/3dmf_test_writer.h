// A small 3DMF writer for the tests: binary objects in either byte order
// (type code, size, data) and the text form's header.
#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "import/readers/3dmf/metafile_reader.h"

namespace ws::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes& operator+=(Bytes& a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
inline Bytes operator+(Bytes a, const Bytes& b) { return a += b; }

struct MetafileWriter {
  bool little = false;

  Bytes Uint(std::uint64_t v, int width) const {
    Bytes out(static_cast<std::size_t>(width));
    for (int i = 0; i < width; ++i) {
      out[little ? i : width - 1 - i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
    return out;
  }
  Bytes U32s(std::initializer_list<std::uint32_t> values) const {
    Bytes out;
    for (std::uint32_t v : values) out += Uint(v, 4);
    return out;
  }
  Bytes Floats(const std::vector<float>& values) const {
    Bytes out;
    for (float f : values) {
      std::uint32_t bits;
      std::memcpy(&bits, &f, 4);
      out += Uint(bits, 4);
    }
    return out;
  }
  Bytes Object(const char (&type)[5], const Bytes& data) const {
    return Uint(metafile::TypeCode(type), 4) + Uint(data.size(), 4) + data;
  }
  // The header object (version 1.6, table of contents at `toc`) and `body`.
  Bytes File(const Bytes& body, std::uint64_t toc = 0) const {
    return Object("3DMF", Uint(1, 2) + Uint(6, 2) + Uint(0, 4) + Uint(toc, 8)) + body;
  }
  // A TriMesh of `points` points (x = index), its triangles and `edges`
  // edge records, indices in the width its point count calls for.
  Bytes TriMesh(std::uint32_t points, const std::vector<std::uint32_t>& corners,
                std::uint32_t edges = 0) const {
    const int w = static_cast<int>(metafile::TriMeshIndexWidth(points));
    Bytes data = U32s({static_cast<std::uint32_t>(corners.size() / 3), 0, edges, 0, points, 0});
    for (std::uint32_t c : corners) data += Uint(c, w);
    for (std::uint32_t e = 0; e < 4 * edges; ++e) data += Uint(0, w);
    for (std::uint32_t p = 0; p < points; ++p) data += Floats({float(p), 0, float(p % 3)});
    return Object("tmsh", data + Floats({0, 0, 0, 0, 0, 0}) + U32s({0}));
  }
  // A table of contents of (id, position) entries, 16 bytes each.
  Bytes Toc(const std::vector<std::pair<std::uint32_t, std::uint64_t>>& entries) const {
    Bytes data = Uint(0, 8) + U32s({1, 0, 1, 16, static_cast<std::uint32_t>(entries.size())});
    for (const auto& [id, at] : entries) data += U32s({id}) + Uint(at, 8) + U32s({0});
    return Object("toc ", data);
  }
};

inline std::string TextMetafile(const std::string& body) {
  return "3DMetafile ( 1 6 Normal tableofcontents0> )\n" + body;
}

}  // namespace ws::test
