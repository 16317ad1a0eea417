#include "bitmap/gdal/gdal_pixel_format.h"

#include <cstdlib>

#include "bitmap/rgb_colour.h"

namespace kv {
namespace {

constexpr std::uint32_t kGreyStep = 0x010101;

std::vector<std::uint32_t> ReadPalette(GDALColorTableH table) {
  std::vector<std::uint32_t> palette;
  const int count = GDALGetColorEntryCount(table);
  for (int i = 0; i < count; ++i) {
    GDALColorEntry entry;
    if (!GDALGetColorEntryAsRGB(table, i, &entry)) entry = GDALColorEntry{0, 0, 0, 0};
    palette.push_back(
        PackRgb(static_cast<std::uint32_t>(entry.c1), static_cast<std::uint32_t>(entry.c2),
                static_cast<std::uint32_t>(entry.c3)));  // alpha is ignored, as everywhere
  }
  return palette;
}

// Significant bits of a byte band ("NBITS" of 1, 2 or 4 for packed PNG and
// TIFF data), 8 when the driver does not say.
int ByteBandBits(GDALRasterBandH band) {
  const char* nbits = GDALGetMetadataItem(band, "NBITS", "IMAGE_STRUCTURE");
  const int bits = nbits != nullptr ? std::atoi(nbits) : 8;
  return (bits >= 1 && bits <= 8) ? bits : 8;
}

// The indexed depths the platform decoder knew were 1, 4 and 8; a 2-bit
// image is reported as 4, the smallest indexed depth that holds it.
int IndexedDepth(int bits) {
  if (bits == 1) return 1;
  if (bits <= 4) return 4;
  return 8;
}

// A chart reports the bits its palette needs (BSB charts store 1 to 7).
int ChartDepth(std::size_t palette_size) {
  int bits = 1;
  while (bits < 8 && (std::size_t{1} << bits) < palette_size) ++bits;
  return bits;
}

void DescribeSingleBand(GDALRasterBandH band, ImageSourceKind kind, GdalPixelFormat* format) {
  const GDALDataType type = GDALGetRasterDataType(band);
  const bool byte_data = type == GDT_Byte;
  format->bands = 1;
  format->storage = GdalStorage::kOneByte;
  GDALColorTableH table = GDALGetRasterColorTable(band);
  if (table != nullptr) {
    format->has_palette = true;
    format->palette = ReadPalette(table);
    if (!byte_data) {
      // Indices beyond a byte: looked up while reading, reported as RGB.
      format->storage = GdalStorage::kThreeBytes;
      format->expand_palette = true;
      format->sixteen_bit = true;
      format->depth = 24;
      return;
    }
    for (std::size_t i = 0; i < format->palette.size() && i < 256; ++i) {
      format->colours[i] = format->palette[i];
    }
    format->depth = kind == ImageSourceKind::kChart ? ChartDepth(format->palette.size())
                                                    : IndexedDepth(ByteBandBits(band));
    return;
  }
  if (type == GDT_UInt16) {
    format->sixteen_bit = true;
    format->depth = 16;  // 16-bit grey
  } else if (byte_data) {
    format->depth = IndexedDepth(ByteBandBits(band));
  } else {
    // Signed, 32-bit and floating-point samples: GDAL clips them to 0..255;
    // reported as 8-bit grey.
    format->depth = 8;
  }
  // Packed grey levels (1, 2 or 4 bits) stretch over the full range.
  const int bits = byte_data ? ByteBandBits(band) : 8;
  const std::uint32_t top = (1u << bits) - 1;
  for (std::uint32_t level = 0; level < 256; ++level) {
    const std::uint32_t grey = level <= top ? level * 255 / top : 255;
    format->colours[level] = grey * kGreyStep;
  }
}

}  // namespace

// Depths reported, as the platform decoder reported them for the same files:
//   palette 1, 2/4, 8 bits -> 1, 4, 8; grey 8 bits -> 8 (1-bit grey -> 1);
//   grey 16 bits -> 16; grey + alpha -> 32; RGB 8 bits -> 24; RGB 16 bits -> 48;
//   RGBA (8 or 16 bits) -> 32.
// Our choices for what it did not read: a palette indexed by 16-bit values
// -> 24 (looked up to RGB); other sample types -> 8 per grey band, 24 for
// colour; five or more bands -> the first three as RGB, 32.
GdalPixelFormat DescribeGdalPixels(GDALDatasetH dataset, ImageSourceKind kind) {
  GdalPixelFormat format;
  const int band_count = GDALGetRasterCount(dataset);
  GDALRasterBandH first = GDALGetRasterBand(dataset, 1);
  const GDALDataType type = GDALGetRasterDataType(first);
  if (band_count == 1) {
    DescribeSingleBand(first, kind, &format);
    return format;
  }
  if (band_count == 2) {
    // Grey with alpha: the grey level is kept, alpha ignored.
    DescribeSingleBand(first, kind, &format);
    if (!format.expand_palette) format.depth = 32;
    return format;
  }
  format.storage = GdalStorage::kThreeBytes;
  format.bands = 3;
  format.sixteen_bit = type == GDT_UInt16;
  if (band_count == 3) {
    format.depth = format.sixteen_bit ? 48 : 24;
  } else {
    format.depth = 32;
  }
  return format;
}

}  // namespace kv
