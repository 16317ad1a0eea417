#ifndef KORVALE_BITMAP_RGB_COLOUR_H_
#define KORVALE_BITMAP_RGB_COLOUR_H_

// A colour as the bitmap code passes it around: one word 0x00RRGGBB, red in
// bits 16-23, green in bits 8-15, blue in bits 0-7, the top byte 0. Pictures
// of RGB bytes keep the channels in that order, red first.

#include <cstdint>

namespace kv {

// Each channel keeps its low 8 bits.
constexpr std::uint32_t PackRgb(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
  return (red & 0xFFu) << 16 | (green & 0xFFu) << 8 | (blue & 0xFFu);
}

constexpr std::uint8_t RedOf(std::uint32_t colour) {
  return static_cast<std::uint8_t>(colour >> 16);
}
constexpr std::uint8_t GreenOf(std::uint32_t colour) {
  return static_cast<std::uint8_t>(colour >> 8);
}
constexpr std::uint8_t BlueOf(std::uint32_t colour) { return static_cast<std::uint8_t>(colour); }

// Three bytes, red first.
constexpr std::uint32_t LoadRgb(const std::uint8_t* pixel) {
  return PackRgb(pixel[0], pixel[1], pixel[2]);
}
inline void StoreRgb(std::uint32_t colour, std::uint8_t* pixel) {
  pixel[0] = RedOf(colour);
  pixel[1] = GreenOf(colour);
  pixel[2] = BlueOf(colour);
}

}  // namespace kv

#endif  // KORVALE_BITMAP_RGB_COLOUR_H_
