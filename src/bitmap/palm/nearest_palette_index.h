#ifndef KORVALE_BITMAP_PALM_NEAREST_PALETTE_INDEX_H_
#define KORVALE_BITMAP_PALM_NEAREST_PALETTE_INDEX_H_

// Colour matching: which colour-table entry stands for an RGB colour.
//
// Besides plain distance, a colour whose red, green or blue channel clearly
// dominates prefers the nearest entry dominated by the same channel, so that
// red roads stay red and blue water stays blue on a 16-colour table instead
// of turning into a grey that happens to be closer.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "bitmap/palm/colour_table.h"

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
  // Inline for the common case, a colour matched before.
  int Match(std::uint32_t colour) {
    colour &= 0xFFFFFF;
    const std::size_t cell = CellOf(colour);
    const std::size_t block = memo_block_[cell];
    if (block != kNoBlock) {
      const std::uint16_t known = memo_[block + OffsetInCell(colour)];
      if (known != kUnknown) return known;
    }
    return MatchNew(cell, colour);
  }

 private:
  int MatchNew(std::size_t cell, std::uint32_t colour);
  static std::size_t OffsetInCell(std::uint32_t colour) {
    return (colour >> 16 & 7) << 6 | (colour >> 8 & 7) << 3 | (colour & 7);
  }
  static std::size_t CellOf(std::uint32_t colour) {
    return static_cast<std::size_t>((colour >> 19 & 31) << 10 | (colour >> 11 & 31) << 5 |
                                    (colour >> 3 & 31));
  }

  int Scan(std::size_t cell, std::uint32_t colour) const;
  void BuildCell(std::size_t cell);

  const ColourTable* table_;
  // The table's entries unpacked for the scan.
  std::vector<std::int16_t> red_, green_, blue_, class_;
  // The colour cube cut into 32 x 32 x 32 cells of 8 x 8 x 8 colours. A cell
  // is built on first use: the entries that can win for a colour inside it
  // (usually a handful), and its block of the memo, one slot per colour.
  // Neighbouring pixels mostly share a cell, so the memo stays in cache.
  static constexpr int kCellSide = 8;
  static constexpr std::size_t kCellCount = 32 * 32 * 32;
  static constexpr std::size_t kCellColours = 8 * 8 * 8;
  static constexpr std::uint16_t kUnknown = 0xFFFF;  // tables hold at most 65535 entries
  static constexpr std::size_t kNoBlock = static_cast<std::size_t>(-1);
  std::vector<std::int32_t> cell_start_;
  std::vector<std::uint32_t> cell_size_;
  std::vector<std::uint16_t> candidates_;
  std::vector<std::size_t> memo_block_;  // kNoBlock: the cell is not built yet
  std::vector<std::uint16_t> memo_;
};

}  // namespace kv

#endif  // KORVALE_BITMAP_PALM_NEAREST_PALETTE_INDEX_H_
