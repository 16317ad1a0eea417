// Reads arbitrary bytes as a stored Palm bitmap record: parses it, expands
// compressed data, reads every pixel back as a colour, and writes it again.

#include <cstddef>
#include <cstdint>
#include <span>

#include "bitmap/palm/bitmap_compression.h"
#include "bitmap/palm/palm_bitmap_descriptor.h"
#include "bitmap/palm/palm_bitmap_format.h"
#include "bitmap/palm/palm_bitmap_parser.h"
#include "bitmap/palm/palm_bitmap_pixels.h"

namespace {

// Keeps the fuzzer from spending its time on huge but valid bitmaps.
constexpr std::size_t kMaxPixels = 1u << 22;

void ReadEveryPixel(const kv::PalmBitmapDescriptor& bitmap) {
  if (std::size_t{bitmap.width} * bitmap.height > kMaxPixels) return;
  std::uint32_t sum = 0;
  for (int y = 0; y < bitmap.height; ++y) {
    for (int x = 0; x < bitmap.width; ++x) {
      std::uint32_t colour = 0;
      if (kv::GetPixel(bitmap, x, y, kv::PixelRead::kColour, &colour) != kv::ConversionStatus::kOk)
        return;
      sum += colour;
    }
  }
  volatile std::uint32_t sink = sum;
  (void)sink;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kv::PalmBitmapDescriptor bitmap;
  if (kv::ParsePalmBitmap(std::span<const std::uint8_t>(data, size), &bitmap) !=
      kv::ConversionStatus::kOk)
    return 0;
  if (kv::DecompressPalmBitmap(&bitmap) != kv::ConversionStatus::kOk) return 0;
  ReadEveryPixel(bitmap);
  kv::CompressPalmBitmap(&bitmap, kv::kCompressWhenSmaller);
  kv::OutputBuffer output;
  // Only an append that cannot allocate fails; nothing to check then.
  static_cast<void>(kv::SerialisePalmBitmap(bitmap, &output));
  return 0;
}
