#include "bitmap/palm/palm_bitmap_descriptor.h"

#include <new>

#include "bitmap/palm/system_colour_tables.h"

namespace kv {

std::uint32_t RowBytesFor(std::uint32_t width, std::uint32_t depth) {
  const std::uint64_t bits = std::uint64_t{width} * depth + 15;
  return static_cast<std::uint32_t>((bits / 16 * 16) / 8);
}

ConversionStatus CheckPalmBitmapSize(int depth, int width, int height) {
  if (!IsSupportedDepth(depth)) return ConversionStatus::kBadDepth;
  if (width < 0 || height < 0 || width > 0xFFFF || height > 0xFFFF)
    return ConversionStatus::kTooBig;
  const std::uint32_t row_bytes =
      RowBytesFor(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(depth));
  const std::uint64_t length = std::uint64_t{row_bytes} * static_cast<std::uint64_t>(height);
  if (row_bytes > 0xFFFF || length > kMaxPixelDataLength) return ConversionStatus::kTooBig;
  return ConversionStatus::kOk;
}

ConversionStatus CreatePalmBitmapDescriptor(int depth, int width, int height,
                                            PalmBitmapDescriptor* descriptor) {
  const ConversionStatus status = CheckPalmBitmapSize(depth, width, height);
  if (status != ConversionStatus::kOk) return status;
  const std::uint32_t row_bytes =
      RowBytesFor(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(depth));
  const std::uint64_t length = std::uint64_t{row_bytes} * static_cast<std::uint64_t>(height);

  PalmBitmapDescriptor fresh;
  fresh.width = static_cast<std::uint16_t>(width);
  fresh.height = static_cast<std::uint16_t>(height);
  fresh.rowBytes = static_cast<std::uint16_t>(row_bytes);
  fresh.pixelSize = static_cast<std::uint8_t>(depth);
  fresh.version = depth < 4 ? 1 : 2;
  try {
    fresh.pixelData.assign(static_cast<std::size_t>(length), 0);
  } catch (const std::bad_alloc&) {
    return ConversionStatus::kNoMemory;
  }
  if (depth > 8) {
    fresh.flags |= kBitmapFlagDirectColor;
    if (depth == 16) {
      fresh.directColorBlock[0] = 5;
      fresh.directColorBlock[1] = 6;
      fresh.directColorBlock[2] = 5;
    }
  } else {
    fresh.colourTable = SystemColourTable(depth);
  }
  *descriptor = std::move(fresh);
  return ConversionStatus::kOk;
}

void AttachColourTable(PalmBitmapDescriptor* descriptor, const ColourTable* table) {
  if (table == nullptr) table = SystemColourTable(descriptor->pixelSize);
  if (table == nullptr) return;
  descriptor->colourTable = table;
  descriptor->flags = static_cast<std::uint16_t>((descriptor->flags & ~kBitmapFlagDirectColor) |
                                                 kBitmapFlagHasColorTable);
}

}  // namespace kv
