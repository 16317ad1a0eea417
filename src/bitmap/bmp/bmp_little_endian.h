#ifndef KORVALE_BITMAP_BMP_BMP_LITTLE_ENDIAN_H_
#define KORVALE_BITMAP_BMP_BMP_LITTLE_ENDIAN_H_

// BMP files store their numbers little-endian, unlike everything Palm.
// REQUIRES: the caller has checked that the bytes lie in its buffer.

#include <cstdint>

namespace kv {

inline std::uint16_t DecodeLittle16(const std::uint8_t* src) {
  return static_cast<std::uint16_t>(src[0] | (src[1] << 8));
}

inline std::uint32_t DecodeLittle32(const std::uint8_t* src) {
  return std::uint32_t{src[0]} | (std::uint32_t{src[1]} << 8) | (std::uint32_t{src[2]} << 16) |
         (std::uint32_t{src[3]} << 24);
}

inline void EncodeLittle16(std::uint8_t* dst, std::uint16_t value) {
  dst[0] = static_cast<std::uint8_t>(value);
  dst[1] = static_cast<std::uint8_t>(value >> 8);
}

inline void EncodeLittle32(std::uint8_t* dst, std::uint32_t value) {
  dst[0] = static_cast<std::uint8_t>(value);
  dst[1] = static_cast<std::uint8_t>(value >> 8);
  dst[2] = static_cast<std::uint8_t>(value >> 16);
  dst[3] = static_cast<std::uint8_t>(value >> 24);
}

}  // namespace kv

#endif  // KORVALE_BITMAP_BMP_BMP_LITTLE_ENDIAN_H_
