#ifndef KORVALE_BITMAP_PALM_PALM_BITMAP_PARSER_H_
#define KORVALE_BITMAP_PALM_PALM_BITMAP_PARSER_H_

// Reads a stored Palm bitmap record (see palm_bitmap_format.h) into a
// descriptor that owns copies of everything it needs.
//
// Header checks, first failure wins: 15 bytes or fewer -> ConversionStatus::kMalformed;
// version 0 or 1 with any flag of 0x3C00 -> ConversionStatus::kMalformed; both colour
// table and direct colour -> ConversionStatus::kMalformed; pixelSize not 1, 2, 4, 8, 16,
// 24 or 32 -> ConversionStatus::kBadDepth; version 3 or above -> ConversionStatus::kBadVersion;
// rowBytes too small for width pixels -> ConversionStatus::kMalformed. Then every block must be
// there in full (ConversionStatus::kMalformed otherwise), and a transparent index must
// name an entry of the colour table.

#include <cstdint>
#include <span>

#include "bitmap/conversion_status.h"
#include "bitmap/palm/palm_bitmap_descriptor.h"

namespace kv {

// The pixel data stays as stored (compressed when flagged so).
ConversionStatus ParsePalmBitmap(std::span<const std::uint8_t> record,
                                 PalmBitmapDescriptor* bitmap);

// ParsePalmBitmap, then expands compressed data so pixels can be read.
ConversionStatus ParseAndExpandPalmBitmap(std::span<const std::uint8_t> record,
                                          PalmBitmapDescriptor* bitmap);

}  // namespace kv

#endif  // KORVALE_BITMAP_PALM_PALM_BITMAP_PARSER_H_
