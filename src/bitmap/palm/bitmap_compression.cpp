#include "bitmap/palm/bitmap_compression.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <optional>
#include <span>
#include <vector>

#include "bitmap/palm/rle_compression.h"
#include "bitmap/palm/scanline_compression.h"
#include "pdb/big_endian.h"

namespace kv {

namespace {

constexpr std::size_t kSizeWordLength = 2;

std::span<const std::uint8_t> Row(const std::vector<std::uint8_t>& data, std::size_t row_bytes,
                                  std::size_t y) {
  return std::span<const std::uint8_t>(data).subspan(y * row_bytes, row_bytes);
}

std::size_t EncodeRow(std::uint8_t scheme, std::span<const std::uint8_t> row,
                      std::span<const std::uint8_t> above, bool first_row, bool last_row,
                      std::uint8_t* out) {
  if (scheme == kCompressionScanline) return EncodeScanlineRowInto(row, above, first_row, out);
  return EncodeRleRowInto(row, last_row, out);
}

std::size_t MaxRowOutput(std::uint8_t scheme, std::size_t row_bytes) {
  return scheme == kCompressionScanline ? MaxScanlineRowOutput(row_bytes)
                                        : MaxRleRowOutput(row_bytes);
}

// Encodes the whole bitmap with `scheme`, giving up as soon as the output
// reaches `best_length` or grows past the size word's range. Returns the
// compressed data with its size word, or nothing when abandoned. The work
// buffer is not cleared: only what is written of it is read, and a losing
// scheme usually stops long before its end.
std::optional<std::vector<std::uint8_t>> TryScheme(const PalmBitmapDescriptor& bitmap,
                                                   std::uint8_t scheme, std::size_t best_length) {
  const std::size_t row_bytes = bitmap.rowBytes;
  // Never more than the rows so far, the next row's worst case and the
  // size word; a longer total is abandoned after its row.
  const std::size_t room = best_length + MaxRowOutput(scheme, row_bytes) + kSizeWordLength;
  std::unique_ptr<std::uint8_t[]> work(new (std::nothrow) std::uint8_t[room]);
  if (!work) return std::nullopt;
  std::size_t length = kSizeWordLength;
  for (std::size_t y = 0; y < bitmap.height; ++y) {
    const bool first_row = y == 0;
    const auto above =
        first_row ? std::span<const std::uint8_t>() : Row(bitmap.pixelData, row_bytes, y - 1);
    length += EncodeRow(scheme, Row(bitmap.pixelData, row_bytes, y), above, first_row,
                        y + 1 == bitmap.height, work.get() + length);
    if (length > kMaxCompressedTotal || length >= best_length) return std::nullopt;
  }
  // Without rows the loop never compares; the size word alone is no gain.
  if (length >= best_length) return std::nullopt;
  EncodeBig16(work.get(), static_cast<std::uint16_t>(length - kSizeWordLength));
  try {
    return std::vector<std::uint8_t>(work.get(), work.get() + length);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

bool DecodeRow(std::uint8_t scheme, std::span<const std::uint8_t> input,
               std::span<std::uint8_t> row, std::size_t* consumed) {
  return scheme == kCompressionScanline ? DecodeScanlineRow(input, row, consumed)
                                        : DecodeRleRow(input, row, consumed);
}

std::size_t MinRowInput(std::uint8_t scheme, std::size_t row_bytes) {
  return scheme == kCompressionScanline ? MinScanlineRowInput(row_bytes)
                                        : MinRleRowInput(row_bytes);
}

}  // namespace

void CompressPalmBitmap(PalmBitmapDescriptor* bitmap, int request) {
  if (request != kCompressWhenSmaller || bitmap->IsCompressed()) return;
  if (bitmap->pixelData.size() != bitmap->UncompressedLength()) return;

  std::vector<std::uint8_t> candidates = {kCompressionScanline};
  if (bitmap->version >= 2) candidates.push_back(kCompressionRle);

  std::optional<std::vector<std::uint8_t>> best;
  std::uint8_t best_scheme = kCompressionNone;
  std::size_t best_length = bitmap->pixelData.size();
  for (std::uint8_t scheme : candidates) {
    auto encoded = TryScheme(*bitmap, scheme, best_length);
    if (!encoded) continue;
    best_length = encoded->size();
    best = std::move(encoded);
    best_scheme = scheme;
  }
  if (best) {
    bitmap->pixelData = std::move(*best);
    bitmap->flags |= kBitmapFlagCompressed;
    bitmap->compressionType = best_scheme;
  }
}

ConversionStatus DecompressPalmBitmap(PalmBitmapDescriptor* bitmap) {
  if (!bitmap->IsCompressed()) return ConversionStatus::kOk;
  const std::uint8_t scheme = bitmap->compressionType;
  if (scheme != kCompressionScanline && scheme != kCompressionRle)
    return ConversionStatus::kMalformed;
  if (bitmap->pixelData.size() < kSizeWordLength) return ConversionStatus::kMalformed;

  const std::size_t announced = DecodeBig16(bitmap->pixelData.data());
  const std::span<const std::uint8_t> input =
      std::span<const std::uint8_t>(bitmap->pixelData)
          .subspan(kSizeWordLength,
                   std::min(announced, bitmap->pixelData.size() - kSizeWordLength));
  const std::size_t row_bytes = bitmap->rowBytes;
  const std::size_t height = bitmap->height;
  // Refuse before allocating when the stream is too short for the rows it
  // claims; this also bounds the allocation by the stored data.
  if (MinRowInput(scheme, row_bytes) * height > input.size()) return ConversionStatus::kMalformed;

  std::vector<std::uint8_t> expanded;
  try {
    expanded.assign(row_bytes * height, 0);
  } catch (const std::bad_alloc&) {
    return ConversionStatus::kNoMemory;
  }
  std::size_t in = 0;
  for (std::size_t y = 0; y < height; ++y) {
    const auto row = std::span<std::uint8_t>(expanded).subspan(y * row_bytes, row_bytes);
    if (y > 0)
      std::copy_n(expanded.begin() + static_cast<std::ptrdiff_t>((y - 1) * row_bytes), row_bytes,
                  row.begin());
    std::size_t consumed = 0;
    if (!DecodeRow(scheme, input.subspan(in), row, &consumed)) return ConversionStatus::kMalformed;
    in += consumed;
  }
  bitmap->pixelData = std::move(expanded);
  bitmap->flags = static_cast<std::uint16_t>(bitmap->flags & ~kBitmapFlagCompressed);
  bitmap->compressionType = kCompressionNone;
  return ConversionStatus::kOk;
}

}  // namespace kv
