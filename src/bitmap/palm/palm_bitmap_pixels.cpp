#include "bitmap/palm/palm_bitmap_pixels.h"

#include <cstddef>

#include "bitmap/palm/system_colour_tables.h"
#include "bitmap/rgb_colour.h"
#include "pdb/big_endian.h"

namespace kv {

namespace {

// The first byte of pixel (x, y), or null when the pixel lies outside the
// bitmap or its data.
const std::uint8_t* PixelByte(const PalmBitmapDescriptor& bitmap, int x, int y) {
  if (x < 0 || y < 0 || x >= bitmap.width || y >= bitmap.height) return nullptr;
  const std::size_t bytes_per_pixel = (bitmap.pixelSize + 7u) / 8u;
  const std::size_t offset = static_cast<std::size_t>(y) * bitmap.rowBytes +
                             static_cast<std::size_t>(x) * bitmap.pixelSize / 8;
  if (offset + bytes_per_pixel > bitmap.pixelData.size()) return nullptr;
  return bitmap.pixelData.data() + offset;
}

std::uint8_t* PixelByte(PalmBitmapDescriptor* bitmap, int x, int y) {
  return const_cast<std::uint8_t*>(
      PixelByte(static_cast<const PalmBitmapDescriptor&>(*bitmap), x, y));
}

// Bit position of the lowest bit of pixel x inside its byte (depth < 8).
unsigned SubByteShift(int x, unsigned depth) {
  return 8u - depth - (static_cast<unsigned>(x) * depth) % 8u;
}

std::uint8_t Channel(std::uint32_t colour, unsigned shift) {
  return static_cast<std::uint8_t>(colour >> shift);
}

const ColourTable* TableOf(const PalmBitmapDescriptor& bitmap) {
  return bitmap.colourTable != nullptr ? bitmap.colourTable : SystemColourTable(bitmap.pixelSize);
}

std::uint32_t ExpandRgb565(std::uint16_t v) {
  const std::uint32_t r5 = (v >> 11) & 0x1F;
  const std::uint32_t g6 = (v >> 5) & 0x3F;
  const std::uint32_t b5 = v & 0x1F;
  const std::uint32_t red = r5 << 3 | (r5 & 7);
  const std::uint32_t green = g6 << 2 | (g6 & 3);
  const std::uint32_t blue = b5 << 3 | (b5 & 7);
  return PackRgb(red, green, blue);
}

}  // namespace

ConversionStatus PutPixelIndex(PalmBitmapDescriptor* bitmap, int x, int y, std::uint32_t index) {
  const unsigned depth = bitmap->pixelSize;
  if (depth > 8 || !IsSupportedDepth(static_cast<int>(depth))) return ConversionStatus::kBadDepth;
  std::uint8_t* byte = PixelByte(bitmap, x, y);
  if (byte == nullptr) return ConversionStatus::kMalformed;
  if (depth == 8) {
    *byte = static_cast<std::uint8_t>(index);
    return ConversionStatus::kOk;
  }
  const unsigned shift = SubByteShift(x, depth);
  const unsigned mask = ((1u << depth) - 1u) << shift;
  *byte = static_cast<std::uint8_t>((*byte & ~mask) | ((index << shift) & mask));
  return ConversionStatus::kOk;
}

ConversionStatus PutPixelColour(PalmBitmapDescriptor* bitmap, int x, int y, std::uint32_t colour,
                                PaletteMatcher* matcher) {
  const int depth = bitmap->pixelSize;
  if (depth <= 8) {
    const ColourTable* table = TableOf(*bitmap);
    if (table == nullptr) return ConversionStatus::kBadDepth;
    const int index =
        matcher != nullptr ? matcher->Match(colour) : NearestPaletteIndex(*table, colour);
    return PutPixelIndex(bitmap, x, y, static_cast<std::uint32_t>(index));
  }
  std::uint8_t* byte = PixelByte(bitmap, x, y);
  if (byte == nullptr) return ConversionStatus::kMalformed;
  const std::uint8_t red = Channel(colour, 16);
  const std::uint8_t green = Channel(colour, 8);
  const std::uint8_t blue = Channel(colour, 0);
  switch (depth) {
    case 16:
      EncodeBig16(byte,
                  static_cast<std::uint16_t>((red >> 3) << 11 | (green >> 2) << 5 | (blue >> 3)));
      return ConversionStatus::kOk;
    case 24:
      EncodeBig24(byte, colour);
      return ConversionStatus::kOk;
    case 32:
      EncodeBig32(byte, colour & 0xFFFFFF);
      return ConversionStatus::kOk;
    default:
      return ConversionStatus::kBadDepth;
  }
}

ConversionStatus GetPixel(const PalmBitmapDescriptor& bitmap, int x, int y, PixelRead read,
                          std::uint32_t* value) {
  const unsigned depth = bitmap.pixelSize;
  if (!IsSupportedDepth(static_cast<int>(depth))) return ConversionStatus::kBadDepth;
  const std::uint8_t* byte = PixelByte(bitmap, x, y);
  if (byte == nullptr) return ConversionStatus::kMalformed;
  switch (depth) {
    case 16:
      *value = ExpandRgb565(DecodeBig16(byte));
      return ConversionStatus::kOk;
    case 24:
      *value = DecodeBig24(byte);
      return ConversionStatus::kOk;
    case 32:
      *value = DecodeBig24(byte + 1);
      return ConversionStatus::kOk;
    default:
      break;
  }
  const std::uint32_t index =
      depth == 8 ? *byte : (*byte >> SubByteShift(x, depth)) & ((1u << depth) - 1u);
  if (read == PixelRead::kIndex) {
    *value = index;
    return ConversionStatus::kOk;
  }
  const ColourTable* table = TableOf(bitmap);
  if (table == nullptr || index >= static_cast<std::uint32_t>(table->Count()))
    return ConversionStatus::kMalformed;
  *value = table->Colour(static_cast<int>(index));
  return ConversionStatus::kOk;
}

}  // namespace kv
