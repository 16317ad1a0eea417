#ifndef KORVALE_MAP_MAP_CONVERSION_OPTIONS_H_
#define KORVALE_MAP_MAP_CONVERSION_OPTIONS_H_

// The options a map's bitmaps are converted with: the tile size as target,
// depth bounds from the settings. The overview adds fitToSize and
// buildPalette; tiles keep both clear.

#include <cstdint>

#include "bitmap/conversion_context.h"
#include "bitmap/conversion_options.h"
#include "map/map_layout.h"

namespace kv {

inline ConversionOptions MapTileOptions(const ConversionSettings& settings, bool source_is_bmp) {
  ConversionOptions options;
  options.targetWidth = kTileWidth;
  options.targetHeight = kTileHeight;
  options.minDepth = 1;
  options.maxDepth = static_cast<std::uint8_t>(settings.colourDepth);
  options.sourceIsBmp = source_is_bmp;
  return options;
}

}  // namespace kv

#endif  // KORVALE_MAP_MAP_CONVERSION_OPTIONS_H_
