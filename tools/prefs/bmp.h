// A minimal writer of uncompressed 24-bit Windows bitmaps, enough for the
// hardware viewer's ground texture.
#pragma once

#include <cstdint>
#include <vector>

namespace ws::prefs {

inline constexpr std::size_t kBmpHeaderBytes = 54;  // file header + BITMAPINFOHEADER

// `rgb` holds width x height texels, top row first, red-green-blue order.
// The file stores rows bottom-up in blue-green-red order, each padded to a
// multiple of 4 bytes. Empty when the sizes do not match.
std::vector<std::uint8_t> EncodeBmp24(const std::vector<std::uint8_t>& rgb, std::uint32_t width,
                                      std::uint32_t height);

}  // namespace ws::prefs
