#include "bitmap/gdal/gdal_region_reader.h"

#include <gdal.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <new>
#include <system_error>
#include <vector>

#include "bitmap/gdal/gdal_pixel_format.h"
#include "bitmap/gdal/gdal_runtime.h"
#include "bitmap/rgb_colour.h"

namespace kv {
namespace {

bool IsOrdinaryFile(const std::string& path) {
  if (path.empty() || path.find('\0') != std::string::npos) return false;
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

// One sample as the byte the program keeps: wide samples keep their high
// byte, as the conversion does.
template <typename Sample>
std::uint8_t KeptByte(Sample sample) {
  if constexpr (sizeof(Sample) == 1) {
    return sample;
  } else {
    return static_cast<std::uint8_t>(sample >> 8);
  }
}

template <typename Sample>
void ExpandToRgb(const GdalPixelFormat& format, const std::vector<Sample>& samples,
                 std::uint8_t* rgb) {
  const std::size_t pixels = samples.size() / static_cast<std::size_t>(format.bands);
  if (format.expand_palette) {
    const std::vector<std::uint32_t>& palette = format.palette;
    for (std::size_t i = 0; i < pixels; ++i) {
      StoreRgb(samples[i] < palette.size() ? palette[samples[i]] : 0, rgb + 3 * i);
    }
  } else if (format.storage == GdalStorage::kOneByte) {
    for (std::size_t i = 0; i < pixels; ++i)
      StoreRgb(format.colours[KeptByte(samples[i])], rgb + 3 * i);
  } else {
    for (std::size_t i = 0; i < 3 * pixels; ++i) rgb[i] = KeptByte(samples[i]);
  }
}

template <typename Sample>
ConversionStatus ReadSamples(GDALDatasetH dataset, const GdalPixelFormat& format,
                             const SourceWindow& window, int out_width, int out_height,
                             std::uint8_t* rgb) {
  std::vector<Sample> samples;
  try {
    samples.resize(static_cast<std::size_t>(out_width) * static_cast<std::size_t>(out_height) *
                   static_cast<std::size_t>(format.bands));
  } catch (const std::bad_alloc&) {
    return ConversionStatus::kNoMemory;
  }
  const GDALDataType type = sizeof(Sample) == 1 ? GDT_Byte : GDT_UInt16;
  int band_map[3] = {1, 2, 3};
  const GSpacing sample_bytes = sizeof(Sample);
  const GSpacing pixel_bytes = sample_bytes * format.bands;
  GDALRasterIOExtraArg sampling;
  INIT_RASTERIO_EXTRA_ARG(sampling);
  sampling.eResampleAlg = GRIORA_NearestNeighbour;
  QuietGdalErrors quiet;
  const CPLErr result =
      GDALDatasetRasterIOEx(dataset, GF_Read, window.x, window.y, window.width, window.height,
                            samples.data(), out_width, out_height, type, format.bands, band_map,
                            pixel_bytes, pixel_bytes * out_width, sample_bytes, &sampling);
  if (result != CE_None) return ConversionStatus::kDecoderFailed;
  ExpandToRgb(format, samples, rgb);
  return ConversionStatus::kOk;
}

}  // namespace

struct GdalRegionReader::Dataset {
  explicit Dataset(GDALDatasetH opened)
      : handle(opened), format(DescribeGdalPixels(opened, ImageSourceKind::kRaster)) {}
  ~Dataset() {
    QuietGdalErrors quiet;
    GDALClose(handle);
  }
  Dataset(const Dataset&) = delete;
  Dataset& operator=(const Dataset&) = delete;

  GDALDatasetH handle;
  GdalPixelFormat format;
};

ConversionStatus GdalRegionReader::Open(const std::string& path,
                                        std::unique_ptr<GdalRegionReader>* reader) {
  reader->reset();
  if (!IsOrdinaryFile(path)) return ConversionStatus::kOpenFailed;
  EnsureGdalDriversRegistered();
  QuietGdalErrors quiet;
  GDALDatasetH handle =
      GDALOpenEx(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY, nullptr, nullptr, nullptr);
  if (handle == nullptr) return ConversionStatus::kOpenFailed;
  if (GDALGetRasterCount(handle) < 1 || GDALGetRasterXSize(handle) < 1 ||
      GDALGetRasterYSize(handle) < 1) {
    GDALClose(handle);
    return ConversionStatus::kOpenFailed;
  }
  std::unique_ptr<Dataset> dataset;
  try {
    dataset = std::make_unique<Dataset>(handle);
  } catch (const std::bad_alloc&) {
    GDALClose(handle);
    return ConversionStatus::kNoMemory;
  }
  try {
    reader->reset(new GdalRegionReader(std::move(dataset)));
  } catch (const std::bad_alloc&) {
    return ConversionStatus::kNoMemory;
  }
  return ConversionStatus::kOk;
}

GdalRegionReader::GdalRegionReader(std::unique_ptr<Dataset> dataset)
    : dataset_(std::move(dataset)),
      width_(GDALGetRasterXSize(dataset_->handle)),
      height_(GDALGetRasterYSize(dataset_->handle)) {}

GdalRegionReader::~GdalRegionReader() = default;

ConversionStatus GdalRegionReader::Read(const SourceWindow& window, int out_width, int out_height,
                                        RgbImage* out) const {
  if (window.width <= 0 || window.height <= 0 || window.x < 0 || window.y < 0 ||
      window.x > width_ - window.width || window.y > height_ - window.height || out_width <= 0 ||
      out_height <= 0) {
    return ConversionStatus::kMalformed;
  }
  if (static_cast<long long>(out_width) * out_height > kMaxRegionPixels)
    return ConversionStatus::kTooBig;
  try {
    out->rgb.resize(std::size_t{3} * static_cast<std::size_t>(out_width) *
                    static_cast<std::size_t>(out_height));
  } catch (const std::bad_alloc&) {
    return ConversionStatus::kNoMemory;
  }
  out->width = out_width;
  out->height = out_height;
  const GdalPixelFormat& format = dataset_->format;
  const bool wide = format.sixteen_bit || format.expand_palette;
  return wide ? ReadSamples<std::uint16_t>(dataset_->handle, format, window, out_width, out_height,
                                           out->rgb.data())
              : ReadSamples<std::uint8_t>(dataset_->handle, format, window, out_width, out_height,
                                          out->rgb.data());
}

}  // namespace kv
