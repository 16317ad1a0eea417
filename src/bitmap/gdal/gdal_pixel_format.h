#ifndef KORVALE_BITMAP_GDAL_GDAL_PIXEL_FORMAT_H_
#define KORVALE_BITMAP_GDAL_GDAL_PIXEL_FORMAT_H_

// How the pixels of a GDAL dataset are read and kept, and the bits per pixel
// the program reports for it. Internal to the GDAL image sources.

#include <gdal.h>

#include <array>
#include <cstdint>
#include <vector>

#include "bitmap/image_source.h"

namespace kv {

enum class GdalStorage {
  kOneByte,     // one byte per pixel (palette index or grey level), mapped by a table
  kThreeBytes,  // red, green, blue
};

struct GdalPixelFormat {
  int depth = 0;  // bits per pixel as reported to the encoder
  GdalStorage storage = GdalStorage::kThreeBytes;
  // Bands read, in storage order: 1 (index or grey) or 3 (red, green, blue).
  // A palette wider than a byte is read as its index and looked up into
  // three bytes (expand_palette).
  int bands = 3;
  // Samples wider than a byte: read as 16 bits and the high byte kept, so
  // that 16-bit images keep their full range.
  bool sixteen_bit = false;
  bool expand_palette = false;
  bool has_palette = false;
  std::vector<std::uint32_t> palette;  // 0x00RRGGBB, the dataset's colour table
  // kOneByte: the colour of each stored byte.
  std::array<std::uint32_t, 256> colours{};
};

// REQUIRES: the dataset has at least one band.
GdalPixelFormat DescribeGdalPixels(GDALDatasetH dataset, ImageSourceKind kind);

}  // namespace kv

#endif  // KORVALE_BITMAP_GDAL_GDAL_PIXEL_FORMAT_H_
