#ifndef KORVALE_BITMAP_NEAREST_PALETTE_INDEX_H_
#define KORVALE_BITMAP_NEAREST_PALETTE_INDEX_H_

// Colour matching: which colour-table entry stands for an RGB colour.
//
// Besides plain distance, a colour whose red, green or blue channel clearly
// dominates prefers the nearest entry dominated by the same channel, so that
// red roads stay red and blue water stays blue on a 16-colour table instead
// of turning into a grey that happens to be closer.

#include <cstdint>
#include <vector>

#include "bitmap/colour_table.h"

namespace kv {

// The entry (by position) for `colour` (0x00RRGGBB); 0 for an empty table.
// Among equal distances the later entry wins.
int NearestPaletteIndex(const ColourTable& table, std::uint32_t colour);

// NearestPaletteIndex for one table, remembering every colour it has
// matched so that a colour is scanned against the table only once.
// REQUIRES: the table outlives the matcher and does not change.
class PaletteMatcher {
 public:
  explicit PaletteMatcher(const ColourTable& table);

  const ColourTable& Table() const { return *table_; }
  int Match(std::uint32_t colour);

 private:
  struct Slot {
    std::uint32_t colour;
    std::uint32_t index;
  };
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFF;  // no 24-bit colour is this

  int Scan(std::uint32_t colour) const;
  void Remember(std::uint32_t colour, std::uint32_t index);
  void Grow();

  const ColourTable* table_;
  // The table's entries unpacked for the scan.
  std::vector<std::uint8_t> red_, green_, blue_, class_;
  // Open addressing, linear probing; capacity a power of two.
  std::vector<Slot> memo_;
  std::size_t memo_used_ = 0;
};

}  // namespace kv

#endif  // KORVALE_BITMAP_NEAREST_PALETTE_INDEX_H_
