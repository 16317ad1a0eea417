#ifndef KORVALE_BITMAP_PALM_BITMAP_COMPRESSION_H_
#define KORVALE_BITMAP_PALM_BITMAP_COMPRESSION_H_

// Compressing a Palm bitmap's pixel data when that makes it smaller, and
// expanding stored compressed data again.

#include "bitmap/conversion_status.h"
#include "bitmap/palm/palm_bitmap_descriptor.h"

namespace kv {

// Compression requests of the conversion: 253 compresses when that makes the
// data smaller; 255 (and any other value) leaves the data as it is.
inline constexpr int kCompressWhenSmaller = 253;
inline constexpr int kCompressNever = 255;

// The size word of compressed data is 16 bits.
inline constexpr std::size_t kMaxCompressedTotal = 65535;

// With kCompressWhenSmaller, tries scanline and then (version 2 and above)
// RLE compression, and keeps the smallest result when it is strictly smaller
// than the uncompressed data and within kMaxCompressedTotal; on equal sizes
// scanline stays. Compression never fails a conversion: a candidate that
// cannot be built is skipped.
void CompressPalmBitmap(PalmBitmapDescriptor* bitmap, int request);

// Expands compressed data in place (nothing to do for uncompressed data).
// Never reads past the stored data: a stream that ends before the last row
// is ConversionStatus::kMalformed, as is a compression type other than scanline or RLE;
// ConversionStatus::kNoMemory when the expanded data cannot be allocated.
ConversionStatus DecompressPalmBitmap(PalmBitmapDescriptor* bitmap);

}  // namespace kv

#endif  // KORVALE_BITMAP_PALM_BITMAP_COMPRESSION_H_
