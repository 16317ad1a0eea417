#ifndef KORVALE_BITMAP_PALM_COLOUR_TABLE_H_
#define KORVALE_BITMAP_PALM_COLOUR_TABLE_H_

// A Palm bitmap colour table, held in its stored layout so that it is
// written out byte for byte:
//
//   +--------+-------+-----+-------+------+-----
//   | count  | index | red | green | blue | ...   count entries of 4 bytes
//   | (BE16) |   u8  | u8  |  u8   |  u8  |
//   +--------+-------+-----+-------+------+-----
//
// Pixels refer to entries by position; the index byte is carried along but
// never used for look-ups.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kv {

class ColourTable {
 public:
  ColourTable();  // no entries

  // Entries from 0x00RRGGBB colours, each index byte set by `index_byte`.
  enum class IndexBytes { kZero, kPosition };
  static ColourTable FromColours(std::span<const std::uint32_t> colours, IndexBytes index_bytes);
  // REQUIRES: `stored` holds the count word and every entry it announces.
  static ColourTable FromStored(std::span<const std::uint8_t> stored);

  int Count() const { return count_; }
  // REQUIRES: 0 <= i < Count(). 0x00RRGGBB.
  std::uint32_t Colour(int i) const;
  std::span<const std::uint8_t> StoredBytes() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
  int count_ = 0;
};

}  // namespace kv

#endif  // KORVALE_BITMAP_PALM_COLOUR_TABLE_H_
