#include "cli/png_file.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <memory>

namespace ws {

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const {
    if (f) std::fclose(f);
  }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// libpng reports errors by longjmp; the message is kept for the caller.
void OnPngError(png_structp png, png_const_charp message) {
  auto* error = static_cast<std::string*>(png_get_error_ptr(png));
  if (error) *error = message;
  std::longjmp(png_jmpbuf(png), 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

// Everything a setjmp-protected function touches after the jump must be
// set before it, hence the plain pointers here.
bool WriteRows(std::FILE* file, const IndexedImage& image, std::string& error) {
  png_structp png =
      png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, OnPngError, OnPngWarning);
  if (!png) {
    error = "out of memory";
    return false;
  }
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, info ? &info : nullptr);
    if (error.empty()) error = "out of memory";
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
               static_cast<png_uint_32>(image.height), 8, PNG_COLOR_TYPE_PALETTE,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_color palette[256];
  for (int i = 0; i < 256; ++i) {
    palette[i] = {image.palette[i].red, image.palette[i].green, image.palette[i].blue};
  }
  png_set_PLTE(png, info, palette, 256);
  png_write_info(png, info);
  for (int y = 0; y < image.height; ++y) {
    png_write_row(png, image.pixels.data() + static_cast<std::size_t>(y) * image.width);
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

IndexedImage CaptureImage(const Surface8& surface, const IntRect& rect) {
  IndexedImage image;
  const IntRect r = Intersect(rect, surface.Bounds());
  if (r.Empty()) return image;
  image.width = r.right - r.left + 1;
  image.height = r.bottom - r.top + 1;
  image.pixels.resize(static_cast<std::size_t>(image.width) * image.height);
  for (int y = 0; y < image.height; ++y) {
    const std::uint8_t* row = surface.Row(r.top + y) + r.left;
    std::copy(row, row + image.width,
              image.pixels.begin() + static_cast<std::ptrdiff_t>(y) * image.width);
  }
  image.palette = surface.palette();
  image.paletteSize = 256;
  return image;
}

bool WriteIndexedPng(const std::string& path, const IndexedImage& image, std::string& error) {
  error.clear();
  if (image.width <= 0 || image.height <= 0 ||
      image.pixels.size() != static_cast<std::size_t>(image.width) * image.height) {
    error = "empty image";
    return false;
  }
  FilePtr file(std::fopen(path.c_str(), "wb"));
  if (!file) {
    error = "can't create the file";
    return false;
  }
  if (!WriteRows(file.get(), image, error)) return false;
  if (std::fclose(file.release()) != 0) {
    error = "can't write the file";
    return false;
  }
  return true;
}

bool WriteIndexedPng(const std::string& path, const Surface8& surface, const IntRect& rect,
                     std::string& error) {
  return WriteIndexedPng(path, CaptureImage(surface, rect), error);
}

namespace {

bool ReadRows(std::FILE* file, IndexedImage& out, std::string& error) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &error, OnPngError, OnPngWarning);
  if (!png) {
    error = "out of memory";
    return false;
  }
  png_infop info = png_create_info_struct(png);
  // The image is the caller's, so a jump out of a row read leaves nothing
  // of this frame to destroy.
  IndexedImage* const image = &out;
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    if (error.empty()) error = "damaged PNG file";
    return false;
  }
  png_init_io(png, file);
  png_set_user_limits(png, kMaxSurfaceSide, kMaxSurfaceSide);
  png_read_info(png, info);
  png_uint_32 width = 0, height = 0;
  int depth = 0, colourType = 0, interlace = 0;
  png_get_IHDR(png, info, &width, &height, &depth, &colourType, &interlace, nullptr, nullptr);
  png_colorp palette = nullptr;
  int paletteSize = 0;
  if (colourType != PNG_COLOR_TYPE_PALETTE || depth != 8 || interlace != PNG_INTERLACE_NONE ||
      png_get_PLTE(png, info, &palette, &paletteSize) == 0) {
    png_destroy_read_struct(&png, &info, nullptr);
    error = "not an 8-bit palette PNG";
    return false;
  }
  image->width = static_cast<int>(width);
  image->height = static_cast<int>(height);
  image->palette = {};
  image->paletteSize = static_cast<std::size_t>(paletteSize);
  for (int i = 0; i < paletteSize && i < 256; ++i) {
    image->palette[i] = {palette[i].red, palette[i].green, palette[i].blue};
  }
  image->pixels.assign(static_cast<std::size_t>(width) * height, 0);
  for (png_uint_32 y = 0; y < height; ++y) {
    png_read_row(png, image->pixels.data() + static_cast<std::size_t>(y) * width, nullptr);
  }
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

}  // namespace

bool ReadIndexedPng(const std::string& path, IndexedImage& image, std::string& error) {
  error.clear();
  FilePtr file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    error = "can't open the file";
    return false;
  }
  return ReadRows(file.get(), image, error);
}

}  // namespace ws
