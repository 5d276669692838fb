#include "bmp.h"

#include "resource/byte_order.h"

namespace ws::prefs {

std::vector<std::uint8_t> EncodeBmp24(const std::vector<std::uint8_t>& rgb, std::uint32_t width,
                                      std::uint32_t height) {
  if (width == 0 || height == 0 || rgb.size() != std::size_t{width} * height * 3) return {};
  const std::size_t rowBytes = (std::size_t{width} * 3 + 3) / 4 * 4;
  const std::size_t pixelBytes = rowBytes * height;
  std::vector<std::uint8_t> bmp(kBmpHeaderBytes + pixelBytes, 0);
  std::uint8_t* p = bmp.data();
  p[0] = 'B';
  p[1] = 'M';
  StoreLE32(p + 2, static_cast<std::uint32_t>(bmp.size()));
  StoreLE32(p + 10, kBmpHeaderBytes);  // offset of the pixels
  StoreLE32(p + 14, 40);               // BITMAPINFOHEADER size
  StoreLE32(p + 18, width);
  StoreLE32(p + 22, height);  // positive: bottom-up rows
  StoreLE16(p + 26, 1);       // planes
  StoreLE16(p + 28, 24);      // bits per pixel
  StoreLE32(p + 30, 0);       // no compression
  StoreLE32(p + 34, static_cast<std::uint32_t>(pixelBytes));
  StoreLE32(p + 38, 2835);  // 72 dpi, in pixels per metre
  StoreLE32(p + 42, 2835);
  for (std::uint32_t row = 0; row < height; ++row) {
    const std::uint8_t* src = rgb.data() + std::size_t{height - 1 - row} * width * 3;
    std::uint8_t* dst = p + kBmpHeaderBytes + row * rowBytes;
    for (std::uint32_t x = 0; x < width; ++x) {
      dst[3 * x + 0] = src[3 * x + 2];
      dst[3 * x + 1] = src[3 * x + 1];
      dst[3 * x + 2] = src[3 * x + 0];
    }
  }
  return bmp;
}

}  // namespace ws::prefs
