#include "bitmap/gdal/gdal_row_reader.h"

#include <algorithm>
#include <new>

#include "bitmap/gdal/gdal_row_decoder.h"

namespace kv {
namespace {

// Bands of rows stored one by one: a few megabytes, few GDAL calls.
constexpr std::size_t kTargetBandBytes = std::size_t{4} << 20;
// Block rows up to this size are read whole; taller blocks (one strip for
// the whole image) are read a part at a time, which GDAL's cache then
// serves from the decoded block.
constexpr std::size_t kMaxBandBytes = std::size_t{64} << 20;
// Room in GDAL's cache beyond the blocks of one band: the dataset's own
// small reads (headers, masks).
constexpr std::int64_t kBlockCacheSlack = std::int64_t{16} << 20;

struct BlockSize {
  int width = 1;
  int height = 1;
};

BlockSize BlockSizeOf(GDALDatasetH dataset) {
  BlockSize size;
  GDALGetBlockSize(GDALGetRasterBand(dataset, 1), &size.width, &size.height);
  size.width = std::max(size.width, 1);
  size.height = std::max(size.height, 1);
  return size;
}

int ChooseBandRows(GDALDatasetH dataset, std::size_t row_bytes, int height) {
  const std::size_t block_rows = static_cast<std::size_t>(BlockSizeOf(dataset).height);
  const std::size_t target_rows =
      std::max<std::size_t>(1, kTargetBandBytes / std::max<std::size_t>(1, row_bytes));
  std::size_t rows = target_rows;
  if (block_rows * row_bytes <= kMaxBandBytes) {
    rows = (target_rows + block_rows - 1) / block_rows * block_rows;  // whole blocks only
  }
  return static_cast<int>(std::min<std::size_t>(rows, static_cast<std::size_t>(height)));
}

}  // namespace

// Every band of the dataset caches its own blocks, and a band of rows
// touches one row of blocks; twice that lets GDAL finish one block row
// while it starts the next.
std::int64_t GdalRowReader::BlockCacheBytes(GDALDatasetH dataset) {
  const BlockSize block = BlockSizeOf(dataset);
  const std::int64_t width = GDALGetRasterXSize(dataset);
  const std::int64_t columns = (width + block.width - 1) / block.width;
  std::int64_t block_row = 0;
  for (int band = 1; band <= GDALGetRasterCount(dataset); ++band) {
    const GDALDataType type = GDALGetRasterDataType(GDALGetRasterBand(dataset, band));
    block_row += columns * block.width * block.height * GDALGetDataTypeSizeBytes(type);
  }
  return 2 * block_row + kBlockCacheSlack;
}

GdalRowReader::GdalRowReader(GDALDatasetH dataset, const GdalPixelFormat& format, PixelMode mode)
    : dataset_(dataset),
      format_(format),
      mode_(mode),
      width_(GDALGetRasterXSize(dataset)),
      height_(GDALGetRasterYSize(dataset)),
      row_bytes_(static_cast<std::size_t>(width_) * GdalKeptBytesPerPixel(format)),
      planar_(format.storage == GdalStorage::kThreeBytes && !format.sixteen_bit),
      band_rows_(ChooseBandRows(dataset, row_bytes_, height_)),
      cache_limit_(BlockCacheBytes(dataset)) {}

ConversionStatus GdalRowReader::DecodeBandOf(int y) {
  const int first = y / band_rows_ * band_rows_;
  const int rows = std::min(band_rows_, height_ - first);
  band_end_ = band_first_ = first;  // empty while decoding
  try {
    band_.resize(row_bytes_ * static_cast<std::size_t>(rows));
  } catch (const std::bad_alloc&) {
    return ConversionStatus::kNoMemory;
  }
  ++decode_count_;
  const ConversionStatus status =
      planar_ ? DecodeGdalPlanes(dataset_, format_, first, rows, band_.data())
              : DecodeGdalRows(dataset_, format_, first, rows, band_.data());
  if (status == ConversionStatus::kOk) band_end_ = first + rows;
  return status;
}

ConversionStatus GdalRowReader::ReadRow(int y, std::uint32_t* values) {
  if (status_ != ConversionStatus::kOk) return status_;
  if (y < 0 || y >= height_) return status_ = ConversionStatus::kMalformed;
  if (y < band_first_ || y >= band_end_) {
    status_ = DecodeBandOf(y);
    if (status_ != ConversionStatus::kOk) return status_;
  }
  const auto row = static_cast<std::size_t>(y - band_first_);
  if (planar_) {
    const std::size_t plane =
        static_cast<std::size_t>(width_) * static_cast<std::size_t>(band_end_ - band_first_);
    const std::uint8_t* red = band_.data() + row * static_cast<std::size_t>(width_);
    ExpandGdalPlanes(red, red + plane, red + 2 * plane, width_, values);
  } else {
    ExpandGdalRow(format_, mode_, band_.data() + row * row_bytes_, width_, values);
  }
  return ConversionStatus::kOk;
}

}  // namespace kv
