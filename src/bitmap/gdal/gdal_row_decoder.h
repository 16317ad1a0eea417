#ifndef KORVALE_BITMAP_GDAL_GDAL_ROW_DECODER_H_
#define KORVALE_BITMAP_GDAL_GDAL_ROW_DECODER_H_

// Decoding whole rows of a GDAL dataset into the form the GDAL sources keep
// (one byte or red, green, blue per pixel), and expanding kept rows into
// the values the encoder reads. Internal to the GDAL image sources.

#include <gdal.h>

#include <cstddef>
#include <cstdint>

#include "bitmap/conversion_status.h"
#include "bitmap/gdal/gdal_pixel_format.h"
#include "bitmap/pixel_source.h"

namespace kv {

// Bytes a kept pixel takes: 1 or 3.
std::size_t GdalKeptBytesPerPixel(const GdalPixelFormat& format);

// Rows [first_row, first_row + rows) into `pixels` (width x rows kept
// pixels). ConversionStatus::kDecoderFailed when GDAL fails or libjpeg warns about
// damaged data; ConversionStatus::kNoMemory when a wide row cannot be staged.
ConversionStatus DecodeGdalRows(GDALDatasetH dataset, const GdalPixelFormat& format, int first_row,
                                int rows, std::uint8_t* pixels);

// Rows of a three-band byte image as three planes, red, green, blue, each
// width x rows bytes: for tiled files GDAL copies planes out of its blocks
// faster than it interleaves them.
// REQUIRES: format.storage is kThreeBytes and !format.sixteen_bit.
ConversionStatus DecodeGdalPlanes(GDALDatasetH dataset, const GdalPixelFormat& format,
                                  int first_row, int rows, std::uint8_t* planes);

// `width` pixels of three planes as 0x00RRGGBB colours.
void ExpandGdalPlanes(const std::uint8_t* red, const std::uint8_t* green, const std::uint8_t* blue,
                      int width, std::uint32_t* values);

// `width` kept pixels as 0x00RRGGBB colours, or as palette indices in index
// mode for an image with a palette.
void ExpandGdalRow(const GdalPixelFormat& format, PixelMode mode, const std::uint8_t* kept,
                   int width, std::uint32_t* values);

}  // namespace kv

#endif  // KORVALE_BITMAP_GDAL_GDAL_ROW_DECODER_H_
