#ifndef KORVALE_BITMAP_GDAL_GDAL_STRIP_CACHE_H_
#define KORVALE_BITMAP_GDAL_GDAL_STRIP_CACHE_H_

// Decoded pixels of a GDAL dataset, held in strips of whole rows. A strip is
// decoded by one GDAL call the first time one of its rows is wanted and kept
// until the memory budget needs its room, least recently used first. Rows
// run the full width, so a tile window touches only the strips of its rows
// and a whole image that fits the budget is decoded once.
//
// Internal to the GDAL image sources; not safe for concurrent use.

#include <gdal.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "bitmap/conversion_status.h"
#include "bitmap/gdal/gdal_pixel_format.h"

namespace kv {

class GdalStripCache {
 public:
  // REQUIRES: dataset and format outlive the cache.
  GdalStripCache(GDALDatasetH dataset, const GdalPixelFormat& format, std::size_t budget_bytes);

  // The stored pixels of row y (bytes_per_pixel() each), or nullptr when
  // the row could not be decoded; status() then says why.
  // REQUIRES: 0 <= y < the dataset's height.
  const std::uint8_t* Row(int y) {
    if (y >= current_first_ && y < current_end_) {
      return current_ + static_cast<std::size_t>(y - current_first_) * row_bytes_;
    }
    return SlowRow(y);
  }

  std::size_t bytes_per_pixel() const { return bytes_per_pixel_; }
  int rows_per_strip() const { return rows_per_strip_; }
  // Strips decoded so far, counting decodes of evicted strips again.
  std::size_t decode_count() const { return decode_count_; }
  // The first failure, ConversionStatus::kOk while every decode has succeeded.
  ConversionStatus status() const { return status_; }

 private:
  struct Strip {
    std::vector<std::uint8_t> pixels;
    std::uint64_t last_use = 0;
    bool failed = false;
  };

  const std::uint8_t* SlowRow(int y);
  ConversionStatus Decode(int strip_index, Strip* strip);
  void MakeRoom();
  void Fail(ConversionStatus status);

  GDALDatasetH dataset_;
  const GdalPixelFormat& format_;
  int width_;
  int height_;
  std::size_t bytes_per_pixel_;
  std::size_t row_bytes_;
  int rows_per_strip_;
  std::size_t max_resident_;
  std::vector<std::unique_ptr<Strip>> strips_;
  std::vector<int> resident_;  // indices of strips holding pixels
  std::uint64_t clock_ = 0;
  std::size_t decode_count_ = 0;
  ConversionStatus status_ = ConversionStatus::kOk;
  // The strip of the last row asked for: the common case costs one compare.
  const std::uint8_t* current_ = nullptr;
  int current_first_ = 0;
  int current_end_ = 0;  // empty until a strip is decoded
};

}  // namespace kv

#endif  // KORVALE_BITMAP_GDAL_GDAL_STRIP_CACHE_H_
