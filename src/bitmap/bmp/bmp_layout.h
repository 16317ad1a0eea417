#ifndef KORVALE_BITMAP_BMP_BMP_LAYOUT_H_
#define KORVALE_BITMAP_BMP_BMP_LAYOUT_H_

// Windows BMP files held whole in memory. Fields used, little-endian:
//   0   signature "BM"
//   10  pixel data offset u32, from the start of the file
//   14  info header size u32; the colour table follows the info header
//   18  width s32
//   22  height s32; positive = rows stored bottom-up, negative = top-down
//   28  bits per pixel u16 (its low byte is the depth)
//   30  compression u32, only 0 (uncompressed) is read
//   46  colours used u32, 0 = 2^depth
// Colour table entries are blue, green, red, reserved. Rows are padded to a
// multiple of 4 bytes.
//
// ParseBmp checks everything a pixel read relies on, so that a reader set up
// from a successful parse never looks outside the file.

#include <cstdint>
#include <span>
#include <string>

#include "bitmap/conversion_status.h"

namespace kv {

inline constexpr std::uint32_t kBmpMinSide = 10;
inline constexpr std::uint32_t kBmpMaxSide = 65535;
// The Windows BITMAPINFOHEADER; the older 12-byte OS/2 header has another
// layout and is refused.
inline constexpr std::uint32_t kBmpInfoHeaderSize = 40;
inline constexpr std::size_t kBmpFileHeaderSize = 14;
// Blue, green, red and a reserved byte.
inline constexpr std::uint32_t kBmpColourEntrySize = 4;

struct BmpLayout {
  std::uint16_t width = 0;
  std::uint16_t height = 0;
  std::uint8_t depth = 0;
  bool bottom_up = true;
  std::uint32_t stride = 0;  // bytes per stored row, padding included
  std::uint64_t pixel_offset = 0;
  std::uint64_t colour_table_offset = 0;
  // Entries stored in the file (depth 8 and below): the colours-used field
  // when it is 1 to 2^depth, else 2^depth. 0 for direct-colour depths.
  std::uint32_t colour_table_entries = 0;
};

// Bytes in one row: ((depth × width + 31) / 32) × 4.
std::uint32_t BmpStride(std::uint32_t width, std::uint32_t depth);

// Statuses, first rule that applies:
//   10  not "BM"; header cut short or older than the Windows info header;
//       negative width
//   12  width or height below 10
//   11  width or height above 65535
//   10  depth other than 1, 2, 4, 8, 16, 24, 32
//   14  compressed; *conversion_message becomes "RLE8", "RLE4" or
//       "Unknown: <hex>x"
//   10  info header, colour table or any pixel row beyond the end of the file
// *layout is filled only on success; the message only with status 14.
ConversionStatus ParseBmp(std::span<const std::uint8_t> bytes, BmpLayout* layout,
                          std::string* conversion_message);

}  // namespace kv

#endif  // KORVALE_BITMAP_BMP_BMP_LAYOUT_H_
