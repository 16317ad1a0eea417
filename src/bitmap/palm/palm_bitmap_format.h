#ifndef KORVALE_BITMAP_PALM_PALM_BITMAP_FORMAT_H_
#define KORVALE_BITMAP_PALM_PALM_BITMAP_FORMAT_H_

// The stored form of a Palm OS bitmap record (all numbers big-endian):
//
//   0  width            u16      8  pixelSize        u8
//   2  height           u16      9  version          u8
//   4  rowBytes         u16     10  nextDepthOffset  u16
//   6  flags            u16     12  transparentIndex u8
//                               13  compressionType  u8
//                               14  reserved         u16 (always 0)
//   16 colour table         when flags has 0x4000 (see colour_table.h)
//      direct-colour block  when flags has 0x0400 (8 bytes)
//      pixel data           rowBytes x height bytes, or when compressed a
//                           size word (bytes after it) and the rows
//      two zero bytes       when the data length modulo 4 is 2 or 3

#include <cstddef>

#include "bitmap/conversion_status.h"
#include "bitmap/palm/palm_bitmap_descriptor.h"
#include "pdb/output_buffer.h"

namespace kv {

inline constexpr std::size_t kPalmBitmapHeaderSize = 16;
inline constexpr std::size_t kDirectColorBlockSize = 8;

// Appends the record; ConversionStatus::kNoMemory when an append fails.
ConversionStatus SerialisePalmBitmap(const PalmBitmapDescriptor& bitmap, OutputBuffer* output);

}  // namespace kv

#endif  // KORVALE_BITMAP_PALM_PALM_BITMAP_FORMAT_H_
