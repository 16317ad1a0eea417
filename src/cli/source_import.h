#ifndef KORVALE_CLI_SOURCE_IMPORT_H_
#define KORVALE_CLI_SOURCE_IMPORT_H_

#include <string>

#include "map/c_image_container.h"

namespace kv::cli {

// Adds the image file at `path` to the container, converted into its
// overview and tiles: BMP files as bytes, "kap"/"cap" charts and everything
// else through the image library. Failures name the path.
CImage& ImportSourceImage(CImageContainer& container, const std::string& path,
                          const std::string& name, ConversionSettings& settings);

}  // namespace kv::cli

#endif  // KORVALE_CLI_SOURCE_IMPORT_H_
