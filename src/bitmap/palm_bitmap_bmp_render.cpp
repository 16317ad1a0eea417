#include <cstring>
#include <new>

#include "base/exceptions.h"
#include "bitmap/bmp/bmp_little_endian.h"
#include "bitmap/conversion_front.h"
#include "bitmap/palm/palm_bitmap_parser.h"
#include "bitmap/palm/palm_bitmap_pixels.h"
#include "bitmap/raise_conversion_error.h"
#include "bitmap/rgb_colour.h"

namespace kv {

namespace {

// BMP file header (14 bytes) and info header (40 bytes), little-endian:
//   0 "BM"  2 file size  6 reserved  10 pixel data offset (54)
//   14 info size (40)  18 width  22 height (positive: rows bottom-up)
//   26 planes (1)  28 bits per pixel (24)  30 compression (0)
//   34 image size (0)  38, 42 resolution (3780 pixels per metre)
//   46 colours used (0)  50 important colours (0)
constexpr std::size_t kBmpHeadersSize = 54;
constexpr std::uint32_t kPixelsPerMetre = 3780;

void WriteHeaders(std::uint8_t* head, std::uint32_t width, std::uint32_t height,
                  std::uint64_t pixel_bytes) {
  head[0] = 'B';
  head[1] = 'M';
  EncodeLittle32(head + 2, static_cast<std::uint32_t>(kBmpHeadersSize + pixel_bytes));
  EncodeLittle32(head + 10, kBmpHeadersSize);
  EncodeLittle32(head + 14, 40);
  EncodeLittle32(head + 18, width);
  EncodeLittle32(head + 22, height);
  EncodeLittle16(head + 26, 1);
  EncodeLittle16(head + 28, 24);
  EncodeLittle32(head + 38, kPixelsPerMetre);
  EncodeLittle32(head + 42, kPixelsPerMetre);
}

PalmBitmapDescriptor ParseForDisplay(std::span<const std::uint8_t> record) {
  if (record.size() <= 15) RaiseConversionError(ConversionStatus::kMalformed, "");
  PalmBitmapDescriptor bitmap;
  ConversionStatus status = ParseAndExpandPalmBitmap(record, &bitmap);
  if (status != ConversionStatus::kOk) RaiseConversionError(status, "");
  return bitmap;
}

}  // namespace

RgbImage DecodePalmBitmapRgb(std::span<const std::uint8_t> record) {
  const PalmBitmapDescriptor bitmap = ParseForDisplay(record);
  RgbImage image;
  image.width = bitmap.width;
  image.height = bitmap.height;
  try {
    image.rgb.resize(std::size_t{3} * bitmap.width * bitmap.height);
  } catch (const std::bad_alloc&) {
    throw ErrBadAlloc();
  }
  std::uint8_t* out = image.rgb.data();
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      std::uint32_t colour = 0;
      ConversionStatus status = GetPixel(bitmap, x, y, PixelRead::kColour, &colour);
      if (status != ConversionStatus::kOk) RaiseConversionError(status, "");
      StoreRgb(colour, out);
      out += 3;
    }
  }
  return image;
}

std::vector<std::uint8_t> RenderPalmBitmapAsBmp(std::span<const std::uint8_t> record) {
  const RgbImage image = DecodePalmBitmapRgb(record);
  const auto width = static_cast<std::uint32_t>(image.width);
  const auto height = static_cast<std::uint32_t>(image.height);
  const std::uint64_t stride = (std::uint64_t{24} * width + 31) / 32 * 4;
  try {
    std::vector<std::uint8_t> bmp(kBmpHeadersSize + stride * height, 0);
    WriteHeaders(bmp.data(), width, height, stride * height);
    for (std::uint32_t y = 0; y < height; ++y) {
      std::uint8_t* row = bmp.data() + kBmpHeadersSize + (height - 1 - y) * stride;
      const std::uint8_t* rgb = image.rgb.data() + std::size_t{3} * width * y;
      for (std::uint32_t x = 0; x < width; ++x, rgb += 3) {
        row[3 * x] = rgb[2];
        row[3 * x + 1] = rgb[1];
        row[3 * x + 2] = rgb[0];
      }
    }
    return bmp;
  } catch (const std::bad_alloc&) {
    throw ErrBadAlloc();
  }
}

}  // namespace kv
