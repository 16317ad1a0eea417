#ifndef KORVALE_BITMAP_RGB_IMAGE_H_
#define KORVALE_BITMAP_RGB_IMAGE_H_

#include <cstdint>
#include <vector>

namespace kv {

// Decoded pixels, top row first, three bytes (red, green, blue) each.
struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;
};

}  // namespace kv

#endif  // KORVALE_BITMAP_RGB_IMAGE_H_
