#include "cli/png_file.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>

#include "base/exceptions.h"
#include "base/replace_file_writer.h"

namespace kv::cli {

namespace {

// libpng reports failures by longjmp; this keeps that inside one function
// with no C++ objects to unwind.
bool WritePng(std::FILE* file, const RgbImage& image) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
               static_cast<png_uint_32>(image.height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < image.height; ++y) {
    png_write_row(png, image.rgb.data() + std::size_t{3} * static_cast<std::size_t>(image.width) *
                                              static_cast<std::size_t>(y));
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

void WritePngFile(const std::string& path, const RgbImage& image) {
  ReplaceFileWriter writer;
  if (const int error = writer.Begin(path); error != 0)
    ThrowSystemFailure<ErrFileCreate>(path.c_str(), error);
  if (!WritePng(writer.file(), image) || writer.Commit() != 0) throw ErrFileWrite(path.c_str());
}

}  // namespace kv::cli
