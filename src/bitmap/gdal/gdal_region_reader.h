#ifndef KORVALE_BITMAP_GDAL_GDAL_REGION_READER_H_
#define KORVALE_BITMAP_GDAL_GDAL_REGION_READER_H_

// Reads a window of an image file at the size it is to be shown: GDAL
// samples the window into a buffer of the wanted size (nearest pixel), and
// takes the file's overviews when the buffer is smaller than the window, so
// a zoomed-out view of a big file never decodes it at full resolution.

#include <memory>
#include <string>

#include "bitmap/conversion_status.h"
#include "bitmap/rgb_image.h"

namespace kv {

// A window of source pixels.
struct SourceWindow {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The most pixels one Read may produce; views ask for a screenful.
inline constexpr long long kMaxRegionPixels = 64LL * 1024 * 1024;

class GdalRegionReader {
 public:
  // ConversionStatus::kOpenFailed when the path is not an ordinary file or GDAL cannot
  // read it as a raster; *reader stays empty then.
  static ConversionStatus Open(const std::string& path, std::unique_ptr<GdalRegionReader>* reader);

  GdalRegionReader(const GdalRegionReader&) = delete;
  GdalRegionReader& operator=(const GdalRegionReader&) = delete;
  ~GdalRegionReader();

  int width() const { return width_; }
  int height() const { return height_; }

  // The window sampled into out_width x out_height pixels, red, green, blue,
  // top row first. ConversionStatus::kMalformed for a window outside the image or an
  // empty size, ConversionStatus::kTooBig past kMaxRegionPixels, ConversionStatus::kDecoderFailed
  // when GDAL fails to decode.
  ConversionStatus Read(const SourceWindow& window, int out_width, int out_height,
                        RgbImage* out) const;

 private:
  // The open dataset and how its pixels are read; kept out of this header
  // so that callers need no GDAL headers.
  struct Dataset;

  explicit GdalRegionReader(std::unique_ptr<Dataset> dataset);

  std::unique_ptr<Dataset> dataset_;
  int width_;
  int height_;
};

}  // namespace kv

#endif  // KORVALE_BITMAP_GDAL_GDAL_REGION_READER_H_
