#ifndef KORVALE_BITMAP_CONVERSION_OPTIONS_H_
#define KORVALE_BITMAP_CONVERSION_OPTIONS_H_

// The options passed with each conversion of a source image into a Palm
// bitmap, and the tile scale of the conversion settings.

#include <cstdint>

namespace kv {

struct ConversionOptions {
  // Scale the whole source to fit the target size (the whole-image
  // conversion); clear for tiles.
  bool fitToSize = false;
  // Top-left source pixel of the tile window (0 for the whole image).
  std::uint16_t originX = 0;
  std::uint16_t originY = 0;
  // Requested output size.
  std::uint16_t targetWidth = 0;
  std::uint16_t targetHeight = 0;
  std::uint8_t minDepth = 1;
  // The user's colour-depth choice.
  std::uint8_t maxDepth = 16;
  // The source is the bytes of a complete BMP file.
  bool sourceIsBmp = false;
  // Build a new custom colour table (whole image) or reuse the current one
  // (tiles).
  bool buildPalette = false;
};

// Output pixels per source pixel for tiles: 1/1, 1/2 or 1/4.
struct ScaleRatio {
  int scaleNum = 1;
  int scaleDen = 1;
};

}  // namespace kv

#endif  // KORVALE_BITMAP_CONVERSION_OPTIONS_H_
