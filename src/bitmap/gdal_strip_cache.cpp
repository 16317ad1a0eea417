#include "bitmap/gdal_strip_cache.h"

#include <cpl_conv.h>

#include <algorithm>
#include <new>
#include <string>

#include "bitmap/gdal_runtime.h"

namespace kv {
namespace {

// About a megabyte per strip: few GDAL calls, little waste at the edges.
constexpr std::size_t kTargetStripBytes = std::size_t{1} << 20;
// Blocks taller than this many target strips are not followed: reading part
// of a block is slower than reading a whole one, but cheaper than holding
// a huge strip.
constexpr std::size_t kMaxBlockStrips = 16;

int ChooseStripRows(GDALDatasetH dataset, std::size_t row_bytes, int height) {
  std::size_t rows =
      std::max<std::size_t>(1, kTargetStripBytes / std::max<std::size_t>(1, row_bytes));
  int block_width = 0;
  int block_height = 0;
  GDALGetBlockSize(GDALGetRasterBand(dataset, 1), &block_width, &block_height);
  const auto block_rows = static_cast<std::size_t>(std::max(block_height, 1));
  if (block_rows * row_bytes <= kMaxBlockStrips * kTargetStripBytes) {
    rows = (rows + block_rows - 1) / block_rows * block_rows;  // whole blocks only
  }
  return static_cast<int>(std::min<std::size_t>(rows, static_cast<std::size_t>(height)));
}

// libjpeg only warns about a stream that ends early and GDAL pads the rest
// grey; while a strip is decoded such warnings count as failures.
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

void StoreRgb(std::uint32_t colour, std::uint8_t* pixel) {
  pixel[0] = static_cast<std::uint8_t>(colour >> 16);
  pixel[1] = static_cast<std::uint8_t>(colour >> 8);
  pixel[2] = static_cast<std::uint8_t>(colour);
}

}  // namespace

GdalStripCache::GdalStripCache(GDALDatasetH dataset, const GdalPixelFormat& format,
                               std::size_t budget_bytes)
    : dataset_(dataset),
      format_(format),
      width_(GDALGetRasterXSize(dataset)),
      height_(GDALGetRasterYSize(dataset)),
      bytes_per_pixel_(format.storage == GdalStorage::kOneByte ? 1 : 3),
      row_bytes_(static_cast<std::size_t>(width_) * bytes_per_pixel_),
      rows_per_strip_(ChooseStripRows(dataset, row_bytes_, height_)) {
  const std::size_t strip_bytes = row_bytes_ * static_cast<std::size_t>(rows_per_strip_);
  max_resident_ = std::max<std::size_t>(1, budget_bytes / std::max<std::size_t>(1, strip_bytes));
  const auto strip_count =
      static_cast<std::size_t>((height_ + rows_per_strip_ - 1) / rows_per_strip_);
  try {
    strips_.resize(strip_count);
    resident_.reserve(std::min(max_resident_, strip_count));
  } catch (const std::bad_alloc&) {
    strips_.clear();
    Fail(kConvNoMemory);
  }
}

void GdalStripCache::Fail(ConversionStatus status) {
  if (status_ == kConvOk) status_ = status;
}

const std::uint8_t* GdalStripCache::SlowRow(int y) {
  const auto index = static_cast<std::size_t>(y / rows_per_strip_);
  if (y < 0 || index >= strips_.size()) return nullptr;
  std::unique_ptr<Strip>& slot = strips_[index];
  if (!slot) slot = std::make_unique<Strip>();
  Strip& strip = *slot;
  if (strip.failed) return nullptr;
  if (strip.pixels.empty()) {
    MakeRoom();
    const ConversionStatus status = Decode(static_cast<int>(index), &strip);
    if (status != kConvOk) {
      strip.failed = true;
      strip.pixels = {};
      Fail(status);
      return nullptr;
    }
    resident_.push_back(static_cast<int>(index));
  }
  strip.last_use = ++clock_;
  current_ = strip.pixels.data();
  current_first_ = static_cast<int>(index) * rows_per_strip_;
  current_end_ = std::min(current_first_ + rows_per_strip_, height_);
  return current_ + static_cast<std::size_t>(y - current_first_) * row_bytes_;
}

void GdalStripCache::MakeRoom() {
  while (!resident_.empty() && resident_.size() >= max_resident_) {
    auto oldest = std::min_element(resident_.begin(), resident_.end(), [this](int a, int b) {
      return strips_[static_cast<std::size_t>(a)]->last_use <
             strips_[static_cast<std::size_t>(b)]->last_use;
    });
    Strip& strip = *strips_[static_cast<std::size_t>(*oldest)];
    if (strip.pixels.data() == current_) {
      current_ = nullptr;
      current_first_ = current_end_ = 0;
    }
    strip.pixels = {};  // gives the memory back
    resident_.erase(oldest);
  }
}

ConversionStatus GdalStripCache::Decode(int strip_index, Strip* strip) {
  const int first_row = strip_index * rows_per_strip_;
  const int rows = std::min(rows_per_strip_, height_ - first_row);
  try {
    strip->pixels.resize(row_bytes_ * static_cast<std::size_t>(rows));
  } catch (const std::bad_alloc&) {
    return kConvNoMemory;
  }
  ++decode_count_;
  QuietGdalErrors quiet;
  StrictJpegDecoding strict;
  if (format_.sixteen_bit) return ReadWideBands(first_row, rows, strip->pixels.data());
  return ReadBands(first_row, rows, strip->pixels.data());
}

// Byte samples go straight into place, interleaved by GDAL.
ConversionStatus GdalStripCache::ReadBands(int first_row, int rows, std::uint8_t* pixels) {
  int band_map[3] = {1, 2, 3};
  const CPLErr result = GDALDatasetRasterIOEx(dataset_, GF_Read, 0, first_row, width_, rows, pixels,
                                              width_, rows, GDT_Byte, format_.bands, band_map,
                                              static_cast<GSpacing>(bytes_per_pixel_),
                                              static_cast<GSpacing>(row_bytes_), 1, nullptr);
  return result == CE_None ? kConvOk : kConvDecoderFailed;
}

// 16-bit samples keep their high byte; 16-bit palette indices are looked up.
ConversionStatus GdalStripCache::ReadWideBands(int first_row, int rows, std::uint8_t* pixels) {
  const std::size_t samples = static_cast<std::size_t>(width_) * static_cast<std::size_t>(rows) *
                              static_cast<std::size_t>(format_.bands);
  std::vector<std::uint16_t> wide;
  try {
    wide.resize(samples);
  } catch (const std::bad_alloc&) {
    return kConvNoMemory;
  }
  int band_map[3] = {1, 2, 3};
  const GSpacing sample_bytes = sizeof(std::uint16_t);
  const GSpacing pixel_bytes = sample_bytes * format_.bands;
  const CPLErr result = GDALDatasetRasterIOEx(
      dataset_, GF_Read, 0, first_row, width_, rows, wide.data(), width_, rows, GDT_UInt16,
      format_.bands, band_map, pixel_bytes, pixel_bytes * width_, sample_bytes, nullptr);
  if (result != CE_None) return kConvDecoderFailed;
  if (format_.expand_palette) {
    const std::vector<std::uint32_t>& palette = format_.palette;
    for (std::size_t i = 0; i < samples; ++i) {
      StoreRgb(wide[i] < palette.size() ? palette[wide[i]] : 0, pixels + 3 * i);
    }
  } else {
    for (std::size_t i = 0; i < samples; ++i) pixels[i] = static_cast<std::uint8_t>(wide[i] >> 8);
  }
  return kConvOk;
}

}  // namespace kv
