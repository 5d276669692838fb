// Builds binary trueSpace files for the tests, chunk by chunk.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace ws::test {

// Little-endian fields of one chunk's data.
struct CobBody {
  std::string bytes;
  CobBody& U8(std::uint8_t v) { return Raw(&v, 1); }
  CobBody& U16(std::uint16_t v) { return Raw(&v, 2); }
  CobBody& U32(std::uint32_t v) { return Raw(&v, 4); }
  CobBody& F32(float v) { return Raw(&v, 4); }
  CobBody& Text(std::string_view s) { return Raw(s.data(), s.size()); }
  CobBody& Str(std::string_view s) { return U16(static_cast<std::uint16_t>(s.size())).Text(s); }
  CobBody& Raw(const void* p, std::size_t n) {
    bytes.append(static_cast<const char*>(p), n);
    return *this;
  }
};

using CobMatrix = std::array<float, 12>;  // three rows of four
inline constexpr CobMatrix kCobIdentity{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0};

struct CobFace {
  std::vector<std::uint32_t> corners;
  std::uint16_t material = 0;
  std::uint8_t flags = 0;  // 0x08: a hole (no material field)
};

// "Grou" data, and the start of "PolH" data: dupecount, name, local axes,
// current position.
inline CobBody CobObject(std::string_view name, const CobMatrix& position = kCobIdentity) {
  CobBody b;
  b.U16(0).Str(name);
  for (float f : {0.f, 0.f, 0.f, 1.f, 0.f, 0.f, 0.f, 1.f, 0.f, 0.f, 0.f, 1.f}) b.F32(f);
  for (float f : position) b.F32(f);
  return b;
}

inline CobBody CobPolygons(std::string_view name, const std::vector<std::array<float, 3>>& points,
                           const std::vector<CobFace>& faces,
                           const CobMatrix& position = kCobIdentity) {
  CobBody b = CobObject(name, position);
  b.U32(static_cast<std::uint32_t>(points.size()));
  for (const auto& p : points) b.F32(p[0]).F32(p[1]).F32(p[2]);
  b.U32(1).F32(0).F32(0);  // one texture coordinate
  b.U32(static_cast<std::uint32_t>(faces.size()));
  for (const CobFace& f : faces) {
    b.U8(f.flags).U16(static_cast<std::uint16_t>(f.corners.size()));
    if ((f.flags & 0x08) == 0) b.U16(f.material);
    for (std::uint32_t c : f.corners) b.U32(c).U32(0);
  }
  return b;
}

// red, green, blue, alpha, ka, ks, exponent, index of refraction.
inline CobBody CobMaterial(std::uint16_t number, std::array<float, 8> values) {
  CobBody b;
  b.U16(number).Text("pf").U8(30);
  for (float v : values) b.F32(v);
  return b;
}

class CobFile {
 public:
  // `form` is byte 15: 'B' binary, 'A' text.
  explicit CobFile(char form = 'B') {
    bytes_ = std::string("Caligari V00.01") + form + "LH";
    bytes_.resize(31, ' ');
    bytes_ += '\n';
  }
  // A chunk whose size field is the data's size plus `extraSize`.
  CobFile& Chunk(std::string_view type, std::uint32_t id, std::uint32_t parent, const CobBody& data,
                 std::int64_t extraSize = 0) {
    CobBody h;
    h.Text(type).U16(0).U16(8).U32(id).U32(parent);
    h.U32(static_cast<std::uint32_t>(static_cast<std::int64_t>(data.bytes.size()) + extraSize));
    bytes_ += h.bytes + data.bytes;
    return *this;
  }
  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

// A single triangle object "Tri" with the file point (1, 2, 3) first.
inline CobBody CobTriangle(std::string_view name = "Tri", const CobMatrix& m = kCobIdentity) {
  return CobPolygons(name, {{1, 2, 3}, {4, 0, 0}, {0, 5, 0}}, {{{0, 1, 2}}}, m);
}

}  // namespace ws::test
