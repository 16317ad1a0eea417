#include "bitmap/gdal/gdal_strip_cache.h"

#include <algorithm>
#include <new>

#include "bitmap/gdal/gdal_row_decoder.h"

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

}  // namespace

GdalStripCache::GdalStripCache(GDALDatasetH dataset, const GdalPixelFormat& format,
                               std::size_t budget_bytes)
    : dataset_(dataset),
      format_(format),
      width_(GDALGetRasterXSize(dataset)),
      height_(GDALGetRasterYSize(dataset)),
      bytes_per_pixel_(GdalKeptBytesPerPixel(format)),
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
    Fail(ConversionStatus::kNoMemory);
  }
}

void GdalStripCache::Fail(ConversionStatus status) {
  if (status_ == ConversionStatus::kOk) status_ = status;
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
    if (status != ConversionStatus::kOk) {
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
    return ConversionStatus::kNoMemory;
  }
  ++decode_count_;
  return DecodeGdalRows(dataset_, format_, first_row, rows, strip->pixels.data());
}

}  // namespace kv
