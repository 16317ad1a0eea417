#include "bitmap/palm/palm_bitmap_format.h"

#include <array>
#include <cstdint>
#include <new>

#include "bitmap/palm/system_colour_tables.h"
#include "pdb/pack_record.h"

namespace kv {

namespace {

constexpr char kHeaderLayout[] = "w,w,w,w,b,b,w,b,b,zw";

int AppendHeader(const PalmBitmapDescriptor& bitmap, OutputBuffer* output) {
  const std::array<std::uint32_t, 9> fields = {
      bitmap.width,           bitmap.height,           bitmap.rowBytes,
      bitmap.flags,           bitmap.pixelSize,        bitmap.version,
      bitmap.nextDepthOffset, bitmap.transparentIndex, bitmap.compressionType};
  return PackRecord(output, fields, kHeaderLayout);
}

// The handheld expects the record to continue on a 4-byte boundary after the
// pixel data only when the data length leaves two or three bytes over.
bool NeedsPadding(std::size_t data_length) { return (data_length & 2) != 0; }

}  // namespace

ConversionStatus SerialisePalmBitmap(const PalmBitmapDescriptor& bitmap, OutputBuffer* output) {
  // One allocation for the record instead of one per block appended.
  try {
    output->bytes.reserve(output->bytes.size() + kPalmBitmapHeaderSize + 2 + 4 * 256 +
                          kDirectColorBlockSize + bitmap.pixelData.size() + 2);
  } catch (const std::bad_alloc&) {
    return ConversionStatus::kNoMemory;
  }
  int failed = AppendHeader(bitmap, output);
  if ((bitmap.flags & kBitmapFlagHasColorTable) != 0) {
    // A flagged bitmap always gets a table block, so the flag never
    // announces bytes that are not there.
    const ColourTable empty;
    const ColourTable* source = bitmap.colourTable;
    if (source == nullptr) source = SystemColourTable(bitmap.pixelSize);
    if (source == nullptr) source = &empty;
    const auto table = source->StoredBytes();
    failed |= AppendBytes(output, table.data(), table.size());
  }
  if ((bitmap.flags & kBitmapFlagDirectColor) != 0) {
    failed |= AppendBytes(output, bitmap.directColorBlock.data(), bitmap.directColorBlock.size());
  }
  failed |= AppendBytes(output, bitmap.pixelData.data(), bitmap.pixelData.size());
  if (NeedsPadding(bitmap.pixelData.size())) {
    constexpr std::array<std::uint8_t, 2> kPadding = {0, 0};
    failed |= AppendBytes(output, kPadding.data(), kPadding.size());
  }
  return failed != 0 ? ConversionStatus::kNoMemory : ConversionStatus::kOk;
}

}  // namespace kv
