#include "bitmap/palm/palm_bitmap_parser.h"

#include <algorithm>
#include <cstddef>
#include <memory>
#include <new>

#include "bitmap/palm/bitmap_compression.h"
#include "bitmap/palm/palm_bitmap_format.h"
#include "bitmap/palm/system_colour_tables.h"
#include "pdb/big_endian.h"

namespace kv {

namespace {

constexpr std::uint16_t kFlagsUnknownToVersion1 = 0x3C00;

// Walks the record's bytes; every read is checked against what is left.
class RecordCursor {
 public:
  explicit RecordCursor(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::size_t Left() const { return bytes_.size() - pos_; }
  std::span<const std::uint8_t> Peek(std::size_t count) const {
    return bytes_.subspan(pos_, count);
  }
  std::span<const std::uint8_t> Take(std::size_t count) {
    auto taken = Peek(count);
    pos_ += count;
    return taken;
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
};

void ReadHeader(std::span<const std::uint8_t> header, PalmBitmapDescriptor* bitmap) {
  const std::uint8_t* p = header.data();
  bitmap->width = DecodeBig16(p);
  bitmap->height = DecodeBig16(p + 2);
  bitmap->rowBytes = DecodeBig16(p + 4);
  bitmap->flags = DecodeBig16(p + 6);
  bitmap->pixelSize = p[8];
  bitmap->version = p[9];
  bitmap->nextDepthOffset = DecodeBig16(p + 10);
  bitmap->transparentIndex = p[12];
  bitmap->compressionType = p[13];
  bitmap->reserved = DecodeBig16(p + 14);
}

ConversionStatus CheckHeader(const PalmBitmapDescriptor& bitmap) {
  if (bitmap.version <= 1 && (bitmap.flags & kFlagsUnknownToVersion1) != 0)
    return ConversionStatus::kMalformed;
  if ((bitmap.flags & kBitmapFlagHasColorTable) != 0 &&
      (bitmap.flags & kBitmapFlagDirectColor) != 0) {
    return ConversionStatus::kMalformed;
  }
  if (!IsSupportedDepth(bitmap.pixelSize)) return ConversionStatus::kBadDepth;
  if (bitmap.version >= 3) return ConversionStatus::kBadVersion;
  // Rows shorter than their pixels would make every pixel read a guess.
  const std::uint64_t row_bits = std::uint64_t{bitmap.width} * bitmap.pixelSize;
  if (std::uint64_t{bitmap.rowBytes} * 8 < row_bits) return ConversionStatus::kMalformed;
  return ConversionStatus::kOk;
}

ConversionStatus ReadColourTable(RecordCursor* cursor, PalmBitmapDescriptor* bitmap) {
  if (cursor->Left() < 2) return ConversionStatus::kMalformed;
  const std::size_t count = DecodeBig16(cursor->Peek(2).data());
  const std::size_t size = 2 + 4 * count;
  if (cursor->Left() < size) return ConversionStatus::kMalformed;
  bitmap->ownedColourTable =
      std::make_unique<ColourTable>(ColourTable::FromStored(cursor->Take(size)));
  bitmap->colourTable = bitmap->ownedColourTable.get();
  return ConversionStatus::kOk;
}

ConversionStatus ReadPixelData(RecordCursor* cursor, PalmBitmapDescriptor* bitmap) {
  std::size_t length = bitmap->UncompressedLength();
  if (bitmap->IsCompressed()) {
    if (cursor->Left() < 2) return ConversionStatus::kMalformed;
    length = std::size_t{DecodeBig16(cursor->Peek(2).data())} + 2;
  }
  if (cursor->Left() < length) return ConversionStatus::kMalformed;
  const auto data = cursor->Take(length);
  bitmap->pixelData.assign(data.begin(), data.end());
  return ConversionStatus::kOk;
}

ConversionStatus RecordTransparency(PalmBitmapDescriptor* bitmap) {
  if ((bitmap->flags & kBitmapFlagHasTransparency) == 0) return ConversionStatus::kOk;
  bitmap->hasTransparency = true;
  if (bitmap->pixelSize >= 16 && (bitmap->flags & kBitmapFlagDirectColor) != 0) {
    bitmap->transparentColour = DecodeBig24(bitmap->directColorBlock.data() + 5);
    return ConversionStatus::kOk;
  }
  const ColourTable* table =
      bitmap->colourTable != nullptr ? bitmap->colourTable : SystemColourTable(bitmap->pixelSize);
  if (table == nullptr || bitmap->transparentIndex >= table->Count())
    return ConversionStatus::kMalformed;
  bitmap->transparentColour = table->Colour(bitmap->transparentIndex);
  return ConversionStatus::kOk;
}

ConversionStatus ParseInto(std::span<const std::uint8_t> record, PalmBitmapDescriptor* bitmap) {
  if (record.size() <= 15) return ConversionStatus::kMalformed;
  RecordCursor cursor(record);
  ReadHeader(cursor.Take(kPalmBitmapHeaderSize), bitmap);
  ConversionStatus status = CheckHeader(*bitmap);
  if (status != ConversionStatus::kOk) return status;
  if ((bitmap->flags & kBitmapFlagHasColorTable) != 0) {
    status = ReadColourTable(&cursor, bitmap);
    if (status != ConversionStatus::kOk) return status;
  }
  if ((bitmap->flags & kBitmapFlagDirectColor) != 0) {
    if (cursor.Left() < kDirectColorBlockSize) return ConversionStatus::kMalformed;
    const auto block = cursor.Take(kDirectColorBlockSize);
    std::copy(block.begin(), block.end(), bitmap->directColorBlock.begin());
  }
  if (bitmap->colourTable == nullptr) bitmap->colourTable = SystemColourTable(bitmap->pixelSize);
  status = ReadPixelData(&cursor, bitmap);
  if (status != ConversionStatus::kOk) return status;
  return RecordTransparency(bitmap);
}

}  // namespace

ConversionStatus ParsePalmBitmap(std::span<const std::uint8_t> record,
                                 PalmBitmapDescriptor* bitmap) {
  PalmBitmapDescriptor parsed;
  ConversionStatus status;
  try {
    status = ParseInto(record, &parsed);
  } catch (const std::bad_alloc&) {
    status = ConversionStatus::kNoMemory;
  }
  if (status == ConversionStatus::kOk) *bitmap = std::move(parsed);
  return status;
}

ConversionStatus ParseAndExpandPalmBitmap(std::span<const std::uint8_t> record,
                                          PalmBitmapDescriptor* bitmap) {
  PalmBitmapDescriptor parsed;
  ConversionStatus status = ParsePalmBitmap(record, &parsed);
  if (status == ConversionStatus::kOk) status = DecompressPalmBitmap(&parsed);
  if (status == ConversionStatus::kOk) *bitmap = std::move(parsed);
  return status;
}

}  // namespace kv
