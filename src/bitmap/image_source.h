#ifndef KORVALE_BITMAP_IMAGE_SOURCE_H_
#define KORVALE_BITMAP_IMAGE_SOURCE_H_

// An open source image that is not a BMP file: any raster the image library
// reads (kind 1: JPEG, PNG, GIF, TIFF ...) or a nautical chart picture
// ("kap"/"cap", kind 2). Sources are opened and released through
// ImageSourceLibrary; the encoder reads them as PixelSources.
//
// A source decodes its pixels in strips and keeps them, so reading pixels
// row by row or window by window costs one decode per strip. It is not safe
// to read one source from two threads at once.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "bitmap/conversion_status.h"
#include "bitmap/pixel_source.h"

namespace kv {

enum class ImageSourceKind : int {
  kRaster = 1,  // any raster image the library decodes
  kChart = 2,   // a BSB nautical chart: palette and reference points
};

// One reference point of a chart: where a known position lies in the image.
struct ChartReferencePoint {
  double pixel_x = 0;    // pixels from the left edge
  double pixel_y = 0;    // pixels from the top edge
  double latitude = 0;   // degrees north, in the chart's datum
  double longitude = 0;  // degrees east
};

class ImageSource : public PixelSource {
 public:
  virtual ImageSourceKind kind() const = 0;

  // The first failure met while decoding pixels: ConversionStatus::kDecoderFailed when
  // the file's data is damaged, ConversionStatus::kNoMemory when a strip could not be
  // held. Pixels that could not be decoded read as 0; a caller that has
  // read pixels checks this before it trusts them.
  virtual ConversionStatus read_status() const = 0;

  // Kind 2 only (empty otherwise): the chart's reference points and the
  // coordinate system of its datum as WKT.
  virtual const std::vector<ChartReferencePoint>& reference_points() const = 0;
  virtual const std::string& geographic_system_wkt() const = 0;
};

using ImageSourcePtr = std::unique_ptr<ImageSource>;

// Width, height and bits per pixel as the encoder takes them. 11 when a
// side does not fit in 16 bits.
ConversionStatus QueryImageSource(const ImageSource& source, std::uint16_t* width,
                                  std::uint16_t* height, int* depth);

}  // namespace kv

#endif  // KORVALE_BITMAP_IMAGE_SOURCE_H_
