#include "bitmap/palm_bitmap_sampling.h"

#include <new>

#include "bitmap/palm/palm_bitmap_parser.h"
#include "bitmap/palm/palm_bitmap_pixels.h"
#include "bitmap/rgb_colour.h"

namespace kv {

ConversionStatus SamplePalmBitmapRgb(std::span<const std::uint8_t> record, int step,
                                     RgbImage* out) {
  if (step < 1 || record.size() <= 15) return ConversionStatus::kMalformed;
  PalmBitmapDescriptor bitmap;
  const ConversionStatus parsed = ParseAndExpandPalmBitmap(record, &bitmap);
  if (parsed != ConversionStatus::kOk) return parsed;
  const int width = (bitmap.width + step - 1) / step;
  const int height = (bitmap.height + step - 1) / step;
  try {
    out->rgb.resize(std::size_t{3} * static_cast<std::size_t>(width) *
                    static_cast<std::size_t>(height));
  } catch (const std::bad_alloc&) {
    return ConversionStatus::kNoMemory;
  }
  out->width = width;
  out->height = height;
  std::uint8_t* pixel = out->rgb.data();
  for (int y = 0; y < bitmap.height; y += step) {
    for (int x = 0; x < bitmap.width; x += step) {
      std::uint32_t colour = 0;
      const ConversionStatus status = GetPixel(bitmap, x, y, PixelRead::kColour, &colour);
      if (status != ConversionStatus::kOk) return status;
      StoreRgb(colour, pixel);
      pixel += 3;
    }
  }
  return ConversionStatus::kOk;
}

}  // namespace kv
