// Writes 3D Studio chunks for the tests: each helper returns the bytes of
// one chunk (header with the length of everything in it) or of a value.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace ws::test::tds {

using Bytes = std::vector<std::uint8_t>;

inline Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}
inline Bytes U16(std::initializer_list<std::uint16_t> values) {
  Bytes out;
  for (std::uint16_t v : values) out.insert(out.end(), {std::uint8_t(v), std::uint8_t(v >> 8)});
  return out;
}
inline Bytes U32(std::uint32_t v) {
  return Cat({U16({std::uint16_t(v)}), U16({std::uint16_t(v >> 16)})});
}
inline Bytes F32(std::initializer_list<float> values) {
  Bytes out;
  for (float f : values) {
    std::uint32_t bits;
    std::memcpy(&bits, &f, 4);
    out = Cat({out, U32(bits)});
  }
  return out;
}
inline Bytes Name(std::string_view s) {
  Bytes out(s.begin(), s.end());
  out.push_back(0);
  return out;
}
// A chunk whose header states `length` instead of its true one.
inline Bytes ChunkClaiming(std::uint16_t id, std::uint32_t length, const Bytes& body) {
  return Cat({U16({id}), U32(length), body});
}
inline Bytes Chunk(std::uint16_t id, const Bytes& body) {
  return ChunkClaiming(id, static_cast<std::uint32_t>(body.size() + 6), body);
}

inline Bytes Vertices(std::initializer_list<std::array<float, 3>> points) {
  Bytes out = U16({std::uint16_t(points.size())});
  for (const auto& p : points) out = Cat({out, F32({p[0], p[1], p[2]})});
  return Chunk(0x4110, out);
}
// The face list; `behind` (material groups) follows the faces inside it.
inline Bytes Faces(std::initializer_list<std::array<std::uint16_t, 3>> faces,
                   const Bytes& behind = {}) {
  Bytes out = U16({std::uint16_t(faces.size())});
  for (const auto& f : faces) out = Cat({out, U16({f[0], f[1], f[2], 7})});
  return Chunk(0x4120, Cat({out, behind}));
}
inline Bytes Group(std::string_view material, std::initializer_list<std::uint16_t> faces) {
  return Chunk(0x4130, Cat({Name(material), U16({std::uint16_t(faces.size())}), U16(faces)}));
}
inline Bytes Object(std::string_view name, const Bytes& mesh) {
  return Chunk(0x4000, Cat({Name(name), Chunk(0x4100, mesh)}));
}
// One triangle over three points, no material groups.
inline Bytes Triangle(std::string_view name, float z = 0) {
  return Object(name, Cat({Vertices({{0, 0, z}, {1, 0, z}, {0, 1, z}}), Faces({{0, 1, 2}})}));
}
// A colour chunk (0xA010 ambient, 0xA020 diffuse, 0xA030 specular) in
// floats.
inline Bytes Color(std::uint16_t id, float r, float g, float b) {
  return Chunk(id, Chunk(0x0010, F32({r, g, b})));
}
inline Bytes Material(std::string_view name, const Bytes& rest = {}) {
  return Chunk(0xAFFF, Cat({Chunk(0xA000, Name(name)), rest}));
}
// A whole file: the main chunk with a version and the editor data.
inline Bytes File(const Bytes& editor) {
  return Chunk(0x4D4D, Cat({Chunk(0x0002, U32(3)), Chunk(0x3D3D, editor)}));
}

}  // namespace ws::test::tds
