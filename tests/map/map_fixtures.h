#ifndef KORVALE_TESTS_MAP_MAP_FIXTURES_H_
#define KORVALE_TESTS_MAP_MAP_FIXTURES_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "map/c_image.h"
#include "map/stored_bitmap.h"
#include "pdb/big_endian.h"

namespace kv::testing {

// An uncompressed version 2 bitmap record on the system colour table (depth
// 8 or below) whose pixel bytes are all `fill`.
inline std::vector<std::uint8_t> FakeBitmapRecord(std::uint16_t width, std::uint16_t height,
                                                  std::uint8_t depth, std::uint8_t fill) {
  const std::uint16_t row_bytes = static_cast<std::uint16_t>((width * depth + 15) / 16 * 2);
  std::vector<std::uint8_t> bytes(16 + std::size_t{row_bytes} * height, fill);
  EncodeBig16(&bytes[0], width);
  EncodeBig16(&bytes[2], height);
  EncodeBig16(&bytes[4], row_bytes);
  EncodeBig16(&bytes[6], 0);
  bytes[8] = depth;
  bytes[9] = 2;
  EncodeBig16(&bytes[10], 0);
  bytes[12] = 0;
  bytes[13] = 0xFF;  // no compression
  EncodeBig16(&bytes[14], 0);
  return bytes;
}

inline std::unique_ptr<CImage> FakeImage(std::uint8_t fill, std::uint16_t id = 0xFFFF) {
  auto image = std::make_unique<CImage>();
  image->SetBitmap(StoredBitmap(FakeBitmapRecord(160, 131, 8, fill)));
  image->set_resource_id(id);
  return image;
}

}  // namespace kv::testing

#endif  // KORVALE_TESTS_MAP_MAP_FIXTURES_H_
