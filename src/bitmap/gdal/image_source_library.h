#ifndef KORVALE_BITMAP_GDAL_IMAGE_SOURCE_LIBRARY_H_
#define KORVALE_BITMAP_GDAL_IMAGE_SOURCE_LIBRARY_H_

// Opens and releases image sources. One library object serves a document;
// the image library behind it is started the first time a source is opened
// and stays available until the library is shut down.

#include <cstddef>
#include <string>

#include "bitmap/conversion_status.h"
#include "bitmap/image_source.h"

namespace kv {

// Decoded pixels a source may keep. A map of 4096 × 4096 pixels in colour
// needs 48 MiB; larger ones are decoded again where they are read again.
inline constexpr std::size_t kDefaultImageCacheBytes = std::size_t{256} << 20;

class ImageSourceLibrary {
 public:
  explicit ImageSourceLibrary(std::size_t cache_bytes_per_source = kDefaultImageCacheBytes)
      : cache_bytes_(cache_bytes_per_source) {}

  // File names are UTF-8. ConversionStatus::kOpenFailed when the file is missing or may
  // not be read (or after ShutDown), ConversionStatus::kNotAnImage when it reads but is
  // not an image of that kind; *source is then empty.
  ConversionStatus Open(const std::string& file_name, ImageSourceKind kind, ImageSourcePtr* source);
  // Closes the source's file; releasing none does nothing.
  void Release(ImageSourcePtr* source);
  // Refuses further opens. Sources already open stay readable until they
  // are released. GDAL's own process state is shared with other readers
  // (GeoTIFF calibration) and ends with the process.
  void ShutDown() { shut_down_ = true; }
  bool is_shut_down() const { return shut_down_; }

 private:
  std::size_t cache_bytes_;
  bool shut_down_ = false;
};

}  // namespace kv

#endif  // KORVALE_BITMAP_GDAL_IMAGE_SOURCE_LIBRARY_H_
