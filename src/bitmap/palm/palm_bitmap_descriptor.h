#ifndef KORVALE_BITMAP_PALM_PALM_BITMAP_DESCRIPTOR_H_
#define KORVALE_BITMAP_PALM_PALM_BITMAP_DESCRIPTOR_H_

// The working form of one Palm OS bitmap: its header fields, pixel data,
// colour table and direct-colour block.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "bitmap/conversion_status.h"
#include "bitmap/palm/colour_table.h"

namespace kv {

// The flags' names, and directColorBlock's, are the Palm bitmap format's own,
// spelling included.
inline constexpr std::uint16_t kBitmapFlagCompressed = 0x8000;
inline constexpr std::uint16_t kBitmapFlagHasColorTable = 0x4000;
inline constexpr std::uint16_t kBitmapFlagHasTransparency = 0x2000;
inline constexpr std::uint16_t kBitmapFlagDirectColor = 0x0400;

inline constexpr std::uint8_t kCompressionScanline = 0;
inline constexpr std::uint8_t kCompressionRle = 1;
inline constexpr std::uint8_t kCompressionNone = 255;

// Palm OS keeps a bitmap's pixel data length in 16 bits.
inline constexpr std::size_t kMaxPixelDataLength = 65535;

struct PalmBitmapDescriptor {
  std::uint16_t width = 0;
  std::uint16_t height = 0;
  std::uint16_t rowBytes = 0;
  std::uint16_t flags = 0;
  std::uint8_t pixelSize = 0;
  std::uint8_t version = 0;
  std::uint16_t nextDepthOffset = 0;
  std::uint8_t transparentIndex = 0;
  std::uint8_t compressionType = kCompressionNone;
  std::uint16_t reserved = 0;

  // Uncompressed: rowBytes x height bytes. Compressed: the size word and the
  // compressed rows; its size is the stored data length.
  std::vector<std::uint8_t> pixelData;

  // The table pixels are read against. It points at a system table, at the
  // current custom table (owned by the conversion's PaletteState) or at
  // ownedColourTable (tables read from a record). Only written out when
  // flags carry kBitmapFlagHasColorTable.
  const ColourTable* colourTable = nullptr;
  std::unique_ptr<ColourTable> ownedColourTable;

  // redBits, greenBits, blueBits, reserved, then the transparent colour as
  // index, red, green, blue.
  std::array<std::uint8_t, 8> directColorBlock{};

  // Filled only by the parser.
  bool hasTransparency = false;
  std::uint32_t transparentColour = 0;  // 0x00RRGGBB

  bool IsCompressed() const { return (flags & kBitmapFlagCompressed) != 0; }
  std::size_t UncompressedLength() const { return std::size_t{rowBytes} * height; }
};

// Bytes per row: width x depth bits rounded up to a multiple of 16 bits.
std::uint32_t RowBytesFor(std::uint32_t width, std::uint32_t depth);

// ConversionStatus::kOk when a bitmap of that depth and size can be created; otherwise
// the status CreatePalmBitmapDescriptor would give before allocating.
ConversionStatus CheckPalmBitmapSize(int depth, int width, int height);

// Fills a descriptor for a fresh, zero-filled bitmap. Depths above 8 get the
// direct-colour flag (and 5, 6, 5 at depth 16); depth 8 and below refer to
// the system table without flagging it until AttachColourTable.
// Status ConversionStatus::kBadDepth for an unsupported depth, ConversionStatus::kTooBig when the
// pixel data would not fit the 16-bit length, ConversionStatus::kNoMemory when allocation fails.
ConversionStatus CreatePalmBitmapDescriptor(int depth, int width, int height,
                                            PalmBitmapDescriptor* descriptor);

// With a table, or with none at a depth that has a system table, the bitmap
// carries that table (the system table for none) instead of direct colour.
// With none above depth 8 nothing changes. The table must outlive the
// descriptor.
void AttachColourTable(PalmBitmapDescriptor* descriptor, const ColourTable* table);

}  // namespace kv

#endif  // KORVALE_BITMAP_PALM_PALM_BITMAP_DESCRIPTOR_H_
