#include "bitmap/bmp/bmp_pixel_reader.h"

#include "bitmap/bmp/bmp_little_endian.h"
#include "bitmap/rgb_colour.h"

namespace kv {
namespace {

// X1R5G5B5; the low three bits of each channel stay 0.
std::uint32_t ExpandRgb555(std::uint16_t value) {
  return ((value & 0x7C00u) << 9) | ((value & 0x03E0u) << 6) | ((value & 0x001Fu) << 3);
}

}  // namespace

ConversionStatus BmpPixelReader::SetUp(std::span<const std::uint8_t> bytes, PixelMode mode,
                                       std::string* conversion_message) {
  Reset();
  BmpLayout layout;
  const ConversionStatus status = ParseBmp(bytes, &layout, conversion_message);
  if (status != ConversionStatus::kOk) return status;
  layout_ = layout;
  bytes_ = bytes;
  mode_ = mode;
  const std::uint8_t* table = bytes.data() + layout.colour_table_offset;
  for (std::uint32_t i = 0; i < layout.colour_table_entries; ++i) {
    const std::uint8_t* entry = table + i * kBmpColourEntrySize;
    colours_[i] = PackRgb(entry[2], entry[1], entry[0]);
  }
  return ConversionStatus::kOk;
}

void BmpPixelReader::Reset() {
  bytes_ = {};
  layout_ = BmpLayout{};
  mode_ = PixelMode::kColour;
  colours_.fill(0);
}

const std::uint8_t* BmpPixelReader::StoredRow(int y) const {
  const int stored = layout_.bottom_up ? layout_.height - 1 - y : y;
  return bytes_.data() + layout_.pixel_offset +
         std::size_t{layout_.stride} * static_cast<std::size_t>(stored);
}

std::uint32_t BmpPixelReader::ReadIndex(const std::uint8_t* row, int x) const {
  const auto column = static_cast<unsigned>(x);
  switch (layout_.depth) {
    case 1:
      return (row[column / 8] >> (7 - column % 8)) & 0x1u;
    case 2:
      return (row[column / 4] >> (6 - 2 * (column % 4))) & 0x3u;
    case 4:
      return (row[column / 2] >> ((column % 2 == 0) ? 4 : 0)) & 0xFu;
    default:
      return row[column];
  }
}

std::uint32_t BmpPixelReader::ReadDirectColour(const std::uint8_t* row, int x, int depth) {
  const auto column = static_cast<std::size_t>(x);
  if (depth == 16) return ExpandRgb555(DecodeLittle16(row + 2 * column));
  const std::uint8_t* pixel = row + column * static_cast<std::size_t>(depth / 8);
  return PackRgb(pixel[2], pixel[1], pixel[0]);
}

std::uint32_t BmpPixelReader::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return 0;
  const std::uint8_t* row = StoredRow(y);
  if (layout_.depth > 8) return ReadDirectColour(row, x, layout_.depth);
  const std::uint32_t index = ReadIndex(row, x);
  return mode_ == PixelMode::kIndex ? index : colours_[index];
}

SourcePaletteKind BmpPixelReader::PaletteKind() const {
  return (is_set_up() && layout_.depth <= 8) ? SourcePaletteKind::kBmpIndexed
                                             : SourcePaletteKind::kNone;
}

ConversionStatus BmpPixelReader::Palette(std::vector<std::uint32_t>* entries) const {
  entries->clear();
  if (PaletteKind() != SourcePaletteKind::kBmpIndexed) return ConversionStatus::kOk;
  const std::size_t count = std::size_t{1} << layout_.depth;
  entries->assign(colours_.begin(), colours_.begin() + static_cast<std::ptrdiff_t>(count));
  return ConversionStatus::kOk;
}

}  // namespace kv
