#ifndef KORVALE_BITMAP_GDAL_GDAL_ROW_READER_H_
#define KORVALE_BITMAP_GDAL_GDAL_ROW_READER_H_

// Reads a GDAL dataset's rows top to bottom in its natural bands: block
// rows of a tiled file, strips, or bands of a few megabytes for files
// stored a row at a time (JPEG, PNG). Each band is decoded once and only
// the current one is held; GDAL's block cache is limited to what a band
// needs while the reader lives. Internal to the GDAL image sources.

#include <gdal.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "bitmap/gdal/gdal_pixel_format.h"
#include "bitmap/gdal/gdal_runtime.h"
#include "bitmap/source_row_reader.h"

namespace kv {

class GdalRowReader final : public SourceRowReader {
 public:
  // REQUIRES: dataset and format outlive the reader.
  GdalRowReader(GDALDatasetH dataset, const GdalPixelFormat& format, PixelMode mode);

  ConversionStatus ReadRow(int y, std::uint32_t* values) override;

  int BandRows() const override { return band_rows_; }
  // Bands decoded so far.
  std::size_t decode_count() const { return decode_count_; }
  // The most GDAL's block cache may hold while the reader lives.
  static std::int64_t BlockCacheBytes(GDALDatasetH dataset);

 private:
  ConversionStatus DecodeBandOf(int y);

  GDALDatasetH dataset_;
  const GdalPixelFormat& format_;
  PixelMode mode_;
  int width_;
  int height_;
  std::size_t row_bytes_;
  // Three byte bands are read as planes (band_ then holds three planes of
  // band_rows_ rows), anything else as kept pixels.
  bool planar_;
  int band_rows_;
  GdalBlockCacheLimit cache_limit_;
  std::vector<std::uint8_t> band_;
  int band_first_ = 0;
  int band_end_ = 0;  // empty until a band is decoded
  std::size_t decode_count_ = 0;
  ConversionStatus status_ = ConversionStatus::kOk;
};

}  // namespace kv

#endif  // KORVALE_BITMAP_GDAL_GDAL_ROW_READER_H_
