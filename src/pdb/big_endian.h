#ifndef KORVALE_PDB_BIG_ENDIAN_H_
#define KORVALE_PDB_BIG_ENDIAN_H_

// Palm databases and Palm bitmaps store every multi-byte number big-endian.
// This is the one place that knows how; everything else calls these.

#include <cstdint>

namespace kv {

inline void EncodeBig16(std::uint8_t* dst, std::uint16_t value) {
  dst[0] = static_cast<std::uint8_t>(value >> 8);
  dst[1] = static_cast<std::uint8_t>(value);
}

inline void EncodeBig24(std::uint8_t* dst, std::uint32_t value) {
  dst[0] = static_cast<std::uint8_t>(value >> 16);
  dst[1] = static_cast<std::uint8_t>(value >> 8);
  dst[2] = static_cast<std::uint8_t>(value);
}

inline void EncodeBig32(std::uint8_t* dst, std::uint32_t value) {
  dst[0] = static_cast<std::uint8_t>(value >> 24);
  dst[1] = static_cast<std::uint8_t>(value >> 16);
  dst[2] = static_cast<std::uint8_t>(value >> 8);
  dst[3] = static_cast<std::uint8_t>(value);
}

inline std::uint16_t DecodeBig16(const std::uint8_t* src) {
  return static_cast<std::uint16_t>((src[0] << 8) | src[1]);
}

inline std::uint32_t DecodeBig24(const std::uint8_t* src) {
  return (std::uint32_t{src[0]} << 16) | (std::uint32_t{src[1]} << 8) | src[2];
}

inline std::uint32_t DecodeBig32(const std::uint8_t* src) {
  return (std::uint32_t{src[0]} << 24) | (std::uint32_t{src[1]} << 16) |
         (std::uint32_t{src[2]} << 8) | src[3];
}

}  // namespace kv

#endif  // KORVALE_PDB_BIG_ENDIAN_H_
