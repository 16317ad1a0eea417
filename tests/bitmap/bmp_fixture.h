#ifndef KORVALE_TESTS_BITMAP_BMP_FIXTURE_H_
#define KORVALE_TESTS_BITMAP_BMP_FIXTURE_H_

// Builds BMP files byte by byte, independently of the parser under test.

#include <cstdint>
#include <functional>
#include <vector>

namespace kv::testing {

struct BmpParams {
  std::int32_t width = 10;
  std::int32_t height = 10;  // the image height; top_down stores it negated
  std::uint16_t depth = 24;
  bool top_down = false;
  std::uint32_t compression = 0;
  std::uint32_t colours_used = 0;
  std::vector<std::uint32_t> palette{};  // 0x00RRGGBB, written as B, G, R, 0
};

// value(x, y), y from the top: an index for depths up to 8, the raw 16-bit
// word at depth 16, 0x00RRGGBB at depths 24 and 32.
using PixelValue = std::function<std::uint32_t(int x, int y)>;

inline void PutLittle(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value,
                      int size) {
  for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

inline std::uint32_t RowStride(std::int32_t width, int depth) {
  return static_cast<std::uint32_t>((width * depth + 31) / 32 * 4);
}

inline void PutPixel(std::vector<std::uint8_t>& bytes, std::size_t row, int x, int depth,
                     std::uint32_t value) {
  switch (depth) {
    case 1:
    case 2:
    case 4: {
      const int per_byte = 8 / depth;
      const int shift = 8 - depth * (x % per_byte + 1);
      bytes[row + x / per_byte] |= static_cast<std::uint8_t>(value << shift);
      break;
    }
    case 8:
      bytes[row + x] = static_cast<std::uint8_t>(value);
      break;
    case 16:
      PutLittle(bytes, row + 2 * x, value, 2);
      break;
    default: {
      const std::size_t at = row + static_cast<std::size_t>(x) * (depth / 8);
      bytes[at] = static_cast<std::uint8_t>(value);
      bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
      bytes[at + 2] = static_cast<std::uint8_t>(value >> 16);
      if (depth == 32) bytes[at + 3] = 0xA5;  // a fourth byte nobody reads
      break;
    }
  }
}

inline std::vector<std::uint8_t> MakeBmp(const BmpParams& params, const PixelValue& value) {
  const std::uint32_t table_size = static_cast<std::uint32_t>(params.palette.size()) * 4;
  const std::uint32_t offset = 54 + table_size;
  const std::uint32_t stride = RowStride(params.width, params.depth);
  std::vector<std::uint8_t> bytes(offset + std::size_t{stride} * params.height, 0);
  bytes[0] = 'B';
  bytes[1] = 'M';
  PutLittle(bytes, 2, static_cast<std::uint32_t>(bytes.size()), 4);
  PutLittle(bytes, 10, offset, 4);
  PutLittle(bytes, 14, 40, 4);
  PutLittle(bytes, 18, static_cast<std::uint32_t>(params.width), 4);
  PutLittle(bytes, 22, static_cast<std::uint32_t>(params.top_down ? -params.height : params.height),
            4);
  PutLittle(bytes, 26, 1, 2);
  PutLittle(bytes, 28, params.depth, 2);
  PutLittle(bytes, 30, params.compression, 4);
  PutLittle(bytes, 46, params.colours_used, 4);
  for (std::size_t i = 0; i < params.palette.size(); ++i) {
    const std::uint32_t rgb = params.palette[i];
    bytes[54 + 4 * i] = static_cast<std::uint8_t>(rgb);
    bytes[55 + 4 * i] = static_cast<std::uint8_t>(rgb >> 8);
    bytes[56 + 4 * i] = static_cast<std::uint8_t>(rgb >> 16);
  }
  for (int y = 0; y < params.height; ++y) {
    const int stored = params.top_down ? y : params.height - 1 - y;
    const std::size_t row = offset + std::size_t{stride} * stored;
    for (int x = 0; x < params.width; ++x) PutPixel(bytes, row, x, params.depth, value(x, y));
  }
  return bytes;
}

}  // namespace kv::testing

#endif  // KORVALE_TESTS_BITMAP_BMP_FIXTURE_H_
