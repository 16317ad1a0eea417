#ifndef KORVALE_BITMAP_PALM_PALETTE_STATE_H_
#define KORVALE_BITMAP_PALM_PALETTE_STATE_H_

// The colour-table state that outlives one conversion: the custom table
// built for a whole source image, which the conversions of its tiles then
// share, and the colour-matching memos of the tables in use. The caller
// (one per document) owns it and passes it to every conversion.

#include <array>
#include <cstdint>
#include <memory>
#include <span>

#include "bitmap/palm/colour_table.h"
#include "bitmap/palm/nearest_palette_index.h"

namespace kv {

class PaletteState {
 public:
  PaletteState();
  ~PaletteState();
  PaletteState(const PaletteState&) = delete;
  PaletteState& operator=(const PaletteState&) = delete;

  // Null when no palette-building conversion has made one (or it was
  // discarded). Bitmaps only point at it; it stays valid until the next
  // SetCustomTable or DiscardCustomTable.
  const ColourTable* CustomTable() const { return custom_.get(); }
  void DiscardCustomTable();
  // The table a bitmap of `depth` bits gets: the custom table when there is
  // one its pixels can address, else null (the system table).
  const ColourTable* TableForDepth(int depth) const;
  // Makes a custom table of `colours`; every entry's index byte is 0.
  // Returns false (and keeps no table) when memory runs out.
  bool SetCustomTable(std::span<const std::uint32_t> colours);
  // Makes a copy of `table`, index bytes included, the custom table.
  bool SetCustomTable(const ColourTable& table);

  // The memoised matcher of the custom table or of a system table; null for
  // any other table (a caller matching against one makes its own).
  PaletteMatcher* MatcherFor(const ColourTable* table);

 private:
  std::unique_ptr<ColourTable> custom_;
  std::unique_ptr<PaletteMatcher> custom_matcher_;
  // Indexed by the system table's depth as 0..3 for depths 1, 2, 4, 8.
  std::array<std::unique_ptr<PaletteMatcher>, 4> system_matchers_;
};

}  // namespace kv

#endif  // KORVALE_BITMAP_PALM_PALETTE_STATE_H_
