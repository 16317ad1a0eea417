#include "bitmap/gdal/gdal_image_source.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <new>
#include <system_error>

#include "bitmap/gdal/gdal_row_reader.h"
#include "bitmap/gdal/gdal_runtime.h"
#include "bitmap/rgb_colour.h"

namespace kv {
namespace {

GDALDatasetH OpenDataset(const std::string& file_name, ImageSourceKind kind) {
  static const char* const kChartDrivers[] = {"BSB", nullptr};
  const char* const* drivers = kind == ImageSourceKind::kChart ? kChartDrivers : nullptr;
  return GDALOpenEx(file_name.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY, drivers, nullptr,
                    nullptr);
}

// GDAL would also take connection strings, URLs and names inside archives;
// a source is a file the user picked.
bool IsOrdinaryFile(const std::string& file_name) {
  if (file_name.empty() || file_name.find('\0') != std::string::npos) return false;
  std::error_code error;
  return std::filesystem::is_regular_file(file_name, error);
}

// Tells a file that is missing or may not be read from one that GDAL does
// not recognise.
bool IsReadable(const std::string& file_name) {
  std::FILE* file = std::fopen(file_name.c_str(), "rb");
  if (file == nullptr) return false;
  std::fclose(file);
  return true;
}

bool HasPixels(GDALDatasetH dataset) {
  return GDALGetRasterCount(dataset) >= 1 && GDALGetRasterXSize(dataset) >= 1 &&
         GDALGetRasterYSize(dataset) >= 1;
}

}  // namespace

void GdalImageSource::DatasetCloser::operator()(GDALDatasetH dataset) const {
  QuietGdalErrors quiet;
  GDALClose(dataset);
}

ConversionStatus GdalImageSource::Open(const std::string& file_name, ImageSourceKind kind,
                                       std::size_t cache_bytes, ImageSourcePtr* source) {
  source->reset();
  if (kind != ImageSourceKind::kRaster && kind != ImageSourceKind::kChart)
    return ConversionStatus::kOpenFailed;
  if (!IsOrdinaryFile(file_name) || !IsReadable(file_name)) return ConversionStatus::kOpenFailed;
  EnsureGdalDriversRegistered();
  QuietGdalErrors quiet;
  Dataset dataset(OpenDataset(file_name, kind));
  if (!dataset || !HasPixels(dataset.get())) return ConversionStatus::kNotAnImage;
  try {
    source->reset(new GdalImageSource(std::move(dataset), kind, cache_bytes));
  } catch (const std::bad_alloc&) {
    return ConversionStatus::kNoMemory;
  }
  return ConversionStatus::kOk;
}

GdalImageSource::GdalImageSource(Dataset dataset, ImageSourceKind kind, std::size_t cache_bytes)
    : dataset_(std::move(dataset)),
      kind_(kind),
      width_(GDALGetRasterXSize(dataset_.get())),
      height_(GDALGetRasterYSize(dataset_.get())),
      format_(DescribeGdalPixels(dataset_.get(), kind)),
      reference_(kind == ImageSourceKind::kChart ? ReadChartReference(dataset_.get())
                                                 : ChartReference{}),
      cache_(dataset_.get(), format_, cache_bytes) {}

GdalImageSource::~GdalImageSource() = default;

std::uint32_t GdalImageSource::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  const std::uint8_t* row = cache_.Row(y);
  if (row == nullptr) return 0;
  if (format_.storage == GdalStorage::kOneByte) {
    const std::uint8_t stored = row[x];
    if (mode_ == PixelMode::kIndex && format_.has_palette) return stored;
    return format_.colours[stored];
  }
  const std::uint8_t* pixel = row + 3 * static_cast<std::size_t>(x);
  return LoadRgb(pixel);
}

void GdalImageSource::PixelsOfRow(std::span<const int> xs, int y, std::uint32_t* values) const {
  const std::uint8_t* row = (y < 0 || y >= height_) ? nullptr : cache_.Row(y);
  if (row == nullptr) {
    std::fill(values, values + xs.size(), 0u);
    return;
  }
  const bool indices = format_.storage == GdalStorage::kOneByte;
  const bool raw_index = indices && mode_ == PixelMode::kIndex && format_.has_palette;
  for (std::size_t i = 0; i < xs.size(); ++i) {
    const int x = xs[i];
    if (x < 0 || x >= width_) {
      values[i] = 0;
    } else if (indices) {
      const std::uint8_t stored = row[x];
      values[i] = raw_index ? stored : format_.colours[stored];
    } else {
      const std::uint8_t* pixel = row + 3 * static_cast<std::size_t>(x);
      values[i] = LoadRgb(pixel);
    }
  }
}

std::unique_ptr<SourceRowReader> GdalImageSource::OpenRowReader() const {
  return std::make_unique<GdalRowReader>(dataset_.get(), format_, mode_);
}

SourcePaletteKind GdalImageSource::PaletteKind() const {
  return kind_ == ImageSourceKind::kChart && format_.has_palette ? SourcePaletteKind::kChart
                                                                 : SourcePaletteKind::kNone;
}

ConversionStatus GdalImageSource::Palette(std::vector<std::uint32_t>* entries) const {
  entries->clear();
  if (PaletteKind() != SourcePaletteKind::kChart) return ConversionStatus::kOk;
  try {
    *entries = format_.palette;
  } catch (const std::bad_alloc&) {
    return ConversionStatus::kNoMemory;
  }
  return ConversionStatus::kOk;
}

}  // namespace kv
