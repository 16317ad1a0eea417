#include "map/stored_bitmap.h"

#include "base/exceptions.h"
#include "pdb/big_endian.h"

namespace kv {

namespace {
constexpr std::size_t kBitmapHeaderSize = 16;
constexpr std::uint16_t kCompressedFlag = 0x8000;
}  // namespace

BitmapRecord StoredBitmap(std::vector<std::uint8_t> bytes) {
  if (bytes.size() < kBitmapHeaderSize) throw ErrImageFileCorrupt();
  BitmapRecord record;
  record.width = DecodeBig16(&bytes[0]);
  record.height = DecodeBig16(&bytes[2]);
  record.compressed = (DecodeBig16(&bytes[6]) & kCompressedFlag) != 0;
  record.depth = bytes[8];
  record.version = bytes[9];
  record.compression_type = bytes[13];
  record.bytes = std::move(bytes);
  return record;
}

}  // namespace kv
