#include "bitmap/palm/colour_table.h"

#include "pdb/big_endian.h"

namespace kv {

namespace {
constexpr std::size_t kCountWordSize = 2;
constexpr std::size_t kEntrySize = 4;
}  // namespace

ColourTable::ColourTable() : bytes_(kCountWordSize, 0) {}

ColourTable ColourTable::FromColours(std::span<const std::uint32_t> colours,
                                     IndexBytes index_bytes) {
  ColourTable table;
  const auto count = static_cast<std::uint16_t>(colours.size());
  table.bytes_.resize(kCountWordSize + kEntrySize * count);
  EncodeBig16(table.bytes_.data(), count);
  for (std::uint16_t i = 0; i < count; ++i) {
    std::uint8_t* entry = table.bytes_.data() + kCountWordSize + kEntrySize * i;
    entry[0] = index_bytes == IndexBytes::kPosition ? static_cast<std::uint8_t>(i) : 0;
    EncodeBig24(entry + 1, colours[i]);
  }
  table.count_ = count;
  return table;
}

ColourTable ColourTable::FromStored(std::span<const std::uint8_t> stored) {
  ColourTable table;
  const std::uint16_t count = DecodeBig16(stored.data());
  table.bytes_.assign(stored.begin(), stored.begin() + static_cast<std::ptrdiff_t>(
                                                           kCountWordSize + kEntrySize * count));
  table.count_ = count;
  return table;
}

std::uint32_t ColourTable::Colour(int i) const {
  return DecodeBig24(bytes_.data() + kCountWordSize + kEntrySize * static_cast<std::size_t>(i) + 1);
}

}  // namespace kv
