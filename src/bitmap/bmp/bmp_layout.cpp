#include "bitmap/bmp/bmp_layout.h"

#include <cstdio>
#include <cstdlib>

#include "bitmap/bmp/bmp_little_endian.h"

namespace kv {
namespace {

constexpr std::size_t kSignatureOffset = 0;
constexpr std::size_t kPixelOffsetOffset = 10;
constexpr std::size_t kInfoSizeOffset = 14;
constexpr std::size_t kWidthOffset = 18;
constexpr std::size_t kHeightOffset = 22;
constexpr std::size_t kBitsOffset = 28;
constexpr std::size_t kCompressionOffset = 30;
constexpr std::size_t kColoursUsedOffset = 46;
constexpr std::size_t kHeaderEnd = kBmpFileHeaderSize + kBmpInfoHeaderSize;

constexpr std::uint32_t kCompressionNone = 0;
constexpr std::uint32_t kCompressionRle8 = 1;
constexpr std::uint32_t kCompressionRle4 = 2;

ConversionStatus CheckCompression(std::uint32_t compression, std::string* message) {
  if (compression == kCompressionNone) return ConversionStatus::kOk;
  if (compression == kCompressionRle8) {
    *message = "RLE8";
  } else if (compression == kCompressionRle4) {
    *message = "RLE4";
  } else {
    char text[32];
    std::snprintf(text, sizeof text, "Unknown: %xx", compression);
    *message = text;
  }
  return ConversionStatus::kCompressedBmp;
}

std::uint32_t StoredColourEntries(std::span<const std::uint8_t> bytes, std::uint32_t depth) {
  const std::uint32_t full = 1u << depth;
  const std::uint32_t used = DecodeLittle32(&bytes[kColoursUsedOffset]);
  return (used >= 1 && used <= full) ? used : full;
}

// Everything a pixel read touches must lie inside the file: the info header,
// the colour table and every row up to its last used byte (the final row's
// padding may be missing).
ConversionStatus CheckExtents(std::span<const std::uint8_t> bytes, std::uint32_t info_size,
                              BmpLayout* layout) {
  const std::uint64_t size = bytes.size();
  const std::uint64_t info_end = kBmpFileHeaderSize + std::uint64_t{info_size};
  if (info_end > size) return ConversionStatus::kMalformed;
  layout->colour_table_offset = info_end;
  if (layout->depth <= 8) {
    layout->colour_table_entries = StoredColourEntries(bytes, layout->depth);
    const std::uint64_t table_end =
        info_end + std::uint64_t{layout->colour_table_entries} * kBmpColourEntrySize;
    if (table_end > size) return ConversionStatus::kMalformed;
  }
  const std::uint64_t used_row_bytes = (std::uint64_t{layout->width} * layout->depth + 7) / 8;
  const std::uint64_t pixels_end =
      layout->pixel_offset + std::uint64_t{layout->stride} * (layout->height - 1u) + used_row_bytes;
  if (pixels_end > size) return ConversionStatus::kMalformed;
  return ConversionStatus::kOk;
}

}  // namespace

std::uint32_t BmpStride(std::uint32_t width, std::uint32_t depth) {
  return static_cast<std::uint32_t>((std::uint64_t{depth} * width + 31) / 32 * 4);
}

ConversionStatus ParseBmp(std::span<const std::uint8_t> bytes, BmpLayout* layout,
                          std::string* conversion_message) {
  if (bytes.size() < 2 || bytes[kSignatureOffset] != 'B' || bytes[kSignatureOffset + 1] != 'M') {
    return ConversionStatus::kMalformed;
  }
  if (bytes.size() < kHeaderEnd) return ConversionStatus::kMalformed;
  const std::uint32_t info_size = DecodeLittle32(&bytes[kInfoSizeOffset]);
  if (info_size < kBmpInfoHeaderSize) return ConversionStatus::kMalformed;

  const auto signed_width = static_cast<std::int32_t>(DecodeLittle32(&bytes[kWidthOffset]));
  const auto signed_height = static_cast<std::int32_t>(DecodeLittle32(&bytes[kHeightOffset]));
  if (signed_width < 0) return ConversionStatus::kMalformed;
  const std::int64_t width = signed_width;
  const std::int64_t height = std::llabs(std::int64_t{signed_height});
  if (width < kBmpMinSide || height < kBmpMinSide) return ConversionStatus::kTooSmall;
  if (width > kBmpMaxSide || height > kBmpMaxSide) return ConversionStatus::kTooBig;

  const auto depth = static_cast<std::uint8_t>(DecodeLittle16(&bytes[kBitsOffset]) & 0xFF);
  if (!IsSupportedDepth(depth)) return ConversionStatus::kMalformed;

  const ConversionStatus compression =
      CheckCompression(DecodeLittle32(&bytes[kCompressionOffset]), conversion_message);
  if (compression != ConversionStatus::kOk) return compression;

  BmpLayout parsed;
  parsed.width = static_cast<std::uint16_t>(width);
  parsed.height = static_cast<std::uint16_t>(height);
  parsed.depth = depth;
  parsed.bottom_up = signed_height > 0;
  parsed.stride = BmpStride(parsed.width, depth);
  parsed.pixel_offset = DecodeLittle32(&bytes[kPixelOffsetOffset]);
  const ConversionStatus extents = CheckExtents(bytes, info_size, &parsed);
  if (extents != ConversionStatus::kOk) return extents;
  *layout = parsed;
  return ConversionStatus::kOk;
}

}  // namespace kv
