#include "bitmap/gdal/gdal_row_decoder.h"

#include <cpl_conv.h>

#include <new>
#include <string>
#include <vector>

#include "bitmap/gdal/gdal_runtime.h"
#include "bitmap/rgb_colour.h"

namespace kv {
namespace {

// libjpeg only warns about a stream that ends early and GDAL pads the rest
// grey; while rows are decoded such warnings count as failures.
class StrictJpegDecoding {
 public:
  StrictJpegDecoding() {
    const char* previous = CPLGetThreadLocalConfigOption(kOption, nullptr);
    had_previous_ = previous != nullptr;
    if (had_previous_) previous_ = previous;
    CPLSetThreadLocalConfigOption(kOption, "YES");
  }
  ~StrictJpegDecoding() {
    CPLSetThreadLocalConfigOption(kOption, had_previous_ ? previous_.c_str() : nullptr);
  }
  StrictJpegDecoding(const StrictJpegDecoding&) = delete;
  StrictJpegDecoding& operator=(const StrictJpegDecoding&) = delete;

 private:
  static constexpr const char* kOption = "GDAL_ERROR_ON_LIBJPEG_WARNING";
  std::string previous_;
  bool had_previous_ = false;
};

// Byte samples go straight into place, interleaved by GDAL.
ConversionStatus ReadBands(GDALDatasetH dataset, const GdalPixelFormat& format, int first_row,
                           int rows, std::uint8_t* pixels) {
  const int width = GDALGetRasterXSize(dataset);
  const auto pixel_bytes = static_cast<GSpacing>(GdalKeptBytesPerPixel(format));
  int band_map[3] = {1, 2, 3};
  const CPLErr result = GDALDatasetRasterIOEx(dataset, GF_Read, 0, first_row, width, rows, pixels,
                                              width, rows, GDT_Byte, format.bands, band_map,
                                              pixel_bytes, pixel_bytes * width, 1, nullptr);
  return result == CE_None ? ConversionStatus::kOk : ConversionStatus::kDecoderFailed;
}

// 16-bit samples keep their high byte; 16-bit palette indices are looked up.
ConversionStatus ReadWideBands(GDALDatasetH dataset, const GdalPixelFormat& format, int first_row,
                               int rows, std::uint8_t* pixels) {
  const int width = GDALGetRasterXSize(dataset);
  const std::size_t samples = static_cast<std::size_t>(width) * static_cast<std::size_t>(rows) *
                              static_cast<std::size_t>(format.bands);
  std::vector<std::uint16_t> wide;
  try {
    wide.resize(samples);
  } catch (const std::bad_alloc&) {
    return ConversionStatus::kNoMemory;
  }
  int band_map[3] = {1, 2, 3};
  const GSpacing sample_bytes = sizeof(std::uint16_t);
  const GSpacing pixel_bytes = sample_bytes * format.bands;
  const CPLErr result = GDALDatasetRasterIOEx(
      dataset, GF_Read, 0, first_row, width, rows, wide.data(), width, rows, GDT_UInt16,
      format.bands, band_map, pixel_bytes, pixel_bytes * width, sample_bytes, nullptr);
  if (result != CE_None) return ConversionStatus::kDecoderFailed;
  if (format.expand_palette) {
    const std::vector<std::uint32_t>& palette = format.palette;
    for (std::size_t i = 0; i < samples; ++i) {
      StoreRgb(wide[i] < palette.size() ? palette[wide[i]] : 0, pixels + 3 * i);
    }
  } else {
    for (std::size_t i = 0; i < samples; ++i) pixels[i] = static_cast<std::uint8_t>(wide[i] >> 8);
  }
  return ConversionStatus::kOk;
}

}  // namespace

std::size_t GdalKeptBytesPerPixel(const GdalPixelFormat& format) {
  return format.storage == GdalStorage::kOneByte ? 1 : 3;
}

ConversionStatus DecodeGdalRows(GDALDatasetH dataset, const GdalPixelFormat& format, int first_row,
                                int rows, std::uint8_t* pixels) {
  QuietGdalErrors quiet;
  StrictJpegDecoding strict;
  if (format.sixteen_bit) return ReadWideBands(dataset, format, first_row, rows, pixels);
  return ReadBands(dataset, format, first_row, rows, pixels);
}

ConversionStatus DecodeGdalPlanes(GDALDatasetH dataset, const GdalPixelFormat& format,
                                  int first_row, int rows, std::uint8_t* planes) {
  QuietGdalErrors quiet;
  StrictJpegDecoding strict;
  const int width = GDALGetRasterXSize(dataset);
  int band_map[3] = {1, 2, 3};
  const GSpacing plane_bytes = static_cast<GSpacing>(width) * rows;
  const CPLErr result =
      GDALDatasetRasterIOEx(dataset, GF_Read, 0, first_row, width, rows, planes, width, rows,
                            GDT_Byte, format.bands, band_map, 1, width, plane_bytes, nullptr);
  return result == CE_None ? ConversionStatus::kOk : ConversionStatus::kDecoderFailed;
}

void ExpandGdalPlanes(const std::uint8_t* red, const std::uint8_t* green, const std::uint8_t* blue,
                      int width, std::uint32_t* values) {
  for (std::size_t x = 0; x < static_cast<std::size_t>(width); ++x) {
    values[x] = PackRgb(red[x], green[x], blue[x]);
  }
}

void ExpandGdalRow(const GdalPixelFormat& format, PixelMode mode, const std::uint8_t* kept,
                   int width, std::uint32_t* values) {
  const auto count = static_cast<std::size_t>(width);
  if (format.storage == GdalStorage::kOneByte) {
    if (mode == PixelMode::kIndex && format.has_palette) {
      for (std::size_t x = 0; x < count; ++x) values[x] = kept[x];
    } else {
      for (std::size_t x = 0; x < count; ++x) values[x] = format.colours[kept[x]];
    }
    return;
  }
  for (std::size_t x = 0; x < count; ++x) {
    values[x] = LoadRgb(kept + 3 * x);
  }
}

}  // namespace kv
