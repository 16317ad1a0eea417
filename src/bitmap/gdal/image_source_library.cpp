#include "bitmap/gdal/image_source_library.h"

#include "bitmap/gdal/gdal_image_source.h"

namespace kv {

ConversionStatus ImageSourceLibrary::Open(const std::string& file_name, ImageSourceKind kind,
                                          ImageSourcePtr* source) {
  source->reset();
  if (shut_down_) return ConversionStatus::kOpenFailed;
  return GdalImageSource::Open(file_name, kind, cache_bytes_, source);
}

void ImageSourceLibrary::Release(ImageSourcePtr* source) { source->reset(); }

}  // namespace kv
