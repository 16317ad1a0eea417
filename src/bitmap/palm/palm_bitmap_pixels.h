#ifndef KORVALE_BITMAP_PALM_PALM_BITMAP_PIXELS_H_
#define KORVALE_BITMAP_PALM_PALM_BITMAP_PIXELS_H_

// Reading and writing single pixels of an uncompressed Palm bitmap.
//
// Row layout: 1-, 2- and 4-bit pixels are packed from the most significant
// bits of each byte; 8-bit pixels are one table index per byte; 16-bit
// pixels are RGB565, high byte first; 24-bit pixels are red, green, blue;
// 32-bit pixels a zero byte, then red, green, blue.

#include <cstdint>

#include "bitmap/conversion_status.h"
#include "bitmap/palm/nearest_palette_index.h"
#include "bitmap/palm/palm_bitmap_descriptor.h"

namespace kv {

// REQUIRES for all: the bitmap is uncompressed, 0 <= x < width,
// 0 <= y < height. Out-of-range coordinates give ConversionStatus::kMalformed.

// Stores a colour-table index as it is (depth 8 and below).
ConversionStatus PutPixelIndex(PalmBitmapDescriptor* bitmap, int x, int y, std::uint32_t index);

// Stores a colour (0x00RRGGBB): matched against the bitmap's colour table at
// depth 8 and below (through `matcher` when given; it must be the matcher of
// that table), packed directly above.
ConversionStatus PutPixelColour(PalmBitmapDescriptor* bitmap, int x, int y, std::uint32_t colour,
                                PaletteMatcher* matcher);

enum class PixelRead { kIndex, kColour };

// Reads a pixel as its table index (depth 8 and below) or as 0x00RRGGBB.
// Bitmaps without a table use the system table of their depth. An index the
// table does not hold gives ConversionStatus::kMalformed; an unsupported depth
// ConversionStatus::kBadDepth.
ConversionStatus GetPixel(const PalmBitmapDescriptor& bitmap, int x, int y, PixelRead read,
                          std::uint32_t* value);

}  // namespace kv

#endif  // KORVALE_BITMAP_PALM_PALM_BITMAP_PIXELS_H_
