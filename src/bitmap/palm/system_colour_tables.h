#ifndef KORVALE_BITMAP_PALM_SYSTEM_COLOUR_TABLES_H_
#define KORVALE_BITMAP_PALM_SYSTEM_COLOUR_TABLES_H_

// The handheld's built-in colour tables for depths 1, 2, 4 and 8. Each entry's
// index byte equals its position. They are immutable and live for the whole
// process.

#include "bitmap/palm/colour_table.h"

namespace kv {

// The table of `depth` (1, 2, 4 or 8); null for any other depth.
const ColourTable* SystemColourTable(int depth);

bool IsSystemColourTable(const ColourTable* table);

}  // namespace kv

#endif  // KORVALE_BITMAP_PALM_SYSTEM_COLOUR_TABLES_H_
