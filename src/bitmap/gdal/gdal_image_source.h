#ifndef KORVALE_BITMAP_GDAL_GDAL_IMAGE_SOURCE_H_
#define KORVALE_BITMAP_GDAL_GDAL_IMAGE_SOURCE_H_

// ImageSource over a GDAL dataset. Internal: callers open sources through
// ImageSourceLibrary and see only ImageSource.

#include <gdal.h>

#include <cstddef>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "bitmap/gdal/gdal_chart_reference.h"
#include "bitmap/gdal/gdal_pixel_format.h"
#include "bitmap/gdal/gdal_strip_cache.h"
#include "bitmap/image_source.h"

namespace kv {

class GdalImageSource final : public ImageSource {
 public:
  // ConversionStatus::kOpenFailed when the file is missing, not an ordinary file or may
  // not be read; ConversionStatus::kNotAnImage when GDAL does not recognise it (as a BSB
  // chart for kind 2). *source stays empty then.
  static ConversionStatus Open(const std::string& file_name, ImageSourceKind kind,
                               std::size_t cache_bytes, ImageSourcePtr* source);

  ~GdalImageSource() override;
  GdalImageSource(const GdalImageSource&) = delete;
  GdalImageSource& operator=(const GdalImageSource&) = delete;

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  int Depth() const override { return format_.depth; }
  void SetPixelMode(PixelMode mode) override { mode_ = mode; }
  // Colours 0x00RRGGBB. In index mode a paletted image gives its indices.
  std::uint32_t Pixel(int x, int y) const override;
  void PixelsOfRow(std::span<const int> xs, int y, std::uint32_t* values) const override;
  // Reads past the strip cache, band by band (gdal_row_reader.h).
  std::unique_ptr<SourceRowReader> OpenRowReader() const override;
  SourcePaletteKind PaletteKind() const override;
  ConversionStatus Palette(std::vector<std::uint32_t>* entries) const override;

  ImageSourceKind kind() const override { return kind_; }
  ConversionStatus read_status() const override { return cache_.status(); }
  const std::vector<ChartReferencePoint>& reference_points() const override {
    return reference_.points;
  }
  const std::string& geographic_system_wkt() const override {
    return reference_.geographic_system_wkt;
  }

  const GdalStripCache& cache() const { return cache_; }

 private:
  struct DatasetCloser {
    void operator()(GDALDatasetH dataset) const;
  };
  using Dataset = std::unique_ptr<std::remove_pointer_t<GDALDatasetH>, DatasetCloser>;

  GdalImageSource(Dataset dataset, ImageSourceKind kind, std::size_t cache_bytes);

  Dataset dataset_;
  ImageSourceKind kind_;
  int width_;
  int height_;
  GdalPixelFormat format_;
  ChartReference reference_;
  PixelMode mode_ = PixelMode::kColour;
  mutable GdalStripCache cache_;  // declared after format_, which it reads
};

}  // namespace kv

#endif  // KORVALE_BITMAP_GDAL_GDAL_IMAGE_SOURCE_H_
