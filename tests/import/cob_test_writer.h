// Writes binary trueSpace files for the tests, chunk by chunk.
#pragma once

#include "tds_writer.h"

namespace ws::test::cob {

// The 32-byte file header (byte 15 'B': binary) and an unmoved position.
inline const std::string kHeader = "Caligari V00.01BLH" + std::string(13, ' ') + '\n';
inline const std::string kStill = Le<float>({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0});

// A chunk whose size field is the data's size plus `extra`.
inline std::string Chunk(const char* type, U32 id, U32 parent, const std::string& data,
                         int extra = 0) {
  return type + Le<U16>({0, 8}) + Le<U32>({id, parent, U32(data.size() + extra)}) + data;
}
// "Grou" data: dupecount, name, local axes (not read), position.
inline std::string Object(const std::string& name, const std::string& position = kStill) {
  return Le<U16>({0, U16(name.size())}) + name + std::string(48, '\0') + position;
}
// A face of polygon data; material -1 makes it a hole, without a material.
inline std::string Face(std::initializer_list<U32> corners, int material = 0) {
  std::string out =
      std::string(1, material < 0 ? '\x08' : '\0') + Le<U16>({U16(corners.size()), U16(material)});
  for (U32 c : corners) out += Le<U32>({c, 0});
  return material < 0 ? out.erase(3, 2) : out;
}
// "PolH" data: the points (1, 2, 3), (4, 0, 0), (0, 5, 0), no UVs, faces.
inline std::string Polygons(const std::string& name, const std::string& faces = Face({0, 1, 2}),
                            U32 count = 1, const std::string& position = kStill) {
  return Object(name, position) + Le<U32>({3}) + Le<float>({1, 2, 3, 4, 0, 0, 0, 5, 0}) +
         Le<U32>({0, count}) + faces;
}

}  // namespace ws::test::cob
